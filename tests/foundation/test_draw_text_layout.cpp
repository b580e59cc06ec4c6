// The multi-line text layout without a device: rows broken and placed with
// a measurer of fixed widths (letters 10 pixels, spaces 4, tabs 20, wide
// characters 20), so that every break can be worked out by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/vxDrawTextUtils.h"

namespace {

int CharWidth(char16_t c) {
  if (c == u' ') return 4;
  if (c == u'\t') return 20;
  return c >= 0x3000 ? 20 : 10;
}

class FixedMeasurer : public TvxTextMeasurer {
 public:
  int SpanWidth(const char16_t* text, int length, bool) override {
    ++Calls;
    int width = 0;
    for (int i = 0; i < length; ++i) width += CharWidth(text[i]);
    return width;
  }
  int Calls = 0;
};

constexpr int kRowHeight = 16;

TvxTextLayoutParams Params(TvxTextLayoutFlags flags) {
  TvxTextFontMetrics metrics;
  metrics.Height = kRowHeight;
  return vxTextParamsFromMetrics(metrics, flags, 1.0f, false);
}

struct Layout {
  std::vector<std::u16string> Rows;
  std::vector<int> Widths, BreakCounts;
  bool Fits;
};

Layout Build(const std::u16string& text, int width, TvxTextLayoutFlags flags, int height = 1000, int maxRows = 0) {
  FixedMeasurer m;
  TvxTextRows rows;
  int count = -1;
  Layout out;
  out.Fits = vxBuildTextRows(m, text.data(), int(text.size()), TRect(0, 0, width, height), Params(flags), rows,
                             count, maxRows);
  EXPECT_EQ(count, vxGetTextRowCount(rows));
  for (int i = 0; i < count; ++i) {
    const TvxTextRow& row = vxTextRowAt(rows, i);
    EXPECT_EQ(row.Text, text.data() + row.StartOffset);
    out.Rows.emplace_back(row.Text, size_t(row.Length));
    out.Widths.push_back(row.Width);
    out.BreakCounts.push_back(row.BreakCount);
  }
  return out;
}

using Rows = std::vector<std::u16string>;

TEST(TextLayout, BreaksRowsByWordsSpacesAndLineBreaks) {
  const struct {
    const char* name;
    std::u16string text;
    int width;
    TvxTextLayoutFlags flags;
    Rows rows;
  } cases[] = {
      // "ab " (24) is wider than 20: the space starts row 2 and is skipped.
      {"left skips the leading space", u"ab cd", 20, vxtlWordWrap, {u"ab", u"cd"}},
      // "ab " fits in 25: left keeps the trailing space, centre and right drop it.
      {"left keeps the trailing space", u"ab cd", 25, vxtlWordWrap, {u"ab ", u"cd"}},
      {"centre drops the trailing space", u"ab cd", 25, vxtlWordWrap | vxtlAlignCenter, {u"ab", u"cd"}},
      {"right drops the trailing space", u"ab cd", 25, vxtlWordWrap | vxtlAlignRight, {u"ab", u"cd"}},
      {"centre skips the leading space", u"ab cd", 20, vxtlWordWrap | vxtlAlignCenter, {u"ab", u"cd"}},
      // The space a row breaks at goes with the break, also on the right:
      // kept, it would make a row of its own.
      {"right skips the leading space", u"ab cd", 20, vxtlWordWrap | vxtlAlignRight, {u"ab", u"cd"}},
      {"only one space is skipped", u"ab   cd", 20, vxtlWordWrap, {u"ab", u"  ", u"cd"}},
      {"drop spaces skips them all", u"ab   cd", 20, vxtlWordWrap | vxtlDropSpaces, {u"ab", u"cd"}},
      {"CR LF, LF CR and LF are one break each", u"ab\r\ncd\n\ref\ngh", 100, vxtlWordWrap,
       {u"ab", u"cd", u"ef", u"gh"}},
      {"an empty line between two breaks", u"ab\n\ncd", 100, vxtlWordWrap, {u"ab", u"", u"cd"}},
      {"a trailing line break adds no row", u"ab\r\n", 100, vxtlWordWrap, {u"ab"}},
      {"without wrapping only line breaks end rows", u"ab cd ef\ngh", 20, 0, {u"ab cd ef", u"gh"}},
      {"justified alignment wraps by itself", u"ab cd", 20, vxtlJustifyAll, {u"ab", u"cd"}},
      {"a long word stays whole without character break", u"ab abcdefgh", 35, vxtlWordWrap,
       {u"ab ", u"abcdefgh"}},
      {"character break cuts a word longer than the row", u"abcdefgh", 35, vxtlWordWrap | vxtlCharBreak,
       {u"abc", u"def", u"gh"}},
      {"a following word still moves down first", u"ab cdefghij", 35, vxtlWordWrap | vxtlCharBreak,
       {u"ab ", u"cde", u"fgh", u"ij"}},
      {"edit-control rules break characters too", u"abcdefgh", 35, vxtlWordWrap | vxtlEditControl,
       {u"abc", u"def", u"gh"}},
      {"a row too narrow for one character still takes one", u"abc", 5, vxtlWordWrap | vxtlCharBreak,
       {u"a", u"b", u"c"}},
      {"character break needs wrapping", u"abcdefgh", 35, vxtlCharBreak, {u"abcdefgh"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Build(c.text, c.width, c.flags).Rows, c.rows);
  }
}

TEST(TextLayout, RowWidthsAreMeasuredAfterTrimming) {
  EXPECT_EQ(Build(u"ab cd", 25, vxtlWordWrap).Widths, (std::vector<int>{24, 20}));
  EXPECT_EQ(Build(u"ab cd", 25, vxtlWordWrap | vxtlAlignCenter).Widths, (std::vector<int>{20, 20}));
}

TEST(TextLayout, JustifiedRowsDropTrailingSpacesAndCountTheInnerOnes) {
  const struct {
    const char* name;
    std::u16string text;
    TvxTextLayoutFlags flags;
    Rows rows;
    std::vector<int> breaks;
  } cases[] = {
      // "aa bb cc" (68) is wider than 60.
      {"wrapped rows only", u"aa bb cc dd", vxtlJustifyWrapped, {u"aa bb", u"cc dd"}, {1, 0}},
      {"every row", u"aa bb cc dd", vxtlJustifyAll, {u"aa bb", u"cc dd"}, {1, 1}},
      {"tabs count as breaks", u"a\tb c", vxtlJustifyAll, {u"a\tb c"}, {2}},
      {"a row ended by a line break is not wrapped", u"a b  \nc", vxtlJustifyWrapped, {u"a b  ", u"c"}, {0, 0}},
      {"but every row trims its end", u"a b  \nc", vxtlJustifyAll, {u"a b", u"c"}, {1, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Layout layout = Build(c.text, 60, c.flags);
    EXPECT_EQ(layout.Rows, c.rows);
    EXPECT_EQ(layout.BreakCounts, c.breaks);
  }
}

TEST(TextLayout, ExactlyTheListedCharactersMayNotBeginARow) {
  int count = 0;
  for (int c = 0; c <= 0xFFFF; ++c) count += vxIsLineStartForbiddenChar(char16_t(c));
  EXPECT_EQ(count, 122);
  for (char16_t c : {u'!', u'%', u')', u',', u'.', u':', u';', u'>', u'?', u']', u'}', u'\u300D', u'\u3001',
                     u'\uFF09', u'\uFE30', u'\uFFE0', u'\uFFFF'})
    EXPECT_TRUE(vxIsLineStartForbiddenChar(c)) << int(c);
  for (char16_t c : {u'a', u'(', u'[', u'<', u'\u300C', u'\u3004', u'\uFF08', u'\uFE32', u'\uFFDF'})
    EXPECT_FALSE(vxIsLineStartForbiddenChar(c)) << int(c);
}

TEST(TextLayout, EastAsianTextBreaksBetweenAnyTwoWideCharacters) {
  EXPECT_TRUE(vxIsWideWordChar(u'\u65E5'));   // ideograph
  EXPECT_TRUE(vxIsWideWordChar(u'\u3067'));   // hiragana
  EXPECT_TRUE(vxIsWideWordChar(u'\u30C6'));   // katakana
  EXPECT_TRUE(vxIsWideWordChar(u'\uAC00'));   // hangul
  EXPECT_FALSE(vxIsWideWordChar(u'\u00E9'));  // one byte in the ANSI code page
  EXPECT_FALSE(vxIsWideWordChar(u'a'));

  const std::u16string japanese = u"日本語テキスト";  // three fit in 60
  const Rows japaneseRows{u"日本語", u"テキス", u"ト"};  // (outside the macro: its text is 8-bit)
  EXPECT_EQ(Build(japanese, 60, vxtlWordWrap).Rows, japaneseRows);
  // A Latin word ends where a wide character begins.
  const std::u16string mixed = u"ab日本";
  EXPECT_EQ(vxFindWordEnd(mixed.data(), int(mixed.size()), 0), 2);
}

TEST(TextLayout, AClosingBracketNeverStartsARow) {
  // 漢 and 字 fit in 40, but 」 (U+300D) goes with the character before it.
  const std::u16string text = u"漢字」です";
  EXPECT_EQ(vxFindWordEnd(text.data(), int(text.size()), 1), 3);
  const Rows rows{u"漢", u"字」", u"です"};
  EXPECT_EQ(Build(text, 40, vxtlWordWrap).Rows, rows);
}

TEST(TextLayout, TheLastRowEndsWhereTheRectangleOrTheRowLimitSays) {
  const std::u16string text = u"aa bb cc dd ee ff";  // 50 wide: "aa bb " then "cc dd "...
  const struct {
    const char* name;
    TvxTextLayoutFlags flags;
    int height, maxRows;
    Rows rows;
    bool fits;
  } cases[] = {
      {"all rows", vxtlWordWrap, 1000, 0, {u"aa bb ", u"cc dd ", u"ee ff"}, true},
      // Row 2 is the last: a word that does not fit stays on it for the "...".
      {"row limit with ellipsis", vxtlWordWrap | vxtlEndEllipsis | vxtlAlignVCenter, 1000, 2,
       {u"aa bb ", u"cc dd ee"}, false},
      {"row limit without ellipsis", vxtlWordWrap | vxtlAlignVCenter, 1000, 2, {u"aa bb ", u"cc dd "}, false},
      {"height with ellipsis", vxtlWordWrap | vxtlEndEllipsis, 20, 0, {u"aa bb ", u"cc dd ee"}, false},
      {"height: a partly visible row counts", vxtlWordWrap, 20, 0, {u"aa bb ", u"cc dd "}, false},
      {"height of exactly two rows", vxtlWordWrap | vxtlEndEllipsis, 32, 0, {u"aa bb ", u"cc dd ee"}, false},
      {"edit-control rules: only whole rows", vxtlWordWrap | vxtlEditControl, 20, 0, {u"aa bb "}, false},
      {"edit-control rules without clipping", vxtlWordWrap | vxtlEditControl | vxtlNoClip, 20, 0,
       {u"aa bb ", u"cc dd "}, false},
      {"no ellipsis for justified text", vxtlJustifyAll | vxtlEndEllipsis, 20, 0, {u"aa bb", u"cc dd"}, false},
      {"measuring ignores the height", vxtlWordWrap | vxtlCalcRect, 20, 0, {u"aa bb ", u"cc dd ", u"ee ff"}, true},
      {"counting rows honours the limit", vxtlWordWrap | vxtlCalcRowCount, 20, 2, {u"aa bb ", u"cc dd "}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Layout layout = Build(text, 50, c.flags, c.height, c.maxRows);
    EXPECT_EQ(layout.Rows, c.rows);
    EXPECT_EQ(layout.Fits, c.fits);
  }
}

TEST(TextLayout, SingleLineIsOneRowThatOverflowsWhenWider) {
  EXPECT_EQ(Build(u"ab cd ef", 100, vxtlSingleLine | vxtlWordWrap).Rows, (Rows{u"ab cd ef"}));
  EXPECT_TRUE(Build(u"ab cd ef", 100, vxtlSingleLine).Fits);
  EXPECT_FALSE(Build(u"ab cd ef", 20, vxtlSingleLine).Fits);
  // Measuring takes the whole text, line breaks and all.
  EXPECT_EQ(Build(u"ab\ncd", 20, vxtlSingleLine | vxtlCalcRect).Rows, (Rows{u"ab\ncd"}));
  EXPECT_EQ(Build(u"ab\ncd", 20, vxtlSingleLine).Rows, (Rows{u"ab"}));
  EXPECT_TRUE(Build(u"", 20, vxtlWordWrap).Rows.empty());
}

TEST(TextLayout, RowsBeyondTheInlineOnesAreKept) {
  std::u16string text;
  for (int i = 0; i < 40; ++i) text += u"r" + std::u16string(1, char16_t(u'A' + i % 26)) + u"\n";
  const Layout layout = Build(text, 100, vxtlWordWrap);
  ASSERT_EQ(layout.Rows.size(), 40u);
  EXPECT_EQ(layout.Rows[39], u"rN");

  TvxTextRows rows;
  vxSetTextRowCount(rows, 40);
  vxTextRowAt(rows, 35).Width = 7;
  vxTextRowAt(rows, 3).Width = 5;
  EXPECT_EQ(vxWidestTextRowWidth(rows, 36), 7);
  EXPECT_EQ(vxWidestTextRowWidth(rows, 35), 5);
  vxResetTextRows(rows);
  EXPECT_EQ(vxGetTextRowCount(rows), 0);
  EXPECT_TRUE(rows.Dynamic.empty());
}

TEST(TextLayout, MeasuringStaysLinearInTheTextLength) {
  // A row costs a bounded number of measurements, whatever the text's length.
  auto calls = [](int words) {
    std::u16string text;
    for (int i = 0; i < words; ++i) text += u"word ";
    FixedMeasurer m;
    TvxTextRows rows;
    int count = 0;
    vxBuildTextRows(m, text.data(), int(text.size()), TRect(0, 0, 300, 100000), Params(vxtlWordWrap), rows, count,
                    0);
    return m.Calls;
  };
  EXPECT_LE(calls(2000), 11 * calls(200));
}

// --- Placing rows -------------------------------------------------------------------------

std::vector<TPoint> Place(const TRect& rect, TvxTextLayoutFlags flags, std::vector<int> widths,
                          int externalLeading = 0) {
  TvxTextLayoutParams params = Params(flags);
  params.ExternalLeading = externalLeading;
  TvxTextRows rows;
  vxSetTextRowCount(rows, int(widths.size()));
  for (size_t i = 0; i < widths.size(); ++i) vxTextRowAt(rows, int(i)).Width = widths[i];
  vxLayoutTextRows(rect, params, rows, rows.Count);
  std::vector<TPoint> out;
  for (int i = 0; i < rows.Count; ++i) out.push_back({vxTextRowAt(rows, i).X, vxTextRowAt(rows, i).Y});
  return out;
}

TEST(TextLayout, RowsArePlacedByTheAlignments) {
  const TRect r(10, 20, 110, 120);
  using P = std::vector<TPoint>;
  EXPECT_EQ(Place(r, vxtlAlignLeft, {40, 60}), (P{{10, 20}, {10, 36}}));
  EXPECT_EQ(Place(r, vxtlAlignCenter, {40, 61}), (P{{40, 20}, {29, 36}}));
  EXPECT_EQ(Place(r, vxtlAlignRight, {40, 60}), (P{{70, 20}, {50, 36}}));
  EXPECT_EQ(Place(r, vxtlJustifyAll, {40}), (P{{10, 20}}));
  EXPECT_EQ(Place(r, vxtlAlignVCenter, {40, 40}), (P{{10, 54}, {10, 70}}));
  EXPECT_EQ(Place(r, vxtlAlignBottom, {40, 40}, 3), (P{{10, 91}, {10, 107}}));
  // Too wide or too tall: keep-left and keep-top hold the rows inside.
  EXPECT_EQ(Place(r, vxtlAlignRight, {140}), (P{{-30, 20}}));
  EXPECT_EQ(Place(r, vxtlAlignRight | vxtlKeepLeft, {140}), (P{{10, 20}}));
  EXPECT_EQ(Place(TRect(0, 0, 100, 20), vxtlAlignBottom, {1, 1}), (P{{0, -12}, {0, 4}}));
  EXPECT_EQ(Place(TRect(0, 0, 100, 20), vxtlAlignBottom | vxtlKeepTop, {1, 1}), (P{{0, 0}, {0, 16}}));
}

TEST(TextLayout, SpreadRowsShareTheHeight) {
  using P = std::vector<TPoint>;
  // Rectangle 100, row 16, 4 rows: pitch (100 - 16) / 3 = 28, remainder 0.
  EXPECT_EQ(Place(TRect(0, 0, 50, 100), vxtlAlignSpread, {1, 1, 1, 1}), (P{{0, 0}, {0, 28}, {0, 56}, {0, 84}}));
  // 102: pitch 28, the remainder 2 goes one pixel each to the first rows.
  EXPECT_EQ(Place(TRect(0, 0, 50, 102), vxtlAlignSpread, {1, 1, 1, 1}), (P{{0, 0}, {0, 29}, {0, 58}, {0, 86}}));
  // Too little height to spread: the normal pitch from the top.
  EXPECT_EQ(Place(TRect(0, 0, 50, 40), vxtlAlignSpread, {1, 1, 1, 1}), (P{{0, 0}, {0, 16}, {0, 32}, {0, 48}}));
  EXPECT_EQ(Place(TRect(0, 0, 50, 100), vxtlAlignSpread, {1}), (P{{0, 0}}));
}

// --- Parameters, indents and the highlight -------------------------------------------------

TEST(TextLayout, ParametersComeFromTheMetricsAndFlags) {
  TvxTextFontMetrics metrics;
  metrics.Height = 13;
  metrics.ExternalLeading = 3;
  metrics.Weight = 700;
  EXPECT_EQ(vxTextParamsFromMetrics(metrics, vxtlExternalLeading, 1.0f, false).RowPitch, 16);
  EXPECT_EQ(vxTextParamsFromMetrics(metrics, 0, 1.0f, false).RowPitch, 13);
  EXPECT_EQ(vxTextParamsFromMetrics(metrics, 0, 1.0f, false).ExternalLeading, 0);
  EXPECT_EQ(vxTextParamsFromMetrics(metrics, vxtlExternalLeading, 1.4f, false).RowPitch, 22);  // 22.4
  EXPECT_TRUE(vxTextParamsFromMetrics(metrics, 0, 1.0f, false).Bold);

  const TvxTextLayoutParams p =
      vxTextParamsFromMetrics(metrics, vxtlJustifyWrapped | vxtlAlignBottom | vxtlHidePrefix, 1.0f, true);
  EXPECT_EQ(p.HorzAlign, 3);
  EXPECT_EQ(p.VertAlign, 2);
  EXPECT_TRUE(p.HidePrefix);
  EXPECT_TRUE(p.CharBreak);  // a Far East system breaks characters
  EXPECT_FALSE(vxTextParamsFromMetrics(metrics, 0, 1.0f, false).CharBreak);
}

TEST(TextLayout, IndentsComeOffTheRectangleAndGoBackOn) {
  TvxTextLayoutParams p = Params(vxtlAutoIndents);
  p.OnePixel = 2;
  TRect inner, outer;
  vxApplyTextIndents(TRect(0, 0, 100, 50), p, 3, 5, inner);
  EXPECT_EQ(inner, TRect(10, 4, 86, 46));
  vxRemoveTextIndents(inner, p, 3, 5, outer);
  EXPECT_EQ(outer, TRect(0, 0, 100, 50));
  vxApplyTextIndents(TRect(0, 0, 100, 50), Params(0), 3, 5, inner);
  EXPECT_EQ(inner, TRect(3, 0, 95, 50));
}

TEST(TextLayout, TheHighlightStaysInsideTheText) {
  const struct {
    int start, count, clipped;
  } cases[] = {{0, 3, 3}, {2, 10, 8}, {9, 5, 1}, {10, 1, 0}, {-1, 4, 0}, {4, 0, 0}, {4, -2, 0}};
  for (const auto& c : cases) {
    int count = c.count;
    vxClipTextHighlight(10, c.start, count);
    EXPECT_EQ(count, c.clipped) << c.start << " " << c.count;
  }
}

}  // namespace
