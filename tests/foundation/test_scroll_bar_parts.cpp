// The painted scroll bar's arithmetic: part rectangles for both
// orientations, the thumb for a page and without one, the hit test, the
// position a dragged thumb stands for and where scroll steps land.
#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "foundation/vxScrollBarParts.h"
#include "platform/Errors.h"

namespace {

constexpr TvxScrollBarMetrics kMetrics{17, 17, 8};

// The same rectangle along a vertical bar: the axes exchanged.
TRect Turned(const TRect& r) { return TRect(r.Top, r.Left, r.Bottom, r.Right); }

TvxScrollBarPartRects Parts(TvxScrollBarKind kind, int length, TvxScrollBarRange range, bool enabled = true,
                            TvxScrollBarMetrics metrics = kMetrics) {
  TvxScrollBarPartRects parts;
  const TRect client = kind == sbHorizontal ? TRect(0, 0, length, 17) : TRect(0, 0, 17, length);
  vxComputeScrollBarParts(kind, client, enabled, range, metrics, parts);
  return parts;
}

TEST(ScrollBarParts, RectanglesForBothOrientations) {
  struct Case {
    const char* name;
    int length;
    TvxScrollBarRange range;
    bool enabled;
    TRect first, second, thumb, pageUp, pageDown;
  };
  const Case cases[] = {
      // No page size: the system thumb, its offset proportional to Position.
      {"start", 121, {0, 100, 0, 0}, true, {0, 0, 17, 17}, {104, 0, 121, 17}, {17, 0, 34, 17}, {17, 0, 17, 17},
       {34, 0, 104, 17}},
      {"middle", 121, {0, 100, 0, 50}, true, {0, 0, 17, 17}, {104, 0, 121, 17}, {52, 0, 69, 17}, {17, 0, 52, 17},
       {69, 0, 104, 17}},
      {"end", 121, {0, 100, 0, 100}, true, {0, 0, 17, 17}, {104, 0, 121, 17}, {87, 0, 104, 17}, {17, 0, 87, 17},
       {104, 0, 104, 17}},
      // A page of 10 in 0..100: thumb 9 long (87 * 10 / 101, rounded), and its
      // offset stops at the end position from 91 on.
      {"page at 91", 121, {0, 100, 10, 91}, true, {0, 0, 17, 17}, {104, 0, 121, 17}, {95, 0, 104, 17},
       {17, 0, 95, 17}, {104, 0, 104, 17}},
      {"page at 100", 121, {0, 100, 10, 100}, true, {0, 0, 17, 17}, {104, 0, 121, 17}, {95, 0, 104, 17},
       {17, 0, 95, 17}, {104, 0, 104, 17}},
      // A small page still gets the minimum thumb length.
      {"minimum thumb", 121, {0, 10000, 1, 0}, true, {0, 0, 17, 17}, {104, 0, 121, 17}, {17, 0, 25, 17},
       {17, 0, 17, 17}, {25, 0, 104, 17}},
      // No thumb: an empty range, a disabled bar, a track shorter than the
      // system thumb; the arrows share a bar shorter than two of them.
      {"empty range", 121, {5, 5, 0, 5}, true, {0, 0, 17, 17}, {104, 0, 121, 17}, {}, {}, {}},
      {"disabled", 121, {0, 100, 0, 50}, false, {0, 0, 17, 17}, {104, 0, 121, 17}, {}, {}, {}},
      {"short bar", 20, {0, 100, 0, 50}, true, {0, 0, 10, 17}, {10, 0, 20, 17}, {}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto h = Parts(sbHorizontal, c.length, c.range, c.enabled);
    EXPECT_EQ(h.TopLeftArrowRect, c.first);
    EXPECT_EQ(h.BottomRightArrowRect, c.second);
    EXPECT_EQ(h.ThumbnailRect, c.thumb);
    EXPECT_EQ(h.PageUpRect, c.pageUp);
    EXPECT_EQ(h.PageDownRect, c.pageDown);
    const auto v = Parts(sbVertical, c.length, c.range, c.enabled);
    EXPECT_EQ(v.TopLeftArrowRect, Turned(c.first));
    EXPECT_EQ(v.BottomRightArrowRect, Turned(c.second));
    EXPECT_EQ(v.ThumbnailRect, Turned(c.thumb));
    EXPECT_EQ(v.PageUpRect, Turned(c.pageUp));
    EXPECT_EQ(v.PageDownRect, Turned(c.pageDown));
  }
}

TEST(ScrollBarParts, TrackShorterThanTheMinimumThumbHasNoThumb) {
  TvxScrollBarMetrics wide = kMetrics;
  wide.ThumbnailSize = 90;
  EXPECT_TRUE(Parts(sbVertical, 121, {0, 100, 10, 0}, true, wide).ThumbnailRect.IsEmpty());
}

TEST(ScrollBarParts, HitTestInOrder) {
  const TRect client(0, 0, 121, 17);
  const auto parts = Parts(sbHorizontal, 121, {0, 100, 0, 50});
  struct Case {
    TPoint at;
    TvxScrollBarHitPart want;
  };
  const Case cases[] = {{{-1, 5}, sbhNone},          {{121, 5}, sbhNone},      {{0, 0}, sbhTopLeftArrow},
                        {{16, 16}, sbhTopLeftArrow}, {{120, 5}, sbhBottomRightArrow}, {{52, 5}, sbhThumbnail},
                        {{68, 5}, sbhThumbnail},     {{17, 5}, sbhPageUp},     {{51, 5}, sbhPageUp},
                        {{69, 5}, sbhPageDown},      {{103, 5}, sbhPageDown},  {{50, 17}, sbhNone}};
  for (const Case& c : cases) EXPECT_EQ(vxScrollBarPartAt(parts, client, c.at), c.want) << c.at.X << "," << c.at.Y;
  // Without a thumb the track answers nothing.
  const auto empty = Parts(sbHorizontal, 121, {3, 3, 0, 3});
  EXPECT_EQ(vxScrollBarPartAt(empty, client, {60, 5}), sbhNone);
  EXPECT_EQ(vxScrollBarPartAt(empty, client, {5, 5}), sbhTopLeftArrow);
}

TEST(ScrollBarParts, PositionFromTheThumb) {
  struct Case {
    const char* name;
    TvxScrollBarKind kind;
    int length;
    TvxScrollBarRange range;
    int offset;  // thumb moved from the track's start
    int32_t want;
  };
  const Case cases[] = {
      {"no page, start", sbHorizontal, 121, {0, 100, 0, 0}, 0, 0},
      {"no page, middle", sbVertical, 121, {0, 100, 0, 0}, 35, 50},
      {"no page, end", sbHorizontal, 121, {0, 100, 0, 0}, 70, 100},
      {"page, end", sbVertical, 121, {0, 100, 10, 0}, 78, 91},
      {"negative range", sbHorizontal, 121, {-50, 50, 0, 0}, 70, 50},
      // The thumb fills the track: 17 of 17 pixels, nothing to divide.
      {"thumb fills the track", sbHorizontal, 51, {20, 80, 0, 20}, 0, 20},
      {"thumb fills the track, page", sbVertical, 24, {20, 80, 5, 20}, 0, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TvxScrollBarMetrics metrics = kMetrics;
    if (c.length == 24) metrics = {8, 17, 8};  // track 8, minimum thumb 8
    auto parts = Parts(c.kind, c.length, c.range, true, metrics);
    ASSERT_FALSE(parts.ThumbnailRect.IsEmpty());
    const TRect origin = parts.ThumbnailRect;
    vxMoveScrollBarThumb(c.kind, parts, origin, c.offset);
    EXPECT_EQ(vxScrollBarPositionFromThumb(c.kind, parts, c.range), c.want);
  }
}

TEST(ScrollBarParts, MovedThumbStaysBetweenTheArrows) {
  auto parts = Parts(sbVertical, 121, {0, 100, 0, 0});
  const TRect origin = parts.ThumbnailRect;
  vxMoveScrollBarThumb(sbVertical, parts, origin, 500);
  EXPECT_EQ(parts.ThumbnailRect, TRect(0, 87, 17, 104));
  EXPECT_EQ(parts.PageUpRect, TRect(0, 17, 17, 87));
  EXPECT_TRUE(parts.PageDownRect.IsEmpty());
  vxMoveScrollBarThumb(sbVertical, parts, origin, -500);
  EXPECT_EQ(parts.ThumbnailRect, TRect(0, 17, 17, 34));
}

TEST(ScrollBarParts, StepsAreClampedAndNeverWrap) {
  struct Case {
    TScrollCode code;
    TvxScrollBarRange range;
    int32_t smallChange, largeChange, want;
  };
  const Case cases[] = {
      {scLineUp, {0, 100, 0, 50}, 1, 10, 49},
      {scLineDown, {0, 100, 0, 50}, 1, 10, 51},
      {scPageUp, {0, 100, 0, 5}, 1, 10, 0},
      {scPageDown, {0, 100, 10, 95}, 1, 10, 100},  // steps reach Max, not Max - Page + 1
      {scTop, {-7, 100, 0, 50}, 1, 10, -7},
      {scBottom, {-7, 100, 0, 50}, 1, 10, 100},
      {scTrack, {0, 100, 0, 50}, 1, 10, 50},
      {scEndScroll, {0, 100, 0, 50}, 1, 10, 50},
      // Pages above 32767 scroll the right way.
      {scPageUp, {0, 1000000, 0, 100000}, 1, 40000, 60000},
      {scPageDown, {0, 1000000, 0, 100000}, 1, 40000, 140000},
      // A step beyond the integer range clamps instead of wrapping.
      {scLineDown, {INT32_MIN, INT32_MAX, 0, INT32_MAX - 1}, INT32_MAX, 1, INT32_MAX},
      {scPageUp, {INT32_MIN, INT32_MAX, 0, INT32_MIN + 1}, 1, INT32_MAX, INT32_MIN},
  };
  for (const Case& c : cases)
    EXPECT_EQ(vxScrollStepPosition(c.code, c.range, c.smallChange, c.largeChange), c.want) << int(c.code);
}

TEST(ScrollBarParts, RangeCheck) {
  EXPECT_NO_THROW(vxCheckScrollBarRange(0, 100, 0));
  EXPECT_NO_THROW(vxCheckScrollBarRange(0, 100, 100));
  EXPECT_NO_THROW(vxCheckScrollBarRange(5, 5, 0));
  for (auto [min, max, page] : {std::tuple{0, -1, 0}, {0, 100, 101}, {-10, 10, 21}}) {
    try {
      vxCheckScrollBarRange(min, max, page);
      ADD_FAILURE() << min << ".." << max << " page " << page;
    } catch (const EInvalidOperation& e) {
      EXPECT_EQ(e.Message(), "Scrollbar property out of range");
    }
  }
  EXPECT_NO_THROW(vxCheckScrollBarRange(INT32_MIN, INT32_MAX, INT32_MAX));
  EXPECT_EQ(vxClampScrollPosition(200, 0, 100), 100);
  EXPECT_EQ(vxClampScrollPosition(-1, 0, 100), 0);
}

TEST(ScrollBarParts, TrackingAreaReachesFurtherAcrossThanAlong) {
  EXPECT_EQ(vxScrollBarTrackingArea(sbHorizontal, {0, 0, 121, 17}), TRect(-34, -136, 155, 153));
  EXPECT_EQ(vxScrollBarTrackingArea(sbVertical, {0, 0, 17, 121}), TRect(-136, -34, 153, 155));
}

}  // namespace
