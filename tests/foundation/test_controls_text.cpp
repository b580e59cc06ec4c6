// The control module's portable helpers: mnemonic marks in captions and the
// classification of typed characters and virtual keys.
#include <gtest/gtest.h>

#include "foundation/vxControlsText.h"
#include "platform/FormatSettings.h"

namespace {

TEST(ControlsText, MnemonicMarks) {
  struct Case {
    const char* text;
    bool keepTrailing;
    const char* want;
  } cases[] = {
      {"&Suivant", false, "Suivant"},
      {"Pr&\xE9" "c\xE9" "dent", false, "Pr\xE9" "c\xE9" "dent"},  // "Pr&écédent", in Windows-1252 bytes
      {"Save && Quit", false, "Save & Quit"},
      {"&&&x", false, "&x"},
      {"&&", false, "&"},
      {"End&", true, "End_"},
      {"End&", false, "End"},
      {"&", true, "_"},
      {"&", false, ""},
      {"", true, ""},
      {"no marks", false, "no marks"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vxRemoveMnemonicMarks(c.text, c.keepTrailing), c.want) << c.text;
    EXPECT_EQ(vxRemoveMnemonicMarksW(AnsiToWide(c.text), c.keepTrailing), AnsiToWide(c.want)) << c.text;
  }
  // Wide characters after a mark are kept whole.
  EXPECT_EQ(vxRemoveMnemonicMarksW(u"&\u65E5\u672C&&", false), u"\u65E5\u672C&");
}

TEST(ControlsText, NumericInputByNumberKind) {
  TFormatSettings saved = FormatSettings();
  FormatSettings().DecimalSeparator = ',';
  struct Case {
    char c;
    bool kind0, kind1, kind2, kind3;
  } cases[] = {
      {'0', true, true, true, true},   {'9', true, true, true, true},  {'+', true, true, true, true},
      {'-', true, true, true, true},   {',', false, true, true, false}, {'.', false, false, false, false},
      {'e', false, false, true, false}, {'E', false, false, true, false}, {'x', false, false, false, false},
      {' ', false, false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vxIsNumericInputChar(c.c, 0), c.kind0) << c.c;
    EXPECT_EQ(vxIsNumericInputChar(c.c, 1), c.kind1) << c.c;
    EXPECT_EQ(vxIsNumericInputChar(c.c, 2), c.kind2) << c.c;
    EXPECT_EQ(vxIsNumericInputChar(c.c, 3), c.kind3) << c.c;
  }
  FormatSettings() = saved;
}

TEST(ControlsText, NonCharacterKeysAreExactlyTheListedRanges) {
  const unsigned listed[][2] = {{3, 3},   {8, 9},     {12, 13},   {16, 20},   {27, 27},
                                {33, 47}, {91, 145}, {160, 165}, {229, 229}, {246, 254}};
  for (unsigned key = 0; key < 300; ++key) {
    bool want = false;
    for (const auto& r : listed) want = want || (key >= r[0] && key <= r[1]);
    EXPECT_EQ(vxIsNonCharacterKey(key), want) << key;
  }
  // Spot checks against the key names: space and the letters and digits
  // type characters; escape, the arrows and F1 do not.
  EXPECT_FALSE(vxIsNonCharacterKey(32));
  EXPECT_FALSE(vxIsNonCharacterKey('A'));
  EXPECT_FALSE(vxIsNonCharacterKey('0'));
  EXPECT_TRUE(vxIsNonCharacterKey(0x1B));
  EXPECT_TRUE(vxIsNonCharacterKey(0x25));
  EXPECT_TRUE(vxIsNonCharacterKey(0x70));
  EXPECT_FALSE(vxIsNonCharacterKey(0x1FF));
}

TEST(ControlsText, TextInputStartsAtSpace) {
  EXPECT_FALSE(vxIsTextInputChar('\t'));
  EXPECT_FALSE(vxIsTextInputChar('\x1F'));
  EXPECT_TRUE(vxIsTextInputChar(' '));
  EXPECT_TRUE(vxIsTextInputChar('\xE9'));  // é, above 127
}

}  // namespace
