// The GDI+ picture and the picture container under Wine, on image files
// written by GDI+'s own encoders.
#include <gtest/gtest.h>

#include <objidl.h>
// objidl.h first: the GDI+ header needs its property types.
#include <gdiplus.h>

#include "SmoothFixture.h"
#include "support/TestSupport.h"
#include "smooth/GDIPPictureContainer.h"
#include "smooth/LuxGDIPPicture.h"

namespace {

using testing_support::TempDir;

// Writes a width x height image of one colour with GDI+'s encoder of the
// format named by the encoder's class id.
void SaveImage(const String& file, int width, int height, ARGB color, const CLSID& encoder) {
  TGPBitmap bitmap(width, height, kPixelFormat32bppARGB);
  {
    TGPGraphics g(&bitmap);
    g.Clear(color);
  }
  const WideString wide = AnsiToWide(file);
  ASSERT_EQ(Gdiplus::DllExports::GdipSaveImageToFile(static_cast<Gdiplus::GpImage*>(bitmap.NativeHandle()),
                                                     reinterpret_cast<const WCHAR*>(wide.c_str()), &encoder, nullptr),
            Gdiplus::Ok);
}

const CLSID kPngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

TEST(LuxGDIPPicture, PngDecodesAndDrawsWithItsAlpha) {
  TempDir dir;
  SaveImage(dir.File("half.png"), 20, 10, 0x80FF0000, kPngEncoder);
  TLuxGDIPPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  picture.LoadFromFile(dir.File("half.png"));
  ASSERT_FALSE(picture.Empty());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(picture.Width(), 20);
  EXPECT_EQ(picture.Height(), 10);

  TDibCanvas canvas(40, 20);
  {
    TGPGraphics g(canvas.DC());
    picture.DrawToGraphics(g, TRect(0, 0, 40, 20));  // stretched
  }
  EXPECT_TRUE(picture.HasAlpha());
  EXPECT_EQ(picture.BitsPerPixel(), 32);
  // Half-transparent red over white.
  EXPECT_TRUE(PixelNear(canvas.Pixel(35, 15), 0xFFFF7F7F, 3));
  EXPECT_TRUE(PixelNear(canvas.Pixel(2, 2), 0xFFFF7F7F, 3));
}

TEST(LuxGDIPPicture, HeaderSizeUntilDecodedThenTheImagesOwn) {
  TempDir dir;
  SaveImage(dir.File("wide.png"), 70000, 1, 0xFF0000FF, kPngEncoder);
  TLuxGDIPPicture picture;
  picture.LoadFromFile(dir.File("wide.png"));
  EXPECT_EQ(picture.Width(), 70000);  // the header's full 32 bits
  EXPECT_EQ(picture.Height(), 1);
  EXPECT_TRUE(picture.UpdateSize());
  EXPECT_EQ(picture.Width(), 70000);

  // Bytes of no known format are kept, with no size.
  TStringStream text("not a picture");
  text.SaveToFile(dir.File("notes.txt"));
  TLuxGDIPPicture other;
  other.LoadFromFile(dir.File("notes.txt"));
  EXPECT_FALSE(other.Empty());
  EXPECT_EQ(other.Data().Bytes().size(), 13u);
  EXPECT_EQ(other.Width(), 0);
  EXPECT_FALSE(other.UpdateSize());

  // A missing file leaves the picture empty and raises nothing.
  TLuxGDIPPicture missing;
  missing.LoadFromFile(dir.File("missing.png"));
  EXPECT_TRUE(missing.Empty());
}

TEST(LuxGDIPPicture, AssignCopiesBytesAndBitmaps) {
  TBitmap bitmap;
  bitmap.SetSize(6, 4);
  bitmap.Canvas()->Brush()->SetColor(clBlue);
  bitmap.Canvas()->FillRect(TRect(0, 0, 6, 4));
  TLuxGDIPPicture picture;
  picture.Assign(&bitmap);
  ASSERT_FALSE(picture.Empty());
  EXPECT_EQ(picture.Width(), 6);
  EXPECT_EQ(picture.Height(), 4);

  TLuxGDIPPicture copy;
  copy.Assign(&picture);
  EXPECT_EQ(copy.Data().Bytes(), picture.Data().Bytes());

  // From an empty picture: empty, keeping the size of its last decode.
  TLuxGDIPPicture empty;
  copy.Assign(&empty);
  EXPECT_TRUE(copy.Empty());
  EXPECT_EQ(copy.Width(), 6);

  int clears = 0;
  copy.OnClear = [&](TObject*) { ++clears; };
  copy.Assign(nullptr);
  EXPECT_EQ(clears, 1);
  EXPECT_TRUE(copy.Data().Bytes().empty());
}

TEST(LuxGDIPPicture, TransparentBitmapLeavesOutItsBottomLeftColour) {
  TBitmap bitmap;
  bitmap.SetSize(8, 8);
  bitmap.Canvas()->Brush()->SetColor(clLime);
  bitmap.Canvas()->FillRect(TRect(0, 0, 8, 8));
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(TRect(2, 2, 6, 6));
  TLuxGDIPPicture picture;
  picture.Assign(&bitmap);
  picture.SetTransparent(true);

  TDibCanvas canvas(20, 20);
  {
    TGPGraphics g(canvas.DC());
    picture.DrawToGraphics(g, TRect(4, 4, 20, 20));  // natural size at the corner
  }
  EXPECT_EQ(canvas.Pixel(4, 4), 0xFFFFFFFFu);
  EXPECT_EQ(canvas.Pixel(7, 7), 0xFFFF0000u);
  EXPECT_EQ(canvas.Pixel(14, 14), 0xFFFFFFFFu);  // not stretched
}

TEST(GDIPPictureContainer, FindPictureIgnoresCaseAndTakesTheFirst) {
  TGDIPPictureContainer container(nullptr);
  EXPECT_EQ(container.FindPicture("system"), nullptr);
  TBitmap small, large;
  small.SetSize(2, 2);
  large.SetSize(5, 5);
  for (auto [name, bitmap] : {std::pair{"files", &large}, {"system", &small}, {"System", &large}}) {
    TPictureItem* item = container.Items()->Add();
    item->SetName(name);
    item->Picture()->Assign(bitmap);
  }
  ASSERT_NE(container.FindPicture("SYSTEM"), nullptr);
  EXPECT_EQ(container.FindPicture("SYSTEM")->Width(), 2);
  EXPECT_EQ(container.FindPicture("start"), nullptr);
  EXPECT_EQ(container.Version(), "1.0.0.0");

  // A copy of the items keeps names and pictures.
  TGDIPPictureContainer copy(nullptr);
  copy.SetItems(container.Items());
  ASSERT_NE(copy.FindPicture("Files"), nullptr);
  EXPECT_EQ(copy.FindPicture("Files")->Width(), 5);
}

}  // namespace
