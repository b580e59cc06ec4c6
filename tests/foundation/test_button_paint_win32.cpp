// What a push button paints follows every change of what it keeps from one
// paint to the next (the caption it read, the caption's measurement, the
// state images of its glyph, the painter): a button painted, then changed,
// paints exactly as a new button made with the change from the start.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ButtonDrawItem.h"
#include "TestSkinPainter.h"
#include "foundation/vxButtons.h"
#include "foundation/vxLookAndFeelPainters.h"
#include "foundation/vxLookAndFeelPaintersRegistry.h"
#include "foundation/vxModules.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Messages.h"

namespace {

// A 16 x 16 glyph: a square of colour on a magenta (transparent) field.
void MakeGlyph(TBitmap& glyph, COLORREF colour, int images = 1) {
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(16 * images, 16);
  TCanvas* c = glyph.Canvas();
  c->Brush()->SetColor(TColor(RGB(255, 0, 255)));
  c->FillRect(TRect(0, 0, glyph.Width(), 16));
  c->Brush()->SetColor(TColor(colour));
  for (int i = 0; i < images; ++i) c->FillRect(TRect(i * 16 + 3, 3, i * 16 + 13, 13));
}

struct Change {
  const char* Name;
  std::function<void(TvxButton&)> Apply;
};

class ButtonPaint : public testing::TestWithParam<bool> {
 protected:
  ButtonPaint() : form_(nullptr) {
    form_.SetBounds(50, 50, 300, 200);
    MakeGlyph(glyph_, RGB(40, 120, 40));
    MakeGlyph(otherGlyph_, RGB(200, 30, 30), 2);
    // With windows the caption is the window's text; without, the
    // control's own.
    form_.SetVisible(GetParam());
  }
  ~ButtonPaint() override { vxGetStylePainterRegistry()->UnregisterPainter("Test"); }

  TvxButton* Make() {
    auto* button = new TvxButton(&form_);
    button->SetParent(&form_);
    button->SetBounds(10, 10, 94, 28);
    button->SetCaption("&Button");
    button->SetGlyph(&glyph_);
    return button;
  }

  // Every pixel of the button drawn into a bitmap of its size.
  std::vector<COLORREF> Pixels(TvxButton& button) {
    TBitmap target;
    DrawButtonItem(button, target);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < button.Height(); ++y)
      for (int x = 0; x < button.Width(); ++x) pixels.push_back(GetPixel(target.Canvas()->Handle(), x, y));
    return pixels;
  }

  TvxFoundationModules modules_;
  TForm form_;
  TBitmap glyph_, otherGlyph_;
};

TEST_P(ButtonPaint, ChangeAfterAPaintShowsAsOnANewButton) {
  const std::vector<Change> changes = {
      {"caption", [](TvxButton& b) { b.SetCaption("Other caption"); }},
      {"caption set on the window", [](TvxButton& b) { SetWindowTextA(b.Handle(), "Window text"); }},
      {"caption removed", [](TvxButton& b) { b.SetCaption(""); }},
      {"font size", [](TvxButton& b) { b.Font()->SetSize(12); }},
      {"font style", [](TvxButton& b) { b.Font()->SetStyle(fsBold); }},
      {"font name", [](TvxButton& b) { b.Font()->SetName("Courier"); }},
      {"width", [](TvxButton& b) { b.SetBounds(10, 10, 60, 28); }},
      {"word wrap in less room", [](TvxButton& b) {
         b.SetWordWrap(true);
         b.SetBounds(10, 10, 50, 40);
       }},
      {"glyph", [this](TvxButton& b) { b.SetGlyph(&otherGlyph_); }},
      {"glyph count", [](TvxButton& b) { b.SetNumGlyphs(2); }},
      {"glyph removed", [](TvxButton& b) { b.SetGlyph(nullptr); }},
      {"disabled", [](TvxButton& b) { b.SetEnabled(false); }},
      {"look-and-feel kind", [](TvxButton& b) { b.LookAndFeel()->SetKind(lfStandard); }},
      {"skin", [](TvxButton& b) {
         vxGetStylePainterRegistry()->RegisterPainter("Test", &TestSkinPainter::Painter(), nullptr);
         b.LookAndFeel()->SetSkinName("Test");
       }},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.Name);
    TvxButton* painted = Make();
    const std::vector<COLORREF> before = Pixels(*painted);
    change.Apply(*painted);
    const std::vector<COLORREF> after = Pixels(*painted);
    EXPECT_NE(after, before) << "the change shows at all";
    TvxButton* fresh = Make();
    change.Apply(*fresh);
    EXPECT_EQ(after, Pixels(*fresh));
    delete painted;
    delete fresh;
    vxGetStylePainterRegistry()->UnregisterPainter("Test");
  }
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindows, ButtonPaint, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "Windows" : "NoWindows";
                         });

}  // namespace
