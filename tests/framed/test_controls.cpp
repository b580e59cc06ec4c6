// The framed controls under Wine, by pixels: the installer's gradient
// progress bar through a whole installation's steps, labels (rotated
// bounds, blinking through one timer, 3-D text), the URL label's click, the
// separator, and the frame and gradient painters on a real canvas. System
// colours are pinned for each test and restored after it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "framed/FmBckgnd.h"
#include "framed/FmCommonController.h"
#include "framed/FmEdit.h"
#include "framed/FmGrafx.h"
#include "framed/FmLabel.h"
#include "framed/FmPanel.h"
#include "framed/FmPrgres.h"
#include "platform/ui/Registry.h"

namespace {

constexpr TColor kFace = RGBColor(212, 208, 200), kShadow = RGBColor(128, 128, 128);
constexpr TColor kHighlight = RGBColor(10, 36, 106), kHotLight = RGBColor(0, 102, 204);
constexpr TColor kDkShadow = RGBColor(64, 64, 64), kLight = RGBColor(192, 192, 192);
constexpr TColor kFormColor = RGBColor(200, 220, 240);

// Pins the system colours the controls use; restores them afterwards.
class PinnedColors {
 public:
  PinnedColors() {
    const std::pair<int, TColor> pins[] = {
        {COLOR_BTNFACE, kFace}, {COLOR_BTNSHADOW, kShadow}, {COLOR_BTNHIGHLIGHT, clWhite},
        {COLOR_HIGHLIGHT, kHighlight}, {COLOR_HOTLIGHT, kHotLight}, {COLOR_WINDOW, clWhite},
        {COLOR_3DDKSHADOW, kDkShadow}, {COLOR_3DLIGHT, kLight}, {COLOR_BTNTEXT, clBlack},
    };
    for (auto [index, color] : pins) {
      indices_.push_back(index);
      saved_.push_back(GetSysColor(index));
      colors_.push_back(COLORREF(color));
    }
    SetSysColors(int(indices_.size()), indices_.data(), colors_.data());
  }
  ~PinnedColors() { SetSysColors(int(indices_.size()), indices_.data(), saved_.data()); }

 private:
  std::vector<int> indices_;
  std::vector<COLORREF> saved_, colors_;
};

// A shown form in a pinned colour scheme, and pictures of it. Showing a
// top-level window costs seconds under Wine: the tests of a suite share one.
class FramedForm : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Application->Initialize();
    form_ = new TForm(nullptr);
    form_->SetBounds(20, 20, 600, 300);
    form_->SetColor(kFormColor);
    form_->Show();
    Application->ProcessMessages();
  }
  static void TearDownTestSuite() {
    delete form_;
    form_ = nullptr;
  }

  // The form's client area as PrintWindow draws it.
  std::unique_ptr<TBitmap> Capture() {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(form_->ClientWidth(), form_->ClientHeight());
    PrintWindow(form_->Handle(), b->Canvas()->Handle(), PW_CLIENTONLY);
    return b;
  }

  PinnedColors pinned_;
  static inline TForm* form_ = nullptr;
};

TColor At(TBitmap& b, int x, int y) { return b.Canvas()->Pixel(x, y); }

// Every channel within tolerance.
bool Near(TColor a, TColor b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

void UseFont(TFont* font, const char* name, int height, TFontStyles style, TColor color) {
  font->SetName(name);
  font->SetHeight(height);
  font->SetStyle(style);
  font->SetColor(color);
}

// The columns, within a box, of the pixels in one colour.
struct TColumns {
  int count = 0, minX = 1 << 30, maxX = -1;
};
TColumns FindColor(TBitmap& b, const TRect& box, TColor color) {
  TColumns c;
  for (int y = box.Top; y < box.Bottom; ++y)
    for (int x = box.Left; x < box.Right; ++x)
      if (At(b, x, y) == color) {
        ++c.count;
        c.minX = std::min(c.minX, x);
        c.maxX = std::max(c.maxX, x);
      }
  return c;
}

// --- Progress bar ----------------------------------------------------------------------------

std::unique_ptr<TFmProgressBar> MakeInstallerBar(TForm* form, int left, int top) {
  auto bar = std::make_unique<TFmProgressBar>(form);
  bar->SetParent(form);
  bar->SetBounds(left, top, 489, 17);
  bar->SetBarStyle(bsGradient);
  bar->SetBorderOuter(fsFlatRounded);
  bar->SetBorderWidth(0);
  bar->SetInteriorOffset(0);
  bar->SetPercent(0);
  bar->SetPartsComplete(0);
  bar->SetTotalParts(0);
  UseFont(bar->Font(), "Tahoma", -11, fsBold, clBlack);
  return bar;
}

// Steps the installer's bar from 10 to 100 percent, a picture at each step.
// inside: where the bar's colours begin, within the frame or the theme's
// track.
void CheckSteps(TFmProgressBar* bar, const TRect& inside, const std::function<std::unique_ptr<TBitmap>()>& capture,
                const std::function<void(TBitmap&)>& checkFrame) {
  const int middle = inside.Top + inside.Height() / 2;
  for (int percent = 10; percent <= 100; percent += 10) {
    SCOPED_TRACE(percent);
    bar->SetPercent(uint16_t(percent));
    std::unique_ptr<TBitmap> shot = capture();
    TBitmap& b = *shot;
    checkFrame(b);
    const int barRight = inside.Left + int(std::nearbyint(percent * inside.Width() / 100.0));
    // The bar: its colour at the bottom edge, the stop colour along the
    // middle, and at the top edge a step short of its colour.
    EXPECT_EQ(At(b, inside.Left, inside.Bottom - 1), kHighlight);
    EXPECT_EQ(At(b, barRight - 1, inside.Bottom - 1), kHighlight);
    EXPECT_EQ(At(b, inside.Left, middle), kHotLight);
    EXPECT_TRUE(Near(At(b, inside.Left, inside.Top), kHighlight, 16));
    if (percent < 100) {
      // The rest: white at the edges, button face in the middle.
      EXPECT_EQ(At(b, barRight, inside.Bottom - 1), clWhite);
      EXPECT_TRUE(Near(At(b, barRight, inside.Top), clWhite, 16));
      EXPECT_EQ(At(b, inside.Right - 1, middle), kFace);
    }
    // The text sits centred on the bar area: in white over the bar, in the
    // bar colour over the rest.
    const TRect textBox(inside.Left + 180, inside.Top + 1, inside.Right - 180, inside.Bottom - 1);
    const TColumns overBar = FindColor(b, TRect(textBox.Left, textBox.Top, barRight, textBox.Bottom), clWhite);
    const TColumns overRest = FindColor(b, TRect(barRight, textBox.Top, textBox.Right, textBox.Bottom), kHighlight);
    EXPECT_GT(overBar.count + overRest.count, 10);
    const int minX = std::min(overBar.minX, overRest.minX), maxX = std::max(overBar.maxX, overRest.maxX);
    EXPECT_NEAR((minX + maxX) / 2.0, (inside.Left + inside.Right) / 2.0, 3.0);
  }
}

TEST_F(FramedForm, InstallerProgressBarAtEveryStepWithoutThemes) {
  const int left = 30, top = 40;
  std::unique_ptr<TFmProgressBar> bar = MakeInstallerBar(form_, left, top);
  bar->SetThemeAware(false);
  const TColor ring = ColorToRGB(LightenColor(clBtnShadow, 30));
  // The cut corners show the form, the rounded line is the lightened flat
  // colour; 2 pixels in from each edge the bar's colours begin.
  CheckSteps(bar.get(), TRect(left + 2, top + 2, left + 487, top + 15), [this] { return Capture(); },
             [&](TBitmap& b) {
               EXPECT_EQ(At(b, left, top), kFormColor);
               EXPECT_EQ(At(b, left + 488, top + 16), kFormColor);
               EXPECT_EQ(At(b, left + 5, top), ring);
               EXPECT_EQ(At(b, left, top + 8), ring);
               EXPECT_EQ(At(b, left + 1, top + 1), ring);
             });
}

TEST_F(FramedForm, InstallerProgressBarAtEveryStepInTheThemesTrack) {
  if (!fm_themes::Enabled()) GTEST_SKIP() << "no visual styles in this prefix";
  const int left = 30, top = 40;
  std::unique_ptr<TFmProgressBar> bar = MakeInstallerBar(form_, left, top);
  // The theme's track, then 3 pixels in, the bar.
  CheckSteps(bar.get(), TRect(left + 3, top + 3, left + 486, top + 14), [this] { return Capture(); },
             [&](TBitmap& b) { EXPECT_NE(At(b, left + 100, top), kFormColor); });
}

TEST_F(FramedForm, ProgressBarStylesPartsAndOrientation) {
  TFmProgressBar bar(form_);
  bar.SetParent(form_);
  int changes = 0;
  bar.OnChange = [&](TObject*, int) { ++changes; };
  bar.SetTotalParts(7);
  bar.SetShowParts(true);
  bar.SetPartsComplete(3);
  EXPECT_EQ(bar.Percent(), 43);
  bar.SetPartsComplete(9);
  EXPECT_EQ(bar.PartsComplete(), 7u);
  EXPECT_EQ(bar.Percent(), 100);
  bar.SetPercent(100);
  EXPECT_EQ(changes, 2);  // 43 and 100; the same value again does nothing

  bar.SetBarStyle(bsLED);
  EXPECT_FALSE(bar.ShowPercent());
  EXPECT_EQ(bar.InteriorOffset(), 1);
  bar.SetBarStyle(bsGradient);
  EXPECT_TRUE(bar.ShowPercent());
  EXPECT_EQ(bar.InteriorOffset(), 0);

  bar.SetBounds(0, 0, 17, 100);
  EXPECT_EQ(bar.Orientation(), orVertical);
  bar.SetBounds(0, 0, 100, 17);
  EXPECT_EQ(bar.Orientation(), orHorizontal);
}

TEST(ProgressBarLed, SegmentLayout) {
  struct Case {
    int length, segments, percent;
    TLedLayout expected;
  };
  const Case cases[] = {
      {60, 20, 50, {10, 6, 0, 5}},     // short bars keep ten segments
      {200, 20, 37, {20, 10, 0, 7}},
      {205, 20, 100, {20, 10, 2, 20}},
      {210, 20, 0, {21, 10, 0, 0}},    // a spare segment's worth is added
      {200, 20, 150, {20, 10, 0, 20}}, // beyond 100 percent: every segment, no more
      {60, 0, 50, {1, 60, 0, 0}},      // no segments asked for: one
  };
  for (const Case& c : cases) {
    const TLedLayout l = LayoutLedSegments(c.length, c.segments, c.percent);
    EXPECT_EQ(l.Segments, c.expected.Segments) << c.length;
    EXPECT_EQ(l.Size, c.expected.Size) << c.length;
    EXPECT_EQ(l.Margin, c.expected.Margin) << c.length;
    EXPECT_EQ(l.Lit, c.expected.Lit) << c.length;
  }
}

TEST_F(FramedForm, LedBarLightsItsSegments) {
  TFmProgressBar bar(form_);
  bar.SetParent(form_);
  bar.SetBounds(10, 10, 204, 20);
  bar.SetBarStyle(bsLED);
  bar.SetThemeAware(false);
  bar.SetBorderOuter(fsNone);
  bar.SetPercent(250);
  std::unique_ptr<TBitmap> shot = Capture();
  // 202 pixels inside the 1-pixel gap: 20 segments of 10, a margin of 1.
  int lit = 0;
  for (int i = 0; i < 20; ++i) lit += At(*shot, 10 + 1 + 1 + 10 * i + 5, 20) == kHighlight;
  EXPECT_EQ(lit, 20);
  bar.SetPercent(37);
  shot = Capture();
  lit = 0;
  for (int i = 0; i < 20; ++i) lit += At(*shot, 10 + 1 + 1 + 10 * i + 5, 20) == kHighlight;
  EXPECT_EQ(lit, 7);
}

// --- Labels ----------------------------------------------------------------------------------

TEST_F(FramedForm, RotatedLabelBoundsHoldTheTurnedText) {
  TFmLabel label(form_);
  label.SetParent(form_);
  UseFont(label.Font(), "Tahoma", -13, 0, clBlack);
  label.SetCaption("Rotated caption");
  const int w = label.Width(), h = label.Height();
  EXPECT_GT(w, 3 * h);
  label.SetAngle(90);
  EXPECT_EQ(label.Rotation(), roFlat);
  EXPECT_EQ(label.Width(), h);
  EXPECT_EQ(label.Height(), w);
  label.SetAngle(-90);
  EXPECT_EQ(label.Angle(), 270);
  EXPECT_EQ(label.Width(), h);
  label.SetAngle(405);  // 45 degrees
  EXPECT_EQ(label.Angle(), 45);
  const int diagonal = int(std::nearbyint((w + h) * std::sqrt(0.5)));
  EXPECT_NEAR(label.Width(), diagonal, 1);
  EXPECT_NEAR(label.Height(), diagonal, 1);
  label.SetAngle(725);
  EXPECT_EQ(label.Angle(), 5);

  // Frames and margins grow the bounds on the sides that carry them.
  label.SetRotation(roNone);
  EXPECT_EQ(label.Angle(), 0);
  label.SetTextMargin(3);
  label.SetBorderOuter(fsLowered);
  label.SetBorderSides(sdLeft | sdTop);
  EXPECT_EQ(label.Width(), w + 2 + 6);
  EXPECT_EQ(label.Height(), h + 2 + 6);
}

TEST_F(FramedForm, RotatedAndArcTextDraw) {
  TFmLabel flat(form_);
  flat.SetParent(form_);
  UseFont(flat.Font(), "Tahoma", -16, fsBold, clBlack);
  flat.SetCaption("Up");
  flat.SetLeft(20);
  flat.SetAngle(90);
  TFmLabel arc(form_);
  arc.SetParent(form_);
  arc.SetAutoSize(false);
  arc.SetBounds(200, 20, 120, 120);
  UseFont(arc.Font(), "Tahoma", -14, fsBold, clBlack);
  arc.SetCaption("ARC TEXT");
  arc.SetRotation(roCurve);
  arc.SetAngle(60);
  // A label too small for a radius draws no arc and does not fail.
  TFmLabel tiny(form_);
  tiny.SetParent(form_);
  tiny.SetAutoSize(false);
  tiny.SetBounds(400, 20, 2, 2);
  tiny.SetCaption("x");
  tiny.SetRotation(roCurve);
  tiny.SetBorderWidth(3);
  std::unique_ptr<TBitmap> shot = Capture();
  EXPECT_GT(FindColor(*shot, flat.BoundsRect(), clBlack).count, 20);
  EXPECT_GT(FindColor(*shot, arc.BoundsRect(), clBlack).count, 40);
}

TEST_F(FramedForm, BlinkingRunsOnOneSharedTimer) {
  auto threadWindows = [] {
    int n = 0;
    EnumThreadWindows(
        GetCurrentThreadId(), [](HWND, LPARAM p) { return ++*reinterpret_cast<int*>(p), TRUE; }, LPARAM(&n));
    return n;
  };
  EXPECT_EQ(TFmBlinkingControlsList::Instance(), nullptr);
  std::vector<std::unique_ptr<TFmLabel>> labels;
  labels.push_back(std::make_unique<TFmLabel>(nullptr));
  TFmBlinkingControlsList* list = TFmBlinkingControlsList::Instance();
  ASSERT_NE(list, nullptr);
  const int windows = threadWindows();
  for (int i = 0; i < 5; ++i) labels.push_back(std::make_unique<TFmLabel>(nullptr));
  EXPECT_EQ(TFmBlinkingControlsList::Instance(), list);
  EXPECT_EQ(list->Count(), 6);
  EXPECT_EQ(threadWindows(), windows);  // no timer of their own
  EXPECT_EQ(list->Timer()->Interval(), 500u);

  // The installer's blinking label and a quiet one beside it.
  const TColor fontColor = RGBColor(234, 0, 0), blinkColor = RGBColor(55, 155, 255);
  TFmLabel& blinking = *labels[1];
  TFmLabel& quiet = *labels[2];
  for (TFmLabel* l : {&blinking, &quiet}) {
    l->SetParent(form_);
    UseFont(l->Font(), "Tahoma", -16, fsBold, fontColor);
    l->SetCaption("Blink");
  }
  quiet.SetLeft(200);
  blinking.SetBlinkColor(blinkColor);
  blinking.SetBlinking(true);
  // The list starts in the blink phase, so the first tick shows the font
  // colour and the second the blink colour.
  list->Tick();
  EXPECT_EQ(blinking.CurrentColor(), fontColor);
  list->Tick();
  EXPECT_EQ(blinking.CurrentColor(), blinkColor);
  EXPECT_EQ(quiet.CurrentColor(), fontColor);
  std::unique_ptr<TBitmap> shot = Capture();
  EXPECT_GT(FindColor(*shot, blinking.BoundsRect(), blinkColor).count, 10);
  EXPECT_EQ(FindColor(*shot, blinking.BoundsRect(), fontColor).count, 0);
  EXPECT_GT(FindColor(*shot, quiet.BoundsRect(), fontColor).count, 10);
  // Stopping returns to the font colour at once.
  blinking.SetBlinking(false);
  EXPECT_EQ(blinking.CurrentColor(), fontColor);
  list->Tick();
  EXPECT_EQ(blinking.CurrentColor(), fontColor);

  labels.clear();
  EXPECT_EQ(TFmBlinkingControlsList::Instance(), nullptr);
}

TEST_F(FramedForm, TextStylesAndFramesOfALabel) {
  TFmLabel label(form_);
  label.SetParent(form_);
  label.SetBounds(10, 10, 150, 40);
  label.SetAutoSize(false);
  UseFont(label.Font(), "Tahoma", -20, fsBold, clBlack);
  label.SetCaption("Shadow");
  label.SetTextStyle(tsShadow);
  label.SetShadowColor(RGBColor(255, 0, 0));
  label.SetShadowDepth(3);
  label.SetBorderOuter(fsRaised);
  label.SetTransparent(false);
  label.SetColor(RGBColor(0, 255, 0));
  std::unique_ptr<TBitmap> shot = Capture();
  const TColumns shadow = FindColor(*shot, label.BoundsRect(), RGBColor(255, 0, 0));
  const TColumns text = FindColor(*shot, label.BoundsRect(), clBlack);
  EXPECT_GT(shadow.count, 10);
  EXPECT_GT(text.count, 10);
  EXPECT_EQ(shadow.minX - text.minX, 3);
  // The raised frame's outer ring, then the label's colour inside.
  EXPECT_EQ(At(*shot, 10, 30), kLight);
  EXPECT_EQ(At(*shot, 159, 30), kDkShadow);
  EXPECT_EQ(At(*shot, 155, 45), RGBColor(0, 255, 0));
}

TEST_F(FramedForm, CondensedCaptionEndsWithAnEllipsis) {
  TFmLabel label(form_);
  label.SetParent(form_);
  label.SetCaption("A caption far too long for the width it is given");
  EXPECT_TRUE(label.AutoSize());
  label.SetCondenseCaption(ccAtEnd);
  EXPECT_FALSE(label.AutoSize());
  label.SetWidth(60);
  EXPECT_EQ(label.Width(), 60);
}

// --- URL label -----------------------------------------------------------------------------------

class URLLabel : public FramedForm {
 protected:
  void SetUp() override {
    FramedForm::SetUp();
    saved_ = FmShell();
    FmShell().Open = [this](const String& target) {
      opened_.push_back(target);
      return openSucceeds_;
    };
    FmShell().Run = [this](const String& commandLine) { run_.push_back(commandLine); };
  }
  void TearDown() override {
    FmShell() = saved_;
    FramedForm::TearDown();
  }
  // A real click of the left button on the label, through its parent.
  void ClickOn(TControl* c) {
    const LPARAM at = MAKELPARAM(c->Left() + 3, c->Top() + 3);
    SendMessageA(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(form_->Handle(), WM_LBUTTONUP, 0, at);
  }

  TFmShellSeam saved_;
  std::vector<String> opened_, run_;
  bool openSucceeds_ = true;
};

TEST_F(URLLabel, ClickOpensTheURLAndMarksItVisited) {
  TFmURLLabel label(form_);
  label.SetParent(form_);
  label.SetCaption("Notre site");
  label.SetURL("https://example.org/quillor");
  EXPECT_EQ(label.Cursor(), crFmHandPoint);
  // The old systems' hand comes with the program; later ones have their own.
  EXPECT_NE(LoadCursorA(GetModuleHandleA(nullptr), "FMCOMMON_HANDCURSOR"), nullptr);
  EXPECT_TRUE(label.Font()->Style() & fsUnderline);
  int clicks = 0;
  label.OnClick = [&](TObject*) { ++clicks; };
  ClickOn(&label);
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0], "https://example.org/quillor");
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(label.Visited());
  EXPECT_EQ(label.Font()->Color(), clPurple);

  // A blank URL opens the caption.
  label.SetURL("   ");
  ClickOn(&label);
  ASSERT_EQ(opened_.size(), 2u);
  EXPECT_EQ(opened_[1], "Notre site");
}

TEST_F(URLLabel, FailedOpenFallsBackOnlyForPagesAndByFullPath) {
  openSucceeds_ = false;
  TFmURLLabel label(form_);
  label.SetParent(form_);
  label.SetCaption("contact@example.org");
  ClickOn(&label);
  EXPECT_EQ(opened_.size(), 1u);
  EXPECT_TRUE(run_.empty());
  EXPECT_FALSE(label.Visited());

  label.SetURL("C:\\missing\\page.htm");
  ClickOn(&label);
  ASSERT_EQ(run_.size(), 1u);
  char folder[MAX_PATH];
  GetSystemDirectoryA(folder, MAX_PATH);
  EXPECT_EQ(run_[0], "\"" + String(folder) + "\\RunDLL32.exe\" Shell32.dll,OpenAs_RunDLL *.htm");

  label.SetURL("");
  label.SetCaption("  ");
  ClickOn(&label);
  EXPECT_EQ(opened_.size(), 2u);  // nothing to open
}

// --- Separator ---------------------------------------------------------------------------------

TEST_F(FramedForm, InstallerSeparatorFadesToTheHighlightInTheMiddle) {
  TFmSeparator sep(form_);
  sep.SetParent(form_);
  sep.SetBounds(20, 100, 483, 2);
  sep.SetShowGradient(true);
  sep.SetColor(clBtnFace);
  std::unique_ptr<TBitmap> shot = Capture();
  // The left end steps toward the face colour and stops a step short.
  EXPECT_NEAR(At(*shot, 20, 100) & 0xFF, kFace & 0xFF, 2);
  EXPECT_EQ(At(*shot, 20 + 482, 101), kFace);
  EXPECT_EQ(At(*shot, 20 + 241, 100), kHighlight);
  EXPECT_EQ(At(*shot, 20 + 241, 102), kFormColor);

  sep.SetShowGradient(false);
  shot = Capture();
  EXPECT_EQ(At(*shot, 20 + 241, 100), kFace);

  sep.SetOrientation(orVertical);
  EXPECT_EQ(sep.Width(), 2);
  EXPECT_EQ(sep.Height(), 483);
  EXPECT_EQ(sep.Direction(), gdHorizontalCenter);
  sep.SetHighlightLocation(hlUpperLeft);
  EXPECT_EQ(sep.Direction(), gdHorizontalEnd);
  EXPECT_EQ(sep.StartColor(), clHighlight);
}

// The box keeps its caption while the window keeps its text; every way of
// giving the window another text paints the new caption, as a box made
// with that caption paints it.
TEST_F(FramedForm, GroupBoxPaintsItsWindowsCurrentText) {
  const TRect bounds(20, 20, 220, 100);
  auto paintedBox = [this, &bounds](TFmGroupBox& box) {
    box.SetParent(form_);
    box.SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    box.Repaint();
    std::unique_ptr<TBitmap> shot = Capture();
    std::vector<TColor> pixels;
    for (int y = bounds.Top; y < bounds.Bottom; ++y)
      for (int x = bounds.Left; x < bounds.Right; ++x) pixels.push_back(At(*shot, x, y));
    return pixels;
  };
  auto freshBox = [&](const char* caption) {
    TFmGroupBox fresh(form_);
    fresh.SetCaption(caption);
    return paintedBox(fresh);
  };
  TFmGroupBox box(form_);
  box.SetCaption("Alpha");
  EXPECT_EQ(paintedBox(box), freshBox("Alpha"));

  struct Route {
    const char* caption;
    std::function<void(const char*)> set;
  };
  const Route routes[] = {
      {"Beta", [&](const char* c) { box.SetCaption(c); }},
      {"Gamma delta", [&](const char* c) { SetWindowTextA(box.Handle(), c); }},
      {"Epsilon", [&](const char* c) { SendMessageA(box.Handle(), WM_SETTEXT, 0, LPARAM(c)); }},
      {"Zeta", [&](const char* c) {
         box.SetCaption(c);
         box.RecreateWnd();
       }},
  };
  for (const Route& route : routes) {
    route.set(route.caption);
    EXPECT_EQ(box.Caption(), route.caption);
    EXPECT_EQ(paintedBox(box), freshBox(route.caption)) << route.caption;
  }
}

// Whatever the frame, nothing of an older picture stays in an edit's border
// after its non-client paint: a shown frame fills the border by itself, and
// without one (or with a drop button) the system paints it first.
TEST_F(FramedForm, EditBorderIsPaintedWhole) {
  constexpr TColor kStale = RGBColor(255, 0, 255);
  struct Case {
    const char* name;
    bool numeric, frameVisible, ctl3D;
    TFrameStyle style;
  };
  const Case cases[] = {
      {"flat", false, true, true, fsFlat},          {"flat bold", false, true, true, fsFlatBold},
      {"lowered", false, true, true, fsLowered},    {"raised, no 3-D", false, true, false, fsRaised},
      {"flat, no 3-D", false, true, false, fsFlat}, {"no frame", false, false, true, fsFlat},
      {"no frame, no 3-D", false, false, false, fsFlat}, {"drop button", true, true, true, fsFlat},
  };
  for (const Case& c : cases) {
    std::unique_ptr<TFmEdit> edit = c.numeric ? std::make_unique<TFmNumericEdit>(form_) : std::make_unique<TFmEdit>(form_);
    if (c.numeric) static_cast<TFmNumericEdit*>(edit.get())->SetCalculatorVisible(true);
    edit->SetParent(form_);
    edit->SetBounds(20, 150, 160, 22);
    edit->SetFramingPreference(fpCustomFraming);
    edit->SetFrameVisible(c.frameVisible);
    edit->SetFrameStyle(c.style);
    edit->SetFrameColor(RGBColor(132, 193, 255));
    edit->SetCtl3D(c.ctl3D);
    edit->Repaint();
    HWND wnd = edit->Handle();
    RECT window, client;
    GetWindowRect(wnd, &window);
    GetClientRect(wnd, &client);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const int w = window.right - window.left, h = window.bottom - window.top;

    HDC dc = GetWindowDC(wnd);
    HBRUSH stale = CreateSolidBrush(kStale);
    const RECT all{0, 0, w, h};
    FillRect(dc, &all, stale);
    DeleteObject(stale);
    SendMessageA(wnd, WM_NCPAINT, 1, 0);
    TBitmap shot;
    shot.SetSize(w, h);
    BitBlt(shot.Canvas()->Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
    ReleaseDC(wnd, dc);

    const TRect inside(client.left - window.left, client.top - window.top, client.right - window.left,
                       client.bottom - window.top);
    int staleLeft = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (!inside.Contains(TPoint(x, y)) && At(shot, x, y) == kStale) ++staleLeft;
    EXPECT_EQ(staleLeft, 0) << c.name;
  }
}

// --- Painters on a canvas ------------------------------------------------------------------------

TEST(CanvasPainters, FramesDrawAsOnTheGrid) {
  PinnedColors pinned;
  TBitmap b;
  b.SetSize(6, 4);
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect(TRect(0, 0, 6, 4));
  TCanvasFrameSurface surface(b.Canvas());
  EXPECT_EQ(PaintFrameStyle(surface, TRect(0, 0, 6, 4), fsRaised), TRect(2, 2, 4, 2));
  const TColor rows[4][6] = {
      {kLight, kLight, kLight, kLight, kLight, kDkShadow},
      {kLight, clWhite, clWhite, clWhite, kShadow, kDkShadow},
      {kLight, kShadow, kShadow, kShadow, kShadow, kDkShadow},
      {kDkShadow, kDkShadow, kDkShadow, kDkShadow, kDkShadow, kDkShadow},
  };
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(At(b, x, y), rows[y][x]) << x << "," << y;
  EXPECT_EQ(b.Canvas()->Pen()->Width(), 1);
}

TEST(CanvasPainters, GradientLandsAtTheRectangle) {
  PinnedColors pinned;
  TBitmap b;
  b.SetSize(40, 30);
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect(TRect(0, 0, 40, 30));
  PaintTwoColorGradient(b.Canvas(), TRect(10, 5, 30, 25), gdHorizontalEnd, clBlack, clBtnFace, 1);
  EXPECT_EQ(At(b, 9, 10), clWhite);
  EXPECT_EQ(At(b, 30, 10), clWhite);
  EXPECT_EQ(At(b, 10, 24), kFace);
  EXPECT_EQ(At(b, 29, 24), kFace);
  EXPECT_EQ(At(b, 20, 4), clWhite);
  // 1 x 1 and 2 x 2 rectangles in every direction draw without fault.
  for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
    PaintTwoColorGradient(b.Canvas(), TRect(0, 0, 1, 1), TGradientDirection(d), clBlack, clWhite, 1);
    PaintTwoColorGradient(b.Canvas(), TRect(2, 0, 4, 2), TGradientDirection(d), clBlack, clWhite, 1);
  }
  EXPECT_EQ(At(b, 0, 0), clBlack);  // too small for a box: the start colour
}

TEST(CanvasPainters, FlipAndTransparentStretch) {
  TBitmap b;
  b.SetSize(3, 3);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(TRect(0, 0, 3, 1));
  FlipBitmapVertically(&b);
  EXPECT_EQ(At(b, 1, 2), clRed);
  EXPECT_EQ(At(b, 1, 0), clWhite);

  TBitmap target;
  target.SetSize(6, 6);
  target.Canvas()->Brush()->SetColor(clBlue);
  target.Canvas()->FillRect(TRect(0, 0, 6, 6));
  // White is transparent: only the red row comes through, doubled.
  PaintTransparentStretched(target.Canvas(), TRect(0, 0, 6, 6), &b, TRect(0, 0, 3, 3), clWhite);
  EXPECT_EQ(At(target, 2, 5), clRed);
  EXPECT_EQ(At(target, 2, 4), clRed);
  EXPECT_EQ(At(target, 2, 1), clBlue);
}

// --- Scheme and frame controller -------------------------------------------------------------------

TEST(Scheme, ColorNameIsReadWithoutRegardToCase) {
  TRegIniFile ini("\\Software\\Microsoft\\Windows\\CurrentVersion");
  const String saved = ini.ReadString("ThemeManager", "ColorName", "");
  ini.WriteString("ThemeManager", "ColorName", "homestead");
  EXPECT_EQ(ReadXPColorScheme(), 1);
  ini.WriteString("ThemeManager", "ColorName", "Metallic");
  EXPECT_EQ(ReadXPColorScheme(), 2);
  ini.WriteString("ThemeManager", "ColorName", "NormalColor");
  EXPECT_EQ(ReadXPColorScheme(), 0);
  if (saved.empty()) ini.DeleteKey("ThemeManager", "ColorName");
  else ini.WriteString("ThemeManager", "ColorName", saved);
}

TEST_F(FramedForm, FrameControllerPushesItsSettings) {
  TFmFrameController controller(nullptr);
  TFmProgressBar bar(form_);
  TFmLabel label(form_);
  label.SetFrameControllerNotifications(fcnAll & ~(1 << fcpColor));
  controller.SetFrameVisible(true);
  controller.LockUpdates();
  controller.SetFrameStyle(fsGroove);
  // Attaching updates at once, even inside an update block.
  bar.SetFrameController(&controller);
  label.SetFrameController(&controller);
  EXPECT_EQ(bar.BorderOuter(), fsGroove);
  EXPECT_EQ(label.BorderOuter(), fsGroove);
  controller.SetFrameStyle(fsFlat);
  EXPECT_EQ(bar.BorderOuter(), fsGroove);  // waits for the unlock
  controller.SetColor(RGBColor(1, 2, 3));
  EXPECT_EQ(controller.FocusColor(), RGBColor(1, 2, 3));  // moved along
  controller.UnlockUpdates();
  EXPECT_EQ(bar.BorderOuter(), fsFlat);
  EXPECT_EQ(bar.BackColor(), RGBColor(1, 2, 3));
  EXPECT_NE(label.Color(), RGBColor(1, 2, 3));  // its notifications leave Color out
  EXPECT_EQ(controller.AttachedCount(), 2);
  label.SetFrameController(nullptr);
  EXPECT_EQ(controller.AttachedCount(), 1);
}

TEST_F(FramedForm, DestroyedControllerIsForgotten) {
  TFmProgressBar bar(form_);
  {
    TFmFrameController controller(nullptr);
    bar.SetFrameController(&controller);
    EXPECT_EQ(bar.FrameController(), &controller);
  }
  EXPECT_EQ(bar.FrameController(), nullptr);
}

// --- Settings by name, and stored controllers ----------------------------------------------------

// A control that knows nothing of the controller but publishes some of its
// settings; its frame styles and sides are declared in another order than
// the controller's, so that only a copy by identifier gets them right.
class TPlainFramed : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  const char* ClassName() const override { return "TPlainFramed"; }
  bool flatButtons = false;
  int frameStyle = 0;  // index into kPlainStyles
  int64_t frameSides = 0;
  int64_t notifications = fcnAll;
};
const std::vector<String> kPlainStyles = {"fsRaised", "fsFlat", "fsStatus", "fsNone"};

const TClassInfo plainFramedClass(
    "TPlainFramed", TComponentClass(),
    {IntegerProp<TPlainFramed>(
         "Color", [](const TPlainFramed& c) { return int64_t(c.Color()); },
         [](TPlainFramed& c, int64_t v) { c.SetColor(TColor(v)); }),
     BooleanProp<TPlainFramed>(
         "FlatButtons", [](const TPlainFramed& c) { return c.flatButtons; },
         [](TPlainFramed& c, bool v) { c.flatButtons = v; }),
     OrdinalProp<TPlainFramed>(
         "FrameStyle", TPropKind::Enum, [](const TPlainFramed& c) { return int64_t(c.frameStyle); },
         [](TPlainFramed& c, int64_t v) { c.frameStyle = int(v); }, std::nullopt, kPlainStyles),
     OrdinalProp<TPlainFramed>(
         "FrameSides", TPropKind::Set, [](const TPlainFramed& c) { return c.frameSides; },
         [](TPlainFramed& c, int64_t v) { c.frameSides = v; }, std::nullopt, {"sdBottom", "sdLeft"}),
     IntegerProp<TPlainFramed>(
         "FrameControllerNotifications", [](const TPlainFramed& c) { return c.notifications; },
         [](TPlainFramed& c, int64_t v) { c.notifications = v; })});

// Publishes Color only.
class TColorOnly : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  const char* ClassName() const override { return "TColorOnly"; }
};
const TClassInfo colorOnlyClass("TColorOnly", TComponentClass(),
                                {IntegerProp<TColorOnly>(
                                    "Color", [](const TColorOnly& c) { return int64_t(c.Color()); },
                                    [](TColorOnly& c, int64_t v) { c.SetColor(TColor(v)); })});

class ControllerByName : public ::testing::Test {
 protected:
  void SetUp() override {
    FmRegisterControllerClasses();
    RegisterPersistentClasses({&plainFramedClass, &colorOnlyClass});
  }
  void TearDown() override {
    UnregisterPersistentClass(&plainFramedClass);
    UnregisterPersistentClass(&colorOnlyClass);
  }
};

TEST_F(ControllerByName, PublishedSettingsAreSetByTheirNames) {
  TFmFrameController controller(nullptr);
  controller.SetColor(RGBColor(1, 2, 3));
  controller.SetFlatButtons(true);
  controller.SetFrameStyle(fsStatus);
  controller.SetFrameSides(sdLeft | sdTop | sdBottom);
  TPlainFramed plain(nullptr);
  TColorOnly colorOnly(nullptr);
  TGraphicControl unpublished(nullptr);
  unpublished.SetColor(clRed);
  controller.Attach(&plain);
  controller.Attach(&colorOnly);
  controller.Attach(&unpublished);
  EXPECT_EQ(plain.Color(), RGBColor(1, 2, 3));
  EXPECT_TRUE(plain.flatButtons);
  EXPECT_EQ(kPlainStyles[size_t(plain.frameStyle)], "fsStatus");
  EXPECT_EQ(plain.frameSides, 0b11);  // bottom and left; top has no element here
  EXPECT_EQ(colorOnly.Color(), RGBColor(1, 2, 3));
  EXPECT_EQ(unpublished.Color(), clRed);

  // One setting at a time, as its notification bit allows.
  plain.notifications = fcnAll & ~(1 << fcpColor);
  controller.SetColor(RGBColor(4, 5, 6));
  controller.SetFrameStyle(fsRaised);
  EXPECT_EQ(plain.Color(), RGBColor(1, 2, 3));
  EXPECT_EQ(kPlainStyles[size_t(plain.frameStyle)], "fsRaised");
  EXPECT_EQ(colorOnly.Color(), RGBColor(4, 5, 6));
  // A style the control does not declare leaves its own.
  controller.SetFrameStyle(fsGroove);
  EXPECT_EQ(kPlainStyles[size_t(plain.frameStyle)], "fsRaised");

  // A whole update gives no colour while the controller follows the parent.
  controller.LockUpdates();
  controller.SetColor(RGBColor(7, 8, 9));
  controller.SetParentColor(true);
  controller.UnlockUpdates();
  EXPECT_EQ(colorOnly.Color(), RGBColor(4, 5, 6));
  controller.Detach(&plain);
  controller.Detach(&colorOnly);
  controller.Detach(&unpublished);
}

std::vector<uint8_t> Written(TComponent& root) {
  TMemoryStream s;
  TWriter(s).WriteRootComponent(root);
  return s.Bytes();
}

void ReadInto(const std::vector<uint8_t>& bytes, TComponent& root) {
  TMemoryStream s;
  s.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  s.SetPosition(0);
  TReader(s).ReadRootComponent(root);
}

// A stored controller as an earlier version wrote it: "TPF0", the class and
// its name, then each property as its name and a value.
struct StoredController {
  std::vector<uint8_t> b{'T', 'P', 'F', '0'};
  StoredController() { Str("TFmFrameController").Str("Frames"); }
  StoredController& Str(std::string_view s) {
    b.push_back(uint8_t(s.size()));
    b.insert(b.end(), s.begin(), s.end());
    return *this;
  }
  StoredController& Ident(std::string_view name, std::string_view ident) {
    Str(name).b.push_back(vaIdent);
    return Str(ident);
  }
  StoredController& Flag(std::string_view name, bool value) {
    Str(name).b.push_back(value ? vaTrue : vaFalse);
    return *this;
  }
  std::vector<uint8_t> End() {
    b.insert(b.end(), {0, 0});
    return b;
  }
};

TEST_F(ControllerByName, OldStoredPropertiesAreReadIntoTheirSuccessors) {
  TFmFrameController controller(nullptr);
  controller.SetFrameSides(sdLeft);
  ReadInto(StoredController()
               .Flag("FrameFlat", true)
               .Ident("FrameFocusStyle", "fsRaised")
               .Ident("FrameFlatStyle", "fsAnything")
               .End(),
           controller);
  EXPECT_EQ(controller.Name(), "Frames");
  EXPECT_TRUE(controller.FrameHotTrack());
  EXPECT_TRUE(controller.FrameVisible());
  EXPECT_EQ(controller.FrameSides(), sdLeft);  // loading leaves the sides alone
  EXPECT_EQ(controller.FrameStyle(), fsStatus);
  EXPECT_EQ(controller.FrameHotStyle(), fsRaised);

  TFmFrameController flat(nullptr);
  ReadInto(StoredController().Flag("FrameFlat", false).End(), flat);
  EXPECT_FALSE(flat.FrameHotTrack());
  EXPECT_EQ(flat.FrameStyle(), fsFlat);

  TFmFrameController refused(nullptr);
  EXPECT_THROW(ReadInto(StoredController().Ident("FrameFocusStyle", "fsNoSuchStyle").End(), refused), EReadError);
  EXPECT_THROW(ReadInto(StoredController().Ident("FrameFlat", "fsFlat").End(), refused), EReadError);
}

TEST_F(ControllerByName, AStoredControllerReadsBackEqualAndWritesNoOldProperty) {
  TFmFrameController controller(nullptr);
  controller.SetName("Frames");
  controller.SetParentColor(true);
  controller.SetFrameHotTrack(true);
  controller.SetFrameStyle(fsGroove);
  controller.SetFrameSides(sdTop | sdBottom);
  controller.SetFramingPreference(fpCustomFraming);
  controller.SetFrameColor(RGBColor(9, 8, 7));
  const std::vector<uint8_t> bytes = Written(controller);
  const String text(bytes.begin(), bytes.end());
  EXPECT_EQ(text.find("FrameFlat"), String::npos);
  EXPECT_EQ(text.find("FrameFocusStyle"), String::npos);

  TFmFrameController back(nullptr);
  ReadInto(bytes, back);
  EXPECT_TRUE(back.ParentColor());
  EXPECT_TRUE(back.FrameHotTrack());
  EXPECT_TRUE(back.FrameVisible());
  EXPECT_EQ(back.FrameStyle(), fsGroove);
  EXPECT_EQ(back.FrameSides(), sdTop | sdBottom);
  EXPECT_EQ(back.FramingPreference(), fpCustomFraming);
  EXPECT_EQ(back.FrameColor(), RGBColor(9, 8, 7));
  EXPECT_EQ(Written(back), bytes);
}

// The reader's handlers take each kind of value off the stream, so that
// what follows is read as it should be.
TEST(OldPropReader, DropsABooleanAnIdentifierAndASet) {
  TMemoryStream s;
  {
    TWriter w(s);
    w.WriteBoolean(true);
    w.WriteIdent("fsBump");
    w.WriteValue(vaSet);
    for (const char* element : {"\x06sdLeft", "\x05sdTop", "\x00"}) s.WriteBuffer(element, element[0] + 1);
    w.WriteInteger(42);
  }
  s.SetPosition(0);
  TReader r(s);
  TFmOldPropReader::ReadBoolean(r);
  TFmOldPropReader::ReadIdent(r);
  TFmOldPropReader::ReadSet(r);
  EXPECT_EQ(r.ReadInteger(), 42);
}

}  // namespace
