// The calculator's arithmetic by key sequences, its key map and its keypad
// layout.
#include <gtest/gtest.h>

#include "framed/FmCalcEngine.h"

namespace {

// Presses the keys of a sequence such as "12+3==" ('/' divides, 'C'
// clears, 'S' is the set key) and returns the display.
String Press(TFmCalculatorEngine& calc, std::string_view keys) {
  for (char k : keys) {
    const int cell = k == 'S' ? ccSet : CalculatorCellForChar(k, false, '.');
    EXPECT_NE(cell, kNoCell) << k;
    calc.Press(cell);
  }
  return calc.DisplayText(TFormatSettings{});
}

TEST(Calculator, KeySequences) {
  const struct {
    const char* keys;
    const char* display;
  } cases[] = {
      {"", "0."},
      {"12", "12."},             // a whole number shows its separator
      {"12+3=", "15."},
      {"12+3==", "18."},         // equals repeats the last operation
      {"2+3+", "5."},            // each operator evaluates what is pending
      {"2+3*4=", "20."},         // left to right
      {"12+3=7+", "7."},         // after equals a number starts a new chain
      {"12+3=7+1=", "8."},
      {"12+3=7=", "7."},
      {"1.50", "1.50"},          // the decimals typed are shown
      {"1.5", "1.5"},
      {"1.", "1."},
      {".5", "0.5"},
      {"1..5", "1.5"},
      {"1.5.2", "1.52"},         // a second point after a decimal digit is ignored
      {"10-4=", "6."},
      {"3-5=", "-2."},
      {"7/2=", "3.5"},
      {"1/0=", "E"},
      {"1/0=5+2=", "E"},         // only clear leaves the error state
      {"1/0=C", "0."},
      {"1/0=C4+4=", "8."},
      {"12+3C", "0."},
      {"9+1S", "10."},           // the set key evaluates what is pending
  };
  for (const auto& c : cases) {
    TFmCalculatorEngine calc;
    EXPECT_EQ(Press(calc, c.keys), c.display) << c.keys;
  }
}

TEST(Calculator, ResultOverflowAndSettingTheResult) {
  TFmCalculatorEngine calc;
  Press(calc, "12+3=");
  EXPECT_EQ(calc.Result(), 15);
  // A typed entry is positive: each digit works on its magnitude.
  for (int i = 0; i < 400; ++i) calc.Digit(9);
  EXPECT_TRUE(calc.Error());
  calc.SetResult(42.5);
  EXPECT_FALSE(calc.Error());
  EXPECT_EQ(Press(calc, ""), "42.5");
  EXPECT_EQ(Press(calc, "+1="), "43.5");
  calc.SetResult(1e308);
  EXPECT_EQ(Press(calc, "*"), "1E308.");
  for (int i = 0; i < 3; ++i) calc.Digit(9);
  EXPECT_EQ(Press(calc, "="), "E");
  // A locale's comma separator.
  TFormatSettings comma;
  comma.DecimalSeparator = ',';
  calc.SetResult(2.25);
  EXPECT_EQ(calc.DisplayText(comma), "2,25");
  calc.SetResult(3);
  EXPECT_EQ(calc.DisplayText(comma), "3,");
}

TEST(Calculator, CharactersPressKeys) {
  EXPECT_EQ(CalculatorCellForChar('8', false, '.'), 8);
  EXPECT_EQ(CalculatorCellForChar('8', true, '.'), ccMultiply);  // Shift+8 is '*'
  EXPECT_EQ(CalculatorCellForChar('=', false, '.'), ccEquals);
  EXPECT_EQ(CalculatorCellForChar('=', true, '.'), ccAdd);       // Shift+= is '+'
  EXPECT_EQ(CalculatorCellForChar('c', false, '.'), ccClear);
  EXPECT_EQ(CalculatorCellForChar(',', false, ','), ccDecimal);
  EXPECT_EQ(CalculatorCellForChar('.', false, ','), kNoCell);
  EXPECT_EQ(CalculatorCellForChar('x', false, '.'), kNoCell);
}

TEST(Calculator, KeypadLayout) {
  // A font 13 pixels high: a 149 x 149 calculator, 145 pixels inside its
  // lowered frame; keys of 25 pixels, 4 apart, 2 + 4 pixels in.
  EXPECT_EQ(CalculatorAutoSize(13), 149);
  const TFmCalculatorLayout l = LayoutCalculator(145, fsLowered, false);
  EXPECT_EQ(l.Cells[ccDisplay], TRect(6, 6, 147, 31));
  EXPECT_TRUE(l.Cells[ccSet].IsEmpty());
  EXPECT_EQ(l.Cells[7], TRect(6, 35, 31, 60));
  EXPECT_EQ(l.Cells[ccDivide], TRect(93, 35, 118, 60));
  EXPECT_EQ(l.Cells[ccClear], TRect(122, 35, 147, 89));   // two rows high
  EXPECT_EQ(l.Cells[ccEquals], TRect(122, 93, 147, 147));
  EXPECT_EQ(l.Cells[0], TRect(6, 122, 60, 147));          // two columns wide
  EXPECT_EQ(l.Cells[ccDecimal], TRect(64, 122, 89, 147));
  EXPECT_EQ(l.Cells[ccAdd], TRect(93, 122, 118, 147));

  const TFmCalculatorLayout popup = LayoutCalculator(145, fsFlat, true);
  EXPECT_EQ(popup.Cells[ccDisplay], TRect(4, 4, 116, 29));
  EXPECT_EQ(popup.Cells[ccSet], TRect(120, 4, 145, 29));
  // No two cells overlap.
  for (int i = 0; i < kCalculatorCells; ++i)
    for (int j = i + 1; j < kCalculatorCells; ++j) {
      const TRect& a = popup.Cells[i];
      const TRect& b = popup.Cells[j];
      EXPECT_TRUE(a.Right <= b.Left || b.Right <= a.Left || a.Bottom <= b.Top || b.Bottom <= a.Top) << i << " " << j;
    }
}

}  // namespace
