// The MTL reader alone on fuzzer-chosen libraries, checked against a plain
// reading of the same bytes: the records it fills, their values, the
// diagnostics it appends and its result must be exactly what the library's
// grammar gives, and nothing may crash or leak.
//
// Each input is read twice: as ".../lib.mtl" going on past unknown keywords,
// and as ".../x\lib.mtl" stopping at the first, so the directory of the map
// files is taken once from a "/" and once from a "\".
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "obj/model/obj_model.h"
#include "obj/same_models.h"

namespace {

using tollgram::obj::Material;

struct Paths {
    std::string slash;      // directory ends in "/"
    std::string backslash;  // directory ends in "\"
};

const Paths& paths() {
    static const Paths p = [] {
        const std::filesystem::path directory =
            std::filesystem::temp_directory_path() / ("tollgram-mtl-fuzz-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(directory);
        static std::filesystem::path made;
        made = directory;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        const std::string base = directory.generic_string();
        return Paths{base + "/lib.mtl", base + "/x\\lib.mtl"};
    }();
    return p;
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
    std::fclose(file);
}

using tollgram::fuzz::check;

// The plain reading: the grammar written out with std::string and strtod.

bool blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

size_t skip(const std::string& s, size_t at) {
    while (at < s.size() && blank(s[at])) ++at;
    return at;
}

size_t wordStop(const std::string& s, size_t at) {
    while (at < s.size() && !blank(s[at])) ++at;
    return at;
}

bool digit(char c) { return c >= '0' && c <= '9'; }

// One number as a stream extracts a double: sign, digits with an optional
// fraction (one digit at least), an exponent only when it has digits.
bool number(const std::string& s, size_t& at, double& value) {
    size_t p = at;
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
    size_t digits = 0;
    while (p < s.size() && digit(s[p])) ++p, ++digits;
    if (p < s.size() && s[p] == '.') {
        ++p;
        while (p < s.size() && digit(s[p])) ++p, ++digits;
    }
    if (digits == 0) return false;
    if (p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
        size_t q = p + 1;
        if (q < s.size() && (s[q] == '+' || s[q] == '-')) ++q;
        if (q < s.size() && digit(s[q])) {
            while (q < s.size() && digit(s[q])) ++q;
            p = q;
        }
    }
    value = std::strtod(s.substr(at, p - at).c_str(), nullptr);
    at = p;
    return true;
}

void numbers(const std::string& s, size_t at, double* fields, int count) {
    for (int i = 0; i < count; ++i) {
        at = skip(s, at);
        if (!number(s, at, fields[i])) return;
    }
}

void word(const std::string& s, size_t at, const std::string& prefix, std::string& field) {
    at = skip(s, at);
    if (at == s.size()) return;
    field = prefix + s.substr(at, wordStop(s, at) - at);
}

struct Expected {
    bool ok = true;
    std::vector<Material> list;
    std::string errorText;
};

// The lines as the reader sees them: a UTF-8 byte-order mark at the start
// dropped, split at LF, CR LF or CR alone, each line ending at its first NUL.
std::vector<std::string> linesOf(std::string_view bytes) {
    std::vector<std::string> lines;
    size_t begin = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    for (;;) {
        const size_t end = bytes.find_first_of("\r\n", begin);
        std::string line(bytes.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
        line.resize(std::strlen(line.c_str()));
        lines.push_back(line);
        if (end == std::string_view::npos) return lines;
        begin = end + 1;
        if (bytes[end] == '\r' && begin < bytes.size() && bytes[begin] == '\n') ++begin;
    }
}

// UTF-16 text: its byte-order mark, or, throughout the first 128 bytes and
// at least two characters, ASCII characters each with a zero byte on the
// same side.
bool looksUtf16(std::string_view bytes) {
    if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") return true;
    const std::string_view start = bytes.substr(0, 128);
    if (start.size() < 4) return false;
    auto ascii = [](char c) { return c != 0 && static_cast<unsigned char>(c) < 0x80; };
    bool zeroSecond = true, zeroFirst = true;
    for (size_t i = 0; i + 1 < start.size(); i += 2) {
        zeroSecond = zeroSecond && ascii(start[i]) && start[i + 1] == 0;
        zeroFirst = zeroFirst && start[i] == 0 && ascii(start[i + 1]);
    }
    return zeroSecond || zeroFirst;
}

Expected readPlainly(std::string_view bytes, const std::string& path, bool stopOnUnknown) {
    Expected e;
    if (bytes.substr(0, 3) != "\xEF\xBB\xBF" && looksUtf16(bytes)) {
        e.ok = false;
        e.errorText = "Materials file is UTF-16 text, which is not read (save it as ANSI or UTF-8): " + path;
        return e;
    }
    const std::string directory = path.substr(0, path.find_last_of("/\\") + 1);
    Material* current = nullptr;
    for (const std::string& line : linesOf(bytes)) {
        const size_t start = skip(line, 0);
        if (start == line.size() || line[start] == '#') continue;
        const size_t end = wordStop(line, start);
        std::string keyword = line.substr(start, end - start);
        for (char& c : keyword) {
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        }
        if (keyword == "newmtl") {
            e.list.emplace_back();
            current = &e.list.back();
            word(line, end, "", current->_name);
            continue;
        }
        if (!current) {
            e.errorText += " line \"" + line + "\" for newmtl in " + path;
            e.ok = false;
            return e;
        }
        if (keyword == "ns") numbers(line, end, &current->_specularExponent, 1);
        else if (keyword == "d") numbers(line, end, &current->_dissolve, 1);
        else if (keyword == "illum") numbers(line, end, &current->_illumination, 1);
        else if (keyword == "ni") numbers(line, end, &current->_opticalDensity, 1);
        else if (keyword == "kd") numbers(line, end, current->_diffuse, 3);
        else if (keyword == "ka") numbers(line, end, current->_ambient, 3);
        else if (keyword == "ks") numbers(line, end, current->_specular, 3);
        else if (keyword == "map_kd") word(line, end, directory, current->_diffuseMap);
        else if (keyword == "map_ks") word(line, end, directory, current->_specularMap);
        else if (keyword == "map_ka") word(line, end, "", current->_ambientMap);
        else if (keyword == "map_bump") word(line, end, directory, current->_bumpMap);
        else if (keyword == "map_d") word(line, end, directory, current->_dissolveMap);
        else {
            e.errorText += " line \"" + line + "\" in " + path + " in not valid.\n";
            if (stopOnUnknown) {
                e.ok = false;
                return e;
            }
        }
    }
    return e;
}

bool blankFree(const std::string& s) {
    for (char c : s) {
        if (c == '\0' || blank(c)) return false;
    }
    return true;
}

// What a model keeps of its diagnostics: the first lines, each to its first
// characters.
std::string keptOf(const std::string& text) {
    std::string kept;
    size_t lines = 0;
    for (size_t at = 0; at < text.size() && lines < tollgram::obj::kKeptDiagnosticLines;) {
        const size_t feed = text.find('\n', at);
        const size_t end = feed == std::string::npos ? text.size() : feed;
        kept.append(text, at, std::min(end - at, tollgram::obj::kKeptDiagnosticLineLength));
        if (feed == std::string::npos) break;
        kept += '\n';
        ++lines;
        at = feed + 1;
    }
    return kept;
}

void readAndCompare(std::string_view bytes, const std::string& path, uint8_t stopOnUnknown) {
    writeFile(path, bytes);
    // Diagnostics are appended, and records go after those already listed.
    const std::string earlier = "earlier text|";
    tollgram::obj::OBJModel model;
    model._errorText = earlier;
    std::vector<Material> list(1);
    list[0]._name = "kept";
    const bool ok = model.readMTL(path, list, stopOnUnknown) == tollgram::obj::ReadStatus::Ok;

    const Expected expected = readPlainly(bytes, path, stopOnUnknown != 0);
    check(ok == expected.ok, "result differs");
    check(model._errorText == earlier + keptOf(expected.errorText), "diagnostics differ");
    check(list.size() == expected.list.size() + 1, "material count differs");
    check(tollgram::obj::test::sameMaterial(list[0], Material{._name = "kept"}), "an earlier record changed");
    for (size_t i = 0; i < expected.list.size(); ++i) {
        const Material& m = list[i + 1];
        check(tollgram::obj::test::sameMaterial(m, expected.list[i]), "a record differs");
        check(blankFree(m._name), "a name holds a blank");
    }
    check(model._vertices._count == 0 && model._faces._count == 0 && model._materials.empty(),
          "the model changed beyond its diagnostics");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    readAndCompare(bytes, paths().slash, 0);
    readAndCompare(bytes, paths().backslash, 1);
    return 0;
}
