#pragma once
// A script's bytes as the tool reads them: UTF-8 (or ANSI) as they are;
// UTF-16, which Windows PowerShell 5 writes with ">" and Notepad may save,
// turned into UTF-8 first.
#include <string>

namespace tollgram::host_tool {

// Whether bytes start as UTF-16 text does: its byte-order mark, or an
// ASCII character beside a zero byte.
bool looksLikeUtf16(const std::string& bytes);

// The script's text in UTF-8; UTF-16 (little- or big-endian, with or
// without a byte-order mark) converted, anything else as it is.
std::string scriptTextOf(const std::string& bytes);

}  // namespace tollgram::host_tool
