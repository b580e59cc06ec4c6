// Skinned windows under Wine with the shipped skins registered: which
// windows get a controller and when it hooks, the opt-out and the exact
// class rule, foreign windows left alone, the caption buttons clicked with
// real input, the inactive caption, the button following BM_SETSTATE, the
// window style kept visible through the default non-client handling, and
// the framework's message dialog skinned as the other forms are.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "foundation/LightTheme.h"
#include "foundation/vxModules.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/StandardControls.h"
#include "skins/vdSkinsDefaultPainters.h"
#include "skins/vdSkinsFormControls.h"
#include "skins/vdSkinsFormController.h"
#include "tools/driver/Driver.h"

namespace {

void PumpMessages() { Application->ProcessMessages(); }

// Handles messages as they come until done() holds or about five seconds
// have passed; answers done().
bool PumpUntil(const std::function<bool()>& done) {
  for (const DWORD start = GetTickCount(); !done() && GetTickCount() - start < 5000;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpMessages();
  }
  return done();
}

TvdSkinWinController* ControllerOf(HWND wnd) { return vdSkinFormControllers()->FindByHandle(wnd); }

int ControllerCount(HWND wnd) {
  int count = 0;
  for (int i = 0; i < vdSkinFormControllers()->Count(); ++i) count += vdSkinFormControllers()->Items(i)->Handle() == wnd;
  return count;
}

int DifferingPixels(const driver::Picture& a, const driver::Picture& b, const TRect& r) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) n += a.At(x, y) != b.At(x, y);
  return n;
}

// Classes derived from the skinned ones keep their own class names.
class TQePanel : public TPanel {
 public:
  using TPanel::TPanel;
  const char* ClassName() const override { return "TQePanel"; }
};
class TQeButton : public TButton {
 public:
  using TButton::TButton;
  const char* ClassName() const override { return "TQeButton"; }
};

// A form that declines to be skinned.
class TOptOutForm : public TForm {
 public:
  using TForm::TForm;
  void Dispatch(TMessage& m) override {
    if (m.Msg == vdSkinOptOutMessage) {
      m.Result = 1;
      return;
    }
    TForm::Dispatch(m);
  }
};

template <class T>
T* Add(TWinControl* parent, int left, int top, int width, int height) {
  auto* control = new T(parent);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

class SkinnedForms : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    foundation_ = new TvxFoundationModules;
    skins_ = new TvdSkinModules;
    vdSkinsFormInitialize();
  }
  static void TearDownTestSuite() {
    vdSkinsFormFinalize();
    delete skins_;
    delete foundation_;
  }
  void SetUp() override {
    controller_ = std::make_unique<TvdSkinController>(nullptr);
    controller_->SetSkinName("Black");
  }
  void TearDown() override {
    controller_.reset();
    PumpMessages();
  }

  // A dialog-style form of 400 x 300 with a button, a panel, an edit and
  // a check box, shown.
  std::unique_ptr<TForm> MakeForm(bool show = true) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(120, 80, 400, 300);
    form->SetCaption("Skinned");
    button = Add<TButton>(form.get(), 20, 20, 90, 28);
    button->SetCaption("&Suivant");
    panel = Add<TPanel>(form.get(), 20, 60, 200, 80);
    panel->SetCaption("Panneau");
    edit = Add<TEdit>(form.get(), 20, 150, 120, 22);
    check = Add<TCheckBox>(form.get(), 20, 180, 120, 22);
    if (show) {
      form->Show();
      PumpMessages();
    } else {
      form->HandleNeeded();
    }
    return form;
  }

  TvdSkinFormController* FormController(TForm* form) {
    return dynamic_cast<TvdSkinFormController*>(ControllerOf(form->Handle()));
  }

  std::unique_ptr<TvdSkinController> controller_;
  TButton* button = nullptr;
  TPanel* panel = nullptr;
  TEdit* edit = nullptr;
  TCheckBox* check = nullptr;

 private:
  static inline TvxFoundationModules* foundation_ = nullptr;
  static inline TvdSkinModules* skins_ = nullptr;
};

// The platform's windows are ANSI windows whose classes are named after the
// framework classes: the hook attaches while the window is created.
TEST_F(SkinnedForms, OneControllerPerFormButtonAndPanelWindow) {
  auto form = MakeForm(false);
  char name[64];
  const struct {
    HWND Wnd;
    const char* ClassName;
  } windows[] = {{form->Handle(), "TForm"}, {button->Handle(), "TButton"}, {panel->Handle(), "TPanel"}};
  for (const auto& w : windows) {
    GetClassNameA(w.Wnd, name, sizeof name);
    EXPECT_STREQ(name, w.ClassName);
    EXPECT_FALSE(IsWindowUnicode(w.Wnd)) << w.ClassName;
    EXPECT_EQ(ControllerCount(w.Wnd), 1) << w.ClassName;
    EXPECT_TRUE(ControllerOf(w.Wnd)->IsHooked()) << w.ClassName;
  }
  EXPECT_TRUE(dynamic_cast<TvdSkinFormController*>(ControllerOf(form->Handle())));
  EXPECT_TRUE(dynamic_cast<TvdSkinButtonController*>(ControllerOf(button->Handle())));
  EXPECT_TRUE(dynamic_cast<TvdSkinPanelController*>(ControllerOf(panel->Handle())));
  // The button and the panel follow the form's painter.
  EXPECT_EQ(ControllerOf(button->Handle())->ParentController(), ControllerOf(form->Handle()));
  EXPECT_NE(ControllerOf(form->Handle())->GetSkinPainter(), nullptr);
  EXPECT_EQ(ControllerOf(edit->Handle()), nullptr);
  EXPECT_EQ(ControllerOf(check->Handle()), nullptr);

  // Destroying the window frees its controller.
  HWND formWnd = form->Handle(), buttonWnd = button->Handle();
  form.reset();
  EXPECT_EQ(ControllerOf(formWnd), nullptr);
  EXPECT_EQ(ControllerOf(buttonWnd), nullptr);
}

TEST_F(SkinnedForms, WithoutAPainterTheControllerStaysUnhooked) {
  controller_->SetSkinName("NoSuchSkin");
  auto form = MakeForm(false);
  TvdSkinWinController* c = ControllerOf(form->Handle());
  ASSERT_NE(c, nullptr);
  EXPECT_FALSE(c->IsSkinActive());
  EXPECT_FALSE(c->IsHooked());
  EXPECT_FALSE(ControllerOf(button->Handle())->IsHooked());

  // Naming a registered skin hooks every window at once; switching skins
  // off and on again restores them without new windows.
  controller_->SetSkinName("Black");
  EXPECT_TRUE(c->IsHooked());
  EXPECT_TRUE(ControllerOf(button->Handle())->IsHooked());
  controller_->SetUseSkins(false);
  EXPECT_FALSE(c->IsHooked());
  EXPECT_FALSE(FormController(form.get())->RegionApplied());
  controller_->SetUseSkins(true);
  EXPECT_TRUE(c->IsHooked());
  EXPECT_EQ(ControllerOf(form->Handle()), c);

  // With no skin controller at all a new form gets a controller and no hook.
  controller_.reset();
  auto plain = MakeForm(false);
  ASSERT_NE(ControllerOf(plain->Handle()), nullptr);
  EXPECT_FALSE(ControllerOf(plain->Handle())->IsHooked());
}

TEST_F(SkinnedForms, OptOutAndExactClassNames) {
  TOptOutForm optOut(nullptr);
  optOut.SetBounds(0, 0, 200, 100);
  optOut.HandleNeeded();
  EXPECT_EQ(ControllerOf(optOut.Handle()), nullptr);

  auto form = MakeForm(false);
  TQePanel* derivedPanel = Add<TQePanel>(form.get(), 240, 20, 100, 40);
  TQeButton* derivedButton = Add<TQeButton>(form.get(), 240, 80, 100, 28);
  derivedPanel->HandleNeeded();
  derivedButton->HandleNeeded();
  EXPECT_EQ(ControllerOf(derivedPanel->Handle()), nullptr);
  EXPECT_EQ(ControllerOf(derivedButton->Handle()), nullptr);

  // OnSkinControl keeps one control native while its form is skinned.
  controller_->OnSkinControl = [&](TObject*, TWinControl* control, bool& useSkin) {
    if (control == panel) useSkin = false;
  };
  vdUpdateAllSkinControllers();
  EXPECT_FALSE(ControllerOf(panel->Handle())->IsHooked());
  EXPECT_TRUE(ControllerOf(button->Handle())->IsHooked());
}

// Windows that are not the framework's (here a class of our own, as a
// common dialog or a rich edit would be) get no controller and never a
// skin message.
std::vector<UINT> foreignSkinMessages;
LRESULT CALLBACK ForeignProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= 0x8113 && msg <= 0x8118) foreignSkinMessages.push_back(msg);
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

TEST_F(SkinnedForms, ForeignWindowsReceiveNoSkinMessages) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ForeignProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "QeForeignWindow";
  RegisterClassA(&wc);
  foreignSkinMessages.clear();
  HWND foreign = CreateWindowExA(0, "QeForeignWindow", "Foreign", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                                 120, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(foreign);
  // Class name "TForm" alone does not make a window the framework's.
  PumpMessages();
  EXPECT_EQ(ControllerOf(foreign), nullptr);
  EXPECT_TRUE(foreignSkinMessages.empty());
  DestroyWindow(foreign);
  UnregisterClassA("QeForeignWindow", wc.hInstance);
}

// Records the messages a form's window receives.
struct TRecorder {
  explicit TRecorder(TControl* control) {
    hook = vxGetWindowProcController()->HookControlWindowProc(control, [this](TMessage& m) {
      messages.push_back(m);
      if (m.Msg == WM_CLOSE) {
        ++closes;
        m.Result = 0;
        return;
      }
      vxCallPreviousWindowProc(hook, m);
    });
  }
  ~TRecorder() { vxGetWindowProcController()->UnhookWindowProc(hook); }
  bool Saw(UINT msg, WPARAM wParam) const {
    for (const TMessage& m : messages)
      if (m.Msg == msg && (m.WParam & 0xFFF0) == wParam) return true;
    return false;
  }
  bool SawMessage(UINT msg) const {
    for (const TMessage& m : messages)
      if (m.Msg == msg) return true;
    return false;
  }
  TvxWindowProcLinkedObject* hook = nullptr;
  std::vector<TMessage> messages;
  int closes = 0;
};

void ClickAt(TPoint p) {
  SetCursorPos(p.X, p.Y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
}

TPoint CloseButtonCentre(TvdSkinFormController* c) {
  TvdSkinFormIconInfo* close = c->NonClientInfo()->Icons().Find(fitClose);
  EXPECT_NE(close, nullptr);
  if (!close) return {};
  const TRect r = c->NonClientInfo()->WindowToScreen(close->Bounds);
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

TEST_F(SkinnedForms, ClickOnTheCloseButtonSendsCloseUnlessItIsDisabled) {
  auto form = MakeForm();
  SetForegroundWindow(form->Handle());
  TvdSkinFormController* c = FormController(form.get());
  ASSERT_TRUE(c && c->IsHooked());
  {
    TRecorder recorder(form.get());
    ClickAt(CloseButtonCentre(c));
    ASSERT_TRUE(PumpUntil([&] { return recorder.SawMessage(WM_NCLBUTTONUP); }));
    PumpMessages();
    EXPECT_TRUE(recorder.Saw(WM_SYSCOMMAND, SC_CLOSE));
    EXPECT_EQ(recorder.closes, 1);
  }
  {
    EnableMenuItem(GetSystemMenu(form->Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    c->CalculateNonClient();
    TRecorder recorder(form.get());
    ClickAt(CloseButtonCentre(c));
    ASSERT_TRUE(PumpUntil([&] { return recorder.SawMessage(WM_NCLBUTTONUP); }));
    PumpMessages();
    EXPECT_FALSE(recorder.Saw(WM_SYSCOMMAND, SC_CLOSE));
    EXPECT_EQ(recorder.closes, 0);
  }
}

TEST_F(SkinnedForms, InactiveFormPaintsItsCaptionInactive) {
  auto form = MakeForm();
  TvdSkinFormController* c = FormController(form.get());
  ASSERT_TRUE(c && c->IsHooked());
  SendMessageA(form->Handle(), WM_NCACTIVATE, TRUE, 0);
  const driver::Picture active = driver::PrintedPicture(form->Handle(), WM_PRINT, PRF_NONCLIENT);
  SendMessageA(form->Handle(), WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(c->NonClientInfo()->Active());
  TvdSkinFormIconInfoList& icons = c->NonClientInfo()->Icons();
  ASSERT_GT(icons.Count(), 0);
  for (int i = 0; i < icons.Count(); ++i) EXPECT_EQ(icons.Items(i)->State, esActiveDisabled);
  const driver::Picture inactive = driver::PrintedPicture(form->Handle(), WM_PRINT, PRF_NONCLIENT);
  const TRect caption = c->NonClientInfo()->Layout().FramePart(fsCaption);
  ASSERT_FALSE(caption.IsEmpty());
  EXPECT_GT(DifferingPixels(active, inactive, caption), caption.Width() * caption.Height() / 10);
}

TEST_F(SkinnedForms, ButtonLookFollowsBMSetState) {
  auto form = MakeForm();
  auto* c = dynamic_cast<TvdSkinButtonController*>(ControllerOf(button->Handle()));
  ASSERT_TRUE(c && c->IsHooked());
  SetCursorPos(0, 0);
  SendMessageA(button->Handle(), BM_SETSTATE, FALSE, 0);
  const TvxButtonState before = c->ButtonViewInfo()->State;
  EXPECT_TRUE(before == vxbsNormal || before == vxbsDefault);
  const driver::Picture normal = driver::PrintedPicture(button->Handle(), WM_PAINT, 0);
  SendMessageA(button->Handle(), BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(c->ButtonViewInfo()->State, vxbsPressed);
  const driver::Picture pressed = driver::PrintedPicture(button->Handle(), WM_PAINT, 0);
  EXPECT_GT(DifferingPixels(normal, pressed, {0, 0, normal.Width, normal.Height}), 0);
  SendMessageA(button->Handle(), BM_SETSTATE, FALSE, 0);
  EXPECT_EQ(c->ButtonViewInfo()->State, before);
  // A disabled button is drawn disabled whatever else happens.
  button->SetEnabled(false);
  SendMessageA(button->Handle(), BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(c->ButtonViewInfo()->State, vxbsDisabled);
}

// The default non-client handling runs with WS_VISIBLE taken away (so that
// the system does not paint its own caption); the window must come out of
// it visible.
TEST_F(SkinnedForms, DefaultNonClientHandlingLeavesTheWindowVisible) {
  auto form = MakeForm();
  TForm child(nullptr);
  child.SetParent(panel);
  child.SetBounds(0, 0, 150, 60);
  child.Show();
  PumpMessages();
  ASSERT_TRUE(ControllerOf(child.Handle()) && ControllerOf(child.Handle())->IsHooked());
  for (WPARAM active : {FALSE, TRUE}) {
    SendMessageA(child.Handle(), WM_NCACTIVATE, active, 0);
    EXPECT_TRUE(GetWindowLongA(child.Handle(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(IsWindowVisible(child.Handle()));
  }
  SendMessageA(form->Handle(), WM_INITMENU, WPARAM(GetSystemMenu(form->Handle(), FALSE)), 0);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  // A hidden window stays hidden.
  child.Hide();
  SendMessageA(child.Handle(), WM_NCACTIVATE, TRUE, 0);
  EXPECT_FALSE(GetWindowLongA(child.Handle(), GWL_STYLE) & WS_VISIBLE);
}

// With visual styles the skin draws its own frame and sets the client area
// itself; a top-level form keeps the client size it was laid out for when
// the skin comes and goes.
TEST_F(SkinnedForms, OwnFrameKeepsTheFormsClientSize) {
  if (!std::getenv("QE_THEME_CHILD")) {
    EXPECT_EQ(RunWithLightTheme("SkinnedForms.OwnFrameKeepsTheFormsClientSize"), 0);
    return;
  }
  ASSERT_TRUE(ThemeChildHasVisualStyles());
  TForm form(nullptr);
  form.SetBorderStyle(bsDialog);
  form.SetBounds(50, 50, 320, 240);
  form.SetClientSize(300, 200);
  form.HandleNeeded();
  TvdSkinFormController* c = FormController(&form);
  ASSERT_TRUE(c && c->IsHooked());
  ASSERT_TRUE(c->NonClientInfo()->Layout().UsesOwnClientLayout());
  auto clientSize = [&] {
    RECT r{};
    GetClientRect(form.Handle(), &r);
    return TSize{r.right, r.bottom};
  };
  EXPECT_EQ(clientSize(), TSize(300, 200));
  // The Black skin's sides are 4 pixels wide.
  RECT w{};
  GetWindowRect(form.Handle(), &w);
  EXPECT_EQ(w.right - w.left, 308);
  controller_->SetUseSkins(false);
  EXPECT_EQ(clientSize(), TSize(300, 200));
  controller_->SetUseSkins(true);
  EXPECT_EQ(clientSize(), TSize(300, 200));
}

// The message dialog is a framework form of a standard class: the skin
// gets its frame through a form controller and its buttons through button
// controllers that follow the form's painter, and it paints the client
// background, over which the message label turns transparent. Looked at
// once the dialog waits for input, then answered with Escape.
TEST_F(SkinnedForms, MessageDialogIsSkinnedAsAForm) {
  struct {
    bool Seen = false;
    String ClassName;
    bool FormHooked = false, FormPainted = false, LabelTransparent = false;
    int Buttons = 0, SkinnedButtons = 0;
    uint32_t Background = 0;
  } dialog;
  Application->OnIdle = [&](TObject*, bool&) {
    TCustomForm* modal = Screen->ActiveForm();
    if (dialog.Seen || !modal || !modal->IsModal()) return;
    HWND wnd = modal->Handle();
    dialog.Seen = true;
    dialog.ClassName = driver::WindowClass(wnd);
    TvdSkinWinController* form = ControllerOf(wnd);
    dialog.FormHooked = dynamic_cast<TvdSkinFormController*>(form) && form->IsHooked();
    dialog.FormPainted = form && form->GetSkinPainter() != nullptr;
    for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      ++dialog.Buttons;
      auto* button = dynamic_cast<TvdSkinButtonController*>(ControllerOf(child));
      dialog.SkinnedButtons += button && button->IsHooked() && button->ParentController() == form;
    }
    for (int i = 0; i < modal->ControlCount(); ++i)
      if (auto* label = dynamic_cast<TLabel*>(modal->Controls(i))) dialog.LabelTransparent = label->Transparent();
    // A pixel of the client area's top-left corner, in the window's picture.
    POINT client{0, 0};
    ClientToScreen(wnd, &client);
    RECT r{};
    GetWindowRect(wnd, &r);
    const driver::Picture shot = driver::PrintedPicture(wnd, WM_PRINT, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    dialog.Background = shot.At(client.x - r.left + 2, client.y - r.top + 2);
    driver::PressKey(driver::FocusedWindow(wnd), VK_ESCAPE);
  };
  const int result = MessageDlg("Etes vous sur de vouloir quitter l'assistant d'installation ?", mtConfirmation, mbYesNo);
  Application->OnIdle = nullptr;
  ASSERT_TRUE(dialog.Seen);
  EXPECT_EQ(result, mrNo);
  EXPECT_EQ(dialog.ClassName, "TMessageForm");
  EXPECT_TRUE(dialog.FormHooked);
  EXPECT_TRUE(dialog.FormPainted);
  EXPECT_EQ(dialog.Buttons, 2);
  EXPECT_EQ(dialog.SkinnedButtons, 2);
  EXPECT_TRUE(dialog.LabelTransparent);
  // The Black skin's client background is dark, where the system's is the
  // light button face.
  const uint32_t c = dialog.Background;
  EXPECT_LT((c >> 16 & 0xFF) + (c >> 8 & 0xFF) + (c & 0xFF), 3u * 100) << std::hex << c;
}

}  // namespace
