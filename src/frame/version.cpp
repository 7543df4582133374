#include "frame/call_frame.h"

namespace tollgram::exports {

// Release 1.9.1 as a number: the float nearest 1.91 (bits 0x3FF47AE1).
Outcome Version(const CallFrame&) { return storedValue(1.91f); }

}  // namespace tollgram::exports
