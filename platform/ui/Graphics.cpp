#include "platform/ui/Graphics.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/OsFiles.h"

COLORREF ColorToRGB(TColor color) {
  if (color == clNone) return 0;
  if (color == clDefault) color = clWindow;
  if (uint32_t(color) >> 24 == 0xFF) return GetSysColor(color & 0xFF);
  return COLORREF(color) & 0xFFFFFF;
}

// --- TGraphicsObject ------------------------------------------------------------

void TGraphicsObject::Changing() {
  if (OnChanging) OnChanging();
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// --- TFont ---------------------------------------------------------------------------

TFont::TFont() = default;

TFont::~TFont() { FreeHandle(); }

void TFont::FreeHandle() {
  if (handle_) DeleteObject(handle_);
  handle_ = nullptr;
}

template <typename T>
void TFont::Set(T& field, const T& value) {
  if (field == value) return;
  Changing();
  FreeHandle();
  field = value;
  Changed();
}

void TFont::SetName(const String& name) { Set(name_, name); }
void TFont::SetHeight(int height) { Set(height_, height); }
int TFont::Size() const { return -MulDiv(height_, 72, PixelsPerInch); }
void TFont::SetSize(int points) { SetHeight(-MulDiv(points, PixelsPerInch, 72)); }
void TFont::SetStyle(TFontStyles style) { Set(style_, style); }
void TFont::SetCharset(uint8_t charset) { Set(charset_, charset); }
void TFont::SetPitch(TFontPitch pitch) { Set(pitch_, pitch); }
void TFont::SetOrientation(int tenths) { Set(orientation_, tenths); }

// The colour is not part of the GDI font: no handle to remake.
void TFont::SetColor(TColor color) {
  if (color_ == color) return;
  color_ = color;
  Changed();
}

bool TFont::SameAs(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && color_ == o.color_ &&
         charset_ == o.charset_ && pitch_ == o.pitch_ && orientation_ == o.orientation_;
}

void TFont::Assign(const TPersistent* source) {
  auto* src = dynamic_cast<const TFont*>(source);
  if (!src) return TGraphicsObject::Assign(source);
  if (SameAs(*src)) return;
  Changing();
  FreeHandle();
  name_ = src->name_;
  height_ = src->height_;
  style_ = src->style_;
  color_ = src->color_;
  charset_ = src->charset_;
  pitch_ = src->pitch_;
  orientation_ = src->orientation_;
  Changed();
}

HFONT TFont::Handle() {
  if (handle_) return handle_;
  LOGFONTA lf{};
  lf.lfHeight = height_;
  lf.lfEscapement = orientation_;
  lf.lfOrientation = orientation_;
  lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (style_ & fsItalic) != 0;
  lf.lfUnderline = (style_ & fsUnderline) != 0;
  lf.lfStrikeOut = (style_ & fsStrikeOut) != 0;
  lf.lfCharSet = charset_;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
  lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
  handle_ = CreateFontIndirectA(&lf);
  if (!handle_) throw EOutOfResources("Out of system resources");
  return handle_;
}

void TFont::SetHandle(HFONT font) {
  LOGFONTA lf{};
  if (!GetObjectA(font, sizeof lf, &lf)) return;
  Changing();
  FreeHandle();
  name_ = lf.lfFaceName;
  height_ = lf.lfHeight;
  style_ = (lf.lfWeight >= FW_BOLD ? fsBold : 0) | (lf.lfItalic ? fsItalic : 0) |
           (lf.lfUnderline ? fsUnderline : 0) | (lf.lfStrikeOut ? fsStrikeOut : 0);
  charset_ = lf.lfCharSet;
  orientation_ = lf.lfEscapement;
  Changed();
}

// --- TBrush ----------------------------------------------------------------------

TBrush::~TBrush() { FreeHandle(); }

void TBrush::FreeHandle() {
  if (handle_) DeleteObject(handle_);
  handle_ = nullptr;
}

void TBrush::SetColor(TColor color) {
  if (color_ == color && style_ != bsClear) return;
  Changing();
  FreeHandle();
  color_ = color;
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style_ == style) return;
  Changing();
  FreeHandle();
  style_ = style;
  Changed();
}

void TBrush::SetBitmap(TBitmap* bitmap) {
  if (bitmap_ == bitmap) return;
  Changing();
  FreeHandle();
  bitmap_ = bitmap;
  Changed();
}

void TBrush::Assign(const TPersistent* source) {
  auto* src = dynamic_cast<const TBrush*>(source);
  if (!src) return TGraphicsObject::Assign(source);
  Changing();
  FreeHandle();
  color_ = src->color_;
  style_ = src->style_;
  bitmap_ = src->bitmap_;
  Changed();
}

HBRUSH TBrush::Handle() {
  if (handle_) return handle_;
  LOGBRUSH lb{};
  if (bitmap_ && !bitmap_->Empty()) {
    lb.lbStyle = BS_PATTERN;
    lb.lbHatch = ULONG_PTR(bitmap_->Handle());
  } else if (style_ == bsClear) {
    lb.lbStyle = BS_NULL;
  } else if (style_ == bsSolid) {
    lb.lbStyle = BS_SOLID;
    lb.lbColor = ColorToRGB(color_);
  } else {
    static const int hatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
    lb.lbStyle = BS_HATCHED;
    lb.lbColor = ColorToRGB(color_);
    lb.lbHatch = hatches[style_ - bsHorizontal];
  }
  handle_ = CreateBrushIndirect(&lb);
  if (!handle_) throw EOutOfResources("Out of system resources");
  return handle_;
}

// --- TPen ----------------------------------------------------------------------------

int PenModeToRop2(TPenMode mode) {
  static const int rop2[] = {R2_BLACK,       R2_WHITE,      R2_NOP,        R2_NOT,
                             R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                             R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,   R2_NOTMERGEPEN,
                             R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,     R2_NOTXORPEN};
  return rop2[mode];
}

TPen::~TPen() { FreeHandle(); }

void TPen::FreeHandle() {
  if (handle_) DeleteObject(handle_);
  handle_ = nullptr;
}

void TPen::SetColor(TColor color) {
  if (color_ == color) return;
  Changing();
  FreeHandle();
  color_ = color;
  Changed();
}

void TPen::SetWidth(int width) {
  if (width_ == width || width < 0) return;
  Changing();
  FreeHandle();
  width_ = width;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  if (style_ == style) return;
  Changing();
  FreeHandle();
  style_ = style;
  Changed();
}

// The mode is a property of the DC, not of the GDI pen.
void TPen::SetMode(TPenMode mode) {
  if (mode_ == mode) return;
  mode_ = mode;
  Changed();
}

void TPen::Assign(const TPersistent* source) {
  auto* src = dynamic_cast<const TPen*>(source);
  if (!src) return TGraphicsObject::Assign(source);
  Changing();
  FreeHandle();
  color_ = src->color_;
  width_ = src->width_;
  style_ = src->style_;
  mode_ = src->mode_;
  Changed();
}

HPEN TPen::Handle() {
  if (handle_) return handle_;
  static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
  handle_ = CreatePen(styles[style_], width_, ColorToRGB(color_));
  if (!handle_) throw EOutOfResources("Out of system resources");
  return handle_;
}

// --- TCanvas -------------------------------------------------------------------------

TCanvas::TCanvas() {
  // Before a font, pen or brush frees its handle it must leave the DC.
  font_.OnChanging = [this] { Deselect(csFont); };
  pen_.OnChanging = [this] { Deselect(csPen); };
  brush_.OnChanging = [this] { Deselect(csBrush); };
  font_.OnChange = [this](TObject*) { Deselect(csFont); };
  pen_.OnChange = [this](TObject*) { Deselect(csPen); };
  brush_.OnChange = [this](TObject*) { Deselect(csBrush); };
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

HDC TCanvas::Ready(uint8_t needs) {
  if (!dc_) CreateHandle();
  if (!dc_) throw EInvalidOperation("Canvas does not allow drawing");
  if (needs & ~selected_)
    Select(needs & ~selected_);
  else if (needs & csBrush)
    AreaBrush(dc_);  // someone may have set the DC brush's colour meanwhile
  return dc_;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc_ == dc) return;
  DeselectHandles();
  dc_ = dc;
}

void TCanvas::Deselect(uint8_t objects) {
  objects &= selected_;
  if (!dc_) objects = 0;
  if (objects & csFont) SelectObject(dc_, savedFont_);
  if (objects & csPen) SelectObject(dc_, savedPen_);
  if (objects & csBrush) SelectObject(dc_, savedBrush_);
  selected_ = dc_ ? uint8_t(selected_ & ~objects) : 0;
}

void TCanvas::Select(uint8_t objects) {
  HDC dc = dc_;
  if (objects & csFont) {
    savedFont_ = SelectObject(dc, font_.Handle());
    SetTextColor(dc, ColorToRGB(font_.Color()));
  }
  if (objects & csPen) {
    savedPen_ = SelectObject(dc, pen_.Handle());
    SetROP2(dc, PenModeToRop2(pen_.Mode()));
  }
  if (objects & csBrush) {
    savedBrush_ = SelectObject(dc, AreaBrush(dc));
    SetBkColor(dc, ColorToRGB(brush_.Color()));
    SetBkMode(dc, brush_.Style() == bsClear ? TRANSPARENT : OPAQUE);
  }
  if (selected_ == 0) SetStretchBltMode(dc, COLORONCOLOR);
  selected_ |= objects;
}

TPoint TCanvas::PenPos() {
  POINT p{};
  GetCurrentPositionEx(Ready(0), &p);
  return TPoint(p);
}

void TCanvas::Lock() {
  lock_.lock();
  ++lockCount_;
}

void TCanvas::Unlock() {
  --lockCount_;
  lock_.unlock();
}

bool TCanvas::TryLock() {
  if (!lock_.try_lock()) return false;
  ++lockCount_;
  return true;
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(Ready(0), x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
  Changing();
  ::LineTo(Ready(csPen), x, y);
  Changed();
}

void TCanvas::Rectangle(const TRect& r) {
  Changing();
  ::Rectangle(Ready(csPen | csBrush), r.Left, r.Top, r.Right, r.Bottom);
  Changed();
}

void TCanvas::RoundRect(const TRect& r, int cw, int ch) {
  Changing();
  ::RoundRect(Ready(csPen | csBrush), r.Left, r.Top, r.Right, r.Bottom, cw, ch);
  Changed();
}

void TCanvas::Ellipse(const TRect& r) {
  Changing();
  ::Ellipse(Ready(csPen | csBrush), r.Left, r.Top, r.Right, r.Bottom);
  Changed();
}

void TCanvas::Polygon(const TPoint* points, int count) {
  std::vector<POINT> pts(points, points + count);
  Changing();
  ::Polygon(Ready(csPen | csBrush), pts.data(), count);
  Changed();
}

void TCanvas::Polyline(const TPoint* points, int count) {
  std::vector<POINT> pts(points, points + count);
  Changing();
  ::Polyline(Ready(csPen), pts.data(), count);
  Changed();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Changing();
  ::Arc(Ready(csPen), x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Changing();
  ::Pie(Ready(csPen | csBrush), x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

// A plain solid brush is the DC's own brush in its colour: painters fill
// many small strips in changing colours, and a brush object made and freed
// for each one would cost more than the fill.
HBRUSH TCanvas::AreaBrush(HDC dc) {
  const bool pattern = brush_.Bitmap() && !brush_.Bitmap()->Empty();
  if (pattern || brush_.Style() != bsSolid) return brush_.Handle();
  if (brush_.Color() < 0)
    return GetSysColorBrush(brush_.Color() & 0xFF);
  SetDCBrushColor(dc, ColorToRGB(brush_.Color()));
  return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

void TCanvas::FillRect(const TRect& r) {
  RECT rc = r;
  Changing();
  HDC dc = Ready(0);
  ::FillRect(dc, &rc, AreaBrush(dc));
  Changed();
}

void TCanvas::FrameRect(const TRect& r) {
  RECT rc = r;
  Changing();
  HDC dc = Ready(0);
  ::FrameRect(dc, &rc, AreaBrush(dc));
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
  RECT rc = r;
  Changing();
  ::DrawFocusRect(Ready(csAllObjects), &rc);
  Changed();
}

void TCanvas::FloodFill(int x, int y, TColor color, bool surface) {
  Changing();
  ExtFloodFill(Ready(csBrush), x, y, ColorToRGB(color), surface ? FLOODFILLSURFACE : FLOODFILLBORDER);
  Changed();
}

void TCanvas::TextOut(int x, int y, const String& text) {
  Changing();
  ExtTextOutA(Ready(csFont | csBrush), x, y, 0, nullptr, text.data(), UINT(text.size()), nullptr);
  MoveTo(x + TextWidth(text), y);
  Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const String& text) {
  RECT rc = r;
  UINT options = ETO_CLIPPED | (brush_.Style() != bsClear ? ETO_OPAQUE : 0);
  Changing();
  ExtTextOutA(Ready(csFont | csBrush), x, y, options, &rc, text.data(), UINT(text.size()), nullptr);
  Changed();
}

TSize TCanvas::TextExtent(const String& text) {
  SIZE s{};
  GetTextExtentPoint32A(Ready(csFont), text.data(), int(text.size()), &s);
  return {s.cx, s.cy};
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  Ready(csAllObjects);
  graphic->Draw(*this, Bounds(x, y, graphic->Width(), graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  Ready(csAllObjects);
  graphic->Draw(*this, r);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& src) {
  Changing();
  StretchBlt(Ready(csAllObjects), dest.Left, dest.Top, dest.Width(), dest.Height(), source->Ready(csAllObjects), src.Left, src.Top,
             src.Width(), src.Height(), copyMode_);
  Changed();
}

TColor TCanvas::Pixel(int x, int y) { return TColor(GetPixel(Ready(0), x, y)); }

void TCanvas::SetPixel(int x, int y, TColor color) {
  Changing();
  ::SetPixel(Ready(0), x, y, ColorToRGB(color));
  Changed();
}

TRect TCanvas::ClipRect() {
  RECT r{};
  GetClipBox(Ready(0), &r);
  return TRect(r);
}

// --- TGraphic ------------------------------------------------------------------------

void TGraphic::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  Changed();
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const String& fileName) {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

// --- TBitmap -------------------------------------------------------------------------

// The canvas of a bitmap: a memory DC with the bitmap selected, made on
// demand and given up by Dormant or when the image is remade.
class TBitmap::TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }

  void FreeContext() {
    HDC dc = RawHandle();
    if (!dc) return;
    SetHandle(nullptr);
    SelectObject(dc, oldBitmap_);
    DeleteDC(dc);
  }

 protected:
  void CreateHandle() override {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) throw EOutOfResources("Out of system resources");
    oldBitmap_ = SelectObject(dc, bitmap_->Handle());
    SetHandle(dc);
  }

 private:
  TBitmap* bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
};

namespace {

int BitsOf(TPixelFormat f) {
  switch (f) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf32bit: return 32;
    default: return 24;
  }
}

TPixelFormat FormatOf(int bits) {
  switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf15bit;
    case 32: return pf32bit;
    default: return pf24bit;
  }
}

// The grey ramp a palette format starts with (black to white).
std::vector<RGBQUAD> GreyPalette(int bits) {
  int n = 1 << bits;
  std::vector<RGBQUAD> pal(n);
  for (int i = 0; i < n; ++i) {
    BYTE v = BYTE(i * 255 / (n - 1));
    pal[i] = RGBQUAD{v, v, v, 0};
  }
  return pal;
}

}  // namespace

TBitmap::TBitmap() : canvas_(std::make_unique<TBitmapCanvas>(this)) {}

TBitmap::~TBitmap() { FreeImage(); }

void TBitmap::FreeImage() {
  canvas_->FreeContext();
  if (handle_) DeleteObject(handle_);
  handle_ = nullptr;
  bits_ = nullptr;
}

int TBitmap::BytesPerRow() const { return ((width_ * BitsOf(format_) + 31) / 32) * 4; }

void TBitmap::Recreate(int width, int height, TPixelFormat format, const RGBQUAD* palette, int paletteSize) {
  if (width < 0 || height < 0 || width > kMaxBitmapSide || height > kMaxBitmapSide)
    throw EInvalidGraphic("Bitmap image is not valid");
  if (format == pfDevice || format == pfCustom) format = pf24bit;
  FreeImage();
  width_ = width;
  height_ = height;
  format_ = format;
  if (Empty()) return;
  int bits = BitsOf(format);
  std::vector<RGBQUAD> defaultPal;
  if (bits <= 8 && !palette) {
    defaultPal = GreyPalette(bits);
    palette = defaultPal.data();
    paletteSize = int(defaultPal.size());
  }
  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * std::max(paletteSize, 3));
  auto* h = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  h->biSize = sizeof(BITMAPINFOHEADER);
  h->biWidth = width;
  h->biHeight = -height;  // top-down
  h->biPlanes = 1;
  h->biBitCount = WORD(bits);
  h->biCompression = BI_RGB;
  if (bits <= 8) {
    h->biClrUsed = paletteSize;
    std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), palette, sizeof(RGBQUAD) * paletteSize);
  } else if (format == pf16bit) {
    // 5-6-5 needs its masks; pf15bit is the plain 5-5-5 layout.
    h->biCompression = BI_BITFIELDS;
    DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), masks, sizeof masks);
  }
  void* bits_out = nullptr;
  handle_ = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits_out,
                             nullptr, 0);
  if (!handle_) throw EOutOfResources("Out of system resources");
  bits_ = static_cast<uint8_t*>(bits_out);
  // A new bitmap is white, as a fresh drawing surface is expected to be.
  std::memset(bits_, 0xFF, size_t(BytesPerRow()) * height_);
  if (format == pf32bit) {
    for (int y = 0; y < height_; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(bits_ + size_t(y) * BytesPerRow());
      for (int x = 0; x < width_; ++x) row[x] = 0x00FFFFFF;
    }
  }
}

void TBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  // Keep the part of the old image that still fits.
  TBitmap old;
  bool keep = !Empty();
  if (keep) old.Assign(this);
  std::vector<RGBQUAD> pal;
  if (BitsOf(format_) <= 8 && handle_) {
    pal.resize(1 << BitsOf(format_));
    HDC dc = canvas_->Handle();
    GetDIBColorTable(dc, 0, UINT(pal.size()), pal.data());
  }
  Recreate(width, height, format_, pal.empty() ? nullptr : pal.data(), int(pal.size()));
  if (keep && !Empty()) {
    BitBlt(canvas_->Handle(), 0, 0, std::min(width, old.Width()), std::min(height, old.Height()),
           old.Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == pfDevice || format == pfCustom) format = pf24bit;
  if (format == format_) return;
  if (Empty()) {
    format_ = format;
    return;
  }
  TBitmap old;
  old.Assign(this);
  Recreate(width_, height_, format, nullptr, 0);
  BitBlt(canvas_->Handle(), 0, 0, width_, height_, old.Canvas()->Handle(), 0, 0, SRCCOPY);
  Changed();
}

TCanvas* TBitmap::Canvas() { return canvas_.get(); }

HBITMAP TBitmap::Handle() {
  if (!handle_) {
    // An empty bitmap still has a handle: a 1x1 surface that Empty() hides.
    int w = width_, h = height_;
    Recreate(std::max(w, 1), std::max(h, 1), format_, nullptr, 0);
    width_ = w;
    height_ = h;
  }
  return handle_;
}

HBITMAP TBitmap::ReleaseHandle() {
  canvas_->FreeContext();
  HBITMAP h = handle_;
  handle_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
  Changed();
  return h;
}

void TBitmap::SetHandle(HBITMAP bitmap) {
  if (!bitmap) {
    FreeImage();
    width_ = height_ = 0;
    Changed();
    return;
  }
  DIBSECTION ds{};
  BITMAP bm{};
  if (!GetObjectA(bitmap, sizeof bm, &bm)) throw EInvalidGraphic("Bitmap image is not valid");
  bool isDib = GetObjectA(bitmap, sizeof ds, &ds) == sizeof ds;
  TPixelFormat format = FormatOf(isDib ? ds.dsBm.bmBitsPixel : 24);
  // Copy into our own top-down DIB, so that ScanLine always means the same.
  Recreate(bm.bmWidth, std::abs(bm.bmHeight), format, nullptr, 0);
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(src, bitmap);
  if (BitsOf(format) <= 8) {
    std::vector<RGBQUAD> pal(1 << BitsOf(format));
    UINT n = GetDIBColorTable(src, 0, UINT(pal.size()), pal.data());
    if (n) SetDIBColorTable(canvas_->Handle(), 0, n, pal.data());
  }
  BitBlt(canvas_->Handle(), 0, 0, width_, height_, src, 0, 0, SRCCOPY);
  SelectObject(src, old);
  DeleteDC(src);
  DeleteObject(bitmap);
  Changed();
}

void TBitmap::Dormant() { canvas_->FreeContext(); }

void* TBitmap::ScanLine(int row) {
  if (row < 0 || row >= height_ || !bits_) throw EInvalidGraphicOperation("Scan line index out of range");
  GdiFlush();
  return bits_ + size_t(row) * BytesPerRow();
}

TColor TBitmap::TransparentColor() {
  if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
  if (Empty()) return clDefault;
  // The bottom-left pixel, as the picture's background colour.
  return TColor(GetPixel(canvas_->Handle(), 0, height_ - 1) & 0xFFFFFF);
}

void TBitmap::SetTransparentColor(TColor color) {
  if (color == transparentColor_) return;
  transparentColor_ = color;
  transparentMode_ = color == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
  if (mode == transparentMode_) return;
  transparentMode_ = mode;
  if (mode == tmAuto) transparentColor_ = clDefault;
  Changed();
}

void TBitmap::Assign(const TPersistent* source) {
  auto* src = dynamic_cast<const TBitmap*>(source);
  if (!src) return TGraphic::Assign(source);
  if (src == this) return;
  auto* s = const_cast<TBitmap*>(src);
  std::vector<RGBQUAD> pal;
  if (BitsOf(s->format_) <= 8 && s->handle_) {
    pal.resize(1 << BitsOf(s->format_));
    GetDIBColorTable(s->canvas_->Handle(), 0, UINT(pal.size()), pal.data());
  }
  Recreate(s->width_, s->height_, s->format_, pal.empty() ? nullptr : pal.data(), int(pal.size()));
  if (!Empty() && s->bits_) {
    GdiFlush();
    std::memcpy(bits_, s->bits_, size_t(BytesPerRow()) * height_);
  }
  transparentColor_ = s->transparentColor_;
  transparentMode_ = s->transparentMode_;
  SetTransparent(s->Transparent());
  Changed();
}

void TBitmap::Draw(TCanvas& canvas, const TRect& r) {
  HDC dest = canvas.Handle();
  HDC src = canvas_->Handle();
  if (Transparent()) {
    TransparentBlt(dest, r.Left, r.Top, r.Width(), r.Height(), src, 0, 0, width_, height_,
                   ColorToRGB(TransparentColor()));
  } else {
    StretchBlt(dest, r.Left, r.Top, r.Width(), r.Height(), src, 0, 0, width_, height_, canvas.CopyMode());
  }
}

void TBitmap::LoadFromStream(TStream& stream) {
  const TBitmapFileInfo file = ReadBitmapFileInfo(stream);
  const TPixelFormat format = file.Rgb565 ? pf16bit : FormatOf(file.BitsPerPixel);
  std::vector<RGBQUAD> pal(file.Palette.size());
  std::memcpy(pal.data(), file.Palette.data(), pal.size() * sizeof(RGBQUAD));
  Recreate(file.Width, file.Height, format, pal.empty() ? nullptr : pal.data(), int(pal.size()));
  GdiFlush();
  ReadBitmapFileRows(stream, file, bits_, BytesPerRow());
  Changed();
}

void TBitmap::SaveToStream(TStream& stream) {
  TBitmapFileInfo file;
  file.Width = width_;
  file.Height = height_;
  file.BitsPerPixel = BitsOf(format_);
  file.Rgb565 = format_ == pf16bit;
  if (file.BitsPerPixel <= 8 && !Empty()) {
    std::vector<RGBQUAD> pal(size_t(1) << file.BitsPerPixel);
    GetDIBColorTable(canvas_->Handle(), 0, UINT(pal.size()), pal.data());
    file.Palette.resize(pal.size());
    std::memcpy(file.Palette.data(), pal.data(), pal.size() * sizeof(RGBQUAD));
  }
  GdiFlush();
  WriteBitmapFile(stream, file, bits_, BytesPerRow());
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const String& name) {
  HBITMAP h = HBITMAP(LoadImageA(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!h) throw EInvalidGraphic("Resource " + name + " not found");
  SetHandle(h);
}

// --- TIcon ---------------------------------------------------------------------------

TIcon::~TIcon() {
  if (handle_) DestroyIcon(handle_);
}

void TIcon::SetHandle(HICON icon) {
  if (handle_ && handle_ != icon) DestroyIcon(handle_);
  handle_ = icon;
  data_.clear();
  width_ = height_ = 0;
  if (icon) {
    ICONINFO info{};
    if (GetIconInfo(icon, &info)) {
      BITMAP bm{};
      GetObjectA(info.hbmMask, sizeof bm, &bm);
      width_ = bm.bmWidth;
      height_ = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
      if (info.hbmColor) DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
    }
  }
  Changed();
}

HICON TIcon::ReleaseHandle() {
  HICON h = handle_;
  handle_ = nullptr;
  data_.clear();
  width_ = height_ = 0;
  Changed();
  return h;
}

void TIcon::Assign(const TPersistent* source) {
  auto* src = dynamic_cast<const TIcon*>(source);
  if (!src) return TGraphic::Assign(source);
  if (src == this) return;
  std::vector<uint8_t> data = src->data_;
  SetHandle(src->handle_ ? CopyIcon(src->handle_) : nullptr);
  data_ = std::move(data);
}

void TIcon::LoadFromStream(TStream& stream) {
  // ICONDIR: reserved 0, type 1, count; then 16-byte entries.
  int64_t start = stream.Position();
  uint16_t head[3];
  stream.ReadBuffer(head, sizeof head);
  if (head[0] != 0 || head[1] != 1 || head[2] == 0) throw EInvalidGraphic("Icon image is not valid");
  uint8_t entry[16];
  stream.ReadBuffer(entry, sizeof entry);
  uint32_t bytes, offset;
  std::memcpy(&bytes, entry + 8, 4);
  std::memcpy(&offset, entry + 12, 4);
  constexpr uint32_t kMaxIconBytes = 16u << 20;
  if (bytes == 0 || bytes > kMaxIconBytes) throw EInvalidGraphic("Icon image is not valid");
  std::vector<uint8_t> image(bytes);
  stream.SetPosition(start + offset);
  stream.ReadBuffer(image.data(), bytes);
  HICON icon = CreateIconFromResourceEx(image.data(), bytes, TRUE, 0x00030000, entry[0] ? entry[0] : 256,
                                        entry[1] ? entry[1] : 256, LR_DEFAULTCOLOR);
  if (!icon) throw EInvalidGraphic("Icon image is not valid");
  std::vector<uint8_t> file(size_t(offset) + bytes);
  stream.SetPosition(start);
  stream.ReadBuffer(file.data(), int64_t(std::min<size_t>(file.size(), size_t(offset))));
  std::memcpy(file.data() + offset, image.data(), bytes);
  SetHandle(icon);
  data_ = std::move(file);
}

void TIcon::SaveToStream(TStream& stream) {
  if (data_.empty()) throw EInvalidGraphicOperation("Cannot save an icon that was not loaded from a file");
  stream.WriteBuffer(data_.data(), int64_t(data_.size()));
}

void TIcon::Draw(TCanvas& canvas, const TRect& r) {
  DrawIconEx(canvas.Handle(), r.Left, r.Top, handle_, r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
}

// --- TPicture -----------------------------------------------------------------------

namespace {

struct FileFormat {
  String description;
  TGraphicFactory factory;
};

std::map<String, FileFormat>& FileFormats() {
  static std::map<String, FileFormat> formats = [] {
    std::map<String, FileFormat> m;
    m["BMP"] = {"Bitmaps", [] { return std::make_unique<TBitmap>(); }};
    m["ICO"] = {"Icons", [] { return std::make_unique<TIcon>(); }};
    return m;
  }();
  return formats;
}

String ExtensionKey(const String& fileNameOrExt) {
  String ext = ExtractFileExt(fileNameOrExt);
  if (ext.empty()) ext = fileNameOrExt;
  if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  return UpperCase(ext);
}

}  // namespace

TPicture::~TPicture() = default;

void TPicture::RegisterFileFormat(const String& extension, const String& description, TGraphicFactory factory) {
  FileFormats()[ExtensionKey(extension)] = {description, std::move(factory)};
}

void TPicture::UnregisterFileFormat(const String& extension) { FileFormats().erase(ExtensionKey(extension)); }

TGraphicFactory TPicture::FindFileFormat(const String& extension) {
  auto it = FileFormats().find(ExtensionKey(extension));
  return it == FileFormats().end() ? TGraphicFactory() : it->second.factory;
}

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  if (graphic_) graphic_->OnChange = [this](TObject*) { Changed(); };
  Changed();
}

void TPicture::SetGraphic(TGraphic* graphic) {
  if (graphic == graphic_.get()) return;
  if (!graphic) return Adopt(nullptr);
  auto copy = graphic->NewEmpty();
  copy->Assign(graphic);
  Adopt(std::move(copy));
}

void TPicture::Assign(const TPersistent* source) {
  if (!source) return SetGraphic(nullptr);
  if (auto* p = dynamic_cast<const TPicture*>(source)) return SetGraphic(p->Graphic());
  if (auto* g = dynamic_cast<const TGraphic*>(source)) return SetGraphic(const_cast<TGraphic*>(g));
  TPersistent::Assign(source);
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(graphic_.get())) Adopt(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(graphic_.get());
}

TIcon* TPicture::Icon() {
  if (!dynamic_cast<TIcon*>(graphic_.get())) Adopt(std::make_unique<TIcon>());
  return static_cast<TIcon*>(graphic_.get());
}

void TPicture::LoadFromFile(const String& fileName) {
  TGraphicFactory factory = FindFileFormat(ExtractFileExt(fileName));
  if (!factory) throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", {ExtensionKey(fileName)}));
  auto graphic = factory();
  graphic->LoadFromFile(fileName);
  Adopt(std::move(graphic));
}

void TPicture::SaveToFile(const String& fileName) {
  if (graphic_) graphic_->SaveToFile(fileName);
}
