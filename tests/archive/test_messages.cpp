// Messages of EZAException: the code table, the texts and the decoration.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "archive/ZAConst.h"
#include "archive/ZAExcept.h"
#include "platform/Components.h"

namespace {

// The documented messages with the native codes that map to each, written
// out here as documented (never taken from the archiver's own tables);
// codes 57 and up are this archiver's additions.
struct DocumentedMessage {
  const char* text;
  std::vector<int> codes;
};
const DocumentedMessage kDocumented[] = {
    {"Unknown error", {0}},
    {"Index out of bounds", {1, 2, 3, 4, 7, 16, 21, 24}},
    {"Invalid compression mode. Mode must be in [0-9] range", {5}},
    {"Unexpected nil pointer", {6}},
    {"Invalid size or check sum of file or unsupported compression format", {8}},
    {"File name is blank. Specify appropriate file name", {9, 10, 29}},
    {"File \"%s\" not found", {11, 12, 15, 18, 30, 31, 38, 42, 53, 54}},
    {"Archive is not open", {13, 14}},
    {"SFXStub property is not specified", {17}},
    {"Cannot create file \"%s\"", {19, 23}},
    {"Cannot create directory \"%s\"", {20}},
    {"Internal error. Update is not started", {22, 25}},
    {"Cannot open file \"%s\"", {33}},
    {"Cannot proceed when update is not ended. Preceding EndUpdate call is required.", {26}},
    {"Cannot delete file \"%s\"", {27}},
    {"In-memory archive can be created only", {28}},
    {"File is open in read-only mode", {32}},
    {"Invalid compressed size, rfs.size = %d, count = %d", {34}},
    {"Invalid archive file.", {35}},
    {"Cannot create output file. Probably file is locked by another process. FileName = '%s'.", {36}},
    {"Archive is open. You should close it beore performing this operation.", {37}},
    {"Unable to create directory", {39}},
    {"Cannot find Zip64 directory end record", {40}},
    {"Cannot compress file '%s'. Zip64 mode is not enabled", {41, 43}},
    {"Cannot open archive file. Opening aborted or invalid file", {44, 45}},
    {"Write to stream error", {46}},
    {"Cannot place SFX stub on volume. Volume size limit is too small", {47}},
    {"Archive is damaged. Open failed", {48}},
    {"MakeSFX is not allowed for splitted or spanned archives. Set SFXStub before archive creation "
     "instead of MakeSFX",
     {49}},
    {"Archive already has SFX stub", {50}},
    {"Multi-volume archive is not allowed for custom stream", {51}},
    {"Multi-spanned archive is not allowed for modification. Use BeginUpdate/EndUpdate methods to "
     "add files several times",
     {52}},
    {"Deflate64 compression method is not supported", {55}},
    {"MakeSFX error", {56}},
    {"Entry name \"%s\" is refused: it would be written outside the base folder", {57}},
    {"Compression method %d is not supported", {58}},
    {"Entry \"%s\" overlaps another entry of the archive", {59}},
    {"%d of %d selected entries were not processed", {60}},
    {"Entry name \"%s\" cannot be represented in the system's character set", {61}},
    {"Folder \"%s\" leads back into a folder being added", {62}},
    {"AES encryption is not supported", {63}},
};

String Code(int n) { return Format("%.5d", {n}); }

}  // namespace

TEST(ZAMessages, EveryNativeCodeGivesItsDocumentedMessage) {
  std::vector<bool> seen(ZANativeErrorCount, false);
  for (const DocumentedMessage& m : kDocumented) {
    for (int code : m.codes) {
      SCOPED_TRACE(code);
      ASSERT_LT(code, ZANativeErrorCount);
      seen[size_t(code)] = true;
      const EZAException e(code, nullptr);
      EXPECT_EQ(e.NativeError(), code);
      EXPECT_EQ(e.Message(), String(m.text) + " - Native error: " + Code(code));
      EXPECT_EQ(String(ZAMessages[e.ErrorCode()]), m.text);
    }
  }
  // Every code of the table is documented, and none beyond it has a message.
  EXPECT_EQ(std::count(seen.begin(), seen.end(), false), 0);
  EXPECT_EQ(EZAException(ZANativeErrorCount, nullptr).Message(),
            "Unknown error - Native error: " + Code(ZANativeErrorCount));
  EXPECT_EQ(EZAException(-1, nullptr).ErrorCode(), 0);
  // Indexes as documented, for callers that look at ErrorCode.
  EXPECT_EQ(EZAException(8, nullptr).ErrorCode(), 4);
  EXPECT_EQ(EZAException(48, nullptr).ErrorCode(), 27);
  EXPECT_EQ(EZAException(55, nullptr).ErrorCode(), 32);
}

TEST(ZAMessages, DecorationWithNameFormatAndWideCodes) {
  TComponent owner(nullptr);
  owner.SetName("Archiver");
  EXPECT_EQ(EZAException(8, &owner).Message(),
            "Archiver: Invalid size or check sum of file or unsupported compression format"
            " - Native error: 00008");
  TComponent unnamed(nullptr);
  EXPECT_EQ(EZAException(5, &unnamed).Message(),
            "Invalid compression mode. Mode must be in [0-9] range - Native error: 00005");
  EXPECT_EQ(EZAException(12, nullptr, {"a.zip"}).Message(),
            "File \"a.zip\" not found - Native error: 00012");
  EXPECT_EQ(EZAException(57, nullptr, {"..\\x"}).Message(),
            "Entry name \"..\\x\" is refused: it would be written outside the base folder"
            " - Native error: 00057");
  EXPECT_EQ(EZAException(60, nullptr, {2, 5}).Message(),
            "2 of 5 selected entries were not processed - Native error: 00060");
  EXPECT_EQ(EZAException(34, nullptr, {int64_t(10), int64_t(4)}).Message(),
            "Invalid compressed size, rfs.size = 10, count = 4 - Native error: 00034");
  // Zeros only fill up to five digits.
  EXPECT_EQ(EZAException(123456, nullptr).Message(), "Unknown error - Native error: 123456");
  EXPECT_EQ(EZAException(46, nullptr).ErrorCode(), 25);
}

TEST(ZAMessages, PromptTexts) {
  EXPECT_EQ(Format(SZAConfirmOverwrite, {"C:\\x.txt", "x.txt"}),
            "Overwrite file \"C:\\x.txt\" with \"x.txt\"");
  EXPECT_EQ(Format(SZARequestBlankVolume, {3}), "Please insert a blank disk #3");
  EXPECT_STREQ(SZAPasswordPrompt, "Enter password: ");
  EXPECT_STREQ(ZACurrentVersion, "2.64 ");
}
