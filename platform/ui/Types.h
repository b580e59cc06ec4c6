// The small value types of the windowed layer: rectangles, points and sizes
// in pixels with the field names the libraries use, the shift state of mouse
// and key events, and the event signatures shared by every control.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "platform/Components.h"

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int32_t x, int32_t y) : X(x), Y(y) {}
  explicit TPoint(const POINT& p) : X(p.x), Y(p.y) {}
  operator POINT() const { return POINT{X, Y}; }
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int32_t l, int32_t t, int32_t r, int32_t b) : Left(l), Top(t), Right(r), Bottom(b) {}
  explicit TRect(const RECT& r) : Left(r.left), Top(r.top), Right(r.right), Bottom(r.bottom) {}
  operator RECT() const { return RECT{Left, Top, Right, Bottom}; }
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

// Keys and mouse buttons held during an event.
enum : uint16_t {
  ssShift = 0x01,
  ssAlt = 0x02,
  ssCtrl = 0x04,
  ssLeft = 0x08,
  ssRight = 0x10,
  ssMiddle = 0x20,
  ssDouble = 0x40,
};
using TShiftState = uint16_t;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, uint16_t& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

// The shift state of the keyboard right now, and the one carried by a key
// message's key data (bit 29: Alt held).
TShiftState KeyboardShiftState();
TShiftState KeyDataToShiftState(LPARAM keyData);
// The shift state of a mouse message's MK_* flags.
TShiftState MouseKeysToShiftState(WPARAM keys);
