// OBJModel::readMTL: one Wavefront MTL library into Material records, one per
// "newmtl", in file order.
#include <cstring>
#include <string_view>

#include "obj/read/line_reader.h"
#include "obj/read/number_scan.h"
#include "obj/model/obj_model.h"
#include "obj/read/read_texts.h"
#include "platform/paths.h"

namespace tollgram::obj {

namespace {

// Keywords are short; a longer first word is unknown whatever it holds.
constexpr size_t kMaxKeyword = 16;

// Reads up to count numbers in order, stopping at the first that can't be
// read; fields for the numbers not read keep their values.
void readNumbers(const char* text, const char* end, double* fields, int count) {
    const char* p = text;
    for (int i = 0; i < count; ++i) {
        p = scanDouble(skipBlanks(p), end, fields[i]);
        if (!p) return;
    }
}

// The next word, when there is one; the field keeps its value otherwise.
void readWord(const char* text, std::string_view prefix, std::string& field) {
    const char* word = skipBlanks(text);
    if (!*word) return;
    field.assign(prefix).append(word, wordEnd(word));
}

// A line of the current material, after its keyword.
struct MaterialLine {
    Material& material;
    const char* words;
    const char* end;  // the line's end
    std::string_view directory;
};

struct Keyword {
    const char* name;  // lowered
    void (*read)(const MaterialLine&);
};

// Every keyword but "newmtl", which starts a material rather than setting one.
constexpr Keyword kKeywords[] = {
    {"ns", [](const MaterialLine& l) { readNumbers(l.words, l.end, &l.material._specularExponent, 1); }},
    {"d", [](const MaterialLine& l) { readNumbers(l.words, l.end, &l.material._dissolve, 1); }},
    {"illum", [](const MaterialLine& l) { readNumbers(l.words, l.end, &l.material._illumination, 1); }},
    {"ni", [](const MaterialLine& l) { readNumbers(l.words, l.end, &l.material._opticalDensity, 1); }},
    {"kd", [](const MaterialLine& l) { readNumbers(l.words, l.end, l.material._diffuse, 3); }},
    {"ka", [](const MaterialLine& l) { readNumbers(l.words, l.end, l.material._ambient, 3); }},
    {"ks", [](const MaterialLine& l) { readNumbers(l.words, l.end, l.material._specular, 3); }},
    {"map_kd", [](const MaterialLine& l) { readWord(l.words, l.directory, l.material._diffuseMap); }},
    {"map_ks", [](const MaterialLine& l) { readWord(l.words, l.directory, l.material._specularMap); }},
    {"map_ka", [](const MaterialLine& l) { readWord(l.words, {}, l.material._ambientMap); }},  // taken as written
    {"map_bump", [](const MaterialLine& l) { readWord(l.words, l.directory, l.material._bumpMap); }},
    {"map_d", [](const MaterialLine& l) { readWord(l.words, l.directory, l.material._dissolveMap); }},
};

const Keyword* keywordNamed(const char* lowered) {
    for (const Keyword& keyword : kKeywords) {
        if (std::strcmp(keyword.name, lowered) == 0) return &keyword;
    }
    return nullptr;
}

}  // namespace

ReadStatus OBJModel::readMTL(const std::string& path, std::vector<Material>& list, uint8_t stopOnUnknown) {
    LineReader reader;
    if (!reader.open(path)) {
        appendDiagnostic(_errorText, _errorBound, {texts::kMaterialsMissing, path});
        return ReadStatus::Ended;
    }
    if (reader.isUtf16()) {
        appendDiagnostic(_errorText, _errorBound, {texts::kMaterialsUtf16, path});
        return ReadStatus::Ended;
    }
    const std::string_view directory = platform::directoryOf(path, platform::kEitherSeparator);
    Material* current = nullptr;
    char* line;
    size_t length;
    bool more = true;
    while (more) {
        more = reader.readLine(line, length);
        if (reader.outOfMemory()) return ReadStatus::OutOfMemory;
        // A library read only in part is one that can't be read: its
        // materials may lack statements, or be missing.
        if (reader.readFailed()) {
            appendDiagnostic(_errorText, _errorBound, {texts::kMaterialsReadFailed, path});
            return ReadStatus::Ended;
        }
        const char* lineEnd = line + length;
        const char* word = skipBlanks(line);
        if (!*word || *word == '#') continue;
        const char* end = wordEnd(word);
        char keyword[kMaxKeyword + 1] = {};
        const size_t keywordLength = size_t(end - word);
        if (keywordLength <= kMaxKeyword) {
            for (size_t i = 0; i < keywordLength; ++i) keyword[i] = lowerAscii(word[i]);
        }
        if (std::strcmp(keyword, "newmtl") == 0) {
            list.emplace_back();
            current = &list.back();
            readWord(end, {}, current->_name);
            continue;
        }
        if (!current) {
            appendDiagnostic(_errorText, _errorBound, {texts::kMaterialLine, line, texts::kBeforeNewmtl, path});
            return ReadStatus::Ended;
        }
        if (const Keyword* known = keywordNamed(keyword)) {
            known->read({*current, end, lineEnd, directory});
            continue;
        }
        appendDiagnostic(_errorText, _errorBound,
                         {texts::kMaterialLine, line, texts::kUnknownMaterialKeyword, path, texts::kNotValid});
        if (stopOnUnknown) return ReadStatus::Ended;
    }
    return ReadStatus::Ok;
}

}  // namespace tollgram::obj
