// Rectangle, point and size arithmetic for drawing and layout, and the two
// small persistent objects that carry a rectangle (margins) or a size
// (minimal sizes) as streamable properties with a change event.
//
// A rectangle holds the points with Left <= X < Right and Top <= Y < Bottom.
// "div 2" below is integer division truncating toward zero.
#pragma once

#include "platform/Components.h"
#include "platform/Geometry.h"

// --- TvxRect ------------------------------------------------------------------

class TvxRect : public TPersistent {
 public:
  explicit TvxRect(TPersistent* owner) : owner_(owner) {}
  const char* ClassName() const override { return "TvxRect"; }

  // Validates a copy of rect and stores it; fires OnChange only when it
  // differs from the stored rectangle.
  void SetRect(const TRect& rect);
  const TRect& Rect() const { return rect_; }
  // Index 0 Left, 1 Top, 2 Right, 3 Bottom (any higher index reads Bottom).
  int32_t GetValue(int index) const;
  void SetValue(int index, int32_t value);

  int32_t Left() const { return GetValue(0); }
  int32_t Top() const { return GetValue(1); }
  int32_t Right() const { return GetValue(2); }
  int32_t Bottom() const { return GetValue(3); }
  void SetLeft(int32_t v) { SetValue(0, v); }
  void SetTop(int32_t v) { SetValue(1, v); }
  void SetRight(int32_t v) { SetValue(2, v); }
  void SetBottom(int32_t v) { SetValue(3, v); }

  bool IsEqualRect(const TRect& rect) const { return rect_ == rect; }
  bool IsEqual(const TvxRect& other) const { return rect_ == other.rect_; }
  // Direct access without a change event (skin streams read margins here).
  TRect* GetRectPointer() { return &rect_; }
  // Only another TvxRect is copied; any other source is ignored.
  void Assign(const TPersistent* source) override;

  TNotifyEvent OnChange;

 protected:
  // A hook for descendants that correct a proposed rectangle.
  virtual void ValidateRect(TRect& rect) {}
  void DoChange();
  TPersistent* GetOwner() const override { return owner_; }

 private:
  TPersistent* owner_;
  TRect rect_;
};

// --- TvxSize ------------------------------------------------------------------

// Both components are never negative.
class TvxSize : public TPersistent {
 public:
  explicit TvxSize(TPersistent* owner) : owner_(owner) {}
  const char* ClassName() const override { return "TvxSize"; }

  // Index 0 Height, 1 Width.
  virtual int32_t GetValue(int index) const;
  void SetValue(int index, int32_t value);
  // Stored in form data only when non-zero.
  virtual bool IsValueStored(int index) const { return GetValue(index) != 0; }
  // Negative components become 0; DoChange runs only when the size changes.
  virtual void SetSize(const TSize& size);
  TSize GetSize() const { return {GetValue(1), GetValue(0)}; }

  int32_t Height() const { return GetValue(0); }
  int32_t Width() const { return GetValue(1); }
  void SetHeight(int32_t v) { SetValue(0, v); }
  void SetWidth(int32_t v) { SetValue(1, v); }

  bool SameSize(const TSize& size) const { return size_ == size; }
  bool IsEqual(const TvxSize& other) const { return SameSize(other.GetSize()); }
  TSize* GetSizePointer() { return &size_; }
  // From another TvxSize; any other source goes to the platform's assign.
  void Assign(const TPersistent* source) override;

  TNotifyEvent OnChange;

 protected:
  virtual void DoChange();
  TPersistent* GetOwner() const override { return owner_; }

 private:
  TPersistent* owner_;
  TSize size_;
};

// Registers TvxRect and TvxSize for streaming (once; counted).
void vxGeometryInitialize();
void vxGeometryFinalize();

// --- Free functions -------------------------------------------------------------

inline int32_t vxWidthOfRect(const TRect& r) { return r.Right - r.Left; }
inline int32_t vxHeightOfRect(const TRect& r) { return r.Bottom - r.Top; }
inline bool vxIsEmptyRect(const TRect& r) { return r.Left >= r.Right || r.Top >= r.Bottom; }
inline bool vxSameRect(const TRect& a, const TRect& b) { return a == b; }
// The overlap of a and b; an empty overlap gives (0, 0, 0, 0) and false.
bool vxIntersectRects(TRect& r, const TRect& a, const TRect& b);
inline TRect vxInflatedRect(const TRect& r, int32_t dx, int32_t dy) {
  return {r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy};
}
inline TRect vxInflatedRectBy(const TRect& r, int32_t dl, int32_t dt, int32_t dr, int32_t db) {
  return {r.Left - dl, r.Top - dt, r.Right + dr, r.Bottom + db};
}
TRect vxShiftedRect(const TRect& r, int32_t dx, int32_t dy, bool positive = true);
inline TRect vxShiftedRectByPoint(const TRect& r, const TPoint& p, bool positive = true) {
  return vxShiftedRect(r, p.X, p.Y, positive);
}
inline bool vxIsXYInRect(const TRect& r, int32_t x, int32_t y) {
  return r.Left <= x && x < r.Right && r.Top <= y && y < r.Bottom;
}
inline bool vxIsPointInRect(const TRect& r, const TPoint& p) { return vxIsXYInRect(r, p.X, p.Y); }
inline TRect vxTransposedRect(const TRect& r) { return {r.Top, r.Left, r.Bottom, r.Right}; }
inline TRect vxRectOfSize(const TSize& s) { return {0, 0, s.cx, s.cy}; }
inline TRect vxMakeRect(int32_t l, int32_t t, int32_t r, int32_t b) { return {l, t, r, b}; }
inline TRect vxRectFromCorners(const TPoint& a, const TPoint& b) { return {a.X, a.Y, b.X, b.Y}; }
inline TRect vxRectFromBounds(int32_t l, int32_t t, int32_t w, int32_t h) { return {l, t, l + w, t + h}; }
inline TRect vxRectWithHeight(const TRect& r, int32_t h) { return {r.Left, r.Top, r.Right, r.Top + h}; }
inline TRect vxRectWithWidth(const TRect& r, int32_t w) { return {r.Left, r.Top, r.Left + w, r.Bottom}; }
inline TRect vxRectMovedToLeft(const TRect& r, int32_t l) { return {l, r.Top, l + vxWidthOfRect(r), r.Bottom}; }
inline TRect vxRectWithLeftAndWidth(const TRect& r, int32_t l, int32_t w) { return {l, r.Top, l + w, r.Bottom}; }
inline TRect vxRectWithTopAndHeight(const TRect& r, int32_t t, int32_t h) { return {r.Left, t, r.Right, t + h}; }
inline TRect vxRectWithRightAndWidth(const TRect& r, int32_t rt, int32_t w) { return {rt - w, r.Top, rt, r.Bottom}; }
inline TRect vxRectWithHorzBounds(const TRect& r, int32_t l, int32_t rt) { return {l, r.Top, rt, r.Bottom}; }
inline TRect vxRectWithVertBounds(const TRect& r, int32_t t, int32_t b) { return {r.Left, t, r.Right, b}; }
// Shrinks r from its top-left corner to the proportion aw:ah. A rectangle
// without height, or a zero aspect, comes back unchanged.
TRect vxRectFitToAspect(const TRect& r, int32_t aw, int32_t ah);
inline int32_t vxVertMarginSum(const TRect& m) { return m.Top + m.Bottom; }
inline TPoint vxRectCenterPoint(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
TRect vxCenteredRect(const TRect& r, int32_t w, int32_t h);
inline TRect vxCenteredRectOfSize(const TRect& r, const TSize& s) { return vxCenteredRect(r, s.cx, s.cy); }
inline TRect vxRectInsideMargins(const TRect& r, const TRect& m) {
  return {r.Left + m.Left, r.Top + m.Top, r.Right - m.Right, r.Bottom - m.Bottom};
}
inline TPoint vxMakePoint(int32_t x, int32_t y) { return {x, y}; }
inline TPoint vxNegatedPoint(const TPoint& p) { return {-p.X, -p.Y}; }
inline TPoint vxOffsetPoint(const TPoint& p, int32_t dx, int32_t dy, bool positive = true) {
  return positive ? TPoint(p.X + dx, p.Y + dy) : TPoint(p.X - dx, p.Y - dy);
}
inline TPoint vxShiftedPoint(const TPoint& p, const TPoint& d, bool positive = true) {
  return vxOffsetPoint(p, d.X, d.Y, positive);
}
inline TPoint vxPointOfSize(const TSize& s) { return {s.cx, s.cy}; }
inline TSize vxMakeSize(int32_t w, int32_t h) { return {w, h}; }
inline bool vxSameSize(const TSize& a, const TSize& b) { return a == b; }
