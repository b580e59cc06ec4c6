// Entry data coding: the zip CRC-32, the traditional password encryption
// with its 12-byte header, and the deflate framing of entry data.
//
// Entry data is raw deflate (no zlib header, no Adler-32 trailer). The
// encoder compresses the source in blocks whose size depends on the level,
// ending each block but the last with a sync flush; the decoder inflates
// chunks as they come and never asks for the missing trailer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/Errors.h"

QE_DECLARE_EXCEPTION(ECompressionError, Exception);
QE_DECLARE_EXCEPTION(EDecompressionError, Exception);

// --- CRC-32 --------------------------------------------------------------------
// Running form: start with ZACrcStart, finish with ZACrcFinal. No buffer
// leaves the value unchanged.
constexpr uint32_t ZACrcStart = 0xFFFFFFFFu;
uint32_t UpdateCrc32(uint32_t crc, const void* buffer, size_t length);
inline uint32_t ZACrcFinal(uint32_t crc) { return ~crc; }
// The CRC-32 of a whole buffer.
uint32_t ZACrc32(const void* buffer, size_t length);

// --- Traditional encryption --------------------------------------------------
struct TZAKeys {
  uint32_t Key0 = 0, Key1 = 0, Key2 = 0;
};
constexpr int ZAEncryptionHeaderSize = 12;

void InitKeys(TZAKeys& keys, std::string_view password);
void EncryptBuffer(uint8_t* buffer, size_t count, TZAKeys& keys);
void DecryptBuffer(uint8_t* buffer, size_t count, TZAKeys& keys);

// One of several independent buffers decrypted side by side: the key
// schedule is one long chain of dependent steps per buffer, and working on
// up to eight chains at once lets the processor overlap them (about four
// times the speed of one buffer at a time). Data and Count advance and Keys
// follow as the lane is decrypted.
struct TZADecryptLane {
  uint8_t* Data = nullptr;
  size_t Count = 0;
  TZAKeys Keys;
};
void DecryptLanes(TZADecryptLane* lanes, size_t laneCount);

// The byte the header's last byte must decrypt to: bits 24-31 of the CRC,
// or bits 8-15 of the DOS time for entries written with a data descriptor
// (flag bit 3), whose CRC was not known when the header was made.
uint8_t ZAPasswordCheckByte(uint32_t crc, uint16_t dosTime, uint16_t flags);
// Makes the encrypted header of an entry whose final CRC-32 is crc: ten random
// bytes and the top two bytes of the CRC. Leaves keys ready for the data.
void MakeEncryptionHeader(uint8_t header[ZAEncryptionHeaderSize], std::string_view password,
                          uint32_t crc, TZAKeys& keys);
// Decrypts a copy of the header with the password; true when its check byte
// fits. Leaves keys ready for the data.
bool CheckEncryptionHeader(const uint8_t header[ZAEncryptionHeaderSize],
                           std::string_view password, uint8_t checkByte, TZAKeys& keys);

// --- Deflate framing -----------------------------------------------------------
// Source block size for encoding at a compression mode (0-9).
size_t ZABlockSizeForMode(int mode);

class TZADeflater {
 public:
  explicit TZADeflater(int level);
  ~TZADeflater();
  TZADeflater(const TZADeflater&) = delete;
  TZADeflater& operator=(const TZADeflater&) = delete;

  // Compresses one source block into out (replacing its contents): a sync
  // flush unless finish, which ends the stream.
  void DeflateBlock(const uint8_t* data, size_t count, bool finish, std::vector<uint8_t>& out);

 private:
  struct Impl;
  Impl* impl_;
};

class TZAInflater {
 public:
  // Receives decoded bytes; returns false to stop decoding.
  using Sink = std::function<bool(const uint8_t* data, size_t count)>;
  enum Result { irMore, irEnd, irError, irStopped };

  TZAInflater();
  ~TZAInflater();
  TZAInflater(const TZAInflater&) = delete;
  TZAInflater& operator=(const TZAInflater&) = delete;

  // Inflates one chunk of compressed data, passing the output to sink in
  // pieces of bounded size. irEnd once the deflate stream has ended.
  Result InflateBlock(const uint8_t* data, size_t count, const Sink& sink);
  // Inflates one chunk straight into out, which has room for capacity
  // bytes in all and holds produced bytes already (advanced here).
  // irStopped when the data would give more than capacity.
  Result InflateInto(const uint8_t* data, size_t count, uint8_t* out, size_t capacity,
                     size_t& produced);
  // Ready for a new stream.
  void Reset();

 private:
  struct Impl;
  Impl* impl_;
};
