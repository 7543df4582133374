// The substitute host's interface tree: nodes linked by parent, first child,
// next and previous pointers, control records with their names, and the
// item arrays of containers.
#include "substitute_host/substitute_host.h"

#include "host/records.h"

namespace tollgram::substitute {

uint8_t* SubstituteHost::interfaceRecord() {
    uint8_t* record = host::pointerAt(context_, host::context::kInterfaceRecord);
    if (record == nullptr) {
        record = allocate(kInterfaceRecordSize);
        setPointer(context_, host::context::kInterfaceRecord, record);
    }
    return record;
}

void SubstituteHost::setStartNode(const void* node) {
    setPointer(interfaceRecord(), host::interface_record::kStartNode, node);
}

uint8_t* SubstituteHost::makeNode(const char* ownName) {
    uint8_t* node = allocate(kNodeSize);
    if (ownName != nullptr) setPointer(node, host::node::kName, makeNameRecord(ownName));
    return node;
}

uint8_t* SubstituteHost::setControl(void* node, int16_t kind, const char* firstName, const char* secondName) {
    uint8_t* control = allocate(kControlSize);
    set16(control, host::control::kKind, static_cast<uint16_t>(kind));
    if (firstName != nullptr) setPointer(control, host::control::kFirstName, makeNameRecord(firstName));
    if (secondName != nullptr) setPointer(control, host::control::kSecondName, makeNameRecord(secondName));
    setPointer(node, host::node::kControl, control);
    return control;
}

void SubstituteHost::linkChildren(void* parent, const std::vector<uint8_t*>& nodes) {
    for (size_t i = 0; i < nodes.size(); ++i) {
        setPointer(nodes[i], host::node::kParent, parent);
        setPointer(nodes[i], host::node::kPreviousSibling, i > 0 ? nodes[i - 1] : nullptr);
        setPointer(nodes[i], host::node::kNextSibling, i + 1 < nodes.size() ? nodes[i + 1] : nullptr);
    }
    if (parent != nullptr) setPointer(parent, host::node::kFirstChild, nodes.empty() ? nullptr : nodes.front());
}

void SubstituteHost::setItems(void* node, const std::vector<uint8_t*>& items) {
    uint8_t* array = allocate(items.size() * sizeof(uint32_t));
    for (size_t i = 0; i < items.size(); ++i) setPointer(array, static_cast<uint32_t>(i * sizeof(uint32_t)), items[i]);
    set32(node, host::node::kItemCount, static_cast<uint32_t>(items.size()));
    setPointer(node, host::node::kItems, array);
}

uint8_t* SubstituteHost::parentOf(const void* node) { return host::pointerAt(node, host::node::kParent); }
uint8_t* SubstituteHost::firstChildOf(const void* node) { return host::pointerAt(node, host::node::kFirstChild); }
uint8_t* SubstituteHost::nextOf(const void* node) { return host::pointerAt(node, host::node::kNextSibling); }
uint8_t* SubstituteHost::previousOf(const void* node) { return host::pointerAt(node, host::node::kPreviousSibling); }

std::vector<uint8_t*> SubstituteHost::chainFrom(const void* first, size_t limit) {
    std::vector<uint8_t*> chain;
    for (uint8_t* node = const_cast<uint8_t*>(static_cast<const uint8_t*>(first)); node != nullptr && chain.size() < limit;
         node = nextOf(node)) {
        chain.push_back(node);
    }
    return chain;
}

}  // namespace tollgram::substitute
