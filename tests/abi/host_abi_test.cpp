// The host bridge through the real DLL, with Kavrex's records built in this
// 32-bit process by the substitute host.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "abi/abi_dll.h"
#include "substitute_host/substitute_host.h"

namespace {

using tollgram::substitute::SubstituteHost;

TEST(HostAbi, MeshInformation) {
    SubstituteHost host;
    host.setMesh(4, 3);
    host.setGroupNames({"body", "wheel_front_left"}, 32);
    char buffer[32] = {};
    EXPECT_EQ(kavrex::call("GetMesh3DInfo", "groupCount", 0.0, nullptr, 0, host.context()), 2.0f);
    EXPECT_EQ(kavrex::call("GetMesh3DInfo", "groupName", 1.9, buffer, 32, host.context()), 0.0f);
    EXPECT_STREQ(buffer, "wheel_front_left");
    EXPECT_EQ(kavrex::call("GetMesh3DInfo", "groupName", 1.0, buffer, 16, host.context()), 34.0f);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(kavrex::call("GetMesh3DInfo", "groupName", 2.0, buffer, 32, host.context()), -1.0f);

    EXPECT_EQ(kavrex::call("SetMesh3DInfo", "importScaleY", 0.1, nullptr, 0, host.context()), 0.0f);
    EXPECT_EQ(kavrex::bitsOf(host.importScale(1)), 0x3DCCCCCDu);
    EXPECT_EQ(kavrex::bitsOf(kavrex::call("GetMesh3DInfo", "importScaleY", 0.0, nullptr, 0, host.context())),
              0x3DCCCCCDu);
    EXPECT_EQ(kavrex::call("SetMesh3DInfo", "maskValue", 300.0, nullptr, 0, host.context()), 0.0f);
    EXPECT_EQ(kavrex::call("SetMesh3DInfo", "maskValue", 300.0, nullptr, 0, nullptr), -1.0f);

    for (int p = 0; p < 3; ++p) std::memset(host.polygonEntry(p), 0xFF, 4);
    EXPECT_EQ(kavrex::call("SetMesh3DInfo", "smoothAll", 0.0, nullptr, 0, host.context()), 3.0f);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(host.creaseByte(p), 0) << p;
        EXPECT_EQ(host.polygonEntry(p)[3], 0xFF) << p;
    }
    host.setPolygonFlags(3, 8);
    EXPECT_EQ(kavrex::call("SetMesh3DInfo", "smoothAll", 0.0, nullptr, 0, host.context()), -1.0f);
}

TEST(HostAbi, AlphaAndTextureNames) {
    SubstituteHost host;
    host.setAlphaName("old alpha");
    host.setTextureName("old texture");
    char buffer[64] = {};
    EXPECT_EQ(kavrex::call("RenameTexture", "Rust Diffuse", 0.0, nullptr, 0, host.context()), 0.0f);
    EXPECT_EQ(kavrex::call("GetTextureInfo", "name", 0.0, buffer, 64, host.context()), 0.0f);
    EXPECT_STREQ(buffer, "Rust Diffuse");
    const uint8_t* name = tollgram::host::pointerAt(host.textureRecord(), tollgram::host::texture::kName);
    EXPECT_EQ(tollgram::host::readI32(name, tollgram::host::name_record::kLength), 12);
    EXPECT_EQ(kavrex::call("RenameAlpha", "", 0.0, nullptr, 0, host.context()), 0.0f);
    EXPECT_EQ(kavrex::call("GetAlphaInfo", "name", 0.0, buffer, 64, host.context()), 0.0f);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(kavrex::call("GetAlphaInfo", "Name", 0.0, buffer, 64, host.context()), -1.0f);
}

TEST(HostAbi, MoveButtonAfter) {
    SubstituteHost host;
    uint8_t* menu = host.makeNode("Menu Bar");
    uint8_t* open = host.makeNode("Open File");
    uint8_t* save = host.makeNode("Save File");
    uint8_t* close = host.makeNode("Close All");
    host.linkChildren(nullptr, {menu});
    host.linkChildren(menu, {open, save, close});
    host.setStartNode(close);
    char after[] = "Close";
    EXPECT_EQ(kavrex::call("MoveButtonAfter", "Open", 0.0, after, 0, host.context()), 0.0f);
    EXPECT_EQ(SubstituteHost::firstChildOf(menu), save);
    EXPECT_EQ(SubstituteHost::chainFrom(save), (std::vector<uint8_t*>{save, close, open}));
    char self[] = "Open File";
    EXPECT_EQ(kavrex::call("MoveButtonAfter", "Open", 0.0, self, 0, host.context()), -1.0f);
    char child[] = "Save";
    EXPECT_EQ(kavrex::call("MoveButtonAfter", "Menu", 0.0, child, 0, host.context()), -1.0f);
    EXPECT_EQ(SubstituteHost::chainFrom(menu), (std::vector<uint8_t*>{menu}));
}

// An OBJ file in the process's temporary directory, removed afterwards.
class TempObjFile {
public:
    explicit TempObjFile(const std::string& text) {
        char directory[MAX_PATH];
        char file[MAX_PATH];
        if (GetTempPathA(MAX_PATH, directory) == 0 || GetTempFileNameA(directory, "tgm", 0, file) == 0) return;
        path_ = file;
        if (std::FILE* out = std::fopen(file, "wb")) {
            std::fwrite(text.data(), 1, text.size(), out);
            std::fclose(out);
        }
    }
    ~TempObjFile() {
        if (!path_.empty()) DeleteFileA(path_.c_str());
    }
    TempObjFile(const TempObjFile&) = delete;
    TempObjFile& operator=(const TempObjFile&) = delete;
    const char* path() const { return path_.c_str(); }

private:
    std::string path_;
};

// Two quads side by side, each its own group and smoothing group.
const char* const kTwoQuads =
    "v 0 0 0\nv 1 0 0\nv 2 0 0\nv 0 1 0\nv 1 1 0\nv 2 1 0\n"
    "g A\ns 1\nf 1 2 5 4\n"
    "g B\ns 2\nf 2 3 6 5\n";

TEST(HostAbi, MaskAndCreaseFromTheLoadedModel) {
    const TempObjFile file(kTwoQuads);
    ASSERT_EQ(kavrex::call("LoadOBJFile", file.path()), 2.0f);
    SubstituteHost host;
    host.setMesh(6, 2);
    host.polygonEntry(0)[2] = 0x40;
    EXPECT_EQ(kavrex::call("SetMesh3DFromOBJGroup", "crease", 1.0, nullptr, 0, host.context()), 1.0f);
    EXPECT_EQ(host.creaseByte(0), 0x4C);
    EXPECT_EQ(kavrex::call("SetMesh3DFromOBJGroup", "crease", 2.0, nullptr, 0, host.context()), 1.0f);
    EXPECT_EQ(host.creaseByte(1), 0xC0);
    EXPECT_EQ(kavrex::call("SetMesh3DInfo", "smoothAll", 0.0, nullptr, 0, host.context()), 2.0f);
    EXPECT_EQ(kavrex::call("SetMesh3DFromOBJSmoothGroup", "crease", 2.0, nullptr, 0, host.context()), 1.0f);
    EXPECT_EQ(host.creaseByte(0), 0);
    EXPECT_EQ(host.creaseByte(1), 0xC0);

    EXPECT_EQ(kavrex::call("SetMesh3DInfo", "maskValue", -1.0, nullptr, 0, host.context()), 0.0f);
    EXPECT_EQ(kavrex::call("SetMesh3DFromOBJGroup", "mask", 1.9, nullptr, 0, host.context()), 4.0f);
    const uint8_t expected[] = {255, 255, 0, 255, 255, 0};
    for (int v = 0; v < 6; ++v) EXPECT_EQ(host.maskByte(v), expected[v]) << v;
    EXPECT_EQ(kavrex::call("SetMesh3DFromOBJSmoothGroup", "mask", 3.0, nullptr, 0, host.context()), -1.0f);

    SubstituteHost larger;  // one vertex more than the model: not its mesh
    larger.setMesh(7, 2);
    EXPECT_EQ(kavrex::call("SetMesh3DFromOBJGroup", "mask", 1.0, nullptr, 0, larger.context()), -3.0f);
    EXPECT_EQ(kavrex::call("SetMesh3DFromOBJGroup", "crease", 1.0, nullptr, 0, larger.context()), -3.0f);
    for (int v = 0; v < 7; ++v) EXPECT_EQ(larger.maskByte(v), 0) << v;

    EXPECT_EQ(kavrex::call("FreeOBJModel"), 0.0f);
    EXPECT_EQ(kavrex::call("SetMesh3DFromOBJGroup", "mask", 1.0, nullptr, 0, host.context()), -1.0f);
}

}  // namespace
