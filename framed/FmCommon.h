// The drawing vocabulary that every framed control shares: the colour
// arithmetic and frame painters (portable, FmCommonColors and
// FmCommonFrames) on a canvas, the Windows XP colour scheme, theme colours
// and parts, rotated fonts, text helpers and operating-system tests.
#pragma once

#include <cstdint>

#include "framed/FmCommonColors.h"
#include "framed/FmCommonFrames.h"
#include "framed/FmCommonTypes.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"

enum TFmCondenseCaption { ccNone, ccAtEnd, ccWithinPath };

// A frame surface that draws with the canvas's pen; the pen width is 1
// afterwards.
class TCanvasFrameSurface : public TFrameSurface {
 public:
  explicit TCanvasFrameSurface(TCanvas* canvas);
  void Line(int x0, int y0, int x1, int y1, TColor color) override;
  void Pixel(int x, int y, TColor color) override;

 private:
  TCanvas* canvas_;
};

// The scheme (0 blue, 1 olive, 2 silver) and whether the screen has full
// colour, read once when the module starts; the panel re-reads the scheme
// when the theme changes.
extern uint8_t XPColorScheme;
extern bool FullColorDisplay;
// colours 0 (light), 1 (medium) and 2 (dark) of each scheme.
extern const TColor XPSchemeColors[3][3];

uint8_t ReadXPColorScheme();
bool DetectFullColorDisplay();
TColor GetThemePartColor(int kind);
void GetSchemeGradientColors(TFmGradientColorStyle style, TColor& startColor, TColor& stopColor);
TColor GetSchemeFrameColor(TFmGradientColorStyle style);
void GetSchemeGroupColors(TFmGradientColorStyle style, TColor& frameColor, TColor& fillColor, TColor& lineColor);

// The visual-style library, bound when first asked for (nothing when the
// system has none). Enabled: the library is there and a theme is active.
namespace fm_themes {
bool Enabled();
// Draws part/state of the theme class over r; false when it cannot.
bool DrawPart(HDC dc, const wchar_t* themeClass, int part, int state, const TRect& r);
bool PartColor(const wchar_t* themeClass, int part, int state, int property, TColor& color);
}  // namespace fm_themes

// The arrow glyph of the edits' drop-down buttons (style 0..2).
void PaintDropDownArrow(TCanvas* canvas, const TRect& r, int arrowStyle, bool enabled);

HFONT CreateRotatedFont(TFont* font, int angleDegrees);
bool IsTrueTypeFont(TFont* font);
// DrawText of the whole text on the canvas's DC; returns the text height.
int DrawTextIn(TCanvas* canvas, const String& text, TRect& r, UINT format);
void DrawTextCentered(TCanvas* canvas, const String& text, const TRect& r);

void RedrawFrameIfVisible(HWND window, const TRect& r);
TRect GetMonitorWorkRect(const TMonitor& monitor);
TRect GetMonitorRect(const TMonitor& monitor);
// The first monitor whose rectangle holds the point; Handle nullptr if none.
TMonitor FindMonitorAt(TPoint p);

// Codes: 0 Windows 95, 1 NT 4, 2 98, 3 ME, 4 2000, 5 XP, 6 Server 2003,
// 7 Vista, 8 Windows 7.
bool IsWindowsVersion(int code);
bool IsWindowsAtLeast(int code);

// DrawText flags of the label and panel settings.
UINT AlignmentFlag(TAlignment alignment);
UINT CondenseFlag(TFmCondenseCaption condense);
