// The digest family: published vectors, the reference block, the text forms,
// and block buffering across Calc calls.
#include <gtest/gtest.h>
#include <zlib.h>

#include <memory>
#include <vector>

#include "tabledb/Hash_CheckSum.h"
#include "tabledb/Hash_SHA.h"

namespace {

String Digest(THash& h, std::string_view text, int form = dsHex) {
  h.Init();
  h.Calc(text.data(), int64_t(text.size()));
  h.Done();
  return h.DigestStr(form);
}

std::unique_ptr<THash> Sha1() {
  auto sha = std::make_unique<THash_SHA>();
  sha->SetRotate(true);
  return sha;
}

struct ClassCase {
  const char* name;
  std::unique_ptr<THash> (*make)();
  int digestSize;
};

const ClassCase kClasses[] = {
    {"MD4", NewHash<THash_MD4>, 16},     {"RipeMD160", NewHash<THash_RipeMD160>, 20},
    {"SHA", NewHash<THash_SHA>, 20},     {"XOR32", NewHash<THash_XOR32>, 4},
    {"CRC32", NewHash<THash_CRC32>, 4},
};

// Runs body once per combination of the SHA and CRC-32 engines that the
// processor offers.
template <class Body>
void ForEachEngine(Body body) {
  const THashEngine savedSha = ShaEngine(), savedCrc = CRC32Engine();
  for (THashEngine e : {THashEngine::Portable, THashEngine::ProcessorExtensions}) {
    bool sha = SelectShaEngine(e), crc = SelectCRC32Engine(e);
    if (!sha && !crc) continue;
    SCOPED_TRACE(e == THashEngine::Portable ? "portable" : "processor extensions");
    body();
  }
  SelectShaEngine(savedSha);
  SelectCRC32Engine(savedCrc);
}

TEST(Hash, PublishedVectors) {
  struct Case {
    std::unique_ptr<THash> (*make)();
    const char* text;
    const char* hex;
  } cases[] = {
      {NewHash<THash_MD4>, "", "31D6CFE0D16AE931B73C59D7E0C089C0"},
      {NewHash<THash_MD4>, "abc", "A448017AAF21D8525FC10AE87AA6729D"},
      {NewHash<THash_MD4>, "12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "E33B4DDC9C38F2199C3E7B164FCC0536"},
      {NewHash<THash_RipeMD160>, "", "9C1185A5C5E9FC54612808977EE8F548B2258D31"},
      {NewHash<THash_RipeMD160>, "abc", "8EB208F7E05D987A9B044A8E98C6B087F15A0BFC"},
      {NewHash<THash_RipeMD160>, "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "12A053384A9C0C88E405A06C27DCF49ADA62EB2B"},
      // The database's SHA is SHA-0.
      {NewHash<THash_SHA>, "abc", "0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880"},
      {NewHash<THash_SHA>, "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "D2516EE1ACFA5BAF33DFC1C471E438449EF134C8"},
      {Sha1, "abc", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
      {Sha1, "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "84983E441C3BD26EBAAE4AA1F95129E5E54670F1"},
      // The digest bytes are the register least significant first.
      {NewHash<THash_CRC32>, "123456789", "2639F4CB"},
      {NewHash<THash_CRC32>, "", "00000000"},
  };
  ForEachEngine([&] {
    for (const Case& c : cases) {
      auto h = c.make();
      EXPECT_EQ(Digest(*h, c.text), c.hex) << h->ClassName() << " of \"" << c.text << "\"";
    }
  });
}

TEST(Hash, LongInputsAgreeBetweenEngines) {
  // 1,000,000 "a": the published long-message vectors of SHA-1 and SHA-0.
  std::string million(1000000, 'a');
  ForEachEngine([&] {
    EXPECT_EQ(Digest(*Sha1(), million), "34AA973CD4C4DAA4F61EEB2BDBAD27316534016F");
    THash_SHA sha0;
    EXPECT_EQ(Digest(sha0, million), "3232AFFA48628A26653B5AAA44541FD90D690603");
  });
}

// zlib's crc32 is an independent CRC-32: every length around the fold
// widths, at every alignment, must agree with it.
TEST(Hash, CRC32AgreesWithZlib) {
  std::vector<uint8_t> data(70000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 2654435761u >> 13);
  ForEachEngine([&] {
    for (size_t n : {0, 1, 15, 16, 17, 63, 64, 65, 79, 80, 127, 128, 129, 1000, 4103, 65536, 69990}) {
      for (size_t offset : {0, 1, 3, 8}) {
        THash_CRC32 crc;
        crc.Init();
        crc.Calc(data.data() + offset, int64_t(n));
        crc.Done();
        uint32_t expected = uint32_t(crc32(0, data.data() + offset, uInt(n)));
        EXPECT_EQ(LoadLE32(crc.DigestKey()), expected) << n << " bytes at offset " << offset;
      }
    }
  });
}

TEST(Hash, ReferenceBlockGivesTestVector) {
  for (const ClassCase& c : kClasses) {
    auto h = c.make();
    h->Init();
    h->Calc(kHashReferenceBlock, sizeof kHashReferenceBlock);
    h->Done();
    ASSERT_EQ(h->DigestKeySize(), c.digestSize) << c.name;
    EXPECT_EQ(HexText(h->DigestKey(), c.digestSize), HexText(h->TestVector(), c.digestSize)) << c.name;
  }
  THash_SHA sha;
  EXPECT_EQ(HexText(sha.TestVector(), 20), "DC1F7D7C96DDC7FC4D0AF2CC12E7F7665BB185AC");
  THash_CRC32 crc;
  EXPECT_EQ(HexText(crc.TestVector(), 4), "58EE1F31");
}

// Any split of the input into Calc calls gives the digest of the whole.
TEST(Hash, SplitInputMatchesWhole) {
  std::vector<uint8_t> data(300);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 37 + 11);
  for (const ClassCase& c : kClasses) {
    auto whole = c.make();
    whole->Init();
    whole->Calc(data.data(), int64_t(data.size()));
    whole->Done();
    String expected = whole->DigestStr(dsHex);
    for (size_t cut : {1, 55, 56, 63, 64, 65, 128, 200}) {
      // XOR32 pairs bytes from the start of each call: only even cuts keep
      // its pairing.
      if (String(c.name) == "XOR32" && cut % 2 == 1) continue;
      auto h = c.make();
      h->Init();
      h->Calc(data.data(), int64_t(cut));
      h->Calc(data.data() + cut, int64_t(data.size() - cut));
      h->Done();
      EXPECT_EQ(h->DigestStr(dsHex), expected) << c.name << " cut at " << cut;
    }
  }
}

TEST(Hash, ZeroOrNegativeLengthAddsNothing) {
  for (const ClassCase& c : kClasses) {
    auto a = c.make(), b = c.make();
    String plain = Digest(*a, "abc");
    b->Init();
    b->Calc("abc", 3);
    b->Calc("xyz", 0);
    b->Calc("xyz", -5);
    b->Done();
    EXPECT_EQ(b->DigestStr(dsHex), plain) << c.name;
  }
  THash_CRC32 crc;
  crc.Init();
  crc.Calc(nullptr, 10);
  crc.Done();
  EXPECT_EQ(crc.DigestStr(dsHex), "00000000");
}

TEST(Hash, XOR32PairsWordsAndNeverReadsPastOneByte) {
  // A heap block of exactly one byte: reading its neighbour would trip ASan.
  auto one = std::make_unique<uint8_t[]>(1);
  one[0] = 0x41;
  THash_XOR32 x;
  x.Init();
  x.Calc(one.get(), 1);
  x.Done();
  EXPECT_EQ(x.DigestStr(dsHex), "41000000");

  // "abc": the odd first word 'a','b', then the word 'b','c' after a
  // rotation by 5: (0x6261 rol 5) xor 0x6362.
  EXPECT_EQ(Digest(x, "abc"), "422F0C00");
  EXPECT_EQ(Digest(x, ""), "00000000");
}

TEST(HashText, Base64FormDropsTrailingZeroGroups) {
  struct Case {
    std::vector<uint8_t> bytes;
    const char* text;
  } cases[] = {
      {{}, ""},
      {{0x41}, "QQ=="},
      {{0x00, 0x00, 0x00}, ""},
      {{0x00, 0x00, 0x01}, "AAAB"},
      {{0x4D, 0x61, 0x6E}, "TWFu"},
      {{0x4D, 0x61}, "TWE="},
      {{0x10, 0x00, 0x00, 0xFF}, "E/w=="},  // the first group stops after one character
  };
  for (const Case& c : cases)
    EXPECT_EQ(Base64Text(c.bytes.data(), int64_t(c.bytes.size())), c.text);
}

TEST(HashText, DigestForms) {
  THash_SHA sha;
  EXPECT_EQ(Digest(sha, "abc", dsBase64), "AWS4qRTNKl50xPf/CCxNl/Ht+I=");
  EXPECT_EQ(sha.DigestStr(dsDefault), "AWS4qRTNKl50xPf/CCxNl/Ht+I=");
  EXPECT_EQ(sha.DigestStr(dsHex), "0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880");

  THash_MD4 md4;
  EXPECT_EQ(Digest(md4, "abc", dsHex).size(), 32u);
  String raw = md4.DigestStr(7);
  ASSERT_EQ(raw.size(), 16u);
  EXPECT_EQ(HexText(raw.data(), 16), "A448017AAF21D8525FC10AE87AA6729D");

  const uint8_t bytes[] = {0x0A, 0xFF, 0x00, 0x12};
  EXPECT_EQ(HexText(bytes, 2), "0AFF");
  EXPECT_EQ(HexText(bytes, -1), "0AFF");  // up to the first zero byte
  EXPECT_EQ(HexText(bytes, 4), "0AFF0012");
}

TEST(HashText, CalcStringAndCalcBuffer) {
  uint8_t digest[20];
  EXPECT_EQ(CalcString(NewHash<THash_SHA>, digest, "abc"), "AWS4qRTNKl50xPf/CCxNl/Ht+I=");
  EXPECT_EQ(HexText(digest, 20), "0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880");
  EXPECT_EQ(CalcBuffer(NewHash<THash_CRC32>, nullptr, "123456789", 9), Base64Text("\x26\x39\xF4\xCB", 4));
}

}  // namespace
