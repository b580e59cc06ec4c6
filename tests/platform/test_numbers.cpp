// Float and currency formatting and parsing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/Errors.h"
#include "platform/Numbers.h"

namespace {

// Day-first, comma-decimal conventions with the currency after the amount.
TFormatSettings FrenchSettings() {
  TFormatSettings fs;
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = ' ';
  fs.CurrencyString = "\x80";
  fs.CurrencyFormat = 3;
  fs.NegCurrFormat = 8;
  return fs;
}

}  // namespace

TEST(Numbers, FloatToStrPicksFixedOrScientific) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case { double value; const char* text; };
  const Case cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1.5, "1.5"},
      {-2.25, "-2.25"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {1e14, "100000000000000"},
      {1e15, "1E15"},
      {123456789012345678.0, "1.23456789012346E17"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {-1.5e-300, "-1.5E-300"},
      {999999999999999.9, "1E15"},  // rounding carries into a new digit
      {nan, "NAN"},
      {inf, "INF"},
      {-inf, "-INF"},
  };
  for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.value), c.text) << c.value;
  EXPECT_EQ(FloatToStr(1234.5, FrenchSettings()), "1234,5");
}

TEST(Numbers, FloatToStrFFormats) {
  struct Case { double value; TFloatFormat format; int precision, digits; const char* text; };
  const Case cases[] = {
      {1234.5, ffExponent, 5, 2, "1.2345E+03"},
      {-0.00012345, ffExponent, 3, 0, "-1.23E-4"},
      {0, ffExponent, 3, 1, "0.00E+0"},
      {1234.567, ffFixed, 15, 2, "1234.57"},
      {1.005, ffFixed, 15, 2, "1.01"},  // shown from its 15 significant digits
      {2.5, ffFixed, 15, 0, "3"},       // halves round away from zero
      {-0.001, ffFixed, 15, 2, "0.00"}, // no negative zero
      {1e20, ffFixed, 15, 2, "1E20"},   // too many integer digits
      {0.5, ffFixed, 15, 3, "0.500"},
      {1234567.891, ffNumber, 15, 2, "1,234,567.89"},
      {-999.5, ffNumber, 15, 0, "-1,000"},
      {1234.5, ffCurrency, 15, 2, "$1,234.50"},
      {-1234.5, ffCurrency, 15, 2, "($1,234.50)"},
      {12.3456, ffGeneral, 4, 0, "12.35"},
      {12345, ffGeneral, 4, 2, "1.235E04"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits), c.text) << c.value << " " << c.format;

  TFormatSettings fr = FrenchSettings();
  EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2, fr), "1 234,50 \x80");
  EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2, fr), "-1 234,50 \x80");
  EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 1, fr), "1 234 567,9");
}

TEST(Numbers, FormatFloatPatterns) {
  struct Case { const char* pattern; double value; const char* text; };
  const Case cases[] = {
      {"0.00", 1.005, "1.01"},
      {"0.00", 1e20, "1E20"},
      {"0", 1234.5, "1235"},
      {"0", 123456, "123456"},  // digits beyond the places still show
      {"000", 5, "005"},
      {"0", -0.4, "0"},
      {"#", 0, ""},
      {"#.##", 0.5, ".5"},
      {"0.##", 1, "1"},
      {"0.0#", 1.25, "1.25"},
      {"0.0#", 1.2, "1.2"},
      {"#,##0.00", 1234567.891, "1,234,567.89"},
      {"#,##0.00", 0.5, "0.50"},
      {"#,##0", -1234567, "-1,234,567"},
      {"$#,##0.00", 1234.5, "$1,234.50"},
      {"00-00", 1234, "12-34"},
      {"'Total: '0.00", 5, "Total: 5.00"},
      {"0.00 \"kg\"", 2, "2.00 kg"},
      {"0.00E+00", 12345, "1.23E+04"},
      {"0.00E-00", 0.00012345, "1.23E-04"},
      {"0.00E-00", 12345, "1.23E04"},
      {"0.###E+0", 0, "0E+0"},
      {"#,##0;(#,##0);'zero'", 1234, "1,234"},
      {"#,##0;(#,##0);'zero'", -1234, "(1,234)"},
      {"#,##0;(#,##0);'zero'", 0, "zero"},
      {"0.0;;'none'", -2.5, "-2.5"},  // empty negative section: positive with a sign
      {"0.0;'neg'", 0, "0.0"},        // no zero section: the positive one
      {"", 1.5, "1.5"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatFloat(c.pattern, c.value), c.text) << c.pattern << " " << c.value;

  TFormatSettings fr = FrenchSettings();
  fr.ThousandSeparator = '.';
  EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891, fr), "1.234.567,89");
  EXPECT_EQ(FormatFloat("0.00E+00", 12345, fr), "1,23E+04");
}

TEST(Numbers, StrToFloatAcceptsOnlyPlainNumbers) {
  struct Good { const char* text; double value; };
  const Good good[] = {
      {" 1.5 ", 1.5}, {"-2", -2},        {"+3.25", 3.25}, {"1e3", 1000},
      {"1.5E-3", 0.0015}, {".5", 0.5},   {"5.", 5},       {"1e-400", 0},
      {"007", 7},     {"1.7976931348623157e308", 1.7976931348623157e308},
  };
  for (const Good& g : good) {
    double v = -1;
    EXPECT_TRUE(TryStrToFloat(g.text, v)) << g.text;
    EXPECT_DOUBLE_EQ(v, g.value) << g.text;
  }
  const char* bad[] = {"", " ", "abc", "1,5", "1.2.3", "1e", "--1", "1e400", "0x10", "inf", "nan", ".", "1 2", "$1"};
  for (const char* b : bad) {
    double v = 42;
    EXPECT_FALSE(TryStrToFloat(b, v)) << b;
    EXPECT_EQ(v, 42) << b;
    EXPECT_EQ(StrToFloatDef(b, -7), -7) << b;
  }
  try {
    StrToFloat("12abc");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'12abc' is not a valid floating point value");
  }

  TFormatSettings fr = FrenchSettings();
  EXPECT_EQ(StrToFloat("1,5", fr), 1.5);
  EXPECT_THROW(StrToFloat("1.5", fr), EConvertError);
}

TEST(Numbers, FormattedFloatsParseBack) {
  const double values[] = {0.1, -123.456, 1e-7, 6.02214076e23, 1.0 / 7};
  for (double v : values) EXPECT_NEAR(StrToFloat(FloatToStr(v)), v, std::fabs(v) * 1e-14) << v;
}

TEST(Numbers, CurrencyIsExactToTheTenThousandth) {
  const int64_t max = std::numeric_limits<int64_t>::max(), min = std::numeric_limits<int64_t>::min();
  struct Good { const char* text; int64_t scaled; };
  const Good good[] = {
      {"12.5", 125000},
      {"-0.0001", -1},
      {"12.34565", 123456},  // halves go to even
      {"12.34575", 123458},
      {"12.345651", 123457},
      {"0.00004", 0},
      {"1e2", 1000000},
      {"922337203685477.5807", max},
      {"-922337203685477.5808", min},
  };
  for (const Good& g : good) EXPECT_EQ(StrToCurr(g.text).Scaled, g.scaled) << g.text;
  Currency c;
  EXPECT_FALSE(TryStrToCurr("922337203685477.5808", c));
  EXPECT_FALSE(TryStrToCurr("1e20", c));
  EXPECT_FALSE(TryStrToCurr("12,5", c));
  try {
    StrToCurr("1e20");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'1e20' is not a valid floating point value");
  }

  EXPECT_EQ(CurrToStr(Currency::FromScaled(125000)), "12.5");
  EXPECT_EQ(CurrToStr(Currency::FromScaled(min)), "-922337203685477.5808");
  EXPECT_EQ(CurrToStr(Currency::FromScaled(max)), "922337203685477.5807");
  EXPECT_EQ(CurrToStr(Currency{}), "0");
  for (int64_t scaled : {int64_t(1), int64_t(-98765432101234), max, min})
    EXPECT_EQ(StrToCurr(CurrToStr(Currency::FromScaled(scaled))).Scaled, scaled);
  EXPECT_EQ(CurrToStrF(Currency::FromScaled(12345678), ffCurrency, 2), "$1,234.57");
  EXPECT_EQ(CurrToStrF(Currency::FromScaled(-5000), ffFixed, 4), "-0.5000");
  EXPECT_EQ(CurrToStr(Currency::FromScaled(125000), FrenchSettings()), "12,5");

  EXPECT_EQ(FloatToCurr(1.23456).Scaled, 12346);
  EXPECT_EQ(FloatToCurr(-2.5).Scaled, -25000);
  EXPECT_FALSE(TryFloatToCurr(1e300, c));
  EXPECT_FALSE(TryFloatToCurr(std::numeric_limits<double>::quiet_NaN(), c));
  try {
    FloatToCurr(1e300);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'1E300' is not a valid currency value");
  }
}

TEST(Numbers, ProcessSettingsApplyWhenNoneAreGiven) {
  TFormatSettings saved = FormatSettings();
  FormatSettings() = FrenchSettings();
  EXPECT_EQ(FloatToStr(2.5), "2,5");
  EXPECT_EQ(FormatFloat("#,##0.0", 12345.67), "12 345,7");
  EXPECT_EQ(StrToFloat("2,5"), 2.5);
  FormatSettings() = saved;
}
