# The shipped skins as resources of type "VDSKINS" in every executable that
# links skins. The skin model and its generator are portable code: the
# streams, the icons and the resource script that carries them are made by
# the host build of this tree that provides the other build-time tools
# (cmake/HostTools.cmake), and the script is compiled here.
set(QE_SKINS_RC ${QE_HOST_TOOLS_DIR}/skins/Skins.rc)
# Always run, after host_tools has configured that folder: the host build
# itself knows whether the skins are out of date.
add_custom_target(skins_host
  COMMAND ${CMAKE_COMMAND} --build ${QE_HOST_TOOLS_DIR} --target skins_streams
  BYPRODUCTS ${QE_SKINS_RC}
  COMMENT "Checking the generated skins"
  VERBATIM)
add_dependencies(skins_host host_tools)
enable_language(RC)
add_library(skins_resources OBJECT ${QE_SKINS_RC})
add_dependencies(skins_resources skins_host)
target_link_libraries(skins INTERFACE $<TARGET_OBJECTS:skins_resources>)
