// The gallery program: draws every registered sheet on a borderless page at
// the screen's top-left corner and saves the screen's picture of it.
//   gallery [SHEET...]   (all sheets when none is named)
// Sheets of a look of their own are drawn by a child gallery started under
// that look ("--look=themed" or "--look=classic" first on its command line):
// the system's theme library reads the prefix's values once, as it loads.
#include "tools/gallery/Gallery.h"

#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "foundation/vxModules.h"
#include "tools/driver/Driver.h"
#include "tools/driver/VisualStyles.h"

namespace gallery {
namespace {

struct TSheet {
  TSheetBuilder Build;
  TSheetLook Look;
};

std::map<String, TSheet>& Sheets() {
  static std::map<String, TSheet> sheets;
  return sheets;
}

const char* LookOption(TSheetLook look) { return look == TSheetLook::Themed ? "--look=themed" : "--look=classic"; }

// Draws the named sheets of a look in a child gallery under that look.
void SaveSheetsInChild(TSheetLook look, const std::vector<String>& names) {
  if (names.empty()) return;
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  String line = LookOption(look);
  for (const String& name : names) line += " " + name;
  driver::PrefixVisualStyles styles(look == TSheetLook::Themed);
  driver::StartOptions options;
  options.CommandLine = line;
  options.WaitForInput = false;
  driver::Program child(path, options);
  constexpr uint32_t kTimeoutMs = 120000;
  if (child.WaitForExit(kTimeoutMs) != 0) throw Exception(String("the sheets of ") + LookOption(look) + " failed");
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

bool RegisterSheet(const char* name, TSheetBuilder builder, TSheetLook look) {
  Sheets()[name] = {std::move(builder), look};
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
  using gallery::TSheetLook;
  Application->Initialize();
  try {
    // A child draws its look's sheets; the first gallery draws the prefix's
    // and hands the others to children.
    int first = 1;
    TSheetLook look = TSheetLook::Prefix;
    for (TSheetLook own : {TSheetLook::Themed, TSheetLook::Classic})
      if (argc > 1 && String(argv[1]) == gallery::LookOption(own)) look = own, first = 2;
    std::map<TSheetLook, std::vector<String>> others;
    {
      // The sheets draw as a program does: theme manager, painters' shared
      // resources and all, started once the application exists.
      TvxFoundationModules modules;
      for (const auto& [name, sheet] : gallery::Sheets()) {
        bool wanted = argc <= first;
        for (int i = first; i < argc; ++i) wanted = wanted || name == argv[i];
        if (!wanted) continue;
        if (sheet.Look == look)
          gallery::SaveSheet(name, sheet.Build);
        else if (look == TSheetLook::Prefix)
          others[sheet.Look].push_back(name);
      }
    }
    for (const auto& [other, names] : others) gallery::SaveSheetsInChild(other, names);
  } catch (const Exception& e) {
    std::fprintf(stderr, "gallery: %s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}
