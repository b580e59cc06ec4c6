// The control module's sheet: the popup form's frame styles, the size
// frame's hatched outline, and the module's cursors on a light and a dark
// ground with their hot spots marked.
#include <memory>

#include "foundation/vxControls.h"
#include "tools/gallery/Gallery.h"

namespace {

using gallery::Caption;
using gallery::TPaintedArea;

// The popups drawn on the sheet live as long as the page.
struct PopupSamples {
  std::unique_ptr<TvxPopupWindow> Frames[4];
  std::unique_ptr<TvxSizeFrame> SizeFrame;
};

PopupSamples& Samples() {
  static PopupSamples samples;
  return samples;
}

void PopupFrames(TForm* page) {
  const char* names[] = {"pfsNone", "pfsFlat", "pfsSingle3D", "pfsDouble3D"};
  for (int i = 0; i < 4; ++i) {
    auto popup = std::make_unique<TvxPopupWindow>();
    popup->SetColor(clWindow);
    popup->SetFrameStyle(TvxPopupFrameStyle(i));
    popup->SetFrameLineColor(i == 1 ? clNavy : clWindowFrame);
    popup->SetBounds(0, 0, 100, 60);
    popup->HandleNeeded();
    Samples().Frames[i] = std::move(popup);
  }
  new TPaintedArea(page, TRect(10, 10, 490, 110), [names](TCanvas* c) {
    Caption(c, 0, 0, "Popup frames (the flat one in navy)");
    for (int i = 0; i < 4; ++i) {
      Caption(c, 4 + i * 118, 18, names[i]);
      Samples().Frames[i]->PaintTo(c->Handle(), 4 + i * 118, 34);
    }
  });
}

// The size frame drawn as the screen shows it: its face painted through its
// window region, the hollow outline, onto the blue ground behind it.
void SizeFrame(TForm* page) {
  auto frame = std::make_unique<TvxSizeFrame>(4);
  frame->HandleNeeded();
  frame->UpdateFrameRect(TRect(0, 0, 160, 80));
  Samples().SizeFrame = std::move(frame);
  new TPaintedArea(page, TRect(510, 10, 990, 110), [](TCanvas* c) {
    Caption(c, 0, 0, "Size frame, width 4, over a blue ground (only its outline is window)");
    const TColor blue = TColor(0xC08040);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(blue);
    c->FillRect(TRect(4, 18, 184, 108));
    HDC mem = CreateCompatibleDC(c->Handle());
    HBITMAP bitmap = CreateCompatibleBitmap(c->Handle(), 160, 80);
    HGDIOBJ old = SelectObject(mem, bitmap);
    HBRUSH ground = CreateSolidBrush(COLORREF(blue));
    RECT all{0, 0, 160, 80};
    FillRect(mem, &all, ground);
    DeleteObject(ground);
    HRGN outline = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(Samples().SizeFrame->Handle(), outline);
    SelectClipRgn(mem, outline);
    DeleteObject(outline);
    Samples().SizeFrame->PaintTo(mem, 0, 0);
    BitBlt(c->Handle(), 14, 22, 160, 80, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
  });
}

void Cursors(TForm* page) {
  new TPaintedArea(page, TRect(10, 130, 990, 330), [](TCanvas* c) {
    Caption(c, 0, 0, "Cursors 2100-2115 on light and dark grounds; the red dot is the hot spot");
    c->Brush()->SetStyle(bsSolid);
    for (int i = 0; i < 16; ++i) {
      const int x = 4 + i * 60;
      Caption(c, x, 18, IntToStr(vxCursorResources[i].Id));
      HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), vxCursorResources[i].Name);
      ICONINFO info{};
      GetIconInfo(cursor, &info);
      DeleteObject(info.hbmMask);
      if (info.hbmColor) DeleteObject(info.hbmColor);
      for (int row = 0; row < 2; ++row) {
        const int y = 36 + row * 72;
        c->Brush()->SetColor(row == 0 ? clWhite : TColor(0x303030));
        c->FillRect(TRect(x, y, x + 48, y + 48));
        DrawIconEx(c->Handle(), x + 8, y + 8, cursor, 32, 32, 0, nullptr, DI_NORMAL);
        c->Brush()->SetColor(clRed);
        c->FillRect(TRect(x + 8 + int(info.xHotspot) - 1, y + 8 + int(info.yHotspot) - 1,
                          x + 8 + int(info.xHotspot) + 1, y + 8 + int(info.yHotspot) + 1));
      }
    }
  });
}

const bool registered = gallery::RegisterSheet("controls", [](TForm* page) {
  PopupFrames(page);
  SizeFrame(page);
  Cursors(page);
});

}  // namespace
