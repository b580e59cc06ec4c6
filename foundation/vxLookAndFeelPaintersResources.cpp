// What every painter shares: the scroll-bar page patterns, the system check
// box's size, the row indicator images and the radio-button glyphs. Each is
// made on first use (or by the module's start) and freed when the module
// stops.
#include <memory>

#include "foundation/vxImageList.h"
#include "foundation/vxLookAndFeelPainters.h"
#include "foundation/vxLookAndFeelPaintersRadio.h"
#include "foundation/vxLookAndFeels.h"

namespace {

// Renders the radio glyphs again in the new colours. Registered as a primary
// notifier, so the glyphs are current before any control repaints.
class TSystemPaletteChangedNotifier : public TvxSystemPaletteChangedNotifier {
 public:
  TSystemPaletteChangedNotifier() : TvxSystemPaletteChangedNotifier(true) {}
  const char* ClassName() const override { return "TSystemPaletteChangedNotifier"; }
  void FireSystemPaletteChanged() override;
};

struct TvxPainterResources {
  std::unique_ptr<TBitmap> ScrollBarPatterns[2];
  HBRUSH ScrollBarBrushes[2] = {};
  std::unique_ptr<TvxImageList> IndicatorImages;
  std::unique_ptr<TvxRadioButtonGlyphs> RadioGlyphs;
  TvxRadioButtonImageList RadioButtons;
  std::unique_ptr<TSystemPaletteChangedNotifier> PaletteNotifier;
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

namespace {

// In image order: the indicator kind less one.
const char* const vxIndicatorBitmapNames[] = {"VX_ARROWBITMAP",    "VX_EDITBITMAP",       "VX_INSERTBITMAP",
                                              "VX_MULTIDOTBITMAP", "VX_MULTIARROWBITMAP", "VX_FILTERBITMAP"};

// The first bitmap decides the size of the list.
void vxAddIndicatorBitmap(TBitmap* bitmap, const char* name) {
  bitmap->LoadFromResourceName(GetModuleHandleA(nullptr), name);
  auto& images = Resources().IndicatorImages;
  if (!images) {
    images = std::make_unique<TvxImageList>(nullptr);
    images->SetSize(bitmap->Width(), bitmap->Height());
  }
  images->AddWithMaskColor(bitmap, clWhite);
}

void vxLoadIndicatorImages() {
  TBitmap bitmap;
  for (const char* name : vxIndicatorBitmapNames) vxAddIndicatorBitmap(&bitmap, name);
}

}  // namespace

TvxImageList* vxIndicatorImages() { return Resources().IndicatorImages.get(); }

// --- Radio-button glyphs -----------------------------------------------------------------------

namespace {

TvxRadioButtonGlyphs& vxEnsureRadioButtonGlyphs() {
  auto& glyphs = Resources().RadioGlyphs;
  if (!glyphs) {
    glyphs = std::make_unique<TvxRadioButtonGlyphs>();
    glyphs->RenderGlyphs();
  }
  return *glyphs;
}

// A colour change renders the glyphs again in the same list rather than
// dropping it: painters may be in the middle of using it.
void TSystemPaletteChangedNotifier::FireSystemPaletteChanged() {
  if (auto& glyphs = Resources().RadioGlyphs) glyphs->RebuildGlyphs();
  TvxSystemPaletteChangedNotifier::FireSystemPaletteChanged();
}

}  // namespace

void TvxRadioButtonImageList::PaintGlyph(TvxCanvas* canvas, int x, int y, TColor backgroundColor,
                                         TvxLookAndFeelKind kind, TvxButtonState state, bool checked,
                                         bool focused, bool highlighted) {
  vxEnsureRadioButtonGlyphs().PaintGlyph(canvas, x, y, backgroundColor, kind, state, checked, focused,
                                         highlighted);
}

TSize TvxRadioButtonImageList::GlyphExtent() const { return vxEnsureRadioButtonGlyphs().GlyphExtent(); }

TvxRadioButtonImageList* vxGetRadioButtonImageList() { return &Resources().RadioButtons; }

// --- Module ------------------------------------------------------------------------------------

void vxLookAndFeelPaintersInitialize() {
  vxLoadIndicatorImages();
  vxBuildScrollBarPatternBitmaps();
  Resources().PaletteNotifier = std::make_unique<TSystemPaletteChangedNotifier>();
  vxMeasureSystemCheckBox();
}

void vxLookAndFeelPaintersFinalize() {
  TvxPainterResources& resources = Resources();
  resources.PaletteNotifier.reset();
  FreeScrollBarBrushes();
  for (auto& bitmap : resources.ScrollBarPatterns) bitmap.reset();
  resources.IndicatorImages.reset();
  resources.RadioGlyphs.reset();
  resources.CheckBoxMeasured = false;
  resources.CheckBoxSize = {};
}
