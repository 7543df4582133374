#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/host_call.h"
#include "substitute_host/substitute_host.h"

namespace tollgram {
namespace {

using substitute::SubstituteHost;
using test::call;

// The alpha and the texture behave alike; each case runs for both.
struct Material {
    const char* name;
    test::Export rename;
    test::Export info;
    uint8_t* (SubstituteHost::*record)();
    uint32_t nameField;
};

const Material kMaterials[] = {
    {"alpha", RenameAlpha, GetAlphaInfo, &SubstituteHost::alphaRecord, host::alpha::kName},
    {"texture", RenameTexture, GetTextureInfo, &SubstituteHost::textureRecord, host::texture::kName},
};

const uint8_t* nameRecord(SubstituteHost& host, const Material& m) {
    return host::pointerAt((host.*m.record)(), m.nameField);
}

int32_t storedLength(SubstituteHost& host, const Material& m) {
    return host::readI32(nameRecord(host, m), host::name_record::kLength);
}

TEST(MaterialNames, RenameStoresTextThenLength) {
    const std::string longest(255, 'n');
    const std::string tooLong(256, 'n');
    struct Case {
        std::string text;
        std::string stored;
    };
    const Case cases[] = {{"Skin diffuse", "Skin diffuse"}, {"", ""}, {longest, longest}, {tooLong, ""}};
    for (const Material& m : kMaterials) {
        for (const Case& c : cases) {
            SubstituteHost host;
            (host.*m.record)();
            host.setAlphaName("old name");
            host.setTextureName("old name");
            EXPECT_EQ(call(m.rename, c.text.c_str(), 0.0, host.context()), 0.0f) << m.name << " " << c.text.size();
            EXPECT_EQ(SubstituteHost::nameOf(nameRecord(host, m)), c.stored) << m.name << " " << c.text.size();
            EXPECT_EQ(storedLength(host, m), static_cast<int32_t>(c.stored.size())) << m.name << " " << c.text.size();
        }
    }
}

TEST(MaterialNames, RenameNeedsTextRecordAndNameRecord) {
    for (const Material& m : kMaterials) {
        SubstituteHost host;
        EXPECT_EQ(call(m.rename, "new", 0.0, host.context()), -1.0f) << m.name << ": no record";
        EXPECT_EQ(call(m.rename, "new", 0.0, nullptr), -1.0f) << m.name << ": no context";
        uint8_t* record = (host.*m.record)();
        host.setAlphaName("kept");
        host.setTextureName("kept");
        EXPECT_EQ(call(m.rename, nullptr, 0.0, host.context()), -1.0f) << m.name << ": no text";
        EXPECT_EQ(SubstituteHost::nameOf(nameRecord(host, m)), "kept") << m.name;
        EXPECT_EQ(storedLength(host, m), 4) << m.name;
        SubstituteHost::set32(record, m.nameField, 0);
        EXPECT_EQ(call(m.rename, "new", 0.0, host.context()), -1.0f) << m.name << ": no name record";
    }
}

// A script may pass the name it just read back in; the source then lies in
// the very field being written.
TEST(MaterialNames, RenameFromItsOwnText) {
    for (const Material& m : kMaterials) {
        SubstituteHost host;
        host.setAlphaName("same");
        host.setTextureName("same");
        const char* own = reinterpret_cast<const char*>(nameRecord(host, m)) + host::name_record::kText;
        EXPECT_EQ(call(m.rename, own, 0.0, host.context()), 0.0f) << m.name;
        EXPECT_EQ(SubstituteHost::nameOf(nameRecord(host, m)), "same") << m.name;
    }
}

TEST(MaterialNames, InfoCopiesTheNameWhateverTheCopyReports) {
    struct Case {
        const char* key;
        int32_t bufferSize;
        float result;
        std::string buffer;
    };
    const std::string name = "Wood_Bark_01";
    const Case cases[] = {
        {"name", 64, 0.0f, name},          {"name", 13, 0.0f, name},         {"name", 12, 0.0f, ""},
        {"name", 0, 0.0f, "unchanged"},    {"Name", 64, -1.0f, "unchanged"}, {"width", 64, -1.0f, "unchanged"},
        {"name ", 64, -1.0f, "unchanged"},
    };
    for (const Material& m : kMaterials) {
        for (const Case& c : cases) {
            SubstituteHost host;
            host.setAlphaName(name);
            host.setTextureName(name);
            char buffer[64] = "unchanged";
            EXPECT_EQ(call(m.info, c.key, 0.0, host.context(), buffer, c.bufferSize), c.result)
                << m.name << " " << c.key << " " << c.bufferSize;
            EXPECT_EQ(std::string(buffer), c.buffer) << m.name << " " << c.key << " " << c.bufferSize;
        }
    }
}

TEST(MaterialNames, InfoNeedsKeyRecordBufferAndNameRecord) {
    for (const Material& m : kMaterials) {
        SubstituteHost host;
        char buffer[16] = "unchanged";
        EXPECT_EQ(call(m.info, "name", 0.0, host.context(), buffer, 16), -1.0f) << m.name << ": no record";
        EXPECT_EQ(call(m.info, "name", 0.0, nullptr, buffer, 16), -1.0f) << m.name << ": no context";
        uint8_t* record = (host.*m.record)();
        EXPECT_EQ(call(m.info, nullptr, 0.0, host.context(), buffer, 16), -1.0f) << m.name << ": no key";
        EXPECT_EQ(call(m.info, "name", 0.0, host.context(), nullptr, 16), -1.0f) << m.name << ": no buffer";
        SubstituteHost::set32(record, m.nameField, 0);
        EXPECT_EQ(call(m.info, "name", 0.0, host.context(), buffer, 16), -1.0f) << m.name << ": no name record";
        EXPECT_STREQ(buffer, "unchanged") << m.name;
    }
}

// A host name that fills all 256 bytes without a terminator is read no
// further than its field.
TEST(MaterialNames, InfoReadsNoFurtherThanTheNameField) {
    for (const Material& m : kMaterials) {
        SubstituteHost host;
        (host.*m.record)();
        uint8_t* record = const_cast<uint8_t*>(nameRecord(host, m));
        std::memset(record + host::name_record::kText, 'z', host::name_record::kTextCapacity);
        std::vector<char> buffer(400, 'q');
        EXPECT_EQ(call(m.info, "name", 0.0, host.context(), buffer.data(), 400), 0.0f) << m.name;
        EXPECT_EQ(std::string(buffer.data()), std::string(256, 'z')) << m.name;
    }
}

}  // namespace
}  // namespace tollgram
