#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>

#include "files/files_state.h"
#include "host/host_state.h"
#include "obj/current_model.h"
#include "platform/module_hooks.h"
#include "thumbnail/thumbnail_state.h"
#include "support/float_bits.h"
#include "frame/app.h"
#include "frame/exports.h"
#include "frame/guarded_call.h"
#include "frame/message_box.h"
#include "support/module_reset.h"
#include "obj/model/obj_model.h"
#include "frame/tracked_alloc.h"
#include "platform/system.h"
#include "support/captured_notes.h"

namespace tollgram {
namespace {

using test::bitsOf;

TEST(Version, IsTheFloatNearest191WhateverTheArguments) {
    char buffer[8] = "keep";
    int context = 0;
    EXPECT_EQ(bitsOf(::Version(nullptr, 0.0, nullptr, 0, 0, 0, nullptr)), 0x3FF47AE1u);
    EXPECT_EQ(bitsOf(::Version("name", -1e300, buffer, -3, 7, 9, &context)), 0x3FF47AE1u);
    EXPECT_STREQ(buffer, "keep");
}

TEST(ModuleState, StartsWithTheLoadTimeValues) {
    resetModuleState();
    const files::FilesState& fileState = files::filesState();
    EXPECT_STREQ(fileState.appLinkPath, "");
    EXPECT_STREQ(fileState.copySourcePath, "");
    EXPECT_STREQ(fileState.defaultDirectory, "");
    EXPECT_STREQ(fileState.dialogTitle, "Select Files");
    for (char byte : fileState.fileListBuffer) ASSERT_EQ(byte, 0);
    EXPECT_EQ(thumbnail::thumbnailState().thumbnailWidth, 0);
    EXPECT_EQ(thumbnail::thumbnailState().thumbnailHeight, 0);
    EXPECT_EQ(obj::objState().currentModel, nullptr);
    EXPECT_EQ(host::hostState().maskValue, 0);
    EXPECT_EQ(sizeof fileState.appLinkPath, 1024u);
    EXPECT_EQ(sizeof fileState.copySourcePath, 512u);
    EXPECT_EQ(sizeof fileState.defaultDirectory, 512u);
    EXPECT_EQ(sizeof fileState.fileListBuffer, 4096u);
    EXPECT_EQ(sizeof fileState.dialogTitle, 256u);
}

TEST(GuardedCall, AnExceptionBecomesTheFailureResult) {
    const CallFrame frame{};
    auto throwsLogic = [](const CallFrame&) -> Outcome { throw std::logic_error("inside an export"); };
    auto throwsMemory = [](const CallFrame&) -> Outcome { throw std::bad_alloc(); };
    auto throwsInt = [](const CallFrame&) -> Outcome { throw 42; };
    auto works = [](const CallFrame& f) -> Outcome { return numbered(f.bufferSize); };
    auto fails = [](const CallFrame&) -> Outcome { return failed(); };
    EXPECT_EQ(guardedCall(throwsLogic, frame, -1.0f), -1.0f);
    EXPECT_EQ(guardedCall(throwsMemory, frame, 0.0f), 0.0f);
    EXPECT_EQ(guardedCall(throwsInt, frame, -3.0f), -3.0f);
    const CallFrame sized{nullptr, 0.0, nullptr, 12, 0, 0, nullptr};
    EXPECT_EQ(guardedCall(works, sized, -1.0f), 12.0f);
    EXPECT_EQ(guardedCall(fails, frame, 0.0f), 0.0f) << "a failure is the export's own failure result";
    EXPECT_EQ(guardedCall(fails, frame, -1.0f), -1.0f);
}

TEST(MessageBox, ShowsAnOwnerlessSystemModalNote) {
    test::CapturedNotes notes;
    showNote(nullptr, "text one");
    showNote("IMPORT ERROR", "text two");
    ASSERT_EQ(notes.count(), 2u);
    EXPECT_EQ(notes.at(0).caption, "Quarnel Note");
    EXPECT_EQ(notes.at(0).text, "text one");
    EXPECT_EQ(notes.at(0).style, 0x11040u);
    EXPECT_EQ(notes.at(1).caption, "IMPORT ERROR");
    EXPECT_EQ(notes.at(1).text, "text two");
}

TEST(TrackedAllocation, NamesTheCallerWhenMemoryRunsOut) {
    test::CapturedNotes notes;
    void* block = trackedAlloc(64, "ABitMap::Allocate");
    ASSERT_NE(block, nullptr);
    std::free(block);
    EXPECT_EQ(notes.count(), 0u);

    EXPECT_EQ(trackedAlloc(std::numeric_limits<size_t>::max() - 4096, "ABitMap::Allocate"), nullptr);
    ASSERT_EQ(notes.count(), 1u);
    EXPECT_EQ(notes.at(0).caption, "Plugin Note: memory could not be allocated.");
    EXPECT_EQ(notes.at(0).text, "ABitMap::Allocate");
    EXPECT_EQ(notes.at(0).style, 0x11040u);
}

TEST(ApplicationObject, IsMadeAndInitialisedOnceAndChainsItsMessageMap) {
    stopModule();
    EXPECT_EQ(application(), nullptr);
    startModule();
    CTollgramApp* app = application();
    ASSERT_NE(app, nullptr);
    startModule();
    EXPECT_EQ(application(), app);
    EXPECT_EQ(app->m_pszAppName, nullptr);
    EXPECT_EQ(app->InitInstance(), 1);
    const platform::MessageMap* map = app->GetMessageMap();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->entries[0].message, 0u);  // only the end marker
    ASSERT_NE(map->baseMap, nullptr);
    EXPECT_NE(map->baseMap(), map);
    EXPECT_EQ(map->baseMap()->baseMap, nullptr);
    stopModule();
    EXPECT_EQ(application(), nullptr);
}

// Unloaded while the host goes on, the library takes a held model with it;
// at process exit the model is left to the system.
TEST(ApplicationObject, AnUnloadReleasesTheHeldModel) {
    startModule();
    auto* model = new obj::OBJModel();
    obj::objState().currentModel = model;
    platform::moduleUnloading(true);
    EXPECT_EQ(obj::objState().currentModel, model);
    startModule();
    platform::moduleUnloading(false);
    EXPECT_EQ(obj::objState().currentModel, nullptr);
    EXPECT_EQ(application(), nullptr);
    startModule();
}

}  // namespace
}  // namespace tollgram
