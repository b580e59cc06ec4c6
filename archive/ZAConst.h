// The archiver's texts: the messages that EZAException carries, the table
// that maps each native error code to its message, and the prompts shown by
// the default handling of events.
#pragma once

#include "platform/Text.h"

// Messages, indexed by EZAException::ErrorCode (0-40).
constexpr int ZAMessageCount = 41;
extern const char* const ZAMessages[ZAMessageCount];

// Native error codes 0-63 each map to one message index; a code outside the
// table maps to 0 ("Unknown error"). Codes 57-61 and 63 guard extraction
// against hostile archives: an entry name that leads out of the base
// folder, a compression method we cannot decode, entries whose data
// overlap, an operation that left selected entries unprocessed, an entry
// name that has no form in the system's character set, and AES-encrypted
// data. Code 62 stops adding a tree whose links lead round in a circle.
constexpr int ZANativeErrorCount = 64;
int ZAMessageIndexFor(int nativeError);

// The version text that CurrentVersion always reads, trailing blank included.
extern const char* const ZACurrentVersion;

// Prompts of the default event handling.
extern const char* const SZAConfirmOverwrite;      // target path, entry name
extern const char* const SZAPasswordCaption;       // entry name
extern const char* const SZAPasswordPrompt;
extern const char* const SZAProcessFileFailure;    // exception message
extern const char* const SZARequestBlankVolume;    // 1-based volume number
extern const char* const SZARequestFirstVolume;
extern const char* const SZARequestLastVolume;
extern const char* const SZALastVolumeNotFound;    // file name
extern const char* const SZARequestMiddleVolume;   // 1-based volume number
extern const char* const SZADiskFull;              // required, available
extern const char* const SZACannotSetSpanningMode;
