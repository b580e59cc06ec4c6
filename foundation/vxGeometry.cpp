#include "vxGeometry.h"

#include <algorithm>

#include "platform/ClassRegistry.h"

// --- TvxRect ------------------------------------------------------------------

int32_t TvxRect::GetValue(int index) const {
  switch (index) {
    case 0: return rect_.Left;
    case 1: return rect_.Top;
    case 2: return rect_.Right;
    default: return rect_.Bottom;
  }
}

void TvxRect::SetValue(int index, int32_t value) {
  TRect r = rect_;
  switch (index) {
    case 0: r.Left = value; break;
    case 1: r.Top = value; break;
    case 2: r.Right = value; break;
    default: r.Bottom = value; break;
  }
  SetRect(r);
}

void TvxRect::SetRect(const TRect& rect) {
  TRect r = rect;
  ValidateRect(r);
  if (r == rect_) return;
  rect_ = r;
  DoChange();
}

void TvxRect::DoChange() {
  if (OnChange) OnChange(this);
}

void TvxRect::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TvxRect*>(source)) SetRect(other->rect_);
}

// --- TvxSize ------------------------------------------------------------------

int32_t TvxSize::GetValue(int index) const { return index == 0 ? size_.cy : size_.cx; }

void TvxSize::SetValue(int index, int32_t value) {
  TSize s = GetSize();
  if (index == 0)
    s.cy = value;
  else
    s.cx = value;
  SetSize(s);
}

void TvxSize::SetSize(const TSize& size) {
  const TSize s{size.cx < 0 ? 0 : size.cx, size.cy < 0 ? 0 : size.cy};
  if (s == size_) return;
  size_ = s;
  DoChange();
}

void TvxSize::DoChange() {
  if (OnChange) OnChange(this);
}

void TvxSize::Assign(const TPersistent* source) {
  if (auto* other = dynamic_cast<const TvxSize*>(source))
    SetSize(other->GetSize());
  else
    TPersistent::Assign(source);
}

// --- Streaming ------------------------------------------------------------------

namespace {

TPropInfo RectSide(const char* name, int index) {
  return IntegerProp<TvxRect>(
      name, [index](const TvxRect& r) { return int64_t(r.GetValue(index)); },
      [index](TvxRect& r, int64_t v) { r.SetValue(index, int32_t(v)); }, 0);
}

TPropInfo SizeSide(const char* name, int index) {
  TPropInfo p = IntegerProp<TvxSize>(
      name, [index](const TvxSize& s) { return int64_t(s.GetValue(index)); },
      [index](TvxSize& s, int64_t v) { s.SetValue(index, int32_t(v)); });
  p.Stored = [index](const TPersistent& s) { return static_cast<const TvxSize&>(s).IsValueStored(index); };
  return p;
}

TClass TvxRectClass() {
  static const TClassInfo info("TvxRect", TPersistentClass(),
                               {RectSide("Left", 0), RectSide("Top", 1), RectSide("Right", 2), RectSide("Bottom", 3)});
  return &info;
}

TClass TvxSizeClass() {
  static const TClassInfo info("TvxSize", TPersistentClass(), {SizeSide("Height", 0), SizeSide("Width", 1)});
  return &info;
}

int initCount = 0;

}  // namespace

void vxGeometryInitialize() {
  if (initCount++ == 0) RegisterPersistentClasses({TvxRectClass(), TvxSizeClass()});
}

void vxGeometryFinalize() {
  if (--initCount == 0) {
    UnregisterPersistentClass(TvxSizeClass());
    UnregisterPersistentClass(TvxRectClass());
  }
}

// --- Free functions -------------------------------------------------------------

bool vxIntersectRects(TRect& r, const TRect& a, const TRect& b) {
  r = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
  if (vxIsEmptyRect(r)) {
    r = {};
    return false;
  }
  return true;
}

TRect vxShiftedRect(const TRect& r, int32_t dx, int32_t dy, bool positive) {
  if (!positive) {
    dx = -dx;
    dy = -dy;
  }
  return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

TRect vxRectFitToAspect(const TRect& r, int32_t aw, int32_t ah) {
  const int64_t w = vxWidthOfRect(r), h = vxHeightOfRect(r);
  // The ratios are undefined for a flat rectangle or a zero aspect: keep r.
  if (h == 0 || aw == 0 || ah == 0) return r;
  TRect out = r;
  if (double(w) / double(h) >= double(aw) / double(ah))
    out.Right = int32_t(r.Left + h * aw / ah);
  else
    out.Bottom = int32_t(r.Top + w * ah / aw);
  return out;
}

TRect vxCenteredRect(const TRect& r, int32_t w, int32_t h) {
  const int32_t left = (r.Left + r.Right - w) / 2, top = (r.Top + r.Bottom - h) / 2;
  return {left, top, left + w, top + h};
}
