#pragma once
// A stand-in for Kavrex's records: builds a HostContext and the records it
// reaches at their exact byte offsets, for tests and tools. Every record
// lies below 4 GiB, so that its 32-bit pointer fields can name it from a
// 64-bit process too. Records are zero-filled; all memory belongs to the
// SubstituteHost and goes with it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/records.h"

namespace tollgram::substitute {

// Sizes large enough for every field the library reads.
inline constexpr size_t kContextSize = 0x40;
inline constexpr size_t kInterfaceRecordSize = 0x220;
inline constexpr size_t kNodeSize = 0xD0;
inline constexpr size_t kControlSize = 0x40;
inline constexpr size_t kNameRecordSize = 0x14 + 256;
inline constexpr size_t kAlphaRecordSize = 0x20;
inline constexpr size_t kTextureRecordSize = 0x70;
inline constexpr size_t kMeshRecordSize = 0x260;
inline constexpr size_t kHostArraySize = 0x60;
inline constexpr size_t kBufferRecordSize = 0x30;

class SubstituteHost {
public:
    SubstituteHost();
    ~SubstituteHost();
    SubstituteHost(const SubstituteHost&) = delete;
    SubstituteHost& operator=(const SubstituteHost&) = delete;

    // The HostContext to pass as an export's context argument.
    uint8_t* context() { return context_; }

    // Zero-filled memory below 4 GiB, 16-byte aligned.
    uint8_t* allocate(size_t bytes);

    // Field writes at byte offsets.
    static void set32(void* record, uint32_t offset, uint32_t value);
    static void set16(void* record, uint32_t offset, uint16_t value);
    static void setFloat(void* record, uint32_t offset, float value);
    static void setPointer(void* record, uint32_t offset, const void* target);  // target below 4 GiB or null

    // A name record holding text (at most 255 bytes kept) and its length.
    uint8_t* makeNameRecord(const std::string& text);

    // A host array of count elements of elementSize bytes, with its buffer
    // record and zero-filled elements.
    uint8_t* makeHostArray(int32_t count, int32_t elementSize);

    // The alpha and texture records, created on first use and hung on the
    // context.
    uint8_t* alphaRecord();
    uint8_t* textureRecord();

    // The current texture: width × height pixels of bitsPerPixel bits, row 0
    // first; pixels are copied. Width and height are stored in 16.16.
    uint8_t* setTexture(int32_t width, int32_t height, int32_t bitsPerPixel, const void* pixels);
    void setTextureName(const std::string& name);
    void setAlphaName(const std::string& name);

    // The first pixel of the current texture, or null.
    uint8_t* texturePixels();

    // The current mesh. The mesh record is created on first use and hung on
    // the context; each setter below replaces the array it names.
    uint8_t* meshRecord();

    // The vertex flag array: count zero-filled 8-byte entries.
    uint8_t* setVertexFlags(int32_t count);

    // The polygon flag array: count zero-filled entries of elementSize bytes
    // (Kavrex's are 4; other sizes are for testing the library's checks).
    uint8_t* setPolygonFlags(int32_t count, int32_t elementSize = 4);

    // The group-name array: one entry of elementSize bytes per name, each
    // name cut to elementSize - 1 bytes and terminated.
    uint8_t* setGroupNames(const std::vector<std::string>& names, int32_t elementSize = 64);

    // A mesh as Kavrex makes it from an OBJ file with these counts: zeroed
    // vertex and polygon flags, no group names, import scale 1 and offset 0.
    void setMesh(int32_t vertexCount, int32_t polygonCount);

    void setImportScale(float x, float y, float z);
    void setImportOffset(float x, float y, float z);
    float importScale(int axis);   // 0 = X, 1 = Y, 2 = Z
    float importOffset(int axis);

    // Entries of the flag arrays, for reading back what the library wrote.
    // Throw std::out_of_range for a missing array or an index outside it.
    uint8_t* vertexEntry(int32_t vertex);
    uint8_t* polygonEntry(int32_t polygon);
    uint8_t maskByte(int32_t vertex) { return vertexEntry(vertex)[host::mesh::kVertexMaskByte]; }
    uint8_t creaseByte(int32_t polygon) { return polygonEntry(polygon)[host::mesh::kPolygonCreaseByte]; }

    // The address of element 0 of a host array, or null.
    static uint8_t* elementsOf(const void* hostArray);

    // The interface tree. The interface record is created on first use and
    // hung on the context.
    uint8_t* interfaceRecord();
    void setStartNode(const void* node);

    // A node without links or control; with its own name record when
    // ownName is not null.
    uint8_t* makeNode(const char* ownName = nullptr);

    // Gives node a control record of the kind with up to two name records
    // (a null name: no record). Returns the control record.
    uint8_t* setControl(void* node, int16_t kind, const char* firstName = nullptr, const char* secondName = nullptr);

    // Makes nodes the child chain of parent, in order: parent, next and
    // previous links of every node are set, and parent's first child. A null
    // parent makes a chain of top-level nodes.
    void linkChildren(void* parent, const std::vector<uint8_t*>& nodes);

    // The item array of a kind-1007 container's node.
    void setItems(void* node, const std::vector<uint8_t*>& items);

    // Links as the host holds them.
    static uint8_t* parentOf(const void* node);
    static uint8_t* firstChildOf(const void* node);
    static uint8_t* nextOf(const void* node);
    static uint8_t* previousOf(const void* node);

    // The nodes from first along next links, at most limit of them (a
    // cyclic chain ends there).
    static std::vector<uint8_t*> chainFrom(const void* first, size_t limit = 1000000);

    // The text of a name record.
    static std::string nameOf(const void* nameRecord);

private:
    struct Chunk {
        uint8_t* base;
        size_t size;
        size_t used;
    };
    std::vector<Chunk> chunks_;
    uint8_t* context_ = nullptr;
};

}  // namespace tollgram::substitute
