#pragma once
namespace tollgram::host_tool {
// Whether standard input is a terminal, so that the tool prompts for lines.
bool standardInputIsTerminal();

// Standard input read as it comes: on Windows in binary mode, so that a
// Ctrl-D or Ctrl-Z that reaches the program as a character (Wine's console
// passes Ctrl-D on so) gets to the tool, which ends the prompt there,
// instead of being taken by the runtime's text mode.
void prepareStandardInput();
}
