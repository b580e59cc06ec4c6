// Balloon hint geometry: the window around the text, the place beside the
// anchor with its flips at each edge of the work area (injected), the body,
// tail and region, and which bitmap draws a corner.
#include <gtest/gtest.h>

#include "framed/FmBHintsGeometry.h"

namespace {

const TRect kWorkArea(0, 0, 1024, 738);

TEST(BalloonGeometry, WindowRectAroundTheText) {
  const TRect text(0, 0, 100, 30);
  EXPECT_EQ(BalloonWindowRect(text, hcLowerRight, true), TRect(-4, -24, 104, 34));
  EXPECT_EQ(BalloonWindowRect(text, hcUpperLeft, true), TRect(-4, -4, 104, 54));
  EXPECT_EQ(BalloonWindowRect(text, hcNone, true), TRect(-2, -2, 102, 32));
  EXPECT_EQ(BalloonWindowRect(text, hcUpperRight, false), TRect(-2, -2, 102, 32));
}

TEST(BalloonGeometry, PlacesAndFlipsAtEachEdge) {
  const int w = 120, h = 60;
  const struct {
    const char* what;
    TPoint anchor;
    TFmHintCorner corner;
    TPoint position;
    TFmHintCorner placed;
  } cases[] = {
      {"above right", {500, 400}, hcUpperRight, {490, 340}, hcUpperRight},
      {"below right", {500, 400}, hcLowerRight, {490, 400}, hcLowerRight},
      {"above left", {500, 400}, hcUpperLeft, {390, 340}, hcUpperLeft},
      {"below left", {500, 400}, hcLowerLeft, {390, 400}, hcLowerLeft},
      {"no tail", {500, 400}, hcNone, {490, 400}, hcNone},
      {"top edge", {500, 30}, hcUpperRight, {490, 30}, hcLowerRight},
      {"top edge, left", {500, 30}, hcUpperLeft, {390, 30}, hcLowerLeft},
      {"bottom edge", {500, 700}, hcLowerRight, {490, 640}, hcUpperRight},
      {"bottom edge, left", {500, 700}, hcLowerLeft, {390, 640}, hcUpperLeft},
      {"right edge", {980, 400}, hcUpperRight, {859, 340}, hcUpperLeft},
      {"right edge, below", {980, 400}, hcLowerRight, {859, 400}, hcLowerLeft},
      {"left edge", {30, 400}, hcUpperLeft, {31, 340}, hcUpperRight},
      {"left edge, below", {30, 400}, hcLowerLeft, {31, 400}, hcLowerRight},
      {"top right corner", {1000, 10}, hcUpperRight, {879, 10}, hcLowerLeft},
      {"bottom left corner", {5, 730}, hcLowerLeft, {6, 670}, hcUpperRight},
  };
  for (const auto& c : cases) {
    const TRect r(c.anchor.X, c.anchor.Y, c.anchor.X + w, c.anchor.Y + h);
    const TFmBalloonPlace place = PlaceBalloon(r, w, h, c.corner, kWorkArea);
    EXPECT_EQ(place.Position, c.position) << c.what;
    EXPECT_EQ(place.Corner, c.placed) << c.what;
  }
  // A second monitor's work area to the right of the first.
  const TRect second(1024, 0, 2048, 768);
  const TFmBalloonPlace place = PlaceBalloon(TRect(1030, 300, 1150, 360), 120, 60, hcUpperLeft, second);
  EXPECT_EQ(place.Corner, hcUpperRight);
  EXPECT_EQ(place.Position, TPoint(1031, 240));
}

TEST(BalloonGeometry, BodyTailAndRegion) {
  const TRect client(0, 0, 120, 60);
  const TRect body = BalloonBody(client, hcLowerRight);
  EXPECT_EQ(body, TRect(0, 20, 120, 60));
  EXPECT_EQ(BalloonBody(client, hcUpperLeft), TRect(0, 0, 120, 40));
  EXPECT_EQ(BalloonBody(client, hcNone), client);
  const auto tail = BalloonTail(body, client, hcLowerRight);
  EXPECT_EQ(tail[0], TPoint(10, 21));
  EXPECT_EQ(tail[1], TPoint(10, 1));  // the tip reaches the window's top
  EXPECT_EQ(tail[2], TPoint(30, 21));
  EXPECT_EQ(BalloonTailGap(body, hcLowerRight), TRect(10, 21, 31, 22));
  const auto region = BalloonTailRegion(body, client, hcLowerRight);
  EXPECT_EQ(region[1], TPoint(10, 0));
  EXPECT_EQ(region[2], TPoint(31, 21));
  const TRect upperBody = BalloonBody(client, hcUpperLeft);
  const auto upperTail = BalloonTail(upperBody, client, hcUpperLeft);
  EXPECT_EQ(upperTail[1], TPoint(110, 58));
  EXPECT_EQ(BalloonTailGap(upperBody, hcUpperLeft), TRect(90, 37, 111, 39));
  // The rounded body: the corner pixel is outside every rectangle, the one
  // beside it inside one.
  const auto rounded = BalloonBodyRegion(body);
  auto inside = [&](TPoint p) {
    for (const TRect& r : rounded)
      if (r.Contains(p)) return true;
    return false;
  };
  EXPECT_FALSE(inside({0, 20}));
  EXPECT_FALSE(inside({1, 21}));
  EXPECT_TRUE(inside({2, 21}));
  EXPECT_TRUE(inside({0, 24}));
  EXPECT_FALSE(inside({119, 59}));
}

TEST(BalloonGeometry, BitmapOfACornerFromAnother) {
  const std::array<bool, 4> all{true, true, true, true}, none{};
  EXPECT_EQ(ChooseBalloonBitmap(hcUpperLeft, all).Source, hcUpperLeft);
  EXPECT_EQ(ChooseBalloonBitmap(hcUpperLeft, none).Source, hcNone);
  // Only the lower-left one: each corner mirrors it on the axes it differs.
  std::array<bool, 4> lowerLeft{};
  lowerLeft[hcLowerLeft] = true;
  const struct {
    TFmHintCorner wanted;
    bool mirrorX, mirrorY;
  } cases[] = {
      {hcLowerLeft, false, false}, {hcLowerRight, true, false}, {hcUpperLeft, false, true},
      {hcUpperRight, true, true},
  };
  for (const auto& c : cases) {
    const TFmBalloonBitmapChoice choice = ChooseBalloonBitmap(c.wanted, lowerLeft);
    EXPECT_EQ(choice.Source, hcLowerLeft) << c.wanted;
    EXPECT_EQ(choice.MirrorX, c.mirrorX) << c.wanted;
    EXPECT_EQ(choice.MirrorY, c.mirrorY) << c.wanted;
  }
  // Upper right comes first among the others.
  std::array<bool, 4> two{};
  two[hcUpperRight] = two[hcLowerRight] = true;
  EXPECT_EQ(ChooseBalloonBitmap(hcLowerLeft, two).Source, hcUpperRight);
}

}  // namespace
