// The radio-button glyphs every painter draws: one pre-rendered glyph for
// each look-and-feel kind, button state, checked flag and the two
// highlight flags (128 in all). The outline is measured from the system's
// own radio button, turned into a pattern of pixel roles (outer ring, inner
// ring, body, dot), and coloured per combination from the system colours
// and the Office 2003 scheme. A colour change renders them again.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cstdint>
#include <vector>

#include "foundation/vxLookAndFeelPainters.h"

enum TvxRadioPixelRole : uint8_t {
  rprOutside,
  rprOuterUpperLeft,
  rprOuterLowerRight,
  rprInnerUpperLeft,
  rprInnerLowerRight,
  rprBody,
  rprDot,
  rprCount
};

// Where the glyph and its dot lie inside a system check-box cell.
struct TvxRadioGlyphMetrics {
  TSize Size;
  TRect RadioRect;
  TRect CheckRect;
};

// The size used when the system's raster gives nothing usable: the
// classic check-box cell.
constexpr int vxRadioGlyphFallbackSize = 13;

// Measures the system's radio button inside its check-box cell. Every
// measurement stays inside the cell.
TvxRadioGlyphMetrics vxMeasureRadioGlyph();
// The measurement from the two pictures of a cell (true where the pixel is
// black in the mask picture; true where it has the text colour in the
// checked picture), bounded to the cell; the fallback metrics when the
// mask picture holds no shape.
TvxRadioGlyphMetrics vxRadioGlyphMetricsFromCell(int cellWidth, int cellHeight, const std::vector<bool>& shape,
                                                 const std::vector<bool>& checkedText);

// The roles of a w x h glyph, row by row, from the black pixels of its outer
// ring and of its dot.
std::vector<uint8_t> vxRadioGlyphPattern(int width, int height, const std::vector<bool>& ring,
                                         const std::vector<bool>& dot);

// 0-127: (state - 1) + 4 x checked + 8 x kind + 32 x highlighted + 64 x focused.
int vxRadioGlyphCombination(TvxLookAndFeelKind kind, TvxButtonState state, bool checked, bool highlighted,
                            bool focused);
// The colour of each role for one combination (role 0 is masked out).
std::array<TColor, rprCount> vxRadioGlyphRoleColors(TvxLookAndFeelKind kind, TvxButtonState state, bool checked,
                                                    bool focused, bool highlighted);

// The glyphs in a masked system image list.
class TvxRadioButtonGlyphs {
 public:
  TvxRadioButtonGlyphs();
  ~TvxRadioButtonGlyphs();
  TvxRadioButtonGlyphs(const TvxRadioButtonGlyphs&) = delete;
  TvxRadioButtonGlyphs& operator=(const TvxRadioButtonGlyphs&) = delete;

  // Fills the list when it is empty.
  void RenderGlyphs();
  // Renders again in the current colours, in the same list.
  void RebuildGlyphs();
  // Masked onto the canvas, or over a fill of backgroundColor unless that is
  // clDefault.
  void PaintGlyph(TvxCanvas* canvas, int x, int y, TColor backgroundColor, TvxLookAndFeelKind kind,
                  TvxButtonState state, bool checked, bool focused, bool highlighted) const;
  TSize GlyphExtent() const { return metrics_.Size; }
  const TvxRadioGlyphMetrics& Metrics() const { return metrics_; }
  int Count() const { return ImageList_GetImageCount(images_); }
  const std::vector<uint8_t>& Pattern() const { return pattern_; }
  HIMAGELIST Images() const { return images_; }
  int ImageIndex(int combination) const { return indexMap_.at(size_t(combination)); }

 private:
  TvxRadioGlyphMetrics metrics_;
  HIMAGELIST images_ = nullptr;
  HBITMAP mask_ = nullptr;
  std::vector<uint8_t> pattern_;
  std::vector<int> indexMap_;
};
