// The argument sweep in-process: beside the results and the caller's
// buffer, the module state may change only where the export keeps it.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "frame/exports.h"
#include "support/module_reset.h"
#include "files/files_state.h"
#include "host/host_state.h"
#include "obj/current_model.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "support/argument_sweep.h"
#include "support/captured_notes.h"
#include "support/scoped_system.h"
#include "support/temp_folder.h"
#include "thumbnail/thumbnail_state.h"

namespace tollgram {
namespace {

namespace fs = std::filesystem;

struct NamedExport {
    const char* name;
    test::SweptExport function;
};

const NamedExport kExports[] = {
#define TOLLGRAM_EXPORT(name, failure) {#name, &::name},
#include "frame/export_table.h"
#undef TOLLGRAM_EXPORT
};

// The parts of the module state each export may write.
enum StatePart : unsigned {
    kAppLink = 1, kCopySource = 2, kDefaultDirectory = 4, kFileList = 8, kDialogTitle = 16, kThumbnail = 32,
    kModel = 64, kMask = 128,
};

// Every subsystem's state that outlives a call, as it is at one moment.
struct ModuleState {
    files::FilesState files;
    thumbnail::ThumbnailState thumbnail;
    obj::ObjState obj;
    host::HostState host;
};
ModuleState moduleState() {
    return {files::filesState(), thumbnail::thumbnailState(), obj::objState(), host::hostState()};
}

unsigned changedParts(const ModuleState& a, const ModuleState& b) {
    unsigned parts = 0;
    if (std::memcmp(a.files.appLinkPath, b.files.appLinkPath, sizeof a.files.appLinkPath)) parts |= kAppLink;
    if (std::memcmp(a.files.copySourcePath, b.files.copySourcePath, sizeof a.files.copySourcePath)) parts |= kCopySource;
    if (std::memcmp(a.files.defaultDirectory, b.files.defaultDirectory, sizeof a.files.defaultDirectory)) {
        parts |= kDefaultDirectory;
    }
    if (std::memcmp(a.files.fileListBuffer, b.files.fileListBuffer, sizeof a.files.fileListBuffer)) parts |= kFileList;
    if (std::memcmp(a.files.dialogTitle, b.files.dialogTitle, sizeof a.files.dialogTitle)) parts |= kDialogTitle;
    if (a.thumbnail.thumbnailWidth != b.thumbnail.thumbnailWidth ||
        a.thumbnail.thumbnailHeight != b.thumbnail.thumbnailHeight) {
        parts |= kThumbnail;
    }
    if (a.obj.currentModel != b.obj.currentModel) parts |= kModel;
    if (a.host.maskValue != b.host.maskValue) parts |= kMask;
    return parts;
}

unsigned writablePartsOf(const std::string& name) {
    static const std::map<std::string, unsigned> writers = {
        {"SetAppLinkPath", kAppLink}, {"ResetAppLinkPath", kAppLink}, {"FileCopyFrom", kCopySource},
        {"SetDefaultDir", kDefaultDirectory}, {"GetFileList", kFileList}, {"GetDirFileList", kFileList},
        {"SetDialogTitle", kDialogTitle},
    };
    const auto found = writers.find(name);
    return found == writers.end() ? 0u : found->second;
}

bool cancelledDialog(const platform::OpenFileRequest&) { return false; }
intptr_t failedLaunch(const char*, const char*, const char*, const char*, int) { return 2; }  // file not found

class ArgumentSweep : public ::testing::Test {
protected:
    void SetUp() override {
        previousDirectory_ = fs::current_path();
        fs::current_path(workFolder_.path());
        system_.calls().dialogs.openFile = &cancelledDialog;
        system_.calls().shell.launch = &failedLaunch;
    }
    void TearDown() override {
        fs::current_path(previousDirectory_);
        ::FreeOBJModel(nullptr, 0, nullptr, 0, 0, 0, nullptr);
        resetModuleState();
    }

    fs::path previousDirectory_;
    test::TempFolder workFolder_;
    test::ScopedSystem system_;
    test::CapturedNotes notes_;
};

TEST_F(ArgumentSweep, EveryExportGivesItsCodeAndWritesOnlyItsBufferAndItsState) {
    test::SweepScene scene;
    size_t calls = 0;
    for (const NamedExport& entry : kExports) {
        const std::string name = entry.name;
        const unsigned writable = writablePartsOf(name);
        ModuleState before = moduleState();
        auto checkState = [&](const test::SweepCase& c, std::vector<test::SweepFailure>& failures) {
            const unsigned changed = changedParts(before, moduleState()) & ~writable;
            if (changed != 0) failures.push_back({name, 0, "changed module state parts " + std::to_string(changed) +
                                                              " with text kind " + std::to_string(int(c.text))});
            before = moduleState();
        };
        const std::vector<test::SweepFailure> failures = test::sweepExport(name, entry.function, scene, checkState);
        calls += test::sweepCases().size();
        for (size_t i = 0; i < failures.size() && i < 5; ++i) {
            const test::SweepCase& c = test::sweepCases()[failures[i].caseIndex];
            ADD_FAILURE() << name << ": " << failures[i].what << " (text kind " << int(c.text) << ", value " << c.value
                          << ", buffer " << (c.nullBuffer ? "null" : std::to_string(c.bufferSize)) << ", context kind "
                          << int(c.context) << ")";
        }
        EXPECT_EQ(obj::objState().currentModel, nullptr) << name;
    }
    std::printf("argument sweep: %zu calls over %zu exports\n", calls, std::size(kExports));
    EXPECT_EQ(std::size(kExports) * test::sweepCases().size(), calls);
}

}  // namespace
}  // namespace tollgram
