# Cross-build for 64-bit Windows with Debian's MinGW-w64 compilers (posix
# thread model, which gives std::thread, std::mutex and the semaphores).
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
#
# The runtime libraries are linked statically, so marlek.exe needs nothing
# beside it but its two data files. The tests and tools run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread linked in: only Windows' own DLLs remain.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(MARLEK_WINE NAMES wine wine64 HINTS /usr/lib/wine)
if(MARLEK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MARLEK_WINE})
endif()
