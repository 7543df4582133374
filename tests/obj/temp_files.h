#pragma once
// Reading OBJ text from a fresh folder of the test's own.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "obj/model/obj_model.h"
#include "support/temp_folder.h"

namespace tollgram::obj::test {

// The OBJ tests' folders spell paths with "/", as the reader's messages quote
// them.
using tollgram::test::PathForm;
using tollgram::test::TempFolder;

struct ReadOutcome {
    bool ok;
    std::unique_ptr<OBJModel> model;
    std::string path;
};

// Reads the text as an OBJ file named model.obj in dir.
inline ReadOutcome readText(const TempFolder& dir, const std::string& text) {
    ReadOutcome outcome{false, std::make_unique<OBJModel>(), dir.write("model.obj", text)};
    outcome.ok = outcome.model->readOBJ(outcome.path);
    return outcome;
}

inline std::vector<int32_t> listOf(const FaceIndexList& list) { return {list.begin(), list.end()}; }

}  // namespace tollgram::obj::test
