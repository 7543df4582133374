#include "platform/command_line.h"

namespace tollgram::platform {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::vector<std::string> splitCommandLine(std::string_view line) {
    std::vector<std::string> arguments;
    size_t i = 0;
    for (;;) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i >= line.size()) break;
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || !isBlank(line[i]))) {
            if (line[i] == '\\') {
                size_t backslashes = 0;
                while (i < line.size() && line[i] == '\\') {
                    ++backslashes;
                    ++i;
                }
                if (i < line.size() && line[i] == '"') {
                    argument.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        argument.push_back('"');
                        ++i;
                    }
                } else {
                    argument.append(backslashes, '\\');
                }
            } else if (line[i] == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument.push_back('"');
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument.push_back(line[i]);
                ++i;
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

}  // namespace tollgram::platform
