// Reads arbitrary bytes as a zip archive directory: the end record search,
// the central directory (or the recovery scan over local headers), the
// Zip64 records and the stub search. Whatever was read must write back and
// read again to the same number of entries.
#include <cstdint>
#include <cstdlib>

#include "archive/ZipArchiver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  input.Write(data, int64_t(size));
  TZADirManager dir(nullptr, ZAZipSignatures, true);
  try {
    dir.ReadDirectory(input, dir.FindEndRecord(input));
  } catch (const EZAException&) {
    return 0;
  }
  for (int i = 0; i < dir.Items.Count(); ++i) MatchesMask(dir.Items.Item(i).Name, "*.t?t");

  TMemoryStream output;
  dir.WriteDirectory(output, true, "fuzz.zip");
  TZADirManager again(nullptr, ZAZipSignatures, true);
  again.ReadDirectory(output, again.FindEndRecord(output));
  if (again.Items.Count() != dir.Items.Count()) std::abort();
  return 0;
}
