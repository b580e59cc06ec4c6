// Skinned windows: the skin controller that a form carries, the thread hook
// that attaches a window controller to each form, frame, button and panel
// window of the framework when it is created, the registry of those
// controllers, and their base class.
//
// A window controller chains into its window's procedure only while a skin
// painter is chosen for it; until then (or when skinning is off) the window
// keeps its own look. The controllers never own their windows: each lives
// from the window's WM_CREATE to its WM_DESTROY.
//
// The skin messages (0x8113 to 0x8118, private to this module) go only to
// windows of the framework; a foreign window (a common dialog, a rich edit)
// never receives numbers that may mean something else to it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "foundation/vxClasses.h"
#include "foundation/vxControls.h"
#include "foundation/vxLookAndFeels.h"
#include "platform/ui/Forms.h"

// The private messages of the skinned windows.
enum : UINT {
  vdSkinRedrawMessage = 0x8113,           // redraw everything, frame and children included
  vdSkinRefreshMDIFrameMessage = 0x8114,  // read the caption again and repaint the non-client area
  vdSkinUpdateSizeStateMessage = 0x8115,  // recompute size state, system menu and region
  vdSkinAttachMessage = 0x8116,           // to the helper window: attach to the window in LParam
  vdSkinTransparentLabelsMessage = 0x8117,
  vdSkinOptOutMessage = 0x8118,  // sent before attaching: non-zero keeps the window unskinned
};

// Posts or sends a skin message to a window of the framework; nothing (and
// 0) for any other window.
bool vdPostSkinMessage(HWND wnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
LRESULT vdSendSkinMessage(HWND wnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

class TvdSkinController;

using TvdSkinFormEvent =
    std::function<void(TObject* sender, TCustomForm* form, String& skinName, bool& useSkin)>;
using TvdSkinControlEvent = std::function<void(TObject* sender, TWinControl* control, bool& useSkin)>;
using TvdSkinPopupSysMenuEvent = std::function<void(TObject* sender, TCustomForm* form, HMENU sysMenu)>;

// --- TvdSkinController ---------------------------------------------------------------

// Names the skin of the program's windows (the root look-and-feel's
// SkinName), switches skinning for the whole process, and lets the program
// decide per form and per control. Every change re-skins every window.
class TvdSkinController : public TvxLookAndFeelController {
 public:
  explicit TvdSkinController(TComponent* owner);
  ~TvdSkinController() override;
  const char* ClassName() const override { return "TvdSkinController"; }

  // The process-wide switch (vxUseSkins).
  bool UseSkins() const;
  void SetUseSkins(bool value);
  void ResetToDefaults() override;

  TvdSkinPopupSysMenuEvent OnPopupSysMenu;
  TvdSkinControlEvent OnSkinControl;
  TvdSkinFormEvent OnSkinForm;

  virtual void DoPopupSysMenu(TCustomForm* form, HMENU sysMenu);
  virtual bool DoSkinControl(TWinControl* control);
  virtual TvxLookAndFeelPainterClass GetFormSkinPainter(TCustomForm* form);
  virtual TvxLookAndFeelPainterClass DoSkinForm(TCustomForm* form, String& skinName, bool& useSkin);

  void HandleLookAndFeelChange(TvxLookAndFeel* sender, TvxLookAndFeelValues changedValues) override;
  void HandleLookAndFeelDestroy(TvxLookAndFeel* sender) override;
  bool IsBeingDestroyed() const { return beingDestroyed_; }

 protected:
  void Loaded() override;

 private:
  bool beingDestroyed_ = false;
};

// The live skin controllers, in creation order.
int vdSkinControllerCount();
TvdSkinController* vdSkinControllerAt(int index);
// Re-chooses every window controller's painter, then refreshes each.
void vdUpdateAllSkinControllers();

// The form may be skinned (it answers 0 to the skin-exclusion query).
bool vdFormAcceptsSkin(TCustomForm* form);
bool vdCanSkinControlByControllers(TWinControl* control);
bool vdIsSkinActiveForWindow(HWND wnd);
// The painter is a skin painter (one the skins registered).
bool vdIsSkinPainter(TvxLookAndFeelPainterClass painter);

// --- TvdSkinWinController ---------------------------------------------------------------

class TvdSkinWinController : public TvxIUnknownObject, public IvxMouseTrackingCaller {
 public:
  explicit TvdSkinWinController(HWND wnd);
  ~TvdSkinWinController() override;
  TvdSkinWinController(const TvdSkinWinController&) = delete;
  TvdSkinWinController& operator=(const TvdSkinWinController&) = delete;
  const char* ClassName() const override { return "TvdSkinWinController"; }

  HWND Handle() const { return handle_; }
  TWinControl* Control() const { return control_; }
  TvdSkinWinController* ParentController() const { return parentController_; }
  void SetParentController(TvdSkinWinController* c) { parentController_ = c; }
  TvxLookAndFeelPainterClass SkinPainter() const { return skinPainter_; }
  void SetSkinPainter(TvxLookAndFeelPainterClass p) { skinPainter_ = p; }
  // The parent controller's painter when there is a parent, else its own.
  TvxLookAndFeelPainterClass GetSkinPainter() const;
  bool IsHooked() const { return windowProcLink_ != nullptr; }

  void BindHandle(HWND wnd);
  virtual bool IsSkinActive() const;
  virtual TvdSkinWinController* FindParentController(HWND wnd);
  virtual bool CanSkinControl();
  virtual bool CanHookWindow() const { return IsSkinActive(); }
  virtual void CallDefaultWindowProc(TMessage& message);
  virtual void HookWindowProc();
  virtual void ResolveSkinPainter() {}
  virtual void ForgetAsParent();
  virtual void UnhookWindowProc();
  virtual void WndProc(TMessage& message) { CallDefaultWindowProc(message); }
  virtual void MouseLeave() {}
  virtual void RefreshFrame();
  virtual void ResetSkinPainter();
  virtual void Refresh();
  void Redraw(bool updateNow);
  bool HasGraphicChildren() const;
  bool GetSkinName(String& name) const;

  static bool IsMDIChild(HWND wnd);
  static bool IsMDIClient(HWND wnd);
  static bool IsStandardFormClass(HWND wnd);

  // IvxMouseTrackingCaller
  void MouseTrackingLeave() override { MouseLeave(); }

 private:
  HWND handle_ = nullptr;
  TvxLookAndFeelPainterClass skinPainter_ = nullptr;
  TvdSkinWinController* parentController_ = nullptr;
  TWinControl* control_ = nullptr;
  TvxWindowProcLinkedObject* windowProcLink_ = nullptr;
};

using TvdSkinWinControllerClass = std::unique_ptr<TvdSkinWinController> (*)(HWND wnd);

// The controller class for a newly created window, nullptr for none:
// "MDICLIENT" windows and framework forms get form controllers, frames
// frame controllers, and controls of exactly the classes "TButton" and
// "TPanel" button and panel controllers.
TvdSkinWinControllerClass vdChooseControllerClass(HWND wnd);

// --- The registry ---------------------------------------------------------------------

// Every window controller, owned, at most one per window.
class TvdSkinFormControllers : public TvxObjectList {
 public:
  TvdSkinFormControllers() : TvxObjectList(true) {}
  const char* ClassName() const override { return "TvdSkinFormControllers"; }
  TvdSkinWinController* Items(int index) const { return static_cast<TvdSkinWinController*>(GetItem(index)); }
  TvdSkinWinController* FindByHandle(HWND wnd) const;
  TvdSkinWinController* FindByControl(TControl* control) const;
};

// nullptr outside the module's lifetime.
TvdSkinFormControllers* vdSkinFormControllers();
void vdAttachController(TvdSkinWinControllerClass cls, HWND wnd);
void vdDetachControllerOfWindow(HWND wnd);

// --- The helper -----------------------------------------------------------------------

// Attaches controllers; a hidden window takes the attachments that must
// wait until the window is complete (Unicode and "MDICLIENT" windows).
class TvdSkinWinControllerHelper : public TvxMessageWindow {
 public:
  void RequestAttach(HWND wnd);
  void Attach(HWND wnd);
  void Detach(HWND wnd);
  static void NotifyMDIFrame(HWND wnd);

 protected:
  void HandleMessage(TMessage& message) override;
};

TvdSkinWinControllerHelper* vdSkinWinControllerHelper();

// The module: the hook, the registry and the helper. Counted: the first
// call sets up, the matching last one tears down.
void vdSkinsFormInitialize();
void vdSkinsFormFinalize();

class TvdSkinsFormModule {
 public:
  TvdSkinsFormModule() { vdSkinsFormInitialize(); }
  ~TvdSkinsFormModule() { vdSkinsFormFinalize(); }
  TvdSkinsFormModule(const TvdSkinsFormModule&) = delete;
  TvdSkinsFormModule& operator=(const TvdSkinsFormModule&) = delete;
};
