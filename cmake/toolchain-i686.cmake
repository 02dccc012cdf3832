# Cross toolchain for i686 Windows with Debian's mingw-w64 (win32 thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TAVMIO_TRIPLE i686-w64-mingw32)

set(CMAKE_C_COMPILER   ${TAVMIO_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TAVMIO_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER  ${TAVMIO_TRIPLE}-windres)
# Resource scripts are UTF-8.
set(CMAKE_RC_FLAGS_INIT "-c 65001")

set(CMAKE_FIND_ROOT_PATH /usr/${TAVMIO_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# 32-bit Windows code cannot run on the build machine: no emulator, no tests.
