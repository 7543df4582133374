#pragma once
// Writes the whole model, one group or one smoothing group as Wavefront OBJ
// text: a comment header with the counts, vertex lines, for the whole model
// also texture-coordinate and normal lines, then group, material and face
// lines. A single group or smoothing group is written with only its own
// vertex range, renumbered from 1, and without texture or normal indices.
// Lines end with the platform's text line end. The model is only read.
#include <cstdint>

#include "obj/model/obj_model.h"

namespace tollgram::obj {

// The second header line.
inline constexpr const char* kWriterAddressLine = "# https://tollgram.example.com/";

enum class ModelWrite : uint8_t {
    Written,
    EmptySubset,     // the subset's vertex range is empty (or the smoothing group has no faces): no file touched
    FileNotWritten,  // the file could not be made or a write failed: an existing one is as it was
};

ModelWrite writeWholeModel(const OBJModel& model, const char* path);
ModelWrite writeGroup(const OBJModel& model, const char* path, uint32_t groupIndex);
ModelWrite writeSmoothingGroup(const OBJModel& model, const char* path, uint32_t number);

}  // namespace tollgram::obj
