// Writes the seed corpus of the image-list fuzzer: lists whose images have
// each depth a stored bitmap can have, with and without masks and mask
// colours, packed and as they are.
//   image_list_seeds DIR
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "fuzz/image_list_classes.h"

using namespace image_list_fuzz;

namespace {

void Fill(StoredBitmap& b, int width, int height, int bits, bool rgb565 = false) {
  b.info = TBitmapFileInfo();
  b.info.Width = width;
  b.info.Height = height;
  b.info.BitsPerPixel = bits;
  b.info.Rgb565 = rgb565;
  if (bits <= 8)
    for (int i = 0; i < (1 << bits); ++i) b.info.Palette.push_back(uint32_t(i * 0x010101 * (255 / ((1 << bits) - 1))));
  b.rows.resize(size_t(b.info.RowBytes() * height));
  // Runs and changes both, so that packing has work of each kind.
  for (size_t i = 0; i < b.rows.size(); ++i) b.rows[i] = uint8_t(i % 37 < 20 ? 0x5A : i * 7);
}

// Saves the list's form data, once it has read back the same.
void Save(const char* dir, const char* name, StoredList& list) {
  TMemoryStream s;
  const std::vector<uint8_t> bytes = Written(list);
  s.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  s.SetPosition(0);
  StoredList back(nullptr);
  TReader(s).ReadRootComponent(back);
  for (int i = 0; i < std::min(list.Count(), back.Count()); ++i) {
    auto* from = static_cast<StoredItem*>(list.items.Items(i));
    auto* to = static_cast<StoredItem*>(back.items.Items(i));
    to->image.packBlockSize = from->image.packBlockSize;
    to->mask.packBlockSize = from->mask.packBlockSize;
  }
  if (back.Count() != list.Count() || Written(back) != bytes) {
    std::fprintf(stderr, "%s does not read back the same\n", name);
    std::exit(1);
  }
  s.SaveToFile(String(dir) + "/" + name);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: image_list_seeds DIR\n");
    return 2;
  }
  RegisterClasses();
  for (bool packed : {false, true}) {
    StoredList list(nullptr);
    list.SetDesignInfo(0x00200010);
    const int depths[] = {1, 4, 8, 16, 16, 24, 32};
    for (size_t i = 0; i < std::size(depths); ++i) {
      auto* item = static_cast<StoredItem*>(list.items.Add());
      Fill(item->image, 16, 16, depths[i], i == 4);
      item->image.packBlockSize = packed ? vxPackedBlockSize(depths[i]) : 0;
      if (i % 2 == 0) {
        Fill(item->mask, 16, 16, 1);
        item->mask.packBlockSize = packed ? 1 : 0;
      } else {
        item->SetMaskColor(0x00FF00FF);
      }
    }
    Save(argv[1], packed ? "seed-packed" : "seed-plain", list);
  }
  StoredList empty(nullptr);
  Save(argv[1], "seed-empty", empty);
  StoredList strip(nullptr);
  Fill(static_cast<StoredItem*>(strip.items.Add())->image, 48, 16, 32);
  Save(argv[1], "seed-strip", strip);
  return 0;
}
