# Prepares the Wine prefixes of the test lanes for the installation's
# end-to-end tests: drive Q: becomes the folder ROOT (Wine's drives are
# symbolic links in a prefix's dosdevices folder), for an installation to a
# drive root. The tests run in whichever lane CTest hands them, so every
# lane's prefix (BUILD/wineprefix-lane-N, N from the lane list LANES) gets
# the drive; a prefix not made yet is made first through the Wine wrapper
# WINE_RUN, as the lane's first test would.
file(READ ${LANES} lanes)
string(JSON count LENGTH "${lanes}" local 0 display)
math(EXPR last "${count} - 1")
file(MAKE_DIRECTORY ${ROOT})
foreach(i RANGE ${last})
  string(JSON lane GET "${lanes}" local 0 display ${i} id)
  set(prefix ${BUILD}/wineprefix-lane-${lane})
  if(NOT EXISTS ${prefix}/dosdevices)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env CTEST_RESOURCE_GROUP_0_DISPLAY=id:${lane},slots:1
              bash ${WINE_RUN} ${BUILD} cmd /c exit 0
      INPUT_FILE /dev/null OUTPUT_QUIET ERROR_QUIET)
  endif()
  if(NOT EXISTS ${prefix}/dosdevices)
    message(FATAL_ERROR "The Wine prefix of lane ${lane} could not be made: ${prefix}")
  endif()
  file(REMOVE ${prefix}/dosdevices/q:)
  file(CREATE_LINK ${ROOT} ${prefix}/dosdevices/q: SYMBOLIC)
endforeach()
