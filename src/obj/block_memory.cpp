#include "obj/block_memory.h"

#include <cstdlib>

namespace tollgram::obj {

void* runtimeResize(void* block, size_t bytes) {
    // realloc of 0 bytes may free and return null; ask for one byte instead so
    // that null always means failure.
    return std::realloc(block, bytes == 0 ? 1 : bytes);
}

BlockResizeFunction blockResizeImpl = &runtimeResize;

void releaseBlock(void* block) { std::free(block); }

}  // namespace tollgram::obj
