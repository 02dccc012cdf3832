# Third-party libraries for the Windows targets.
#   tav::png   static libpng built by tools/setup.sh into .deps/<triple>/,
#              with Debian's static mingw zlib (tav::zlib) behind it.
#   gtest, gtest_main, gmock   GoogleTest from Debian's sources, only when
#              TAVMIO_TESTS is ON.

if(NOT TAVMIO_TRIPLE)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(TAVMIO_TRIPLE x86_64-w64-mingw32)
  else()
    set(TAVMIO_TRIPLE i686-w64-mingw32)
  endif()
endif()

set(TAVMIO_DEPS_DIR "${PROJECT_SOURCE_DIR}/.deps/${TAVMIO_TRIPLE}" CACHE PATH
    "Prefix of the libraries built by tools/setup.sh for this target")
set(TAVMIO_MINGW_DIR "/usr/${TAVMIO_TRIPLE}" CACHE PATH
    "Prefix of Debian's mingw-w64 packages for this target")

foreach(_file IN ITEMS "${TAVMIO_DEPS_DIR}/lib/libpng.a" "${TAVMIO_DEPS_DIR}/include/png.h"
                       "${TAVMIO_MINGW_DIR}/lib/libz.a" "${TAVMIO_MINGW_DIR}/include/zlib.h")
  if(NOT EXISTS "${_file}")
    message(FATAL_ERROR "${_file} is missing: run tools/setup.sh first")
  endif()
endforeach()

add_library(tav::zlib STATIC IMPORTED GLOBAL)
set_target_properties(tav::zlib PROPERTIES
  IMPORTED_LOCATION "${TAVMIO_MINGW_DIR}/lib/libz.a"
  INTERFACE_INCLUDE_DIRECTORIES "${TAVMIO_MINGW_DIR}/include")

add_library(tav::png STATIC IMPORTED GLOBAL)
set_target_properties(tav::png PROPERTIES
  IMPORTED_LOCATION "${TAVMIO_DEPS_DIR}/lib/libpng.a"
  INTERFACE_INCLUDE_DIRECTORIES "${TAVMIO_DEPS_DIR}/include"
  INTERFACE_LINK_LIBRARIES tav::zlib)

if(TAVMIO_TESTS)
  set(TAVMIO_GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
  if(NOT EXISTS "${TAVMIO_GTEST_DIR}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources not found in ${TAVMIO_GTEST_DIR}: run tools/setup.sh first")
  endif()
  # The win32 thread model has no pthreads; gtest uses Windows primitives.
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory("${TAVMIO_GTEST_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  # std::mutex is missing in the win32 thread model; see gtest-custom/.
  target_include_directories(gtest BEFORE PUBLIC "${CMAKE_CURRENT_LIST_DIR}/gtest-custom")
  # GoogleTest is not ours to keep warning-free.
  foreach(_t IN ITEMS gtest gtest_main gmock gmock_main)
    if(TARGET ${_t})
      target_compile_options(${_t} PRIVATE -w)
    endif()
  endforeach()
endif()
