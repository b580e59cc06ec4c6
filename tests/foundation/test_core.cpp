// The core services: resource strings, version flags, the code-page tables
// and the text conversions.
#include <gtest/gtest.h>

#include "foundation/vdCore.h"
#include "platform/Streams.h"

namespace {

TvdResourceString sOk("OK"), sCancel("Cancel"), sOther("Other");

void AddEditorStrings(TvdProductResourceStrings& p) {
  p.AddString("sOk", &sOk);
  p.AddString("sCancel", &sCancel);
}

struct Listener : IvdResourceStringsListener {
  int calls = 0;
  void TranslationChanged() override { ++calls; }
};

class ResourceStrings : public ::testing::Test {
 protected:
  void TearDown() override { vdCoreFinalize(); }
  TvdResourceStringsRepository& repo = vdResStringRepositoryInstance();
};

TEST_F(ResourceStrings, ProductsRegisterByExactName) {
  repo.RegisterProduct("Editors", AddEditorStrings);
  repo.RegisterProduct("Editors", nullptr);
  repo.RegisterProduct("Skins", [](TvdProductResourceStrings& p) { p.AddString("sOther", &sOther); });
  EXPECT_EQ(repo.ProductCount(), 3);
  EXPECT_EQ(repo.IndexOfProduct("Skins"), 2);
  EXPECT_EQ(repo.IndexOfProduct("skins"), -1);
  repo.UnregisterProduct("EDITORS");
  EXPECT_EQ(repo.ProductCount(), 3);
  repo.UnregisterProduct("Editors");
  EXPECT_EQ(repo.ProductCount(), 2);
  EXPECT_EQ(repo.Products(0).Count(), 0);  // the second registration is left
  // Sorted by name whatever the order they were added in.
  EXPECT_EQ(vdResStringRepositoryInstance().Products(1).Names(0), "sOther");
}

TEST_F(ResourceStrings, ReplacedAndRestoredWithListenersTold) {
  repo.RegisterProduct("Editors", AddEditorStrings);
  Listener first, second;
  repo.AddListener(&first);
  repo.AddListener(&first);
  repo.AddListener(&second);
  EXPECT_EQ(repo.ListenerCount(), 2);

  EXPECT_TRUE(repo.ReplaceString("sOk", "D'accord"));
  EXPECT_EQ(sOk.Text, "D'accord");
  EXPECT_EQ(first.calls, 1);
  EXPECT_FALSE(repo.ReplaceString("sNothing", "x"));
  EXPECT_EQ(first.calls, 1);

  repo.RemoveListener(&second);
  repo.RestoreStrings();
  EXPECT_EQ(sOk.Text, "OK");
  EXPECT_EQ(first.calls, 2);
  EXPECT_EQ(second.calls, 1);
  repo.RemoveListener(&first);
}

TEST(VersionFlags, ComputedFromPlatformAndVersion) {
  struct Case {
    TvdOSVersion v;
    bool xp, xpUp, vistaUp, win7, nine;
  } cases[] = {
      {{2, 5, 0}, false, false, false, false, false},  // 2000
      {{2, 5, 1}, true, true, false, false, false},    // XP
      {{2, 6, 0}, false, true, true, false, false},    // Vista
      {{2, 6, 1}, false, true, true, true, false},     // 7
      {{2, 10, 0}, false, true, true, false, false},
      {{1, 4, 10}, false, false, false, false, true},  // 98
  };
  for (const Case& c : cases) {
    const TvdOSFlags f = vdComputeOSFlags(c.v);
    SCOPED_TRACE(testing::Message() << c.v.PlatformId << " " << c.v.MajorVersion << "." << c.v.MinorVersion);
    EXPECT_EQ(f.WinXP, c.xp);
    EXPECT_EQ(f.WinXPUp, c.xpUp);
    EXPECT_EQ(f.VistaUp, c.vistaUp);
    EXPECT_EQ(f.Win7, c.win7);
    EXPECT_EQ(f.OS9xFamily, c.nine);
    EXPECT_EQ(f.Win2000OrXP, f.Win2000 || f.WinXP);
  }
  EXPECT_TRUE(vdComputeOSFlags({1, 4, 10}).Win98);
}

TEST(VersionFlags, TestsCanOverrideThem) {
  const TvdOSFlags saved = vdSetOSFlags(vdComputeOSFlags({2, 5, 1}));
  EXPECT_TRUE(vdOSWinXP());
  EXPECT_EQ(vdWin32MajorVersion(), 5u);
  vdSetOSFlags(saved);
  EXPECT_EQ(vdOSWinXP(), saved.WinXP);
}

TEST(CodePages, CharsetMap) {
  const int table[][2] = {{0, 0},       {1, 0},       {2, 0},       {128, 932},   {129, 949},
                          {130, 949},   {134, 936},   {136, 950},   {161, 1253},  {162, 1254},
                          {177, 1255},  {178, 1256},  {186, 1257},  {204, 1251},  {222, 874},
                          {238, 1250},  {255, 0}};
  for (const auto& row : table) EXPECT_EQ(vdCharsetToCodePage(row[0]), row[1]) << row[0];
}

TEST(Locale, WeekStartFromTheLocaleFirstDay) {
  const char* values[] = {"0", "1", "2", "3", "4", "5", "6"};
  const int want[] = {1, 2, 3, 4, 5, 6, 0};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(vdWeekStartDayFromLocaleValue(values[i]), want[i]) << values[i];
  EXPECT_EQ(vdWeekStartDayFromLocaleValue(""), 1);
  EXPECT_EQ(vdWeekStartDayFromLocaleValue("9"), 1);
  EXPECT_GE(vdWeekStartDay(), 0);
  EXPECT_LE(vdWeekStartDay(), 6);
}

TEST(Conversions, NeverReadPastTheirInput) {
  // The text is a view into a larger buffer: counts beyond it are cut.
  const char buffer[] = "abcdef";
  const std::string_view text(buffer, 3);
  EXPECT_EQ(vdMultiByteToWide(text, 1252, 100), u"abc");
  EXPECT_EQ(vdMultiByteToWide(text, 1252, 2), u"ab");
  EXPECT_EQ(vdMultiByteToWide(text, 1252, -1), u"abc");
  EXPECT_EQ(vdMultiByteToWide({}, 1252), u"");
  const char16_t wide[] = u"xyzw";
  EXPECT_EQ(vdWideToMultiByte(std::u16string_view(wide, 2), 1252, 50), "xy");
  EXPECT_EQ(vdWideToMultiByte(u"", 65001), "");
}

TEST(Conversions, Utf8AndAnsiRoundTrip) {
  const String e_acute_utf8 = "\xC3\xA9t\xC3\xA9";
  EXPECT_EQ(vdMultiByteToWide(e_acute_utf8, 65001), u"\u00E9t\u00E9");
  EXPECT_EQ(vdWideToMultiByte(u"\u00E9t\u00E9", 65001), e_acute_utf8);
  EXPECT_EQ(vdAnsiToWideString("\x80", 1252), u"\u20AC");
  EXPECT_EQ(vdWideToAnsiString(u"\u20AC", 1252), "\x80");
  EXPECT_EQ(vdAnsiCharCount("abc"), 3);
  TvdCharSet digits;
  for (char c = '0'; c <= '9'; ++c) digits.set(static_cast<unsigned char>(c));
  EXPECT_TRUE(vdCharIsInSet('5', digits));
  EXPECT_FALSE(vdCharIsInSet('\xFF', digits));
}

TEST(Conversions, Variants) {
  Variant bytes = VarArrayCreate(1, 4, varByte);
  for (int i = 1; i <= 4; ++i) VarArrayPut(bytes, Variant(int32_t('a' + i - 1)), i);
  EXPECT_EQ(vdVariantToAnsiString(bytes), "abcd");
  EXPECT_TRUE(vdVariantIsTextOrBytes(bytes));
  EXPECT_EQ(vdVariantToAnsiString(Variant(String("text"))), "text");
  EXPECT_EQ(vdVariantToAnsiString(Variant(int32_t(42))), "42");
  EXPECT_FALSE(vdVariantIsTextOrBytes(Variant(int32_t(42))));
  EXPECT_EQ(vdVariantToWideString(Variant(String("\xE9"))), u"\u00E9");
}

TEST(Core, StreamWriteInt32IsLittleEndian) {
  TMemoryStream s;
  vdStreamWriteInt32(s, -2);
  EXPECT_EQ(s.Bytes(), (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST(Core, SoftAssertReportsInDebugBuilds) {
  std::vector<String> reports;
  auto previous = vdSetSoftAssertHandler([&](std::string_view m) { reports.emplace_back(m); });
  vdSoftAssert(true, "holds");
  vdSoftAssert(false, "broken");
  vdSetSoftAssertHandler(std::move(previous));
#ifdef NDEBUG
  EXPECT_TRUE(reports.empty());
#else
  EXPECT_EQ(reports, std::vector<String>{"broken"});
#endif
}

}  // namespace
