#include "framed/FmEditNumeric.h"

#include <algorithm>

#include "platform/Numbers.h"

namespace {

bool IsSign(char c) { return c == '+' || c == '-'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsExponent(char c) { return c == 'e' || c == 'E'; }

}  // namespace

bool IsValidNumericChar(char c, const TFmEditState& edit, const TFmNumericRules& rules) {
  if (static_cast<unsigned char>(c) < ' ') return c != '\r';
  const char separator = rules.DecimalSeparator;
  bool accepted = IsSign(c) || IsDigit(c) || c == '(' || c == ')';
  if (!rules.IntegersOnly)
    accepted = accepted || c == separator || (rules.AllowScientificNotation && IsExponent(c));
  if (!accepted) return false;

  const String& text = edit.Text;
  const size_t start = std::min(size_t(std::max(edit.SelStart, 0)), text.size());
  const String selected = text.substr(start, size_t(std::max(edit.SelLength, 0)));
  if (!rules.IntegersOnly && c == separator) {
    const bool inText = text.find(separator) != String::npos;
    return !inText || (!selected.empty() && selected.find(separator) != String::npos);
  }
  if (!rules.IntegersOnly) return true;

  const bool caretAtStart = start == 0 && selected.empty();
  if (IsSign(c)) {
    const bool textHasSign = text.find_first_of("+-") != String::npos;
    if (caretAtStart && !textHasSign) return true;
    if (start == 0 && selected.size() >= text.size() && !text.empty()) return true;  // the whole text
    return start == 0 && selected.find_first_of("+-") != String::npos;
  }
  // Nothing goes in front of a sign.
  return !(caretAtStart && !text.empty() && IsSign(text[0]));
}

double NumericTextToValue(std::string_view text, const TFmNumericRules& rules) {
  const String t = Trim(text);
  if (t.empty()) return 0;
  const bool negative = t[0] == '-' || (t[0] == '(' && t.back() == ')');
  String kept;
  for (size_t i = 0; i < t.size(); ++i) {
    const char c = t[i];
    if (IsDigit(c) || c == rules.DecimalSeparator || (rules.AllowScientificNotation && IsExponent(c))) {
      kept += c;
    } else if (c == '-') {
      if (!rules.AllowScientificNotation || (i > 0 && IsExponent(t[i - 1]))) kept += c;
      else if (i > 0) return 0;  // a minus inside the number: "1-2" is no number
    }
  }
  if (kept.empty()) return 0;
  if (negative && kept[0] != '-') kept.insert(kept.begin(), '-');
  TFormatSettings settings = FormatSettings();
  settings.DecimalSeparator = rules.DecimalSeparator;
  return StrToFloatDef(kept, 0, settings);
}

double CheckNumericRange(double x, const TFmValueRange& range, const TFmRangeErrorHandler& onError, bool& keepFocus) {
  if (range.Min == range.Max && !range.CheckRange) return x;
  double bound;
  if (x < range.Min) bound = range.Min;
  else if (x > range.Max) bound = range.Max;
  else return x;
  bool autoCorrect = true;
  if (onError) onError(x, bound, autoCorrect);
  if (autoCorrect) return bound;
  keepFocus = true;
  return x;
}
