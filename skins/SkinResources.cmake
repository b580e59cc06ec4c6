# The shipped skins as resources of type "VDSKINS" in every executable that
# links skins. The skin model and its generator are portable code: the
# project is configured a second time for the host inside this build folder,
# only its skins_streams target is built there, and the resource script that
# the generator writes beside the streams is compiled here.
include(ExternalProject)
set(QE_SKINS_HOST_DIR ${CMAKE_BINARY_DIR}/skins-host)
set(QE_SKINS_RC ${QE_SKINS_HOST_DIR}/skins/Skins.rc)
ExternalProject_Add(skins_host
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${QE_SKINS_HOST_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=cc -DCMAKE_CXX_COMPILER=c++
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${QE_SKINS_HOST_DIR} --target skins_streams
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${QE_SKINS_RC})
enable_language(RC)
add_library(skins_resources OBJECT ${QE_SKINS_RC})
add_dependencies(skins_resources skins_host)
target_link_libraries(skins INTERFACE $<TARGET_OBJECTS:skins_resources>)
