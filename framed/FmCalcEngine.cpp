// A chained calculator: each operator evaluates what is pending, so
// 2 + 3 * 4 gives 20. Equals keeps the last operator and entry, so a second
// equals repeats them. Entries are typed as positive numbers; a fault
// (overflow, division by almost zero) leaves only Clear working.
#include "framed/FmCalcEngine.h"

#include <cmath>

#include "platform/Numbers.h"

void TFmCalculatorEngine::Press(int cell) {
  if (cell >= 0 && cell <= 9) return Digit(cell);
  switch (cell) {
    case ccDecimal: return DecimalPoint();
    case ccAdd: return Operator(opAdd);
    case ccSubtract: return Operator(opSubtract);
    case ccMultiply: return Operator(opMultiply);
    case ccDivide: return Operator(opDivide);
    case ccClear: return Clear();
    case ccEquals: return Equals();
    case ccSet: return Settle();
    default: return;
  }
}

void TFmCalculatorEngine::Digit(int d) {
  if (error_) return;
  if (startNewEntry_) {
    // After equals the finished chain is done with: a new number starts a
    // new one rather than feeding the old operator.
    if (settled_) pendingOp_ = opNone;
    entry_ = d;
    startNewEntry_ = false;
  } else if (decimals_ <= 0) {
    entry_ = std::fabs(entry_) * 10 + d;
    if (!std::isfinite(entry_)) return Fail();
  } else {
    entry_ = std::fabs(entry_) + d * std::pow(10.0, -decimals_);
    ++decimals_;
  }
  showResult_ = false;
}

void TFmCalculatorEngine::DecimalPoint() {
  if (error_ || decimals_ > 1) return;
  if (startNewEntry_) {
    if (settled_) pendingOp_ = opNone;
    entry_ = 0;
    showResult_ = false;
  }
  decimals_ = 1;
  startNewEntry_ = false;
}

void TFmCalculatorEngine::Operator(TFmCalcOp op) {
  if (error_) return;
  if (!settled_) {
    Evaluate();
    if (error_) return;
  } else {
    settled_ = false;
    if (pendingOp_ == opNone) result_ = entry_;
  }
  pendingOp_ = op;
  startNewEntry_ = true;
  decimals_ = 0;
}

void TFmCalculatorEngine::Evaluate() {
  switch (pendingOp_) {
    case opNone:
      result_ = entry_;
      startNewEntry_ = true;
      decimals_ = 0;
      settled_ = true;
      return;
    case opAdd: result_ += entry_; break;
    case opSubtract: result_ -= entry_; break;
    case opMultiply: result_ *= entry_; break;
    case opDivide:
      if (std::fabs(entry_) <= 1E-16) return Fail();
      result_ /= entry_;
      break;
  }
  if (!std::isfinite(result_)) return Fail();
  showResult_ = true;
}

void TFmCalculatorEngine::Equals() {
  if (error_) return;
  Evaluate();
  startNewEntry_ = true;
  decimals_ = 0;
  settled_ = true;
}

void TFmCalculatorEngine::Settle() {
  if (error_ || settled_) return;
  Evaluate();
}

void TFmCalculatorEngine::Clear() { SetResult(0); }

void TFmCalculatorEngine::SetResult(double value) {
  result_ = entry_ = value;
  pendingOp_ = opNone;
  startNewEntry_ = settled_ = true;
  decimals_ = 0;
  error_ = false;
  showResult_ = true;
}

String TFmCalculatorEngine::DisplayText(const TFormatSettings& settings) const {
  if (error_) return "E";
  const double shown = showResult_ ? result_ : entry_;
  String text = decimals_ < 2 ? FloatToStrF(shown, ffGeneral, 15, 0, settings)
                              : FloatToStrF(shown, ffFixed, 15, decimals_ - 1, settings);
  if (text.find(settings.DecimalSeparator) == String::npos) text += settings.DecimalSeparator;
  return text;
}

int CalculatorCellForChar(char c, bool shift, char decimalSeparator) {
  if (c >= '0' && c <= '9') return c == '8' && shift ? ccMultiply : c - '0';
  if (c == decimalSeparator) return ccDecimal;
  switch (c) {
    case '-': return ccSubtract;
    case '/': return ccDivide;
    case '*': return ccMultiply;
    case '+': return ccAdd;
    case '=': return shift ? ccAdd : ccEquals;
    case 'C':
    case 'c': return ccClear;
    default: return kNoCell;
  }
}

TFmCalculatorLayout LayoutCalculator(int width, TFrameStyleEx borderOuter, bool popup) {
  const int a = (width - 24) / 5, b = a + 1;
  int c = 0;
  switch (borderOuter) {
    case fsGroove: case fsBump: case fsLowered: case fsButtonDown: case fsRaised: case fsButtonUp:
    case fsFlatBold: case fsFlatRounded: c = 2; break;
    default: break;
  }
  const int p[5] = {c + 4, c + 8 + b, c + 12 + 2 * b, c + 16 + 3 * b, c + 20 + 4 * b};
  TFmCalculatorLayout l;
  auto key = [&](int cell, int col, int row) { l.Cells[cell] = TRect(p[col], p[row], p[col] + b, p[row] + b); };
  if (popup) {
    l.Cells[ccDisplay] = TRect(p[0], p[0], p[3] + b, p[0] + b);
    key(ccSet, 4, 0);
  } else {
    l.Cells[ccDisplay] = TRect(p[0], p[0], p[4] + b, p[0] + b);
  }
  key(7, 0, 1), key(8, 1, 1), key(9, 2, 1), key(ccDivide, 3, 1);
  l.Cells[ccClear] = TRect(p[4], p[1], p[4] + b, p[2] + b);
  key(4, 0, 2), key(5, 1, 2), key(6, 2, 2), key(ccMultiply, 3, 2);
  key(1, 0, 3), key(2, 1, 3), key(3, 2, 3), key(ccSubtract, 3, 3);
  l.Cells[ccEquals] = TRect(p[4], p[3], p[4] + b, p[4] + b);
  l.Cells[0] = TRect(p[0], p[4], p[1] + b, p[4] + b);
  key(ccDecimal, 2, 4), key(ccAdd, 3, 4);
  return l;
}
