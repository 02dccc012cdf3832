# Cross toolchain for x86_64 Windows with Debian's mingw-w64 (win32 thread model).
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(TAVMIO_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-common.cmake)

# Test executables run under Wine (64-bit loader).
get_filename_component(_tavmio_tools "${CMAKE_CURRENT_LIST_DIR}/../tools" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_tavmio_tools}/wine-run")
