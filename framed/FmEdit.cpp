#include "framed/FmEdit.h"

#include <cmath>
#include <memory>

#include "framed/FmCalc.h"
#include "platform/Numbers.h"
#include "platform/ui/Forms.h"

namespace {

// Theme part of the combo box's drop-down button and its states.
constexpr int CP_DROPDOWNBUTTON = 1, CBXS_NORMAL = 1, CBXS_HOT = 2, CBXS_PRESSED = 3, CBXS_DISABLED = 4;
// A numeric edit that refused its text takes the focus back through this
// message, once the focus change that left it is over.
constexpr UINT CM_FMRECLAIMFOCUS = CM_BASE + 0x3F0;

// The numeric edit taking its focus back: the edit it leaves does not check
// its own range then, so two refusing edits never hand the focus to and fro.
TFmNumericEdit* reclaimingEdit = nullptr;

class TColorUpdate {
 public:
  explicit TColorUpdate(bool& flag) : flag_(flag) { flag_ = true; }
  ~TColorUpdate() { flag_ = false; }

 private:
  bool& flag_;
};

}  // namespace

// --- Framed edit -----------------------------------------------------------------------------

TFmCustomEdit::TFmCustomEdit(TComponent* owner) : TCustomMaskEdit(owner) {
  SetControlStyle((ControlStyle() & ~csSetCaption) | csCaptureMouse);
}

TFmCustomEdit::~TFmCustomEdit() = default;

void TFmCustomEdit::CreateParams(TCreateParams& p) {
  TCustomMaskEdit::CreateParams(p);
  p.Style |= WS_CLIPCHILDREN;
  p.Style &= ~DWORD(ES_MULTILINE | ES_RIGHT | ES_CENTER);
  if (alignment_ == taRightJustify) p.Style |= ES_RIGHT;
  if (alignment_ == taCenter) p.Style |= ES_CENTER;
}

namespace {

// Active for its lifetime: the common controls of version 6, named by a
// manifest in the program's resources. Only their edit shows a cue text;
// the rest of the program keeps the classic controls. Without the resource
// nothing is activated and the edit is a classic one.
class TControls6Context {
 public:
  TControls6Context() {
    static const HANDLE context = [] {
      char module[MAX_PATH] = {};
      GetModuleFileNameA(nullptr, module, MAX_PATH);
      ACTCTXA ac{};
      ac.cbSize = sizeof ac;
      ac.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
      ac.lpSource = module;
      ac.hModule = GetModuleHandleA(nullptr);
      ac.lpResourceName = "FMEDIT_CONTROLS6";
      return CreateActCtxA(&ac);
    }();
    if (context != INVALID_HANDLE_VALUE) active_ = ActivateActCtx(context, &cookie_);
  }
  ~TControls6Context() {
    if (active_) DeactivateActCtx(0, cookie_);
  }
  TControls6Context(const TControls6Context&) = delete;
  TControls6Context& operator=(const TControls6Context&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  BOOL active_ = FALSE;
};

}  // namespace

// The system's edit class is looked up and the window made inside the
// context, so that the window's default procedure is the newer edit's.
void TFmCustomEdit::CreateWnd() {
  {
    TControls6Context controls6;
    TCustomMaskEdit::CreateWnd();
  }
  if (!IsLoading()) ApplyTextHint(textHint_);
}

void TFmCustomEdit::Loaded() {
  TCustomMaskEdit::Loaded();
  ApplyStateColor();
  ChangeHotState(false, false);
  ApplyTextHint(textHint_);
}

void TFmCustomEdit::Notification(TComponent* component, TOperation operation) {
  TCustomMaskEdit::Notification(component, operation);
  if (operation == opRemove) controller_.Forget(component);
}

void TFmCustomEdit::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TFmCustomEdit::SetDisabledColor(TColor value) {
  disabledColor_ = value;
  if (!Enabled()) ApplyStateColor();
}

void TFmCustomEdit::SetFocusColor(TColor value) {
  focusColor_ = value;
  if (inControl_) ApplyStateColor();
}

void TFmCustomEdit::SetReadOnlyColor(TColor value) {
  readOnlyColor_ = value;
  if (ReadOnly()) ApplyStateColor();
}

void TFmCustomEdit::SetReadOnlyColorOnFocus(bool value) {
  readOnlyColorOnFocus_ = value;
  if (ReadOnly()) ApplyStateColor();
}

void TFmCustomEdit::SetReadOnly(bool value) {
  if (ReadOnly() == value) return;
  TCustomMaskEdit::SetReadOnly(value);
  ReadOnlyChanged();
}

void TFmCustomEdit::SetFrameHotTrack(bool value) {
  frameHotTrack_ = value;
  if (value) {
    SetFrameVisible(true);
    if (!IsLoading()) frameSides_ = sdAllSides;
  }
  InvalidateFrame();
  if (HandleAllocated()) Repaint();
}

void TFmCustomEdit::SetFrameVisible(bool value) {
  if (frameVisible_ == value) return;
  frameVisible_ = value;
  // The frame covers the two-pixel client edge.
  if (value) SetCtl3D(true);
  if (HandleAllocated()) RecreateWnd();
}

void TFmCustomEdit::SetFramingPreference(TFramingPreference value) {
  framingPreference_ = value;
  if (value == fpCustomFraming) InvalidateFrame();
}

void TFmCustomEdit::SetTextHint(const String& value) {
  textHint_ = value;
  if (!IsLoading()) ApplyTextHint(textHint_);
}

void TFmCustomEdit::SetTextHintVisibleOnFocus(bool value) {
  textHintVisibleOnFocus_ = value;
  if (!IsLoading()) ApplyTextHint(textHint_);
}

bool TFmCustomEdit::IsThemedFraming() const { return framingPreference_ == fpXPThemes && fm_themes::Enabled(); }

bool TFmCustomEdit::PaintsOwnFrame() const { return frameVisible_ && !IsThemedFraming(); }

void TFmCustomEdit::UpdateFrameFromController() {
  const TFmFrameController* c = controller_.Get();
  if (!c) return;
  auto on = [this](TFmFrameControllerProperty p) { return HasNotification(notifications_, p); };
  if (on(fcpParentColor)) SetParentColor(c->ParentColor());
  if (on(fcpColor) && !c->ParentColor()) SetColor(c->Color());
  if (on(fcpDisabledColor)) SetDisabledColor(c->DisabledColor());
  if (on(fcpReadOnlyColor)) SetReadOnlyColor(c->ReadOnlyColor());
  if (on(fcpReadOnlyColorOnFocus)) SetReadOnlyColorOnFocus(c->ReadOnlyColorOnFocus());
  if (on(fcpFocusColor)) SetFocusColor(c->FocusColor());
  if (on(fcpFlatButtonColor)) flatButtonColor_ = c->FlatButtonColor();
  if (on(fcpFlatButtons)) flatButtons_ = c->FlatButtons();
  if (on(fcpFrameColor)) SetFrameColor(c->FrameColor());
  if (on(fcpFrameHotColor)) SetFrameHotColor(c->FrameHotColor());
  if (on(fcpFrameHotTrack)) SetFrameHotTrack(c->FrameHotTrack());
  if (on(fcpFrameHotStyle)) SetFrameHotStyle(c->FrameHotStyle());
  if (on(fcpFrameSides)) SetFrameSides(c->FrameSides());
  if (on(fcpFrameStyle)) SetFrameStyle(c->FrameStyle());
  if (on(fcpFrameVisible)) SetFrameVisible(c->FrameVisible());
  if (on(fcpFramingPreference)) SetFramingPreference(c->FramingPreference());
}

void TFmCustomEdit::ApplyTextHint(const String& text) {
  if (!IsWindowsAtLeast(5) || !fm_themes::Enabled() || !HandleAllocated()) return;
  const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(size_t(std::max(n, 1)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
  SendMessageW(Handle(), EM_SETCUEBANNER, textHintVisibleOnFocus_ ? 1 : 0, LPARAM(wide.c_str()));
}

void TFmCustomEdit::ApplyStateColor() {
  if (IsLoading()) return;
  TColorUpdate update(updatingColor_);
  if (!Enabled()) SetColor(disabledColor_);
  else if (inControl_) SetColor(ReadOnly() && readOnlyColorOnFocus_ ? readOnlyColor_ : focusColor_);
  else if (ReadOnly()) SetColor(readOnlyColor_);
  else SetColor(normalColor_);
}

void TFmCustomEdit::ChangeHotState(bool mouse, bool value) {
  (mouse ? overControl_ : inControl_) = value;
  if (!showDropButton_) {
    if (frameHotTrack_) InvalidateFrame();
  } else if ((flatButtons_ || frameHotTrack_ || fm_themes::Enabled()) && !buttonDown_) {
    ForceNonClientPaint();
  }
  ApplyStateColor();
}

void TFmCustomEdit::InvalidateFrame() {
  if (HandleAllocated()) RedrawFrameIfVisible(Handle(), TRect(0, 0, Width(), Height()));
}

void TFmCustomEdit::ForceNonClientPaint() {
  if (HandleAllocated()) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
}

void TFmCustomEdit::ReadOnlyChanged() {
  SetShowDropButton(dropButtonVisible_ && !ReadOnly());
  ApplyStateColor();
  ForceNonClientPaint();
}

void TFmCustomEdit::ValidateError() {
  String message;
  if (OnValidateError) OnValidateError(this, message);
  if (!message.empty()) throw EDBEditError(message);
  TCustomMaskEdit::ValidateError();
}

void TFmCustomEdit::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomMaskEdit::KeyDown(key, shift);
  const bool opens = (key == VK_DOWN && (shift & (ssShift | ssAlt | ssCtrl)) == ssAlt) ||
                     (key == VK_F4 && (shift & (ssShift | ssAlt | ssCtrl)) == 0);
  if (opens && showDropButton_) {
    key = 0;
    DoDropDown();
  }
}

void TFmCustomEdit::KeyPress(char& key) {
  if (tabOnEnter_ && key == '\r') {
    key = 0;
    PostMessageA(Handle(), WM_KEYDOWN, VK_TAB, 0);
    return;
  }
  TCustomMaskEdit::KeyPress(key);
}

void TFmCustomEdit::DoEnter() {
  ChangeHotState(false, true);
  TCustomMaskEdit::DoEnter();
}

void TFmCustomEdit::DoExit() {
  TCustomMaskEdit::DoExit();
  ReleaseDropButton();
  ChangeHotState(false, false);
}

// --- Drop button --------------------------------------------------------------------------------

void TFmCustomEdit::SetDropButtonVisible(bool value) {
  dropButtonVisible_ = value;
  SetShowDropButton(value && !ReadOnly());
}

void TFmCustomEdit::SetShowDropButton(bool value) {
  if (showDropButton_ == value) return;
  showDropButton_ = value;
  if (HandleAllocated()) RecreateWnd();
}

int TFmCustomEdit::DropButtonWidth() const { return GetSystemMetrics(SM_CXVSCROLL) - (fm_themes::Enabled() ? 1 : 0); }

TRect TFmCustomEdit::DropButtonRect() const {
  const int inset = BorderStyle() == bsSingle ? (fm_themes::Enabled() ? 1 : 2) : 0;
  const int right = Width() - inset;
  return TRect(right - GetSystemMetrics(SM_CXVSCROLL), inset, right, Height() - inset);
}

void TFmCustomEdit::SetButtonDown(bool down) {
  if (buttonDown_ == down) return;
  buttonDown_ = down;
  ForceNonClientPaint();
}

void TFmCustomEdit::ReleaseDropButton() {
  if (!droppedDown_) SetButtonDown(false);
  if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
}

void TFmCustomEdit::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TFmCustomEdit::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TFmCustomEdit::DoDropDown() {
  droppedDown_ = true;
  SetButtonDown(true);
  // The drop-down takes the mouse itself.
  if (GetCapture() == Handle()) ReleaseCapture();
  struct TEnd {
    TFmCustomEdit* edit;
    ~TEnd() {
      edit->SetButtonDown(false);
      edit->droppedDown_ = false;
    }
  } end{this};
  DropDown();
  CloseUp();
}

void TFmCustomEdit::PaintDropButton(TCanvas* canvas, const TRect& r) {
  HDC dc = canvas->Handle();
  if (fm_themes::Enabled()) {
    const int state = !Enabled() ? CBXS_DISABLED : buttonDown_ ? CBXS_PRESSED
                                                : (inControl_ || overControl_) ? CBXS_HOT : CBXS_NORMAL;
    TRect b = r;
    if (IsWindowsAtLeast(7)) b = TRect(b.Left, b.Top - 1, b.Right + 1, b.Bottom + 1);
    if (fm_themes::DrawPart(dc, L"COMBOBOX", CP_DROPDOWNBUTTON, state, b)) return;
  }
  canvas->Brush()->SetColor(clBtnFace);
  RECT rc = r;
  UINT flags = DFCS_SCROLLCOMBOBOX;
  if (buttonDown_) flags |= DFCS_PUSHED | DFCS_FLAT;
  if (!Enabled()) flags |= DFCS_INACTIVE;
  DrawFrameControl(dc, &rc, DFC_SCROLL, flags);
}

// The shown frame fills the two pixels all round, as thick as the system's
// border gets: painting that border first would only be painted over (and
// costs the edit a DC, its theme and the focus, round trips under Wine).
// Scroll bars and the drop button still need the system's paint.
bool TFmCustomEdit::FrameCoversBorder() {
  if (!PaintsOwnFrame() || showDropButton_) return false;
  return !(GetWindowLongA(Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
}

// The frame (and the drop button) over the system's border, on the
// window's own DC.
void TFmCustomEdit::PaintNonClient() {
  // Under visual styles with no drop button the system's border is all
  // there is: no DC for nothing.
  if (!PaintsOwnFrame() && !showDropButton_) return;
  HDC dc = GetWindowDC(Handle());
  TCanvas canvas;
  canvas.SetHandle(dc);
  if (PaintsOwnFrame()) {
    const bool hot = frameHotTrack_ && (inControl_ || overControl_);
    TCanvasFrameSurface surface(&canvas);
    PaintEditFrame(surface, Width(), Height(), hot ? frameHotStyle_ : frameStyle_, Color(),
                   hot ? frameHotColor_ : frameColor_, frameSides_, false);
  }
  if (showDropButton_) PaintDropButton(&canvas, DropButtonRect());
  canvas.SetHandle(nullptr);
  ReleaseDC(Handle(), dc);
}

void TFmCustomEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
      if (!FrameCoversBorder()) TCustomMaskEdit::Dispatch(m);
      PaintNonClient();
      m.Result = 0;
      return;
    case WM_NCCALCSIZE:
      TCustomMaskEdit::Dispatch(m);
      if (showDropButton_) {
        auto* r = reinterpret_cast<RECT*>(m.LParam);
        r->right -= DropButtonWidth();
      }
      return;
    case WM_NCHITTEST:
      TCustomMaskEdit::Dispatch(m);
      if (!showDropButton_) return;
      mouseOverButton_ = m.Result == HTNOWHERE;
      if (mouseOverButton_) m.Result = HTCLIENT;
      return;
    case WM_SETCURSOR:
      if (mouseOverButton_) {
        ::SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // the arrow
        m.Result = 1;
        return;
      }
      TCustomMaskEdit::Dispatch(m);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (mouseOverButton_ && showDropButton_) {
        if (!Focused() && CanFocus()) SetFocus();
        DoDropDown();
        return;
      }
      TCustomMaskEdit::Dispatch(m);
      if (!Focused()) ReleaseDropButton();
      return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      if (mouseOverButton_ && showDropButton_) return;
      TCustomMaskEdit::Dispatch(m);
      return;
    case WM_LBUTTONUP:
      ReleaseDropButton();
      TCustomMaskEdit::Dispatch(m);
      return;
    case WM_SIZE:
      TCustomMaskEdit::Dispatch(m);
      if (PaintsOwnFrame()) InvalidateFrame();
      return;
    case CM_MOUSEENTER:
      TCustomMaskEdit::Dispatch(m);
      if (IsDesigning()) return;
      if (OnMouseEnter) OnMouseEnter(this);
      ChangeHotState(true, true);
      return;
    case CM_MOUSELEAVE:
      TCustomMaskEdit::Dispatch(m);
      if (OnMouseLeave) OnMouseLeave(this);
      ChangeHotState(true, false);
      return;
    case CM_COLORCHANGED:
    case CM_PARENTCOLORCHANGED:
      TCustomMaskEdit::Dispatch(m);
      // A colour set from outside becomes the normal colour, and the focus
      // colour too while it has none of its own.
      if (!updatingColor_ && (m.Msg == CM_COLORCHANGED || ParentColor())) {
        if (focusColor_ == normalColor_) focusColor_ = Color();
        normalColor_ = Color();
      }
      if (PaintsOwnFrame()) InvalidateFrame();
      return;
    case CM_ENABLEDCHANGED:
      TCustomMaskEdit::Dispatch(m);
      ApplyStateColor();
      ForceNonClientPaint();
      return;
    default: TCustomMaskEdit::Dispatch(m);
  }
}

// --- Numeric edit ----------------------------------------------------------------------------------

TFmNumericEdit::TFmNumericEdit(TComponent* owner)
    : TFmEdit(owner), calculatorColors_(std::make_unique<TFmCalculatorColors>()) {
  SetBounds(Left(), Top(), 65, 21);
  SetAlignment(taRightJustify);
  SetText(FormatValue(0));
}

TFmNumericEdit::~TFmNumericEdit() {
  if (reclaimingEdit == this) reclaimingEdit = nullptr;
}

TFmNumericRules TFmNumericEdit::Rules() const {
  TFmNumericRules rules;
  rules.IntegersOnly = integersOnly_;
  rules.AllowScientificNotation = allowScientificNotation_;
  rules.DecimalSeparator = FormatSettings().DecimalSeparator;
  return rules;
}

bool TFmNumericEdit::IsValidChar(char c) {
  const TFmEditState state{Text(), SelStart(), SelLength()};
  return IsValidNumericChar(c, state, Rules());
}

String TFmNumericEdit::FormatValue(double value) { return FormatFloat(displayFormat_, value); }

double TFmNumericEdit::TextToValue() { return NumericTextToValue(Text(), Rules()); }

void TFmNumericEdit::SetIntegersOnly(bool value) {
  integersOnly_ = value;
  if (value) SetValue(std::nearbyint(GetValue()));
}

void TFmNumericEdit::SetMin(double value) {
  if (min_ == value) return;
  min_ = value;
  if (min_ > max_) max_ = min_;
  Invalidate();
}

void TFmNumericEdit::SetMax(double value) {
  if (max_ == value) return;
  max_ = value;
  if (max_ < min_) min_ = max_;
  Invalidate();
}

void TFmNumericEdit::SetDisplayFormat(const String& format) {
  if (displayFormat_ == format) return;
  const double value = GetValue();
  displayFormat_ = format;
  if (!IsLoading()) SetText(FormatValue(value));
}

void TFmNumericEdit::SetCalculatorColors(const TFmCalculatorColors* colors) { calculatorColors_->Assign(colors); }

double TFmNumericEdit::GetValue() {
  try {
    if (!Text().empty()) return TextToValue();
    if (allowBlank_) return blankValue_;
    SetText(FormatValue(min_));
    return TextToValue();
  } catch (const Exception&) {
    return min_;
  }
}

void TFmNumericEdit::SetValue(double value) {
  if (value != TextToValue()) SetText(FormatValue(value));
}

int64_t TFmNumericEdit::GetIntValue() { return int64_t(std::nearbyint(GetValue())); }

double TFmNumericEdit::CheckValueRange(bool& keepFocus, double value) {
  const TFmValueRange range{min_, max_, checkRange_};
  const double r = CheckNumericRange(value, range,
                                     [this](double entered, double adjusted, bool& autoCorrect) {
                                       RangeError(entered, adjusted, autoCorrect);
                                     },
                                     keepFocus);
  valueOnEnter_ = r;
  return r;
}

void TFmNumericEdit::RangeError(double enteredValue, double adjustedValue, bool& autoCorrect) {
  if (OnRangeError) OnRangeError(this, enteredValue, adjustedValue, autoCorrect);
}

void TFmNumericEdit::Loaded() {
  TFmEdit::Loaded();
  reformatLock_ = true;
  valueOnEnter_ = TextToValue();
  SetText(FormatValue(valueOnEnter_));
  reformatLock_ = false;
}

void TFmNumericEdit::Change() {
  if (IsLoading() || reformatLock_) return;
  TFmEdit::Change();
}

void TFmNumericEdit::KeyDown(uint16_t& key, TShiftState shift) {
  TFmEdit::KeyDown(key, shift);
  decimalKeyPressed_ = key == VK_DECIMAL;
}

void TFmNumericEdit::KeyPress(char& key) {
  if (decimalKeyPressed_) {
    decimalKeyPressed_ = false;
    key = FormatSettings().DecimalSeparator;
  }
  TFmEdit::KeyPress(key);
  if (key != 0 && !IsValidChar(key)) {
    key = 0;
    if (BeepOnInvalidKey()) MessageBeep(0);
  }
}

void TFmNumericEdit::DoEnter() {
  valueOnEnter_ = TextToValue();
  if (!allowBlank_) SetText(FormatValue(valueOnEnter_));
  TFmEdit::DoEnter();
}

void TFmNumericEdit::DoExit() {
  // Leaving for an edit that takes its focus back: this one is checked
  // when it is next left.
  if ((reclaimingEdit && reclaimingEdit != this) || (allowBlank_ && Text().empty())) return TFmEdit::DoExit();
  bool keepFocus = false;
  double r;
  try {
    r = CheckValueRange(keepFocus, TextToValue());
  } catch (const Exception&) {
    r = min_;
    SetValue(min_);
  }
  if (keepFocus) {
    PostMessageA(Handle(), CM_FMRECLAIMFOCUS, 0, 0);
    return;
  }
  SetText(FormatValue(r));
  TFmEdit::DoExit();
}

void TFmNumericEdit::DropDown() {
  if (ReadOnly()) return;
  TFmEdit::DropDown();
  // The calculator's coming and going is no visit of the field.
  const TNotifyEvent onEnter = OnEnter, onExit = OnExit;
  OnEnter = nullptr;
  OnExit = nullptr;
  try {
    ShowCalculator();
  } catch (const EAbort&) {
    // A cancelled drop-down is no failure.
  } catch (...) {
    OnEnter = onEnter;
    OnExit = onExit;
    throw;
  }
  OnEnter = onEnter;
  OnExit = onExit;
}

void TFmNumericEdit::ShowCalculator() {
  if (!Parent()) return;
  const bool autoSelect = AutoSelect();
  SetAutoSelect(false);
  struct TRestore {
    TFmNumericEdit* edit;
    bool autoSelect;
    ~TRestore() { edit->SetAutoSelect(autoSelect); }
  } restore{this, autoSelect};

  auto panel = std::make_unique<TFmPopupPanel>(nullptr);
  auto* calculator = new TFmCalculator(panel.get());
  panel->SetParent(Parent());
  panel->Font()->SetName(Font()->Name());
  panel->Font()->SetColor(Font()->Color());
  panel->Font()->SetSize(Font()->Size());
  calculator->SetParent(panel.get());
  calculator->SetIsPopup(true);
  calculator->SetThemeAware(IsThemedFraming());
  calculator->SetColor(Color());
  calculator->HandleNeeded();
  calculator->SetResult(GetValue());
  if ((PaintsOwnFrame() && FrameStyle() == fsFlat) || FrameStyle() == fsFlatBold) {
    calculator->SetBorderOuter(fsFlat);
    calculator->SetFlatColor(FrameColor());
  }
  calculator->SetVisible(true);
  calculator->SetCalculatorColors(calculatorColors_.get());
  calculator->SetBoldButtons(calculatorBoldButtons_);
  TFmPopupPanel* popup = panel.get();
  calculator->OnSetBtnClick = [popup](TObject*) { popup->ClosePopup(); };
  // The panel wraps the calculator inside its frame and border.
  const int inset = panel->BorderWidth() + FrameStyleWidth(panel->BorderOuter(), panel->BevelWidth());
  calculator->SetBounds(inset, inset, calculator->Width(), calculator->Height());
  panel->SetBounds(0, 0, calculator->Width() + 2 * inset, calculator->Height() + 2 * inset);
  if (panel->Popup(this)) SetValue(calculator->Result());
}

void TFmNumericEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PASTE:
    case WM_CUT:
      if (ReadOnly()) return;
      TFmEdit::Dispatch(m);
      return;
    case CM_FMRECLAIMFOCUS:
      if (!CanFocus()) return;
      reclaimingEdit = this;
      try {
        SetFocus();
      } catch (...) {
        reclaimingEdit = nullptr;
        throw;
      }
      reclaimingEdit = nullptr;
      return;
    default: TFmEdit::Dispatch(m);
  }
}
