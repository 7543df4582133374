#include "host_tool/script_text.h"

#include <cstdint>

namespace tollgram::host_tool {

namespace {
unsigned char byteAt(const std::string& bytes, size_t i) { return static_cast<unsigned char>(bytes[i]); }

void appendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}
}  // namespace

bool looksLikeUtf16(const std::string& bytes) {
    if (bytes.size() < 2) return false;
    const unsigned char a = byteAt(bytes, 0), b = byteAt(bytes, 1);
    const auto ascii = [](unsigned char c) { return c != 0 && c < 0x80; };
    return (a == 0xFF && b == 0xFE) || (a == 0xFE && b == 0xFF) || (ascii(a) && b == 0) || (a == 0 && ascii(b));
}

std::string scriptTextOf(const std::string& bytes) {
    if (!looksLikeUtf16(bytes)) return bytes;
    const unsigned char a = byteAt(bytes, 0), b = byteAt(bytes, 1);
    const bool bigEndian = (a == 0xFE && b == 0xFF) || a == 0;
    size_t at = (a == 0xFF && b == 0xFE) || (a == 0xFE && b == 0xFF) ? 2 : 0;
    auto unit = [&](size_t i) -> uint32_t {
        const uint32_t first = byteAt(bytes, i), second = byteAt(bytes, i + 1);
        return bigEndian ? (first << 8 | second) : (second << 8 | first);
    };
    std::string text;
    for (; at + 1 < bytes.size(); at += 2) {
        uint32_t code = unit(at);
        if (code >= 0xD800 && code < 0xDC00 && at + 3 < bytes.size()) {
            const uint32_t low = unit(at + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        appendUtf8(text, code);
    }
    return text;
}

}  // namespace tollgram::host_tool
