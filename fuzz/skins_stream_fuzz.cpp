// Reads arbitrary bytes as a skin stream and lays out its pictures. A stream that reads must save and
// read back to an equal skin; one that does not must fail with EvdSkin and
// leave the skin it was read into as it was.
#include <cstdint>
#include <cstdlib>

#include "skins/vdSkinsCore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  input.WriteBuffer(data, int64_t(size));
  input.SetPosition(0);
  TvdSkin skin("Before");
  try {
    skin.LoadFromStream(input);
  } catch (const EvdSkin&) {
    if (skin.Name() != "Before" || skin.Groups().Count() != 0) std::abort();
    return 0;
  }
  // The layout of every picture, as the painters ask for it.
  for (int g = 0; g < skin.Groups().Count(); ++g) {
    TvdSkinElements& elements = skin.Groups().Items(g)->Elements();
    for (int i = 0; i < elements.Count(); ++i)
      for (TvdSkinImage* image : {&elements.Items(i)->Image(), &elements.Items(i)->Glyph()}) {
        image->GetImageRect(elements.Items(i)->ImageCount() - 1, image->CheckState(esPressed));
        image->SourceParts();
      }
  }
  TMemoryStream saved;
  skin.SaveToStream(saved);
  saved.SetPosition(0);
  TvdSkin again("");
  again.LoadFromStream(saved);
  if (again.Name() != skin.Name() || again.Groups().Count() != skin.Groups().Count()) std::abort();
  return 0;
}
