// The canvas of the skinned library over real GDI: regions and clipping,
// the saved DC and object stacks, fills, tiling, frames and edges, the
// shared paint canvas, and the drawing helpers. Everything draws into
// 32-bit DIB sections that the tests read back pixel by pixel, in a pinned
// colour scheme.
#include <gtest/gtest.h>

#include "PainterPicture.h"
#include "PinnedSystemColors.h"
#include "foundation/vdCore.h"
#include "foundation/vxGraphics.h"
#include "platform/ui/Forms.h"

namespace {

constexpr COLORREF kFace = RGB(212, 208, 200), kShadow = RGB(128, 128, 128), kHighlight = RGB(255, 255, 254);
constexpr COLORREF kDkShadow = RGB(64, 64, 64), kLight = RGB(224, 224, 224), kSelection = RGB(10, 36, 106);
constexpr COLORREF kWindow = RGB(250, 250, 250);

const std::vector<std::pair<int, COLORREF>> kClassicScheme = {
    {COLOR_BTNFACE, kFace},         {COLOR_BTNSHADOW, kShadow}, {COLOR_BTNHIGHLIGHT, kHighlight},
    {COLOR_3DDKSHADOW, kDkShadow},  {COLOR_3DLIGHT, kLight},    {COLOR_HIGHLIGHT, kSelection},
    {COLOR_WINDOW, kWindow}};

using Picture = TPainterPicture;

// --- Regions and clipping ---------------------------------------------------------------

TEST(Region, CombinesComparesAndShifts) {
  TvxRegion region(0, 0, 10, 10);
  EXPECT_FALSE(region.IsVoid());
  EXPECT_TRUE(TvxRegion().IsVoid());
  region.CombineWith(TvxRegion(5, 0, 10, 10), roSubtract);
  EXPECT_TRUE(region.SameAs(TvxRegion::CreateFromRect({0, 0, 5, 10}).get()));
  region.CombineWith(TvxRegion(5, 0, 10, 10), roAdd);
  region.CombineWith(TvxRegion::CreateFromBounds(0, 0, 3, 3), roIntersect);
  EXPECT_TRUE(region.SameAs(TvxRegion::CreateFromRect({0, 0, 3, 3}).get()));
  region.CombineWith(TvxRegion(20, 20, 21, 21), roSet);
  region.Shift(-20, -20);
  EXPECT_TRUE(region.SameAsHandle(TvxRegion(0, 0, 1, 1).Handle()));
  EXPECT_FALSE(region.SameAs(nullptr));
  // Two void regions are the same wherever they were made.
  TvxRegion empty;
  EXPECT_TRUE(TvxRegion(5, 5, 5, 5).SameAs(&empty));
  region.ReleaseHandle();
  EXPECT_EQ(region.Handle(), nullptr);
}

TEST(Clip, AppliedRegionsComeBackAsTheCallerGaveThem) {
  Picture p(20, 20);
  SetWindowOrgEx(p.DC(), 5, 5, nullptr);  // logical (5, 5) is device (0, 0)
  TvxRegion keep(5, 5, 15, 15);
  p.canvas->ApplyClipRegion(keep, roSet, true);
  EXPECT_TRUE(keep.SameAs(TvxRegion::CreateFromRect({5, 5, 15, 15}).get()));
  TvxRegion hole(5, 5, 10, 10);
  p.canvas->ApplyClipRegion(hole, roSubtract, true);
  EXPECT_TRUE(hole.SameAs(TvxRegion::CreateFromRect({5, 5, 10, 10}).get()));

  p.canvas->FillAreaWithColor({0, 0, 40, 40}, clRed);
  // The clip is logical (5, 5)-(15, 15) less (5, 5)-(10, 10): device
  // (0, 0)-(10, 10) less its top-left quarter.
  EXPECT_EQ(p.At(2, 2), RGB(255, 255, 255));
  EXPECT_EQ(p.At(7, 2), RGB(255, 0, 0));
  EXPECT_EQ(p.At(2, 7), RGB(255, 0, 0));
  EXPECT_EQ(p.At(12, 12), RGB(255, 255, 255));
  EXPECT_EQ(p.Count(RGB(255, 0, 0)), 100 - 25);

  // Copied back in logical and in device coordinates.
  TvxRegion logical(5, 5, 15, 15);
  logical.CombineWith(TvxRegion(5, 5, 10, 10), roSubtract);
  EXPECT_TRUE(p.canvas->CopyClipRegion(true)->SameAs(&logical));
  logical.Shift(-5, -5);
  EXPECT_TRUE(p.canvas->CopyClipRegion(false)->SameAs(&logical));
}

TEST(Clip, PushAndPopGiveBackNoClipOrTheClipThatWas) {
  Picture p(40, 40);
  ASSERT_FALSE(p.HasClip());
  p.canvas->PushClipRegion();
  p.canvas->IntersectClipWithRect({0, 0, 10, 10});
  EXPECT_TRUE(p.HasClip());
  p.canvas->PopClipRegion();
  // Not a large rectangle: no clip at all, as before.
  EXPECT_FALSE(p.HasClip());

  p.canvas->IntersectClipWithRect({0, 0, 20, 20});
  p.canvas->PushClipRegion();
  p.canvas->ExcludeRectFromClip({0, 0, 20, 10});
  p.canvas->PopClipRegion();
  p.canvas->PopClipRegion();  // one pop too many does nothing
  p.canvas->FillAreaWithColor({0, 0, 40, 40}, clBlue);
  EXPECT_EQ(p.Count(RGB(0, 0, 255)), 400);
  EXPECT_TRUE(p.canvas->IsRectangleVisible({19, 19, 25, 25}));
  EXPECT_FALSE(p.canvas->IsRectangleVisible({20, 20, 25, 25}));
}

// --- Fills and tiling -----------------------------------------------------------------

// A 16 x 16 tile whose every pixel tells where it came from.
COLORREF TileColor(int x, int y) { return RGB(x * 16, y * 16, 200); }

struct Tile : Picture {
  Tile() : Picture(16, 16) {
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) SetPixelV(DC(), x, y, TileColor(x, y));
  }
};

TEST(Fill, TilesOnAGridAnchoredAtTheLogicalOrigin) {
  Tile tile;
  struct Case {
    TRect rect;
    TPoint windowOrigin;
  } cases[] = {
      {{0, 0, 32, 16}, {0, 0}},     // two whole cells
      {{8, 0, 24, 16}, {0, 0}},     // the right half of one, the left half of the next
      {{-8, -4, 8, 12}, {-8, -4}},  // cells left of and above the origin
      {{3, 5, 37, 29}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rect.Left << "," << c.rect.Top << " origin " << c.windowOrigin.X);
    Picture p(48, 32, RGB(0, 0, 0));
    SetWindowOrgEx(p.DC(), c.windowOrigin.X, c.windowOrigin.Y, nullptr);
    p.canvas->FillAreaWithBitmap(c.rect, &tile.bitmap, false);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 48; ++x) {
        const int lx = x + c.windowOrigin.X, ly = y + c.windowOrigin.Y;  // logical
        const bool inside = lx >= c.rect.Left && lx < c.rect.Right && ly >= c.rect.Top && ly < c.rect.Bottom;
        const COLORREF expected = inside ? TileColor(((lx % 16) + 16) % 16, ((ly % 16) + 16) % 16) : RGB(0, 0, 0);
        ASSERT_EQ(p.At(x, y), expected) << "at device " << x << "," << y;
      }
  }
}

TEST(Fill, ColoursAndTheClipLeftBehind) {
  Picture p(20, 20);
  p.canvas->BrushObject()->SetColor(clLime);
  p.canvas->FillAreaWithColor({0, 0, 20, 20}, clNone);
  EXPECT_EQ(p.Count(RGB(255, 255, 255)), 400);
  p.canvas->FillAreaWithColor({0, 0, 2, 2}, clDefault);  // the brush as it is
  EXPECT_EQ(p.Count(RGB(0, 255, 0)), 4);

  // A filled area leaves the clip when asked; an empty one changes nothing.
  p.canvas->FillAreaWithBitmap({10, 10, 10, 20}, nullptr, true);
  EXPECT_FALSE(p.HasClip());
  p.canvas->ApplyBrushColor(clYellow);
  p.canvas->FillAreaWithBitmap({0, 0, 10, 20}, nullptr, true);
  p.canvas->FillAreaWithColor({0, 0, 20, 20}, clBlue);
  EXPECT_EQ(p.Count(RGB(255, 255, 0)), 200);
  EXPECT_EQ(p.Count(RGB(0, 0, 255)), 200);
}

TEST(Fill, FramesAndEdgesStayInsideTheirRectangle) {
  TPinnedSystemColors scheme(kClassicScheme);
  // Width 10 on a 6 x 6 rectangle: the whole rectangle and nothing beside.
  for (bool twoTone : {false, true}) {
    Picture p(20, 20);
    if (twoTone)
      p.canvas->DrawTwoToneBorders({7, 7, 13, 13}, clRed, clRed, vxAllBorders, 10);
    else
      p.canvas->DrawFrameSides({7, 7, 13, 13}, clRed, 10, vxAllBorders, false);
    EXPECT_EQ(p.Count(RGB(255, 0, 0)), 36) << twoTone;
  }

  struct Case {
    bool sunken, outer;
    COLORREF leftTop, rightBottom;
  } cases[] = {
      {false, true, kLight, kDkShadow},
      {false, false, kHighlight, kShadow},
      {true, true, kShadow, kHighlight},
      {true, false, kDkShadow, kLight},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "sunken " << c.sunken << " outer " << c.outer);
    Picture p(10, 10, RGB(0, 0, 0));
    p.canvas->DrawEdge3D({0, 0, 10, 10}, c.sunken, c.outer, vxAllBorders);
    EXPECT_EQ(p.At(0, 5), c.leftTop);
    EXPECT_EQ(p.At(5, 0), c.leftTop);
    EXPECT_EQ(p.At(9, 5), c.rightBottom);
    EXPECT_EQ(p.At(5, 9), c.rightBottom);
    // Right and bottom come last and take the corners they share.
    EXPECT_EQ(p.At(9, 0), c.rightBottom);
    EXPECT_EQ(p.At(0, 9), c.rightBottom);
    EXPECT_EQ(p.At(5, 5), RGB(0, 0, 0));
  }

  // A frame on two sides with the middle filled from the view parameters.
  Picture p(10, 10, RGB(0, 0, 0));
  p.canvas->FillAreaWithFrame({0, 0, 10, 10}, {nullptr, clBlue}, false, 2, clRed,
                              vxBorder(bLeft) | vxBorder(bBottom));
  EXPECT_EQ(p.At(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(p.At(5, 8), RGB(255, 0, 0));
  EXPECT_EQ(p.At(2, 7), RGB(0, 0, 255));
  EXPECT_EQ(p.At(9, 0), RGB(0, 0, 255));
  EXPECT_EQ(p.Count(RGB(0, 0, 255)), 8 * 8);
}

TEST(Fill, InvertAndFocusFrame) {
  Picture p(10, 10, RGB(255, 0, 0));
  p.canvas->WriteCopyMode(SRCPAINT);
  p.canvas->InvertArea({0, 0, 5, 10});
  EXPECT_EQ(p.At(2, 2), RGB(0, 255, 255));
  EXPECT_EQ(p.At(7, 2), RGB(255, 0, 0));
  EXPECT_EQ(p.canvas->ReadCopyMode(), TCopyMode(SRCCOPY));  // set, not given back
  p.canvas->DrawFocusFrame({0, 0, 10, 10});
  EXPECT_EQ(p.canvas->BrushObject()->Color(), clWhite);
  EXPECT_EQ(p.canvas->FontObject()->Color(), clBlack);
}

// --- Saved DCs, states and the paint canvas ----------------------------------------

TEST(States, SavedDCsAndCanvasStatesComeBack) {
  Picture p(10, 10);
  std::vector<std::string> reports;
  TvdSoftAssertHandler previous = vdSetSoftAssertHandler([&](std::string_view m) { reports.emplace_back(m); });
  p.canvas->PopSavedDC();
#ifndef NDEBUG
  EXPECT_EQ(reports, std::vector<std::string>{"RestoreDC fails"});
#endif

  p.canvas->FontObject()->SetName("Tahoma");
  p.canvas->FontObject()->SetColor(clRed);
  p.canvas->BrushObject()->SetColor(clYellow);
  p.canvas->PenObject()->SetColor(clBlue);
  p.canvas->PenObject()->SetMode(pmXor);
  p.canvas->PushCanvasState();
  p.canvas->FontObject()->SetName("Symbol");
  p.canvas->FontObject()->SetColor(clGreen);
  p.canvas->BrushObject()->SetStyle(bsClear);
  p.canvas->PenObject()->SetColor(clLime);
  p.canvas->PenObject()->SetMode(pmCopy);
  p.canvas->DeviceContext();
  p.canvas->PopCanvasState();
  p.canvas->PopCanvasState();  // nothing left: nothing happens
  EXPECT_EQ(p.canvas->FontObject()->Name(), "Tahoma");
  EXPECT_EQ(p.canvas->FontObject()->Color(), clRed);
  EXPECT_EQ(p.canvas->BrushObject()->Color(), clYellow);
  EXPECT_EQ(p.canvas->BrushObject()->Style(), bsSolid);
  EXPECT_EQ(p.canvas->PenObject()->Color(), clBlue);
  EXPECT_EQ(p.canvas->PenObject()->Mode(), pmXor);
  EXPECT_EQ(p.bitmap.Canvas()->LockCount(), 0);
  vdSetSoftAssertHandler(previous);
}

TEST(States, ObjectsAreReadBackFromADeviceContext) {
  Picture p(4, 4);
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontA(-20, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
  HBRUSH brush = CreateHatchBrush(HS_CROSS, RGB(1, 2, 3));
  HPEN pen = CreatePen(PS_DOT, 1, RGB(4, 5, 6));
  HGDIOBJ oldFont = SelectObject(dc, font), oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
  SetTextColor(dc, RGB(7, 8, 9));
  SetROP2(dc, R2_NOTXORPEN);
  p.canvas->SyncObjectsFromDC(dc);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(font);
  DeleteObject(brush);
  DeleteObject(pen);
  DeleteDC(dc);

  TFont* f = p.canvas->FontObject();
  EXPECT_EQ(f->Name(), "Tahoma");
  EXPECT_EQ(f->Height(), -20);
  EXPECT_EQ(f->Style(), fsBold | fsItalic);
  EXPECT_EQ(f->Color(), RGBColor(7, 8, 9));
  EXPECT_EQ(p.canvas->BrushObject()->Style(), bsCross);
  EXPECT_EQ(p.canvas->BrushObject()->Color(), RGBColor(1, 2, 3));
  EXPECT_EQ(p.canvas->PenObject()->Style(), psDot);
  EXPECT_EQ(p.canvas->PenObject()->Color(), RGBColor(4, 5, 6));
  EXPECT_EQ(p.canvas->PenObject()->Mode(), pmNotXor);
}

TEST(PaintCanvas, NestedPaintsGiveBackTheDCAndItsObjects) {
  Picture outer(8, 8), inner(8, 8);
  TvxPaintCanvas* paint = vxPaintCanvasInstance();
  ASSERT_NE(paint, nullptr);
  EXPECT_EQ(paint, vxPaintCanvasInstance());

  paint->EndPaintOnDC();  // without a begin: nothing
  paint->BeginPaintOnDC(outer.DC());
  EXPECT_EQ(paint->DeviceContext(), outer.DC());
  paint->FontObject()->SetName("Tahoma");
  paint->BrushObject()->SetColor(clRed);
  paint->PenObject()->SetColor(clGreen);
  paint->FillAreaWithColor({0, 0, 8, 8}, clRed);

  paint->BeginPaintOnDC(inner.DC());
  EXPECT_EQ(paint->DeviceContext(), inner.DC());
  paint->FontObject()->SetName("Symbol");
  paint->PenObject()->SetColor(clBlue);
  paint->FillAreaWithColor({0, 0, 8, 8}, clYellow);
  paint->EndPaintOnDC();

  EXPECT_EQ(paint->DeviceContext(), outer.DC());
  EXPECT_EQ(paint->FontObject()->Name(), "Tahoma");
  EXPECT_EQ(paint->BrushObject()->Color(), clRed);
  EXPECT_EQ(paint->PenObject()->Color(), clGreen);
  paint->FillAreaWithColor({0, 0, 4, 4}, clDefault);
  EXPECT_EQ(outer.Count(RGB(255, 0, 0)), 64);
  EXPECT_EQ(inner.Count(RGB(255, 255, 0)), 64);
  paint->EndPaintOnDC();
  EXPECT_FALSE(paint->Canvas()->HandleAllocated());
  // The bitmaps' own canvases still hold their objects: they draw as before.
  outer.Fill(RGB(1, 1, 1));
  EXPECT_EQ(outer.Count(RGB(1, 1, 1)), 64);
}

// --- Helpers -------------------------------------------------------------------------------

TEST(Helpers, SystemColourMixes) {
  {
    TPinnedSystemColors scheme(kClassicScheme);
    const int r = vxClampChannel(MulDiv(212, 14, 100) + MulDiv(10, 44, 100) + MulDiv(250, 40, 100));
    const int g = vxClampChannel(MulDiv(208, 14, 100) + MulDiv(36, 44, 100) + MulDiv(250, 40, 100));
    const int b = vxClampChannel(MulDiv(200, 14, 100) + MulDiv(106, 44, 100) + MulDiv(250, 40, 100));
    EXPECT_EQ(vxMixSystemColors(14, 44, 40), RGBColor(uint8_t(r), uint8_t(g), uint8_t(b)));
    // A negative weight takes away; channels stay in 0..255.
    EXPECT_EQ(vxMixSystemColors(-100, 0, 0), RGBColor(0, 0, 0));
    EXPECT_EQ(vxMixSystemColors(100, 100, 100), RGBColor(255, 255, 255));
    EXPECT_EQ(vxPressedFlatButtonColor(), vxNearestScreenColor(vxMixSystemColors(14, 44, 40)));
  }
  TPinnedSystemColors white({{COLOR_BTNFACE, RGB(255, 255, 255)}, {COLOR_HIGHLIGHT, kSelection}});
  EXPECT_EQ(vxMixSystemColors(14, 44, 40), TColor(kSelection));
  EXPECT_EQ(vxClampChannel(-3), 0);
  EXPECT_EQ(vxClampChannel(300), 255);
  EXPECT_EQ(vxColorRGBPart(clBtnFace), 0x00000F);
}

TEST(Helpers, TextInAColourKeepsTheDCAsItWas) {
  Picture p(60, 20);
  HDC dc = p.DC();
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkMode(dc, OPAQUE);
  TRect r(0, 0, 60, 20);
  EXPECT_GT(vxDrawTextInColor(dc, "Hi", r, DT_SINGLELINE, -1, clDefault, TRANSPARENT), 0);
  EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_GT(p.Count(RGB(1, 2, 3)), 0);
  vxDrawTextInColor(dc, "Hi", r, DT_SINGLELINE, -1, clRed, TRANSPARENT);
  EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
  EXPECT_GT(p.Count(RGB(255, 0, 0)), 0);
}

TEST(Helpers, CharsetsThatNeedTheWholeText) {
  struct Case {
    uint8_t charset;
    const char* text;
    bool expected;
  } cases[] = {
      {DEFAULT_CHARSET, "Abc", false}, {GB2312_CHARSET, "", true},   {GB2312_CHARSET, "Abc", false},
      {ANSI_CHARSET, "", false},       {ANSI_CHARSET, "\xE9t\xE9", false}, {ARABIC_CHARSET, "\xC7", true},
      {CHINESEBIG5_CHARSET, "\xA4", true}, {SHIFTJIS_CHARSET, "\x82", false},
  };
  for (const Case& c : cases) EXPECT_EQ(vxIsCharsetNeedingWholeText(c.charset, c.text), c.expected) << int(c.charset);
}

TEST(Helpers, ObjectQueriesAndSmallTests) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(7, 5);
  BITMAP info{};
  ASSERT_TRUE(vxQueryBitmapInfo(bitmap.Handle(), info));
  EXPECT_EQ(info.bmWidth, 7);
  EXPECT_EQ(info.bmHeight, 5);
  LOGFONTA font{};
  EXPECT_TRUE(vxQueryFontInfo(GetStockObject(DEFAULT_GUI_FONT), font));
  LOGBRUSH brush{};
  ASSERT_TRUE(vxQueryBrushInfo(GetStockObject(NULL_BRUSH), brush));
  EXPECT_EQ(brush.lbStyle, UINT(BS_NULL));
  LOGPEN pen{};
  ASSERT_TRUE(vxQueryPenInfo(GetStockObject(WHITE_PEN), pen));
  EXPECT_EQ(pen.lopnColor, RGB(255, 255, 255));
  EXPECT_FALSE(vxQueryPenInfo(nullptr, pen));

  EXPECT_TRUE(vxIsGlyphNonEmpty(&bitmap));
  EXPECT_FALSE(vxIsGlyphNonEmpty(nullptr));
  TRect r(0, 0, 10, 10);
  vxShrinkRectByMargins(r, {1, 2, 3, 4});
  EXPECT_EQ(r, TRect(1, 2, 7, 6));
  EXPECT_TRUE(vxSameRectSize({0, 0, 4, 4}, {5, 5, 9, 9}));
  EXPECT_FALSE(vxSameRectSize({0, 0, 4, 4}, {0, 0, 4, 5}));
  EXPECT_GT(vxScreenDPI().X, 0);
}

TEST(Helpers, CursorMaskScan) {
  // An 8-pixel-wide mask has rows of 4 bytes. Rows run bottom up.
  constexpr int kWidth = 8;
  auto mask = [](int rows) { return std::vector<uint8_t>(size_t(rows) * 4, 0xFF); };
  // A colour cursor: 8 AND rows, pixel visible in the third row from the top.
  std::vector<uint8_t> colour = mask(8);
  colour[size_t(8 - 1 - 2) * 4] = 0x7F;
  EXPECT_EQ(vxCursorMaskLowestRow(colour.data(), colour.size(), kWidth, 8), 2);
  // A monochrome cursor whose AND half is blank shows itself in the XOR half.
  std::vector<uint8_t> mono = mask(16);
  std::fill(mono.begin(), mono.begin() + 8 * 4, 0x00);
  mono[size_t(8 - 1 - 5) * 4] = 0x80;
  EXPECT_EQ(vxCursorMaskLowestRow(mono.data(), mono.size(), kWidth, 16), 5);
  // A mask shorter than it is wide is read within its own rows.
  std::vector<uint8_t> shortMask = mask(3);
  EXPECT_EQ(vxCursorMaskLowestRow(shortMask.data(), shortMask.size(), kWidth, 3), -1);
  shortMask[0] = 0;
  EXPECT_EQ(vxCursorMaskLowestRow(shortMask.data(), shortMask.size(), kWidth, 3), 2);
  EXPECT_EQ(vxCursorMaskLowestRow(shortMask.data(), 4, kWidth, 3), -1);  // data shorter than its rows

  const TSize size = vxCurrentCursorSize();
  EXPECT_GT(size.cx, 0);
  EXPECT_GT(size.cy, 0);
}

TEST(Module, BindsAlphaBlendAndDropsTheSharedCanvasesWhenItStops) {
  vxGraphicsInitialize();
  EXPECT_NE(vxAlphaBlendEntry(), nullptr);
  EXPECT_GT(vxScreenDPI().Y, 0);
  ASSERT_NE(vxScreenCanvasInstance(), nullptr);
  EXPECT_GT(vxScreenCanvasInstance()->MeasureTextWidth("W"), 0);
  vxScreenCanvasInstance()->ReleaseScreenDC();
  vxGraphicsFinalize();
  // Nothing is made again while (or after) the module stops.
  EXPECT_EQ(vxScreenCanvasInstance(), nullptr);
  EXPECT_EQ(vxPaintCanvasInstance(), nullptr);
  EXPECT_EQ(vxAlphaBlendEntry(), nullptr);
  vxGraphicsInitialize();
  EXPECT_NE(vxPaintCanvasInstance(), nullptr);
  vxGraphicsFinalize();
  vxGraphicsInitialize();  // the other tests use the shared canvases
}

// --- Parent background --------------------------------------------------------------

// A plain window of a colour, placed on its parent.
TWinControl* Panel(TWinControl* parent, const TRect& bounds, TColor color) {
  auto* panel = new TWinControl(parent);
  panel->SetParent(parent);
  panel->SetBoundsRect(bounds);
  panel->SetColor(color);
  return panel;
}

TEST(ParentBackground, ThePartBehindAControlAndTheSiblingsBeforeIt) {
  Application->Initialize();
  TForm parent(nullptr);  // never shown: painting goes through messages
  parent.SetBounds(0, 0, 120, 120);
  TWinControl* client = Panel(&parent, {0, 0, 100, 100}, clRed);
  TWinControl* before = Panel(client, {10, 10, 40, 40}, clLime);
  TWinControl* control = Panel(client, {20, 20, 80, 80}, clWhite);
  TWinControl* after = Panel(client, {50, 50, 90, 90}, clBlue);
  for (TWinControl* c : {client, before, control, after}) c->HandleNeeded();

  for (bool siblings : {false, true}) {
    SCOPED_TRACE(siblings);
    // The control's own client area, part of it: (5, 5)-(60, 60).
    Picture p(60, 60, RGB(0, 0, 0));
    vxDrawParentBackgroundBehind(control, p.canvas.get(), {5, 5, 60, 60}, siblings);
    EXPECT_EQ(p.At(2, 2), RGB(0, 0, 0));  // outside the rectangle asked for
    EXPECT_EQ(p.At(59, 5), RGB(255, 0, 0));
    // The sibling before the control covers client (10, 10)-(40, 40), that
    // is the control's (-10, -10)-(20, 20).
    EXPECT_EQ(p.At(10, 10), siblings ? RGB(0, 255, 0) : RGB(255, 0, 0));
    EXPECT_EQ(p.At(19, 19), siblings ? RGB(0, 255, 0) : RGB(255, 0, 0));
    EXPECT_EQ(p.At(20, 20), RGB(255, 0, 0));
    // The one after it is never painted.
    EXPECT_EQ(p.At(45, 45), RGB(255, 0, 0));
    EXPECT_FALSE(p.HasClip());
    EXPECT_EQ(p.canvas->QueryWindowOrigin(), TPoint(0, 0));
  }

  // Behind a double-buffered parent the theme's parent background is not
  // asked: the parent paints itself, without the siblings.
  client->SetDoubleBuffered(true);
  Picture themed(60, 60, RGB(0, 0, 0));
  vxDrawThemeParentBackground(control, themed.canvas.get(), {0, 0, 60, 60});
  EXPECT_EQ(themed.At(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(themed.Count(RGB(255, 0, 0)), 3600);

  Picture orphan(10, 10, RGB(0, 0, 0));
  TWinControl lonely(nullptr);
  vxDrawParentBackgroundBehind(&lonely, orphan.canvas.get(), {0, 0, 10, 10}, true);
  vxDrawParentBackgroundBehind(nullptr, orphan.canvas.get(), {0, 0, 10, 10}, true);
  EXPECT_EQ(orphan.Count(RGB(0, 0, 0)), 100);
}

}  // namespace
