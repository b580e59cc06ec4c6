// Times whole installations of the demo package (Windows, under Wine): from
// the click on Next on the filled parameters page to the end page, with the
// confirmation answered at once. The splash and the walk to the page are
// left out. Prints one line per run and the best time.
//
//   install_bench.exe [RUNS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "tools/fixtures/InstallSession.h"

using install_session::Session;

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  const String chosen = driver::BuildPath("install-bench");
  double best = 0;
  for (int run = 1; run <= runs; ++run) {
    std::error_code ignored;
    std::filesystem::remove_all(chosen.c_str(), ignored);
    std::filesystem::create_directories(chosen.c_str(), ignored);
    Session session(install_session::SetupFolder());
    if (!session.AtParameters()) {
      std::fprintf(stderr, "install_bench: the parameters page did not show\n");
      return 1;
    }
    session.Fill(install_session::Company(), chosen, "1500000");
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    session.PressNext({"OK"});
    if (!session.WaitForPage("TForm_Finish")) {
      std::fprintf(stderr, "install_bench: the end page did not show\n");
      return 1;
    }
    QueryPerformanceCounter(&end);
    const double ms = double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
    std::printf("installation %d: %.1f ms from Next to the end page\n", run, ms);
    best = run == 1 ? ms : std::min(best, ms);
    session.QuitProgram();
  }
  std::printf("best installation: %.1f ms\n", best);
  return 0;
}
