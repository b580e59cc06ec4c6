// The glyph sheet: the six looks of the glyph renderer for a glyph with
// per-pixel alpha, one with a mask colour and an image-list image, each
// over a light and a patterned background; and a picture scaled down and
// up by the Lanczos3 resampler beside plain stretching.
#include <algorithm>
#include <cmath>
#include <memory>

#include "foundation/vxGraphicsBlend.h"
#include "foundation/vxImageList.h"
#include "tools/gallery/Gallery.h"

namespace {

using gallery::Caption;
using gallery::TPaintedArea;

constexpr int kGlyph = 24;

// A round glyph with soft edges: per-pixel alpha, premultiplied.
TvxBitmap32* AlphaGlyph() {
  static std::unique_ptr<TvxBitmap32> glyph;
  if (glyph) return glyph.get();
  glyph = std::make_unique<TvxBitmap32>(kGlyph, kGlyph, true);
  std::vector<uint32_t> pixels(size_t(kGlyph * kGlyph));
  for (int y = 0; y < kGlyph; ++y)
    for (int x = 0; x < kGlyph; ++x) {
      const double d = std::hypot(x - 11.5, y - 11.5);
      const double a = std::clamp(10.5 - d, 0.0, 1.0);
      const auto c = [&](double v) { return uint32_t(v * a); };
      // Rows bottom-up: orange at the top, green at the bottom.
      const double t = double(y) / kGlyph;
      pixels[size_t(y * kGlyph + x)] =
          uint32_t(255 * a) << 24 | c(240 * t + 30) << 16 | c(200 - 60 * t) << 8 | c(40 + 40 * (1 - t));
    }
  glyph->WritePixels(pixels);
  return glyph.get();
}

// A 24-bit glyph on a fuchsia background: a blue frame and a red arrow.
TvxBitmap* MaskedGlyph() {
  static std::unique_ptr<TvxBitmap> glyph;
  if (glyph) return glyph.get();
  glyph = std::make_unique<TvxBitmap>(kGlyph, kGlyph, pf24bit);
  TCanvas* c = glyph->Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(TRect(0, 0, kGlyph, kGlyph));
  c->Brush()->SetColor(RGBColor(30, 60, 170));
  c->FillRect(TRect(3, 3, 21, 21));
  c->Brush()->SetColor(RGBColor(250, 250, 220));
  c->FillRect(TRect(6, 6, 18, 18));
  c->Brush()->SetColor(RGBColor(210, 20, 20));
  c->Pen()->SetColor(RGBColor(210, 20, 20));
  const TPoint arrow[] = {{8, 12}, {12, 8}, {16, 12}, {13, 12}, {13, 16}, {11, 16}, {11, 12}};
  c->Polygon(arrow, 7);
  return glyph.get();
}

TvxImageList* Images() {
  static std::unique_ptr<TvxImageList> list;
  if (list) return list.get();
  list = std::make_unique<TvxImageList>(nullptr);
  list->SetSize(kGlyph, kGlyph);
  list->AddWithMaskColor(MaskedGlyph(), clFuchsia);
  return list.get();
}

void Checkers(TCanvas* c, const TRect& r) {
  for (int y = r.Top; y < r.Bottom; y += 6)
    for (int x = r.Left; x < r.Right; x += 6) {
      c->Brush()->SetColor(((x - r.Left) / 6 + (y - r.Top) / 6) % 2 ? RGBColor(200, 210, 230) : clWhite);
      c->FillRect(TRect(x, y, std::min(x + 6, r.Right), std::min(y + 6, r.Bottom)));
    }
}

void GlyphModes(TForm* page) {
  new TPaintedArea(page, TRect(10, 10, 990, 330), [](TCanvas* c) {
    Caption(c, 0, 0, "vxDrawGlyphOrImage: normal, disabled, faded, grayed, lightened, shadowed");
    const char* modes[] = {"normal", "disabled", "faded", "grayed", "lightened", "shadowed"};
    const char* rows[] = {"alpha glyph", "mask colour", "image list"};
    for (int m = 0; m < 6; ++m) Caption(c, 120 + m * 140, 20, modes[m]);
    for (int row = 0; row < 3; ++row) {
      const int top = 40 + row * 95;
      Caption(c, 0, top + 30, rows[row]);
      for (int m = 0; m < 6; ++m) {
        for (int bg = 0; bg < 2; ++bg) {
          const TRect dest = Bounds(120 + m * 140 + bg * 62, top, 56, 80);
          if (bg == 0) {
            c->Brush()->SetColor(clBtnFace);
            c->FillRect(dest);
          } else {
            Checkers(c, dest);
          }
          const TRect glyphRect = Bounds(dest.Left + 16, dest.Top + 10, kGlyph, kGlyph);
          const TRect big = Bounds(dest.Left + 4, dest.Top + 38, 40, 40);
          for (const TRect& g : {glyphRect, big}) {
            if (row == 0)
              vxDrawGlyphOrImage(c->Handle(), g, dest, false, clNone, nullptr, true, m, -1, nullptr, AlphaGlyph());
            else if (row == 1)
              vxDrawGlyphOrImage(c->Handle(), g, dest, false, clFuchsia, nullptr, true, m, -1, nullptr, MaskedGlyph());
            else
              vxDrawGlyphOrImage(c->Handle(), g, dest, true, clNone, nullptr, true, m, 0, Images(), nullptr);
          }
        }
      }
    }
  });
}

// A photo-like picture with fine detail: rings and a gradient.
TvxBitmap32* Picture() {
  static std::unique_ptr<TvxBitmap32> picture;
  if (picture) return picture.get();
  picture = std::make_unique<TvxBitmap32>(160, 120);
  std::vector<uint32_t> pixels(160 * 120);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x) {
      const double r = std::hypot(x - 80.0, y - 60.0);
      const int ring = int(127 + 120 * std::sin(r * r / 180.0));
      pixels[size_t(y * 160 + x)] = 0xFF000000u | uint32_t(ring) << 16 | uint32_t(x * 255 / 160) << 8 | uint32_t(y * 2);
    }
  picture->WritePixels(pixels);
  return picture.get();
}

void Resampling(TForm* page) {
  new TPaintedArea(page, TRect(10, 340, 990, 730), [](TCanvas* c) {
    Caption(c, 0, 0, "vxResampleBitmap: the picture, shrunk to 60 x 45 and enlarged to 320 x 240 (Lanczos3, then plain stretching)");
    TvxBitmap32* source = Picture();
    BitBlt(c->Handle(), 0, 20, 160, 120, source->Canvas()->Handle(), 0, 0, SRCCOPY);
    Caption(c, 0, 145, "source 160 x 120");
    TvxBitmap32 small(60, 45), smallPlain(60, 45), large(320, 240), largePlain(320, 240);
    vxResampleBitmap(source, &small, true);
    vxResampleBitmap(source, &large, true);
    vxStretchBitmapInto(&smallPlain, source);
    vxStretchBitmapInto(&largePlain, source);
    BitBlt(c->Handle(), 180, 20, 60, 45, small.Canvas()->Handle(), 0, 0, SRCCOPY);
    BitBlt(c->Handle(), 180, 80, 60, 45, smallPlain.Canvas()->Handle(), 0, 0, SRCCOPY);
    Caption(c, 180, 130, "Lanczos / plain");
    BitBlt(c->Handle(), 260, 20, 320, 240, large.Canvas()->Handle(), 0, 0, SRCCOPY);
    BitBlt(c->Handle(), 600, 20, 320, 240, largePlain.Canvas()->Handle(), 0, 0, SRCCOPY);
    Caption(c, 260, 265, "Lanczos3");
    Caption(c, 600, 265, "plain stretching");
  });
}

const bool registered = gallery::RegisterSheet("glyphs", [](TForm* page) {
  GlyphModes(page);
  Resampling(page);
});

}  // namespace
