// Drawing over GDI: colours, the font, brush and pen objects, the canvas
// that selects them into a device context, and the graphics (bitmap, icon)
// that a picture holds, with the registry of picture file formats.
//
// A graphics object owns its GDI handle and makes it lazily; a change frees
// the handle after telling the canvas that has it selected to let it go, so
// that no selected object is ever deleted.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/BitmapFile.h"
#include "platform/Components.h"
#include "platform/Streams.h"
#include "platform/ui/Types.h"

// --- Colours -------------------------------------------------------------------
// 0x00BBGGRR for a plain colour; 0xFF0000nn for the system colour nn.
using TColor = int32_t;

constexpr TColor SystemColor(int index) { return TColor(0xFF000000u | uint32_t(index)); }

constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SystemColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SystemColor(COLOR_MENU);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SystemColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SystemColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SystemColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
constexpr TColor clHotLight = SystemColor(COLOR_HOTLIGHT);
constexpr TColor clGradientActiveCaption = SystemColor(COLOR_GRADIENTACTIVECAPTION);
constexpr TColor clGradientInactiveCaption = SystemColor(COLOR_GRADIENTINACTIVECAPTION);
constexpr TColor clMenuHighlight = SystemColor(COLOR_MENUHILIGHT);
constexpr TColor clMenuBar = SystemColor(COLOR_MENUBAR);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB value of a colour: system colours resolve through the current
// scheme; clNone gives black and clDefault the window colour.
COLORREF ColorToRGB(TColor color);
constexpr TColor RGBColor(uint8_t r, uint8_t g, uint8_t b) { return TColor(r | (g << 8) | (b << 16)); }

// --- Graphics objects ----------------------------------------------------------------
class TGraphicsObject : public TPersistent {
 public:
  const char* ClassName() const override { return "TGraphicsObject"; }
  TNotifyEvent OnChange;
  // Called before the handle goes away; a canvas deselects the object here.
  std::function<void()> OnChanging;

 protected:
  void Changing();
  void Changed();
};

enum : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;
enum TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont : public TGraphicsObject {
 public:
  TFont();
  ~TFont() override;
  const char* ClassName() const override { return "TFont"; }
  void Assign(const TPersistent* source) override;

  const String& Name() const { return name_; }
  void SetName(const String& name);
  // Negative: character height in pixels; positive: cell height.
  int Height() const { return height_; }
  void SetHeight(int height);
  // Points at the screen's resolution.
  int Size() const;
  void SetSize(int points);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  uint8_t Charset() const { return charset_; }
  void SetCharset(uint8_t charset);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch pitch);
  int Orientation() const { return orientation_; }  // tenths of a degree
  void SetOrientation(int tenths);

  HFONT Handle();
  // Takes the attributes of an existing font; the handle stays the caller's.
  void SetHandle(HFONT font);
  bool SameAs(const TFont& other) const;

  static constexpr int PixelsPerInch = 96;

 private:
  template <typename T>
  void Set(T& field, const T& value);
  void FreeHandle();

  String name_ = "MS Sans Serif";
  int height_ = -11;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  uint8_t charset_ = DEFAULT_CHARSET;
  TFontPitch pitch_ = fpDefault;
  int orientation_ = 0;
  HFONT handle_ = nullptr;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBitmap;

class TBrush : public TGraphicsObject {
 public:
  TBrush() = default;
  ~TBrush() override;
  const char* ClassName() const override { return "TBrush"; }
  void Assign(const TPersistent* source) override;

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  // A pattern brush; the bitmap stays the caller's and must outlive the use.
  TBitmap* Bitmap() const { return bitmap_; }
  void SetBitmap(TBitmap* bitmap);
  HBRUSH Handle();

 private:
  void FreeHandle();

  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  TBitmap* bitmap_ = nullptr;
  HBRUSH handle_ = nullptr;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// The raster operations of the pen, in the order of the R2_ codes they map to.
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
int PenModeToRop2(TPenMode mode);

class TPen : public TGraphicsObject {
 public:
  TPen() = default;
  ~TPen() override;
  const char* ClassName() const override { return "TPen"; }
  void Assign(const TPersistent* source) override;

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Width() const { return width_; }
  void SetWidth(int width);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode mode);
  HPEN Handle();

 private:
  void FreeHandle();

  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
  HPEN handle_ = nullptr;
};

// --- Canvas --------------------------------------------------------------------
class TGraphic;

// Copy modes are the raster operation codes of BitBlt (SRCCOPY...).
using TCopyMode = DWORD;

class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;
  const char* ClassName() const override { return "TCanvas"; }

  // The device context with the font, pen and brush selected; a canvas
  // that can make one (a control's, a bitmap's) makes it on first use.
  HDC Handle() { return Ready(csAllObjects); }
  // Attaches a device context the caller owns (nullptr detaches).
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  TFont* Font() { return &font_; }
  TBrush* Brush() { return &brush_; }
  TPen* Pen() { return &pen_; }
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }
  TPoint PenPos();
  void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }

  // Serialises drawing from several threads on one canvas (counted).
  void Lock();
  void Unlock();
  bool TryLock();
  int LockCount() const { return lockCount_; }

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Rectangle(const TRect& r);
  void Rectangle(int l, int t, int r, int b) { Rectangle(TRect(l, t, r, b)); }
  void RoundRect(const TRect& r, int cornerWidth, int cornerHeight);
  void Ellipse(const TRect& r);
  void Polygon(const TPoint* points, int count);
  void Polyline(const TPoint* points, int count);
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  void DrawFocusRect(const TRect& r);
  void FloodFill(int x, int y, TColor color, bool surface);

  void TextOut(int x, int y, const String& text);
  // Writes text clipped to r, starting at (x, y).
  void TextRect(const TRect& r, int x, int y, const String& text);
  TSize TextExtent(const String& text);
  int TextWidth(const String& text) { return TextExtent(text).cx; }
  int TextHeight(const String& text) { return TextExtent(text).cy; }

  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const TRect& r, TGraphic* graphic);
  void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);

  TColor Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);
  TRect ClipRect();

  // Reselects the font, pen and brush (after someone else changed the DC).
  void Refresh() { DeselectHandles(); }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Which of the canvas's objects a drawing call needs in the DC.
  enum : uint8_t { csFont = 1, csPen = 2, csBrush = 4, csAllObjects = csFont | csPen | csBrush };

  virtual void CreateHandle() {}
  // The device context as it is, without making one or selecting objects.
  HDC RawHandle() const { return dc_; }
  // The device context, made on demand, with the objects in needs selected
  // (each with its DC attributes: text colour, background, raster mode).
  HDC Ready(uint8_t needs);
  void Changing();
  void Changed();
  void DeselectHandles() { Deselect(csAllObjects); }

 private:
  // Selecting is lazy: a change of the font, pen or brush takes only that
  // object out of the DC, and it goes back in when a call needs it.
  void Select(uint8_t objects);
  void Deselect(uint8_t objects);
  // The brush FillRect and FrameRect draw with and the DC holds.
  HBRUSH AreaBrush(HDC dc);

  HDC dc_ = nullptr;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  TCopyMode copyMode_ = SRCCOPY;
  uint8_t selected_ = 0;
  // What the DC held before each of our objects went in.
  HGDIOBJ savedFont_ = nullptr, savedPen_ = nullptr, savedBrush_ = nullptr;
  std::recursive_mutex lock_;
  int lockCount_ = 0;
};

// --- Graphics ------------------------------------------------------------------
class TGraphic : public TPersistent {
 public:
  const char* ClassName() const override { return "TGraphic"; }
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int width) = 0;
  virtual void SetHeight(int height) = 0;
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value);

  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) = 0;
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName);
  // An empty graphic of the same class (a picture copies through it).
  virtual std::unique_ptr<TGraphic> NewEmpty() const = 0;

  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
  // Fires OnChange; a descendant may batch or follow up the notification.
  virtual void Changed();

 private:
  bool transparent_ = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

// A bitmap held as a top-down DIB section: ScanLine(y) is row y from the top.
class TBitmap : public TGraphic {
 public:
  TBitmap();
  ~TBitmap() override;
  const char* ClassName() const override { return "TBitmap"; }
  void Assign(const TPersistent* source) override;

  bool Empty() const override { return width_ == 0 || height_ == 0; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(int width) override { SetSize(width, height_); }
  void SetHeight(int height) override { SetSize(width_, height); }
  void SetSize(int width, int height);
  // pfDevice is taken as pf24bit.
  TPixelFormat PixelFormat() const { return format_; }
  void SetPixelFormat(TPixelFormat format);

  TCanvas* Canvas();
  HBITMAP Handle();
  // Gives up the bitmap handle to the caller; the bitmap is empty afterwards.
  HBITMAP ReleaseHandle();
  // Adopts a bitmap handle (device-dependent or DIB); the bitmap owns it after.
  void SetHandle(HBITMAP bitmap);
  // Frees the canvas's device context; the pixels stay.
  void Dormant();
  void* ScanLine(int row);
  int BytesPerRow() const;

  TColor TransparentColor();
  void SetTransparentColor(TColor color);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode mode);

  // BMP files: BITMAPFILEHEADER, an info header, the palette, uncompressed
  // rows of 1, 4, 8, 16, 24 or 32 bits.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  void LoadFromResourceName(HINSTANCE instance, const String& name);
  std::unique_ptr<TGraphic> NewEmpty() const override { return std::make_unique<TBitmap>(); }

 protected:
  void Draw(TCanvas& canvas, const TRect& rect) override;

 private:
  class TBitmapCanvas;
  void Recreate(int width, int height, TPixelFormat format, const RGBQUAD* palette, int paletteSize);
  void FreeImage();

  int width_ = 0, height_ = 0;
  TPixelFormat format_ = pf24bit;
  HBITMAP handle_ = nullptr;
  uint8_t* bits_ = nullptr;
  std::unique_ptr<TBitmapCanvas> canvas_;
  TColor transparentColor_ = clDefault;
  TTransparentMode transparentMode_ = tmAuto;
};

class TIcon : public TGraphic {
 public:
  TIcon() = default;
  ~TIcon() override;
  const char* ClassName() const override { return "TIcon"; }
  void Assign(const TPersistent* source) override;

  bool Empty() const override { return handle_ == nullptr; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // An icon's size comes from its image.
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  HICON Handle() const { return handle_; }
  // Adopts the icon; the icon owns it after.
  void SetHandle(HICON icon);
  HICON ReleaseHandle();
  // ICO files: the first image of the directory.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;
  std::unique_ptr<TGraphic> NewEmpty() const override { return std::make_unique<TIcon>(); }

 protected:
  void Draw(TCanvas& canvas, const TRect& rect) override;

 private:
  HICON handle_ = nullptr;
  int width_ = 0, height_ = 0;
  std::vector<uint8_t> data_;  // the ICO file it was loaded from, for saving
};

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

// Holds one graphic of any registered class.
class TPicture : public TPersistent {
 public:
  TPicture() = default;
  ~TPicture() override;
  const char* ClassName() const override { return "TPicture"; }
  void Assign(const TPersistent* source) override;

  TGraphic* Graphic() const { return graphic_.get(); }
  // Copies the graphic (nullptr empties the picture).
  void SetGraphic(TGraphic* graphic);
  // The graphic as a bitmap, replacing another kind by an empty bitmap.
  TBitmap* Bitmap();
  TIcon* Icon();
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  // The class is chosen by the extension. Raises EInvalidGraphic "Unknown
  // picture file extension (.%s)" for an extension nobody registered.
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName);

  // Extensions without the dot, compared without regard to case.
  static void RegisterFileFormat(const String& extension, const String& description, TGraphicFactory factory);
  static void UnregisterFileFormat(const String& extension);
  static TGraphicFactory FindFileFormat(const String& extension);

  TNotifyEvent OnChange;

 private:
  void Adopt(std::unique_ptr<TGraphic> graphic);
  void Changed();

  std::unique_ptr<TGraphic> graphic_;
};

QE_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
QE_DECLARE_EXCEPTION(EOutOfResources, Exception);
