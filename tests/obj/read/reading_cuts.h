#pragma once
// A file read with a chosen cut (threads, chunk size), and
// everything a read leaves behind: the model, the log file's lines, and
// what LoadOBJFile gives and shows. The reads run in a folder of their own,
// where the log file is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "frame/call_frame.h"
#include "frame/exports.h"
#include "support/module_reset.h"
#include "obj/read/read_plan.h"
#include "obj/same_models.h"
#include "support/captured_notes.h"
#include "support/export_work.h"
#include "support/temp_folder.h"

namespace tollgram::obj::test {

struct Cut {
    unsigned threads;
    size_t chunkBytes = 0;  // 0: the usual size
};

inline std::string describe(const Cut& cut) {
    return std::to_string(cut.threads) + " threads, chunks of " + std::to_string(cut.chunkBytes) + " bytes";
}

// Every read cut so while it lives.
class ForcedCut {
public:
    explicit ForcedCut(const Cut& cut) {
        const ForcedReading forced{cut.threads, cut.chunkBytes};
        forceReading(&forced);
    }
    ~ForcedCut() { forceReading(nullptr); }
    ForcedCut(const ForcedCut&) = delete;
    ForcedCut& operator=(const ForcedCut&) = delete;
};

struct Reading {
    bool ok = false;
    std::unique_ptr<OBJModel> model;
    std::string log;  // what the read appended to the log file
    float loaded = 0.0f;
    std::vector<tollgram::test::Note> boxes;
};

// Runs the reads of a test in a folder of its own, for the log file.
class ReadingFolder {
public:
    ReadingFolder() : previous_(std::filesystem::current_path()) { std::filesystem::current_path(folder_.path()); }
    ~ReadingFolder() { std::filesystem::current_path(previous_); }
    ReadingFolder(const ReadingFolder&) = delete;
    ReadingFolder& operator=(const ReadingFolder&) = delete;

    std::string write(const std::string& name, const std::string& text) const { return folder_.write(name, text); }

    // The file read with the cut: readOBJ itself (whose model stays, even
    // when the read fails), then LoadOBJFile.
    Reading read(const std::string& path, const Cut& cut) const {
        ForcedCut forced(cut);
        Reading reading;
        reading.model = std::make_unique<OBJModel>();
        reading.ok = reading.model->readOBJ(path);
        reading.log = takeLog();
        tollgram::test::CapturedNotes notes;
        reading.loaded = tollgram::test::resultOfWork(&exports::LoadOBJFile, CallFrame{path.c_str(), 0.0, nullptr, 0, 0, 0, nullptr});
        for (size_t i = 0; i < notes.count(); ++i) reading.boxes.push_back(notes.at(i));
        (void)exports::FreeOBJModel(CallFrame{nullptr, 0.0, nullptr, 0, 0, 0, nullptr});
        EXPECT_EQ(takeLog(), reading.log) << "the load wrote other log lines";
        return reading;
    }

private:
    std::string takeLog() const {
        const std::string log = folder_.at("error_objmodel_read.txt");
        std::string lines = tollgram::test::contentOf(log);
        std::filesystem::remove(log);
        return lines;
    }

    tollgram::test::TempFolder folder_;
    std::filesystem::path previous_;
};

// The difference between two readings of one file, or an empty text.
inline std::string readingDifference(const Reading& a, const Reading& b) {
    if (a.ok != b.ok) return "result of readOBJ";
    std::string model = modelDifference(*a.model, *b.model);
    if (!model.empty()) return model;
    if (a.log != b.log) return "log file \"" + a.log + "\" against \"" + b.log + "\"";
    if (a.loaded != b.loaded) return "LoadOBJFile's result";
    if (a.boxes.size() != b.boxes.size()) return "number of boxes";
    for (size_t i = 0; i < a.boxes.size(); ++i) {
        if (a.boxes[i].caption != b.boxes[i].caption || a.boxes[i].text != b.boxes[i].text ||
            a.boxes[i].style != b.boxes[i].style) {
            return "box \"" + a.boxes[i].text + "\" against \"" + b.boxes[i].text + "\"";
        }
    }
    return {};
}

}  // namespace tollgram::obj::test
