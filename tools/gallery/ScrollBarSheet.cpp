// The scroll bar's sheet: for every painter, each part of a horizontal and
// a vertical bar in each state (normal, hot, pressed, disabled), and live
// scroll bars of each painter with and without a page size.
#include "foundation/vxLookAndFeelPaintersOffice11.h"
#include "foundation/vxScrollBar.h"
#include "tools/gallery/Gallery.h"

namespace {

using gallery::Caption;
using gallery::TPaintedArea;

struct NamedPainter {
  const char* Name;
  const TvxCustomLookAndFeelPainter* Painter;
  TvxLookAndFeelKind Kind;
};

const NamedPainter kPainters[] = {
    {"Standard", &TvxStandardLookAndFeelPainter::Painter(), lfStandard},
    {"Flat", &TvxFlatLookAndFeelPainter::Painter(), lfFlat},
    {"UltraFlat", &TvxUltraFlatLookAndFeelPainter::Painter(), lfUltraFlat},
    {"Office11", &TvxOffice11LookAndFeelPainter::Painter(), lfOffice11},
};

const char* const kStates[] = {"normal", "hot", "pressed", "disabled"};
const TvxButtonState kStateValues[] = {vxbsNormal, vxbsHot, vxbsPressed, vxbsDisabled};

// One bar at (x, y) whose parts all show one state.
void PaintBar(TvxCanvas* canvas, const TvxCustomLookAndFeelPainter& painter, TvxScrollBarKind kind, int x, int y,
              TvxButtonState state) {
  const bool horizontal = kind == sbHorizontal;
  const TRect client = horizontal ? Bounds(x, y, 150, 17) : Bounds(x, y, 17, 110);
  TvxScrollBarPartRects parts;
  const TvxScrollBarMetrics metrics{17, 17, painter.ScrollBarMinThumbLength(!horizontal)};
  vxComputeScrollBarParts(kind, client, state != vxbsDisabled, {0, 100, 30, 35}, metrics, parts);
  painter.PaintScrollBarTrack(canvas, client, horizontal);
  const TRect* rects[] = {&parts.TopLeftArrowRect, &parts.BottomRightArrowRect, &parts.ThumbnailRect,
                          &parts.PageUpRect, &parts.PageDownRect};
  const TvxScrollBarPart names[] = {sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp, sbpPageDown};
  for (int i = 0; i < 5; ++i)
    if (!rects[i]->IsEmpty()) painter.PaintScrollBarElement(canvas, horizontal, *rects[i], names[i], state);
}

const bool registered = gallery::RegisterSheet("scrollbar", [](TForm* page) {
  new TPaintedArea(page, TRect(0, 0, gallery::kPageWidth, 560), [](TCanvas* c) {
    TvxCanvas canvas(c);
    for (int s = 0; s < 4; ++s) Caption(c, 110 + s * 220, 4, kStates[s]);
    for (int p = 0; p < 4; ++p) {
      const int y = 24 + p * 132;
      Caption(c, 8, y, kPainters[p].Name);
      for (int s = 0; s < 4; ++s) {
        const int x = 110 + s * 220;
        PaintBar(&canvas, *kPainters[p].Painter, sbHorizontal, x, y, kStateValues[s]);
        PaintBar(&canvas, *kPainters[p].Painter, sbVertical, x + 170, y, kStateValues[s]);
      }
    }
  });
  new TPaintedArea(page, TRect(0, 560, gallery::kPageWidth, 590), [](TCanvas* c) {
    Caption(c, 8, 8, "Live bars: position 40 of 0..100, without and with a page of 20; the last one disabled");
  });
  for (int p = 0; p < 4; ++p) {
    for (int i = 0; i < 3; ++i) {
      auto* bar = new TvxScrollBar(page);
      bar->SetParent(page);
      bar->LookAndFeel()->SetKind(kPainters[p].Kind);
      bar->SetBounds(10 + p * 245, 600 + i * 40, 220, 17);
      bar->SetScrollParams(0, 100, i == 0 ? 0 : 20, 40, true);
      if (i == 2) bar->SetEnabled(false);
    }
  }
});

}  // namespace
