// String helpers of the archiver: the case-insensitive wildcard matcher and
// mask rules, the stored name of a file, OEM name conversion and DOS times.
//
// Characters are compared through tables built once, on first use, from the
// platform's locale-dependent comparison (Text.h): when the locale orders all
// 256 byte values distinctly, its upper-case mapping decides; otherwise its
// case-insensitive comparison of the two one-character strings does.
#pragma once

#include <cstdint>

#include "platform/Text.h"

enum TZAStorePathMode { spNoPath, spRelativePath, spFullPath, spFullPathWithDrive };

// True when the two characters are equal without regard to case.
bool ZACharsMatch(char a, char b);

// '*' and '?' wildcards; the mask "*.*" matches everything.
bool MatchesWildcard(std::string_view name, std::string_view mask, bool ignoreCase = true);
// MatchesWildcard with the mask rules: an empty mask matches nothing, a mask
// ending in "." matches only names without an extension.
bool MatchesMask(std::string_view name, std::string_view mask);

// The full path of fileName taken relative to baseFolder when it is not
// absolute, with "." and ".." folded. Both separators and drive letters are
// understood on every platform; the result is separated by PathDelim.
String ZAExpandFileName(std::string_view fileName, std::string_view baseFolder);
// A stored name with its "/" separators turned into "\\".
String ZABackslashed(String name);
// The name under which the file is stored, with "/" separators and without
// a trailing separator (folders get theirs from the caller).
String StoredNameFor(std::string_view fileName, std::string_view baseFolder,
                     TZAStorePathMode storePath);

// Names are stored in the OEM code page (437, the one other zip tools assume
// for entries without the UTF-8 flag) and used in Windows-1252.
String ZAAnsiToOem(std::string_view s);
String ZAOemToAnsi(std::string_view s);

// DOS date and time packed as date << 16 | time, in local time.
uint32_t ZAUnixToDosDateTime(int64_t unixSeconds);
int64_t ZADosDateTimeToUnix(uint32_t dosDateTime);
uint32_t ZANowDosDateTime();
