// Times reading all 32 shipped skin streams from memory, as the program does
// at start-up, against copying the same bytes (the floor of any reader), and
// prints both and their ratio. Target: all 32 read in under 50 ms.
//
//   skins_read_bench [ROUNDS]   (default 20; the best round counts)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "SkinCatalog.h"
#include "skins/vdSkinsCore.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  std::vector<std::vector<uint8_t>> streams;
  size_t total = 0;
  for (const TSkinEntry& entry : SkinEntries()) {
    TMemoryStream file;
    file.LoadFromFile(String(SKINS_DIR) + "/" + entry.Name + ".skin");
    streams.push_back(file.Bytes());
    total += file.Bytes().size();
  }

  double bestRead = 1e9, bestCopy = 1e9;
  size_t checksum = 0;
  for (int round = 0; round < rounds; ++round) {
    auto start = Clock::now();
    for (const auto& bytes : streams) {
      TMemoryStream stream;
      stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
      stream.SetPosition(0);
      TvdSkin skin("");
      skin.LoadFromStream(stream);
      checksum += size_t(skin.Groups().Count());
    }
    bestRead = std::min(bestRead, Milliseconds(start));

    start = Clock::now();
    for (const auto& bytes : streams) {
      std::vector<uint8_t> copy(bytes.size());
      std::memcpy(copy.data(), bytes.data(), bytes.size());
      checksum += copy[copy.size() / 2];
    }
    bestCopy = std::min(bestCopy, Milliseconds(start));
  }
  std::printf("32 skin streams, %.1f MiB (checksum %zu)\n", total / 1048576.0, checksum);
  std::printf("read all:   %8.2f ms (target < 50 ms)\n", bestRead);
  std::printf("copy bytes: %8.2f ms\n", bestCopy);
  std::printf("ratio read / copy: %.1f\n", bestRead / std::max(bestCopy, 1e-6));
  return bestRead < 50 ? 0 : 1;
}
