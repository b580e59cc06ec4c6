// The numeric edit's text rules: which key may be typed where, how a text
// reads as a number, and the range check on leaving the field.
#include <gtest/gtest.h>

#include "framed/FmEditNumeric.h"

namespace {

struct KeyCase {
  char key;
  const char* text;
  int selStart, selLength;
  bool accepted;
};

void CheckKeys(const TFmNumericRules& rules, std::initializer_list<KeyCase> cases) {
  for (const KeyCase& c : cases) {
    const TFmEditState edit{c.text, c.selStart, c.selLength};
    EXPECT_EQ(IsValidNumericChar(c.key, edit, rules), c.accepted)
        << "'" << c.key << "' into \"" << c.text << "\" at " << c.selStart << "+" << c.selLength;
  }
}

TEST(NumericKeys, IntegersOnly) {
  CheckKeys(TFmNumericRules{}, {
      {'5', "", 0, 0, true},          {'(', "12", 2, 0, true},        {')', "12", 2, 0, true},
      {'.', "12", 2, 0, false},       {'e', "12", 2, 0, false},       {'E', "12", 2, 0, false},
      {'x', "", 0, 0, false},         {' ', "1", 1, 0, false},        {'\r', "1", 1, 0, false},
      {'\b', "-1", 0, 0, true},       // control characters pass
      {'-', "12", 0, 0, true},        // a sign at the start
      {'+', "12", 0, 0, true},        {'-', "12", 1, 0, false},       // not in the middle
      {'-', "-12", 0, 0, false},      // not a second one
      {'-', "-12", 0, 3, true},       // the whole text selected
      {'+', "-12", 0, 1, true},       // replacing the sign
      {'+', "1-2", 0, 2, true},       // a selection from the start holding a sign
      {'+', "12", 1, 1, false},
      {'7', "-12", 0, 0, false},      // nothing in front of a sign
      {'7', "-12", 0, 1, true},       // but over it
      {'7', "-12", 1, 0, true},
  });
}

TEST(NumericKeys, DecimalsAndExponents) {
  TFmNumericRules rules;
  rules.IntegersOnly = false;
  rules.DecimalSeparator = ',';
  CheckKeys(rules, {
      {',', "12", 2, 0, true},  {',', "1,2", 3, 0, false}, {',', "1,2", 0, 3, true},  // selection holds it
      {',', "1,2", 2, 1, false}, {'.', "12", 2, 0, false},  {'e', "12", 2, 0, true},
      {'E', "12", 2, 0, true},  {'-', "1e", 2, 0, true},   // signs anywhere without IntegersOnly
      {'5', "-1", 0, 0, true},
  });
  rules.AllowScientificNotation = false;
  CheckKeys(rules, {{'e', "12", 2, 0, false}, {'E', "12", 2, 0, false}, {',', "12", 1, 0, true}});
}

TEST(NumericText, ReadsAsANumber) {
  TFmNumericRules scientific;
  scientific.IntegersOnly = false;
  TFmNumericRules plain = scientific;
  plain.AllowScientificNotation = false;
  const struct {
    const char* text;
    const TFmNumericRules& rules;
    double value;
  } cases[] = {
      {"", scientific, 0},          {"   ", scientific, 0},        {"1,234", scientific, 1234},
      {"(1,234)", scientific, -1234}, {"  -42 ", scientific, -42}, {"+7", scientific, 7},
      {"1e-3", scientific, 0.001},  {"-2", scientific, -2},        {"2.5E2", scientific, 250},
      {"$ 12.50", scientific, 12.5}, {"abc", scientific, 0},        {"1.2.3", scientific, 0},
      // A minus inside the number makes it unreadable, with or without
      // exponents.
      {"1-2", scientific, 0},       {"12-3", plain, 0},            {"-12", plain, -12},
      {"(5)", plain, -5},           {"1e3", plain, 13},            // letters are dropped
      {"(12", scientific, 12},      // no closing parenthesis: not negative
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(NumericTextToValue(c.text, c.rules), c.value) << c.text;

  TFmNumericRules comma = scientific;
  comma.DecimalSeparator = ',';
  EXPECT_DOUBLE_EQ(NumericTextToValue("3,25", comma), 3.25);
  EXPECT_DOUBLE_EQ(NumericTextToValue("3.25", comma), 325);
}

TEST(NumericRange, CorrectsOrKeepsTheEnteredValue) {
  struct Seen {
    double entered = 0, adjusted = 0;
    int calls = 0;
  } seen;
  bool refuse = false;
  const TFmRangeErrorHandler handler = [&](double entered, double adjusted, bool& autoCorrect) {
    seen = {entered, adjusted, seen.calls + 1};
    if (refuse) autoCorrect = false;
  };
  bool keepFocus = false;
  const TFmValueRange oneToTen{1, 10, false};
  EXPECT_EQ(CheckNumericRange(15, oneToTen, handler, keepFocus), 10);
  EXPECT_EQ(seen.entered, 15);
  EXPECT_EQ(seen.adjusted, 10);
  EXPECT_FALSE(keepFocus);
  EXPECT_EQ(CheckNumericRange(-3, oneToTen, handler, keepFocus), 1);
  EXPECT_EQ(CheckNumericRange(5, oneToTen, handler, keepFocus), 5);
  EXPECT_EQ(seen.calls, 2);  // in range: no event

  refuse = true;
  EXPECT_EQ(CheckNumericRange(15, oneToTen, handler, keepFocus), 15);
  EXPECT_TRUE(keepFocus);

  // Equal bounds: no limits, unless CheckRange pins the value.
  keepFocus = false;
  EXPECT_EQ(CheckNumericRange(1e9, TFmValueRange{0, 0, false}, nullptr, keepFocus), 1e9);
  EXPECT_EQ(CheckNumericRange(1e9, TFmValueRange{0, 0, true}, nullptr, keepFocus), 0);
  EXPECT_EQ(CheckNumericRange(-4, TFmValueRange{0, 0, true}, nullptr, keepFocus), 0);
  EXPECT_FALSE(keepFocus);
}

}  // namespace
