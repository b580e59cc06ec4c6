// The framed edits, numeric edit and calculator popup, panel, group box and
// balloon hints under Wine, driven by real input (SendInput) where a person
// would type or click.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <iterator>
#include <memory>
#include <vector>

#include "framed/FmBHints.h"
#include "framed/FmCalc.h"
#include "framed/FmEdit.h"
#include "framed/FmPanel.h"
#include "FramedInput.h"

namespace {

std::unique_ptr<TFmNumericEdit> MakeCapitalField(TForm* form) {
  auto edit = std::make_unique<TFmNumericEdit>(form);
  edit->SetParent(form);
  edit->SetBounds(20, 20, 160, 21);
  edit->SetCalculatorVisible(true);
  edit->SetFrameVisible(true);
  edit->SetFramingPreference(fpCustomFraming);
  return edit;
}

TEST_F(FramedInput, F4OpensTheCalculatorAndEnterSetsTheValue) {
  std::unique_ptr<TFmNumericEdit> edit = MakeCapitalField(form_);
  TFmEdit other(form_);
  other.SetParent(form_);
  other.SetBounds(20, 60, 100, 21);
  edit->SetFocus();
  Pump();
  edit->SetValue(5);
  int dropDowns = 0;
  edit->OnDropDown = [&](TObject*) { ++dropDowns; };

  // F4, then 1 2 * 3 Enter on the keypad: the popup's calculator starts at
  // the field's value and Enter evaluates and accepts.
  Keys({VK_F4, VK_NUMPAD1, VK_NUMPAD2, VK_MULTIPLY, VK_NUMPAD3, VK_RETURN});
  Pump();
  EXPECT_EQ(dropDowns, 1);
  EXPECT_EQ(edit->Value(), 36);
  EXPECT_EQ(edit->Text(), "36");

  // Escape dismisses without change.
  Keys({VK_F4, VK_NUMPAD9, VK_ESCAPE});
  Pump();
  EXPECT_EQ(dropDowns, 2);
  EXPECT_EQ(edit->Value(), 36);

  // A click outside dismisses too, and goes nowhere else.
  int otherClicks = 0;
  other.OnClick = [&](TObject*) { ++otherClicks; };
  Keys({VK_F4, VK_NUMPAD7});
  Mouse(form_->Handle(), 300, 250, true);
  Pump();
  EXPECT_EQ(dropDowns, 3);
  EXPECT_EQ(edit->Value(), 36);
  EXPECT_EQ(otherClicks, 0);

  // Read-only: no drop button and F4 does nothing.
  edit->SetReadOnly(true);
  edit->SetFocus();
  Keys({VK_F4, VK_ESCAPE});
  Pump();
  EXPECT_EQ(dropDowns, 3);
}

TEST_F(FramedInput, CapitalFieldTakesOnlyWhatTheNumericRulesAllow) {
  std::unique_ptr<TFmNumericEdit> edit = MakeCapitalField(form_);
  TFmEdit next(form_);
  next.SetParent(form_);
  next.SetBounds(20, 60, 100, 21);
  edit->SetFocus();
  Pump();
  edit->SelectAll();
  Keys({'1', 'A', VK_OEM_PERIOD, '2', 'E', '3', VK_OEM_MINUS});
  Pump();
  EXPECT_EQ(edit->Text(), "123");
  // A sign only at the start: Home, minus.
  Keys({VK_HOME, VK_OEM_MINUS});
  Pump();
  EXPECT_EQ(edit->Text(), "-123");
  Keys({VK_HOME, '9'});
  Pump();
  EXPECT_EQ(edit->Text(), "-123");
  // Leaving formats with the display format ",0;(,0)".
  edit->SetText("-1234567");
  next.SetFocus();
  Pump();
  EXPECT_EQ(edit->Text(), "(1,234,567)");
  EXPECT_EQ(edit->Value(), -1234567);
}

TEST_F(FramedInput, RangeErrorsAndTwoRefusingEdits) {
  std::unique_ptr<TFmNumericEdit> a = MakeCapitalField(form_), b = MakeCapitalField(form_);
  b->SetTop(60);
  for (TFmNumericEdit* e : {a.get(), b.get()}) {
    e->SetMin(1);
    e->SetMax(10);
    e->OnRangeError = [](TObject*, double, double, bool& autoCorrect) { autoCorrect = false; };
  }
  a->SetFocus();
  Pump();
  a->SetText("15");
  b->SetText("20");
  // Leaving a for b: a takes the focus back; b, left in turn, does not
  // fight for it.
  b->SetFocus();
  Pump();
  EXPECT_TRUE(a->Focused());
  EXPECT_EQ(a->Text(), "15");
  EXPECT_EQ(b->Text(), "20");

  // Corrected when the handler allows it.
  a->OnRangeError = [](TObject*, double entered, double adjusted, bool&) {
    EXPECT_EQ(entered, 15);
    EXPECT_EQ(adjusted, 10);
  };
  b->SetFocus();
  Pump();
  EXPECT_EQ(a->Text(), "10");
}

TEST_F(FramedInput, StateColours) {
  TFmEdit edit(form_);
  edit.SetParent(form_);
  edit.SetBounds(20, 20, 160, 21);
  TFmEdit other(form_);
  other.SetParent(form_);
  other.SetBounds(20, 60, 160, 21);
  edit.SetFocus();
  Pump();
  // A colour set while focused shows at once and stays after leaving.
  edit.SetColor(RGBColor(230, 255, 230));
  EXPECT_EQ(edit.Color(), RGBColor(230, 255, 230));
  other.SetFocus();
  Pump();
  EXPECT_EQ(edit.Color(), RGBColor(230, 255, 230));
  edit.SetEnabled(false);
  EXPECT_EQ(edit.Color(), clBtnFace);
  edit.SetEnabled(true);
  EXPECT_EQ(edit.Color(), RGBColor(230, 255, 230));
  edit.SetReadOnly(true);
  EXPECT_EQ(edit.Color(), clInfoBk);
  edit.SetReadOnly(false);

}

// The cue text reaches the window, whose edit (of the newer common
// controls) gives it back; the classic edit would answer nothing.
TEST_F(FramedInput, CueTextIsReadBackFromTheWindow) {
  if (!fm_themes::Enabled()) GTEST_SKIP() << "the cue text needs visual styles";
  TFmEdit edit(form_);
  edit.SetParent(form_);
  edit.SetBounds(20, 20, 160, 21);
  edit.SetTextHint("Votre capital é");
  EXPECT_EQ(edit.TextHint(), "Votre capital é");
  wchar_t cue[64] = {};
  ASSERT_TRUE(SendMessageW(edit.Handle(), EM_GETCUEBANNER, WPARAM(cue), std::size(cue)));
  EXPECT_STREQ(cue, L"Votre capital \u00e9");
  // A new window gets it again.
  edit.RecreateWnd();
  cue[0] = 0;
  SendMessageW(edit.Handle(), EM_GETCUEBANNER, WPARAM(cue), std::size(cue));
  EXPECT_STREQ(cue, L"Votre capital \u00e9");
}

TEST_F(FramedInput, TabOnEnterMovesTheFocus) {
  TFmEdit first(form_), second(form_);
  for (TFmEdit* e : {&first, &second}) e->SetParent(form_);
  first.SetBounds(20, 20, 100, 21);
  second.SetBounds(20, 60, 100, 21);
  first.SetTabOnEnter(true);
  int enters = 0;
  first.OnKeyPress = [&](TObject*, char& key) { enters += key == '\r'; };
  first.SetFocus();
  Pump();
  Keys({VK_RETURN});
  Pump();
  EXPECT_TRUE(second.Focused());
  EXPECT_EQ(enters, 0);
}

TEST_F(FramedInput, PanelGivesEachChildItsOwnStateBack) {
  TFmPanel panel(form_);
  panel.SetParent(form_);
  panel.SetBounds(10, 10, 300, 200);
  auto* a = new TFmEdit(&panel);
  auto* b = new TFmEdit(&panel);
  auto* gone = new TFmEdit(&panel);
  for (TFmEdit* e : {a, b, gone}) e->SetParent(&panel);
  b->SetEnabled(false);
  panel.SetEnabled(false);
  EXPECT_FALSE(a->Enabled());
  // A child freed while the panel is disabled is forgotten.
  delete gone;
  panel.SetEnabled(true);
  EXPECT_TRUE(a->Enabled());
  EXPECT_FALSE(b->Enabled());
  // The frames take room on the sides that carry them.
  panel.SetBorderOuter(fsRaised);
  panel.SetBorderSides(sdLeft | sdTop);
  EXPECT_EQ(panel.ClientRect(), TRect(2, 2, 300, 200));
  panel.SetBorderSides(0);
  EXPECT_EQ(panel.ClientRect(), TRect(0, 0, 300, 200));
}

TEST_F(FramedInput, GroupBoxCheckBoxByMouseAndSpace) {
  TFmGroupBox box(form_);
  box.SetParent(form_);
  box.SetBounds(10, 10, 300, 150);
  box.SetCaption("Options");
  box.SetGroupStyle(gsStandard);
  box.SetShowCheckBox(true);
  auto* child = new TFmEdit(&box);
  child->SetParent(&box);
  child->SetBounds(20, 40, 100, 21);
  box.Repaint();
  Pump();
  // A click on the caption's check box.
  Mouse(box.Handle(), 14, 6, true);
  Pump();
  EXPECT_FALSE(box.Checked());
  EXPECT_FALSE(child->Enabled());
  // Space toggles once per press.
  box.SetFocus();
  Pump();
  Keys({VK_SPACE});
  Pump();
  EXPECT_TRUE(box.Checked());
  EXPECT_TRUE(child->Enabled());
  // A press released outside the caption does not toggle.
  Mouse(box.Handle(), 14, 6, false);
  Pump();
  INPUT down{};
  down.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &down, sizeof down);
  Pump();
  Mouse(box.Handle(), 150, 100, false);
  INPUT up = down;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &up, sizeof up);
  Pump();
  EXPECT_TRUE(box.Checked());
}

TEST_F(FramedInput, BalloonHintShowsOverAnEditAndHidesWhenThePointerMoves) {
  Application->SetShowHint(true);
  Application->SetHintPause(0);
  auto hints = std::make_unique<TFmBalloonHints>(form_);
  hints->SetCenterThreshold(0);
  hints->SetFrameColor(cl3DDkShadow);
  auto* window = dynamic_cast<TFmCustomHintWindow*>(Application->HintWindow());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Font()->Name(), "Tahoma");
  TFmEdit edit(form_);
  edit.SetParent(form_);
  edit.SetBounds(100, 150, 200, 21);
  edit.SetHint("Votre Capital Social");
  edit.SetShowHint(true);
  Pump();
  Mouse(edit.Handle(), 40, 10, false);
  Pump();
  POINT at{};
  GetCursorPos(&at);
  Application->ActivateHint(TPoint(at));
  Pump();
  ASSERT_TRUE(window->HandleAllocated() && IsWindowVisible(window->Handle()));
  // Below the pointer (the default corner flips only at an edge), the tail
  // pointing at it.
  RECT r;
  GetWindowRect(window->Handle(), &r);
  EXPECT_EQ(window->CurrentCorner(), hcUpperRight);
  EXPECT_EQ(r.left, at.x - 10);
  EXPECT_EQ(r.bottom, at.y);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(window->Handle(), region), ERROR);
  DeleteObject(region);
  // Three pixels up, over the balloon: it goes.
  Mouse(window->Handle(), 11, r.bottom - r.top - 3, false);
  Pump();
  EXPECT_FALSE(window->HandleAllocated() && IsWindowVisible(window->Handle()));
  hints.reset();
  Application->SetShowHint(false);
}

}  // namespace
