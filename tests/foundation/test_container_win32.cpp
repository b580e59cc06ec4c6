// The container module under Wine: the view info's borders and shadow,
// the shadow window region, frame filling, the process-window suspension,
// message draining and the one-message swallow; popups driven with real
// input (outside clicks, owner clicks, Alt keys), the popup fitting into
// an injected work area, and the inner list box's incremental search.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "PainterPicture.h"
#include "PinnedSystemColors.h"
#include "RealInput.h"
#include "foundation/vxContainer.h"
#include "foundation/vxModules.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kShadow = RGB(128, 128, 128);

// The foundation's modules (the container's hooks among them) run for the
// whole program, the styles' tests included.
class FoundationModules : public testing::Environment {
 public:
  void SetUp() override { modules_ = std::make_unique<TvxFoundationModules>(); }
  void TearDown() override { modules_.reset(); }

 private:
  std::unique_ptr<TvxFoundationModules> modules_;
};
const auto* const foundationModules = testing::AddGlobalTestEnvironment(new FoundationModules);

using real_input::Keys;
using real_input::MouseTo;
using real_input::Pump;
using real_input::PumpUntil;

void ClickAt(TPoint p) { MouseTo(p, true); }

// --- View info ----------------------------------------------------------------------------

TEST(ContainerWin32, ClassicBordersAndShadow) {
  TPinnedSystemColors pins({{COLOR_BTNSHADOW, kShadow}, {COLOR_BTNFACE, RGB(192, 192, 192)}});
  struct Case {
    const char* name;
    TvxContainerBorderStyle style;
    bool shadow;
    TvxEdges edges;
  } cases[] = {
      {"single", cbsSingle, false, 0x0F},
      {"thick with shadow", cbsThick, true, 0x0F},
      {"single with shadow and no right edge", cbsSingle, true, 0x0B},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TPainterPicture picture(60, 40);
    TvxContainerViewInfo info;
    info.BorderStyle = c.style;
    info.BorderWidth = vxBorderStyleWidth(c.style);
    info.Edges = c.edges;
    info.Shadow = c.shadow;
    info.BorderColor = TColor(RGB(255, 0, 0));
    info.BackgroundColor = TColor(RGB(0, 0, 255));
    info.Bounds = TRect(0, 0, 50, 30);
    // The border extent: the width on each edge, and 3 more right and
    // below for the shadow.
    const int w = info.BorderWidth;
    info.BorderRect = TRect(w, w, 50 - (c.edges & 4 ? w : 0) - (c.shadow ? 3 : 0), 30 - w - (c.shadow ? 3 : 0));
    info.Draw(picture.Canvas());

    EXPECT_EQ(picture.At(0, 10), RGB(255, 0, 0));
    EXPECT_EQ(picture.At(w - 1, 10), RGB(255, 0, 0));
    EXPECT_EQ(picture.At(w, 10), RGB(0, 0, 255));
    const TRect& b = info.BorderRect;
    if (c.shadow) {
      // The shadow hugs the border's outer edge: with no right edge it
      // starts straight at the border rectangle.
      const int right = b.Right + ((c.edges & 4) ? w : 0);
      EXPECT_EQ(picture.At(right, 10), kShadow);
      EXPECT_EQ(picture.At(right + 2, 10), kShadow);
      EXPECT_EQ(picture.At(right + 3, 10), kWhite);
      EXPECT_EQ(picture.At(10, b.Bottom + w), kShadow);
      // The corner beside the shadow stays the parent's.
      EXPECT_EQ(picture.At(0, b.Bottom + w + 1), kWhite);
    } else {
      EXPECT_EQ(picture.At(49, 10), RGB(255, 0, 0));
    }
  }
}

TEST(ContainerWin32, ThreeDimensionalBorderUsesSystemEdges) {
  TPinnedSystemColors pins({{COLOR_3DDKSHADOW, RGB(10, 10, 10)}, {COLOR_3DLIGHT, RGB(220, 220, 220)},
                            {COLOR_BTNSHADOW, kShadow}, {COLOR_BTNHIGHLIGHT, RGB(250, 250, 250)}});
  TPainterPicture picture(40, 30);
  TvxContainerViewInfo info;
  info.BorderStyle = cbs3D;
  info.BorderWidth = 2;
  info.Bounds = TRect(0, 0, 40, 30);
  info.BorderRect = TRect(2, 2, 38, 28);
  info.BackgroundColor = TColor(RGB(0, 0, 255));
  info.Draw(picture.Canvas());
  EXPECT_EQ(picture.At(0, 10), kShadow);               // sunken outer edge, left
  EXPECT_EQ(picture.At(1, 10), RGB(10, 10, 10));       // inner dark left
  EXPECT_EQ(picture.At(38, 10), RGB(220, 220, 220));   // inner light right
  EXPECT_EQ(picture.At(39, 10), RGB(250, 250, 250));   // outer highlight right
  EXPECT_EQ(picture.At(20, 15), RGB(0, 0, 255));
}

TEST(ContainerWin32, ShadowRegionAndFrameFill) {
  HRGN region = vxWindowShadowRegion(TRect(0, 0, 50, 30), TRect(), TRect(), true, false);
  ASSERT_NE(region, nullptr);
  EXPECT_TRUE(PtInRegion(region, 10, 10));
  EXPECT_TRUE(PtInRegion(region, 51, 31));   // shadow corner
  EXPECT_FALSE(PtInRegion(region, 1, 31));   // beside the shadow: the parent shows
  EXPECT_FALSE(PtInRegion(region, 51, 1));
  DeleteObject(region);
  EXPECT_EQ(vxWindowShadowRegion(TRect(0, 0, 50, 30), TRect(), TRect(), true, true), nullptr);
  EXPECT_EQ(vxWindowShadowRegion(TRect(0, 0, 50, 30), TRect(), TRect(), false, false), nullptr);

  TPainterPicture picture(20, 20);
  vxFillFrameArea(picture.Canvas(), TRect(0, 0, 20, 20), TRect(5, 5, 15, 15), TColor(RGB(0, 255, 0)));
  EXPECT_EQ(picture.CountIn(TRect(5, 5, 15, 15), kWhite), 100);
  EXPECT_EQ(picture.Count(RGB(0, 255, 0)), 300);
  vxFillFrameArea(picture.Canvas(), TRect(0, 0, 20, 20), TRect(), TColor(RGB(0, 0, 0)));
  EXPECT_EQ(picture.Count(RGB(0, 0, 0)), 400);
  vxFillFrameArea(picture.Canvas(), TRect(0, 0, 20, 20), TRect(0, 0, 20, 20), TColor(RGB(255, 0, 0)));
  EXPECT_EQ(picture.Count(RGB(255, 0, 0)), 0);
}

// --- Window functions -------------------------------------------------------------------------

TEST(ContainerWin32, SuspendAndResumeAppWindows) {
  TForm first(nullptr), second(nullptr);
  first.Show();
  second.Show();
  vxSuspendAppWindows(true);
  vxSuspendAppWindows(true);
  EXPECT_FALSE(IsWindowEnabled(first.Handle()));
  EXPECT_FALSE(IsWindowEnabled(second.Handle()));
  vxResumeAppWindows();
  EXPECT_FALSE(IsWindowEnabled(first.Handle()));
  vxResumeAppWindows();
  EXPECT_TRUE(IsWindowEnabled(first.Handle()));
  EXPECT_TRUE(IsWindowEnabled(second.Handle()));
  // A resume without a suspend leaves the count at zero, so the next pair
  // still disables.
  vxResumeAppWindows();
  EXPECT_EQ(vxAppWindowsSuspendCount(), 0);
  vxSuspendAppWindows(true);
  EXPECT_FALSE(IsWindowEnabled(first.Handle()));
  vxResumeAppWindows();
  EXPECT_TRUE(IsWindowEnabled(first.Handle()));
}

TEST(ContainerWin32, DrainMessagesKeepsQuit) {
  TForm form(nullptr);
  HWND wnd = form.Handle();
  PostMessageA(wnd, WM_USER + 1, 0, 0);
  PostMessageA(wnd, WM_USER + 1, 0, 0);
  EXPECT_TRUE(vxDrainMessages(wnd, WM_USER + 1, 0, false));
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, wnd, WM_USER + 1, WM_USER + 1, PM_NOREMOVE));
  EXPECT_TRUE(vxDrainMessages(wnd, WM_USER + 1, 0, true));
  EXPECT_FALSE(PeekMessageA(&msg, wnd, WM_USER + 1, WM_USER + 1, PM_NOREMOVE));
  PostQuitMessage(7);
  EXPECT_FALSE(vxDrainMessages(nullptr, WM_QUIT, 0, true));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST(ContainerWin32, SwallowKeepsEachWindowsProcedure) {
  TForm first(nullptr), second(nullptr);
  HWND a = first.Handle(), b = second.Handle();
  const LONG_PTR procA = GetWindowLongPtrA(a, GWLP_WNDPROC), procB = GetWindowLongPtrA(b, GWLP_WNDPROC);
  // Overlapping swallows, one window twice: each window's own procedure
  // comes back after its one swallowed message.
  vxSwallowNextMessage(a);
  vxSwallowNextMessage(b);
  vxSwallowNextMessage(a);
  EXPECT_EQ(SendMessageA(a, WM_USER + 2, 0, 0), 1);
  EXPECT_EQ(SendMessageA(b, WM_USER + 2, 0, 0), 1);
  EXPECT_EQ(GetWindowLongPtrA(a, GWLP_WNDPROC), procA);
  EXPECT_EQ(GetWindowLongPtrA(b, GWLP_WNDPROC), procB);
  int seen = 0;
  first.SetWindowProc([&](TMessage& m) {
    if (m.Msg == WM_USER + 2) ++seen;
    first.WndProc(m);
  });
  SendMessageA(a, WM_USER + 2, 0, 0);
  EXPECT_EQ(seen, 1);
}

// --- Popups ---------------------------------------------------------------------------------

// A form with an owner edit, another edit, and a popup that does not take
// the focus, placed under the owner.
struct PopupScene {
  TForm Form{nullptr};
  TEdit* Owner;
  TEdit* Other;
  std::unique_ptr<TvxCustomPopupWindow> Popup;
  int OwnerDowns = 0, OtherDowns = 0, FormSysKeys = 0;

  PopupScene() {
    Form.SetBounds(100, 100, 400, 300);
    Owner = new TEdit(&Form);
    Owner->SetParent(&Form);
    Owner->SetBounds(20, 20, 150, 21);
    Other = new TEdit(&Form);
    Other->SetParent(&Form);
    Other->SetBounds(20, 200, 150, 21);
    Owner->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ++OwnerDowns; };
    Other->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ++OtherDowns; };
    Form.OnKeyDown = [this](TObject*, uint16_t&, TShiftState shift) {
      if (shift & ssAlt) ++FormSysKeys;
    };
    Form.SetKeyPreview(true);
    Form.Show();
    SetForegroundWindow(Form.Handle());
    Owner->SetFocus();
    Pump();
    Popup = std::make_unique<TvxCustomPopupWindow>(Owner);
    Popup->SetTakesFocus(false);
    Popup->SetBounds(0, 0, 150, 100);
    Popup->SetAnchorBounds(Owner->BoundsRect());
  }
  void Open() {
    Popup->ShowPopup(Owner);
    Pump();
  }
};

TEST(ContainerWin32, PopupOpensBelowItsOwnerAndOnlyOnce) {
  PopupScene scene;
  int shown = 0, closed = 0;
  scene.Popup->OnPopupShown = [&](TObject*) { ++shown; };
  scene.Popup->OnPopupClosed = [&](TObject*) { ++closed; };
  scene.Open();
  ASSERT_TRUE(scene.Popup->IsOpen());
  EXPECT_TRUE(IsWindowVisible(scene.Popup->Handle()));
  const TRect owner = vxControlScreenRectOrEmpty(scene.Owner);
  EXPECT_EQ(vxWindowScreenRectOrEmpty(scene.Popup->Handle()).Top, owner.Bottom);
  scene.Popup->ShowPopup(scene.Owner);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(vxOpenPopupCount(), 1);
  scene.Popup->HidePopup();
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(scene.Popup->IsOpen());
  EXPECT_EQ(vxOpenPopupCount(), 0);
}

TEST(ContainerWin32, OutsideClickClosesThePopupAndReachesTheControl) {
  PopupScene scene;
  scene.Open();
  ASSERT_TRUE(scene.Popup->IsOpen());
  ClickAt(scene.Other->ClientToScreen(TPoint(10, 10)));
  EXPECT_TRUE(PumpUntil([&] { return scene.OtherDowns == 1; }));
  EXPECT_FALSE(scene.Popup->IsOpen());
  EXPECT_FALSE(IsWindowVisible(scene.Popup->Handle()));
}

TEST(ContainerWin32, ClickOnTheOwnerClosesThePopupAndIsDelivered) {
  PopupScene scene;
  scene.Open();
  ASSERT_TRUE(scene.Popup->IsOpen());
  ClickAt(scene.Owner->ClientToScreen(TPoint(10, 10)));
  EXPECT_TRUE(PumpUntil([&] { return scene.OwnerDowns == 1; }));
  EXPECT_FALSE(scene.Popup->IsOpen());
}

TEST(ContainerWin32, ClickInsideThePopupKeepsItOpen) {
  PopupScene scene;
  auto inside = new TButton(scene.Popup.get());
  inside->SetParent(scene.Popup.get());
  inside->SetBounds(10, 10, 60, 20);
  int clicks = 0;
  inside->OnClick = [&](TObject*) { ++clicks; };
  scene.Open();
  ClickAt(inside->ClientToScreen(TPoint(5, 5)));
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
  EXPECT_TRUE(scene.Popup->IsOpen());
  scene.Popup->HidePopup();
}

TEST(ContainerWin32, AltKeysAreSwallowedWhileOpen) {
  PopupScene scene;
  scene.Open();
  ASSERT_TRUE(scene.Popup->IsOpen());
  ASSERT_EQ(GetFocus(), scene.Owner->Handle());
  Keys({{VK_MENU, false}, {'F', false}, {'F', true}, {VK_MENU, true}});
  Pump();
  PumpUntil([] { return GetAsyncKeyState(VK_MENU) >= 0; });
  Pump();
  EXPECT_EQ(scene.FormSysKeys, 0);
  EXPECT_TRUE(scene.Popup->IsOpen());
  // Alt+Down is a navigation key of the popup and gets through.
  Keys({{VK_MENU, false}, {VK_DOWN, false}, {VK_DOWN, true}, {VK_MENU, true}});
  EXPECT_TRUE(PumpUntil([&] { return scene.FormSysKeys > 0; }));
  scene.Popup->HidePopup();
  // Closed: Alt keys reach the form again.
  scene.FormSysKeys = 0;
  Keys({{VK_MENU, false}, {'F', false}, {'F', true}, {VK_MENU, true}});
  EXPECT_TRUE(PumpUntil([&] { return scene.FormSysKeys > 0; }));
}

TEST(ContainerWin32, ModalPopupDropsAltMenuKeysAndClosesOnRequest) {
  PopupScene scene;
  scene.Popup->SetTakesFocus(true);
  scene.Popup->HandleNeeded();
  int ownerSysKeys = 0;
  scene.Owner->SetWindowProc([&](TMessage& m) {
    if (m.Msg == WM_SYSKEYDOWN) ++ownerSysKeys;
    scene.Owner->WndProc(m);
  });
  // Queued before the popup opens: Alt+Space for the owner, then the close
  // request the modal loop ends on.
  PostMessageA(scene.Owner->Handle(), WM_SYSKEYDOWN, VK_SPACE, 1 << 29);
  scene.Popup->PostCloseRequest();
  scene.Popup->ShowPopup(scene.Owner);
  EXPECT_FALSE(scene.Popup->IsOpen());
  EXPECT_FALSE(IsWindowVisible(scene.Popup->Handle()));
  Pump();
  EXPECT_EQ(ownerSysKeys, 0);
}

TEST(ContainerWin32, ClosingAFocusPopupClosesItsOwnersWindow) {
  PopupScene scene;
  scene.Popup->SetTakesFocus(true);
  scene.Popup->SetRunsModalLoop(false);
  scene.Open();
  ASSERT_TRUE(scene.Popup->IsOpen());
  SendMessageA(scene.Popup->Handle(), WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(scene.Popup->IsOpen());
  EXPECT_FALSE(IsWindowVisible(scene.Form.Handle()));
}

TEST(ContainerWin32, ANestedPopupCountsAsPartOfTheFirst) {
  PopupScene scene;
  auto inner = new TEdit(scene.Popup.get());
  inner->SetParent(scene.Popup.get());
  inner->SetBounds(10, 10, 100, 21);
  scene.Open();
  TvxCustomPopupWindow nested(inner);
  nested.SetTakesFocus(false);
  nested.SetBounds(0, 0, 120, 60);
  nested.SetAnchorBounds(inner->BoundsRect());
  auto button = new TButton(&nested);
  button->SetParent(&nested);
  button->SetBounds(5, 5, 80, 20);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  nested.ShowPopup(nullptr);
  Pump();
  ASSERT_EQ(vxOpenPopupCount(), 2);
  EXPECT_TRUE(vxIsWindowInsideControl(scene.Popup.get(), nested.Handle()));

  ClickAt(button->ClientToScreen(TPoint(5, 5)));
  EXPECT_TRUE(PumpUntil([&] { return clicks == 1; }));
  EXPECT_EQ(vxOpenPopupCount(), 2);
  // A click on the form closes both.
  ClickAt(scene.Other->ClientToScreen(TPoint(10, 10)));
  EXPECT_TRUE(PumpUntil([&] { return scene.OtherDowns == 1; }));
  EXPECT_EQ(vxOpenPopupCount(), 0);
}

TEST(ContainerWin32, HidingTheOwnerClosesThePopup) {
  PopupScene scene;
  scene.Open();
  ASSERT_TRUE(scene.Popup->IsOpen());
  scene.Owner->Hide();
  Pump();
  EXPECT_FALSE(scene.Popup->IsOpen());
}

// The popup hooks come with the first open popup and go once the last
// has closed, from inside the hook that closed it: the thread's older
// hooks still see that message, and the hooks are back for the next popup.
TEST(ContainerWin32, PopupHooksComeAndGoWithoutCuttingTheChain) {
  static std::vector<std::pair<HWND, WPARAM>> hidden;
  hidden.clear();
  HHOOK older = SetWindowsHookExA(
      WH_CALLWNDPROC,
      [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && m->message == WM_SHOWWINDOW) hidden.emplace_back(m->hwnd, m->wParam);
        return CallNextHookEx(nullptr, code, wParam, lParam);
      },
      nullptr, GetCurrentThreadId());
  ASSERT_NE(older, nullptr);
  PopupScene scene;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    scene.Owner->Show();
    scene.Open();
    ASSERT_TRUE(scene.Popup->IsOpen());
    hidden.clear();
    scene.Owner->Hide();
    Pump();
    EXPECT_FALSE(scene.Popup->IsOpen());
    EXPECT_NE(std::find(hidden.begin(), hidden.end(), std::make_pair(scene.Owner->Handle(), WPARAM(0))), hidden.end());
  }
  UnhookWindowsHookEx(older);
}

// A popup that fits itself into the work area the test gives it.
class FittingPopup : public TvxCustomPopupWindow {
 public:
  using TvxCustomPopupWindow::TvxCustomPopupWindow;
  bool CanFitToWorkArea() override { return Fits; }
  bool Fits = true;
};

TEST(ContainerWin32, FitToWorkAreaTable) {
  TForm form(nullptr);
  struct Case {
    const char* name;
    bool fits;
    TPoint p;
    TRect area;
    TPoint expectedP;
    int width, height;
  } cases[] = {
      {"below", true, {100, 100}, {0, 0, 800, 600}, {100, 100}, 200, 150},
      {"clamped at the bottom", true, {100, 500}, {0, 0, 800, 600}, {100, 500}, 200, 100},
      {"above the top", true, {100, -50}, {0, 0, 800, 600}, {100, 0}, 200, 100},
      {"too big", true, {0, 0}, {0, 0, 120, 90}, {0, 0}, 120, 90},
      {"past the bottom", true, {100, 650}, {0, 0, 800, 600}, {100, 450}, 200, 150},
      {"not fitting: left alone", false, {100, 500}, {0, 0, 800, 600}, {100, 500}, 200, 150},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FittingPopup popup(&form);
    popup.Fits = c.fits;
    popup.WorkAreaAt = [&c](TPoint) { return c.area; };
    popup.SetBounds(0, 0, 200, 150);
    TPoint p = c.p;
    popup.FitToWorkArea(p);
    EXPECT_EQ(p, c.expectedP);
    EXPECT_EQ(popup.Width(), c.width);
    EXPECT_EQ(popup.Height(), c.height);
  }
}

// --- Inner list box --------------------------------------------------------------------------------

TEST(ContainerWin32, TypingSearchesTheItems) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 300);
  TvxCustomInnerListBox list(&form);
  list.SetParent(&form);
  list.SetBounds(10, 10, 200, 200);
  for (const char* item : {"apple", "banana", "abacus", "about", "cherry", "Abbey"}) list.Items()->Add(item);
  uint32_t now = 10000;
  list.Clock = [&] { return now; };
  form.Show();
  SetForegroundWindow(form.Handle());
  list.SetFocus();
  Pump();
  int clicks = 0;
  list.OnClick = [&](TObject*) { ++clicks; };

  // "a" then "b" 100 ms apart: one search for "ab", the first item that
  // starts with it (case aside), and neither key reaches the list box.
  Keys({{'A', false}, {'A', true}});
  ASSERT_TRUE(PumpUntil([&] { return list.SearchFilter() == "a"; }));
  EXPECT_EQ(list.ItemIndex(), 0);
  now += 100;
  Keys({{'B', false}, {'B', true}});
  ASSERT_TRUE(PumpUntil([&] { return list.SearchFilter() == "ab"; }));
  EXPECT_EQ(list.ItemIndex(), 2);
  EXPECT_EQ(list.Items()->Get(list.ItemIndex()), "abacus");
  EXPECT_EQ(clicks, 2);

  // After 500 ms a key starts a new search.
  now += 500;
  Keys({{'C', false}, {'C', true}});
  ASSERT_TRUE(PumpUntil([&] { return list.SearchFilter() == "c"; }));
  EXPECT_EQ(list.Items()->Get(list.ItemIndex()), "cherry");

  // Backspace shortens the filter; an empty one selects the first item.
  now += 10;
  Keys({{VK_BACK, false}, {VK_BACK, true}});
  ASSERT_TRUE(PumpUntil([&] { return list.SearchFilter().empty(); }));
  EXPECT_EQ(list.ItemIndex(), 0);
}

TEST(ContainerWin32, MirroredPageNeverExceedsTheRange) {
  // The native bar takes a page as large as the whole range plus one; the
  // painted bar would refuse it.
  TForm form(nullptr);
  HWND wnd = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VSCROLL, 0, 0, 100, 100, form.Handle(), nullptr,
                             nullptr, nullptr);
  SCROLLINFO info{sizeof info, SIF_ALL | SIF_DISABLENOSCROLL, 0, 9, 10, 4, 0};
  SetScrollInfo(wnd, SB_VERT, &info, FALSE);
  TvxScrollBar bar(nullptr);
  bar.SetKind(sbVertical);
  EXPECT_NO_THROW(vxMirrorScrollInfo(&bar, wnd, SB_VERT));
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Max(), 9);
  EXPECT_EQ(bar.PageSize(), 9);
  DestroyWindow(wnd);
}

TEST(ContainerWin32, ListBoxInAContainerHandsEnterToIt) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 300);
  auto container = new TvxContainer(&form);
  container->SetParent(&form);
  container->SetBounds(10, 10, 220, 200);
  auto list = new TvxCustomInnerListBox(container);
  list->SetParent(container);
  list->SetContainer(container);
  container->SetInnerControl(list);
  for (const char* item : {"alpha", "beta", "gamma"}) list->Items()->Add(item);
  std::vector<char> containerKeys;
  container->OnKeyPress = [&](TObject*, char& key) { containerKeys.push_back(key); };
  form.Show();
  SetForegroundWindow(form.Handle());
  container->SetFocus();
  Pump();
  ASSERT_EQ(GetFocus(), list->Handle());
  Keys({{'G', false}, {'G', true}});
  ASSERT_TRUE(PumpUntil([&] { return list->SearchFilter() == "g"; }));
  EXPECT_EQ(list->ItemIndex(), 2);
  Keys({{VK_RETURN, false}, {VK_RETURN, true}});
  ASSERT_TRUE(PumpUntil([&] { return containerKeys.size() == 2; }));
  EXPECT_EQ(containerKeys, (std::vector<char>{'g', '\r'}));
  // Enter went to the container, not into the search.
  EXPECT_EQ(list->SearchFilter(), "g");
  EXPECT_TRUE(container->LastState() & csfActive);
}

}  // namespace
