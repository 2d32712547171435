# Every target of the project compiles with warnings as errors.
add_library(vtcad_warnings INTERFACE)
target_compile_options(vtcad_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wimplicit-fallthrough -Werror)
