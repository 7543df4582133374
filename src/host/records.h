#pragma once
// Kavrex's records as the library sees them: fields at fixed byte offsets,
// 32-bit little-endian, record pointers held as 32-bit words (Kavrex is a
// 32-bit process). Every field is read when it is needed, never cached: the
// host may change its records between any two calls.
//
// In a 64-bit process the 32-bit pointers are only meaningful for records
// below 4 GiB, which the substitute host used by tests and tools guarantees.
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tollgram::host {

namespace context {
inline constexpr uint32_t kInterfaceRecord = 0x08;
inline constexpr uint32_t kMeshRecord = 0x10;
inline constexpr uint32_t kAlphaRecord = 0x14;
inline constexpr uint32_t kTextureRecord = 0x18;
}  // namespace context

namespace interface_record {
inline constexpr uint32_t kStartNode = 0x20C;  // some node of the tree
}

namespace node {
inline constexpr uint32_t kParent = 0x50;
inline constexpr uint32_t kFirstChild = 0x54;
inline constexpr uint32_t kNextSibling = 0x58;
inline constexpr uint32_t kPreviousSibling = 0x5C;
inline constexpr uint32_t kControl = 0x78;
inline constexpr uint32_t kName = 0x80;
inline constexpr uint32_t kItemCount = 0xC0;  // int32
inline constexpr uint32_t kItems = 0xC4;      // pointer to itemCount node pointers
}  // namespace node

namespace control {
inline constexpr uint32_t kKind = 0x10;  // int16
inline constexpr uint32_t kFirstName = 0x38;
inline constexpr uint32_t kSecondName = 0x3C;
inline constexpr int16_t kContainerKind = 1007;  // items listed in the node's item array
}  // namespace control

namespace name_record {
inline constexpr uint32_t kLength = 0x10;  // int32
inline constexpr uint32_t kText = 0x14;    // char[256], NUL-terminated
inline constexpr uint32_t kTextCapacity = 256;
}  // namespace name_record

namespace alpha {
inline constexpr uint32_t kName = 0x18;
}

namespace texture {
inline constexpr uint32_t kName = 0x18;
inline constexpr uint32_t kWidth = 0x2C;   // 16.16 fixed point
inline constexpr uint32_t kHeight = 0x30;  // 16.16 fixed point
inline constexpr uint32_t kPixels = 0x64;  // buffer record
inline constexpr uint32_t kBitsPerPixel = 0x68;  // int32
}  // namespace texture

namespace mesh {
inline constexpr uint32_t kVertexFlags = 0x70;    // host array of 8-byte entries
inline constexpr uint32_t kGroupNames = 0x74;     // host array of names
inline constexpr uint32_t kPolygonFlags = 0x210;  // host array of 4-byte entries
inline constexpr uint32_t kImportScaleX = 0x244;  // float
inline constexpr uint32_t kImportScaleY = 0x248;  // float
inline constexpr uint32_t kImportScaleZ = 0x24C;  // float
inline constexpr uint32_t kImportOffsetX = 0x250; // float
inline constexpr uint32_t kImportOffsetY = 0x254; // float
inline constexpr uint32_t kImportOffsetZ = 0x258; // float
inline constexpr uint32_t kVertexMaskByte = 2;    // within a vertex entry
inline constexpr uint32_t kVertexEntrySize = 8;
inline constexpr uint32_t kPolygonCreaseByte = 2; // within a polygon entry
inline constexpr uint32_t kPolygonEntrySize = 4;
}  // namespace mesh

namespace host_array {
inline constexpr uint32_t kBuffer = 0x28;       // buffer record
inline constexpr uint32_t kCount = 0x2C;        // int32
inline constexpr uint32_t kElementSize = 0x5C;  // int32, bytes
}  // namespace host_array

namespace buffer_record {
inline constexpr uint32_t kElements = 0x28;  // address of element 0
}

// Field access. Records are byte addresses; copying through memcpy makes the
// reads independent of alignment.
inline uint32_t readU32(const void* record, uint32_t offset) {
    uint32_t value;
    std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof value);
    return value;
}

inline int32_t readI32(const void* record, uint32_t offset) { return static_cast<int32_t>(readU32(record, offset)); }

inline int16_t readI16(const void* record, uint32_t offset) {
    int16_t value;
    std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof value);
    return value;
}

inline float readFloat(const void* record, uint32_t offset) {
    float value;
    std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof value);
    return value;
}

inline void writeI32(void* record, uint32_t offset, int32_t value) {
    std::memcpy(static_cast<uint8_t*>(record) + offset, &value, sizeof value);
}

inline void writeFloat(void* record, uint32_t offset, float value) {
    std::memcpy(static_cast<uint8_t*>(record) + offset, &value, sizeof value);
}

// The record a 32-bit pointer field names; null for a null record or field.
inline uint8_t* pointerAt(const void* record, uint32_t offset) {
    if (record == nullptr) return nullptr;
    return reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(readU32(record, offset)));
}

// Stores a record's address in a 32-bit pointer field. Only addresses read
// from such fields are ever stored, so they fit.
inline void writePointer(void* record, uint32_t offset, const void* target) {
    const auto address = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(target));
    std::memcpy(static_cast<uint8_t*>(record) + offset, &address, sizeof address);
}

// A text in a host field of limit bytes, up to its terminator or the end of
// the field, whichever comes first: an unterminated field is never read past.
inline std::string_view textWithin(const void* field, size_t limit) {
    const char* text = static_cast<const char*>(field);
    const void* end = std::memchr(text, '\0', limit);
    return {text, end ? static_cast<size_t>(static_cast<const char*>(end) - text) : limit};
}

// A name record's text.
inline std::string_view nameTextOf(const void* nameRecord) {
    return textWithin(static_cast<const uint8_t*>(nameRecord) + name_record::kText, name_record::kTextCapacity);
}

// The parts of a host array that its users need, read in one go.
struct HostArray {
    uint8_t* elements;  // null when the array has no buffer record or address
    int32_t count;
    int32_t elementSize;
    bool hasBuffer;     // the buffer record exists
};

inline HostArray readHostArray(const void* arrayRecord) {
    uint8_t* buffer = pointerAt(arrayRecord, host_array::kBuffer);
    return HostArray{pointerAt(buffer, buffer_record::kElements), readI32(arrayRecord, host_array::kCount),
                     readI32(arrayRecord, host_array::kElementSize), buffer != nullptr};
}

}  // namespace tollgram::host
