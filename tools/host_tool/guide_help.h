#pragma once
// help at the tool's prompt: the exports and, for one export, its keys and
// codes, taken from the script author's guide that the tool carries, so the
// two say the same.
#include <string>
#include <vector>

namespace tollgram::host_tool {

// The guide's text (docs/guide.md), compiled in.
extern const char* const kGuideText;

// The guide's section on one export (its heading "#### `Name`" up to the
// next heading), without the heading; empty when the guide has none.
std::string exportHelp(const std::string& exportName);

// Every export the guide describes, in its order, each with its family
// (the heading above it) and the first sentence of its section.
struct ExportSummary {
    std::string family, name, summary;
};
std::vector<ExportSummary> exportSummaries();

// What help prints: with no word the list of exports, with an export's name
// its section.
std::string helpText(const std::string& word);

}  // namespace tollgram::host_tool
