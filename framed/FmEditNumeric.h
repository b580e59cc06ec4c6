// The numeric edit's rules on text, portable: which key may be typed where,
// how a text reads as a number, and the range check on leaving the field.
// The edit (FmEdit) applies them to its window's text and selection.
#pragma once

#include <functional>

#include "platform/Text.h"

struct TFmNumericRules {
  bool IntegersOnly = true;
  // Exponent letters are accepted (never while IntegersOnly).
  bool AllowScientificNotation = true;
  char DecimalSeparator = '.';
};

// The text and selection a typed character would land in.
struct TFmEditState {
  String Text;
  int SelStart = 0;
  int SelLength = 0;
};

// Whether c may be typed. Control characters pass, except Enter, which the
// caller turns into a Tab beforehand when it wants one.
bool IsValidNumericChar(char c, const TFmEditState& edit, const TFmNumericRules& rules);

// The number a text stands for. Parentheses around it or a leading minus
// make it negative; digit grouping, plus signs, currency text and blanks
// are dropped. A minus anywhere else (save right after an exponent letter)
// makes the text unreadable; unreadable text is 0, never an error.
double NumericTextToValue(std::string_view text, const TFmNumericRules& rules);

// Called with the entered value and the bound it would be corrected to;
// clearing autoCorrect keeps the entered value and the focus.
using TFmRangeErrorHandler = std::function<void(double entered, double adjusted, bool& autoCorrect)>;

struct TFmValueRange {
  double Min = 0;
  double Max = 0;
  // Checks even when Min equals Max (which then pins the value).
  bool CheckRange = false;
};

// The value to keep after leaving the field with x: x itself, or the bound
// it passed. keepFocus is set when the handler refused the correction.
double CheckNumericRange(double x, const TFmValueRange& range, const TFmRangeErrorHandler& onError, bool& keepFocus);
