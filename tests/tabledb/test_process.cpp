// The data-processing framework: the cipher block loop and its progress,
// module registries and managers, and field buffers.
#include <gtest/gtest.h>

#include <vector>

#include "platform/DateTime.h"
#include "tabledb/Compress_Zlib.h"
#include "tabledb/Enc_Blowfish.h"
#include "tabledb/FieldBuffers.h"
#include "tabledb/TomeDBRegistry.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Contents(TMemoryStream& s) { return Bytes(s.Memory(), s.Memory() + s.Size()); }

Bytes Pattern(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = uint8_t(i * 7 + (i >> 9));
  return b;
}

// A cipher that records the pieces the block loop hands it.
class RecordingAlgo : public TEncryptAlgo {
 public:
  using TEncryptAlgo::TEncryptAlgo;
  void InitKey(const String&) override {}
  void EncodeBuffer(const void* s, void* t, int64_t n) override { Piece(s, t, n, 1); }
  void DecodeBuffer(const void* s, void* t, int64_t n) override { Piece(s, t, n, 0xFF); }
  std::vector<int64_t> pieces;

 private:
  void Piece(const void* s, void* t, int64_t n, uint8_t delta) {
    pieces.push_back(n);
    for (int64_t i = 0; i < n; ++i) static_cast<uint8_t*>(t)[i] = uint8_t(static_cast<const uint8_t*>(s)[i] + delta);
  }
};

TEST(BlockLoop, SplitsIntoPiecesAndReportsProgress) {
  TObject owner;
  RecordingAlgo algo(&owner);
  std::vector<int> progress;
  algo.OnEncodeProgress = [&](TObject* sender, int p) {
    EXPECT_EQ(sender, &owner);
    progress.push_back(p);
  };
  TMemoryStream source, target;
  Bytes plain = Pattern(10000);
  source.WriteBuffer(plain.data(), int64_t(plain.size()));
  algo.EncodeStream(&source, &target, -1);

  EXPECT_EQ(algo.pieces, (std::vector<int64_t>{4096, 4096, 1808}));
  EXPECT_EQ(progress, (std::vector<int>{0, 41, 82, 100, 0}));
  Bytes out = Contents(target);
  ASSERT_EQ(out.size(), plain.size());
  for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], uint8_t(plain[i] + 1)) << i;
}

TEST(BlockLoop, EmptyAndInPlaceAndPartial) {
  RecordingAlgo algo(nullptr);
  std::vector<int> progress;
  algo.OnDecodeProgress = [&](TObject*, int p) { progress.push_back(p); };
  TMemoryStream s;
  algo.DecodeStream(&s, nullptr, -1);
  EXPECT_TRUE(algo.pieces.empty());
  EXPECT_EQ(progress, (std::vector<int>{0, 0}));
  EXPECT_EQ(s.Size(), 0);

  // A nil target transforms the source in place; a given size counts from
  // the source's position.
  Bytes plain = Pattern(5000);
  s.WriteBuffer(plain.data(), 5000);
  s.SetPosition(100);
  algo.DecodeStream(&s, nullptr, 4100);
  Bytes out = Contents(s);
  for (size_t i = 0; i < out.size(); ++i) {
    bool inside = i >= 100 && i < 4200;
    ASSERT_EQ(out[i], inside ? uint8_t(plain[i] - 1) : plain[i]) << i;
  }
  // No source: nothing at all happens.
  algo.DecodeStream(nullptr, &s, -1);
}

TEST(BlockLoop, HalvesRoundToEven) {
  EXPECT_EQ(ProgressPercent(1, 8), 12);   // 12.5
  EXPECT_EQ(ProgressPercent(3, 8), 38);   // 37.5
  EXPECT_EQ(ProgressPercent(1, 3), 33);
  EXPECT_EQ(ProgressPercent(5, 0), 0);
}

// --- Registries and managers --------------------------------------------------------

class TestCompressA : public TCompressAlgo {
 public:
  using TCompressAlgo::TCompressAlgo;
  void EncodeStream(TStream*, TStream*, int64_t) override {}
  void DecodeStream(TStream*, TStream*, int64_t) override {}
};

TEST(Registry, BuiltInModulesAndRenaming) {
  EXPECT_EQ(CompressClassList().NameAt(0), "ZLIB");
  EXPECT_EQ(EncryptClassList().NameAt(0), "Blowfish");
  EXPECT_EQ(EncryptClassList().NameAt(1), "Twofish");
  EXPECT_EQ(EncryptClassList().NameAt(2), "Gost");
  EXPECT_EQ(EncryptClassList().IndexOf("gOsT"), 2);
  EXPECT_EQ(EncryptClassList().IndexOf("AES"), -1);

  int before = CompressClassList().Count();
  RegisterCompressClass<TestCompressA>("TestA");
  RegisterCompressClass<TestCompressA>("TestB");
  EXPECT_EQ(CompressClassList().Count(), before + 1);
  EXPECT_EQ(CompressClassList().IndexOf("TestA"), -1);
  EXPECT_EQ(CompressClassList().NameAt(CompressClassList().IndexOf("TestB")), "TestB");
}

TEST(Managers, SelectByNameKeepsSameClass) {
  TObject fileIO;
  TCompressMgr compress(&fileIO);
  EXPECT_EQ(compress.Algorithm(), nullptr);
  compress.SetAlgoName("zlib");
  auto* zlib = dynamic_cast<TCompAlgo_Zlib*>(compress.Algorithm());
  ASSERT_NE(zlib, nullptr);
  EXPECT_EQ(zlib->Owner(), &fileIO);
  zlib->SetLevel(0);
  compress.SetAlgoName("ZLIB");
  EXPECT_EQ(compress.Algorithm(), zlib);
  EXPECT_EQ(zlib->GetLevel(), 0);

  try {
    compress.SetAlgoName("LZMA");
    ADD_FAILURE();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Compression algorithm module 'LZMA' not found");
  }
  EXPECT_EQ(compress.Algorithm(), zlib);

  TEncryptMgr encrypt(&fileIO);
  try {
    encrypt.SetAlgoName("Rot13");
    ADD_FAILURE();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Encryption algorithm module 'Rot13' not found");
  }
  encrypt.SetAlgoName("blowfish");
  EXPECT_STREQ(encrypt.Algorithm()->ClassName(), "TEncAlgo_Blowfish");
  encrypt.SetAlgoName("Twofish");
  EXPECT_STREQ(encrypt.Algorithm()->ClassName(), "TEncAlgo_Twofish");
}

TEST(Managers, NoModuleIsGeneralError) {
  TCompressMgr compress(nullptr);
  TEncryptMgr encrypt(nullptr);
  TMemoryStream a, b;
  uint8_t buf[4] = {};
  auto expectGeneralError = [](auto op) {
    try {
      op();
      ADD_FAILURE();
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.Message(), "General error");
    }
  };
  expectGeneralError([&] { compress.EncodeStream(&a, &b, -1); });
  expectGeneralError([&] { compress.DecodeStream(&a, &b, -1); });
  expectGeneralError([&] { encrypt.EncodeStream(&a, &b, -1); });
  expectGeneralError([&] { encrypt.EncodeBuffer(buf, buf, 4); });
  expectGeneralError([&] { encrypt.DecodeBuffer(buf, buf, 4); });
  expectGeneralError([&] { encrypt.SetMode(ecmCBC); });
  expectGeneralError([&] { encrypt.InitKey("x"); });
  expectGeneralError([&] { encrypt.Done(); });
}

TEST(Managers, ProgressRelaysReachNewAlgorithms) {
  TObject fileIO;
  TEncryptMgr encrypt(&fileIO);
  std::vector<int> seen;
  encrypt.OnEncodeProgress = [&](TObject* sender, int p) {
    EXPECT_EQ(sender, &fileIO);
    seen.push_back(p);
  };
  encrypt.SetAlgoName("Gost");
  encrypt.InitKey("pw");
  TMemoryStream s;
  Bytes plain = Pattern(8192);
  s.WriteBuffer(plain.data(), 8192);
  encrypt.EncodeStream(&s, nullptr, -1);
  EXPECT_EQ(seen, (std::vector<int>{0, 50, 100, 0}));
}

// Each value starts from the same chaining state, however it is passed.
TEST(Managers, EveryValueStartsAfresh) {
  TEncryptMgr encrypt(nullptr);
  encrypt.SetAlgoName("Blowfish");
  encrypt.InitKey("password");
  encrypt.SetMode(ecmCBC);
  Bytes plain = Pattern(5000);

  Bytes viaBuffer(plain.size()), again(plain.size());
  encrypt.EncodeBuffer(plain.data(), viaBuffer.data(), int64_t(plain.size()));
  encrypt.EncodeBuffer(plain.data(), again.data(), int64_t(plain.size()));
  EXPECT_EQ(viaBuffer, again);

  TMemoryStream source, target, back;
  source.WriteBuffer(plain.data(), int64_t(plain.size()));
  encrypt.EncodeStream(&source, &target, -1);
  EXPECT_EQ(Contents(target), viaBuffer);
  target.SetPosition(0);
  encrypt.DecodeStream(&target, &back, -1);
  EXPECT_EQ(Contents(back), plain);
}

// A memory stream that takes only so many bytes.
class ShortStream : public TMemoryStream {
 public:
  explicit ShortStream(int64_t room) : room_(room) {}
  int64_t Write(const void* buffer, int64_t count) override {
    count = std::min(count, room_ - Size());
    return count > 0 ? TMemoryStream::Write(buffer, count) : 0;
  }

 private:
  int64_t room_;
};

TEST(Managers, FailedValueStillRewindsTheChain) {
  TEncryptMgr encrypt(nullptr);
  encrypt.SetAlgoName("Blowfish");
  encrypt.InitKey("password");
  encrypt.SetMode(ecmCBC);
  Bytes plain = Pattern(9000), expected(9000);
  encrypt.EncodeBuffer(plain.data(), expected.data(), 9000);

  TMemoryStream source;
  source.WriteBuffer(plain.data(), 9000);
  ShortStream full(5000);
  EXPECT_THROW(encrypt.EncodeStream(&source, &full, -1), EWriteError);

  TMemoryStream target;
  encrypt.EncodeStream(&source, &target, -1);
  EXPECT_EQ(Contents(target), expected);
}

// --- Field buffers ------------------------------------------------------------------

TEST(FieldBuffers, ItemsAndText) {
  char name[11] = "Dupont";
  int16_t small = -12, flag = 2;
  uint16_t word = 65000;
  int32_t number = 123456, day = 693594 + 2;  // 1900-01-01
  int32_t msecs = (13 * 3600 + 30 * 60) * 1000;
  int64_t large = -9000000000LL;
  double real = 2.5;
  double stamp = (double(693594) + 2) * 86400000.0 + msecs;
  TMemoryStream memo;
  memo.WriteBuffer("line\0rest", 9);
  TMemoryStream* memoRef = &memo;

  TFieldBuffers buffers;
  buffers.Add(name, 1, 11);
  buffers.Add(&small, 2, 2);
  buffers.Add(&flag, 5, 2);
  buffers.Add(&word, 4, 2);
  buffers.Add(&number, 3, 4);
  buffers.Add(&large, 25, 8);
  buffers.Add(&real, 6, 8);
  buffers.Add(&memoRef, 16, 0);
  buffers.Add(&day, 9, 4);
  buffers.Add(&msecs, 10, 4);
  buffers.Add(&stamp, 11, 8);
  buffers.Add(&number, 12, 4);

  ASSERT_EQ(buffers.Count(), 12);
  EXPECT_EQ(buffers.Items(0).AsText(), "Dupont");
  EXPECT_EQ(buffers.Items(1).AsText(), "-12");
  EXPECT_EQ(buffers.Items(2).AsText(), "True");
  EXPECT_EQ(buffers.Items(3).AsText(), "65000");
  EXPECT_EQ(buffers.Items(4).AsText(), "123456");
  EXPECT_EQ(buffers.Items(5).AsText(), "-9000000000");
  EXPECT_EQ(buffers.Items(6).AsText(), "2.5");
  EXPECT_EQ(buffers.Items(7).AsText(), "line");
  EXPECT_EQ(buffers.Items(8).AsText(), DateToStr(EncodeDate(1900, 1, 1)));
  EXPECT_EQ(buffers.Items(9).AsText(), TimeToStr(EncodeTime(13, 30, 0, 0)));
  EXPECT_EQ(buffers.Items(10).AsText(), DateTimeToStr(EncodeDate(1900, 1, 1) + EncodeTime(13, 30, 0, 0)));
  EXPECT_EQ(buffers.Items(11).AsText(), "");

  EXPECT_TRUE(buffers.Items(7).IsBlob());
  EXPECT_EQ(buffers.Items(7).Stream(), &memo);
  EXPECT_EQ(buffers.Items(7).ValueRef(), memo.Memory());
  EXPECT_FALSE(buffers.Items(4).IsBlob());
  EXPECT_EQ(buffers.Items(4).ValueRef(), &number);
  EXPECT_TRUE(buffers.Items(4).Active());

  // A string with no NUL in its width stops at the width.
  char full[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(buffers.Add(full, 1, 4).AsText(), "abcd");
  // A stamp that no date can hold gives the empty text.
  double bad = -1e300;
  EXPECT_EQ(buffers.Add(&bad, 11, 8).AsText(), "");

  buffers.Clear();
  EXPECT_EQ(buffers.Count(), 0);
}

}  // namespace
