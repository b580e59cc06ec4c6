// The base control's decisions that need no window: the dialog code of the
// wanted keys, the phases of the library drag and drop, the recording of
// scroll-bar wishes and the scroll-anchor mode's direction and speed.
#include <gtest/gtest.h>

#include <climits>

#include "foundation/vxControlsText.h"

namespace {

TEST(ControlLogic, DialogCodeOfWantedKeys) {
  struct Case {
    TvxWantedKeys keys;
    bool ctrl;
    unsigned want;
  } cases[] = {
      {0, false, 0},
      {wkAllKeys, false, 4},
      {wkArrowKeys, false, 1},
      {wkCharKeys, false, 0x80},
      {wkTabKey, false, 2},
      {wkTabKey, true, 0},
      {wkAllKeys | wkArrowKeys | wkCharKeys | wkTabKey, false, 0x87},
      {wkAllKeys | wkArrowKeys | wkCharKeys | wkTabKey, true, 0x85},
      {wkArrowKeys | wkCharKeys, true, 0x81},
  };
  for (const Case& c : cases)
    EXPECT_EQ(vxDialogCodeForWantedKeys(c.keys, c.ctrl), c.want) << int(c.keys) << " ctrl " << c.ctrl;
}

TEST(ControlLogic, DragAndDropPhases) {
  // Rows: the phase before; columns: the events in declaration order.
  const TvxDragDropEvent events[] = {ddePressToBegin,        ddePressToBeginImmediately, ddeOtherPress,
                                     ddeMoveInsideDetectArea, ddeMoveOutsideDetectArea,  ddeRelease,
                                     ddeCancel};
  const TvxDragDropPhase want[3][7] = {
      /* idle    */ {ddpPending, ddpActive, ddpIdle, ddpIdle, ddpIdle, ddpIdle, ddpIdle},
      /* pending */ {ddpPending, ddpActive, ddpIdle, ddpPending, ddpActive, ddpIdle, ddpIdle},
      /* active  */ {ddpPending, ddpActive, ddpIdle, ddpActive, ddpActive, ddpIdle, ddpIdle},
  };
  for (int phase = 0; phase < 3; ++phase)
    for (int e = 0; e < 7; ++e)
      EXPECT_EQ(vxDragDropPhaseAfter(TvxDragDropPhase(phase), events[e]), want[phase][e])
          << "phase " << phase << " event " << e;
}

TEST(ControlLogic, ScrollBarWishes) {
  struct Case {
    const char* name;
    int32_t min, max, page, position;
    bool allowShow, allowHide;
    bool visible, enabled;
    int32_t wantMax, wantLarge;  // the range kept: the new one, or the old 0..100
  } cases[] = {
      {"scrolls", 0, 999, 200, 10, true, true, true, true, 999, 200},
      {"not allowed", 0, 999, 200, 10, false, false, false, true, 100, 1},
      {"page covers the range, hides", 0, 99, 100, 0, true, true, false, true, 100, 1},
      {"page covers the range, stays disabled", 0, 99, 100, 0, true, false, true, false, 100, 1},
      {"max below min", 10, 5, 1, 10, true, true, false, true, 100, 1},
      {"position below min", 10, 500, 20, 9, true, false, true, false, 100, 1},
      {"a page above 32767 stays positive", 0, 200000, 40000, 0, true, true, true, true, 200000, 40000},
      {"the whole 32-bit range does not wrap", INT_MIN, INT_MAX, 1000, 0, true, true, true, true, INT_MAX, 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TvxControlScrollBarParams p;
    vxRecordScrollBarParams(p, c.min, c.max, 7, c.page, c.position, c.allowShow, c.allowHide);
    EXPECT_EQ(p.Visible, c.visible);
    EXPECT_EQ(p.Enabled, c.enabled);
    EXPECT_EQ(p.Max, c.wantMax);
    EXPECT_EQ(p.LargeChange, c.wantLarge);
    EXPECT_EQ(p.AllowHide, c.allowHide);
  }
}

TEST(ControlLogic, BarNeededOnlyForTheOther) {
  TvxControlScrollBarParams p;
  vxRecordScrollBarParams(p, 0, 299, 1, 290, 0, true, true);  // 10 pixels too many
  EXPECT_TRUE(vxScrollBarNeededOnlyForOther(p, 17));
  EXPECT_TRUE(vxScrollBarNeededOnlyForOther(p, 10));
  EXPECT_FALSE(vxScrollBarNeededOnlyForOther(p, 9));
}

TEST(ControlLogic, ScrollAnchorDirectionAndSpeed) {
  // Anchor (500, 400), a zone of 28 pixels: 486..513 on each axis.
  struct Case {
    int x, y;
    bool hBar, vBar;
    TvxDirection direction;
    int speed;
  } cases[] = {
      {500, 400, true, true, dirNone, 0},
      {513, 413, true, true, dirNone, 0},
      {514, 400, true, true, dirRight, 1},
      {485, 400, true, true, dirLeft, 1},
      {500, 385, true, true, dirUp, 1},
      {500, 430, true, true, dirDown, 4},
      {530, 530, true, true, dirDown, 12},   // a tie goes vertical; far away caps at 12
      {530, 420, true, true, dirRight, 4},
      {900, 400, false, true, dirNone, 0},   // without a horizontal bar the zone spans the screen's width
      {900, 430, false, true, dirDown, 4},
      {500, 700, true, false, dirNone, 0},   // and without a vertical bar its height
      {470, 700, true, false, dirLeft, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y << " h " << c.hBar << " v " << c.vBar);
    const TvxScrollAnchorMove m = vxScrollAnchorMoveAt(500, 400, c.x, c.y, 28, 1024, 768, c.hBar, c.vBar);
    EXPECT_EQ(m.Direction, c.direction);
    EXPECT_EQ(m.Speed, c.speed);
    EXPECT_EQ(m.LeftZone, c.direction != dirNone);
  }
  EXPECT_EQ(vxScrollAnchorTicksPerLine(1), 12);
  EXPECT_EQ(vxScrollAnchorTicksPerLine(12), 1);
}

}  // namespace
