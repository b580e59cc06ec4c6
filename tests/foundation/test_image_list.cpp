// The image list over comctl32 and its form-stream properties.
#include <gtest/gtest.h>

#include "foundation/vxImageList.h"
#include "platform/FormStreams.h"

namespace {

// A 32-bit strip of cells of 16 x 16, cell i filled with colours[i].
std::unique_ptr<TvxBitmap32> Strip(const std::vector<TColor>& colours) {
  auto strip = std::make_unique<TvxBitmap32>(16 * int(colours.size()), 16);
  for (size_t i = 0; i < colours.size(); ++i) {
    strip->Canvas()->Brush()->SetColor(colours[i]);
    strip->Canvas()->FillRect(Bounds(int(i) * 16, 0, 16, 16));
  }
  return strip;
}

// The colour of stored image index (its centre pixel, RGB).
uint32_t StoredColour(TvxImageList& list, int index) {
  TvxBitmap32 image, mask;
  list.CopyStoredImage(index, &image, &mask);
  if (image.Empty()) return 0xDEADBEEF;
  return static_cast<uint32_t*>(image.ScanLine(8))[8] & 0xFFFFFF;
}

uint32_t NativeColour(TvxImageList& list, int index) {
  TvxBitmap32 image;
  TvxBitmap mask;
  TvxImageList::ReadNativeImage(list.Handle(), index, &image, &mask);
  image.SetPixelFormat(pf32bit);
  return static_cast<uint32_t*>(image.ScanLine(8))[8] & 0xFFFFFF;
}

class ImageListTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { vxRegisterImageListClasses(); }
};

}  // namespace

TEST_F(ImageListTest, StripsAreCutIntoCells) {
  TvxImageList list(nullptr);
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  auto strip = Strip({clRed, clLime, clBlue});
  EXPECT_EQ(list.AddWithMask(strip.get(), nullptr), 0);
  EXPECT_EQ(list.Count(), 3);
  ASSERT_EQ(list.ImageInfo()->Count(), 3);
  EXPECT_EQ(list.ImageInfo()->Item(2)->ImageInfo()->Image()->Width(), 16);
  EXPECT_EQ(StoredColour(list, 1), 0x00FF00u);
  EXPECT_EQ(NativeColour(list, 2), 0x0000FFu);
  EXPECT_EQ(changes, 1);

  TvxBitmap32 odd(20, 16);
  list.AddWithMask(&odd, nullptr);
  EXPECT_EQ(list.ImageInfo()->Count(), 4);
  EXPECT_EQ(list.ImageInfo()->Item(3)->ImageInfo()->Image()->Width(), 20);
  EXPECT_EQ(vxCellCountOfBitmap(strip.get(), 0, 16), 1);
}

TEST_F(ImageListTest, MoveImageShiftsTheOthers) {
  TvxImageList list(nullptr);
  auto strip = Strip({clRed, clLime, clBlue, clYellow});
  list.AddWithMask(strip.get(), nullptr);
  list.MoveImage(0, 3);
  const uint32_t expected[] = {0x00FF00, 0x0000FF, 0xFFFF00, 0xFF0000};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(StoredColour(list, i), expected[i]) << i;
    EXPECT_EQ(NativeColour(list, i), expected[i]) << i;
  }
  list.DeleteImage(0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(StoredColour(list, 0), 0x0000FFu);
  EXPECT_EQ(StoredColour(list, 7), 0xDEADBEEFu);
}

TEST_F(ImageListTest, ImageInfoRoundTripsPackedAndPlain) {
  for (bool compress : {false, true}) {
    SCOPED_TRACE(compress ? "packed" : "plain");
    TvxImageList list(nullptr);
    list.SetName("Images");
    list.SetCompressData(compress);
    auto strip = Strip({clRed, clLime, clBlue});
    list.AddWithMask(strip.get(), nullptr);
    TMemoryStream stream;
    TWriter(stream).WriteRootComponent(list);
    const String bytes(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.Size()));
    EXPECT_NE(bytes.find("FormatVersion"), String::npos);
    EXPECT_NE(bytes.find("ImageInfo"), String::npos);
    EXPECT_EQ(bytes.find("XDBM") != String::npos, compress);

    stream.SetPosition(0);
    TvxImageList copy(nullptr);
    TReader(stream).ReadRootComponent(copy);
    EXPECT_EQ(copy.FormatVersion(), 1);
    ASSERT_EQ(copy.Count(), 3);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(StoredColour(copy, i), StoredColour(list, i));
      EXPECT_EQ(NativeColour(copy, i), StoredColour(list, i));
    }
  }
}

TEST_F(ImageListTest, AnEmptyListWritesOnlyItsVersion) {
  TvxImageList list(nullptr);
  TMemoryStream stream;
  TWriter(stream).WriteRootComponent(list);
  const String bytes(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.Size()));
  EXPECT_NE(bytes.find("FormatVersion"), String::npos);
  EXPECT_EQ(bytes.find("ImageInfo"), String::npos);
}

TEST_F(ImageListTest, DisabledImagesDrawThroughTheGlyphRenderer) {
  TvxImageList list(nullptr);
  auto strip = Strip({clRed});
  list.AddWithMask(strip.get(), nullptr);
  TvxBitmap32 dest(20, 20);
  dest.Canvas()->Brush()->SetColor(clWhite);
  dest.Canvas()->FillRect(TRect(0, 0, 20, 20));
  list.Draw(dest.Canvas(), 2, 2, 0, true);
  EXPECT_EQ(static_cast<uint32_t*>(dest.ScanLine(10))[10] & 0xFFFFFF, 0xFF0000u);
  list.Draw(dest.Canvas(), 2, 2, 0, false);
  const uint32_t disabled = static_cast<uint32_t*>(dest.ScanLine(10))[10] & 0xFFFFFF;
  EXPECT_EQ((disabled >> 16) & 0xFF, disabled & 0xFF) << std::hex << disabled;  // gray, no longer red
}
