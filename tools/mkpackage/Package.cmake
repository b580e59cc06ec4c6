# The demo package beside Setup.exe, for the Windows build, made by the host
# tool mkpackage (cmake/HostTools.cmake). Target setup_package; the package
# lands in QE_PACKAGE, the tree it was made from in QE_PACKAGE_TREE.
set(QE_PACKAGE ${CMAKE_BINARY_DIR}/app/qelpkg_Quillor_Pro_5.8_B1_05-11-2021.qep CACHE INTERNAL "")
set(QE_PACKAGE_TREE ${CMAKE_BINARY_DIR}/package-tree CACHE INTERNAL "")
set(mkpackage ${QE_HOST_MKPACKAGE})

add_custom_command(OUTPUT ${QE_PACKAGE}
  COMMAND ${mkpackage} ${QE_PACKAGE} $<TARGET_FILE:Quillor> ${QE_PACKAGE_TREE}
  DEPENDS ${mkpackage} Quillor
  COMMENT "Making the demo package"
  VERBATIM)
add_custom_target(setup_package ALL DEPENDS ${QE_PACKAGE})
