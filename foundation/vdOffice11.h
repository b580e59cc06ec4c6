// Office 2003 colour schemes: which colour variant of the XP theme runs
// (blue, olive or silver), the process-wide colours taken from it (fixed
// tables for a known variant, formulas over the system colours otherwise),
// the colour arithmetic, the two-colour gradient and the grip dots.
//
// The detection, the colour computation and the layouts of gradient bands
// and grip dots are pure functions of their inputs and build everywhere; the
// Windows half asks the system for those inputs, keeps the grip brushes and
// the expand-box bitmaps, and draws.
//
// Colours here are plain 0x00BBGGRR values, never system-colour references.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"

using TvdOffice11Scheme = uint8_t;
enum : TvdOffice11Scheme { vdo11None = 0, vdo11Blue = 1, vdo11Olive = 2, vdo11Silver = 3 };

// The same 32-bit value as a colour of the canvas.
using TvdRGBColor = int32_t;

// --- Detection ---------------------------------------------------------------------------

// The scheme for what the system reports: whether visual styles are
// available, the current theme's file and colour names (their query having
// succeeded) and the Windows major version. Before version 6 only
// "LUNA.MSSTYLES" counts; from 6 on any theme file does.
TvdOffice11Scheme vdOffice11SchemeOf(bool stylesAvailable, std::u16string_view themeFile,
                                     std::u16string_view colorName, uint32_t majorVersion);

// --- Colour arithmetic ---------------------------------------------------------------------

// Maps a colour to the nearest colour the screen shows (identity on a
// true-colour screen and off Windows).
using TvdNearestColor = std::function<TvdRGBColor(TvdRGBColor)>;

// a * b / c rounded half away from zero; -1 when c is 0 (the system's
// MulDiv, which the colour formulas are defined with).
int vdMulDiv(int a, int b, int c);
// Per channel min(255, c1 * percent / 100 + c2 * (100 - percent) / 100).
TvdRGBColor vdMixRGB(TvdRGBColor color1, TvdRGBColor color2, int percent);
// Signed percentages of face, highlight and window, each channel clamped to
// 0..255; a pure black or pure white face gives the highlight itself.
TvdRGBColor vdBlendRGB(TvdRGBColor face, TvdRGBColor highlight, TvdRGBColor window, int facePercent,
                       int highlightPercent, int windowPercent);

// --- Colours ---------------------------------------------------------------------------

// The system colours (RGB values at the time of computation) the fallback
// formulas read.
struct TvdOffice11SystemColors {
  TvdRGBColor BtnFace = 0, BtnShadow = 0, BtnHighlight = 0, BtnText = 0, Window = 0, Highlight = 0, GrayText = 0;
};

struct TvdOffice11Colors {
  TvdRGBColor GradientBegin = 0, GradientEnd = 0, Face = 0, LightFace = 0, GripDark = 0, GripLight = 0,
              DarkLine = 0, LightLine = 0, Shadow = 0, LightText = 0, Border = 0, SelectionFrame = 0, Hot1 = 0,
              Hot2 = 0, Pressed1 = 0, Pressed2 = 0, Glyph = 0, DisabledGlyph = 0, GroupRow = 0, SelectedDay = 0,
              SchedulerBackground = 0, SchedulerFrame = 0, GroupRowContent = 0, GroupRowText = 0,
              GroupRowSeparator = 0, HeaderShade = 0;
  friend bool operator==(const TvdOffice11Colors&, const TvdOffice11Colors&) = default;
};

// The scheme's table when themed (the flag is set only for schemes 1-3),
// else the fallback formulas over the system colours. Mixes and the hot and
// pressed blends go through nearest.
TvdOffice11Colors vdOffice11ColorsFor(TvdOffice11Scheme scheme, bool themed, const TvdOffice11SystemColors& system,
                                      const TvdNearestColor& nearest);

// The process-wide state: the stored scheme, the themed flag and the colours
// of the last computation. vdOffice11Store sets all three.
void vdOffice11Store(TvdOffice11Scheme scheme, bool themed, const TvdOffice11Colors& colors);
TvdOffice11Scheme vdCurrentOffice11Scheme();
bool vdIsOffice11Themed();
const TvdOffice11Colors& vdOffice11Colors();

extern const TvdRGBColor& vdOffice11GradientBeginColor;
extern const TvdRGBColor& vdOffice11GradientEndColor;
extern const TvdRGBColor& vdOffice11FaceColor;
extern const TvdRGBColor& vdOffice11LightFaceColor;
extern const TvdRGBColor& vdOffice11GripDarkColor;
extern const TvdRGBColor& vdOffice11GripLightColor;
extern const TvdRGBColor& vdOffice11DarkLineColor;
extern const TvdRGBColor& vdOffice11LightLineColor;
extern const TvdRGBColor& vdOffice11ShadowColor;
extern const TvdRGBColor& vdOffice11LightTextColor;
extern const TvdRGBColor& vdOffice11BorderColor;
extern const TvdRGBColor& vdOffice11SelectionFrameColor;
extern const TvdRGBColor& vdOffice11HotColor1;
extern const TvdRGBColor& vdOffice11HotColor2;
extern const TvdRGBColor& vdOffice11PressedColor1;
extern const TvdRGBColor& vdOffice11PressedColor2;
extern const TvdRGBColor& vdOffice11GlyphColor;
extern const TvdRGBColor& vdOffice11DisabledGlyphColor;
extern const TvdRGBColor& vdOffice11GroupRowColor;
extern const TvdRGBColor& vdOffice11SelectedDayColor;
extern const TvdRGBColor& vdOffice11SchedulerBackgroundColor;
extern const TvdRGBColor& vdOffice11SchedulerFrameColor;
extern const TvdRGBColor& vdOffice11GroupRowContentColor;
extern const TvdRGBColor& vdOffice11GroupRowTextColor;
extern const TvdRGBColor& vdOffice11GroupRowSeparatorColor;
extern const TvdRGBColor& vdOffice11HeaderShadeColor;

// RGB(158, 174, 191) and RGB(46, 70, 95): the corners of the expand box.
constexpr TvdRGBColor vdOffice11ExpandBoxLightCorner = 0xBFAE9E;
constexpr TvdRGBColor vdOffice11ExpandBoxDarkCorner = 0x5F462E;

// --- Layouts -----------------------------------------------------------------------------

// One band of the software gradient.
struct TvdGradientBand {
  TRect Rect;
  TvdRGBColor Color = 0;
  friend bool operator==(const TvdGradientBand&, const TvdGradientBand&) = default;
};
// The software gradient over rect: at most 256 bands along the axis (x when
// horizontal), the first in color1 and the last in color2; empty bands are
// left out.
constexpr int vdMaxGradientBands = 256;
std::vector<TvdGradientBand> vdGradientBands(const TRect& rect, TvdRGBColor color1, TvdRGBColor color2,
                                             bool horizontal);

// The top-left corners of the 4 x 4 grip-dot cells in rect: a column
// stepping down when horizontal (a grip across a horizontal bar), else a
// row stepping right. At least one cell.
std::vector<TPoint> vdOffice11GripDotCells(const TRect& rect, bool horizontal);
// The cells of the size grip in the bottom-right corner of rect: rows of
// three, two and one, right-aligned.
std::vector<TPoint> vdOffice11SizeGripCells(const TRect& rect);

#ifdef _WIN32
// --- The system side ------------------------------------------------------------------------
#include <windows.h>

// Asks the theme service: the scheme (0 when visual styles are off or the
// query fails).
TvdOffice11Scheme vdDetectOffice11Scheme();
// Detects the scheme, sets the themed flag and fills every colour.
void vdComputeOffice11Colors();
// The first reference computes the colours and creates the grip brushes and
// the expand-box bitmaps; the last release frees them.
void vdAddRefOffice11Colors();
void vdReleaseOffice11Colors();
// Recomputes the colours; existing resources are made again in them.
void vdRefreshOffice11Colors();

// The mix and the blend of the current system colours, mapped to the
// nearest screen colour (the selected-day blend excepted, see the table).
int32_t vdMixColors(int32_t color1, int32_t color2, int percent);
int32_t vdBlendSystemColors(int facePercent, int highlightPercent, int windowPercent);
int32_t vdNearestScreenColor(int32_t color);

void vdFillRectWithColor(HDC dc, const TRect& rect, int32_t color);
// Through msimg32's GradientFill when bound, else in bands.
void vdFillRectGradient(HDC dc, const TRect& rect, int32_t color1, int32_t color2, bool horizontal);
// Missing brushes (0) are the module's grip brushes.
void vdDrawOffice11GripDots(HDC dc, const TRect& rect, bool horizontal, HBRUSH darkBrush, HBRUSH lightBrush);
// clDefault selects the module's brush.
void vdDrawOffice11SizeGrip(HDC dc, const TRect& rect, int32_t darkColor, int32_t lightColor);

// The expand-box bitmaps (11 x 11, 8 bits per pixel), 0 outside a reference.
HBITMAP vdOffice11ExpandButtonBitmap(bool expanded);
HBRUSH vdOffice11GripDarkBrush();
HBRUSH vdOffice11GripLightBrush();
// Whether msimg32's GradientFill is bound (else the bands are used).
bool vdOffice11GradientFillBound();

// The module: loads msimg32 and binds its GradientFill; finalisation frees it.
void vdOffice11Initialize();
void vdOffice11Finalize();
#endif

