// Bitmap files ("BM") as streams hold them: inside form data, image lists
// and picture files. The reader and the writer sit side by side here; the
// windowed layer's bitmap makes its pixels from what the reader gives and
// hands its rows to the writer.
//
//   file header  14 bytes: "BM", file size (u32), two reserved u16, offset
//                of the rows (u32)
//   info header  size (u32, 40 to 1024; the 12-byte core header is
//                refused), width (i32 > 0), height (i32, negative for
//                top-down rows), planes (u16), bits per pixel (u16: 1, 4,
//                8, 16, 24 or 32), compression (u32: 0 plain, 3 bit masks
//                for 16 and 32 bits), image size, resolutions, colours
//                used, colours important (u32 each); the rest of a longer
//                header is skipped
//   masks        three u32 after a 40-byte header with bit masks
//   palette      4 bytes (blue, green, red, 0) per colour, for 8 bits or
//                fewer: the colours used, or all 2^bits
//   rows         each padded to 4 bytes, directly after the palette
//
// All little-endian.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Errors.h"
#include "platform/Streams.h"

QE_DECLARE_EXCEPTION(EInvalidGraphic, Exception);

inline constexpr int kMaxBitmapSide = 32767;

struct TBitmapFileInfo {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 24;
  // 16 bits per pixel in 5-6-5 (bit masks); otherwise 5-5-5.
  bool Rgb565 = false;
  // Rows stored bottom row first (a positive height). The writer always
  // stores them so.
  bool BottomUp = true;
  // 0x00RRGGBB, as the file's blue, green, red, 0 bytes read.
  std::vector<uint32_t> Palette;

  int64_t RowBytes() const { return (int64_t(Width) * BitsPerPixel + 31) / 32 * 4; }
};

// Reads and checks the headers, masks and palette; the stream is left at
// the first row. Raises EInvalidGraphic "Bitmap image is not valid" for
// what no bitmap can be made of, and EReadError when the stream holds fewer
// bytes than the headers and rows need: nothing is allocated for rows that
// are not there.
TBitmapFileInfo ReadBitmapFileInfo(TStream& stream);
// Reads the rows into rows, the top row first, stride (at least
// RowBytes()) bytes apart.
void ReadBitmapFileRows(TStream& stream, const TBitmapFileInfo& info, uint8_t* rows, int64_t stride);

// Writes the whole file: headers, masks for 5-6-5, palette and the rows
// (rows as ReadBitmapFileRows gives them) bottom row first.
void WriteBitmapFile(TStream& stream, const TBitmapFileInfo& info, const uint8_t* rows, int64_t stride);
