// MoveButtonAfter: finds two interface items by their names and relinks the
// first to directly follow the second. Only the tree's links change; laying
// out and redrawing is the host's business.
#include "frame/call_frame.h"
#include "frame/results.h"
#include "host/interface_tree.h"
#include "host/records.h"

namespace tollgram {

namespace {

// The moved item leaves its old place, and its old parent when it had one,
// and becomes the anchor's next sibling under the anchor's parent, taking
// its children with it. Start node and container item arrays stay as they
// are.
void relinkAfter(uint8_t* moved, uint8_t* anchor) {
    using namespace host;
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

namespace work {

// Refused before any write: a move after itself, after an item of its own
// subtree, or across links that contradict each other would leave the tree
// cyclic.
float MoveButtonAfter(const CallFrame& frame) {
    const uint8_t* interface = host::pointerAt(frame.context, host::context::kInterfaceRecord);
    if (interface == nullptr || frame.text == nullptr || frame.buffer == nullptr) return kFailure;
    uint8_t* start = host::pointerAt(interface, host::interface_record::kStartNode);
    if (start == nullptr) return kFailure;

    uint8_t* top = host::climbToFirstTopLevel(start);
    if (top == nullptr) return kFailure;
    uint8_t* moved = host::findItem(top, frame.text);
    uint8_t* anchor = host::findItem(top, frame.buffer);
    if (moved == nullptr || anchor == nullptr) return kFailure;
    if (moved == anchor || host::subtreeContains(moved, anchor)) return kFailure;
    if (!host::linksAgree(moved, anchor)) return kFailure;

    relinkAfter(moved, anchor);
    return kSuccess;
}

}  // namespace work
}  // namespace tollgram
