// Floating-point and currency text: formatting with the float formats and
// the FormatFloat pattern language, and parsing, under the process-wide
// format settings or an explicit TFormatSettings.
//
// A double is shown with at most 15 significant digits (what it holds
// reliably); the digits are then rounded half away from zero to the places
// a format asks for, so 1.005 with two decimals shows as "1.01".
#pragma once

#include <compare>
#include <cstdint>

#include "FormatSettings.h"
#include "Text.h"

// A fixed-point amount: a 64-bit integer counting ten-thousandths.
struct Currency {
  static constexpr int64_t Scale = 10000;
  int64_t Scaled = 0;

  static constexpr Currency FromScaled(int64_t scaled) {
    Currency c;
    c.Scaled = scaled;
    return c;
  }
  double ToDouble() const { return double(Scaled) / double(Scale); }
  friend constexpr auto operator<=>(Currency, Currency) = default;
};

// Rounds to the nearest ten-thousandth (halves to even). False when the
// value is not a number or lies outside the Currency range.
bool TryFloatToCurr(double value, Currency& result);
// Raises EConvertError "'%s' is not a valid currency value".
Currency FloatToCurr(double value);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// ffGeneral: the shortest of fixed and scientific notation with at most
//   precision significant digits, trailing zeros removed; scientific when
//   the value has more than precision integer digits or is below 0.0001;
//   digits is the least number of exponent digits (0..4), written "1E20",
//   "1E-5".
// ffExponent: "-d.dddE+ddd": precision significant digits, an exponent with
//   its sign and at least digits digits (0..4).
// ffFixed: "-ddd.ddd" with digits decimals (0..18); falls back to ffGeneral
//   when the value has more than precision integer digits.
// ffNumber: as ffFixed with thousand separators.
// ffCurrency: digits decimals, thousand separators, CurrencyString placed
//   by CurrencyFormat and NegCurrFormat.
// precision is clamped to 1..15. NaN and infinities give "NAN", "INF",
// "-INF".
String FloatToStrF(double value, TFloatFormat format, int precision, int digits);
String FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                   const TFormatSettings& settings);
// FloatToStrF(value, ffGeneral, 15, 0).
String FloatToStr(double value);
String FloatToStr(double value, const TFormatSettings& settings);

// The pattern language: up to three sections "positive;negative;zero" (an
// empty or missing negative section uses the positive one with a minus
// sign; an empty or missing zero section uses the positive one); in a
// section '0' is a digit that always shows, '#' one that shows when
// significant, the first '.' places the decimal separator, a ',' before it
// turns on thousand separators, "E+"/"E-"/"e+"/"e-" followed by '0's
// switches to scientific notation ('+' always shows the exponent's sign,
// '-' only a minus), text in "double" or 'single' quotes is copied, and any
// other character is copied. An empty pattern gives FloatToStr. Values
// beyond 1E18 that the pattern would show in fixed notation are shown as
// FloatToStr does.
String FormatFloat(std::string_view format, double value);
String FormatFloat(std::string_view format, double value, const TFormatSettings& settings);

// Accepts surrounding blanks, a sign, digits with one DecimalSeparator and
// an exponent ("1.5E-3"); no thousand separators. False for anything else,
// including values beyond the double range.
bool TryStrToFloat(std::string_view s, double& value);
bool TryStrToFloat(std::string_view s, double& value, const TFormatSettings& settings);
// Raises EConvertError "'%s' is not a valid floating point value".
double StrToFloat(std::string_view s);
double StrToFloat(std::string_view s, const TFormatSettings& settings);
double StrToFloatDef(std::string_view s, double def);
double StrToFloatDef(std::string_view s, double def, const TFormatSettings& settings);

// The amount with up to four decimals, trailing zeros removed ("12.5").
String CurrToStr(Currency value);
String CurrToStr(Currency value, const TFormatSettings& settings);
// ffGeneral, ffExponent, ffFixed, ffNumber or ffCurrency with digits
// decimals, exact to the last of the four decimal places.
String CurrToStrF(Currency value, TFloatFormat format, int digits);
String CurrToStrF(Currency value, TFloatFormat format, int digits, const TFormatSettings& settings);
// The same syntax as TryStrToFloat; more than four decimals are rounded
// (halves to even). StrToCurr raises EConvertError "'%s' is not a valid
// floating point value", also for amounts outside the Currency range.
bool TryStrToCurr(std::string_view s, Currency& value);
bool TryStrToCurr(std::string_view s, Currency& value, const TFormatSettings& settings);
Currency StrToCurr(std::string_view s);
Currency StrToCurr(std::string_view s, const TFormatSettings& settings);
