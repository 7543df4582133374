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
