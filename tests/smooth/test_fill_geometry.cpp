// The fill's geometry: the outline of each rounding type as recorded
// segments, the content rectangle after each shadow, the mirrored halves,
// picture fitting and placement.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "smooth/GDIPFillGeometry.h"

namespace {

// Records segments as text: "L x1,y1-x2,y2", "A x,y,w,h,start,sweep", "Z".
class TRecordingPath : public TPathSink {
 public:
  void AddLine(float x1, float y1, float x2, float y2) override {
    Add("L " + N(x1) + "," + N(y1) + "-" + N(x2) + "," + N(y2));
  }
  void AddArc(float x, float y, float w, float h, float start, float sweep) override {
    Add("A " + N(x) + "," + N(y) + "," + N(w) + "," + N(h) + "," + N(start) + "," + N(sweep));
  }
  void CloseFigure() override { Add("Z"); }
  std::string text;

 private:
  static std::string N(float v) {
    std::ostringstream s;
    s << v;
    return s.str();
  }
  void Add(const std::string& s) { text += (text.empty() ? "" : "; ") + s; }
};

TEST(FillGeometry, RoundRectPathOfEachType) {
  // L=10 T=20 Rt=110 B=70, r=5, d=10.
  const TGPRectF r(10, 20, 100, 50);
  struct Case {
    TFillRoundingType type;
    const char* segments;
  } cases[] = {
      {rtNone, "L 10,20-110,20; L 110,20-110,70; L 110,70-10,70; L 10,70-10,20; Z"},
      {rtTop,
       "A 10,20,10,10,180,90; L 15,20-105,20; A 100,20,10,10,270,90; L 110,25-110,70; L 110,70-10,70; "
       "L 10,70-10,25; Z"},
      {rtBottom,
       "L 10,20-110,20; L 110,20-110,65; A 100,60,10,10,0,90; L 105,70-15,70; A 10,60,10,10,90,90; "
       "L 10,65-10,20; Z"},
      {rtBoth,
       "A 10,20,10,10,180,90; L 15,20-105,20; A 100,20,10,10,270,90; L 110,25-110,65; A 100,60,10,10,0,90; "
       "L 105,70-15,70; A 10,60,10,10,90,90; L 10,65-10,25; Z"},
      {rtLeft,
       "A 10,20,10,10,180,90; L 15,20-105,20; L 110,20-110,70; L 105,70-15,70; A 10,60,10,10,90,90; "
       "L 10,65-10,25; Z"},
      {rtRight,
       "L 10,20-105,20; A 100,20,10,10,270,90; L 110,25-110,65; A 100,60,10,10,0,90; L 105,70-10,70; "
       "L 10,65-10,25; Z"},
  };
  for (const Case& c : cases) {
    TRecordingPath path;
    AddRoundRectPath(path, r, 5, c.type);
    EXPECT_EQ(path.text, c.segments) << "type " << c.type;
  }
}

TEST(FillGeometry, ContentRectAfterShadow) {
  const TGPRectF r(2, 3, 100, 50);
  EXPECT_EQ(ShadowContentRect(r, stRightBottom, 4), TGPRectF(2, 3, 96, 46));
  EXPECT_EQ(ShadowContentRect(r, stSurround, 4), TGPRectF(6, 7, 92, 42));
  EXPECT_EQ(ShadowContentRect(r, stBottom, 4), TGPRectF(2, 3, 100, 46));
}

TEST(FillGeometry, MirrorHalvesOverlapAroundTheMiddle) {
  TGPRectF upper, lower;
  SplitMirrorHalves(TGPRectF(0, 10, 80, 41), upper, lower);
  EXPECT_EQ(upper, TGPRectF(0, 10, 80, 21.5f));
  EXPECT_EQ(lower, TGPRectF(0, 29.5f, 80, 21.5f));

  struct Case {
    TFillRoundingType type, upper, lower;
  } cases[] = {{rtNone, rtNone, rtNone}, {rtTop, rtTop, rtNone},     {rtBottom, rtNone, rtBottom},
               {rtBoth, rtTop, rtBottom}, {rtLeft, rtLeft, rtLeft}, {rtRight, rtRight, rtRight}};
  for (const Case& c : cases) {
    EXPECT_EQ(HalfRoundingType(c.type, false), c.upper) << c.type;
    EXPECT_EQ(HalfRoundingType(c.type, true), c.lower) << c.type;
  }
}

TEST(FillGeometry, RoundRectRoundsTiesToEven) {
  EXPECT_EQ(RoundRect(TGPRectF(0.5f, 1.5f, 10.5f, 11.5f)), (TIntRect{0, 2, 10, 14}));
  EXPECT_EQ(RoundRect(TGPRectF(2.4f, -0.6f, 3.6f, 0)), (TIntRect{2, -1, 6, -1}));
}

TEST(FillGeometry, FitPictureSize) {
  struct Case {
    int pw, ph, aw, ah;
    TPictureMode mode;
    TFitSize fit;
  } cases[] = {
      {16, 16, 100, 50, pmNormal, {16, 16}},    // smaller both ways keeps its size
      {16, 16, 100, 50, pmStretch, {50, 50}},   // area wider than the picture: height bound
      {200, 50, 100, 50, pmNormal, {100, 25}},  // width bound
      {100, 40, 100, 50, pmNormal, {100, 40}},  // as wide as the area: fitted, not kept
      {0, 16, 100, 50, pmStretch, {0, 0}},
      {16, 16, 100, -1, pmStretch, {0, 0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FitPictureSize(c.pw, c.ph, c.aw, c.ah, c.mode), c.fit) << c.pw << "x" << c.ph << " mode " << c.mode;
}

TEST(FillGeometry, PlacePictureForEachPosition) {
  const TIntRect area{10, 20, 110, 70};  // 100 x 50
  struct Case {
    TFillPicturePosition position;
    bool aspect;
    TPictureMode mode;
    TPicturePlacement placement;
  } cases[] = {
      {ppTopLeft, false, pmStretch, {10, 20, 17, 16}},
      {ppTopCenter, false, pmStretch, {51, 20, 17, 16}},  // 10 + 83/2 truncated
      {ppTopRight, false, pmStretch, {93, 20, 17, 16}},
      {ppBottomLeft, false, pmStretch, {10, 54, 17, 16}},
      {ppBottomCenter, false, pmStretch, {51, 54, 17, 16}},
      {ppBottomRight, false, pmStretch, {93, 54, 17, 16}},
      {ppCenterLeft, false, pmStretch, {10, 37, 17, 16}},
      {ppCenterCenter, false, pmStretch, {51, 37, 17, 16}},
      {ppCenterRight, false, pmStretch, {93, 37, 17, 16}},
      {ppCustom, false, pmStretch, {-3, 4, 17, 16}},
      {ppTiled, false, pmStretch, {10, 20, 100, 50, true}},
      {ppStretched, false, pmStretch, {10, 20, 100, 50}},
      {ppStretched, true, pmNormal, {52, 37, 17, 16}},  // round(10 + 41.5) ties to even
      {ppStretched, true, pmStretch, {33, 20, 53, 50}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlacePicture(c.position, area, 17, 16, c.aspect, c.mode, -3, 4), c.placement)
        << "position " << c.position << " aspect " << c.aspect;

  // A 16 x 16 picture stretched with its aspect into 100 x 50.
  EXPECT_EQ(PlacePicture(ppStretched, {0, 0, 100, 50}, 16, 16, true, pmNormal, 0, 0), (TPicturePlacement{42, 17, 16, 16}));
  EXPECT_EQ(PlacePicture(ppStretched, {0, 0, 100, 50}, 16, 16, true, pmStretch, 0, 0), (TPicturePlacement{25, 0, 50, 50}));
  // A picture larger than the area centres at a negative offset.
  EXPECT_EQ(PlacePicture(ppCenterCenter, {0, 0, 10, 10}, 15, 15, false, pmStretch, 0, 0), (TPicturePlacement{-2, -2, 15, 15}));
}

}  // namespace
