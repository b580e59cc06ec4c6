// Entry data coding: CRC-32, traditional encryption, deflate framing.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>

#include "archive/ZipArchiverCoding.h"

namespace {

std::vector<uint8_t> MixedData(size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> v(size);
  for (size_t i = 0; i < size; ++i) v[i] = (i / 4096) % 2 ? uint8_t(rng()) : uint8_t("abcdefgh"[rng() % 8]);
  return v;
}

// Inflates raw deflate data with zlib directly, as any other zip reader would.
std::vector<uint8_t> RawInflate(const std::vector<uint8_t>& in, size_t expected) {
  std::vector<uint8_t> out(expected + 16);
  z_stream zs{};
  EXPECT_EQ(inflateInit2(&zs, -MAX_WBITS), Z_OK);
  zs.next_in = const_cast<Bytef*>(in.data());
  zs.avail_in = uInt(in.size());
  zs.next_out = out.data();
  zs.avail_out = uInt(out.size());
  EXPECT_EQ(inflate(&zs, Z_FINISH), Z_STREAM_END);
  out.resize(zs.total_out);
  inflateEnd(&zs);
  return out;
}

}  // namespace

TEST(ZACoding, Crc32) {
  EXPECT_EQ(ZACrc32("abc", 3), 0x352441C2u);
  EXPECT_EQ(ZACrc32("", 0), 0u);
  // Running form: pieces give the same as the whole; no buffer changes nothing.
  uint32_t crc = UpdateCrc32(ZACrcStart, "a", 1);
  crc = UpdateCrc32(crc, nullptr, 5);
  crc = UpdateCrc32(crc, "bc", 2);
  EXPECT_EQ(ZACrcFinal(crc), 0x352441C2u);
}

TEST(ZACoding, EncryptionRoundTripAndHeaderCheck) {
  std::vector<uint8_t> data = MixedData(10000, 1);
  const std::vector<uint8_t> plain = data;
  const uint32_t crc = ZACrc32(data.data(), data.size());

  uint8_t header[ZAEncryptionHeaderSize];
  TZAKeys enc;
  MakeEncryptionHeader(header, "s\xE9same", crc, enc);
  EncryptBuffer(data.data(), data.size(), enc);
  EXPECT_NE(data, plain);

  TZAKeys dec;
  ASSERT_TRUE(CheckEncryptionHeader(header, "s\xE9same", ZAPasswordCheckByte(crc, 0, 0), dec));
  DecryptBuffer(data.data(), data.size(), dec);
  EXPECT_EQ(data, plain);

  // A wrong password fails the check byte (the random bytes make a false
  // positive possible, 1 in 256; this header was made for the right one).
  int accepted = 0;
  for (const char* wrong : {"sesame", "S\xC9SAME", "", "x", "s\xE9same "})
    accepted += CheckEncryptionHeader(header, wrong, ZAPasswordCheckByte(crc, 0, 0), dec);
  EXPECT_LE(accepted, 1);
}

TEST(ZACoding, KnownKeyStream) {
  // Keys after the password "abc", from the published key schedule.
  TZAKeys k;
  InitKeys(k, "");
  EXPECT_EQ(k.Key0, 0x12345678u);
  EXPECT_EQ(k.Key1, 0x23456789u);
  EXPECT_EQ(k.Key2, 0x34567890u);
  // Encrypting zeros then decrypting with fresh keys returns zeros.
  uint8_t buf[16] = {};
  InitKeys(k, "abc");
  EncryptBuffer(buf, sizeof buf, k);
  TZAKeys k2;
  InitKeys(k2, "abc");
  DecryptBuffer(buf, sizeof buf, k2);
  for (uint8_t b : buf) EXPECT_EQ(b, 0);
}

// Lanes of unequal lengths (empty ones too, and more lanes than are worked
// on at once) decrypt exactly as each buffer alone, and leave the same keys.
TEST(ZACoding, LanesDecryptAsSingleBuffers) {
  const size_t lengths[] = {5000, 0, 1, 4999, 12, 70000, 3, 5000, 2};
  std::vector<std::vector<uint8_t>> cipher, expected;
  std::vector<TZAKeys> expectedKeys;
  std::vector<TZADecryptLane> lanes;
  for (size_t i = 0; i < std::size(lengths); ++i) {
    cipher.push_back(MixedData(lengths[i], unsigned(10 + i)));
    TZAKeys keys;
    InitKeys(keys, std::string("pw") + char('a' + i));
    lanes.push_back({nullptr, lengths[i], keys});
    expected.push_back(cipher.back());
    DecryptBuffer(expected.back().data(), expected.back().size(), keys);
    expectedKeys.push_back(keys);
  }
  for (size_t i = 0; i < lanes.size(); ++i) lanes[i].Data = cipher[i].data();
  DecryptLanes(lanes.data(), lanes.size());
  for (size_t i = 0; i < lanes.size(); ++i) {
    EXPECT_EQ(cipher[i], expected[i]) << "lane " << i;
    EXPECT_EQ(lanes[i].Count, 0u);
    EXPECT_EQ(lanes[i].Data, cipher[i].data() + lengths[i]);
    EXPECT_EQ(lanes[i].Keys.Key0, expectedKeys[i].Key0);
    EXPECT_EQ(lanes[i].Keys.Key1, expectedKeys[i].Key1);
    EXPECT_EQ(lanes[i].Keys.Key2, expectedKeys[i].Key2);
  }
}

TEST(ZACoding, CheckByteFollowsDataDescriptorFlag) {
  EXPECT_EQ(ZAPasswordCheckByte(0xAB123456u, 0x7C21, 0), 0xAB);
  EXPECT_EQ(ZAPasswordCheckByte(0xAB123456u, 0x7C21, 8), 0x7C);
}

TEST(ZACoding, BlockSizesByMode) {
  const size_t expected[10] = {1048576, 524288, 524288, 524288, 1048576,
                               1048576, 1048576, 1572864, 1572864, 1572864};
  for (int mode = 0; mode <= 9; ++mode) EXPECT_EQ(ZABlockSizeForMode(mode), expected[mode]) << mode;
}

TEST(ZACoding, DeflateInBlocksIsOneRawStream) {
  // 3 MiB at mode 9: two blocks of 1.5 MiB, a sync flush after the first.
  const std::vector<uint8_t> src = MixedData(3 * 1024 * 1024, 2);
  const size_t block = ZABlockSizeForMode(9);
  TZADeflater deflater(9);
  std::vector<uint8_t> all, out;
  deflater.DeflateBlock(src.data(), block, false, out);
  ASSERT_GE(out.size(), 4u);
  EXPECT_EQ(std::vector<uint8_t>(out.end() - 4, out.end()), (std::vector<uint8_t>{0, 0, 0xFF, 0xFF}));
  all = out;
  deflater.DeflateBlock(src.data() + block, src.size() - block, true, out);
  all.insert(all.end(), out.begin(), out.end());
  EXPECT_EQ(RawInflate(all, src.size()), src);

  // And our inflater reads it back in small chunks, in bounded pieces.
  TZAInflater inflater;
  std::vector<uint8_t> back;
  size_t largestPiece = 0;
  TZAInflater::Result r = TZAInflater::irMore;
  for (size_t at = 0; at < all.size() && r == TZAInflater::irMore; at += 1000) {
    r = inflater.InflateBlock(all.data() + at, std::min<size_t>(1000, all.size() - at),
                              [&](const uint8_t* p, size_t n) {
                                largestPiece = std::max(largestPiece, n);
                                back.insert(back.end(), p, p + n);
                                return true;
                              });
  }
  EXPECT_EQ(r, TZAInflater::irEnd);
  EXPECT_EQ(back, src);
  EXPECT_LE(largestPiece, 256u * 1024);
}

TEST(ZACoding, InflateStopsOnGarbageAndOnSinkRefusal) {
  TZAInflater bad;
  const uint8_t garbage[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(bad.InflateBlock(garbage, sizeof garbage, [](const uint8_t*, size_t) { return true; }),
            TZAInflater::irError);

  // A bomb: a megabyte of zeros in a few hundred bytes; the sink says stop.
  const std::vector<uint8_t> zeros(1 << 20);
  TZADeflater d(9);
  std::vector<uint8_t> packed;
  d.DeflateBlock(zeros.data(), zeros.size(), true, packed);
  TZAInflater inflater;
  size_t seen = 0;
  EXPECT_EQ(inflater.InflateBlock(packed.data(), packed.size(),
                                  [&](const uint8_t*, size_t n) {
                                    seen += n;
                                    return seen < 1000;
                                  }),
            TZAInflater::irStopped);
  EXPECT_LE(seen, 256u * 1024);
}

// Straight into a buffer of the declared size, fed in chunks: exactly the
// data fit; one byte less of room stops; garbage is an error; a reset
// inflater takes a new stream.
TEST(ZACoding, InflateIntoBoundedBuffer) {
  const std::vector<uint8_t> src = MixedData(300000, 3);
  TZADeflater d(6);
  std::vector<uint8_t> packed;
  d.DeflateBlock(src.data(), src.size(), true, packed);
  struct Case {
    size_t capacity;
    TZAInflater::Result last;
  };
  TZAInflater inflater;
  for (const Case& c : {Case{src.size(), TZAInflater::irEnd}, Case{src.size() - 1, TZAInflater::irStopped},
                        Case{0, TZAInflater::irStopped}}) {
    inflater.Reset();
    std::vector<uint8_t> out(std::max<size_t>(c.capacity, 1));
    size_t produced = 0;
    TZAInflater::Result r = TZAInflater::irMore;
    for (size_t at = 0; at < packed.size() && r == TZAInflater::irMore; at += 777)
      r = inflater.InflateInto(packed.data() + at, std::min<size_t>(777, packed.size() - at), out.data(),
                               c.capacity, produced);
    EXPECT_EQ(r, c.last) << c.capacity;
    EXPECT_LE(produced, c.capacity);
    if (c.last == TZAInflater::irEnd) {
      EXPECT_TRUE(std::equal(src.begin(), src.end(), out.begin()));
    }
  }
  inflater.Reset();
  const uint8_t garbage[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  uint8_t out[16];
  size_t produced = 0;
  EXPECT_EQ(inflater.InflateInto(garbage, sizeof garbage, out, sizeof out, produced), TZAInflater::irError);
  // An empty stream needs no room at all.
  std::vector<uint8_t> empty;
  TZADeflater e(6);
  e.DeflateBlock(nullptr, 0, true, empty);
  inflater.Reset();
  produced = 0;
  EXPECT_EQ(inflater.InflateInto(empty.data(), empty.size(), out, 0, produced), TZAInflater::irEnd);
  EXPECT_EQ(produced, 0u);
}
