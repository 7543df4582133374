#pragma once
// Questions about a model's groups and smoothing groups that the query
// exports, the OBJ writer and the crease transfer share. None changes the
// model.
//
// A vertex range is the interval of vertex indices a set of faces uses:
// first is the lowest index, count is highest - lowest + 1, or 0 when the
// highest does not exceed the lowest. It is the width of the interval, not the
// number of distinct vertices.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "obj/model/obj_model.h"

namespace tollgram::obj {

// The name the writer gives faces that belong to no group.
const std::string& defaultGroupName();

struct VertexRange {
    uint32_t first;
    uint32_t count;
};

// Range of the faces of group groupIndex (0-based, in _groupNames order).
// Without vertices the range is (0, 0); for an index beyond the groups it is
// (vertex count, 0). Corner indices are compared as unsigned numbers, so one
// at or beyond the vertex count never lowers first.
VertexRange groupVertexRange(const OBJModel& model, uint32_t groupIndex);

// Range of all faces whose _smoothingGroup is number, by the same rule.
VertexRange smoothingGroupVertexRange(const OBJModel& model, uint32_t number);

// _smoothingGroupCount, never more than the table holds.
uint32_t smoothingGroupCountOf(const OBJModel& model);

// Number of faces whose _smoothingGroup is number.
uint32_t smoothingGroupFaceCount(const OBJModel& model, uint32_t number);

// The face list of a group by name; null when the name is no group.
const FaceIndexList* findGroupFaceList(const OBJModel& model, const std::string& name);

// The face list of group groupIndex (0-based, in _groupNames order); null for
// an index beyond the groups, or a name without a list (which a read model
// never has).
const FaceIndexList* groupFaceList(const OBJModel& model, uint32_t groupIndex);

// The number stored at smoothing-group position (0-based, in _smoothingGroups
// order); none for a position at or beyond smoothingGroupCountOf.
std::optional<uint32_t> smoothingGroupAt(const OBJModel& model, uint32_t position);

// Whether a group's list holds the face. Lists are kept in non-decreasing
// order, so this is a binary search; a null list holds nothing.
bool listHoldsFace(const FaceIndexList* list, int32_t faceIndex);

// listHoldsFace for faces asked in increasing order, as a writer walks the
// model: a cursor that moves forward through the list, so that a run of
// faces costs a step each instead of a search each.
class FaceListCursor {
public:
    FaceListCursor() = default;
    // Placed at the first entry not below fromFace.
    FaceListCursor(const FaceIndexList* list, int32_t fromFace);

    // faceIndex must not be below the one asked before.
    bool holds(int32_t faceIndex) {
        while (next_ != end_ && *next_ < faceIndex) ++next_;
        return next_ != end_ && *next_ == faceIndex;
    }

private:
    const int32_t* next_ = nullptr;
    const int32_t* end_ = nullptr;
};

// Whether the named group holds the face; a name that is no group holds none.
bool groupContainsFace(const OBJModel& model, int32_t faceIndex, const std::string& name);

// The first group, in order of creation, that holds the face; "default" when
// none does. The reference stays valid as long as the model.
const std::string& groupNameOfFace(const OBJModel& model, int32_t faceIndex);

// groupNameOfFace for every face at once: built in one pass over all group
// lists, then answered in constant time, for writers that ask about each
// face of a model with many groups.
class FirstGroupIndex {
public:
    // False when there was no memory for the index; it then answers through
    // groupNameOfFace.
    bool build(const OBJModel& model);
    const std::string& nameOfFace(const OBJModel& model, int32_t faceIndex) const;

private:
    static constexpr uint32_t kNoGroup = 0xFFFFFFFFu;
    std::vector<uint32_t> firstGroup_;  // per face: index into _groupNames
    bool built_ = false;
};

}  // namespace tollgram::obj
