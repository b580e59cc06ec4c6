// The framed containers' and edits' sheet: panel faces, frames and grids,
// the six group-box styles, framed edits in each state, the numeric edit
// with its drop button, the calculator, and balloon hints in each corner.
#include <memory>

#include "framed/FmBHints.h"
#include "framed/FmCalc.h"
#include "framed/FmEdit.h"
#include "framed/FmPanel.h"
#include "tools/gallery/FramedSheet.h"
#include "tools/gallery/Gallery.h"

namespace {

using gallery::Caption;
using gallery::TPaintedArea;

using framed_sheet::UseFont;

TFmPanel* Panel(TForm* page, int x, int y, const char* caption) {
  auto* p = new TFmPanel(page);
  p->SetParent(page);
  p->SetBounds(x, y, 110, 70);
  UseFont(p->Font(), -11, 0, clBlack);
  p->SetCaption(caption);
  return p;
}

void Panels(TForm* page) {
  new TPaintedArea(page, TRect(10, 6, 990, 20), [](TCanvas* c) {
    Caption(c, 0, 0, "Panels: raised, lowered and grooved frames, rounded, gradient faces, grids, top-left caption");
  });
  Panel(page, 10, 24, "Raised");
  TFmPanel* lowered = Panel(page, 130, 24, "Lowered + inner");
  lowered->SetBorderOuter(fsLowered);
  lowered->SetBorderInner(fsRaised);
  lowered->SetBorderWidth(2);
  TFmPanel* groove = Panel(page, 250, 24, "Groove, 2 sides");
  groove->SetBorderOuter(fsGroove);
  groove->SetBorderSides(sdTop | sdBottom);
  TFmPanel* rounded = Panel(page, 370, 24, "Flat rounded");
  rounded->SetBorderOuter(fsFlatRounded);
  rounded->SetColor(clWindow);
  TFmPanel* gradient = Panel(page, 490, 24, "Gradient");
  gradient->SetVisualStyle(vsGradient);
  gradient->SetGradientColorStyle(gcsCustom);
  gradient->SetGradientColorStart(clWhite);
  gradient->SetGradientColorStop(RGBColor(120, 160, 220));
  TFmPanel* office = Panel(page, 610, 24, "Scheme colours");
  office->SetVisualStyle(vsGradient);
  office->SetGradientColorStyle(gcsMSOffice);
  office->SetBorderOuter(fsFlat);
  TFmPanel* dots = Panel(page, 730, 24, "");
  dots->SetShowGrid(true);
  TFmPanel* lines = Panel(page, 850, 24, "Top left");
  lines->SetShowGrid(true);
  lines->SetGridStyle(gsDottedLines);
  lines->SetAlignment(taLeftJustify);
  lines->SetAlignmentVertical(avTop);
  lines->SetTextMargin(4);
}

void GroupBoxes(TForm* page) {
  new TPaintedArea(page, TRect(10, 100, 990, 114), [](TCanvas* c) {
    Caption(c, 0, 0, "Group boxes: Standard, Custom, TopLine, Flat, Banner, Underline; classic, then visual styles");
  });
  const char* const names[] = {"Standard", "Custom", "TopLine", "Flat", "Banner", "Underline"};
  for (int row = 0; row < 2; ++row)
    for (int s = gsStandard; s <= gsUnderline; ++s) {
      auto* box = new TFmGroupBox(page);
      box->SetParent(page);
      box->SetBounds(10 + s * 163, 118 + row * 86, 150, 78);
      UseFont(box->Font(), -11, fsBold, RGBColor(26, 66, 132));
      box->SetGroupStyle(TFmGroupBoxStyle(s));
      box->SetCaption(names[s]);
      box->SetVisualStyle(row == 0 ? vsClassic : vsWinXP);
      if (s == gsCustom) box->SetBorderOuter(fsLowered);
      if (s == gsStandard || s == gsBanner) box->SetShowCheckBox(true);
      if (s == gsBanner && row == 1) box->SetChecked(false);
      auto* inside = new TFmEdit(box);
      inside->SetParent(box);
      inside->SetBounds(12, 44, 100, 21);
      inside->SetText("child");
    }
}

TFmEdit* Edit(TForm* page, int x, int y, const char* text) {
  auto* e = new TFmEdit(page);
  e->SetParent(page);
  e->SetBounds(x, y, 110, 22);
  UseFont(e->Font(), -12, 0, clBlack);
  e->SetFrameVisible(true);
  e->SetFramingPreference(fpCustomFraming);
  e->SetText(text);
  return e;
}

void Edits(TForm* page) {
  new TPaintedArea(page, TRect(10, 292, 990, 306), [](TCanvas* c) {
    Caption(c, 0, 0, "Framed edits: normal, hot (bold frame), focused colour, read-only, disabled, lowered frame, "
                     "themed border, numeric with drop button");
  });
  Edit(page, 10, 310, "Normal");
  TFmEdit* hot = Edit(page, 130, 310, "Hot");
  hot->SetFrameHotTrack(true);
  hot->SetFrameHotColor(RGBColor(10, 36, 106));
  hot->Perform(CM_MOUSEENTER);
  TFmEdit* focused = Edit(page, 250, 310, "Focused");
  focused->SetFocusColor(RGBColor(255, 255, 210));
  focused->Perform(CM_ENTER);
  TFmEdit* readOnly = Edit(page, 370, 310, "Read-only");
  readOnly->SetReadOnly(true);
  TFmEdit* disabled = Edit(page, 490, 310, "Disabled");
  disabled->SetEnabled(false);
  TFmEdit* lowered = Edit(page, 610, 310, "Lowered");
  lowered->SetFrameStyle(fsLowered);
  TFmEdit* themed = Edit(page, 730, 310, "Themed");
  themed->SetFramingPreference(fpXPThemes);
  auto* numeric = new TFmNumericEdit(page);
  numeric->SetParent(page);
  numeric->SetBounds(850, 310, 130, 22);
  UseFont(numeric->Font(), -12, 0, clBlack);
  numeric->SetFrameVisible(true);
  numeric->SetFramingPreference(fpCustomFraming);
  numeric->SetCalculatorVisible(true);
  numeric->SetValue(-1234567);
}

void Calculators(TForm* page) {
  new TPaintedArea(page, TRect(10, 346, 400, 360), [](TCanvas* c) {
    Caption(c, 0, 0, "Calculator after 12 + 3; popup keys");
  });
  auto* calc = new TFmCalculator(page);
  calc->SetParent(page);
  calc->SetLeft(10);
  calc->SetTop(364);
  calc->SetThemeAware(false);
  for (int cell : {1, 2, int(ccAdd), 3}) calc->PressCell(cell);
  auto* popup = new TFmCalculator(page);
  popup->SetParent(page);
  popup->SetLeft(170);
  popup->SetTop(364);
  popup->SetIsPopup(true);
  popup->SetBorderOuter(fsFlat);
  popup->SetThemeAware(false);
  popup->SetBoldButtons(true);
  popup->CalculatorColors()->SetColor(3, RGBColor(220, 230, 250));
  popup->CalculatorColors()->SetColor(5, RGBColor(250, 225, 200));
  popup->SetResult(1.5);
}

// A balloon drawn as its window would show it at anchor (screen
// coordinates), clipped to the window's region.
void Balloon(TForm* page, const TRect& area, TPoint anchor, TFmHintCorner corner, bool showBalloon,
             const char* text) {
  auto* hint = new TFmCustomHintWindow(page);
  hint->SetCorner(corner);
  hint->SetShowBalloon(showBalloon);
  hint->SetFrameColor(cl3DDkShadow);
  hint->SetColor(clInfoBk);
  UseFont(hint->Font(), -11, 0, clInfoText);
  hint->SetBounds(anchor.X, anchor.Y, 10, 10);
  const TRect r = hint->CalcHintRect(0, text, nullptr);
  hint->ActivateHint(r, text);
  ShowWindow(hint->Handle(), SW_HIDE);
  new TPaintedArea(page, area, [hint, text](TCanvas* c) {
    Caption(c, 0, 0, text);
    TBitmap picture;
    picture.SetSize(hint->Width(), hint->Height());
    picture.Canvas()->Brush()->SetColor(clBtnFace);
    picture.Canvas()->FillRect(TRect(0, 0, hint->Width(), hint->Height()));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(hint->Handle(), region) != ERROR) SelectClipRgn(picture.Canvas()->Handle(), region);
    DeleteObject(region);
    hint->PaintTo(picture.Canvas()->Handle(), 0, 0);
    SelectClipRgn(picture.Canvas()->Handle(), nullptr);
    c->Draw(4, 16, &picture);
  });
}

void Balloons(TForm* page) {
  new TPaintedArea(page, TRect(330, 346, 990, 360), [](TCanvas* c) {
    Caption(c, 0, 0, "Balloon hints: each corner, flipped below at the top edge, and without balloon");
  });
  Balloon(page, TRect(330, 364, 540, 460), {500, 400}, hcLowerRight, true, "Lower right: below, tail up-left");
  Balloon(page, TRect(550, 364, 760, 460), {500, 400}, hcLowerLeft, true, "Lower left: below, tail up-right");
  Balloon(page, TRect(770, 364, 990, 460), {500, 400}, hcUpperLeft, true, "Upper left: above, tail down-right");
  Balloon(page, TRect(330, 470, 540, 566), {500, 400}, hcUpperRight, true, "Upper right: above, tail down-left");
  Balloon(page, TRect(550, 470, 760, 566), {500, 5}, hcUpperRight, true, "Upper right at the top: flipped");
  Balloon(page, TRect(770, 470, 990, 566), {500, 400}, hcUpperRight, false, "No balloon: a plain tip");
}

// Dock sites: clients stacked under captioned grabbers, side by side with
// the grabbers on the left in a site along its parent's top, and the plain
// grabbers without captions.
void DockedPanels(TForm* page) {
  new TPaintedArea(page, TRect(10, 580, 990, 594), [](TCanvas* c) {
    Caption(c, 0, 0, "Dock sites: grabbers with captions on top, on the left along a top edge, plain grabbers");
  });
  auto dock = [page](TWinControl* site, const char* caption) {
    auto* client = new TFmPanel(page);
    UseFont(client->Font(), -11, 0, clBlack);
    client->SetCaption(caption);
    client->SetBorderOuter(fsNone);
    client->SetColor(clWindow);
    client->SetParent(page);
    ManualDock(client, site);
  };
  TFmPanel* stacked = Panel(page, 10, 598, "");
  stacked->SetBounds(10, 598, 300, 130);
  stacked->SetDockSite(true);
  dock(stacked, "Properties");
  dock(stacked, "Output");
  TFmPanel* holder = Panel(page, 330, 598, "");
  holder->SetBounds(330, 598, 320, 130);
  holder->SetBorderOuter(fsNone);
  TFmPanel* along = new TFmPanel(page);
  along->SetParent(holder);
  along->SetAlign(alTop);
  along->SetHeight(80);
  along->SetDockSite(true);
  dock(along, "Files");
  dock(along, "Search");
  TFmPanel* plain = Panel(page, 670, 598, "");
  plain->SetBounds(670, 598, 300, 130);
  plain->SetShowDockClientCaptions(false);
  plain->SetDockSite(true);
  dock(plain, "Notes");
  dock(plain, "Tasks");
}

const bool registered = gallery::RegisterSheet("framed_containers", [](TForm* page) {
  Panels(page);
  GroupBoxes(page);
  Edits(page);
  Calculators(page);
  Balloons(page);
  DockedPanels(page);
});

}  // namespace
