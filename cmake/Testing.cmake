# Test registration. Every test program is one Windows executable and one ctest
# entry (not one per case: each Wine process costs about two seconds to start).
# ctest runs it through the toolchain's emulator, tools/wine-run.
#
# Environment every test sees (Windows paths, as Wine shows them):
#   TAVMIO_EXE          the built program (target tavmio), when that target exists
#   TAVMIO_SOURCE_DIR   the source tree
#   TAVMIO_BUILD_DIR    the build tree
# and, for tools/wine-run only, TAVMIO_WINEPREFIX: the Unix path of the build
# tree's own Wine prefix.

# tavmio_wine_path(<out-var> <path>)
# Converts a Unix path (relative paths are taken from the current source
# directory) into the path Wine shows for it on its Z: drive, e.g.
# /work/main/res -> Z:\work\main\res.
function(tavmio_wine_path out path)
  get_filename_component(path "${path}" ABSOLUTE)
  string(REPLACE "/" "\\" path "${path}")
  set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()

# tavmio_target_file(<out-var> <target>)
# Unix path of the file an executable target produces, resolved at configure
# time from the target's properties (single-configuration generators).
function(tavmio_target_file out target)
  get_target_property(dir ${target} RUNTIME_OUTPUT_DIRECTORY)
  get_target_property(bindir ${target} BINARY_DIR)
  if(NOT dir)
    set(dir "${bindir}")
  elseif(NOT IS_ABSOLUTE "${dir}")
    set(dir "${bindir}/${dir}")
  endif()
  set(name "")
  foreach(prop IN ITEMS RUNTIME_OUTPUT_NAME OUTPUT_NAME)
    get_target_property(value ${target} ${prop})
    if(value AND NOT name)
      set(name "${value}")
    endif()
  endforeach()
  if(NOT name)
    set(name "${target}")
  endif()
  get_target_property(prefix ${target} PREFIX)
  get_target_property(suffix ${target} SUFFIX)
  if(NOT prefix)
    set(prefix "")
  endif()
  if(NOT suffix)
    set(suffix "${CMAKE_EXECUTABLE_SUFFIX}")
  endif()
  set(file "${dir}/${prefix}${name}${suffix}")
  if(file MATCHES "\\$<")
    message(FATAL_ERROR "tavmio_target_file: ${target}'s output path uses generator expressions: ${file}")
  endif()
  set(${out} "${file}" PARENT_SCOPE)
endfunction()

# tavmio_add_test(<name>
#                 SOURCES <file>...
#                 [LIBS <library>...]
#                 [NO_MAIN]              the sources define main(); gtest_main is not linked
#                 [TIMEOUT <seconds>]    default 60
#                 [LABELS <label>...]
#                 [ENVIRONMENT <VAR=value>...]
#                 [RUN_SERIAL]           never run beside other tests (ctest -j)
#                 [LAUNCHER <command>...])  run the program's path through this
#                                        command instead of the toolchain's emulator
# Builds the test executable <name> with GoogleTest and GoogleMock and registers
# it with ctest. Every test is built after the program itself.
function(tavmio_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "NO_MAIN;RUN_SERIAL" "TIMEOUT"
                        "SOURCES;LIBS;LABELS;ENVIRONMENT;LAUNCHER")
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "tavmio_add_test(${name}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT ARG_SOURCES)
    message(FATAL_ERROR "tavmio_add_test(${name}): no SOURCES")
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 60)
  endif()

  add_executable(${name} ${ARG_SOURCES})
  if(ARG_NO_MAIN)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} gmock gtest)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} gmock gtest_main)
  endif()

  tavmio_wine_path(source_dir "${PROJECT_SOURCE_DIR}")
  tavmio_wine_path(build_dir "${PROJECT_BINARY_DIR}")
  set(env
    "TAVMIO_SOURCE_DIR=${source_dir}"
    "TAVMIO_BUILD_DIR=${build_dir}"
    "TAVMIO_WINEPREFIX=${PROJECT_BINARY_DIR}/wineprefix")
  if(TARGET tavmio)
    tavmio_target_file(exe tavmio)
    tavmio_wine_path(exe "${exe}")
    list(APPEND env "TAVMIO_EXE=${exe}")
    add_dependencies(${name} tavmio)
  endif()
  list(APPEND env ${ARG_ENVIRONMENT})

  if(ARG_LAUNCHER)
    add_test(NAME ${name} COMMAND ${ARG_LAUNCHER} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "${env}")
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
  if(ARG_RUN_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL ON)
  endif()
endfunction()
