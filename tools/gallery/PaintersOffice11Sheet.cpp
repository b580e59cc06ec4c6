// The ultra-flat and Office 2003 painters' sheets: every drawing operation
// by family (the painter sheets of PainterSheet.h), in the colours the
// system gives (classic under the build's Wine: the fallback formulas), and
// one sheet of the families the two painters change, drawn by the Office
// 2003 painter in the blue scheme, the look the colour tables are made for.
#include "foundation/vdOffice11.h"
#include "foundation/vxLookAndFeelPaintersOffice11.h"
#include "tools/gallery/Gallery.h"
#include "tools/gallery/PainterSheet.h"

namespace {

using gallery::Caption;
using gallery::TPaintedArea;

constexpr TvxButtonState kStates[] = {vxbsNormal, vxbsHot, vxbsPressed, vxbsDisabled, vxbsDefault};
const char* const kStateNames[] = {"normal", "hot", "pressed", "disabled", "default"};

TFont* SheetFont() {
  static TFont font;
  font.SetName("Tahoma");
  font.SetHeight(-11);
  return &font;
}

// One row of the sheet: a label over a strip the painter draws into.
void Row(TForm* page, int top, int height, const char* label,
         std::function<void(TvxCanvas*, const TvxCustomLookAndFeelPainter&)> draw,
         const TvxCustomLookAndFeelPainter& painter) {
  new TPaintedArea(page, TRect(10, top, 990, top + height), [label, draw, &painter](TCanvas* c) {
    Caption(c, 0, 0, label);
    TvxCanvas canvas(c);
    draw(&canvas, painter);
  });
}

void Buttons(TForm* page, int top, const TvxCustomLookAndFeelPainter& p) {
  Row(page, top, 64, "PaintPushButton (normal, hot, pressed, disabled, default); PaintCheckBox (unchecked, checked, "
      "grayed) per state", [](TvxCanvas* c, const TvxCustomLookAndFeelPainter& p) {
        for (int i = 0; i < 5; ++i) {
          Caption(c->Canvas(), 4 + i * 84, 14, kStateNames[i]);
          c->AssignFontObject(SheetFont());
          p.PaintPushButton(c, {4 + i * 84, 28, 80 + i * 84, 52}, "Button", kStates[i], true, clDefault, clDefault,
                            false);
        }
        for (int i = 0; i < 4; ++i)
          for (int k = 0; k < 3; ++k) {
            const int x = 440 + i * 60 + k * 18;
            p.PaintCheckBox(c, {x, 32, x + 13, 45}, kStates[i], TvxCheckBoxState(k));
          }
      }, p);
}

void GroupsAndExpanders(TForm* page, int top, const TvxCustomLookAndFeelPainter& p) {
  Row(page, top, 52, "PaintPlainButton (rows of three: normal, hot, pressed); PaintExpandButton and "
      "PaintSmallExpandButton (collapsed, expanded); PaintFlatButtonFrame (hot, pressed)",
      [](TvxCanvas* c, const TvxCustomLookAndFeelPainter& p) {
        for (int row = 0; row < 3; ++row)
          for (int i = 0; i < 3; ++i) {
            const int x = 4 + row * 140 + i * 40;
            p.PaintPlainButton(c, {x, 18, x + 40, 42}, kStates[row], 3, i, clBtnShadow);
          }
        for (int i = 0; i < 2; ++i) {
          c->PushClipRegion();
          p.PaintExpandButton(c, {440 + i * 20, 24, 451 + i * 20, 35}, i == 1, clDefault);
          c->PopClipRegion();
          c->PushClipRegion();
          p.PaintSmallExpandButton(c, {500 + i * 20, 24, 500 + i * 20 + p.SmallExpandButtonExtent(),
                                       24 + p.SmallExpandButtonExtent()},
                                   i == 1, clBtnShadow, clWindow);
          c->PopClipRegion();
        }
        c->FillAreaWithColor({560, 18, 660, 42}, clBtnFace);
        p.PaintFlatButtonFrame(c, {560, 18, 605, 42}, false, true);
        p.PaintFlatButtonFrame(c, {615, 18, 660, 42}, true, false);
      }, p);
}

void Headers(TForm* page, int top, const TvxCustomLookAndFeelPainter& p) {
  Row(page, top, 56, "PaintHeader (normal, hot, pressed, neighbours on both sides); PaintHeaderSection; "
      "PaintSortMark (ascending, descending)", [](TvxCanvas* c, const TvxCustomLookAndFeelPainter& p) {
        const TvxBorders both = vxBorder(bLeft) | vxBorder(bRight);
        for (int i = 0; i < 3; ++i) {
          const TRect r(4 + i * 90, 18, 94 + i * 90, 40);
          p.PaintHeader(c, r, vxInflatedRect(r, -4, -2), i == 1 ? both : 0, vxAllBorders, kStates[i], taLeftJustify,
                        tlCenter, false, true, kStateNames[i], SheetFont(), clBtnText, p.HeaderColor(), nullptr);
        }
        for (int i = 0; i < 3; ++i) {
          const TRect r(300 + i * 90, 18, 390 + i * 90, 40);
          p.PaintHeaderSection(c, r, vxInflatedRect(r, -4, -2), 0, vxAllBorders, kStates[i], taCenter, tlCenter,
                               false, true, "Section", SheetFont(), clBtnText, clBtnFace);
        }
        for (int i = 0; i < 2; ++i) {
          c->FillAreaWithColor({580 + i * 30, 18, 604 + i * 30, 40}, p.HeaderColor());
          p.PaintSortMark(c, {580 + i * 30, 18, 604 + i * 30, 40}, i == 0);
        }
      }, p);
}

void FiltersFootersAndTabs(TForm* page, int top, const TvxCustomLookAndFeelPainter& p) {
  Row(page, top, 48, "PaintFilterDropDownButton (normal, hot, pressed; active); PaintFilterCloseButton; "
      "PaintFooterPanel; PaintFooterCellFrame; PaintTabEdge and PaintTabStripBackground",
      [](TvxCanvas* c, const TvxCustomLookAndFeelPainter& p) {
        for (int i = 0; i < 4; ++i)
          p.PaintFilterDropDownButton(c, {4 + i * 24, 20, 19 + i * 24, 36}, kStates[i % 3], i == 3);
        const TPoint close = p.FilterCloseButtonExtent();
        p.PaintFilterCloseButton(c, {110, 20, 110 + close.X, 20 + close.Y}, vxbsNormal);
        c->FillAreaWithColor({150, 16, 300, 44}, clBtnFace);
        p.PaintFooterPanel(c, {150, 16, 300, 44}, vxAllBorders);
        p.PaintFooterCellFrame(c, {160, 22, 220, 38});
        const TRect tab(320, 16, 400, 44);
        c->FillAreaWithColor(tab, clBtnFace);
        for (TvxBorder edge : {bLeft, bTop, bRight})
          p.PaintTabEdge(c,
                         edge == bTop    ? TRect(tab.Left, tab.Top, tab.Right, tab.Top + 1)
                         : edge == bLeft ? TRect(tab.Left, tab.Top, tab.Left + 1, tab.Bottom)
                                         : TRect(tab.Right - 1, tab.Top, tab.Right, tab.Bottom),
                         edge, vxAllBorders, false);
        p.PaintTabStripBackground(c, {410, 16, 560, 44}, vxBorder(bBottom), false);
      }, p);
}

void ScrollBarsAndTracks(TForm* page, int top, const TvxCustomLookAndFeelPainter& p) {
  Row(page, top, 56, "PaintScrollBarElement (arrows and thumb: normal, hot, pressed, disabled); "
      "PaintTrackBarTrack; PaintTrackBarThumb (pointed up, down, box)",
      [](TvxCanvas* c, const TvxCustomLookAndFeelPainter& p) {
        for (int i = 0; i < 4; ++i) {
          const int x = 4 + i * 70;
          p.PaintScrollBarElement(c, true, {x, 20, x + 17, 37}, sbpLineUp, kStates[i]);
          p.PaintScrollBarElement(c, true, {x + 17, 20, x + 47, 37}, sbpThumbnail, kStates[i]);
          p.PaintScrollBarElement(c, true, {x + 47, 20, x + 64, 37}, sbpLineDown, kStates[i]);
        }
        p.PaintTrackBarTrack(c, {300, 26, 460, 31}, {}, false, true, true, clWindow);
        for (int shape = 0; shape < 3; ++shape) {
          TRect thumb(320 + shape * 50, 18, 331 + shape * 50, 38);
          p.CorrectTrackBarThumbBounds(c, thumb, true, shape);
          p.PaintTrackBarThumb(c, thumb, vxbsNormal, true, shape, clBtnFace);
        }
      }, p);
}

void Areas(TForm* page, int top, const TvxCustomLookAndFeelPainter& p) {
  Row(page, top, 84, "PaintBorder; PaintSeparator; PaintSplitter (normal, highlighted); PaintGroupBoxFrame "
      "(0, 1); PaintSizeGrip; PaintSchedulerNavigationButton (previous, next hot);", [](TvxCanvas* c,
      const TvxCustomLookAndFeelPainter& p) {
        Caption(c->Canvas(), 500, 12, "PaintLayoutControlBackground; PaintPrintPreviewBackground");
        c->FillAreaWithColor({4, 18, 64, 78}, clWindow);
        p.PaintBorder(c, {4, 18, 64, 78});
        p.PaintSeparator(c, {70, 18, 130, 78}, false);
        for (int i = 0; i < 2; ++i) {
          c->FillAreaWithColor({140, 20 + i * 30, 240, 30 + i * 30}, clBtnFace);
          p.PaintSplitter(c, {140, 20 + i * 30, 240, 30 + i * 30}, i == 1, false, true);
        }
        for (int i = 0; i < 2; ++i) {
          c->PushClipRegion();
          p.PaintGroupBoxFrame(c, {250 + i * 70, 18, 310 + i * 70, 78}, i, 0, vxAllBorders);
          c->PopClipRegion();
        }
        const TRect grip(400, 58, 420, 78);
        c->FillAreaWithColor(grip, clBtnFace);
        p.PaintSizeGrip(c, grip);
        for (int i = 0; i < 2; ++i) {
          const TRect r(430 + i * 30, 18, 456 + i * 30, 78);
          p.PaintSchedulerNavigationButton(c, r, vxCenteredRect(r, 7, 7), i == 1, i == 1 ? vxbsHot : vxbsNormal);
        }
        p.PaintLayoutControlBackground(c, {500, 28, 580, 78});
        p.PaintPrintPreviewBackground(c, {590, 28, 650, 78});
      }, p);
}

void PainterSheet(TForm* page, const TvxCustomLookAndFeelPainter& painter) {
  Buttons(page, 10, painter);
  GroupsAndExpanders(page, 84, painter);
  Headers(page, 146, painter);
  FiltersFootersAndTabs(page, 212, painter);
  ScrollBarsAndTracks(page, 270, painter);
  Areas(page, 336, painter);
}

// Puts the blue scheme's colours in place while the page that owns it
// lives, and the system's colours back when the page goes.
class TBlueSchemeScope : public TComponent {
 public:
  explicit TBlueSchemeScope(TComponent* owner) : TComponent(owner) {
    vdOffice11Store(vdo11Blue, true, vdOffice11ColorsFor(vdo11Blue, true, {}, [](TvdRGBColor c) { return c; }));
  }
  ~TBlueSchemeScope() override { vdRefreshOffice11Colors(); }
};

// The Office 2003 painter draws from the scheme colours: the gallery holds
// a reference to them for its whole run.
bool HoldOffice11Colors() {
  vdAddRefOffice11Colors();
  return true;
}

const bool registered =
    HoldOffice11Colors() &&
    gallery::RegisterPainterSheets("ultraflat", &TvxUltraFlatLookAndFeelPainter::Painter()) &&
    gallery::RegisterPainterSheets("office11", &TvxOffice11LookAndFeelPainter::Painter()) &&
    gallery::RegisterSheet("painters_office11_blue", [](TForm* page) {
      new TBlueSchemeScope(page);
      PainterSheet(page, TvxOffice11LookAndFeelPainter::Painter());
    });

}  // namespace
