#include "foundation/vxGraphics.h"

#include <algorithm>
#include <cstring>

#include "foundation/vdCore.h"
#include "foundation/vdOffice11.h"
#include "foundation/vdUxTheme.h"
#include "foundation/vxGraphicsBlend.h"
#include "foundation/vxClasses.h"
#include "platform/ui/SystemLibrary.h"

namespace {

// The rectangle that stands for "the whole device" where a DC has no clip.
constexpr int kNoClipExtent = 30000;

struct TvxGraphicsState {
  bool finalizing = false;
  TPoint dpi{96, 96};
  TSystemLibrary msimg32;
  TvxAlphaBlendProc alphaBlend = nullptr;
  std::unique_ptr<TvxScreenCanvas> screenCanvas;
  std::unique_ptr<TvxPaintCanvas> paintCanvas;
};

TvxGraphicsState& State() {
  static TvxGraphicsState state;
  return state;
}

// Integer division rounding toward minus infinity: tiles left of or above
// the origin belong to negative cells.
int FloorDiv(int a, int b) {
  const int q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

// --- Region ---------------------------------------------------------------------------

TvxRegion::TvxRegion() : handle_(CreateRectRgn(0, 0, 0, 0)) {}
TvxRegion::TvxRegion(HRGN handle) : handle_(handle) {}
TvxRegion::TvxRegion(const TRect& rect) {
  const RECT r = rect;
  handle_ = CreateRectRgnIndirect(&r);
}
TvxRegion::TvxRegion(int left, int top, int right, int bottom)
    : handle_(CreateRectRgn(left, top, right, bottom)) {}
TvxRegion::~TvxRegion() { ReleaseHandle(); }

bool TvxRegion::IsVoid() const {
  RECT box;
  return GetRgnBox(handle_, &box) == NULLREGION;
}

void TvxRegion::ReleaseHandle() {
  if (handle_) DeleteObject(handle_);
  handle_ = nullptr;
}

void TvxRegion::CombineWith(const TvxRegion& region, TvxRegionCombineMode mode) {
  switch (mode) {
    case roSet: CombineRgn(handle_, region.handle_, nullptr, RGN_COPY); break;
    case roAdd: CombineRgn(handle_, handle_, region.handle_, RGN_OR); break;
    case roSubtract: CombineRgn(handle_, handle_, region.handle_, RGN_DIFF); break;
    case roIntersect: CombineRgn(handle_, handle_, region.handle_, RGN_AND); break;
  }
}

bool TvxRegion::SameAs(const TvxRegion* region) const {
  if (!region) return false;
  return (IsVoid() && region->IsVoid()) || EqualRgn(handle_, region->handle_);
}

bool TvxRegion::SameAsHandle(HRGN region) const { return EqualRgn(handle_, region) != FALSE; }

void TvxRegion::Shift(int dx, int dy) { OffsetRgn(handle_, dx, dy); }

// --- Canvas: origins and clipping -------------------------------------------------------

TvxCanvas::TvxCanvas(TCanvas* canvas) : canvas_(canvas) {}
TvxCanvas::~TvxCanvas() = default;

TPoint TvxCanvas::QueryWindowOrigin() {
  POINT p{};
  GetWindowOrgEx(DeviceContext(), &p);
  return {p.x, p.y};
}

TPoint TvxCanvas::QueryViewportOrigin() {
  POINT p{};
  GetViewportOrgEx(DeviceContext(), &p);
  return {p.x, p.y};
}

TPoint TvxCanvas::QueryDCOrigin() {
  const TPoint viewport = QueryViewportOrigin(), window = QueryWindowOrigin();
  return {viewport.X - window.X, viewport.Y - window.Y};
}

void TvxCanvas::ApplyWindowOrigin(const TPoint& origin) { SetWindowOrgEx(DeviceContext(), origin.X, origin.Y, nullptr); }

void TvxCanvas::ExcludeRectFromClip(const TRect& r) { ExcludeClipRect(DeviceContext(), r.Left, r.Top, r.Right, r.Bottom); }

void TvxCanvas::IntersectClipWithRect(const TRect& r) {
  IntersectClipRect(DeviceContext(), r.Left, r.Top, r.Right, r.Bottom);
}

bool TvxCanvas::IsRectangleVisible(const TRect& rect) {
  const RECT r = rect;
  return RectVisible(DeviceContext(), &r) != FALSE;
}

std::unique_ptr<TvxRegion> TvxCanvas::CopyClipRegion(bool considerOrigin) {
  auto region = std::make_unique<TvxRegion>();
  if (GetClipRgn(DeviceContext(), region->Handle()) == 0)
    SetRectRgn(region->Handle(), 0, 0, kNoClipExtent, kNoClipExtent);
  if (considerOrigin) {
    const TPoint origin = QueryDCOrigin();
    region->Shift(-origin.X, -origin.Y);
  }
  return region;
}

void TvxCanvas::ApplyClipRegion(TvxRegion& region, TvxRegionCombineMode mode, bool considerOrigin) {
  if (mode != roSet) {
    std::unique_ptr<TvxRegion> clip = CopyClipRegion(considerOrigin);
    clip->CombineWith(region, mode);
    ApplyClipRegion(std::move(clip), roSet, considerOrigin);
    return;
  }
  const TPoint origin = considerOrigin ? QueryDCOrigin() : TPoint{0, 0};
  region.Shift(origin.X, origin.Y);
  SelectClipRgn(DeviceContext(), region.Handle());
  region.Shift(-origin.X, -origin.Y);
}

void TvxCanvas::ApplyClipRegion(std::unique_ptr<TvxRegion> region, TvxRegionCombineMode mode, bool considerOrigin) {
  ApplyClipRegion(*region, mode, considerOrigin);
}

void TvxCanvas::PushClipRegion() {
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  const bool hasClip = GetClipRgn(DeviceContext(), probe) == 1;
  DeleteObject(probe);
  savedRegions_.push_back(hasClip ? CopyClipRegion(true) : nullptr);
}

void TvxCanvas::PopClipRegion() {
  if (savedRegions_.empty()) return;
  std::unique_ptr<TvxRegion> region = std::move(savedRegions_.back());
  savedRegions_.pop_back();
  if (region)
    ApplyClipRegion(std::move(region), roSet, true);
  else
    SelectClipRgn(DeviceContext(), nullptr);
}

// --- Canvas: saved DCs and states ------------------------------------------------------

void TvxCanvas::PushSavedDC() {
  canvas_->Lock();
  HDC dc = DeviceContext();
  savedDCs_.push_back({dc, SaveDC(dc)});
}

void TvxCanvas::PopSavedDC() {
  vdSoftAssert(!savedDCs_.empty(), "RestoreDC fails");
  if (savedDCs_.empty()) return;
  const TvxDCState state = savedDCs_.back();
  canvas_->SetHandle(state.DC);
  vdSoftAssert(RestoreDC(state.DC, state.SavedIndex) != FALSE, "RestoreDC fails");
  savedDCs_.pop_back();
  canvas_->Unlock();
}

void TvxCanvas::SyncObjectsFromDC(HDC dc) {
  // Everything is read before anything changes: a change of the platform
  // font, brush or pen gives the canvas's DC back its earlier objects.
  LOGFONTA font{};
  LOGBRUSH brush{};
  LOGPEN pen{};
  const bool hasFont = GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font) != 0;
  const HGDIOBJ currentBrush = GetCurrentObject(dc, OBJ_BRUSH);
  const bool hasBrush = GetObjectA(currentBrush, sizeof brush, &brush) != 0;
  // A canvas paints plain colours with the DC's own brush, whose colour is
  // the DC's, not the stock object's.
  if (hasBrush && currentBrush == GetStockObject(DC_BRUSH)) brush.lbColor = GetDCBrushColor(dc);
  const bool hasPen = GetObjectA(GetCurrentObject(dc, OBJ_PEN), sizeof pen, &pen) != 0;
  const COLORREF textColor = GetTextColor(dc);
  const int rop2 = GetROP2(dc);

  if (hasFont) {
    HFONT copy = CreateFontIndirectA(&font);
    canvas_->Font()->SetHandle(copy);  // takes the attributes, not the handle
    DeleteObject(copy);
    canvas_->Font()->SetColor(TColor(textColor));
  }
  if (hasBrush) {
    static constexpr TBrushStyle hatches[] = {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross};
    TBrush* b = canvas_->Brush();
    b->SetColor(TColor(brush.lbColor));
    if (brush.lbStyle == BS_NULL)
      b->SetStyle(bsClear);
    else if (brush.lbStyle == BS_HATCHED && brush.lbHatch < 6)
      b->SetStyle(hatches[brush.lbHatch]);
    else
      b->SetStyle(bsSolid);
  }
  if (hasPen) {
    TPen* p = canvas_->Pen();
    p->SetColor(TColor(pen.lopnColor));
    const UINT style = pen.lopnStyle & 0xFF;
    p->SetStyle(style <= PS_INSIDEFRAME ? TPenStyle(style) : psSolid);
    p->SetWidth(pen.lopnWidth.x);
    TPenMode mode = pmCopy;
    for (int m = pmBlack; m <= pmNotXor; ++m)
      if (PenModeToRop2(TPenMode(m)) == rop2) mode = TPenMode(m);
    p->SetMode(mode);
  }
}

void TvxCanvas::PushCanvasState() {
  SyncObjectsFromDC(DeviceContext());
  PushSavedDC();
  TvxCanvasState state{std::make_unique<TFont>(), std::make_unique<TBrush>(), std::make_unique<TPen>()};
  state.Font->Assign(canvas_->Font());
  state.Brush->Assign(canvas_->Brush());
  state.Pen->Assign(canvas_->Pen());
  savedStates_.push_back(std::move(state));
}

void TvxCanvas::PopCanvasState() {
  if (savedStates_.empty()) return;
  TvxCanvasState state = std::move(savedStates_.back());
  savedStates_.pop_back();
  canvas_->Font()->Assign(state.Font.get());
  canvas_->Brush()->Assign(state.Brush.get());
  canvas_->Pen()->Assign(state.Pen.get());
  PopSavedDC();
}

// --- Canvas: fills and frames ----------------------------------------------------------

void TvxCanvas::ApplyBrushColor(TColor color) {
  TBrush* brush = canvas_->Brush();
  if (brush->Color() != color || brush->Style() == bsClear) {
    brush->SetColor(color);
    brush->SetStyle(bsSolid);
  }
}

void TvxCanvas::FillAreaWithColor(const TRect& rect, TColor color) {
  if (color == clNone) return;
  if (color != clDefault) ApplyBrushColor(color);
  canvas_->FillRect(rect);
}

void TvxCanvas::FillAreaWithBitmap(const TRect& rect, TBitmap* bitmap, bool excludeFromClip) {
  if (rect.IsEmpty()) return;
  if (bitmap && !bitmap->Empty()) {
    const int w = bitmap->Width(), h = bitmap->Height();
    // The cells that rect touches: Right and Bottom are outside it.
    const int firstColumn = FloorDiv(rect.Left, w), lastColumn = FloorDiv(rect.Right - 1, w);
    const int firstRow = FloorDiv(rect.Top, h), lastRow = FloorDiv(rect.Bottom - 1, h);
    for (int row = firstRow; row <= lastRow; ++row)
      for (int column = firstColumn; column <= lastColumn; ++column) {
        const TRect cell(column * w, row * h, column * w + w, row * h + h);
        TRect part;
        if (!vxIntersectRects(part, cell, rect)) continue;
        canvas_->CopyRect(part, bitmap->Canvas(), vxShiftedRect(part, -column * w, -row * h, true));
      }
  } else {
    canvas_->FillRect(rect);
  }
  if (excludeFromClip) ApplyClipRegion(TvxRegion::CreateFromRect(rect), roSubtract, true);
}

void TvxCanvas::DrawFrameSides(const TRect& r, TColor color, int width, TvxBorders borders, bool excludeFromClip) {
  if (r.IsEmpty()) return;
  if (color != clDefault) ApplyBrushColor(color);
  if (borders & vxBorder(bLeft))
    FillAreaWithBitmap({r.Left, r.Top, std::min(r.Left + width, r.Right), r.Bottom}, nullptr, excludeFromClip);
  if (borders & vxBorder(bRight))
    FillAreaWithBitmap({std::max(r.Right - width, r.Left), r.Top, r.Right, r.Bottom}, nullptr, excludeFromClip);
  if (borders & vxBorder(bTop))
    FillAreaWithBitmap({r.Left, r.Top, r.Right, std::min(r.Top + width, r.Bottom)}, nullptr, excludeFromClip);
  if (borders & vxBorder(bBottom))
    FillAreaWithBitmap({r.Left, std::max(r.Bottom - width, r.Top), r.Right, r.Bottom}, nullptr, excludeFromClip);
}

void TvxCanvas::FillAreaWithFrame(const TRect& rect, const TvxAreaViewParams& viewParams, bool excludeFromClip,
                                  int frameWidth, TColor frameColor, TvxBorders borders) {
  DrawFrameSides(rect, frameColor, frameWidth, borders, excludeFromClip);
  TRect inner = rect;
  if (borders & vxBorder(bLeft)) inner.Left += frameWidth;
  if (borders & vxBorder(bTop)) inner.Top += frameWidth;
  if (borders & vxBorder(bRight)) inner.Right -= frameWidth;
  if (borders & vxBorder(bBottom)) inner.Bottom -= frameWidth;
  ApplyBrushColor(viewParams.Color);
  FillAreaWithBitmap(inner, viewParams.Bitmap, excludeFromClip);
}

void TvxCanvas::DrawTwoToneBorders(const TRect& r, TColor leftTopColor, TColor rightBottomColor, TvxBorders borders,
                                   int width) {
  // Each strip stays inside r, as DrawFrameSides keeps its strips: a width
  // larger than r paints r and nothing beside it.
  if (borders & vxBorder(bLeft))
    FillAreaWithColor({r.Left, r.Top, std::min(r.Left + width, r.Right), r.Bottom}, leftTopColor);
  if (borders & vxBorder(bTop))
    FillAreaWithColor({r.Left, r.Top, r.Right, std::min(r.Top + width, r.Bottom)}, leftTopColor);
  if (borders & vxBorder(bRight))
    FillAreaWithColor({std::max(r.Right - width, r.Left), r.Top, r.Right, r.Bottom}, rightBottomColor);
  if (borders & vxBorder(bBottom))
    FillAreaWithColor({r.Left, std::max(r.Bottom - width, r.Top), r.Right, r.Bottom}, rightBottomColor);
}

void TvxCanvas::DrawEdge3D(const TRect& rect, bool sunken, bool outer, TvxBorders borders) {
  TColor leftTop, rightBottom;
  if (!sunken)
    outer ? (leftTop = cl3DLight, rightBottom = cl3DDkShadow) : (leftTop = clBtnHighlight, rightBottom = clBtnShadow);
  else
    outer ? (leftTop = clBtnShadow, rightBottom = clBtnHighlight) : (leftTop = cl3DDkShadow, rightBottom = cl3DLight);
  DrawTwoToneBorders(rect, leftTop, rightBottom, borders, 1);
}

void TvxCanvas::DrawFocusFrame(const TRect& rect) {
  ApplyBrushColor(clWhite);
  canvas_->Font()->SetColor(clBlack);
  canvas_->Handle();
  canvas_->DrawFocusRect(rect);
}

void TvxCanvas::InvertArea(const TRect& rect) {
  canvas_->SetCopyMode(DSTINVERT);
  canvas_->CopyRect(rect, canvas_, rect);
  canvas_->SetCopyMode(SRCCOPY);
}

void TvxCanvas::RotateBitmap(TBitmap* bitmap, TvxRotation rotation, bool flipVertically) {
  if (rotation == raNone && !flipVertically) return;
  std::vector<RGBQUAD> quads;
  if (!vdGetBitmapPixelArray(*bitmap, quads, true)) return;
  std::vector<uint32_t> pixels(quads.size());
  std::memcpy(pixels.data(), quads.data(), quads.size() * sizeof(uint32_t));
  int width = bitmap->Width(), height = bitmap->Height();
  pixels = vxRotatePixels(pixels, width, height, rotation, flipVertically);
  if (width != bitmap->Width()) {
    bitmap->SetHeight(0);
    bitmap->SetWidth(width);
    bitmap->SetHeight(height);
  }
  std::memcpy(quads.data(), pixels.data(), quads.size() * sizeof(uint32_t));
  vdPutBitmapPixelArray(*bitmap, quads, true);
}

// --- Shared canvases -------------------------------------------------------------------

TScreenCanvas::~TScreenCanvas() { ReleaseDC(); }

void TScreenCanvas::CreateHandle() {
  desktop_ = GetDesktopWindow();
  dc_ = GetDCEx(desktop_, nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE);
  SetHandle(dc_);
}

void TScreenCanvas::ReleaseDC() {
  if (!dc_) return;
  SetHandle(nullptr);
  ::ReleaseDC(desktop_, dc_);
  dc_ = nullptr;
  desktop_ = nullptr;
}

TvxScreenCanvas::TvxScreenCanvas() : TvxCanvas(nullptr), screen_(std::make_unique<TScreenCanvas>()) {
  SetCanvas(screen_.get());
}
TvxScreenCanvas::~TvxScreenCanvas() = default;

TvxPaintCanvas::TvxPaintCanvas() : TvxCanvas(nullptr), own_(std::make_unique<TCanvas>()) { SetCanvas(own_.get()); }

TvxPaintCanvas::~TvxPaintCanvas() { own_->SetHandle(nullptr); }

void TvxPaintCanvas::BeginPaintOnDC(HDC dc) {
  TvxPaintState state{nullptr, dc, 0};
  if (Canvas()->HandleAllocated()) {
    PushCanvasState();
    state.PreviousDC = Canvas()->Handle();
  }
  state.SavedIndex = SaveDC(dc);
  states_.push_back(state);
  SyncObjectsFromDC(dc);
  Canvas()->SetHandle(dc);
  ++counter_;
}

void TvxPaintCanvas::EndPaintOnDC() {
  if (counter_ == 0) return;
  --counter_;
  const TvxPaintState state = states_.back();
  Canvas()->SetHandle(state.PreviousDC);
  RestoreDC(state.DC, state.SavedIndex);
  if (Canvas()->HandleAllocated()) PopCanvasState();
  states_.resize(size_t(counter_));
}

TvxScreenCanvas* vxScreenCanvasInstance() {
  TvxGraphicsState& s = State();
  if (s.finalizing) return nullptr;
  if (!s.screenCanvas) s.screenCanvas = std::make_unique<TvxScreenCanvas>();
  return s.screenCanvas.get();
}

TvxPaintCanvas* vxPaintCanvasInstance() {
  TvxGraphicsState& s = State();
  if (s.finalizing) return nullptr;
  if (!s.paintCanvas) s.paintCanvas = std::make_unique<TvxPaintCanvas>();
  return s.paintCanvas.get();
}

// --- Text helpers ---------------------------------------------------------------------

bool vxTextOutAt(HDC dc, const String& text, const TPoint& p, int count, UINT options, const TRect* rect) {
  const int length = count < 0 || size_t(count) > text.size() ? int(text.size()) : count;
  RECT r{};
  if (rect) r = *rect;
  return ExtTextOutA(dc, p.X, p.Y, options, rect ? &r : nullptr, text.data(), UINT(length), nullptr) != FALSE;
}

int vxDrawTextInColor(HDC dc, const String& text, TRect& rect, UINT format, int count, TColor color, int bkMode) {
  COLORREF oldColor = 0;
  if (color != clDefault) oldColor = SetTextColor(dc, ColorToRGB(color));
  const int oldMode = SetBkMode(dc, bkMode);
  RECT r = rect;
  const int length = count < 0 || size_t(count) > text.size() ? int(text.size()) : count;
  const int result = DrawTextA(dc, text.data(), length, &r, format);
  rect = TRect(r.left, r.top, r.right, r.bottom);
  SetBkMode(dc, oldMode);
  if (color != clDefault) SetTextColor(dc, oldColor);
  return result;
}

int vxDrawTextOnCanvas(TCanvas* canvas, const String& text, TRect& rect, TColor color, UINT format) {
  return vxDrawTextInColor(canvas->Handle(), text, rect, format, -1, color, TRANSPARENT);
}

TSize vxFontTextExtent(const TFont* font, const String& text, int fontSize) {
  TvxScreenCanvas* screen = vxScreenCanvasInstance();
  if (!screen) return {0, 0};
  screen->AssignFontObject(font);
  if (fontSize != 0) screen->FontObject()->SetSize(fontSize);
  const TSize size = screen->MeasureTextSize(text);
  screen->ReleaseScreenDC();
  return size;
}

namespace {
// The character set of the system's ANSI code page.
uint8_t DefaultCharset() {
  CHARSETINFO info{};
  if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(uintptr_t(GetACP())), &info, TCI_SRCCODEPAGE))
    return ANSI_CHARSET;
  return uint8_t(info.ciCharset);
}
}  // namespace

bool vxIsCharsetNeedingWholeText(uint8_t charset, const String& text) {
  if (charset == DEFAULT_CHARSET) charset = DefaultCharset();
  if (!text.empty() && uint8_t(text[0]) < 0x80 && vxCharByteLength(text, 1) == 1) return false;
  return charset == GB2312_CHARSET || charset == CHINESEBIG5_CHARSET || charset == ARABIC_CHARSET;
}

// --- GDI objects and windows -----------------------------------------------------------

bool vxQueryBitmapInfo(HGDIOBJ handle, BITMAP& data) { return GetObjectA(handle, sizeof data, &data) != 0; }
bool vxQueryBrushInfo(HGDIOBJ handle, LOGBRUSH& data) { return GetObjectA(handle, sizeof data, &data) != 0; }
bool vxQueryFontInfo(HGDIOBJ handle, LOGFONTA& data) { return GetObjectA(handle, sizeof data, &data) != 0; }
bool vxQueryPenInfo(HGDIOBJ handle, LOGPEN& data) { return GetObjectA(handle, sizeof data, &data) != 0; }

void vxInvalidateWindowRect(HWND wnd, const TRect& rect, bool eraseBackground) {
  const RECT r = rect;
  InvalidateRect(wnd, &r, eraseBackground);
}

void vxInvalidateWindow(HWND wnd, bool eraseBackground) { InvalidateRect(wnd, nullptr, eraseBackground); }

bool vxIsGlyphNonEmpty(TBitmap* glyph) { return glyph && !glyph->Empty(); }

void vxShrinkRectByMargins(TRect& rect, const TRect& margins) { rect = vxRectInsideMargins(rect, margins); }

bool vxSameRectSize(const TRect& r1, const TRect& r2) {
  return r1.Width() == r2.Width() && r1.Height() == r2.Height();
}

// --- Colours ---------------------------------------------------------------------------

int vxClampChannel(int value) { return std::clamp(value, 0, 255); }

TColor vxNearestScreenColor(TColor color) {
  HDC dc = GetDC(nullptr);
  const COLORREF nearest = GetNearestColor(dc, ColorToRGB(color));
  ReleaseDC(nullptr, dc);
  return TColor(nearest);
}

TColor vxMixSystemColors(int8_t faceWeight, int8_t highlightWeight, int8_t windowWeight) {
  return TColor(vdBlendRGB(TvdRGBColor(ColorToRGB(clBtnFace)), TvdRGBColor(ColorToRGB(clHighlight)),
                           TvdRGBColor(ColorToRGB(clWindow)), faceWeight, highlightWeight, windowWeight));
}

TColor vxPressedFlatButtonColor() { return vxNearestScreenColor(vxMixSystemColors(14, 44, 40)); }
TColor vxHotFlatButtonColor() { return vxNearestScreenColor(vxMixSystemColors(-2, 30, 72)); }

// --- Screen and cursor -------------------------------------------------------------------

TPoint vxScreenDPI() { return State().dpi; }

int vxCursorMaskLowestRow(const uint8_t* bits, size_t size, int width, int rows) {
  if (width <= 0 || rows <= 0) return -1;
  const size_t rowSize = size_t((width + 31) / 32) * 4;
  // A cursor's mask is width rows (a colour cursor) or twice that (AND on
  // top, XOR below); never look past the rows the mask really has.
  const size_t andRows = size_t(std::min(width, rows));
  if (rowSize * size_t(rows) > size) return -1;
  auto scan = [&](size_t firstRow, size_t count, uint8_t blank) {
    const uint8_t* start = bits + firstRow * rowSize;
    const size_t length = count * rowSize;
    for (size_t i = 0; i < length; ++i)
      if (start[i] != blank) return int((length - 1 - i) / rowSize);
    return -1;
  };
  // DIB rows run bottom up, so the AND mask (the image's top) is last.
  int row = scan(size_t(rows) - andRows, andRows, 0xFF);
  if (row < 0 && rows >= 2 * width) row = scan(size_t(rows) - 2 * andRows, andRows, 0x00);
  return row;
}

TSize vxCurrentCursorSize() {
  TSize size{GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR)};
  ICONINFO info{};
  if (!GetIconInfo(GetCursor(), &info)) return size;
  BITMAP mask{};
  if (info.hbmMask && vxQueryBitmapInfo(info.hbmMask, mask) && mask.bmBitsPixel == 1 && mask.bmPlanes == 1) {
    const int width = mask.bmWidth, rows = mask.bmHeight;
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colors[2];
    } dib{};
    dib.header.biSize = sizeof dib.header;
    dib.header.biWidth = width;
    dib.header.biHeight = rows;
    dib.header.biPlanes = 1;
    dib.header.biBitCount = 1;
    std::vector<uint8_t> bits(size_t((width + 31) / 32) * 4 * size_t(rows));
    HDC dc = GetDC(nullptr);
    const int read = GetDIBits(dc, info.hbmMask, 0, UINT(rows), bits.data(), reinterpret_cast<BITMAPINFO*>(&dib),
                               DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (read == rows) {
      size.cx = width;
      const int row = vxCursorMaskLowestRow(bits.data(), bits.size(), width, rows);
      if (row >= 0) size.cy = row - int(info.yHotspot);
    }
  }
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return size;
}

// --- Parent background ---------------------------------------------------------------

void vxDrawThemeParentBackground(TWinControl* control, TvxCanvas* canvas, const TRect& rect) {
  HDC entryDC = canvas->DeviceContext();
  if ((control->Parent() && control->Parent()->DoubleBuffered()) || !vdUxThemeLibraryLoaded()) {
    vxDrawParentBackgroundBehind(control, canvas, rect, false);
  } else {
    const RECT r = rect;
    vdUxDrawThemeParentBackground(control->Handle(), entryDC, &r);
  }
  vdSoftAssert(canvas->DeviceContext() == entryDC, "vxDrawThemeParentBackground fails");
}

void vxDrawParentBackgroundBehind(TControl* control, TvxCanvas* canvas, const TRect& rect, bool drawSiblings) {
  if (!control || !control->Parent()) return;
  // The parent's client coordinates of the area; the window origin moves by
  // the control's position so that the parent lands where the control is.
  const TRect parentRect = vxShiftedRect(rect, control->Left(), control->Top(), true);
  const std::vector<TControl*> exclusions{control};
  vxPaintControlOnCanvas(control->Parent(), canvas, {-control->Left(), -control->Top()}, drawSiblings, exclusions,
                         true, false, parentRect);
}

void vxPaintControlOnCanvas(TWinControl* control, TvxCanvas* canvas, const TPoint& offset, bool drawChildren,
                            const std::vector<TControl*>& exclusions, bool clipToWindowRegion, bool drawBorder,
                            const TRect& rect) {
  if (control->IsDestroying()) return;
  canvas->PushSavedDC();
  try {
    const TPoint origin = canvas->QueryWindowOrigin();
    canvas->ApplyWindowOrigin({origin.X - offset.X, origin.Y - offset.Y});
    if (canvas->IsRectangleVisible(rect)) {
      const TControlState saved = control->ControlState();
      control->SetControlState(saved | csPaintCopy);
      try {
        IvxBorderPaintQuery* query = Supports<IvxBorderPaintQuery>(control);
        if (drawBorder && (!query || query->DrawsBorder())) vxDrawNonClientEdgeOnCanvas(control, canvas);
        if (clipToWindowRegion) vxClipToWindowRegion(control, canvas);
        canvas->IntersectClipWithRect(rect);
        HDC dc = canvas->DeviceContext();
        control->Perform(WM_ERASEBKGND, WPARAM(dc), LPARAM(dc));
        control->Perform(WM_PAINT, WPARAM(dc), 0);
        if (drawChildren) vxPaintChildrenOnCanvas(control, canvas, drawChildren, exclusions, clipToWindowRegion);
      } catch (...) {
        control->SetControlState(saved);
        throw;
      }
      control->SetControlState(saved);
    }
  } catch (...) {
    canvas->PopSavedDC();
    return;  // painting a background never raises its own errors
  }
  canvas->PopSavedDC();
}

void vxPaintChildrenOnCanvas(TWinControl* control, TvxCanvas* canvas, bool drawChildren,
                             const std::vector<TControl*>& exclusions, bool clipToWindowRegion) {
  for (int i = 0; i < control->ControlCount(); ++i) {
    TControl* child = control->Controls(i);
    if (std::find(exclusions.begin(), exclusions.end(), child) != exclusions.end()) break;
    auto* windowed = dynamic_cast<TWinControl*>(child);
    if (windowed && windowed->Visible() && windowed->HandleAllocated())
      vxPaintChildOnCanvas(control, windowed, canvas, drawChildren, exclusions, clipToWindowRegion);
  }
}

void vxPaintChildOnCanvas(TWinControl* parent, TWinControl* child, TvxCanvas* canvas, bool drawChildren,
                          const std::vector<TControl*>& exclusions, bool clipToWindowRegion) {
  const TPoint childOrigin = child->ClientOrigin(), parentOrigin = parent->ClientOrigin();
  const TPoint offset{childOrigin.X - parentOrigin.X, childOrigin.Y - parentOrigin.Y};
  vxPaintControlOnCanvas(child, canvas, offset, drawChildren, exclusions, clipToWindowRegion, true,
                         child->ClientRect());
}

void vxDrawNonClientEdgeOnCanvas(TWinControl* control, TvxCanvas* canvas) {
  HWND wnd = control->Handle();
  const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE), exStyle = GetWindowLongPtrA(wnd, GWL_EXSTYLE);
  UINT edge, flags;
  if (exStyle & WS_EX_CLIENTEDGE) {
    edge = EDGE_SUNKEN;
    flags = BF_RECT | BF_ADJUST;
  } else if (style & WS_BORDER) {
    edge = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
    flags = BF_RECT | BF_ADJUST | BF_MONO;
  } else {
    return;
  }
  RECT window;
  GetWindowRect(wnd, &window);
  const TPoint client = control->ClientOrigin();
  RECT r{window.left - client.X, window.top - client.Y, window.right - client.X, window.bottom - client.Y};
  DrawEdge(canvas->DeviceContext(), &r, edge, flags);
  canvas->IntersectClipWithRect({r.left, r.top, r.right, r.bottom});
  const TPoint origin = canvas->QueryWindowOrigin();
  canvas->ApplyWindowOrigin({origin.X - r.left, origin.Y - r.top});
}

void vxClipToWindowRegion(TWinControl* control, TvxCanvas* canvas) {
  if (!control->HandleAllocated()) return;
  HWND wnd = control->Handle();
  auto region = std::make_unique<TvxRegion>();
  const int kind = GetWindowRgn(wnd, region->Handle());
  if (kind != SIMPLEREGION && kind != COMPLEXREGION) return;
  // The window region is relative to the window's corner; the canvas works
  // in client coordinates.
  RECT window;
  GetWindowRect(wnd, &window);
  const TPoint client = control->ClientOrigin();
  region->Shift(window.left - client.X, window.top - client.Y);
  canvas->ApplyClipRegion(std::move(region), roIntersect, true);
}

// --- Module ---------------------------------------------------------------------------

TvxAlphaBlendProc vxAlphaBlendEntry() { return State().alphaBlend; }

void vxGraphicsInitialize() {
  TvxGraphicsState& s = State();
  s.finalizing = false;
  if (s.msimg32.Load("msimg32.dll")) s.alphaBlend = s.msimg32.ProcAs<TvxAlphaBlendProc>("AlphaBlend");
  if (vdWin32MajorVersion() > 5) {
    using TSetProcessDPIAware = BOOL(WINAPI*)();
    if (HMODULE user32 = GetModuleHandleA("user32.dll"))
      if (auto aware = reinterpret_cast<TSetProcessDPIAware>(
              reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDPIAware"))))
        aware();
  }
  vxRegisterBitmapClasses();
  HDC dc = GetDC(nullptr);
  s.dpi = {GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY)};
  ReleaseDC(nullptr, dc);
}

void vxGraphicsFinalize() {
  TvxGraphicsState& s = State();
  s.finalizing = true;
  s.screenCanvas.reset();
  s.paintCanvas.reset();
  vxFreeScratchBitmaps();
  vxUnregisterBitmapClasses();
  s.alphaBlend = nullptr;
  s.msimg32.Free();
}
