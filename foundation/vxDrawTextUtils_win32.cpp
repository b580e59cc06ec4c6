// The Windows half of the multi-line text layout: measuring with a device
// context's font, the parameters from its metrics, painting the placed rows
// (tiny-text pattern, justification, row clips, end ellipsis, highlight)
// and the wide-character text functions.
#include <algorithm>
#include <memory>

#include "foundation/vdCore.h"
#include "foundation/vxControlsText.h"
#include "foundation/vxDrawTextUtils.h"
#include "foundation/vxGraphics.h"

namespace {
const wchar_t* W(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

// The platform's tabbed functions stop at this many characters: longer
// text is measured run by run and written in pieces.
constexpr int kTabbedTextLimit = 4096;
constexpr char16_t kEllipsis[] = u"...";
constexpr int kEllipsisLength = 3;

// count -1: up to the terminating zero, as the platform's functions take it.
String ToAnsi(const char16_t* text, int count) {
  const std::u16string_view view = count < 0 ? std::u16string_view(text) : std::u16string_view(text, size_t(count));
  return vdWideToAnsiString(view, 0);
}

bool IsMetafileDC(HDC dc) {
  const DWORD type = GetObjectType(dc);
  return type == OBJ_METADC || type == OBJ_ENHMETADC || type == OBJ_METAFILE || type == OBJ_ENHMETAFILE;
}

bool FarEastLocale() {
  const WORD language = PRIMARYLANGID(LANGIDFROMLCID(GetSystemDefaultLCID()));
  return language == LANG_JAPANESE || language == LANG_CHINESE || language == LANG_KOREAN;
}

// The logical size of a device-pixel rectangle.
TSize LogicalSize(HDC dc, int width, int height) {
  POINT p[2] = {{0, 0}, {width, height}};
  DPtoLP(dc, p, 2);
  return {std::abs(p[1].x - p[0].x), std::abs(p[1].y - p[0].y)};
}

bool UsableColor(TColor color) { return color != clNone && color != clDefault; }
}  // namespace

// --- Wide-character text functions ---------------------------------------------------------

int vxDrawTextWide(HDC dc, const char16_t* text, int count, RECT* rect, UINT format) {
  if (vdOSNTFamily()) return DrawTextW(dc, W(text), count, rect, format);
  const String ansi = ToAnsi(text, count);
  return DrawTextA(dc, ansi.data(), int(ansi.size()), rect, format);
}

bool vxGetTextExtentWide(HDC dc, const char16_t* text, int count, SIZE* size) {
  if (vdOSNTFamily()) return GetTextExtentPoint32W(dc, W(text), count, size);
  const String ansi = ToAnsi(text, count);
  return GetTextExtentPoint32A(dc, ansi.data(), int(ansi.size()), size);
}

bool vxGetTextExtentExWide(HDC dc, const char16_t* text, int count, int maxExtent, int* fit, int* dx, SIZE* size) {
  if (vdOSNTFamily()) return GetTextExtentExPointW(dc, W(text), count, maxExtent, fit, dx, size);
  const String ansi = ToAnsi(text, count);
  return GetTextExtentExPointA(dc, ansi.data(), int(ansi.size()), maxExtent, fit, dx, size);
}

DWORD vxGetTabbedTextExtentWide(HDC dc, const char16_t* text, int count, int tabCount, const int* tabStops) {
  if (vdOSNTFamily()) return GetTabbedTextExtentW(dc, W(text), count, tabCount, tabStops);
  const String ansi = ToAnsi(text, count);
  return GetTabbedTextExtentA(dc, ansi.data(), int(ansi.size()), tabCount, tabStops);
}

namespace {
// The widest advance one character of a tabbed text can make: its widest
// glyph or its widest tab step (the default stops are eight average
// characters apart).
int WidestTabbedStep(HDC dc, int tabCount, const int* tabStops) {
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  int widest = std::max<int>(tm.tmMaxCharWidth, 8 * tm.tmAveCharWidth);
  for (int i = 0; i < tabCount; ++i) widest = std::max(widest, std::abs(tabStops[i]));
  return std::max(widest, 1);
}

LONG TabbedTextOutPiece(HDC dc, int x, int y, const char16_t* text, int count, int tabCount, const int* tabStops,
                        int tabOrigin) {
  if (vdOSNTFamily()) return TabbedTextOutW(dc, x, y, W(text), count, tabCount, tabStops, tabOrigin);
  const String ansi = ToAnsi(text, count);
  return TabbedTextOutA(dc, x, y, ansi.data(), int(ansi.size()), tabCount, tabStops, tabOrigin);
}
}  // namespace

LONG vxTabbedTextOutWide(HDC dc, int x, int y, const char16_t* text, int count, int tabCount, const int* tabStops,
                         int tabOrigin) {
  // The platform writes at most 4096 characters and answers a 16-bit
  // width; pieces short enough to stay below 65536 pixels are written one
  // after the other with the caller's tab origin.
  const int pieceLimit = std::clamp(0xFFFF / WidestTabbedStep(dc, tabCount, tabStops), 1, kTabbedTextLimit);
  int left = x, height = 0;
  for (int done = 0; done < count;) {
    const int n = std::min(pieceLimit, count - done);
    const LONG answer = TabbedTextOutPiece(dc, left, y, text + done, n, tabCount, tabStops, tabOrigin);
    if (answer == 0) break;
    left += LOWORD(answer);
    height = std::max<int>(height, HIWORD(answer));
    done += n;
  }
  return LONG(MAKELONG(WORD(left - x), WORD(height)));
}

bool vxTextOutWide(HDC dc, int x, int y, const char16_t* text, int count) {
  if (vdOSNTFamily()) return TextOutW(dc, x, y, W(text), count);
  const String ansi = ToAnsi(text, count);
  return TextOutA(dc, x, y, ansi.data(), int(ansi.size()));
}

bool vxExtTextOutWide(HDC dc, int x, int y, UINT options, const RECT* rect, const char16_t* text, int count,
                      const int* dx) {
  if (vdOSNTFamily()) return ExtTextOutW(dc, x, y, options, rect, W(text), UINT(count), dx);
  const String ansi = ToAnsi(text, count);
  return ExtTextOutA(dc, x, y, options, rect, ansi.data(), UINT(ansi.size()), dx);
}

// --- Measuring ------------------------------------------------------------------------------

namespace {
// A tabbed extent in 32 bits: the tab-free runs measured one by one, each
// tab moving on to the next default stop (eight average characters apart),
// as the platform's tabbed functions place them. DrawText would do, but
// some implementations measure only the first 1024 characters of a line.
TSize RunByRunTabbedExtent(HDC dc, const char16_t* text, int length) {
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  const int step = std::max<int>(8 * tm.tmAveCharWidth, 1);
  TSize size{0, 0};
  for (int start = 0, i = 0; i <= length; ++i) {
    if (i < length && text[i] != u'\t') continue;
    SIZE run{0, 0};
    vxGetTextExtentWide(dc, text + start, i - start, &run);
    size.cx += run.cx;
    size.cy = std::max<int32_t>(size.cy, run.cy);
    if (i < length) size.cx = (size.cx / step + 1) * step;
    start = i + 1;
  }
  return size;
}
}  // namespace

TSize vxMeasureTextSpan(HDC dc, const char16_t* text, int length, bool expandTabs) {
  SIZE size{0, 0};
  if (length <= 0) {
    vxGetTextExtentWide(dc, text, 0, &size);
    return {0, size.cy};
  }
  if (!expandTabs) {
    vxGetTextExtentWide(dc, text, length, &size);
    return {size.cx, size.cy};
  }
  // The platform's tabbed extent stops at 4096 characters and answers 16
  // bits: longer text, or text that may be wider than 65535 pixels, is
  // measured run by run.
  SIZE w{0, 0};
  vxGetTextExtentWide(dc, u"W", 1, &w);
  if (length >= kTabbedTextLimit || int64_t(length) * w.cx > 0xFFFF) return RunByRunTabbedExtent(dc, text, length);
  const DWORD tabbed = vxGetTabbedTextExtentWide(dc, text, length, 0, nullptr);
  return {LOWORD(tabbed), HIWORD(tabbed)};
}

int TvxDCTextMeasurer::SpanWidth(const char16_t* text, int length, bool expandTabs) {
  return vxMeasureTextSpan(dc_, text, length, expandTabs).cx;
}

// --- Parameters -----------------------------------------------------------------------------

void vxInitTextParams(HDC dc, TvxTextLayoutFlags flags, TvxTextLayoutParams& params, float lineSpacingFactor) {
  TvxTextFontMetrics metrics;
  TEXTMETRICW tm{};
  if (GetTextMetricsW(dc, &tm)) {
    metrics = {tm.tmHeight, tm.tmExternalLeading, tm.tmWeight, tm.tmMaxCharWidth, char16_t(tm.tmBreakChar),
               tm.tmCharSet};
  } else {
    TEXTMETRICA tma{};
    GetTextMetricsA(dc, &tma);
    metrics = {tma.tmHeight, tma.tmExternalLeading, tma.tmWeight, tma.tmMaxCharWidth,
               char16_t(uint8_t(tma.tmBreakChar)), tma.tmCharSet};
  }
  params = vxTextParamsFromMetrics(metrics, flags, lineSpacingFactor, FarEastLocale());
  params.OnePixel = std::max<int32_t>(LogicalSize(dc, 1, 1).cx, 1);
  params.Pattern = params.Pattern && params.RowHeight < LogicalSize(dc, 1, 6).cy;
  if (params.EndEllipsis) params.EllipsisWidth = vxMeasureTextSpan(dc, kEllipsis, kEllipsisLength, false).cx;
}

void vxInitCanvasTextParams(TCanvas* canvas, TvxTextLayoutFlags flags, TvxTextLayoutParams& params,
                            float lineSpacingFactor) {
  // Handle() makes the device context and selects the canvas's font.
  vxInitTextParams(canvas->Handle(), flags, params, lineSpacingFactor);
}

bool vxBuildTextRows(HDC dc, const char16_t* text, int length, const TRect& rect, const TvxTextLayoutParams& params,
                     TvxTextRows& rows, int& rowCount, int maxRows) {
  TvxDCTextMeasurer measurer(dc);
  return vxBuildTextRows(measurer, text, length, rect, params, rows, rowCount, maxRows);
}

bool vxBuildTextRowsAnsi(HDC dc, const String& text, const TRect& rect, const TvxTextLayoutParams& params,
                         TvxTextRows& rows, int& rowCount, int maxRows) {
  rows.Text = vdMultiByteToWide(text, vdCharsetToCodePage(params.CharSet));
  return vxBuildTextRows(dc, rows.Text.data(), int(rows.Text.size()), rect, params, rows, rowCount, maxRows);
}

bool vxBuildCanvasTextRowsAnsi(TCanvas* canvas, const String& text, const TRect& rect,
                               const TvxTextLayoutParams& params, TvxTextRows& rows, int& rowCount, int maxRows) {
  return vxBuildTextRowsAnsi(canvas->Handle(), text, rect, params, rows, rowCount, maxRows);
}

// --- Pattern brushes -----------------------------------------------------------------------

namespace {
struct TPatternBrushes {
  HBRUSH Bold = nullptr;
  HBRUSH Normal = nullptr;
} patternBrushes;

HBRUSH MakePatternBrush(const WORD (&rows)[8]) {
  HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, rows);
  HBRUSH brush = CreatePatternBrush(bitmap);
  DeleteObject(bitmap);  // the brush keeps its own copy
  return brush;
}

HBRUSH PatternBrush(bool bold) {
  if (!patternBrushes.Bold) vxDrawTextUtilsInitialize();
  return bold ? patternBrushes.Bold : patternBrushes.Normal;
}
}  // namespace

void vxDrawTextUtilsInitialize() {
  if (patternBrushes.Bold) return;
  static constexpr WORD kSolid[8] = {};
  static constexpr WORD kChecker[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
  patternBrushes.Bold = MakePatternBrush(kSolid);
  patternBrushes.Normal = MakePatternBrush(kChecker);
}

void vxDrawTextUtilsFinalize() {
  if (patternBrushes.Bold) DeleteObject(patternBrushes.Bold);
  if (patternBrushes.Normal) DeleteObject(patternBrushes.Normal);
  patternBrushes = {};
}

// --- Painting -------------------------------------------------------------------------------

namespace {
// The DC's clip region, given back when the object goes.
class TSavedClip {
 public:
  explicit TSavedClip(HDC dc) : dc_(dc), region_(CreateRectRgn(0, 0, 0, 0)) {
    if (GetClipRgn(dc_, region_) != 1) {
      DeleteObject(region_);
      region_ = nullptr;
    }
  }
  ~TSavedClip() {
    SelectClipRgn(dc_, region_);
    if (region_) DeleteObject(region_);
  }
  TSavedClip(const TSavedClip&) = delete;
  TSavedClip& operator=(const TSavedClip&) = delete;

 private:
  HDC dc_;
  HRGN region_;
};

class TPaintState {
 public:
  explicit TPaintState(HDC dc) : dc_(dc), mode_(SetBkMode(dc, TRANSPARENT)) {}
  ~TPaintState() {
    SetBkMode(dc_, mode_);
    if (brush_) DeleteObject(brush_);
  }
  TPaintState(const TPaintState&) = delete;
  TPaintState& operator=(const TPaintState&) = delete;
  HBRUSH MakeBrush(TColor color) { return brush_ = CreateSolidBrush(ColorToRGB(color)); }

 private:
  HDC dc_;
  int mode_;
  HBRUSH brush_ = nullptr;
};

void WriteRow(HDC dc, const TvxTextLayoutParams& params, const TvxTextRow& row, int length) {
  if (params.ExpandTabs)
    vxTabbedTextOutWide(dc, row.X, row.Y, row.Text, length, 0, nullptr, row.X);
  else
    vxTextOutWide(dc, row.X, row.Y, row.Text, length);
}

int SpanWidth(HDC dc, const TvxTextLayoutParams& params, const char16_t* text, int length) {
  return vxMeasureTextSpan(dc, text, length, params.ExpandTabs).cx;
}

void PaintPatternRow(HDC dc, const TRect& rect, const TvxTextLayoutParams& params, const TvxTextRow& row) {
  const int top = row.Y + params.OnePixel;
  const RECT r{row.X, top, std::min(row.X + row.Width, rect.Right),
               std::max(top + 1, row.Y + row.Height - params.OnePixel)};
  const COLORREF background = SetBkColor(dc, ColorToRGB(clWindow));
  FillRect(dc, &r, PatternBrush(params.Bold));
  SetBkColor(dc, background);
}

void WriteEllipsis(HDC dc, const TRect& rect, const TvxTextLayoutParams& params, int x, int y) {
  if (!params.NoClip && x + params.EllipsisWidth > rect.Right) {
    const RECT clip{x, y, rect.Right, y + params.RowPitch};
    vxExtTextOutWide(dc, x, y, ETO_CLIPPED, &clip, kEllipsis, kEllipsisLength, nullptr);
  } else {
    vxTextOutWide(dc, x, y, kEllipsis, kEllipsisLength);
  }
}

}  // namespace

void vxPaintTextRowsHighlighted(HDC dc, const TRect& rect, const TvxTextLayoutParams& params,
                                const TvxTextRows& rows, int rowCount, int highlightStart, int highlightLength,
                                TColor highlightBackColor, TColor highlightTextColor, bool overflow) {
  TPaintState state(dc);
  const bool metafile = IsMetafileDC(dc);
  const bool highlight = highlightLength > 0 && !metafile;
  HBRUSH highlightBrush =
      highlight && UsableColor(highlightBackColor) ? state.MakeBrush(highlightBackColor) : nullptr;
  const bool justified = params.HorzAlign == vxtlJustifyWrapped || params.HorzAlign == vxtlJustifyAll;

  for (int i = 0; i < rowCount; ++i) {
    TvxTextRow row = vxTextRowAt(rows, i);
    const bool lastRow = i == rowCount - 1;
    const RECT rowRect{rect.Left, row.Y, rect.Right, row.Y + params.RowPitch};
    if (row.Length == 0) {
      if (lastRow && overflow && params.EndEllipsis) WriteEllipsis(dc, rect, params, row.X, row.Y);
      continue;
    }
    if (!metafile && !RectVisible(dc, &rowRect)) continue;
    if (params.Pattern) {
      PaintPatternRow(dc, rect, params, row);
      continue;
    }
    bool ellipsis = params.EndEllipsis && lastRow && (overflow || row.Width > rect.Width());
    const bool justify = justified && !ellipsis && rect.Width() > row.Width && row.BreakCount > 0;
    if (justify) SetTextJustification(dc, rect.Width() - row.Width, row.BreakCount);

    std::unique_ptr<TSavedClip> rowClip;
    if (!params.NoClip && (row.Width > rect.Width() || row.Y < rect.Top || row.Y + params.RowPitch > rect.Bottom)) {
      rowClip = std::make_unique<TSavedClip>(dc);
      IntersectClipRect(dc, rect.Left, std::max(row.Y, rect.Top), rect.Right,
                        std::min(row.Y + params.RowPitch, rect.Bottom));
    }
    if (ellipsis) {
      const int available = std::max(rect.Width() - params.EllipsisWidth, 0);
      TvxDCTextMeasurer measurer(dc);
      row.Length = vxFittingTextLength(measurer, row.Text, 1, row.Length, available, params.ExpandTabs);
      if (row.Length == 0 && params.HorzAlign == vxtlAlignLeft) row.Length = 1;
      row.Width = SpanWidth(dc, params, row.Text, row.Length);
      // A row wider than the rectangle was placed to start left of it:
      // once cut, it goes where the alignment puts the shorter row.
      if (row.X < rect.Left) row.X = vxTextRowX(rect, params, row.Width + params.EllipsisWidth);
    }

    const int first = std::max(highlightStart - row.StartOffset, 0);
    const int last = std::min(highlightStart + highlightLength - row.StartOffset, row.Length);
    if (highlight && first < last) {
      int x1 = SpanWidth(dc, params, row.Text, first), x2 = SpanWidth(dc, params, row.Text, last);
      const bool wholeText = vxIsCharsetNeedingWholeText(params.CharSet, ToAnsi(row.Text, row.Length));
      if (wholeText) {
        const int left = row.Width - x2, right = row.Width - x1;
        x1 = left;
        x2 = right;
      }
      RECT mark{row.X + x1, row.Y, row.X + x2, row.Y + params.RowPitch};
      // A highlight that reaches the cut row's end takes the "..." in: it
      // is written in the highlight's colours, inside the highlight.
      const bool ellipsisInMark = ellipsis && last == row.Length && !wholeText;
      if (ellipsisInMark) {
        mark.right += params.EllipsisWidth;
        if (!params.NoClip) mark.right = std::min<LONG>(mark.right, rect.Right);
      }
      {
        TSavedClip markClip(dc);
        IntersectClipRect(dc, mark.left, mark.top, mark.right, mark.bottom);
        if (highlightBrush) FillRect(dc, &mark, highlightBrush);
        const COLORREF color = GetTextColor(dc);
        if (UsableColor(highlightTextColor)) SetTextColor(dc, ColorToRGB(highlightTextColor));
        WriteRow(dc, params, row, row.Length);
        if (ellipsisInMark) {
          WriteEllipsis(dc, rect, params, row.X + row.Width, row.Y);
          ellipsis = false;
        }
        SetTextColor(dc, color);
      }
      ExcludeClipRect(dc, mark.left, mark.top, mark.right, mark.bottom);
    }
    WriteRow(dc, params, row, row.Length);
    if (ellipsis && row.X + row.Width < rect.Right) WriteEllipsis(dc, rect, params, row.X + row.Width, row.Y);
    rowClip.reset();
    if (justify) SetTextJustification(dc, 0, 0);
  }
}

namespace {
// The DC's font and text colour, given back when the object goes.
class TSavedFont {
 public:
  explicit TSavedFont(HDC dc) : dc_(dc), font_(HFONT(GetCurrentObject(dc, OBJ_FONT))), color_(GetTextColor(dc)) {}
  ~TSavedFont() {
    SelectObject(dc_, font_);
    SetTextColor(dc_, color_);
  }
  TSavedFont(const TSavedFont&) = delete;
  TSavedFont& operator=(const TSavedFont&) = delete;

 private:
  HDC dc_;
  HFONT font_;
  COLORREF color_;
};
}  // namespace

int vxPaintMultilineText(HDC dc, const WideString& text, TRect& rect, TvxTextLayoutFlags flags, int highlightStart,
                         int highlightLength, TFont* font, TColor highlightBackColor, TColor highlightTextColor,
                         int maxRows, int leftIndent, int rightIndent, TColor textColor, float lineSpacingFactor) {
  if (text.empty()) return 0;
  TSavedFont saved(dc);
  if (font) {
    SelectObject(dc, font->Handle());
    SetTextColor(dc, ColorToRGB(font->Color()));
  }
  if (textColor != clDefault) SetTextColor(dc, ColorToRGB(textColor));

  TvxTextLayoutParams params;
  vxInitTextParams(dc, flags, params, lineSpacingFactor);
  TRect textRect;
  vxApplyTextIndents(rect, params, leftIndent, rightIndent, textRect);
  const bool measuring = params.CalcRect;
  if (measuring ? textRect.Width() <= 0 : textRect.Width() < 1 || textRect.Height() < 1) return 0;

  const WideString shown = params.HidePrefix ? vxRemoveMnemonicMarksW(text, false) : text;
  if (shown.empty()) return 0;
  const int length = int(shown.size());

  TvxTextRows rows;
  int rowCount = 0;
  const bool overflow = !vxBuildTextRows(dc, shown.data(), length, textRect, params, rows, rowCount, maxRows);
  if (rowCount == 0) return 0;
  if (measuring) {
    if (maxRows > 0) rowCount = std::min(rowCount, maxRows);
    textRect.Right = textRect.Left + vxWidestTextRowWidth(rows, rowCount);
    if (!params.SingleLine) {
      vxBuildTextRows(dc, shown.data(), length, textRect, params, rows, rowCount, maxRows);
      if (maxRows > 0) rowCount = std::min(rowCount, maxRows);
    }
    vxLayoutTextRows(textRect, params, rows, rowCount);
    textRect.Bottom = vxTextRowAt(rows, rowCount - 1).Y + params.RowHeight;
    vxRemoveTextIndents(textRect, params, leftIndent, rightIndent, rect);
  } else {
    vxLayoutTextRows(textRect, params, rows, rowCount);
  }
  if (!measuring && !params.CountRows) {
    vxClipTextHighlight(length, highlightStart, highlightLength);
    vxPaintTextRowsHighlighted(dc, textRect, params, rows, rowCount, highlightStart, highlightLength,
                               highlightBackColor, highlightTextColor, overflow);
  }
  const int height = vxTextRowAt(rows, rowCount - 1).Y + params.RowHeight - textRect.Top;
  if (params.CountRows) return rowCount;
  return height != 0 ? height : rowCount;
}

int vxPaintMultilineCanvasText(TCanvas* canvas, const String& text, TRect& rect, TvxTextLayoutFlags flags,
                               TFont* font, int maxRows, int leftIndent, int rightIndent, TColor textColor,
                               float lineSpacingFactor) {
  HDC dc = canvas->Handle();
  const int charset = font ? font->Charset() : GetTextCharset(dc);
  const WideString wide = vdMultiByteToWide(text, vdCharsetToCodePage(charset));
  return vxPaintMultilineText(dc, wide, rect, flags, 0, 0, font, clNone, clNone, maxRows, leftIndent, rightIndent,
                              textColor, lineSpacingFactor);
}
