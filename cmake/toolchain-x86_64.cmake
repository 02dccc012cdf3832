# Cross toolchain for x86_64 Windows with Debian's mingw-w64 (win32 thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(TAVMIO_TRIPLE x86_64-w64-mingw32)

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

# Test executables run under Wine (64-bit loader).
get_filename_component(_tavmio_tools "${CMAKE_CURRENT_LIST_DIR}/../tools" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_tavmio_tools}/wine-run")
