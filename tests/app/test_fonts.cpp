// Every page of the wizard draws with "Tahoma" and "MS Sans Serif": both GDI
// and GDI+ must find them in the test prefix.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <gtest/gtest.h>

namespace {

// Draws "Wg" with GDI into a white 64x32 bitmap and counts dark pixels.
int InkOfGdiText(const char* face, char* chosenFace) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = 64;
  bi.bmiHeader.biHeight = -32;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  uint32_t* bits = nullptr;
  HBITMAP bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
  HGDIOBJ oldBmp = ::SelectObject(dc, bmp);
  RECT r = {0, 0, 64, 32};
  ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  HFONT font = ::CreateFontA(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, face);
  HGDIOBJ oldFont = ::SelectObject(dc, font);
  ::GetTextFaceA(dc, LF_FACESIZE, chosenFace);
  ::TextOutA(dc, 2, 2, "Wg", 2);
  ::GdiFlush();
  int ink = 0;
  for (int i = 0; i < 64 * 32; ++i) ink += (bits[i] & 0xFF) < 0x80;
  ::SelectObject(dc, oldFont);
  ::SelectObject(dc, oldBmp);
  ::DeleteObject(font);
  ::DeleteObject(bmp);
  ::DeleteDC(dc);
  return ink;
}

class GdiPlus : public ::testing::Test {
 protected:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(token_); }
  ULONG_PTR token_ = 0;
};

}  // namespace

TEST(Fonts, GdiDrawsTahomaAndMsSansSerif) {
  for (const char* face : {"Tahoma", "MS Sans Serif"}) {
    char chosen[LF_FACESIZE] = {};
    EXPECT_GT(InkOfGdiText(face, chosen), 20) << face;
    EXPECT_STREQ(chosen, face);
  }
}

// "MS Sans Serif" is a raster font, as on Windows: GDI+ refuses it as not
// TrueType, so code that draws with GDI+ falls back to a TrueType face.
TEST_F(GdiPlus, DrawsTahomaAndRefusesTheRasterMsSansSerif) {
  Gdiplus::FontFamily raster(L"MS Sans Serif");
  EXPECT_NE(raster.GetLastStatus(), Gdiplus::Ok);
  HDC dc = ::GetDC(nullptr);
  LOGFONTA lf = {};
  lf.lfHeight = -11;
  lstrcpyA(lf.lfFaceName, "MS Sans Serif");
  Gdiplus::Font fromLogFont(dc, &lf);
  EXPECT_EQ(fromLogFont.GetLastStatus(), Gdiplus::NotTrueTypeFont);
  ::ReleaseDC(nullptr, dc);

  for (const wchar_t* face : {L"Tahoma"}) {
    Gdiplus::FontFamily family(face);
    ASSERT_EQ(family.GetLastStatus(), Gdiplus::Ok) << "missing GDI+ family";
    Gdiplus::Bitmap bmp(64, 32, PixelFormat32bppARGB);
    Gdiplus::Graphics g(&bmp);
    g.Clear(Gdiplus::Color(255, 255, 255, 255));
    Gdiplus::Font font(&family, 13, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
    ASSERT_EQ(g.DrawString(L"Wg", 2, &font, Gdiplus::PointF(2, 2), &black), Gdiplus::Ok);
    int ink = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 64; ++x) {
        Gdiplus::Color c;
        bmp.GetPixel(x, y, &c);
        ink += c.GetR() < 0x80;
      }
    EXPECT_GT(ink, 20);
  }
}
