// The portable half of the library's bitmaps: the packed bitmap record
// ("XDBM") that form and skin data carry, the per-pixel operations on 32-bit
// pixels, the blend of a colour over a pixel and the Lanczos3 resampler.
// Nothing here touches the system; the bitmap classes feed these pixel
// arrays and byte buffers.
//
// A 32-bit pixel is the bytes blue, green, red, alpha: as a value
// 0xAARRGGBB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Streams.h"

// --- Packed bitmap record ---------------------------------------------------------
//
//   offset 0  Int32 LE   bytes that follow this ten-byte header
//   offset 4  "XDBM"
//   offset 8  UInt16 LE  version (2 is written, 1 is read too)
//   offset 10 payload
//
// The payload packs the platform's bitmap data (a 32-bit byte count and a
// bitmap file image) in blocks of B bytes. Version 2: byte B, byte P, the
// first P bytes as they are (P = length mod B, so the blocks end with the
// data), then run-length data. Version 1: run-length data with B = 1.
//
// A run starts with a control byte n: with bit 0x80 a literal run of
// n & 0x7F blocks follows; without it, one block repeated n & 0x7F times.

inline constexpr char vxPackedSignature[4] = {'X', 'D', 'B', 'M'};
inline constexpr uint16_t vxPackedVersion = 2;
inline constexpr int vxPackedHeaderSize = 10;
// The 7-bit count could hold 127; the writer stops at 125.
inline constexpr int vxPackedMaxRun = 125;
inline constexpr uint8_t vxPackedLiteralFlag = 0x80;

// B for a bitmap of that many bits per pixel: 1 up to 8 bits, 2, 3 or 4.
int vxPackedBlockSize(int bitsPerPixel);

// Run-length data of the blocks in data[0..size), size a multiple of
// blockSize; appended to out.
void vxEncodeRuns(const uint8_t* data, size_t size, int blockSize, std::vector<uint8_t>& out);
// Decodes the runs in runs[0..size) and appends them to out. Raises
// EReadError when a run passes the end of the runs or would make out
// longer than limit.
void vxDecodeRuns(const uint8_t* runs, size_t size, int blockSize, size_t limit, std::vector<uint8_t>& out);

// Writes the packed record of the platform bitmap data data[0..size).
void vxWritePackedBitmapData(TStream& stream, const uint8_t* data, size_t size, int blockSize);
// When the stream holds a packed record at its position, decodes it into
// data (the platform bitmap data), leaves the stream after the record and
// returns true. Without the signature the stream goes back to where it was
// and the result is false. A malformed record raises EReadError.
bool vxReadPackedBitmapData(TStream& stream, std::vector<uint8_t>& data);

// The "Data" of a stored bitmap: the platform's bitmap data, packed or as
// it is. The reader calls load with a stream at the bitmap file, or with
// nullptr for an empty bitmap, and leaves stream after the data; a count
// beyond the stream raises EReadError. The writer stores the bitmap file
// file[0..size) (size 0: an empty bitmap), packed in blocks of
// packBlockSize bytes unless that is 0.
void vxReadBitmapData(TStream& stream, const std::function<void(TStream* file)>& load);
void vxWriteBitmapData(TStream& stream, const uint8_t* file, size_t size, int packBlockSize);

// --- Pixel operations ----------------------------------------------------------------

enum TvxPixelOperation : int {
  vxpoLighten = 0,      // lightened glyph
  vxpoShadowGray = 1,   // disabled glyph without alpha
  vxpoAverageGray = 2,  // grayed glyph
  vxpoOpaque = 3,
  vxpoMask = 4,         // white where transparent, 0 elsewhere
  vxpoGray = 5,         // faded glyph
  vxpoGreenGray = 6,    // disabled glyph with alpha
  vxpoSolidAlpha = 7,   // alpha 0 becomes 255
  vxpoFillBk = 9,       // every pixel becomes the transparent background
  vxpoClearAlpha = 10,
};

// Which pixels are transparent: the one background pixel value (all 32
// bits), or any pixel whose low 24 bits are among colors.
struct TvxPixelTransparency {
  uint32_t bkColor = 0;
  const std::vector<uint32_t>* colors = nullptr;
  bool IsTransparent(uint32_t pixel) const;
};

// Applies operation to every pixel. shadowPixel is the button-shadow
// colour as a pixel value (operation 1 blends it in). Values outside the
// table do nothing.
void vxApplyPixelOperation(uint32_t* pixels, size_t count, int operation, const TvxPixelTransparency& transparency,
                           uint32_t shadowPixel);

// Round to nearest, halves to the even neighbour, then clamp to 0..255.
uint8_t vxRoundClampChannel(float value);
// A colour (with its alpha) over a pixel at factor 0..255: with k =
// factor/255 and e = 1 - k*A/255, each channel is k*C + e*P, alpha is
// k*A + e*Pa.
uint32_t vxBlendColorOverPixel(uint32_t color, uint32_t pixel, int factor);
// Gray by weights: red, green and blue become round(r*wr + g*wg + b*wb).
uint32_t vxGrayPixel(uint32_t pixel, float wr, float wg, float wb);

// --- Lanczos3 resampling -----------------------------------------------------------

// One destination pixel's taps: source indices and weights, 256 = 1.0.
struct TvxContributors {
  std::vector<int> index;
  std::vector<int> weight;
};
using TvxContributorList = std::vector<TvxContributors>;

// The taps for resampling a line of sourceLength into destLength pixels at
// scale. Every list's weights sum to exactly 256, and every index lies in
// 0..sourceLength-1.
TvxContributorList vxBuildContributors(int sourceLength, int destLength, float scale);
// The scale the resampler uses for one direction.
float vxResampleScale(int sourceLength, int destLength);
// Scales the pixels of a sw x sh image into dw x dh (rows bottom-up in both
// arrays, as the bitmaps hand them over). Nothing for a zero side.
void vxLanczosResample(const uint32_t* source, int sw, int sh, uint32_t* dest, int dw, int dh);
