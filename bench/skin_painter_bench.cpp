// Times, under Wine, what the skins cost the program: start-up
// registration of all 32 skins (each read from its resource, its stream
// parsed, bound and registered), and painting a push button with the
// Black skin beside the standard painter. Prints the times and the ratio.
// Targets: registration under 100 ms; the skinned button within 3x.
//   skin_painter_bench [DRAWS]   (default 5000; the best of three rounds counts)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "foundation/vdGDIPlusAPI.h"
#include "foundation/vxLookAndFeelPaintersRegistry.h"
#include "foundation/vxModules.h"
#include "skins/vdSkinBlack.h"
#include "skins/vdSkinsDefaultPainters.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double BestSeconds(int draws, const std::function<void(int)>& draw) {
  double best = 1e9;
  for (int round = 0; round < 3; ++round)
    best = std::min(best, Seconds([&] {
                      for (int i = 0; i < draws; ++i) draw(i);
                      GdiFlush();
                    }));
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int draws = argc > 1 ? std::atoi(argv[1]) : 5000;
  TvxFoundationModules foundation;
  if (!vdGpIsLibraryAvailable()) {
    std::fprintf(stderr, "GDI+ is not available: no skin registers\n");
    return 1;
  }
  // The first start pays for loading the GDI+ codecs; the best of the
  // later ones is what a start-up costs once the process runs.
  double first = 0, best = 1e9;
  for (int round = 0; round < 4; ++round) {
    const double s = Seconds([] { vxStartModules(vdSkinModules()); });
    if (round == 0) first = s;
    best = std::min(best, s);
    if (round < 3) vxStopModules(vdSkinModules());
  }
  std::printf("registration of %d skins: first %.1f ms, best %.1f ms (target under 100 ms)\n",
              vxGetStylePainterRegistry()->Count(), first * 1000, best * 1000);

  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(200, 60);
  TvxCanvas canvas(bitmap.Canvas());
  canvas.FontObject()->SetName("Tahoma");
  canvas.FontObject()->SetHeight(-11);
  const TRect button(10, 10, 85, 33);
  const auto paint = [&](const TvxCustomLookAndFeelPainter& painter) {
    return [&](int i) {
      painter.PaintPushButton(&canvas, button, "&Next >", i % 2 ? vxbsNormal : vxbsHot, true, clDefault, clDefault,
                              false);
    };
  };
  const double standard = BestSeconds(draws, paint(TvxStandardLookAndFeelPainter::Painter()));
  const double black = BestSeconds(draws, paint(TvdBlackPainter::Painter()));
  std::printf("push button, %d draws: standard %.1f us, Black %.1f us each; ratio %.2f (target within 3x)\n", draws,
              standard / draws * 1e6, black / draws * 1e6, black / standard);
  vxStopModules(vdSkinModules());
  return 0;
}
