# The program's version and the commit it was built from, for --version and
# the About box. The commit is read when CMake configures the build.
execute_process(
  COMMAND git rev-parse --short=12 HEAD
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  OUTPUT_VARIABLE TARNWICK_COMMIT
  OUTPUT_STRIP_TRAILING_WHITESPACE
  ERROR_QUIET
  RESULT_VARIABLE commit_result)
if(NOT commit_result EQUAL 0 OR TARNWICK_COMMIT STREQUAL "")
  set(TARNWICK_COMMIT "unknown")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/version.h.in
               ${PROJECT_BINARY_DIR}/generated/version.h @ONLY)
add_library(tarnwick_version INTERFACE)
target_include_directories(tarnwick_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
