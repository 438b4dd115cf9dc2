# Applies the project's warning level to a target.
function(vorel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local)
  if(VOREL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
