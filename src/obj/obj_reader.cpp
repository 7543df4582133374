// OBJModel::readOBJ: one pass over an OBJ file, line by line, dispatching on
// the first character (and the second for "v" lines).
#include "obj/obj_reader.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

#include "obj/number_scan.h"
#include "obj/obj_model.h"

namespace tollgram::obj {

namespace {

constexpr const char* kErrorLogName = "error_objmodel_read.txt";
constexpr const char* kDefaultGroup = "default";

inline char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// parseCorner for a token that ends at the next blank or the line's end:
// returns that end, or null when the token is invalid. Always inline: both
// face readers run it for every corner.
#if defined(__GNUC__)
[[gnu::always_inline]]
#endif
inline const char* scanCorner(const char* token, FaceForm form, int32_t& vertex, int32_t& texture, int32_t& normal) {
    auto separator = [](const char* p) { return *p != '\0' && !isBlank(*p); };
    const char* p = scanInteger(token, vertex);
    if (!p) return nullptr;
    if (form.hasTexture || form.hasNormal) {
        if (!separator(p)) return nullptr;
        ++p;
    }
    if (form.hasTexture) {
        p = scanInteger(p, texture);
        if (!p) return nullptr;
    }
    if (form.hasNormal) {
        if (!separator(p)) return nullptr;
        p = scanInteger(p + 1, normal);
        if (!p) return nullptr;
    }
    return separator(p) ? nullptr : p;
}


enum class Outcome { Continue, Fail };

void noteOutOfMemory(OBJModel& model, const std::string& path) {
    model._errorText += "Out of memory while reading " + path + "\n";
}

// Converts an index as written into a zero-based one against the count of
// its array: 1..count count from the front, -1..-count back from the newest.
enum class IndexCheck { Valid, Zero, Beyond };
IndexCheck resolveIndex(int32_t written, uint32_t count, int32_t& index) {
    if (written == 0) return IndexCheck::Zero;
    const int64_t value = written;
    if ((value < 0 ? -value : value) > int64_t(count)) return IndexCheck::Beyond;
    index = value > 0 ? int32_t(value - 1) : int32_t(int64_t(count) + value);
    return IndexCheck::Valid;
}

class ObjRead {
public:
    ObjRead(OBJModel& model, const std::string& path)
        : model_(model), path_(path), directory_(directoryOf(path)), groupNames_{kDefaultGroup} {}

    bool run() {
        if (!reader_.open(path_)) {
            if (reader_.outOfMemory()) return outOfMemory();
            model_._errorText = "OBJ file not found: " + path_;
            return false;
        }
        if (reader_.isUtf16()) {
            model_._errorText = "OBJ file is UTF-16 text, which is not read (save it as ANSI or UTF-8): " + path_;
            return false;
        }
        char* line;
        size_t length;
        for (;;) {
            const char* lineFeed = nullptr;
            switch (readPlainLine(reader_.unread(), lineFeed)) {
                case Plain::Taken:
                    reader_.skipThrough(lineFeed);
                    continue;
                case Plain::Fail:
                    return false;
                case Plain::Declined:
                    break;
            }
            const bool more = readLine(reader_, line, length);
            if (reader_.outOfMemory()) return outOfMemory();
            if (length > 0 && *line != '\0' && handle(line) == Outcome::Fail) return false;
            if (!more) return true;
        }
    }

    bool outOfMemory() {
        noteOutOfMemory(model_, path_);
        return false;
    }

private:
    // Plain "v", "vt", "vn" and "f" lines, nearly all of a mesh file, are
    // read straight from the reader's block: no search for the line end
    // first, no terminator written, no keyword lowered. Any line that is not
    // exactly plain (other blanks, more numbers, an invalid corner, a line
    // not yet whole in the block) is declined before anything is stored, and
    // handle() reads it again the general way, diagnostics and all.
    enum class Plain { Taken, Declined, Fail };

    static bool isSpace(char c) { return c == ' ' || c == '\t'; }
    static const char* skipSpaces(const char* p) {
        while (isSpace(*p)) ++p;
        return p;
    }
    // The last character of the line end at p: a line feed, the line feed
    // of a CR LF pair, or a carriage return alone; null when the line goes
    // on, or when a carriage return ends the bytes read so far (its line
    // feed may still follow).
    static const char* lineFeedAt(const char* p) {
        if (*p == '\r') {
            if (p[1] == '\n') return p + 1;
            return p[1] == '\0' ? nullptr : p;
        }
        return *p == '\n' ? p : nullptr;
    }

    Plain readPlainLine(const char* line, const char*& lineFeed) {
        if (line[0] == 'v') {
            if (isSpace(line[1])) return plainCoordinates(model_._vertices, line + 1, lineFeed);
            if (line[1] == 'n' && isSpace(line[2])) return plainCoordinates(model_._normals, line + 2, lineFeed);
            if (line[1] == 't' && isSpace(line[2])) return plainCoordinates(model_._textureCoords, line + 2, lineFeed);
            return Plain::Declined;
        }
        if (line[0] == 'f' && isSpace(line[1])) return plainFace(line + 1, lineFeed);
        return Plain::Declined;
    }

    // Up to three numbers, as coordinates() reads them, and nothing after.
    Plain plainCoordinates(PagedArray<Vec4>& array, const char* p, const char*& lineFeed) {
        float xyz[3] = {0.0f, 0.0f, 0.0f};
        lineFeed = lineFeedAt(skipSpaces(scanLineFloats(p, xyz, 3)));
        if (!lineFeed) return Plain::Declined;
        if (!array.append(Vec4{xyz[0], xyz[1], xyz[2], 1.0f})) {
            memoryFailure();
            return Plain::Fail;
        }
        return Plain::Taken;
    }

    // A number as scanInteger reads it, sign and all; the end of its digits,
    // or null when there are none.
    static const char* plainNumberEnd(const char* p) {
        if (*p == '-' || *p == '+') ++p;
        if (unsigned(static_cast<unsigned char>(*p)) - unsigned('0') > 9) return nullptr;
        do {
            ++p;
        } while (unsigned(static_cast<unsigned char>(*p)) - unsigned('0') <= 9);
        return p;
    }
    static bool plainTokenEnd(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    // The form of a first corner written exactly as v, v/t, v//n or v/t/n,
    // which is the form faceFormOf finds in such a token, without searching
    // the token for its end and its "/" first. False for any other token.
    static bool plainFormOf(const char* token, FaceForm& form) {
        const char* p = plainNumberEnd(token);
        if (!p) return false;
        form = {};
        if (*p != '/') return plainTokenEnd(*p);
        if (p[1] == '/') {
            form.hasNormal = true;
            p = plainNumberEnd(p + 2);
            return p && plainTokenEnd(*p);
        }
        form.hasTexture = true;
        p = plainNumberEnd(p + 1);
        if (!p) return false;
        if (*p != '/') return plainTokenEnd(*p);
        form.hasNormal = true;
        p = plainNumberEnd(p + 1);
        return p && plainTokenEnd(*p);
    }

    // Corners as face() reads them, every one valid and resolved.
    Plain plainFace(const char* p, const char*& lineFeed) {
        const char* token = skipSpaces(p);
        FaceForm form;
        if (!plainFormOf(token, form)) return Plain::Declined;
        // One reader per form, so that no corner asks again which parts it has.
        if (form.hasTexture) {
            return form.hasNormal ? plainCorners<true, true>(token, lineFeed) : plainCorners<true, false>(token, lineFeed);
        }
        return form.hasNormal ? plainCorners<false, true>(token, lineFeed) : plainCorners<false, false>(token, lineFeed);
    }

    // resolveIndex, with the common case of an index counted from the front
    // decided first.
    static bool resolvePlain(int32_t written, uint32_t count, int32_t& index) {
        if (written > 0) {
            index = written - 1;
            return uint32_t(written) <= count;
        }
        return resolveIndex(written, count, index) == IndexCheck::Valid;
    }

    template <bool kTexture, bool kNormal>
    Plain plainCorners(const char* token, const char*& lineFeed) {
        constexpr FaceForm form{kTexture, kNormal};
        // Built where it will stay: no copy on the stack to clear and copy
        // again. A slot of a declined line is reused by the next face.
        OBJFace* slot = model_._faces.nextSlot();
        if (!slot) {
            memoryFailure();
            return Plain::Fail;
        }
        // Cleared bytewise, padding too, so that a stored face never holds
        // bytes of an earlier one (slots and kept slabs are reused).
        std::memset(static_cast<void*>(slot), 0, sizeof *slot);
        OBJFace& built = *slot;
        for (;;) {
            int32_t vertex = 0, texture = 0, normal = 0;
            const char* end = scanCorner(token, form, vertex, texture, normal);
            if (!end) return Plain::Declined;
            int32_t v = 0, t = 0, n = 0;
            if (!resolvePlain(vertex, model_._vertices._count, v)) return Plain::Declined;
            if (kTexture && !resolvePlain(texture, model_._textureCoords._count, t)) return Plain::Declined;
            if (kNormal && !resolvePlain(normal, model_._normals._count, n)) return Plain::Declined;
            if (!addCorner(built, v, t, n)) return Plain::Declined;
            token = skipSpaces(end);
            lineFeed = lineFeedAt(token);
            if (lineFeed) break;
        }
        stamp(built, form);
        if (!model_.addBuiltFace()) {
            memoryFailure();
            return Plain::Fail;
        }
        return joinGroups(int32_t(model_._faces._count - 1)) == Outcome::Continue ? Plain::Taken : Plain::Fail;
    }

    Outcome handle(char* line) {
        switch (line[0]) {
            case '#':
                return Outcome::Continue;
            case 'v':
                if (line[1] == 'n') return coordinates(model_._normals, line + 2);
                if (line[1] == 't') return coordinates(model_._textureCoords, line + 2);
                return coordinates(model_._vertices, line + 1);
            case 'g':
                return group(line + 1);
            case 'f':
                return face(line, line + 1);
            default:
                break;
        }
        if (std::strncmp(line, "mtllib", 6) == 0) return materialLibrary(line + 6);
        if (std::strncmp(line, "usemtl", 6) == 0) return selectMaterial(line + 6);
        switch (line[0]) {
            case 's':
                return smoothing(line, line + 1);
            case 'o':
            case ' ':
                return Outcome::Continue;
            default:
                break;
        }
        model_._errorText.append("Line \"").append(line).append("\" in ").append(path_).append(" has error.");
        return Outcome::Continue;
    }

    // Missing numbers are 0; w is always 1.
    Outcome coordinates(PagedArray<Vec4>& array, const char* text) {
        float xyz[3] = {0.0f, 0.0f, 0.0f};
        scanFloats(text, xyz, 3);
        if (!array.append(Vec4{xyz[0], xyz[1], xyz[2], 1.0f})) return memoryFailure();
        return Outcome::Continue;
    }

    Outcome group(const char* text) {
        size_t count = 0;
        for (const char* p = skipBlanks(text); *p; p = skipBlanks(p)) {
            const char* end = wordEnd(p);
            if (count == groupNames_.size()) groupNames_.emplace_back();
            groupNames_[count++].assign(p, end);
            p = end;
        }
        if (count == 0) groupNames_[count++] = kDefaultGroup;
        groupNames_.resize(count);
        groupLists_.clear();  // resolved again by the next face
        return Outcome::Continue;
    }

    Outcome face(const char* line, const char* text) {
        const char* token = skipBlanks(text);
        if (!*token) return Outcome::Continue;
        const FaceForm form = faceFormOf(token, wordEnd(token));
        OBJFace built;
        while (*token) {
            int32_t vertex = 0, texture = 0, normal = 0;
            const char* end = scanCorner(token, form, vertex, texture, normal);
            if (!end) {
                model_._errorText.append("Error for vertex at (").append(line).append(")\n");
                return Outcome::Continue;
            }
            int32_t v = 0, t = 0, n = 0;
            switch (resolveIndex(vertex, model_._vertices._count, v)) {
                case IndexCheck::Zero: return fatal("Vertex 0 invalid at (", line);
                case IndexCheck::Beyond: return fatal("Vertex not found at (", line);
                case IndexCheck::Valid: break;
            }
            if (form.hasTexture) {
                switch (resolveIndex(texture, model_._textureCoords._count, t)) {
                    case IndexCheck::Zero: return fatal("Coordinate of texture 0 invalid at (", line);
                    case IndexCheck::Beyond: return fatal("Coordinate of texture invalid at (", line);
                    case IndexCheck::Valid: break;
                }
            }
            if (form.hasNormal) {
                switch (resolveIndex(normal, model_._normals._count, n)) {
                    case IndexCheck::Zero: return fatal("Normal of vertex 0 invalid at ", line);
                    case IndexCheck::Beyond: return fatal("Usage of non valid normal for vertex at (", line);
                    case IndexCheck::Valid: break;
                }
            }
            if (!addCorner(built, v, t, n)) {
                model_._errorText += "ERROR: Max face vertex count of 8 exceeded.\n";
                return Outcome::Fail;
            }
            token = skipBlanks(end);
        }
        return storeFace(built, form);
    }

    // What a face takes from its line's form and the statements before it.
    void stamp(OBJFace& face, FaceForm form) const {
        face._hasTexture = form.hasTexture ? 1 : 0;
        face._hasNormal = form.hasNormal ? 1 : 0;
        face._smoothingGroup = smoothingGroup_;
        face._materialIndex = material_;
    }

    Outcome storeFace(OBJFace& built, FaceForm form) {
        stamp(built, form);
        if (!model_.addFace(built)) return memoryFailure();
        return joinGroups(int32_t(model_._faces._count - 1));
    }

    // A corner whose vertex the face has already is skipped.
    static bool addCorner(OBJFace& face, int32_t v, int32_t t, int32_t n) {
        for (uint32_t i = 0; i < face._cornerCount; ++i) {
            if (face._vertexIndices[i] == v) return true;
        }
        if (face._cornerCount == kMaxFaceCorners) return false;
        face._vertexIndices[face._cornerCount] = v;
        face._textureIndices[face._cornerCount] = t;
        face._normalIndices[face._cornerCount] = n;
        ++face._cornerCount;
        return true;
    }

    // The lists of the current group names are looked up once per group line,
    // at its first face, which is also when the groups come into being.
    Outcome joinGroups(int32_t faceIndex) {
        if (groupLists_.empty()) {
            for (const std::string& name : groupNames_) {
                FaceIndexList* list = model_.groupFaceList(name);
                if (!list) return memoryFailure();
                groupLists_.push_back(list);
            }
        }
        for (FaceIndexList* list : groupLists_) {
            if (!list->append(faceIndex)) return memoryFailure();
        }
        return Outcome::Continue;
    }

    Outcome smoothing(const char* line, const char* text) {
        const char* word = skipBlanks(text);
        if (!*word) return Outcome::Continue;
        const char* end = wordEnd(word);
        if (end - word == 3 && lower(word[0]) == 'o' && lower(word[1]) == 'f' && lower(word[2]) == 'f') {
            smoothingGroup_ = 0;
            return Outcome::Continue;
        }
        uint32_t number;
        if (scanUnsigned(word, number)) smoothingGroup_ = number;
        if (model_._smoothingGroupCount < kMaxSmoothingGroups) {
            for (uint32_t i = 0; i < model_._smoothingGroupCount; ++i) {
                if (model_._smoothingGroups[i] == smoothingGroup_) return Outcome::Continue;
            }
            model_._smoothingGroups[model_._smoothingGroupCount++] = smoothingGroup_;
            return Outcome::Continue;
        }
        // More distinct numbers than the model records: noted in the log only,
        // on a best-effort basis (a log that can't be written changes nothing).
        if (std::FILE* log = std::fopen(kErrorLogName, "a")) {
            (void)std::fprintf(log, "ERROR: _smoothingGroupCount = %d\n", int(model_._smoothingGroupCount));
            (void)std::fprintf(log, "line = %s\n", line);
            (void)std::fclose(log);
        }
        return Outcome::Continue;
    }

    Outcome materialLibrary(const char* text) {
        const char* word = skipBlanks(text);
        if (!*word) return Outcome::Continue;
        std::vector<Material> list;
        if (!model_.readMTL(directory_ + std::string(word, wordEnd(word)), list, 0)) {
            model_._errorText.clear();
            return Outcome::Continue;
        }
        for (const Material& material : list) {
            if (!model_.addMaterial(material)) return memoryFailure();
        }
        return Outcome::Continue;
    }

    Outcome selectMaterial(const char* text) {
        const char* word = skipBlanks(text);
        if (!*word) {
            material_ = -1;
            return Outcome::Continue;
        }
        scratch_.assign(word, wordEnd(word));
        material_ = model_.findMaterial(scratch_);
        return Outcome::Continue;
    }

    Outcome fatal(const char* text, const char* line) {
        model_._errorText.append(text).append(line).append(") in ").append(path_).append("\n");
        return Outcome::Fail;
    }

    Outcome memoryFailure() {
        outOfMemory();
        return Outcome::Fail;
    }

    OBJModel& model_;
    const std::string& path_;
    const std::string directory_;
    LineReader reader_;
    std::vector<std::string> groupNames_;    // may hold a name more than once
    std::vector<FaceIndexList*> groupLists_;  // parallel to groupNames_ once resolved
    uint32_t smoothingGroup_ = 0;
    int32_t material_ = -1;
    std::string scratch_;
};

}  // namespace

FaceForm faceFormOf(const char* token, const char* end) {
    const char* first = static_cast<const char*>(std::memchr(token, '/', size_t(end - token)));
    if (!first) return {};
    const char* second = static_cast<const char*>(std::memchr(first + 1, '/', size_t(end - first - 1)));
    if (!second) return {true, false};
    if (second == first + 1) return {false, true};
    return {true, true};
}

bool parseCorner(const char* token, const char* end, FaceForm form, int32_t& vertex, int32_t& texture,
                 int32_t& normal) {
    return scanCorner(token, form, vertex, texture, normal) == end;
}

std::string directoryOf(const std::string& path) {
    const size_t last = path.find_last_of("/\\");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

bool readLine(LineReader& reader, char*& line, size_t& length) {
    const bool more = reader.readLine(line, length);
    for (size_t i = 0; i < length; ++i) {
        const char c = line[i];
        if (c == '\0') break;
        line[i] = lower(c);
        if (c == ' ') break;
    }
    return more;
}

bool OBJModel::readOBJ(const std::string& path) {
    _errorText.clear();
    try {
        ObjRead read(*this, path);
        return read.run();
    } catch (const std::exception&) {
        // Out of memory in a text, a name or a map entry.
        try {
            noteOutOfMemory(*this, path);
        } catch (const std::exception&) {
        }
        return false;
    }
}

}  // namespace tollgram::obj
