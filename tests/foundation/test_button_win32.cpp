// The push button under Wine: state colours as painted, the painter it
// draws with, the drop-down menu (where it opens, what opens it and that
// the click closing it does not open it again) and speed-button groups.
#include <gtest/gtest.h>

#include <vector>

#include "ButtonDrawItem.h"
#include "foundation/vxButtons.h"
#include "foundation/vxLookAndFeelPaintersNative.h"
#include "foundation/vxModules.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Messages.h"
#include "support/TestSupport.h"

namespace {

using testing_support::PumpMessagesUntil;

void PumpMessages() { Application->ProcessMessages(); }

// A button that records where its drop-down menu would open instead of
// showing it, unless told to show it for real.
class RecordingButton : public TvxButton {
 public:
  using TvxButton::TvxButton;
  struct Opening {
    TPoint At;
    TPopupAlignment Alignment;
  };
  std::vector<Opening> Openings;
  bool ShowForReal = false;

 protected:
  void PopupDropDownMenu(TPopupMenu* menu, TPoint p) override {
    Openings.push_back({p, menu->Alignment()});
    if (ShowForReal) TvxButton::PopupDropDownMenu(menu, p);
  }
};

class ButtonTest : public testing::Test {
 protected:
  ButtonTest() : form_(nullptr) {
    form_.SetBounds(100, 100, 400, 300);
    menu_ = new TPopupMenu(&form_);
    menu_->Add("One");
    menu_->Add("Two");
    menu_->Add("Three");
    form_.SetVisible(true);
  }

  RecordingButton* Add(int left, int top, TvxButtonKind kind = vxbkStandard) {
    auto* button = new RecordingButton(&form_);
    button->SetParent(&form_);
    button->SetBounds(left, top, 90, 30);
    button->SetCaption("Button");
    button->SetKind(kind);
    button->SetDropDownMenu(menu_);
    button->OnClick = [this](TObject* sender) { clicks_.push_back(sender); };
    return button;
  }

  // Puts the real cursor over a client point (the button asks where it is
  // when it loses the capture) and sends what a press and release would.
  void ClickAt(TvxCustomButton* button, int x, int y) {
    POINT p{x, y};
    ClientToScreen(button->Handle(), &p);
    SetCursorPos(p.x, p.y);
    SendMessageA(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageA(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PumpMessages();
  }
  void Click(TvxCustomButton* button) { ClickAt(button, 20, 15); }

  COLORREF FaceColour(TvxCustomButton& button, UINT itemState = 0) {
    TBitmap target;
    DrawButtonItem(button, target, itemState);
    return GetPixel(target.Canvas()->Handle(), 6, 6);
  }

  TvxFoundationModules modules_;
  TForm form_;
  TPopupMenu* menu_;
  std::vector<TObject*> clicks_;
};

// --- Colours and painter ------------------------------------------------------------------

TEST_F(ButtonTest, StateColoursAsPainted) {
  RecordingButton* button = Add(10, 10);
  TvxButtonColors& colors = *button->Colors();
  colors.SetDefault(clRed);
  EXPECT_EQ(colors.AssignedColors(), vxButtonColorBit(vxbcDefault));
  EXPECT_EQ(FaceColour(*button), RGB(255, 0, 0)) << "an unassigned normal colour shows the default one";
  colors.SetNormal(clLime);
  EXPECT_EQ(FaceColour(*button), RGB(0, 255, 0));
  button->SetEnabled(false);
  EXPECT_EQ(FaceColour(*button), RGB(0, 255, 0)) << "an unassigned disabled colour shows the normal one";
  colors.SetDisabled(clBlue);
  EXPECT_EQ(FaceColour(*button), RGB(0, 0, 255));
  colors.SetHot(clYellow);
  colors.SetHot(clNone);
  EXPECT_EQ(colors.Hot(), clDefault);
  EXPECT_FALSE(colors.AssignedColors() & vxButtonColorBit(vxbcHot));
  colors.SetAssignedColors(0);  // only the designer edits the set
  EXPECT_EQ(colors.AssignedColors(),
            vxButtonColorBit(vxbcDefault) | vxButtonColorBit(vxbcNormal) | vxButtonColorBit(vxbcDisabled));

  TvxButton copy(nullptr);
  copy.SetColors(&colors);
  EXPECT_EQ(copy.Colors()->Disabled(), clBlue);
  EXPECT_EQ(copy.Colors()->AssignedColors(), colors.AssignedColors());
}

TEST_F(ButtonTest, NeverDrawsInTheOffice2003Look) {
  RecordingButton* button = Add(10, 10);
  button->LookAndFeel()->SetKind(lfOffice11);
  const TvxLookAndFeelPainterClass expected = vdThemeClassUsable(tcButton)
                                                  ? TvxLookAndFeelPainterClass(&TvxWinXPLookAndFeelPainter::Painter())
                                                  : &TvxStandardLookAndFeelPainter::Painter();
  EXPECT_EQ(button->PainterClass(), expected);
  button->LookAndFeel()->SetKind(lfFlat);
  EXPECT_EQ(button->PainterClass(), &TvxFlatLookAndFeelPainter::Painter());
}

TEST_F(ButtonTest, OptimalSizeFitsTheCaption) {
  RecordingButton* button = Add(10, 10);
  TSize plain, longer;
  button->SetCaption("&Next");
  button->GetOptimalSize(plain);
  button->SetCaption("&Next step");
  button->GetOptimalSize(longer);
  EXPECT_GT(longer.cx, plain.cx);
  EXPECT_EQ(plain.cy, longer.cy);
  EXPECT_GT(plain.cy, 0);
}

// --- Drop-down menu -----------------------------------------------------------------------

TEST_F(ButtonTest, ArrowPartOpensTheMenuAndDoesNotClick) {
  RecordingButton* button = Add(10, 10, vxbkDropDownButton);
  ClickAt(button, 85, 15);
  ASSERT_EQ(button->Openings.size(), 1u);
  EXPECT_TRUE(clicks_.empty());
  EXPECT_FALSE(button->DroppedDown());
  ClickAt(button, 20, 15);  // the main part clicks
  EXPECT_EQ(button->Openings.size(), 1u);
  EXPECT_EQ(clicks_.size(), 1u);
}

TEST_F(ButtonTest, WholeDropDownButtonOpensTheMenuInsteadOfClicking) {
  RecordingButton* button = Add(10, 10, vxbkDropDown);
  Click(button);
  PumpMessages();
  EXPECT_EQ(button->Openings.size(), 1u);
  EXPECT_TRUE(clicks_.empty());
  RecordingButton* plain = Add(10, 50, vxbkStandard);
  Click(plain);
  EXPECT_TRUE(plain->Openings.empty());
  EXPECT_EQ(clicks_.size(), 1u);
}

TEST_F(ButtonTest, MenuOpensBelowOrAboveTheButton) {
  const TRect work = vxGetWorkAreaAtPoint(TPoint(0, 0));
  RecordingButton* button = Add(10, 10, vxbkDropDownButton);
  button->SetPopupAlignment(paRight);
  ClickAt(button, 85, 15);
  ASSERT_EQ(button->Openings.size(), 1u);
  EXPECT_EQ(button->Openings[0].At, button->ClientToScreen(TPoint(90, 30)));
  EXPECT_EQ(button->Openings[0].Alignment, paRight);
  EXPECT_EQ(menu_->Alignment(), paLeft) << "the menu's own alignment comes back";

  // At the bottom of the work area the menu opens above, its top H + 2
  // pixels above the button's top.
  form_.SetBounds(100, work.Bottom - 60, 400, 60);
  button->SetTop(form_.ClientHeight() - 30);
  button->SetPopupAlignment(paCenter);
  const TPoint top = button->ClientToScreen(TPoint(45, 0));
  ASSERT_GT(top.Y + 30 + vxGetPopupMenuHeight(menu_), work.Bottom);
  ClickAt(button, 85, 15);
  ASSERT_EQ(button->Openings.size(), 2u);
  EXPECT_EQ(button->Openings[1].At, TPoint(top.X, top.Y - vxGetPopupMenuHeight(menu_) - 2));
  EXPECT_EQ(button->Openings[1].Alignment, paCenter);

  // At the left edge of the work area the menu opens to the inside.
  form_.SetBounds(work.Left - 50, 100, 400, 300);
  button->SetBounds(0, 10, 40, 30);
  button->SetPopupAlignment(paCenter);
  ClickAt(button, 35, 15);
  ASSERT_EQ(button->Openings.size(), 3u);
  EXPECT_EQ(button->Openings[2].Alignment, paLeft);
}

TEST_F(ButtonTest, PressWaitingOnTheArrowWhenTheMenuClosesOpensNothing) {
  RecordingButton* button = Add(10, 10, vxbkDropDownButton);
  // The menu has just closed; the press that closed it waits in the queue.
  PostMessageA(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(85, 15));
  PostMessageA(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(85, 15));
  button->Perform(TvxCustomButton::DropDownMenuClosedMessage);
  PumpMessages();
  EXPECT_TRUE(button->Openings.empty());
  ClickAt(button, 85, 15);  // the next press opens it again
  EXPECT_EQ(button->Openings.size(), 1u);

  // A press elsewhere does not hold the menu back.
  PostMessageA(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
  button->Perform(TvxCustomButton::DropDownMenuClosedMessage);
  PumpMessages();
  ClickAt(button, 85, 15);
  EXPECT_EQ(button->Openings.size(), 2u);
}

// The real menu: a click on the arrow part opens it, a second click on
// the arrow part while it shows closes it, and it does not open again.
TEST_F(ButtonTest, ClickThatClosesTheMenuDoesNotReopenIt) {
  RecordingButton* button = Add(10, 10, vxbkDropDownButton);
  button->ShowForReal = true;
  SetForegroundWindow(form_.Handle());
  const TPoint arrow = button->ClientToScreen(TPoint(85, 15));
  auto click = [&] {
    INPUT input[3]{};
    for (INPUT& i : input) i.type = INPUT_MOUSE;
    input[0].mi.dx = (arrow.X * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input[0].mi.dy = (arrow.Y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof(INPUT));
  };
  auto escape = [] {
    INPUT input[2]{};
    for (INPUT& i : input) {
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = VK_ESCAPE;
    }
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
  };
  // The first openings are closed by a click on the arrow part (queued
  // once the menu is about to show); any further one by Escape.
  int shown = 0, closedByClick = 1;
  menu_->OnPopup = [&](TObject*) {
    if (++shown <= closedByClick)
      click();
    else
      escape();
  };
  click();
  ASSERT_TRUE(PumpMessagesUntil([&] { return shown >= 1 && !button->DroppedDown(); }));
  PumpMessages();  // the closing press, had it been left waiting, is handled here
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(clicks_.empty());

  closedByClick = 2;
  click();  // a later click opens it again
  ASSERT_TRUE(PumpMessagesUntil([&] { return shown >= 2 && !button->DroppedDown(); }));
  PumpMessages();
  EXPECT_EQ(shown, 2);
  EXPECT_TRUE(clicks_.empty());
}

// --- Speed buttons -------------------------------------------------------------------------

TEST_F(ButtonTest, GroupKeepsOneButtonDown) {
  std::vector<RecordingButton*> group;
  for (int i = 0; i < 3; ++i) {
    RecordingButton* b = Add(10, 10 + 40 * i);
    b->SetGroupIndex(1);
    b->SetCanBeFocused(false);
    group.push_back(b);
  }
  auto downs = [&] {
    std::vector<bool> d;
    for (auto* b : group) d.push_back(b->Down());
    return d;
  };
  Click(group[0]);
  EXPECT_EQ(downs(), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(clicks_.size(), 1u);
  Click(group[2]);
  EXPECT_EQ(downs(), (std::vector<bool>{false, false, true}));
  Click(group[2]);  // the last one down stays down
  EXPECT_EQ(downs(), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(clicks_.size(), 3u);
  EXPECT_NE(GetFocus(), group[2]->Handle()) << "a speed button does not take the focus";

  group[1]->SetDown(true);  // set in code, the group follows too
  EXPECT_EQ(downs(), (std::vector<bool>{false, true, false}));

  group[0]->SetAllowAllUp(true);  // announced: the group takes the option over
  EXPECT_TRUE(group[1]->AllowAllUp());
  Click(group[1]);
  EXPECT_EQ(downs(), (std::vector<bool>{false, false, false}));

  RecordingButton* other = Add(200, 10);  // another group
  other->SetGroupIndex(2);
  other->SetDown(true);
  group[0]->SetDown(true);
  EXPECT_TRUE(other->Down());
  other->SetGroupIndex(0);  // leaving every group releases it
  EXPECT_FALSE(other->Down());
}

TEST_F(ButtonTest, FocusableGroupButtonTogglesOnItsClick) {
  RecordingButton* a = Add(10, 10);
  RecordingButton* b = Add(10, 50);
  a->SetGroupIndex(3);
  b->SetGroupIndex(3);
  Click(a);
  EXPECT_TRUE(a->Down());
  Click(b);
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(clicks_.size(), 2u);
  // An accelerator clicks without toggling.
  b->SetCaption("&Bold");
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'b'), 1);
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(clicks_.size(), 3u);
}

}  // namespace
