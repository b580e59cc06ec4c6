// Messages of EZAException: the code table, the texts and the decoration.
#include <gtest/gtest.h>

#include "archive/ZAConst.h"
#include "archive/ZAExcept.h"
#include "platform/Components.h"

namespace {

// The message index of each native code 0..60.
const int kExpectedIndex[ZANativeErrorCount] = {
    0,  1,  1,  1,  1,  2,  3,  1,  4,  5,  5,  6,  6,  7,  7,  6,  1,  8,  6,
    9,  10, 1,  11, 9,  1,  11, 13, 14, 15, 5,  6,  6,  16, 12, 17, 18, 19, 20,
    6,  21, 22, 23, 6,  23, 24, 24, 25, 26, 27, 28, 29, 30, 31, 6,  6,  32, 33,
    34, 35, 36, 37, 38, 39, 40,
};

String Code(int n) { return Format("%.5d", {n}); }

}  // namespace

TEST(ZAMessages, EveryNativeCodeMapsToItsMessage) {
  for (int code = 0; code < ZANativeErrorCount; ++code) {
    SCOPED_TRACE(code);
    const EZAException e(code, nullptr);
    EXPECT_EQ(e.NativeError(), code);
    EXPECT_EQ(e.ErrorCode(), kExpectedIndex[code]);
    EXPECT_EQ(e.Message(), String(ZAMessages[kExpectedIndex[code]]) + " - Native error: " + Code(code));
  }
  // Exact texts that callers show to people.
  EXPECT_STREQ(ZAMessages[4], "Invalid size or check sum of file or unsupported compression format");
  EXPECT_STREQ(ZAMessages[20], "Archive is open. You should close it beore performing this operation.");
  EXPECT_STREQ(ZAMessages[32], "Deflate64 compression method is not supported");
  EXPECT_EQ(ZAMessageIndexFor(64), 0);
  EXPECT_EQ(ZAMessageIndexFor(-1), 0);
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
