#include "archive/ZAConst.h"

const char* const ZAMessages[ZAMessageCount] = {
    "Unknown error",
    "Index out of bounds",
    "Invalid compression mode. Mode must be in [0-9] range",
    "Unexpected nil pointer",
    "Invalid size or check sum of file or unsupported compression format",
    "File name is blank. Specify appropriate file name",
    "File \"%s\" not found",
    "Archive is not open",
    "SFXStub property is not specified",
    "Cannot create file \"%s\"",
    "Cannot create directory \"%s\"",
    "Internal error. Update is not started",
    "Cannot open file \"%s\"",
    "Cannot proceed when update is not ended. Preceding EndUpdate call is required.",
    "Cannot delete file \"%s\"",
    "In-memory archive can be created only",
    "File is open in read-only mode",
    "Invalid compressed size, rfs.size = %d, count = %d",
    "Invalid archive file.",
    "Cannot create output file. Probably file is locked by another process. FileName = '%s'.",
    "Archive is open. You should close it beore performing this operation.",
    "Unable to create directory",
    "Cannot find Zip64 directory end record",
    "Cannot compress file '%s'. Zip64 mode is not enabled",
    "Cannot open archive file. Opening aborted or invalid file",
    "Write to stream error",
    "Cannot place SFX stub on volume. Volume size limit is too small",
    "Archive is damaged. Open failed",
    "MakeSFX is not allowed for splitted or spanned archives. Set SFXStub before archive creation instead of MakeSFX",
    "Archive already has SFX stub",
    "Multi-volume archive is not allowed for custom stream",
    "Multi-spanned archive is not allowed for modification. Use BeginUpdate/EndUpdate methods to add files several times",
    "Deflate64 compression method is not supported",
    "MakeSFX error",
    "Entry name \"%s\" is refused: it would be written outside the base folder",
    "Compression method %d is not supported",
    "Entry \"%s\" overlaps another entry of the archive",
    "%d of %d selected entries were not processed",
    "Entry name \"%s\" cannot be represented in the system's character set",
    "Folder \"%s\" leads back into a folder being added",
    "AES encryption is not supported",
};

namespace {

struct CodeMapping {
  int nativeError;
  int messageIndex;
};

// Searched in order; the native codes happen to be listed 0..63.
const CodeMapping kCodeTable[ZANativeErrorCount] = {
    {0, 0},   {1, 1},   {2, 1},   {3, 1},   {4, 1},   {5, 2},   {6, 3},   {7, 1},
    {8, 4},   {9, 5},   {10, 5},  {11, 6},  {12, 6},  {13, 7},  {14, 7},  {15, 6},
    {16, 1},  {17, 8},  {18, 6},  {19, 9},  {20, 10}, {21, 1},  {22, 11}, {23, 9},
    {24, 1},  {25, 11}, {26, 13}, {27, 14}, {28, 15}, {29, 5},  {30, 6},  {31, 6},
    {32, 16}, {33, 12}, {34, 17}, {35, 18}, {36, 19}, {37, 20}, {38, 6},  {39, 21},
    {40, 22}, {41, 23}, {42, 6},  {43, 23}, {44, 24}, {45, 24}, {46, 25}, {47, 26},
    {48, 27}, {49, 28}, {50, 29}, {51, 30}, {52, 31}, {53, 6},  {54, 6},  {55, 32},
    {56, 33}, {57, 34}, {58, 35}, {59, 36}, {60, 37}, {61, 38}, {62, 39}, {63, 40},
};

}  // namespace

int ZAMessageIndexFor(int nativeError) {
  for (const CodeMapping& m : kCodeTable)
    if (m.nativeError == nativeError) return m.messageIndex;
  return 0;
}

const char* const ZACurrentVersion = "2.64 ";

const char* const SZAConfirmOverwrite = "Overwrite file \"%s\" with \"%s\"";
const char* const SZAPasswordCaption = "Password for \"%s\"";
const char* const SZAPasswordPrompt = "Enter password: ";
const char* const SZAProcessFileFailure = "%s. File processing error, possibly disk is full";
const char* const SZARequestBlankVolume = "Please insert a blank disk #%d";
const char* const SZARequestFirstVolume = "Please insert the first disk";
const char* const SZARequestLastVolume = "Please insert the last disk";
const char* const SZALastVolumeNotFound =
    "File '%s' not found on inserted disk. Please insert last disk with required file";
const char* const SZARequestMiddleVolume = "Please insert disk #%d";
const char* const SZADiskFull =
    "Disk is full. Required free space: %d bytes, but available only: %d bytes. Clean the disk or "
    "find another blank disk";
const char* const SZACannotSetSpanningMode = "Cannot set spanning mode on open archive";
