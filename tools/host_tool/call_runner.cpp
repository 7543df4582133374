#include "host_tool/call_runner.h"

#include "host_tool/code_page.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace tollgram::host_tool {

namespace {
// Bytes of a known pattern on both sides of the buffer: a library that
// writes past its bufferSize shows here instead of corrupting the tool.
constexpr size_t kGuardBytes = 64;
constexpr unsigned char kGuard = 0xA5;

bool isCodePageText(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return !holdsUtf8(text);
    return false;
}
}  // namespace

std::string CallRunner::resultText(float result) {
    char text[32];
    if (std::isfinite(result) && std::fabs(result) < 1e15f && result == std::trunc(result)) {
        std::snprintf(text, sizeof text, "%.0f", static_cast<double>(result));
    } else {
        std::snprintf(text, sizeof text, "%.9g", static_cast<double>(result));
    }
    return text;
}

CallOutcome CallRunner::run(const ScriptCall& call) {
    CallOutcome outcome;
    ExportFunction function = library_.find(call.exportName);
    if (!function) return outcome;

    // The texts in the code page the library reads, as Kavrex hands them.
    std::string text, bufferText;
    if (call.text && !toLibraryText(*call.text, text, outcome.refused)) return outcome;
    if (call.bufferText && !toLibraryText(*call.bufferText, bufferText, outcome.refused)) return outcome;
    // A line written in the code page itself is answered in it too.
    const bool inCodePage = (call.text && isCodePageText(*call.text)) || (call.bufferText && isCodePageText(*call.bufferText));

    size_t bytes = 0;
    if (call.bufferBytes) bytes = static_cast<size_t>(*call.bufferBytes);
    if (call.bufferText) bytes = std::max(bytes, bufferText.size() + 1);
    const bool hasBuffer = call.bufferBytes.has_value() || call.bufferText.has_value();

    std::vector<unsigned char> storage(bytes + 2 * kGuardBytes, kGuard);
    char* buffer = hasBuffer ? reinterpret_cast<char*>(storage.data() + kGuardBytes) : nullptr;
    if (buffer) {
        std::memset(buffer, 0, bytes);
        if (call.bufferText) std::memcpy(buffer, bufferText.c_str(), bufferText.size() + 1);
    }
    const int32_t bufferSize = call.sizeOverride ? *call.sizeOverride : static_cast<int32_t>(bytes);

    outcome.ran = true;
    {
        const BoxesPrintedTo boxes(out_);
        outcome.result = function(call.text ? text.c_str() : nullptr, call.value, buffer, bufferSize, 0, 0, context_);
    }

    for (size_t i = 0; i < kGuardBytes; ++i) {
        if (storage[i] != kGuard || storage[kGuardBytes + bytes + i] != kGuard) outcome.wroteOutside = true;
    }
    std::fprintf(out_, "%s -> %s", describeCall(call).c_str(), resultText(outcome.result).c_str());
    if (buffer && bytes > 0) {
        outcome.hasBufferText = true;
        outcome.bufferText.assign(buffer, strnlen(buffer, bytes));
        if (!inCodePage) outcome.bufferText = fromLibraryText(outcome.bufferText);
        if (call.bufferBytes) std::fprintf(out_, "   buffer: \"%s\"", outcome.bufferText.c_str());
    }
    std::fputc('\n', out_);
    if (outcome.wroteOutside) std::fprintf(out_, "  !! the call wrote outside its %zu-byte buffer\n", bytes);
    return outcome;
}

}  // namespace tollgram::host_tool
