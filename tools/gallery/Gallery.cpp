// The gallery program: draws every registered sheet on a borderless page at
// the screen's top-left corner and saves the screen's picture of it.
//   gallery [SHEET...]   (all sheets when none is named)
#include "tools/gallery/Gallery.h"

#include <cstdio>
#include <map>
#include <memory>

#include "foundation/vxModules.h"
#include "tools/driver/Driver.h"

namespace gallery {
namespace {

std::map<String, TSheetBuilder>& Sheets() {
  static std::map<String, TSheetBuilder> sheets;
  return sheets;
}

void SaveSheet(const String& name, const TSheetBuilder& build) {
  auto page = std::make_unique<TForm>(nullptr);
  page->SetBorderStyle(bsNone);
  page->SetBounds(0, 0, kPageWidth, kPageHeight);
  page->SetColor(clBtnFace);
  build(page.get());
  page->Show();
  SetWindowPos(page->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Application->ProcessMessages();
  UpdateWindow(page->Handle());
  driver::SaveWindowPng(page->Handle(), name + ".png");
}

}  // namespace

bool RegisterSheet(const char* name, TSheetBuilder builder) {
  Sheets()[name] = std::move(builder);
  return true;
}

TPaintedArea::TPaintedArea(TWinControl* parent, const TRect& bounds, std::function<void(TCanvas*)> paint)
    : TGraphicControl(parent), paint_(std::move(paint)) {
  SetParent(parent);
  SetBoundsRect(bounds);
}

void Caption(TCanvas* canvas, int x, int y, const String& text) {
  canvas->Font()->SetName("Tahoma");
  canvas->Font()->SetHeight(-11);
  canvas->Font()->SetColor(clBlack);
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(x, y, text);
}

}  // namespace gallery

int main(int argc, char** argv) {
  Application->Initialize();
  try {
    // The sheets draw as a program does: theme manager, painters' shared
    // resources and all, started once the application exists.
    TvxFoundationModules modules;
    for (const auto& [name, build] : gallery::Sheets()) {
      bool wanted = argc < 2;
      for (int i = 1; i < argc; ++i) wanted = wanted || name == argv[i];
      if (wanted) gallery::SaveSheet(name, build);
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "gallery: %s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}
