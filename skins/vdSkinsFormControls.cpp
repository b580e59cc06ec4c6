#include "skins/vdSkinsFormControls.h"

#include "foundation/vxGeometry.h"
#include "foundation/vxGraphics.h"
#include "platform/ui/Messages.h"
#include "platform/ui/StandardControls.h"

namespace {

// BeginPaint and EndPaint of a control painter around a scope.
class TPaintScope {
 public:
  TPaintScope(TvdSkinCustomControlPainter* painter, HDC dc) : painter_(painter) { painter_->BeginPaint(dc); }
  ~TPaintScope() { painter_->EndPaint(); }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;

 private:
  TvdSkinCustomControlPainter* painter_;
};

// The registered controller of the window's parent form, when the program
// lets the control be skinned.
TvdSkinWinController* ParentFormController(TvdSkinWinController* self) {
  TWinControl* control = self->Control();
  if (!control) return nullptr;
  TCustomForm* form = GetParentForm(control);
  if (!form || form == control || !form->HandleAllocated() || !vdSkinFormControllers()) return nullptr;
  if (!self->CanSkinControl()) return nullptr;
  return vdSkinFormControllers()->FindByHandle(form->Handle());
}

}  // namespace

// --- View infos -------------------------------------------------------------------------------

TRect TvdSkinCustomControlViewInfo::GetBounds() const {
  const TRect r = vxWindowScreenRectOrEmpty(Controller->Handle());
  return {0, 0, r.Width(), r.Height()};
}

bool TvdSkinCustomControlViewInfo::IsEnabled() const { return IsWindowEnabled(Controller->Handle()); }
bool TvdSkinCustomControlViewInfo::IsFocused() const { return GetFocus() == Controller->Handle(); }

bool TvdSkinCustomControlViewInfo::IsHot() const {
  POINT cursor{};
  return GetCursorPos(&cursor) && WindowFromPoint(cursor) == Controller->Handle();
}

TvdSkinButtonViewInfo::TvdSkinButtonViewInfo(TvdSkinCustomController* controller)
    : TvdSkinCustomControlViewInfo(controller) {
  if (TWinControl* control = controller->Control()) Caption = control->Text();
  if (auto* button = dynamic_cast<TButton*>(controller->Control())) IsDefault = button->Default();
  UpdateState();
}

void TvdSkinButtonViewInfo::UpdateState() {
  TvxButtonState state = IsDefault ? vxbsDefault : vxbsNormal;
  if (SendMessageA(Controller->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED)
    state = vxbsPressed;
  else if (IsHot())
    state = vxbsHot;
  SetState(state);
}

void TvdSkinButtonViewInfo::SetState(TvxButtonState state) {
  if (!IsEnabled()) state = vxbsDisabled;
  if (state == State) return;
  State = state;
  if (Controller->IsSkinActive()) Controller->Redraw(true);
}

void TvdSkinButtonViewInfo::SetDefault(bool value) {
  if (IsDefault == value) return;
  IsDefault = value;
  UpdateState();
}

bool TvdSkinButtonViewInfo::IsMultiLine() const {
  return GetWindowLongA(Controller->Handle(), GWL_STYLE) & BS_MULTILINE;
}

// --- The control painter ----------------------------------------------------------------------

TvdSkinCustomControlPainter::TvdSkinCustomControlPainter(TvdSkinCustomControlViewInfo* viewInfo)
    : viewInfo_(viewInfo), vxCanvas_(std::make_unique<TvxCanvas>(&canvas_)) {}

TvdSkinCustomControlPainter::~TvdSkinCustomControlPainter() = default;

void TvdSkinCustomControlPainter::BeginPaint(HDC dc) {
  ownsDC_ = dc == nullptr;
  HWND wnd = viewInfo_->Controller->Handle();
  dc_ = ownsDC_ ? GetDCEx(wnd, nullptr, DCX_WINDOW | DCX_CACHE | DCX_CLIPSIBLINGS | DCX_VALIDATE) : dc;
  canvas_.SetHandle(dc_);
}

void TvdSkinCustomControlPainter::EndPaint() {
  canvas_.SetHandle(nullptr);
  if (ownsDC_ && dc_) ReleaseDC(viewInfo_->Controller->Handle(), dc_);
  dc_ = nullptr;
  ownsDC_ = false;
}

TvxLookAndFeelPainterClass TvdSkinCustomControlPainter::SkinPainter() const {
  return viewInfo_->Controller->GetSkinPainter();
}

void TvdSkinCustomControlPainter::DrawParentBackground(bool withSiblings) {
  if (TWinControl* control = viewInfo_->Controller->Control())
    vxDrawParentBackgroundBehind(control, vxCanvas_.get(), viewInfo_->GetBounds(), withSiblings);
}

void TvdSkinCustomControlPainter::DrawButton(const String& caption, const TRect& r, TvxButtonState state,
                                             bool multiLine, TFont* font) {
  TvxLookAndFeelPainterClass painter = SkinPainter();
  if (!painter) return;
  painter->PaintPushButton(vxCanvas_.get(), r, "", state, true, clDefault, clDefault, false);
  if (caption.empty()) return;
  canvas_.Brush()->SetStyle(bsClear);
  if (font) canvas_.Font()->Assign(font);
  TColor color = painter->ButtonGlyphColor(state, clDefault);
  if (color == clDefault) color = clBtnText;
  canvas_.Font()->SetColor(color);
  HDC dc = canvas_.Handle();
  SetBkMode(dc, TRANSPARENT);
  RECT rc = r;
  UINT format = DT_CENTER | (multiLine ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
  if (multiLine) {
    // Centre the wrapped block vertically.
    RECT measure = rc;
    DrawTextA(dc, caption.c_str(), int(caption.size()), &measure, format | DT_CALCRECT);
    const int height = measure.bottom - measure.top;
    rc.top += (r.Height() - height) / 2;
    rc.bottom = rc.top + height;
  }
  DrawTextA(dc, caption.c_str(), int(caption.size()), &rc, format);
}

void TvdSkinCustomControlPainter::DrawFocusRect(const TRect& r) {
  canvas_.Brush()->SetStyle(bsSolid);
  vxCanvas_->DrawFocusFrame(r);
}

// --- TvdSkinCustomController ------------------------------------------------------------------------

TvdSkinCustomController::TvdSkinCustomController(HWND wnd) : TvdSkinWinController(wnd) {
  SetViewInfo(std::make_unique<TvdSkinCustomControlViewInfo>(this));
}

TvdSkinCustomController::~TvdSkinCustomController() {
  UnhookWindowProc();
  painter_.reset();
  viewInfo_.reset();
}

void TvdSkinCustomController::SetViewInfo(std::unique_ptr<TvdSkinCustomControlViewInfo> viewInfo) {
  painter_ = std::make_unique<TvdSkinCustomControlPainter>(viewInfo.get());
  viewInfo_ = std::move(viewInfo);
}

TvdSkinWinController* TvdSkinCustomController::FindParentController(HWND) { return ParentFormController(this); }

void TvdSkinCustomController::WndProc(TMessage& message) {
  if (IsSkinActive()) {
    if (message.Msg == WM_PAINT && WMPaint(message)) return;
    if (message.Msg == WM_ERASEBKGND && WMEraseBkgnd(message)) return;
  }
  TvdSkinWinController::WndProc(message);
}

bool TvdSkinCustomController::WMEraseBkgnd(TMessage& message) {
  message.Result = 1;
  return true;
}

bool TvdSkinCustomController::WMPaint(TMessage& message) {
  if (message.WParam) {
    Paint(reinterpret_cast<HDC>(message.WParam));
    return true;
  }
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(Handle(), &ps);
  struct TEnd {
    HWND Wnd;
    PAINTSTRUCT* Ps;
    ~TEnd() { ::EndPaint(Wnd, Ps); }
  } end{Handle(), &ps};
  Paint(dc);
  return true;
}

// --- TvdSkinButtonController ----------------------------------------------------------------

TvdSkinButtonController::TvdSkinButtonController(HWND wnd) : TvdSkinCustomController(wnd) {
  SetViewInfo(std::make_unique<TvdSkinButtonViewInfo>(this));
}

void TvdSkinButtonController::WndProc(TMessage& message) {
  TvdSkinButtonViewInfo* info = ButtonViewInfo();
  if (message.Msg == CM_FOCUSCHANGED) {
    // A focused button is drawn as the default one; with the focus
    // elsewhere the form's default button is.
    auto* focused = reinterpret_cast<TWinControl*>(message.LParam);
    auto* button = dynamic_cast<TButton*>(Control());
    if (dynamic_cast<TButton*>(focused))
      info->SetDefault(focused == Control());
    else
      info->SetDefault(button && button->Default());
  }
  TvdSkinCustomController::WndProc(message);
  switch (message.Msg) {
    case WM_ENABLE:
    case BM_SETSTATE:
    case WM_MOUSEMOVE:
    case WM_MOUSEHOVER:
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE: info->UpdateState(); break;
    case WM_SETTEXT:
      info->Caption = message.LParam ? reinterpret_cast<const char*>(message.LParam) : "";
      if (IsSkinActive()) Paint(nullptr);
      break;
    case WM_UPDATEUISTATE:
      if (IsSkinActive() && (LOWORD(message.WParam) == UIS_SET || LOWORD(message.WParam) == UIS_CLEAR)) Paint(nullptr);
      break;
  }
}

void TvdSkinButtonController::MouseLeave() { ButtonViewInfo()->UpdateState(); }

void TvdSkinButtonController::Paint(HDC dc) {
  TvdSkinButtonViewInfo* info = ButtonViewInfo();
  TvdSkinCustomControlPainter* painter = Painter();
  TPaintScope scope(painter, dc);
  const TRect bounds = info->GetBounds();
  painter->DrawParentBackground();
  painter->DrawButton(info->Caption, bounds, info->State, info->IsMultiLine(), Control() ? Control()->Font() : nullptr);
  if (info->IsFocused()) painter->DrawFocusRect(vxInflatedRect(bounds, -4, -4));
}

// --- TvdSkinPanelController -----------------------------------------------------------------

TvdSkinPanelController::TvdSkinPanelController(HWND wnd) : TvdSkinCustomController(wnd) {}

void TvdSkinPanelController::WndProc(TMessage& message) {
  if (IsSkinActive()) {
    if (message.Msg == WM_PRINTCLIENT && WMPrintClient(message)) return;
    if (message.Msg == CM_COLORCHANGED) Redraw(false);
  }
  TvdSkinCustomController::WndProc(message);
}

bool TvdSkinPanelController::WMPaint(TMessage& message) {
  if (painting_) return false;
  painting_ = true;
  struct TReset {
    bool& Flag;
    ~TReset() { Flag = false; }
  } reset{painting_};
  return TvdSkinCustomController::WMPaint(message);
}

bool TvdSkinPanelController::WMPrintClient(TMessage& message) {
  if (message.Result == 1) return false;
  if ((message.LParam & PRF_CHECKVISIBLE) && !IsWindowVisible(Handle())) return false;
  return WMPaint(message);
}

void TvdSkinPanelController::Paint(HDC dc) {
  auto* panel = dynamic_cast<TCustomPanel*>(Control());
  TvxLookAndFeelPainterClass skin = GetSkinPainter();
  if (!panel || !skin) return;
  TvdSkinCustomControlPainter* painter = Painter();
  TPaintScope scope(painter, dc);
  TvxCanvas* canvas = painter->VxCanvas();
  const TRect r = ViewInfo()->GetBounds();
  if (panel->ControlStyle() & csParentBackground)
    painter->DrawParentBackground(false);
  else if (panel->Color() == clBtnFace)
    skin->PaintGroupPanel(canvas, r, false);
  else
    skin->PaintGroupBoxBackground(canvas, panel, r, panel->Color(), panel->Color());
  if (panel->BevelInner() != bvNone || panel->BevelOuter() != bvNone) skin->PaintGroupPanelBorder(canvas, r);

  TCanvas* c = painter->Canvas();
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(panel->Font());
  if (panel->Font()->Color() == clWindowText && skin->GroupPanelTextColor() != clDefault)
    c->Font()->SetColor(skin->GroupPanelTextColor());
  const String caption = panel->Caption();
  HDC target = c->Handle();
  SetBkMode(target, TRANSPARENT);
  static constexpr UINT alignment[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  RECT rc = r;
  DrawTextA(target, caption.c_str(), int(caption.size()), &rc,
            DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | alignment[panel->Alignment()]);
  c->Brush()->SetStyle(bsSolid);
  panel->PaintControls(target);
}

// --- TvdSkinFrameController ----------------------------------------------------------------

TvdSkinWinController* TvdSkinFrameController::FindParentController(HWND) { return ParentFormController(this); }

bool TvdSkinFrameController::HasParentBackground() const {
  return Control() && (Control()->ControlStyle() & csParentBackground);
}

void TvdSkinFrameController::PaintClientBackground(HDC dc) {
  if (!HasParentBackground()) {
    TvdSkinFormController::PaintClientBackground(dc);
    return;
  }
  FormPainter()->BeginPaint(dc);
  vxDrawParentBackgroundBehind(Control(), FormPainter()->VxCanvas(), NonClientInfo()->Layout().ClientRect(), false);
  FormPainter()->EndPaint();
}

void TvdSkinFrameController::WMWindowPosChanged(TMessage& message) {
  TvdSkinFormController::WMWindowPosChanged(message);
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(message.LParam);
  if (HasParentBackground() && (!(pos->flags & SWP_NOSIZE) || !(pos->flags & SWP_NOMOVE)))
    vdPostSkinMessage(Handle(), vdSkinRedrawMessage);
}
