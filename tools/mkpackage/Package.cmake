# The demo package beside Setup.exe, for the Windows build. mkpackage needs
# the archiver and the database built for the host, so a host build of this
# same source tree lives in QE_HOST_TOOLS_DIR; it also gives the tests and
# scripts tomedb and zatool. Target setup_package; the package lands in
# QE_PACKAGE, the tree it was made from in QE_PACKAGE_TREE.
set(QE_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools CACHE INTERNAL "Host build of the build-time tools")
set(QE_PACKAGE ${CMAKE_BINARY_DIR}/app/qelpkg_Quillor_Pro_5.8_B1_05-11-2021.qep CACHE INTERNAL "")
set(QE_PACKAGE_TREE ${CMAKE_BINARY_DIR}/package-tree CACHE INTERNAL "")
set(mkpackage ${QE_HOST_TOOLS_DIR}/tools/mkpackage/mkpackage)

# Always run: the host build itself knows what is out of date.
add_custom_target(host_tools
  COMMAND sh -c "[ -f \"$1/CMakeCache.txt\" ] || env -u CC -u CXX \"$2\" -S \"$3\" -B \"$1\" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null"
          configure ${QE_HOST_TOOLS_DIR} ${CMAKE_COMMAND} ${CMAKE_SOURCE_DIR}
  COMMAND ${CMAKE_COMMAND} --build ${QE_HOST_TOOLS_DIR} --target mkpackage tomedb zatool
  BYPRODUCTS ${mkpackage} ${QE_HOST_TOOLS_DIR}/tools/tomedb/tomedb ${QE_HOST_TOOLS_DIR}/tools/zatool/zatool
  COMMENT "Building the host tools (mkpackage, tomedb, zatool)"
  VERBATIM)

add_custom_command(OUTPUT ${QE_PACKAGE}
  COMMAND ${mkpackage} ${QE_PACKAGE} $<TARGET_FILE:Quillor> ${QE_PACKAGE_TREE}
  DEPENDS ${mkpackage} Quillor
  COMMENT "Making the demo package"
  VERBATIM)
add_custom_target(setup_package ALL DEPENDS ${QE_PACKAGE})
