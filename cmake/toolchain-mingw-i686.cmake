# Cross-compiling Tollgram.dll, the product, for 32-bit x86 Windows with
# MinGW-w64.
set(TOLLGRAM_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake")
