// Where a balloon hint goes and what shape it has, portable: its size
// around the text, its place beside the point it hangs from (flipped to
// stay inside the work area), its body, tail and the bitmap that draws a
// corner when only another corner's bitmap is given.
#pragma once

#include <array>

#include "platform/Geometry.h"

// The side of the anchor point the balloon lies on; hcLowerRight is below
// and to the right, with the tail at the balloon's upper left.
enum TFmHintCorner { hcLowerRight, hcLowerLeft, hcUpperLeft, hcUpperRight, hcNone };

constexpr int kBalloonTailHeight = 20;
constexpr int kBalloonMinWidth = 55;

constexpr bool HasTail(TFmHintCorner c) { return c != hcNone; }
constexpr bool IsLower(TFmHintCorner c) { return c == hcLowerRight || c == hcLowerLeft; }

// The window rectangle around the text rectangle r: 4 pixels of margin (2
// for a balloon without a tail) and the tail's height on its side.
TRect BalloonWindowRect(const TRect& r, TFmHintCorner corner, bool showBalloon);

struct TFmBalloonPlace {
  TPoint Position;
  TFmHintCorner Corner;
};
// r: the window rectangle moved to the anchor (its top-left); width and
// height: the window's size. The corner flips at each edge of workArea.
TFmBalloonPlace PlaceBalloon(const TRect& r, int width, int height, TFmHintCorner corner, const TRect& workArea);

// The body inside the client rectangle: the client less the tail's height.
TRect BalloonBody(const TRect& client, TFmHintCorner corner);
// The tail's first base point, tip and second base point.
std::array<TPoint, 3> BalloonTail(const TRect& body, const TRect& client, TFmHintCorner corner);
// Where the tail meets the body: the body's outline is erased there.
TRect BalloonTailGap(const TRect& body, TFmHintCorner corner);
// The window region: four overlapping rectangles that round the body's
// corners, and the tail widened by a pixel so that its outline is inside.
std::array<TRect, 4> BalloonBodyRegion(const TRect& body);
std::array<TPoint, 3> BalloonTailRegion(const TRect& body, const TRect& client, TFmHintCorner corner);

// Which of the four corner bitmaps draws a corner: its own, else the first
// of UpperRight, UpperLeft, LowerRight, LowerLeft that exists, mirrored
// across the axes on which the two corners differ. hcNone when none exists.
struct TFmBalloonBitmapChoice {
  TFmHintCorner Source = hcNone;
  bool MirrorX = false;
  bool MirrorY = false;
};
TFmBalloonBitmapChoice ChooseBalloonBitmap(TFmHintCorner wanted, const std::array<bool, 4>& present);
