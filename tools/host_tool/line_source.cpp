#include "host_tool/line_source.h"

#include <cstdlib>
#include <iostream>

#if defined(TOLLGRAM_LINE_EDITING)
#include <editline/readline.h>
#endif

namespace tollgram::host_tool {

namespace {
constexpr const char* kPrompt = "tollgram> ";
}

bool StreamLines::next(std::string& line) {
    if (prompt_) {
        std::fputs(kPrompt, out_);
        std::fflush(out_);
    }
    if (!std::getline(in_, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

#if defined(TOLLGRAM_LINE_EDITING)
namespace {
class EditedLines : public LineSource {
public:
    explicit EditedLines(std::FILE* out) : out_(out) {}
    bool next(std::string& line) override {
        std::fflush(out_);
        char* typed = readline(kPrompt);
        if (typed == nullptr) return false;
        line = typed;
        if (!line.empty()) add_history(typed);
        std::free(typed);
        return true;
    }

private:
    std::FILE* out_;
};
}  // namespace

std::unique_ptr<LineSource> terminalLines(std::FILE* out) { return std::make_unique<EditedLines>(out); }
bool hasLineEditing() { return true; }
#else
// The Windows console edits a line itself (arrows, F7 for the history)
// before the tool reads it.
std::unique_ptr<LineSource> terminalLines(std::FILE* out) { return std::make_unique<StreamLines>(std::cin, true, out); }
bool hasLineEditing() { return false; }
#endif

}  // namespace tollgram::host_tool
