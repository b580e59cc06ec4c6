// The push button with actions, the default look and the text direction,
// under Wine: an action's caption, enabled state, check mark and image
// reach the button, a click executes it, either side may be freed first,
// a speed-button group unchecks the released button's action, the default
// look follows the focus, and right-to-left puts the glyph on the right.
#include <gtest/gtest.h>

#include <windowsx.h>

#include "ButtonDrawItem.h"
#include "PixelBounds.h"
#include "foundation/vxButtons.h"
#include "foundation/vxImageList.h"
#include "foundation/vxModules.h"
#include "platform/ui/Actions.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Messages.h"

namespace {

constexpr COLORREF kFirstImage = RGB(255, 0, 0), kSecondImage = RGB(0, 0, 255), kBitmap = RGB(0, 160, 0);
constexpr COLORREF kTransparent = RGB(255, 0, 255), kFace = RGB(10, 200, 220), kDefaultFace = RGB(250, 240, 0);

// A 16 x 16 image of one colour with a transparent border of 2 pixels.
void MakeImage(TBitmap& image, COLORREF colour) {
  image.SetPixelFormat(pf24bit);
  image.SetSize(16, 16);
  TCanvas* canvas = image.Canvas();
  canvas->Brush()->SetColor(TColor(kTransparent));
  canvas->FillRect(TRect(0, 0, 16, 16));
  canvas->Brush()->SetColor(TColor(colour));
  canvas->FillRect(TRect(2, 2, 14, 14));
}

class ButtonActions : public testing::Test {
 protected:
  ButtonActions() : form_(nullptr) {
    form_.SetBounds(80, 80, 400, 300);
    images_ = new TvxImageList(&form_);
    images_->SetSize(16, 16);
    for (COLORREF colour : {kFirstImage, kSecondImage}) {
      TBitmap image;
      MakeImage(image, colour);
      images_->AddWithMaskColor(&image, TColor(kTransparent));
    }
    list_ = new TActionList(&form_);
    list_->SetImages(images_);
    form_.Show();
    SetForegroundWindow(form_.Handle());
    Application->ProcessMessages();
  }

  TAction* NewAction(const String& caption, int imageIndex = -1) {
    auto* action = new TAction(&form_);
    action->SetActionList(list_);
    action->SetCaption(caption);
    action->SetImageIndex(imageIndex);
    return action;
  }
  TvxButton* Add(int top) {
    auto* button = new TvxButton(&form_);
    button->SetParent(&form_);
    button->SetBounds(10, top, 120, 30);
    for (TvxButtonAssignedColor c : {vxbcNormal, vxbcHot, vxbcPressed, vxbcDisabled}) button->Colors()->SetColor(c, TColor(kFace));
    button->Colors()->SetDefault(TColor(kDefaultFace));
    return button;
  }

  // The button drawn by its owner-draw handler into a bitmap of its size,
  // without the focus state, so that only the button's own state decides.
  void Paint(TvxButton& button) { DrawButtonItem(button, target_); }
  COLORREF Pixel(int x, int y) { return GetPixel(target_.Canvas()->Handle(), x, y); }
  // Where the pixels of a colour landed in the last paint.
  TRect Where(COLORREF colour) {
    return PixelBounds(target_.Width(), target_.Height(), [&](int x, int y) { return Pixel(x, y) == colour; });
  }
  COLORREF Face(TvxButton& button) {
    Paint(button);
    return Pixel(4, 4);
  }

  // What a press and release on the button send, with the real cursor on it.
  void Click(TvxButton& button) {
    POINT p{20, 15};
    ClientToScreen(button.Handle(), &p);
    SetCursorPos(p.x, p.y);
    SendMessageA(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 15));
    SendMessageA(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
    SendMessageA(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 15));
    Application->ProcessMessages();
  }

  TvxFoundationModules modules_;
  TForm form_;
  TvxImageList* images_;
  TActionList* list_;
  TBitmap target_;
};

TEST_F(ButtonActions, PropertiesAndTheListsImageReachTheButton) {
  TAction* action = NewAction("&Print", 0);
  action->SetHint("Print the page");
  TvxButton* button = Add(10);
  // Down, the check mark, needs a group, and one that lets it go up.
  button->SetGroupIndex(1);
  button->SetAllowAllUp(true);
  button->SetAction(action);
  EXPECT_EQ(button->Caption(), "&Print");
  EXPECT_EQ(button->Hint(), "Print the page");
  EXPECT_EQ(button->GlyphObject()->Images(), images_);
  Paint(*button);
  EXPECT_FALSE(Where(kFirstImage).IsEmpty()) << "the list's image shows while no bitmap is set";

  action->SetImageIndex(1);
  Paint(*button);
  EXPECT_TRUE(Where(kFirstImage).IsEmpty());
  EXPECT_FALSE(Where(kSecondImage).IsEmpty());
  action->SetChecked(true);
  EXPECT_TRUE(button->Down());
  action->SetChecked(false);
  EXPECT_FALSE(button->Down());
  action->SetEnabled(false);
  EXPECT_FALSE(button->Enabled());
  EXPECT_FALSE(IsWindowEnabled(button->Handle()));
  action->SetEnabled(true);

  TBitmap bitmap;
  MakeImage(bitmap, kBitmap);
  button->SetGlyph(&bitmap);
  Paint(*button);
  EXPECT_TRUE(Where(kSecondImage).IsEmpty()) << "a glyph bitmap comes before the action's image";
  EXPECT_FALSE(Where(kBitmap).IsEmpty());
  button->SetGlyph(nullptr);
  Paint(*button);
  EXPECT_FALSE(Where(kSecondImage).IsEmpty());

  // The list's images may change under the action.
  list_->SetImages(nullptr);
  EXPECT_EQ(button->GlyphObject()->Images(), nullptr);
  list_->SetImages(images_);
  EXPECT_EQ(button->GlyphObject()->Images(), images_);
}

TEST_F(ButtonActions, ClickingExecutesTheAction) {
  TAction* action = NewAction("Go");
  int executed = 0;
  action->OnExecute = [&](TObject*) { ++executed; };
  TvxButton* button = Add(10);
  button->SetAction(action);
  Click(*button);
  EXPECT_EQ(executed, 1);
  // A speed button clicks on its own release, without the system's click.
  button->SetCanBeFocused(false);
  Click(*button);
  EXPECT_EQ(executed, 2);
}

// Each case frees one side and then paints or changes the other: a link or
// image list left behind would be drawn from freed memory.
TEST_F(ButtonActions, EitherSideMayBeFreedFirst) {
  TAction* action = NewAction("Gone", 0);
  TvxButton* button = Add(10);
  button->SetAction(action);
  delete action;
  EXPECT_EQ(button->Action(), nullptr);
  EXPECT_EQ(button->GlyphObject()->Images(), nullptr) << "the button loses the freed action's image";
  EXPECT_EQ(button->GlyphObject()->ImageIndex(), -1);
  Paint(*button);
  EXPECT_TRUE(Where(kFirstImage).IsEmpty());

  action = NewAction("Images go", 1);
  button->SetAction(action);
  delete images_;
  EXPECT_EQ(list_->Images(), nullptr);
  EXPECT_EQ(button->GlyphObject()->Images(), nullptr) << "the list's freed images leave the glyph";
  Paint(*button);

  TvxButton* other = Add(50);
  other->SetAction(action);
  delete button;
  ASSERT_EQ(action->ClientCount(), 1);
  action->SetImageIndex(0);
  action->SetCaption("Still");
  EXPECT_EQ(other->Caption(), "Still");

  delete list_;  // frees its actions
  EXPECT_EQ(other->Action(), nullptr);
  Paint(*other);
}

TEST_F(ButtonActions, AGroupUnchecksTheReleasedButtonsAction) {
  TAction* bold = NewAction("Bold");
  TAction* italic = NewAction("Italic");
  TvxButton* a = Add(10);
  TvxButton* b = Add(50);
  for (TvxButton* button : {a, b}) {
    button->SetGroupIndex(1);
    button->SetCanBeFocused(false);
  }
  a->SetAction(bold);
  b->SetAction(italic);
  bold->SetChecked(true);
  EXPECT_TRUE(a->Down());
  Click(*b);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_FALSE(bold->Checked()) << "the released button's action is unchecked";
  italic->SetChecked(true);
  bold->SetChecked(true);
  EXPECT_TRUE(a->Down());
  EXPECT_FALSE(b->Down());
  EXPECT_FALSE(italic->Checked());
}

TEST_F(ButtonActions, TheDefaultLookFollowsTheFocus) {
  TvxButton* first = Add(10);
  TvxButton* second = Add(50);
  auto* edit = new TEdit(&form_);
  edit->SetParent(&form_);
  edit->SetBounds(10, 100, 120, 24);
  second->SetDefault(true);
  Application->ProcessMessages();
  edit->SetFocus();
  Application->ProcessMessages();
  EXPECT_EQ(Face(*first), kFace);
  EXPECT_EQ(Face(*second), kDefaultFace) << "the Default button while the focus is on no button";

  first->SetFocus();
  Application->ProcessMessages();
  EXPECT_TRUE(first->DefaultLook());
  EXPECT_EQ(Face(*first), kDefaultFace) << "the focused button";
  EXPECT_EQ(Face(*second), kFace);

  PostMessageA(first->Handle(), WM_KEYDOWN, VK_TAB, 1);
  Application->ProcessMessages();
  ASSERT_TRUE(second->Focused());
  EXPECT_EQ(Face(*first), kFace);
  EXPECT_EQ(Face(*second), kDefaultFace);

  edit->SetFocus();
  Application->ProcessMessages();
  EXPECT_EQ(Face(*first), kFace);
  EXPECT_EQ(Face(*second), kDefaultFace) << "regained when the focus leaves the buttons";
  EXPECT_EQ(GetWindowLongA(second->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW)
      << "the owner-drawn button keeps its style";
}

TEST_F(ButtonActions, RightToLeftPutsTheGlyphOnTheRight) {
  TvxButton* button = Add(10);
  TBitmap bitmap;
  MakeImage(bitmap, kBitmap);
  button->SetGlyph(&bitmap);
  button->SetCaption("Text");
  button->SetMargin(4);
  struct Case {
    TBiDiMode Mode;
    bool GlyphRight;
  };
  const Case cases[] = {{bdLeftToRight, false},
                        {bdRightToLeft, true},
                        {bdRightToLeftNoAlign, false},
                        {bdRightToLeftReadingOnly, false}};
  for (const Case& c : cases) {
    button->SetBiDiMode(c.Mode);
    Paint(*button);
    const TRect glyph = Where(kBitmap);
    ASSERT_FALSE(glyph.IsEmpty()) << "mode " << c.Mode;
    EXPECT_EQ(glyph.Left > button->Width() / 2, c.GlyphRight) << "mode " << c.Mode;
  }
  // From the form, through ParentBiDiMode.
  button->SetParentBiDiMode(true);
  form_.SetBiDiMode(bdRightToLeft);
  Paint(*button);
  EXPECT_GT(Where(kBitmap).Left, button->Width() / 2);
  EXPECT_TRUE(button->UseRightToLeftReading());
}

}  // namespace
