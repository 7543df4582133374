#include "host/interface_tree.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/item_names.h"
#include "host/records.h"

namespace tollgram::host {

namespace {

uint8_t* parentOf(const uint8_t* node) { return pointerAt(node, node::kParent); }

bool namesMatch(const uint8_t* node, const char* words) {
    const uint8_t* control = pointerAt(node, node::kControl);
    if (control != nullptr && (nameRecordMatches(pointerAt(control, control::kFirstName), words) ||
                               nameRecordMatches(pointerAt(control, control::kSecondName), words))) {
        return true;
    }
    return nameRecordMatches(pointerAt(node, node::kName), words);
}

// The items a container's node lists; none unless its control is of the
// container kind.
struct Items {
    const uint8_t* array = nullptr;
    uint32_t count = 0;
};

Items itemsOf(const uint8_t* node) {
    const uint8_t* control = pointerAt(node, node::kControl);
    if (control == nullptr || readI16(control, control::kKind) != control::kContainerKind) return {};
    const int32_t count = readI32(node, node::kItemCount);
    const uint8_t* array = pointerAt(node, node::kItems);
    if (array == nullptr || count <= 0) return {};
    return {array, static_cast<uint32_t>(count)};
}

struct WalkResult {
    uint8_t* node = nullptr;  // the node found, or null
    bool cyclic = false;      // the walk met a cycle and stopped
};

// The search's recursion unrolled: each frame is one node's search, at the
// step it has reached. A node whose search is running when it is entered
// again would recurse forever: the tree is cyclic. A node entered again
// after its search ended found nothing then and finds nothing now, so it is
// skipped; this keeps shared items from being searched over and over.
template <typename Found>
WalkResult walk(uint8_t* start, bool withSiblings, Found found) {
    enum class Step : uint8_t { Children, Names, Siblings, Items };
    struct Frame {
        uint8_t* node;
        Step step;
        uint32_t item;
    };
    std::vector<Frame> stack;
    std::unordered_map<const uint8_t*, bool> ended;  // per node entered: its search has ended

    auto enter = [&](uint8_t* node) {
        const auto [entry, fresh] = ended.try_emplace(node, false);
        if (fresh) stack.push_back({node, Step::Children, 0});
        return fresh || entry->second;  // false: entered while running
    };

    enter(start);
    while (!stack.empty()) {
        Frame& frame = stack.back();
        uint8_t* node = frame.node;
        switch (frame.step) {
            case Step::Children: {
                frame.step = Step::Names;
                uint8_t* child = pointerAt(node, node::kFirstChild);
                if (child != nullptr && !enter(child)) return {nullptr, true};
                break;
            }
            case Step::Names:
                if (found(node)) return {node, false};
                frame.step = Step::Siblings;
                break;
            case Step::Siblings: {
                frame.step = Step::Items;
                uint8_t* next = pointerAt(node, node::kNextSibling);
                if (next != nullptr && (withSiblings || node != start) && !enter(next)) return {nullptr, true};
                break;
            }
            case Step::Items: {
                const Items items = itemsOf(node);
                uint8_t* item = nullptr;
                while (frame.item < items.count && item == nullptr) {
                    uint8_t* candidate = pointerAt(items.array, frame.item * node::kItemSize);
                    ++frame.item;
                    if (candidate != nullptr && parentOf(candidate) == nullptr) item = candidate;
                }
                if (item == nullptr) {
                    ended[node] = true;
                    stack.pop_back();
                } else if (!enter(item)) {
                    return {nullptr, true};
                }
                break;
            }
        }
    }
    return {};
}

}  // namespace

uint8_t* climbToFirstTopLevel(uint8_t* start) {
    std::unordered_set<const uint8_t*> seen;
    uint8_t* node = start;
    while (node != nullptr) {
        if (!seen.insert(node).second) return nullptr;
        uint8_t* parent = parentOf(node);
        uint8_t* up = parent != nullptr ? parent : pointerAt(node, node::kPreviousSibling);
        if (up == nullptr) return node;
        node = up;
    }
    return nullptr;
}

uint8_t* findItem(uint8_t* start, const char* words) {
    if (start == nullptr) return nullptr;
    return walk(start, true, [words](const uint8_t* node) { return namesMatch(node, words); }).node;
}

bool linksAgree(const uint8_t* moved, const uint8_t* anchor) {
    const uint8_t* previous = pointerAt(moved, node::kPreviousSibling);
    const uint8_t* next = pointerAt(moved, node::kNextSibling);
    const uint8_t* anchorNext = pointerAt(anchor, node::kNextSibling);
    if (previous != nullptr && pointerAt(previous, node::kNextSibling) != moved) return false;
    if (next != nullptr && pointerAt(next, node::kPreviousSibling) != moved) return false;
    if (anchorNext != nullptr && pointerAt(anchorNext, node::kPreviousSibling) != anchor) return false;
    std::unordered_set<const uint8_t*> seen;
    for (const uint8_t* up = parentOf(anchor); up != nullptr; up = parentOf(up)) {
        if (up == moved || !seen.insert(up).second) return false;
    }
    return true;
}

bool subtreeContains(uint8_t* item, const uint8_t* node) {
    if (item == nullptr) return false;
    const WalkResult below = walk(item, false, [item, node](const uint8_t* at) { return at == node && at != item; });
    return below.node != nullptr || below.cyclic;
}

}  // namespace tollgram::host
