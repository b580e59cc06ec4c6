// The splash screen under Wine. Xvfb has no compositor, so the layered
// window is checked through what it pushes: the test hook keeps the alpha
// of every push and saves a PNG of chosen ones.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SmoothFixture.h"
#include "smooth/LuxSmoothSplashScreen.h"

namespace {

const char kLine[] = "<IMG src=\"dot\"><FONT size=\"16\" color=\"#A45302\">Line %d</FONT><br>";

// A 24 x 24 PNG of a red disc on transparency.
void LoadDot(TLuxGDIPPicture& picture) {
  TGPBitmap bitmap(24, 24, kPixelFormat32bppARGB);
  {
    TGPGraphics g(&bitmap);
    g.Clear(0);
    TGPSolidBrush red(OpaqueARGB(220, 30, 30));
    g.FillEllipse(&red, 2, 2, 20, 20);
  }
  testing_support::TempDir dir;
  ASSERT_EQ(bitmap.SaveToPngFile(dir.File("dot.png")), GdipOk);
  picture.LoadFromFile(dir.File("dot.png"));
}

// The pushed buffers are kept in the build folder, to be looked at.
String PushFile(const std::string& name) {
  const String dir = testing_support::BinaryDir() + "\\splash-pushes";
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir + "\\" + name;
}

struct TSplashTest : ::testing::Test {
  TSplashTest() {
    splash.Width = 300;
    splash.Height = 200;
    splash.AutoAdaptPictureSize = false;
    splash.Fill()->SetOpacity(249);
    splash.Fill()->SetColor(RGBColor(200, 220, 240));
    splash.Fill()->SetColorTo(RGBColor(120, 160, 210));
    splash.ProgressBar()->SetVisible(true);
    splash.ProgressBar()->SetLeft(20);
    splash.ProgressBar()->SetTop(160);
    splash.ProgressBar()->SetWidth(260);
    splash.ProgressBar()->SetHeight(20);
    splash.ProgressBar()->ProgressFill()->SetColor(RGBColor(0, 200, 0));
    splash.ProgressBar()->ProgressFill()->SetColorTo(clNone);
    splash.ListItemsSettings()->Rect = {20, 40, 260, 100};
    TPictureItem* dot = pictures.Items()->Add();
    dot->SetName("dot");
    LoadDot(*dot->Picture());
    splash.SetPictureContainer(&pictures);
    splash.OnPushLayered = [this](TGPBitmap& buffer, uint8_t alpha) {
      alphas.push_back(alpha);
      if (!saveAs.empty()) {
        EXPECT_EQ(buffer.SaveToPngFile(PushFile(saveAs)), GdipOk);
        saved.push_back(saveAs);
        saveAs.clear();
      }
      lastBuffer = &buffer;
    };
  }

  void AddLine(int n) {
    char html[160];
    std::snprintf(html, sizeof html, kLine, n);
    TSplashListItem* item = splash.ListItems()->Add();
    item->BeginUpdate();
    item->SetHTMLText(html);
    item->EndUpdate();
  }

  ARGB Pixel(int x, int y) {
    ARGB c = 0;
    lastBuffer->GetPixel(x, y, c);
    return c;
  }

  TGDIPPictureContainer pictures{nullptr};
  TLuxSmoothSplashScreen splash{nullptr};
  std::vector<int> alphas;
  std::string saveAs;
  std::vector<std::string> saved;
  TGPBitmap* lastBuffer = nullptr;
};

TEST_F(TSplashTest, LayeredFadesInAndOutInThirteenPushesEach) {
  splash.Show();
  ASSERT_TRUE(splash.Showing());
  ASSERT_TRUE(splash.Window()->Layered());
  const std::vector<int> in{5, 25, 45, 65, 85, 105, 125, 145, 165, 185, 205, 225, 245, 255};
  EXPECT_EQ(alphas, in);  // the first render at 5, then the 13 steps of the fade
  alphas.clear();
  splash.Close();
  const std::vector<int> out{235, 215, 195, 175, 155, 135, 115, 95, 75, 55, 35, 15, 10};
  EXPECT_EQ(alphas, out);
  EXPECT_FALSE(splash.Showing());
  EXPECT_EQ(splash.Window(), nullptr);
}

TEST_F(TSplashTest, EachLineAndProgressStepIsPushedAtOnce) {
  splash.DisplayStyle = dsNormal;
  splash.Show();
  ASSERT_EQ(alphas, std::vector<int>{255});
  for (int n = 1; n <= 5; ++n) {
    saveAs = "splash-line-" + std::to_string(n) + ".png";
    AddLine(n);
    EXPECT_TRUE(saveAs.empty()) << "line " << n << " was not pushed";
  }
  // The line's picture and text are in the buffer, over the background.
  const TRect first = splash.ListItems()->Items(splash.ListItems()->Count() - 1)->LayoutRect;
  ASSERT_GE(first.Top, 40);
  EXPECT_TRUE(PixelNear(Pixel(first.Left + 1 + 12, first.Top + 12), OpaqueARGB(220, 30, 30), 8));
  for (int p = 10; p <= 100; p += 10) {
    saveAs = "splash-progress-" + std::to_string(p) + ".png";
    splash.ProgressBar()->SetPosition(p);
    EXPECT_TRUE(saveAs.empty()) << "progress " << p << " was not pushed";
  }
  EXPECT_EQ(saved.size(), 15u);
  // At 100 the bar is green from end to end; the window's corners are the
  // fill's own colour at its opacity, 249.
  EXPECT_GT(ARGBGreen(Pixel(30, 170)), 150);
  EXPECT_GT(ARGBGreen(Pixel(270, 170)), 150);
  EXPECT_EQ(ARGBAlpha(Pixel(5, 5)), 249);
  splash.Close();
}

TEST_F(TSplashTest, TheOldestLineDropsWhenTheListOverflows) {
  splash.DisplayStyle = dsNormal;
  splash.Show();
  for (int n = 1; n <= 6; ++n) AddLine(n);
  TSplashListItems& list = *splash.ListItems();
  const int lineHeight = list.Items(5)->LayoutRect.Bottom - list.Items(5)->LayoutRect.Top;
  ASSERT_GT(lineHeight, 0);
  int hidden = 0;
  for (int i = 0; i < list.Count(); ++i) hidden += list.Items(i)->LayoutRect.Top == -1;
  EXPECT_GT(hidden, 0);
  EXPECT_EQ(list.Items(0)->LayoutRect.Top, -1);
  // The first line still shown starts at the list's top, the newest fits.
  EXPECT_EQ(list.Items(hidden)->LayoutRect.Top, 40);
  EXPECT_LE(list.Items(5)->LayoutRect.Bottom, 140);
  splash.Close();
}

TEST_F(TSplashTest, OnShowHookIsRestoredAndTheTimeOutCloses) {
  TForm host(nullptr);
  int hostShows = 0;
  host.OnShow = [&](TObject*) { ++hostShows; };
  TLuxSmoothSplashScreen hosted(&host);
  hosted.DisplayStyle = dsNormal;
  hosted.Show();
  ASSERT_TRUE(hosted.Showing());
  host.OnShow(&host);  // what showing the form fires
  EXPECT_FALSE(hosted.Showing());
  EXPECT_EQ(hostShows, 1);
  host.OnShow(&host);  // the form's own handler again, not the splash's
  EXPECT_EQ(hostShows, 2);

  splash.DisplayStyle = dsNormal;
  splash.CloseOnTimeout = true;
  splash.Show();
  ASSERT_TRUE(splash.Showing());
  splash.TimeOutElapsed();  // the tick of the time-out timer
  EXPECT_FALSE(splash.Showing());
}

TEST_F(TSplashTest, LayeredBarDrawsOverZeroToOneHundredWhateverItsMaximum) {
  splash.DisplayStyle = dsNormal;
  splash.ProgressBar()->SetMaximum(200);
  splash.Show();
  splash.ProgressBar()->SetPosition(100);
  EXPECT_EQ(splash.Window()->Progress()->Position(), 100);
  EXPECT_GT(ARGBGreen(Pixel(270, 170)), 150);  // full, as if the range were 0 to 100
  splash.Close();
}

TEST_F(TSplashTest, ActivationFocusesTheFormWithoutMovingThePointer) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 200, 100);
  form.Show();
  POINT before{}, after{};
  SetCursorPos(7, 9);
  GetCursorPos(&before);
  splash.ActivateFormLater(&form);
  splash.ActivateFormLater(&form);  // a second call before the tick: one activation
  splash.ActivationTimerElapsed();  // the tick of the 20 ms timer
  GetCursorPos(&after);
  EXPECT_EQ(after.x, before.x);
  EXPECT_EQ(after.y, before.y);
  EXPECT_EQ(GetFocus(), form.Handle());
}

TEST_F(TSplashTest, ProgramTextsComeFromTheVersionResource) {
  splash.LoadVersionInfo();
  TBasicProgramInfo& info = *splash.BasicProgramInfo();
  EXPECT_EQ(info.ProgramName.Text(), "Software MERVALDO Installer 3.7");
  EXPECT_EQ(info.ProgramVersion.Text(), "3.7.0.0");
  EXPECT_EQ(info.CopyRight, "Copyright (C) 2021 Software MERVALDO");

  TLuxSmoothSplashScreen kept(nullptr);
  kept.BasicProgramInfo()->AutoLoad = false;
  kept.BasicProgramInfo()->ProgramName.SetText("Own");
  kept.LoadVersionInfo();
  EXPECT_EQ(kept.BasicProgramInfo()->ProgramName.Text(), "Own");
}

TEST_F(TSplashTest, VersionStylesAndValueText) {
  EXPECT_EQ(splash.Version(), "1.4.0.1");
  splash.SetVersion("9.9");
  EXPECT_EQ(splash.Version(), "1.4.0.1");
  splash.SetComponentStyle(4);
  EXPECT_EQ(splash.Fill()->Color(), TColor(0xFAF1E9));
  EXPECT_EQ(splash.Fill()->ColorMirrorTo(), TColor(0xFFF2E7));
  EXPECT_EQ(splash.Fill()->BorderColor(), TColor(0xE3B28D));

  // One floating conversion is formatted; any other format shows as written.
  struct Case {
    const char* format;
    const char* text;
  } cases[] = {{"%.0f%%", "50%"}, {"%5.1f", " 50.0"}, {"%s%n", "%s%n"}, {"%f %f", "%f %f"}, {"plain", "plain"}};
  for (const Case& c : cases) {
    splash.ProgressBar()->SetValueFormat(c.format);
    EXPECT_EQ(splash.ProgressBar()->ValueText(50), c.text) << c.format;
  }
}

}  // namespace
