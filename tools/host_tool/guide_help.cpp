#include "host_tool/guide_help.h"

#include <algorithm>
#include <sstream>

#include "host_tool/hints.h"

namespace tollgram::host_tool {

namespace {

constexpr const char* kReferenceHeading = "## Every export";

struct Heading {
    int level = 0;  // number of leading '#', 0 for a line that is none
    std::string text;
};

Heading headingOf(const std::string& line) {
    Heading heading;
    size_t hashes = 0;
    while (hashes < line.size() && line[hashes] == '#') ++hashes;
    if (hashes == 0 || hashes >= line.size() || line[hashes] != ' ') return heading;
    heading.level = static_cast<int>(hashes);
    heading.text = line.substr(hashes + 1);
    return heading;
}

// "`Name`" -> "Name"; other headings as they are.
std::string unquoted(const std::string& text) {
    if (text.size() >= 2 && text.front() == '`' && text.back() == '`') return text.substr(1, text.size() - 2);
    return text;
}

std::vector<std::string> guideLines() {
    std::vector<std::string> lines;
    std::istringstream text{std::string(kGuideText)};
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string firstSentence(const std::string& paragraph) {
    const size_t end = paragraph.find(". ");
    return end == std::string::npos ? paragraph : paragraph.substr(0, end + 1);
}

}  // namespace

std::string exportHelp(const std::string& exportName) {
    const std::vector<std::string> lines = guideLines();
    bool inReference = false;
    std::string section;
    bool inSection = false;
    for (const std::string& line : lines) {
        const Heading heading = headingOf(line);
        if (heading.level == 2) inReference = line == kReferenceHeading;
        if (inSection) {
            if (heading.level != 0) break;
            section += line + "\n";
        } else if (inReference && heading.level == 4 && unquoted(heading.text) == exportName) {
            inSection = true;
        }
    }
    while (!section.empty() && section.front() == '\n') section.erase(0, 1);
    while (section.size() >= 2 && section[section.size() - 2] == '\n') section.pop_back();
    return section;
}

std::vector<ExportSummary> exportSummaries() {
    std::vector<ExportSummary> summaries;
    bool inReference = false;
    std::string family, paragraph;
    bool wantSummary = false;
    for (const std::string& line : guideLines()) {
        const Heading heading = headingOf(line);
        if (heading.level == 2) inReference = line == kReferenceHeading;
        if (!inReference) continue;
        if (heading.level == 3) family = heading.text;
        if (heading.level != 0) {
            if (wantSummary) summaries.back().summary = firstSentence(paragraph);
            wantSummary = false;
            paragraph.clear();
        }
        if (heading.level == 4) {
            summaries.push_back({family, unquoted(heading.text), {}});
            wantSummary = true;
        } else if (wantSummary && heading.level == 0) {
            // The section's first paragraph, its lines joined.
            if (!line.empty()) {
                paragraph += (paragraph.empty() ? "" : " ") + line;
            } else if (!paragraph.empty()) {
                summaries.back().summary = firstSentence(paragraph);
                wantSummary = false;
            }
        }
    }
    if (wantSummary) summaries.back().summary = firstSentence(paragraph);
    return summaries;
}

namespace {
constexpr size_t kHelpWidth = 80;
constexpr size_t kNameColumn = 30;

// text's words in lines of at most kHelpWidth columns, the first starting
// at column `at`, the others indented to kNameColumn.
std::string wrapped(const std::string& text, size_t at) {
    std::istringstream words(text);
    std::string out, word;
    size_t column = at;
    bool first = true;
    while (words >> word) {
        if (!first && column + 1 + word.size() > kHelpWidth) {
            out += "\n" + std::string(kNameColumn, ' ');
            column = kNameColumn;
        } else if (!first) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        first = false;
    }
    return out + "\n";
}
}  // namespace

std::string helpText(const std::string& word) {
    if (word.empty()) {
        std::string text = "The exports of Tollgram (help NAME for one of them):\n";
        std::string family;
        for (const ExportSummary& summary : exportSummaries()) {
            if (summary.family != family) {
                family = summary.family;
                text += "\n" + family + "\n";
            }
            const std::string name = "  " + summary.name;
            text += name + std::string(name.size() < kNameColumn ? kNameColumn - name.size() : 1, ' ') +
                    wrapped(summary.summary, std::max(name.size() + 1, kNameColumn));
        }
        text += "\nTool commands: help, help NAME, quit (or the end of input).\n";
        return text;
    }
    const std::string section = exportHelp(word);
    if (section.empty()) {
        const std::string answer = notAnExport(word);
        return answer + (answer.back() == '?' ? " " : "; ") + "help lists them.\n";
    }
    return word + "\n\n" + section;
}

}  // namespace tollgram::host_tool
