// The portable half of the canvas text output: the library's text flags and
// their DrawText equivalent, and the quarter-turn rotation of 32-bit pixel
// arrays that rotated text and rotated bitmaps rest on. The canvas that uses
// them is in vxGraphics.h.
#pragma once

#include <cstdint>
#include <vector>

// --- Text flags ------------------------------------------------------------------
// A 16-bit set. The low three bits hold the horizontal alignment, bits 3-5
// the vertical one; each alignment is one value, not a combination.
using TvxTextFlags = uint16_t;
enum : TvxTextFlags {
  vxtfAlignLeft = 0x0001,
  vxtfAlignRight = 0x0002,
  vxtfAlignHCenter = 0x0004,
  vxtfAlignTop = 0x0008,
  vxtfAlignBottom = 0x0010,
  vxtfAlignVCenter = 0x0020,
  vxtfSingleLine = 0x0040,
  vxtfNoClip = 0x0080,
  vxtfExpandTabs = 0x0100,
  vxtfShowPrefix = 0x0200,
  vxtfWordBreak = 0x0400,
  vxtfEndEllipsis = 0x0800,
  vxtfCalcRect = 0x1000,
  vxtfPathEllipsis = 0x2000,
  vxtfDontBreakChars = 0x4000,    // only with vxtfWordBreak
  vxtfNoFullWidthCharBreak = 0x8000  // only with vxtfWordBreak and vxtfDontBreakChars
};
constexpr TvxTextFlags vxtfHorzAlignMask = 0x0007;
constexpr TvxTextFlags vxtfVertAlignMask = 0x0038;

// The DrawText format bits the flags map to (the values of the system's
// DT_ constants, named here so that the mapping builds everywhere).
namespace vxdt {
constexpr uint32_t Top = 0x0, Left = 0x0, Center = 0x1, Right = 0x2, VCenter = 0x4, Bottom = 0x8;
constexpr uint32_t WordBreak = 0x10, SingleLine = 0x20, ExpandTabs = 0x40, NoClip = 0x100;
constexpr uint32_t CalcRect = 0x400, NoPrefix = 0x800, EditControl = 0x2000, PathEllipsis = 0x4000;
constexpr uint32_t EndEllipsis = 0x8000, NoFullWidthCharBreak = 0x80000;
}  // namespace vxdt

uint32_t vxTextFlagsToDrawTextFlags(TvxTextFlags flags);

// --- Rotation ------------------------------------------------------------------------

enum TvxRotation { raNone, raPlus90, raMinus90, ra180 };  // 1 anticlockwise, 2 clockwise, 3 half turn

// The rotation that undoes r.
constexpr TvxRotation vxInverseRotation(TvxRotation r) {
  return r == raPlus90 ? raMinus90 : r == raMinus90 ? raPlus90 : r;
}

// Where pixel (x, y) of a width x height picture goes when it is turned by
// rotation and, before that, optionally flipped vertically.
struct TvxPixelPlace {
  int X, Y;
};
TvxPixelPlace vxRotatedPixelPlace(int x, int y, int width, int height, TvxRotation rotation, bool flipVertically);

// Turns a top-down width x height array of 32-bit pixels; a quarter turn
// swaps width and height (both updated).
std::vector<uint32_t> vxRotatePixels(const std::vector<uint32_t>& pixels, int& width, int& height,
                                     TvxRotation rotation, bool flipVertically);
