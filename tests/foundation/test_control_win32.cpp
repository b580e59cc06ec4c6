// The base control under Wine: its built-in bars for oversized content, the
// bars' update when their needs depend on each other, the wheel, the system
// bar sizes, the scroll-anchor mode (its timer fired by posting its ticks),
// the library drag and drop, and the popup menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "foundation/vxControlsBase.h"
#include "platform/ui/Forms.h"

namespace {

// Content of a given size in pixels, scrolled by pixels; every scroll is
// recorded. Positions stop at the last full page.
class TContentControl : public TvxControl {
 public:
  using TvxControl::TvxControl;

  int ContentWidth = 0, ContentHeight = 0;
  int ScrollLeft = 0, ScrollTop = 0;
  std::vector<std::pair<TvxScrollBarKind, TScrollCode>> Scrolls;

  void CalculateScrollBarParams() override {
    const TRect r = GetContentArea();
    SetScrollBarParams(sbHorizontal, 0, ContentWidth - 1, 10, r.Width(), ScrollLeft, true, true);
    SetScrollBarParams(sbVertical, 0, ContentHeight - 1, 10, r.Height(), ScrollTop, true, true);
  }
  bool ScrollsByPixels(TvxScrollBarKind) override { return true; }
  void ScrollContentBy(TvxScrollBarKind kind, TScrollCode code, int& pos) override {
    Scrolls.push_back({kind, code});
    const TRect r = GetContentArea();
    const bool horizontal = kind == sbHorizontal;
    int& p = horizontal ? ScrollLeft : ScrollTop;
    const int page = horizontal ? r.Width() : r.Height();
    const int last = std::max(0, (horizontal ? ContentWidth : ContentHeight) - page);
    switch (code) {
      case scLineUp: p -= 10; break;
      case scLineDown: p += 10; break;
      case scPageUp: p -= page; break;
      case scPageDown: p += page; break;
      case scTrack:
      case scPosition: p = pos; break;
      default: break;
    }
    p = std::clamp(p, 0, last);
    pos = p;
    UpdateScrollBars();
  }
  bool AllowsMouseDownUnfocused() override { return true; }
};

class ControlTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { vxControlsInitialize(); }
  static void TearDownTestSuite() { vxControlsFinalize(); }

  ControlTest() : form_(nullptr) {
    form_.SetBounds(100, 100, 500, 400);
    control_ = new TContentControl(&form_);
    control_->SetParent(&form_);
    control_->SetBounds(10, 10, 200, 150);
    // The form's window without showing it: a shown top-level window costs
    // Wine seconds without a window manager.
    control_->HandleNeeded();
  }

  void SetContent(int width, int height) {
    control_->ContentWidth = width;
    control_->ContentHeight = height;
    control_->UpdateScrollBars();
  }

  TForm form_;
  TContentControl* control_;
};

TEST_F(ControlTest, OversizedContentShowsBothBarsAndTheGrip) {
  SetContent(1000, 800);
  TvxControlScrollBar* h = control_->HScrollBar();
  TvxControlScrollBar* v = control_->VScrollBar();
  ASSERT_TRUE(h->Visible());
  ASSERT_TRUE(v->Visible());
  EXPECT_TRUE(control_->SizeGrip()->Visible());
  const int hh = GetSystemMetrics(SM_CYHSCROLL), vw = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(h->BoundsRect(), TRect(0, 150 - hh, 200 - vw, 150));
  EXPECT_EQ(v->BoundsRect(), TRect(200 - vw, 0, 200, 150 - hh));
  EXPECT_EQ(control_->SizeGrip()->BoundsRect(), TRect(200 - vw, 150 - hh, 200, 150));
  EXPECT_EQ(control_->GetContentArea(), TRect(0, 0, 200 - vw, 150 - hh));
  EXPECT_EQ(h->Max(), 999);
  EXPECT_EQ(h->PageSize(), 200 - vw);
  EXPECT_EQ(v->PageSize(), 150 - hh);
  EXPECT_TRUE(h->Enabled());
  EXPECT_EQ(h->Parent(), control_);

  // Content that fits hides them again; one that needs only height shows
  // only the vertical bar, without the grip.
  SetContent(100, 100);
  EXPECT_FALSE(h->Visible());
  EXPECT_FALSE(v->Visible());
  EXPECT_FALSE(control_->SizeGrip()->Visible());
  SetContent(150, 400);
  EXPECT_FALSE(h->Visible());
  EXPECT_TRUE(v->Visible());
  EXPECT_FALSE(control_->SizeGrip()->Visible());
  EXPECT_EQ(v->BoundsRect(), TRect(200 - vw, 0, 200, 150));
}

TEST_F(ControlTest, BarsAndGripFollowTheControlsLookAndFeel) {
  control_->LookAndFeel()->SetKind(lfOffice11);
  EXPECT_EQ(&control_->HScrollBar()->Painter(), vxLookAndFeelPainterOfKind(lfOffice11));
  EXPECT_EQ(&control_->VScrollBar()->Painter(), vxLookAndFeelPainterOfKind(lfOffice11));
  EXPECT_EQ(control_->SizeGrip()->LookAndFeel()->GetKind(), lfOffice11);
  EXPECT_EQ(control_->CurrentPainter(), vxLookAndFeelPainterOfKind(lfOffice11));
}

TEST_F(ControlTest, ResizingUpdatesTheBars) {
  SetContent(300, 100);
  EXPECT_TRUE(control_->HScrollBar()->Visible());
  control_->SetBounds(10, 10, 320, 150);
  EXPECT_FALSE(control_->HScrollBar()->Visible());
}

TEST_F(ControlTest, TheWheelScrollsTheVerticalBar) {
  SetContent(100, 2000);
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  SendMessageA(control_->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(150, 150));
  EXPECT_EQ(control_->ScrollTop, int(lines) * 10);
  EXPECT_EQ(control_->VScrollBar()->Position(), int(lines) * 10);
  SendMessageA(control_->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(150, 150));
  EXPECT_EQ(control_->ScrollTop, 0);
  // Without a vertical bar the wheel is not the control's.
  SetContent(1000, 100);
  control_->Scrolls.clear();
  SendMessageA(control_->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(150, 150));
  EXPECT_TRUE(control_->Scrolls.empty());
}

// A bar needed exactly while it is hidden: the update gives up after a few
// rounds and leaves it shown and disabled instead of looping.
class TFlippingControl : public TvxControl {
 public:
  using TvxControl::TvxControl;
  bool ReadRealState = false;
  int Calculations = 0;
  void CalculateScrollBarParams() override {
    ++Calculations;
    const bool shown = ReadRealState ? VScrollBar()->Visible() : IsVScrollBarShown();
    SetScrollBarParams(sbVertical, 0, shown ? 10 : 1000, 1, 100, 0, true, true);
  }
};

TEST_F(ControlTest, FlippingBarEndsShownAndDisabled) {
  for (bool realState : {false, true}) {
    SCOPED_TRACE(realState ? "depends on the shown bar" : "depends on the wish");
    auto* flipping = new TFlippingControl(&form_);
    flipping->ReadRealState = realState;
    flipping->SetParent(&form_);
    flipping->SetBounds(250, 10, 200, 150);
    EXPECT_LT(flipping->Calculations, 20);
    EXPECT_TRUE(flipping->VScrollBar()->Visible());
    EXPECT_FALSE(flipping->VScrollBar()->Enabled());
    EXPECT_FALSE(flipping->HScrollBar()->Visible());
    delete flipping;
  }
}

TEST_F(ControlTest, ABarThatMayNotHideStaysDisabledWithItsRange) {
  class TNoHide : public TvxControl {
   public:
    using TvxControl::TvxControl;
    int Max = 999;
    void CalculateScrollBarParams() override { SetScrollBarParams(sbVertical, 0, Max, 1, 100, 0, true, false); }
  };
  auto* control = new TNoHide(&form_);
  control->SetParent(&form_);
  control->SetBounds(250, 10, 200, 150);
  EXPECT_TRUE(control->VScrollBar()->Visible());
  EXPECT_TRUE(control->VScrollBar()->Enabled());
  control->Max = 50;
  control->UpdateScrollBars();
  EXPECT_TRUE(control->VScrollBar()->Visible());
  EXPECT_FALSE(control->VScrollBar()->Enabled());
  EXPECT_EQ(control->VScrollBar()->Max(), 999);
}

TEST_F(ControlTest, ChangedSystemBarSizesResizeTheBars) {
  SetContent(1000, 800);
  control_->HScrollBar()->SetHeight(30);
  control_->VScrollBar()->SetWidth(30);
  HWND window = vxSettingsControllerInstance()->Window();
  ASSERT_NE(window, nullptr);
  SendMessageA(window, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  Application->ProcessMessages();
  EXPECT_EQ(control_->HScrollBar()->Height(), GetSystemMetrics(SM_CYHSCROLL));
  EXPECT_EQ(control_->VScrollBar()->Width(), GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(control_->VScrollBar()->Left(), 200 - GetSystemMetrics(SM_CXVSCROLL));
}

TEST_F(ControlTest, SettingsControllerWindowLivesWithTheControls) {
  TvxSettingsController* controller = vxSettingsControllerInstance();
  const int before = controller->ControlCount();
  {
    TvxControl other(nullptr);
    EXPECT_EQ(controller->ControlCount(), before + 1);
  }
  EXPECT_EQ(controller->ControlCount(), before);
  EXPECT_NE(controller->Window(), nullptr);
}

// --- Scroll-anchor mode ----------------------------------------------------------------

class ScrollAnchorTest : public ControlTest {
 protected:
  // The mode's anchor is the cursor: put it in the middle of the control.
  TPoint PlaceCursorInControl() {
    const TPoint p = control_->ClientToScreen({80, 60});
    SetCursorPos(p.X, p.Y);
    return p;
  }
  static void PostTicks(int count) {
    for (int i = 0; i < count; ++i)
      PostThreadMessageA(GetCurrentThreadId(), WM_TIMER, TvxControl::ScrollAnchorTimerId(), 0);
  }
  void PostEscape() { PostMessageA(control_->Handle(), WM_KEYDOWN, VK_ESCAPE, 0); }
};

TEST_F(ScrollAnchorTest, EscapeEndsTheMode) {
  SetContent(1000, 800);
  PlaceCursorInControl();
  PostEscape();
  control_->ScrollAnchorMode();
  EXPECT_EQ(TvxControl::ScrollAnchorTimerId(), 0u);
  EXPECT_NE(GetCapture(), control_->Handle());
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_TRUE(control_->Scrolls.empty());
}

TEST_F(ScrollAnchorTest, DoesNothingWithoutBars) {
  SetContent(10, 10);
  PostEscape();
  control_->ScrollAnchorMode();
  Application->ProcessMessages();
  EXPECT_TRUE(control_->Scrolls.empty());
}

TEST_F(ScrollAnchorTest, PointerBelowTheAnchorScrollsDownAtItsSpeed) {
  SetContent(1000, 800);
  const TPoint anchor = PlaceCursorInControl();
  // 30 pixels below a 28-pixel anchor: speed 4, one line every 9 ticks.
  const TPoint below = control_->ScreenToClient({anchor.X, anchor.Y + 30});
  bool posted = false;
  control_->OnMouseMove = [&](TObject*, TShiftState, int, int) {
    if (posted) return;
    posted = true;
    SetCursorPos(anchor.X, anchor.Y + 30);
    EXPECT_EQ(Screen->Cursor(), crvxDownScroll);
    PostTicks(8);
    PostTicks(1);
    PostEscape();
  };
  PostMessageA(control_->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(below.X, below.Y));
  control_->ScrollAnchorMode();
  ASSERT_TRUE(posted);
  ASSERT_EQ(control_->Scrolls.size(), 1u);
  EXPECT_EQ(control_->Scrolls[0].first, sbVertical);
  EXPECT_EQ(control_->Scrolls[0].second, scLineDown);
  EXPECT_EQ(control_->ScrollTop, 10);
}

TEST_F(ScrollAnchorTest, MiddleClickWithoutMovementKeepsTheMode) {
  SetContent(1000, 800);
  PlaceCursorInControl();
  PostMessageA(control_->Handle(), WM_MBUTTONUP, 0, MAKELPARAM(80, 60));
  PostMessageA(control_->Handle(), WM_USER + 7, 0, 0);
  bool sawMarker = false;
  auto previous = control_->WindowProc();
  control_->SetWindowProc([&](TMessage& m) {
    if (m.Msg == WM_USER + 7) {
      sawMarker = true;
      PostMessageA(control_->Handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(80, 60));
    }
    previous(m);
  });
  control_->ScrollAnchorMode();
  control_->SetWindowProc(previous);
  // The mode outlived the middle button's release and ended on the next
  // press, which it swallowed.
  EXPECT_TRUE(sawMarker);
  EXPECT_EQ(TvxControl::ScrollAnchorTimerId(), 0u);
}

// --- Drag and drop -----------------------------------------------------------------------

struct DragLog {
  int prepared = 0, steps = 0, finished = 0;
  bool accepted = false;
};

class TLoggingDragObject : public TvxDragAndDropObject {
 public:
  explicit TLoggingDragObject(TvxControl* control) : TvxDragAndDropObject(control) {}
  static DragLog* Log;

 protected:
  void BeginOperation() override { ++Log->prepared; }
  void MoveTo(TPoint p, bool& accepted) override {
    ++Log->steps;
    accepted = p.X < 100;
    TvxDragAndDropObject::MoveTo(p, accepted);
  }
  void EndOperation(bool accepted) override {
    ++Log->finished;
    Log->accepted = accepted;
  }
};
DragLog* TLoggingDragObject::Log = nullptr;

class TDragControl : public TContentControl {
 public:
  using TContentControl::TContentControl;
  bool Immediately = false;
  bool CanBeginDragAndDropAt(TPoint p) override { return p.X < 150; }
  TvxDragAndDropObjectClass DragAndDropObjectClassRef() override {
    return vxNewDragAndDropObject<TLoggingDragObject>;
  }
};

class DragAndDropTest : public ControlTest {
 protected:
  DragAndDropTest() {
    TLoggingDragObject::Log = &log_;
    drag_ = new TDragControl(&form_);
    drag_->SetParent(&form_);
    drag_->SetBounds(250, 10, 200, 150);
  }
  void Send(UINT msg, int x, int y) {
    SendMessageA(drag_->Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
  }

  DragLog log_;
  TDragControl* drag_;
};

TEST_F(DragAndDropTest, PendingUntilTheThresholdThenActiveUntilRelease) {
  Send(WM_LBUTTONDOWN, 50, 50);
  EXPECT_EQ(drag_->DragAndDropPhase(), ddpPending);
  Send(WM_MOUSEMOVE, 50 + vxDragThreshold - 1, 50 - vxDragThreshold + 1);
  EXPECT_EQ(drag_->DragAndDropPhase(), ddpPending);
  EXPECT_EQ(log_.prepared, 0);
  Send(WM_MOUSEMOVE, 50, 50 + vxDragThreshold);
  EXPECT_EQ(drag_->DragAndDropPhase(), ddpActive);
  EXPECT_EQ(log_.prepared, 1);
  EXPECT_EQ(log_.steps, 1);
  EXPECT_EQ(GetCapture(), drag_->Handle());
  EXPECT_EQ(Screen->Cursor(), crDrag);
  Send(WM_MOUSEMOVE, 120, 60);
  EXPECT_EQ(Screen->Cursor(), crNoDrop);
  Send(WM_LBUTTONUP, 120, 60);
  EXPECT_EQ(drag_->DragAndDropPhase(), ddpIdle);
  EXPECT_EQ(log_.finished, 1);
  EXPECT_TRUE(log_.accepted);
  EXPECT_EQ(drag_->DragAndDropObject(), nullptr);
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_NE(GetCapture(), drag_->Handle());
}

TEST_F(DragAndDropTest, ReleaseWhilePendingEndsWithoutFinish) {
  Send(WM_LBUTTONDOWN, 50, 50);
  Send(WM_LBUTTONUP, 50, 50);
  EXPECT_EQ(drag_->DragAndDropPhase(), ddpIdle);
  EXPECT_EQ(log_.prepared, 0);
  EXPECT_EQ(log_.finished, 0);
}

TEST_F(DragAndDropTest, AKeyCancelsAndIsConsumed) {
  Send(WM_LBUTTONDOWN, 50, 50);
  Send(WM_MOUSEMOVE, 70, 50);
  ASSERT_EQ(drag_->DragAndDropPhase(), ddpActive);
  EXPECT_EQ(drag_->Perform(CN_KEYDOWN, 'A', 0), 1);
  EXPECT_EQ(drag_->DragAndDropPhase(), ddpIdle);
  EXPECT_EQ(log_.finished, 1);
  EXPECT_FALSE(log_.accepted);
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(DragAndDropTest, CancelModeEndsAnOperation) {
  Send(WM_LBUTTONDOWN, 50, 50);
  Send(WM_MOUSEMOVE, 70, 50);
  SendMessageA(drag_->Handle(), WM_CANCELMODE, 0, 0);
  EXPECT_EQ(drag_->DragAndDropPhase(), ddpIdle);
  EXPECT_EQ(log_.finished, 1);
  EXPECT_FALSE(log_.accepted);
}

TEST_F(DragAndDropTest, APressWhereNothingBeginsStaysIdle) {
  Send(WM_LBUTTONDOWN, 170, 50);
  EXPECT_EQ(drag_->DragAndDropPhase(), ddpIdle);
  Send(WM_MOUSEMOVE, 100, 100);
  EXPECT_EQ(drag_->DragAndDropPhase(), ddpIdle);
  Send(WM_LBUTTONUP, 100, 100);
  EXPECT_EQ(log_.prepared, 0);
}

// --- Keys, popup menu, child components -----------------------------------------------------

// Every button press reports its button and point to AfterMouseButtonPress.
// (Wine keeps windows below 32768 pixels, so the cursor-based point of wider
// controls cannot be shown here.)
TEST_F(ControlTest, PressesReachAfterMouseButtonPress) {
  class TPressRecorder : public TvxControl {
   public:
    using TvxControl::TvxControl;
    void AfterMouseButtonPress(int button, int x, int y) override { Presses.push_back({button, TPoint(x, y)}); }
    bool AllowsMouseDownUnfocused() override { return true; }
    std::vector<std::pair<int, TPoint>> Presses;
  };
  auto* control = new TPressRecorder(&form_);
  control->SetParent(&form_);
  control->SetBounds(0, 0, 300, 100);
  const UINT presses[][2] = {{WM_LBUTTONDOWN, WM_LBUTTONUP}, {WM_RBUTTONDOWN, WM_RBUTTONUP},
                             {WM_MBUTTONDOWN, WM_MBUTTONUP}};
  for (const auto& press : presses) {
    SendMessageA(control->Handle(), press[0], 0, MAKELPARAM(7, 9));
    SendMessageA(control->Handle(), press[1], 0, MAKELPARAM(7, 9));
  }
  ASSERT_EQ(control->Presses.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(control->Presses[i].first, i);
    EXPECT_EQ(control->Presses[i].second, TPoint(7, 9));
  }
}

TEST_F(ControlTest, DialogCodeFollowsTheWantedKeys) {
  EXPECT_EQ(control_->Perform(WM_GETDLGCODE), 0);
  control_->SetWantedKeys(wkArrowKeys | wkCharKeys);
  EXPECT_EQ(control_->Perform(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

class TMenuComponent : public TComponent, public IvxPopupMenuComponent {
 public:
  using TComponent::TComponent;
  int Shortcuts = 0;
  TPoint PoppedAt{-100, -100};
  bool IsShortCut(TMessage& key) override {
    ++Shortcuts;
    return key.WParam == VK_F2;
  }
  void Popup(int x, int y) override { PoppedAt = {x, y}; }
};

TEST_F(ControlTest, PopupMenuTakesOnlyMenus) {
  TComponent plain(nullptr);
  control_->SetPopupMenu(&plain);
  EXPECT_EQ(control_->PopupMenu(), nullptr);
  auto* menu = new TMenuComponent(nullptr);
  control_->SetPopupMenu(menu);
  EXPECT_EQ(control_->PopupMenu(), menu);
  // The keyboard's context menu opens at the client origin.
  SendMessageA(control_->Handle(), WM_CONTEXTMENU, WPARAM(control_->Handle()), MAKELPARAM(-1, -1));
  EXPECT_EQ(menu->PoppedAt, control_->ClientToScreen({0, 0}));
  delete menu;
  EXPECT_EQ(control_->PopupMenu(), nullptr);
}

TEST_F(ControlTest, PopupShortcutsTravelUpTheParents) {
  TMenuComponent menu(nullptr);
  control_->SetPopupMenu(&menu);
  auto* child = new TvxControl(&form_);
  child->SetParent(control_);
  EXPECT_EQ(child->Perform(CN_KEYDOWN, VK_F2, 0), 1);
  EXPECT_EQ(menu.Shortcuts, 1);
  control_->SetPopupMenu(nullptr);
}

// The background is erased only when the control wants it, or by its own
// off-screen painting, which marks the message with the DC in both
// parameters.
TEST_F(ControlTest, EraseBackgroundOnlyWhenWantedOrMarked) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  PatBlt(dc, 0, 0, 20, 20, BLACKNESS);
  control_->SetColor(clRed);
  EXPECT_EQ(SendMessageA(control_->Handle(), WM_ERASEBKGND, WPARAM(dc), 0), 0);
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 0));
  EXPECT_NE(SendMessageA(control_->Handle(), WM_ERASEBKGND, WPARAM(dc), LPARAM(dc)), 0);
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 0, 0));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

// A child window that counts the invalidations that reach it.
class TCountingChild : public TCustomControl {
 public:
  TCountingChild(TComponent* owner, bool opaque) : TCustomControl(owner) {
    if (opaque) SetControlStyle((ControlStyle() | csOpaque) & ~csParentBackground);
  }
  void Invalidate() override {
    ++Invalidations;
    TCustomControl::Invalidate();
  }
  int Invalidations = 0;
};

TEST_F(ControlTest, InvalidateReachesTransparentChildrenOnly) {
  class TFullRepaint : public TContentControl {
   public:
    using TContentControl::TContentControl;
    bool NeedsFullRepaint() override { return true; }
  };
  auto* control = new TFullRepaint(&form_);
  control->SetParent(&form_);
  auto* transparent = new TCountingChild(&form_, false);
  transparent->SetParent(control);
  auto* opaque = new TCountingChild(&form_, true);
  opaque->SetParent(control);
  control->HandleNeeded();
  transparent->Invalidations = opaque->Invalidations = 0;
  control->Perform(CM_INVALIDATE, 1, 0);
  EXPECT_EQ(transparent->Invalidations, 1);
  EXPECT_EQ(opaque->Invalidations, 0);
}

TEST_F(ControlTest, ChildComponentsFollowTheirControl) {
  auto* child = new TvxControlChildComponent(control_, true);
  EXPECT_EQ(child->Control(), control_);
  EXPECT_EQ(child->Owner(), &form_);
  EXPECT_EQ(child->GetParentComponent(), control_);
  control_->RemoveChildComponent(child);
  EXPECT_FALSE(child->HasParent());
  child->SetParentComponent(control_);
  EXPECT_EQ(child->Control(), control_);
  delete child;
}

}  // namespace
