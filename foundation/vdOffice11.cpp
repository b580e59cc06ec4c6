// The portable half of the Office 2003 colour schemes: detection from what
// the theme service reports, the scheme tables and the fallback formulas,
// and the layouts of the software gradient and of the grip dots.
#include "foundation/vdOffice11.h"

#include <algorithm>
#include <string>

namespace {

// The theme file whose colour variants the tables describe; later systems
// name other files but keep the colour names.
constexpr std::u16string_view kLunaThemeFile = u"LUNA.MSSTYLES";
constexpr uint32_t kAnyThemeFileFromVersion = 6;

struct TSchemeName {
  std::u16string_view name;
  TvdOffice11Scheme scheme;
};
constexpr TSchemeName kSchemeNames[] = {
    {u"NORMALCOLOR", vdo11Blue}, {u"HOMESTEAD", vdo11Olive}, {u"METALLIC", vdo11Silver}};

std::u16string UpperAscii(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out)
    if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
  return out;
}

std::u16string_view FileNameOf(std::u16string_view path) {
  const size_t slash = path.find_last_of(u"\\/:");
  return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

int Channel(TvdRGBColor color, int shift) { return int((uint32_t(color) >> shift) & 0xFF); }

TvdRGBColor FromChannels(int r, int g, int b) { return TvdRGBColor(r | g << 8 | b << 16); }

int Clamp(int value) { return std::clamp(value, 0, 255); }

// The three known variants in scheme order (1 blue, 2 olive, 3 silver). The
// header shade is a mix of the two colours given here.
struct TSchemeTable {
  TvdOffice11Colors colors;
  TvdRGBColor headerShade1, headerShade2;
};
constexpr TSchemeTable kSchemeTables[3] = {
    {{.GradientBegin = 0xFEECDD, .GradientEnd = 0xE2A981, .Face = 0xF5BE9E, .LightFace = 0xF9DAC3,
      .GripDark = 0x764127, .GripLight = 0xFFFFFF, .DarkLine = 0xCB8C6A, .LightLine = 0xFFF9F1,
      .Shadow = 0xC9662A, .LightText = 0xFFFFFF, .Border = 0x962D00, .SelectionFrame = 0x800000,
      .Hot1 = 0xCCF4FF, .Hot2 = 0x91D0FF, .Pressed1 = 0x8ED3FF, .Pressed2 = 0x4E91FE, .Glyph = 0x000000,
      .DisabledGlyph = 0x8D8D8D, .GroupRow = 0xFBDABE, .SelectedDay = 0x94E6FB, .SchedulerBackground = 0xFADAC4,
      .SchedulerFrame = 0x962D00, .GroupRowContent = 0xC9EEFD, .GroupRowText = 0xB96837,
      .GroupRowSeparator = 0xE0A47B},
     0x913500, 0xE0A47B},
    {{.GradientBegin = 0xDEF7F4, .GradientEnd = 0x91C6B7, .Face = 0xA7D9D9, .LightFace = 0xE4F0F2,
      .GripDark = 0x335E51, .GripLight = 0xFFFFFF, .DarkLine = 0x588060, .LightLine = 0xDEF7F4,
      .Shadow = 0x5E8674, .LightText = 0xFFFFFF, .Border = 0x5E8D75, .SelectionFrame = 0x385D3F,
      .Hot1 = 0xCCF4FF, .Hot2 = 0x91D0FF, .Pressed1 = 0x8ED3FF, .Pressed2 = 0x4E91FE, .Glyph = 0x000000,
      .DisabledGlyph = 0x8D8D8D, .GroupRow = 0x91BAAF, .SelectedDay = 0x94E6FB, .SchedulerBackground = 0xE4F1F2,
      .SchedulerFrame = 0x588060, .GroupRowContent = 0xC9EEFD, .GroupRowText = 0x548973,
      .GroupRowSeparator = 0x8FC4B5},
     0x6B7760, 0x8FC4B5},
    {{.GradientBegin = 0xFAF4F3, .GradientEnd = 0xB59799, .Face = 0xE5D7D7, .LightFace = 0xF7F3F3,
      .GripDark = 0x755454, .GripLight = 0xFFFFFF, .DarkLine = 0x8F6D6E, .LightLine = 0xFFFFFF,
      .Shadow = 0x99797A, .LightText = 0xFFFFFF, .Border = 0x947C7C, .SelectionFrame = 0x6F4B4B,
      .Hot1 = 0xCCF4FF, .Hot2 = 0x91D0FF, .Pressed1 = 0x8ED3FF, .Pressed2 = 0x4E91FE, .Glyph = 0x000000,
      .DisabledGlyph = 0x8D8D8D, .GroupRow = 0xEBE5E5, .SelectedDay = 0x94E6FB, .SchedulerBackground = 0xF7F3F3,
      .SchedulerFrame = 0x947C7C, .GroupRowContent = 0xC9EEFD, .GroupRowText = 0x916F70,
      .GroupRowSeparator = 0xB09193},
     0x927476, 0xB09193},
};

TvdOffice11Colors FallbackColors(const TvdOffice11SystemColors& s, const TvdNearestColor& nearest) {
  auto mix = [&](TvdRGBColor c1, TvdRGBColor c2, int percent) { return nearest(vdMixRGB(c1, c2, percent)); };
  auto blend = [&](int pf, int ph, int pw) { return vdBlendRGB(s.BtnFace, s.Highlight, s.Window, pf, ph, pw); };
  TvdOffice11Colors c;
  c.GradientBegin = mix(s.BtnFace, s.Window, 22);
  c.GradientEnd = mix(s.BtnFace, s.Window, 96);
  c.Face = s.BtnFace;
  c.LightFace = mix(s.BtnFace, s.Window, 20);
  c.GripDark = mix(s.BtnShadow, s.Window, 76);
  c.GripLight = s.Window;
  c.DarkLine = mix(s.BtnShadow, s.Window, 70);
  c.LightLine = 0xFFFFFF;
  c.Shadow = s.BtnShadow;
  c.LightText = s.BtnHighlight;
  c.Border = s.BtnShadow;
  c.SelectionFrame = s.Highlight;
  c.Hot1 = c.Hot2 = nearest(blend(-2, 30, 72));
  c.Pressed1 = c.Pressed2 = nearest(blend(14, 44, 40));
  c.Glyph = s.BtnText;
  c.DisabledGlyph = s.GrayText;
  c.GroupRow = s.BtnFace;
  c.SelectedDay = blend(41, 11, 48);
  c.SchedulerBackground = c.Face;
  c.SchedulerFrame = s.BtnShadow;
  c.GroupRowContent = s.BtnFace;
  c.GroupRowText = s.BtnShadow;
  c.GroupRowSeparator = s.BtnShadow;
  c.HeaderShade = mix(s.BtnShadow, s.BtnFace, 50);
  return c;
}

struct TOffice11State {
  TvdOffice11Scheme scheme = vdo11None;
  bool themed = false;
  TvdOffice11Colors colors;
};

TOffice11State& State() {
  static TOffice11State state;
  return state;
}

}  // namespace

TvdOffice11Scheme vdOffice11SchemeOf(bool stylesAvailable, std::u16string_view themeFile,
                                     std::u16string_view colorName, uint32_t majorVersion) {
  if (!stylesAvailable) return vdo11None;
  if (UpperAscii(FileNameOf(themeFile)) != kLunaThemeFile && majorVersion < kAnyThemeFileFromVersion)
    return vdo11None;
  const std::u16string color = UpperAscii(colorName);
  for (const TSchemeName& known : kSchemeNames)
    if (color == known.name) return known.scheme;
  return vdo11None;
}

int vdMulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t product = int64_t(a) * b;
  int64_t divisor = c;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  const int64_t half = divisor / 2;
  return int((product >= 0 ? product + half : product - half) / divisor);
}

TvdRGBColor vdMixRGB(TvdRGBColor color1, TvdRGBColor color2, int percent) {
  // A percentage outside 0..100 weighs one colour negatively: the channel
  // is kept at 0 rather than borrowing from its neighbour.
  auto mix = [&](int shift) {
    return Clamp(vdMulDiv(Channel(color1, shift), percent, 100) + vdMulDiv(Channel(color2, shift), 100 - percent, 100));
  };
  return FromChannels(mix(0), mix(8), mix(16));
}

TvdRGBColor vdBlendRGB(TvdRGBColor face, TvdRGBColor highlight, TvdRGBColor window, int facePercent,
                       int highlightPercent, int windowPercent) {
  if (face == 0 || face == 0xFFFFFF) return highlight;
  auto blend = [&](int shift) {
    return Clamp(vdMulDiv(Channel(face, shift), facePercent, 100) +
                 vdMulDiv(Channel(highlight, shift), highlightPercent, 100) +
                 vdMulDiv(Channel(window, shift), windowPercent, 100));
  };
  return FromChannels(blend(0), blend(8), blend(16));
}

TvdOffice11Colors vdOffice11ColorsFor(TvdOffice11Scheme scheme, bool themed, const TvdOffice11SystemColors& system,
                                      const TvdNearestColor& nearest) {
  if (!themed || scheme == vdo11None || scheme > vdo11Silver) return FallbackColors(system, nearest);
  const TSchemeTable& table = kSchemeTables[scheme - 1];
  TvdOffice11Colors colors = table.colors;
  colors.HeaderShade = nearest(vdMixRGB(table.headerShade1, table.headerShade2, 50));
  return colors;
}

void vdOffice11Store(TvdOffice11Scheme scheme, bool themed, const TvdOffice11Colors& colors) {
  State() = {scheme, themed, colors};
}
TvdOffice11Scheme vdCurrentOffice11Scheme() { return State().scheme; }
bool vdIsOffice11Themed() { return State().themed; }
const TvdOffice11Colors& vdOffice11Colors() { return State().colors; }

const TvdRGBColor& vdOffice11GradientBeginColor = State().colors.GradientBegin;
const TvdRGBColor& vdOffice11GradientEndColor = State().colors.GradientEnd;
const TvdRGBColor& vdOffice11FaceColor = State().colors.Face;
const TvdRGBColor& vdOffice11LightFaceColor = State().colors.LightFace;
const TvdRGBColor& vdOffice11GripDarkColor = State().colors.GripDark;
const TvdRGBColor& vdOffice11GripLightColor = State().colors.GripLight;
const TvdRGBColor& vdOffice11DarkLineColor = State().colors.DarkLine;
const TvdRGBColor& vdOffice11LightLineColor = State().colors.LightLine;
const TvdRGBColor& vdOffice11ShadowColor = State().colors.Shadow;
const TvdRGBColor& vdOffice11LightTextColor = State().colors.LightText;
const TvdRGBColor& vdOffice11BorderColor = State().colors.Border;
const TvdRGBColor& vdOffice11SelectionFrameColor = State().colors.SelectionFrame;
const TvdRGBColor& vdOffice11HotColor1 = State().colors.Hot1;
const TvdRGBColor& vdOffice11HotColor2 = State().colors.Hot2;
const TvdRGBColor& vdOffice11PressedColor1 = State().colors.Pressed1;
const TvdRGBColor& vdOffice11PressedColor2 = State().colors.Pressed2;
const TvdRGBColor& vdOffice11GlyphColor = State().colors.Glyph;
const TvdRGBColor& vdOffice11DisabledGlyphColor = State().colors.DisabledGlyph;
const TvdRGBColor& vdOffice11GroupRowColor = State().colors.GroupRow;
const TvdRGBColor& vdOffice11SelectedDayColor = State().colors.SelectedDay;
const TvdRGBColor& vdOffice11SchedulerBackgroundColor = State().colors.SchedulerBackground;
const TvdRGBColor& vdOffice11SchedulerFrameColor = State().colors.SchedulerFrame;
const TvdRGBColor& vdOffice11GroupRowContentColor = State().colors.GroupRowContent;
const TvdRGBColor& vdOffice11GroupRowTextColor = State().colors.GroupRowText;
const TvdRGBColor& vdOffice11GroupRowSeparatorColor = State().colors.GroupRowSeparator;
const TvdRGBColor& vdOffice11HeaderShadeColor = State().colors.HeaderShade;

std::vector<TvdGradientBand> vdGradientBands(const TRect& rect, TvdRGBColor color1, TvdRGBColor color2,
                                             bool horizontal) {
  std::vector<TvdGradientBand> bands;
  const int start = horizontal ? rect.Left : rect.Top;
  const int end = horizontal ? rect.Right : rect.Bottom;
  const int extent = end - start;
  const int n = std::min(extent, vdMaxGradientBands);
  if (n <= 0) return bands;
  auto channel = [&](int i, int shift) {
    const int from = Channel(color1, shift);
    // One band has no second colour to reach: it is color1 alone.
    return n == 1 ? from : from + vdMulDiv(i, Channel(color2, shift) - from, n - 1);
  };
  int bandStart = start;
  for (int i = 0; i < n && bandStart < end; ++i) {
    const int bandEnd = start + vdMulDiv(i + 1, extent, n);
    if (bandEnd > bandStart) {
      const TRect band = horizontal ? TRect(bandStart, rect.Top, bandEnd, rect.Bottom)
                                    : TRect(rect.Left, bandStart, rect.Right, bandEnd);
      bands.push_back({band, FromChannels(channel(i, 0), channel(i, 8), channel(i, 16))});
    }
    bandStart = bandEnd;
  }
  return bands;
}

std::vector<TPoint> vdOffice11GripDotCells(const TRect& rect, bool horizontal) {
  constexpr int kCell = 4;
  const int first = horizontal ? rect.Top : rect.Left;
  const int last = horizontal ? rect.Bottom : rect.Right;
  const int rest = (last - first) % kCell;
  int at = first + (rest < 2 ? rest : rest / 2);
  std::vector<TPoint> cells;
  do {
    cells.push_back(horizontal ? TPoint(rect.Left, at) : TPoint(at, rect.Top));
    at += kCell;
  } while (at + kCell <= last);
  return cells;
}

std::vector<TPoint> vdOffice11SizeGripCells(const TRect& rect) {
  std::vector<TPoint> cells;
  TRect strip(rect.Right - 12, rect.Bottom - 3, rect.Right, rect.Bottom);
  for (int row = 0; row < 3; ++row) {
    for (const TPoint& cell : vdOffice11GripDotCells(strip, false)) cells.push_back(cell);
    strip.Left += 4;
    strip.Top -= 4;
    strip.Bottom -= 4;
  }
  return cells;
}
