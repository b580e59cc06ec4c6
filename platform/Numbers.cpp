// Float and currency text.
//
// Every formatter works on a Decimal: the significant digits of a value
// without leading or trailing zeros and the power of ten that places them,
// value = 0.d1d2d3... x 10^Exponent. Doubles enter through the C library's
// correctly rounded conversion at 17 significant digits and are cut to at
// most 15, Currency values enter exactly; all rounding is done on the digit
// string, half away from zero.
#include "Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "Errors.h"

namespace {

constexpr int kDoubleDigits = 15;
constexpr int kCurrencyDigits = 19;
// Fixed notation is given up beyond this many integer digits.
constexpr int kMaxFixedDigits = 18;
constexpr int kMaxExponentDigits = 4;

struct Decimal {
  bool Negative = false;
  String Digits;  // no leading or trailing zeros; empty for zero
  int Exponent = 0;
  bool IsZero() const { return Digits.empty(); }
};

void Normalize(Decimal& d) {
  size_t first = d.Digits.find_first_not_of('0');
  if (first == String::npos) {
    d.Digits.clear();
    d.Exponent = 0;
    return;
  }
  d.Digits.erase(0, first);
  d.Exponent -= int(first);
  d.Digits.erase(d.Digits.find_last_not_of('0') + 1);
}

// Keeps the first `keep` digits, rounding half away from zero.
void RoundAt(Decimal& d, int keep) {
  if (keep >= int(d.Digits.size())) return;
  if (keep < 0) {
    d.Digits.clear();
    Normalize(d);
    return;
  }
  bool up = d.Digits[size_t(keep)] >= '5';
  d.Digits.resize(size_t(keep));
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.Digits[size_t(i)] == '9') d.Digits[size_t(i--)] = '0';
    if (i >= 0) {
      ++d.Digits[size_t(i)];
    } else {
      d.Digits.insert(0, "1");
      ++d.Exponent;
    }
  }
  Normalize(d);
}

// The value's digits, read at 17 significant digits (enough to tell every
// double apart) and rounded half away from zero to precision.
Decimal DoubleDecimal(double v, int precision) {
  Decimal d;
  d.Negative = std::signbit(v);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.16e", std::fabs(v));
  // buf is "d.dddddddddddddddde+XX".
  String text = buf;
  size_t e = text.find('e');
  for (size_t i = 0; i < e; ++i)
    if (text[i] != '.') d.Digits.push_back(text[i]);
  d.Exponent = std::atoi(text.c_str() + e + 1) + 1;
  Normalize(d);
  RoundAt(d, precision);
  return d;
}

Decimal CurrencyDecimal(Currency c) {
  Decimal d;
  d.Negative = c.Scaled < 0;
  uint64_t magnitude = d.Negative ? 0 - uint64_t(c.Scaled) : uint64_t(c.Scaled);
  d.Digits = std::to_string(magnitude);
  d.Exponent = int(d.Digits.size()) - 4;
  Normalize(d);
  return d;
}

// The digit at position i of d's digit string, '0' beyond it.
char DigitAt(const Decimal& d, int i) { return i >= 0 && i < int(d.Digits.size()) ? d.Digits[size_t(i)] : '0'; }

String IntegerPart(const Decimal& d) {
  String s;
  for (int i = 0; i < d.Exponent; ++i) s.push_back(DigitAt(d, i));
  return s.empty() ? "0" : s;
}

String FractionPart(const Decimal& d, int count) {
  String s;
  for (int i = 0; i < count; ++i) s.push_back(DigitAt(d, d.Exponent + i));
  return s;
}

String GroupThousands(const String& digits, char separator) {
  if (separator == 0) return digits;
  String out;
  for (size_t i = 0; i < digits.size(); ++i) {
    out.push_back(digits[i]);
    size_t left = digits.size() - i - 1;
    if (left > 0 && left % 3 == 0) out.push_back(separator);
  }
  return out;
}

String ExponentText(int exponent, int minDigits, bool plusSign) {
  String digits = std::to_string(std::abs(exponent));
  if (int(digits.size()) < minDigits) digits.insert(0, size_t(minDigits) - digits.size(), '0');
  if (exponent < 0) return "-" + digits;
  return plusSign ? "+" + digits : digits;
}

String SignOf(const Decimal& d) { return d.Negative && !d.IsZero() ? "-" : ""; }

String FormatGeneral(Decimal d, int precision, int digits, const TFormatSettings& fs) {
  RoundAt(d, precision);
  if (d.IsZero()) return "0";
  int count = int(d.Digits.size());
  if (d.Exponent > precision || d.Exponent < -3) {
    String s = SignOf(d) + d.Digits.substr(0, 1);
    if (count > 1) s += fs.DecimalSeparator + d.Digits.substr(1);
    return s + "E" + ExponentText(d.Exponent - 1, digits, false);
  }
  String s = SignOf(d) + IntegerPart(d);
  int decimals = count - d.Exponent;
  if (decimals > 0) s += fs.DecimalSeparator + FractionPart(d, decimals);
  return s;
}

String FormatExponent(Decimal d, int precision, int digits, const TFormatSettings& fs) {
  RoundAt(d, precision);
  String s = SignOf(d);
  s.push_back(DigitAt(d, 0));
  if (precision > 1) {
    s.push_back(fs.DecimalSeparator);
    for (int i = 1; i < precision; ++i) s.push_back(DigitAt(d, i));
  }
  int exponent = d.IsZero() ? 0 : d.Exponent - 1;
  return s + "E" + ExponentText(exponent, digits, true);
}

// The unsigned fixed-point text of d with `decimals` places.
String FixedDigits(Decimal& d, int decimals, char thousandSeparator, const TFormatSettings& fs) {
  RoundAt(d, d.Exponent + decimals);
  String s = GroupThousands(IntegerPart(d), thousandSeparator);
  if (decimals > 0) s += fs.DecimalSeparator + FractionPart(d, decimals);
  return s;
}

String PlaceCurrency(const String& amount, bool negative, const TFormatSettings& fs) {
  const String& c = fs.CurrencyString;
  if (!negative) {
    switch (fs.CurrencyFormat) {
      case 1: return amount + c;
      case 2: return c + " " + amount;
      case 3: return amount + " " + c;
      default: return c + amount;
    }
  }
  switch (fs.NegCurrFormat) {
    case 1: return "-" + c + amount;
    case 2: return c + "-" + amount;
    case 3: return c + amount + "-";
    case 4: return "(" + amount + c + ")";
    case 5: return "-" + amount + c;
    case 6: return amount + "-" + c;
    case 7: return amount + c + "-";
    case 8: return "-" + amount + " " + c;
    case 9: return "-" + c + " " + amount;
    case 10: return amount + " " + c + "-";
    case 11: return c + " " + amount + "-";
    case 12: return c + " -" + amount;
    case 13: return amount + "- " + c;
    case 14: return "(" + c + " " + amount + ")";
    case 15: return "(" + amount + " " + c + ")";
    default: return "(" + c + amount + ")";
  }
}

String FormatDecimal(Decimal d, TFloatFormat format, int precision, int digits, const TFormatSettings& fs) {
  switch (format) {
    case ffExponent:
      return FormatExponent(d, precision, std::clamp(digits, 0, kMaxExponentDigits), fs);
    case ffFixed:
    case ffNumber: {
      if (d.Exponent > precision) return FormatGeneral(d, precision, 0, fs);
      RoundAt(d, precision);
      String s = FixedDigits(d, std::clamp(digits, 0, kMaxFixedDigits),
                             format == ffNumber ? fs.ThousandSeparator : char(0), fs);
      return SignOf(d) + s;
    }
    case ffCurrency: {
      RoundAt(d, precision);
      String s = FixedDigits(d, std::clamp(digits, 0, kMaxFixedDigits), fs.ThousandSeparator, fs);
      return PlaceCurrency(s, d.Negative && !d.IsZero(), fs);
    }
    case ffGeneral:
    default:
      return FormatGeneral(d, precision, std::clamp(digits, 0, kMaxExponentDigits), fs);
  }
}

String SpecialValueText(double v) {
  if (std::isnan(v)) return "NAN";
  return v > 0 ? "INF" : "-INF";
}

// --- FormatFloat -------------------------------------------------------------

// The sections of a pattern, split at ';' outside quotes.
std::vector<std::string_view> SplitSections(std::string_view format) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(format.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(format.substr(start));
  return sections;
}

bool IsExponentAt(std::string_view section, size_t i) {
  return (section[i] == 'E' || section[i] == 'e') && i + 1 < section.size() &&
         (section[i + 1] == '+' || section[i + 1] == '-');
}

// What one section asks for.
struct Pattern {
  int IntPlaces = 0;      // '0' and '#' before the decimal point
  int MinIntDigits = 0;   // places from the first '0' to the point
  int DecPlaces = 0;      // '0' and '#' after the point
  int MinDecimals = 0;    // places up to the last '0' after the point
  bool Thousands = false;
  bool Scientific = false;
  int ExponentDigits = 0;
};

Pattern ScanPattern(std::string_view section) {
  Pattern p;
  bool afterPoint = false;
  int firstZero = -1;
  char quote = 0;
  for (size_t i = 0; i < section.size(); ++i) {
    char c = section[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if (p.Scientific) {
      if (c == '0' && p.ExponentDigits < kMaxExponentDigits) ++p.ExponentDigits;
    } else if (c == '0' || c == '#') {
      if (afterPoint) {
        ++p.DecPlaces;
        if (c == '0') p.MinDecimals = p.DecPlaces;
      } else {
        if (c == '0' && firstZero < 0) firstZero = p.IntPlaces;
        ++p.IntPlaces;
      }
    } else if (c == '.') {
      afterPoint = true;
    } else if (c == ',') {
      if (!afterPoint) p.Thousands = true;
    } else if (IsExponentAt(section, i)) {
      p.Scientific = true;
      ++i;
    }
  }
  if (firstZero >= 0) p.MinIntDigits = p.IntPlaces - firstZero;
  return p;
}

// Writes value (its magnitude) through one section's layout.
String ApplySection(std::string_view section, double magnitude, bool negative, const TFormatSettings& fs) {
  Pattern p = ScanPattern(section);
  Decimal d = DoubleDecimal(magnitude, kDoubleDigits);
  int exponent = 0;
  if (p.Scientific) {
    int intPlaces = std::max(p.IntPlaces, 1);
    RoundAt(d, std::min(intPlaces + p.DecPlaces, kDoubleDigits));
    if (!d.IsZero()) {
      exponent = d.Exponent - intPlaces;
      d.Exponent = intPlaces;
    }
  } else {
    RoundAt(d, d.Exponent + p.DecPlaces);
  }

  // Integer digits with the zeros the pattern forces, and decimals without
  // the trailing zeros it lets go.
  String whole = d.Exponent > 0 ? IntegerPart(d) : "";
  if (int(whole.size()) < p.MinIntDigits) whole.insert(0, size_t(p.MinIntDigits) - whole.size(), '0');
  String fraction = FractionPart(d, p.DecPlaces);
  while (int(fraction.size()) > p.MinDecimals && fraction.back() == '0') fraction.pop_back();

  String out = negative && !d.IsZero() ? "-" : "";
  const int wholeLen = int(whole.size());
  int place = 0;  // integer places met so far
  int decimal = 0;
  bool afterPoint = false;
  auto emitWhole = [&](int from, int to) {
    for (int j = from; j < to; ++j) {
      out.push_back(whole[size_t(j)]);
      int left = wholeLen - 1 - j;
      if (p.Thousands && fs.ThousandSeparator != 0 && left > 0 && left % 3 == 0) out.push_back(fs.ThousandSeparator);
    }
  };
  char quote = 0;
  for (size_t i = 0; i < section.size(); ++i) {
    char c = section[i];
    if (quote) {
      if (c == quote) quote = 0;
      else out.push_back(c);
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if ((c == '0' || c == '#') && !afterPoint) {
      // Digits that have no place of their own come out at the first place.
      int offset = wholeLen - p.IntPlaces;
      if (place == 0 && offset > 0) emitWhole(0, offset);
      if (place + offset >= 0) emitWhole(place + offset, place + offset + 1);
      ++place;
    } else if ((c == '0' || c == '#') && afterPoint) {
      if (decimal < int(fraction.size())) out.push_back(fraction[size_t(decimal)]);
      ++decimal;
    } else if (c == '.' && !afterPoint) {
      afterPoint = true;
      if (!fraction.empty()) out.push_back(fs.DecimalSeparator);
    } else if (c == ',') {
      // Only switches thousand separators on.
    } else if (IsExponentAt(section, i)) {
      out.push_back(c);
      bool plus = section[i + 1] == '+';
      ++i;
      while (i + 1 < section.size() && section[i + 1] == '0') ++i;
      out += ExponentText(exponent, p.ExponentDigits, plus);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// --- Parsing -------------------------------------------------------------------

// A number's text split into its digits (point removed) and the power of ten
// of the last digit.
struct NumberText {
  bool Negative = false;
  String Digits;
  int64_t Exponent = 0;
};

constexpr int64_t kExponentClamp = 100000;

bool ScanNumber(std::string_view s, char decimalSeparator, NumberText& n) {
  String t = Trim(s);
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) n.Negative = t[i++] == '-';
  bool any = false;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
    n.Digits.push_back(t[i++]);
    any = true;
  }
  if (i < t.size() && t[i] == decimalSeparator) {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
      n.Digits.push_back(t[i++]);
      --n.Exponent;
      any = true;
    }
  }
  if (!any) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    bool negExp = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negExp = t[i++] == '-';
    int64_t e = 0;
    bool expDigits = false;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
      e = std::min<int64_t>(e * 10 + (t[i++] - '0'), kExponentClamp);
      expDigits = true;
    }
    if (!expDigits) return false;
    n.Exponent += negExp ? -e : e;
  }
  if (i != t.size()) return false;
  size_t first = n.Digits.find_first_not_of('0');
  n.Digits.erase(0, first == String::npos ? n.Digits.size() : first);
  return true;
}

bool NumberToDouble(const NumberText& n, double& value) {
  if (n.Digits.empty()) {
    value = n.Negative ? -0.0 : 0.0;
    return true;
  }
  String text = n.Digits + "e" + std::to_string(n.Exponent);
  double v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec == std::errc::result_out_of_range) {
    // Too small to tell from zero is zero; too large is an error.
    if (int64_t(n.Digits.size()) + n.Exponent > 0) return false;
    v = 0;
  } else if (ec != std::errc() || end != text.data() + text.size()) {
    return false;
  }
  value = n.Negative ? -v : v;
  return true;
}

// Exact: the digits scaled to ten-thousandths, rounding halves to even.
bool NumberToCurrency(const NumberText& n, Currency& value) {
  String digits = n.Digits;
  if (digits.empty()) {
    value = Currency{};
    return true;
  }
  int64_t shift = n.Exponent + 4;
  bool roundUp = false;
  if (shift >= 0) {
    if (int64_t(digits.size()) + shift > kCurrencyDigits) return false;
    digits.append(size_t(shift), '0');
  } else if (-shift > int64_t(digits.size())) {
    digits.clear();
  } else {
    size_t keep = digits.size() - size_t(-shift);
    String dropped = digits.substr(keep);
    digits.resize(keep);
    bool oddLast = !digits.empty() && (digits.back() - '0') % 2 == 1;
    roundUp = dropped[0] > '5' ||
              (dropped[0] == '5' && (dropped.find_first_not_of('0', 1) != String::npos || oddLast));
  }
  if (digits.size() > size_t(kCurrencyDigits)) return false;
  // Nineteen digits always fit in 64 unsigned bits.
  uint64_t magnitude = 0;
  for (char c : digits) magnitude = magnitude * 10 + uint64_t(c - '0');
  if (roundUp) ++magnitude;
  const uint64_t limit = uint64_t(std::numeric_limits<int64_t>::max()) + (n.Negative ? 1 : 0);
  if (magnitude > limit) return false;
  value = Currency::FromScaled(n.Negative ? int64_t(0 - magnitude) : int64_t(magnitude));
  return true;
}

[[noreturn]] void InvalidFloat(std::string_view s) {
  throw EConvertError("'%s' is not a valid floating point value", {s});
}

}  // namespace

// --- Currency ------------------------------------------------------------------

bool TryFloatToCurr(double value, Currency& result) {
  double scaled = std::nearbyint(value * double(Currency::Scale));
  // 2^63 is the first double outside the range; the lower end is exact.
  if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0)) return false;
  result = Currency::FromScaled(int64_t(scaled));
  return true;
}

Currency FloatToCurr(double value) {
  Currency c;
  if (!TryFloatToCurr(value, c)) throw EConvertError("'%s' is not a valid currency value", {FloatToStr(value)});
  return c;
}

// --- Formatting ----------------------------------------------------------------

String FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings& fs) {
  if (!std::isfinite(value)) return SpecialValueText(value);
  precision = std::clamp(precision, 1, kDoubleDigits);
  return FormatDecimal(DoubleDecimal(value, precision), format, precision, digits, fs);
}

String FloatToStrF(double value, TFloatFormat format, int precision, int digits) {
  return FloatToStrF(value, format, precision, digits, FormatSettings());
}

String FloatToStr(double value, const TFormatSettings& fs) { return FloatToStrF(value, ffGeneral, 15, 0, fs); }

String FloatToStr(double value) { return FloatToStr(value, FormatSettings()); }

String FormatFloat(std::string_view format, double value, const TFormatSettings& fs) {
  if (!std::isfinite(value)) return SpecialValueText(value);
  std::vector<std::string_view> sections = SplitSections(format);
  std::string_view section = sections[0];
  bool minus = false;
  if (value < 0) {
    if (sections.size() > 1 && !sections[1].empty()) section = sections[1];
    else minus = true;
  } else if (value == 0 && sections.size() > 2 && !sections[2].empty()) {
    section = sections[2];
  }
  if (section.empty()) return FloatToStr(value, fs);
  bool tooLargeForFixed = DoubleDecimal(value, kDoubleDigits).Exponent > kMaxFixedDigits;
  if (tooLargeForFixed && !ScanPattern(section).Scientific) return FloatToStr(value, fs);
  return ApplySection(section, std::fabs(value), minus, fs);
}

String FormatFloat(std::string_view format, double value) { return FormatFloat(format, value, FormatSettings()); }

String CurrToStrF(Currency value, TFloatFormat format, int digits, const TFormatSettings& fs) {
  return FormatDecimal(CurrencyDecimal(value), format, kCurrencyDigits, digits, fs);
}

String CurrToStrF(Currency value, TFloatFormat format, int digits) {
  return CurrToStrF(value, format, digits, FormatSettings());
}

String CurrToStr(Currency value, const TFormatSettings& fs) { return CurrToStrF(value, ffGeneral, 0, fs); }

String CurrToStr(Currency value) { return CurrToStr(value, FormatSettings()); }

// --- Parsing -------------------------------------------------------------------

bool TryStrToFloat(std::string_view s, double& value, const TFormatSettings& fs) {
  NumberText n;
  return ScanNumber(s, fs.DecimalSeparator, n) && NumberToDouble(n, value);
}

bool TryStrToFloat(std::string_view s, double& value) { return TryStrToFloat(s, value, FormatSettings()); }

double StrToFloat(std::string_view s, const TFormatSettings& fs) {
  double v;
  if (!TryStrToFloat(s, v, fs)) InvalidFloat(s);
  return v;
}

double StrToFloat(std::string_view s) { return StrToFloat(s, FormatSettings()); }

double StrToFloatDef(std::string_view s, double def, const TFormatSettings& fs) {
  double v;
  return TryStrToFloat(s, v, fs) ? v : def;
}

double StrToFloatDef(std::string_view s, double def) { return StrToFloatDef(s, def, FormatSettings()); }

bool TryStrToCurr(std::string_view s, Currency& value, const TFormatSettings& fs) {
  NumberText n;
  return ScanNumber(s, fs.DecimalSeparator, n) && NumberToCurrency(n, value);
}

bool TryStrToCurr(std::string_view s, Currency& value) { return TryStrToCurr(s, value, FormatSettings()); }

Currency StrToCurr(std::string_view s, const TFormatSettings& fs) {
  Currency c;
  if (!TryStrToCurr(s, c, fs)) InvalidFloat(s);
  return c;
}

Currency StrToCurr(std::string_view s) { return StrToCurr(s, FormatSettings()); }
