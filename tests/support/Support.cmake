# include() this from a test folder's CMakeLists.txt to use tests/support;
# the first folder that does so adds it.
if(NOT TARGET tav_testsupport)
  add_subdirectory("${CMAKE_CURRENT_LIST_DIR}" "${PROJECT_BINARY_DIR}/tests/support")
endif()
