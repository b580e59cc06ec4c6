// The container's sheets, one per painter: a container around a native
// EDIT in each of its four states (normal, focused, disabled, hot) with
// each border style, and a few with a shadow or fewer edges.
#include "foundation/vxContainer.h"
#include "tools/gallery/Gallery.h"

namespace {

using gallery::Caption;
using gallery::TPaintedArea;

enum TSheetState { ssNormal, ssFocused, ssDisabled, ssHot };
const char* const kStateNames[] = {"normal", "focused", "disabled", "hot"};

// A container held in one state whatever the focus and the mouse do.
class TStateContainer : public TvxContainer {
 public:
  TStateContainer(TComponent* owner, TSheetState state) : TvxContainer(owner), state_(state) {}
  bool FocusIsInside() override { return state_ == ssFocused; }
  bool RecalculateState(TPoint p, int buttonCode, bool mouseEvent, TShiftState) override {
    if (state_ == ssHot) p = TPoint(Width() / 2, Height() / 2);
    return TvxContainer::RecalculateState(p, buttonCode, mouseEvent, 0);
  }
  // The pointer is never really there: its leaving changes nothing.
  void NotifyMouseLeave(TControl*) override { vxStopMouseTracking(this); }
  void HandleMouseTrackingLeave() override { vxStopMouseTracking(this); }

 private:
  TSheetState state_;
};

struct TBorderRow {
  const char* Name;
  TvxContainerBorderStyle Style;
  bool Shadow;
  TvxEdges Edges;
};

const TBorderRow kRows[] = {
    {"none", cbsNone, false, vxAllBorders},
    {"single", cbsSingle, false, vxAllBorders},
    {"thick", cbsThick, false, vxAllBorders},
    {"flat", cbsFlat, false, vxAllBorders},
    {"3-D", cbs3D, false, vxAllBorders},
    {"ultra-flat", cbsUltraFlat, false, vxAllBorders},
    {"Office 2003", cbsOffice11, false, vxAllBorders},
    {"single, shadow", cbsSingle, true, vxAllBorders},
    {"3-D, shadow", cbs3D, true, vxAllBorders},
    {"single, left+top", cbsSingle, false, vxBorder(bLeft) | vxBorder(bTop)},
    {"painter's default", cbsNone, false, vxAllBorders},
};

struct TSheetPainter {
  const char* Sheet;
  TvxLookAndFeelKind Kind;
  bool Native;
};

void BuildSheet(TForm* page, const TSheetPainter& painter) {
  new TPaintedArea(page, TRect(0, 0, gallery::kPageWidth, gallery::kPageHeight), [](TCanvas* c) {
    for (int s = 0; s < 4; ++s) Caption(c, 150 + s * 210, 6, kStateNames[s]);
    for (size_t r = 0; r < std::size(kRows); ++r) Caption(c, 8, 34 + int(r) * 56, kRows[r].Name);
  });
  for (size_t r = 0; r < std::size(kRows); ++r) {
    const TBorderRow& row = kRows[r];
    for (int s = 0; s < 4; ++s) {
      auto container = new TStateContainer(page, TSheetState(s));
      container->SetParent(page);
      container->SetBounds(150 + s * 210, 26 + int(r) * 56, 190, 32);
      TvxContainerStyle* style = container->Style();
      style->GetLookAndFeel()->SetKind(painter.Kind);
      style->GetLookAndFeel()->SetNativeStyle(painter.Native);
      style->SetTransparentBorder(false);
      if (&row != &kRows[std::size(kRows) - 1]) style->SetBorderStyle(row.Style);
      style->SetShadow(row.Shadow);
      style->SetEdges(row.Edges);
      auto edit = new TEdit(container);
      edit->SetBorderStyle(bsNone);
      edit->SetParent(container);
      edit->SetText(String("Text ") + kStateNames[s]);
      container->SetInnerControl(edit);
      if (s == ssDisabled) container->SetEnabled(false);
      container->RefreshFromCursor(false);
    }
  }
}

const TSheetPainter kPainters[] = {
    {"container_standard", lfStandard, false},   {"container_flat", lfFlat, false},
    {"container_ultraflat", lfUltraFlat, false}, {"container_office11", lfOffice11, false},
    {"container_native", lfStandard, true},
};

const bool registered = [] {
  for (const TSheetPainter& painter : kPainters)
    gallery::RegisterSheet(painter.Sheet, [&painter](TForm* page) { BuildSheet(page, painter); });
  return true;
}();

}  // namespace
