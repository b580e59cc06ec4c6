// Windows-1252 text, case mapping, integer conversion and Format.
#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "platform/FormatSettings.h"
#include "platform/Text.h"

TEST(Text, Cp1252RoundTripsThroughUtf16AndUtf8) {
  // "Précédent" and the euro sign, spelled as Windows-1252 bytes.
  const String ansi = "Pr\xE9" "c\xE9" "dent \x80 \x8C\x9C";
  EXPECT_EQ(AnsiToWide(ansi), u"Précédent € Œœ");
  EXPECT_EQ(WideToAnsi(AnsiToWide(ansi)), ansi);
  // This file's narrow literals are Windows-1252, so the UTF-8 form is spelled out.
  const String utf8 = "Pr\xC3\xA9" "c\xC3\xA9" "dent \xE2\x82\xAC \xC5\x92\xC5\x93";
  EXPECT_EQ(AnsiToUtf8(ansi), utf8);
  EXPECT_EQ(Utf8ToAnsi(utf8), ansi);
  // Characters outside the code page and broken UTF-8 become '?'.
  EXPECT_EQ(WideToAnsi(u"\u4E2D\U0001F600x"), "??x");
  EXPECT_EQ(Utf8ToAnsi("a\xC3"), "a?");
  EXPECT_EQ(Utf8ToAnsi("\xFF" "b"), "?b");
}

TEST(Text, CaseMappingAndComparison) {
  EXPECT_EQ(UpperCase("abc\xE9"), "ABC\xE9");           // ASCII only
  EXPECT_EQ(AnsiUpperCase("abc\xE9\x9C\xFF"), "ABC\xC9\x8C\x9F");  // locale letters
  EXPECT_EQ(AnsiLowerCase("\xC9T\xC9"), "\xE9t\xE9");
  EXPECT_EQ(CompareText("abc", "ABD"), -1);
  EXPECT_EQ(CompareText("abcd", "ABC"), 1);
  EXPECT_TRUE(SameText("Config", "CONFIG"));
  EXPECT_TRUE(AnsiSameText("\xE9t\xE9", "\xC9T\xC9"));
  EXPECT_FALSE(SameText("ab", "abc"));
}

TEST(Text, ComparisonHookReplacesTheLocale) {
  TTextHooks hooks;
  hooks.Compare = [](std::string_view a, std::string_view b, bool) { return int(b.size()) - int(a.size()); };
  TTextHooks old = SetTextHooks(hooks);
  EXPECT_EQ(AnsiCompareStr("zz", "a"), -1);
  EXPECT_EQ(AnsiCompareText("a", "zz"), 1);
  SetTextHooks(old);
  EXPECT_EQ(AnsiCompareStr("zz", "a"), 1);
}

TEST(Text, SubstringsAndTrimming) {
  EXPECT_EQ(Copy("Quillor", 2, 3), "uil");
  EXPECT_EQ(Copy("Quillor", 0, 2), "Qu");
  EXPECT_EQ(Copy("Quillor", 6, 100), "or");
  EXPECT_EQ(Copy("Quillor", 9, 1), "");
  EXPECT_EQ(Copy("Quillor", 2, -1), "");
  EXPECT_EQ(Pos("ll", "Quillor"), 4);
  EXPECT_EQ(Pos("x", "Quillor"), 0);
  EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
  EXPECT_EQ(QuotedStr("l'an"), "'l''an'");
  EXPECT_EQ(StringReplace("a.b.c", ".", "\\", rfReplaceAll), "a\\b\\c");
  EXPECT_EQ(StringReplace("aXbx", "x", "-", rfIgnoreCase), "a-bx");
  EXPECT_EQ(StringReplace("aXbx", "x", "-", rfIgnoreCase | rfReplaceAll), "a-b-");
}

TEST(Text, IntegerConversions) {
  struct Case { const char* text; bool ok; int32_t value; };
  const Case cases[] = {
      {"0", true, 0},          {" -17 ", true, -17},       {"+5", true, 5},
      {"$FF", true, 255},      {"0x7fffffff", true, INT32_MAX}, {"$FFFFFFFF", true, -1},
      {"2147483647", true, INT32_MAX}, {"-2147483648", true, INT32_MIN},
      {"2147483648", false, 0}, {"12a", false, 0},          {"", false, 0},
      {"-", false, 0},          {"1 2", false, 0},          {"99999999999999999999999", false, 0},
  };
  for (const Case& c : cases) {
    int32_t v = 12345;
    EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
  EXPECT_EQ(StrToIntDef("x", 7), 7);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  try {
    StrToInt("12a");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'12a' is not a valid integer value");
  }
  EXPECT_EQ(IntToHex(0xBEEF, 8), "0000BEEF");
  EXPECT_EQ(IntToStr(-42), "-42");
}

TEST(Text, FormatConversions) {
  struct Case { String expected; String actual; };
  const Case cases[] = {
      {"Native error: 00007", Format("Native error: %.5d", {7})},
      {"007", Format("%.3u", {7u})},
      {"-05", Format("%.2d", {-5})},
      {"[   42]", Format("[%5d]", {42})},
      {"[42   ]", Format("[%-5d]", {42})},
      {"FF 00FF", Format("%x %.4X", {255, 255})},
      {"FFFFFFFF", Format("%x", {-1})},
      {"a 'b' 100%", Format("%s '%s' 100%%", {"a", String("b")})},
      {"abc", Format("%.3s", {"abcdef"})},
      {"3.14", Format("%.2f", {3.14159})},
      {"2.50", Format("%f", {2.5})},
      {"1234567.5", Format("%g", {1234567.5})},
      {"1E20", Format("%g", {1e20})},
      {"-1.01", Format("%.2f", {-1.005})},
      {"1,234,567.89", Format("%n", {1234567.891})},
      {"b a", Format("%1:s %0:s", {"a", "b"})},
      {"[  x]", Format("[%*s]", {3, "x"})},
      {"4294967295", Format("%u", {-1})},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(Text, FormatRejectsMismatchedArguments) {
  const char* bad[] = {"%d", "%s", "%f", "%", "%.2q"};
  for (const char* fmt : bad) {
    try {
      Format(fmt, {fmt[1] == 's' ? FormatArg(1) : FormatArg("x")});
      ADD_FAILURE() << fmt;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Format '" + String(fmt) + "' invalid or incompatible with argument");
    }
  }
  EXPECT_THROW(Format("%d %d", {1}), EConvertError);  // missing argument
}

TEST(Text, FormatFollowsDecimalSeparator) {
  TFormatSettings saved = FormatSettings();
  FormatSettings().DecimalSeparator = ',';
  FormatSettings().ThousandSeparator = ' ';
  EXPECT_EQ(Format("%.1f", {2.25}), "2,3");  // halves round away from zero
  EXPECT_EQ(Format("%n", {1234.5}), "1 234,50");
  FormatSettings() = saved;
}
