#include "framed/FmCalc.h"

#include <cmath>

#include "framed/FmGrafx.h"
#include "platform/Numbers.h"
#include "platform/ui/Forms.h"

namespace {

// Theme parts: the push button, and the edit field the popup looks like.
constexpr int BP_PUSHBUTTON = 1, PBS_NORMAL = 1, PBS_PRESSED = 3;
constexpr int EP_EDITTEXT = 1, ETS_DISABLED = 4;

const char* const kCaptions[kCalculatorCells] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
                                                  ".", "+", "-", "*", "\xF7", "C", "=", "", ""};

}  // namespace

// --- Colours ---------------------------------------------------------------------------------

void TFmCalculatorColors::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TFmCalculatorColors*>(source);
  if (!other) return TPersistent::Assign(source);
  for (int i = 0; i < 8; ++i) SetColor(i, other->colors_[i]);
}

TColor TFmCalculatorColors::GetColor(int index) const { return index >= 0 && index < 8 ? colors_[index] : clNone; }

void TFmCalculatorColors::SetColor(int index, TColor color) {
  if (index < 0 || index >= 8) return;
  colors_[index] = color;
  if (owner_) owner_->Invalidate();
}

// --- Calculator ------------------------------------------------------------------------------

TFmCalculator::TFmCalculator(TComponent* owner) : TFmCustomPanel(owner) {
  SetControlStyle(ControlStyle() & ~(csAcceptsControls | csSetCaption | csDoubleClicks));
  SetColor(clWindow);
  SetFlatColorAdjustment(0);
  SetBorderOuter(fsLowered);
  SetTabStop(true);
  MeasureAndSize();
}

TFmCalculator::~TFmCalculator() = default;

bool TFmCalculator::Themed() const { return themeAware_ && fm_themes::Enabled(); }

void TFmCalculator::MeasureAndSize() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  SIZE size{};
  GetTextExtentPoint32A(dc, "0", 1, &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  digitHeight_ = size.cy;
  const int side = CalculatorAutoSize(digitHeight_);
  SetBounds(Left(), Top(), side, side);
  Invalidate();
}

void TFmCalculator::SetResult(double value) {
  if (value == engine_.Result()) return;
  engine_.SetResult(value);
  Invalidate();
}

void TFmCalculator::SetBoldButtons(bool value) {
  if (boldButtons_ == value) return;
  boldButtons_ = value;
  Invalidate();
}

void TFmCalculator::SetThemeAware(bool value) {
  if (themeAware_ == value) return;
  themeAware_ = value;
  Invalidate();
}

void TFmCalculator::SetIsPopup(bool value) {
  isPopup_ = value;
  Invalidate();
}

TFmCalculatorLayout TFmCalculator::Layout() { return LayoutCalculator(ClientRect().Width(), BorderOuter(), isPopup_); }

void TFmCalculator::PressCell(int cell) {
  const bool settled = cell == ccSet;
  engine_.Press(cell);
  Invalidate();
  if (cell == ccEquals) Change();
  if (settled && isPopup_) SetBtnClick();
}

void TFmCalculator::Change() {
  if (OnChange) OnChange(this);
}

void TFmCalculator::SetBtnClick() {
  if (isPopup_ && OnSetBtnClick) OnSetBtnClick(this);
}

int TFmCalculator::CellAt(int x, int y) {
  const TFmCalculatorLayout l = Layout();
  for (int i = kCalculatorCells - 1; i >= 0; --i)
    if (l.Cells[i].Contains(TPoint(x, y))) return i;
  return kNoCell;
}

void TFmCalculator::SetHotKey(int index) {
  if (hotKey_ == index) return;
  const bool wasDown = hotKey_ == pressedKey_, isDown = index == pressedKey_;
  hotKey_ = index;
  if (wasDown != isDown && HandleAllocated()) {
    RECT r = pressedRect_;
    InvalidateRect(Handle(), &r, FALSE);
  }
}

void TFmCalculator::SetPressedKey(int index) {
  pressedKey_ = index;
  if (HandleAllocated()) {
    RECT r = pressedRect_;
    InvalidateRect(Handle(), &r, FALSE);
  }
}

void TFmCalculator::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TFmCustomPanel::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  if (!isPopup_ && Visible() && !IsDesigning() && CanFocus()) SetFocus();
  SetHotKey(ClientRect().Contains(TPoint(x, y)) || TRect(0, 0, Width(), Height()).Contains(TPoint(x, y)) ? CellAt(x, y)
                                                                                                        : kNoCell);
  pressedRect_ = hotKey_ == kNoCell ? TRect() : Layout().Cells[hotKey_];
  SetPressedKey(hotKey_);
}

void TFmCalculator::MouseMove(TShiftState shift, int x, int y) {
  TFmCustomPanel::MouseMove(shift, x, y);
  SetHotKey(CellAt(x, y));
}

void TFmCalculator::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TFmCustomPanel::MouseUp(button, shift, x, y);
  if (button == mbLeft) SetPressedKey(kNoCell);
}

void TFmCalculator::Click() {
  // The click comes before the release: it acts while the key is down.
  if (pressedKey_ != hotKey_ || pressedKey_ == ccDisplay) return;
  PressCell(pressedKey_);
  Repaint();
  TFmCustomPanel::Click();
}

void TFmCalculator::KeyDown(uint16_t& key, TShiftState shift) {
  TFmCustomPanel::KeyDown(key, shift);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return PressCell(key - VK_NUMPAD0);
  if (key == VK_DECIMAL) return PressCell(ccDecimal);
  if (key == VK_RETURN) {
    if (isPopup_) {
      engine_.Settle();
      Invalidate();
      return SetBtnClick();
    }
    return PressCell(ccEquals);
  }
  const char c = char(MapVirtualKeyA(key, MAPVK_VK_TO_CHAR) & 0xFF);
  if (!c) return;
  const int cell = CalculatorCellForChar(c, (shift & ssShift) != 0, FormatSettings().DecimalSeparator);
  if (cell != kNoCell) PressCell(cell);
}

void TFmCalculator::Paint() {
  TCanvas* c = Canvas();
  TColor line;
  if (Themed()) {
    line = GetThemePartColor(0);
    TCanvasFrameSurface s(c);
    const TRect inside = PaintBoxOutline(s, TRect(0, 0, Width(), Height()), line);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(inside);
  } else {
    TFmCustomPanel::Paint();
    line = FlatColor();
  }
  c->Font()->Assign(Font());
  if (boldButtons_) c->Font()->SetStyle(c->Font()->Style() | fsBold);
  const TFmCalculatorLayout l = Layout();
  for (int i = 0; i < kCalculatorCells; ++i) {
    if (i == ccSet && !isPopup_) continue;
    if (i == ccDisplay) PaintDisplay(c, l.Cells[i], line);
    else PaintKey(c, l.Cells[i], i);
  }
}

void TFmCalculator::PaintDisplay(TCanvas* c, const TRect& r, TColor lineColor) {
  TCanvasFrameSurface s(c);
  TRect inside = PaintBoxOutline(s, r, lineColor);
  if (Focused()) inside = PaintBoxOutline(s, inside, LightenColor(lineColor, 40));
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(colors_.Display());
  c->Font()->SetColor(colors_.DisplayFont());
  const String text = engine_.DisplayText(FormatSettings());
  const int width = c->TextWidth(text);
  const int x = inside.Right - 2 - width, y = inside.Top + (inside.Height() - digitHeight_) / 2;
  SetTextAlign(c->Handle(), TA_LEFT | TA_TOP);
  c->TextRect(inside, x, y, text);
}

void TFmCalculator::PaintKey(TCanvas* c, TRect r, int index) {
  const bool down = index == pressedKey_ && index == hotKey_;
  const int group = index <= ccDecimal ? 0 : index <= ccDivide ? 1 : 2;
  const TColor face = colors_.GetColor(2 * group + 1), font = colors_.GetColor(2 * group);
  HDC dc = c->Handle();
  bool themed = Themed();
  if (themed) {
    const TRect grown(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
    themed = fm_themes::DrawPart(dc, L"BUTTON", BP_PUSHBUTTON, down ? PBS_PRESSED : PBS_NORMAL, grown);
  }
  if (!themed) {
    TCanvasFrameSurface s(c);
    const TFrameStyleEx outer = BorderOuter();
    const bool flat = outer == fsFlat || outer == fsFlatBold || outer == fsFlatRounded;
    TRect inside;
    if (face == clBtnFace) {
      inside = down ? PaintFrameStyle(s, r, fsLowered) : flat ? PaintFrameStyle(s, r, fsFlat) : PaintTwoRingButtonEdge(s, r, false);
    } else {
      inside = down ? PaintTintedFrameStyle(s, r, face, fsLowered)
               : flat ? PaintTintedFrameStyle(s, r, face, fsFlat)
                      : PaintTintedButtonEdges(s, r, face, false);
    }
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(face);
    c->FillRect(inside);
    if (down) r = TRect(r.Left + 2, r.Top + 2, r.Right + 2, r.Bottom + 2);
  }
  SetBkMode(dc, TRANSPARENT);
  c->Font()->SetColor(font);
  ::SetTextColor(dc, ColorToRGB(font));
  RECT text = r;
  if (index != ccSet) {
    DrawTextA(dc, kCaptions[index], -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return;
  }
  // The set key: the check mark of the symbol font.
  TFont mark;
  mark.Assign(Font());
  mark.SetName("Marlett");
  mark.SetSize(Font()->Size() + 4);
  mark.SetStyle(0);
  HGDIOBJ old = SelectObject(dc, mark.Handle());
  DrawTextA(dc, "5", 1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
}

void TFmCalculator::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TFmCustomPanel::Dispatch(m);
      Invalidate();
      return;
    case CM_FONTCHANGED:
      TFmCustomPanel::Dispatch(m);
      MeasureAndSize();
      return;
    default: TFmCustomPanel::Dispatch(m);
  }
}

// --- Popups ----------------------------------------------------------------------------------

TFmCustomPopup::TFmCustomPopup(TComponent* owner) : TFmCustomPanel(owner) {
  SetBorderWidth(2);
  SetBorderOuter(fsPopup);
  SetFlatColorAdjustment(0);
  SetVisible(false);
}

void TFmCustomPopup::Paint() {
  if (fm_themes::Enabled() &&
      fm_themes::DrawPart(Canvas()->Handle(), L"EDIT", EP_EDITTEXT, ETS_DISABLED, TRect(0, 0, Width(), Height())))
    return;
  TFmCustomPanel::Paint();
}

TFmPopupPanel::TFmPopupPanel(TComponent* owner) : TFmCustomPopup(owner) {
  SetAlignment(taRightJustify);
  SetBounds(0, 0, 100, 100);
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetColor(clBtnFace);
  SetParentColor(false);
}

TFmPopupPanel::~TFmPopupPanel() = default;

void TFmPopupPanel::ClosePopup() {
  if (!popup_) return;
  popup_->SetCancelled(false);
  PostMessageA(popup_->Handle(), WM_FMCLOSEPOPUP, 0, 0);
}

void TFmPopupPanel::DestroyWnd() {
  ClosePopup();
  TFmCustomPopup::DestroyWnd();
}

bool TFmPopupPanel::PopupAt(TControl* control, int x, int y) {
  if (popup_) return false;
  control_ = control;
  TCustomForm* form = GetParentForm(this);
  TWinControl* active = form ? form->ActiveControl() : nullptr;
  if (OnPopup) OnPopup(this);
  HandleNeeded();
  RecreateWnd();
  HandleNeeded();
  auto popup = std::make_unique<TFmPopup>(this, control);
  popup_ = popup.get();
  bool accepted = false;
  try {
    accepted = popup->Show(x, y);
    if (OnClose) OnClose(this);
  } catch (...) {
    popup_ = nullptr;
    control_ = nullptr;
    throw;
  }
  // The close message that ended the loop dies with the popup.
  MSG pending;
  while (PeekMessageA(&pending, popup->Handle(), WM_FMCLOSEPOPUP, WM_FMCLOSEPOPUP, PM_REMOVE)) {
  }
  popup.reset();
  popup_ = nullptr;
  control_ = nullptr;
  if (GetActiveWindow() && active && active->CanFocus()) active->SetFocus();
  return accepted;
}

TFmPopup::TFmPopup(TFmPopupPanel* panel, TControl* ownerControl)
    : TFmCustomPopup(nullptr), panel_(panel), ownerControl_(ownerControl) {
  if (TCustomForm* form = GetParentForm(panel)) SetParentWindow(form->Handle());
  SetColor(panel->Color());
  Font()->Assign(panel->Font());
  SetCtl3D(false);
  SetHint(panel->Hint());
  SetShowHint(panel->ShowHint());
  SetBorderOuter(panel->BorderOuter());
  SetFlatColor(panel->FlatColor());
}

void TFmPopup::CreateParams(TCreateParams& p) {
  TFmCustomPopup::CreateParams(p);
  p.Style = WS_POPUP;
  p.ExStyle = 0;
}

void TFmPopup::MoveChildren(TWinControl* from, TWinControl* to) {
  for (int i = from->ControlCount() - 1; i >= 0; --i) from->Controls(i)->SetParent(to);
}

void TFmPopup::PostClose() { PostMessageA(Handle(), WM_FMCLOSEPOPUP, 0, 0); }

void TFmPopup::Hide() {
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  MoveChildren(this, panel_);
}

bool TFmPopup::Show(int x, int y) {
  TRect owner;
  if (auto* windowed = dynamic_cast<TWinControl*>(ownerControl_)) {
    RECT r;
    GetWindowRect(windowed->Handle(), &r);
    owner = TRect(r);
  } else {
    const TRect b = ownerControl_->BoundsRect();
    const TPoint tl = ownerControl_->Parent()->ClientToScreen(TPoint(b.Left, b.Top));
    owner = TRect(tl.X, tl.Y, tl.X + b.Width(), tl.Y + b.Height());
  }
  MoveChildren(panel_, this);
  for (int i = 0; i < ControlCount(); ++i) {
    auto* c = dynamic_cast<TWinControl*>(Controls(i));
    if (c && c->Enabled() && c->Visible()) {
      focusTarget_ = c;
      break;
    }
  }
  ::SetFocus(panel_->Handle());

  const int width = panel_->Width(), height = panel_->Height();
  int left, top;
  if (x == -1 && y == -1) {
    top = owner.Bottom;
    switch (panel_->Alignment()) {
      case taLeftJustify: left = owner.Left; break;
      case taRightJustify: left = owner.Right - width; break;
      default: left = (owner.Left + owner.Right - width) / 2; break;
    }
  } else {
    left = owner.Left + x;
    top = owner.Top + y;
  }
  const TMonitor monitor = Screen->MonitorFromPoint(TPoint(left, top));
  const TRect work = monitor.Handle ? monitor.WorkareaRect : Screen->WorkAreaRect();
  if (left + width > work.Right) left = work.Right - width;
  if (top + height > work.Bottom) top = owner.Top - height;
  left = std::max(left, int(work.Left));
  top = std::max(top, int(work.Top));
  SetBounds(left, top, width, height);
  SetWindowPos(Handle(), HWND_TOP, left, top, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  SetVisible(true);
  cancelled_ = true;

  HWND self = Handle();
  while (!Application->Terminated()) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      // Idle: sleep until something arrives.
      WaitMessage();
      continue;
    }
    if ((msg.message == WM_FMCLOSEPOPUP && msg.hwnd == self) || msg.message == WM_KILLFOCUS) {
      Hide();
      return !cancelled_;
    }
    if (msg.message == WM_ACTIVATEAPP || msg.message == CM_DEACTIVATE) {
      Hide();
      PostClose();
      return false;
    }
    switch (msg.message) {
      case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN:
      case WM_NCMBUTTONDOWN:
        if (msg.hwnd != self && !IsChild(self, msg.hwnd)) {
          // A click outside dismisses and goes nowhere else.
          PeekMessageA(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
          Hide();
          PostClose();
          return false;
        }
        break;
      default: break;
    }
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
      PeekMessageA(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
      SendMessageA(self, msg.message, msg.wParam, msg.lParam);
      continue;
    }
    Application->HandleMessage();
  }
  Hide();
  PostClose();
  return false;
}

void TFmPopup::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEACTIVATE: m.Result = MA_NOACTIVATE; return;
    case WM_NCACTIVATE: m.Result = 0; return;
    case WM_SYSCOMMAND: PostClose(); return;
    default: break;
  }
  if (m.Msg >= WM_KEYFIRST && m.Msg <= WM_KEYLAST) {
    if (m.Msg == WM_KEYDOWN && m.WParam == VK_ESCAPE) PostClose();
    // The keys go to the first control that takes them, as if focused.
    if (focusTarget_ && focusTarget_->Perform(CN_BASE + m.Msg, m.WParam, m.LParam) == 0)
      m.Result = SendMessageA(focusTarget_->Handle(), m.Msg, m.WParam, m.LParam);
    return;
  }
  TFmCustomPopup::WndProc(m);
}
