// EZAException: every failure of the archiver. It carries the native error
// code (where and what failed) and the index of its message, and its text
// reads "[Name: ]message - Native error: NNNNN".
#pragma once

#include <initializer_list>

#include "platform/Errors.h"

// The native error codes, with the numbers that callers and the failure
// event see. Codes the archiver never raises are left out.
enum TZANativeError : int {
  zeUnknown = 0,
  zeItemWriteIndex = 1,    // directory item written outside the count
  zeItemReadIndex = 2,     // ... read
  zeItemIndex = 3,         // ... addressed
  zeItemDeleteIndex = 4,   // ... deleted
  zeCompressionMode = 5,   // CompressionMode above 9
  zeNoSavedTail = 6,       // a commit to roll back without a saved copy
  zeOldEntryMissing = 7,   // a commit cannot find the entry it must copy
  zeDamagedEntry = 8,      // size or CRC-32 check failed
  zeBlankFileName = 9,     // OpenArchiveFile without a file name
  zeBlankFileNameMode = 10,  // OpenArchiveMode without a file name
  zeArchiveNotFound = 12,
  zeNotOpen = 13,
  zeExtractIndex = 16,
  zeCannotCreateFile = 19,
  zeCannotCreateFolder = 20,
  zeDeleteIndex = 21,
  zeDeleteNoUpdate = 22,
  zeReplaceIndex = 24,
  zeReplaceNoUpdate = 25,
  zeUpdatePending = 26,
  zeCannotDeleteMoved = 27,
  zeInMemoryCreateOnly = 28,
  zeInMemoryNoFileName = 29,
  zeReadOnly = 32,
  zeCannotOpenFile = 33,
  zeShortSource = 34,      // a source gave fewer bytes than its size
  zeInvalidArchive = 35,   // not an archive at all
  zeNoZip64EndRecord = 40,
  zeZip64Size = 41,        // an entry grew past 4 GiB with Zip64 off
  zeZip64Disabled = 43,
  zeNoVolumeEnd = 44,
  zeVolumeCancelled = 45,
  zeWriteFailed = 46,
  zeStubTooLarge = 47,
  zeDamagedArchive = 48,   // no valid end record
  zeVolumeSetUpdate = 52,
  zeDeflate64 = 55,
  zeNameLeavesBase = 57,
  zeUnknownMethod = 58,
  zeOverlappingEntries = 59,
  zeEntriesLeftOut = 60,
  zeNameNotRepresentable = 61,
  zeLinkLoop = 62,
  zeAesEncryption = 63,
};

class EZAException : public Exception {
 public:
  // The message at the code's index, unformatted.
  EZAException(int nativeError, const TComponent* archiver);
  // The message at the code's index formatted with args.
  EZAException(int nativeError, const TComponent* archiver, std::initializer_list<FormatArg> args);

  const char* ClassName() const override { return "EZAException"; }
  int ErrorCode() const { return errorCode_; }
  int NativeError() const { return nativeError_; }

 private:
  int errorCode_;
  int nativeError_;
};
