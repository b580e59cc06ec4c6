#include "archive/ZipArchiverDrives.h"

bool ZAIsRemovableDrive(const String&) { return false; }

void ZASetVolumeLabel(const String&, const String&) {}
