#pragma once
// The OBJ reader's line parser: every line of a file is read here, where it
// lies in the reader's chunk, once: no search for its end first, no copy,
// no keyword lowered. "v", "vt", "vn" and "f" lines, nearly all of a mesh
// file, are read to their records by the coordinate reader and the corner
// readers below; every other line goes to the store (chunk_records.h),
// which keeps it for the join.
//
// A store provides:
//   template <Coordinates> ReadStatus append(const Vec3&);
//   Indices indices() const;       resolves corner indices (below)
//   LineFault commitFace(const FaceBuild&, bool hasTexture, bool hasNormal);
//   ReadStatus faceFault(LineFault, const char*& line, const char* end);
//   ReadStatus otherLine(const char*& line, const char* end);
// Indices::resolve<Coordinates>(written, index) gives the zero-based index
// of an index as written, or the fault.
// faceFault and otherLine move line on to the next line when they return Ok.
#include <cstdint>
#include <cstring>

#include "frame/always_inline.h"
#include "obj/read/number_scan.h"
#include "obj/model/obj_records.h"
#include "obj/read/read_status.h"
#include "obj/read/text_classes.h"


namespace tollgram::obj {

// The three kinds of coordinate line, each with its own array.
enum Coordinates : uint8_t { kPositions = 0, kTextureCoords = 1, kNormals = 2 };

// The kind of a line that starts with "v" or "V", by its second character:
// "vn" and "vt" in any case, every other "v" line a position.
inline Coordinates coordinatesOf(char second) {
    second = lowerAscii(second);
    return second == 'n' ? kNormals : second == 't' ? kTextureCoords : kPositions;
}

// Which indices the corners of a face carry, decided by its first corner.
struct FaceForm {
    bool hasTexture = false;
    bool hasNormal = false;
};

// v: no "/"; v/t: one; v//n: two adjacent; v/t/n: two apart. Only the first
// two "/" decide; a token with more is then invalid for scanCorner.
inline FaceForm faceFormOf(const char* token, const char* end) {
    const char* first = static_cast<const char*>(std::memchr(token, '/', size_t(end - token)));
    if (!first) return {};
    const char* second = static_cast<const char*>(std::memchr(first + 1, '/', size_t(end - first - 1)));
    if (!second) return {true, false};
    if (second == first + 1) return {false, true};
    return {true, true};
}

// The start of the line after the one p lies in: past its line feed, its
// carriage return, or the two of a CR LF pair.
inline const char* lineAfter(const char* p, const char* end) {
    while (p != end && !isLineEnd(*p)) ++p;
    if (p == end) return end;
    return (*p == '\r' && p[1] == '\n') ? p + 2 : p + 1;
}

// Reads one corner token of the form kTexture, kNormal, which ends at the
// next white space or the line's end; the indices are as written (1-based,
// or negative counting back). Any character serves as a separator. Returns
// the token's end, or null when the token doesn't have exactly the form's
// parts.
template <bool kTexture, bool kNormal>
TOLLGRAM_ALWAYS_INLINE const char* scanCorner(const char* token, int32_t& vertex, int32_t& texture, int32_t& normal) {
    const char* p = scanInteger(token, vertex);
    if (!p) return nullptr;
    if constexpr (kTexture || kNormal) {
        if (isWordEnd(*p)) return nullptr;
        ++p;
    }
    if constexpr (kTexture) {
        p = scanInteger(p, texture);
        if (!p) return nullptr;
    }
    if constexpr (kNormal) {
        if (isWordEnd(*p)) return nullptr;
        p = scanInteger(p + 1, normal);
        if (!p) return nullptr;
    }
    return isWordEnd(*p) ? p : nullptr;
}

// The end of a number as scanInteger reads it, sign and all, or null.
inline const char* integerEnd(const char* p) {
    if (*p == '-' || *p == '+') ++p;
    if (!isDigit(*p)) return nullptr;
    do {
        ++p;
    } while (isDigit(*p));
    return p;
}

// The form of a face's first corner. A corner written as v, v/t, v//n or
// v/t/n shows its form in its own structure, read on the way; any other
// token is searched for its "/" (and is then invalid for every form).
inline FaceForm formOfFirstCorner(const char* token) {
    const char* p = integerEnd(token);
    if (p) {
        if (isWordEnd(*p)) return {false, false};
        if (*p == '/') {
            if (p[1] == '/') {
                p = integerEnd(p + 2);
                if (p && isWordEnd(*p)) return {false, true};
            } else if ((p = integerEnd(p + 1)) != nullptr) {
                if (isWordEnd(*p)) return {true, false};
                if (*p == '/' && (p = integerEnd(p + 1)) != nullptr && isWordEnd(*p)) return {true, true};
            }
        }
    }
    return faceFormOf(token, wordEnd(token));
}

// The corners of the face line being read, resolved to zero-based indices.
struct FaceBuild {
    uint32_t count = 0;
    int32_t vertices[kMaxFaceCorners];
    int32_t textures[kMaxFaceCorners];
    int32_t normals[kMaxFaceCorners];
};

// A corner whose vertex the face has already is skipped; false when the
// face would get a ninth.
TOLLGRAM_ALWAYS_INLINE bool addCorner(FaceBuild& face, int32_t v, int32_t t, int32_t n) {
    for (uint32_t i = 0; i < face.count; ++i) {
        if (face.vertices[i] == v) return true;
    }
    if (face.count == kMaxFaceCorners) return false;
    face.vertices[face.count] = v;
    face.textures[face.count] = t;
    face.normals[face.count] = n;
    ++face.count;
    return true;
}

template <typename Store>
class LineParser {
public:
    // Lines are read from a block that ends at end, where a NUL follows.
    LineParser(Store& store, const char* end) : store_(store), end_(end) {}

    // Every line from p to the block's end; stops at the first line that
    // does not give Ok, with stoppedAt at its start.
    ReadStatus lines(const char* p, const char*& stoppedAt) {
        while (p < end_) {
            const char* start = p;
            const ReadStatus status = line(p);
            if (status != ReadStatus::Ok) {
                stoppedAt = start;
                return status;
            }
        }
        stoppedAt = end_;
        return ReadStatus::Ok;
    }

    // The line at p; on Ok, p is moved to the next line. Keywords match in
    // any case (the first character and the second of a "v" line are
    // lowered, as are those of every other keyword by its store).
    ReadStatus line(const char*& p) {
        switch (p[0]) {
            case 'v':
            case 'V':
                switch (coordinatesOf(p[1])) {
                    case kNormals: return coordinates<kNormals>(p, p + 2);
                    case kTextureCoords: return coordinates<kTextureCoords>(p, p + 2);
                    default: return coordinates<kPositions>(p, p + 1);
                }
            case 'f':
            case 'F':
                return face(p);
            case '\n':
            case '\r':  // an empty line
                p = lineAfter(p, end_);
                return ReadStatus::Ok;
            case '#':  // a comment
            case 'o':  // an object name
            case 'O':
            case ' ':  // an indented line, never read
            case '\0':  // nothing before a NUL
                p = lineAfter(p + 1, end_);
                return ReadStatus::Ok;
            default:
                break;
        }
        return store_.otherLine(p, end_);
    }

private:
    // Up to three numbers, the missing ones 0, w always 1; anything after
    // them on the line is ignored.
    template <Coordinates kKind>
    TOLLGRAM_ALWAYS_INLINE ReadStatus coordinates(const char*& line, const char* numbers) {
        float xyz[3] = {0.0f, 0.0f, 0.0f};
        const char* after = scanFloats(numbers, end_, xyz, 3);
        const ReadStatus status = store_.template append<kKind>(Vec3{xyz[0], xyz[1], xyz[2]});
        if (status != ReadStatus::Ok) return status;
        line = lineAfter(after, end_);
        return ReadStatus::Ok;
    }

    ReadStatus face(const char*& line) {
        const char* token = skipBlanks(line + 1);
        if (isContentEnd(*token)) {  // nothing after the keyword: no face
            line = lineAfter(token, end_);
            return ReadStatus::Ok;
        }
        // One corner reader per form, so that no corner asks again which
        // parts it has.
        const FaceForm form = formOfFirstCorner(token);
        LineFault fault;
        if (form.hasTexture) {
            fault = form.hasNormal ? corners<true, true>(token) : corners<true, false>(token);
        } else {
            fault = form.hasNormal ? corners<false, true>(token) : corners<false, false>(token);
        }
        if (fault == LineFault::None) {
            line = lineAfter(token, end_);
            return ReadStatus::Ok;
        }
        return store_.faceFault(fault, line, end_);
    }

    // Reads the corners from token on and stores the face when every corner
    // is valid; token is left at the line's end.
    template <bool kTexture, bool kNormal>
    TOLLGRAM_ALWAYS_INLINE LineFault corners(const char*& token) {
        FaceBuild face;
        auto indices = store_.indices();
        for (;;) {
            int32_t vertex = 0, texture = 0, normal = 0;
            const char* end = scanCorner<kTexture, kNormal>(token, vertex, texture, normal);
            if (!end) return LineFault::InvalidCorner;
            int32_t v = 0, t = 0, n = 0;
            LineFault fault = indices.template resolve<kPositions>(vertex, v);
            if constexpr (kTexture) {
                if (fault == LineFault::None) fault = indices.template resolve<kTextureCoords>(texture, t);
            }
            if constexpr (kNormal) {
                if (fault == LineFault::None) fault = indices.template resolve<kNormals>(normal, n);
            }
            if (fault != LineFault::None) return fault;
            if (!addCorner(face, v, t, n)) return LineFault::TooManyCorners;
            token = skipBlanks(end);
            if (isContentEnd(*token)) break;
        }
        return store_.commitFace(face, kTexture, kNormal);
    }

    Store& store_;
    const char* const end_;
};

// The faults of the index checks, by array.
inline constexpr LineFault kZeroFault[] = {LineFault::VertexZero, LineFault::TextureZero, LineFault::NormalZero};
inline constexpr LineFault kBeyondFault[] = {LineFault::VertexBeyond, LineFault::TextureBeyond, LineFault::NormalBeyond};

}  // namespace tollgram::obj
