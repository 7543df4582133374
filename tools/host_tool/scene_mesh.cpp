// The host mesh from an OBJ file, by the rules the library reads it with
// (the rules are listed in scene.h). Nothing of the library is linked in:
// this is the host's own reading of the same file.
#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "host_tool/input_files.h"
#include "host_tool/scene.h"

namespace tollgram::host_tool {

namespace {

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The library's limit: a face with a ninth corner makes it refuse the file.
constexpr size_t kMaxCorners = 8;

std::vector<std::string> wordsOf(const std::string& text) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i])) ++i;
        const size_t start = i;
        while (i < text.size() && !isBlank(text[i])) ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

// What a corner holds besides its vertex, decided by the first corner.
struct CornerForm {
    bool texture = false, normal = false;
};

CornerForm formOf(const std::string& token) {
    const size_t first = token.find('/');
    if (first == std::string::npos) return {};
    const size_t second = token.find('/', first + 1);
    if (second == std::string::npos) return {true, false};
    return {second != first + 1, true};
}

// An optionally signed decimal integer at text[at]; advances at.
bool readIndex(const std::string& text, size_t& at, long& value) {
    const char* start = text.c_str() + at;
    char* end = nullptr;
    value = std::strtol(start, &end, 10);
    if (end == start || isBlank(*start)) return false;
    at += static_cast<size_t>(end - start);
    return true;
}

// The vertex index of a corner token written in form; false when the token
// is not of that form (the library then leaves the face out).
bool cornerVertex(const std::string& token, CornerForm form, long& vertex) {
    size_t at = 0;
    if (!readIndex(token, at, vertex)) return false;
    long ignored;
    if (form.texture || form.normal) {
        if (at >= token.size()) return false;
        ++at;  // the separator: any character serves
    }
    if (form.texture && !readIndex(token, at, ignored)) return false;
    if (form.normal) {
        if (at >= token.size()) return false;
        ++at;
        if (!readIndex(token, at, ignored)) return false;
    }
    return at == token.size();
}

class MeshReading {
public:
    explicit MeshReading(SceneMesh& mesh) : mesh_(mesh) {}

    // False with the reason when the library would refuse the line.
    bool line(std::string text, std::string& error) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty() || isBlank(text[0])) return true;
        // The keyword without regard to case: every character up to the first space.
        for (char& c : text) {
            if (c == ' ') break;
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        switch (text[0]) {
            case 'v':
                if (text.size() > 1 && (text[1] == 'n' || text[1] == 't')) return true;
                vertex(text.c_str() + 1);
                return true;
            case 'g':
                groups(text.substr(1));
                return true;
            case 'f':
                return face(text.substr(1), error);
            default:
                return true;
        }
    }

private:
    void vertex(const char* text) {
        float xyz[3] = {0, 0, 0};
        for (float& coordinate : xyz) {
            char* end = nullptr;
            const float number = std::strtof(text, &end);
            if (end == text) break;
            coordinate = number;
            text = end;
        }
        mesh_.positions.insert(mesh_.positions.end(), xyz, xyz + 3);
    }

    void groups(const std::string& text) {
        currentGroups_ = wordsOf(text);
        if (currentGroups_.empty()) currentGroups_ = {"default"};
    }

    bool face(const std::string& text, std::string& error) {
        // Corner by corner, in the library's order of checks: a corner of
        // another form leaves the face out, a bad vertex or a ninth corner
        // refuses the file, whatever follows on the line.
        std::vector<uint32_t> polygon;
        CornerForm form;
        bool first = true;
        const long vertexCount = static_cast<long>(mesh_.positions.size() / 3);
        for (size_t at = 0; at < text.size();) {
            while (at < text.size() && isBlank(text[at])) ++at;
            const size_t start = at;
            while (at < text.size() && !isBlank(text[at])) ++at;
            if (at == start) break;
            const std::string token = text.substr(start, at - start);
            if (first) form = formOf(token);
            first = false;
            long written;
            if (!cornerVertex(token, form, written)) return true;  // left out, as by the library
            if (written == 0) {
                error = "the face names vertex 0; vertices count from 1";
                return false;
            }
            const long magnitude = written < 0 ? -written : written;
            if (magnitude > vertexCount) {
                error = "the face names vertex " + std::to_string(written) + ", but only " +
                        std::to_string(vertexCount) + " vertices come before it";
                return false;
            }
            const auto index = static_cast<uint32_t>(written > 0 ? written - 1 : vertexCount + written);
            if (std::find(polygon.begin(), polygon.end(), index) != polygon.end()) continue;
            if (polygon.size() == kMaxCorners) {
                error = "the face has a ninth corner; a face has at most " + std::to_string(kMaxCorners);
                return false;
            }
            polygon.push_back(index);
        }
        if (first) return true;  // nothing after the keyword: no face
        mesh_.polygons.push_back(std::move(polygon));
        for (const std::string& name : currentGroups_) {
            if (knownGroups_.insert(name).second) mesh_.groupNames.push_back(name);
        }
        return true;
    }

    SceneMesh& mesh_;
    std::vector<std::string> currentGroups_{"default"};
    std::set<std::string> knownGroups_;
};

}  // namespace

// The start of the text as the library reads it: past a UTF-8 byte-order
// mark; or none when the file starts as UTF-16 text does (its mark, or an
// ASCII character beside a zero byte), which the library refuses.
bool textStart(const std::string& text, size_t& start) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    start = 0;
    if (text.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        start = 3;
        return true;
    }
    if (text.size() < 2) return true;
    const auto ascii = [](unsigned char c) { return c != 0 && c < 0x80; };
    return !((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF) ||
             (ascii(byte(0)) && byte(1) == 0) || (byte(0) == 0 && ascii(byte(1))));
}

bool readSceneMesh(const std::string& objPath, SceneMesh& mesh, std::string& error) {
    std::string text, why;
    if (!readInputFile(objPath, text, why)) {
        error = "cannot read " + objPath + ": " + why;
        return false;
    }
    size_t at = 0;
    if (!textStart(text, at)) {
        error = objPath + " is UTF-16 text (the library refuses this file as well)";
        return false;
    }
    mesh = SceneMesh{};
    MeshReading reading(mesh);
    // A line ends at LF, CR LF or a CR alone, as in the library.
    for (long number = 1; at < text.size(); ++number) {
        const size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        if (!reading.line(text.substr(at, end - at), error)) {
            error = objPath + " line " + std::to_string(number) + ": " + error +
                    " (the library refuses this file as well)";
            return false;
        }
        at = end + 1;
        if (end < text.size() && text[end] == '\r' && at < text.size() && text[at] == '\n') ++at;
    }
    return true;
}

}  // namespace tollgram::host_tool
