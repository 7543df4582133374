#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "host/host_call.h"
#include "host/interface_tree.h"
#include "host/item_names.h"
#include "substitute_host/substitute_host.h"

namespace tollgram {
namespace {

using substitute::SubstituteHost;

// Every link of every node, to show that a refused move changed nothing.
using Links = std::vector<std::tuple<uint8_t*, uint8_t*, uint8_t*, uint8_t*>>;

Links linksOf(const std::vector<uint8_t*>& nodes) {
    Links links;
    for (const uint8_t* node : nodes) {
        links.emplace_back(SubstituteHost::parentOf(node), SubstituteHost::firstChildOf(node),
                           SubstituteHost::nextOf(node), SubstituteHost::previousOf(node));
    }
    return links;
}

float move(SubstituteHost& host, const char* item, const char* after) {
    return test::call(MoveButtonAfter, item, 0.0, host.context(), const_cast<char*>(after), 0);
}

// Two menus of buttons:
//   File: Open, Save, Close     Edit: Undo, Redo
class Buttons : public ::testing::Test {
protected:
    void SetUp() override {
        file = host.makeNode();
        host.setControl(file, 1, "File Menu");
        edit = host.makeNode("Edit Menu");
        open = host.makeNode("Open File");
        save = host.makeNode();
        host.setControl(save, 1, nullptr, "Save Mesh");
        close = host.makeNode("Close All");
        undo = host.makeNode("Undo Last");
        redo = host.makeNode("Redo Last");
        host.linkChildren(nullptr, {file, edit});
        host.linkChildren(file, {open, save, close});
        host.linkChildren(edit, {undo, redo});
        host.setStartNode(redo);
        all = {file, edit, open, save, close, undo, redo};
    }
    SubstituteHost host;
    uint8_t *file, *edit, *open, *save, *close, *undo, *redo;
    std::vector<uint8_t*> all;
};

TEST_F(Buttons, FirstChildAfterItsLastSibling) {
    EXPECT_EQ(move(host, "Open", "Close"), 0.0f);
    EXPECT_EQ(SubstituteHost::firstChildOf(file), save);
    EXPECT_EQ(SubstituteHost::chainFrom(save), (std::vector<uint8_t*>{save, close, open}));
    EXPECT_EQ(SubstituteHost::previousOf(save), nullptr);
    EXPECT_EQ(SubstituteHost::previousOf(open), close);
    EXPECT_EQ(SubstituteHost::parentOf(open), file);
}

TEST_F(Buttons, IntoAnotherContainer) {
    EXPECT_EQ(move(host, "Save Mesh", "Redo"), 0.0f);
    EXPECT_EQ(SubstituteHost::chainFrom(open), (std::vector<uint8_t*>{open, close}));
    EXPECT_EQ(SubstituteHost::previousOf(close), open);
    EXPECT_EQ(SubstituteHost::chainFrom(undo), (std::vector<uint8_t*>{undo, redo, save}));
    EXPECT_EQ(SubstituteHost::parentOf(save), edit);
    EXPECT_EQ(SubstituteHost::previousOf(save), redo);
}

TEST_F(Buttons, AMiddleItemBeforeItsNeighbour) {
    EXPECT_EQ(move(host, "Open", "Save"), 0.0f);
    EXPECT_EQ(SubstituteHost::firstChildOf(file), save);
    EXPECT_EQ(SubstituteHost::chainFrom(save), (std::vector<uint8_t*>{save, open, close}));
    EXPECT_EQ(SubstituteHost::previousOf(close), open);
    EXPECT_EQ(SubstituteHost::previousOf(open), save);
}

TEST_F(Buttons, AContainerMovesWithItsChildren) {
    EXPECT_EQ(move(host, "Edit", "Open"), 0.0f);
    EXPECT_EQ(SubstituteHost::chainFrom(file), (std::vector<uint8_t*>{file}));
    EXPECT_EQ(SubstituteHost::chainFrom(open), (std::vector<uint8_t*>{open, edit, save, close}));
    EXPECT_EQ(SubstituteHost::parentOf(edit), file);
    EXPECT_EQ(SubstituteHost::chainFrom(SubstituteHost::firstChildOf(edit)), (std::vector<uint8_t*>{undo, redo}));
    EXPECT_EQ(SubstituteHost::parentOf(undo), edit);
}

TEST_F(Buttons, ATopLevelItemAfterAnother) {
    EXPECT_EQ(move(host, "File", "Edit"), 0.0f);
    EXPECT_EQ(SubstituteHost::chainFrom(edit), (std::vector<uint8_t*>{edit, file}));
    EXPECT_EQ(SubstituteHost::previousOf(edit), nullptr);
    EXPECT_EQ(SubstituteHost::parentOf(file), nullptr);
    // The start node is not touched; later calls climb from it as before.
    EXPECT_EQ(host::pointerAt(host.interfaceRecord(), host::interface_record::kStartNode), redo);
    EXPECT_EQ(move(host, "File", "Edit"), 0.0f) << "already there";
    EXPECT_EQ(SubstituteHost::chainFrom(edit), (std::vector<uint8_t*>{edit, file}));
}

TEST_F(Buttons, RefusedMovesChangeNothing) {
    // A loose item listed by the Edit menu, which becomes a container.
    uint8_t* loose = host.makeNode("Loose Item");
    host.setControl(edit, 1007, "Edit Menu");
    host.setItems(edit, {loose});
    all.push_back(loose);
    struct Case {
        const char* item;
        const char* after;
    };
    const Case cases[] = {
        {"Open", "Open File"},     // the same node
        {"File", "Open"},          // after its own child
        {"Edit", "Loose"},         // after an item its container lists
        {"Nothing", "Open"},       {"Open", "Nothing"},
        {"Open", "Open File Now"},  // longer than the name
    };
    for (const Case& c : cases) {
        const Links before = linksOf(all);
        EXPECT_EQ(move(host, c.item, c.after), -1.0f) << c.item << " after " << c.after;
        EXPECT_EQ(linksOf(all), before) << c.item << " after " << c.after;
    }
}

// A host tree whose links contradict each other around the two items: the
// relinking would tie a node to itself, so the move is refused untouched.
TEST_F(Buttons, ContradictoryLinksAreRefused) {
    struct Case {
        const char* name;
        uint8_t* node;
        uint32_t field;
        uint8_t* target;
        const char* item;
        const char* after;
        uint8_t* start;
    };
    const Case cases[] = {
        {"the anchor's next does not point back", close, host::node::kNextSibling, open, "Open", "Close", redo},
        {"the moved item's previous does not point back", save, host::node::kPreviousSibling, undo, "Save", "Redo", redo},
        {"the moved item's next does not point back", open, host::node::kNextSibling, undo, "Open", "Redo", redo},
        {"the anchor names the moved item as its parent", undo, host::node::kParent, file, "File", "Undo", redo},
        {"the anchor's parents run in a circle", edit, host::node::kParent, undo, "Open", "Redo", open},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint8_t* const kept = host::pointerAt(c.node, c.field);
        SubstituteHost::setPointer(c.node, c.field, c.target);
        host.setStartNode(c.start);
        const Links before = linksOf(all);
        EXPECT_EQ(move(host, c.item, c.after), -1.0f);
        EXPECT_EQ(linksOf(all), before);
        SubstituteHost::setPointer(c.node, c.field, kept);
    }
    host.setStartNode(redo);
    EXPECT_EQ(move(host, "Open", "Close"), 0.0f) << "the mended tree moves again";
}

TEST_F(Buttons, AfterAGrandchildIsRefused) {
    uint8_t* deep = host.makeNode("Deep Child");
    host.linkChildren(save, {deep});
    all.push_back(deep);
    const Links before = linksOf(all);
    EXPECT_EQ(move(host, "File", "Deep"), -1.0f);
    EXPECT_EQ(linksOf(all), before);
    EXPECT_EQ(move(host, "Deep", "File"), 0.0f) << "the other way round is sound";
    EXPECT_EQ(SubstituteHost::chainFrom(file), (std::vector<uint8_t*>{file, deep, edit}));
    EXPECT_EQ(SubstituteHost::firstChildOf(save), nullptr);
}

TEST_F(Buttons, MissingArgumentsAndRecords) {
    char words[] = "Close";
    EXPECT_EQ(test::call(MoveButtonAfter, "Open", 0.0, nullptr, words, 0), -1.0f);
    EXPECT_EQ(test::call(MoveButtonAfter, nullptr, 0.0, host.context(), words, 0), -1.0f);
    EXPECT_EQ(test::call(MoveButtonAfter, "Open", 0.0, host.context(), nullptr, 0), -1.0f);
    SubstituteHost bare;
    EXPECT_EQ(test::call(MoveButtonAfter, "Open", 0.0, bare.context(), words, 0), -1.0f) << "no interface";
    bare.interfaceRecord();
    EXPECT_EQ(test::call(MoveButtonAfter, "Open", 0.0, bare.context(), words, 0), -1.0f) << "no start node";
    EXPECT_EQ(SubstituteHost::chainFrom(open), (std::vector<uint8_t*>{open, save, close}));
}

TEST_F(Buttons, ShortNamesAreNeverFound) {
    uint8_t* ok = host.makeNode("OK");
    host.linkChildren(edit, {undo, redo, ok});
    EXPECT_EQ(move(host, "OK", "Open"), -1.0f);
    EXPECT_EQ(move(host, "", "Redo"), 0.0f) << "empty words find the first named item in search order";
    EXPECT_EQ(SubstituteHost::chainFrom(save), (std::vector<uint8_t*>{save, close}));
    EXPECT_EQ(SubstituteHost::chainFrom(undo), (std::vector<uint8_t*>{undo, redo, open, ok}));
}

// Search order, asked of the search itself: a case builds its tree, the
// words, and the node that must be found.
TEST(ItemSearch, OrderOfTheSearch) {
    SubstituteHost host;
    uint8_t* parent = host.makeNode("Tools Panel");
    uint8_t* child = host.makeNode("Tools");
    host.linkChildren(nullptr, {parent});
    host.linkChildren(parent, {child});
    EXPECT_EQ(host::findItem(parent, "Tools"), child) << "a child before its parent";

    uint8_t* first = host.makeNode("Button One");
    uint8_t* second = host.makeNode("Button Two");
    host.linkChildren(nullptr, {first, second});
    EXPECT_EQ(host::findItem(first, "Button"), first) << "an earlier sibling before a later one";

    uint8_t* container = host.makeNode();
    host.setControl(container, 1007, "Box");
    uint8_t* listed = host.makeNode("Target Listed");
    uint8_t* sibling = host.makeNode("Target Sibling");
    host.linkChildren(nullptr, {container, sibling});
    host.setItems(container, {listed});
    EXPECT_EQ(host::findItem(container, "Target"), sibling) << "siblings before listed items";
    EXPECT_EQ(host::findItem(container, "TargetListed"), listed) << "listed items are searched";

    uint8_t* other = host.makeNode();
    host.setControl(other, 1006, "Box");
    host.setItems(other, {listed});
    EXPECT_EQ(host::findItem(other, "TargetListed"), nullptr) << "only kind 1007 lists items";

    uint8_t* owner = host.makeNode("Owner");
    uint8_t* claimed = host.makeNode("Claimed Item");
    SubstituteHost::setPointer(claimed, host::node::kParent, owner);
    host.setItems(container, {claimed});
    EXPECT_EQ(host::findItem(container, "Claimed"), nullptr) << "a listed item with a parent is skipped";

    struct Names {
        const char* first;
        const char* second;
        const char* own;
    };
    const Names names[] = {{"Alpha Name", nullptr, nullptr}, {nullptr, "Alpha Name", nullptr},
                           {nullptr, nullptr, "Alpha Name"}, {"Abc", "Beta", "Alpha Name"}};
    for (const Names& n : names) {
        uint8_t* node = host.makeNode(n.own);
        host.setControl(node, 1, n.first, n.second);
        EXPECT_EQ(host::findItem(node, "Alpha"), node) << (n.first ? "first" : n.second ? "second" : "own");
    }
}

// The search as written down: recursion through children, names, siblings
// and listed items. The library's search must find the same node.
uint8_t* referenceSearch(const uint8_t* node, const char* words) {
    using namespace host;
    if (uint8_t* child = pointerAt(node, node::kFirstChild)) {
        if (uint8_t* found = referenceSearch(child, words)) return found;
    }
    const uint8_t* control = pointerAt(node, node::kControl);
    if (control != nullptr && (nameRecordMatches(pointerAt(control, control::kFirstName), words) ||
                               nameRecordMatches(pointerAt(control, control::kSecondName), words))) {
        return const_cast<uint8_t*>(node);
    }
    if (nameRecordMatches(pointerAt(node, node::kName), words)) return const_cast<uint8_t*>(node);
    if (uint8_t* next = pointerAt(node, node::kNextSibling)) {
        if (uint8_t* found = referenceSearch(next, words)) return found;
    }
    if (control != nullptr && readI16(control, control::kKind) == control::kContainerKind) {
        const uint8_t* items = pointerAt(node, node::kItems);
        for (int32_t i = 0; i < readI32(node, node::kItemCount); ++i) {
            uint8_t* item = pointerAt(items, static_cast<uint32_t>(i) * node::kItemSize);
            if (pointerAt(item, node::kParent) != nullptr) continue;
            if (uint8_t* found = referenceSearch(item, words)) return found;
        }
    }
    return nullptr;
}

// Random interfaces: a tree of menus plus loose subtrees that containers
// list. A loose subtree lists only later loose subtrees, so the tree stays
// acyclic even though loose items may be listed several times.
class RandomInterface {
public:
    RandomInterface(SubstituteHost& host, std::mt19937& rng) : host_(host), rng_(rng) {
        const int looseCount = pick(0, 4);
        for (int k = 0; k < looseCount; ++k) {
            uint8_t* root = makeNode(k);
            children(root, 2, k);
            loose_.push_back(root);
        }
        top_ = children(nullptr, 3, -1);
        for (const auto& [node, owner] : owners_) {
            const uint8_t* control = host::pointerAt(node, host::node::kControl);
            if (control == nullptr || host::readI16(control, host::control::kKind) != 1007) continue;
            std::vector<uint8_t*> items;
            for (int i = pick(0, 4); i > 0; --i) {
                if (pick(0, 2) == 0 && !parented_.empty()) {
                    items.push_back(parented_[pick(0, int(parented_.size()) - 1)]);
                } else if (owner + 1 < int(loose_.size())) {
                    items.push_back(loose_[pick(owner + 1, int(loose_.size()) - 1)]);
                }
            }
            host_.setItems(node, items);
        }
    }
    uint8_t* top() const { return top_.front(); }
    std::vector<uint8_t*> nodes() const {
        std::vector<uint8_t*> all;
        for (const auto& entry : owners_) all.push_back(entry.first);
        return all;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

    const char* name() {
        static const char* const names[] = {"Open", "Open File", "Save", "Save As", "Load Mesh", "abc",
                                            "Tool",  "Tools Panel", "Op en", "Mesh", nullptr};
        return names[pick(0, 10)];
    }

    uint8_t* makeNode(int owner) {
        uint8_t* node = host_.makeNode(name());
        if (pick(0, 2) > 0) host_.setControl(node, pick(0, 1) ? 1007 : 5, name(), name());
        owners_[node] = owner;
        return node;
    }

    std::vector<uint8_t*> children(uint8_t* parent, int depth, int owner) {
        std::vector<uint8_t*> chain;
        const int count = parent == nullptr ? pick(1, 4) : depth > 0 ? pick(0, 4) : 0;
        for (int i = 0; i < count; ++i) {
            uint8_t* node = makeNode(owner);
            if (parent != nullptr) parented_.push_back(node);
            chain.push_back(node);
            children(node, depth - 1, owner);
        }
        host_.linkChildren(parent, chain);
        return chain;
    }

    SubstituteHost& host_;
    std::mt19937& rng_;
    std::map<uint8_t*, int> owners_;  // node: the loose subtree it belongs to, -1 for the menus
    std::vector<uint8_t*> loose_;
    std::vector<uint8_t*> parented_;
    std::vector<uint8_t*> top_;
};

TEST(ItemSearch, FindsWhatTheRecursiveSearchFinds) {
    std::mt19937 rng(20261208);
    const char* const words[] = {"", "Open", "OpenFile", "Save", "Save As", "Tool", "Tools", "Load", "Mesh",
                                 "abc", "Op", "Nothing"};
    int found = 0;
    for (int round = 0; round < 400; ++round) {
        SubstituteHost host;
        const RandomInterface tree(host, rng);
        for (const char* w : words) {
            uint8_t* const result = host::findItem(tree.top(), w);
            ASSERT_EQ(result, referenceSearch(tree.top(), w)) << "round " << round << " words \"" << w << '"';
            found += result != nullptr;
        }
    }
    EXPECT_GT(found, 1000) << "the random trees should make most words findable";
}

// Thousands of items side by side or nested: the walk keeps its stack on
// the heap, so neither shape exhausts the thread's stack.
TEST(ItemSearch, LongChainsAndDeepTrees) {
    constexpr int kItems = 100000;
    SubstituteHost host;
    uint8_t* menu = host.makeNode("Long Menu");
    std::vector<uint8_t*> chain;
    char name[32];
    for (int i = 0; i < kItems; ++i) {
        std::snprintf(name, sizeof name, "Item %06d", i);
        chain.push_back(host.makeNode(name));
    }
    host.linkChildren(nullptr, {menu});
    host.linkChildren(menu, chain);
    host.setStartNode(chain.back());
    EXPECT_EQ(host::findItem(menu, "Item 099999"), chain.back());
    EXPECT_EQ(host::findItem(menu, "Missing"), nullptr);
    EXPECT_EQ(move(host, "Item 099999", "Item 000000"), 0.0f);
    EXPECT_EQ(SubstituteHost::nextOf(chain[0]), chain.back());
    EXPECT_EQ(SubstituteHost::nextOf(chain[kItems - 2]), nullptr);
    EXPECT_EQ(SubstituteHost::chainFrom(chain[0]).size(), size_t(kItems));

    uint8_t* root = host.makeNode("Deep Root");
    uint8_t* node = root;
    for (int i = 0; i < kItems; ++i) {
        std::snprintf(name, sizeof name, "Level %06d", i);
        uint8_t* child = host.makeNode(name);
        host.linkChildren(node, {child});
        node = child;
    }
    SubstituteHost deep;  // only the nested tree, climbed to from its deepest node
    SubstituteHost::setPointer(deep.interfaceRecord(), host::interface_record::kStartNode, node);
    EXPECT_EQ(host::climbToFirstTopLevel(node), root);
    EXPECT_EQ(host::findItem(root, "Deep"), root);
    EXPECT_EQ(host::findItem(root, "Level 099999"), node);
    EXPECT_EQ(host::findItem(root, "Level 0"), node) << "the deepest match comes first";
    EXPECT_EQ(test::call(MoveButtonAfter, "Level 099999", 0.0, deep.context(), const_cast<char*>("Deep Root"), 0),
              0.0f);
    EXPECT_EQ(SubstituteHost::nextOf(root), node);
}

TEST(ItemSearch, CyclicTreesEndTheWalk) {
    SubstituteHost host;
    uint8_t* a = host.makeNode("Alpha");
    uint8_t* b = host.makeNode("Beta");
    SubstituteHost::setPointer(a, host::node::kNextSibling, b);
    SubstituteHost::setPointer(b, host::node::kNextSibling, a);
    EXPECT_EQ(host::findItem(a, "Gamma"), nullptr) << "sibling ring";
    EXPECT_EQ(host::findItem(a, "Beta"), b) << "a find before the ring closes";

    uint8_t* p = host.makeNode("Parent");
    uint8_t* c = host.makeNode("Child");
    SubstituteHost::setPointer(p, host::node::kFirstChild, c);
    SubstituteHost::setPointer(c, host::node::kFirstChild, p);
    EXPECT_EQ(host::findItem(p, "Gamma"), nullptr) << "child ring";
    EXPECT_TRUE(host::subtreeContains(p, a)) << "a cyclic subtree is not safe to move";

    uint8_t* box = host.makeNode();
    host.setControl(box, 1007, "Box");
    host.setItems(box, {box});
    EXPECT_EQ(host::findItem(box, "Gamma"), nullptr) << "a container listing itself";

    uint8_t* up = host.makeNode("Up");
    uint8_t* down = host.makeNode("Down");
    SubstituteHost::setPointer(up, host::node::kParent, down);
    SubstituteHost::setPointer(down, host::node::kParent, up);
    EXPECT_EQ(host::climbToFirstTopLevel(up), nullptr) << "parent ring";
    uint8_t* left = host.makeNode("Left");
    uint8_t* right = host.makeNode("Right");
    SubstituteHost::setPointer(left, host::node::kPreviousSibling, right);
    SubstituteHost::setPointer(right, host::node::kPreviousSibling, left);
    EXPECT_EQ(host::climbToFirstTopLevel(left), nullptr) << "previous ring";

    for (uint8_t* start : {a, p, box, up, left}) {
        host.setStartNode(start);
        EXPECT_EQ(move(host, "Gamma", "Alpha"), -1.0f);
    }
}

// A loose item listed by two containers is searched once and the result is
// still the one the recursive search gives.
TEST(ItemSearch, SharedItemsAreSearchedOnce) {
    SubstituteHost host;
    uint8_t* shared = host.makeNode("Shared Item");
    uint8_t* one = host.makeNode();
    uint8_t* two = host.makeNode();
    uint8_t* last = host.makeNode("Last Item");
    host.setControl(one, 1007, "Box One");
    host.setControl(two, 1007, "Box Two");
    host.setItems(one, {shared});
    host.setItems(two, {shared, last});
    host.linkChildren(nullptr, {one, two});
    EXPECT_EQ(host::findItem(one, "Last"), last);
    EXPECT_EQ(host::findItem(one, "Shared"), shared);
}

}  // namespace
}  // namespace tollgram
