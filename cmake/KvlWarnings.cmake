# Warnings are errors on every compiler we support (g++ 12, clang 14).
function(kvl_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
