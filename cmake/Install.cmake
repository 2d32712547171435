# The installed tree beside the targets' own rules:
#   share/doc/vtcad        README, ARCHITECTURE and docs/ (runtime)
#   share/man/man1         vtcad.1 (runtime)
#   share/vtcad/examples   the example drawing, script and survey file (runtime), and the
#                          plug-in example hello-plugin/ (dev)
#   lib/cmake/vtcad        the CMake package: find_package(vtcad) gives vtcad::host (dev)
#   lib/pkgconfig          vtcad.pc (dev)
include(CMakePackageConfigHelpers)

install(FILES README.md ARCHITECTURE.md DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime FILES_MATCHING PATTERN "*.md")
install(FILES host/app/vtcad.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)
set(VTCAD_EXAMPLES_DIR ${CMAKE_INSTALL_DATADIR}/vtcad/examples)
install(FILES examples/site-plan.dxf examples/site-plan.scr examples/survey-points.txt
  DESTINATION ${VTCAD_EXAMPLES_DIR} COMPONENT runtime)
install(DIRECTORY examples/hello-plugin DESTINATION ${VTCAD_EXAMPLES_DIR} COMPONENT dev)

set(VTCAD_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/vtcad)
install(EXPORT vtcadTargets NAMESPACE vtcad:: DESTINATION ${VTCAD_CMAKE_DIR} COMPONENT dev)
configure_package_config_file(cmake/vtcadConfig.cmake.in ${PROJECT_BINARY_DIR}/vtcadConfig.cmake
  INSTALL_DESTINATION ${VTCAD_CMAKE_DIR} PATH_VARS CMAKE_INSTALL_LIBDIR)
# Before 1.0 a plug-in built for 0.2 loads only into 0.2.x.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/vtcadConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/vtcadConfig.cmake ${PROJECT_BINARY_DIR}/vtcadConfigVersion.cmake
  DESTINATION ${VTCAD_CMAKE_DIR} COMPONENT dev)

# The prefix seen from the pkg-config folder (../.. for lib/pkgconfig), so that the file holds
# wherever the tree is unpacked.
file(RELATIVE_PATH VTCAD_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" VTCAD_PC_TO_PREFIX "${VTCAD_PC_TO_PREFIX}")
configure_file(cmake/vtcad.pc.in ${PROJECT_BINARY_DIR}/vtcad.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/vtcad.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
