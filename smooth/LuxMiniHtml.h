// The mini-HTML of the splash: the list lines and the texts of its top-layer
// panels. This part reads the markup and lays it out; it measures through
// an interface and hands back what to draw where, so it runs and is tested
// on every platform. LuxMiniHtmlRender draws the result through GDI+.
//
// Markup: text with tags in angle brackets, matched without regard to case.
// A, B, BODY, BR, BLINK, E (error marking), FONT (FACE, COLOR, BGCOLOR,
// SIZE), HI, HR, I, IND, IMG (SRC, WIDTH, HEIGHT, ALIGN), LI (TYPE, COLOR,
// NAME), OFS, P (ALIGN, INDENT, BGCOLOR), S, SHAD, SUB, SUP, U, UL and Z
// (hidden). Attribute values stand between double quotes after the name;
// the first occurrence of a name wins. Entities are decoded once, left to
// right: "&amp;lt;" shows "&lt;". CR breaks the line; LF is dropped.
//
// Every step is linear in the text: the tokenizer reads each byte once, and
// each layout line consumes at least one token.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using TColor = int32_t;

// The absent colour (the platform's clNone).
constexpr TColor kHtmlNoColor = 0x1FFFFFFF;

// Font styles as bits.
enum : uint8_t { kHtmlBold = 1, kHtmlItalic = 2, kHtmlUnderline = 4, kHtmlStrikeOut = 8 };

// Colour names ("clRed", "clBtnFace", in any case); an unknown name is black.
TColor HtmlColorByName(std::string_view name);
// "#RRGGBB" as a colour whose low byte is red.
TColor HtmlHexColor(std::string_view text);

// --- Tokens ------------------------------------------------------------------------------

enum class THtmlTag : uint8_t {
  Unknown, A, B, Body, Br, Blink, E, Font, Hi, Hr, I, Ind, Img, Li, Ofs, P, S, Shad, Sub, Sup, U, Ul, Z
};

struct THtmlToken {
  bool IsTag = false;  // else a text run
  THtmlTag Tag = THtmlTag::Unknown;
  bool Closing = false;  // "</B>"
  // A text run that the tokenizer ended at a blank (a place to wrap).
  bool EndsWithBlank = false;
  // A run: its decoded text. A tag: the text between the angle brackets.
  std::string Text;
  // Offset of the token in the prepared text (for the underline rule).
  uint32_t Offset = 0;
};

// Splits text into runs and tags. With word wrap a run ends after each
// blank, so that lines can break there.
std::vector<THtmlToken> TokenizeMiniHtml(std::string_view text, bool wordWrap);

// The value of a tag's attribute: the text between the first pair of double
// quotes after the name and its "=" (or, unquoted, up to the next blank); empty
// when the tag lacks it. name is upper case; the value keeps its case.
std::string_view HtmlAttribute(std::string_view tag, std::string_view name);

// --- Layout ------------------------------------------------------------------------------

struct TMiniHtmlFont {
  std::string Name;
  int Size = 8;  // points
  TColor Color = 0;
  uint8_t Style = 0;
  bool operator==(const TMiniHtmlFont&) const = default;
};

struct THtmlSize {
  int Width = 0, Height = 0;
  bool operator==(const THtmlSize&) const = default;
};

struct THtmlRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const THtmlRect&) const = default;
};

// An image that an IMG tag or an LI bullet names.
struct TMiniHtmlImage {
  enum TKind : uint8_t { Picture, ImageList, SmallIcon, LargeIcon } Kind = Picture;
  int Index = 0;        // ImageList
  std::string Source;   // the picture's name, or the icon's path
  bool operator==(const TMiniHtmlImage&) const = default;
};

// What the layout asks of the place it draws on.
class TMiniHtmlMeasurer {
 public:
  virtual ~TMiniHtmlMeasurer() = default;
  // The extent of a run drawn in font, as it will be drawn.
  virtual THtmlSize MeasureRun(std::string_view text, const TMiniHtmlFont& font) = 0;
  // The natural size of an image; false when there is none to draw.
  virtual bool ImageSize(const TMiniHtmlImage& image, THtmlSize& size) = 0;
};

// One thing to draw, in the coordinates of the layout rectangle.
enum TMiniHtmlOpKind : uint8_t {
  okText,    // Text in Font at (X, Y), its box filled with Background first unless kHtmlNoColor
  okImage,   // Image stretched to (X, Y, Width, Height)
  okSquare,  // filled square of Color at (X, Y, Width, Height)
  okCircle,  // filled ellipse of Color in the same box
  okLine     // 1-pixel line of Color from (X, Y) to (X + Width, Y + Height)
};

struct TMiniHtmlOp {
  TMiniHtmlOpKind Kind = okText;
  int X = 0, Y = 0, Width = 0, Height = 0;
  std::string Text;
  TMiniHtmlFont Font;
  TColor Background = kHtmlNoColor;
  TColor Color = 0;
  int Image = -1;  // okImage: index into the layout's Images
};

struct TMiniHtmlParams {
  TMiniHtmlFont Font;        // the base font
  int LineSpacing = 0;       // added to a line that more text follows
  THtmlRect Rect;
  TColor ShadowColor = 0x808080;
  int ShadowOffset = 0;
  TColor HoverColor = kHtmlNoColor;       // of the hovered anchor's text
  TColor HoverBackground = kHtmlNoColor;  // and background
  TColor URLColor = 0xFF0000;             // of anchors' text
  bool WordWrap = true;
  bool MeasureOnly = false;
  bool SuppressBlink = false;
  int HitX = -1, HitY = -1;  // the point whose anchor is wanted
  int HoverAnchor = -1;      // number of the hovered anchor, from 1
};

struct TMiniHtmlLayout {
  int Width = 0;   // of the widest line
  int Height = 0;  // the lines' heights plus 2
  bool OnAnchor = false;  // the hit point lies on an anchor
  std::string Anchor;     // and this is its name
  std::string PlainText;  // the text without its tags
  std::vector<TMiniHtmlOp> Ops;  // empty when measuring only
  std::vector<TMiniHtmlImage> Images;
};

TMiniHtmlLayout LayoutMiniHtml(std::string_view text, const TMiniHtmlParams& params, TMiniHtmlMeasurer& measurer);
