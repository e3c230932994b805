# tarnwick_warnings(target): the project's warning set; errors under TARNWICK_WERROR.
function(tarnwick_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                         -Wnon-virtual-dtor -Wcast-qual -Wformat=2 -Wimplicit-fallthrough)
  if(TARNWICK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
