// The enumerations and small records that the archiver's component, its
// directory and its events share.
#pragma once

#include <cstdint>

#include "archive/ZAStrFunc.h"

// Scoped: the names clash with the colour constants of the windowed layer.
enum class TZACompressionLevel { clNone, clFastest, clNormal, clMax };
enum TZASpanningMode { smNone, smSpanning, smSplitting };
enum TZAFileShareMode {
  smShareCompat,
  smShareExclusive,
  smShareDenyWrite,
  smShareDenyRead,
  smShareDenyNone
};
enum TZAOverwriteMode { omPrompt, omAlways, omNever, omIfNewer, omIfOlder };
enum TZAProgressPhase { ppStart, ppProcess, ppEnd };
enum TZAAction { fxaRetry, fxaIgnore, fxaAbort };
enum TZAProcessOperation {
  poAdd,
  poMove,
  poDelete,
  poUpdate,
  poExtract,
  poTest,
  poRename,
  poChangeAttr,
  poChangeComment,
  poMakeSFX
};
enum TZip64Mode { zmDisabled, zmAuto, zmAlways };
enum TZAVolumeSize {
  vsAutoDetect,
  vsCustom,
  vs1_44MB,
  vs100MB,
  vs200MB,
  vs250MB,
  vs600MB,
  vs650MB,
  vs700MB,
  vs4700MB
};

// Open modes of OpenArchiveMode.
constexpr int ZAModeCreate = -1;
constexpr int ZAModeReadWrite = 34;  // fmOpenReadWrite | fmShareDenyWrite
constexpr int ZAModeReadOnly = 64;   // fmOpenRead | fmShareDenyNone

// The default search attributes: every entry passes.
constexpr int ZADefaultSearchAttr = 10431;  // 0x28BF

// One entry as the directory search reports it.
struct TZAArchiveItem {
  String FileName;    // file name part, "\" separators
  String StoredPath;  // folder part ending in "\", empty at the top
  int64_t CompressedSize = 0;
  int64_t UncompressedSize = 0;
  double CompressionRate = 0;
  bool Encrypted = false;
  uint16_t LastModFileTime = 0;
  uint16_t LastModFileDate = 0;
  uint32_t CRC = 0;
  uint32_t ExternalFileAttributes = 0;
  String Comment;

  // Search state.
  int NextIndex = 0;
  String Mask;  // "/" separators, at most 260 characters
  bool MaskHasWildcards = false;
  int SearchAttr = ZADefaultSearchAttr;
  String ExclusionMask;
};
