#include "framed/FmLabel.h"

#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/OsFiles.h"

// --- Blink list ---------------------------------------------------------------------------

namespace {

TFmBlinkingControlsList* blinkList = nullptr;

}  // namespace

TFmBlinkingControlsList* TFmBlinkingControlsList::Instance() { return blinkList; }

TFmBlinkingControlsList::TFmBlinkingControlsList() : timer_(std::make_unique<TTimer>(nullptr)) {
  timer_->SetInterval(intervalOff_);
  timer_->SetOnTimer([this](TObject*) { Tick(); });
}

TFmBlinkingControlsList::~TFmBlinkingControlsList() = default;

void TFmBlinkingControlsList::Add(TControl* control) {
  if (!blinkList) blinkList = new TFmBlinkingControlsList;
  blinkList->controls_.push_back(control);
}

void TFmBlinkingControlsList::Remove(TControl* control) {
  if (!blinkList) return;
  std::erase(blinkList->controls_, control);
  if (blinkList->controls_.empty()) {
    delete blinkList;
    blinkList = nullptr;
  }
}

void TFmBlinkingControlsList::Tick() {
  phase_ = !phase_;
  timer_->SetInterval(phase_ ? intervalOn_ : intervalOff_);
  // A label may go away while another repaints: walk a copy, and only
  // those still listed.
  const std::vector<TControl*> controls = controls_;
  for (TControl* c : controls) {
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;
    if (c->Perform(CM_BLINKQUERY) == 1) c->Perform(CM_BLINKPHASE, phase_ ? 1 : 0);
  }
}

// --- Label ---------------------------------------------------------------------------------

TFmLabel::TFmLabel(TComponent* owner) : TLabel(owner) {
  // The platform label's own sizing stays off: this label sizes itself
  // with its frames.
  TLabel::SetAutoSize(false);
  initialisingColor_ = true;
  SetColor(clBtnFace);
  SetParentColor(true);
  initialisingColor_ = false;
  fontColor_ = currentColor_ = Font()->Color();
  TFmBlinkingControlsList::Add(this);
}

TFmLabel::~TFmLabel() { TFmBlinkingControlsList::Remove(this); }

void TFmLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustBounds();
}

void TFmLabel::SetWordWrap(bool v) {
  TLabel::SetWordWrap(v);
  AdjustBounds();
}

void TFmLabel::SetShowAccelChar(bool v) {
  TLabel::SetShowAccelChar(v);
  AdjustBounds();
}

void TFmLabel::UseVerdanaIfNotTrueType() {
  if (!IsLoading() && !IsTrueTypeFont(Font())) Font()->SetName("Verdana");
}

void TFmLabel::SetAngle(int v) {
  // Any angle, however large or negative, is kept as 0..359.
  v = ((v % 360) + 360) % 360;
  if (angle_ == v) return;
  angle_ = v;
  if (v != 0) UseVerdanaIfNotTrueType();
  if (v != 0 && rotation_ == roNone) rotation_ = roFlat;
  AdjustBounds();
  Repaint();
}

void TFmLabel::SetRotation(TRotation v) {
  if (rotation_ == v) return;
  rotation_ = v;
  if (v != roNone) UseVerdanaIfNotTrueType();
  if (v == roNone) angle_ = 0;
  if (v == roFlat) {
    angle_ = 0;
    centerPoint_ = cpCenter;
  }
  Invalidate();
}

void TFmLabel::SetBlinking(bool v) {
  if (blinking_ == v) return;
  blinking_ = v;
  if (!v) {
    currentColor_ = fontColor_;
    Repaint();
  }
}

unsigned TFmLabel::BlinkIntervalOff() const { return TFmBlinkingControlsList::Instance()->IntervalOff(); }
void TFmLabel::SetBlinkIntervalOff(unsigned ms) { TFmBlinkingControlsList::Instance()->SetIntervalOff(ms); }
unsigned TFmLabel::BlinkIntervalOn() const { return TFmBlinkingControlsList::Instance()->IntervalOn(); }
void TFmLabel::SetBlinkIntervalOn(unsigned ms) { TFmBlinkingControlsList::Instance()->SetIntervalOn(ms); }

void TFmLabel::SetCondenseCaption(TFmCondenseCaption v) {
  if (condenseCaption_ == v) return;
  condenseCaption_ = v;
  if (v != ccNone) autoSize_ = false;
  Invalidate();
}

void TFmLabel::SetFlyByEnabled(bool v) {
  if (flyByEnabled_ == v) return;
  flyByEnabled_ = v;
  if (!v && mouseInside_) Font()->SetColor(savedFontColor_);
}

void TFmLabel::ApplyBlinkPhase(bool showBlinkColor) {
  currentColor_ = showBlinkColor ? blinkColor_ : fontColor_;
  Refresh();
}

void TFmLabel::UpdateFrameFromController() {
  if (const TFmFrameController* c = controller_.Get())
    TakeControllerFrame(*this, *c, notifications_,
                        {borderOuter_, borderSides_, flatColor_, flatColorAdjustment_, borderHighlight_, borderShadow_});
}

void TFmLabel::Loaded() {
  TLabel::Loaded();
  if (rotation_ == roNone && angle_ != 0) rotation_ = roFlat;
  if (rotation_ != roNone && !IsTrueTypeFont(Font())) Font()->SetName("Verdana");
  fontColor_ = currentColor_ = Font()->Color();
}

void TFmLabel::Notification(TComponent* component, TOperation operation) {
  TLabel::Notification(component, operation);
  if (operation == opRemove) controller_.Forget(component);
}

void TFmLabel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_BLINKQUERY: m.Result = blinking_ ? 1 : 0; return;
    case CM_BLINKPHASE: ApplyBlinkPhase(m.WParam != 0); return;
    case CM_FONTCHANGED:
      TLabel::Dispatch(m);
      if (IsLoading()) return;
      if (!blinking_) fontColor_ = currentColor_ = Font()->Color();
      if (angle_ != 0 && !IsTrueTypeFont(Font())) angle_ = 0;
      AdjustBounds();
      return;
    case CM_TEXTCHANGED:
      TLabel::Dispatch(m);
      AdjustBounds();
      Repaint();
      return;
    case CM_MOUSEENTER:
      if (!IsDesigning()) {
        mouseInside_ = true;
        if (flyByEnabled_) {
          savedFontColor_ = Font()->Color();
          Font()->SetColor(flyByColor_);
        }
      }
      TLabel::Dispatch(m);
      return;
    case CM_MOUSELEAVE:
      if (!IsDesigning()) {
        mouseInside_ = false;
        if (flyByEnabled_) Font()->SetColor(savedFontColor_);
      }
      TLabel::Dispatch(m);
      return;
    case CM_PARENTCOLORCHANGED:
      if (initialisingColor_) return;
      TLabel::Dispatch(m);
      return;
    default: TLabel::Dispatch(m);
  }
}

// --- Geometry ------------------------------------------------------------------------------

void TFmLabel::ShrinkRectByFrame(TRect& r, bool includeBorderWidth) {
  if (includeBorderWidth) r = ShrinkSides(r, sdAllSides, borderWidth_);
  const int frames = FrameStyleWidth(borderOuter_, bevelWidth_) + FrameStyleWidth(borderInner_, bevelWidth_);
  r = ShrinkSides(r, borderSides_, frames);
}

void TFmLabel::GrowRectByFrame(TRect& r) {
  const int perSide =
      FrameStyleWidth(borderOuter_, bevelWidth_) + borderWidth_ + FrameStyleWidth(borderInner_, bevelWidth_);
  if (borderSides_ & sdLeft) r.Right += perSide;
  if (borderSides_ & sdRight) r.Right += perSide;
  if (borderSides_ & sdTop) r.Bottom += perSide;
  if (borderSides_ & sdBottom) r.Bottom += perSide;
  r.Right += 2 * textMargin_;
  r.Bottom += 2 * textMargin_;
  if (textStyle_ == tsShadow && rotation_ == roNone) {
    r.Right += shadowDepth_;
    r.Bottom += shadowDepth_;
  }
  if (rotation_ == roFlat && angle_ != 0 && angle_ != 180) {
    if (textStyle_ == tsShadow) {
      r.Right += shadowDepth_ / 2;
      r.Bottom += shadowDepth_ / 2;
    }
    // The bounding box of the rotated text rectangle.
    double phi = (angle_ % 90) * std::numbers::pi / 180;
    if (angle_ == 90 || angle_ == 270) phi += std::numbers::pi / 2;
    const int w = r.Width(), h = r.Height();
    r.Right = r.Left + int(std::nearbyint(std::sin(phi) * h + std::cos(phi) * w));
    r.Bottom = r.Top + int(std::nearbyint(std::sin(phi) * w + std::cos(phi) * h));
  }
}

UINT TFmLabel::DrawFlags() const {
  UINT flags = AlignmentFlag(Alignment()) | DT_EXPANDTABS;
  if (WordWrap()) flags |= DT_WORDBREAK;
  if (!ShowAccelChar()) flags |= DT_NOPREFIX;
  return flags | CondenseFlag(condenseCaption_);
}

void TFmLabel::AdjustBounds() {
  if (!autoSize_ || (ComponentState() & csReading)) return;
  TRect r = ClientRect();
  ShrinkRectByFrame(r, true);
  r = TRect(0, 0, r.Width(), r.Height());
  const String text = Caption().empty() ? String(" ") : Caption();
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  RECT rc = r;
  UINT flags = DT_CALCRECT | DT_EXPANDTABS | CondenseFlag(condenseCaption_);
  if (WordWrap()) flags |= DT_WORDBREAK;
  if (!ShowAccelChar()) flags |= DT_NOPREFIX;
  DrawTextA(dc, text.c_str(), -1, &rc, flags);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  r = TRect(rc);
  GrowRectByFrame(r);
  int left = Left();
  if (Alignment() == taRightJustify) left = Left() + Width() - r.Width();
  SetBounds(left, Top(), r.Width(), r.Height());
}

// --- Painting ---------------------------------------------------------------------------------

void TFmLabel::Paint() {
  TCanvas* c = Canvas();
  TCanvasFrameSurface surface(c);
  TOuterInnerFrames f;
  f.BorderOuter = borderOuter_;
  f.BorderInner = borderInner_;
  f.BorderWidth = borderWidth_;
  f.BorderSides = borderSides_;
  f.BevelWidth = bevelWidth_;
  f.BorderColor = borderColor_;
  f.BorderHighlight = borderHighlight_;
  f.BorderShadow = borderShadow_;
  f.FlatColor = flatColor_;
  f.FlatColorAdjustment = flatColorAdjustment_;
  f.Color = Color();
  f.ParentColor = Parent() ? Parent()->Color() : Color();
  f.Transparent = Transparent();
  const TRect inside = PaintOuterInnerFrames(surface, TRect(0, 0, Width(), Height()), f);
  if (!Transparent()) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(inside);
  }
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(Font());
  if (rotation_ == roCurve) return PaintArcText(c);
  TRect r = ClientRect();
  ShrinkRectByFrame(r, true);
  r = TRect(r.Left + textMargin_, r.Top + textMargin_, r.Right - textMargin_, r.Bottom - textMargin_);
  if (rotation_ == roFlat) PaintFlatRotatedText(c, r);
  else PaintText(c, r);
}

// The raised, recessed and shadow copies, then the text itself; `draw`
// puts the text at an offset in a colour.
void TFmLabel::DrawStyledText(const std::function<void(int, int, TColor)>& draw) {
  if (!Enabled()) return draw(0, 0, clGrayText);
  if (textStyle_ == tsRaised || textStyle_ == tsRecessed) {
    const bool raised = textStyle_ == tsRaised;
    if (!raised || !lightTextStyle_) draw(1, 1, raised ? shadowColor_ : highlightColor_);
    if (raised || !lightTextStyle_) draw(-1, -1, raised ? highlightColor_ : shadowColor_);
  } else if (textStyle_ == tsShadow) {
    draw(shadowDepth_, shadowDepth_, shadowColor_);
  }
  draw(0, 0, currentColor_);
}

void TFmLabel::PaintText(TCanvas* c, TRect r) {
  const String text = Caption();
  const UINT flags = DrawFlags();
  HDC dc = c->Handle();
  if (Layout() != tlTop) {
    RECT calc = r;
    DrawTextA(dc, text.c_str(), -1, &calc, flags | DT_CALCRECT);
    const int spare = r.Height() - (calc.bottom - calc.top);
    r.Top += Layout() == tlBottom ? spare : spare / 2;
    r.Bottom += Layout() == tlBottom ? spare : spare / 2;
  }
  if (textStyle_ == tsShadow) {
    if (Alignment() == taRightJustify) r.Left -= shadowDepth_, r.Right -= shadowDepth_;
    if (Layout() == tlBottom) r.Top -= shadowDepth_, r.Bottom -= shadowDepth_;
  }
  SetBkMode(dc, TRANSPARENT);
  DrawStyledText([&](int dx, int dy, TColor color) {
    ::SetTextColor(dc, ColorToRGB(color));
    RECT rc{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
    DrawTextA(dc, text.c_str(), -1, &rc, flags);
  });
}

void TFmLabel::PaintFlatRotatedText(TCanvas* c, const TRect& r) {
  const String text = Caption();
  HFONT rotated = CreateRotatedFont(Font(), angle_);
  HDC dc = c->Handle();
  HGDIOBJ old = SelectObject(dc, rotated);
  SIZE size{}, pp{};
  GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
  GetTextExtentPoint32A(dc, "Pp", 2, &pp);
  const int e = textStyle_ == tsShadow ? shadowDepth_ / 2 : 0;
  const int w = size.cx, f = w + e, hh = pp.cy + e;
  const double a = angle_ * std::numbers::pi / 180 + std::numbers::pi / 2;
  const double q = pp.cy * 0.25;
  const int cx = Width() / 2, cy = Height() / 2;
  const TAlignment align = Alignment();
  int x, y;
  UINT textAlign = TA_BASELINE;
  switch (angle_) {
    case 0:
      textAlign = TA_TOP | (align == taCenter ? TA_CENTER : TA_LEFT);
      x = align == taCenter ? cx : align == taRightJustify ? r.Right - w - 2 * e : r.Left + e;
      y = cy - hh / 2;
      break;
    case 90:
      x = cx - int(std::nearbyint(std::cos(a) * q));
      y = align == taCenter ? r.Bottom - (r.Bottom - f) / 2 : align == taRightJustify ? r.Top + e + f : r.Bottom - e;
      break;
    case 180:
      x = align == taCenter ? r.Right - (r.Right - f) / 2 : align == taRightJustify ? r.Left + f : r.Right - e;
      y = cy - hh / 4;
      break;
    case 270:
      x = cx - int(std::nearbyint(std::cos(a) * q));
      y = align == taCenter ? (r.Bottom - f) / 2 : align == taRightJustify ? r.Bottom - f - e : r.Top + e;
      break;
    default:
      x = cx - int(std::nearbyint(std::cos(a) * q));
      y = cy + int(std::nearbyint(std::sin(a) * q));
      textAlign = TA_BASELINE | TA_CENTER;
      break;
  }
  SetTextAlign(dc, textAlign);
  SetBkMode(dc, TRANSPARENT);
  // The shadow style draws the text up and left of its shadow.
  const int shift = textStyle_ == tsShadow && Enabled() ? -e : 0;
  DrawStyledText([&](int dx, int dy, TColor color) {
    ::SetTextColor(dc, ColorToRGB(color));
    const int ox = dx == 0 && dy == 0 ? shift : (textStyle_ == tsShadow ? e : dx);
    const int oy = dx == 0 && dy == 0 ? shift : (textStyle_ == tsShadow ? e : dy);
    RECT rc = TRect(0, 0, Width(), Height());
    ExtTextOutA(dc, x + ox, y + oy, ETO_CLIPPED, &rc, text.data(), UINT(text.size()), nullptr);
  });
  SetTextAlign(dc, TA_TOP | TA_LEFT);
  SelectObject(dc, old);
  DeleteObject(rotated);
}

void TFmLabel::PaintArcText(TCanvas* c) {
  const int bw = borderWidth_, w = Width(), h = Height();
  int cx, cy, rx, ry;
  switch (centerPoint_) {
    case cpUpperLeft: cx = bw, cy = bw; break;
    case cpUpperCenter: cx = w / 2, cy = bw; break;
    case cpUpperRight: cx = w, cy = bw; break;
    case cpLeftCenter: cx = bw, cy = h / 2; break;
    case cpRightCenter: cx = w - bw, cy = h / 2; break;
    case cpLowerLeft: cx = bw, cy = h - bw; break;
    case cpLowerCenter: cx = w / 2, cy = h - bw; break;
    case cpLowerRight: cx = w - bw, cy = h - bw; break;
    default: cx = w / 2, cy = h / 2; break;
  }
  switch (centerPoint_) {
    case cpUpperCenter:
    case cpLowerCenter: rx = w / 2 - 2 * bw, ry = h - 2 * bw; break;
    case cpLeftCenter:
    case cpRightCenter: rx = w - 2 * bw, ry = h / 2 - 2 * bw; break;
    case cpCenter: rx = w / 2 - 2 * bw, ry = h / 2 - 2 * bw; break;
    default: rx = w - 2 * bw, ry = h - 2 * bw; break;
  }
  // A label too small for any radius has no arc to write on.
  if (rx <= 0 || ry <= 0) return;
  HDC dc = c->Handle();
  const String text = Caption();
  const int yy = c->TextHeight("Yy");
  const int step = c->TextWidth("w") + 2;
  SetTextAlign(dc, TA_BASELINE | TA_CENTER);
  SetBkMode(dc, TRANSPARENT);
  double theta = angle_ * std::numbers::pi / 180;
  for (char ch : text) {
    const int x = cx - int(std::nearbyint(std::sin(theta) * (rx - yy)));
    const int y = cy - int(std::nearbyint(std::cos(theta) * (ry - yy)));
    TFont rotated;
    rotated.Assign(Font());
    rotated.SetOrientation(int(std::nearbyint(theta * 1800 / std::numbers::pi)));
    HGDIOBJ old = SelectObject(dc, rotated.Handle());
    auto put = [&](int dx, int dy, TColor color) {
      ::SetTextColor(dc, ColorToRGB(color));
      TextOutA(dc, x + dx, y + dy, &ch, 1);
    };
    if (!Enabled()) {
      put(1, 1, clBtnHighlight);
      put(0, 0, clBtnShadow);
    } else {
      DrawStyledText(put);
    }
    SelectObject(dc, old);
    theta -= double(step) / rx;
  }
  SetTextAlign(dc, TA_TOP | TA_LEFT);
}

// --- URL label ---------------------------------------------------------------------------------

namespace {

bool ShellOpen(const String& target) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = "Open";
  info.lpFile = target.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&info)) return false;
  if (info.hProcess) CloseHandle(info.hProcess);
  return true;
}

void RunCommandLine(const String& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  String line = commandLine;
  if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

// The "Open with" dialog's command line, with the program's full path: a
// bare name would be looked up in the current folder first.
String OpenWithCommandLine() {
  char folder[MAX_PATH];
  const UINT n = GetSystemDirectoryA(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return String();
  return "\"" + String(folder) + "\\RunDLL32.exe\" Shell32.dll,OpenAs_RunDLL *.htm";
}

HCURSOR HandCursor() {
  if (IsWindowsVersion(0) || IsWindowsVersion(1)) return LoadCursorA(GetModuleHandleA(nullptr), "FMCOMMON_HANDCURSOR");
  return LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
}

}  // namespace

TFmShellSeam& FmShell() {
  static TFmShellSeam seam{ShellOpen, RunCommandLine};
  return seam;
}

TFmURLLabel::TFmURLLabel(TComponent* owner) : TFmLabel(owner) {
  if (Screen) Screen->SetCursors(crFmHandPoint, HandCursor());
  SetCursor(crFmHandPoint);
  SetTextStyle(tsNormal);
  Font()->SetColor(clHighlight);
  Font()->SetStyle(Font()->Style() | fsUnderline);
}

void TFmURLLabel::Click() {
  TFmLabel::Click();
  const String target = Trim(url_).empty() ? Caption() : url_;
  if (Trim(target).empty()) return;
  if (FmShell().Open(target)) {
    SetVisited(true);
    return;
  }
  if (UpperCase(ExtractFileExt(target)) != ".HTM") return;
  const String commandLine = OpenWithCommandLine();
  if (!commandLine.empty()) FmShell().Run(commandLine);
}

void TFmURLLabel::SetVisited(bool v) {
  visited_ = v;
  UpdateURLColor();
  Invalidate();
}

void TFmURLLabel::SetVisitedColor(TColor v) {
  visitedColor_ = v;
  UpdateURLColor();
  Invalidate();
}

void TFmURLLabel::SetUnvisitedColor(TColor v) {
  unvisitedColor_ = v;
  UpdateURLColor();
  Invalidate();
}

void TFmURLLabel::UpdateURLColor() { Font()->SetColor(visited_ ? visitedColor_ : unvisitedColor_); }
