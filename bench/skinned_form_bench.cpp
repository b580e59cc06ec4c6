// Times full repaints of the wizard's main window under Wine, with each
// page shown, skinned in "Black" and then with the skin controller gone
// (the same window in its own look). A repaint is RedrawWindow of frame,
// background and children, then UpdateWindow. Target: under 16 ms per
// skinned repaint and within 3x of the unskinned one.
//   skinned_form_bench [REPAINTS]   (default 200 per page and look; the best
//   of three rounds counts)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "foundation/vxModules.h"
#include "skins/vdSkinsDefaultPainters.h"
#include "tools/fixtures/WizardForms.h"

namespace {

using Clock = std::chrono::steady_clock;

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Milliseconds per full repaint of the window, the best of three rounds
// (the machine is shared).
double RepaintMs(HWND wnd, int repaints) {
  double best = 1e9;
  for (int round = 0; round < 3; ++round) {
    PumpMessages();
    const auto start = Clock::now();
    for (int i = 0; i < repaints; ++i) {
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      UpdateWindow(wnd);
    }
    GdiFlush();
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count() / repaints);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int repaints = argc > 1 ? std::atoi(argv[1]) : 200;
  TvxFoundationModules foundation;
  TvdSkinModules skins;
  TvdSkinsFormModule skinnedForms;
  Application->Initialize();

  const char* pages[] = {"welcome", "agreement", "parameters"};
  double skinned[3] = {}, plain[3] = {};
  for (int look = 0; look < 2; ++look) {
    Form_Main = new TForm_Main(Application);
    // The unskinned round: the form without its skin controller.
    if (look == 1) delete Form_Main->vdSkinController1;
    Form_Main->Show();
    for (int page = 0; page < 3; ++page) {
      if (page == 1) {
        Form_Main->Btn_NextClick(nullptr);
      } else if (page == 2) {
        Form_Main->CB_Accept->SetChecked(true);
        Form_Main->Btn_NextClick(nullptr);
      }
      (look == 0 ? skinned : plain)[page] = RepaintMs(Form_Main->Handle(), repaints);
    }
    FreeWizardForms();
  }
  bool met = true;
  for (int page = 0; page < 3; ++page) {
    const double ratio = skinned[page] / plain[page];
    std::printf("%-10s skinned %.2f ms  unskinned %.2f ms  ratio %.2f\n", pages[page], skinned[page], plain[page],
                ratio);
    met &= skinned[page] < 16 && ratio <= 3;
  }
  std::printf("target (under 16 ms, within 3x): %s\n", met ? "met" : "not met");
  return 0;
}
