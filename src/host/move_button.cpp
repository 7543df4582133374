#include "host/move_button.h"

#include "host/interface_tree.h"
#include "host/records.h"

namespace tollgram::host {

namespace {

// The moved item leaves its old place, and its old parent when it had one,
// and becomes the anchor's next sibling under the anchor's parent, taking
// its children with it. Start node and container item arrays stay as they
// are.
void relinkAfter(uint8_t* moved, uint8_t* anchor) {
    uint8_t* previous = pointerAt(moved, node::kPreviousSibling);
    uint8_t* next = pointerAt(moved, node::kNextSibling);
    uint8_t* parent = pointerAt(moved, node::kParent);
    if (previous != nullptr) writePointer(previous, node::kNextSibling, next);
    if (next != nullptr) writePointer(next, node::kPreviousSibling, previous);
    if (parent != nullptr && pointerAt(parent, node::kFirstChild) == moved) {
        writePointer(parent, node::kFirstChild, next);
    }
    uint8_t* anchorNext = pointerAt(anchor, node::kNextSibling);
    writePointer(moved, node::kNextSibling, anchorNext);
    writePointer(moved, node::kPreviousSibling, anchor);
    writePointer(moved, node::kParent, pointerAt(anchor, node::kParent));
    if (anchorNext != nullptr) writePointer(anchorNext, node::kPreviousSibling, moved);
    writePointer(anchor, node::kNextSibling, moved);
}

}  // namespace

// Refused before any write: a move after itself, after an item of its own
// subtree, or across links that contradict each other would leave the tree
// cyclic.
Outcome moveButtonAfter(const void* hostContext, const char* movedWords, const char* anchorWords) {
    const uint8_t* interface = pointerAt(hostContext, context::kInterfaceRecord);
    if (interface == nullptr || movedWords == nullptr || anchorWords == nullptr) return failed();
    uint8_t* start = pointerAt(interface, interface_record::kStartNode);
    if (start == nullptr) return failed();

    uint8_t* top = climbToFirstTopLevel(start);
    if (top == nullptr) return failed();
    uint8_t* moved = findItem(top, movedWords);
    uint8_t* anchor = findItem(top, anchorWords);
    if (moved == nullptr || anchor == nullptr) return failed();
    if (moved == anchor || subtreeContains(moved, anchor)) return failed();
    if (!linksAgree(moved, anchor)) return failed();

    relinkAfter(moved, anchor);
    return succeeded();
}

}  // namespace tollgram::host
