# Prepares the Wine prefix for the installation's end-to-end tests:
# - drive Q: becomes the folder ROOT (Wine's drives are symbolic links in
#   the prefix's dosdevices folder), for an installation to a drive root;
# - the user's desktop, which Wine links to the Unix home folder, becomes a
#   folder of the prefix, so that the shortcuts an installation saves there
#   stay inside the prefix and no other prefix's run sees them.
# Every prefix of the build folder gets it: a test that shows windows runs in
# the prefix of the lane CTest gives it (wineprefix-lane-N), the others in
# $WINEPREFIX or PREFIX.
file(GLOB prefixes LIST_DIRECTORIES true ${PREFIX}-lane-*)
list(APPEND prefixes ${PREFIX})
if(DEFINED ENV{WINEPREFIX})
  list(APPEND prefixes $ENV{WINEPREFIX})
endif()
list(REMOVE_DUPLICATES prefixes)
file(MAKE_DIRECTORY ${ROOT})
foreach(prefix IN LISTS prefixes)
  file(MAKE_DIRECTORY ${prefix}/dosdevices)
  file(REMOVE ${prefix}/dosdevices/q:)
  file(CREATE_LINK ${ROOT} ${prefix}/dosdevices/q: SYMBOLIC)

  file(GLOB desktops LIST_DIRECTORIES true ${prefix}/drive_c/users/*/Desktop)
  foreach(desktop IN LISTS desktops)
    if(IS_SYMLINK ${desktop})
      file(REMOVE ${desktop})
      file(MAKE_DIRECTORY ${desktop})
    endif()
  endforeach()
endforeach()
