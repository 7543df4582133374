#include "host_tool/script.h"

#include "host_tool/hints.h"

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
    if (line.find("\\\"") != std::string::npos) {
        error += " (inside quotes \\\" stands for a quote mark; a backslash before the closing quote is written \\\\, as in \"lib\\\\\")";
    }
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

// The arguments of "(\"cube.obj\", 2)" as the script writes them: " \"cube.obj\" 2".
std::string withoutParentheses(const std::string& rest) {
    std::string arguments;
    bool inQuotes = false;
    for (size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c == '"' && (i == 0 || rest[i - 1] != '\\')) inQuotes = !inQuotes;
        if (!inQuotes && c == ')') break;
        arguments += !inQuotes && c == ',' ? ' ' : c;
    }
    std::string spaced;
    for (char c : arguments) {
        if (isBlank(c) && (spaced.empty() || spaced.back() == ' ')) continue;
        spaced += isBlank(c) ? ' ' : c;
    }
    while (!spaced.empty() && spaced.back() == ' ') spaced.pop_back();
    return spaced.empty() ? std::string() : " " + spaced;
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
    const ExportArguments& arguments = argumentsOf(parsed.call.exportName);
    {
        size_t open = i;
        while (open < line.size() && isBlank(line[open])) ++open;
        if (open < line.size() && line[open] == '(') {
            parsed.error = "calls are written without parentheses or commas: " + parsed.call.exportName +
                           withoutParentheses(line.substr(open + 1));
            return parsed;
        }
    }
    while (true) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i == line.size() || line[i] == '#') break;
        if (line[i] == '"') {
            if (parsed.call.text) {
                std::string second, ignored;
                size_t at = i;
                readQuoted(line, at, second, ignored);
                double number;
                if (*arguments.value != '\0' && readNumber(second, number)) {
                    parsed.error = "numbers go unquoted: write " + second + ", not " + quoted(second);
                } else if (arguments.bufferText) {
                    parsed.error = "only one text per call (the second goes in buffer=\"...\")";
                } else {
                    parsed.error = "only one text per call: " + parsed.call.exportName + " takes one text" +
                                   (*arguments.value ? std::string(" and a number (") + arguments.value + ")"
                                                     : std::string());
                }
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
            if (parsed.call.text && *arguments.value != '\0') {
                parsed.error = word + " is not a number, and " + parsed.call.exportName + " takes a number here: " +
                               arguments.value;
                return parsed;
            }
            // Most often a key or a path without its quotes.
            parsed.error = word + " is neither a quoted text, a number, buffer=, size= nor null (a text goes in quotes: " +
                           quoted(word) + ")";
            return parsed;
        }
        if (parsed.call.hasValue) {
            parsed.error = "only one number per call";
            return parsed;
        }
        parsed.call.value = number;
        parsed.call.hasValue = true;
    }
    parsed.isCall = true;
    return parsed;
}

std::string describeCall(const ScriptCall& call) {
    std::string out = call.exportName;
    // Appended piece by piece: GCC 12 takes `" " + temporary` for an
    // overlapping copy of 2 GiB (-Wrestrict) where it inlines the insert.
    if (call.text) {
        out += ' ';
        out += quoted(*call.text);
    }
    if (call.hasValue) {
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
