# The project's warning set for every target of ours. Warnings are errors only when asked for
# (VTCAD_WERROR: our scripts and CI turn it on); a distribution's build with its own flags,
# build type or compiler must not fail on a warning a newer compiler invents.
option(VTCAD_WERROR "Treat compiler warnings as errors" OFF)
add_library(vtcad_warnings INTERFACE)
target_compile_options(vtcad_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wimplicit-fallthrough $<$<BOOL:${VTCAD_WERROR}>:-Werror>)
