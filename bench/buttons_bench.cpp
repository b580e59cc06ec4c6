// Times full paints of a form of 50 push buttons (TvxButton, half of them
// with a glyph, in the default ultra-flat look and in the standard look)
// against the same form of the system's BUTTON controls, and prints the
// time per full paint and the ratio. Target: within 2x of the system's.
//   buttons_bench [PAINTS]   (default 1000)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "foundation/vxButtons.h"
#include "foundation/vxModules.h"
#include "platform/ui/Forms.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kColumns = 5, kRows = 10;

// Seconds for paints full paints of the form: every window invalidated and
// painted at once.
double Seconds(TForm& form, int paints) {
  const auto start = Clock::now();
  for (int i = 0; i < paints; ++i)
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A form of 50 buttons made by make (left, top, index), at a place of its
// own on the screen so that no form covers another.
std::unique_ptr<TForm> ButtonForm(TPoint at, const std::function<void(TForm*, int, int, int)>& make) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(at.X, at.Y, kColumns * 100 + 10, kRows * 34 + 30);
  for (int i = 0; i < kColumns * kRows; ++i) make(form.get(), 5 + (i % kColumns) * 100, 5 + (i / kColumns) * 34, i);
  form->Show();
  Application->ProcessMessages();
  return form;
}

void MakeGlyph(TBitmap& glyph) {
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(16, 16);
  glyph.Canvas()->Brush()->SetColor(TColor(RGB(255, 0, 255)));
  glyph.Canvas()->FillRect(TRect(0, 0, 16, 16));
  glyph.Canvas()->Brush()->SetColor(TColor(RGB(40, 120, 40)));
  glyph.Canvas()->FillRect(TRect(3, 3, 13, 13));
}

}  // namespace

int main(int argc, char** argv) {
  const int paints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  Application->Initialize();
  TvxFoundationModules modules;
  TBitmap glyph;
  MakeGlyph(glyph);

  auto system = ButtonForm(TPoint(0, 0), [](TForm* form, int left, int top, int i) {
    auto* b = new TButton(form);
    b->SetParent(form);
    b->SetBounds(left, top, 94, 28);
    b->SetCaption("&Button " + IntToStr(i));
  });
  auto own = [&](TPoint at, TvxLookAndFeelKind kind) {
    return ButtonForm(at, [&](TForm* form, int left, int top, int i) {
      auto* b = new TvxButton(form);
      b->SetParent(form);
      b->SetBounds(left, top, 94, 28);
      b->SetCaption("&Button " + IntToStr(i));
      b->LookAndFeel()->SetKind(kind);
      if (i % 2) b->SetGlyph(&glyph);
    });
  };
  auto ultraFlat = own(TPoint(515, 0), lfUltraFlat);
  auto standard = own(TPoint(0, 380), lfStandard);

  // Rounds of a tenth each, the forms in turn, so that a change of the
  // machine's load falls on all of them alike.
  double systemTime = 0, ultraFlatTime = 0, standardTime = 0;
  const int rounds = std::min(paints, 10);
  for (int round = 0; round < rounds; ++round) {
    const int share = paints / rounds + (round < paints % rounds ? 1 : 0);
    systemTime += Seconds(*system, share);
    ultraFlatTime += Seconds(*ultraFlat, share);
    standardTime += Seconds(*standard, share);
  }
  std::printf("form of %d buttons (half of the own ones with a glyph), %d full paints each\n", kColumns * kRows,
              paints);
  std::printf("%-22s %9.3f ms per paint\n", "system BUTTON", systemTime / paints * 1e3);
  std::printf("%-22s %9.3f ms per paint   ratio %.2f\n", "TvxButton ultra-flat", ultraFlatTime / paints * 1e3,
              ultraFlatTime / systemTime);
  std::printf("%-22s %9.3f ms per paint   ratio %.2f\n", "TvxButton standard", standardTime / paints * 1e3,
              standardTime / systemTime);
  return 0;
}
