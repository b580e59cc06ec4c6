// The HSL space runs 0..240 on each axis. The conversion back divides the
// hue by 239, not 240, and lightening may go past 240 up to 255: both are
// part of how the controls' colours have always come out, so the tables of
// derived frame colours depend on them.
#include "framed/FmCommonColors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

TSystemColorResolver systemColorResolver = nullptr;

bool IsSystemColor(TColor color) { return (uint32_t(color) & 0xFF000000u) == 0xFF000000u; }

uint8_t Red(uint32_t rgb) { return rgb & 0xFF; }
uint8_t Green(uint32_t rgb) { return (rgb >> 8) & 0xFF; }
uint8_t Blue(uint32_t rgb) { return (rgb >> 16) & 0xFF; }

// Rounds to the nearest integer, ties to even.
int RoundEven(double v) { return int(std::nearbyint(v)); }

uint8_t Channel(double v) { return uint8_t(RoundEven(std::min(v, 1.0) * 255)); }

}  // namespace

void SetSystemColorResolver(TSystemColorResolver resolver) { systemColorResolver = resolver; }

uint32_t ResolveColor(TColor color) {
  if (IsSystemColor(color)) return systemColorResolver ? systemColorResolver(color) & 0xFFFFFF : 0;
  return uint32_t(color) & 0xFFFFFF;
}

void ColorToHslBytes(TColor color, uint8_t& h, uint8_t& s, uint8_t& l) {
  const uint32_t rgb = ResolveColor(color);
  const double r = Red(rgb) / 255.0, g = Green(rgb) / 255.0, b = Blue(rgb) / 255.0;
  const double max = std::max({r, g, b}), min = std::min({r, g, b});
  const double light = (max + min) / 2;
  double hue = 0, sat = 0;
  if (max != min) {
    const double d = max - min;
    sat = light < 0.5 ? d / (max + min) : d / (2 - max - min);
    if (r == max) hue = (g - b) / d;
    else if (g == max) hue = 2 + (b - r) / d;
    else hue = 4 + (r - g) / d;
    hue /= 6;
    if (hue < 0) hue += 1;
  }
  h = uint8_t(RoundEven(hue * 240));
  s = uint8_t(RoundEven(sat * 240));
  l = uint8_t(RoundEven(light * 240));
}

TColor HslBytesToColor(uint8_t hByte, uint8_t sByte, uint8_t lByte) {
  const double h = hByte / 239.0, s = sByte / 240.0, l = lByte / 240.0;
  const double m2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
  if (m2 <= 0) return 0;
  const double m1 = 2 * l - m2;
  const double h6 = 6 * h;
  const int k = int(h6);
  const double f = h6 - k;
  const double v = m2 * ((m2 - m1) / m2) * f;
  const double up = m1 + v, down = m2 - v;
  double r, g, b;
  switch (k) {
    case 1: r = down, g = m2, b = m1; break;
    case 2: r = m1, g = m2, b = up; break;
    case 3: r = m1, g = down, b = m2; break;
    case 4: r = up, g = m1, b = m2; break;
    case 5: r = m2, g = m1, b = down; break;
    default: r = m2, g = up, b = m1; break;  // 0, and 6 for a hue byte of 240
  }
  return TColor(Channel(r) | (Channel(g) << 8) | (Channel(b) << 16));
}

TColor DarkenColor(TColor color, uint8_t amount) {
  uint8_t h, s, l;
  ColorToHslBytes(color, h, s, l);
  return HslBytesToColor(h, s, uint8_t(std::max(l - amount, 0)));
}

TColor LightenColor(TColor color, uint8_t amount) {
  uint8_t h, s, l;
  ColorToHslBytes(color, h, s, l);
  return HslBytesToColor(h, s, uint8_t(std::min(l + amount, 255)));
}

TColor ShiftColorLightness(TColor color, int adjustment) {
  if (adjustment < 0) return DarkenColor(color, uint8_t(-adjustment));
  if (adjustment > 0) return LightenColor(color, uint8_t(adjustment));
  return color;
}

bool ColorsAreClose(TColor a, TColor b) {
  uint8_t ha, sa, la, hb, sb, lb;
  ColorToHslBytes(a, ha, sa, la);
  ColorToHslBytes(b, hb, sb, lb);
  return std::abs(ha - hb) < 20 && std::abs(la - lb) < 60;
}

std::string StripAccelChars(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) {
      ++i;  // a single '&' goes; of a doubled one the second stays
      out += text[i];
      continue;
    }
    out += text[i];
  }
  return out;
}

char FirstNonBlankChar(const std::string& text) {
  for (char c : text)
    if (uint8_t(c) > ' ') return c;
  return '\0';
}

bool IsBitSet(uint8_t index, const uint32_t* bits) { return (bits[index / 32] >> (index % 32)) & 1; }
