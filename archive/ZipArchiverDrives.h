// What the archiver asks of the drive that holds a volume: whether it is
// removable, and giving a spanned disk its label. Elsewhere than on Windows
// no drive counts as removable and labels are not set.
#pragma once

#include "platform/Text.h"

bool ZAIsRemovableDrive(const String& fileName);
// Failures are ignored: a label only helps a person sort the disks.
void ZASetVolumeLabel(const String& fileName, const String& label);
