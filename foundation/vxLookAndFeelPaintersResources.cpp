// What every painter shares: the scroll-bar page patterns, the system check
// box's size, the row indicator images and the radio-button glyphs. Each is
// made on first use (or by the module's start) and freed when the module
// stops.
#include <memory>

#include "foundation/vxImageList.h"
#include "foundation/vxLookAndFeelPainters.h"
#include "foundation/vxLookAndFeelPaintersCommon.h"

namespace {

struct TvxPainterResources {
  std::unique_ptr<TBitmap> ScrollBarPatterns[2];
  HBRUSH ScrollBarBrushes[2] = {};
  std::unique_ptr<TvxRadioButtonImageList> RadioButtons;
  TSize CheckBoxSize;
  bool CheckBoxMeasured = false;
};

TvxPainterResources& Resources() {
  static TvxPainterResources resources;
  return resources;
}

}  // namespace

// --- Scroll-bar patterns ---------------------------------------------------------------

namespace {

void FreeScrollBarBrushes() {
  for (HBRUSH& brush : Resources().ScrollBarBrushes) {
    if (brush) DeleteObject(brush);
    brush = nullptr;
  }
}

}  // namespace

void vxBuildScrollBarPatternBitmaps() {
  for (auto& bitmap : Resources().ScrollBarPatterns) {
    bitmap = std::make_unique<TBitmap>();
    bitmap->SetWidth(8);
    bitmap->SetHeight(8);
  }
  vxRepaintScrollBarPatternBitmaps();
}

void vxRepaintScrollBarPatternBitmaps() {
  auto& patterns = Resources().ScrollBarPatterns;
  if (!patterns[0]) {
    vxBuildScrollBarPatternBitmaps();
    return;
  }
  // A checkerboard: the first colour where x and y differ in parity.
  const TColor colors[2][2] = {{clBtnHighlight, clBtnFace}, {cl3DDkShadow, clBlack}};
  for (int index = 0; index < 2; ++index) {
    TCanvas* canvas = patterns[index]->Canvas();
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        canvas->SetPixel(x, y, ColorToRGB(colors[index][(x + y) % 2 == 0 ? 1 : 0]));
  }
  FreeScrollBarBrushes();
}

TBitmap* vxScrollBarPatternBitmap(int index) {
  if (!Resources().ScrollBarPatterns[0]) vxBuildScrollBarPatternBitmaps();
  return Resources().ScrollBarPatterns[index].get();
}

HBRUSH vxScrollBarPatternBrush(int index) {
  HBRUSH& brush = Resources().ScrollBarBrushes[index];
  if (!brush) brush = CreatePatternBrush(static_cast<HBITMAP>(vxScrollBarPatternBitmap(index)->Handle()));
  return brush;
}

// --- System check box ----------------------------------------------------------------------

void vxMeasureSystemCheckBox() {
  // The system bitmap holds the check-box glyphs in 4 columns and 3 rows.
  TvxPainterResources& resources = Resources();
  resources.CheckBoxMeasured = true;
  HBITMAP bitmap = LoadBitmapA(nullptr, MAKEINTRESOURCEA(32759));
  if (!bitmap) return;
  BITMAP info{};
  if (GetObjectA(bitmap, sizeof(info), &info)) resources.CheckBoxSize = {info.bmWidth / 4, info.bmHeight / 3};
  DeleteObject(bitmap);
}

TSize vxSystemCheckBoxSize() {
  if (!Resources().CheckBoxMeasured) vxMeasureSystemCheckBox();
  return Resources().CheckBoxSize;
}

// --- Indicator images ------------------------------------------------------------------------

// Stand-in until the library's resources carry the indicator bitmaps
// ("VX_ARROWBITMAP" and the five after it): no images, so indicator cells
// show their background only.
TvxImageList* vxIndicatorImages() { return nullptr; }

// --- Radio-button glyphs -----------------------------------------------------------------------

// Stand-in until the glyph list renders its own looks per kind and state:
// the system's radio button, in the size of the system check box.
void TvxRadioButtonImageList::PaintGlyph(TvxCanvas* canvas, int x, int y, TColor backgroundColor,
                                         TvxLookAndFeelKind kind, TvxButtonState state, bool checked, bool,
                                         bool) {
  const TSize size = GlyphExtent();
  RECT r = TRect(x, y, x + size.cx, y + size.cy);
  if (backgroundColor != clDefault) vxpaint::FillSolid(canvas, TRect(r), backgroundColor);
  UINT style = DFCS_BUTTONRADIO;
  if (checked) style |= DFCS_CHECKED;
  if (state == vxbsDisabled) style |= DFCS_INACTIVE;
  if (state == vxbsPressed) style |= DFCS_PUSHED;
  if (kind != lfStandard) style |= DFCS_FLAT;
  DrawFrameControl(canvas->DeviceContext(), &r, DFC_BUTTON, style);
}

TSize TvxRadioButtonImageList::GlyphExtent() const { return vxSystemCheckBoxSize(); }

TvxRadioButtonImageList* vxGetRadioButtonImageList() {
  auto& list = Resources().RadioButtons;
  if (!list) list = std::make_unique<TvxRadioButtonImageList>();
  return list.get();
}

// --- Module ------------------------------------------------------------------------------------

void vxLookAndFeelPaintersInitialize() {
  vxBuildScrollBarPatternBitmaps();
  vxMeasureSystemCheckBox();
}

void vxLookAndFeelPaintersFinalize() {
  TvxPainterResources& resources = Resources();
  FreeScrollBarBrushes();
  for (auto& bitmap : resources.ScrollBarPatterns) bitmap.reset();
  resources.RadioButtons.reset();
  resources.CheckBoxMeasured = false;
  resources.CheckBoxSize = {};
}
