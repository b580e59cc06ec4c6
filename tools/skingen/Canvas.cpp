#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t Clamp8(double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

// Coverage of a pixel by a shape given as a signed-distance function, with
// one pixel of anti-aliasing.
double Coverage(double distance) { return std::clamp(0.5 - distance, 0.0, 1.0); }

}  // namespace

TRgb Mix(TRgb a, TRgb b, double t) {
  return {Clamp8(a.R + (b.R - a.R) * t), Clamp8(a.G + (b.G - a.G) * t), Clamp8(a.B + (b.B - a.B) * t),
          Clamp8(a.A + (b.A - a.A) * t)};
}
TRgb Lighter(TRgb c, double t) { return Mix(c, TRgb{255, 255, 255, c.A}, t); }
TRgb Darker(TRgb c, double t) { return Mix(c, TRgb{0, 0, 0, c.A}, t); }
TRgb WithAlpha(TRgb c, uint8_t a) { return {c.R, c.G, c.B, a}; }
int32_t ToColorRef(TRgb c) { return int32_t(c.R | c.G << 8 | c.B << 16); }

TCanvas::TCanvas(int width, int height)
    : width_(width), height_(height), px_(size_t(width) * size_t(height), TRgb{0, 0, 0, 0}) {}

TRgb TCanvas::Pixel(int x, int y) const { return px_[size_t(y) * size_t(width_) + size_t(x)]; }

void TCanvas::Set(int x, int y, TRgb c) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) px_[size_t(y) * size_t(width_) + size_t(x)] = c;
}

void TCanvas::Blend(int x, int y, TRgb c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || c.A == 0) return;
  TRgb& d = px_[size_t(y) * size_t(width_) + size_t(x)];
  double sa = c.A / 255.0, da = d.A / 255.0;
  double oa = sa + da * (1 - sa);
  if (oa <= 0) return;
  auto channel = [&](uint8_t s, uint8_t dst) { return Clamp8((s * sa + dst * da * (1 - sa)) / oa); };
  d = {channel(c.R, d.R), channel(c.G, d.G), channel(c.B, d.B), Clamp8(oa * 255)};
}

void TCanvas::Fill(int x, int y, int w, int h, TRgb c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Blend(i, j, c);
}

void TCanvas::VerticalGradient(int x, int y, int w, int h, TRgb top, TRgb bottom) {
  for (int j = 0; j < h; ++j) Fill(x, y + j, w, 1, Mix(top, bottom, h > 1 ? double(j) / (h - 1) : 0));
}

void TCanvas::HorizontalGradient(int x, int y, int w, int h, TRgb left, TRgb right) {
  for (int i = 0; i < w; ++i) Fill(x + i, y, 1, h, Mix(left, right, w > 1 ? double(i) / (w - 1) : 0));
}

void TCanvas::RoundRect(int x, int y, int w, int h, int r, TRgb top, TRgb bottom, TRgb border) {
  // Distance from the pixel centre to the rounded outline, negative inside.
  auto distance = [&](double px, double py) {
    double qx = std::abs(px - (x + w / 2.0)) - (w / 2.0 - r), qy = std::abs(py - (y + h / 2.0)) - (h / 2.0 - r);
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
  };
  for (int j = y; j < y + h; ++j) {
    for (int i = x; i < x + w; ++i) {
      double d = distance(i + 0.5, j + 0.5);
      double inside = Coverage(d);
      if (inside <= 0) continue;
      TRgb fill = Mix(top, bottom, h > 1 ? double(j - y) / (h - 1) : 0);
      double edge = Coverage(d + 1.0);  // 1 well inside, 0 on the outline
      TRgb c = Mix(border, fill, edge);
      c.A = Clamp8(c.A * inside);
      Blend(i, j, c);
    }
  }
}

void TCanvas::Frame(int x, int y, int w, int h, TRgb c) {
  Fill(x, y, w, 1, c);
  Fill(x, y + h - 1, w, 1, c);
  Fill(x, y + 1, 1, h - 2, c);
  Fill(x + w - 1, y + 1, 1, h - 2, c);
}

void TCanvas::Line(double x0, double y0, double x1, double y1, double width, TRgb c) {
  int minX = int(std::floor(std::min(x0, x1) - width)), maxX = int(std::ceil(std::max(x0, x1) + width));
  int minY = int(std::floor(std::min(y0, y1) - width)), maxY = int(std::ceil(std::max(y0, y1) + width));
  double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
  for (int j = minY; j <= maxY; ++j) {
    for (int i = minX; i <= maxX; ++i) {
      double px = i + 0.5, py = j + 0.5;
      double t = len2 > 0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0, 1.0) : 0;
      double d = std::hypot(px - (x0 + t * dx), py - (y0 + t * dy)) - width / 2;
      double a = Coverage(d);
      if (a > 0) Blend(i, j, WithAlpha(c, Clamp8(c.A * a)));
    }
  }
}

void TCanvas::Disc(double cx, double cy, double radius, TRgb c) {
  for (int j = int(cy - radius - 1); j <= int(cy + radius + 1); ++j)
    for (int i = int(cx - radius - 1); i <= int(cx + radius + 1); ++i) {
      double a = Coverage(std::hypot(i + 0.5 - cx, j + 0.5 - cy) - radius);
      if (a > 0) Blend(i, j, WithAlpha(c, Clamp8(c.A * a)));
    }
}

void TCanvas::Triangle(double x0, double y0, double x1, double y1, double x2, double y2, TRgb c) {
  int minX = int(std::floor(std::min({x0, x1, x2}))), maxX = int(std::ceil(std::max({x0, x1, x2})));
  int minY = int(std::floor(std::min({y0, y1, y2}))), maxY = int(std::ceil(std::max({y0, y1, y2})));
  // Four samples per pixel are enough for glyph-sized triangles.
  auto inside = [&](double px, double py) {
    double a = (x1 - x0) * (py - y0) - (y1 - y0) * (px - x0);
    double b = (x2 - x1) * (py - y1) - (y2 - y1) * (px - x1);
    double d = (x0 - x2) * (py - y2) - (y0 - y2) * (px - x2);
    return (a >= 0 && b >= 0 && d >= 0) || (a <= 0 && b <= 0 && d <= 0);
  };
  for (int j = minY; j <= maxY; ++j)
    for (int i = minX; i <= maxX; ++i) {
      int hits = 0;
      for (double sy : {0.25, 0.75})
        for (double sx : {0.25, 0.75}) hits += inside(i + sx, j + sy);
      if (hits) Blend(i, j, WithAlpha(c, Clamp8(c.A * hits / 4.0)));
    }
}

void TCanvas::Draw(const TCanvas& src, int x, int y) {
  for (int j = 0; j < src.height_; ++j)
    for (int i = 0; i < src.width_; ++i) Blend(x + i, y + j, src.Pixel(i, j));
}

void TCanvas::StretchDraw(const TCanvas& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
  for (int j = 0; j < dh; ++j)
    for (int i = 0; i < dw; ++i) {
      int x = sx + std::min(sw - 1, i * sw / dw), y = sy + std::min(sh - 1, j * sh / dh);
      if (x >= 0 && y >= 0 && x < src.width_ && y < src.height_) Blend(dx + i, dy + j, src.Pixel(x, y));
    }
}

TvdSkinPixels TCanvas::ToPixels() const {
  TvdSkinPixels p;
  p.Width = width_;
  p.Height = height_;
  p.Rgba.reserve(px_.size() * 4);
  for (const TRgb& c : px_) p.Rgba.insert(p.Rgba.end(), {c.R, c.G, c.B, c.A});
  return p;
}

TCanvas TCanvas::FromPixels(const TvdSkinPixels& pixels) {
  TCanvas c(pixels.Width, pixels.Height);
  for (size_t i = 0; i < c.px_.size(); ++i)
    c.px_[i] = {pixels.Rgba[4 * i], pixels.Rgba[4 * i + 1], pixels.Rgba[4 * i + 2], pixels.Rgba[4 * i + 3]};
  return c;
}
