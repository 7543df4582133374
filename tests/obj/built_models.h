#pragma once
// Models put together through the calls the reader fills them with
// (support/test_models.h), and the current-model slot borrowed for a test.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "support/module_reset.h"
#include "obj/current_model.h"
#include "obj/model/obj_model.h"
#include "platform/line_end.h"
#include "support/temp_folder.h"
#include "support/test_models.h"

namespace tollgram::obj::test {

using tollgram::test::contentOf;
using tollgram::test::CurrentModel;
using tollgram::test::registerSmoothingGroup;
using tollgram::test::TempFolder;

struct Corner {
    int32_t v;
    int32_t t = -1;  // -1: the face carries no texture indices
    int32_t n = -1;  // -1: the face carries no normal indices
};

inline FaceValue faceOf(std::initializer_list<Corner> corners, int32_t material = -1, uint32_t smoothing = 0) {
    FaceValue face;
    for (const Corner& c : corners) {
        face._vertexIndices[face._cornerCount] = c.v;
        face._textureIndices[face._cornerCount] = c.t < 0 ? 0 : c.t;
        face._normalIndices[face._cornerCount] = c.n < 0 ? 0 : c.n;
        face._hasTexture = c.t >= 0;
        face._hasNormal = c.n >= 0;
        ++face._cornerCount;
    }
    face._materialIndex = material;
    face._smoothingGroup = smoothing;
    return face;
}

inline FaceValue faceOf(std::initializer_list<int32_t> vertices, int32_t material = -1, uint32_t smoothing = 0) {
    FaceValue face;
    for (int32_t v : vertices) face._vertexIndices[face._cornerCount++] = v;
    face._materialIndex = material;
    face._smoothingGroup = smoothing;
    return face;
}

// Vertex i at (i, i + 0.5, -i).
inline void addVertices(OBJModel& model, uint32_t count) {
    for (uint32_t i = model._vertices._count, end = i + count; i < end; ++i) {
        ASSERT_TRUE(model._vertices.append(Vec3{float(i), float(i) + 0.5f, -float(i)}));
    }
}

// Appends the face and lists it in each of groups; returns its index.
inline int32_t addFace(OBJModel& model, const FaceValue& face, std::initializer_list<const char*> groups = {}) {
    EXPECT_TRUE(tollgram::test::listFace(model, face, groups));
    return static_cast<int32_t>(model._faces._count - 1);
}

inline void addMaterial(OBJModel& model, const char* name) {
    Material material;
    material._name = name;
    ASSERT_TRUE(model.addMaterial(material));
}

// Lines joined with the platform's line end, each line ended.
inline std::string linesOf(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) text += line + platform::kLineEnd;
    return text;
}

}  // namespace tollgram::obj::test
