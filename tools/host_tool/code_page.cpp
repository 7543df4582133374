#include "host_tool/code_page.h"

#include <cstdint>
#include <cstdio>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace tollgram::host_tool {

namespace {

// The length of the UTF-8 sequence that starts at text[i], 0 when none
// does there (a stray continuation byte, an overlong or cut sequence).
size_t sequenceAt(const std::string& text, size_t i, uint32_t& code) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, code = lead & 0x1Fu;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, code = lead & 0x0Fu;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, code = lead & 0x07u;
    else return 0;
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0u) != 0x80u) return 0;
        code = code << 6 | (byte(i + k) & 0x3Fu);
    }
    const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return 0;
    return length;
}

}  // namespace

bool holdsUtf8(const std::string& text) {
    bool beyondAscii = false;
    uint32_t code = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t length = sequenceAt(text, i, code);
        if (length == 0) return false;
        beyondAscii = beyondAscii || length > 1;
        i += length;
    }
    return beyondAscii;
}

#if defined(_WIN32)

namespace {

std::wstring wideOf(const std::string& text, UINT codePage) {
    const int units = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(units > 0 ? units : 0), L'\0');
    if (units > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
    return wide;
}

// wide in the code page; false when a character has no byte there (the
// system would put a "?" or a look-alike in its place).
bool narrowOf(const std::wstring& wide, UINT codePage, std::string& narrow) {
    BOOL defaulted = FALSE;
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* usedDefault = codePage == CP_UTF8 ? nullptr : &defaulted;
    const int bytes = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                          nullptr, usedDefault);
    narrow.assign(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) {
        WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), narrow.data(), bytes, nullptr,
                            usedDefault);
    }
    return !defaulted && (bytes > 0 || wide.empty());
}

}  // namespace

bool toLibraryText(const std::string& text, std::string& libraryText, std::string& error) {
    // Bytes that are not UTF-8 are taken to be in the code page already, as
    // a script saved in it is.
    if (!holdsUtf8(text)) {
        libraryText = text;
        return true;
    }
    if (narrowOf(wideOf(text, CP_UTF8), CP_ACP, libraryText)) return true;
    uint32_t code = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t length = sequenceAt(text, i, code);
        std::string single;
        if (!narrowOf(wideOf(text.substr(i, length), CP_UTF8), CP_ACP, single)) {
            char number[16];
            std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(code));
            error = "the text holds " + text.substr(i, length) + " (" + number + "), which the ANSI code page " +
                    std::to_string(GetACP()) + " that the library reads texts in lacks";
            return false;
        }
        i += length;
    }
    error = "the text cannot be put in the ANSI code page " + std::to_string(GetACP());
    return false;
}

std::string fromLibraryText(const std::string& libraryText) {
    std::string utf8;
    narrowOf(wideOf(libraryText, CP_ACP), CP_UTF8, utf8);
    return utf8;
}

#else

bool toLibraryText(const std::string& text, std::string& libraryText, std::string&) {
    libraryText = text;
    return true;
}

std::string fromLibraryText(const std::string& libraryText) { return libraryText; }

#endif

}  // namespace tollgram::host_tool
