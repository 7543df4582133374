#include "host/material_names.h"

#include <string>

#include "frame/bounded_copy.h"
#include "frame/export_keys.h"
#include "frame/keys.h"
#include "host/records.h"

namespace tollgram::host {

namespace {

uint8_t* nameRecordOf(const void* hostContext, uint32_t recordOffset, uint32_t nameOffset) {
    return pointerAt(pointerAt(hostContext, recordOffset), nameOffset);
}

// Text first, then the length of what was stored: the host reads both as
// the new name. A name that does not fit leaves the text empty, length 0.
// The source is copied out first, in case it lies in the name record itself.
Outcome rename(const void* hostContext, const char* text, uint32_t recordOffset, uint32_t nameOffset) {
    if (text == nullptr) return failed();
    uint8_t* name = nameRecordOf(hostContext, recordOffset, nameOffset);
    if (name == nullptr) return failed();
    const std::string copied(text);
    char* stored = reinterpret_cast<char*>(name + name_record::kText);
    boundedCopy(stored, name_record::kTextCapacity, copied.c_str());
    writeI32(name, name_record::kLength, static_cast<int32_t>(nameTextOf(name).size()));
    return succeeded();
}

// The result is 0 whether or not the name fitted the caller's buffer.
Outcome nameInfo(const void* hostContext, const char* key, char* buffer, int32_t bufferSize, uint32_t recordOffset,
                 uint32_t nameOffset) {
    if (key == nullptr) return failed();
    const uint8_t* record = pointerAt(hostContext, recordOffset);
    if (record == nullptr || !keyIs(key, keys::kName) || buffer == nullptr) return failed();
    const uint8_t* name = pointerAt(record, nameOffset);
    if (name == nullptr) return failed();
    const std::string text(nameTextOf(name));
    boundedCopy(buffer, capacityOf(bufferSize), text.c_str());
    return succeeded();
}

}  // namespace

Outcome renameAlpha(const void* hostContext, const char* text) {
    return rename(hostContext, text, context::kAlphaRecord, alpha::kName);
}

Outcome alphaNameInfo(const void* hostContext, const char* key, char* buffer, int32_t bufferSize) {
    return nameInfo(hostContext, key, buffer, bufferSize, context::kAlphaRecord, alpha::kName);
}

Outcome renameTexture(const void* hostContext, const char* text) {
    return rename(hostContext, text, context::kTextureRecord, texture::kName);
}

Outcome textureNameInfo(const void* hostContext, const char* key, char* buffer, int32_t bufferSize) {
    return nameInfo(hostContext, key, buffer, bufferSize, context::kTextureRecord, texture::kName);
}

}  // namespace tollgram::host
