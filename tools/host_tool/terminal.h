#pragma once
namespace tollgram::host_tool {
// Whether standard input is a terminal, so that the tool prompts for lines.
bool standardInputIsTerminal();

// Standard input read as it comes. On Windows the runtime's text mode
// would take a Ctrl-Z typed at the prompt as the end of one read only and
// read on; as a character it reaches the tool, which ends the prompt there.
void prepareStandardInput();
}
