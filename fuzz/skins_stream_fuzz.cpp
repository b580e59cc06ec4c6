// Reads arbitrary bytes as a skin stream, lays out its pictures and binds
// it as the painters use it. A stream that reads must save and read back to
// an equal skin; one that does not must fail with EvdSkin and leave the skin
// it was read into as it was.
#include <cstdint>
#include <cstdlib>

#include "skins/vdSkinInfo.h"
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
        const TRect source = image->GetImageRect(elements.Items(i)->ImageCount() - 1, image->CheckState(esPressed));
        image->SourceParts();
        // What drawing into a small and an empty rectangle would draw.
        for (const TRect& dest : {TRect(3, 5, 40, 17), TRect(8, 8, 8, 8)}) {
          const TvdSkinImagePieces pieces = vdSkinImagePieces(*image, dest, source);
          for (int p = 0; p < pieces.Count; ++p)
            if (image->Stretch() != smNoResize &&
                (pieces.Items[size_t(p)].Dest.Left < dest.Left || pieces.Items[size_t(p)].Dest.Right > dest.Right))
              std::abort();
        }
      }
  }
  // Binding adds what the skin lacks and binds whatever classes the names
  // hold; binding again finds it all.
  {
    TvdSkinInfo info(skin.CloneSkin());
    if (!info.Common.Button || !info.Form.FormContent || !info.ScrollInfos[0][vdspThumb]) std::abort();
    const int groups = info.Skin()->Groups().Count();
    info.Refresh();
    if (info.Skin()->Groups().Count() != groups) std::abort();
  }
  TMemoryStream saved;
  skin.SaveToStream(saved);
  saved.SetPosition(0);
  TvdSkin again("");
  again.LoadFromStream(saved);
  if (again.Name() != skin.Name() || again.Groups().Count() != skin.Groups().Count()) std::abort();
  return 0;
}
