#include "host_tool/terminal.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#else
#include <unistd.h>
#endif

namespace tollgram::host_tool {
#if defined(_WIN32)
bool standardInputIsTerminal() { return _isatty(0) != 0; }
void prepareStandardInput() { (void)_setmode(_fileno(stdin), _O_BINARY); }
#else
bool standardInputIsTerminal() { return isatty(0) != 0; }
void prepareStandardInput() {}
#endif
}  // namespace tollgram::host_tool
