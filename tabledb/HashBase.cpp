// Digest text forms and the class-reference helpers of the digest family.
#include "tabledb/HashBase.h"

const uint8_t kHashReferenceBlock[32] = {
    0x30, 0x44, 0xED, 0x6E, 0x45, 0xA4, 0x96, 0xF5, 0xF6, 0x35, 0xA2, 0xEB, 0x3D, 0x1A, 0x5D, 0xD6,
    0xCB, 0x1D, 0x09, 0x82, 0x2D, 0xBD, 0xF5, 0x60, 0xC2, 0xB8, 0x58, 0xA1, 0x91, 0xF9, 0x81, 0xB1};

const uint8_t* THash::TestVector() const { return kHashReferenceBlock; }

String THash::DigestStr(int form) {
  switch (form) {
    case dsHex: return HexText(DigestKey(), DigestKeySize());
    case dsBase64:
    case dsDefault: return Base64Text(DigestKey(), DigestKeySize());
    default: return String(reinterpret_cast<const char*>(DigestKey()), size_t(DigestKeySize()));
  }
}

String CalcBuffer(THashClass hashClass, void* digest, const void* buffer, int64_t size) {
  std::unique_ptr<THash> hash = hashClass();
  hash->Init();
  hash->Calc(buffer, size);
  hash->Done();
  if (digest) std::memcpy(digest, hash->DigestKey(), size_t(hash->DigestKeySize()));
  return hash->DigestStr(dsDefault);
}

String CalcString(THashClass hashClass, void* digest, std::string_view text) {
  return CalcBuffer(hashClass, digest, text.data(), int64_t(text.size()));
}

namespace {

int64_t CountOrUpToZero(const void* bytes, int64_t count) {
  if (count >= 0) return count;
  return int64_t(std::strlen(static_cast<const char*>(bytes)));
}

}  // namespace

String Base64Text(const void* bytes, int64_t count) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  int64_t n = CountOrUpToZero(bytes, count);
  String out;
  out.reserve(size_t(n / 3 + 1) * 4);
  for (int64_t i = 0; i < n; i += 3) {
    uint32_t group = uint32_t(p[i]) << 16;
    if (i + 1 < n) group |= uint32_t(p[i + 1]) << 8;
    if (i + 2 < n) group |= p[i + 2];
    // Emit 6-bit groups from the top, stopping once only zero bits remain.
    for (int shift = 18; shift >= 0 && (group & ((1u << (shift + 6)) - 1)) != 0; shift -= 6)
      out += kAlphabet[(group >> shift) & 0x3F];
  }
  if (n % 3 == 1) out += "==";
  if (n % 3 == 2) out += "=";
  return out;
}

String HexText(const void* bytes, int64_t count) {
  static const char kDigits[] = "0123456789ABCDEF";
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  int64_t n = CountOrUpToZero(bytes, count);
  String out;
  out.reserve(size_t(n) * 2);
  for (int64_t i = 0; i < n; ++i) {
    out += kDigits[p[i] >> 4];
    out += kDigits[p[i] & 0x0F];
  }
  return out;
}

void WipeBytes(void* p, size_t n) {
  volatile uint8_t* v = static_cast<volatile uint8_t*>(p);
  while (n--) *v++ = 0;
}
