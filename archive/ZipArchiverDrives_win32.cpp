#include <windows.h>

#include "archive/ZipArchiverDrives.h"

namespace {

// "X:\" for a name that starts with a drive letter; otherwise the current
// drive (null).
String DriveRoot(const String& fileName) {
  if (fileName.size() >= 2 && fileName[1] == ':') return fileName.substr(0, 2) + "\\";
  return String();
}

const char* RootOrNull(const String& root) { return root.empty() ? nullptr : root.c_str(); }

}  // namespace

bool ZAIsRemovableDrive(const String& fileName) {
  const String root = DriveRoot(fileName);
  return GetDriveTypeA(RootOrNull(root)) == DRIVE_REMOVABLE;
}

void ZASetVolumeLabel(const String& fileName, const String& label) {
  const String root = DriveRoot(fileName);
  SetVolumeLabelA(RootOrNull(root), label.c_str());
}
