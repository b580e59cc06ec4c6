// The radio-button glyphs: measuring the system's shape, the pattern of
// pixel roles, the colours of each combination and the image list.
#include "foundation/vxLookAndFeelPaintersRadio.h"

#include <algorithm>

#include "foundation/vdOffice11.h"
#include "foundation/vxLookAndFeelPaintersOffice11.h"

namespace {

constexpr int kKinds = 4, kCombinations = 128;

// A centred dot a third of the glyph wide, at least 2 pixels.
TRect FallbackCheckRect(const TRect& radio) {
  const int w = std::max(2, (radio.Width() + 1) / 3), h = std::max(2, (radio.Height() + 1) / 3);
  const int left = radio.Left + (radio.Width() - w) / 2, top = radio.Top + (radio.Height() - h) / 2;
  return TRect(left, top, left + w, top + h);
}

TvxRadioGlyphMetrics FallbackMetrics() {
  const TRect radio(0, 0, vxRadioGlyphFallbackSize, vxRadioGlyphFallbackSize);
  return {{radio.Width(), radio.Height()}, radio, FallbackCheckRect(radio)};
}

// A 32-bit top-down picture with its DC, for reading pixels drawn by GDI.
class Picture {
 public:
  Picture(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Picture() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  HDC DC() const { return dc_; }
  void Fill(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    const RECT all{0, 0, width_, height_};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t bgra = bits_[y * width_ + x];
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
  }
  std::vector<bool> Matching(COLORREF color) const {
    std::vector<bool> result(size_t(width_ * height_));
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) result[size_t(y * width_ + x)] = At(x, y) == color;
    return result;
  }
  uint32_t* Bits() { return bits_; }
  // The bitmap, out of the DC: a bitmap selected in one DC cannot be
  // selected in another (the image list copies through its own).
  HBITMAP DetachedBitmap() {
    GdiFlush();
    SelectObject(dc_, old_);
    return bitmap_;
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

// The round shape of a rectangle, outlined with the DC's pen and filled with
// its brush.
void RoundShape(HDC dc, const TRect& r) {
  RoundRect(dc, r.Left, r.Top, r.Right, r.Bottom, r.Width() - 1, r.Height() - 1);
}

// The black pixels of a round shape drawn on white.
std::vector<bool> ShapePixels(int width, int height, const TRect& r, bool filled) {
  Picture picture(width, height);
  picture.Fill(RGB(255, 255, 255));
  HGDIOBJ pen = SelectObject(picture.DC(), GetStockObject(BLACK_PEN));
  HGDIOBJ brush = SelectObject(picture.DC(), GetStockObject(filled ? BLACK_BRUSH : WHITE_BRUSH));
  RoundShape(picture.DC(), r);
  SelectObject(picture.DC(), brush);
  SelectObject(picture.DC(), pen);
  return picture.Matching(RGB(0, 0, 0));
}

}  // namespace

// --- Measuring ---------------------------------------------------------------------------

TvxRadioGlyphMetrics vxRadioGlyphMetricsFromCell(int cellWidth, int cellHeight, const std::vector<bool>& shape,
                                                 const std::vector<bool>& checkedText) {
  auto black = [&](int x, int y) { return bool(shape[size_t(y * cellWidth + x)]); };
  int left = -1, width = 0, top = -1, height = 0;
  for (int x = 0; x < cellWidth; ++x) {
    bool any = false;
    for (int y = 0; y < cellHeight && !any; ++y) any = black(x, y);
    if (!any) continue;
    if (left < 0) left = x;
    ++width;
  }
  for (int y = 0; y < cellHeight; ++y) {
    bool any = false;
    for (int x = 0; x < cellWidth && !any; ++x) any = black(x, y);
    if (!any) continue;
    if (top < 0) top = y;
    ++height;
  }
  if (width == 0 || height == 0) return FallbackMetrics();
  // Columns and rows are counted, so the rectangle may reach past the cell
  // when the shape has gaps: keep it inside.
  const TRect radio(left, top, std::min(cellWidth, left + width), std::min(cellHeight, top + height));
  TvxRadioGlyphMetrics metrics{{radio.Width(), radio.Height()}, radio, FallbackCheckRect(radio)};

  // The dot: the run of text-coloured pixels through the middle, inside the
  // radio rectangle. A run that fills the rectangle is no dot.
  auto text = [&](int x, int y) {
    return x >= radio.Left && x < radio.Right && y >= radio.Top && y < radio.Bottom &&
           checkedText[size_t(y * cellWidth + x)];
  };
  const int vx = radio.Left + radio.Width() / 2 - 1, vy = radio.Top + radio.Height() / 2 - 2;
  const int hx = radio.Left + radio.Width() / 2 - 2, hy = radio.Top + radio.Height() / 2 - 1;
  if (!text(vx, vy) || !text(hx, hy)) return metrics;
  int dotTop = vy, dotBottom = vy, dotLeft = hx, dotRight = hx;
  while (text(vx, dotTop - 1)) --dotTop;
  while (text(vx, dotBottom)) ++dotBottom;
  while (text(dotLeft - 1, hy)) --dotLeft;
  while (text(dotRight, hy)) ++dotRight;
  if (dotBottom - dotTop >= radio.Height() || dotRight - dotLeft >= radio.Width()) return metrics;
  metrics.CheckRect = TRect(dotLeft, dotTop, dotRight, dotBottom);
  return metrics;
}

TvxRadioGlyphMetrics vxMeasureRadioGlyph() {
  int cellWidth = vxRadioGlyphFallbackSize, cellHeight = vxRadioGlyphFallbackSize;
  if (HBITMAP system = LoadBitmapA(nullptr, MAKEINTRESOURCEA(0x7FF7))) {
    BITMAP info{};
    if (GetObjectA(system, sizeof info, &info) && info.bmWidth >= 4 && info.bmHeight >= 3) {
      cellWidth = info.bmWidth / 4;
      cellHeight = info.bmHeight / 3;
    }
    DeleteObject(system);
  }
  Picture cell(cellWidth, cellHeight);
  RECT r{0, 0, cellWidth, cellHeight};
  cell.Fill(RGB(0, 0, 0));
  DrawFrameControl(cell.DC(), &r, DFC_BUTTON, DFCS_BUTTONRADIOMASK | DFCS_FLAT);
  const std::vector<bool> shape = cell.Matching(RGB(0, 0, 0));
  cell.Fill(RGB(0, 0, 0));
  DrawFrameControl(cell.DC(), &r, DFC_BUTTON, DFCS_BUTTONRADIOIMAGE | DFCS_FLAT | DFCS_CHECKED);
  const std::vector<bool> checked = cell.Matching(GetSysColor(COLOR_WINDOWTEXT));
  return vxRadioGlyphMetricsFromCell(cellWidth, cellHeight, shape, checked);
}

// --- Pattern -------------------------------------------------------------------------------

std::vector<uint8_t> vxRadioGlyphPattern(int w, int h, const std::vector<bool>& ring, const std::vector<bool>& dot) {
  std::vector<uint8_t> roles(size_t(w * h), rprOutside);
  auto at = [&](int i, int j) -> uint8_t& { return roles[size_t(i * w + j)]; };
  // Which side of the anti-diagonal (from the lower-left to the upper-right
  // corner) a pixel lies on: negative above it, positive below.
  auto side = [&](int i, int j) { return i * (w - 1) - (h - 1) * (w - j - 1); };
  const int middle = w / 2;

  for (int i = 0; i < h; ++i)
    for (int j = 0; j < w; ++j)
      if (ring[size_t(i * w + j)]) at(i, j) = side(i, j) > 0 ? rprOuterLowerRight : rprOuterUpperLeft;

  for (int i = 1; i < h - 1; ++i) {
    for (int j = middle; j >= 0 && at(i, j) == rprOutside; --j) at(i, j) = rprBody;
    for (int j = middle + 1; j < w && at(i, j) == rprOutside; ++j) at(i, j) = rprBody;
  }

  // The inner ring: the body's edge pixels, found on the body as it stands
  // before any of them is marked.
  const std::vector<uint8_t> body = roles;
  auto isBody = [&](int i, int j) { return body[size_t(i * w + j)] == rprBody; };
  auto markInner = [&](int i, int j) {
    const int s = side(i, j);
    at(i, j) = (s > 0 || (s == 0 && j > middle)) ? rprInnerLowerRight : rprInnerUpperLeft;
  };
  for (int i = 1; i < h - 1; ++i) {
    int first = -1, last = -1;
    for (int j = 0; j < w; ++j)
      if (isBody(i, j)) {
        if (first < 0) first = j;
        last = j;
      }
    if (first < 0) continue;
    const bool edgeRow = i == 1 || i == h - 2;
    for (int j = first; j <= last; ++j)
      if (isBody(i, j) && (edgeRow || j == first || j == last)) markInner(i, j);
  }
  for (int j = 1; j < w - 1; ++j) {
    int first = -1, last = -1;
    for (int i = 0; i < h; ++i)
      if (isBody(i, j)) {
        if (first < 0) first = i;
        last = i;
      }
    if (first < 0) continue;
    const bool edgeColumn = j == 1 || j == w - 2;
    for (int i = first; i <= last; ++i)
      if (isBody(i, j) && (edgeColumn || i == first || i == last)) markInner(i, j);
  }

  for (size_t k = 0; k < roles.size(); ++k)
    if (dot[k]) roles[k] = rprDot;
  return roles;
}

// --- Colours --------------------------------------------------------------------------------

int vxRadioGlyphCombination(TvxLookAndFeelKind kind, TvxButtonState state, bool checked, bool highlighted,
                            bool focused) {
  // A default button's glyph is the normal one.
  if (state == vxbsDefault) state = vxbsNormal;
  return (int(state) - 1) + 4 * checked + 8 * int(kind) + 32 * highlighted + 64 * focused;
}

std::array<TColor, rprCount> vxRadioGlyphRoleColors(TvxLookAndFeelKind kind, TvxButtonState state, bool checked,
                                                    bool focused, bool highlighted) {
  const bool disabled = state == vxbsDisabled;
  TColor body;
  if (kind == lfOffice11)
    body = state == vxbsNormal ? clWindow : TvxOffice11LookAndFeelPainter::Painter().ButtonFaceColor(state);
  else if (disabled)
    body = clBtnFace;
  else if (kind == lfUltraFlat)
    body = state == vxbsNormal    ? clWindow
           : state == vxbsHot     ? vxHotFlatButtonColor()
           : state == vxbsPressed ? vxPressedFlatButtonColor()
                                  : clBtnFace;
  else
    body = state == vxbsPressed ? clBtnFace : clWindow;

  std::array<TColor, rprCount> colors{};
  colors[rprOutside] = clBlack;
  colors[rprBody] = body;
  const bool lit = state == vxbsHot || state == vxbsPressed;
  switch (kind) {
    case lfFlat:
      colors[rprOuterUpperLeft] = clBtnShadow;
      colors[rprOuterLowerRight] = clBtnHighlight;
      colors[rprInnerUpperLeft] = colors[rprInnerLowerRight] = cl3DLight;
      break;
    case lfStandard:
      colors[rprOuterUpperLeft] = clBtnShadow;
      colors[rprOuterLowerRight] = clBtnHighlight;
      colors[rprInnerUpperLeft] = cl3DDkShadow;
      colors[rprInnerLowerRight] = cl3DLight;
      break;
    case lfUltraFlat:
      colors[rprOuterUpperLeft] = colors[rprOuterLowerRight] =
          focused || lit || (highlighted && !disabled) ? clHighlight : clBtnShadow;
      colors[rprInnerUpperLeft] = colors[rprInnerLowerRight] = body;
      break;
    case lfOffice11:
      colors[rprOuterUpperLeft] = colors[rprOuterLowerRight] =
          disabled                             ? TColor(vdOffice11DisabledGlyphColor)
          : focused || lit || highlighted      ? TColor(vdOffice11SelectionFrameColor)
                                               : clBtnText;
      colors[rprInnerUpperLeft] = colors[rprInnerLowerRight] = body;
      break;
  }
  if (!checked)
    colors[rprDot] = body;
  else if (disabled)
    colors[rprDot] = kind == lfOffice11 ? TColor(vdOffice11DisabledGlyphColor) : clBtnShadow;
  else
    colors[rprDot] = clWindowText;
  return colors;
}

// --- The image list -----------------------------------------------------------------------------

TvxRadioButtonGlyphs::TvxRadioButtonGlyphs() : metrics_(vxMeasureRadioGlyph()) {
  const int w = metrics_.Size.cx, h = metrics_.Size.cy;
  images_ = ImageList_Create(w, h, ILC_COLOR24 | ILC_MASK, kCombinations, 0);
  mask_ = CreateBitmap(w, h, 1, 1, nullptr);
  {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mask_);
    const RECT all{0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    RoundShape(dc, TRect(0, 0, w, h));
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  const TRect& radio = metrics_.RadioRect;
  TRect check = metrics_.CheckRect;
  check = TRect(check.Left - radio.Left, check.Top - radio.Top, check.Right - radio.Left, check.Bottom - radio.Top);
  pattern_ = vxRadioGlyphPattern(w, h, ShapePixels(w, h, TRect(0, 0, w, h), false), ShapePixels(w, h, check, true));
}

TvxRadioButtonGlyphs::~TvxRadioButtonGlyphs() {
  ImageList_Destroy(images_);
  DeleteObject(mask_);
}

void TvxRadioButtonGlyphs::RenderGlyphs() {
  if (Count() > 0) return;
  const int w = metrics_.Size.cx, h = metrics_.Size.cy;
  indexMap_.assign(kCombinations, -1);
  for (bool focused : {false, true})
    for (bool highlighted : {false, true})
      for (int kind = 0; kind < kKinds; ++kind)
        for (bool checked : {false, true})
          for (int state = vxbsNormal; state <= vxbsDisabled; ++state) {
            const auto colors = vxRadioGlyphRoleColors(TvxLookAndFeelKind(kind), TvxButtonState(state), checked,
                                                       focused, highlighted);
            uint32_t bgra[rprCount];
            for (int role = 0; role < rprCount; ++role) {
              const COLORREF rgb = ColorToRGB(colors[size_t(role)]);
              bgra[role] = uint32_t(GetRValue(rgb)) << 16 | uint32_t(GetGValue(rgb)) << 8 | GetBValue(rgb);
            }
            Picture glyph(w, h);
            for (size_t k = 0; k < pattern_.size(); ++k) glyph.Bits()[k] = bgra[pattern_[k]];
            const int combination = vxRadioGlyphCombination(TvxLookAndFeelKind(kind), TvxButtonState(state),
                                                            checked, highlighted, focused);
            indexMap_[size_t(combination)] = ImageList_Add(images_, glyph.DetachedBitmap(), mask_);
          }
}

void TvxRadioButtonGlyphs::RebuildGlyphs() {
  ImageList_RemoveAll(images_);
  RenderGlyphs();
}

void TvxRadioButtonGlyphs::PaintGlyph(TvxCanvas* canvas, int x, int y, TColor backgroundColor,
                                      TvxLookAndFeelKind kind, TvxButtonState state, bool checked, bool focused,
                                      bool highlighted) const {
  const int index = indexMap_.at(size_t(vxRadioGlyphCombination(kind, state, checked, highlighted, focused)));
  HDC dc = canvas->DeviceContext();
  if (backgroundColor != clDefault) {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(backgroundColor));
    const RECT r{x, y, x + metrics_.Size.cx, y + metrics_.Size.cy};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  ImageList_Draw(images_, index, dc, x, y, ILD_TRANSPARENT);
}
