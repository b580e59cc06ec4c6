// Feeds arbitrary stored values to the table database's codecs: the ZLIB
// module's decoder and each cipher's decrypt path, through the managers a
// database file uses. A value that decodes must encode back to itself
// (ciphers) or to something that decodes to the same bytes (ZLIB).
//
// Input: byte 0 picks the codec (0 ZLIB, 1 Blowfish, 2 Twofish, 3 Gost),
// byte 1 the chaining mode byte, byte 2 the password length; then the
// password and the stored value.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tabledb/Compress_Zlib.h"
#include "tabledb/EncryptBase.h"
#include "tabledb/TomeDBRegistry.h"

namespace {

std::vector<uint8_t> Contents(TMemoryStream& s) { return {s.Memory(), s.Memory() + s.Size()}; }

void Check(bool ok) {
  if (!ok) std::abort();
}

void FuzzZlib(const uint8_t* data, size_t size) {
  TCompressMgr mgr(nullptr);
  mgr.SetAlgoName("ZLIB");
  TMemoryStream stored, plain;
  stored.WriteBuffer(data, int64_t(size));
  try {
    mgr.DecodeStream(&stored, &plain, -1);
  } catch (const Exception&) {
    Check(plain.Size() == 0);  // a refused value leaves nothing behind
    return;
  }
  TMemoryStream again, back;
  mgr.EncodeStream(&plain, &again, -1);
  mgr.DecodeStream(&again, &back, -1);
  Check(Contents(back) == Contents(plain));
}

void FuzzCipher(const char* name, uint8_t mode, const uint8_t* data, size_t size) {
  size_t keyLength = size > 0 ? std::min<size_t>(data[0], size - 1) : 0;
  String key(reinterpret_cast<const char*>(data + 1), keyLength);
  data += 1 + keyLength;
  size -= std::min(size, 1 + keyLength);

  TEncryptMgr mgr(nullptr);
  mgr.SetAlgoName(name);
  mgr.InitKey(key);
  try {
    mgr.SetMode(mode);
  } catch (const EEncryptException&) {
    Check(mode > ecmECB);
    return;
  }
  TMemoryStream stored, plain, again;
  stored.WriteBuffer(data, int64_t(size));
  mgr.DecodeStream(&stored, &plain, -1);
  Check(plain.Size() == int64_t(size));
  mgr.EncodeStream(&plain, &again, -1);
  Check(Contents(again) == Contents(stored));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  static const char* const kCiphers[] = {"Blowfish", "Twofish", "Gost"};
  uint8_t codec = data[0] % 4;
  if (codec == 0)
    FuzzZlib(data + 1, size - 1);
  else
    FuzzCipher(kCiphers[codec - 1], data[1], data + 2, size - 2);
  return 0;
}
