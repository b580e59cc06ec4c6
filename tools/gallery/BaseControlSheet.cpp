// The base control's sheet: for every painter, a control whose content is
// larger than itself, so that both built-in bars and the size grip show,
// scrolled partway; beside it one that needs only the vertical bar.
#include "foundation/vxControlsBase.h"
#include "tools/gallery/Gallery.h"

namespace {

using gallery::Caption;
using gallery::TPaintedArea;

// A grid of numbered cells, 60 by 30 pixels each, scrolled by pixels.
class TGridView : public TvxControl {
 public:
  TGridView(TComponent* owner, int columns, int rows) : TvxControl(owner), columns_(columns), rows_(rows) {}

  void CalculateScrollBarParams() override {
    const TRect r = GetContentArea();
    SetScrollBarParams(sbHorizontal, 0, columns_ * 60 - 1, 10, r.Width(), left_, true, true);
    SetScrollBarParams(sbVertical, 0, rows_ * 30 - 1, 10, r.Height(), top_, true, true);
  }
  bool ScrollsByPixels(TvxScrollBarKind) override { return true; }
  void ScrollContentBy(TvxScrollBarKind kind, TScrollCode, int& pos) override {
    (kind == sbHorizontal ? left_ : top_) = pos;
    UpdateScrollBars();
    Invalidate();
  }
  void ScrollTo(int left, int top) {
    left_ = left;
    top_ = top;
    UpdateScrollBars();
  }

  void PaintControl() override {
    TCanvas* c = Canvas();
    const TRect area = GetContentArea();
    c->Brush()->SetColor(clWindow);
    c->FillRect(area);
    c->Pen()->SetColor(CurrentPainter()->GridLineColor());
    c->Font()->SetColor(clWindowText);
    SetBkMode(c->Handle(), TRANSPARENT);
    for (int row = 0; row < rows_; ++row)
      for (int column = 0; column < columns_; ++column) {
        const TRect cell(column * 60 - left_, row * 30 - top_, (column + 1) * 60 - left_, (row + 1) * 30 - top_);
        if (cell.Right < area.Left || cell.Left > area.Right || cell.Bottom < area.Top || cell.Top > area.Bottom)
          continue;
        c->MoveTo(cell.Left, cell.Bottom - 1);
        c->LineTo(cell.Right - 1, cell.Bottom - 1);
        c->LineTo(cell.Right - 1, cell.Top - 1);
        c->TextOut(cell.Left + 6, cell.Top + 8, Format("%s%d", {String(1, char('A' + column % 26)), row + 1}));
      }
    TvxControl::PaintControl();
  }

 private:
  int columns_, rows_;
  int left_ = 0, top_ = 0;
};

struct NamedKind {
  const char* Name;
  TvxLookAndFeelKind Kind;
  bool Native;
};

const NamedKind kKinds[] = {
    {"Standard", lfStandard, false}, {"Flat", lfFlat, false},         {"UltraFlat", lfUltraFlat, false},
    {"Office11", lfOffice11, false}, {"Native theme", lfStandard, true},
};

const bool registered = gallery::RegisterSheet("basecontrol", [](TForm* page) {
  int y = 8;
  for (const NamedKind& k : kKinds) {
    new TPaintedArea(page, TRect(0, y, gallery::kPageWidth, y + 18), [k](TCanvas* c) {
      Caption(c, 8, 2, Format("%s: both bars and the size grip, scrolled to (90, 75); only the vertical bar",
                              {k.Name}));
    });
    y += 20;
    for (int i = 0; i < 2; ++i) {
      auto* view = new TGridView(page, i == 0 ? 20 : 4, 40);
      view->SetParent(page);
      view->LookAndFeel()->SetKind(k.Kind);
      view->LookAndFeel()->SetNativeStyle(k.Native);
      view->SetBounds(10 + i * 330, y, 300, 110);
      view->ScrollTo(i == 0 ? 90 : 0, 75);
    }
    y += 120;
  }
});

}  // namespace
