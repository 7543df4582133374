#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "frame/export_keys.h"

namespace tollgram {
namespace {

// The key lists name exports the library has, once each, and no list
// repeats a key: a misspelt export name would leave its keys unoffered, a
// repeated key would offer one the export tries only once.
TEST(ExportKeys, NameRealExportsOnceWithDistinctKeys) {
    std::set<std::string> exports;
#define TOLLGRAM_EXPORT(name, failure) exports.insert(#name);
#include "frame/export_table.h"
#undef TOLLGRAM_EXPORT
    std::set<std::string> listed;
    for (const keys::ExportKeys& entry : keys::kExportKeys) {
        EXPECT_EQ(exports.count(entry.exportName), 1u) << entry.exportName;
        EXPECT_TRUE(listed.insert(entry.exportName).second) << entry.exportName << " listed twice";
        std::set<std::string> seen;
        for (const char* key : entry.keys) EXPECT_TRUE(seen.insert(key).second) << entry.exportName << ": " << key;
        EXPECT_FALSE(entry.keys.empty()) << entry.exportName;
    }
}

}  // namespace
}  // namespace tollgram
