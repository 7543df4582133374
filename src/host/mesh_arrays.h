#pragma once
// The current mesh's vertex and polygon flag arrays, checked once so that
// every export applies the same rules: an array is usable only with its
// buffer record, a non-null entry address and a count that is not negative.
// The group-name array follows rules of its own (mesh_info.cpp): its count
// is read with no check, its entries only with a buffer record, an entry
// address and a positive element size.
#include <cstdint>
#include <optional>

#include "host/records.h"

namespace tollgram::host {

struct FlagEntries {
    uint8_t* entries;  // entry 0
    uint32_t count;
};

// The vertex flag array. Its element size is not consulted: Kavrex's vertex
// entries are always 8 bytes.
std::optional<FlagEntries> vertexFlagsOf(const uint8_t* mesh);

// The polygon flag array, usable only with 4-byte entries.
std::optional<FlagEntries> polygonFlagsOf(const uint8_t* mesh);

// The vertex flag array's element count, 0 without the array; the number a
// model's vertex count is compared with.
int32_t hostVertexCount(const uint8_t* mesh);

// Clears the crease bits of every polygon, leaving the entries' other bytes.
// The number of polygons, or none (nothing changed) when the polygon flag
// array is not usable.
std::optional<uint32_t> clearAllCreases(uint8_t* mesh);

}  // namespace tollgram::host
