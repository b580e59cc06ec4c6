// The skin sheets: one page per registered skin ("skin_Black", ...), every
// part drawn by that skin's painter: push buttons, editor buttons, check
// boxes and radio buttons in each state, scroll bars, headers, borders,
// group boxes, progress and track bars, the clock, navigator glyphs and the
// skin's colours.
#include "foundation/vxLookAndFeelPaintersRegistry.h"
#include "skins/vdSkinsDefaultPainters.h"
#include "tools/gallery/Gallery.h"
#include "tools/skingen/SkinCatalog.h"

namespace {

using gallery::Caption;
using gallery::TPaintedArea;

const char* const kStates[] = {"default", "normal", "hot", "pressed", "disabled"};
const TvxButtonState kStateValues[] = {vxbsDefault, vxbsNormal, vxbsHot, vxbsPressed, vxbsDisabled};

// The skins run from the first skin sheet to the end of the program.
const TvxCustomLookAndFeelPainter& SkinPainter(const String& name) {
  static TvdSkinModules skins;
  TvxLookAndFeelPainterClass painter = &TvxOffice11LookAndFeelPainter::Painter();
  if (TvxExtendedStylePainters* registry = vxGetStylePainterRegistry()) registry->FindPainterByName(name, painter);
  return *painter;
}

// The parts of a scroll bar side by side, each in one state: the track
// under all, the two arrows, the thumb and a pressed page area.
void PaintScrollParts(TvxCanvas* canvas, const TvxCustomLookAndFeelPainter& painter, const TRect& r,
                      TvxButtonState state) {
  painter.PaintScrollBarTrack(canvas, r, true);
  painter.PaintScrollBarElement(canvas, true, Bounds(r.Left, r.Top, 17, 17), sbpLineUp, state);
  painter.PaintScrollBarElement(canvas, true, Bounds(r.Left + 24, r.Top, 36, 17), sbpThumbnail, state);
  painter.PaintScrollBarElement(canvas, true, Bounds(r.Left + 66, r.Top, 30, 17), sbpPageDown, state);
  painter.PaintScrollBarElement(canvas, true, Bounds(r.Right - 17, r.Top, 17, 17), sbpLineDown, state);
  const TRect vertical = Bounds(r.Left, r.Top + 24, 17, 100);
  painter.PaintScrollBarTrack(canvas, vertical, false);
  painter.PaintScrollBarElement(canvas, false, Bounds(vertical.Left, vertical.Top, 17, 17), sbpLineUp, state);
  painter.PaintScrollBarElement(canvas, false, Bounds(vertical.Left, vertical.Top + 30, 17, 36), sbpThumbnail, state);
  painter.PaintScrollBarElement(canvas, false, Bounds(vertical.Left, vertical.Bottom - 17, 17, 17), sbpLineDown,
                                state);
}

// The states, one column each, from x = 120 on, 150 apart.
void StateRow(TCanvas* c, TvxCanvas* canvas, int y, const char* title,
              const std::function<void(TvxCanvas*, const TRect&, TvxButtonState)>& paint) {
  Caption(c, 8, y + 4, title);
  for (int s = 0; s < 5; ++s) paint(canvas, Bounds(120 + s * 150, y, 130, 24), kStateValues[s]);
}

void PaintSheet(TCanvas* c, const TvxCustomLookAndFeelPainter& p) {
  TvxCanvas canvas(c);
  // The page's background is the skin's form.
  p.PaintFormClientArea(&canvas, TRect(0, 0, gallery::kPageWidth, gallery::kPageHeight));
  for (int s = 0; s < 5; ++s) Caption(c, 120 + s * 150, 4, kStates[s]);
  StateRow(c, &canvas, 22, "Push button", [&](TvxCanvas* v, const TRect& r, TvxButtonState s) {
    p.PaintPushButton(v, r, "&Next >", s, true, clDefault, clDefault, false);
  });
  StateRow(c, &canvas, 52, "Edit buttons", [&](TvxCanvas* v, const TRect& r, TvxButtonState s) {
    for (int kind = 0; kind < 8; ++kind) p.PaintEditButton(v, Bounds(r.Left + kind * 16, r.Top, 16, 22), kind, s, 1);
  });
  StateRow(c, &canvas, 82, "Check, radio", [&](TvxCanvas* v, const TRect& r, TvxButtonState s) {
    const TSize box = p.CheckBoxGlyphExtent();
    for (int check = 0; check < 3; ++check)
      p.PaintCheckBox(v, Bounds(r.Left + check * 22, r.Top + 2, box.cx, box.cy), s, TvxCheckBoxState(check));
    p.PaintRadioButton(v, r.Left + 70, r.Top + 2, s, false, false, clDefault);
    p.PaintRadioButton(v, r.Left + 92, r.Top + 2, s, true, false, clDefault);
  });
  StateRow(c, &canvas, 112, "Header", [&](TvxCanvas* v, const TRect& r, TvxButtonState s) {
    p.PaintHeader(v, r, vxInflatedRect(r, -4, 0), 0, vxAllBorders, s, taLeftJustify, tlCenter, false, true, "Column",
                  nullptr, p.HeaderTextColor(), clDefault, nullptr);
  });
  StateRow(c, &canvas, 142, "Navigator", [&](TvxCanvas* v, const TRect& r, TvxButtonState s) {
    for (int i = 0; i < 5; ++i) {
      const TRect button = Bounds(r.Left + i * 26, r.Top, 24, 24);
      p.PaintNavigatorPushButton(v, button, s);
      p.PaintNavigatorButtonGlyph(v, nullptr, 0, i, vxInflatedRect(button, -4, -4), s != vxbsDisabled, false);
    }
  });
  StateRow(c, &canvas, 172, "Track bar thumb", [&](TvxCanvas* v, const TRect& r, TvxButtonState s) {
    const TSize thumb = p.TrackBarThumbExtent(true);
    for (int shape = 0; shape < 3; ++shape)
      p.PaintTrackBarThumb(v, Bounds(r.Left + shape * 30, r.Top, thumb.cx, thumb.cy), s, true, shape, clDefault);
  });

  Caption(c, 8, 210, "Scroll bars");
  for (int s = 1; s < 5; ++s) PaintScrollParts(&canvas, p, Bounds(120 + s * 150, 210, 130, 17), kStateValues[s]);

  // Frames and panels.
  p.PaintBorder(&canvas, Bounds(160, 350, 120, 50));
  Caption(c, 166, 366, "Border");
  p.PaintGroupBoxCaption(&canvas, Bounds(300, 350, 180, 20), vxgcpTop);
  p.PaintGroupBoxBorder(&canvas, Bounds(300, 370, 180, 60), vxgcpTop, vxAllBorders & ~vxBorder(bTop));
  Caption(c, 308, 353, "Group box");
  p.PaintGroupPanel(&canvas, Bounds(500, 350, 140, 80), true);
  Caption(c, 508, 358, "Group panel");
  p.PaintSplitter(&canvas, Bounds(660, 350, 140, 8), false, false, true);
  p.PaintSplitter(&canvas, Bounds(660, 366, 140, 8), true, false, true);
  p.PaintSizeGrip(&canvas, Bounds(820, 350, p.SizeGripExtent().cx, p.SizeGripExtent().cy));
  p.PaintLabelLine(&canvas, Bounds(660, 390, 200, 2), clDefault, clDefault, false);
  p.PaintSeparator(&canvas, Bounds(660, 400, 200, 10), false);

  // Bars.
  p.PaintProgressBarFrame(&canvas, Bounds(160, 450, 300, 20), false);
  p.PaintProgressBarChunk(&canvas, vxInflatedRect(Bounds(160, 450, 180, 20), -2, -2), false);
  const TRect track = Bounds(500, 458, 300, p.TrackBarTrackThickness());
  p.PaintTrackBarTrack(&canvas, track, Bounds(560, track.Top, 80, track.Height()), true, true, true, clDefault);

  // Expanders, clock and group expand buttons.
  const int extent = p.ExpandButtonExtent();
  p.PaintExpandButton(&canvas, Bounds(160, 490, extent, extent), false, clDefault);
  p.PaintExpandButton(&canvas, Bounds(180, 490, extent, extent), true, clDefault);
  p.PaintGroupBoxExpandButton(&canvas, Bounds(210, 490, 20, 20), vxbsNormal, true, raNone);
  p.PaintGroupBoxExpandButton(&canvas, Bounds(240, 490, 20, 20), vxbsHot, true, raPlus90);
  p.PaintClockFace(&canvas, Bounds(300, 490, 100, 100), EncodeTime(10, 8, 36, 0), clWindow);
  p.PaintFilterDropDownButton(&canvas, Bounds(420, 490, 16, 20), vxbsNormal, false);
  p.PaintFilterDropDownButton(&canvas, Bounds(440, 490, 16, 20), vxbsHot, true);
  p.PaintFilterCloseButton(&canvas, Bounds(460, 490, 16, 16), vxbsNormal);
  p.PaintTabCloseButton(&canvas, Bounds(480, 490, 16, 16), vxbsHot);

  // The skin's colours.
  const std::pair<const char*, TColor> colours[] = {
      {"Content", p.ContentColor()},     {"Content text", p.ContentTextColor()},
      {"Header", p.HeaderColor()},       {"Header text", p.HeaderTextColor()},
      {"Selection", p.SelectionColor()}, {"Selection text", p.SelectionTextColor()},
      {"Frame", p.ContainerFrameColor(false)}, {"Hyperlink", p.HyperLinkTextColor()},
      {"Editor", p.EditorBackgroundColor(eckNormal)}, {"Editor text", p.EditorTextColor(eckNormal)}};
  for (int i = 0; i < 10; ++i) {
    const TRect swatch = Bounds(500 + (i % 5) * 96, 530 + (i / 5) * 50, 88, 22);
    canvas.FillAreaWithColor(swatch, colours[i].second);
    Caption(c, swatch.Left, swatch.Bottom + 2, colours[i].first);
  }
  Caption(c, 8, 720, String("Painter ") + p.ClassName());
}

const bool registered = [] {
  for (const TSkinEntry& entry : SkinEntries()) {
    const String name = IsUserSkin(entry) ? String("UserSkin") : String(entry.Name);
    gallery::RegisterSheet(("skin_" + name).c_str(), [name](TForm* page) {
      new TPaintedArea(page, TRect(0, 0, gallery::kPageWidth, gallery::kPageHeight),
                       [name](TCanvas* c) { PaintSheet(c, SkinPainter(name)); });
    });
  }
  return true;
}();

}  // namespace
