#pragma once
namespace tollgram::host_tool {
// Whether standard input is a terminal, so that the tool prompts for lines.
bool standardInputIsTerminal();
}
