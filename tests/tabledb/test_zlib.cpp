// The ZLIB module: its stored value format, levels, progress, and the
// refusal of damaged values.
#include <gtest/gtest.h>

#include <zlib.h>

#include <climits>
#include <vector>

#include "tabledb/Compress_Zlib.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Contents(TMemoryStream& s) { return Bytes(s.Memory(), s.Memory() + s.Size()); }

void Load(TMemoryStream& s, const Bytes& b) {
  s.Clear();
  s.WriteBuffer(b.data(), int64_t(b.size()));
}

// The stored form; position receives the target's position afterwards.
Bytes Encode(const Bytes& plain, uint8_t level = 1, int64_t* position = nullptr) {
  TCompAlgo_Zlib z(nullptr);
  z.SetLevel(level);
  TMemoryStream in, out;
  Load(in, plain);
  z.EncodeStream(&in, &out, -1);
  if (position) *position = out.Position();
  return Contents(out);
}

Bytes Decode(const Bytes& stored) {
  TCompAlgo_Zlib z(nullptr);
  TMemoryStream in, out;
  Load(in, stored);
  z.DecodeStream(&in, &out, -1);
  EXPECT_EQ(out.Position(), 0);
  return Contents(out);
}

int32_t Header(const Bytes& stored) {
  return int32_t(uint32_t(stored[0]) | uint32_t(stored[1]) << 8 | uint32_t(stored[2]) << 16 |
                 uint32_t(stored[3]) << 24);
}

Bytes WithHeader(int32_t header, const Bytes& body) {
  Bytes b = body;
  for (int i = 3; i >= 0; --i) b.insert(b.begin(), uint8_t(uint32_t(header) >> (8 * i)));
  return b;
}

// A zlib stream made by zlib itself, outside the module.
Bytes ZlibStream(const Bytes& plain, int level = Z_DEFAULT_COMPRESSION) {
  uLongf size = compressBound(uLong(plain.size()));
  Bytes out(size);
  EXPECT_EQ(compress2(out.data(), &size, plain.data(), uLong(plain.size()), level), Z_OK);
  out.resize(size);
  return out;
}

Bytes Noise(size_t n) {
  Bytes b(n);
  uint32_t x = 12345;
  for (auto& v : b) {
    x = x * 1103515245 + 12345;
    v = uint8_t(x >> 24);
  }
  return b;
}

TEST(ZlibModule, EmptyValueIsNoBytes) {
  EXPECT_TRUE(Encode({}).empty());
  EXPECT_TRUE(Decode({}).empty());
}

TEST(ZlibModule, CompressibleValueKeepsZlibStream) {
  Bytes plain(1000, 'x');
  int64_t position = -1;
  Bytes stored = Encode(plain, 1, &position);
  EXPECT_EQ(Header(stored), 1000);
  EXPECT_LT(stored.size(), 40u);
  EXPECT_EQ(Bytes(stored.begin() + 4, stored.end()), ZlibStream(plain));
  EXPECT_EQ(position, 0);
  EXPECT_EQ(Decode(stored), plain);
  // The module reads any zlib stream of that size, whoever wrote it.
  EXPECT_EQ(Decode(WithHeader(1000, ZlibStream(plain))), plain);
}

TEST(ZlibModule, IncompressibleValueIsStoredPlain) {
  Bytes plain = Noise(10);
  int64_t position = -1;
  Bytes stored = Encode(plain, 1, &position);
  EXPECT_EQ(Header(stored), -10);
  EXPECT_EQ(position, 14);
  EXPECT_EQ(Bytes(stored.begin() + 4, stored.end()), plain);
  EXPECT_EQ(Decode(stored), plain);
}

TEST(ZlibModule, LevelsMapToZlibLevels) {
  Bytes text;
  for (int i = 0; i < 2000; ++i) text.push_back(uint8_t("the quick brown fox "[i % 20] + (i % 97 == 0)));
  const struct {
    uint8_t level;
    int zlibLevel;
  } mapped[] = {{0, 9}, {1, Z_DEFAULT_COMPRESSION}, {2, 1}, {3, 1}};
  for (const auto& m : mapped) {
    Bytes stored = Encode(text, m.level);
    EXPECT_EQ(Header(stored), 2000) << int(m.level);
    EXPECT_EQ(Bytes(stored.begin() + 4, stored.end()), ZlibStream(text, m.zlibLevel)) << int(m.level);
    EXPECT_EQ(Decode(stored), text) << int(m.level);
  }
  // Level 4 and up store: zlib's stored blocks never beat the plain value.
  for (uint8_t level : {4, 200}) {
    Bytes stored = Encode(text, level);
    EXPECT_EQ(Header(stored), -2000) << int(level);
    EXPECT_EQ(Decode(stored), text) << int(level);
  }
  TCompAlgo_Zlib z(nullptr);
  EXPECT_EQ(z.GetLevel(), 1);
}

TEST(ZlibModule, LargeValueRoundTripsWithProgress) {
  Bytes plain = Noise(300000);
  for (size_t i = 0; i < plain.size(); i += 3) plain[i] = 'a';  // compressible, but not to one piece
  std::vector<int> encodeSteps, decodeSteps;
  TObject owner;
  TCompAlgo_Zlib z(&owner);
  z.OnEncodeProgress = [&](TObject* sender, int p) {
    EXPECT_EQ(sender, &owner);
    encodeSteps.push_back(p);
  };
  z.OnDecodeProgress = [&](TObject*, int p) { decodeSteps.push_back(p); };
  TMemoryStream in, packed, out;
  Load(in, plain);
  z.EncodeStream(&in, &packed, -1);
  ASSERT_GT(packed.Size(), 64 * 1024);
  z.DecodeStream(&packed, &out, -1);
  EXPECT_EQ(Contents(out), plain);

  ASSERT_FALSE(encodeSteps.empty());
  ASSERT_FALSE(decodeSteps.empty());
  EXPECT_TRUE(std::is_sorted(encodeSteps.begin(), encodeSteps.end()));
  EXPECT_TRUE(std::is_sorted(decodeSteps.begin(), decodeSteps.end()));
  EXPECT_LE(encodeSteps.back(), 100);
  EXPECT_EQ(decodeSteps.back(), 100);  // the last read reaches the end of the value
}

// Damaged values: each is refused with an error and nothing that the header
// claims is allocated; the target ends empty.
TEST(ZlibModule, DamagedValuesAreRefused) {
  Bytes plain(5000, 'q');
  for (size_t i = 0; i < plain.size(); i += 7) plain[i] = uint8_t(i);
  Bytes good = Encode(plain);
  ASSERT_GT(Header(good), 0);
  Bytes body(good.begin() + 4, good.end());

  Bytes badChecksum = good;
  badChecksum.back() ^= 0x01;
  Bytes badData = good;
  badData[good.size() / 2] ^= 0x55;
  Bytes truncated(good.begin(), good.end() - 6);
  Bytes trailing = good;
  trailing.push_back(0);

  struct Case {
    const char* what;
    Bytes stored;
    bool readError;  // the value ends short of its size
  } cases[] = {
      {"bad checksum", badChecksum, false},
      {"bad deflate data", badData, false},
      {"stream ends early", truncated, true},
      {"inflates short of the header", WithHeader(5001, body), true},
      {"inflates beyond the header", WithHeader(4999, body), false},
      {"bytes after the stream", trailing, false},
      {"header claims beyond any inflate ratio", WithHeader(INT32_MAX, body), false},
      {"header claims with no body", WithHeader(100, {}), false},
      {"INT_MIN header", WithHeader(INT32_MIN, body), false},
      {"zero header", WithHeader(0, body), false},
      {"stored length beyond the value", WithHeader(-20, Bytes(10, 'a')), false},
      {"stored length short of the value", WithHeader(-5, Bytes(10, 'a')), false},
      {"header cut short", Bytes{0x10, 0x00}, true},
  };
  for (const Case& c : cases) {
    TCompAlgo_Zlib z(nullptr);
    TMemoryStream in, out;
    Load(in, c.stored);
    out.WriteBuffer("old", 3);
    try {
      z.DecodeStream(&in, &out, -1);
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const EReadError& e) {
      EXPECT_TRUE(c.readError) << c.what << ": " << e.Message();
    } catch (const EDecompressionError& e) {
      EXPECT_FALSE(c.readError) << c.what << ": " << e.Message();
      EXPECT_FALSE(e.Message().empty());
    }
    EXPECT_EQ(out.Size(), 0) << c.what;
  }
}

}  // namespace
