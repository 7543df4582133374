// MoveButtonAfter on interface trees built from the fuzzer's bytes: nodes
// under parents, top-level and loose items, control and own names of every
// length (short, unterminated, with blanks and high bytes), containers whose
// item arrays list loose items, other nodes, nulls or an ancestor. Up to
// three moves run one after another.
//
// A well-formed tree is mirrored by a plain model: each move must give the
// result the model's search gives, and afterwards the host's links must
// describe exactly the model's forest, so no button is lost or doubled.
// With the links corrupted afterwards (cycles, wrong back links) only the
// result codes are checked. In both, nothing but the four link fields of
// nodes may change.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "frame/exports.h"
#include "fuzz_input.h"
#include "host/records.h"
#include "substitute_host/substitute_host.h"

namespace {

namespace node = tollgram::host::node;
using tollgram::substitute::SubstituteHost;

using tollgram::fuzz::Bytes;
using tollgram::fuzz::check;

constexpr int kMaxNodes = 40;
constexpr int kNone = -1;

struct Name {
    std::string candidate;  // the text as matching sees it
    int32_t length;         // the record's length field
};

struct Model {
    std::vector<int> parent;
    std::vector<std::vector<int>> children;
    std::vector<std::vector<int>> roots;  // chains without a parent
    std::vector<std::vector<Name>> names; // in search order
    std::vector<bool> container;
    std::vector<std::vector<int>> items;  // the entries the count field covers
};

std::vector<int>& chainOf(Model& m, int i) {
    if (m.parent[i] != kNone) return m.children[m.parent[i]];
    for (auto& chain : m.roots) {
        if (std::find(chain.begin(), chain.end(), i) != chain.end()) return chain;
    }
    std::abort();
}

int neighbour(Model& m, int i, int direction) {
    const std::vector<int>& chain = chainOf(m, i);
    const auto at = std::find(chain.begin(), chain.end(), i) - chain.begin();
    const auto other = at + direction;
    return other >= 0 && other < static_cast<long>(chain.size()) ? chain[static_cast<size_t>(other)] : kNone;
}

bool blank(char c) { return c != '\0' && static_cast<signed char>(c) <= 32; }

std::string withoutBlanks(std::string_view text) {
    std::string kept;
    for (char c : text) {
        if (!blank(c)) kept.push_back(c);
    }
    return kept;
}

// Matching said another way: the words without their blanks begin the
// candidate without its blanks.
bool wordsMatch(std::string_view candidate, const char* words) {
    return withoutBlanks(candidate).rfind(withoutBlanks(words), 0) == 0;
}

enum class Outcome { Found, NotFound, Cyclic };

// The search in its recursive form over the model. A node met again while
// its own search runs means a cycle; met again after it ended, it finds
// nothing again.
struct Search {
    Model& m;
    const char* words;          // null: look for `wanted` instead
    int wanted = kNone;
    int start = kNone;
    bool startSiblings = true;
    std::vector<int> state = std::vector<int>(m.parent.size(), 0);
    int found = kNone;

    Outcome visit(int i) {
        if (state[i] == 1) return Outcome::Cyclic;
        if (state[i] == 2) return Outcome::NotFound;
        state[i] = 1;
        if (!m.children[i].empty()) {
            const Outcome o = visit(m.children[i].front());
            if (o != Outcome::NotFound) return o;
        }
        if (matches(i)) {
            found = i;
            return Outcome::Found;
        }
        const int next = neighbour(m, i, 1);
        if (next != kNone && (startSiblings || i != start)) {
            const Outcome o = visit(next);
            if (o != Outcome::NotFound) return o;
        }
        if (m.container[i]) {
            for (int item : m.items[i]) {
                if (item == kNone || m.parent[item] != kNone) continue;
                const Outcome o = visit(item);
                if (o != Outcome::NotFound) return o;
            }
        }
        state[i] = 2;
        return Outcome::NotFound;
    }

    bool matches(int i) const {
        if (words == nullptr) return i == wanted && i != start;
        for (const Name& name : m.names[i]) {
            if (name.length >= 4 && wordsMatch(name.candidate, words)) return true;
        }
        return false;
    }
};

int climb(Model& m, int i) {
    for (;;) {
        const int up = m.parent[i] != kNone ? m.parent[i] : neighbour(m, i, -1);
        if (up == kNone) return i;
        i = up;
    }
}

// What the move should give: 0 and the model changed, or -1 and nothing.
float moveInModel(Model& m, int startNode, const char* text, const char* after) {
    if (startNode == kNone) return -1.0f;
    const int top = climb(m, startNode);
    Search moved{m, text};
    Search anchor{m, after};
    if (moved.visit(top) != Outcome::Found || anchor.visit(top) != Outcome::Found) return -1.0f;
    const int item = moved.found;
    const int target = anchor.found;
    if (item == target) return -1.0f;
    Search below{m, nullptr, target, item, false};
    if (below.visit(item) != Outcome::NotFound) return -1.0f;

    std::vector<int>& from = chainOf(m, item);
    from.erase(std::find(from.begin(), from.end(), item));
    m.roots.erase(std::remove_if(m.roots.begin(), m.roots.end(), [](const auto& c) { return c.empty(); }),
                  m.roots.end());
    std::vector<int>& to = chainOf(m, target);
    to.insert(std::find(to.begin(), to.end(), target) + 1, item);
    m.parent[item] = m.parent[target];
    return 0.0f;
}

struct Record {
    uint8_t* at;
    size_t size;
    bool isNode;
};

struct Scene {
    SubstituteHost host;
    std::vector<uint8_t*> nodes;
    std::vector<Record> records;
    std::vector<std::vector<uint8_t>> snapshot;

    uint8_t* allocate(size_t size, bool isNode = false) {
        uint8_t* at = host.allocate(size);
        records.push_back({at, (size + 15) & ~size_t{15}, isNode});
        return at;
    }

    int indexOf(const uint8_t* pointer) const {
        if (pointer == nullptr) return kNone;
        const auto at = std::find(nodes.begin(), nodes.end(), pointer);
        check(at != nodes.end(), "a link names something that is not a node");
        return static_cast<int>(at - nodes.begin());
    }

    void takeSnapshot() {
        snapshot.clear();
        for (const Record& r : records) snapshot.emplace_back(r.at, r.at + r.size);
    }

    std::vector<bool> selfLinked() const {
        std::vector<bool> linked;
        for (uint8_t* at : nodes) {
            linked.push_back(SubstituteHost::nextOf(at) == at || SubstituteHost::previousOf(at) == at ||
                             SubstituteHost::parentOf(at) == at || SubstituteHost::firstChildOf(at) == at);
        }
        return linked;
    }

    // Only the parent, first child, next and previous fields of nodes.
    void checkOnlyLinksChanged() const {
        for (size_t k = 0; k < records.size(); ++k) {
            const Record& r = records[k];
            for (size_t b = 0; b < r.size; ++b) {
                const bool link = r.isNode && b >= node::kParent && b < node::kPreviousSibling + 4;
                if (!link) check(r.at[b] == snapshot[k][b], "a byte outside the link fields changed");
            }
        }
    }
};

// A name record: the text in its 256-byte field, the length field usually
// the text's length. A long name fills the field with no terminator.
uint8_t* makeName(Scene& scene, Bytes& in, std::vector<Name>& names) {
    namespace name_record = tollgram::host::name_record;
    uint8_t* record = scene.allocate(name_record::kText + name_record::kTextCapacity);
    const uint8_t shape = in.next();
    std::string text = in.text(shape % 16);
    if ((shape & 0x40) && !text.empty()) {
        std::string filled;
        while (filled.size() < name_record::kTextCapacity) filled += text;
        text = filled.substr(0, name_record::kTextCapacity);
    }
    std::memcpy(record + name_record::kText, text.data(), text.size());
    int32_t length = static_cast<int32_t>(text.size());
    if (shape & 0x80) length = static_cast<int8_t>(in.next());
    SubstituteHost::set32(record, name_record::kLength, static_cast<uint32_t>(length));
    names.push_back({std::string(tollgram::host::nameTextOf(record)), length});
    return record;
}

// The words of one side of a move: raw bytes, or a piece of a name in the
// tree with blanks put in, so that matches are common.
std::string makeWords(Bytes& in, const Model& m) {
    const uint8_t shape = in.next();
    if (!(shape & 0x80)) return in.text(shape % 24);
    std::vector<const Name*> all;
    for (const auto& list : m.names) {
        for (const Name& n : list) all.push_back(&n);
    }
    if (all.empty()) return {};
    std::string words = all[in.next() % all.size()]->candidate.substr(0, in.next() % 20);
    if (shape & 0x40) words.insert(std::min<size_t>(in.next() % 8, words.size()), 1, ' ');
    if (shape & 0x20) words.push_back(static_cast<char>(in.next()));
    return words;
}

void checkForest(const Scene& scene, const Model& m) {
    const size_t n = scene.nodes.size();
    std::vector<int> seen(n, 0);
    auto walkChain = [&](int head, int owner, std::vector<int>& chain) {
        int previous = kNone;
        for (int i = head; i != kNone; i = scene.indexOf(SubstituteHost::nextOf(scene.nodes[i]))) {
            check(chain.size() < n, "a chain runs in a circle");
            check(scene.indexOf(SubstituteHost::previousOf(scene.nodes[i])) == previous, "a previous link is wrong");
            check(scene.indexOf(SubstituteHost::parentOf(scene.nodes[i])) == owner, "a parent link is wrong");
            ++seen[i];
            chain.push_back(i);
            previous = i;
        }
    };
    std::vector<std::vector<int>> roots;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* at = scene.nodes[i];
        if (SubstituteHost::parentOf(at) == nullptr && SubstituteHost::previousOf(at) == nullptr) {
            roots.emplace_back();
            walkChain(static_cast<int>(i), kNone, roots.back());
        }
        std::vector<int> children;
        walkChain(scene.indexOf(SubstituteHost::firstChildOf(at)), static_cast<int>(i), children);
        check(children == m.children[i], "a node's children differ");
    }
    for (int count : seen) check(count == 1, "a node is lost or in two places");
    std::vector<std::vector<int>> expected = m.roots;
    std::sort(roots.begin(), roots.end());
    std::sort(expected.begin(), expected.end());
    check(roots == expected, "the top-level and loose chains differ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes in(data, size);
    Scene scene;
    Model m;
    const int count = 1 + in.next() % kMaxNodes;
    const uint8_t mode = in.next();
    const bool corrupt = mode & 1;

    // Parents come before their children, so the tree starts acyclic.
    for (int i = 0; i < count; ++i) {
        scene.nodes.push_back(scene.allocate(tollgram::substitute::kNodeSize, true));
        m.parent.push_back(kNone);
        m.children.emplace_back();
        const uint8_t place = i == 0 ? 0 : static_cast<uint8_t>(in.next() % (i + 2));
        if (i > 0 && place < i) {
            m.parent[i] = place;
            m.children[place].push_back(i);
        } else if (place == i && i > 0) {
            m.roots.push_back({i});  // a loose item: no parent, no siblings
        } else {
            if (m.roots.empty() || i == 0) m.roots.insert(m.roots.begin(), std::vector<int>{});
            m.roots.front().push_back(i);  // the top-level chain
        }
    }
    for (int i = 0; i < count; ++i) {
        uint8_t* at = scene.nodes[i];
        const uint8_t flags = in.next();
        m.names.emplace_back();
        m.container.push_back(false);
        m.items.emplace_back();
        if (flags & 1) {
            namespace control = tollgram::host::control;
            uint8_t* record = scene.allocate(tollgram::substitute::kControlSize);
            const int16_t kind = (flags & 2) ? control::kContainerKind : static_cast<int16_t>(in.next());
            SubstituteHost::set16(record, control::kKind, static_cast<uint16_t>(kind));
            m.container[i] = kind == control::kContainerKind;
            if (flags & 4) SubstituteHost::setPointer(record, control::kFirstName, makeName(scene, in, m.names[i]));
            if (flags & 8) SubstituteHost::setPointer(record, control::kSecondName, makeName(scene, in, m.names[i]));
            SubstituteHost::setPointer(at, node::kControl, record);
        }
        if (flags & 16) SubstituteHost::setPointer(at, node::kName, makeName(scene, in, m.names[i]));
        if (m.container[i]) {
            const int entries = in.next() % 6;
            uint8_t* array = entries > 0 ? scene.allocate(static_cast<size_t>(entries) * node::kItemSize) : nullptr;
            for (int k = 0; k < entries; ++k) {
                const int item = in.next() % (count + 1);
                const int index = item < count ? item : kNone;
                m.items[i].push_back(index);
                if (index != kNone) SubstituteHost::setPointer(array, static_cast<uint32_t>(k) * node::kItemSize, scene.nodes[index]);
            }
            // The count field may cover fewer entries, or read as negative.
            int32_t countField = entries;
            if (flags & 32) countField = entries > 0 ? in.next() % entries : -static_cast<int32_t>(in.next());
            m.items[i].resize(static_cast<size_t>(std::max(countField, 0)));
            SubstituteHost::set32(at, node::kItemCount, static_cast<uint32_t>(countField));
            SubstituteHost::setPointer(at, node::kItems, array);
        }
    }
    for (int i = 0; i < count; ++i) {
        if (!m.children[i].empty()) scene.host.linkChildren(scene.nodes[i], [&] {
            std::vector<uint8_t*> chain;
            for (int c : m.children[i]) chain.push_back(scene.nodes[c]);
            return chain;
        }());
    }
    for (const auto& root : m.roots) {
        std::vector<uint8_t*> chain;
        for (int c : root) chain.push_back(scene.nodes[c]);
        scene.host.linkChildren(nullptr, chain);
    }
    const uint8_t startByte = in.next();
    const int start = startByte == 255 ? kNone : startByte % count;
    scene.host.setStartNode(start == kNone ? nullptr : scene.nodes[start]);
    scene.records.push_back({scene.host.context(), tollgram::substitute::kContextSize, false});
    scene.records.push_back({scene.host.interfaceRecord(), tollgram::substitute::kInterfaceRecordSize, false});

    if (corrupt) {
        const int corruptions = 1 + in.next() % 4;
        for (int k = 0; k < corruptions; ++k) {
            const int which = in.next() % count;
            const uint32_t field = node::kParent + 4u * (in.next() % 4);
            const int target = in.next() % (count + 1);
            SubstituteHost::setPointer(scene.nodes[which], field, target < count ? scene.nodes[target] : nullptr);
        }
    }

    const int moves = 1 + (mode >> 1) % 3;
    for (int k = 0; k < moves; ++k) {
        const std::string text = makeWords(in, m);
        std::string after = makeWords(in, m);
        const std::string afterBefore = after;
        const std::vector<bool> selfLinkedBefore = scene.selfLinked();
        scene.takeSnapshot();
        const float result = ::MoveButtonAfter(text.c_str(), 0.0, after.data(), static_cast<int32_t>(after.size() + 1),
                                               0, 0, scene.host.context());
        check(result == 0.0f || result == -1.0f, "a result that is not one of the export's codes");
        check(after == afterBefore, "the second text was written to");
        scene.checkOnlyLinksChanged();
        // Whatever the host's links, a move must not tie a node to itself:
        // the host's own walks would never end.
        const std::vector<bool> selfLinkedAfter = scene.selfLinked();
        for (size_t i = 0; i < selfLinkedAfter.size(); ++i) {
            check(!selfLinkedAfter[i] || selfLinkedBefore[i], "a move linked a node to itself");
        }
        if (corrupt) continue;
        const float expected = moveInModel(m, start, text.c_str(), afterBefore.c_str());
        check(result == expected, "the result differs from the model's");
        if (result != 0.0f) {
            for (size_t r = 0; r < scene.records.size(); ++r) {
                check(std::equal(scene.snapshot[r].begin(), scene.snapshot[r].end(), scene.records[r].at),
                      "a refused move changed a link");
            }
        }
        checkForest(scene, m);
    }
    return 0;
}
