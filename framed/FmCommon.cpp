#include "framed/FmCommon.h"

#include <uxtheme.h>

#include <memory>

#include "platform/ui/Registry.h"

uint8_t XPColorScheme = 0;
bool FullColorDisplay = true;

const TColor XPSchemeColors[3][3] = {
    {RGBColor(227, 239, 255), RGBColor(153, 187, 234), RGBColor(87, 127, 191)},
    {RGBColor(255, 255, 237), RGBColor(184, 199, 146), RGBColor(127, 161, 119)},
    {RGBColor(249, 249, 255), RGBColor(189, 188, 208), RGBColor(159, 159, 177)},
};

namespace {

uint32_t ResolveSystemColor(TColor color) { return ColorToRGB(color); }

// Module start: system colours resolve through the platform, then the
// scheme and the display depth are read once.
struct TModuleStart {
  TModuleStart() {
    SetSystemColorResolver(ResolveSystemColor);
    FullColorDisplay = DetectFullColorDisplay();
    XPColorScheme = ReadXPColorScheme();
  }
} moduleStart;

}  // namespace

// --- Frame surface ------------------------------------------------------------------

TCanvasFrameSurface::TCanvasFrameSurface(TCanvas* canvas) : canvas_(canvas) { canvas_->Pen()->SetWidth(1); }

void TCanvasFrameSurface::Line(int x0, int y0, int x1, int y1, TColor color) {
  canvas_->Pen()->SetStyle(psSolid);
  canvas_->Pen()->SetColor(color);
  canvas_->MoveTo(x0, y0);
  canvas_->LineTo(x1, y1);
}

void TCanvasFrameSurface::Pixel(int x, int y, TColor color) { canvas_->SetPixel(x, y, color); }

// --- Scheme and theme colours ---------------------------------------------------------

uint8_t ReadXPColorScheme() {
  TRegIniFile ini("\\Software\\Microsoft\\Windows\\CurrentVersion", KEY_READ);
  const String name = UpperCase(ini.ReadString("ThemeManager", "ColorName", ""));
  if (name == "HOMESTEAD") return 1;
  if (name == "METALLIC") return 2;
  return 0;
}

bool DetectFullColorDisplay() {
  HDC dc = GetDC(nullptr);
  const bool full = GetDeviceCaps(dc, NUMCOLORS) == -1;
  ReleaseDC(nullptr, dc);
  return full;
}

namespace fm_themes {
namespace {

// The few entry points of the visual-style library that the framed
// controls use, bound from the system folder on first use.
struct TThemeLibrary {
  HMODULE module = nullptr;
  decltype(&::IsThemeActive) IsThemeActive = nullptr;
  decltype(&::OpenThemeData) OpenThemeData = nullptr;
  decltype(&::CloseThemeData) CloseThemeData = nullptr;
  decltype(&::DrawThemeBackground) DrawThemeBackground = nullptr;
  decltype(&::GetThemeColor) GetThemeColor = nullptr;

  TThemeLibrary() {
    char path[MAX_PATH];
    const UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH - 16) return;
    module = LoadLibraryA((String(path) + "\\uxtheme.dll").c_str());
    if (!module) return;
    Bind(IsThemeActive, "IsThemeActive");
    Bind(OpenThemeData, "OpenThemeData");
    Bind(CloseThemeData, "CloseThemeData");
    Bind(DrawThemeBackground, "DrawThemeBackground");
    Bind(GetThemeColor, "GetThemeColor");
  }
  template <typename F>
  void Bind(F& f, const char* name) {
    f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }
  bool Complete() const {
    return IsThemeActive && OpenThemeData && CloseThemeData && DrawThemeBackground && GetThemeColor;
  }
};

TThemeLibrary& Library() {
  static TThemeLibrary library;
  return library;
}

// Opens the theme data of a class for the call's length.
class TThemeData {
 public:
  explicit TThemeData(const wchar_t* themeClass) {
    if (Enabled()) theme_ = Library().OpenThemeData(nullptr, themeClass);
  }
  ~TThemeData() {
    if (theme_) Library().CloseThemeData(theme_);
  }
  HTHEME Get() const { return theme_; }

 private:
  HTHEME theme_ = nullptr;
};

}  // namespace

bool Enabled() {
  TThemeLibrary& lib = Library();
  return lib.Complete() && lib.IsThemeActive();
}

bool DrawPart(HDC dc, const wchar_t* themeClass, int part, int state, const TRect& r) {
  TThemeData theme(themeClass);
  if (!theme.Get()) return false;
  RECT rc = r;
  return SUCCEEDED(Library().DrawThemeBackground(theme.Get(), dc, part, state, &rc, nullptr));
}

bool PartColor(const wchar_t* themeClass, int part, int state, int property, TColor& color) {
  TThemeData theme(themeClass);
  if (!theme.Get()) return false;
  COLORREF c = 0;
  if (FAILED(Library().GetThemeColor(theme.Get(), part, state, property, &c))) return false;
  color = TColor(c);
  return true;
}

}  // namespace fm_themes

TColor GetThemePartColor(int kind) {
  struct TPart {
    const wchar_t* themeClass;
    int part, state, property;
  };
  static const TPart parts[] = {
      {L"EDIT", 0, 2, 3801},        {L"EXPLORERBAR", 5, 1, 3803}, {L"EXPLORERBAR", 9, 1, 3803},
      {L"EXPLORERBAR", 5, 1, 3802}, {L"EXPLORERBAR", 0, 2, 3810}, {L"EXPLORERBAR", 12, 1, 3802},
      {L"BUTTON", 4, 1, 3803},      {L"SPIN", 0, 2, 3801},
  };
  if (kind < 0 || kind > 7) return clWhite;
  if (!fm_themes::Enabled()) return clBtnFace;
  TColor color = clBtnFace;
  const TPart& p = parts[kind];
  fm_themes::PartColor(p.themeClass, p.part, p.state, p.property, color);
  return color;
}

namespace {

bool OfficeScheme(TFmGradientColorStyle style) { return style == gcsMSOffice && fm_themes::Enabled(); }

}  // namespace

void GetSchemeGradientColors(TFmGradientColorStyle style, TColor& startColor, TColor& stopColor) {
  if (OfficeScheme(style)) {
    startColor = XPSchemeColors[XPColorScheme][0];
    stopColor = XPSchemeColors[XPColorScheme][1];
  } else {
    startColor = clWindow;
    stopColor = DarkenColor(clBtnFace, 10);
  }
}

TColor GetSchemeFrameColor(TFmGradientColorStyle style) {
  return OfficeScheme(style) ? XPSchemeColors[XPColorScheme][2] : LightenColor(clBtnShadow, 30);
}

void GetSchemeGroupColors(TFmGradientColorStyle style, TColor& frameColor, TColor& fillColor, TColor& lineColor) {
  if (OfficeScheme(style)) {
    frameColor = lineColor = XPSchemeColors[XPColorScheme][1];
    fillColor = XPSchemeColors[XPColorScheme][0];
  } else {
    frameColor = DarkenColor(clBtnFace, 20);
    fillColor = clWindow;
    lineColor = DarkenColor(clBtnFace, 40);
  }
}

// --- Drop-down arrow ---------------------------------------------------------------------

namespace {

// The arrow colour of the themed combo box: a pixel of its button.
TColor ThemedArrowColor() {
  TBitmap probe;
  probe.SetSize(17, 21);
  TColor color = cl3DDkShadow;
  if (fm_themes::DrawPart(probe.Canvas()->Handle(), L"COMBOBOX", 1, 1, TRect(0, 0, 16, 20)))
    color = probe.Canvas()->Pixel(8, 10);
  return ColorsAreClose(color, clWindow) ? cl3DDkShadow : color;
}

}  // namespace

void PaintDropDownArrow(TCanvas* canvas, const TRect& r, int arrowStyle, bool enabled) {
  if (IsWindowsAtLeast(7)) arrowStyle = 2;
  const TColor oldBrush = canvas->Brush()->Color();
  const TPenStyle oldPen = canvas->Pen()->Style();
  TColor color = clBtnShadow;
  if (enabled && arrowStyle == 1) color = ThemedArrowColor();
  else if (enabled) color = ColorsAreClose(oldBrush, clBlack) ? cl3DDkShadow : clBlack;
  canvas->Brush()->SetColor(color);
  canvas->Pen()->SetStyle(psClear);
  const int cx = r.Left + r.Width() / 2;
  const int cy = r.Top + r.Height() / 2 - (r.Height() % 2 == 0 ? 1 : 0);
  if (arrowStyle == 0) {
    const TPoint p[] = {{cx, cy + 2}, {cx - 3, cy - 2}, {cx + 4, cy - 2}};
    canvas->Polygon(p, 3);
  } else if (arrowStyle == 1) {
    const TPoint p[] = {{cx, cy + 4}, {cx - 4, cy - 1}, {cx - 3, cy - 3}, {cx, cy + 1}, {cx + 3, cy - 3}, {cx + 5, cy - 1}};
    canvas->Polygon(p, 6);
  } else {
    const TPoint p[] = {{cx + 1, cy + 3}, {cx - 2, cy - 1}, {cx + 5, cy - 1}};
    canvas->Polygon(p, 3);
  }
  canvas->Pen()->SetStyle(oldPen);
  canvas->Brush()->SetColor(oldBrush);
}

// --- Fonts and text ---------------------------------------------------------------------

HFONT CreateRotatedFont(TFont* font, int angleDegrees) {
  LOGFONTA lf{};
  lf.lfHeight = font->Height();
  lf.lfEscapement = angleDegrees * 10;
  lf.lfWeight = (font->Style() & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (font->Style() & fsItalic) != 0;
  lf.lfUnderline = (font->Style() & fsUnderline) != 0;
  lf.lfStrikeOut = (font->Style() & fsStrikeOut) != 0;
  lf.lfCharSet = font->Charset();
  lf.lfPitchAndFamily = font->Pitch() == fpVariable ? VARIABLE_PITCH : font->Pitch() == fpFixed ? FIXED_PITCH : 0;
  lstrcpynA(lf.lfFaceName, font->Name().c_str(), LF_FACESIZE);
  return CreateFontIndirectA(&lf);
}

bool IsTrueTypeFont(TFont* font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->Handle());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return (tm.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

int DrawTextIn(TCanvas* canvas, const String& text, TRect& r, UINT format) {
  RECT rc = r;
  const int height = DrawTextA(canvas->Handle(), text.c_str(), -1, &rc, format);
  r = TRect(rc);
  return height;
}

void DrawTextCentered(TCanvas* canvas, const String& text, const TRect& r) {
  TRect copy = r;
  DrawTextIn(canvas, text, copy, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void RedrawFrameIfVisible(HWND window, const TRect& r) {
  HDC dc = GetDC(window);
  RECT clip;
  const int kind = GetClipBox(dc, &clip);
  ReleaseDC(window, dc);
  if (kind == NULLREGION || kind == ERROR) return;
  RECT rc = r;
  RedrawWindow(window, &rc, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

TRect GetMonitorWorkRect(const TMonitor& monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(monitor.Handle, &info);
  return TRect(info.rcWork);
}

TRect GetMonitorRect(const TMonitor& monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(monitor.Handle, &info);
  return TRect(info.rcMonitor);
}

TMonitor FindMonitorAt(TPoint p) {
  for (const TMonitor& m : Screen->Monitors())
    if (GetMonitorRect(m).Contains(p)) return m;
  return TMonitor{};
}

// --- Versions ---------------------------------------------------------------------------

namespace {

struct TVersion {
  int platform, major, minor;
};

TVersion WindowsVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExA(&info);
  return {info.dwPlatformId == VER_PLATFORM_WIN32_NT ? 2 : 1, int(info.dwMajorVersion), int(info.dwMinorVersion)};
}

}  // namespace

bool IsWindowsVersion(int code) {
  const TVersion v = WindowsVersion();
  const bool nt = v.platform == 2, w9x = v.platform == 1;
  switch (code) {
    case 0: return w9x && v.major <= 4 && v.minor == 0;
    case 1: return nt && v.major <= 4;
    case 2: return w9x && v.major == 4 && v.minor == 10;
    case 3: return w9x && v.major == 4 && v.minor == 90;
    case 4: return nt && v.major == 5 && v.minor == 0;
    case 5: return nt && v.major == 5 && v.minor == 1;
    case 6: return nt && v.major == 5 && v.minor == 2;
    case 7: return nt && v.major == 6 && v.minor == 0;
    case 8: return nt && v.major == 6 && v.minor == 1;
    default: return false;
  }
}

bool IsWindowsAtLeast(int code) {
  const TVersion v = WindowsVersion();
  const bool nt = v.platform == 2;
  switch (code) {
    case 0: return v.major >= 4;
    case 1: return nt && v.major >= 4;
    case 2: return v.major > 4 || (v.major == 4 && v.minor >= 10);
    case 3: return v.major > 4 || (v.major == 4 && v.minor >= 90);
    case 4: return nt && v.major > 4;
    case 5: return nt && ((v.major == 5 && v.minor > 0) || v.major > 5);
    case 6: return nt && ((v.major == 5 && v.minor > 1) || v.major > 5);
    case 7: return nt && v.major > 5;
    case 8: return nt && (v.major > 6 || (v.major == 6 && v.minor >= 1));
    default: return false;
  }
}

UINT AlignmentFlag(TAlignment alignment) {
  return alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
}

UINT CondenseFlag(TFmCondenseCaption condense) {
  return condense == ccAtEnd ? DT_END_ELLIPSIS : condense == ccWithinPath ? DT_PATH_ELLIPSIS : 0;
}
