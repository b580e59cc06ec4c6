// The filter's direct checks against the tree's own evaluation: every filter
// of a table, on records of ordinary, boundary and empty values, under every
// option, gives the same answer or the same error both ways.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>

#include "tabledb/TomeDB.h"
#include "tools/fixtures/FilterRecord.h"

namespace {

class DirectFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    record.AddField("Name", ftString, 8);
    record.AddField("Code", ftFixedChar, 3);
    record.AddField("Age", ftInteger);
    record.AddField("Qty", ftSmallint);
    record.AddField("W", ftWord);
    record.AddField("Big", ftLargeint);
    record.AddField("Amount", ftFloat);
    record.AddField("Price", ftCurrency);
    record.AddField("Vip", ftBoolean);
    record.AddField("Since", ftDate);
    record.AddField("At", ftTime);
    record.AddField("Created", ftDateTime);
    record.AddField("Notes", ftMemo);
  }

  // "true", "false" or the error, by the direct checks or by the tree.
  String Outcome(bool direct, TFilterOptions options) {
    try {
      if (direct) return parser.Evaluate(options) ? "true" : "false";
      TExprNode* root = parser.Nodes().Root;
      parser.Nodes().Calculate(root, options);
      return root->AsBoolean() ? "true" : "false";
    } catch (const Exception& e) {
      return String(e.ClassName()) + ": " + e.Message();
    }
  }

  TTestRecord record;
  TFilterParser parser{record};
};

TEST_F(DirectFilterTest, AgreesWithTheTreeOnEveryRecordAndOption) {
  // Each record starts from an all-zero buffer: the empty value of every
  // field, as a field without a value holds it.
  const std::vector<std::function<void(TTestRecord&)>> records = {
      [](TTestRecord&) {},
      [](TTestRecord& r) {
        r.SetText("Name", "name1");
        r.SetText("Code", "AB");
        r.Set<int32_t>("Age", 30);
        r.Set<int16_t>("Qty", 2);
        r.Set<uint16_t>("W", 7);
        r.Set<int64_t>("Big", 30);
        r.Set<double>("Amount", 12.5);
        r.Set<double>("Price", 3.25);
        r.Set<uint16_t>("Vip", 1);
        r.SetDate("Since", 2024, 1, 15);
        r.SetTime("At", 14, 5, 30, 250);
        r.SetDateTime("Created", EncodeDateTime(2023, 6, 30, 23, 59, 59, 999));
        r.SetText("Notes", "call back");
      },
      [](TTestRecord& r) {
        r.SetText("Name", "NAME12xy");  // the field's whole width
        r.SetText("Code", "ABC");
        r.Set<int32_t>("Age", INT_MIN);
        r.Set<int16_t>("Qty", -32768);
        r.Set<uint16_t>("W", 65535);
        r.Set<int64_t>("Big", INT64_MAX);
        r.Set<double>("Amount", std::nan(""));
        r.Set<double>("Price", -0.0);
        r.Set<uint16_t>("Vip", 0x0100);
        r.SetDate("Since", 1, 1, 1);
        r.SetTime("At", 23, 59, 59, 999);
        r.SetDateTime("Created", EncodeDateTime(9999, 12, 31, 0, 0, 0, 0));
      },
      [](TTestRecord& r) {
        r.SetText("Name", "\xE9t\xE9");
        r.SetText("Code", "n");
        r.Set<int32_t>("Age", INT_MAX);
        r.Set<int16_t>("Qty", 32767);
        r.Set<int64_t>("Big", INT64_MIN);
        r.Set<double>("Amount", -1e308);
        r.SetText("Notes", "NAME1");
      },
  };
  const std::vector<String> filters = {
      // Comparisons of a field with a constant, either way round, and of
      // two fields.
      "Age > 30", "30 < Age", "Age = Age", "Age >= -2147483648", "Qty <= -1", "W >= 65535", "W > Qty",
      "Big > 2147483647", "Big = Age", "Age > 29.5", "Amount > 1", "Amount = Amount", "Amount <> Amount",
      "Amount <= 12.5", "Price = 0", "Price >= -0.0", "Vip = True", "Vip <> False", "Since > '01/01/2024'",
      "Since = '1/1/1'", "At < '12:00'", "At >= '11:59:59 PM'", "Created >= '06/30/2023 23:59'",
      "Created > Since", "Since <= Created",
      // Text, whole and partial.
      "Name = 'name1'", "Name = 'name*'", "Name = 'NAME*'", "Name > 'n'", "Name <= 'NAME12xy'", "'name1' = Name",
      "Code = 'AB'", "Code <> Name", "Name = ''",
      // LIKE: prefixes and every other pattern.
      "Name LIKE 'name1%'", "Name LIKE 'NAME1%'", "Name LIKE 'name12xy%'", "Name LIKE 'name12xyz%'",
      "Name LIKE '%'", "Name LIKE ''", "Name LIKE 'n_me%'", "Name LIKE 'name1%%'", "Name LIKE 'name1'",
      "Name LIKE '%1'", "Name LIKE '\xE9%'", "Name LIKE '\xC9%'", "Code LIKE 'ABCD%'", "Code LIKE 'ab%'",
      "Name LIKE Code", "'name1x' LIKE 'name1%'", "'name1' LIKE Name", "Notes LIKE 'call%'",
      // Runs of AND and OR, NOT, and subtrees left to the tree.
      "NOT Name LIKE 'n%'", "Age > 30 AND Name LIKE 'n%' AND Qty < 0", "Age > 30 OR Name LIKE 'n%' OR Vip",
      "(Age > 0 OR Qty < 0) AND NOT (Vip OR Name = 'x')", "Age > 0 AND (Qty > 0 AND (W > 0 OR Big > 0))",
      "Age + 1 > 31 AND Name LIKE 'n%'", "Age IN (30, 31) OR Name LIKE 'n%'", "UPPER(Name) LIKE 'NAME%'",
      "Vip", "NOT Vip", "Vip AND Qty > 0", "True OR Age > 0",
      // Errors of a subtree, reached or skipped.
      "Amount / Qty > 1 OR Age > 0", "Age > 0 OR Amount / Qty > 1", "Qty = 0 AND Age / Qty > 1",
  };
  for (size_t r = 0; r < records.size(); ++r) {
    std::fill(record.Buffer().begin(), record.Buffer().end(), 0);
    record.SetText("Notes", "");
    records[r](record);
    for (const String& filter : filters) {
      parser.Parse(filter);
      for (TFilterOptions options = 0; options < 4; ++options)
        EXPECT_EQ(Outcome(true, options), Outcome(false, options))
            << "record " << r << ": " << filter << " / options " << int(options);
    }
  }
}

TEST_F(DirectFilterTest, PatternCutAtItsNulIsMatchedAsTheTreeMatchesIt) {
  // The text after a NUL in a literal is not part of the pattern: "na" must
  // not become the prefix of "na%".
  for (const char* value : {"na", "nax", "n"}) {
    record.SetText("Name", value);
    for (const std::string_view filter :
         {std::string_view("Name LIKE 'na\0%'", 16), std::string_view("Name LIKE 'n\0a%'", 16)}) {
      parser.Parse(filter);
      EXPECT_EQ(Outcome(true, 0), Outcome(false, 0)) << value;
    }
  }
}

TEST_F(DirectFilterTest, PrefixPatternsMatchWhatTheMatcherMatches) {
  const struct {
    const char* pattern;
    const char* prefix;  // nullptr: not a prefix pattern
  } patterns[] = {
      {"name1%", "name1"}, {"%", ""}, {"N%", "N"}, {"name1", nullptr}, {"", nullptr},
      {"na_e%", nullptr},  {"name1%%", nullptr}, {"%name", nullptr}, {"n%e%", nullptr},
  };
  const char* values[] = {"", "n", "name", "name1", "NAME1", "name10", "Name1x", "name\xE9", "nam"};
  for (const auto& p : patterns) {
    std::string_view prefix;
    ASSERT_EQ(LikePatternPrefix(p.pattern, prefix), p.prefix != nullptr) << p.pattern;
    if (!p.prefix) continue;
    EXPECT_EQ(prefix, p.prefix);
    for (const char* value : values)
      for (bool caseSensitive : {true, false}) {
        const std::string_view v(value);
        const bool starts = v.size() >= prefix.size() && (caseSensitive ? v.substr(0, prefix.size()) == prefix
                                                                         : SameText(v.substr(0, prefix.size()), prefix));
        EXPECT_EQ(MatchLikePattern(v, p.pattern, caseSensitive), starts) << value << " LIKE " << p.pattern;
      }
  }
}

TEST_F(DirectFilterTest, AScanLooksTheFieldsUpOnceInItsBuffer) {
  parser.Parse("Age > 20 AND Name LIKE 'Sm%'");
  record.SetText("Name", "Smith");
  record.Set<int32_t>("Age", 30);
  parser.BeginScan();
  EXPECT_TRUE(parser.Evaluate(0));
  // The scan reads the next record into the same buffer.
  record.Set<int32_t>("Age", 10);
  EXPECT_FALSE(parser.Evaluate(0));
  record.Set<int32_t>("Age", 40);
  record.SetText("Name", "Jones");
  EXPECT_FALSE(parser.Evaluate(0));
  parser.EndScan();
  // Out of the scan, each test looks the fields up again.
  record.Relocate();
  record.SetText("Name", "Smythe");
  EXPECT_TRUE(parser.Evaluate(0));
  // A scan without a record buffer fails when a field is read, not before.
  record.SetActive(false);
  parser.Parse("Age > 20");
  parser.BeginScan();
  try {
    parser.Evaluate(0);
    ADD_FAILURE() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "No current record");
  }
  parser.Parse("True OR Age > 20");
  parser.BeginScan();
  EXPECT_TRUE(parser.Evaluate(0));
}

}  // namespace
