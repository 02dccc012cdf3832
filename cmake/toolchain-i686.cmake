# Cross toolchain for i686 Windows with Debian's mingw-w64 (win32 thread model).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TAVMIO_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-common.cmake)

# 32-bit Windows code cannot run on the build machine: no emulator, no tests.
