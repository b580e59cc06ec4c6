// The small value types of the windowed layer: the geometry types with their
// Windows conversions, the shift state of mouse and key events, and the
// event signatures shared by every control.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "platform/Components.h"
#include "platform/Geometry.h"

// The geometry types meet the Windows structures here.
inline TPoint::TPoint(const POINT& p) : X(p.x), Y(p.y) {}
inline TPoint::operator POINT() const { return POINT{X, Y}; }
inline TRect::TRect(const RECT& r) : Left(r.left), Top(r.top), Right(r.right), Bottom(r.bottom) {}
inline TRect::operator RECT() const { return RECT{Left, Top, Right, Bottom}; }

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
