#pragma once
// Calling any export of the library linked into the test by its name, as
// the host's scripts call them.
#include <gtest/gtest.h>

#include <cstring>

#include "frame/exports.h"
#include "tollgram.h"

namespace tollgram::test {

inline float callInProcess(const char* name, const char* text, double value, void* context) {
    struct Named {
        const char* name;
        TollgramExportFunction function;
    };
    static const Named exports[] = {
#define TOLLGRAM_EXPORT(name, failure) {#name, &::name},
#include "frame/export_table.h"
#undef TOLLGRAM_EXPORT
    };
    for (const Named& e : exports) {
        if (std::strcmp(e.name, name) == 0) return e.function(text, value, nullptr, 0, 0, 0, context);
    }
    ADD_FAILURE() << "no export " << name;
    return -12345.0f;
}

}  // namespace tollgram::test
