// The calculator's arithmetic and keypad layout, portable: a four-function
// calculator with chained left-to-right evaluation, its nineteen cells, and
// which typed character presses which key. The control (FmCalc) draws the
// cells and feeds them mouse clicks and keys.
#pragma once

#include "framed/FmCommonTypes.h"
#include "platform/FormatSettings.h"
#include "platform/Geometry.h"

// Cells 0 to 9 are the digit keys.
enum : int {
  ccDecimal = 10, ccAdd = 11, ccSubtract = 12, ccMultiply = 13, ccDivide = 14, ccClear = 15, ccEquals = 16,
  ccSet = 17, ccDisplay = 18
};
constexpr int kCalculatorCells = 19;
// No cell: the display's index, which no key press acts on.
constexpr int kNoCell = ccDisplay;

enum TFmCalcOp { opNone, opAdd, opSubtract, opMultiply, opDivide };

class TFmCalculatorEngine {
 public:
  // A digit, the decimal point, an operator, clear or equals; the set key
  // evaluates what is pending (the caller then accepts the value).
  void Press(int cell);
  void Digit(int d);
  void DecimalPoint();
  void Operator(TFmCalcOp op);
  void Equals();
  void Clear();
  // Evaluates a pending operation, as the set key and Enter in a popup do.
  void Settle();

  double Result() const { return result_; }
  // Starts over from value (as Clear does, with value as the result).
  void SetResult(double value);
  double Entry() const { return entry_; }
  bool Error() const { return error_; }
  bool ShowsResult() const { return showResult_; }
  // What the display shows: "E" after an arithmetic fault; else the number,
  // with as many fixed decimals as were typed, and always a separator.
  String DisplayText(const TFormatSettings& settings) const;

 private:
  void Evaluate();
  void Fail() { error_ = true; }

  double entry_ = 0;
  int decimals_ = 0;  // 0: integer part; k >= 1: the next digit weighs 10^-k
  TFmCalcOp pendingOp_ = opNone;
  double result_ = 0;
  bool startNewEntry_ = true;
  bool settled_ = true;
  bool showResult_ = true;
  bool error_ = false;
};

// The cell a typed character presses (Shift held for Shift+8 and Shift+=),
// or kNoCell.
int CalculatorCellForChar(char c, bool shift, char decimalSeparator);

// Cells relative to the control, whose client area inside its borders is
// `width` pixels wide. The set key is empty outside a popup.
struct TFmCalculatorLayout {
  TRect Cells[kCalculatorCells];
};
TFmCalculatorLayout LayoutCalculator(int width, TFrameStyleEx borderOuter, bool popup);
// The side of the square a calculator asks for with digits of this height.
constexpr int CalculatorAutoSize(int digitHeight) { return 5 * digitHeight + 84; }
