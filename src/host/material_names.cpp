// The names of the current alpha and texture: RenameAlpha, GetAlphaInfo,
// RenameTexture, GetTextureInfo. Both records hold their name in a name
// record at the same offset.
#include <string>

#include "frame/bounded_copy.h"
#include "frame/call_frame.h"
#include "frame/keys.h"
#include "frame/results.h"
#include "host/records.h"

namespace tollgram {

namespace {

uint8_t* nameRecordOf(const void* context, uint32_t recordOffset, uint32_t nameOffset) {
    return host::pointerAt(host::pointerAt(context, recordOffset), nameOffset);
}

// Text first, then the length of what was stored: the host reads both as
// the new name. A name that does not fit leaves the text empty, length 0.
// The source is copied out first, in case it lies in the name record itself.
float rename(const CallFrame& frame, uint32_t recordOffset, uint32_t nameOffset) {
    if (frame.text == nullptr) return kFailure;
    uint8_t* name = nameRecordOf(frame.context, recordOffset, nameOffset);
    if (name == nullptr) return kFailure;
    const std::string text(frame.text);
    char* stored = reinterpret_cast<char*>(name + host::name_record::kText);
    boundedCopy(stored, host::name_record::kTextCapacity, text.c_str());
    host::writeI32(name, host::name_record::kLength, static_cast<int32_t>(host::nameTextOf(name).size()));
    return kSuccess;
}

// The result is 0 whether or not the name fitted the caller's buffer.
float nameInfo(const CallFrame& frame, uint32_t recordOffset, uint32_t nameOffset) {
    if (frame.text == nullptr) return kFailure;
    const uint8_t* record = host::pointerAt(frame.context, recordOffset);
    if (record == nullptr || !keyIs(frame.text, "name") || frame.buffer == nullptr) return kFailure;
    const uint8_t* name = host::pointerAt(record, nameOffset);
    if (name == nullptr) return kFailure;
    const std::string text(host::nameTextOf(name));
    boundedCopy(frame.buffer, capacityOf(frame.bufferSize), text.c_str());
    return kSuccess;
}

}  // namespace

namespace work {

float RenameAlpha(const CallFrame& frame) { return rename(frame, host::context::kAlphaRecord, host::alpha::kName); }

float GetAlphaInfo(const CallFrame& frame) { return nameInfo(frame, host::context::kAlphaRecord, host::alpha::kName); }

float RenameTexture(const CallFrame& frame) {
    return rename(frame, host::context::kTextureRecord, host::texture::kName);
}

float GetTextureInfo(const CallFrame& frame) {
    return nameInfo(frame, host::context::kTextureRecord, host::texture::kName);
}

}  // namespace work
}  // namespace tollgram
