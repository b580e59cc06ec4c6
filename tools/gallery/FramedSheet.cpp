// The framed controls' sheet: every frame style (plain, tinted, on single
// sides), every gradient direction, the label effects, and each progress
// bar kind at 0, 37 and 100 percent, with and without visual styles.
#include <memory>

#include "framed/FmBckgnd.h"
#include "framed/FmGrafx.h"
#include "framed/FmLabel.h"
#include "framed/FmPrgres.h"
#include "tools/gallery/FramedSheet.h"
#include "tools/gallery/Gallery.h"

namespace {

using gallery::Caption;
using gallery::TPaintedArea;

const char* const kStyleNames[] = {"None",   "Flat",   "Groove", "Bump",     "Lowered",  "ButtonDown",
                                   "Raised", "ButtonUp", "Status", "Popup", "FlatBold", "FlatRounded"};
const char* const kDirectionNames[] = {"DiagonalUp", "DiagonalDown", "HorizontalEnd", "HorizontalCenter",
                                       "HorizontalBox", "VerticalEnd", "VerticalCenter", "VerticalBox",
                                       "SquareBox", "BigSquareBox"};

using framed_sheet::UseFont;

void FrameStyles(TForm* page) {
  new TPaintedArea(page, TRect(10, 10, 990, 170), [](TCanvas* c) {
    Caption(c, 0, 0, "Frame styles: all sides, tinted (face colour), left and top only, right and bottom only");
    TCanvasFrameSurface surface(c);
    const TColor tint = RGBColor(150, 185, 230);
    for (int s = fsNone; s <= fsFlatRounded; ++s) {
      const int x = 4 + s * 81;
      Caption(c, x, 16, kStyleNames[s]);
      const auto style = TFrameStyleEx(s);
      PaintFrameStyle(surface, TRect(x, 32, x + 70, 60), style);
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(tint);
      c->FillRect(TRect(x, 66, x + 70, 94));
      PaintTintedFrameStyle(surface, TRect(x, 66, x + 70, 94), tint, style);
      PaintFrameStyle(surface, TRect(x, 100, x + 70, 126), style, sdLeft | sdTop);
      PaintFrameStyle(surface, TRect(x, 132, x + 70, 158), style, sdRight | sdBottom);
    }
  });
}

void Gradients(TForm* page) {
  new TPaintedArea(page, TRect(10, 176, 990, 262), [](TCanvas* c) {
    Caption(c, 0, 0, "Gradient directions (start colour white, stop colour the highlight)");
    for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
      const int x = 4 + d * 97;
      Caption(c, x, 16, kDirectionNames[d]);
      PaintTwoColorGradient(c, TRect(x, 32, x + 90, 84), TGradientDirection(d), clWhite, clHighlight, 1);
    }
  });
}

TFmLabel* Label(TForm* page, int left, int top, const char* caption) {
  auto* l = new TFmLabel(page);
  l->SetParent(page);
  l->SetLeft(left);
  l->SetTop(top);
  l->SetTransparent(true);
  UseFont(l->Font(), -16, fsBold, RGBColor(26, 66, 132));
  l->SetCaption(caption);
  return l;
}

void Labels(TForm* page) {
  new TPaintedArea(page, TRect(10, 268, 990, 284), [](TCanvas* c) {
    Caption(c, 0, 0, "Labels: text styles, frames, disabled, blink phase, URL, ellipsis, rotation, arc");
  });
  Label(page, 14, 288, "Normal");
  Label(page, 104, 288, "Raised")->SetTextStyle(tsRaised);
  Label(page, 190, 288, "Recessed")->SetTextStyle(tsRecessed);
  TFmLabel* shadow = Label(page, 294, 288, "Shadow");
  shadow->SetTextStyle(tsShadow);
  shadow->SetShadowColor(RGBColor(160, 160, 160));
  TFmLabel* framed = Label(page, 394, 284, "Framed");
  framed->SetTransparent(false);
  framed->SetColor(clWindow);
  framed->SetTextMargin(2);
  framed->SetBorderOuter(fsFlatRounded);
  framed->SetBorderInner(fsLowered);
  framed->SetBorderWidth(1);
  Label(page, 494, 288, "Disabled")->SetEnabled(false);
  TFmLabel* blink = Label(page, 592, 288, "Blink phase");
  blink->SetBlinkColor(RGBColor(55, 155, 255));
  blink->SetBlinking(true);
  blink->Perform(CM_BLINKPHASE, 1);
  auto* url = new TFmURLLabel(page);
  url->SetParent(page);
  url->SetBounds(714, 290, 120, 16);
  url->SetCaption("www.example.org");
  TFmLabel* ellipsis = Label(page, 850, 288, "A caption condensed at its end");
  ellipsis->SetCondenseCaption(ccAtEnd);
  ellipsis->SetWidth(130);

  TFmLabel* up = Label(page, 14, 320, "Rotated 90");
  up->SetAngle(90);
  TFmLabel* slanted = Label(page, 60, 320, "Rotated 30");
  slanted->SetAngle(30);
  TFmLabel* down = Label(page, 200, 320, "Rotated 270");
  down->SetAngle(270);
  TFmLabel* arc = Label(page, 250, 320, "TEXT ON AN ARC");
  arc->SetAutoSize(false);
  arc->SetBounds(250, 320, 150, 150);
  arc->SetRotation(roCurve);
  arc->SetAngle(80);
  TFmLabel* arcShadow = Label(page, 420, 320, "SHADOWED ARC");
  arcShadow->SetAutoSize(false);
  arcShadow->SetBounds(420, 320, 150, 150);
  arcShadow->SetTextStyle(tsShadow);
  arcShadow->SetRotation(roCurve);
  arcShadow->SetCenterPoint(cpLowerCenter);
  arcShadow->SetAngle(70);

  new TPaintedArea(page, TRect(700, 330, 800, 400), [](TCanvas* c) {
    Caption(c, 0, 0, "URL label's cursor");
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), "FMCOMMON_HANDCURSOR");
    DrawIconEx(c->Handle(), 30, 20, hand, 32, 32, 0, nullptr, DI_NORMAL);
  });
}

TFmProgressBar* Bar(TForm* page, const TRect& r, TBarStyle style, int percent, bool themed) {
  auto* bar = new TFmProgressBar(page);
  bar->SetParent(page);
  bar->SetBoundsRect(r);
  bar->SetBarStyle(style);
  bar->SetThemeAware(themed);
  UseFont(bar->Font(), -11, fsBold, clBlack);
  bar->SetPercent(uint16_t(percent));
  return bar;
}

void ProgressBars(TForm* page) {
  const char* const kinds[] = {"Traditional", "LED", "Gradient"};
  new TPaintedArea(page, TRect(10, 476, 990, 736), [kinds](TCanvas* c) {
    Caption(c, 0, 0, "Progress bars at 0, 37 and 100 percent: classic frames, then visual styles");
    for (int k = 0; k < 3; ++k) {
      Caption(c, 0, 20 + k * 30, kinds[k]);
      Caption(c, 0, 124 + k * 30, kinds[k]);
    }
    Caption(c, 0, 214, "Installer's bar (rounded frame) and separators");
  });
  const int percents[] = {0, 37, 100};
  for (int k = 0; k < 3; ++k)
    for (int p = 0; p < 3; ++p) {
      const int x = 90 + p * 250;
      Bar(page, Bounds(x, 494 + k * 30, 230, 22), TBarStyle(k), percents[p], false);
      Bar(page, Bounds(x, 598 + k * 30, 230, 22), TBarStyle(k), percents[p], true);
    }
  Bar(page, Bounds(850, 494, 22, 200), bsGradient, 37, false);
  Bar(page, Bounds(890, 494, 22, 200), bsLED, 37, false);
  TFmProgressBar* installer = Bar(page, Bounds(10, 704, 489, 17), bsGradient, 37, false);
  installer->SetBorderOuter(fsFlatRounded);
  installer->SetInteriorOffset(0);
  auto* separator = new TFmSeparator(page);
  separator->SetParent(page);
  separator->SetBounds(520, 712, 300, 2);
  separator->SetColor(clBtnFace);
  auto* vertical = new TFmSeparator(page);
  vertical->SetParent(page);
  vertical->SetOrientation(orVertical);
  vertical->SetBounds(940, 494, 2, 200);
  vertical->SetHighlightLocation(hlLowerRight);
}

const bool registered = gallery::RegisterSheet("framed", [](TForm* page) {
  FrameStyles(page);
  Gradients(page);
  Labels(page);
  ProgressBars(page);
});

}  // namespace
