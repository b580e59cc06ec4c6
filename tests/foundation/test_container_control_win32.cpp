// The container around a native EDIT under Wine, driven with real input:
// its borders and their hot colour, the shadow's window region, focus that
// ends on the inner control without bouncing, Tab moving on, and the state
// the view info computes.
#include <gtest/gtest.h>

#include <memory>

#include "PinnedSystemColors.h"
#include "RealInput.h"
#include "foundation/vxContainer.h"

namespace {

constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kHighlight = RGB(0, 0, 200);

using real_input::MouseTo;
using real_input::Pump;
using real_input::PumpUntil;

// What the window shows at a client point.
COLORREF PixelOf(TWinControl* control, int x, int y) {
  control->Repaint();
  HDC dc = GetDC(control->Handle());
  const COLORREF color = GetPixel(dc, x, y);
  ReleaseDC(control->Handle(), dc);
  return color;
}

// A native EDIT as the library's inner edits are: it tells its container
// when it gains or loses the focus.
class TInnerEdit : public TEdit, public IvxContainerInnerControl {
 public:
  TInnerEdit(TvxContainer* container) : TEdit(container), container_(container) {}
  TWinControl* GetControl() override { return this; }
  TWinControl* GetControlContainer() override { return container_; }
  void Dispatch(TMessage& m) override {
    TEdit::Dispatch(m);
    if ((m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) && !container_->IsDestroying()) container_->FocusStateChanged();
  }

 private:
  TvxContainer* container_;
};

// A form with a container around an EDIT and another EDIT after it; the
// other EDIT has the focus.
struct ContainerScene {
  TForm Form{nullptr};
  TvxContainer* Container;
  TInnerEdit* Inner;
  TEdit* Next;
  int InnerSetFocus = 0, ContainerSetFocus = 0;

  ContainerScene() {
    Form.SetBounds(100, 100, 400, 300);
    Container = new TvxContainer(&Form);
    Container->SetParent(&Form);
    Container->SetBounds(20, 20, 200, 40);
    Container->SetTabOrder(0);
    Inner = new TInnerEdit(Container);
    Inner->SetBorderStyle(bsNone);
    Inner->SetParent(Container);
    Container->SetInnerControl(Inner);
    Next = new TEdit(&Form);
    Next->SetParent(&Form);
    Next->SetBounds(20, 100, 150, 21);
    Next->SetTabOrder(1);
    Inner->SetWindowProc([this](TMessage& m) {
      if (m.Msg == WM_SETFOCUS) ++InnerSetFocus;
      Inner->WndProc(m);
    });
    Form.Show();
    SetForegroundWindow(Form.Handle());
    Next->SetFocus();
    Pump();
  }
};

TEST(Container, InnerControlSitsInsideTheBorder) {
  ContainerScene scene;
  TvxContainerStyle* style = scene.Container->Style();
  style->SetTransparentBorder(false);
  style->SetBorderStyle(cbsThick);
  scene.Container->RefreshFromCursor(false);
  EXPECT_EQ(scene.Container->ViewInfo()->BorderRect, TRect(2, 2, 198, 38));
  EXPECT_EQ(scene.Inner->BoundsRect(), TRect(2, 2, 198, 38));
  // The edge set leaves the sides without border.
  style->SetEdges(vxBorder(bLeft) | vxBorder(bTop));
  EXPECT_EQ(scene.Inner->BoundsRect(), TRect(2, 2, 200, 40));
  // The transparent border is 2 on every side whatever the style, and the
  // shadow adds 3 right and below.
  style->SetEdges(vxAllBorders);
  style->SetTransparentBorder(true);
  style->SetShadow(true);
  EXPECT_EQ(scene.Inner->BoundsRect(), TRect(2, 2, 195, 35));
}

TEST(Container, BordersHotColourAndShadowRegion) {
  TPinnedSystemColors pins({{COLOR_BTNSHADOW, kShadow}, {COLOR_HIGHLIGHT, kHighlight}});
  ContainerScene scene;
  // At rest means the pointer is elsewhere, wherever an earlier program on
  // this display left it.
  MouseTo(scene.Form.ClientToScreen(TPoint(300, 250)), false);
  Pump();
  TvxContainerStyle* style = scene.Container->Style();
  style->SetTransparentBorder(false);
  style->SetBorderStyle(cbsUltraFlat);
  style->SetShadow(true);
  scene.Container->RefreshFromCursor(false);
  TvxContainerViewInfo* info = scene.Container->ViewInfo();
  // Ultra-flat is drawn as a single line: the button shadow at rest.
  EXPECT_EQ(info->BorderStyle, cbsSingle);
  EXPECT_EQ(PixelOf(scene.Container, 0, 10), kShadow);

  // The pointer over it (real input): hot, and the line turns highlight.
  MouseTo(scene.Container->ClientToScreen(TPoint(100, 15)), false);
  EXPECT_TRUE(PumpUntil([&] { return (scene.Container->LastState() & csfHot) != 0; }));
  EXPECT_EQ(info->HotTrackState, htsActive);
  EXPECT_EQ(PixelOf(scene.Container, 0, 10), kHighlight);
  MouseTo(scene.Form.ClientToScreen(TPoint(300, 250)), false);
  EXPECT_TRUE(PumpUntil([&] { return (scene.Container->LastState() & csfHot) == 0; }));

  // The window keeps the frame and its shadow; the corners beside the
  // shadow are the parent's.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(scene.Container->Handle(), region), ERROR);
  EXPECT_TRUE(PtInRegion(region, 5, 5));
  EXPECT_TRUE(PtInRegion(region, 198, 38));  // shadow, bottom-right
  EXPECT_FALSE(PtInRegion(region, 1, 38));   // below-left of the shadow
  EXPECT_FALSE(PtInRegion(region, 198, 1));  // above-right of the shadow
  DeleteObject(region);
  EXPECT_EQ(PixelOf(scene.Container, 198, 20), kShadow);
}

TEST(Container, FocusEndsOnTheInnerControlWithoutBouncing) {
  ContainerScene scene;
  scene.Next->SetFocus();
  Pump();
  scene.InnerSetFocus = 0;
  scene.Container->SetFocus();
  Pump();
  EXPECT_EQ(GetFocus(), scene.Inner->Handle());
  EXPECT_EQ(scene.InnerSetFocus, 1);
  EXPECT_TRUE(scene.Container->FocusIsInside());
  EXPECT_TRUE(scene.Container->LastState() & csfActive);
  // Focus moving on inside stays put: no message loop between the two.
  Pump();
  EXPECT_EQ(GetFocus(), scene.Inner->Handle());
  EXPECT_EQ(scene.InnerSetFocus, 1);

  // A click on the border focuses the inner control too.
  scene.Container->Style()->SetTransparentBorder(false);
  scene.Container->Style()->SetBorderStyle(cbsThick);
  scene.Next->SetFocus();
  Pump();
  MouseTo(scene.Container->ClientToScreen(TPoint(0, 20)), true);
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == scene.Inner->Handle(); }));
}

TEST(Container, TabMovesOnFromTheInnerControl) {
  ContainerScene scene;
  scene.Container->SetFocus();
  Pump();
  ASSERT_EQ(GetFocus(), scene.Inner->Handle());
  real_input::Key(VK_TAB);
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == scene.Next->Handle(); }));
  EXPECT_FALSE(scene.Container->LastState() & csfActive);
}

TEST(Container, DisabledStateAndStyles) {
  ContainerScene scene;
  TvxContainer* c = scene.Container;
  c->StyleDisabled()->SetColor(clYellow);
  c->SetEnabled(false);
  Pump();
  EXPECT_EQ(c->LastState(), csfDisabled);
  EXPECT_EQ(c->GetCurrentStyle(), c->StyleDisabled());
  EXPECT_EQ(c->ViewInfo()->BackgroundColor, clYellow);
  EXPECT_EQ(scene.Inner->Color(), clYellow);
  c->SetEnabled(true);
  Pump();
  EXPECT_EQ(c->GetCurrentStyle(), c->Style());
  // The hot style is used only while the Normal style hot-tracks.
  c->Style()->SetHotTrack(false);
  EXPECT_EQ(c->ChooseStyleForState(csfNormal | csfHot), c->Style());
  c->Style()->SetHotTrack(true);
  EXPECT_EQ(c->ChooseStyleForState(csfNormal | csfHot), c->StyleHot());
}

}  // namespace
