// Drawing into memory bitmaps: objects, canvas operations, pen modes, the
// BMP format, and controls painted through PaintTo.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StandardControls.h"

namespace {

TColor PixelAt(TBitmap& b, int x, int y) { return b.Canvas()->Pixel(x, y); }

TEST(Graphics, ColorToRGBResolvesSystemAndSpecialColours) {
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clNone), 0u);
  EXPECT_EQ(ColorToRGB(clDefault), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(RGBColor(133, 201, 241), 15845765);
}

TEST(Graphics, NewBitmapIsWhiteAndCanvasFillsAndFrames) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(40, 30);
  EXPECT_EQ(PixelAt(b, 5, 5), clWhite);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clRed);
  c->FillRect(TRect(0, 0, 20, 30));
  c->Brush()->SetColor(clBlue);
  c->FrameRect(TRect(20, 0, 40, 30));
  EXPECT_EQ(PixelAt(b, 10, 10), clRed);
  EXPECT_EQ(PixelAt(b, 20, 10), clBlue);   // frame
  EXPECT_EQ(PixelAt(b, 30, 15), clWhite);  // inside the frame
  c->SetPixel(30, 15, clLime);
  EXPECT_EQ(PixelAt(b, 30, 15), clLime);
  // The rows as ScanLine sees them: BGR bytes, row 0 at the top.
  auto* row = static_cast<uint8_t*>(b.ScanLine(10));
  EXPECT_EQ(row[0], 0x00);
  EXPECT_EQ(row[2], 0xFF);
}

TEST(Graphics, ObjectChangesReachTheDeviceContextAfterSelection) {
  TBitmap b;
  b.SetSize(20, 20);
  TCanvas* c = b.Canvas();
  c->Pen()->SetColor(clRed);
  c->MoveTo(0, 5);
  c->LineTo(20, 5);
  // A new pen colour after the pen was selected: the old pen leaves the DC.
  c->Pen()->SetColor(clGreen);
  c->Pen()->SetWidth(1);
  c->MoveTo(0, 10);
  c->LineTo(20, 10);
  EXPECT_EQ(PixelAt(b, 10, 5), clRed);
  EXPECT_EQ(PixelAt(b, 10, 10), clGreen);
}

// A change takes only the changed object out of the DC; the next call that
// needs it selects it again with its attributes, and detaching gives the DC
// back exactly the objects it came with.
TEST(Graphics, CanvasSelectsOnlyWhatChangedAndRestoresTheDC) {
  HDC dc = CreateCompatibleDC(nullptr);
  HDC screen = GetDC(nullptr);
  HBITMAP surface = CreateCompatibleBitmap(screen, 20, 20);
  ReleaseDC(nullptr, screen);
  HGDIOBJ originalBitmap = SelectObject(dc, surface);
  const HGDIOBJ font0 = GetCurrentObject(dc, OBJ_FONT), pen0 = GetCurrentObject(dc, OBJ_PEN),
                brush0 = GetCurrentObject(dc, OBJ_BRUSH);
  {
    TCanvas c;
    c.SetHandle(dc);
    c.Pen()->SetColor(clRed);
    c.Brush()->SetColor(clBlue);
    c.Handle();
    const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT), pen = GetCurrentObject(dc, OBJ_PEN);
    EXPECT_NE(pen, pen0);

    // Fills do not need the brush in the DC: the pen and font stay put.
    c.Brush()->SetColor(clLime);
    c.FillRect(TRect(0, 0, 20, 20));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush0);
    EXPECT_EQ(c.Pixel(10, 10), clLime);

    // A shape takes the new brush and background in, the red pen still on.
    c.Brush()->SetColor(clYellow);
    c.Rectangle(TRect(2, 2, 12, 12));
    EXPECT_EQ(c.Pixel(2, 2), clRed);
    EXPECT_EQ(c.Pixel(6, 6), clYellow);
    EXPECT_EQ(GetBkColor(dc), ColorToRGB(clYellow));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);

    // Text needs the font only after its colour changed.
    c.Font()->SetColor(clFuchsia);
    c.TextExtent("x");
    EXPECT_EQ(GetTextColor(dc), ColorToRGB(clFuchsia));
    c.SetHandle(nullptr);
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font0);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen0);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush0);
  SelectObject(dc, originalBitmap);
  DeleteObject(surface);
  DeleteDC(dc);
}

TEST(Graphics, PenModesCombineWithTheSurface) {
  struct Case {
    TPenMode mode;
    TColor pen, surface, expected;
  };
  const Case cases[] = {
      {pmCopy, clRed, clWhite, clRed},      {pmBlack, clRed, clWhite, clBlack},  {pmWhite, clRed, clBlack, clWhite},
      {pmNot, clRed, clWhite, clBlack},     {pmXor, clRed, clWhite, 0xFFFF00},   {pmNotXor, clRed, clWhite, clRed},
      {pmMask, clRed, clYellow, clRed},     {pmMerge, clRed, clBlue, clFuchsia}, {pmNop, clRed, clBlue, clBlue},
      {pmNotCopy, clRed, clWhite, 0xFFFF00},
  };
  for (const Case& k : cases) {
    TBitmap b;
    b.SetSize(10, 10);
    b.Canvas()->Brush()->SetColor(k.surface);
    b.Canvas()->FillRect(TRect(0, 0, 10, 10));
    b.Canvas()->Pen()->SetColor(k.pen);
    b.Canvas()->Pen()->SetMode(k.mode);
    b.Canvas()->MoveTo(0, 5);
    b.Canvas()->LineTo(10, 5);
    EXPECT_EQ(PixelAt(b, 5, 5), k.expected) << "mode " << k.mode;
  }
}

TEST(Graphics, TextIsDrawnInTheFontColourAndMeasured) {
  TBitmap b;
  b.SetSize(100, 30);
  TCanvas* c = b.Canvas();
  c->Font()->SetName("Tahoma");
  c->Font()->SetHeight(-16);
  c->Font()->SetColor(clBlack);
  TSize size = c->TextExtent("Wg");
  EXPECT_GT(size.cx, 10);
  EXPECT_GE(size.cy, 16);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(2, 2, "WWW");
  int dark = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 100; ++x)
      if (PixelAt(b, x, y) == clBlack) ++dark;
  EXPECT_GT(dark, 20);
}

TEST(Graphics, BitmapStreamsRoundTripInEveryDepth) {
  for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit}) {
    TBitmap b;
    b.SetPixelFormat(f);
    b.SetSize(13, 7);  // odd width: rows are padded
    b.Canvas()->Brush()->SetColor(clBlack);
    b.Canvas()->FillRect(TRect(0, 0, 5, 7));
    TMemoryStream s;
    b.SaveToStream(s);
    s.SetPosition(0);
    TBitmap c;
    c.LoadFromStream(s);
    EXPECT_EQ(c.Width(), 13);
    EXPECT_EQ(c.Height(), 7);
    EXPECT_EQ(c.PixelFormat(), f);
    EXPECT_EQ(PixelAt(c, 2, 3), clBlack) << "format " << f;
    EXPECT_EQ(PixelAt(c, 10, 3), clWhite) << "format " << f;
  }
}

TEST(Graphics, MalformedBitmapStreamsAreRefused) {
  TBitmap b;
  b.SetSize(4, 4);
  TMemoryStream good;
  b.SaveToStream(good);
  std::vector<uint8_t> bytes(good.Memory(), good.Memory() + good.Size());
  struct Case {
    const char* what;
    size_t offset;
    uint8_t value;
  };
  const Case cases[] = {{"signature", 0, 'X'}, {"depth", 28, 7}, {"compression", 30, 1}, {"huge width", 21, 0x7F}};
  for (const Case& k : cases) {
    std::vector<uint8_t> bad = bytes;
    bad[k.offset] = k.value;
    TMemoryStream s;
    s.WriteBuffer(bad.data(), int64_t(bad.size()));
    s.SetPosition(0);
    TBitmap t;
    EXPECT_THROW(t.LoadFromStream(s), EInvalidGraphic) << k.what;
  }
  // Cut short: the rows are missing.
  TMemoryStream shortStream;
  shortStream.WriteBuffer(bytes.data(), 60);
  shortStream.SetPosition(0);
  TBitmap t;
  EXPECT_THROW(t.LoadFromStream(shortStream), EReadError);
}

TEST(Graphics, PictureCopiesGraphicsAndChoosesTheClassByExtension) {
  TBitmap b;
  b.SetSize(3, 2);
  TPicture p;
  int changes = 0;
  p.OnChange = [&](TObject*) { ++changes; };
  p.SetGraphic(&b);
  ASSERT_NE(p.Graphic(), &b);
  EXPECT_EQ(p.Width(), 3);
  EXPECT_GT(changes, 0);
  EXPECT_TRUE(TPicture::FindFileFormat("bmp"));
  EXPECT_TRUE(TPicture::FindFileFormat(".ICO"));
  EXPECT_THROW(p.LoadFromFile("picture.xyz"), EInvalidGraphic);
}

TEST(Graphics, TransparentBitmapLeavesItsBackgroundOut) {
  TBitmap sprite;
  sprite.SetSize(10, 10);
  sprite.Canvas()->Brush()->SetColor(clLime);
  sprite.Canvas()->FillRect(TRect(0, 0, 10, 10));
  sprite.Canvas()->Brush()->SetColor(clRed);
  sprite.Canvas()->FillRect(TRect(3, 3, 7, 7));
  sprite.SetTransparent(true);  // the bottom-left pixel (lime) is left out
  TBitmap target;
  target.SetSize(10, 10);
  target.Canvas()->Draw(0, 0, &sprite);
  EXPECT_EQ(PixelAt(target, 1, 1), clWhite);
  EXPECT_EQ(PixelAt(target, 5, 5), clRed);
}

// A form with a coloured panel and a label painted into a memory bitmap
// through PaintTo, the way a picture of a control is taken.
TEST(Graphics, ControlsPaintIntoAMemoryBitmap) {
  TForm form(nullptr);
  form.SetBorderStyle(bsNone);
  form.SetBounds(0, 0, 120, 80);
  form.SetColor(clYellow);
  TPanel panel(&form);
  panel.SetParent(&form);
  panel.SetBounds(10, 10, 60, 40);
  panel.SetBevelOuter(bvNone);
  panel.SetColor(clNavy);
  TLabel label(&form);
  label.SetParent(&panel);
  label.SetTransparent(false);
  label.SetColor(clRed);
  label.SetAutoSize(false);
  label.SetBounds(5, 5, 20, 10);

  TBitmap b;
  b.SetSize(120, 80);
  form.PaintTo(b.Canvas()->Handle(), 0, 0);
  EXPECT_EQ(PixelAt(b, 2, 2), clYellow);
  EXPECT_EQ(PixelAt(b, 60, 40), clNavy);
  EXPECT_EQ(PixelAt(b, 10 + 5 + 10, 10 + 5 + 5), clRed);  // the label inside the panel
  EXPECT_EQ(PixelAt(b, 100, 70), clYellow);
}

}  // namespace
