// Field widths, memory-medium names, LIKE, locale comparison, date and time
// literals, definition collections and the hash shortcuts.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <random>

#include "platform/Streams.h"
#include "tabledb/TomeDB.h"
#include "tools/fixtures/FilterRecord.h"

namespace {

template <class F>
String DatabaseErrorOf(F f) {
  try {
    f();
  } catch (const EDatabaseError& e) {
    return e.Message();
  }
  return "(no error)";
}

TEST(TomeDBBasics, FieldDataSizeByType) {
  const struct {
    uint8_t type;
    int32_t declared;
    int32_t width;
  } cases[] = {
      {ftString, 20, 21}, {ftFixedChar, 3, 4}, {ftSmallint, 0, 2}, {ftWord, 0, 2},    {ftBoolean, 0, 2},
      {ftInteger, 0, 4},  {ftDate, 0, 4},      {ftTime, 0, 4},     {ftAutoInc, 0, 4}, {ftFloat, 0, 8},
      {ftCurrency, 0, 8}, {ftDateTime, 0, 8},  {ftLargeint, 0, 8}, {ftBlob, 0, 0},    {ftMemo, 10, 0},
      {ftGraphic, 0, 0},  {ftFmtMemo, 0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(GetFieldDataSize(c.type, c.declared), c.width) << int(c.type);
  for (uint8_t unsupported : {uint8_t(0), uint8_t(8), uint8_t(12), uint8_t(24), uint8_t(35)})
    EXPECT_EQ(DatabaseErrorOf([&] { GetFieldDataSize(unsupported, 8); }), "General error") << int(unsupported);
}

TEST(TomeDBBasics, MemoryMediumNames) {
  for (const char* valid : {":", ":00A0ff", ":ff"}) EXPECT_TRUE(IsMemoryMediumName(valid)) << valid;
  for (const char* invalid : {"00A0", ":00G0", "", "x:ff", ": ff"})
    EXPECT_FALSE(IsMemoryMediumName(invalid)) << invalid;

  TMemoryStream stream;
  const uint32_t id = RegisterMemoryMedium(&stream);
  const String name = MemoryMediumName(id);
  EXPECT_TRUE(IsMemoryMediumName(name));
  EXPECT_EQ(MemoryMediumNameToStream(name), &stream);
  EXPECT_EQ(MemoryMediumNameToStream(":000" + LowerCase(name.substr(1))), &stream);

  UnregisterMemoryMedium(id);
  EXPECT_EQ(DatabaseErrorOf([&] { MemoryMediumNameToStream(name); }), "Invalid database name '" + name + "'");
  // Never a raw address, however the name looks.
  for (const char* unknown : {":", ":ffffffffffffffff", "scg.qec", ":12G"})
    EXPECT_EQ(DatabaseErrorOf([&] { MemoryMediumNameToStream(unknown); }),
              String("Invalid database name '") + unknown + "'");
}

TEST(TomeDBBasics, LikePatterns) {
  const struct {
    const char* value;
    const char* pattern;
    bool sensitive;
    bool insensitive;
  } cases[] = {
      {"abc", "a%", true, true},
      {"abc", "_b_", true, true},
      {"abc", "%c", true, true},
      {"abc", "ab", false, false},
      {"abc", "abcd", false, false},
      {"", "%", true, true},
      {"", "", true, true},
      {"", "_", false, false},
      {"abc", "abc%%", false, false},  // the first "%" is not the last character
      {"abcd", "abc%%", true, true},
      {"abc", "%%", true, true},
      {"ABC", "abc", false, true},
      {"\xC9", "\xE9", false, false},  // only ASCII letters fold
      {"a%b", "a%b", true, true},      // no escape: "%" always matches a run
      {"Smith", "Sm%", true, true},
      {"Smith", "sm%", false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchLikePattern(c.value, c.pattern, true), c.sensitive) << c.value << " LIKE " << c.pattern;
    EXPECT_EQ(MatchLikePattern(c.value, c.pattern, false), c.insensitive) << c.value << " LIKE " << c.pattern;
  }
}

TEST(TomeDBBasics, LikeAgreesWithStepByStepMatching) {
  std::mt19937 random(1234);
  auto randomText = [&](size_t maxLength, std::string_view alphabet) {
    String s(random() % (maxLength + 1), ' ');
    for (char& c : s) c = alphabet[random() % alphabet.size()];
    return s;
  };
  for (int n = 0; n < 40000; ++n) {
    const String value = randomText(8, "abAB");
    const String pattern = randomText(7, "aAb%%_");
    for (bool fold : {false, true})
      ASSERT_EQ(MatchLikePattern(value, pattern, !fold), ReferenceLike(value, pattern, fold))
          << "'" << value << "' LIKE '" << pattern << "' fold " << fold;
  }
}

TEST(TomeDBBasics, LikeStaysFastOnManyWildcards) {
  // Trying choices one after another takes exponential time here.
  const String value(10000, 'a');
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(MatchLikePattern(value, "%a%a%a%a%b", true));
  EXPECT_TRUE(MatchLikePattern(value + "b", "%a%a%a%a%b", false));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(TomeDBBasics, CompareFieldStrings) {
  const struct {
    const char* s1;
    const char* s2;
    bool partial;
    bool ignoreCase;
    int length;
    int result;  // 2: not equal, in the order the locale gives
  } cases[] = {
      {"Smith", "Smythe", false, false, -1, -1}, {"Smythe", "Smith", false, false, -1, 1},
      {"Smith", "Smythe", true, false, 2, 0},    {"Smith", "Smythe", true, false, -1, -1},
      {"Smith", "Smythe", false, false, 2, -1},  // length counts only with partial
      {"Sm", "Smith", true, false, 3, -1},       // a shorter string takes part as it is
      {"smith", "SMITH", false, true, -1, 0},    {"smith", "SMITH", false, false, -1, 2},
      {"", "", false, false, -1, 0},
  };
  for (const auto& c : cases) {
    const int result = CompareFieldStrings(c.s1, c.s2, c.partial, c.ignoreCase, c.length);
    if (c.result == 2)
      EXPECT_NE(result, 0) << c.s1 << " / " << c.s2;
    else
      EXPECT_EQ(result, c.result) << c.s1 << " / " << c.s2;
  }

  // The comparison is the locale's, through the platform's text hook.
  TTextHooks reversed;
  reversed.Compare = [](std::string_view a, std::string_view b, bool) { return CompareStr(b, a); };
  const TTextHooks previous = SetTextHooks(reversed);
  EXPECT_EQ(CompareFieldStrings("a", "b", false, false, -1), 1);
  EXPECT_EQ(CompareFieldStrings("a", "b", false, true, -1), 1);
  SetTextHooks(previous);
}

TEST(TomeDBBasics, IntegerText) {
  for (const char* yes : {"0", "-12", "2147483647"}) EXPECT_TRUE(IsIntegerText(yes)) << yes;
  for (const char* no : {"", "1.5", "2147483648", "1E3", "x"}) EXPECT_FALSE(IsIntegerText(no)) << no;
}

TEST(TomeDBBasics, DateLiterals) {
  FixedClock clock(EncodeDateTime(2026, 5, 1, 12, 0, 0, 0));
  const struct {
    const char* text;
    int year, month, day;  // 0: the text is refused
  } cases[] = {
      {"12/31/99", 1999, 12, 31}, {"1/2/05", 2005, 1, 2},     {"12/31/1999", 1999, 12, 31},
      {" 7 / 4 / 76", 1976, 7, 4}, {"7/4/75", 2075, 7, 4},     {"01/15/0024", 24, 1, 15},
      {"31/12/1999", 0, 0, 0},     {"2/30/2020", 0, 0, 0},     {"12/31", 0, 0, 0},
      {"12-31-1999", 0, 0, 0},     {"12/31/1999 ", 0, 0, 0},   {"1/1/12345", 0, 0, 0},
  };
  for (const auto& c : cases) {
    TDateTime value = -1;
    const bool ok = TextToDate(c.text, value);
    EXPECT_EQ(ok, c.year != 0) << c.text;
    if (ok && c.year) {
      EXPECT_EQ(value, EncodeDate(c.year, c.month, c.day)) << c.text;
    }
  }
}

TEST(TomeDBBasics, TimeLiterals) {
  const struct {
    const char* text;
    int hour, min, sec, msec;  // hour -1: the text is refused
  } cases[] = {
      {"1:30 PM", 13, 30, 0, 0},  {"PM 12:05", 12, 5, 0, 0},   {"12:05 AM", 0, 5, 0, 0},
      {"pm 1", 13, 0, 0, 0},      {"10:20:30.5", 10, 20, 30, 5}, {"10", 10, 0, 0, 0},
      {"23:59:59.999 ", 23, 59, 59, 999},
      {"13:00 PM", -1, 0, 0, 0},  {"0:10 AM", -1, 0, 0, 0},    {"24:00", -1, 0, 0, 0},
      {"10:", -1, 0, 0, 0},       {"10:61", -1, 0, 0, 0},      {"PM", -1, 0, 0, 0},
      {"10:00 xyz", -1, 0, 0, 0},
  };
  for (const auto& c : cases) {
    TDateTime value = -1;
    const bool ok = TextToTime(c.text, value);
    EXPECT_EQ(ok, c.hour >= 0) << c.text;
    if (ok && c.hour >= 0) {
      EXPECT_EQ(value, EncodeTime(c.hour, c.min, c.sec, c.msec)) << c.text;
    }
  }
}

TEST(TomeDBBasics, DateTimeLiterals) {
  FixedClock clock(EncodeDate(2026, 5, 1));
  TDateTime value;
  ASSERT_TRUE(TextToDateTime("12/31/1999 10:00", value));
  EXPECT_EQ(value, EncodeDateTime(1999, 12, 31, 10, 0, 0, 0));
  ASSERT_TRUE(TextToDateTime("12/31/1999", value));
  EXPECT_EQ(value, EncodeDate(1999, 12, 31));
  ASSERT_TRUE(TextToDateTime("10:00", value));
  EXPECT_EQ(value, EncodeTime(10, 0, 0, 0));
  ASSERT_TRUE(TextToDateTime("1/2/05 1:30 PM", value));
  EXPECT_EQ(value, EncodeDateTime(2005, 1, 2, 13, 30, 0, 0));
  // Before 1899-12-30 the time still counts forward from midnight.
  ASSERT_TRUE(TextToDateTime("12/29/1899 06:00", value));
  EXPECT_EQ(value, -1.25);
  for (const char* bad : {"tomorrow", "12/31/1999 x", "", "10:00 PM x"})
    EXPECT_FALSE(TextToDateTime(bad, value)) << bad;
}

TEST(TomeDBBasics, DefinitionNamesAndLookup) {
  TTomeFieldDefs fields(nullptr);
  TTomeFieldDef* first = fields.Add();
  TTomeFieldDef* second = fields.Add();
  EXPECT_EQ(first->Name(), "TomeF1");
  EXPECT_EQ(second->Name(), "TomeF2");
  EXPECT_EQ(first->FieldType, ftUnknown);
  EXPECT_EQ(first->DataSize, 0);
  EXPECT_EQ(first->DPMode, 0);

  TTomeIndexDefs indexes(nullptr);
  indexes.Add();
  indexes.Add();
  TTomeIndexDef* third = indexes.Add();
  EXPECT_EQ(third->Name(), "TomeI3");
  EXPECT_EQ(third->Options, 0);
  EXPECT_TRUE(third->FieldIdxes.empty());
  // IDs are never reused, so a later item keeps counting.
  indexes.Delete(0);
  EXPECT_EQ(indexes.Add()->Name(), "TomeI4");

  TTomeTableDefs tables(nullptr);
  EXPECT_EQ(tables.Add()->Name(), "");

  second->SetName("Societe");
  EXPECT_EQ(FindDefIndex(fields, "SOCIETE"), 1);
  EXPECT_EQ(FindDefIndex(fields, "tomef1"), 0);
  EXPECT_EQ(FindDefIndex(fields, "Config"), -1);
}

TEST(TomeDBBasics, DefinitionAssign) {
  TTomeFieldDefs fields(nullptr);
  TTomeFieldDef* source = fields.Add();
  source->SetName("Nom");
  source->FieldType = ftString;
  source->DataSize = 40;
  source->DPMode = 1;
  TTomeFieldDef* copy = fields.Add();
  copy->Assign(source);
  EXPECT_EQ(copy->Name(), "Nom");
  EXPECT_EQ(copy->FieldType, ftString);
  EXPECT_EQ(copy->DataSize, 40);
  EXPECT_EQ(copy->DPMode, 1);

  TTomeIndexDefs indexes(nullptr);
  TTomeIndexDef* index = indexes.Add();
  index->SetName("PK");
  index->Options = IndexOptionBit(tiPrimary) | IndexOptionBit(tiDescending);
  index->FieldIdxes = {1, 3};
  TTomeIndexDef* indexCopy = indexes.Add();
  indexCopy->Assign(index);
  EXPECT_EQ(indexCopy->Name(), "PK");
  EXPECT_EQ(indexCopy->Options, 0x05);
  EXPECT_EQ(indexCopy->FieldIdxes, (TIntegerAry{1, 3}));

  EXPECT_THROW(copy->Assign(index), EConvertError);
}

TEST(TomeDBBasics, CrcShortcut) {
  EXPECT_EQ(BufferCRC32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(BufferCRC32("", 0), 0u);
}

}  // namespace
