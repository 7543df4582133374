# What both MinGW-w64 toolchain files share; each sets the triple and the
# processor first. The -posix compilers are the variant whose runtime has
# std::mutex and std::thread, which GoogleTest and the parallel read need.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TOLLGRAM_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOLLGRAM_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TOLLGRAM_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOLLGRAM_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests of the cross build run under Wine of the programs' width
# (tools/wine-run.sh reads it from each program's header).
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh")
