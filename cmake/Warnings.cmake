# tarnwick_warnings(target): the project's warning set; errors under TARNWICK_WERROR.
function(tarnwick_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                         -Wnon-virtual-dtor -Wcast-qual -Wformat=2 -Wimplicit-fallthrough)
  # GCC 12 reports out-of-bounds copies inside libstdc++'s vector::insert at -O2
  # that cannot happen (GCC bugs 105545, 107852); the sanitizer build checks
  # bounds for real.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-array-bounds -Wno-stringop-overflow
                           -Wno-stringop-overread)
  endif()
  if(TARNWICK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
