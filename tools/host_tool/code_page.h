#pragma once
// Texts as Kavrex hands them to the library: in the system's ANSI code page
// on Windows, where the library reads every text so; as the bytes they are
// elsewhere, where texts are UTF-8 throughout.
#include <string>

namespace tollgram::host_tool {

// Whether text is UTF-8 that holds more than ASCII: a script line written
// so is turned into the code page before its call, and the texts the call
// gives back are turned into UTF-8 again for printing.
bool holdsUtf8(const std::string& text);

// text, UTF-8, in the code page the library reads; false with a message
// naming the first character the code page lacks. Natively text as it is.
bool toLibraryText(const std::string& text, std::string& libraryText, std::string& error);

// A text of the library's (in its code page) as UTF-8; natively as it is.
std::string fromLibraryText(const std::string& libraryText);

}  // namespace tollgram::host_tool
