#include "framed/FmGrafx.h"

#include <cstring>
#include <utility>

namespace {

// Copies the gradient's pixels into a 32-bit bitmap of their size.
void CopyPixels(const TGradientPixels& p, TBitmap& bitmap) {
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(p.Width, p.Height);
  for (int y = 0; y < p.Height; ++y) {
    auto* row = static_cast<uint32_t*>(bitmap.ScanLine(y));
    for (int x = 0; x < p.Width; ++x) {
      const uint32_t c = p.At(x, y);  // 0x00BBGGRR to the DIB's 0x00RRGGBB
      row[x] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
  }
}

}  // namespace

void PaintTwoColorGradient(TCanvas* canvas, const TRect& r, TGradientDirection direction, TColor startColor,
                           TColor stopColor, uint8_t colorCount) {
  if (r.Width() == 0 || r.Height() == 0) return;
  const TGradientPixels pixels = RenderTwoColorGradient(r.Width(), r.Height(), direction, ResolveColor(startColor),
                                                        ResolveColor(stopColor), colorCount);
  TBitmap bitmap;
  CopyPixels(pixels, bitmap);
  BitBlt(canvas->Handle(), r.Left, r.Top, pixels.Width, pixels.Height, bitmap.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void PaintTransparentStretched(TCanvas* canvas, const TRect& destRect, TBitmap* bitmap, const TRect& sourceRect,
                               TColor transparentColor) {
  const int w = destRect.Width(), h = destRect.Height();
  TBitmap work;
  work.SetSize(w, h);
  HDC workDC = work.Canvas()->Handle();
  StretchBlt(workDC, 0, 0, w, h, bitmap->Canvas()->Handle(), sourceRect.Left, sourceRect.Top, sourceRect.Width(),
             sourceRect.Height(), SRCCOPY);
  // The mask: 1 where the work bitmap shows the transparent colour.
  TBitmap mask;
  mask.SetPixelFormat(pf1bit);
  mask.SetSize(w, h);
  HDC maskDC = mask.Canvas()->Handle();
  const COLORREF transparent = ColorToRGB(transparentColor);
  SetBkColor(workDC, transparent);
  BitBlt(maskDC, 0, 0, w, h, workDC, 0, 0, SRCCOPY);
  if (transparent != 0) {
    // Transparent pixels become black, so that SRCPAINT leaves the target.
    SetBkColor(workDC, RGB(0, 0, 0));
    SetTextColor(workDC, RGB(255, 255, 255));
    BitBlt(workDC, 0, 0, w, h, maskDC, 0, 0, 0x00220326);  // DSna: work AND NOT mask
  }
  const TRect all(0, 0, w, h);
  canvas->SetCopyMode(SRCAND);
  canvas->CopyRect(destRect, mask.Canvas(), all);
  canvas->SetCopyMode(SRCPAINT);
  canvas->CopyRect(destRect, work.Canvas(), all);
}

void FlipBitmapVertically(TBitmap* bitmap) {
  const int h = bitmap->Height(), bytes = bitmap->BytesPerRow();
  std::vector<uint8_t> swap(bytes);
  for (int y = 0; y < h / 2; ++y) {
    auto* top = static_cast<uint8_t*>(bitmap->ScanLine(y));
    auto* bottom = static_cast<uint8_t*>(bitmap->ScanLine(h - 1 - y));
    std::memcpy(swap.data(), top, bytes);
    std::memcpy(top, bottom, bytes);
    std::memcpy(bottom, swap.data(), bytes);
  }
}

void PaintParentBackground(TControl* control, HDC dc, bool invalidateParent) {
  TWinControl* parent = control->Parent();
  if (!parent) return;
  const int saved = SaveDC(dc);
  POINT origin;
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - control->Left(), origin.y - control->Top(), nullptr);
  IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
  parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
  parent->Perform(WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT);
  RestoreDC(dc, saved);
  if (invalidateParent && !dynamic_cast<TCustomControl*>(parent) && !dynamic_cast<TCustomForm*>(parent))
    parent->Invalidate();
}
