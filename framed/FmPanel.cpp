#include "framed/FmPanel.h"

#include <uxtheme.h>

#include <algorithm>

#include "framed/FmGrafx.h"
#include "framed/FmLabel.h"

namespace {

constexpr int kCheckBoxSize = 13;
// Theme parts of the group box and its check box.
constexpr int BP_CHECKBOX = 3, BP_GROUPBOX = 4;

// Text measured on the screen in a font: the box may have no window yet
// when its children are laid out.
SIZE TextExtent(TFont* font, const String& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->Handle());
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size;
}

}  // namespace

void InvalidateTransparentChildren(TWinControl* container) {
  for (int i = 0; i < container->ControlCount(); ++i) {
    TControl* c = container->Controls(i);
    auto* label = dynamic_cast<TLabel*>(c);
    auto* panel = dynamic_cast<TFmCustomPanel*>(c);
    if ((label && label->Transparent()) || (panel && panel->Transparent())) c->Invalidate();
  }
}

// --- Panel ------------------------------------------------------------------------------------

TFmCustomPanel::TFmCustomPanel(TComponent* owner) : TCustomPanel(owner) {
  SetControlStyle((ControlStyle() & ~(csSetCaption | csParentBackground)) | csOpaque);
  SetBevelOuter(bvNone);
  SetUseDockManager(true);
}

// The dock manager goes while the panel is whole: its window procedure
// reaches the panel's own parts.
TFmCustomPanel::~TFmCustomPanel() { SetDockManager(nullptr); }

void TFmCustomPanel::SetTransparent(bool v) {
  if (transparent_ == v) return;
  transparent_ = v;
  SetControlStyle(v ? ControlStyle() & ~csOpaque : ControlStyle() | csOpaque);
  Invalidate();
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
}

void TFmCustomPanel::UpdateFrameFromController() {
  if (const TFmFrameController* c = controller_.Get())
    TakeControllerFrame(*this, *c, notifications_,
                        {borderOuter_, borderSides_, flatColor_, flatColorAdjustment_, borderHighlight_, borderShadow_});
}

void TFmCustomPanel::Notification(TComponent* component, TOperation operation) {
  TCustomPanel::Notification(component, operation);
  if (operation == opRemove) controller_.Forget(component);
}

void TFmCustomPanel::EnableChildren(bool enable) {
  if (!enable) {
    childStates_.clear();
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      childStates_.emplace_back(c, c->Enabled());
      c->SetEnabled(false);
    }
    return;
  }
  // Only the panel's present children are looked up: a child freed while
  // the panel was disabled is never touched.
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    auto it = std::find_if(childStates_.begin(), childStates_.end(), [c](auto& e) { return e.first == c; });
    c->SetEnabled(it == childStates_.end() || it->second);
  }
  childStates_.clear();
}

void TFmCustomPanel::GetGradientColors(TColor& start, TColor& stop) {
  if (gradientColorStyle_ == gcsCustom) {
    start = gradientColorStart_;
    stop = gradientColorStop_;
  } else {
    GetSchemeGradientColors(gradientColorStyle_, start, stop);
  }
}

void TFmCustomPanel::GetFlatColors(TColor& color, int& adjustment) {
  if (visualStyle_ != vsGradient || gradientColorStyle_ == gcsCustom) {
    color = flatColor_;
    adjustment = flatColorAdjustment_;
  } else {
    color = GetSchemeFrameColor(gradientColorStyle_);
    adjustment = 0;
  }
}

TColor TFmCustomPanel::ShiftedFlatColor() {
  TColor color;
  int adjustment;
  GetFlatColors(color, adjustment);
  return ShiftColorLightness(color, adjustment);
}

void TFmCustomPanel::ShrinkRectByFrame(TRect& r, bool includeBorderWidth) {
  if (includeBorderWidth) r = ShrinkSides(r, sdAllSides, BorderWidth());
  const int frames = FrameStyleWidth(borderOuter_, BevelWidth()) + FrameStyleWidth(borderInner_, BevelWidth());
  r = ShrinkSides(r, borderSides_, frames);
}

// A dock site keeps its whole client area; its docked clients are placed
// inside the frames through AdjustClientRect instead.
TRect TFmCustomPanel::ClientRect() {
  TRect r = TCustomPanel::ClientRect();
  if (!DockSite()) ShrinkRectByFrame(r, false);
  return r;
}

void TFmCustomPanel::AdjustClientRect(TRect& r) {
  TCustomPanel::AdjustClientRect(r);
  if (DockSite()) ShrinkRectByFrame(r, false);
}

std::unique_ptr<IDockManager> TFmCustomPanel::CreateDockManager() {
  SetDoubleBuffered(true);
  return std::make_unique<TFmPanelDockManager>(this);
}

void TFmCustomPanel::SetBounds(int left, int top, int width, int height) {
  if (Align() == alBottom && height != Height()) top -= height - Height();
  if (Align() == alRight && width != Width()) left -= width - Width();
  TCustomPanel::SetBounds(left, top, width, height);
}

void TFmCustomPanel::Paint() {
  TCanvas* c = Canvas();
  TColor fc;
  int adjustment;
  GetFlatColors(fc, adjustment);
  TCanvasFrameSurface surface(c);
  TOuterInnerFrames f;
  f.BorderOuter = borderOuter_;
  f.BorderInner = borderInner_;
  f.BorderWidth = BorderWidth();
  f.BorderSides = borderSides_;
  f.BevelWidth = BevelWidth();
  f.BorderColor = borderColor_;
  f.BorderHighlight = borderHighlight_;
  f.BorderShadow = borderShadow_;
  f.FlatColor = fc;
  f.FlatColorAdjustment = adjustment;
  f.Color = Color();
  f.ParentColor = Parent() ? Parent()->Color() : Color();
  f.Transparent = transparent_;
  TRect r = PaintOuterInnerFrames(surface, TRect(0, 0, Width(), Height()), f);
  if (!transparent_ && paintClientArea_) {
    const bool rounded = (borderOuter_ == fsFlatRounded && borderInner_ == fsNone && BorderWidth() == 0) ||
                         borderInner_ == fsFlatRounded;
    if (rounded) r = ShrinkSides(r, borderSides_, -1);
    if (visualStyle_ == vsGradient) {
      TColor start, stop;
      GetGradientColors(start, stop);
      PaintTwoColorGradient(c, r, gradientDirection_, start, stop, 1);
    } else {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(Color());
      c->FillRect(r);
    }
    if (rounded) {
      // The corners where two frame lines meet belong to the frame.
      const TColor corner = ShiftColorLightness(fc, adjustment);
      const TSides s = borderSides_;
      if ((s & sdLeft) && (s & sdTop)) c->SetPixel(r.Left, r.Top, corner);
      if ((s & sdRight) && (s & sdTop)) c->SetPixel(r.Right - 1, r.Top, corner);
      if ((s & sdRight) && (s & sdBottom)) c->SetPixel(r.Right - 1, r.Bottom - 1, corner);
      if ((s & sdLeft) && (s & sdBottom)) c->SetPixel(r.Left, r.Bottom - 1, corner);
      r = ShrinkSides(r, borderSides_, 1);
    }
  }
  if (showGrid_) DrawGrid(r);
  c->Brush()->SetStyle(bsClear);
  DrawCaption(r);
  c->Brush()->SetStyle(bsSolid);
  if (OnPaint) OnPaint(this);
}

void TFmCustomPanel::DrawGrid(const TRect& r) {
  TCanvas* c = Canvas();
  const int nx = gridXSize_ > 0 ? r.Width() / gridXSize_ : 0;
  const int ny = gridYSize_ > 0 ? r.Height() / gridYSize_ : 0;
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetColor(gridColor_);
  if (gridStyle_ == gsDots) {
    for (int i = 1; i <= nx; ++i)
      for (int j = 1; j <= ny; ++j) c->SetPixel(r.Left + i * gridXSize_ - 1, r.Top + j * gridYSize_ - 1, gridColor_);
    return;
  }
  auto line = [&](int x0, int y0, int x1, int y1) {
    if (gridStyle_ == gsSolidLines) {
      c->MoveTo(x0, y0);
      c->LineTo(x1, y1);
      return;
    }
    // Dotted: every second pixel, from the second one.
    if (x0 == x1)
      for (int y = y0 + 1; y < y1; y += 2) c->SetPixel(x0, y, gridColor_);
    else
      for (int x = x0 + 1; x < x1; x += 2) c->SetPixel(x, y0, gridColor_);
  };
  for (int i = 1; i <= nx; ++i) line(r.Left + i * gridXSize_ - 1, r.Top, r.Left + i * gridXSize_ - 1, r.Bottom);
  for (int j = 1; j <= ny; ++j) line(r.Left, r.Top + j * gridYSize_ - 1, r.Right, r.Top + j * gridYSize_ - 1);
}

void TFmCustomPanel::DrawCaption(TRect r) {
  const String caption = Caption();
  if (caption.empty()) return;
  TCanvas* c = Canvas();
  r = TRect(r.Left + textMargin_, r.Top + textMarginVertical_, r.Right - textMargin_, r.Bottom - textMarginVertical_);
  c->Font()->Assign(Font());
  const UINT flags = DT_EXPANDTABS | DT_VCENTER | (wordWrap_ ? DT_WORDBREAK : 0) | AlignmentFlag(Alignment());
  RECT calc = r;
  DrawTextA(c->Handle(), caption.c_str(), -1, &calc, flags | DT_CALCRECT);
  const int h = calc.bottom - calc.top;
  switch (alignmentVertical_) {
    case avTop: r.Bottom = std::min(r.Bottom, r.Top + h); break;
    case avCenter:
      r.Top = (r.Top + r.Bottom - h) / 2;
      r.Bottom = std::min(r.Bottom, r.Top + h);
      break;
    case avBottom: r.Top = std::max(r.Top, r.Bottom - h - 1); break;
  }
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  SetBkMode(c->Handle(), TRANSPARENT);
  ::SetTextColor(c->Handle(), ColorToRGB(c->Font()->Color()));
  RECT out = r;
  DrawTextA(c->Handle(), caption.c_str(), -1, &out, flags);
}

void TFmCustomPanel::InvalidateUncoveredStrips(const WINDOWPOS& pos) {
  TRect f(0, 0, Width(), Height());
  ShrinkRectByFrame(f, true);
  // The frame strips on the right and bottom move with the size.
  if (pos.cx != Width()) {
    RECT strip{f.Right - 1 - 1, 0, Width(), Height()};
    InvalidateRect(Handle(), &strip, TRUE);
  }
  if (pos.cy != Height()) {
    RECT strip{0, f.Bottom - 1 - 1, Width(), Height()};
    InvalidateRect(Handle(), &strip, TRUE);
  }
}

String TFmCustomPanel::ReadText() {
  if (!HandleAllocated()) return TCustomPanel::ReadText();
  if (!windowText_) windowText_ = TCustomPanel::ReadText();
  return *windowText_;
}

void TFmCustomPanel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT:
    case CM_TEXTCHANGED:
    case WM_DESTROY:
      TCustomPanel::Dispatch(m);
      windowText_.reset();
      return;
    case WM_WINDOWPOSCHANGED: {
      const auto& pos = *reinterpret_cast<const WINDOWPOS*>(m.LParam);
      if (HandleAllocated() && !(pos.flags & SWP_NOSIZE)) {
        if (FullRepaint() || !Caption().empty()) Invalidate();
        else InvalidateUncoveredStrips(pos);
      }
      // The platform panel's own repaint would cover the whole window.
      const bool full = FullRepaint();
      SetFullRepaint(false);
      TCustomPanel::Dispatch(m);
      SetFullRepaint(full);
      return;
    }
    case WM_ERASEBKGND:
      if (transparent_ && paintClientArea_) {
        PaintParentBackground(this, HDC(m.WParam), true);
        m.Result = 1;
        return;
      }
      TCustomPanel::Dispatch(m);
      return;
    case WM_THEMECHANGED:
      TCustomPanel::Dispatch(m);
      XPColorScheme = ReadXPColorScheme();
      return;
    case CM_ENABLEDCHANGED:
      TCustomPanel::Dispatch(m);
      Repaint();
      EnableChildren(Enabled());
      return;
    case CM_MOUSEENTER:
      TCustomPanel::Dispatch(m);
      if (!IsDesigning() && OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      TCustomPanel::Dispatch(m);
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    default: TCustomPanel::Dispatch(m);
  }
}

// --- Group box --------------------------------------------------------------------------------

TFmCustomGroupBox::TFmCustomGroupBox(TComponent* owner) : TFmCustomPanel(owner) {
  SetControlStyle(ControlStyle() | csSetCaption | csDoubleClicks);
  SetBorderOuter(fsNone);
  SetBorderInner(fsNone);
  SetAlignment(taLeftJustify);
  SetAlignmentVertical(avTop);
  SetHeight(105);
  captionFont_.Assign(Font());
  captionFont_.OnChange = [this](TObject*) {
    if (!followingFont_) captionFontOwn_ = true;
    Invalidate();
  };
}

void TFmCustomGroupBox::SetGroupStyle(TFmGroupBoxStyle v) {
  if (groupStyle_ == v) return;
  groupStyle_ = v;
  Realign();
  Invalidate();
}

void TFmCustomGroupBox::SetBannerHeight(int v) {
  if (bannerHeight_ == v) return;
  bannerHeight_ = v;
  Realign();
  Invalidate();
}

void TFmCustomGroupBox::SetCaptionFont(TFont* font) { captionFont_.Assign(font); }

void TFmCustomGroupBox::SetChecked(bool v) {
  checked_ = v;
  if (showCheckBox_ && enableControlsOnCheck_) EnableChildren(v);
  Invalidate();
  CheckBoxClick();
}

void TFmCustomGroupBox::SetEnableControlsOnCheck(bool v) {
  enableControlsOnCheck_ = v;
  if (v && showCheckBox_) EnableChildren(checked_);
}

void TFmCustomGroupBox::SetShowCheckBox(bool v) {
  showCheckBox_ = v;
  SetTabStop(v);
  if (v && enableControlsOnCheck_ && !checked_) EnableChildren(false);
  Invalidate();
}

void TFmCustomGroupBox::CheckBoxClick() {
  if (OnCheckBoxClick) OnCheckBoxClick(this);
}

void TFmCustomGroupBox::UpdateFrameFromController() {
  if (groupStyle_ == gsCustom) TFmCustomPanel::UpdateFrameFromController();
}

bool TFmCustomGroupBox::Themed() {
  return VisualStyle() == vsWinXP && fm_themes::Enabled() && (groupStyle_ == gsStandard || groupStyle_ == gsFlat);
}

void TFmCustomGroupBox::AdjustClientRect(TRect& r) {
  TFmCustomPanel::AdjustClientRect(r);
  const int h = TextExtent(Font(), "Yy").cy;
  switch (groupStyle_) {
    case gsStandard:
    case gsFlat: {
      const int a = h / 2 - 1;
      r.Top += a >= BorderWidth() ? h - BorderWidth() : a;
      const int inset = groupStyle_ == gsStandard ? 2 : 1;
      r = TRect(r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset);
      break;
    }
    case gsCustom:
      if (!Caption().empty()) r.Top += h;
      r = TRect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
      break;
    case gsTopLine: r.Top += h; break;
    case gsBanner: r.Top += bannerHeight_ > 0 ? bannerHeight_ : h + 8; break;
    case gsUnderline: r.Top += h + 4; break;
  }
}

void TFmCustomGroupBox::CreateWnd() {
  TFmCustomPanel::CreateWnd();
  if (IsWindowsAtLeast(4)) SendMessageA(Handle(), WM_UPDATEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

TRect TFmCustomGroupBox::CaptionRect(bool themed) {
  const String caption = Caption();
  if (caption.empty() || groupStyle_ == gsCustom) return TRect();
  (void)themed;  // the theme's caption font is the box's own here
  const String shown = StripAccelChars(caption);
  const SIZE size = TextExtent(&captionFont_, shown);
  int cx = size.cx, cy = size.cy;
  if (showCheckBox_) cx += kCheckBoxSize + 4;
  const int w = Width();
  switch (groupStyle_) {
    case gsStandard:
    case gsFlat: return TRect(8, 0, 8 + cx, cy);
    case gsTopLine: return TRect(0, 0, cx + 4, cy);
    case gsBanner: return TRect(0, 0, w, bannerHeight_ > 0 ? bannerHeight_ : cy + 6);
    default: return TRect(0, 0, w, cy + 2);
  }
}

TRect TFmCustomGroupBox::CheckBoxRect() const {
  const int top = captionRect_.Top + (captionRect_.Height() - kCheckBoxSize) / 2;
  return TRect(captionRect_.Left, top, captionRect_.Left + kCheckBoxSize, top + kCheckBoxSize);
}

void TFmCustomGroupBox::PaintCheckBox(TCanvas* c, bool themed) {
  const TRect box = CheckBoxRect();
  const bool down = pressed_ && (mouseOverCaption_ || pressedByKey_);
  if (themed) {
    // Unchecked/checked x normal, hot, pressed, disabled.
    int state = !Enabled() ? 4 : down ? 3 : mouseOverCaption_ ? 2 : 1;
    if (checked_) state += 4;
    if (fm_themes::DrawPart(c->Handle(), L"BUTTON", BP_CHECKBOX, state, box)) return;
  }
  RECT r = box;
  UINT flags = DFCS_BUTTONCHECK;
  if (checked_) flags |= DFCS_CHECKED;
  if (down) flags |= DFCS_PUSHED;
  if (!Enabled()) flags |= DFCS_INACTIVE;
  DrawFrameControl(c->Handle(), &r, DFC_BUTTON, flags);
}

void TFmCustomGroupBox::PaintFrame(TCanvas* c, const TRect& b, TColor fc) {
  TCanvasFrameSurface s(c);
  const TFrameStyleEx outer = BorderOuter();
  switch (groupStyle_) {
    case gsStandard:
      if (outer == fsNone) PaintFrameStyle(s, b, fsGroove);
      else if (outer == fsFlat) PaintBoxOutline(s, b, fc);
      else if (outer == fsFlatBold) PaintBevelRings(s, b, fc, fc, sdAllSides, 2);
      // The rounded style has no colour pair: its own rounded line.
      else if (outer == fsFlatRounded) PaintRoundedFlatEdges(s, b, fc, sdAllSides);
      else PaintFrameStyle(s, b, outer);
      break;
    case gsTopLine:
      if (outer == fsNone) PaintFrameStyle(s, b, fsGroove, sdTop);
      else if (outer == fsFlat || outer == fsFlatBold) {
        s.Line(b.Left + 2, b.Top, b.Right - 2, b.Top, fc);
        if (outer == fsFlatBold) s.Line(b.Left + 2, b.Top + 1, b.Right - 2, b.Top + 1, fc);
      } else if (outer == fsFlatRounded) {
        PaintRoundedFlatEdges(s, b, fc, sdTop);
      } else {
        PaintFrameStyle(s, b, outer, sdTop);
      }
      break;
    case gsFlat:
      s.Line(b.Left, b.Top + 2, b.Left, b.Bottom - 2, fc);
      s.Line(b.Left + 2, b.Top, b.Right - 2, b.Top, fc);
      s.Line(b.Right - 1, b.Top + 2, b.Right - 1, b.Bottom - 2, fc);
      s.Line(b.Left + 2, b.Bottom - 1, b.Right - 2, b.Bottom - 1, fc);
      s.Pixel(b.Left + 1, b.Top + 1, fc);
      s.Pixel(b.Right - 2, b.Top + 1, fc);
      s.Pixel(b.Right - 2, b.Bottom - 2, fc);
      s.Pixel(b.Left + 1, b.Bottom - 2, fc);
      break;
    case gsBanner: {
      TColor start, stop, outline;
      if (GradientColorStyle() == gcsCustom) {
        start = GradientColorStart(), stop = GradientColorStop(), outline = fc;
      } else {
        TColor frame, fill, line;
        GetSchemeGroupColors(GradientColorStyle(), frame, fill, line);
        start = fill, stop = frame, outline = line;
      }
      TRect cr = captionRect_;
      s.Line(cr.Left + 1, cr.Top, cr.Right - 1, cr.Top, outline);
      s.Line(cr.Left + 1, cr.Bottom - 1, cr.Right - 1, cr.Bottom - 1, outline);
      s.Line(cr.Left, cr.Top + 1, cr.Left, cr.Bottom - 1, outline);
      s.Line(cr.Right - 1, cr.Top + 1, cr.Right - 1, cr.Bottom - 1, outline);
      cr = TRect(cr.Left + 1, cr.Top + 1, cr.Right - 1, cr.Bottom - 1);
      PaintTwoColorGradient(c, cr, gdHorizontalEnd, start, stop, 1);
      break;
    }
    case gsUnderline: s.Line(captionRect_.Left, captionRect_.Bottom, captionRect_.Right, captionRect_.Bottom, fc); break;
    case gsCustom: break;
  }
}

void TFmCustomGroupBox::Paint() {
  TCanvas* c = Canvas();
  c->Font()->Assign(&captionFont_);
  const int y0 = TextExtent(&captionFont_, "Pp").cy / 2 - 1;
  const bool themed = Themed();
  captionRect_ = CaptionRect(themed);
  const bool hasCaption = !captionRect_.IsEmpty();
  HDC dc = c->Handle();
  if (themed) {
    if (!Transparent()) PaintParentBackground(this, dc, false);
    if (hasCaption) ExcludeClipRect(dc, captionRect_.Left, captionRect_.Top, captionRect_.Right, captionRect_.Bottom);
    fm_themes::DrawPart(dc, L"BUTTON", BP_GROUPBOX, Enabled() ? 1 : 2, TRect(0, y0, Width(), Height()));
    SelectClipRgn(dc, nullptr);
  } else if (groupStyle_ == gsCustom) {
    TFmCustomPanel::Paint();
    c->Font()->Assign(Font());
    return;
  } else {
    if (!Transparent()) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(Color());
      c->FillRect(TRect(0, 0, Width(), Height()));
    } else if (groupStyle_ != gsBanner && hasCaption) {
      ExcludeClipRect(dc, captionRect_.Left, captionRect_.Top, captionRect_.Right, captionRect_.Bottom);
    }
    PaintFrame(c, TRect(0, y0, Width(), Height()), ShiftedFlatColor());
  }
  if (hasCaption) {
    TRect text = captionRect_;
    if (!themed && !Transparent() && groupStyle_ != gsBanner) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(Color());
      c->FillRect(text);
    }
    if (groupStyle_ == gsBanner) text = TRect(text.Left + 4, text.Top + 1, text.Right - 4, text.Bottom - 1);
    c->Brush()->SetStyle(bsClear);
    TColor color = captionFont_.Color();
    if (!Enabled()) color = clGrayText;
    else if (VisualStyle() == vsWinXP && fm_themes::Enabled()) color = GetThemePartColor(6);
    SelectClipRgn(dc, nullptr);
    if (showCheckBox_) {
      PaintCheckBox(c, fm_themes::Enabled());
      text.Left += kCheckBoxSize + 4;
    }
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToRGB(color));
    RECT out = text;
    const String caption = Caption();
    HGDIOBJ oldFont = SelectObject(dc, captionFont_.Handle());
    DrawTextA(dc, caption.c_str(), -1, &out, AlignmentFlag(Alignment()) | DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, oldFont);
    const bool focusCues = !(SendMessageA(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    if (showCheckBox_ && Focused() && focusCues) {
      TCanvasFrameSurface s(c);
      PaintDottedFocusBox(s, text);
    }
  }
  SelectClipRgn(dc, nullptr);
  c->Font()->Assign(Font());
}

void TFmCustomGroupBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TFmCustomPanel::MouseDown(button, shift, x, y);
  mouseOverCaption_ = captionRect_.Contains(TPoint(x, y));
  if (!showCheckBox_ || button != mbLeft || !Enabled() || !mouseOverCaption_) return;
  if (CanFocus()) SetFocus();
  if (!Focused()) return;
  pressed_ = tracking_ = true;
  Invalidate();
}

void TFmCustomGroupBox::MouseMove(TShiftState shift, int x, int y) {
  TFmCustomPanel::MouseMove(shift, x, y);
  if (!showCheckBox_) return;
  const bool over = captionRect_.Contains(TPoint(x, y));
  if (over != mouseOverCaption_) {
    mouseOverCaption_ = over;
    Invalidate();
  }
  if (!tracking_) return;
  const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
  if (inside != pressed_) {
    pressed_ = inside;
    Invalidate();
  }
}

void TFmCustomGroupBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TFmCustomPanel::MouseUp(button, shift, x, y);
  if (!showCheckBox_ || !tracking_) return;
  tracking_ = pressed_ = false;
  if (captionRect_.Contains(TPoint(x, y))) ToggleCheckBox();
  Invalidate();
}

void TFmCustomGroupBox::KeyDown(uint16_t& key, TShiftState shift) {
  TFmCustomPanel::KeyDown(key, shift);
  if (!showCheckBox_ || key != VK_SPACE) return;
  pressedByKey_ = pressed_ = true;
  Invalidate();
}

void TFmCustomGroupBox::KeyUp(uint16_t& key, TShiftState shift) {
  TFmCustomPanel::KeyUp(key, shift);
  if (!showCheckBox_ || key != VK_SPACE) return;
  pressed_ = false;
  if (pressedByKey_) {
    pressedByKey_ = false;
    ToggleCheckBox();
  }
  Invalidate();
}

void TFmCustomGroupBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_FONTCHANGED:
      TFmCustomPanel::Dispatch(m);
      if (!captionFontOwn_) {
        followingFont_ = true;
        captionFont_.Assign(Font());
        followingFont_ = false;
      }
      Invalidate();
      return;
    case CM_MOUSELEAVE:
      TFmCustomPanel::Dispatch(m);
      mouseOverCaption_ = false;
      Invalidate();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(char(m.WParam), Caption()) && CanFocus() && ControlCount() > 0) {
        if (auto* first = dynamic_cast<TWinControl*>(Controls(0)); first && first->CanFocus()) first->SetFocus();
        m.Result = 1;
        return;
      }
      TFmCustomPanel::Dispatch(m);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TFmCustomPanel::Dispatch(m);
      Invalidate();
      return;
    case WM_GETDLGCODE:
      m.Result = showCheckBox_ ? DLGC_WANTCHARS : 0;
      return;
    default: TFmCustomPanel::Dispatch(m);
  }
}

// --- Panel dock manager ----------------------------------------------------------------

TFmPanelDockManager::TFmPanelDockManager(TFmCustomPanel* panel) : TDockTree(panel), panel_(panel) {
  GrabberSize = kGrabberSize;
  captionFont_.SetName("Verdana");
  captionFont_.SetSize(8);
  closeFont_.SetName("Marlett");
  closeFont_.SetSize(8);
}

bool TFmPanelDockManager::GrabberOnLeft() const { return panel_->Align() == alTop || panel_->Align() == alBottom; }

void TFmPanelDockManager::AdjustDockRect(TControl*, TRect& rect) {
  if (GrabberOnLeft())
    rect.Left += kGrabberSize;
  else
    rect.Top += kGrabberSize;
}

TRect TFmPanelDockManager::DockArea() {
  TRect r = panel_->TCustomPanel::ClientRect();
  panel_->AdjustClientRect(r);
  return r;
}

// Commands of the children and activation by the mouse can change which
// client holds the focus, and with it the grabbers' colours.
void TFmPanelDockManager::SiteMessage(TMessage& m) {
  if (m.Msg == WM_COMMAND || m.Msg == WM_MOUSEACTIVATE) panel_->Invalidate();
  TDockTree::SiteMessage(m);
}

void TFmPanelDockManager::PaintDockFrame(TCanvas* canvas, TControl* control, const TRect& rect) {
  if (!panel_->ShowDockClientCaptions()) return TDockTree::PaintDockFrame(canvas, control, rect);
  // A windowed client is active while the focus is in it.
  bool active = true;
  if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && windowed->HandleAllocated()) {
    const HWND focus = GetFocus();
    active = focus == windowed->Handle() || IsChild(windowed->Handle(), focus);
  }
  canvas->Font()->Assign(&captionFont_);
  canvas->Font()->SetColor(active ? clCaptionText : clInactiveCaptionText);
  canvas->Brush()->SetColor(active ? clActiveCaption : clInactiveCaption);
  canvas->Brush()->SetStyle(bsSolid);
  HDC dc = canvas->Handle();
  const String caption = control->Caption();
  TRect close;
  if (GrabberOnLeft()) {
    const TRect band(rect.Left, rect.Top, rect.Left + kGrabberSize, rect.Bottom);
    canvas->FillRect(band);
    close = TRect(rect.Left + 1, rect.Top + 1, rect.Left + 12, rect.Top + 12);
    TFont upward;
    upward.Assign(&captionFont_);
    upward.SetOrientation(900);
    upward.SetColor(clCaptionText);
    canvas->Font()->Assign(&upward);
    canvas->Brush()->SetStyle(bsClear);
    const UINT align = SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    canvas->TextOut(band.Right - 2, band.Bottom - 3, caption);
    SetTextAlign(dc, align);
  } else {
    const TRect band(rect.Left, rect.Top, rect.Right, rect.Top + kGrabberSize);
    canvas->FillRect(band);
    close = TRect(rect.Right - 15, rect.Top + 1, rect.Right - 2, rect.Top + 12);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(rect.Left + 2, rect.Top, caption);
  }
  canvas->Font()->Assign(&closeFont_);
  canvas->Font()->SetColor(active || GrabberOnLeft() ? clCaptionText : clInactiveCaptionText);
  canvas->TextRect(close, close.Left, close.Top, "r");
  canvas->Brush()->SetStyle(bsSolid);
}
