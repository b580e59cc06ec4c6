// The picture sheets: each sheet puts controls and painted elements on a
// page, and the gallery saves what the page shows as "<name>.png" in the
// current folder. A sheet registers itself from its own source file.
#pragma once

#include <functional>

#include "platform/ui/Forms.h"

namespace gallery {

constexpr int kPageWidth = 1000, kPageHeight = 740;

// Fills the page; what it creates is owned by the page.
using TSheetBuilder = std::function<void(TForm* page)>;
// The look a sheet is drawn in: the prefix's, or visual styles switched on
// (Wine's light theme) or off for it, whatever the prefix has.
enum class TSheetLook { Prefix, Themed, Classic };
// Returns a value so that a sheet can register from a namespace-scope
// initialiser.
bool RegisterSheet(const char* name, TSheetBuilder builder, TSheetLook look = TSheetLook::Prefix);

// A control that paints with a function: for elements that are painters,
// not controls.
class TPaintedArea : public TGraphicControl {
 public:
  TPaintedArea(TWinControl* parent, const TRect& bounds, std::function<void(TCanvas*)> paint);

 protected:
  void Paint() override { paint_(Canvas()); }

 private:
  std::function<void(TCanvas*)> paint_;
};

// A caption in the sheet's small font.
void Caption(TCanvas* canvas, int x, int y, const String& text);

}  // namespace gallery
