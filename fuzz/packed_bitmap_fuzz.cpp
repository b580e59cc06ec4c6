// The packed bitmap reader on arbitrary bytes. What it accepts must pack
// again into a record that reads back the same.
#include <cstddef>
#include <cstdint>

#include "foundation/vxGraphicsPacked.h"
#include "platform/Errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream in;
  in.WriteBuffer(data, int64_t(size));
  in.SetPosition(0);
  std::vector<uint8_t> decoded;
  try {
    if (!vxReadPackedBitmapData(in, decoded)) {
      if (in.Position() != 0) __builtin_trap();
      return 0;
    }
  } catch (const EReadError&) {
    return 0;
  }
  for (int blockSize = 1; blockSize <= 4; ++blockSize) {
    TMemoryStream out;
    vxWritePackedBitmapData(out, decoded.data(), decoded.size(), blockSize);
    out.SetPosition(0);
    std::vector<uint8_t> again;
    if (!vxReadPackedBitmapData(out, again) || again != decoded) __builtin_trap();
  }
  return 0;
}
