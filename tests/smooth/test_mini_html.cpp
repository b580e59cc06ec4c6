// The mini-HTML's tokenizer and layout with a fixed measurer: colours,
// sizes, entities, wrapping, lists, images and links, and lines that
// always move on.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "smooth/LuxMiniHtml.h"

namespace {

// Every character is Size / 2 pixels wide (one more in bold), every run
// Size + 4 high; the pictures are those of the map.
class TFixedMeasurer : public TMiniHtmlMeasurer {
 public:
  THtmlSize MeasureRun(std::string_view text, const TMiniHtmlFont& font) override {
    const int w = font.Size / 2 + ((font.Style & kHtmlBold) ? 1 : 0);
    return {int(text.size()) * w, font.Size + 4};
  }
  bool ImageSize(const TMiniHtmlImage& image, THtmlSize& size) override {
    const std::string key = (image.Kind == TMiniHtmlImage::ImageList ? "IDX" + std::to_string(image.Index) : "") +
                            (image.Kind == TMiniHtmlImage::SmallIcon ? "SSYS:" : "") + image.Source;
    auto it = pictures.find(key);
    if (it == pictures.end()) return false;
    size = it->second;
    return true;
  }
  std::map<std::string, THtmlSize> pictures{{"system", {16, 30}}, {"IDX2", {12, 12}}, {"SSYS:c:\\", {16, 16}}};
};

TMiniHtmlParams Params(int width = 400, bool measureOnly = false) {
  TMiniHtmlParams p;
  p.Font = {"Tahoma", 8, 0x102030, 0};
  p.LineSpacing = 2;
  p.Rect = {0, 0, width, 1000};
  p.MeasureOnly = measureOnly;
  return p;
}

TMiniHtmlLayout Layout(std::string_view text, const TMiniHtmlParams& params = Params()) {
  TFixedMeasurer measurer;
  return LayoutMiniHtml(text, params, measurer);
}

// The text runs of a layout, "text@x,y" joined by "|".
std::string Runs(const TMiniHtmlLayout& layout) {
  std::string out;
  for (const TMiniHtmlOp& op : layout.Ops)
    if (op.Kind == okText) out += (out.empty() ? "" : "|") + op.Text + "@" + std::to_string(op.X) + "," + std::to_string(op.Y);
  return out;
}

const TMiniHtmlOp* FirstText(const TMiniHtmlLayout& layout) {
  for (const TMiniHtmlOp& op : layout.Ops)
    if (op.Kind == okText) return &op;
  return nullptr;
}

TEST(MiniHtml, ColourNamesAndHexForms) {
  struct Case {
    const char* text;
    TColor color;
  } cases[] = {
      {"clRed", 0x0000FF},        {"CLBLUE", 0xFF0000},          {"clbtnface", TColor(0xFF00000F)},
      {"clInfoBk", TColor(0xFF000018)}, {"clTeal", 0x808000},    {"clNoSuchColour", 0},
      {"#A45302", 0x0253A4},      {"#FFFFFF", 0xFFFFFF},         {"#000000", 0},
      {"#12", 0x12},  // missing digits count 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.text[0] == '#' ? HtmlHexColor(c.text) : HtmlColorByName(c.text), c.color);
  }
  // In a tag, hex digits may come in either case, and names too.
  const TMiniHtmlLayout lower = Layout("<FONT color=\"#a45302\">x</FONT><FONT color=\"clLime\">y</FONT>");
  ASSERT_EQ(lower.Ops.size(), 2u);
  EXPECT_EQ(lower.Ops[0].Font.Color, 0x0253A4);
  EXPECT_EQ(lower.Ops[1].Font.Color, 0x00FF00);
}

TEST(MiniHtml, FontSizeFaceAndColourComeBackAfterTheTag) {
  struct Case {
    const char* size;
    int points;
  } cases[] = {{"1", 8}, {"3", 12}, {"5", 16}, {"16", 16}, {"20", 20}, {"x", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    const TMiniHtmlLayout l = Layout(std::string("<FONT size=\"") + c.size + "\">ab</FONT>");
    ASSERT_NE(FirstText(l), nullptr);
    EXPECT_EQ(FirstText(l)->Font.Size, c.points);
  }
  // The installer's status line: a picture, then 16-point text in #A45302.
  const TMiniHtmlLayout line =
      Layout("<IMG src=\"system\"><FONT size=\"16\" color=\"#A45302\" face=\"Arial\">Done</FONT>s<BR>");
  ASSERT_EQ(line.Ops.size(), 3u);
  EXPECT_EQ(line.Ops[0].Kind, okImage);
  EXPECT_EQ(line.Images[line.Ops[0].Image].Source, "system");
  EXPECT_EQ(line.Ops[0].X, 1);
  EXPECT_EQ(line.Ops[1].Text, "Done");
  EXPECT_EQ(line.Ops[1].X, 17);
  EXPECT_EQ(line.Ops[1].Font, (TMiniHtmlFont{"ARIAL", 16, 0x0253A4, 0}));
  EXPECT_EQ(line.Ops[2].Text, "s");
  EXPECT_EQ(line.Ops[2].Font, (TMiniHtmlFont{"Tahoma", 8, 0x102030, 0}));
  EXPECT_EQ(line.Height, 30 + 2);  // the picture is the tallest; nothing follows the BR
  EXPECT_EQ(line.PlainText, "Dones");
}

TEST(MiniHtml, EntitiesAreDecodedOnceLeftToRight) {
  struct Case {
    const char* text;
    const char* shown;
  } cases[] = {
      {"&lt;b&gt;", "<b>"},
      {"&amp;lt;", "&lt;"},
      {"&amp;amp;", "&amp;"},
      {"a&nbsp;b", "a b"},
      {"&quot;&sect;&permil;&reg;&copy;&para;&trade;&euro;", "\"\xA7\x89\xAE\xA9\xB6\x99\x80"},
      {"&unknown; & &amp", "&unknown; & &amp"},
      {"a<#b>c", "a#bc"},
  };
  TMiniHtmlParams p = Params();
  p.WordWrap = false;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const TMiniHtmlLayout l = Layout(c.text, p);
    EXPECT_EQ(l.PlainText, c.shown);
    for (const TMiniHtmlOp& op : l.Ops) EXPECT_EQ(op.Font.Style, 0);  // "&lt;b&gt;" turns nothing bold
  }
}

TEST(MiniHtml, LinesBreakAtBrCrAndWrapAtTheWidth) {
  // Characters are 4 pixels wide and lines 12 high, 2 apart.
  EXPECT_EQ(Runs(Layout("a\r\nb")), "a@1,0|b@1,14");
  EXPECT_EQ(Runs(Layout("a<br>b<BR>c")), "a@1,0|b@1,14|c@1,28");
  EXPECT_EQ(Layout("a\r\nb").Height, 14 + 12 + 2);

  struct Case {
    int width;
    const char* runs;
  } cases[] = {
      {400, "one @1,0|two @17,0|three@33,0"},
      {40, "one @1,0|two @17,0|three@1,14"},     // "three" passes 40 and moves down
      {24, "one @1,0|two @1,14|three@1,28"},
      {20, "one @1,0|two @1,14|three@17,14"},    // a run as wide as the line fits nowhere better
      {8, "one @1,0|two @17,0|three@33,0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    EXPECT_EQ(Runs(Layout("one two three", Params(c.width))), c.runs);
  }
  TMiniHtmlParams noWrap = Params(8);
  noWrap.WordWrap = false;
  EXPECT_EQ(Runs(Layout("one two three", noWrap)), "one two three@1,0");
}

TEST(MiniHtml, ListsDrawBulletsPerLevel) {
  const TMiniHtmlLayout l = Layout("<UL><LI>one</LI><LI>two</LI></UL>");
  EXPECT_EQ(Runs(l), "\xB7@1,0|one@13,0|\xB7@1,14|two@13,14");
  ASSERT_EQ(l.Ops.size(), 4u);
  EXPECT_EQ(l.Ops[0].Font.Name, "Symbol");
  EXPECT_EQ(l.Ops[0].Font.Color, 0x102030);

  // The second level sits 12 pixels further in and bullets with an "o".
  EXPECT_EQ(Runs(Layout("<UL><UL><LI>x</LI></UL></UL>")), "o@13,0|x@25,0");
  // Typed bullets: an 8 x 8 square or circle 2 pixels down, in their colour.
  const TMiniHtmlLayout typed = Layout("<UL><LI type=\"square\" color=\"clRed\">a</LI><LI type=\"circle\">b</LI></UL>");
  ASSERT_EQ(typed.Ops.size(), 4u);
  EXPECT_EQ(typed.Ops[0].Kind, okSquare);
  EXPECT_EQ(typed.Ops[0].Color, 0x0000FF);
  EXPECT_EQ((THtmlRect{typed.Ops[0].X, typed.Ops[0].Y, typed.Ops[0].Width, typed.Ops[0].Height}),
            (THtmlRect{1, 2, 8, 8}));
  EXPECT_EQ(typed.Ops[2].Kind, okCircle);
}

TEST(MiniHtml, ImagesOfEachSource) {
  struct Case {
    const char* text;
    TMiniHtmlImage::TKind kind;
    THtmlSize size;
  } cases[] = {
      {"<IMG src=\"SYSTEM\">", TMiniHtmlImage::Picture, {16, 30}},  // names ignore case in the container
      {"<IMG src=\"system\" width=\"40\" height=\"20\">", TMiniHtmlImage::Picture, {40, 20}},
      {"<IMG src=\"IDX:2\">", TMiniHtmlImage::ImageList, {12, 12}},
      {"<IMG src=\"SSYS:c:\\\">", TMiniHtmlImage::SmallIcon, {16, 16}},
  };
  TFixedMeasurer measurer;
  measurer.pictures["SYSTEM"] = {16, 30};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const TMiniHtmlLayout l = LayoutMiniHtml(c.text, Params(), measurer);
    ASSERT_EQ(l.Ops.size(), 1u);
    EXPECT_EQ(l.Images[l.Ops[0].Image].Kind, c.kind);
    EXPECT_EQ((THtmlSize{l.Ops[0].Width, l.Ops[0].Height}), c.size);
    EXPECT_EQ(l.Width, c.size.Width);
    EXPECT_EQ(l.Height, c.size.Height + 2);
  }
  // A picture the container lacks adds neither width nor height.
  const TMiniHtmlLayout missing = Layout("<IMG src=\"nothing\">ab");
  EXPECT_EQ(Runs(missing), "ab@1,0");
  EXPECT_EQ(missing.Height, 12 + 2);
  // One that does not fit waits for the next line.
  EXPECT_EQ(Layout("abcd<IMG src=\"system\">", Params(30)).Ops[1].Y, 14);
}

TEST(MiniHtml, AnchorsTakeTheUrlColourAndAnswerTheHitTest) {
  TMiniHtmlParams p = Params();
  p.URLColor = 0x00FF00;
  p.HitX = 20;
  p.HitY = 5;
  const TMiniHtmlLayout l = Layout("go <A href=\"next\">here</A> now", p);
  ASSERT_EQ(l.Ops.size(), 4u);
  EXPECT_EQ(l.Ops[1].Text, "here");
  EXPECT_EQ(l.Ops[1].Font.Color, 0x00FF00);
  EXPECT_EQ(l.Ops[1].Font.Style, kHtmlUnderline);
  EXPECT_EQ(l.Ops[3].Font, p.Font);  // the colour before the anchor comes back
  EXPECT_TRUE(l.OnAnchor);
  EXPECT_EQ(l.Anchor, "next");

  p.HitX = 5;  // on "go "
  EXPECT_FALSE(Layout("go <A href=\"next\">here</A> now", p).OnAnchor);
  // The hovered anchor takes the hover colours.
  p.HoverAnchor = 2;
  p.HoverColor = 0x0000FF;
  const TMiniHtmlLayout hover = Layout("<A href=\"1\">a</A><A href=\"2\">b</A>", p);
  EXPECT_EQ(hover.Ops[0].Font.Color, 0x00FF00);
  EXPECT_EQ(hover.Ops[1].Font.Color, 0x0000FF);
}

TEST(MiniHtml, StylesShadowsAndMarks) {
  TMiniHtmlParams p = Params();
  p.ShadowOffset = 2;
  p.ShadowColor = 0x808080;
  const TMiniHtmlLayout l = Layout("<B><I>a</I></B><SHAD>s</SHAD><Z>hidden</Z><E>err</E>", p);
  ASSERT_GE(l.Ops.size(), 4u);
  EXPECT_EQ(l.Ops[0].Font.Style, kHtmlBold | kHtmlItalic);
  // The shadow first, offset, in the shadow colour.
  EXPECT_EQ(Runs(l).substr(0, 17), "a@1,0|s@8,2|s@6,0");
  EXPECT_EQ(l.Ops[1].Font.Color, 0x808080);
  EXPECT_EQ(l.PlainText, "aserr");
  // The error mark: red 2-pixel strokes under "err" (12 pixels wide).
  int strokes = 0;
  for (const TMiniHtmlOp& op : l.Ops)
    if (op.Kind == okLine) {
      EXPECT_EQ(op.Color, 0x0000FF);
      ++strokes;
    }
  EXPECT_EQ(strokes, 6);
}

TEST(MiniHtml, MeasuringAloneDrawsNothingAndTagsAloneAreOneTextLineHigh) {
  const TMiniHtmlLayout measured = Layout("<B>bold</B> text", Params(400, true));
  EXPECT_TRUE(measured.Ops.empty());
  EXPECT_EQ(measured.Width, 4 * 5 + 4 * 5);
  EXPECT_EQ(measured.Height, 12 + 2);
  EXPECT_EQ(Layout("<B></B><FONT size=\"3\"></FONT>", Params(400, true)).Height, 12 + 2);
  EXPECT_EQ(Layout("", Params(400, true)).Height, 12 + 2);
}

TEST(MiniHtml, EveryLineMovesOn) {
  // Pictures, offsets and indents far past the width, and tags cut short.
  const char* texts[] = {
      "<IMG src=\"system\"><IMG src=\"system\"><IMG src=\"system\">",
      "<OFS x=\"99999999999\">a b c<IND x=\"99999999\">d",
      "<UL><LI><LI><LI>",
      "a <IMG src=\"system\" width=\"5000\" height=\"5\"> b",
      "<FONT size=\"5",
      "<",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    const TMiniHtmlLayout l = Layout(text, Params(10));
    EXPECT_LE(l.Ops.size(), 8u);
  }
  // The draw stops at the bottom of the rectangle.
  TMiniHtmlParams p = Params();
  p.Rect.Bottom = 30;
  EXPECT_EQ(Runs(Layout("a<BR>b<BR>c<BR>d", p)), "a@1,0|b@1,14");
}

}  // namespace
