#include "obj/write/obj_writer.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

#include "obj/write/coordinate_text.h"
#include "obj/model_queries.h"
#include "obj/write/text_file_writer.h"

namespace tollgram::obj {

namespace {

constexpr int32_t kNoMaterial = -1;

// vertexCount and faceCount as the header states them; the material count is
// always the whole model's.
void writeHeader(TextFileWriter& out, const OBJModel& model, uint32_t vertexCount, uint32_t faceCount) {
    out.text("# File Created by Tollgram for Kavrex");
    out.lineEnd();
    out.text(kWriterAddressLine);
    out.lineEnd();
    out.text("#Vertex Count ");
    out.unsignedNumber(vertexCount);
    out.lineEnd();
    out.text("#Face Count ");
    out.unsignedNumber(faceCount);
    out.lineEnd();
    out.text("#Material Count ");
    out.unsignedNumber(static_cast<uint32_t>(model._materials.size()));
    out.lineEnd();
}

// "v x y z " and the like: three coordinates, each followed by a blank,
// put together in the writer's own buffer.
constexpr size_t kVectorLineCapacity = 4 + 3 * (kCoordinateTextCapacity + 1);

void writeVectorLine(TextFileWriter& out, std::string_view keyword, const Vec3& v) {
    char* const line = out.lineSpace(kVectorLineCapacity);
    char* end = std::copy(keyword.begin(), keyword.end(), line);
    for (float coordinate : {v.x, v.y, v.z}) {
        end += formatCoordinate(coordinate, end);
        *end++ = ' ';
    }
    out.endLine(end);
}

void writeVectors(TextFileWriter& out, std::string_view keyword, const PagedArray<Vec3>& array) {
    // Block by block, so the loop does no division per element.
    uint32_t left = array._count;
    for (const Vec3* block : array._blocks) {
        const uint32_t inBlock = std::min(left, array._blockSize);
        for (uint32_t i = 0; i < inBlock; ++i) writeVectorLine(out, keyword, block[i]);
        left -= inBlock;
        if (left == 0) break;
    }
}

void writeVertexRange(TextFileWriter& out, const OBJModel& model, VertexRange range) {
    for (uint32_t i = 0; i < range.count; ++i) writeVectorLine(out, "v ", model._vertices.at(range.first + i));
}

void writeGroupLine(TextFileWriter& out, const std::string& name) {
    out.text("g ", 2);
    out.text(name.data(), name.size());
    out.lineEnd();
}

// The "usemtl" line when the face's material differs from the one in force.
// A face without a material (or with an index the model does not hold)
// names none: nothing is written for it, and the next face with a material
// states its material again, since for a reader the earlier one would
// otherwise seem to continue without a break.
void writeMaterialChange(TextFileWriter& out, const OBJModel& model, int32_t material, int32_t& lastMaterial) {
    if (material == lastMaterial) return;
    if (material < 0 || static_cast<size_t>(material) >= model._materials.size()) {
        lastMaterial = kNoMaterial;
        return;
    }
    const std::string& name = model._materials[static_cast<size_t>(material)]._name;
    out.text("usemtl ");
    out.text(name.data(), name.size());
    out.lineEnd();
    lastMaterial = material;
}

// Longest face line: "f " and eight corners of three 10-digit numbers,
// two slashes and a blank each.
constexpr size_t kFaceLineCapacity = 2 + kMaxFaceCorners * (3 * 10 + 3);

char* putNumber(char* out, uint32_t number) { return std::to_chars(out, out + 10, number).ptr; }

char* putIndex(char* out, int32_t zeroBased) { return putNumber(out, static_cast<uint32_t>(zeroBased) + 1u); }

// A corner's index text made once: meshes often give a corner the same
// vertex, texture and normal index, and copying the digits is cheaper than
// making them again. Copies are of the whole fixed size, so they need that
// much room behind the line's last digit.
struct IndexText {
    static constexpr size_t kSize = 16;
    char digits[kSize] = {};  // copied whole, so no byte of it is left unset
    size_t length;

    explicit IndexText(int32_t zeroBased) : length(static_cast<size_t>(putIndex(digits, zeroBased) - digits)) {}
    char* put(char* out) const {
        std::memcpy(out, digits, kSize);
        return out + length;
    }
};

char* putCornerIndex(char* out, int32_t index, int32_t vertex, const IndexText& vertexText) {
    return index == vertex ? vertexText.put(out) : putIndex(out, index);
}

// Corners with the face's own 1-based indices: v, v/t, v/t/n or v//n.
void writeWholeModelFace(TextFileWriter& out, const FaceCorners& face) {
    char* const line = out.lineSpace(kFaceLineCapacity + IndexText::kSize);
    char* end = line;
    *end++ = 'f';
    const uint32_t corners = face.count;
    for (uint32_t c = 0; c < corners; ++c) {
        const int32_t vertex = face.vertices[c];
        const IndexText vertexText(vertex);
        *end++ = ' ';
        end = vertexText.put(end);
        if (face.textures) {
            *end++ = '/';
            end = putCornerIndex(end, face.textures[c], vertex, vertexText);
            if (face.normals) {
                *end++ = '/';
                end = putCornerIndex(end, face.normals[c], vertex, vertexText);
            }
        } else if (face.normals) {
            *end++ = '/';
            *end++ = '/';
            end = putCornerIndex(end, face.normals[c], vertex, vertexText);
        }
    }
    if (corners == 0) *end++ = ' ';
    out.endLine(end);
}

// Corners renumbered into the written range; texture and normal indices
// refer to arrays a subset file does not hold, so they are dropped.
void writeSubsetFace(TextFileWriter& out, const FaceCorners& face, uint32_t first) {
    char* const line = out.lineSpace(kFaceLineCapacity);
    char* end = line;
    *end++ = 'f';
    const uint32_t corners = face.count;
    for (uint32_t c = 0; c < corners; ++c) {
        *end++ = ' ';
        end = putNumber(end, static_cast<uint32_t>(face.vertices[c]) - first + 1u);
    }
    if (corners == 0) *end++ = ' ';
    out.endLine(end);
}

ModelWrite modelWriteOf(platform::WholeFileWrite written) {
    return written == platform::WholeFileWrite::Written ? ModelWrite::Written : ModelWrite::FileNotWritten;
}

}  // namespace

ModelWrite writeWholeModel(const OBJModel& model, const char* path) {
    return modelWriteOf(writeTextFile(path, [&](TextFileWriter& out) {
        writeHeader(out, model, model._vertices._count, model._faces._count);
        writeVectors(out, "v ", model._vertices);
        writeVectors(out, "vt ", model._textureCoords);
        writeVectors(out, "vn ", model._normals);

        // Membership of the current group is followed by a cursor through its
        // list; the first group of a face comes from an index built once, so
        // neither grows with the number of groups.
        FirstGroupIndex firstGroups;
        firstGroups.build(model);
        const std::string* currentGroup = &firstGroups.nameOfFace(model, 0);
        FaceListCursor currentList(findGroupFaceList(model, *currentGroup), 0);
        writeGroupLine(out, *currentGroup);

        int32_t lastMaterial = kNoMaterial;
        uint32_t left = model._faces._count;
        int32_t faceIndex = 0;
        for (const OBJFace* block : model._faces._blocks) {
            const uint32_t inBlock = std::min(left, model._faces._blockSize);
            for (uint32_t i = 0; i < inBlock; ++i, ++faceIndex) {
                const OBJFace& face = block[i];
                if (!currentList.holds(faceIndex)) {
                    const std::string& name = firstGroups.nameOfFace(model, faceIndex);
                    if (name != *currentGroup) {
                        currentGroup = &name;
                        currentList = FaceListCursor(findGroupFaceList(model, name), faceIndex);
                        writeGroupLine(out, name);
                    }
                }
                writeMaterialChange(out, model, face._materialIndex, lastMaterial);
                writeWholeModelFace(out, cornersOf(model, face));
            }
            left -= inBlock;
            if (left == 0) break;
        }
    }));
}

ModelWrite writeGroup(const OBJModel& model, const char* path, uint32_t groupIndex) {
    const VertexRange range = groupVertexRange(model, groupIndex);
    if (range.count == 0) return ModelWrite::EmptySubset;
    const std::string& name = model._groupNames[groupIndex];
    const FaceIndexList* list = findGroupFaceList(model, name);
    if (list == nullptr) return ModelWrite::EmptySubset;
    return modelWriteOf(writeTextFile(path, [&](TextFileWriter& out) {
        writeHeader(out, model, range.count, static_cast<uint32_t>(list->size()));
        writeVertexRange(out, model, range);
        writeGroupLine(out, name);
        int32_t lastMaterial = kNoMaterial;
        for (int32_t faceIndex : *list) {
            // An index beyond the stored faces is an empty face.
            const OBJFace* face = model._faces.find(static_cast<uint32_t>(faceIndex));
            writeMaterialChange(out, model, face ? face->_materialIndex : kNoMaterial, lastMaterial);
            writeSubsetFace(out, face ? cornersOf(model, *face) : FaceCorners{}, range.first);
        }
    }));
}

ModelWrite writeSmoothingGroup(const OBJModel& model, const char* path, uint32_t number) {
    const VertexRange range = smoothingGroupVertexRange(model, number);
    const uint32_t faceCount = smoothingGroupFaceCount(model, number);
    if (range.count == 0 || faceCount == 0) return ModelWrite::EmptySubset;
    return modelWriteOf(writeTextFile(path, [&](TextFileWriter& out) {
        writeHeader(out, model, range.count, faceCount);
        writeVertexRange(out, model, range);
        writeGroupLine(out, std::to_string(number));
        int32_t lastMaterial = kNoMaterial;
        for (uint32_t i = 0; i < model._faces._count; ++i) {
            const OBJFace& face = *model._faces.find(i);
            if (face._smoothingGroup != number) continue;
            writeMaterialChange(out, model, face._materialIndex, lastMaterial);
            writeSubsetFace(out, cornersOf(model, face), range.first);
        }
    }));
}

}  // namespace tollgram::obj
