// The push button's sheet: for every painter a button takes (standard,
// flat, ultra-flat, Office 2003 as buttons draw it, native theme), each
// kind in each state (normal, default, hot, pressed, disabled), without
// and with a glyph; below, live speed buttons of a group with one down,
// and live buttons with actions, the default look and right-to-left text.
#include <vector>

#include "foundation/vxButtons.h"
#include "foundation/vxImageList.h"
#include "platform/ui/Actions.h"
#include "tools/gallery/Gallery.h"

namespace {

using gallery::Caption;
using gallery::TPaintedArea;

struct NamedLook {
  const char* Name;
  TvxLookAndFeelKind Kind;
  bool Native;
};

const NamedLook kLooks[] = {
    {"Standard", lfStandard, false}, {"Flat", lfFlat, false},       {"UltraFlat", lfUltraFlat, false},
    {"Office11", lfOffice11, false}, {"Native", lfStandard, true},
};

const char* const kKindNames[] = {"standard", "drop-down", "arrow part"};
const char* const kStateNames[] = {"normal", "default", "hot", "pressed", "disabled"};

constexpr int kButtonWidth = 86, kButtonHeight = 26, kColumn = 90, kRow = 30, kLeft = 92, kTop = 36;

// A glyph in the look of the wizard's: a green arrow on a magenta field.
void MakeGlyph(TBitmap& glyph) {
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(16, 16);
  TCanvas* c = glyph.Canvas();
  c->Brush()->SetColor(TColor(RGB(255, 0, 255)));
  c->FillRect(TRect(0, 0, 16, 16));
  c->Brush()->SetColor(TColor(RGB(40, 120, 40)));
  c->Pen()->SetColor(TColor(RGB(40, 120, 40)));
  c->FillRect(TRect(2, 6, 9, 10));
  const TPoint arrow[] = {{8, 2}, {14, 8}, {8, 14}};
  c->Polygon(arrow, 3);
}

// A button the sheet draws itself, in whichever state it asks for.
class SheetButton : public TvxButton {
 public:
  using TvxButton::TvxButton;

  void PaintAt(HDC dc, int x, int y, int state) {
    SetEnabled(state != 4);
    if (state == 2) MouseEnter();
    DRAWITEMSTRUCT item{};
    item.hDC = dc;
    item.rcItem = RECT{0, 0, Width(), Height()};
    item.itemState = (state == 1 ? ODS_FOCUS : 0) | (state == 3 ? ODS_SELECTED : 0);
    // The page's canvas keeps its own objects in the DC.
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, x, y, nullptr);
    TMessage m{CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item), 0};
    Dispatch(m);
    RestoreDC(dc, saved);
    if (state == 2) MouseLeave();
  }
};

// Live buttons: two showing their actions' images from the action list
// (one enabled, one disabled by its action), one checked by its action in
// a group, a Default button with the default look (none of them is a tab
// stop, so no button takes the focus), and one glyph button left to right
// beside the same right to left.
void AddActionButtons(TForm* page, TBitmap* glyph) {
  new TPaintedArea(page, TRect(0, 570, gallery::kPageWidth, 590), [](TCanvas* c) {
    Caption(c, 4, 4,
            "Live: action images (enabled, disabled by the action), checked by its action, Default "
            "(focus elsewhere), left to right, right to left");
  });
  auto* images = new TvxImageList(page);
  images->SetSize(16, 16);
  images->AddWithMaskColor(glyph, TColor(RGB(255, 0, 255)));
  auto* list = new TActionList(page);
  list->SetImages(images);
  auto action = [&](const char* caption, bool enabled, bool checked) {
    auto* a = new TAction(page);
    a->SetActionList(list);
    a->SetCaption(caption);
    a->SetImageIndex(0);
    a->SetEnabled(enabled);
    a->SetChecked(checked);
    return a;
  };
  auto button = [&](int column) {
    auto* b = new TvxButton(page);
    b->SetParent(page);
    b->SetBounds(10 + column * 100, 600, 96, 26);
    b->SetTabStop(false);
    return b;
  };
  button(0)->SetAction(action("&Open", true, false));
  button(1)->SetAction(action("&Save", false, false));
  TvxButton* checked = button(2);
  checked->SetGroupIndex(3);
  checked->SetAction(action("&Bold", true, true));
  TvxButton* byDefault = button(3);
  byDefault->SetCaption("Default");
  byDefault->SetDefault(true);
  for (int column = 4; column < 6; ++column) {
    TvxButton* b = button(column);
    b->SetCaption("&Next");
    b->SetGlyph(glyph);
    if (column == 5) b->SetBiDiMode(bdRightToLeft);
  }
}

const bool registered = gallery::RegisterSheet("buttons", [](TForm* page) {
  // One button per look, kind and glyph, drawn into the page. They sit on
  // a hidden form of their own: a button may draw its parent's background
  // first, and the page's would draw these buttons again.
  auto* holder = new TForm(page);
  holder->SetBounds(0, 0, kButtonWidth, kButtonHeight);
  holder->SetColor(clBtnFace);
  std::vector<SheetButton*> buttons;
  TBitmap glyph;
  MakeGlyph(glyph);
  for (const NamedLook& look : kLooks)
    for (int kind = 0; kind < 3; ++kind)
      for (int withGlyph = 0; withGlyph < 2; ++withGlyph) {
        auto* b = new SheetButton(page);
        b->SetParent(holder);
        b->SetBounds(0, 0, kButtonWidth, kButtonHeight);
        b->SetCaption(withGlyph ? "&Next" : "&Button");
        b->SetKind(TvxButtonKind(kind));
        b->LookAndFeel()->SetKind(look.Kind);
        b->LookAndFeel()->SetNativeStyle(look.Native);
        if (withGlyph) b->SetGlyph(&glyph);
        buttons.push_back(b);
      }
  new TPaintedArea(page, TRect(0, 0, gallery::kPageWidth, kTop + 15 * kRow + 10), [buttons](TCanvas* c) {
    for (int withGlyph = 0; withGlyph < 2; ++withGlyph) {
      Caption(c, kLeft + withGlyph * 5 * kColumn, 2, withGlyph ? "with a glyph" : "caption only");
      for (int s = 0; s < 5; ++s) Caption(c, kLeft + (withGlyph * 5 + s) * kColumn, 18, kStateNames[s]);
    }
    HDC dc = c->Handle();
    for (int look = 0; look < 5; ++look)
      for (int kind = 0; kind < 3; ++kind) {
        const int y = kTop + (look * 3 + kind) * kRow;
        Caption(c, 4, y + 2, kLooks[look].Name);
        Caption(c, 4, y + 14, kKindNames[kind]);
        for (int withGlyph = 0; withGlyph < 2; ++withGlyph) {
          SheetButton* b = buttons[size_t((look * 3 + kind) * 2 + withGlyph)];
          for (int s = 0; s < 5; ++s) b->PaintAt(dc, kLeft + (withGlyph * 5 + s) * kColumn, y, s);
        }
      }
  });

  // Live speed buttons: a flat group with the middle one down, and a group
  // of ordinary ones with the first down.
  new TPaintedArea(page, TRect(0, 500, gallery::kPageWidth, 520), [](TCanvas* c) {
    Caption(c, 4, 4, "Live speed-button groups: flat (the middle one down) and standard look (the first down)");
  });
  for (int group = 0; group < 2; ++group)
    for (int i = 0; i < 3; ++i) {
      auto* b = new TvxButton(page);
      b->SetParent(page);
      b->SetBounds(10 + i * 90 + group * 300, 530, 86, 26);
      b->SetCaption(i == 0 ? "Left" : i == 1 ? "Centre" : "Right");
      b->LookAndFeel()->SetKind(group == 0 ? lfFlat : lfStandard);
      b->SetGroupIndex(group + 1);
      b->SetCanBeFocused(false);
      b->SpeedButtonOptions()->SetFlat(group == 0);
      if (i == (group == 0 ? 1 : 0)) b->SetDown(true);
    }
  AddActionButtons(page, &glyph);
});

}  // namespace
