// The control foundation's canvas sheet: the 3-D edges, frames on chosen
// sides, tiling from a grid anchored at the origin, clipping, the text
// alignments and flags, embossed disabled text, and text turned by quarter
// turns.
#include <memory>

#include "foundation/vxGraphics.h"
#include "tools/gallery/Gallery.h"

namespace {

using gallery::Caption;
using gallery::TPaintedArea;

// A 16 x 16 tile that shows its own cell: a light gradient with a dark
// line along its top and left edges and a red 3 x 3 mark at its top-left
// corner, so the grid and its origin can be seen.
TBitmap* Tile() {
  static std::unique_ptr<TBitmap> tile;
  if (tile) return tile.get();
  tile = std::make_unique<TBitmap>();
  tile->SetPixelFormat(pf32bit);
  tile->SetSize(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      COLORREF color = RGB(250 - 4 * y, 250 - 4 * x, 255);
      if (x == 0 || y == 0) color = RGB(40, 60, 140);
      if (x < 3 && y < 3) color = RGB(220, 0, 0);
      SetPixelV(tile->Canvas()->Handle(), x, y, color);
    }
  return tile.get();
}

void Edges(TForm* page) {
  new TPaintedArea(page, TRect(10, 10, 490, 120), [](TCanvas* c) {
    Caption(c, 0, 0, "DrawEdge3D: raised/sunken, outer/inner, and both nested; two-tone borders on single sides");
    TvxCanvas canvas(c);
    struct Edge {
      const char* name;
      bool sunken, outer;
    } edges[] = {{"raised outer", false, true}, {"raised inner", false, false},
                 {"sunken outer", true, true},  {"sunken inner", true, false}};
    for (int i = 0; i < 4; ++i) {
      const TRect r(4 + i * 80, 34, 74 + i * 80, 70);
      Caption(c, r.Left, 18, edges[i].name);
      canvas.DrawEdge3D(r, edges[i].sunken, edges[i].outer, vxAllBorders);
    }
    Caption(c, 324, 18, "button / field");
    TRect button(324, 34, 394, 70), field(404, 34, 474, 70);
    canvas.DrawEdge3D(button, false, true, vxAllBorders);
    canvas.DrawEdge3D(vxInflatedRect(button, -1, -1), false, false, vxAllBorders);
    canvas.DrawEdge3D(field, true, true, vxAllBorders);
    canvas.DrawEdge3D(vxInflatedRect(field, -1, -1), true, false, vxAllBorders);
    const TvxBorders sides[] = {vxBorder(bLeft), vxBorder(bTop), vxBorder(bRight), vxBorder(bBottom)};
    for (int i = 0; i < 4; ++i)
      canvas.DrawTwoToneBorders(TRect(4 + i * 80, 78, 74 + i * 80, 104), clNavy, clRed, sides[i], 3);
    canvas.DrawTwoToneBorders(TRect(324, 78, 474, 104), clNavy, clRed, vxAllBorders, 3);
  });
}

void Frames(TForm* page) {
  new TPaintedArea(page, TRect(500, 10, 990, 120), [](TCanvas* c) {
    Caption(c, 0, 0, "FillAreaWithFrame: width 1, 3 and 6 on chosen sides, over a colour or the tile");
    TvxCanvas canvas(c);
    struct Frame {
      int width;
      TvxBorders borders;
    } frames[] = {{1, vxAllBorders},
                  {3, vxAllBorders},
                  {6, TvxBorders(vxBorder(bLeft) | vxBorder(bTop))},
                  {6, TvxBorders(vxBorder(bRight) | vxBorder(bBottom))},
                  {3, TvxBorders(vxBorder(bLeft) | vxBorder(bRight))}};
    for (int i = 0; i < 5; ++i) {
      const TRect r(4 + i * 96, 18, 90 + i * 96, 58);
      canvas.FillAreaWithFrame(r, {nullptr, RGBColor(255, 250, 205)}, false, frames[i].width, clGreen,
                               frames[i].borders);
      canvas.FillAreaWithFrame(vxShiftedRect(r, 0, 46), {Tile(), clNone}, false, frames[i].width, clMaroon,
                               frames[i].borders);
    }
  });
}

void Tiling(TForm* page) {
  new TPaintedArea(page, TRect(10, 128, 490, 290), [](TCanvas* c) {
    Caption(c, 0, 0, "Tiling a 16 x 16 picture (red corner = tile origin): from the origin, from x = 8,");
    Caption(c, 0, 14, "and with the origin moved so that the area starts at -8, -8; then a clip with a hole");
    TvxCanvas canvas(c);
    canvas.FillAreaWithBitmap({4, 34, 100, 130}, Tile(), false);
    canvas.FillAreaWithBitmap({120, 34, 216, 130}, Tile(), false);
    canvas.PushSavedDC();
    const TPoint origin = canvas.QueryWindowOrigin();
    canvas.ApplyWindowOrigin({origin.X - 244, origin.Y - 42});  // logical (-8, -8) is (236, 34)
    canvas.FillAreaWithBitmap({-8, -8, 88, 88}, Tile(), false);
    canvas.PopSavedDC();
    canvas.PushClipRegion();
    canvas.ExcludeRectFromClip({380, 60, 420, 100});
    canvas.FillAreaWithColor({356, 34, 444, 130}, RGBColor(80, 160, 80));
    canvas.PopClipRegion();
    canvas.InvertArea({356, 134, 444, 150});
    canvas.DrawFocusFrame({356, 134, 444, 150});
  });
}

void Text(TForm* page) {
  new TPaintedArea(page, TRect(500, 128, 990, 420), [](TCanvas* c) {
    Caption(c, 0, 0, "OutputText: nine alignments (single line), word break, ellipses, disabled (embossed)");
    TvxCanvas canvas(c);
    const TvxTextFlags horz[] = {vxtfAlignLeft, vxtfAlignHCenter, vxtfAlignRight};
    const TvxTextFlags vert[] = {vxtfAlignTop, vxtfAlignVCenter, vxtfAlignBottom};
    canvas.FontObject()->SetName("Tahoma");
    canvas.FontObject()->SetHeight(-11);
    for (int row = 0; row < 3; ++row)
      for (int column = 0; column < 3; ++column) {
        const TRect r(4 + column * 80, 18 + row * 34, 78 + column * 80, 48 + row * 34);
        canvas.FillAreaWithColor(r, clWindow);
        canvas.FontObject()->SetColor(clWindowText);
        canvas.BrushObject()->SetStyle(bsClear);
        canvas.OutputText("Text", r, TvxTextFlags(horz[column] | vert[row] | vxtfSingleLine));
      }
    struct Sample {
      const char* text;
      TvxTextFlags flags;
      bool enabled;
    } samples[] = {
        {"Word break keeps whole words on their lines", vxtfWordBreak, true},
        {"End ellipsis cuts a line that is too long", TvxTextFlags(vxtfSingleLine | vxtfEndEllipsis), true},
        {"C:\\Program Files\\Quillor\\Pro\\setup.log", TvxTextFlags(vxtfSingleLine | vxtfPathEllipsis), true},
        {"&Prefix shown", TvxTextFlags(vxtfSingleLine | vxtfShowPrefix), true},
        {"Disabled, embossed", vxtfSingleLine, false},
        {"Disabled word break in a narrow box", vxtfWordBreak, false},
    };
    for (int i = 0; i < 6; ++i) {
      const TRect r(250 + (i % 2) * 120, 18 + (i / 2) * 50, 362 + (i % 2) * 120, 62 + (i / 2) * 50);
      canvas.FillAreaWithColor(r, i >= 4 ? clBtnFace : clWindow);
      canvas.FontObject()->SetColor(clWindowText);
      canvas.BrushObject()->SetStyle(bsClear);
      canvas.OutputText(samples[i].text, r, samples[i].flags, samples[i].enabled);
    }
    Caption(c, 4, 124, "Vertical placement of word-wrapped text: top, centre, bottom");
    for (int i = 0; i < 3; ++i) {
      const TRect r(4 + i * 80, 140, 78 + i * 80, 220);
      canvas.FillAreaWithColor(r, clWindow);
      canvas.FontObject()->SetColor(clWindowText);
      canvas.BrushObject()->SetStyle(bsClear);
      canvas.OutputText("Three short lines of text", r, TvxTextFlags(vxtfWordBreak | vert[i]));
    }
  });
}

void RotatedText(TForm* page) {
  new TPaintedArea(page, TRect(10, 298, 490, 420), [](TCanvas* c) {
    Caption(c, 0, 0, "OutputTextEx rotated: none, a quarter turn anticlockwise, clockwise, a half turn");
    TvxCanvas canvas(c);
    canvas.FontObject()->SetName("Tahoma");
    canvas.FontObject()->SetHeight(-13);
    const TRect areas[] = {{4, 20, 104, 40}, {120, 20, 140, 116}, {160, 20, 180, 116}, {200, 20, 300, 40}};
    const TvxRotation rotations[] = {raNone, raPlus90, raMinus90, ra180};
    for (int i = 0; i < 4; ++i) {
      canvas.FillAreaWithBitmap(areas[i], Tile(), false);
      canvas.FontObject()->SetColor(clBlack);
      canvas.OutputTextEx("Rotated", areas[i], TvxTextFlags(vxtfAlignHCenter | vxtfAlignVCenter | vxtfSingleLine),
                          true, rotations[i]);
    }
  });
}

const bool registered = gallery::RegisterSheet("foundation", [](TForm* page) {
  Edges(page);
  Frames(page);
  Tiling(page);
  Text(page);
  RotatedText(page);
});

}  // namespace
