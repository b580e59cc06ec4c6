# The host programs that the Windows build runs: mkpackage (the demo
# package), make_pictures (the setup program's pictures), and tomedb and
# zatool for the tests and scripts; the fuzz build takes its skin seeds from
# the same host build. They come from a host build of this same
# tree in QE_HOST_TOOLS_DIR, which the presets set to the host preset's own
# folder: scripts/test.sh builds the host preset first, so the Windows build
# finds them made and builds nothing twice. Run alone, the Windows build
# configures and builds that folder itself (with CMAKE_BUILD_PARALLEL_LEVEL
# jobs, when set).
set(QE_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools CACHE PATH "Host build of this tree that provides the build-time tools")
set(QE_HOST_MKPACKAGE ${QE_HOST_TOOLS_DIR}/tools/mkpackage/mkpackage)
set(QE_HOST_MAKE_PICTURES ${QE_HOST_TOOLS_DIR}/tools/pictures/make_pictures)

# Always run: the host build itself knows what is out of date.
add_custom_target(host_tools
  COMMAND sh -c "[ -f \"$1/CMakeCache.txt\" ] || env -u CC -u CXX \"$2\" -S \"$3\" -B \"$1\" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null"
          configure ${QE_HOST_TOOLS_DIR} ${CMAKE_COMMAND} ${CMAKE_SOURCE_DIR}
  COMMAND ${CMAKE_COMMAND} --build ${QE_HOST_TOOLS_DIR} --target mkpackage make_pictures tomedb zatool
  BYPRODUCTS ${QE_HOST_MKPACKAGE} ${QE_HOST_MAKE_PICTURES} ${QE_HOST_TOOLS_DIR}/tools/tomedb/tomedb
             ${QE_HOST_TOOLS_DIR}/tools/zatool/zatool
  COMMENT "Checking the host tools (mkpackage, make_pictures, tomedb, zatool)"
  VERBATIM)
