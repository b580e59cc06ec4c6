// A small RGBA raster for drawing skin pictures: fills, gradients, rounded
// frames and the few glyph shapes that skins show.
#pragma once

#include <cstdint>
#include <vector>

#include "skins/vdSkinPng.h"

struct TRgb {
  uint8_t R = 0, G = 0, B = 0, A = 255;
};

TRgb Mix(TRgb a, TRgb b, double t);  // t = 0 gives a, 1 gives b
TRgb Lighter(TRgb c, double t);
TRgb Darker(TRgb c, double t);
TRgb WithAlpha(TRgb c, uint8_t a);
// Windows-style 0x00BBGGRR colour value.
int32_t ToColorRef(TRgb c);

class TCanvas {
 public:
  TCanvas(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }

  TRgb Pixel(int x, int y) const;
  // Blends c over the pixel (source-over).
  void Blend(int x, int y, TRgb c);
  void Set(int x, int y, TRgb c);
  void Fill(int x, int y, int w, int h, TRgb c);
  void VerticalGradient(int x, int y, int w, int h, TRgb top, TRgb bottom);
  void HorizontalGradient(int x, int y, int w, int h, TRgb left, TRgb right);
  // Rounded rectangle of radius r: filled with a vertical gradient and
  // outlined in border; outside the corners stays as it was.
  void RoundRect(int x, int y, int w, int h, int r, TRgb top, TRgb bottom, TRgb border);
  void Frame(int x, int y, int w, int h, TRgb c);
  void Line(double x0, double y0, double x1, double y1, double width, TRgb c);
  void Disc(double cx, double cy, double radius, TRgb c);
  void Triangle(double x0, double y0, double x1, double y1, double x2, double y2, TRgb c);
  // Copies src at (x, y), blending.
  void Draw(const TCanvas& src, int x, int y);
  // Draws the part (sx, sy, sw, sh) of src stretched into (dx, dy, dw, dh).
  void StretchDraw(const TCanvas& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh);

  TvdSkinPixels ToPixels() const;
  static TCanvas FromPixels(const TvdSkinPixels& pixels);

 private:
  int width_, height_;
  std::vector<TRgb> px_;
};
