// The multi-line text layout over real GDI: parameters from real font
// metrics, the end ellipsis, the highlight colours, the tiny-text pattern,
// justification, measuring, and the wide text functions beyond the
// platform's 4096-character and 16-bit limits. Text is the raster
// "MS Sans Serif", drawn without smoothing, so that ink is exactly the text
// colour. The last test draws every look onto a picture sheet.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "PinnedSystemColors.h"
#include "PixelBounds.h"
#include "foundation/vdCore.h"
#include "foundation/vdGDIPlusClasses.h"
#include "foundation/vxDrawTextUtils.h"
#include "foundation/vxGraphics.h"
#include "foundation/vxModules.h"
#include "platform/Streams.h"

namespace {

constexpr COLORREF kPaper = RGB(255, 255, 255), kInk = RGB(0, 0, 0);
constexpr COLORREF kWindow = RGB(0, 200, 0);
constexpr COLORREF kMarkBack = RGB(255, 0, 0), kMarkText = RGB(0, 0, 255);

struct Sheet {
  TBitmap bitmap;
  TFont font;

  Sheet(int width, int height, const char* face = "MS Sans Serif", int fontHeight = -11) {
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(width, height);
    font.SetName(face);
    font.SetHeight(fontHeight);
    font.SetColor(TColor(kInk));
    bitmap.Canvas()->Font()->Assign(&font);
    bitmap.Canvas()->Brush()->SetColor(TColor(kPaper));
    bitmap.Canvas()->FillRect(TRect(0, 0, width, height));
  }
  HDC DC() { return bitmap.Canvas()->Handle(); }
  COLORREF At(int x, int y) {
    const uint32_t bgra = static_cast<const uint32_t*>(bitmap.ScanLine(y))[x];
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
  }
  TRect Bounds(COLORREF color) {
    return PixelBounds(bitmap.Width(), bitmap.Height(), [&](int x, int y) { return At(x, y) == color; });
  }
  std::vector<COLORREF> Pixels() {
    std::vector<COLORREF> out;
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x) out.push_back(At(x, y));
    return out;
  }
  int Width(const std::u16string& text) {
    SIZE size{};
    GetTextExtentPoint32W(DC(), reinterpret_cast<const wchar_t*>(text.data()), int(text.size()), &size);
    return size.cx;
  }
  int Paint(const std::u16string& text, TRect rect, TvxTextLayoutFlags flags, int markStart = 0, int markLength = 0,
            TColor markBack = clNone, TColor markText = clNone, int maxRows = 0) {
    return vxPaintMultilineText(DC(), text, rect, flags, markStart, markLength, &font, markBack, markText, maxRows, 0,
                                0, clDefault, 1.0f);
  }
  // Measuring flags: rect gets the text's rectangle.
  int Measure(const std::u16string& text, TRect& rect, TvxTextLayoutFlags flags) {
    return vxPaintMultilineText(DC(), text, rect, flags, 0, 0, &font, clNone, clNone, 0, 0, 0, clDefault, 1.0f);
  }
};

TEST(TextPaint, ParametersComeFromTheSelectedFont) {
  Sheet sheet(10, 10, "Tahoma", -20);
  TEXTMETRICW tm{};
  GetTextMetricsW(sheet.DC(), &tm);
  TvxTextLayoutParams plain, leading;
  vxInitTextParams(sheet.DC(), vxtlEndEllipsis, plain, 1.0f);
  vxInitTextParams(sheet.DC(), vxtlExternalLeading, leading, 2.0f);
  EXPECT_EQ(plain.RowHeight, tm.tmHeight);
  EXPECT_EQ(plain.RowPitch, tm.tmHeight);
  EXPECT_EQ(leading.RowPitch, 2 * (tm.tmHeight + tm.tmExternalLeading));
  EXPECT_EQ(plain.EllipsisWidth, sheet.Width(u"..."));
  EXPECT_EQ(leading.EllipsisWidth, 0);
  EXPECT_EQ(plain.OnePixel, 1);
}

TEST(TextPaint, TheLastVisibleRowEndsInAnEllipsis) {
  const std::u16string text = u"alpha beta gamma delta epsilon";
  Sheet ours(120, 20), expected(120, 20);
  TvxTextLayoutParams params;
  vxInitTextParams(ours.DC(), vxtlEndEllipsis, params, 1.0f);
  const TRect rect(0, 0, 80, params.RowPitch);
  ours.Paint(text, rect, vxtlWordWrap | vxtlEndEllipsis);

  // The row "alpha beta gamma " is cut to what fits beside "...".
  int fit = 0;
  while (expected.Width(text.substr(0, size_t(fit + 1))) <= rect.Width() - params.EllipsisWidth) ++fit;
  const std::u16string head = text.substr(0, size_t(fit));
  SetBkMode(expected.DC(), TRANSPARENT);
  TextOutW(expected.DC(), 0, 0, reinterpret_cast<const wchar_t*>(head.data()), int(head.size()));
  TextOutW(expected.DC(), expected.Width(head), 0, L"...", 3);

  EXPECT_EQ(ours.Pixels(), expected.Pixels());
  EXPECT_LE(ours.Bounds(kInk).Right, rect.Right);
}

TEST(TextPaint, AWordWiderThanTheRectangleIsCutOrEllipsized) {
  const std::u16string word = u"Supercalifragilistic";
  Sheet clipped(200, 20), ellipsized(200, 20);
  const TRect rect(0, 0, 50, 20);
  clipped.Paint(word, rect, vxtlWordWrap);
  EXPECT_LE(clipped.Bounds(kInk).Right, rect.Right);  // ink to the edge, not past it
  EXPECT_GE(clipped.Bounds(kInk).Right, rect.Right - 3);
  ellipsized.Paint(word, rect, vxtlWordWrap | vxtlEndEllipsis);
  EXPECT_LE(ellipsized.Bounds(kInk).Right, rect.Right);
  EXPECT_NE(clipped.Pixels(), ellipsized.Pixels());

  // Right-aligned, the cut row and its "..." stay inside the rectangle from
  // its left edge on, instead of losing the word's start to the left.
  Sheet right(200, 20), left(200, 20);
  right.Paint(word, TRect(100, 0, 150, 20), vxtlWordWrap | vxtlEndEllipsis | vxtlAlignRight);
  left.Paint(word, TRect(100, 0, 150, 20), vxtlWordWrap | vxtlEndEllipsis);
  const int shift = right.Bounds(kInk).Right - left.Bounds(kInk).Right;
  EXPECT_GE(shift, 0);
  EXPECT_EQ(right.Bounds(kInk).Left, left.Bounds(kInk).Left + shift);
}

TEST(TextPaint, TheHighlightHasItsOwnColours) {
  TPinnedSystemColors colors({{COLOR_WINDOW, kWindow}});
  const std::u16string text = u"Hello world";
  const struct {
    const char* name;
    int start, length;
    bool marked;
  } cases[] = {
      {"inside the text", 6, 5, true},
      {"running past the end is shortened", 6, 100, true},
      {"starting beyond the end is none", 11, 3, false},
      {"a negative start is none", -1, 8, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Sheet sheet(100, 20);
    sheet.Paint(text, TRect(0, 0, 100, 20), vxtlWordWrap, c.start, c.length, TColor(kMarkBack),
                TColor(kMarkText));
    if (!c.marked) {
      EXPECT_TRUE(sheet.Bounds(kMarkBack).IsEmpty());
      EXPECT_TRUE(sheet.Bounds(kMarkText).IsEmpty());
      continue;
    }
    TvxTextLayoutParams params;
    vxInitTextParams(sheet.DC(), 0, params, 1.0f);
    const TRect back = sheet.Bounds(kMarkBack);
    EXPECT_EQ(back.Left, sheet.Width(u"Hello "));
    EXPECT_EQ(back.Right, sheet.Width(u"Hello world"));
    EXPECT_EQ(back.Top, 0);
    EXPECT_EQ(back.Bottom, params.RowPitch);
    const TRect marked = sheet.Bounds(kMarkText), plain = sheet.Bounds(kInk);
    EXPECT_GE(marked.Left, back.Left);
    EXPECT_LE(marked.Right, back.Right);
    EXPECT_LT(plain.Right, back.Left + 1);  // "Hello" alone in the plain colour
  }

  // Reaching the end of a row cut for the ellipsis, the highlight takes the
  // "..." in, in its own colours.
  Sheet cut(100, 20), uncut(100, 20);
  const std::u16string longer = u"Hello wonderful world";
  const TvxTextLayoutFlags cutFlags = vxtlSingleLine | vxtlEndEllipsis;
  cut.Paint(longer, TRect(0, 0, 70, 20), cutFlags, 6, 100, TColor(kMarkBack), TColor(kMarkText));
  uncut.Paint(longer, TRect(0, 0, 70, 20), cutFlags);
  const int dotsRight = uncut.Bounds(kInk).Right, dotsLeft = dotsRight - cut.Width(u"...");
  EXPECT_EQ(cut.Bounds(kMarkBack).Left, cut.Width(u"Hello "));
  EXPECT_GE(cut.Bounds(kMarkBack).Right, dotsRight);
  int dots = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = dotsLeft; x < dotsRight; ++x)
      if (uncut.At(x, y) == kInk) {
        ++dots;
        EXPECT_EQ(cut.At(x, y), kMarkText) << x << "," << y;
      }
  EXPECT_GT(dots, 0);

  // A metafile records the text without the highlight.
  Sheet played(100, 20);
  HDC recorder = CreateEnhMetaFileW(played.DC(), nullptr, nullptr, nullptr);
  TRect area(0, 0, 100, 20);
  vxPaintMultilineText(recorder, text, area, vxtlWordWrap, 6, 5, &played.font, TColor(kMarkBack), TColor(kMarkText), 0,
                       0, 0, clDefault, 1.0f);
  HENHMETAFILE recording = CloseEnhMetaFile(recorder);
  const RECT bounds{0, 0, 100, 20};
  PlayEnhMetaFile(played.DC(), recording, &bounds);
  DeleteEnhMetaFile(recording);
  EXPECT_TRUE(played.Bounds(kMarkBack).IsEmpty());
  EXPECT_FALSE(played.Bounds(kInk).IsEmpty());

  // Without colours of its own the highlight is not drawn differently.
  Sheet none(100, 20), plain(100, 20);
  none.Paint(text, TRect(0, 0, 100, 20), vxtlWordWrap, 6, 5, clNone, clDefault);
  plain.Paint(text, TRect(0, 0, 100, 20), vxtlWordWrap);
  EXPECT_EQ(none.Pixels(), plain.Pixels());
}

TEST(TextPaint, TinyTextIsAGreyPattern) {
  TPinnedSystemColors colors({{COLOR_WINDOW, kWindow}});
  const std::u16string text = u"tiny words here";
  for (bool bold : {false, true}) {
    SCOPED_TRACE(bold ? "bold" : "normal");
    Sheet sheet(100, 20, "Tahoma", -4);
    if (bold) sheet.font.SetStyle(fsBold);
    sheet.Paint(text, TRect(0, 0, 100, 20), vxtlWordWrap | vxtlPattern);
    TvxTextLayoutParams params;
    SelectObject(sheet.DC(), sheet.font.Handle());
    vxInitTextParams(sheet.DC(), vxtlPattern, params, 1.0f);
    ASSERT_TRUE(params.Pattern);
    const int width = sheet.Width(text);
    const TRect bar = sheet.Bounds(kInk);
    EXPECT_EQ(bar.Left, 0);
    EXPECT_EQ(bar.Right, width);
    EXPECT_EQ(bar.Top, 1);
    // Solid for bold fonts; otherwise ink and window colour alternate.
    for (int x = 0; x < width; ++x) {
      const bool ink = bold || (x + 1) % 2 == 0;
      EXPECT_EQ(sheet.At(x, 1), ink ? kInk : kWindow) << x;
    }
    if (!bold) {
      EXPECT_NE(sheet.At(0, 1), sheet.At(0, 2));
    }
  }
  // Fonts of readable size draw their glyphs.
  Sheet readable(100, 20);
  readable.Paint(text, TRect(0, 0, 100, 20), vxtlWordWrap | vxtlPattern);
  EXPECT_TRUE(readable.Bounds(kWindow).IsEmpty());
  EXPECT_FALSE(readable.Bounds(kInk).IsEmpty());
}

TEST(TextPaint, JustifiedRowsReachTheRightEdge) {
  Sheet justified(200, 40), left(200, 40);
  // The long last word wraps; the first row is well short of 150 pixels.
  const std::u16string text = u"one two three four five sixteenseventeen";
  ASSERT_LT(left.Width(u"one two three four five"), 140);
  justified.Paint(text, TRect(0, 0, 150, 40), vxtlJustifyWrapped);
  left.Paint(text, TRect(0, 0, 150, 40), vxtlWordWrap);
  TvxTextLayoutParams params;
  vxInitTextParams(justified.DC(), 0, params, 1.0f);
  auto rowInk = [&](Sheet& s, int top) {
    int right = 0;
    for (int y = top; y < top + params.RowPitch; ++y)
      for (int x = 0; x < 200; ++x)
        if (s.At(x, y) == kInk) right = std::max(right, x + 1);
    return right;
  };
  // The wrapped first row spreads to the edge; the last one does not.
  EXPECT_LT(rowInk(left, 0), 140);
  EXPECT_GE(rowInk(justified, 0), 147);
  EXPECT_LE(rowInk(justified, 0), 150);
  EXPECT_EQ(rowInk(justified, params.RowPitch), rowInk(left, params.RowPitch));
}

TEST(TextPaint, MeasuringGivesTheRectangleAndDrawsNothing) {
  Sheet sheet(200, 100);
  const std::u16string text = u"aaa bbb\nccccccc dd";
  TvxTextLayoutParams params;
  vxInitTextParams(sheet.DC(), 0, params, 1.0f);
  TRect rect(10, 10, 200, 100);
  const int height = sheet.Measure(text, rect, vxtlWordWrap | vxtlCalcRect);
  EXPECT_EQ(height, 2 * params.RowPitch - (params.RowPitch - params.RowHeight));
  EXPECT_EQ(rect, TRect(10, 10, 10 + sheet.Width(u"ccccccc dd"), 10 + height));
  EXPECT_TRUE(sheet.Bounds(kInk).IsEmpty());

  TRect count(0, 0, 200, 100);
  EXPECT_EQ(sheet.Measure(text, count, vxtlWordWrap | vxtlCalcRowCount), 2);
  EXPECT_EQ(sheet.Paint(u"", count, vxtlWordWrap), 0);
  TRect empty(0, 0, 0, 100);
  EXPECT_EQ(sheet.Paint(text, empty, vxtlWordWrap), 0);
  // Mnemonic marks hidden: "&&" shows one ampersand.
  TRect hidden(0, 0, 200, 100), shown(0, 0, 200, 100);
  sheet.Measure(u"A&&B&C", hidden, vxtlSingleLine | vxtlCalcRect | vxtlHidePrefix);
  sheet.Measure(u"A&BC", shown, vxtlSingleLine | vxtlCalcRect);
  EXPECT_EQ(hidden, shown);
}

TEST(TextPaint, EightBitTextAndTheOlderSystemsGiveTheSamePicture) {
  const std::u16string wide = u"Précédent suivant";
  Sheet reference(150, 20), canvas(150, 20), older(150, 20);
  reference.Paint(wide, TRect(0, 0, 150, 20), vxtlWordWrap);

  TvxTextLayoutParams params;
  vxInitCanvasTextParams(canvas.bitmap.Canvas(), vxtlWordWrap, params, 1.0f);
  TvxTextRows rows;
  int count = 0;
  EXPECT_TRUE(vxBuildCanvasTextRowsAnsi(canvas.bitmap.Canvas(), "Précédent suivant", TRect(0, 0, 150, 20), params,
                                        rows, count, 0));
  ASSERT_EQ(count, 1);
  EXPECT_TRUE(rows.Text == wide);
  EXPECT_EQ(vxTextRowAt(rows, 0).Text, rows.Text.data());
  EXPECT_EQ(vxTextRowAt(rows, 0).Width, reference.Width(wide));
  TRect area(0, 0, 150, 20);
  vxPaintMultilineCanvasText(canvas.bitmap.Canvas(), "Précédent suivant", area, vxtlWordWrap, &canvas.font, 0, 0, 0,
                             clDefault, 1.0f);
  EXPECT_EQ(canvas.Pixels(), reference.Pixels());

  // Off the NT family the wide functions go through the ANSI code page.
  TvdOSFlags flags = vdOSFlags();
  flags.NTFamily = false;
  flags.OS9xFamily = true;
  const TvdOSFlags saved = vdSetOSFlags(flags);
  older.Paint(wide, TRect(0, 0, 150, 20), vxtlWordWrap);
  vdSetOSFlags(saved);
  EXPECT_EQ(older.Pixels(), reference.Pixels());
}

TEST(TextPaint, TabbedTextIsMeasuredAndWrittenWhole) {
  // Wider than 65535 pixels: the platform's tabbed extent is 16-bit.
  // Measured with and without tabs, the text has one width.
  Sheet big(10, 10, "Tahoma", -40);
  const std::u16string wide(3000, u'W');
  EXPECT_GT(big.Width(wide), 0xFFFF);
  EXPECT_EQ(vxMeasureTextSpan(big.DC(), wide.data(), int(wide.size()), true).cx, big.Width(wide));

  // Beyond 4096 characters the output goes on, tab stops kept.
  Sheet sheet(1, 1);
  TEXTMETRICW tm{};
  GetTextMetricsW(sheet.DC(), &tm);
  std::u16string text(2000, u' ');
  text += u"\tx";
  text += std::u16string(3000, u' ');
  text += u"y";
  const int tab = 8 * tm.tmAveCharWidth;
  const int xAt = (sheet.Width(std::u16string(2000, u' ')) / tab + 1) * tab;
  const int yAt = xAt + sheet.Width(u"x") + sheet.Width(std::u16string(3000, u' '));
  EXPECT_EQ(vxMeasureTextSpan(sheet.DC(), text.data(), int(text.size()), true).cx, yAt + sheet.Width(u"y"));
  Sheet out(yAt + 20, 20);
  SetBkMode(out.DC(), TRANSPARENT);
  vxTabbedTextOutWide(out.DC(), 0, 0, text.data(), int(text.size()), 0, nullptr, 0);
  const TRect ink = out.Bounds(kInk);
  EXPECT_GE(ink.Left, xAt);
  EXPECT_LT(ink.Left, xAt + sheet.Width(u"x"));
  EXPECT_GT(ink.Right, yAt);
  EXPECT_LE(ink.Right, yAt + sheet.Width(u"y"));
}

}  // namespace

// --- Picture sheet ------------------------------------------------------------------------

// Every layout look on one sheet, saved as "text_layout.png" in this test's
// build folder to be judged by eye.
TEST(TextPaint, EveryLookIsDrawnOnThePictureSheet) {
  TvxFoundationModules modules;  // GDI+ writes the PNG
  TPinnedSystemColors colors({{COLOR_WINDOW, RGB(255, 255, 255)}});
  const std::u16string prose =
      u"The installer copies every file of the package into the folder chosen on the first page.";
  const struct {
    const char* caption;
    std::u16string text;
    TvxTextLayoutFlags flags;
    int markStart, markLength, maxRows, fontHeight;
    TFontStyles style;
  } samples[] = {
      {"left", prose, vxtlWordWrap, 0, 0, 0, -11, 0},
      {"centre, centred vertically", prose, vxtlWordWrap | vxtlAlignCenter | vxtlAlignVCenter, 0, 0, 0, -11, 0},
      {"right, bottom", prose, vxtlWordWrap | vxtlAlignRight | vxtlAlignBottom, 0, 0, 0, -11, 0},
      {"justified (wrapped rows)", prose, vxtlJustifyWrapped, 0, 0, 0, -11, 0},
      {"rows spread over the height", u"one\ntwo\nthree\nfour", vxtlAlignSpread, 0, 0, 0, -11, 0},
      {"end ellipsis, one row", prose, vxtlWordWrap | vxtlEndEllipsis, 0, 0, 1, -11, 0},
      {"highlight \"folder chosen\"", prose, vxtlWordWrap, 56, 13, 0, -11, 0},
      {"highlight across a row end", prose, vxtlWordWrap | vxtlAlignCenter, 30, 30, 0, -11, 0},
      {"character break", u"Supercalifragilisticexpialidocious-supercalifragilisticexpialidocious and more",
       vxtlWordWrap | vxtlCharBreak, 0, 0, 0, -11, 0},
      {"tabs expanded", u"Name\tValue\nFolder\tC:\\Quillor\nSize\t12 MB", vxtlWordWrap | vxtlExpandTabs, 0, 0, 0,
       -11, 0},
      {"tiny text as pattern", prose, vxtlWordWrap | vxtlPattern, 0, 0, 0, -4, 0},
      {"tiny bold text as pattern", prose, vxtlWordWrap | vxtlPattern, 0, 0, 0, -4, fsBold},
  };
  constexpr int kColumns = 3, kCellWidth = 240, kCellHeight = 110;
  const int rows = int(std::size(samples) + kColumns - 1) / kColumns;
  Sheet sheet(kColumns * kCellWidth, rows * kCellHeight);
  for (size_t i = 0; i < std::size(samples); ++i) {
    const auto& s = samples[i];
    const int left = int(i % kColumns) * kCellWidth, top = int(i / kColumns) * kCellHeight;
    SetBkMode(sheet.DC(), TRANSPARENT);
    SetTextColor(sheet.DC(), RGB(90, 90, 90));
    TextOutA(sheet.DC(), left + 10, top + 4, s.caption, int(strlen(s.caption)));
    const TRect box(left + 10, top + 22, left + kCellWidth - 10, top + kCellHeight - 8);
    const RECT frame{box.Left - 1, box.Top - 1, box.Right + 1, box.Bottom + 1};
    FrameRect(sheet.DC(), &frame, HBRUSH(GetStockObject(LTGRAY_BRUSH)));
    TFont font;
    font.SetName(s.fontHeight == -11 ? "MS Sans Serif" : "Tahoma");
    font.SetHeight(s.fontHeight);
    font.SetStyle(s.style);
    TRect area = box;
    vxPaintMultilineText(sheet.DC(), s.text, area, s.flags, s.markStart, s.markLength,
                         &font, TColor(RGB(255, 230, 120)), TColor(RGB(200, 0, 0)), s.maxRows, 0, 0, clDefault,
                         1.0f);
  }
  const char* binary = std::getenv("QE_BINARY_DIR");
  ASSERT_NE(binary, nullptr);
  GdiFlush();
  for (int y = 0; y < sheet.bitmap.Height(); ++y)  // GDI leaves alpha 0: opaque
    for (int x = 0; x < sheet.bitmap.Width(); ++x) static_cast<uint32_t*>(sheet.bitmap.ScanLine(y))[x] |= 0xFF000000;
  TvdPNGImage png;
  png.LoadFromBitmap(&sheet.bitmap);
  TFileStream file(String(binary) + "/tests/foundation/text_layout.png", fmCreate);
  png.SaveToStream(file);
  EXPECT_GT(file.Size(), 1000);
}
