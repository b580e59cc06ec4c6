// The picture header readers on arbitrary bytes. The first byte picks the
// format, so that one corpus reaches all five readers.
#include <cstddef>
#include <cstdint>

#include "smooth/LuxGDIPPictureHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const char* const kNames[] = {"a.jpg", "a.png", "a.bmp", "a.tif", "a.gif"};
  const TPictureHeaderSize s = ReadHeaderSizeByExtension(kNames[data[0] % 5], data + 1, size - 1);
  if (s.Width < 0 || s.Height < 0) __builtin_trap();
  return 0;
}
