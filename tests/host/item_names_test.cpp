#include <gtest/gtest.h>

#include <string>

#include "host/item_names.h"
#include "substitute_host/substitute_host.h"

namespace tollgram::host {
namespace {

TEST(ItemNames, BlanksAreSpaceControlsAndHighBytes) {
    struct Case {
        int byte;
        bool blank;
    };
    const Case cases[] = {{' ', true}, {'\t', true}, {'\n', true}, {1, true},   {31, true},  {0x80, true},
                          {0xC4, true}, {0xFF, true}, {'!', false}, {'A', false}, {'~', false}, {0x7F, false},
                          {0, false}};
    for (const Case& c : cases) EXPECT_EQ(isBlank(static_cast<char>(c.byte)), c.blank) << c.byte;
}

TEST(ItemNames, WordsSpellAPrefixBlanksNotCounting) {
    struct Case {
        const char* candidate;
        const char* words;
        bool match;
    };
    const Case cases[] = {
        {"LoadMesh Now", "Load Mesh", true},
        {"LoadMesh Now", "LoadMesh", true},
        {"LoadMesh Now", "Mesh", false},
        {"Open File", "Open", true},
        {"Open File", "OpenFile", true},
        {"Open File", "OpenFile Extra", false},
        {"Open File", "Open File   ", true},
        {"Open File", "Open File\t\n", true},
        {"Open File", "Open FileX", false},
        {"Open", "Open File", false},
        {"Open File", "open", false},
        {"  Open", "Open", true},
        {"Open", "  Open", true},
        {"O p e n", "Open", true},
        {"Open", "O p e n", true},
        {"\xC4Open", "Open", true},  // a high byte is a blank
        {"Open\xE9Now", "OpenNow", true},
        {"Open", "", true},
        {"", "", true},
        {"", "   ", true},
        {"", "a", false},
        {"Save", "Save As", false},
        {"Save As", "Save", true},
        {"Sa", "Save", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wordsMatch(c.candidate, c.words), c.match) << '"' << c.candidate << "\" / \"" << c.words << '"';
    }
}

// The length field decides whether a record takes part, whatever its text.
TEST(ItemNames, OnlyNameRecordsOfLengthFourOrMoreTakePart) {
    substitute::SubstituteHost host;
    struct Case {
        const char* text;
        int32_t length;
        bool match;  // with the words "Open"
    };
    const Case cases[] = {{"Open File", 9, true}, {"Open File", 4, true}, {"Open File", 3, false},
                          {"Open File", 0, false}, {"Open File", -9, false}, {"Ope", 3, false},
                          {"Op", 4, false}, {"", 4, false}};
    for (const Case& c : cases) {
        uint8_t* record = host.makeNameRecord(c.text);
        substitute::SubstituteHost::set32(record, name_record::kLength, static_cast<uint32_t>(c.length));
        EXPECT_EQ(nameRecordMatches(record, ""), c.length >= 4) << c.text << " " << c.length;
        EXPECT_EQ(nameRecordMatches(record, "Open"), c.match) << c.text << " " << c.length;
    }
    EXPECT_FALSE(nameRecordMatches(nullptr, ""));
}

}  // namespace
}  // namespace tollgram::host
