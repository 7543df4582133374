// OBJModel::readMTL: one Wavefront MTL library into Material records, one per
// "newmtl", in file order.
#include <cstring>
#include <new>

#include "obj/line_reader.h"
#include "obj/number_scan.h"
#include "obj/obj_model.h"
#include "obj/read_state.h"
#include "obj/read_texts.h"

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
void readWord(const char* text, const std::string& prefix, std::string& field) {
    const char* word = skipBlanks(text);
    if (!*word) return;
    field.assign(prefix).append(word, wordEnd(word));
}

}  // namespace

ReadStatus OBJModel::readMTL(const std::string& path, std::vector<Material>& list, uint8_t stopOnUnknown) noexcept try {
    LineReader reader;
    if (!reader.open(path)) {
        appendDiagnostic(_errorText, _errorBound, {texts::kMaterialsMissing, path});
        return ReadStatus::Ended;
    }
    if (reader.isUtf16()) {
        appendDiagnostic(_errorText, _errorBound, {texts::kMaterialsUtf16, path});
        return ReadStatus::Ended;
    }
    const std::string directory = directoryOf(path);
    const std::string noPrefix;
    Material* current = nullptr;
    char* line;
    size_t length;
    bool more = true;
    while (more) {
        more = reader.readLine(line, length);
        if (reader.outOfMemory()) return ReadStatus::OutOfMemory;
        const char* lineEnd = line + length;
        const char* word = skipBlanks(line);
        if (!*word || *word == '#') continue;
        const char* end = wordEnd(word);
        char keyword[kMaxKeyword + 1] = {};
        const size_t keywordLength = size_t(end - word);
        if (keywordLength <= kMaxKeyword) {
            for (size_t i = 0; i < keywordLength; ++i) keyword[i] = lowerAscii(word[i]);
        }
        auto is = [&](const char* name) { return std::strcmp(keyword, name) == 0; };

        if (is("newmtl")) {
            list.emplace_back();
            current = &list.back();
            readWord(end, noPrefix, current->_name);
            continue;
        }
        if (!current) {
            appendDiagnostic(_errorText, _errorBound, {texts::kMaterialLine, line, texts::kBeforeNewmtl, path});
            return ReadStatus::Ended;
        }
        if (is("ns")) {
            readNumbers(end, lineEnd, &current->_specularExponent, 1);
        } else if (is("d")) {
            readNumbers(end, lineEnd, &current->_dissolve, 1);
        } else if (is("illum")) {
            readNumbers(end, lineEnd, &current->_illumination, 1);
        } else if (is("ni")) {
            readNumbers(end, lineEnd, &current->_opticalDensity, 1);
        } else if (is("kd")) {
            readNumbers(end, lineEnd, current->_diffuse, 3);
        } else if (is("ka")) {
            readNumbers(end, lineEnd, current->_ambient, 3);
        } else if (is("ks")) {
            readNumbers(end, lineEnd, current->_specular, 3);
        } else if (is("map_kd")) {
            readWord(end, directory, current->_diffuseMap);
        } else if (is("map_ks")) {
            readWord(end, directory, current->_specularMap);
        } else if (is("map_ka")) {
            readWord(end, noPrefix, current->_ambientMap);  // taken as written
        } else if (is("map_bump")) {
            readWord(end, directory, current->_bumpMap);
        } else if (is("map_d")) {
            readWord(end, directory, current->_dissolveMap);
        } else {
            appendDiagnostic(_errorText, _errorBound,
                             {texts::kMaterialLine, line, texts::kUnknownMaterialKeyword, path, texts::kNotValid});
            if (stopOnUnknown) return ReadStatus::Ended;
        }
    }
    return ReadStatus::Ok;
} catch (const std::bad_alloc&) {
    return ReadStatus::OutOfMemory;
}

}  // namespace tollgram::obj
