# qe_generated_pictures(TARGET name GENERATOR program SOURCE file DIR folder
#                       EXTENSION .ext NAMES name... WHAT words)
# Builds SOURCE with the host compiler (even in the cross build) into
# GENERATOR, which draws one file per name into DIR, and adds TARGET, which
# makes them. Sets FILES_VAR, when given, to the files' full paths.
find_program(QE_HOST_CXX NAMES c++ g++ REQUIRED)

function(qe_generated_pictures)
  cmake_parse_arguments(G "" "TARGET;GENERATOR;SOURCE;DIR;EXTENSION;WHAT;FILES_VAR" "NAMES" ${ARGN})
  set(generator ${CMAKE_CURRENT_BINARY_DIR}/${G_GENERATOR})
  list(TRANSFORM G_NAMES PREPEND ${G_DIR}/ OUTPUT_VARIABLE files)
  list(TRANSFORM files APPEND ${G_EXTENSION})
  add_custom_command(OUTPUT ${generator}
    COMMAND ${QE_HOST_CXX} -std=c++17 -O1 -I${PROJECT_SOURCE_DIR} -o ${generator} ${G_SOURCE}
    DEPENDS ${G_SOURCE} ${PROJECT_SOURCE_DIR}/tools/GeneratedFiles.h
    COMMENT "Building the generator of the ${G_WHAT} (host)")
  add_custom_command(OUTPUT ${files}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${G_DIR}
    COMMAND ${generator} ${G_DIR}
    DEPENDS ${generator}
    COMMENT "Drawing the ${G_WHAT}")
  add_custom_target(${G_TARGET} DEPENDS ${files})
  if(G_FILES_VAR)
    set(${G_FILES_VAR} ${files} PARENT_SCOPE)
  endif()
endfunction()
