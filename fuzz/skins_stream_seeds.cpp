// Writes complete skin streams small enough for the fuzzer's input limit:
// each generated skin of SKINSDIR cut down to its first element per group,
// and the bare skin with its colours and properties only.
//   skins_stream_seeds SKINSDIR DIR
#include <cstdio>
#include <filesystem>

#include "skins/vdSkinsCore.h"

namespace {

void Save(const TvdSkin& skin, const std::filesystem::path& file) {
  TMemoryStream out;
  skin.SaveToStream(out);
  out.SaveToFile(file.string());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: skins_stream_seeds SKINSDIR DIR\n");
    return 2;
  }
  try {
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
      if (entry.path().extension() != ".skin") continue;
      TMemoryStream in;
      in.LoadFromFile(entry.path().string());
      TvdSkin skin("");
      skin.LoadFromStream(in);
      for (int g = 0; g < skin.Groups().Count(); ++g) {
        TvdSkinElements& elements = skin.Groups().Items(g)->Elements();
        while (elements.Count() > 1) elements.FreeAndRemove(elements.Items(elements.Count() - 1));
      }
      std::filesystem::path stem = std::filesystem::path(argv[2]) / entry.path().stem();
      Save(skin, stem.string() + "-small.skin");
      skin.Groups().Clear();
      Save(skin, stem.string() + "-bare.skin");
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skins_stream_seeds: %s\n", e.what());
    return 1;
  }
  return 0;
}
