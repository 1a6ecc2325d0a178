# Warnings are errors for the project's own code. Third-party headers come in
# as system includes, so their warnings never fail the build.
function(kelvane_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
    -Wnon-virtual-dtor -Woverloaded-virtual -Wimplicit-fallthrough -Werror)
endfunction()
