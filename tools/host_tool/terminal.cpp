#include "host_tool/terminal.h"

#if defined(_WIN32)
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace tollgram::host_tool {
bool standardInputIsTerminal() { return isatty(0) != 0; }
}
