// The ZLIB module: deflate with a 15-bit window in zlib format, 64 KB pieces
// in and out. Progress follows the input: encoding reports after each full
// piece of output, decoding after each piece of input read.
//
// A stored header is never trusted to size anything: inflate output grows
// piece by piece and must come out at exactly the size the header gives, from
// a stream that ends with a good checksum where the value ends.
#include "tabledb/Compress_Zlib.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

constexpr size_t kPieceSize = 64 * 1024;
constexpr int kHeaderSize = 4;
// Deflate cannot expand by more than this: a 258-byte match in two bits.
constexpr int64_t kMaxInflateRatio = 1032;

int ZlibLevel(uint8_t level) {
  switch (level) {
    case 0: return Z_BEST_COMPRESSION;
    case 1: return Z_DEFAULT_COMPRESSION;
    case 2:
    case 3: return Z_BEST_SPEED;
    default: return Z_NO_COMPRESSION;
  }
}

// A value's buffers need hold no more than the value: most are a few hundred
// bytes, and two zeroed pieces for each would cost more than the inflate.
size_t BufferSize(int64_t valueBytes) { return size_t(std::clamp<int64_t>(valueBytes, 256, int64_t(kPieceSize))); }

void ClearStream(TStream& s) {
  s.SetSize(0);
  s.SetPosition(0);
}

void WriteHeader(TStream& target, int32_t header) {
  uint8_t bytes[kHeaderSize];
  for (int i = 0; i < kHeaderSize; ++i) bytes[i] = uint8_t(uint32_t(header) >> (8 * i));
  target.WriteBuffer(bytes, kHeaderSize);
}

int32_t ReadHeader(TStream& source) {
  uint8_t bytes[kHeaderSize];
  source.ReadBuffer(bytes, kHeaderSize);
  uint32_t v = 0;
  for (int i = 0; i < kHeaderSize; ++i) v |= uint32_t(bytes[i]) << (8 * i);
  return int32_t(v);
}

[[noreturn]] void CorruptValue(std::string_view fmt, std::initializer_list<FormatArg> args) {
  throw EDecompressionError(Format(fmt, args));
}

// Ends a zlib stream however the operation leaves.
struct DeflateGuard {
  z_stream& z;
  ~DeflateGuard() { deflateEnd(&z); }
};
struct InflateGuard {
  z_stream& z;
  ~InflateGuard() { inflateEnd(&z); }
};

}  // namespace

void TCompAlgo_Zlib::EncodeStream(TStream* source, TStream* target, int64_t) {
  total_ = source->Size();
  ClearStream(*target);
  if (total_ == 0) return;
  if (total_ > INT32_MAX) throw ECompressionError(Format("Value of %d bytes is too large to compress", {total_}));
  int32_t n = int32_t(total_);

  WriteHeader(*target, n);
  source->SetPosition(0);
  Deflate(*source, *target);
  target->SetPosition(0);
  if (target->Size() - kHeaderSize < n) return;

  // Deflate did not shrink the value: store it as it is.
  ClearStream(*target);
  WriteHeader(*target, -n);
  target->CopyFrom(*source, 0);
}

void TCompAlgo_Zlib::Deflate(TStream& source, TStream& target) {
  z_stream z{};
  if (deflateInit(&z, ZlibLevel(level_)) != Z_OK) throw ECompressionError("error");
  DeflateGuard guard{z};
  std::vector<uint8_t> in(BufferSize(total_)), out(BufferSize(total_));
  int flush = Z_NO_FLUSH;
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  for (;;) {
    if (z.avail_in == 0 && flush == Z_NO_FLUSH) {
      int64_t got = source.Read(in.data(), int64_t(in.size()));
      z.next_in = in.data();
      z.avail_in = uInt(got);
      if (got <= 0) flush = Z_FINISH;
    }
    int ret = deflate(&z, flush);
    if (ret == Z_STREAM_ERROR) throw ECompressionError("error");
    if (z.avail_out == 0) {
      target.WriteBuffer(out.data(), int64_t(out.size()));
      z.next_out = out.data();
      z.avail_out = uInt(out.size());
      DoEncodeProgress(ProgressPercent(int64_t(z.total_in), total_));
    }
    if (ret == Z_STREAM_END) break;
  }
  target.WriteBuffer(out.data(), int64_t(out.size() - z.avail_out));
}

void TCompAlgo_Zlib::DecodeStream(TStream* source, TStream* target, int64_t) {
  total_ = source->Size();
  ClearStream(*target);
  if (total_ == 0) return;
  try {
    source->SetPosition(0);
    int32_t header = ReadHeader(*source);
    int64_t rest = total_ - kHeaderSize;
    if (header == 0 || header == INT32_MIN) CorruptValue("Invalid compressed value header %d", {header});
    if (header < 0) {
      if (-int64_t(header) != rest)
        CorruptValue("Stored value of %d bytes holds %d bytes", {-int64_t(header), rest});
      target->CopyFrom(*source, rest);
    } else {
      if (header > rest * kMaxInflateRatio)
        CorruptValue("Compressed value of %d bytes cannot inflate to %d bytes", {rest, header});
      Inflate(*source, *target, header);
    }
    target->SetPosition(0);
  } catch (...) {
    ClearStream(*target);
    throw;
  }
}

void TCompAlgo_Zlib::Inflate(TStream& source, TStream& target, int32_t size) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw EDecompressionError("error");
  InflateGuard guard{z};
  std::vector<uint8_t> in(BufferSize(total_)), out(BufferSize(size));
  int64_t consumed = kHeaderSize;
  for (;;) {
    if (z.avail_in == 0) {
      int64_t got = source.Read(in.data(), int64_t(in.size()));
      if (got <= 0) throw EReadError("Stream read error");  // the zlib stream ends early
      consumed += got;
      z.next_in = in.data();
      z.avail_in = uInt(got);
      DoDecodeProgress(ProgressPercent(consumed, total_));
    }
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    int ret = inflate(&z, Z_NO_FLUSH);
    if (ret != Z_OK && ret != Z_STREAM_END && ret != Z_BUF_ERROR) throw EDecompressionError("error");
    if (int64_t(z.total_out) > size)
      CorruptValue("Compressed value inflates beyond its size of %d bytes", {size});
    target.WriteBuffer(out.data(), int64_t(out.size() - z.avail_out));
    if (ret == Z_STREAM_END) break;
  }
  if (int64_t(z.total_out) < size) throw EReadError("Stream read error");
  if (z.avail_in != 0 || source.Position() != total_)
    CorruptValue("Compressed value has %d bytes after its end", {int64_t(z.avail_in) + total_ - source.Position()});
}
