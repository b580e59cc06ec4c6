// The control module under Wine: shift-state helpers, timers on the shared
// window, window-procedure hook chains, popup placement and fitting, the
// size frame's outline, drag detection, mouse tracking driven by real mouse
// input, and the cursors and registered messages of the module's start.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "foundation/vxControls.h"

namespace {

// Handles what is queued now, without waiting.
void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Handles messages as they come until done() holds or about five seconds
// have passed; answers done().
bool PumpUntil(const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < 5000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpMessages();
  }
  return done();
}

class ControlsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { vxControlsInitialize(); }
  static void TearDownTestSuite() { vxControlsFinalize(); }
};

// --- Shift state ----------------------------------------------------------------

TEST_F(ControlsTest, ShiftStateHelpers) {
  struct Case {
    TShiftState shift;
    bool empty, leftOnly, leftOnlyWithDouble;
    unsigned mask;
  } cases[] = {
      {0, true, false, false, 0},
      {ssLeft, false, true, true, MK_LBUTTON},
      {ssLeft | ssDouble, false, false, true, MK_LBUTTON},
      {ssLeft | ssShift, false, false, false, MK_LBUTTON | MK_SHIFT},
      {ssLeft | ssRight, false, false, false, MK_LBUTTON | MK_RBUTTON},
      {ssAlt, false, false, false, 0},
      {ssDouble, false, false, false, 0},
      {ssCtrl | ssMiddle, false, false, false, MK_CONTROL | MK_MBUTTON},
      {ssShift | ssAlt | ssCtrl | ssLeft | ssRight | ssMiddle | ssDouble, false, false, false,
       MK_SHIFT | MK_CONTROL | MK_LBUTTON | MK_RBUTTON | MK_MBUTTON},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vxShiftStateIsEmpty(c.shift), c.empty) << c.shift;
    EXPECT_EQ(vxShiftStateIsLeftButtonOnly(c.shift, false), c.leftOnly) << c.shift;
    EXPECT_EQ(vxShiftStateIsLeftButtonOnly(c.shift, true), c.leftOnlyWithDouble) << c.shift;
    EXPECT_EQ(vxMouseKeyMaskFromShift(c.shift), c.mask) << c.shift;
  }
}

TEST_F(ControlsTest, HourglassNests) {
  Screen->SetCursor(crCross);
  vxEndHourglassCursor();  // unmatched: nothing
  EXPECT_EQ(Screen->Cursor(), crCross);
  vxBeginHourglassCursor();
  vxBeginHourglassCursor();
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
  vxEndHourglassCursor();
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
  vxEndHourglassCursor();
  EXPECT_EQ(Screen->Cursor(), crCross);
  Screen->SetCursor(crDefault);
}

// --- Windows and menus ----------------------------------------------------------------

TEST_F(ControlsTest, WindowHelpers) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  auto* child = new TWinControl(&form);
  child->SetParent(&form);
  child->SetBounds(20, 30, 100, 50);
  TWinControl orphan(nullptr);
  EXPECT_FALSE(vxCanAllocateHandle(&orphan));  // no parent, not a form
  orphan.SetParentWindow(GetDesktopWindow());
  EXPECT_TRUE(vxCanAllocateHandle(&orphan));
  orphan.SetParentWindow(nullptr);
  HWND wnd = child->Handle();
  EXPECT_TRUE(vxCanAllocateHandle(child));

  EXPECT_TRUE(vxIsChildWindow(wnd));
  EXPECT_FALSE(vxIsChildWindow(form.Handle()));
  EXPECT_TRUE(vxIsWindowOrChild(form.Handle(), wnd));
  EXPECT_TRUE(vxIsWindowOrChild(form.Handle(), form.Handle()));
  EXPECT_FALSE(vxIsWindowOrChild(wnd, form.Handle()));
  EXPECT_FALSE(vxIsWindowOrChild(nullptr, wnd));

  EXPECT_TRUE(vxIsWindowEnabledInChain(wnd));
  form.SetEnabled(false);
  EXPECT_TRUE(IsWindowEnabled(wnd));
  EXPECT_FALSE(vxIsWindowEnabledInChain(wnd));
  form.SetEnabled(true);

  TRect r(0, 0, 100, 50);
  vxMapWindowRect(wnd, nullptr, r);
  EXPECT_EQ(r, vxControlScreenRectOrEmpty(child));
  EXPECT_EQ(r.TopLeft(), child->ClientToScreen(TPoint(0, 0)));
  EXPECT_EQ(vxWindowClientRectOrEmpty(wnd), TRect(0, 0, 100, 50));
  EXPECT_EQ(vxWindowClientRectOrEmpty(nullptr), TRect());
  EXPECT_EQ(vxWindowScreenRectOrEmpty(reinterpret_cast<HWND>(intptr_t(0x7FFF0))), TRect());
  EXPECT_EQ(vxControlScreenRectOrEmpty(&orphan), TRect());

  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(vxGetWorkAreaAtPoint(TPoint(5, 5)), TRect(work));
  EXPECT_EQ(vxGetMonitorWorkArea(nullptr), TRect(work));
}

// A system menu made by hand: restore, move, size, minimise, maximise,
// separator, close.
HMENU MakeSystemMenu() {
  HMENU menu = CreatePopupMenu();
  for (UINT command : {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE}) AppendMenuA(menu, MF_STRING, command, "x");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, SC_CLOSE, "Close");
  return menu;
}

bool Greyed(HMENU menu, UINT command) { return GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED; }

TEST_F(ControlsTest, SystemMenuFollowsTheWindowsStyle) {
  struct Case {
    const char* what;
    DWORD style;
    bool size, restore, minimize, maximize, move;
    UINT defaultItem;
  } cases[] = {
      {"sizeable with both boxes", WS_OVERLAPPEDWINDOW, false, true, false, false, false, SC_CLOSE},
      {"fixed frame, no boxes", WS_POPUP | WS_CAPTION | WS_SYSMENU, true, true, true, true, false, SC_CLOSE},
      {"fixed frame, minimise box only", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, true, true, false, true,
       false, SC_CLOSE},
  };
  for (const Case& c : cases) {
    HWND wnd = CreateWindowExA(0, "STATIC", "", c.style, 10, 10, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HMENU menu = MakeSystemMenu();
    vxAdjustSystemMenu(menu, wnd, false, 1, false);
    EXPECT_EQ(Greyed(menu, SC_SIZE), c.size) << c.what;
    EXPECT_EQ(Greyed(menu, SC_RESTORE), c.restore) << c.what;
    EXPECT_EQ(Greyed(menu, SC_MINIMIZE), c.minimize) << c.what;
    EXPECT_EQ(Greyed(menu, SC_MAXIMIZE), c.maximize) << c.what;
    EXPECT_EQ(Greyed(menu, SC_MOVE), c.move) << c.what;
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), c.defaultItem) << c.what;
    DestroyMenu(menu);
    DestroyWindow(wnd);
  }
  // Without option bit 0 nothing changes; a dialog loses its sizing items.
  HWND wnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 10, 10, 200, 100, nullptr, nullptr, nullptr, nullptr);
  HMENU menu = MakeSystemMenu();
  vxAdjustSystemMenu(menu, wnd, true, 0, false);
  EXPECT_EQ(GetMenuItemCount(menu), 7);
  vxAdjustSystemMenu(menu, wnd, true, 1, false);
  EXPECT_EQ(GetMenuState(menu, SC_SIZE, MF_BYCOMMAND), UINT(-1));
  EXPECT_EQ(GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND), UINT(-1));
  EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), UINT(-1));
  DestroyMenu(menu);
  DestroyWindow(wnd);
}

TEST_F(ControlsTest, MenuItemsAreCopied) {
  HMENU source = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 11, "Inner");
  AppendMenuA(source, MF_STRING | MF_CHECKED, 1, "&First");
  AppendMenuA(source, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(source, MF_STRING | MF_GRAYED, 2, "Second");
  AppendMenuA(source, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "More");
  HMENU dest = CreatePopupMenu();
  AppendMenuA(dest, MF_STRING, 7, "Old");
  AppendMenuA(dest, MF_STRING, SC_CLOSE, "Close");
  vxCopyMenuItems(source, dest);
  ASSERT_EQ(GetMenuItemCount(dest), 4);
  char text[64];
  GetMenuStringA(dest, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&First");
  EXPECT_TRUE(GetMenuState(dest, 0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_TRUE(GetMenuState(dest, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(GetMenuItemID(dest, 2), 2u);
  EXPECT_TRUE(GetMenuState(dest, 2, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_EQ(GetSubMenu(dest, 3), sub);
  vxCopyMenuItems(dest, dest);  // the same menu: nothing
  EXPECT_EQ(GetMenuItemCount(dest), 4);
  RemoveMenu(dest, 3, MF_BYPOSITION);  // the submenu belongs to source
  DestroyMenu(dest);
  DestroyMenu(source);
}

TEST_F(ControlsTest, SystemMenuTemplate) {
  EXPECT_EQ(vxLoadSystemMenuTemplate(3), nullptr);
  // The system's templates, where the system library has them.
  for (int kind = 0; kind < 3; ++kind) {
    HMENU menu = vxLoadSystemMenuTemplate(kind);
    if (!menu) continue;
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_STYLE;
    GetMenuInfo(menu, &info);
    EXPECT_TRUE(info.dwStyle & MNS_CHECKORBMP) << kind;
    DestroyMenu(menu);
  }
}

struct MenuComponent : TComponent, IvxPopupMenuComponent {
  MenuComponent() : TComponent(nullptr) {}
  TPoint ShownAt{-1, -1};
  bool IsShortCut(TMessage& m) override { return m.WParam == 'K'; }
  void Popup(int x, int y) override { ShownAt = TPoint(x, y); }
};

TEST_F(ControlsTest, PopupMenuComponents) {
  MenuComponent menu;
  TComponent notAMenu(nullptr);
  TMessage key{WM_KEYDOWN, 'K', 0, 0};
  TMessage other{WM_KEYDOWN, 'L', 0, 0};
  EXPECT_TRUE(vxIsPopupMenuShortCut(&menu, key));
  EXPECT_FALSE(vxIsPopupMenuShortCut(&menu, other));
  EXPECT_FALSE(vxIsPopupMenuShortCut(&notAMenu, key));
  EXPECT_FALSE(vxIsPopupMenuShortCut(nullptr, key));
  EXPECT_TRUE(vxShowPopupMenuFor(nullptr, &menu, 30, 40));
  EXPECT_EQ(menu.ShownAt, TPoint(30, 40));
  EXPECT_FALSE(vxShowPopupMenuFor(nullptr, &notAMenu, 1, 1));
  EXPECT_FALSE(vxShowPopupMenuFor(nullptr, nullptr, 1, 1));
}

// --- Timers -----------------------------------------------------------------------

// Posts a tick for id to the shared window as the system would.
void DeliverTick(UINT_PTR id) {
  PostMessageA(vxSharedTimerWindow()->Handle(), WM_TIMER, id, 0);
  PumpMessages();
}

TEST_F(ControlsTest, TimerFiresOnItsTickAndIgnoresStaleOnes) {
  int firstTicks = 0, secondTicks = 0;
  auto first = std::make_unique<TvxTimer>(nullptr);
  first->SetInterval(60000);  // no real tick during the test
  first->SetOnTimer([&](TObject* sender) {
    EXPECT_EQ(sender, first.get());
    ++firstTicks;
  });
  ASSERT_TRUE(first->Running());
  const UINT_PTR staleId = first->TimerId();
  DeliverTick(staleId);
  EXPECT_EQ(firstTicks, 1);

  // Stopped: its queued tick is dropped.
  first->SetEnabled(false);
  DeliverTick(staleId);
  EXPECT_EQ(firstTicks, 1);

  // Destroyed, and a new timer made (likely at the same address): the old
  // tick reaches neither.
  first.reset();
  TvxTimer second(nullptr);
  second.SetInterval(60000);
  second.SetOnTimer([&](TObject*) { ++secondTicks; });
  EXPECT_NE(second.TimerId(), staleId);
  DeliverTick(staleId);
  EXPECT_EQ(secondTicks, 0);
  DeliverTick(second.TimerId());
  EXPECT_EQ(secondTicks, 1);
}

TEST_F(ControlsTest, TimerPropertiesRestartOrStopIt) {
  TvxTimer timer(nullptr);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_FALSE(timer.Running());  // no handler yet
  timer.SetOnTimer([](TObject*) {});
  EXPECT_TRUE(timer.Running());
  timer.SetInterval(0);
  EXPECT_EQ(timer.Interval(), 1000u);
  timer.SetInterval(250);
  EXPECT_EQ(timer.Interval(), 250u);
  EXPECT_TRUE(timer.Running());
  EXPECT_EQ(vxRunningTimers()->count(timer.TimerId()), 1u);
  timer.SetOnTimer(nullptr);
  EXPECT_FALSE(timer.Running());
  EXPECT_EQ(vxRunningTimers()->count(timer.TimerId()), 0u);
  timer.SetOnTimer([](TObject*) {});
  timer.SetEnabled(false);
  EXPECT_FALSE(timer.Running());
}

TEST_F(ControlsTest, TimerRunsOnTheClock) {
  // One real tick, waited for through the message queue.
  int ticks = 0;
  TvxTimer timer(nullptr);
  timer.SetInterval(10);
  timer.SetOnTimer([&](TObject*) { ++ticks; });
  EXPECT_TRUE(PumpUntil([&] { return ticks > 0; }));
}

// --- Window-procedure chaining ----------------------------------------------------

constexpr UINT kProbe = WM_USER + 77;
std::string* baseLog = nullptr;

LRESULT CALLBACK BaseProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kProbe && baseLog) *baseLog += "base";
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

HWND MakeRawWindow() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BaseProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QeHookProbe";
    return RegisterClassA(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowExA(0, "QeHookProbe", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

// A control whose own procedure reports itself as the base.
class ProbeControl : public TWinControl {
 public:
  ProbeControl() : TWinControl(nullptr) {}
  void WndProc(TMessage& m) override {
    if (m.Msg == kProbe && baseLog) *baseLog += "base";
    TWinControl::WndProc(m);
  }
};

// Three hooks named A, B and C on one target; each logs its name and passes
// the message on.
struct HookSet {
  std::array<TvxWindowProcLinkedObject*, 3> Links{};
  std::string Log;

  TWndMethod Hook(int i) {
    return [this, i](TMessage& m) {
      if (m.Msg == kProbe) Log += char('A' + i);
      vxCallPreviousWindowProc(Links[i], m);
    };
  }
};

// The log of one probe message: the hooks still installed, newest first,
// then the base procedure.
std::string Expected(const std::vector<int>& installed) {
  std::string s;
  for (auto it = installed.rbegin(); it != installed.rend(); ++it) s += char('A' + *it);
  return s + "base";
}

TEST_F(ControlsTest, HooksOnARawWindowInEveryOrder) {
  std::array<int, 3> addOrder{0, 1, 2};
  do {
    std::array<int, 3> removeOrder{0, 1, 2};
    do {
      HWND wnd = MakeRawWindow();
      const LONG_PTR original = GetWindowLongPtrA(wnd, GWLP_WNDPROC);
      HookSet hooks;
      baseLog = &hooks.Log;
      std::vector<int> installed;
      for (int i : addOrder) {
        hooks.Links[i] = vxGetWindowProcController()->HookHandleWindowProc(wnd, hooks.Hook(i));
        installed.push_back(i);
      }
      const std::string orders = std::to_string(addOrder[0]) + std::to_string(addOrder[1]) +
                                 std::to_string(addOrder[2]) + "/" + std::to_string(removeOrder[0]) +
                                 std::to_string(removeOrder[1]) + std::to_string(removeOrder[2]);
      for (int i : removeOrder) {
        hooks.Log.clear();
        SendMessageA(wnd, kProbe, 0, 0);
        EXPECT_EQ(hooks.Log, Expected(installed)) << orders;
        vxGetWindowProcController()->UnhookWindowProc(hooks.Links[i]);
        EXPECT_EQ(hooks.Links[i], nullptr);
        installed.erase(std::find(installed.begin(), installed.end(), i));
      }
      hooks.Log.clear();
      SendMessageA(wnd, kProbe, 0, 0);
      EXPECT_EQ(hooks.Log, "base") << orders;
      EXPECT_EQ(GetWindowLongPtrA(wnd, GWLP_WNDPROC), original) << orders;
      baseLog = nullptr;
      DestroyWindow(wnd);
    } while (std::next_permutation(removeOrder.begin(), removeOrder.end()));
  } while (std::next_permutation(addOrder.begin(), addOrder.end()));
}

TEST_F(ControlsTest, HooksOnAControlInEveryOrder) {
  std::array<int, 3> addOrder{0, 1, 2};
  do {
    std::array<int, 3> removeOrder{0, 1, 2};
    do {
      ProbeControl control;
      HookSet hooks;
      baseLog = &hooks.Log;
      std::vector<int> installed;
      for (int i : addOrder) {
        hooks.Links[i] = vxGetWindowProcController()->HookControlWindowProc(&control, hooks.Hook(i));
        installed.push_back(i);
      }
      for (int i : removeOrder) {
        hooks.Log.clear();
        control.Perform(kProbe);
        EXPECT_EQ(hooks.Log, Expected(installed));
        vxGetWindowProcController()->UnhookWindowProc(hooks.Links[i]);
        installed.erase(std::find(installed.begin(), installed.end(), i));
      }
      hooks.Log.clear();
      control.Perform(kProbe);
      EXPECT_EQ(hooks.Log, "base");
      baseLog = nullptr;
    } while (std::next_permutation(removeOrder.begin(), removeOrder.end()));
  } while (std::next_permutation(addOrder.begin(), addOrder.end()));
}

TEST_F(ControlsTest, HookThatRemovesItselfStillPassesTheMessageOn) {
  for (bool rawWindow : {true, false}) {
    HWND wnd = rawWindow ? MakeRawWindow() : nullptr;
    ProbeControl control;
    HookSet hooks;
    baseLog = &hooks.Log;
    auto hook = [&](TWndMethod proc) {
      return rawWindow ? vxGetWindowProcController()->HookHandleWindowProc(wnd, std::move(proc))
                       : vxGetWindowProcController()->HookControlWindowProc(&control, std::move(proc));
    };
    auto probe = [&] {
      hooks.Log.clear();
      if (rawWindow)
        SendMessageA(wnd, kProbe, 0, 0);
      else
        control.Perform(kProbe);
      return hooks.Log;
    };
    // B unhooks itself first thing, then uses its (now unlinked) link.
    hooks.Links[0] = hook(hooks.Hook(0));
    hooks.Links[1] = hook([&](TMessage& m) {
      TvxWindowProcLinkedObject* self = hooks.Links[1];
      if (m.Msg == kProbe) hooks.Log += 'B';
      vxGetWindowProcController()->UnhookWindowProc(hooks.Links[1]);
      vxCallPreviousWindowProc(self, m);
    });
    EXPECT_EQ(probe(), "BAbase");
    EXPECT_EQ(probe(), "Abase");
    // The last hook does the same: the base procedure comes back.
    vxGetWindowProcController()->UnhookWindowProc(hooks.Links[0]);
    hooks.Links[2] = hook([&](TMessage& m) {
      TvxWindowProcLinkedObject* self = hooks.Links[2];
      if (m.Msg == kProbe) hooks.Log += 'C';
      vxGetWindowProcController()->UnhookWindowProc(hooks.Links[2]);
      vxCallPreviousWindowProc(self, m);
    });
    EXPECT_EQ(probe(), "Cbase");
    EXPECT_EQ(probe(), "base");
    // The next hook frees what the last dispatch left behind.
    hooks.Links[0] = hook(hooks.Hook(0));
    EXPECT_EQ(probe(), "Abase");
    vxGetWindowProcController()->UnhookWindowProc(hooks.Links[0]);
    EXPECT_EQ(probe(), "base");
    baseLog = nullptr;
    if (wnd) DestroyWindow(wnd);
  }
}

TEST_F(ControlsTest, ControlDestroyedWhileHooked) {
  HookSet hooks;
  auto control = std::make_unique<ProbeControl>();
  hooks.Links[0] = vxGetWindowProcController()->HookControlWindowProc(control.get(), hooks.Hook(0));
  hooks.Links[1] = vxGetWindowProcController()->HookControlWindowProc(control.get(), hooks.Hook(1));
  vxGetWindowProcController()->UnhookWindowProc(hooks.Links[1]);
  control.reset();
  // Its hooks are forgotten; unhooking the one left does nothing, and a new
  // control hooked afterwards gets a list of its own.
  vxGetWindowProcController()->UnhookWindowProc(hooks.Links[0]);
  EXPECT_EQ(hooks.Links[0], nullptr);
  ProbeControl next;
  baseLog = &hooks.Log;
  hooks.Links[2] = vxGetWindowProcController()->HookControlWindowProc(&next, hooks.Hook(2));
  next.Perform(kProbe);
  EXPECT_EQ(hooks.Log, "Cbase");
  vxGetWindowProcController()->UnhookWindowProc(hooks.Links[2]);
  baseLog = nullptr;
}

WNDPROC foreignPrevious = nullptr;
LRESULT CALLBACK ForeignProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kProbe && baseLog) *baseLog += "F";
  return CallWindowProcA(foreignPrevious, wnd, msg, wParam, lParam);
}

TEST_F(ControlsTest, UnhookingLeavesALaterSubclassInPlace) {
  HWND wnd = MakeRawWindow();
  HookSet hooks;
  baseLog = &hooks.Log;
  hooks.Links[0] = vxGetWindowProcController()->HookHandleWindowProc(wnd, hooks.Hook(0));
  foreignPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
  vxGetWindowProcController()->UnhookWindowProc(hooks.Links[0]);
  EXPECT_EQ(GetWindowLongPtrA(wnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ForeignProc));
  SendMessageA(wnd, kProbe, 0, 0);
  EXPECT_EQ(hooks.Log, "Fbase");

  // The same on a control's WindowProc.
  ProbeControl control;
  hooks.Links[0] = vxGetWindowProcController()->HookControlWindowProc(&control, hooks.Hook(0));
  TWndMethod ours = control.WindowProc();
  control.SetWindowProc([&, ours](TMessage& m) {
    if (m.Msg == kProbe) hooks.Log += "G";
    ours(m);
  });
  vxGetWindowProcController()->UnhookWindowProc(hooks.Links[0]);
  hooks.Log.clear();
  control.Perform(kProbe);
  EXPECT_EQ(hooks.Log, "Gbase");
  baseLog = nullptr;
  DestroyWindow(wnd);
}

TEST_F(ControlsTest, HookingNothingOrUnhookingTwice) {
  EXPECT_EQ(vxGetWindowProcController()->HookControlWindowProc(nullptr, [](TMessage&) {}), nullptr);
  EXPECT_EQ(vxGetWindowProcController()->HookHandleWindowProc(nullptr, [](TMessage&) {}), nullptr);
  TvxWindowProcLinkedObject* none = nullptr;
  vxGetWindowProcController()->UnhookWindowProc(none);
  // A link whose list is gone is not found: nothing happens.
  HWND wnd = MakeRawWindow();
  TvxWindowProcLinkedObject* link = vxGetWindowProcController()->HookHandleWindowProc(wnd, [](TMessage&) {});
  TvxWindowProcLinkedObject stale = *link;
  vxGetWindowProcController()->UnhookWindowProc(link);
  TvxWindowProcLinkedObject* staleLink = &stale;
  vxGetWindowProcController()->UnhookWindowProc(staleLink);
  EXPECT_EQ(staleLink, nullptr);
  DestroyWindow(wnd);
}

// --- Popup placement ---------------------------------------------------------------

TEST_F(ControlsTest, PopupPlacement) {
  const TRect work(0, 0, 1000, 700);
  struct Case {
    const char* what;
    TRect owner;
    int width, height;
    TvxPopupWindowAlignment horz, vert;
    TvxPopupWindowDirection direction;
    TPoint want;
  } cases[] = {
      {"below, left edges aligned", {100, 100, 200, 120}, 150, 80, pwaStart, pwaEnd, pwdVertical, {100, 120}},
      {"below, right edges aligned", {100, 100, 200, 120}, 150, 80, pwaEnd, pwaEnd, pwdVertical, {50, 120}},
      {"above", {100, 300, 200, 320}, 150, 80, pwaStart, pwaStart, pwdVertical, {100, 220}},
      {"no room below: above", {100, 650, 200, 670}, 150, 80, pwaStart, pwaEnd, pwdVertical, {100, 570}},
      {"no room above: below", {100, 10, 200, 30}, 150, 80, pwaStart, pwaStart, pwdVertical, {100, 30}},
      {"too tall both ways: stays below, unclamped", {100, 300, 200, 320}, 150, 500, pwaStart, pwaEnd,
       pwdVertical, {100, 320}},
      {"past the right edge: moved left", {900, 100, 980, 120}, 300, 80, pwaStart, pwaEnd, pwdVertical, {700, 120}},
      {"wider than the work area: at its left", {900, 100, 980, 120}, 1200, 80, pwaStart, pwaEnd, pwdVertical,
       {0, 120}},
      {"centred on both axes", {400, 300, 600, 320}, 100, 50, pwaCenter, pwaCenter, pwdVertical, {450, 285}},
      {"centred, clamped at the top", {400, 0, 600, 20}, 100, 80, pwaCenter, pwaCenter, pwdVertical, {450, 0}},
      {"beside, on the right", {100, 100, 200, 120}, 150, 80, pwaEnd, pwaStart, pwdHorizontal, {200, 100}},
      {"beside, on the left", {300, 100, 400, 120}, 150, 80, pwaStart, pwaStart, pwdHorizontal, {150, 100}},
      {"no room on the right: left", {900, 100, 980, 120}, 150, 80, pwaEnd, pwaStart, pwdHorizontal, {750, 100}},
      {"beside, clamped above the bottom", {100, 680, 200, 700}, 150, 80, pwaEnd, pwaStart, pwdHorizontal,
       {200, 620}},
      {"beside, bottom edges aligned", {100, 300, 200, 320}, 150, 80, pwaEnd, pwaEnd, pwdHorizontal, {200, 240}},
  };
  for (const Case& c : cases) {
    TvxPopupPlacement p;
    p.Owner = c.owner;
    p.Width = c.width;
    p.Height = c.height;
    p.Horz = c.horz;
    p.Vert = c.vert;
    p.Direction = c.direction;
    TPoint anchor(-1, -1);
    const TPoint got = vxCalculatePopupPosition(p, [&](TPoint a) {
      anchor = a;
      return work;
    });
    EXPECT_EQ(got, c.want) << c.what;
    EXPECT_NE(anchor, TPoint(-1, -1)) << c.what;
  }
}

TEST_F(ControlsTest, PopupAnchorPicksTheOwnersEdge) {
  TvxPopupPlacement p;
  p.Owner = TRect(100, 200, 300, 220);
  p.Width = 50;
  p.Height = 40;
  TPoint anchor;
  auto capture = [&](TPoint a) {
    anchor = a;
    return TRect(0, 0, 1000, 700);
  };
  p.Horz = pwaEnd;
  p.Vert = pwaEnd;
  vxCalculatePopupPosition(p, capture);
  EXPECT_EQ(anchor, TPoint(300, 220));
  p.Horz = pwaStart;
  p.Vert = pwaStart;
  vxCalculatePopupPosition(p, capture);
  EXPECT_EQ(anchor, TPoint(100, 200));
}

TEST_F(ControlsTest, PopupShowsNextToItsOwnerAndFitsItsChildren) {
  TForm owner(nullptr);
  owner.SetBounds(100, 100, 300, 200);
  owner.HandleNeeded();
  TvxPopupWindow popup;
  auto* child = new TWinControl(&popup);
  child->SetParent(&popup);
  child->SetBounds(0, 0, 60, 20);
  popup.SetFrameStyle(pfsDouble3D);
  popup.SetAnchorParent(&owner);
  popup.SetAnchorBounds(TRect(10, 10, 110, 30));
  owner.Font()->SetSize(14);
  popup.ShowPopup();
  EXPECT_EQ(popup.Font()->Size(), 14);
  EXPECT_EQ(child->Left(), 2);
  EXPECT_EQ(child->Top(), 2);
  EXPECT_EQ(popup.Width(), 64);
  EXPECT_EQ(popup.Height(), 24);
  const TPoint origin = owner.ClientOrigin();
  EXPECT_EQ(popup.Left(), origin.X + 10);
  EXPECT_EQ(popup.Top(), origin.Y + 30);
  EXPECT_TRUE(IsWindowVisible(popup.Handle()));
  EXPECT_TRUE(GetWindowLongPtrA(popup.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  // A new frame style moves the children back first: fitting again gives
  // the new indents, not the old ones added up.
  popup.SetFrameStyle(pfsFlat);
  popup.FitToContents();
  EXPECT_EQ(child->Left(), 1);
  EXPECT_EQ(popup.Width(), 62);
  EXPECT_EQ(popup.GetInnerRect(), TRect(1, 1, 61, 21));
  popup.HidePopup();
  EXPECT_FALSE(IsWindowVisible(popup.Handle()));
}

// Paints a window's client area into a memory bitmap of its size and
// answers the colours at the points asked.
std::vector<COLORREF> PaintedPixels(TWinControl& control, const std::vector<POINT>& points) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, control.Width(), control.Height());
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  PatBlt(dc, 0, 0, control.Width(), control.Height(), WHITENESS);
  control.PaintTo(dc, 0, 0);
  std::vector<COLORREF> colours;
  for (POINT p : points) colours.push_back(GetPixel(dc, p.x, p.y));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return colours;
}

TEST_F(ControlsTest, PopupFramesArePainted) {
  TvxPopupWindow popup;
  popup.SetColor(clLime);
  popup.SetBounds(0, 0, 40, 30);
  popup.SetFrameStyle(pfsFlat);
  popup.SetFrameLineColor(clRed);
  const std::vector<POINT> points = {{0, 0}, {39, 15}, {20, 29}, {1, 1}, {20, 15}};
  const COLORREF red = RGB(255, 0, 0), lime = RGB(0, 255, 0);
  EXPECT_EQ(PaintedPixels(popup, points), (std::vector<COLORREF>{red, red, red, lime, lime}));
  popup.SetFrameStyle(pfsNone);
  EXPECT_EQ(PaintedPixels(popup, points), (std::vector<COLORREF>{lime, lime, lime, lime, lime}));
  // The double edge: light outside and in at the top left, dark at the
  // bottom right; the face inside stays.
  popup.SetFrameStyle(pfsDouble3D);
  const auto edge = PaintedPixels(popup, {{0, 15}, {1, 15}, {39, 15}, {38, 15}, {2, 15}});
  EXPECT_NE(edge[0], lime);
  EXPECT_NE(edge[1], lime);
  EXPECT_NE(edge[2], lime);
  EXPECT_NE(edge[3], lime);
  EXPECT_NE(edge[0], edge[2]);
  EXPECT_EQ(edge[4], lime);
}

TEST_F(ControlsTest, PopupFittedToEmptyChildrenKeepsAPixel) {
  TvxPopupWindow popup;
  popup.SetBounds(0, 0, 40, 30);
  auto* child = new TWinControl(&popup);
  child->SetParent(&popup);
  child->SetBounds(-10, -10, 0, 0);
  popup.FitToContents();
  EXPECT_EQ(popup.Width(), 1);
  EXPECT_EQ(popup.Height(), 1);
  // Without children the size stays.
  TvxPopupWindow empty;
  empty.SetBounds(0, 0, 40, 30);
  empty.FitToContents();
  EXPECT_EQ(empty.Width(), 40);
}

TEST_F(ControlsTest, DragImageLetsTheMouseThrough) {
  TvxCustomDragImage image;
  image.SetBounds(10, 10, 40, 40);
  image.HandleNeeded();
  EXPECT_EQ(SendMessageA(image.Handle(), WM_NCHITTEST, 0, MAKELPARAM(20, 20)), HTTRANSPARENT);
  EXPECT_EQ(SendMessageA(image.Handle(), WM_ERASEBKGND, 0, 0), 1);
  EXPECT_TRUE(GetWindowLongPtrA(image.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(image.Handle(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 180);
  EXPECT_EQ(GetClassLongPtrA(image.Handle(), GCL_STYLE) & CS_SAVEBITS, CS_SAVEBITS);
}

TEST_F(ControlsTest, SizeFrameIsAHollowOutline) {
  TvxSizeFrame frame(3);
  frame.HandleNeeded();
  EXPECT_FALSE(GetWindowLongPtrA(frame.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  frame.UpdateFrameRect(TRect(50, 60, 150, 110));
  EXPECT_EQ(frame.BoundsRect(), TRect(50, 60, 150, 110));
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(frame.Handle(), region), ERROR);
  EXPECT_TRUE(PtInRegion(region, 0, 0));
  EXPECT_TRUE(PtInRegion(region, 2, 25));
  EXPECT_TRUE(PtInRegion(region, 97, 47));
  EXPECT_FALSE(PtInRegion(region, 3, 3));
  EXPECT_FALSE(PtInRegion(region, 50, 25));
  // The face is hatched black and white, pixel by pixel.
  const std::vector<POINT> points = {{0, 0}, {1, 0}, {0, 1}, {57, 30}, {58, 30}};
  const auto colours = PaintedPixels(frame, points);
  for (size_t i = 0; i < points.size(); ++i) {
    const COLORREF want = (points[i].x + points[i].y) % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0);
    EXPECT_EQ(colours[i], want) << points[i].x << "," << points[i].y;
  }

  // Too small for two frame widths: the outline stays as it was.
  frame.UpdateFrameRect(TRect(0, 0, 6, 40));
  ASSERT_NE(GetWindowRgn(frame.Handle(), region), ERROR);
  EXPECT_TRUE(PtInRegion(region, 97, 47));
  DeleteObject(region);
}

// --- Drag detection ----------------------------------------------------------------

TEST_F(ControlsTest, DragDetection) {
  TForm form(nullptr);
  form.SetBounds(200, 200, 200, 200);
  HWND wnd = form.Handle();
  SetCursorPos(10, 10);  // away from the form: no real moves reach it
  PumpMessages();
  TPoint down(300, 300);  // client (100, 100) of a frameless origin near 200, 200
  TPoint clientDown = down;
  vxMapWindowPoint(nullptr, wnd, clientDown);
  struct Queued {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
  };
  struct Case {
    const char* what;
    std::vector<Queued> queued;
    int want;
  } cases[] = {
      {"release inside", {{WM_LBUTTONUP, 0, MAKELPARAM(clientDown.X, clientDown.Y)}}, vxDragStartClick},
      {"right release", {{WM_RBUTTONUP, 0, 0}}, vxDragStartClick},
      {"escape", {{WM_KEYDOWN, VK_ESCAPE, 0}}, vxDragStartCancelled},
      {"move within the square, then release",
       {{WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(clientDown.X + 4, clientDown.Y - 4)}, {WM_LBUTTONUP, 0, 0}},
       vxDragStartClick},
      {"move out of the square", {{WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(clientDown.X + 5, clientDown.Y)}},
       vxDragStartDrag},
  };
  for (const Case& c : cases) {
    for (const Queued& m : c.queued) PostMessageA(wnd, m.Msg, m.WParam, m.LParam);
    EXPECT_EQ(vxDetectDragStart(wnd, down), c.want) << c.what;
    EXPECT_NE(GetCapture(), wnd) << c.what;
    PumpMessages();
  }
  EXPECT_TRUE(vxIsPointInDragDetectArea({100, 100}, 104, 96));
  EXPECT_FALSE(vxIsPointInDragDetectArea({100, 100}, 105, 100));
  EXPECT_FALSE(vxIsPointInDragDetectArea({100, 100}, 100, 95));
}

// --- Mouse tracking -----------------------------------------------------------------

struct LeaveCounter : TObject, IvxMouseTrackingCaller {
  int Leaves = 0;
  void MouseTrackingLeave() override { ++Leaves; }
};

// A form with one windowed child, and a hook that counts the child's
// CM_MOUSELEAVE messages and checks what they carry. Tracking compares the
// pointer with the child's place on the screen: the form need not show
// (showing one costs seconds under Wine) except to take real input.
struct TrackedForm {
  TForm Form{nullptr};
  TWinControl* Child;
  TvxWindowProcLinkedObject* Hook = nullptr;
  int MouseLeaves = 0;

  explicit TrackedForm(bool show = false) {
    Form.SetBounds(100, 100, 300, 200);
    Child = new TWinControl(&Form);
    Child->SetParent(&Form);
    Child->SetBounds(20, 20, 100, 50);
    if (show)
      Form.Show();
    else
      Child->HandleNeeded();
    Hook = vxGetWindowProcController()->HookControlWindowProc(Child, [this](TMessage& m) {
      if (m.Msg == CM_MOUSELEAVE) {
        ++MouseLeaves;
        EXPECT_EQ(m.LParam, reinterpret_cast<LPARAM>(Child));
      }
      vxCallPreviousWindowProc(Hook, m);
    });
  }
  ~TrackedForm() { vxGetWindowProcController()->UnhookWindowProc(Hook); }

  TPoint ChildCentre() { return Child->ClientToScreen(TPoint(50, 25)); }
  // Puts the pointer over the child and tracks it for caller, bounds
  // its client area (or those given).
  void Track(IvxMouseTrackingCaller* caller, std::optional<TRect> bounds = std::nullopt);
};

// Moves the pointer as a mouse would, to an absolute screen point.
void MoveMouseTo(TPoint p) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (p.X * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = (p.Y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
  EXPECT_TRUE(PumpUntil([&] { return vxGetCursorPosition() == p; })) << p.X << "," << p.Y;
}

// The control had one CM_MOUSELEAVE, the caller one notice, and tracking
// has ended.
void ExpectOneLeave(const TrackedForm& tracked, LeaveCounter& caller) {
  EXPECT_EQ(caller.Leaves, 1);
  EXPECT_EQ(tracked.MouseLeaves, 1);
  EXPECT_FALSE(vxIsMouseTrackingActive(&caller));
}

void TrackedForm::Track(IvxMouseTrackingCaller* caller, std::optional<TRect> bounds) {
  MoveMouseTo(ChildCentre());
  vxStartMouseTracking(Child, bounds.value_or(Child->ClientRect()), caller);
  ASSERT_TRUE(vxIsMouseTrackingActive(caller));
}

TEST_F(ControlsTest, MouseLeaveArrivesWhenThePointerLeaves) {
  TrackedForm tracked(true);
  LeaveCounter caller;
  tracked.Track(&caller);
  // Ticks while the pointer stays inside report nothing.
  vxFindMouseTrackingTimer(&caller)->Fire();
  EXPECT_EQ(caller.Leaves, 0);

  MoveMouseTo(TPoint(600, 600));
  EXPECT_TRUE(PumpUntil([&] { return caller.Leaves > 0; }));
  ExpectOneLeave(tracked, caller);
}

TEST_F(ControlsTest, DisabledControlGetsTheLeaveWithThePointerInside) {
  TrackedForm tracked;
  LeaveCounter caller;
  tracked.Track(&caller);
  tracked.Form.SetEnabled(false);  // a parent disabled counts too
  vxFindMouseTrackingTimer(&caller)->Fire();
  ExpectOneLeave(tracked, caller);
}

TEST_F(ControlsTest, TrackingTwiceKeepsTheFirstAndStopIsQuiet) {
  TrackedForm tracked;
  LeaveCounter caller;
  tracked.Track(&caller);
  TvxTimer* first = vxFindMouseTrackingTimer(&caller);
  vxStartMouseTracking(tracked.Child, TRect(0, 0, 1, 1), &caller);  // would leave at once
  EXPECT_EQ(vxFindMouseTrackingTimer(&caller), first);
  first->Fire();
  EXPECT_EQ(caller.Leaves, 0);
  vxStopMouseTracking(&caller);
  EXPECT_FALSE(vxIsMouseTrackingActive(&caller));
  EXPECT_EQ(caller.Leaves, 0);
  EXPECT_EQ(tracked.MouseLeaves, 0);
}

struct HitTestCaller : TObject, IvxMouseTrackingHitTest {
  int Leaves = 0;
  TPoint Asked{-1, -1};
  bool Answer = true;
  void MouseTrackingLeave() override { ++Leaves; }
  bool PtInCaller(TPoint p) override {
    Asked = p;
    return Answer;
  }
};

TEST_F(ControlsTest, HitTestCallerDecidesWhatIsInside) {
  TrackedForm tracked;
  HitTestCaller caller;
  tracked.Track(&caller, TRect());
  vxFindMouseTrackingTimer(&caller)->Fire();
  EXPECT_EQ(caller.Asked, TPoint(50, 25));
  EXPECT_EQ(caller.Leaves, 0);
  caller.Answer = false;
  vxFindMouseTrackingTimer(&caller)->Fire();
  EXPECT_EQ(caller.Leaves, 1);
  // The pointer is still over the control: no CM_MOUSELEAVE.
  EXPECT_EQ(tracked.MouseLeaves, 0);
}

// --- Module start and stop ----------------------------------------------------------

TEST_F(ControlsTest, CursorsAreLoaded) {
  const HCURSOR arrow = Screen->Cursors(crArrow);
  for (int i = 0; i < 16; ++i) {
    const auto& [id, name] = vxCursorResources[i];
    EXPECT_EQ(id, 2100 + i);
    HCURSOR fromResource = LoadCursorA(GetModuleHandleA(nullptr), name);
    ASSERT_NE(fromResource, nullptr) << name;
    EXPECT_EQ(Screen->Cursors(id), fromResource) << name;
    EXPECT_NE(Screen->Cursors(id), arrow) << name;
  }
  EXPECT_EQ(Screen->Cursors(crvxHandPoint), LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));

  // The hot spots the pictures were drawn with.
  struct Hot {
    TCursor id;
    DWORD x, y;
  } hots[] = {{crvxDrag, 0, 0}, {crvxNoDrop, 15, 15}, {crvxFullScroll, 15, 15}, {crvxColorPicker, 1, 30}};
  for (const Hot& h : hots) {
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(Screen->Cursors(h.id), &info)) << h.id;
    EXPECT_EQ(info.xHotspot, h.x) << h.id;
    EXPECT_EQ(info.yHotspot, h.y) << h.id;
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
  }
}

TEST_F(ControlsTest, RegisteredMessages) {
  EXPECT_GE(vxSkinExclusionQueryMessage, 0xC000u);
  EXPECT_GE(vxSkinRefreshMessage, 0xC000u);
  EXPECT_NE(vxSkinExclusionQueryMessage, vxSkinRefreshMessage);
  EXPECT_EQ(vxSkinRefreshMessage, RegisterWindowMessageA("{B2CE3777-44D8-1321-4656-12C54AA613BB}"));
}

TEST_F(ControlsTest, StoppingWithTrackersRunningFreesThem) {
  TrackedForm tracked;
  LeaveCounter caller;
  vxGetWindowProcController()->UnhookWindowProc(tracked.Hook);
  vxStartMouseTracking(tracked.Child, tracked.Child->ClientRect(), &caller);
  ASSERT_TRUE(vxIsMouseTrackingActive(&caller));
  HWND timerWindow = vxSharedTimerWindow()->Handle();
  EXPECT_NO_THROW(vxControlsFinalize());
  EXPECT_EQ(vxSharedTimerWindow(), nullptr);
  EXPECT_EQ(vxFindMouseTrackingTimer(&caller), nullptr);
  EXPECT_FALSE(IsWindow(timerWindow));
  // Nothing starts while stopped.
  vxStartMouseTracking(tracked.Child, tracked.Child->ClientRect(), &caller);
  EXPECT_FALSE(vxIsMouseTrackingActive(&caller));
  vxControlsInitialize();
  EXPECT_NE(vxSharedTimerWindow(), nullptr);
}

}  // namespace
