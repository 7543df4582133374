# Cross-compiling the same sources for x86-64 Windows with MinGW-w64: a
# build for testing the library's Windows code under 64-bit Wine where a
# machine runs no 32-bit programs. The product stays the 32-bit DLL.
set(TOLLGRAM_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake")
