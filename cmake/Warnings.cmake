# Warnings for the project's own code. They are errors in the presets and in CI; a user's compiler
# that knows warnings we have never seen can still build with -DXOM_WERROR=OFF.
option(XOM_WERROR "Treat compiler warnings as errors" ON)
add_library(xom_warnings INTERFACE)
target_compile_options(xom_warnings INTERFACE
  -Wall -Wextra -Wshadow -Wno-unused-parameter -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual
  $<$<BOOL:${XOM_WERROR}>:-Werror>)
