// Times the standard painter against the system's own frame-control
// drawing of the same elements, 10,000 draws each into a 32-bit memory
// bitmap, and prints the ratio (painter time / system time). Target: each
// ratio within 2x.
//   painters_bench [DRAWS]   (default 10000; the best of three rounds counts)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "foundation/vxLookAndFeelPainters.h"

namespace {

using Clock = std::chrono::steady_clock;

double BestSeconds(int draws, const std::function<void(int)>& draw) {
  double best = 1e9;
  for (int round = 0; round < 3; ++round) {
    const auto start = Clock::now();
    for (int i = 0; i < draws; ++i) draw(i);
    GdiFlush();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int draws = argc > 1 ? std::atoi(argv[1]) : 10000;
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(200, 100);
  TvxCanvas canvas(bitmap.Canvas());
  HDC dc = canvas.DeviceContext();
  canvas.FontObject()->SetName("Tahoma");
  canvas.FontObject()->SetHeight(-11);
  const TvxCustomLookAndFeelPainter& painter = TvxStandardLookAndFeelPainter::Painter();
  TFont* font = canvas.FontObject();
  const TRect button(0, 0, 75, 23), box(0, 30, 13, 43), header(80, 0, 180, 20);
  const TRect up(180, 0, 197, 17), thumb(180, 17, 197, 60), track(180, 60, 197, 83), down(180, 83, 197, 100);
  HBRUSH pattern = CreatePatternBrush(static_cast<HBITMAP>(vxScrollBarPatternBitmap(0)->Handle()));

  struct Element {
    const char* Name;
    std::function<void(int)> Painter, System;
  } elements[] = {
      {"push button",
       [&](int i) { painter.PaintPushButton(&canvas, button, "&Next >", i % 2 ? vxbsNormal : vxbsHot, true,
                                            clDefault, clDefault, false); },
       [&](int i) {
         RECT r = button;
         DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (i % 2 ? 0 : DFCS_HOT));
         SetBkMode(dc, TRANSPARENT);
         DrawTextA(dc, "&Next >", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
       }},
      {"check box",
       [&](int i) { painter.PaintCheckBox(&canvas, box, vxbsNormal, i % 2 ? cbsChecked : cbsUnchecked); },
       [&](int i) {
         RECT r = box;
         DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | (i % 2 ? DFCS_CHECKED : 0));
       }},
      {"header",
       [&](int) {
         painter.PaintHeader(&canvas, header, vxInflatedRect(header, -3, 0), 0, vxAllBorders, vxbsNormal,
                             taLeftJustify, tlCenter, false, true, "Product", font, clBtnText, clBtnFace, nullptr);
       },
       [&](int) {
         RECT r = header;
         DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
         InflateRect(&r, -3, 0);
         SetBkMode(dc, TRANSPARENT);
         DrawTextA(dc, "Product", -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
       }},
      {"scroll bar",
       [&](int) {
         painter.PaintScrollBarElement(&canvas, false, up, sbpLineUp, vxbsNormal);
         painter.PaintScrollBarElement(&canvas, false, thumb, sbpThumbnail, vxbsNormal);
         painter.PaintScrollBarElement(&canvas, false, track, sbpPageDown, vxbsNormal);
         painter.PaintScrollBarElement(&canvas, false, down, sbpLineDown, vxbsNormal);
       },
       [&](int) {
         RECT r = up;
         DrawFrameControl(dc, &r, DFC_SCROLL, DFCS_SCROLLUP);
         r = thumb;
         DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
         r = track;
         FillRect(dc, &r, pattern);
         r = down;
         DrawFrameControl(dc, &r, DFC_SCROLL, DFCS_SCROLLDOWN);
       }},
  };
  std::printf("%-12s %12s %12s %8s\n", "element", "painter ms", "system ms", "ratio");
  for (const Element& e : elements) {
    const double mine = BestSeconds(draws, e.Painter), system = BestSeconds(draws, e.System);
    std::printf("%-12s %12.1f %12.1f %8.2f\n", e.Name, mine * 1000, system * 1000, mine / system);
  }
  DeleteObject(pattern);
  return 0;
}
