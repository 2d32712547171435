# Debian packages: `cpack -G DEB` in a build tree makes two, from the install rules' components:
#   vtcad      the program, the host library, the Veltrace plug-in, docs, man page, examples
#   vtcad-dev  the plug-in SDK: headers, the library's link name, CMake package, pkg-config,
#              the hello-plugin example
# Their library dependencies are computed from the binaries (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME vtcad)
set(CPACK_PACKAGE_VENDOR "Brightfold")
set(CPACK_PACKAGE_CONTACT "vtcad developers <vtcad@brightfold.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CAD host for Linux with the Veltrace drafting plug-in")
set(CPACK_PACKAGE_DESCRIPTION
  "vtcad opens, edits and saves DXF drawings from scripts or an interactive command line.\n\
It hosts plug-ins written against a ZRX-style interface; the bundled Veltrace plug-in adds\n\
drafting commands for polylines, curve morphing, coordinate lists and offsets.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME vtcad)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_DEV_PACKAGE_NAME vtcad-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program and the plug-in link the host library of the same package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/host)
# The SDK is for this very version of the host.
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "vtcad (= ${PROJECT_VERSION})")
# The fonts text extents and outlines are measured with (docs/dependencies.md): without them
# texts would measure differently.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-wqy-microhei")
# The long descriptions; CPack puts the (shared) summary line before each.
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_COMPONENT_DEV_DESCRIPTION "This is the plug-in SDK of vtcad.\n\
The host interface's headers, the host library's link name, a CMake package (vtcad::host)\n\
and a pkg-config file for building vtcad plug-ins, with the hello-plugin example.")
include(CPack)
