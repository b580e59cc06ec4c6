// The skin stream: round trip, version rules, and streams that are damaged
// or hostile.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "SkinFixtures.h"
#include "skins/vdSkinsStrs.h"

namespace {

// Builds streams field by field, as an older or a hostile writer would.
struct Bytes {
  std::vector<uint8_t> b;
  Bytes& i32(int32_t v) { return raw(&v, 4); }
  Bytes& u8(uint8_t v) { return raw(&v, 1); }
  Bytes& u16(uint16_t v) { return raw(&v, 2); }
  Bytes& f64(double v) { return raw(&v, 8); }
  Bytes& str(const std::string& s) { return i32(int32_t(s.size())).raw(s.data(), s.size()); }
  Bytes& raw(const void* p, size_t n) {
    b.insert(b.end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n);
    return *this;
  }
  Bytes& header(double version, const std::string& name = "Old") { return i32(6).raw("vdSkin", 6).f64(version).str(name); }
  Bytes& rect(int32_t l, int32_t t, int32_t r, int32_t bt) { return i32(l).i32(t).i32(r).i32(bt); }
  // An image record; gradient fields only from 1.02.
  Bytes& image(double version, const std::vector<uint8_t>& png, uint16_t states = 1) {
    rect(0, 0, 0, 0).u8(0).u16(states).u8(0);
    if (version >= 1.02) i32(0xFF).i32(0xFF00).u8(1);
    return i32(int32_t(png.size())).raw(png.data(), png.size());
  }
  // One group "G" with one element "E" whose image count is given.
  Bytes& oneElement(double version, int32_t imageCount, const std::vector<uint8_t>& png) {
    i32(0).i32(0).i32(1).str("G").i32(1).str("E");
    i32(0x123456).u8(255).i32(imageCount).rect(0, 0, 0, 0);
    image(version, {}).image(version, png);
    for (const char* side : {"Left", "Top", "Right", "Bottom"}) str("TvdSkinBorder").str(side).i32(vdSkinColorNone).i32(1);
    return i32(0x0).i32(3).i32(4).i32(0).i32(0);  // text colour, min size, no properties; no group properties
  }
};

std::vector<uint8_t> Png(int w, int h) { return MakePicture(w, h).Bytes(); }

TEST(SkinStream, SavedSkinReadsBackEqual) {
  auto skin = MakeSmallSkin();
  std::vector<uint8_t> bytes = SaveSkin(*skin);
  ASSERT_GT(bytes.size(), 18u);
  int32_t six;
  std::memcpy(&six, bytes.data(), 4);
  EXPECT_EQ(six, 6);
  EXPECT_EQ(std::memcmp(bytes.data() + 4, "vdSkin", 6), 0);

  TvdSkin read("");
  LoadSkin(read, bytes);
  EXPECT_EQ(read.Name(), "Small");
  EXPECT_EQ(read.Version(), 1.03);
  EXPECT_TRUE(read.IsEqual(*skin));
  EXPECT_EQ(SaveSkin(read), bytes);
  EXPECT_EQ(read.DisplayName(), "Sm\xE9ll");  // through UTF-16 and back
}

TEST(SkinStream, VersionRules) {
  TvdSkin skin("Kept");
  skin.AddGroup("Mine");
  std::vector<uint8_t> old = Bytes().header(0.95).i32(0).i32(0).i32(0).b;
  try {
    LoadSkin(skin, old);
    FAIL() << "a 0.95 stream was read";
  } catch (const EvdSkin& e) {
    EXPECT_STREQ(e.what(),
                 "The skin data version is older than the current Skins Library version.\r\n"
                 "Skins cannot be loaded due to a version mismatch.");
  }
  EXPECT_EQ(skin.Name(), "Kept");
  EXPECT_NE(skin.GetGroupByName("Mine"), nullptr);

  LoadSkin(skin, Bytes().header(7.5, "New").i32(0).i32(0).i32(0).b);
  EXPECT_EQ(skin.Version(), 1.03);
  EXPECT_EQ(skin.Name(), "New");
  EXPECT_EQ(skin.Groups().Count(), 0);

  // 1.01: image records without gradient fields keep their defaults.
  LoadSkin(skin, Bytes().header(1.01).oneElement(1.01, 1, Png(8, 4)).b);
  TvdSkinElement* e = skin.GetGroupByName("G")->GetElementByName("E");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Image().GradientBeginColor(), vdSkinColorNone);
  EXPECT_EQ(e->Image().Gradient(), gmHorizontal);
  EXPECT_EQ(e->Image().GetSize(), (TSize{8, 4}));
  EXPECT_EQ(e->Color(), 0x123456);
  EXPECT_EQ(e->MinSize(), (TSize{3, 4}));

  // 1.02 carries them.
  LoadSkin(skin, Bytes().header(1.02).oneElement(1.02, 1, Png(8, 4)).b);
  e = skin.GetGroupByName("G")->GetElementByName("E");
  EXPECT_EQ(e->Image().GradientEndColor(), 0xFF00);
  EXPECT_EQ(e->Image().Gradient(), gmVertical);
}

TEST(SkinStream, SignatureAndImageCount) {
  TvdSkin skin("S");
  for (auto bad : {Bytes().i32(6).raw("vdSkiX", 6).f64(1.03).b, Bytes().i32(6).raw("vdS", 3).b})
    try {
      LoadSkin(skin, bad);
      FAIL();
    } catch (const EvdSkin& e) {
      EXPECT_STREQ(e.what(), "Invalid stream format");
    }
  // The leading Int32 is not checked.
  Bytes any;
  any.i32(99).raw("vdSkin", 6).f64(1.03).str("Any").i32(0).i32(0).i32(0);
  LoadSkin(skin, any.b);
  EXPECT_EQ(skin.Name(), "Any");

  // A stored image count of 0 is taken as 1: the layout divides by it.
  LoadSkin(skin, Bytes().header(1.03).oneElement(1.03, 0, Png(8, 4)).b);
  TvdSkinElement* e = skin.GetGroupByName("G")->GetElementByName("E");
  EXPECT_EQ(e->ImageCount(), 1);
  EXPECT_EQ(e->Image().GetSize(), (TSize{8, 4}));
}

// Every cut of a valid stream is refused with EvdSkin and leaves the skin
// that was loaded before untouched.
TEST(SkinStream, EveryCutIsRefusedAndLeavesTheSkinUntouched) {
  std::vector<uint8_t> bytes = SaveSkin(*MakeSmallSkin());
  TvdSkin skin("Before");
  skin.AddGroup("Mine");
  int listened = 0;
  skin.OnChange = [&](TvdSkinCustomPersistentObject*) { ++listened; };
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    std::vector<uint8_t> part(bytes.begin(), bytes.begin() + cut);
    EXPECT_THROW(LoadSkin(skin, part), EvdSkin) << "cut at " << cut;
  }
  EXPECT_EQ(skin.Name(), "Before");
  EXPECT_EQ(skin.Groups().Count(), 1);
  EXPECT_EQ(listened, 0);
}

TEST(SkinStream, HostileFieldsAreRefused) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* message;
  };
  std::vector<uint8_t> png = Png(4, 4);
  Bytes negative;
  negative.header(1.03).i32(0).i32(0).i32(1).str("G").i32(1).str("E").i32(0).u8(255).i32(1).rect(0, 0, 0, 0);
  negative.rect(0, 0, 0, 0).u8(0).u16(1).u8(0).i32(0).i32(0).u8(0).i32(-5);
  Bytes notPng;
  notPng.header(1.03).oneElement(1.03, 1, std::vector<uint8_t>(40, 'x'));
  const Case cases[] = {
      {"negative picture size", negative.b, sdxSkinNegativeSize},
      {"picture that is not PNG", notPng.b, sdxSkinInvalidPicture},
      {"property of a class no stream may name",
       Bytes().header(1.03).i32(0).i32(1).str("TvdSkinBorder").str("B").i32(1).i32(1).i32(0).b,
       "Class TvdSkinBorder not found"},
      {"colour count beyond the bytes left", Bytes().header(1.03).i32(0x7FFFFFFF).b, sdxSkinStreamTruncated},
      {"string length beyond the bytes left", Bytes().header(1.03).i32(1).str("TvdSkinColor").i32(1 << 30).b,
       sdxSkinStreamTruncated},
      {"wide string beyond the bytes left",
       Bytes().header(1.03).i32(0).i32(1).str("TvdSkinWideStringProperty").str("W").i32(0x40000000).b,
       sdxSkinStreamTruncated},
      {"version that is not a number", Bytes().header(std::nan("")).i32(0).i32(0).i32(0).b, sdxSkinVersionMismatch},
  };
  for (const Case& c : cases) {
    TvdSkin skin("Kept");
    try {
      LoadSkin(skin, c.bytes);
      ADD_FAILURE() << c.what << ": read";
    } catch (const EvdSkin& e) {
      EXPECT_STREQ(e.what(), c.message) << c.what;
    }
    EXPECT_EQ(skin.Name(), "Kept") << c.what;
  }
}

TEST(SkinStream, NegativeCountsAndLengthsAreEmpty) {
  TvdSkin skin("S");
  LoadSkin(skin, Bytes().header(1.03).i32(-3).i32(1).str("TvdSkinStringProperty").i32(-1).i32(-4).i32(-2).b);
  ASSERT_EQ(skin.PropertyCount(), 1);
  EXPECT_EQ(skin.Property(0)->Name(), "");
  EXPECT_EQ(skin.Colors().Count(), 0);
  EXPECT_EQ(skin.Groups().Count(), 0);
}

TEST(SkinStream, PropertyClassNamesMatchInAnyCase) {
  TvdSkin skin("S");
  LoadSkin(skin, Bytes().header(1.03).i32(0).i32(1).str("tvdskinINTEGERproperty").str("N").i32(42).i32(0).b);
  auto* n = dynamic_cast<TvdSkinIntegerProperty*>(skin.GetPropertyByName("N"));
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->Value(), 42);
}

TEST(SkinStream, PartStreamKeepsToItsWindow) {
  TMemoryStream source;
  source.WriteBuffer("0123456789", 10);
  TvdSkinPartStream part;
  part.Initialize(&source, 3, 7);
  EXPECT_EQ(part.Size(), 4);
  EXPECT_EQ(part.Seek(0, soBeginning), 0);
  char buffer[10] = {};
  EXPECT_EQ(part.Read(buffer, 10), 4);
  EXPECT_STREQ(buffer, "3456");
  EXPECT_EQ(part.Seek(100, soBeginning), 4);
  EXPECT_EQ(source.Position(), 7);
  EXPECT_EQ(part.Seek(-100, soEnd), 0);
  EXPECT_EQ(part.Seek(2, soCurrent), 2);
  EXPECT_EQ(part.Read(buffer, 1), 1);
  EXPECT_EQ(buffer[0], '5');
}

}  // namespace
