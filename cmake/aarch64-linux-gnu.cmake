# Cross-build for 64-bit ARM Linux (arm64: a Raspberry Pi 3 or later, ARM
# laptops and servers) with Debian's g++-aarch64-linux-gnu.
#
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake \
#         -DCMAKE_INSTALL_PREFIX=/usr
#
# Everything is linked statically, so the engine runs on any arm64 Debian
# (or other Linux) without the cross toolchain's libraries, and the package
# depends on nothing. The tests and tools run here under qemu-aarch64
# (Debian's qemu-user), which the build names as the emulator.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(arm64_prefix aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${arm64_prefix}-gcc)
set(CMAKE_CXX_COMPILER ${arm64_prefix}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${arm64_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(MARLEK_QEMU NAMES qemu-aarch64 qemu-aarch64-static)
if(MARLEK_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MARLEK_QEMU} -L /usr/${arm64_prefix})
endif()
