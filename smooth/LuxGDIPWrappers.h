// Small classes over the GDI+ flat API, one per GDI+ object kind, through
// which the smooth controls draw. Each holds its native handle and the last
// failing status: a failed call is recorded and returned, never raised, and
// an object whose creation failed has no handle and draws nothing.
//
// GDI+ runs once for the process (GdiplusAcquire/GdiplusRelease): it is
// started on first need, and shut down at the end of the process after the
// last wrapper is gone.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/ui/Graphics.h"
#include "smooth/GDIPFillGeometry.h"
#include "smooth/LuxGDIPTypes.h"

struct IStream;

// GDI+ status numbers used by the callers.
enum : int {
  GdipOk = 0,
  GdipGenericError = 1,
  GdipInvalidParameter = 2,
  GdipFontFamilyNotFound = 14,
  GdipFontStyleNotFound = 15,
};

// Starts GDI+ when it is not running and counts a user; false when it
// could not start (it is tried again at the next need). Each true answer
// is paired with one GdiplusRelease.
bool GdiplusAcquire();
void GdiplusRelease();
bool GdiplusRunning();

// A TColor (system colours resolved) with an explicit alpha.
ARGB ColorToARGB(uint8_t alpha, TColor color);
inline ARGB ColorToOpaqueARGB(TColor color) { return ColorToARGB(255, color); }

class TGdiplusBase : public TObject {
 public:
  TGdiplusBase(const TGdiplusBase&) = delete;
  TGdiplusBase& operator=(const TGdiplusBase&) = delete;
  int LastStatus() const { return lastStatus_; }
  void* NativeHandle() const { return native_; }

 protected:
  TGdiplusBase();
  ~TGdiplusBase() override;
  // Records a failing status and passes any status on.
  int Check(int status) {
    if (status != GdipOk) lastStatus_ = status;
    return status;
  }
  void* native_ = nullptr;

 private:
  int lastStatus_ = GdipOk;
  bool acquired_;
};

class TGPGraphicsPath;
class TGPImage;

class TGPRegion : public TGdiplusBase {
 public:
  explicit TGPRegion(const TGPRectF& rect);
  explicit TGPRegion(TGPGraphicsPath* path);
  ~TGPRegion() override;
};

class TGPImageAttributes : public TGdiplusBase {
 public:
  TGPImageAttributes();
  ~TGPImageAttributes() override;
  int SetColorKey(ARGB low, ARGB high, int adjustType = 0);
};

class TGPFontFamily : public TGdiplusBase {
 public:
  explicit TGPFontFamily(const String& name);
  ~TGPFontFamily() override;
};

// Font styles and units of GDI+.
enum : int { FontStyleRegular = 0, FontStyleBold = 1, FontStyleItalic = 2, FontStyleUnderline = 4, FontStyleStrikeout = 8 };
enum : int { UnitWorld = 0, UnitPixel = 2, UnitPoint = 3 };

class TGPFont : public TGdiplusBase {
 public:
  TGPFont(TGPFontFamily* family, float size, int style, int unit);
  ~TGPFont() override;
};

class TGPBrush : public TGdiplusBase {
 public:
  ~TGPBrush() override;
};

class TGPSolidBrush : public TGPBrush {
 public:
  explicit TGPSolidBrush(ARGB color);
};

class TGPHatchBrush : public TGPBrush {
 public:
  TGPHatchBrush(int hatchStyle, ARGB foreColor, ARGB backColor);
};

enum : int { WrapModeTile = 0, WrapModeClamp = 4 };

class TGPTextureBrush : public TGPBrush {
 public:
  TGPTextureBrush(TGPImage* image, int wrapMode);
};

enum : int {
  LinearGradientModeHorizontal = 0, LinearGradientModeVertical = 1, LinearGradientModeForwardDiagonal = 2,
  LinearGradientModeBackwardDiagonal = 3
};

class TGPLinearGradientBrush : public TGPBrush {
 public:
  TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1, ARGB color2);
  TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, int mode);
  TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, float angle, bool angleScalable);
  int SetGammaCorrection(bool useGamma);
};

class TGPPathGradientBrush : public TGPBrush {
 public:
  explicit TGPPathGradientBrush(TGPGraphicsPath* path);
  // Colours at positions from 0 (the outline) to 1 (the centre).
  int SetInterpolationColors(const ARGB* colors, const float* positions, int count);
  int SetWrapMode(int wrapMode);
  int SetCenterColor(ARGB color);
  int PointCount();
  // count: how many colours are given; on success, how many were used.
  int SetSurroundColors(const ARGB* colors, int& count);
  int SetCenterPoint(const TGPPointF& point);
};

enum : int { DashStyleSolid = 0, DashStyleDot = 2 };

class TGPPen : public TGdiplusBase {
 public:
  TGPPen(ARGB color, float width);
  ~TGPPen() override;
  int SetDashStyle(int dashStyle);
};

enum : int { StringFormatFlagsNoWrap = 0x1000 };
enum : int { StringAlignmentNear = 0, StringAlignmentCenter = 1, StringAlignmentFar = 2 };

class TGPStringFormat : public TGdiplusBase {
 public:
  explicit TGPStringFormat(int flags = 0, LANGID language = 0);
  ~TGPStringFormat() override;
  int SetAlignment(int alignment);
};

enum : int { FillModeAlternate = 0, FillModeWinding = 1 };

// A path is also a sink for the fill's outline geometry.
class TGPGraphicsPath : public TGdiplusBase, public TPathSink {
 public:
  explicit TGPGraphicsPath(int fillMode = FillModeAlternate);
  ~TGPGraphicsPath() override;
  int Reset();
  int CloseFigureStatus();
  int AddLineStatus(float x1, float y1, float x2, float y2);
  int AddArcStatus(float x, float y, float width, float height, float startAngle, float sweepAngle);
  int AddEllipse(float x, float y, float width, float height);
  int AddEllipse(const TGPRectF& rect) { return AddEllipse(rect.X, rect.Y, rect.Width, rect.Height); }

  void AddLine(float x1, float y1, float x2, float y2) override { AddLineStatus(x1, y1, x2, y2); }
  void AddArc(float x, float y, float w, float h, float start, float sweep) override {
    AddArcStatus(x, y, w, h, start, sweep);
  }
  void CloseFigure() override { CloseFigureStatus(); }
};

// The formats of ImageFormatNumber.
enum : int {
  ifUnknown = 0, ifMemoryBMP = 1, ifBMP = 2, ifEMF = 3, ifWMF = 4, ifJPEG = 5, ifPNG = 6, ifGIF = 7, ifTIFF = 8,
  ifEXIF = 9, ifIcon = 10
};

class TGPImage : public TGdiplusBase {
 public:
  // The stream is held for the call only.
  explicit TGPImage(IStream* stream, bool useICM = false);
  ~TGPImage() override;
  unsigned Width();
  unsigned Height();
  int32_t PixelFormat();
  int ImageFormatNumber();
  // Writes the image as a PNG file (the splash's test hook keeps what it
  // pushes this way).
  int SaveToPngFile(const String& fileName);

 protected:
  TGPImage() = default;
};

enum : int32_t { kPixelFormat32bppARGB = 0x26200A };

class TGPBitmap : public TGPImage {
 public:
  TGPBitmap(IStream* stream, bool useICM);
  TGPBitmap(int width, int height, int32_t pixelFormat);
  // A GDI bitmap of the image over a background colour; the caller owns it.
  int GetHBITMAP(ARGB background, HBITMAP& bitmap);
  int GetPixel(int x, int y, ARGB& color);
  // Copies the pixels into bits (32-bit premultiplied ARGB, rows of stride
  // bytes, top-down), converted as GDI+ converts a picture it blends onto
  // a device context, so that blending the copy gives the same result.
  int CopyPremultiplied(void* bits, int stride);
};

enum : int { TextRenderingHintAntiAliasGridFit = 3, TextRenderingHintClearTypeGridFit = 5 };
enum : int { SmoothingModeDefault = 0, SmoothingModeAntiAlias = 4 };
enum : int { CombineModeReplace = 0 };

// DrawTextRun's flag that only measures.
constexpr int kTextRunCalculate = 0x400;

class TGPGraphics : public TGdiplusBase {
 public:
  explicit TGPGraphics(HDC dc);
  // No handle when image is nil.
  explicit TGPGraphics(TGPImage* image);
  ~TGPGraphics() override;

  int Clear(ARGB color);
  int GetHDC(HDC& dc);
  int ReleaseHDC(HDC dc);
  int SetTextRenderingHint(int hint);
  int SetSmoothingMode(int mode);
  // -1 when the call fails.
  int SmoothingMode();
  int DrawPath(TGPPen* pen, TGPGraphicsPath* path);
  int FillPath(TGPBrush* brush, TGPGraphicsPath* path);
  int FillRectangle(TGPBrush* brush, float x, float y, float width, float height);
  int FillRectangle(TGPBrush* brush, const TGPRectF& rect) {
    return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
  }
  int FillEllipse(TGPBrush* brush, int x, int y, int width, int height);
  int DrawRectangle(TGPPen* pen, float x, float y, float width, float height);
  int DrawLine(TGPPen* pen, float x1, float y1, float x2, float y2);
  int DrawImage(TGPImage* image, float x, float y, float width, float height);
  int DrawImage(TGPImage* image, const TGPRectF& dest, float srcX, float srcY, float srcWidth, float srcHeight,
                int srcUnit, TGPImageAttributes* attributes);
  int SetClip(TGPRegion* region, int combineMode = CombineModeReplace);
  int ResetClip();

  // 8-bit text, converted from the ANSI code page.
  int MeasureString(const String& text, TGPFont* font, const TGPRectF& layout, TGPStringFormat* format,
                    TGPRectF& bounds);
  int MeasureString(const String& text, TGPFont* font, const TGPPointF& origin, TGPStringFormat* format,
                    TGPRectF& bounds);
  int DrawString(const String& text, TGPFont* font, const TGPRectF& layout, TGPStringFormat* format,
                 TGPBrush* brush);
  int DrawString(const String& text, TGPFont* font, const TGPPointF& origin, TGPStringFormat* format,
                 TGPBrush* brush);

  // A GDI+ font of a platform font: its family ("Arial" when GDI+ does not
  // know it), point size and styles.
  static TGPFont* FontFromTFont(TFont* font);
  // The rounded height of text's bounding box.
  int TextRunHeight(const String& text, TGPFont* font);
  // Measures (and with kTextRunCalculate in flags only measures) and draws
  // one run of text at rect's corner; rect takes the run's extent, and the
  // result is its height. A background other than clNone is filled first.
  int DrawTextRun(const String& text, int length, TColor background, int flags, TFont* font, RECT& rect);
};
