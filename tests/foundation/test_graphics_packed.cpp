// The packed bitmap record, the pixel operations, the blend formula and the
// Lanczos resampler, on the host.
#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <random>

#include "foundation/vxGraphicsPacked.h"
#include "platform/Errors.h"

namespace {

std::vector<uint8_t> Encode(const std::vector<uint8_t>& data, int blockSize) {
  std::vector<uint8_t> out;
  vxEncodeRuns(data.data(), data.size(), blockSize, out);
  return out;
}

std::vector<uint8_t> Decode(const std::vector<uint8_t>& runs, int blockSize) {
  std::vector<uint8_t> out;
  vxDecodeRuns(runs.data(), runs.size(), blockSize, size_t(-1), out);
  return out;
}

// Platform bitmap data: a byte count, then that many bytes.
std::vector<uint8_t> PlatformData(const std::vector<uint8_t>& image) {
  const uint32_t n = uint32_t(image.size());
  std::vector<uint8_t> data = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
  for (uint8_t b : image) data.push_back(b);
  return data;
}

std::vector<uint8_t> ReadRecord(const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  stream.SetPosition(0);
  std::vector<uint8_t> data;
  EXPECT_TRUE(vxReadPackedBitmapData(stream, data));
  return data;
}

}  // namespace

TEST(PackedRuns, RunsOfTheDocumentedExamples) {
  struct Case {
    const char* name;
    std::vector<uint8_t> data;
    int blockSize;
    std::vector<uint8_t> runs;
  };
  std::vector<uint8_t> equal130(130 * 3);
  for (size_t i = 0; i < equal130.size(); i += 3) equal130[i] = 7, equal130[i + 1] = 8, equal130[i + 2] = 9;
  const Case cases[] = {
      {"130 equal blocks", equal130, 3, {125, 7, 8, 9, 5, 7, 8, 9}},
      {"a lone block", {0x11, 0x22}, 2, {0x81, 0x11, 0x22}},
      {"A B C C D", {'A', 'B', 'C', 'C', 'D'}, 1, {0x82, 'A', 'B', 2, 'C', 0x81, 'D'}},
      {"literal up to the end", {1, 2, 3}, 1, {0x83, 1, 2, 3}},
      {"a repeat at the end", {1, 2, 2}, 1, {0x81, 1, 2, 2}},
      {"nothing", {}, 4, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Encode(c.data, c.blockSize), c.runs);
    EXPECT_EQ(Decode(c.runs, c.blockSize), c.data);
  }
}

TEST(PackedRuns, LongLiteralRunsStopAt125) {
  std::vector<uint8_t> data(300);
  std::iota(data.begin(), data.end(), 0);
  const std::vector<uint8_t> runs = Encode(data, 1);
  ASSERT_EQ(runs.size(), 303u);
  EXPECT_EQ(runs[0], 0x80 | 125);
  EXPECT_EQ(runs[126], 0x80 | 125);
  EXPECT_EQ(runs[252], 0x80 | 50);
  EXPECT_EQ(Decode(runs, 1), data);
}

TEST(PackedRecord, RoundTripsWithThePrefixBeforeTheBlocks) {
  std::mt19937 random(5);
  for (int blockSize = 1; blockSize <= 4; ++blockSize) {
    for (size_t imageSize : {0u, 1u, 7u, 54u, 1000u}) {
      SCOPED_TRACE(testing::Message() << "B=" << blockSize << " size=" << imageSize);
      std::vector<uint8_t> image(imageSize);
      // Stretches of equal and of differing bytes, as bitmaps have.
      for (size_t i = 0; i < image.size(); ++i) image[i] = (i / 40) % 2 ? uint8_t(random()) : 0xEE;
      const std::vector<uint8_t> data = PlatformData(image);
      TMemoryStream stream;
      vxWritePackedBitmapData(stream, data.data(), data.size(), blockSize);
      const std::vector<uint8_t>& bytes = stream.Bytes();
      ASSERT_GE(bytes.size(), 12u);
      EXPECT_EQ(std::memcmp(bytes.data() + 4, "XDBM", 4), 0);
      EXPECT_EQ(bytes[8], 2);
      EXPECT_EQ(bytes[9], 0);
      const uint32_t count = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24;
      EXPECT_EQ(count, bytes.size() - 10);
      EXPECT_EQ(bytes[10], blockSize);
      const size_t prefix = data.size() % size_t(blockSize);
      ASSERT_EQ(bytes[11], prefix);
      EXPECT_TRUE(std::equal(data.begin(), data.begin() + std::ptrdiff_t(prefix), bytes.begin() + 12));
      EXPECT_EQ(ReadRecord(bytes), data);
    }
  }
}

TEST(PackedRecord, VersionOneIsRunsOfSingleBytes) {
  const std::vector<uint8_t> data = PlatformData({9, 9, 9, 9});
  std::vector<uint8_t> bytes = {0, 0, 0, 0, 'X', 'D', 'B', 'M', 1, 0};
  vxEncodeRuns(data.data(), data.size(), 1, bytes);
  bytes[0] = uint8_t(bytes.size() - 10);
  EXPECT_EQ(ReadRecord(bytes), data);
}

TEST(PackedRecord, PlainDataAreLeftForThePlatformReader) {
  TMemoryStream stream;
  const std::vector<uint8_t> plain = {4, 0, 0, 0, 'B', 'M', 1, 2, 3, 4, 5, 6};
  stream.WriteBuffer(plain.data(), int64_t(plain.size()));
  stream.SetPosition(2);
  std::vector<uint8_t> data;
  EXPECT_FALSE(vxReadPackedBitmapData(stream, data));
  EXPECT_EQ(stream.Position(), 2);
  stream.SetPosition(10);
  EXPECT_FALSE(vxReadPackedBitmapData(stream, data));  // too short for a header
  EXPECT_EQ(stream.Position(), 10);
}

TEST(PackedRecord, MalformedRecordsRaiseReadErrors) {
  auto record = [](int32_t count, uint16_t version, std::vector<uint8_t> payload) {
    const uint32_t n = uint32_t(count);
    std::vector<uint8_t> bytes = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24), 'X', 'D', 'B', 'M',
                                  uint8_t(version), uint8_t(version >> 8)};
    for (uint8_t b : payload) bytes.push_back(b);
    return bytes;
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"negative count", record(-1, 2, {1, 0})},
      {"count past the stream", record(1000, 2, {1, 0})},
      {"huge count", record(0x7FFFFFFF, 2, {1, 0})},
      {"block size 0", record(2, 2, {0, 0})},
      {"block size 5", record(2, 2, {5, 0})},
      {"prefix as long as a block", record(4, 2, {2, 2, 1, 1})},
      {"prefix past the payload", record(3, 2, {4, 3, 1})},
      {"payload without block size", record(1, 2, {1})},
      {"literal past the end", record(4, 2, {1, 0, 0x85, 1})},
      {"repeat without its block", record(5, 2, {3, 0, 4, 1, 2})},
      {"unknown version", record(2, 3, {1, 0})},
      // Declares 2 bytes of image, then repeats past them.
      {"run past the declared count", record(9, 2, {1, 0, 0x84, 2, 0, 0, 0, 100, 7})},
      // One repeat run writes the count (3) and goes on past it.
      {"run completing and passing the count", record(6, 2, {1, 0, 0x81, 3, 0x40, 0})},
      {"negative declared count", record(7, 2, {1, 0, 0x84, 0xFF, 0xFF, 0xFF, 0xFF})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMemoryStream stream;
    stream.WriteBuffer(c.bytes.data(), int64_t(c.bytes.size()));
    stream.SetPosition(0);
    std::vector<uint8_t> data;
    EXPECT_THROW(vxReadPackedBitmapData(stream, data), EReadError);
  }
}

TEST(PixelOperations, KnownPixels) {
  const std::vector<uint32_t> extra = {0x00123456};
  const TvxPixelTransparency transparency{0x00000000, &extra};
  struct Case {
    int operation;
    uint32_t before, after;
  };
  const Case cases[] = {
      // Opaque: each colour channel moves 3/10 of the way to white.
      {vxpoLighten, 0xFF000000, 0xFF4D4D4D},
      {vxpoLighten, 0xFF64C8FF, 0xFF93D9FF},
      // Translucent: all four channels scaled by 200/255.
      {vxpoLighten, 0x80FF6400, 0x64C84E00},
      {vxpoLighten, 0x00000000, 0x00000000},  // transparent: untouched
      {vxpoMask, 0x00000000, 0xFFFFFFFF},
      {vxpoMask, 0xFF123456, 0xFFFFFFFF},  // listed colour, any alpha
      {vxpoMask, 0xFF000000, 0x00000000},
      {vxpoMask, 0x01020304, 0x00000000},
      // 0.299*200 + 0.587*100 + 0.114*50 = 124.2
      {vxpoGray, 0xFFC86432, 0xFF7C7C7C},
      {vxpoGray, 0x80FFFFFF, 0x80FFFFFF},
      {vxpoGray, 0xFF123456, 0xFF123456},
      // 0.0729*200 + 0.7146*100 + 0.2125*50 = 96.67
      {vxpoGreenGray, 0xFFC86432, 0xFF616161},
      {vxpoGreenGray, 0x00000000, 0x00000000},
      {vxpoAverageGray, 0xFF0A141F, 0xFF141414},
      {vxpoOpaque, 0x00123456, 0xFF123456},
      {vxpoSolidAlpha, 0x00ABCDEF, 0xFFABCDEF},
      {vxpoSolidAlpha, 0x10ABCDEF, 0x10ABCDEF},
      {vxpoClearAlpha, 0xFFABCDEF, 0x00ABCDEF},
      {vxpoFillBk, 0xFFABCDEF, 0x00000000},
      {8, 0xFFABCDEF, 0xFFABCDEF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "operation " << c.operation << " on " << std::hex << c.before);
    uint32_t p = c.before;
    vxApplyPixelOperation(&p, 1, c.operation, transparency, 0x808080);
    EXPECT_EQ(p, c.after);
  }
}

TEST(PixelOperations, DisabledGrayBlendsTheShadowAt238) {
  // White grays to 255; the shadow 0x808080 at alpha 192 and factor 238:
  // k = 0.9333, e = 1 - k*192/255 = 0.2973; 0.9333*128 + 0.2973*255 = 195.3.
  uint32_t p = 0xFFFFFFFF;
  vxApplyPixelOperation(&p, 1, vxpoShadowGray, TvxPixelTransparency{0x12345678, nullptr}, 0x808080);
  EXPECT_EQ(p, 0xFFC3C3C3u);
}

TEST(BlendFormula, RoundsHalvesToEvenAndClamps) {
  EXPECT_EQ(vxRoundClampChannel(2.5f), 2);
  EXPECT_EQ(vxRoundClampChannel(3.5f), 4);
  EXPECT_EQ(vxRoundClampChannel(-4.0f), 0);
  EXPECT_EQ(vxRoundClampChannel(300.0f), 255);
  // Opaque colour at full factor covers the pixel; factor 0 leaves it.
  EXPECT_EQ(vxBlendColorOverPixel(0xFF102030, 0x80FFFFFF, 255), 0xFF102030u);
  EXPECT_EQ(vxBlendColorOverPixel(0xFF102030, 0x80FFFFFF, 0), 0x80FFFFFFu);
  // Half alpha at full factor: e = 1 - 128/255.
  EXPECT_EQ(vxBlendColorOverPixel(0x80000000, 0xFFFFFFFF, 255), 0xFF7F7F7Fu);
}

namespace {

std::vector<uint32_t> Resample(const std::vector<uint32_t>& src, int sw, int sh, int dw, int dh) {
  std::vector<uint32_t> dst(size_t(dw) * size_t(dh), 0xDEADBEEF);
  vxLanczosResample(src.data(), sw, sh, dst.data(), dw, dh);
  return dst;
}

}  // namespace

TEST(Lanczos, SameSizeIsBitIdentical) {
  std::mt19937 random(1);
  std::vector<uint32_t> src(16 * 16);
  for (uint32_t& p : src) p = random();
  EXPECT_EQ(Resample(src, 16, 16, 16, 16), src);
}

TEST(Lanczos, ContributorsStayInsideAndSumTo256) {
  struct Case {
    int n, m;
  };
  for (const Case c : {Case{10, 2}, Case{1000, 1}, Case{2, 1000}, Case{1, 7}, Case{3, 2}, Case{16, 16}, Case{7, 1}}) {
    SCOPED_TRACE(testing::Message() << c.n << " to " << c.m);
    const TvxContributorList list = vxBuildContributors(c.n, c.m, vxResampleScale(c.n, c.m));
    ASSERT_EQ(list.size(), size_t(c.m));
    for (const TvxContributors& taps : list) {
      ASSERT_FALSE(taps.index.empty());
      EXPECT_EQ(std::accumulate(taps.weight.begin(), taps.weight.end(), 0), 256);
      for (int i : taps.index) {
        EXPECT_GE(i, 0);
        EXPECT_LT(i, c.n);
      }
    }
  }
  EXPECT_FLOAT_EQ(vxResampleScale(10, 1), 0.1f);
  EXPECT_FLOAT_EQ(vxResampleScale(1, 8), 8.0f);
  EXPECT_FLOAT_EQ(vxResampleScale(10, 4), 3.0f / 9.0f);
}

TEST(Lanczos, LargeDownscalesKeepTheirBrightness) {
  // A flat grey picture stays that grey however far it shrinks.
  const std::vector<uint32_t> flat(1000 * 3, 0xFF808080);
  EXPECT_EQ(Resample(flat, 1000, 3, 1, 1), std::vector<uint32_t>{0xFF808080});
  EXPECT_EQ(Resample(flat, 1000, 3, 2, 3), std::vector<uint32_t>(6, 0xFF808080));
  std::vector<uint32_t> ramp(10);
  for (int i = 0; i < 10; ++i) ramp[size_t(i)] = 0xFF000000u | uint32_t(i * 20);
  const std::vector<uint32_t> two = Resample(ramp, 10, 1, 2, 1);
  EXPECT_EQ(two[0] >> 24, 0xFFu);
  EXPECT_LE(two[0] & 0xFF, 60u);
  EXPECT_GE(two[1] & 0xFF, 120u);
}

TEST(Lanczos, EnlargingOnePixelFillsTheArea) {
  EXPECT_EQ(Resample({0x80402010}, 1, 1, 5, 4), std::vector<uint32_t>(20, 0x80402010));
}
