// Two-colour gradients. Colours step in 16.16 fixed point per channel: each
// step adds (target - start) * 65536 / steps, truncated toward zero, so the
// last band stops short of the target by the rounding of every step. Rows
// (or columns, rings, diagonal strips) are grouped into bands of one colour.
//
// Linear fills step from the far end toward the near one; box fills paint
// the upper-left quadrant as rings around a core and mirror it into the
// other three; diagonal fills sweep strips parallel to the other diagonal.
#include "framed/FmGrafxBands.h"

#include <algorithm>
#include <cmath>

namespace {

// The colour of every step of a run, grouped into bands: a band keeps the
// colour it started with while the stepped colour stays the same or while
// it is shorter than the minimum band length.
class TColorSteps {
 public:
  TColorSteps(uint32_t from, uint32_t to, int steps, uint8_t colorCount) {
    int q = colorCount > 8 ? 255 / colorCount + 1 : colorCount;
    minBand_ = std::max(q - 1, 0) + 1;
    for (int c = 0; c < 3; ++c) {
      const int a = int((from >> (8 * c)) & 0xFF), b = int((to >> (8 * c)) & 0xFF);
      value_[c] = a * 65536;
      step_[c] = steps > 0 ? (b * 65536 - a * 65536) / steps : 0;
    }
  }

  // The band colour of the next step.
  uint32_t Next() {
    const uint32_t stepped = Current();
    if (taken_ == 0 || (stepped != band_ && taken_ >= minBand_)) {
      band_ = stepped;
      taken_ = 0;
    }
    ++taken_;
    for (int c = 0; c < 3; ++c) value_[c] += step_[c];
    return band_;
  }

 private:
  uint32_t Current() const {
    uint32_t rgb = 0;
    for (int c = 0; c < 3; ++c) rgb |= uint32_t(std::clamp(value_[c] >> 16, 0, 255)) << (8 * c);
    return rgb;
  }

  int value_[3] = {};
  int step_[3] = {};
  int minBand_ = 1;
  int taken_ = 0;
  uint32_t band_ = 0;
};

class TCanvasPixels {
 public:
  explicit TCanvasPixels(TGradientPixels& p) : p_(p) {}
  void Fill(int l, int t, int r, int b, uint32_t rgb) {
    l = std::max(l, 0), t = std::max(t, 0), r = std::min(r, p_.Width), b = std::min(b, p_.Height);
    for (int y = t; y < b; ++y) std::fill_n(&p_.Pixels[size_t(y) * p_.Width + l], std::max(r - l, 0), rgb);
  }

 private:
  TGradientPixels& p_;
};

// One line (row or column) per step, from `first` toward `last` inclusive.
void SweepLines(TCanvasPixels& canvas, bool rows, int across, int first, int last, uint32_t from, uint32_t to,
                int steps, uint8_t colorCount) {
  if (steps <= 0) return;  // an empty pass: nothing to step over
  TColorSteps colors(from, to, steps, colorCount);
  const int dir = last >= first ? 1 : -1;
  for (int i = first;; i += dir) {
    const uint32_t rgb = colors.Next();
    if (rows) canvas.Fill(0, i, across, i + 1, rgb);
    else canvas.Fill(i, 0, i + 1, across, rgb);
    if (i == last) break;
  }
}

void LinearFill(TGradientPixels& p, bool rows, bool center, uint32_t s, uint32_t t, uint8_t colorCount) {
  TCanvasPixels canvas(p);
  const int length = rows ? p.Height : p.Width, across = rows ? p.Width : p.Height;
  if (!center) {
    SweepLines(canvas, rows, across, length - 1, 0, t, s, length, colorCount);
    return;
  }
  const int m = length / 2;
  SweepLines(canvas, rows, across, m, 0, t, s, m + 1, colorCount);
  if (length - 1 >= m + 1) SweepLines(canvas, rows, across, length - 1, m + 1, s, t, length - m - 1, colorCount);
}

// Mirrors the upper-left quadrant: rows into the lower half, then columns
// into the right half.
void MirrorQuadrant(TGradientPixels& p) {
  const int w = p.Width, h = p.Height;
  for (int y = h - h / 2; y < h; ++y)
    std::copy_n(&p.Pixels[size_t(h - 1 - y) * w], w / 2 + 1 > w ? w : w / 2 + 1, &p.Pixels[size_t(y) * w]);
  for (int y = 0; y < h; ++y)
    for (int x = w - w / 2; x < w; ++x) p.Pixels[size_t(y) * w + x] = p.Pixels[size_t(y) * w + (w - 1 - x)];
}

void BoxFill(TGradientPixels& p, int cx, int cy, uint32_t s, uint32_t t, uint8_t colorCount) {
  TCanvasPixels canvas(p);
  const int w = p.Width, h = p.Height;
  canvas.Fill(0, 0, w, h, s);
  if (s == t || w < 5 || h <= 4) return;
  const int fx = (w - 1) / 2, fy = (h - 1) / 2;
  const int x0 = fx - cx, y0 = fy - cy;
  const int n = std::max(x0, y0) + 1;
  // x and y shrink from the core's corner to -1 in n steps (16.16).
  const int dx = (x0 + 1) * 65536 / n, dy = (y0 + 1) * 65536 / n;
  TColorSteps colors(t, s, n, colorCount);
  int xa = x0 * 65536, ya = y0 * 65536;
  int prevX = fx + 1, prevY = fy + 1;
  for (int step = 0; prevX > 0 || prevY > 0; ++step) {
    const int x = std::max(xa >> 16, 0), y = std::max(ya >> 16, 0);
    const uint32_t rgb = colors.Next();
    // The L-shaped ring segment between the previous corner and this one
    // (the first one is the solid core).
    canvas.Fill(x, y, fx + 1, prevY, rgb);
    canvas.Fill(x, prevY, prevX, fy + 1, rgb);
    prevX = x, prevY = y;
    xa -= dx, ya -= dy;
    if (step > w + h) break;  // the rings have reached the edges long before
  }
  MirrorQuadrant(p);
}

// Strips parallel to the diagonal that does not touch the stop colour's
// corner: the strip of a pixel is how far its centre lies from that corner,
// measured as (dx / W + dy / H) * (d / 2) with d steps over the whole way.
void DiagonalFill(TGradientPixels& p, bool up, uint32_t s, uint32_t t, uint8_t colorCount) {
  const int w = p.Width, h = p.Height;
  if (s == t) {
    TCanvasPixels(p).Fill(0, 0, w, h, s);
    return;
  }
  const int d = int(std::sqrt(double(w) * w + double(h) * h)) + 1;
  std::vector<uint32_t> band(d + 1);
  TColorSteps colors(t, s, d, colorCount);
  for (uint32_t& c : band) c = colors.Next();
  const int64_t half = std::max(d / 2, 1);
  for (int y = 0; y < h; ++y) {
    // The stop colour sits in the upper-right corner (up) or lower-right.
    const int64_t dy = up ? 2 * y + 1 : 2 * (h - 1 - y) + 1;
    for (int x = 0; x < w; ++x) {
      const int64_t dxx = 2 * (w - 1 - x) + 1;
      const int64_t k = (dxx * h + dy * w) * half / (2 * int64_t(w) * h);
      p.Pixels[size_t(y) * w + x] = band[std::min<int64_t>(k, d)];
    }
  }
}

}  // namespace

TGradientPixels RenderTwoColorGradient(int width, int height, TGradientDirection direction, uint32_t start,
                                       uint32_t stop, uint8_t colorCount) {
  TGradientPixels p;
  p.Width = std::abs(width);
  p.Height = std::abs(height);
  p.Pixels.assign(size_t(p.Width) * p.Height, start);
  if (p.Pixels.empty()) return p;
  switch (direction) {
    case gdDiagonalUp: DiagonalFill(p, true, start, stop, colorCount); break;
    case gdDiagonalDown: DiagonalFill(p, false, start, stop, colorCount); break;
    case gdHorizontalEnd: LinearFill(p, true, false, start, stop, colorCount); break;
    case gdHorizontalCenter: LinearFill(p, true, true, start, stop, colorCount); break;
    case gdVerticalEnd: LinearFill(p, false, false, start, stop, colorCount); break;
    case gdVerticalCenter: LinearFill(p, false, true, start, stop, colorCount); break;
    case gdHorizontalBox: BoxFill(p, p.Width / 4, 0, start, stop, colorCount); break;
    case gdVerticalBox: BoxFill(p, 0, p.Height / 4, start, stop, colorCount); break;
    case gdSquareBox: BoxFill(p, 0, 0, start, stop, colorCount); break;
    case gdBigSquareBox: BoxFill(p, p.Width / 4, p.Height / 4, start, stop, colorCount); break;
  }
  return p;
}
