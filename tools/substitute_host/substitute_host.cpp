#include "substitute_host/substitute_host.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "host/records.h"
#include "substitute_host/low_memory.h"

namespace tollgram::substitute {

namespace {
constexpr size_t kChunkSize = 16u << 20;
constexpr size_t kAlignment = 16;
}  // namespace

SubstituteHost::SubstituteHost() { context_ = allocate(kContextSize); }

SubstituteHost::~SubstituteHost() {
    for (const Chunk& chunk : chunks_) releaseLowMemory(chunk.base, chunk.size);
}

uint8_t* SubstituteHost::allocate(size_t bytes) {
    bytes = (std::max<size_t>(bytes, 1) + kAlignment - 1) & ~(kAlignment - 1);
    if (chunks_.empty() || chunks_.back().size - chunks_.back().used < bytes) {
        const size_t size = std::max(kChunkSize, bytes);
        uint8_t* base = allocateLowMemory(size);
        if (base == nullptr) throw std::bad_alloc();
        chunks_.push_back({base, size, 0});
    }
    Chunk& chunk = chunks_.back();
    uint8_t* block = chunk.base + chunk.used;
    chunk.used += bytes;
    return block;
}

void SubstituteHost::set32(void* record, uint32_t offset, uint32_t value) {
    std::memcpy(static_cast<uint8_t*>(record) + offset, &value, sizeof value);
}

void SubstituteHost::set16(void* record, uint32_t offset, uint16_t value) {
    std::memcpy(static_cast<uint8_t*>(record) + offset, &value, sizeof value);
}

void SubstituteHost::setFloat(void* record, uint32_t offset, float value) {
    std::memcpy(static_cast<uint8_t*>(record) + offset, &value, sizeof value);
}

void SubstituteHost::setPointer(void* record, uint32_t offset, const void* target) {
    const auto address = reinterpret_cast<uintptr_t>(target);
    if constexpr (sizeof(uintptr_t) > sizeof(uint32_t)) {
        if (address > UINT32_MAX) throw std::invalid_argument("a host record must lie below 4 GiB");
    }
    set32(record, offset, static_cast<uint32_t>(address));
}

uint8_t* SubstituteHost::makeNameRecord(const std::string& text) {
    uint8_t* record = allocate(kNameRecordSize);
    const size_t length = std::min<size_t>(text.size(), host::name_record::kTextCapacity - 1);
    std::memcpy(record + host::name_record::kText, text.data(), length);
    set32(record, host::name_record::kLength, static_cast<uint32_t>(length));
    return record;
}

uint8_t* SubstituteHost::makeHostArray(int32_t count, int32_t elementSize) {
    uint8_t* array = allocate(kHostArraySize);
    uint8_t* buffer = allocate(kBufferRecordSize);
    const size_t bytes = static_cast<size_t>(std::max(count, 0)) * static_cast<size_t>(std::max(elementSize, 0));
    setPointer(buffer, host::buffer_record::kElements, allocate(bytes));
    setPointer(array, host::host_array::kBuffer, buffer);
    set32(array, host::host_array::kCount, static_cast<uint32_t>(count));
    set32(array, host::host_array::kElementSize, static_cast<uint32_t>(elementSize));
    return array;
}

uint8_t* SubstituteHost::alphaRecord() {
    uint8_t* record = host::pointerAt(context_, host::context::kAlphaRecord);
    if (record == nullptr) {
        record = allocate(kAlphaRecordSize);
        setPointer(record, host::alpha::kName, makeNameRecord(""));
        setPointer(context_, host::context::kAlphaRecord, record);
    }
    return record;
}

uint8_t* SubstituteHost::textureRecord() {
    uint8_t* record = host::pointerAt(context_, host::context::kTextureRecord);
    if (record == nullptr) {
        record = allocate(kTextureRecordSize);
        setPointer(record, host::texture::kName, makeNameRecord(""));
        setPointer(context_, host::context::kTextureRecord, record);
    }
    return record;
}

uint8_t* SubstituteHost::setTexture(int32_t width, int32_t height, int32_t bitsPerPixel, const void* pixels) {
    uint8_t* record = textureRecord();
    set32(record, host::texture::kWidth, static_cast<uint32_t>(width) << 16);
    set32(record, host::texture::kHeight, static_cast<uint32_t>(height) << 16);
    set32(record, host::texture::kBitsPerPixel, static_cast<uint32_t>(bitsPerPixel));
    const size_t bytes = static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0)) *
                         static_cast<size_t>(std::max(bitsPerPixel, 0) / 8);
    uint8_t* buffer = allocate(kBufferRecordSize);
    uint8_t* data = allocate(bytes);
    if (pixels != nullptr && bytes != 0) std::memcpy(data, pixels, bytes);
    setPointer(buffer, host::buffer_record::kElements, data);
    setPointer(record, host::texture::kPixels, buffer);
    return record;
}

void SubstituteHost::setTextureName(const std::string& name) {
    setPointer(textureRecord(), host::texture::kName, makeNameRecord(name));
}

void SubstituteHost::setAlphaName(const std::string& name) {
    setPointer(alphaRecord(), host::alpha::kName, makeNameRecord(name));
}

uint8_t* SubstituteHost::texturePixels() {
    uint8_t* buffer = host::pointerAt(host::pointerAt(context_, host::context::kTextureRecord), host::texture::kPixels);
    return host::pointerAt(buffer, host::buffer_record::kElements);
}

std::string SubstituteHost::nameOf(const void* nameRecord) {
    if (nameRecord == nullptr) return {};
    const char* text = static_cast<const char*>(nameRecord) + host::name_record::kText;
    return std::string(text, strnlen(text, host::name_record::kTextCapacity));
}

}  // namespace tollgram::substitute
