#include "skins/vdSkinsForm.h"

#include <algorithm>
#include <vector>

#include "skins/vdSkinsFormControls.h"
#include "skins/vdSkinsFormController.h"
#include "skins/vdSkinsLookAndFeelPainter.h"

namespace {

struct TModuleState {
  std::vector<TvdSkinController*> controllers;
  std::unique_ptr<TvdSkinFormControllers> registry;
  std::unique_ptr<TvdSkinWinControllerHelper> helper;
  HHOOK hook = nullptr;
  TvdSkinWinControllerClass (*chooseControllerClass)(HWND) = nullptr;
  int refCount = 0;
};

TModuleState& State() {
  static TModuleState state;
  return state;
}

String WindowClassName(HWND wnd) {
  char name[256] = {};
  GetClassNameA(wnd, name, sizeof name);
  return name;
}

bool IsFrameworkWindow(HWND wnd) { return TWinControl::FindControl(wnd) != nullptr; }

LRESULT CALLBACK SkinHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallNextHookEx(State().hook, code, wParam, lParam);
  if (code != HC_ACTION || !State().helper) return result;
  const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
  switch (cwp->message) {
    case WM_CREATE:
    case WM_MDICREATE: State().helper->RequestAttach(cwp->hwnd); break;
    case WM_DESTROY:
    case WM_MDIDESTROY:
      if (cwp->wParam == 0) State().helper->Detach(cwp->hwnd);
      break;
    case WM_CHILDACTIVATE:
    case WM_MDIACTIVATE: TvdSkinWinControllerHelper::NotifyMDIFrame(cwp->hwnd); break;
  }
  return result;
}

template <class T>
std::unique_ptr<TvdSkinWinController> Make(HWND wnd) {
  return std::make_unique<T>(wnd);
}

TvdSkinWinControllerClass ChooseControllerClass(HWND wnd) {
  if (TvdSkinWinController::IsMDIClient(wnd)) return Make<TvdSkinFormController>;
  TWinControl* control = TWinControl::FindControl(wnd);
  if (!control) return nullptr;
  // A later hit replaces an earlier one; the platform has no frame class,
  // so no window gets a frame controller from here.
  TvdSkinWinControllerClass result = nullptr;
  if (dynamic_cast<TCustomForm*>(control)) result = Make<TvdSkinFormController>;
  if (SameText(control->ClassName(), "TButton")) result = Make<TvdSkinButtonController>;
  if (SameText(control->ClassName(), "TPanel")) result = Make<TvdSkinPanelController>;
  return result;
}

}  // namespace

bool vdPostSkinMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return IsFrameworkWindow(wnd) && PostMessageA(wnd, msg, wParam, lParam);
}

LRESULT vdSendSkinMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return IsFrameworkWindow(wnd) ? SendMessageA(wnd, msg, wParam, lParam) : 0;
}

// --- TvdSkinController ----------------------------------------------------------------

TvdSkinController::TvdSkinController(TComponent* owner) : TvxLookAndFeelController(owner) {
  State().controllers.push_back(this);
  vdUpdateAllSkinControllers();
}

TvdSkinController::~TvdSkinController() {
  beingDestroyed_ = true;
  vdUpdateAllSkinControllers();
  auto& list = State().controllers;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TvdSkinController::Loaded() {
  TvxLookAndFeelController::Loaded();
  vdUpdateAllSkinControllers();
}

void TvdSkinController::HandleLookAndFeelChange(TvxLookAndFeel* sender, TvxLookAndFeelValues changedValues) {
  TvxLookAndFeelController::HandleLookAndFeelChange(sender, changedValues);
  vdUpdateAllSkinControllers();
}

void TvdSkinController::HandleLookAndFeelDestroy(TvxLookAndFeel* sender) {
  TvxLookAndFeelController::HandleLookAndFeelDestroy(sender);
  vdUpdateAllSkinControllers();
}

void TvdSkinController::ResetToDefaults() {
  TvxLookAndFeelController::ResetToDefaults();
  SetUseSkins(true);
}

bool TvdSkinController::UseSkins() const { return vxUseSkins; }

void TvdSkinController::SetUseSkins(bool value) {
  if (vxUseSkins == value) return;
  vxUseSkins = value;
  if (TvxLookAndFeel* root = vxGetLookAndFeelRoot()) root->RefreshAll();
  vdUpdateAllSkinControllers();
}

void TvdSkinController::DoPopupSysMenu(TCustomForm* form, HMENU sysMenu) {
  if (form && OnPopupSysMenu) OnPopupSysMenu(this, form, sysMenu);
}

bool TvdSkinController::DoSkinControl(TWinControl* control) {
  if (!control) return false;
  bool useSkin = true;
  if (OnSkinControl) OnSkinControl(this, control, useSkin);
  return useSkin;
}

TvxLookAndFeelPainterClass TvdSkinController::GetFormSkinPainter(TCustomForm* form) {
  if (!vdFormAcceptsSkin(form)) return nullptr;
  String skinName = SkinName();
  bool useSkin = UseSkins() && !NativeStyle();
  return DoSkinForm(form, skinName, useSkin);
}

TvxLookAndFeelPainterClass TvdSkinController::DoSkinForm(TCustomForm* form, String& skinName, bool& useSkin) {
  if (!form) return nullptr;
  if (OnSkinForm) OnSkinForm(this, form, skinName, useSkin);
  if (!useSkin || skinName.empty()) return nullptr;
  TvxExtendedStylePainters* painters = vxGetStylePainterRegistry();
  TvxLookAndFeelPainterClass painter = nullptr;
  if (!painters || !painters->FindPainterByName(skinName, painter)) return nullptr;
  return vdIsSkinPainter(painter) ? painter : nullptr;
}

int vdSkinControllerCount() { return int(State().controllers.size()); }
TvdSkinController* vdSkinControllerAt(int index) { return State().controllers.at(size_t(index)); }

void vdUpdateAllSkinControllers() {
  TvdSkinFormControllers* registry = State().registry.get();
  if (!registry || (Application && Application->IsDestroying())) return;
  for (int i = 0; i < registry->Count(); ++i) registry->Items(i)->ResetSkinPainter();
  for (int i = 0; i < registry->Count(); ++i) registry->Items(i)->Refresh();
}

bool vdFormAcceptsSkin(TCustomForm* form) {
  if (!form) return false;
  return SendMessageA(form->Handle(), vxSkinExclusionQueryMessage, 0, 0) == 0;
}

bool vdCanSkinControlByControllers(TWinControl* control) {
  if (!control) return false;
  bool result = vxUseSkins;
  const auto& list = State().controllers;
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    if ((*it)->IsBeingDestroyed()) continue;
    result = (*it)->DoSkinControl(control);
    if (result) break;
  }
  return result;
}

bool vdIsSkinActiveForWindow(HWND wnd) {
  TvdSkinFormControllers* registry = vdSkinFormControllers();
  TvdSkinWinController* c = registry ? registry->FindByHandle(wnd) : nullptr;
  return c && c->IsSkinActive();
}

bool vdIsSkinPainter(TvxLookAndFeelPainterClass painter) {
  return dynamic_cast<const TvdSkinLookAndFeelPainter*>(painter) != nullptr;
}

// --- TvdSkinWinController -------------------------------------------------------------

TvdSkinWinController::TvdSkinWinController(HWND wnd) : handle_(wnd), control_(TWinControl::FindControl(wnd)) {}

TvdSkinWinController::~TvdSkinWinController() {
  ForgetAsParent();
  vxStopMouseTracking(this);
  UnhookWindowProc();
}

TvxLookAndFeelPainterClass TvdSkinWinController::GetSkinPainter() const {
  return parentController_ ? parentController_->GetSkinPainter() : skinPainter_;
}

void TvdSkinWinController::BindHandle(HWND wnd) {
  UnhookWindowProc();
  handle_ = wnd;
  control_ = TWinControl::FindControl(wnd);
  Refresh();
}

bool TvdSkinWinController::IsSkinActive() const { return GetSkinPainter() != nullptr; }

TvdSkinWinController* TvdSkinWinController::FindParentController(HWND wnd) {
  if (!IsMDIChild(wnd) || !vdSkinFormControllers()) return nullptr;
  return vdSkinFormControllers()->FindByHandle(GetParent(wnd));
}

bool TvdSkinWinController::CanSkinControl() { return vdCanSkinControlByControllers(control_); }

void TvdSkinWinController::CallDefaultWindowProc(TMessage& message) {
  if (windowProcLink_) vxCallPreviousWindowProc(windowProcLink_, message);
}

void TvdSkinWinController::HookWindowProc() {
  UnhookWindowProc();
  if (!handle_ || !CanHookWindow()) return;
  TvxWindowProcController* procs = vxGetWindowProcController();
  if (!procs) return;
  TWndMethod proc = [this](TMessage& m) { WndProc(m); };
  windowProcLink_ = control_ ? procs->HookControlWindowProc(control_, proc) : procs->HookHandleWindowProc(handle_, proc);
}

void TvdSkinWinController::ForgetAsParent() {
  TvdSkinFormControllers* registry = vdSkinFormControllers();
  if (!registry) return;
  for (int i = 0; i < registry->Count(); ++i)
    if (registry->Items(i)->parentController_ == this) registry->Items(i)->parentController_ = nullptr;
}

void TvdSkinWinController::UnhookWindowProc() {
  if (!handle_ || !windowProcLink_) return;
  if (TvxWindowProcController* procs = vxGetWindowProcController()) procs->UnhookWindowProc(windowProcLink_);
  windowProcLink_ = nullptr;
}

void TvdSkinWinController::RefreshFrame() {
  if (handle_)
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TvdSkinWinController::ResetSkinPainter() {
  skinPainter_ = nullptr;
  parentController_ = FindParentController(handle_);
}

void TvdSkinWinController::Refresh() {
  HookWindowProc();
  RefreshFrame();
  Redraw(HasGraphicChildren());
}

void TvdSkinWinController::Redraw(bool updateNow) {
  if (!handle_) return;
  RedrawWindow(handle_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | (updateNow ? RDW_UPDATENOW : 0));
}

bool TvdSkinWinController::HasGraphicChildren() const {
  if (!control_) return false;
  for (int i = 0; i < control_->ControlCount(); ++i)
    if (!dynamic_cast<TWinControl*>(control_->Controls(i))) return true;
  return false;
}

bool TvdSkinWinController::GetSkinName(String& name) const {
  name.clear();
  TvxExtendedStylePainters* painters = vxGetStylePainterRegistry();
  return skinPainter_ && painters && painters->FindNameOfPainter(skinPainter_, name);
}

bool TvdSkinWinController::IsMDIChild(HWND wnd) {
  // The platform's forms have no MDI styles: no framework form is an MDI
  // child.
  return false;
}

bool TvdSkinWinController::IsMDIClient(HWND wnd) { return SameText(WindowClassName(wnd), "MDICLIENT"); }

bool TvdSkinWinController::IsStandardFormClass(HWND wnd) {
  const String name = WindowClassName(wnd);
  return SameText(name, "TMessageForm") || SameText(name, "TForm");
}

TvdSkinWinControllerClass vdChooseControllerClass(HWND wnd) {
  return State().chooseControllerClass ? State().chooseControllerClass(wnd) : nullptr;
}

// --- The registry ---------------------------------------------------------------------

TvdSkinWinController* TvdSkinFormControllers::FindByHandle(HWND wnd) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Handle() == wnd) return Items(i);
  return nullptr;
}

TvdSkinWinController* TvdSkinFormControllers::FindByControl(TControl* control) const {
  if (!control) return nullptr;
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Control() == control) return Items(i);
  return nullptr;
}

TvdSkinFormControllers* vdSkinFormControllers() { return State().registry.get(); }

void vdAttachController(TvdSkinWinControllerClass cls, HWND wnd) {
  TvdSkinFormControllers* registry = vdSkinFormControllers();
  if (!registry || registry->FindByHandle(wnd)) return;
  TvdSkinWinController* controller = registry->FindByControl(TWinControl::FindControl(wnd));
  if (controller) {
    // The control made a new window; its destruction was not seen.
    controller->BindHandle(wnd);
  } else {
    std::unique_ptr<TvdSkinWinController> created = cls(wnd);
    controller = created.get();
    controller->SetParentController(controller->FindParentController(wnd));
    registry->Add(created.release());
  }
  controller->ResolveSkinPainter();
  controller->Refresh();
}

void vdDetachControllerOfWindow(HWND wnd) {
  TvdSkinFormControllers* registry = vdSkinFormControllers();
  if (TvdSkinWinController* c = registry ? registry->FindByHandle(wnd) : nullptr) registry->FreeAndRemove(c);
}

// --- TvdSkinWinControllerHelper -------------------------------------------------------------

void TvdSkinWinControllerHelper::RequestAttach(HWND wnd) {
  // Only the framework's windows and MDI clients may get a controller; the
  // opt-out query goes to the framework's windows alone.
  const bool mdiClient = TvdSkinWinController::IsMDIClient(wnd);
  if (!mdiClient && !IsFrameworkWindow(wnd)) return;
  if (!mdiClient && vdSendSkinMessage(wnd, vdSkinOptOutMessage) != 0) return;
  if (IsWindowUnicode(wnd) || mdiClient)
    PostMessageA(Handle(), vdSkinAttachMessage, 0, LPARAM(wnd));
  else
    Attach(wnd);
}

void TvdSkinWinControllerHelper::Attach(HWND wnd) {
  if (!wnd) return;
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid != GetCurrentProcessId()) return;
  TvdSkinWinControllerClass cls = vdChooseControllerClass(wnd);
  if (!cls) return;
  vdAttachController(cls, wnd);
  vdPostSkinMessage(wnd, vdSkinUpdateSizeStateMessage);
}

void TvdSkinWinControllerHelper::Detach(HWND wnd) {
  vdDetachControllerOfWindow(wnd);
  NotifyMDIFrame(wnd);
}

void TvdSkinWinControllerHelper::NotifyMDIFrame(HWND wnd) {
  HWND parent = GetParent(wnd);
  if (!parent || !TvdSkinWinController::IsMDIClient(parent)) return;
  if (HWND frame = GetParent(parent)) vdPostSkinMessage(frame, vdSkinRefreshMDIFrameMessage);
}

void TvdSkinWinControllerHelper::HandleMessage(TMessage& message) {
  if (message.Msg == vdSkinAttachMessage)
    Attach(reinterpret_cast<HWND>(message.LParam));
  else
    TvxMessageWindow::HandleMessage(message);
}

TvdSkinWinControllerHelper* vdSkinWinControllerHelper() { return State().helper.get(); }

// --- The module -------------------------------------------------------------------------

void vdSkinsFormInitialize() {
  TModuleState& s = State();
  if (s.refCount++ > 0) return;
  s.chooseControllerClass = ChooseControllerClass;
  s.helper = std::make_unique<TvdSkinWinControllerHelper>();
  vxInstallThreadHook(s.hook, WH_CALLWNDPROC, SkinHookProc);
  s.registry = std::make_unique<TvdSkinFormControllers>();
}

void vdSkinsFormFinalize() {
  TModuleState& s = State();
  if (s.refCount == 0 || --s.refCount > 0) return;
  vxRemoveThreadHook(s.hook);
  // Freeing a controller unhooks it; the registry is gone only afterwards,
  // so that freed controllers can still clear their children's links.
  if (s.registry) s.registry->RemoveAllItems();
  s.registry.reset();
  s.helper.reset();
}
