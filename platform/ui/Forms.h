// Forms, the screen and the application object.
//
// A form is a top-level window, or a child window when it is given a
// Parent (a page embedded in another form's panel). It tracks the focused
// control of everything inside it, moves the focus on Tab and arrows, and
// closes through CloseQuery and OnClose. The application object runs the
// message loop, owns the forms it creates, shows unhandled exceptions in a
// message box and shows hints.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/Controls.h"

enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = mrNo + 1;
constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrNoToAll + 1;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;
  const char* ClassName() const override { return "TCustomForm"; }

  // Fires OnCreate. The application's CreateForm calls it once the whole
  // object is built; code that makes a form with new calls it itself.
  virtual void AfterConstruction();

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle style);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState state);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }

  void Show();
  void Close();
  // Asks OnCloseQuery; true when the form may close.
  virtual bool CloseQuery();
  // Shows the form modally and returns when ModalResult becomes non-zero.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }
  bool IsModal() const { return modal_; }
  // Frees the form once the messages in the queue are handled.
  void Release();

  TWinControl* ActiveControl() const { return activeControl_; }
  // Focuses the control when the form is showing; otherwise it gets the
  // focus when the form is activated.
  void SetActiveControl(TWinControl* control);
  // Moves the focus to control (used by TWinControl::SetFocus).
  void FocusControl(TWinControl* control);
  // Called from a control's WM_SETFOCUS: CM_EXIT to the controls left,
  // CM_ENTER to those entered, then CM_FOCUSCHANGED to every control.
  void SetFocusedControl(TWinControl* control);
  void ControlDestroyed(TWinControl* control);
  bool Active() const { return active_; }
  // Runs the idle update of every visible control inside that has an
  // action (TControl::UpdateAction).
  void UpdateActions();

  void SetVisible(bool visible) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void Dispatch(TMessage& message) override;
  TCanvas* Canvas() { return &canvas_; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void PaintWindow(HDC dc) override;
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  virtual void Paint();

 private:
  friend class TApplication;
  void PlaceOnFirstShow();
  void SetWindowFocus();
  void HandleDialogKey(TMessage& m);

  TBorderStyle borderStyle_ = bsSizeable;
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  bool keyPreview_ = false;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool placed_ = false;
  bool active_ = false;
  bool destroyed_ = false;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  TControlCanvas canvas_;
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
  const char* ClassName() const override { return "TForm"; }
};

struct TMonitor {
  HMONITOR Handle = nullptr;
  TRect BoundsRect;
  TRect WorkareaRect;
  bool Primary = false;
};

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* owner);
  ~TScreen() override;
  const char* ClassName() const override { return "TScreen"; }

  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  int PixelsPerInch() const { return TFont::PixelsPerInch; }
  TRect WorkAreaRect() const;
  std::vector<TMonitor> Monitors() const;
  int MonitorCount() const { return int(Monitors().size()); }
  TMonitor MonitorFromPoint(TPoint p) const;

  // The cursor shown over every control when not crDefault.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  // The cursor table: the system cursors under their negative ids, the
  // program's own under the ids it chooses. An unknown id gives the arrow.
  HCURSOR Cursors(TCursor id) const;
  void SetCursors(TCursor id, HCURSOR cursor);

  TCustomForm* ActiveForm() const { return activeForm_; }
  TWinControl* ActiveControl() const { return activeControl_; }
  int FormCount() const { return int(forms_.size()); }
  TCustomForm* Forms(int index) const { return forms_.at(index); }
  TFont* HintFont() { return &hintFont_; }

  TNotifyEvent OnActiveFormChange;
  TNotifyEvent OnActiveControlChange;

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* form) { forms_.push_back(form); }
  void RemoveForm(TCustomForm* form);
  void SetActiveForm(TCustomForm* form);
  void SetActiveControl(TWinControl* control);

  TCursor cursor_ = crDefault;
  std::vector<std::pair<TCursor, HCURSOR>> cursors_;
  std::vector<TCustomForm*> forms_;
  TCustomForm* activeForm_ = nullptr;
  TWinControl* activeControl_ = nullptr;
  TFont hintFont_;
};

class THintWindow;
using THintWindowClass = std::function<THintWindow*(TComponent* owner)>;

// What is known about a hint about to be shown; OnShowHint and the
// control's CM_HINTSHOW (LParam: THintInfo*) may change it.
struct THintInfo {
  TControl* HintControl = nullptr;
  THintWindowClass HintWindowClass;
  TPoint HintPos;          // screen position of the hint's top-left
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;        // the hint goes away when the mouse leaves it
  TPoint CursorPos;        // in the control's client coordinates
  int ReshowTimeout = 0;
  int HideTimeout = 0;
  String HintStr;
  void* HintData = nullptr;
};

using TShowHintEvent = std::function<void(String& hintStr, bool& canShow, THintInfo& hintInfo)>;
using TIdleEvent = std::function<void(TObject* sender, bool& done)>;
using TExceptionEvent = std::function<void(TObject* sender, const Exception& e)>;

class TApplication : public TComponent, private TControlsHost {
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;
  const char* ClassName() const override { return "TApplication"; }

  // Makes the application window and initialises COM for this thread.
  void Initialize();
  HWND Handle() const { return handle_; }
  String Title() const { return title_; }
  void SetTitle(const String& title);
  String ExeName() const;

  // Builds a form owned by the application; the first becomes the main form.
  template <typename T>
  void CreateForm(T*& reference) {
    T* form = new T(this);
    reference = form;
    if (!mainForm_) mainForm_ = form;
    form->AfterConstruction();
  }
  TCustomForm* MainForm() const { return mainForm_; }
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool value) { showMainForm_ = value; }

  // Shows the main form and handles messages until Terminate.
  void Run();
  void ProcessMessages();
  // Handles one message, or idles and waits for one: OnIdle, then, unless
  // it asks to be called again, the actions of the visible forms update.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // MessageBoxA over DialogOwner; an empty caption is the title.
  int MessageBox(const String& text, const String& caption, UINT flags);
  // The window a dialog shown now belongs to, so that it stays above it:
  // the active window when it is one of the program's controls, else the
  // main form, else the application window.
  HWND DialogOwner();
  // The default handler: OnException when set, else ShowException. EAbort
  // is silent. Call it inside a catch block.
  void HandleException(TObject* sender) override;
  void ShowException(const Exception& e);

  bool ShowHint() const { return showHint_; }
  // Makes (or drops) the hint window of the current hint window class.
  void SetShowHint(bool value);
  const THintWindowClass& HintWindowClass() const { return hintWindowClass_; }
  void SetHintWindowClass(THintWindowClass factory);
  THintWindow* HintWindow() const { return hintWindow_; }
  TColor HintColor() const { return hintColor_; }
  void SetHintColor(TColor color) { hintColor_ = color; }
  int HintPause() const { return hintPause_; }
  void SetHintPause(int ms) { hintPause_ = ms; }
  int HintShortPause() const { return hintShortPause_; }
  void SetHintShortPause(int ms) { hintShortPause_ = ms; }
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int ms) { hintHidePause_ = ms; }
  const String& Hint() const { return hint_; }
  void SetHint(const String& hint);
  void ActivateHint(TPoint cursorPos);
  void CancelHint();

  TIdleEvent OnIdle;
  TExceptionEvent OnException;
  TShowHintEvent OnShowHint;
  TNotifyEvent OnHint;

 private:
  friend class TCustomForm;
  bool ProcessMessage(MSG& msg);
  bool IsKeyMsg(MSG& msg);
  void Idle();
  void HintMouseMessage(TControl* control, const TMessage& message) override;
  HCURSOR CursorHandle(TCursor cursor) override;
  TCursor ScreenCursor() override;
  void ControlDestroyed(TControl* control) override;
  void EnsureHandle();
  void WndProc(TMessage& m);
  void ShowHintNow();
  void HideHintWindow();

  HWND handle_ = nullptr;
  HWND timerWindow_ = nullptr;  // the hint timers
  String title_;
  TCustomForm* mainForm_ = nullptr;
  bool showMainForm_ = true;
  bool terminated_ = false;
  bool comInitialized_ = false;

  bool showHint_ = false;
  THintWindowClass hintWindowClass_;
  THintWindow* hintWindow_ = nullptr;
  TControl* hintControl_ = nullptr;
  TColor hintColor_ = clInfoBk;
  int hintPause_ = 500;
  int hintShortPause_ = 50;
  int hintHidePause_ = 2500;
  bool hintShowing_ = false;
  String hint_;
  TPoint hintCursorPos_;
};

// The application object and the screen, made before main runs.
extern TApplication* Application;
extern TScreen* Screen;
