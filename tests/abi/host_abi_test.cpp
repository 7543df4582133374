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

// A thread of a Windows process has a stack of about a megabyte: a search
// that recursed along the chain would not survive this.
TEST(HostAbi, MoveButtonAfterInALongChain) {
    constexpr int kItems = 100000;
    SubstituteHost host;
    uint8_t* menu = host.makeNode("Long Menu");
    std::vector<uint8_t*> chain;
    char name[32];
    for (int i = 0; i < kItems; ++i) {
        std::snprintf(name, sizeof name, "Item %06d", i);
        chain.push_back(host.makeNode(name));
    }
    host.linkChildren(nullptr, {menu});
    host.linkChildren(menu, chain);
    host.setStartNode(chain[kItems / 2]);
    char after[] = "Item 000000";
    EXPECT_EQ(kavrex::call("MoveButtonAfter", "Item 099999", 0.0, after, 0, host.context()), 0.0f);
    EXPECT_EQ(SubstituteHost::nextOf(chain[0]), chain.back());
    EXPECT_EQ(SubstituteHost::nextOf(chain[kItems - 2]), nullptr);
    char missing[] = "Missing";
    EXPECT_EQ(kavrex::call("MoveButtonAfter", "Item 000001", 0.0, missing, 0, host.context()), -1.0f);
}

}  // namespace
