#include "obj/index/smoothing_faces.h"

#include <algorithm>
#include <new>

#include "obj/model/block_memory.h"

namespace tollgram::obj {

namespace {

// The position of number among the index's numbers; numberCount when it is
// not one of them.
uint32_t positionOf(const SmoothingFaces& index, uint32_t number) {
    const uint32_t* end = index.numbers + index.numberCount;
    const uint32_t* found = std::lower_bound(index.numbers, end, number);
    return found != end && *found == number ? uint32_t(found - index.numbers) : index.numberCount;
}

// The one place the index reads the faces: face i's smoothing-group number.
uint32_t numberOfFace(const OBJModel& model, uint32_t i) { return model._faces.find(i)->_smoothingGroup; }

}  // namespace

bool buildSmoothingFaces(OBJModel& model) {
    if (model._smoothingFaces != nullptr) return true;
    SmoothingFaces* index = new (std::nothrow) SmoothingFaces();
    if (index == nullptr) return false;
    const uint32_t registered = std::min(model._smoothingGroupCount, kMaxSmoothingGroups);
    std::copy(model._smoothingGroups, model._smoothingGroups + registered, index->numbers);
    std::sort(index->numbers, index->numbers + registered);
    index->numberCount = uint32_t(std::unique(index->numbers, index->numbers + registered) - index->numbers);

    const uint32_t faceCount = model._faces._count;
    for (uint32_t i = 0; i < faceCount; ++i) {
        const uint32_t k = positionOf(*index, numberOfFace(model, i));
        if (k < index->numberCount) ++index->starts[k + 1];
    }
    for (uint32_t k = 0; k < index->numberCount; ++k) index->starts[k + 1] += index->starts[k];
    const uint32_t listed = index->starts[index->numberCount];
    index->faces = static_cast<uint32_t*>(allocateBlock(listed == 0 ? 1 : size_t(listed) * sizeof(uint32_t)));
    if (index->faces == nullptr) {
        delete index;
        return false;
    }
    // Placed from the back, the last face first: each number's faces come
    // out ascending, and starts[k + 1] ends at its start.
    for (uint32_t i = faceCount; i-- > 0;) {
        const uint32_t k = positionOf(*index, numberOfFace(model, i));
        if (k < index->numberCount) index->faces[--index->starts[k + 1]] = i;
    }
    for (uint32_t k = 0; k < index->numberCount; ++k) index->starts[k] = index->starts[k + 1];
    index->starts[index->numberCount] = listed;
    model._smoothingFaces = index;
    return true;
}

FaceSpan facesOfSmoothingGroup(const SmoothingFaces& index, uint32_t number) {
    const uint32_t k = positionOf(index, number);
    if (k == index.numberCount) return {};
    return {index.faces + index.starts[k], index.faces + index.starts[k + 1]};
}

void OBJModel::releaseSmoothingFaces() {
    if (_smoothingFaces == nullptr) return;
    releaseBlock(_smoothingFaces->faces);
    delete _smoothingFaces;
    _smoothingFaces = nullptr;
}

}  // namespace tollgram::obj
