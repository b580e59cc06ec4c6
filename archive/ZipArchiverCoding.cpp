#include "archive/ZipArchiverCoding.h"

#include <zlib.h>

#include <cstring>

#include "platform/OsFiles.h"

// --- CRC-32 --------------------------------------------------------------------

uint32_t UpdateCrc32(uint32_t crc, const void* buffer, size_t length) {
  if (!buffer) return crc;
  // zlib's crc32 takes and gives the complemented value.
  uLong c = ~crc & 0xFFFFFFFFu;
  const auto* p = static_cast<const Bytef*>(buffer);
  while (length > 0) {
    const uInt n = uInt(std::min<size_t>(length, 1u << 30));
    c = crc32(c, p, n);
    p += n;
    length -= n;
  }
  return ~uint32_t(c);
}

uint32_t ZACrc32(const void* buffer, size_t length) {
  return ZACrcFinal(UpdateCrc32(ZACrcStart, buffer, length));
}

// --- Traditional encryption --------------------------------------------------

namespace {

// The key schedule works on local copies of the keys: the buffer is bytes,
// which may alias anything, so keys held behind a reference would be stored
// and loaded again for every byte.
struct TKeyState {
  const z_crc_t* table = get_crc_table();
  uint32_t k0, k1, k2;

  explicit TKeyState(const TZAKeys& k) : k0(k.Key0), k1(k.Key1), k2(k.Key2) {}
  void Store(TZAKeys& k) const { k = {k0, k1, k2}; }

  // One CRC-32 table step without complements.
  uint32_t CrcStep(uint32_t key, uint8_t c) const {
    return uint32_t(table[(key ^ c) & 0xFF]) ^ (key >> 8);
  }
  void Update(uint8_t c) {
    k0 = CrcStep(k0, c);
    k1 = (k1 + (k0 & 0xFF)) * 134775813u + 1;
    k2 = CrcStep(k2, uint8_t(k1 >> 24));
  }
  uint8_t KeyStreamByte() const {
    const uint32_t t = (k2 | 2) & 0xFFFF;
    return uint8_t((t * (t ^ 1)) >> 8);
  }
};

}  // namespace

void InitKeys(TZAKeys& keys, std::string_view password) {
  TKeyState s(TZAKeys{0x12345678u, 0x23456789u, 0x34567890u});
  for (char c : password) s.Update(uint8_t(c));
  s.Store(keys);
}

void EncryptBuffer(uint8_t* buffer, size_t count, TZAKeys& keys) {
  TKeyState s(keys);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t plain = buffer[i];
    buffer[i] = plain ^ s.KeyStreamByte();
    s.Update(plain);
  }
  s.Store(keys);
}

void DecryptBuffer(uint8_t* buffer, size_t count, TZAKeys& keys) {
  TKeyState s(keys);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t plain = buffer[i] ^ s.KeyStreamByte();
    buffer[i] = plain;
    s.Update(plain);
  }
  s.Store(keys);
}

uint8_t ZAPasswordCheckByte(uint32_t crc, uint16_t dosTime, uint16_t flags) {
  return (flags & 8) ? uint8_t(dosTime >> 8) : uint8_t(crc >> 24);
}

void MakeEncryptionHeader(uint8_t header[ZAEncryptionHeaderSize], std::string_view password,
                          uint32_t crc, TZAKeys& keys) {
  os::RandomBytes(header, 10);
  header[10] = uint8_t(crc >> 16);
  header[11] = uint8_t(crc >> 24);
  InitKeys(keys, password);
  EncryptBuffer(header, ZAEncryptionHeaderSize, keys);
}

bool CheckEncryptionHeader(const uint8_t header[ZAEncryptionHeaderSize],
                           std::string_view password, uint8_t checkByte, TZAKeys& keys) {
  uint8_t plain[ZAEncryptionHeaderSize];
  std::memcpy(plain, header, sizeof plain);
  InitKeys(keys, password);
  DecryptBuffer(plain, sizeof plain, keys);
  return plain[11] == checkByte;
}

// --- Deflate framing -----------------------------------------------------------

size_t ZABlockSizeForMode(int mode) {
  if (mode >= 1 && mode <= 3) return 512 * 1024;
  if (mode >= 7 && mode <= 9) return 1536 * 1024;
  return 1024 * 1024;
}

struct TZADeflater::Impl {
  z_stream zs{};
};

TZADeflater::TZADeflater(int level) : impl_(new Impl) {
  // Negative window bits: raw deflate, the form zip entries store.
  if (deflateInit2(&impl_->zs, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    delete impl_;
    throw ECompressionError("error");
  }
}

TZADeflater::~TZADeflater() {
  deflateEnd(&impl_->zs);
  delete impl_;
}

void TZADeflater::DeflateBlock(const uint8_t* data, size_t count, bool finish,
                               std::vector<uint8_t>& out) {
  z_stream& zs = impl_->zs;
  // Room for the block in one go most of the time: n + n/10 + 12, in 256s.
  out.resize(((count + count / 10 + 12) + 255) / 256 * 256);
  zs.next_in = const_cast<Bytef*>(data);
  zs.avail_in = uInt(count);
  size_t used = 0;
  for (;;) {
    zs.next_out = out.data() + used;
    zs.avail_out = uInt(out.size() - used);
    const int rc = deflate(&zs, finish ? Z_FINISH : Z_SYNC_FLUSH);
    used = out.size() - zs.avail_out;
    if (rc == Z_STREAM_ERROR) throw ECompressionError("error");
    if (finish ? rc == Z_STREAM_END : zs.avail_out != 0) break;
    out.resize(out.size() * 2);
  }
  out.resize(used);
}

struct TZAInflater::Impl {
  z_stream zs{};
  std::vector<uint8_t> out = std::vector<uint8_t>(256 * 1024);
  bool ended = false;
};

TZAInflater::TZAInflater() : impl_(new Impl) {
  if (inflateInit2(&impl_->zs, -MAX_WBITS) != Z_OK) {
    delete impl_;
    throw EDecompressionError("error");
  }
}

TZAInflater::~TZAInflater() {
  inflateEnd(&impl_->zs);
  delete impl_;
}

TZAInflater::Result TZAInflater::InflateBlock(const uint8_t* data, size_t count,
                                              const Sink& sink) {
  z_stream& zs = impl_->zs;
  if (impl_->ended) return irEnd;
  zs.next_in = const_cast<Bytef*>(data);
  zs.avail_in = uInt(count);
  // Output goes out in fixed pieces: memory stays bounded whatever the
  // compression ratio of the data.
  for (;;) {
    zs.next_out = impl_->out.data();
    zs.avail_out = uInt(impl_->out.size());
    const int rc = inflate(&zs, Z_NO_FLUSH);
    const size_t produced = impl_->out.size() - zs.avail_out;
    if (rc < 0 && rc != Z_BUF_ERROR) return irError;
    if (produced > 0 && !sink(impl_->out.data(), produced)) return irStopped;
    if (rc == Z_STREAM_END) {
      // Bytes after the end of the deflate stream are ignored; the size and
      // CRC checks of the entry decide whether the data is whole.
      impl_->ended = true;
      return irEnd;
    }
    if (zs.avail_in == 0 && zs.avail_out != 0) return irMore;
    if (rc == Z_BUF_ERROR && produced == 0) return irMore;
  }
}
