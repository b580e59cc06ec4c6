// The packed bitmap record, the pixel operations, the blend formula and the
// Lanczos3 resampler (see the header for the record's layout).
#include "foundation/vxGraphicsPacked.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

#include "platform/Errors.h"

namespace {

const char* const kMalformed = "Invalid packed bitmap data";

uint32_t ReadLE32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

void PutLE32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

bool SameBlock(const uint8_t* data, size_t a, size_t b, int blockSize) {
  return std::memcmp(data + a * size_t(blockSize), data + b * size_t(blockSize), size_t(blockSize)) == 0;
}

// The platform data begin with their own byte count: once those four bytes
// are out, nothing may be decoded past the count.
size_t EffectiveLimit(const std::vector<uint8_t>& out, size_t limit) {
  if (out.size() < 4) return limit;
  const int32_t count = int32_t(ReadLE32(out.data()));
  if (count < 0) throw EReadError(kMalformed);
  return std::min(limit, size_t(count) + 4);
}

}  // namespace

int vxPackedBlockSize(int bitsPerPixel) { return std::max(1, bitsPerPixel / 8); }

void vxEncodeRuns(const uint8_t* data, size_t size, int blockSize, std::vector<uint8_t>& out) {
  const size_t blocks = size / size_t(blockSize);
  size_t pos = 0;
  while (pos < blocks) {
    size_t count = 1;
    if (pos + 1 < blocks && SameBlock(data, pos, pos + 1, blockSize)) {
      while (pos + count < blocks && count < vxPackedMaxRun && SameBlock(data, pos, pos + count, blockSize)) ++count;
      out.push_back(uint8_t(count));
      out.insert(out.end(), data + pos * blockSize, data + (pos + 1) * blockSize);
    } else {
      // A literal run ends one block before two equal neighbours, which
      // start the next repeat run.
      while (pos + count < blocks && count < vxPackedMaxRun) {
        if (SameBlock(data, pos + count - 1, pos + count, blockSize)) {
          --count;
          break;
        }
        ++count;
      }
      out.push_back(uint8_t(vxPackedLiteralFlag | count));
      out.insert(out.end(), data + pos * blockSize, data + (pos + count) * blockSize);
    }
    pos += count;
  }
}

void vxDecodeRuns(const uint8_t* runs, size_t size, int blockSize, size_t limit, std::vector<uint8_t>& out) {
  const size_t block = size_t(blockSize);
  size_t p = 0;
  while (p < size) {
    const uint8_t control = runs[p++];
    const size_t n = control & 0x7F;
    const bool literal = (control & vxPackedLiteralFlag) != 0;
    const size_t stored = literal ? n * block : block;
    if (size - p < stored) throw EReadError(kMalformed);
    if (n * block > EffectiveLimit(out, limit) - out.size()) throw EReadError(kMalformed);
    if (literal) {
      out.insert(out.end(), runs + p, runs + p + stored);
    } else {
      for (size_t i = 0; i < n; ++i) out.insert(out.end(), runs + p, runs + p + block);
    }
    p += stored;
    // The run may have completed the leading count: check against it too.
    if (out.size() > EffectiveLimit(out, limit)) throw EReadError(kMalformed);
  }
}

void vxWritePackedBitmapData(TStream& stream, const uint8_t* data, size_t size, int blockSize) {
  const size_t prefix = size % size_t(blockSize);
  std::vector<uint8_t> payload = {uint8_t(blockSize), uint8_t(prefix)};
  payload.insert(payload.end(), data, data + prefix);
  vxEncodeRuns(data + prefix, size - prefix, blockSize, payload);
  uint8_t header[vxPackedHeaderSize];
  PutLE32(header, uint32_t(payload.size()));
  std::memcpy(header + 4, vxPackedSignature, 4);
  header[8] = uint8_t(vxPackedVersion);
  header[9] = uint8_t(vxPackedVersion >> 8);
  stream.WriteBuffer(header, sizeof header);
  stream.WriteBuffer(payload.data(), int64_t(payload.size()));
}

bool vxReadPackedBitmapData(TStream& stream, std::vector<uint8_t>& data) {
  const int64_t start = stream.Position();
  uint8_t header[vxPackedHeaderSize];
  if (stream.Read(header, sizeof header) != int64_t(sizeof header) ||
      std::memcmp(header + 4, vxPackedSignature, 4) != 0) {
    stream.SetPosition(start);
    return false;
  }
  const int32_t count = int32_t(ReadLE32(header));
  const int version = header[8] | header[9] << 8;
  if (count < 0 || count > stream.Size() - stream.Position()) throw EReadError(kMalformed);
  std::vector<uint8_t> payload(size_t(count), 0);
  stream.ReadBuffer(payload.data(), count);
  data.clear();
  // Nothing can decode to more than 125 blocks of 4 bytes per two bytes.
  const size_t limit = payload.size() * (vxPackedMaxRun * 4 / 2 + 1) + 4;
  if (version == 1) {
    vxDecodeRuns(payload.data(), payload.size(), 1, limit, data);
  } else if (version == 2) {
    if (payload.size() < 2) throw EReadError(kMalformed);
    const int blockSize = payload[0];
    const size_t prefix = payload[1];
    if (blockSize < 1 || blockSize > 4 || prefix >= size_t(blockSize) || payload.size() - 2 < prefix)
      throw EReadError(kMalformed);
    data.insert(data.end(), payload.begin() + 2, payload.begin() + 2 + std::ptrdiff_t(prefix));
    vxDecodeRuns(payload.data() + 2 + prefix, payload.size() - 2 - prefix, blockSize, limit, data);
  } else {
    throw EReadError(kMalformed);
  }
  EffectiveLimit(data, limit);  // a negative count of the platform data
  return true;
}

namespace {

// The platform's bitmap data: a 32-bit byte count, then a bitmap file of
// that many bytes.
void ReadPlatformBitmapData(TStream& stream, const std::function<void(TStream* file)>& load) {
  const int32_t count = stream.ReadValue<int32_t>();
  const int64_t start = stream.Position();
  if (count < 0 || count > stream.Size() - start) throw EReadError("Stream read error");
  load(count == 0 ? nullptr : &stream);
  stream.SetPosition(start + count);
}

}  // namespace

void vxReadBitmapData(TStream& stream, const std::function<void(TStream* file)>& load) {
  std::vector<uint8_t> data;
  if (!vxReadPackedBitmapData(stream, data)) return ReadPlatformBitmapData(stream, load);
  TMemoryStream unpacked;
  unpacked.WriteBuffer(data.data(), int64_t(data.size()));
  unpacked.SetPosition(0);
  ReadPlatformBitmapData(unpacked, load);
}

void vxWriteBitmapData(TStream& stream, const uint8_t* file, size_t size, int packBlockSize) {
  const uint32_t n = uint32_t(size);
  std::vector<uint8_t> data = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
  data.insert(data.end(), file, file + size);
  if (packBlockSize > 0) vxWritePackedBitmapData(stream, data.data(), data.size(), packBlockSize);
  else stream.WriteBuffer(data.data(), int64_t(data.size()));
}

// --- Pixel operations ----------------------------------------------------------------

namespace {

inline int Channel(uint32_t pixel, int shift) { return int((pixel >> shift) & 0xFF); }
inline uint32_t MakePixel(int a, int r, int g, int b) {
  return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
}
// a*b/c rounded to nearest, for the non-negative values used here.
inline int MulDivRound(int a, int b, int c) { return (a * b + c / 2) / c; }

uint32_t Lighten(uint32_t p) {
  const int a = Channel(p, 24), r = Channel(p, 16), g = Channel(p, 8), b = Channel(p, 0);
  if (a == 255)
    return MakePixel(a, r + MulDivRound(255 - r, 3, 10), g + MulDivRound(255 - g, 3, 10), b + MulDivRound(255 - b, 3, 10));
  return MakePixel(MulDivRound(a, 200, 255), MulDivRound(r, 200, 255), MulDivRound(g, 200, 255), MulDivRound(b, 200, 255));
}

uint32_t AverageGray(uint32_t p) {
  const int v = (Channel(p, 16) + Channel(p, 8) + Channel(p, 0)) / 3;
  return MakePixel(Channel(p, 24), v, v, v);
}

}  // namespace

bool TvxPixelTransparency::IsTransparent(uint32_t pixel) const {
  if (pixel == bkColor) return true;
  if (!colors) return false;
  return std::find(colors->begin(), colors->end(), pixel & 0xFFFFFF) != colors->end();
}

uint8_t vxRoundClampChannel(float value) {
  const float rounded = std::nearbyint(value);
  if (!(rounded > 0)) return 0;
  return rounded > 255 ? 255 : uint8_t(rounded);
}

uint32_t vxBlendColorOverPixel(uint32_t color, uint32_t pixel, int factor) {
  const float k = float(factor) / 255.0f;
  const float alpha = float(Channel(color, 24));
  const float e = 1.0f - k * alpha / 255.0f;
  auto mix = [&](int shift) { return vxRoundClampChannel(k * float(Channel(color, shift)) + e * float(Channel(pixel, shift))); };
  return MakePixel(vxRoundClampChannel(k * alpha + e * float(Channel(pixel, 24))), mix(16), mix(8), mix(0));
}

uint32_t vxGrayPixel(uint32_t pixel, float wr, float wg, float wb) {
  const int v = vxRoundClampChannel(float(Channel(pixel, 16)) * wr + float(Channel(pixel, 8)) * wg + float(Channel(pixel, 0)) * wb);
  return MakePixel(Channel(pixel, 24), v, v, v);
}

void vxApplyPixelOperation(uint32_t* pixels, size_t count, int operation, const TvxPixelTransparency& transparency,
                           uint32_t shadowPixel) {
  // The disabled look: the shadow colour at alpha 192, blended at 238.
  const uint32_t shadow = (shadowPixel & 0xFFFFFF) | 0xC0000000u;
  for (size_t i = 0; i < count; ++i) {
    uint32_t& p = pixels[i];
    switch (operation) {
      case vxpoLighten:
        if (!transparency.IsTransparent(p)) p = Lighten(p);
        break;
      case vxpoShadowGray:
        if (!transparency.IsTransparent(p)) p = vxBlendColorOverPixel(shadow, vxGrayPixel(p, 0.299f, 0.587f, 0.114f), 238);
        break;
      case vxpoAverageGray:
        if (!transparency.IsTransparent(p)) p = AverageGray(p);
        break;
      case vxpoOpaque:
        p |= 0xFF000000u;
        break;
      case vxpoMask:
        p = transparency.IsTransparent(p) ? 0xFFFFFFFFu : 0;
        break;
      case vxpoGray:
        if (!transparency.IsTransparent(p)) p = vxGrayPixel(p, 0.299f, 0.587f, 0.114f);
        break;
      case vxpoGreenGray:
        if (!transparency.IsTransparent(p)) p = vxGrayPixel(p, 0.0729f, 0.7146f, 0.2125f);
        break;
      case vxpoSolidAlpha:
        if (!transparency.IsTransparent(p) && (p >> 24) == 0) p |= 0xFF000000u;
        break;
      case vxpoFillBk:
        p = transparency.bkColor;
        break;
      case vxpoClearAlpha:
        p &= 0x00FFFFFFu;
        break;
      default:
        return;
    }
  }
}

// --- Lanczos3 resampling -----------------------------------------------------------

namespace {

float Sinc(float x) {
  if (x == 0.0f) return 1.0f;
  const float px = std::numbers::pi_v<float> * x;
  return std::sin(px) / px;
}

float Lanczos3(float x) { return std::fabs(x) < 3.0f ? Sinc(x) * Sinc(x / 3.0f) : 0.0f; }

// Mirrors j into 0..n-1: about 0 on the left, about n - 1/2 on the right,
// reflected again as often as a wide filter on a short line needs.
int MirrorIndex(int64_t j, int n) {
  if (n == 1) return 0;
  for (;;) {
    if (j < 0) {
      j = -j;
    } else if (j >= n) {
      j = 2 * int64_t(n) - 1 - j;
    } else {
      return int(j);
    }
  }
}

}  // namespace

float vxResampleScale(int sourceLength, int destLength) {
  if (sourceLength == 1) return float(destLength);
  if (destLength == 1) return 1.0f / float(sourceLength);
  return float(destLength - 1) / float(sourceLength - 1);
}

TvxContributorList vxBuildContributors(int sourceLength, int destLength, float scale) {
  const float width = scale >= 1.0f ? 1.0f : 1.0f / scale;
  const float radius = 3.0f * width;
  TvxContributorList list(size_t(std::max(destLength, 0)));
  std::vector<int64_t> taps;
  std::vector<float> weights;
  for (int i = 0; i < destLength; ++i) {
    const float centre = float(i) / scale;
    taps.clear();
    weights.clear();
    float total = 0;
    const int64_t first = int64_t(std::floor(centre - radius)), last = int64_t(std::ceil(centre + radius));
    for (int64_t j = first; j <= last; ++j) {
      const float w = Lanczos3((centre - float(j)) / width) / width;
      if (w == 0.0f) continue;
      taps.push_back(j);
      weights.push_back(w);
      total += w;
    }
    TvxContributors& c = list[size_t(i)];
    if (!(total > 0.0f)) {
      c.index.push_back(MirrorIndex(int64_t(std::lround(centre)), sourceLength));
      c.weight.push_back(256);
      continue;
    }
    // Normalised to 256 and rounded on the running sum, so that the integer
    // weights add up to exactly 256 however many taps a wide filter has.
    double running = 0;
    int given = 0;
    for (size_t t = 0; t < taps.size(); ++t) {
      running += double(weights[t]) * 256.0 / double(total);
      const int upTo = int(std::nearbyint(running));
      const int w = upTo - given;
      given = upTo;
      if (w == 0) continue;
      c.index.push_back(MirrorIndex(taps[t], sourceLength));
      c.weight.push_back(w);
    }
  }
  return list;
}

namespace {

inline uint32_t PackSums(const int32_t* sum) {
  uint32_t p = 0;
  for (int ch = 0; ch < 4; ++ch) {
    const int32_t v = sum[ch] < 0 ? 0 : std::min<int32_t>(255, sum[ch] >> 8);
    p |= uint32_t(v) << (8 * ch);
  }
  return p;
}

}  // namespace

void vxLanczosResample(const uint32_t* source, int sw, int sh, uint32_t* dest, int dw, int dh) {
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
  const TvxContributorList horizontal = vxBuildContributors(sw, dw, vxResampleScale(sw, dw));
  const TvxContributorList vertical = vxBuildContributors(sh, dh, vxResampleScale(sh, dh));

  // Horizontal pass: sw x sh into dw x sh.
  std::vector<uint32_t> work(size_t(dw) * size_t(sh));
  for (int y = 0; y < sh; ++y) {
    const uint8_t* row = reinterpret_cast<const uint8_t*>(source + size_t(y) * size_t(sw));
    uint32_t* out = work.data() + size_t(y) * size_t(dw);
    for (int x = 0; x < dw; ++x) {
      const TvxContributors& c = horizontal[size_t(x)];
      int32_t sum[4] = {0, 0, 0, 0};
      for (size_t t = 0; t < c.index.size(); ++t) {
        const uint8_t* p = row + size_t(c.index[t]) * 4;
        const int32_t w = c.weight[t];
        sum[0] += w * p[0];
        sum[1] += w * p[1];
        sum[2] += w * p[2];
        sum[3] += w * p[3];
      }
      out[x] = PackSums(sum);
    }
  }

  // Vertical pass, a whole row of sums at a time so that the work rows are
  // read in order.
  std::vector<int32_t> sums(size_t(dw) * 4);
  for (int y = 0; y < dh; ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    const TvxContributors& c = vertical[size_t(y)];
    for (size_t t = 0; t < c.index.size(); ++t) {
      const uint8_t* row = reinterpret_cast<const uint8_t*>(work.data() + size_t(c.index[t]) * size_t(dw));
      const int32_t w = c.weight[t];
      for (size_t k = 0; k < sums.size(); ++k) sums[k] += w * row[k];
    }
    uint32_t* out = dest + size_t(y) * size_t(dw);
    for (int x = 0; x < dw; ++x) out[x] = PackSums(sums.data() + size_t(x) * 4);
  }
}
