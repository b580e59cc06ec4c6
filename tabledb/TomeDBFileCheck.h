// Consistency check of a whole database file: every table loads (headers,
// record tab and index tab chains, each index chain covering every record
// once), every undeleted record's values decode, each index lists its
// records in key order, and unique indexes hold no equal keys.
#pragma once

#include <vector>

#include "platform/Text.h"

// The problems found, one text each; empty for a sound file. The password
// is needed to decode the values of an encrypted file.
std::vector<String> CheckTomeDatabase(const String& fileName, const String& password);
