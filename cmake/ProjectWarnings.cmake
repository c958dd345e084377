# Warnings are errors on both targets; applied per target so that third-party
# sources compiled in the tree (GoogleTest for mingw) keep their own flags.
function(project_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
endfunction()
