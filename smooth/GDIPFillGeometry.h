// The geometry of the fill descriptor, apart from any drawing: the rounded
// outline as a list of path segments, the rectangle left after a shadow,
// the two halves of a mirrored body, and where a picture goes.
#pragma once

#include "smooth/LuxGDIPTypes.h"

enum TLuxGradientType {
  gtSolid, gtRadial, gtVertical, gtHorizontal, gtForwardDiagonal, gtBackwardDiagonal, gtAngle, gtHatch,
  gtPath, gtTexture, gtNone
};
enum TGlowMode { gmNone, gmGradient, gmRadial, gmRadialGradient };
enum TFillPicturePosition {
  ppTopLeft, ppTopCenter, ppTopRight, ppBottomLeft, ppBottomCenter, ppBottomRight, ppTiled, ppStretched,
  ppCenterLeft, ppCenterCenter, ppCenterRight, ppCustom
};
enum TFillRoundingType { rtNone, rtTop, rtBottom, rtBoth, rtLeft, rtRight };
enum TFillPictureSize { psOriginal, psCustom };
enum TFillPictureMode { pmInsideFill, pmOutsideFill };
enum TPictureMode { pmStretch, pmNormal };
enum TShadowType { stRightBottom, stBottom, stSurround };

// Receives the segments of an outline; a GDI+ path adds them to itself, a
// test records them. Arcs are GDI+ arcs: bounding box, start and sweep in
// degrees clockwise.
class TPathSink {
 public:
  virtual ~TPathSink() = default;
  virtual void AddLine(float x1, float y1, float x2, float y2) = 0;
  virtual void AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) = 0;
  virtual void CloseFigure() = 0;
};

// The outline of r with corners of the given radius, rounded on the sides
// that type names; one closed figure.
void AddRoundRectPath(TPathSink& path, const TGPRectF& r, int radius, TFillRoundingType type);

// The rectangle left for the body after a shadow of offset pixels.
TGPRectF ShadowContentRect(const TGPRectF& r, TShadowType type, int offset);

// A mirrored body's upper and lower halves; they overlap by two pixels
// around the middle so that no seam shows between them.
void SplitMirrorHalves(const TGPRectF& r, TGPRectF& upper, TGPRectF& lower);

// The corners one half of a mirrored body rounds: only the outer ones.
TFillRoundingType HalfRoundingType(TFillRoundingType type, bool mirrorHalf);

struct TIntRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TIntRect&) const = default;
};

// r with its corner and size rounded to the nearest integers, ties to even.
TIntRect RoundRect(const TGPRectF& r);

struct TFitSize {
  float Width = 0, Height = 0;
  bool operator==(const TFitSize&) const = default;
};

// The size of a PW x PH picture fitted into AW x AH keeping its aspect; in
// pmNormal a picture smaller both ways keeps its own size.
TFitSize FitPictureSize(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight, TPictureMode mode);

struct TPicturePlacement {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Tiled = false;  // fill the rectangle with the picture's texture
  bool operator==(const TPicturePlacement&) const = default;
};

// Where a PW x PH picture goes in area for the given position.
TPicturePlacement PlacePicture(TFillPicturePosition position, const TIntRect& area, int pictureWidth,
                               int pictureHeight, bool aspectRatio, TPictureMode aspectMode, int customLeft,
                               int customTop);
