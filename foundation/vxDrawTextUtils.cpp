// The portable half of the multi-line text layout: parameters, row storage,
// the word and row breaker and the placement of rows.
//
// A row is built word by word, each time measuring from the row's start to
// the word's end (so that kerning and overhangs count as they will when the
// row is written); the first word that does not fit ends the row. Every
// row costs a bounded number of measurements, so a text's layout time grows
// with its length.
#include "foundation/vxDrawTextUtils.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "foundation/vdCore.h"

// --- Parameters ------------------------------------------------------------------------

TvxTextLayoutParams vxTextParamsFromMetrics(const TvxTextFontMetrics& metrics, TvxTextLayoutFlags flags,
                                            float lineSpacingFactor, bool farEast) {
  TvxTextLayoutParams p{};
  p.RowHeight = metrics.Height;
  p.Bold = metrics.Weight >= 700;
  p.BreakChar = metrics.BreakChar;
  p.MaxCharWidth = metrics.MaxCharWidth;
  p.CharSet = metrics.CharSet;
  p.HorzAlign = uint8_t(flags & vxtlHorzAlignMask);
  p.VertAlign = uint8_t((flags & vxtlVertAlignMask) >> 4);
  p.WordWrap = flags & vxtlWordWrap;
  p.SingleLine = flags & vxtlSingleLine;
  p.ExpandTabs = flags & vxtlExpandTabs;
  p.EndEllipsis = flags & vxtlEndEllipsis;
  p.IncludeExternalLeading = flags & vxtlExternalLeading;
  p.EditControl = flags & vxtlEditControl;
  p.DropSpaces = flags & vxtlDropSpaces;
  p.NoClip = flags & vxtlNoClip;
  p.AutoIndents = flags & vxtlAutoIndents;
  p.Pattern = flags & vxtlPattern;
  p.KeepLeft = flags & vxtlKeepLeft;
  p.KeepTop = flags & vxtlKeepTop;
  p.CharBreak = (flags & vxtlCharBreak) || farEast;
  p.CountRows = flags & vxtlCalcRowCount;
  p.CalcRect = flags & vxtlCalcRect;
  p.HidePrefix = flags & vxtlHidePrefix;
  if (p.IncludeExternalLeading) p.ExternalLeading = metrics.ExternalLeading;
  p.RowPitch = int32_t(std::lround(double(p.RowHeight + p.ExternalLeading) * lineSpacingFactor));
  p.OnePixel = 1;
  return p;
}

namespace {
constexpr int kAutoIndent = 2;

// rect with each side moved in by the indents (out for negative ones).
TRect Indented(const TRect& rect, const TvxTextLayoutParams& params, int sign, int leftIndent, int rightIndent) {
  const int a = sign * (params.AutoIndents ? kAutoIndent * params.OnePixel : 0);
  return TRect(rect.Left + a + sign * leftIndent * params.OnePixel, rect.Top + a,
               rect.Right - a - sign * rightIndent * params.OnePixel, rect.Bottom - a);
}
}  // namespace

void vxApplyTextIndents(const TRect& rect, const TvxTextLayoutParams& params, int leftIndent, int rightIndent,
                        TRect& textRect) {
  textRect = Indented(rect, params, 1, leftIndent, rightIndent);
}

void vxRemoveTextIndents(const TRect& textRect, const TvxTextLayoutParams& params, int leftIndent,
                         int rightIndent, TRect& rect) {
  rect = Indented(textRect, params, -1, leftIndent, rightIndent);
}

// --- Rows ------------------------------------------------------------------------------

void vxResetTextRows(TvxTextRows& rows) {
  rows.Count = 0;
  TvxDynamicTextRows().swap(rows.Dynamic);
}

void vxSetTextRowCount(TvxTextRows& rows, int count) {
  if (count > TvxTextRows::InlineCount && size_t(count - TvxTextRows::InlineCount) > rows.Dynamic.size())
    rows.Dynamic.resize(std::max(size_t(count - TvxTextRows::InlineCount), rows.Dynamic.size() * 2));
  rows.Count = count;
  if (count > 0) vxTextRowAt(rows, count - 1) = TvxTextRow{};
}

TvxTextRow& vxTextRowAt(TvxTextRows& rows, int index) {
  return index < TvxTextRows::InlineCount ? rows.Inline[index]
                                          : rows.Dynamic[size_t(index - TvxTextRows::InlineCount)];
}

const TvxTextRow& vxTextRowAt(const TvxTextRows& rows, int index) {
  return index < TvxTextRows::InlineCount ? rows.Inline[index]
                                          : rows.Dynamic[size_t(index - TvxTextRows::InlineCount)];
}

int vxWidestTextRowWidth(const TvxTextRows& rows, int count) {
  int widest = 0;
  for (int i = 0; i < std::min(count, rows.Count); ++i) widest = std::max(widest, vxTextRowAt(rows, i).Width);
  return widest;
}

// --- Characters and words ---------------------------------------------------------------

namespace {
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

// The characters that may not begin a row, as sorted inclusive ranges.
struct TCharRange {
  char16_t First, Last;
};
constexpr TCharRange kLineStartForbidden[] = {
    {0x0021, 0x0021}, {0x0025, 0x0025}, {0x0029, 0x0029}, {0x002C, 0x002C}, {0x002E, 0x002E}, {0x003A, 0x003B},
    {0x003E, 0x003F}, {0x005D, 0x005D}, {0x007D, 0x007D}, {0x00A8, 0x00A8}, {0x00B0, 0x00B0}, {0x00B7, 0x00B7},
    {0x02C7, 0x02C7}, {0x02C9, 0x02C9}, {0x2013, 0x2016}, {0x2018, 0x2019}, {0x201D, 0x201D}, {0x2022, 0x2022},
    {0x2025, 0x2027}, {0x2032, 0x2033}, {0x2103, 0x2103}, {0x2236, 0x2236}, {0x2574, 0x2574}, {0x3001, 0x3003},
    {0x3005, 0x3005}, {0x3009, 0x3009}, {0x300B, 0x300B}, {0x300D, 0x300D}, {0x300F, 0x300F}, {0x3011, 0x3011},
    {0x3015, 0x3015}, {0x3017, 0x3017}, {0x301E, 0x301E}, {0x309B, 0x309C}, {0xFE30, 0xFE31}, {0xFE33, 0xFE34},
    {0xFE36, 0xFE36}, {0xFE38, 0xFE38}, {0xFE3A, 0xFE3A}, {0xFE3C, 0xFE3C}, {0xFE3E, 0xFE3E}, {0xFE40, 0xFE40},
    {0xFE42, 0xFE42}, {0xFE44, 0xFE44}, {0xFE4F, 0xFE52}, {0xFE54, 0xFE57}, {0xFE5A, 0xFE5A}, {0xFE5C, 0xFE5C},
    {0xFE5E, 0xFE5E}, {0xFF01, 0xFF02}, {0xFF05, 0xFF05}, {0xFF07, 0xFF07}, {0xFF09, 0xFF09}, {0xFF0C, 0xFF0E},
    {0xFF1A, 0xFF1B}, {0xFF1E, 0xFF1F}, {0xFF3D, 0xFF3D}, {0xFF5C, 0xFF5E}, {0xFF61, 0xFF61}, {0xFF63, 0xFF64},
    {0xFF9E, 0xFF9F}, {0xFFE0, 0xFFFF}};
}  // namespace

bool vxIsLineStartForbiddenChar(char16_t c) {
  const auto* it = std::lower_bound(std::begin(kLineStartForbidden), std::end(kLineStartForbidden), c,
                                    [](const TCharRange& r, char16_t ch) { return r.Last < ch; });
  return it != std::end(kLineStartForbidden) && it->First <= c;
}

bool vxIsWideWordChar(char16_t c) {
  if (c < 128) return false;
  if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3040 && c <= 0x309F) || (c >= 0x30A0 && c <= 0x30FF) ||
      (c >= 0xAC00 && c <= 0xD7A3))
    return true;
  return vdWideToMultiByte(std::u16string_view(&c, 1), 0).size() > 1;
}

int vxFindWordEnd(const char16_t* text, int length, int pos) {
  if (IsBlank(text[pos])) return pos + 1;
  if (vxIsWideWordChar(text[pos])) {
    // An ideograph keeps a closing mark that may not begin the next row.
    if (pos + 1 < length && vxIsLineStartForbiddenChar(text[pos + 1])) return pos + 2;
    return pos + 1;
  }
  int end = pos + 1;
  while (end < length && !IsBlank(text[end]) && !IsLineEnd(text[end]) && !vxIsWideWordChar(text[end])) ++end;
  return end;
}

// --- Breaking ----------------------------------------------------------------------------

namespace {
bool WrapAllowed(const TvxTextLayoutParams& p) {
  return !p.SingleLine && (p.WordWrap || p.HorzAlign == vxtlJustifyWrapped || p.HorzAlign == vxtlJustifyAll);
}

bool CharBreakAllowed(const TvxTextLayoutParams& p) { return WrapAllowed(p) && (p.CharBreak || p.EditControl); }

bool IsJustified(const TvxTextLayoutParams& p) {
  return p.HorzAlign == vxtlJustifyWrapped || p.HorzAlign == vxtlJustifyAll;
}

// The position after the line break at pos: CR LF and LF CR are one.
int SkipLineBreak(const char16_t* text, int length, int pos) {
  if (pos + 1 < length && IsLineEnd(text[pos + 1]) && text[pos + 1] != text[pos]) return pos + 2;
  return pos + 1;
}

}  // namespace

int vxFittingTextLength(TvxTextMeasurer& measurer, const char16_t* text, int first, int last, int width,
                        bool expandTabs) {
  int fit = first - 1;
  while (first <= last) {
    const int mid = first + (last - first) / 2;
    if (measurer.SpanWidth(text, mid, expandTabs) <= width) {
      fit = mid;
      first = mid + 1;
    } else {
      last = mid - 1;
    }
  }
  return fit;
}

TvxTextBreak vxBreakTextRow(TvxTextMeasurer& measurer, const char16_t* text, int length, int start, int width,
                            const TvxTextLayoutParams& params, bool lastWithEllipsis) {
  const bool wrap = WrapAllowed(params);
  int end = start, pos = start;
  bool soft = false;
  if (!wrap) {
    while (end < length && !IsLineEnd(text[end])) ++end;
    pos = end;
  } else {
    while (pos < length && !IsLineEnd(text[pos])) {
      const int wordEnd = vxFindWordEnd(text, length, pos);
      if (measurer.SpanWidth(text + start, wordEnd - start, params.ExpandTabs) <= width) {
        pos = end = wordEnd;
        continue;
      }
      soft = true;
      if (pos != start && !lastWithEllipsis) {
        end = pos;
      } else if (CharBreakAllowed(params)) {
        // As much of the word as fits (it does not fit whole), at least
        // one character.
        const int before = pos - start;
        const int fit = vxFittingTextLength(measurer, text + start, before + 1, wordEnd - start - 1, width,
                                            params.ExpandTabs);
        end = pos + std::max(fit - before, 1);
      } else {
        end = wordEnd;
        if (params.EndEllipsis && end < length && IsLineEnd(text[end])) {
          pos = SkipLineBreak(text, length, end);
          break;
        }
      }
      pos = end;
      break;
    }
  }

  TvxTextBreak b{end - start, pos, soft, 0};
  if (!soft && pos < length && IsLineEnd(text[pos])) b.Next = SkipLineBreak(text, length, pos);

  if (soft) {
    const uint8_t align = params.HorzAlign;
    if ((align == vxtlAlignCenter || align == vxtlAlignRight) && b.Length > 0 && IsBlank(text[start + b.Length - 1]))
      --b.Length;
    // The blank the row broke at goes with the break, whatever the
    // alignment: a right-aligned row starting with it would otherwise take
    // it alone when the next word does not fit beside it.
    if (b.Next < length && IsBlank(text[b.Next])) ++b.Next;
    if (params.DropSpaces)
      while (b.Next < length && text[b.Next] == u' ') ++b.Next;
  }
  if (params.HorzAlign == vxtlJustifyAll || (params.HorzAlign == vxtlJustifyWrapped && soft)) {
    while (b.Length > 0 && IsBlank(text[start + b.Length - 1])) --b.Length;
    b.BreakCount = int(std::count_if(text + start, text + start + b.Length, IsBlank));
  }
  return b;
}

bool vxBuildTextRows(TvxTextMeasurer& measurer, const char16_t* text, int length, const TRect& rect,
                     const TvxTextLayoutParams& params, TvxTextRows& rows, int& rowCount, int maxRows) {
  vxResetTextRows(rows);
  rowCount = 0;
  if (length <= 0) return true;
  const bool measuring = params.CalcRect || params.CountRows;
  const int width = rect.Width(), height = rect.Height();
  auto addRow = [&](int start, int count, int breakCount) {
    vxSetTextRowCount(rows, ++rowCount);
    TvxTextRow& row = vxTextRowAt(rows, rowCount - 1);
    row.Text = text + start;
    row.Length = count;
    row.StartOffset = start;
    row.Height = params.RowHeight;
    row.BreakCount = breakCount;
    row.Width = measurer.SpanWidth(row.Text, count, params.ExpandTabs);
    return row.Width;
  };

  if (params.CalcRect && params.SingleLine) {
    addRow(0, length, 0);
    return true;
  }
  const bool ellipsisAllowed = params.EndEllipsis && !params.NoClip && !measuring && !IsJustified(params);
  const bool topClipped = params.VertAlign == 0 && !measuring;
  int pos = 0, total = 0, lastWidth = 0;
  bool last = false;
  while (pos < length && !last) {
    total += params.RowPitch;
    const int count = rowCount + 1;
    if (params.SingleLine)
      last = true;
    else if (topClipped)
      // The last row is the one that reaches the bottom: when the rows fill
      // the height exactly, that is the last whole row, not the next one
      // below the rectangle, where its ellipsis would never be seen.
      last = (params.EditControl && !params.NoClip) ? total + params.RowPitch > height : total >= height;
    else
      last = maxRows > 0 && count >= maxRows;
    const TvxTextBreak b =
        vxBreakTextRow(measurer, text, length, pos, width, params, last && ellipsisAllowed);
    lastWidth = addRow(pos, b.Length, b.BreakCount);
    pos = b.Next;  // the breaker always takes a character or a line break
    if (maxRows > 0 && rowCount >= maxRows) break;
  }
  if (measuring) return true;
  const bool overflow = params.SingleLine ? lastWidth > width : pos < length;
  return !overflow;
}

int vxTextRowX(const TRect& rect, const TvxTextLayoutParams& params, int width) {
  int x;
  switch (params.HorzAlign) {
    case vxtlAlignCenter:
      x = rect.Left + (rect.Width() - width) / 2;
      break;
    case vxtlAlignRight:
      x = rect.Right - width;
      break;
    default:
      x = rect.Left;
  }
  return params.KeepLeft ? std::max(x, int(rect.Left)) : x;
}

void vxLayoutTextRows(const TRect& rect, const TvxTextLayoutParams& params, TvxTextRows& rows, int rowCount) {
  if (rowCount <= 0) return;
  int pitch = params.RowPitch, remainder = 0;
  if (params.VertAlign == 3 && rowCount > 1) {
    const int gap = rect.Height() - params.RowHeight;
    if (params.RowHeight * (rowCount - 1) < gap) {
      pitch = gap / (rowCount - 1);
      remainder = gap % (rowCount - 1);
    }
  }
  int top;
  switch (params.VertAlign) {
    case 1:
      top = rect.Top + (rect.Height() - rowCount * pitch) / 2;
      break;
    case 2:
      top = rect.Bottom - rowCount * pitch + params.ExternalLeading;
      break;
    default:
      top = rect.Top;
  }
  if (params.KeepTop) top = std::max(top, int(rect.Top));
  for (int i = 0; i < rowCount; ++i) {
    TvxTextRow& row = vxTextRowAt(rows, i);
    row.X = vxTextRowX(rect, params, row.Width);
    row.Y = top;
    top += pitch;
    if (remainder > 0) {
      ++top;
      --remainder;
    }
  }
}

void vxClipTextHighlight(int length, int start, int& count) {
  if (start < 0 || start >= length)
    count = 0;
  else
    count = std::clamp(count, 0, length - start);
}
