// Frame painters by pixels: every style on every subset of sides, the
// groove's corner pixels, rounded edges, the outer/inner border of the
// progress bar, and the edit frame.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "framed/FmCommonFrames.h"
#include "framed/FmSysColors.h"

using namespace fm_colors;

namespace {

constexpr TColor kUnpainted = 0x7A7A7A;

// A grid of colours that records lines the way GDI draws them: from the
// start point up to, not including, the end point.
class TGrid : public TFrameSurface {
 public:
  TGrid(int w, int h) : w_(w), h_(h), pixels_(size_t(w) * h, kUnpainted) {}
  void Line(int x0, int y0, int x1, int y1, TColor color) override {
    EXPECT_TRUE(x0 == x1 || y0 == y1) << "lines are horizontal or vertical";
    EXPECT_NE(color, clNone);
    const int dx = x1 > x0 ? 1 : x1 < x0 ? -1 : 0, dy = y1 > y0 ? 1 : y1 < y0 ? -1 : 0;
    for (int x = x0, y = y0; x != x1 || y != y1; x += dx, y += dy) Pixel(x, y, color);
  }
  void Pixel(int x, int y, TColor color) override {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) pixels_[size_t(y) * w_ + x] = color;
  }
  TColor At(int x, int y) const { return pixels_[size_t(y) * w_ + x]; }
  bool Painted(int x, int y) const { return At(x, y) != kUnpainted; }
  // One character per pixel, rows joined by '|', from a colour legend.
  std::string Picture(const std::map<TColor, char>& legend) const {
    std::string s;
    for (int y = 0; y < h_; ++y) {
      if (y) s += '|';
      for (int x = 0; x < w_; ++x) {
        auto it = legend.find(At(x, y));
        s += it == legend.end() ? (Painted(x, y) ? '?' : '.') : it->second;
      }
    }
    return s;
  }
  int w_, h_;

 private:
  std::vector<TColor> pixels_;
};

const std::map<TColor, char> kLegend = {
    {clBtnShadow, 's'}, {clBtnHighlight, 'h'}, {cl3DDkShadow, 'd'}, {cl3DLight, 'l'}, {clBtnText, 't'},
    {clBlack, 'k'},
};

uint32_t Pinned(TColor c) {
  switch (c & 0xFF) {
    case 5: return 0xFFFFFF;   // window
    case 15: return 0xC8D0D4;  // button face (212, 208, 200)
    case 16: return 0x808080;  // button shadow
    default: return 0;
  }
}

TEST(Frames, EveryStyleOnEverySubsetOfSides) {
  SetSystemColorResolver(Pinned);
  const TRect bounds(0, 0, 8, 7);
  for (int style = fsNone; style <= fsFlatRounded; ++style) {
    const int width = FrameStyleWidth(TFrameStyleEx(style), 1);
    for (TSides sides = 0; sides <= sdAllSides; ++sides) {
      for (bool tinted : {false, true}) {
        SCOPED_TRACE("style " + std::to_string(style) + " sides " + std::to_string(sides) +
                     (tinted ? " tinted" : ""));
        TGrid g(8, 7);
        const TRect inside = tinted ? PaintTintedFrameStyle(g, bounds, clBtnFace, TFrameStyleEx(style), sides)
                                    : PaintFrameStyle(g, bounds, TFrameStyleEx(style), sides);
        EXPECT_EQ(inside, ShrinkSides(bounds, sides, width));
        for (int y = 0; y < 7; ++y)
          for (int x = 0; x < 8; ++x) {
            const bool inLeft = (sides & sdLeft) && x < width, inRight = (sides & sdRight) && x >= 8 - width;
            const bool inTop = (sides & sdTop) && y < width, inBottom = (sides & sdBottom) && y >= 7 - width;
            const bool band = inLeft || inRight || inTop || inBottom;
            // The rounded style draws one line in its two pixels of room.
            const bool covers = style != fsFlatRounded;
            if (inside.Contains({x, y})) {
              EXPECT_FALSE(g.Painted(x, y)) << x << "," << y << " inside";
            }
            if (band && covers) {
              EXPECT_TRUE(g.Painted(x, y)) << x << "," << y << " on a side";
            }
          }
        // Off the sides drawn, nothing is painted, save the groove's cut ends
        // one pixel into a neighbouring band.
        if (style == fsGroove || style == fsBump || style == fsFlatRounded) continue;
        for (int y = 0; y < 7; ++y) {
          for (int x = 0; x < 8; ++x) {
            const bool inAnyBand = ((sides & sdLeft) && x < width) || ((sides & sdRight) && x >= 8 - width) ||
                                   ((sides & sdTop) && y < width) || ((sides & sdBottom) && y >= 7 - width);
            EXPECT_EQ(g.Painted(x, y), inAnyBand) << x << "," << y;
          }
        }
      }
    }
  }
  SetSystemColorResolver(nullptr);
}

TEST(Frames, PicturesOfTheStyles) {
  struct Case {
    TFrameStyleEx style;
    TSides sides;
    const char* picture;
  };
  const Case cases[] = {
      {fsFlat, sdAllSides, "dddddd|d....d|d....d|dddddd"},
      {fsRaised, sdAllSides, "llllld|lhhhsd|lssssd|dddddd"},
      {fsLowered, sdAllSides, "sssssh|sdddlh|sllllh|hhhhhh"},
      {fsButtonDown, sdLeft | sdTop, "tttttt|tsssss|ts....|ts...."},
      {fsGroove, sdAllSides, "sssssh|shhhsh|sssssh|hhhhhh"},
      {fsGroove, sdTop, "ssssss|hhhhhh|......|......"},
      {fsGroove, sdLeft, "sh....|sh....|sh....|sh...."},
      {fsBump, sdTop | sdRight, "hhhhhs|sssshs|....hs|....hs"},
      {fsFlatBold, sdBottom, "......|......|ssssss|ssssss"},
      {fsStatus, sdAllSides, "sssssh|s....h|s....h|hhhhhh"},
  };
  for (const Case& c : cases) {
    TGrid g(6, 4);
    PaintFrameStyle(g, TRect(0, 0, 6, 4), c.style, c.sides);
    EXPECT_EQ(g.Picture(kLegend), c.picture) << "style " << c.style << " sides " << int(c.sides);
  }
}

TEST(Frames, EdgeLinesWithoutColourStillShrink) {
  TGrid g(5, 5);
  EXPECT_EQ(PaintEdgeLines(g, TRect(0, 0, 5, 5), clNone, clNone, sdLeft | sdBottom), TRect(1, 0, 5, 4));
  EXPECT_EQ(g.Picture(kLegend), ".....|.....|.....|.....|.....");
  EXPECT_EQ(PaintFrameStyle(g, TRect(0, 0, 5, 5), fsGroove, 0), TRect(0, 0, 5, 5));
  EXPECT_EQ(g.Picture(kLegend), ".....|.....|.....|.....|.....");
}

TEST(Frames, RoundedEdgesDottedFocusAndOutline) {
  TGrid g(6, 5);
  EXPECT_EQ(PaintRoundedFlatEdges(g, TRect(0, 0, 6, 5), clBtnShadow, sdAllSides), TRect(2, 2, 4, 3));
  EXPECT_EQ(g.Picture(kLegend), "..ss..|.s..s.|s....s|.s..s.|..ss..");
  TGrid top(6, 3);
  EXPECT_EQ(PaintRoundedFlatEdges(top, TRect(0, 0, 6, 3), clBtnShadow, sdTop), TRect(0, 2, 6, 3));
  EXPECT_EQ(top.Picture(kLegend), "ssssss|......|......");

  TGrid dots(6, 5);
  EXPECT_EQ(PaintDottedFocusBox(dots, TRect(0, 0, 6, 5)), TRect(1, 1, 5, 4));
  EXPECT_EQ(dots.Picture(kLegend), ".k.k.k|k....k|......|k....k|.k.k.k");
}

// The installer's progress bar frame: flat rounded outer border, no inner
// one, not transparent. The outermost ring shows the parent, the second
// the bar's colour, the rounded line the lightened flat colour.
TEST(Frames, OuterInnerFramesOfTheRoundedProgressBar) {
  SetSystemColorResolver(Pinned);
  constexpr TColor parent = 0x112233, back = 0xFFFFFF;
  TOuterInnerFrames f;
  f.BorderOuter = fsFlatRounded;
  f.FlatColor = clBtnShadow;
  f.FlatColorAdjustment = 30;
  f.Color = back;
  f.ParentColor = parent;
  f.CutInnerFlatCorners = true;
  TGrid g(10, 6);
  EXPECT_EQ(PaintOuterInnerFrames(g, TRect(0, 0, 10, 6), f), TRect(2, 2, 8, 4));
  const TColor line = LightenColor(clBtnShadow, 30);
  const std::map<TColor, char> legend = {{parent, 'P'}, {back, 'B'}, {line, 'L'}};
  EXPECT_EQ(g.Picture(legend), "PPLLLLLLPP|PLBBBBBBLP|LB......BL|LB......BL|PLBBBBBBLP|PPLLLLLLPP");

  // With an inner flat border the corners of the inner outline are cut.
  f.BorderOuter = fsNone;
  f.BorderInner = fsFlat;
  f.BorderWidth = 1;
  f.BorderColor = 0x445566;
  TGrid h(6, 5);
  EXPECT_EQ(PaintOuterInnerFrames(h, TRect(0, 0, 6, 5), f), TRect(2, 2, 4, 3));
  const std::map<TColor, char> legend2 = {{f.BorderColor, 'W'}, {line, 'L'}};
  EXPECT_EQ(h.Picture(legend2), "WWWWWW|W.LL.W|WL..LW|W.LL.W|WWWWWW");
  SetSystemColorResolver(nullptr);
}

TEST(Frames, EditFrameFillsThenFrames) {
  SetSystemColorResolver(Pinned);
  TGrid g(6, 5);
  PaintEditFrame(g, 6, 5, fsFlat, clWindow, 0x0000FF, sdLeft | sdTop, false);
  const std::map<TColor, char> legend = {{clWindow, 'w'}, {0x0000FF, 'r'}};
  EXPECT_EQ(g.Picture(legend), "rrrrrr|rwwwww|rw..ww|rwwwww|rwwwww");
  TGrid skip(6, 5);
  PaintEditFrame(skip, 6, 5, fsLowered, clWindow, 0, sdAllSides, true);
  EXPECT_EQ(skip.At(0, 0), clBtnShadow);
  EXPECT_EQ(skip.At(1, 1), cl3DDkShadow);
  EXPECT_EQ(skip.At(5, 4), clBtnHighlight);
  SetSystemColorResolver(nullptr);
}

}  // namespace
