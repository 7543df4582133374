#pragma once
// Kavrex's interface tree as MoveButtonAfter walks it. Nodes are linked by
// parent, first child and next/previous sibling; a kind-1007 container also
// lists items in an array, and those without a parent are reached only
// through it.
//
// The host's tree may be tens of thousands of items long or deep, so every
// walk keeps its own stack on the heap; and a tree the host left cyclic ends
// a walk with a report instead of running forever.
#include <cstdint>

namespace tollgram::host {

// The first top-level node: up through parents, then back through previous
// siblings, from any node of the tree; null when those links run in a circle.
uint8_t* climbToFirstTopLevel(uint8_t* start);

// The first node, in search order, one of whose names matches the words:
// first the node's children, then its control record's first and second
// name and its own name, then its next siblings, then the parentless items
// of a kind-1007 container, depth first. Null when none matches before the
// search ends, or meets a cycle (which ends it).
uint8_t* findItem(uint8_t* start, const char* words);

// True when the links a move rewrites agree with each other: the moved
// item's neighbours point back at it, the anchor's next sibling points back
// at the anchor, and the parents above the anchor neither include the moved
// item nor run in a circle. Relinking a tree that fails this would tie a
// node to itself (its own sibling or parent), and the host's walks over it
// would never end.
bool linksAgree(const uint8_t* moved, const uint8_t* anchor);

// True when node lies below item: among item's children and their siblings,
// or the items of containers among them, at any depth. A cyclic subtree
// counts as containing it, since it cannot be moved safely either.
bool subtreeContains(uint8_t* item, const uint8_t* node);

}  // namespace tollgram::host
