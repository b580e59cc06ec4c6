// The painted scroll bar under Wine: the range setter, auto-repeat of a held
// arrow (its timer fired directly), thumb dragging with snap-back, what
// OnScroll may change and the kind swap.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "foundation/vxScrollBar.h"
#include "platform/ui/Forms.h"

namespace {

class ScrollBarTest : public ::testing::Test {
 protected:
  ScrollBarTest() : form_(nullptr) {
    form_.SetBounds(100, 100, 400, 300);
    bar_ = new TvxScrollBar(&form_);
    bar_->SetParent(&form_);
    bar_->SetBounds(10, 100, 121, 17);
    form_.SetVisible(true);
    bar_->OnScroll = [this](TObject*, TScrollCode code, int&) { codes_.push_back(code); };
  }

  // Puts the real cursor over a client point of the bar (the repeat timer
  // asks where it is) and sends the message the press or move would.
  void Mouse(UINT msg, int x, int y) {
    POINT p{x, y};
    ClientToScreen(bar_->Handle(), &p);
    SetCursorPos(p.x, p.y);
    SendMessageA(bar_->Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
  }

  TForm form_;
  TvxScrollBar* bar_;
  std::vector<TScrollCode> codes_;
};

TEST_F(ScrollBarTest, NewBar) {
  TvxScrollBar bar(nullptr);
  EXPECT_EQ(bar.Width(), 121);
  EXPECT_EQ(bar.Height(), GetSystemMetrics(SM_CYHSCROLL));
  EXPECT_EQ(bar.Kind(), sbHorizontal);
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_EQ(bar.SmallChange(), 1);
  EXPECT_FALSE(bar.Timer()->Enabled());
  EXPECT_EQ(bar.Timer()->Interval(), 400u);
}

// The bar draws with what its own look-and-feel chooses, and a change of
// kind takes the new painter's thumb length and repaints.
TEST_F(ScrollBarTest, LookAndFeelChoosesThePainter) {
  bar_->LookAndFeel()->SetKind(lfStandard);
  EXPECT_EQ(&bar_->Painter(), &TvxStandardLookAndFeelPainter::Painter());
  bar_->LookAndFeel()->SetKind(lfOffice11);
  EXPECT_EQ(&bar_->Painter(), vxLookAndFeelPainterOfKind(lfOffice11));
  EXPECT_EQ(bar_->ViewInfo().ThumbnailSize, bar_->Painter().ScrollBarMinThumbLength(false));
  TvxLookAndFeel other(nullptr);
  other.SetKind(lfFlat);
  bar_->SetLookAndFeel(&other);
  EXPECT_EQ(bar_->LookAndFeel()->GetKind(), lfFlat);
  EXPECT_NE(bar_->LookAndFeel(), &other);
}

TEST_F(ScrollBarTest, RangeSetter) {
  int changes = 0;
  bar_->OnChange = [&](TObject*) { ++changes; };
  bar_->SetScrollParams(0, 100, 10, 50, true);
  EXPECT_EQ(changes, 1);
  try {
    bar_->SetScrollParams(0, 100, 101, 20, true);
    ADD_FAILURE() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "Scrollbar property out of range");
  }
  EXPECT_EQ(bar_->Position(), 50);
  EXPECT_EQ(bar_->PageSize(), 10);
  bar_->SetPosition(500);  // clamped
  EXPECT_EQ(bar_->Position(), 100);
  EXPECT_EQ(changes, 2);
  bar_->SetMax(100);  // all four equal: nothing
  EXPECT_EQ(changes, 2);
  bar_->SetEnabled(false);
  EXPECT_TRUE(bar_->ViewInfo().ThumbnailRect.IsEmpty());
  bar_->SetPosition(3);  // a new position enables the bar
  EXPECT_TRUE(bar_->Enabled());
  EXPECT_FALSE(bar_->ViewInfo().ThumbnailRect.IsEmpty());
}

TEST_F(ScrollBarTest, HeldArrowRepeatsAfter400ThenEvery60) {
  bar_->SetPosition(50);
  const TRect arrow = bar_->ViewInfo().BottomRightArrowRect;
  const int x = (arrow.Left + arrow.Right) / 2, y = 8;
  Mouse(WM_LBUTTONDOWN, x, y);
  EXPECT_EQ(bar_->Position(), 51);  // one step at the press
  EXPECT_EQ(bar_->PressedPart(), sbhBottomRightArrow);
  EXPECT_TRUE(bar_->Timer()->Enabled());
  EXPECT_EQ(bar_->Timer()->Interval(), 400u);
  bar_->Timer()->Fire();
  EXPECT_EQ(bar_->Position(), 52);
  EXPECT_EQ(bar_->Timer()->Interval(), 60u);
  bar_->Timer()->Fire();
  EXPECT_EQ(bar_->Position(), 53);
  // Off the arrow the timer pauses; back on it, it runs again.
  Mouse(WM_MOUSEMOVE, 40, y);
  EXPECT_FALSE(bar_->Timer()->Enabled());
  Mouse(WM_MOUSEMOVE, x, y);
  EXPECT_TRUE(bar_->Timer()->Enabled());
  Mouse(WM_LBUTTONUP, x, y);
  EXPECT_EQ(bar_->PressedPart(), sbhNone);
  EXPECT_FALSE(bar_->Timer()->Enabled());
  EXPECT_EQ(bar_->HotPart(), sbhBottomRightArrow);
  ASSERT_FALSE(codes_.empty());
  EXPECT_EQ(codes_.back(), scEndScroll);
  EXPECT_EQ(std::count(codes_.begin(), codes_.end(), scLineDown), 3);
}

TEST_F(ScrollBarTest, PageAreaStepsAndAClickOnATrackWithoutThumb) {
  bar_->SetScrollParams(0, 100, 0, 50, true);
  bar_->SetLargeChange(40000);
  bar_->SetScrollParams(0, 1000000, 0, 500000, true);
  const TRect page = bar_->ViewInfo().PageUpRect;
  Mouse(WM_LBUTTONDOWN, page.Left + 1, 8);
  Mouse(WM_LBUTTONUP, page.Left + 1, 8);
  EXPECT_EQ(bar_->Position(), 460000);
  bar_->SetScrollParams(7, 7, 0, 7, true);
  Mouse(WM_LBUTTONDOWN, 60, 8);
  EXPECT_EQ(bar_->PressedPart(), sbhNone);
  Mouse(WM_LBUTTONUP, 60, 8);
  EXPECT_EQ(bar_->Position(), 7);
}

TEST_F(ScrollBarTest, DraggedThumbSnapsBackFarAcrossTheBar) {
  bar_->SetPosition(0);
  const TRect thumb = bar_->ViewInfo().ThumbnailRect;
  const int x = thumb.Left + 2;
  Mouse(WM_LBUTTONDOWN, x, 8);
  EXPECT_EQ(bar_->PressedPart(), sbhThumbnail);
  Mouse(WM_MOUSEMOVE, x + 35, 8);
  EXPECT_EQ(bar_->Position(), 50);
  Mouse(WM_MOUSEMOVE, x + 35, 8 + 200);  // beyond 136 pixels below: back to 0
  EXPECT_EQ(bar_->Position(), 0);
  Mouse(WM_MOUSEMOVE, x + 35, 8 + 100);  // within reach again: tracking resumes
  EXPECT_EQ(bar_->Position(), 50);
  // The press, the first move, the snap-back and the resumed move.
  EXPECT_EQ(std::count(codes_.begin(), codes_.end(), scTrack), 4);
  Mouse(WM_LBUTTONUP, x + 35, 8 + 100);
  EXPECT_EQ(bar_->Position(), 50);
  EXPECT_EQ(codes_.back(), scEndScroll);
  EXPECT_EQ(codes_[codes_.size() - 2], scPosition);

  bar_->SetUnlimitedTracking(true);
  bar_->SetPosition(0);
  Mouse(WM_LBUTTONDOWN, x, 8);
  Mouse(WM_MOUSEMOVE, x + 70, 8 + 400);
  EXPECT_EQ(bar_->Position(), 100);
  Mouse(WM_LBUTTONUP, x + 70, 8 + 400);
}

TEST_F(ScrollBarTest, ScrollHandlerResultIsClamped) {
  bar_->OnScroll = [](TObject*, TScrollCode, int& position) { position = 1000; };
  bar_->Scroll(scLineDown);
  EXPECT_EQ(bar_->Position(), 100);
  bar_->OnScroll = [](TObject*, TScrollCode, int& position) { position = -5; };
  bar_->Scroll(scLineDown);
  EXPECT_EQ(bar_->Position(), 0);
}

TEST_F(ScrollBarTest, KindSwapsWidthAndHeight) {
  bar_->SetKind(sbVertical);
  EXPECT_EQ(bar_->Width(), 17);
  EXPECT_EQ(bar_->Height(), 121);
  EXPECT_EQ(bar_->ViewInfo().BottomRightArrowRect.Bottom, 121);
  EXPECT_EQ(bar_->ViewInfo().TopLeftArrowRect.Right, 17);
}

TEST_F(ScrollBarTest, PaintsItsPartsInTheirStates) {
  TBitmap normal, pressed;
  for (TBitmap* b : {&normal, &pressed}) {
    b->SetPixelFormat(pf32bit);
    b->SetSize(121, 17);
  }
  {
    TvxCanvas canvas(normal.Canvas());
    bar_->PaintScrollBar(&canvas);
  }
  const TRect arrow = bar_->ViewInfo().TopLeftArrowRect;
  Mouse(WM_LBUTTONDOWN, 5, 8);
  {
    TvxCanvas canvas(pressed.Canvas());
    bar_->PaintScrollBar(&canvas);
  }
  Mouse(WM_LBUTTONUP, 5, 8);
  int differ = 0;
  for (int y = arrow.Top; y < arrow.Bottom; ++y)
    for (int x = arrow.Left; x < arrow.Right; ++x)
      differ += static_cast<const uint32_t*>(normal.ScanLine(y))[x] != static_cast<const uint32_t*>(pressed.ScanLine(y))[x];
  EXPECT_GT(differ, 0);
}

}  // namespace

// The scroll-anchor pictures drawn at build time load as bitmaps: a light
// disc with a dark dot in the middle, and arrows only where the bar scrolls.
namespace {

TEST(ScrollAnchorBitmaps, LoadFromTheProgramsResources) {
  struct Case {
    const char* name;
    bool horizontal, vertical;
  };
  for (const Case& c : {Case{"VX_FULLSCROLLBITMAP", true, true}, Case{"VX_HORSCROLLBITMAP", true, false},
                        Case{"VX_VERSCROLLBITMAP", false, true}}) {
    SCOPED_TRACE(c.name);
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), c.name);
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 28);
    EXPECT_EQ(info.bmHeight, 28);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 14, 14), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(GetPixel(dc, 4, 14) == RGB(0, 0, 0), c.horizontal);   // left arrow's tip
    EXPECT_EQ(GetPixel(dc, 14, 4) == RGB(0, 0, 0), c.vertical);     // upper arrow's tip
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
}

}  // namespace
