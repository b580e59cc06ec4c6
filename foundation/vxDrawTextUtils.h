// Multi-line text layout. A wide-character text is broken into rows for a
// rectangle (word wrap with the East Asian line-start rules, character
// break, hard line breaks, single line), the rows are placed by horizontal
// and vertical alignment, and the Windows half (at the end) writes them on
// a device context with an end ellipsis, a highlighted substring and the
// grey pattern of text too small to read.
//
// Breaking and placing are portable: they measure through TvxTextMeasurer,
// which the Windows half implements over a device context and tests
// implement with fixed character widths.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Text.h"

// --- Layout flags --------------------------------------------------------------------
// Bits 0-2 hold the horizontal alignment and bits 4-5 the vertical one, each
// one value; the others are single switches.
using TvxTextLayoutFlags = uint32_t;
enum : TvxTextLayoutFlags {
  vxtlAlignLeft = 0,
  vxtlAlignCenter = 1,
  vxtlAlignRight = 2,
  vxtlJustifyWrapped = 3,  // justified rows ended by wrapping
  vxtlJustifyAll = 4,      // every row justified
  vxtlAlignTop = 0x00,
  vxtlAlignVCenter = 0x10,
  vxtlAlignBottom = 0x20,
  vxtlAlignSpread = 0x30,  // rows spread over the height
  vxtlWordWrap = 0x100,
  vxtlSingleLine = 0x200,
  vxtlExpandTabs = 0x400,
  vxtlEndEllipsis = 0x800,
  vxtlPattern = 0x1000,  // text too small to read drawn as a grey pattern
  vxtlExternalLeading = 0x2000,
  vxtlEditControl = 0x4000,  // character break, no partly visible last row
  vxtlNoClip = 0x8000,
  vxtlAutoIndents = 0x10000,  // 2 pixels on each side
  vxtlCharBreak = 0x20000,
  vxtlKeepLeft = 0x40000,  // no row starts left of the rectangle
  vxtlKeepTop = 0x80000,   // the first row never starts above it
  vxtlCalcRect = 0x100000,
  vxtlCalcRowCount = 0x200000,
  vxtlHidePrefix = 0x1000000,
  vxtlDropSpaces = 0x2000000  // every space at the start of a wrapped row goes
};
constexpr TvxTextLayoutFlags vxtlHorzAlignMask = 0x7;
constexpr TvxTextLayoutFlags vxtlVertAlignMask = 0x30;

// --- Parameters ------------------------------------------------------------------------

// A plain record, zero before it is filled.
struct TvxTextLayoutParams {
  int32_t RowHeight;        // the font height
  int32_t ExternalLeading;  // the font's, with vxtlExternalLeading; else 0
  int32_t RowPitch;         // round((row height + external leading) x line-spacing factor)
  int32_t EllipsisWidth;    // width of "..." with vxtlEndEllipsis; else 0
  bool Bold;
  char16_t BreakChar;
  uint8_t HorzAlign;
  uint8_t VertAlign;  // 0 top, 1 centre, 2 bottom, 3 spread
  bool WordWrap, SingleLine, ExpandTabs, EndEllipsis, IncludeExternalLeading, EditControl, DropSpaces, NoClip,
      AutoIndents, Pattern, KeepLeft, KeepTop, CharBreak, CountRows, CalcRect;
  int32_t MaxCharWidth;
  uint8_t CharSet;
  int32_t OnePixel;  // the logical width of one device pixel
  bool HidePrefix;
};

// What the font metrics give the parameters.
struct TvxTextFontMetrics {
  int32_t Height = 0, ExternalLeading = 0, Weight = 0, MaxCharWidth = 0;
  char16_t BreakChar = u' ';
  uint8_t CharSet = 0;
};

// Parameters from the metrics and the flags: every field but the one-pixel
// size, the pattern (left as the flag says) and the ellipsis width, which
// need the device. farEast turns character break on.
TvxTextLayoutParams vxTextParamsFromMetrics(const TvxTextFontMetrics& metrics, TvxTextLayoutFlags flags,
                                            float lineSpacingFactor, bool farEast);

// The rectangle the text goes in: automatic indents take 2 pixels off each
// side, then the left and right indents (device pixels) come off.
void vxApplyTextIndents(const TRect& rect, const TvxTextLayoutParams& params, int leftIndent, int rightIndent,
                        TRect& textRect);
// The inverse: the outer rectangle of a text rectangle.
void vxRemoveTextIndents(const TRect& textRect, const TvxTextLayoutParams& params, int leftIndent,
                         int rightIndent, TRect& rect);

// --- Rows ------------------------------------------------------------------------------

struct TvxTextRow {
  const char16_t* Text;  // into the text the rows were built from
  int32_t Length;
  int32_t Width;
  int32_t Height;
  int32_t BreakCount;  // spaces and tabs inside the row, for justification
  int32_t X, Y;
  int32_t StartOffset;  // of the row's first character in the whole text
};

using TvxDynamicTextRows = std::vector<TvxTextRow>;

// The first 32 rows live inline, so that short texts need no allocation.
// Rows point into Text (or into the caller's text), so the record stays put.
struct TvxTextRows {
  static constexpr int InlineCount = 32;
  TvxTextRows() = default;
  TvxTextRows(const TvxTextRows&) = delete;
  TvxTextRows& operator=(const TvxTextRows&) = delete;

  int32_t Count = 0;
  WideString Text;  // the converted text of the 8-bit builders
  TvxTextRow Inline[InlineCount] = {};
  TvxDynamicTextRows Dynamic;
};

void vxResetTextRows(TvxTextRows& rows);
// Grows the storage as needed and zeroes the new last row.
void vxSetTextRowCount(TvxTextRows& rows, int count);
TvxTextRow& vxTextRowAt(TvxTextRows& rows, int index);
const TvxTextRow& vxTextRowAt(const TvxTextRows& rows, int index);
inline int vxGetTextRowCount(const TvxTextRows& rows) { return rows.Count; }
// The largest width among the first min(count, row count) rows.
int vxWidestTextRowWidth(const TvxTextRows& rows, int count);

// --- Characters and words ---------------------------------------------------------------

// Ideographs, kana, hangul syllables, and whatever takes more than one byte
// in the ANSI code page: each is a word of its own.
bool vxIsWideWordChar(char16_t c);
// The 122 characters (closing brackets, punctuation, small kana marks...)
// that may not begin a row.
bool vxIsLineStartForbiddenChar(char16_t c);
// The end of the word that starts at pos (pos < length).
int vxFindWordEnd(const char16_t* text, int length, int pos);

// --- Breaking and placing ------------------------------------------------------------------

class TvxTextMeasurer {
 public:
  virtual ~TvxTextMeasurer() = default;
  // The width of length characters, tabs expanded when asked.
  virtual int SpanWidth(const char16_t* text, int length, bool expandTabs) = 0;
};

// The largest count from first to last whose characters fit in width, or
// first - 1 when none does: a binary search, one measurement a step.
int vxFittingTextLength(TvxTextMeasurer& measurer, const char16_t* text, int first, int last, int width,
                        bool expandTabs);

// One row as the breaker leaves it: its characters (trailing spaces already
// dropped where the alignment wants) and where the next row starts.
struct TvxTextBreak {
  int Length;
  int Next;
  bool Soft;  // ended by wrapping rather than by CR or LF or the text's end
  int BreakCount;
};

// Breaks one row off text at start for the available width. lastWithEllipsis
// marks the row that ends in "..." (a word that does not fit stays on it).
TvxTextBreak vxBreakTextRow(TvxTextMeasurer& measurer, const char16_t* text, int length, int start, int width,
                            const TvxTextLayoutParams& params, bool lastWithEllipsis);

// Breaks the text into rows for rect (maxRows 0: no limit); rowCount gets
// the count. True when everything fits (always when measuring).
bool vxBuildTextRows(TvxTextMeasurer& measurer, const char16_t* text, int length, const TRect& rect,
                     const TvxTextLayoutParams& params, TvxTextRows& rows, int& rowCount, int maxRows);
// Where a row width wide starts in rect by the horizontal alignment (never
// left of rect with vxtlKeepLeft).
int vxTextRowX(const TRect& rect, const TvxTextLayoutParams& params, int width);
// Sets X and Y of every row.
void vxLayoutTextRows(const TRect& rect, const TvxTextLayoutParams& params, TvxTextRows& rows, int rowCount);

// Keeps a highlight inside a text of length characters: a start outside
// 0 .. length - 1 gives length 0, a length past the end is shortened.
void vxClipTextHighlight(int length, int start, int& count);

#ifdef _WIN32
// --- Windows: measuring, painting and the wide-character text functions ---------------
#include <windows.h>

#include "platform/ui/Graphics.h"

// Measures with the font selected into a device context.
class TvxDCTextMeasurer : public TvxTextMeasurer {
 public:
  explicit TvxDCTextMeasurer(HDC dc) : dc_(dc) {}
  int SpanWidth(const char16_t* text, int length, bool expandTabs) override;

 private:
  HDC dc_;
};

// The extent of a text. Tabbed extents are 16-bit on the platform: wider
// text gets its lost multiples of 0xFFFF back from DrawText.
TSize vxMeasureTextSpan(HDC dc, const char16_t* text, int length, bool expandTabs);

// Fills params from the font selected into dc and the flags.
void vxInitTextParams(HDC dc, TvxTextLayoutFlags flags, TvxTextLayoutParams& params, float lineSpacingFactor);
// The same with the canvas's device context and font.
void vxInitCanvasTextParams(TCanvas* canvas, TvxTextLayoutFlags flags, TvxTextLayoutParams& params,
                            float lineSpacingFactor);
bool vxBuildTextRows(HDC dc, const char16_t* text, int length, const TRect& rect, const TvxTextLayoutParams& params,
                     TvxTextRows& rows, int& rowCount, int maxRows);
// An 8-bit text, converted by the code page of the params' character set
// and kept as the rows' text.
bool vxBuildTextRowsAnsi(HDC dc, const String& text, const TRect& rect, const TvxTextLayoutParams& params,
                         TvxTextRows& rows, int& rowCount, int maxRows);
bool vxBuildCanvasTextRowsAnsi(TCanvas* canvas, const String& text, const TRect& rect,
                               const TvxTextLayoutParams& params, TvxTextRows& rows, int& rowCount, int maxRows);

// Writes the placed rows; highlightLength characters from highlightStart
// get their own background and text colours (clNone or clDefault: none).
// overflow says the text did not fit: the last row then ends in "...".
void vxPaintTextRowsHighlighted(HDC dc, const TRect& rect, const TvxTextLayoutParams& params,
                                const TvxTextRows& rows, int rowCount, int highlightStart, int highlightLength,
                                TColor highlightBackColor, TColor highlightTextColor, bool overflow);

// Lays out and paints text in rect with font (nil: the DC's) in textColor
// (clDefault: the font's), or only measures: with vxtlCalcRect rect gets the
// rectangle the text needs. The result is the row count with
// vxtlCalcRowCount, else the text height (the row count when that is 0);
// 0 for an empty text or an unusable rectangle.
int vxPaintMultilineText(HDC dc, const WideString& text, TRect& rect, TvxTextLayoutFlags flags, int highlightStart,
                         int highlightLength, TFont* font, TColor highlightBackColor, TColor highlightTextColor,
                         int maxRows, int leftIndent, int rightIndent, TColor textColor, float lineSpacingFactor);
// An 8-bit text, converted by the font's character set (the DC's without a
// font), with no highlight.
int vxPaintMultilineCanvasText(TCanvas* canvas, const String& text, TRect& rect, TvxTextLayoutFlags flags,
                               TFont* font, int maxRows, int leftIndent, int rightIndent, TColor textColor,
                               float lineSpacingFactor);

// The platform's text functions for wide text: the wide functions on the NT
// family, the 8-bit ones over the ANSI code page elsewhere. The tabbed
// output writes a long text in pieces, each narrow enough for the
// platform's 16-bit width.
int vxDrawTextWide(HDC dc, const char16_t* text, int count, RECT* rect, UINT format);
bool vxGetTextExtentWide(HDC dc, const char16_t* text, int count, SIZE* size);
bool vxGetTextExtentExWide(HDC dc, const char16_t* text, int count, int maxExtent, int* fit, int* dx, SIZE* size);
DWORD vxGetTabbedTextExtentWide(HDC dc, const char16_t* text, int count, int tabCount, const int* tabStops);
LONG vxTabbedTextOutWide(HDC dc, int x, int y, const char16_t* text, int count, int tabCount, const int* tabStops,
                         int tabOrigin);
bool vxTextOutWide(HDC dc, int x, int y, const char16_t* text, int count);
bool vxExtTextOutWide(HDC dc, int x, int y, UINT options, const RECT* rect, const char16_t* text, int count,
                      const int* dx);

// Start-up makes the two pattern brushes of tiny text (solid for bold
// fonts, a checkerboard for the others); shut-down deletes them.
void vxDrawTextUtilsInitialize();
void vxDrawTextUtilsFinalize();
#endif
