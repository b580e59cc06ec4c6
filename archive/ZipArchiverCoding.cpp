#include "archive/ZipArchiverCoding.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/Crc32.h"
#include "platform/OsFiles.h"

// --- CRC-32 --------------------------------------------------------------------

uint32_t UpdateCrc32(uint32_t crc, const void* buffer, size_t length) {
  return Crc32Update(crc, buffer, length);
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
  uint32_t k0 = 0, k1 = 0, k2 = 0;

  TKeyState() = default;
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

// Decrypts the next count bytes of N lanes, step by step across the lanes.
// The data pointers are local copies too: a byte store could otherwise
// change them, as far as the compiler knows.
template <int N>
void DecryptSideBySide(TZADecryptLane* lanes, size_t count) {
  uint8_t* data[N];
  TKeyState keys[N];
  for (int j = 0; j < N; ++j) {
    data[j] = lanes[j].Data;
    keys[j] = TKeyState(lanes[j].Keys);
  }
  for (size_t i = 0; i < count; ++i) {
#pragma GCC unroll 8
    for (int j = 0; j < N; ++j) {
      const uint8_t plain = data[j][i] ^ keys[j].KeyStreamByte();
      data[j][i] = plain;
      keys[j].Update(plain);
    }
  }
  for (int j = 0; j < N; ++j) {
    lanes[j].Data += count;
    lanes[j].Count -= count;
    keys[j].Store(lanes[j].Keys);
  }
}

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
  TZADecryptLane lane{buffer, count, keys};
  DecryptSideBySide<1>(&lane, count);
  keys = lane.Keys;
}

// Up to eight unfinished lanes at a time, each round as far as the shortest
// of them reaches; a finished lane makes room for the next one.
void DecryptLanes(TZADecryptLane* lanes, size_t laneCount) {
  constexpr size_t kMaxSideBySide = 8;
  for (;;) {
    TZADecryptLane* active[kMaxSideBySide];
    size_t n = 0;
    size_t count = SIZE_MAX;
    for (size_t i = 0; i < laneCount && n < kMaxSideBySide; ++i)
      if (lanes[i].Count > 0) {
        active[n++] = &lanes[i];
        count = std::min(count, lanes[i].Count);
      }
    if (n == 0) return;
    TZADecryptLane group[kMaxSideBySide];
    for (size_t j = 0; j < n; ++j) group[j] = *active[j];
    switch (n) {
      case 1: DecryptSideBySide<1>(group, count); break;
      case 2: DecryptSideBySide<2>(group, count); break;
      case 3: DecryptSideBySide<3>(group, count); break;
      case 4: DecryptSideBySide<4>(group, count); break;
      case 5: DecryptSideBySide<5>(group, count); break;
      case 6: DecryptSideBySide<6>(group, count); break;
      case 7: DecryptSideBySide<7>(group, count); break;
      default: DecryptSideBySide<8>(group, count); break;
    }
    for (size_t j = 0; j < n; ++j) *active[j] = group[j];
  }
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
  std::vector<uint8_t> out;  // InflateBlock's pieces
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
  if (impl_->out.empty()) impl_->out.resize(256 * 1024);
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

TZAInflater::Result TZAInflater::InflateInto(const uint8_t* data, size_t count, uint8_t* out,
                                             size_t capacity, size_t& produced) {
  z_stream& zs = impl_->zs;
  if (impl_->ended) return irEnd;
  zs.next_in = const_cast<Bytef*>(data);
  zs.avail_in = uInt(count);
  for (;;) {
    const size_t room = std::min<size_t>(capacity - produced, 1u << 30);
    zs.next_out = out + produced;
    zs.avail_out = uInt(room);
    int rc = inflate(&zs, Z_NO_FLUSH);
    produced += room - zs.avail_out;
    if (rc == Z_STREAM_END) {
      impl_->ended = true;
      return irEnd;
    }
    if (rc < 0 && rc != Z_BUF_ERROR) return irError;
    if (zs.avail_out != 0) return irMore;
    if (produced < capacity) continue;
    // Full: one more byte would be one too many.
    uint8_t extra;
    zs.next_out = &extra;
    zs.avail_out = 1;
    rc = inflate(&zs, Z_NO_FLUSH);
    if (zs.avail_out == 0) return irStopped;
    if (rc == Z_STREAM_END) {
      impl_->ended = true;
      return irEnd;
    }
    return rc < 0 && rc != Z_BUF_ERROR ? irError : irMore;
  }
}

void TZAInflater::Reset() {
  inflateReset(&impl_->zs);
  impl_->ended = false;
}
