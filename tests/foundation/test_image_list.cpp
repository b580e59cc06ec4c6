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

// The published settings: each change is told once, the background colour
// reaches the native list (and survives a new size), and all of them travel
// in form data with the size read before the images.
TEST_F(ImageListTest, PublishedSettingsReachTheNativeListAndTravelInFormData) {
  TvxImageList list(nullptr);
  EXPECT_EQ(list.BlendColor(), clNone);
  EXPECT_EQ(list.BkColor(), clNone);
  EXPECT_EQ(list.DrawingStyle(), dsNormal);
  EXPECT_EQ(list.ImageType(), itImage);
  EXPECT_FALSE(list.ShareImages());
  EXPECT_EQ(ImageList_GetBkColor(list.Handle()), CLR_NONE);
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  list.SetBkColor(clRed);
  list.SetBkColor(clRed);
  list.SetBlendColor(clBlue);
  list.SetDrawingStyle(dsSelected);
  list.SetImageType(itMask);
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(ImageList_GetBkColor(list.Handle()), RGB(255, 0, 0));
  list.SetSize(24, 24);
  EXPECT_EQ(ImageList_GetBkColor(list.Handle()), RGB(255, 0, 0));
  TvxBitmap32 image(24, 24, true);
  list.AddWithMask(&image, nullptr);
  TMemoryStream stream;
  TWriter(stream).WriteRootComponent(list);
  stream.SetPosition(0);
  TvxImageList copy(nullptr);
  TReader(stream).ReadRootComponent(copy);
  EXPECT_EQ(copy.BkColor(), clRed);
  EXPECT_EQ(copy.BlendColor(), clBlue);
  EXPECT_EQ(copy.DrawingStyle(), dsSelected);
  EXPECT_EQ(copy.ImageType(), itMask);
  EXPECT_EQ(copy.Width(), 24);
  EXPECT_EQ(copy.Height(), 24);
  EXPECT_EQ(copy.Count(), 1);
}

TEST_F(ImageListTest, ASharedNativeListOutlivesTheImageList) {
  HIMAGELIST shared;
  {
    TvxImageList list(nullptr);
    list.SetShareImages(true);
    auto strip = Strip({clRed, clLime});
    list.AddWithMask(strip.get(), nullptr);
    shared = list.Handle();
  }
  EXPECT_EQ(ImageList_GetImageCount(shared), 2);
  ImageList_Destroy(shared);
}

TEST_F(ImageListTest, ReplacingAnImageListFieldMovesTheLinkAndTheNotification) {
  struct Holder : TComponent {
    using TComponent::TComponent;
    TvxImageList* images = nullptr;
    void Notification(TComponent* c, TOperation op) override {
      TComponent::Notification(c, op);
      if (op == opRemove && c == images) images = nullptr;
    }
  };
  Holder holder(nullptr);
  TChangeLink link;
  int told = 0;
  link.OnChange = [&](TObject*) { ++told; };
  TvxImageList first(nullptr);
  auto second = std::make_unique<TvxImageList>(nullptr);

  vxReplaceImageListField(&first, holder.images, &link, &holder);
  EXPECT_EQ(holder.images, &first);
  EXPECT_EQ(link.Sender(), &first);
  EXPECT_EQ(told, 1);
  vxReplaceImageListField(&first, holder.images, &link, &holder);
  EXPECT_EQ(told, 1);  // already there: nothing
  first.SetBkColor(clRed);
  EXPECT_EQ(told, 2);

  vxReplaceImageListField(second.get(), holder.images, &link, &holder);
  EXPECT_EQ(link.Sender(), second.get());
  EXPECT_EQ(told, 3);
  first.SetBkColor(clBlue);
  EXPECT_EQ(told, 3);  // the old list no longer tells it
  second->SetBkColor(clBlue);
  EXPECT_EQ(told, 4);
  // The new list's end is told to the holder; the old one's is not.
  second.reset();
  EXPECT_EQ(holder.images, nullptr);
  EXPECT_EQ(link.Sender(), nullptr);

  vxReplaceImageListField(&first, holder.images, nullptr, nullptr);  // without link or holder
  EXPECT_EQ(holder.images, &first);
  EXPECT_EQ(told, 4);
}
