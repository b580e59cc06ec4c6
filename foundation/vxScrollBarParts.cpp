// Part geometry of the painted scroll bar. Lengths run along the bar:
// x for a horizontal bar, y for a vertical one; the thickness is the other
// axis. The thumb's offset in the track is proportional to the position, and
// a dragged thumb's place maps back to a position by the inverse ratio.
#include "foundation/vxScrollBarParts.h"

#include <algorithm>

#include "foundation/vdOffice11.h"
#include "platform/Errors.h"

namespace {

int32_t& StartOf(TRect& r, TvxScrollBarKind kind) { return kind == sbVertical ? r.Top : r.Left; }
int32_t& EndOf(TRect& r, TvxScrollBarKind kind) { return kind == sbVertical ? r.Bottom : r.Right; }
int32_t StartOf(const TRect& r, TvxScrollBarKind kind) { return kind == sbVertical ? r.Top : r.Left; }
int32_t EndOf(const TRect& r, TvxScrollBarKind kind) { return kind == sbVertical ? r.Bottom : r.Right; }
int32_t LengthOf(const TRect& r, TvxScrollBarKind kind) { return EndOf(r, kind) - StartOf(r, kind); }

// A rectangle across the bar's thickness from start to end along it.
TRect Span(TvxScrollBarKind kind, const TRect& across, int32_t start, int32_t end) {
  TRect r = across;
  StartOf(r, kind) = start;
  EndOf(r, kind) = end;
  return r;
}

// The thickness of the bar, taken from the arrows (they span it fully).
const TRect& Across(const TvxScrollBarPartRects& parts) { return parts.TopLeftArrowRect; }

}  // namespace

void vxCheckScrollBarRange(int32_t min, int32_t max, int32_t pageSize) {
  if (max < min || int64_t(max) - min < pageSize) throw EInvalidOperation("Scrollbar property out of range");
}

int32_t vxClampScrollPosition(int32_t position, int32_t min, int32_t max) {
  return std::clamp(position, min, std::max(min, max));
}

void vxComputeScrollBarParts(TvxScrollBarKind kind, const TRect& client, bool enabled,
                             const TvxScrollBarRange& range, const TvxScrollBarMetrics& metrics,
                             TvxScrollBarPartRects& parts) {
  const int32_t arrow = std::min(metrics.ArrowSize, LengthOf(client, kind) / 2);
  parts.TopLeftArrowRect = Span(kind, client, StartOf(client, kind), StartOf(client, kind) + arrow);
  parts.BottomRightArrowRect = Span(kind, client, EndOf(client, kind) - arrow, EndOf(client, kind));
  vxComputeScrollBarThumb(kind, enabled, range, metrics, parts);
}

void vxComputeScrollBarThumb(TvxScrollBarKind kind, bool enabled, const TvxScrollBarRange& range,
                             const TvxScrollBarMetrics& metrics, TvxScrollBarPartRects& parts) {
  parts.ThumbnailRect = TRect();
  vxComputeScrollBarPageAreas(kind, parts);
  // Nothing to scroll, nothing to drag: an empty range has no thumb with
  // or without a page size.
  if (!enabled || range.Max == range.Min) return;

  const int32_t trackStart = EndOf(parts.TopLeftArrowRect, kind);
  const int32_t track = StartOf(parts.BottomRightArrowRect, kind) - trackStart;
  const int64_t span = int64_t(range.Max) - range.Min;
  int32_t length = 0;
  int32_t offset = 0;
  if (range.PageSize > 0) {
    if (track < metrics.ThumbnailSize) return;
    length = std::min(track, vdMulDiv(range.PageSize, track, int32_t(span + 1)));
    length = std::max(length, metrics.ThumbnailSize);
    const int64_t divisor = span - range.PageSize + 1;
    const int64_t along = std::min<int64_t>(int64_t(range.Position) - range.Min, divisor);
    offset = vdMulDiv(track - length, int32_t(along), int32_t(divisor));
  } else {
    length = metrics.SystemThumbSize;
    if (track < length) return;
    if (track - length > 0)
      offset = vdMulDiv(track - length, range.Position - range.Min, int32_t(span));
  }
  parts.ThumbnailRect = Span(kind, Across(parts), trackStart + offset, trackStart + offset + length);
  vxComputeScrollBarPageAreas(kind, parts);
}

void vxComputeScrollBarPageAreas(TvxScrollBarKind kind, TvxScrollBarPartRects& parts) {
  if (parts.ThumbnailRect.IsEmpty()) {
    parts.PageUpRect = TRect();
    parts.PageDownRect = TRect();
    return;
  }
  parts.PageUpRect = Span(kind, Across(parts), EndOf(parts.TopLeftArrowRect, kind), StartOf(parts.ThumbnailRect, kind));
  parts.PageDownRect =
      Span(kind, Across(parts), EndOf(parts.ThumbnailRect, kind), StartOf(parts.BottomRightArrowRect, kind));
}

TvxScrollBarHitPart vxScrollBarPartAt(const TvxScrollBarPartRects& parts, const TRect& client, TPoint point) {
  if (!client.Contains(point)) return sbhNone;
  if (parts.TopLeftArrowRect.Contains(point)) return sbhTopLeftArrow;
  if (parts.BottomRightArrowRect.Contains(point)) return sbhBottomRightArrow;
  if (parts.ThumbnailRect.IsEmpty()) return sbhNone;
  if (parts.ThumbnailRect.Contains(point)) return sbhThumbnail;
  if (parts.PageUpRect.Contains(point)) return sbhPageUp;
  if (parts.PageDownRect.Contains(point)) return sbhPageDown;
  return sbhNone;
}

int32_t vxScrollBarPositionFromThumb(TvxScrollBarKind kind, const TvxScrollBarPartRects& parts,
                                     const TvxScrollBarRange& range) {
  const int32_t track = StartOf(parts.BottomRightArrowRect, kind) - EndOf(parts.TopLeftArrowRect, kind);
  const int32_t free = track - LengthOf(parts.ThumbnailRect, kind);
  // A thumb that fills the track has no place to stand for anything but Min.
  if (free <= 0) return range.Min;
  const int64_t span = range.PageSize > 0 ? int64_t(range.Max) - range.Min + 1 - range.PageSize
                                          : int64_t(range.Max) - range.Min;
  const int32_t moved = StartOf(parts.ThumbnailRect, kind) - EndOf(parts.TopLeftArrowRect, kind);
  const int64_t position = range.Min + int64_t(vdMulDiv(int32_t(span), moved, free));
  return vxClampScrollPosition(int32_t(std::clamp<int64_t>(position, INT32_MIN, INT32_MAX)), range.Min, range.Max);
}

void vxMoveScrollBarThumb(TvxScrollBarKind kind, TvxScrollBarPartRects& parts, const TRect& thumbOrigin,
                          int32_t offset) {
  const int32_t length = LengthOf(thumbOrigin, kind);
  const int32_t first = EndOf(parts.TopLeftArrowRect, kind);
  const int32_t last = std::max(first, StartOf(parts.BottomRightArrowRect, kind) - length);
  const int32_t start = std::clamp(StartOf(thumbOrigin, kind) + offset, first, last);
  parts.ThumbnailRect = Span(kind, thumbOrigin, start, start + length);
  vxComputeScrollBarPageAreas(kind, parts);
}

int32_t vxScrollStepPosition(TScrollCode code, const TvxScrollBarRange& range, int32_t smallChange,
                             int32_t largeChange) {
  int64_t position = range.Position;
  switch (code) {
    case scLineUp: position -= smallChange; break;
    case scLineDown: position += smallChange; break;
    case scPageUp: position -= largeChange; break;
    case scPageDown: position += largeChange; break;
    case scTop: position = range.Min; break;
    case scBottom: position = range.Max; break;
    default: break;
  }
  return int32_t(std::clamp<int64_t>(position, range.Min, std::max(range.Min, range.Max)));
}

TRect vxScrollBarTrackingArea(TvxScrollBarKind kind, const TRect& client) {
  const int32_t dx = kind == sbHorizontal ? vxScrollTrackingAlong : vxScrollTrackingAcross;
  const int32_t dy = kind == sbHorizontal ? vxScrollTrackingAcross : vxScrollTrackingAlong;
  return TRect(client.Left - dx, client.Top - dy, client.Right + dx, client.Bottom + dy);
}
