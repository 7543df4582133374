#include "host_tool/script.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace tollgram::host_tool {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// A quoted word starting at line[i] == '"'; advances i past the closing quote.
bool readQuoted(const std::string& line, size_t& i, std::string& out, std::string& error) {
    ++i;
    while (i < line.size()) {
        const char c = line[i++];
        if (c == '"') return true;
        if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
            out += line[i++];
            continue;
        }
        out += c;
    }
    error = "the quoted text has no closing quote";
    return false;
}

bool readNumber(const std::string& word, double& out) {
    if (word.empty()) return false;
    errno = 0;
    char* end = nullptr;
    out = std::strtod(word.c_str(), &end);
    return end == word.c_str() + word.size();
}

bool readSize(const std::string& word, int32_t& out) {
    double number;
    if (!readNumber(word, number) || number != static_cast<double>(static_cast<int32_t>(number))) return false;
    out = static_cast<int32_t>(number);
    return true;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// The column of a line's first NUL byte, counted in characters of UTF-8
// as an editor counts them; 0 when it holds none.
size_t nulColumn(const std::string& line) {
    const size_t nul = line.find('\0');
    if (nul == std::string::npos) return 0;
    size_t column = 1;
    for (size_t i = 0; i < nul; ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) ++column;
    }
    return column;
}

}  // namespace

ParsedLine parseScriptLine(const std::string& line) {
    ParsedLine parsed;
    // A text reaches the library up to its first NUL byte only, and a
    // message would end there too: such a line is not run at all.
    if (const size_t column = nulColumn(line)) {
        parsed.error = "column " + std::to_string(column) +
                       " holds a NUL byte (a zero byte), which would cut the line short; the line is not run";
        return parsed;
    }
    size_t i = 0;
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size() || line[i] == '#') return parsed;

    while (i < line.size() && (std::isalnum(static_cast<unsigned char>(line[i])) || line[i] == '_')) {
        parsed.call.exportName += line[i++];
    }
    if (parsed.call.exportName.empty()) {
        parsed.error = "a call starts with the name of an export";
        return parsed;
    }
    bool hasValue = false;
    while (true) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i == line.size() || line[i] == '#') break;
        if (line[i] == '"') {
            if (parsed.call.text) {
                parsed.error = "only one text per call (the second goes in buffer=\"...\")";
                return parsed;
            }
            std::string text;
            if (!readQuoted(line, i, text, parsed.error)) return parsed;
            parsed.call.text = text;
            continue;
        }
        const size_t start = i;
        while (i < line.size() && !isBlank(line[i]) && line[i] != '"') ++i;
        std::string word = line.substr(start, i - start);
        if (word == "buffer=" && i < line.size() && line[i] == '"') {
            std::string text;
            if (!readQuoted(line, i, text, parsed.error)) return parsed;
            parsed.call.bufferText = text;
            continue;
        }
        if (word.rfind("buffer=", 0) == 0) {
            int32_t bytes;
            if (!readSize(word.substr(7), bytes) || bytes < 0 || bytes > (1 << 24)) {
                parsed.error = "buffer= takes a size from 0 to 16777216 or a quoted text";
                return parsed;
            }
            parsed.call.bufferBytes = bytes;
            continue;
        }
        if (word.rfind("size=", 0) == 0) {
            int32_t size;
            if (!readSize(word.substr(5), size)) {
                parsed.error = "size= takes a whole number";
                return parsed;
            }
            parsed.call.sizeOverride = size;
            continue;
        }
        if (word == "null") {
            parsed.call.text.reset();
            continue;
        }
        double number;
        if (!readNumber(word, number)) {
            // Most often a key or a path without its quotes.
            parsed.error = word + " is neither a quoted text, a number, buffer=, size= nor null (a text goes in quotes: " +
                           quoted(word) + ")";
            return parsed;
        }
        if (hasValue) {
            parsed.error = "only one number per call";
            return parsed;
        }
        parsed.call.value = number;
        hasValue = true;
    }
    parsed.isCall = true;
    return parsed;
}

std::string describeCall(const ScriptCall& call) {
    std::string out = call.exportName;
    if (call.text) out += " " + quoted(*call.text);
    if (call.value != 0.0) {
        char number[32];
        std::snprintf(number, sizeof number, "%.9g", call.value);
        out += " ";
        out += number;
    }
    if (call.bufferBytes) out += " buffer=" + std::to_string(*call.bufferBytes);
    if (call.bufferText) out += " buffer=" + quoted(*call.bufferText);
    if (call.sizeOverride) out += " size=" + std::to_string(*call.sizeOverride);
    return out;
}

}  // namespace tollgram::host_tool
