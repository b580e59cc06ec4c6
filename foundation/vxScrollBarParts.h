// The arithmetic of the painted scroll bar, without a window: where its
// five parts lie, where the thumb sits for a range, which part a point hits,
// which position a dragged thumb stands for and where a scroll step lands.
// TvxScrollBar (vxScrollBar.h) keeps the state and calls these.
#pragma once

#include <cstdint>

#include "platform/Geometry.h"

enum TvxScrollBarKind { sbHorizontal = 0, sbVertical = 1 };

enum TScrollCode {
  scLineUp = 0,
  scLineDown = 1,
  scPageUp = 2,
  scPageDown = 3,
  scPosition = 4,
  scTrack = 5,
  scTop = 6,
  scBottom = 7,
  scEndScroll = 8
};

// The parts as the bar numbers them: 0 none, 1 and 2 the arrows, 3 the
// thumb, 4 and 5 the track before and after the thumb.
enum TvxScrollBarHitPart {
  sbhNone = 0,
  sbhTopLeftArrow = 1,
  sbhBottomRightArrow = 2,
  sbhThumbnail = 3,
  sbhPageUp = 4,
  sbhPageDown = 5
};

struct TvxScrollBarRange {
  int32_t Min = 0;
  int32_t Max = 100;
  int32_t PageSize = 0;
  int32_t Position = 0;
};

// The sizes the bar takes from the system and its painter.
struct TvxScrollBarMetrics {
  int32_t ArrowSize = 0;        // system arrow length along the bar
  int32_t SystemThumbSize = 0;  // the system thumb length, used without a page size
  int32_t ThumbnailSize = 0;    // the painter's minimum thumb length
};

struct TvxScrollBarPartRects {
  TRect TopLeftArrowRect;
  TRect BottomRightArrowRect;
  TRect ThumbnailRect;  // empty when there is no thumb
  TRect PageUpRect;     // empty when there is no thumb
  TRect PageDownRect;
};

// Throws EInvalidOperation("Scrollbar property out of range") when max < min
// or the page does not fit the range.
void vxCheckScrollBarRange(int32_t min, int32_t max, int32_t pageSize);
int32_t vxClampScrollPosition(int32_t position, int32_t min, int32_t max);

// Arrows at both ends of the client rectangle, then the thumb.
void vxComputeScrollBarParts(TvxScrollBarKind kind, const TRect& client, bool enabled,
                             const TvxScrollBarRange& range, const TvxScrollBarMetrics& metrics,
                             TvxScrollBarPartRects& parts);
// The thumb and the page areas between the arrows already placed.
void vxComputeScrollBarThumb(TvxScrollBarKind kind, bool enabled, const TvxScrollBarRange& range,
                             const TvxScrollBarMetrics& metrics, TvxScrollBarPartRects& parts);
// The page areas around the thumb as it stands (also while it is dragged).
void vxComputeScrollBarPageAreas(TvxScrollBarKind kind, TvxScrollBarPartRects& parts);

TvxScrollBarHitPart vxScrollBarPartAt(const TvxScrollBarPartRects& parts, const TRect& client, TPoint point);

// The position the thumb's place stands for; Min when the thumb fills the
// track and cannot move.
int32_t vxScrollBarPositionFromThumb(TvxScrollBarKind kind, const TvxScrollBarPartRects& parts,
                                     const TvxScrollBarRange& range);
// Moves the thumb by offset pixels along the bar from where it started,
// kept between the arrows.
void vxMoveScrollBarThumb(TvxScrollBarKind kind, TvxScrollBarPartRects& parts, const TRect& thumbOrigin,
                          int32_t offset);

// Where a scroll code takes the position, clamped to the range. The steps
// are added in 64 bits so that a large step never wraps around.
int32_t vxScrollStepPosition(TScrollCode code, const TvxScrollBarRange& range, int32_t smallChange,
                             int32_t largeChange);

// Pixels the pointer may leave a dragged bar before the thumb snaps back:
// along the bar at both ends, and across it on both sides.
constexpr int32_t vxScrollTrackingAlong = 34;
constexpr int32_t vxScrollTrackingAcross = 136;
TRect vxScrollBarTrackingArea(TvxScrollBarKind kind, const TRect& client);

// Auto-repeat of a held arrow or page area: the first step at the press,
// the second after the first delay, then one per repeat interval.
constexpr unsigned vxScrollFirstRepeatDelay = 400;
constexpr unsigned vxScrollRepeatInterval = 60;
