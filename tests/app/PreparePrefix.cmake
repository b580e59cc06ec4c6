# Prepares the Wine prefix for the installation's end-to-end tests:
# - drive Q: becomes the folder ROOT (Wine's drives are symbolic links in
#   the prefix's dosdevices folder), for an installation to a drive root;
# - the user's desktop, which Wine links to the Unix home folder, becomes a
#   folder of the prefix, so that the shortcuts an installation saves there
#   stay inside the prefix and no other prefix's run sees them.
# The prefix is $WINEPREFIX when set, else PREFIX.
if(DEFINED ENV{WINEPREFIX})
  set(PREFIX $ENV{WINEPREFIX})
endif()
file(MAKE_DIRECTORY ${ROOT} ${PREFIX}/dosdevices)
file(REMOVE ${PREFIX}/dosdevices/q:)
file(CREATE_LINK ${ROOT} ${PREFIX}/dosdevices/q: SYMBOLIC)

file(GLOB desktops LIST_DIRECTORIES true ${PREFIX}/drive_c/users/*/Desktop)
foreach(desktop IN LISTS desktops)
  if(IS_SYMLINK ${desktop})
    file(REMOVE ${desktop})
    file(MAKE_DIRECTORY ${desktop})
  endif()
endforeach()
