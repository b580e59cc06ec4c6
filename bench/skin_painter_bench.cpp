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
#include <memory>

#include "foundation/vdGDIPlusAPI.h"
#include "foundation/vxLookAndFeelPaintersRegistry.h"
#include "foundation/vxModules.h"
#include "SkinCatalog.h"
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
  // Where a cold start-up goes: reading the 32 streams from the resources,
  // and binding them, timed apart (nothing is registered here).
  double read = 0, bind = 0;
  for (const TSkinEntry& entry : SkinEntries()) {
    auto skin = std::make_unique<TvdSkin>(IsUserSkin(entry) ? "DefaultUserSkinData" : entry.Name);
    read += Seconds([&] { skin->LoadFromResource(GetModuleHandleA(nullptr)); });
    bind += Seconds([&] { TvdSkinLookAndFeelPainterInfo info(std::move(skin)); });
  }
  std::printf("cold, apart: reading %.1f ms, binding and freeing %.1f ms\n", read * 1000, bind * 1000);
  // The whole start-up (read, bind, register) as the program runs it.
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
  // A repaint in one state, and a mouse passing over (normal and hot in
  // turn).
  const auto paint = [&](const TvxCustomLookAndFeelPainter& painter, bool hotTracking) {
    return [&, hotTracking](int i) {
      painter.PaintPushButton(&canvas, button, "&Next >", hotTracking && i % 2 ? vxbsHot : vxbsNormal, true,
                              clDefault, clDefault, false);
    };
  };
  for (bool hotTracking : {false, true}) {
    const double standard = BestSeconds(draws, paint(TvxStandardLookAndFeelPainter::Painter(), hotTracking));
    const double black = BestSeconds(draws, paint(TvdBlackPainter::Painter(), hotTracking));
    std::printf("push button %s, %d draws: standard %.1f us, Black %.1f us each; ratio %.2f (target within 3x)\n",
                hotTracking ? "normal and hot in turn" : "repainted", draws, standard / draws * 1e6,
                black / draws * 1e6, black / standard);
  }
  vxStopModules(vdSkinModules());
  return 0;
}
