#pragma once
// Marks on the host's current mesh made from a group or smoothing group of
// the current model, whose vertices and faces the mesh is taken to share in
// the same order: the mask value on every vertex the chosen faces use, or
// crease bits on every edge of theirs that borders a face outside them.
//
// Every check comes before the first write: a transfer that fails has
// changed no host byte. The result is the transfer's count, or why it
// failed.
#include <cstdint>

#include "obj/model/obj_model.h"

namespace tollgram::host {

// Chosen by 0-based group index or smoothing-group position.
enum class Choice { Group, SmoothingGroup };

enum class TransferFault : uint8_t {
    None,
    VertexCountsDiffer,  // the mesh has another number of vertices than the model
    NothingChosen,       // no group or smoothing group of that index
    MeshUnusable,        // no usable flag array, or as many polygons as faces for creases
    OutOfMemory,
};

struct Transferred {
    uint32_t count = 0;  // when fault is None
    TransferFault fault = TransferFault::None;
};

// The mask value into the mask byte of each corner's vertex; the count of
// corner writes (a vertex shared by three chosen faces counts three times).
Transferred maskTransfer(const obj::OBJModel& model, Choice choice, uint32_t index, uint8_t* mesh,
                         uint8_t maskValue);

// Crease bits 2j and 2j + 1 of polygon f for each edge j (of the first four)
// of a chosen face f, once per face outside the choice that uses both of the
// edge's vertices; the count of such neighbours, edges beyond the fourth
// included. Builds the model's vertex-to-faces and edge-to-faces indexes
// (and, for a smoothing group, its smoothing-group index) on first use;
// after that a call costs what the chosen faces and their neighbours cost,
// whatever else the model holds.
Transferred creaseTransfer(obj::OBJModel& model, Choice choice, uint32_t index, uint8_t* mesh);

}  // namespace tollgram::host
