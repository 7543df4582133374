#pragma once
// Runs script calls against the opened library and prints each call with
// its result and any text it left in the buffer. Texts cross in the code
// page the library reads (code_page.h).
#include <cstdio>
#include <string>

#include "host_tool/plugin_library.h"
#include "host_tool/script.h"

namespace tollgram::host_tool {

struct CallOutcome {
    bool ran = false;          // false: the library has no such export, or refused is set
    std::string refused;       // why the call's texts can't be handed to the library
    float result = 0.0f;
    bool hasBufferText = false;
    std::string bufferText;    // the buffer's text after the call
    bool wroteOutside = false; // the library wrote past the buffer's ends
};

class CallRunner {
public:
    CallRunner(const PluginLibrary& library, void* context, std::FILE* out)
        : library_(library), context_(context), out_(out) {}

    CallOutcome run(const ScriptCall& call);

    // Text of a float result: whole numbers as such (counts up to 2^32 among
    // them), others with the nine digits that tell every float apart.
    static std::string resultText(float result);

private:
    const PluginLibrary& library_;
    void* context_;
    std::FILE* out_;
};

}  // namespace tollgram::host_tool
