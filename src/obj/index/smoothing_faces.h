#pragma once
// The model's smoothing-group index, _smoothingFaces: for each number the
// model registered as a smoothing group, the faces that have it, in
// ascending order. A crease of a smoothing group so visits its own faces,
// not every face of the model. Built on first demand and kept until the
// model is destroyed (OBJModel::releaseSmoothingFaces frees it).
#include <cstdint>

#include "obj/index/face_span.h"
#include "obj/model/obj_model.h"

namespace tollgram::obj {

struct SmoothingFaces {
    uint32_t numberCount = 0;                      // distinct numbers registered
    uint32_t numbers[kMaxSmoothingGroups] = {};    // ascending
    uint32_t starts[kMaxSmoothingGroups + 1] = {};  // numbers[k]'s faces from faces[starts[k]]
    uint32_t* faces = nullptr;
};

// True when the index exists afterwards; an index that could not be built
// completely is released, leaving none.
bool buildSmoothingFaces(OBJModel& model);

// The faces whose smoothing-group number is number; none when the model did
// not register it.
FaceSpan facesOfSmoothingGroup(const SmoothingFaces& index, uint32_t number);

}  // namespace tollgram::obj
