// The image list's form-data reader on arbitrary bytes: the form stream,
// the "ImageInfo" collection and each stored bitmap's "Data", packed or
// not, down to its rows. What it accepts must write and read back the
// same.
#include <cstddef>
#include <cstdint>

#include "fuzz/image_list_classes.h"

using namespace image_list_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = (RegisterClasses(), true);
  (void)registered;
  TMemoryStream in;
  in.WriteBuffer(data, int64_t(size));
  in.SetPosition(0);
  StoredList list(nullptr);
  try {
    TReader(in).ReadRootComponent(list);
  } catch (const Exception&) {
    return 0;
  }
  const std::vector<uint8_t> once = Written(list);
  TMemoryStream again;
  again.WriteBuffer(once.data(), int64_t(once.size()));
  again.SetPosition(0);
  StoredList back(nullptr);
  TReader(again).ReadRootComponent(back);
  if (Written(back) != once) __builtin_trap();
  return 0;
}
