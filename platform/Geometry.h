// Plain 32-bit geometry in pixels: points, sizes and rectangles with the
// field names the libraries use. Portable: the stored-format parsers (skin
// streams, packed bitmaps) share these types with the windowed layer.
#pragma once

#include <cstdint>

// The Windows structures are only named here: platform/ui/Types.h defines
// the conversions, and portable code never calls them.
struct tagPOINT;
struct tagRECT;

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int32_t x, int32_t y) : X(x), Y(y) {}
  explicit TPoint(const tagPOINT& p);
  operator tagPOINT() const;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// Right and Bottom lie just outside the rectangle.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int32_t l, int32_t t, int32_t r, int32_t b) : Left(l), Top(t), Right(r), Bottom(b) {}
  explicit TRect(const tagRECT& r);
  operator tagRECT() const;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(const TPoint& p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  TPoint TopLeft() const { return {Left, Top}; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  return TRect(left, top, left + width, top + height);
}
