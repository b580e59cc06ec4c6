#include "skins/vdSkinPicture.h"

#include <cstring>

#include "skins/vdSkinsCore.h"
#include "skins/vdSkinsStrs.h"

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Signature, then the first chunk: length 13, "IHDR", width, height.
constexpr size_t kHeaderBytes = 8 + 8 + 13;
// The limit of the PNG format itself: dimensions fit in 31 bits.
constexpr uint32_t kMaxDimension = 0x7FFFFFFF;

uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

}  // namespace

bool vdSkinPngReadSize(const uint8_t* data, size_t size, int32_t& width, int32_t& height) {
  if (size < kHeaderBytes || std::memcmp(data, kPngSignature, 8) != 0) return false;
  if (BigEndian32(data + 8) != 13 || std::memcmp(data + 12, "IHDR", 4) != 0) return false;
  uint32_t w = BigEndian32(data + 16);
  uint32_t h = BigEndian32(data + 20);
  if (w == 0 || h == 0 || w > kMaxDimension || h > kMaxDimension) return false;
  width = int32_t(w);
  height = int32_t(h);
  return true;
}

void TvdSkinPicture::LoadFromStream(TStream& source) {
  int64_t count = source.Size() - source.Position();
  std::vector<uint8_t> bytes(size_t(count > 0 ? count : 0));
  source.ReadBuffer(bytes.data(), int64_t(bytes.size()));
  LoadFromBytes(std::move(bytes));
}

void TvdSkinPicture::LoadFromBytes(std::vector<uint8_t> bytes) {
  int32_t w = 0, h = 0;
  if (!vdSkinPngReadSize(bytes.data(), bytes.size(), w, h)) throw EvdSkin(sdxSkinInvalidPicture);
  bytes_ = std::move(bytes);
  width_ = w;
  height_ = h;
#ifdef _WIN32
  image_.reset();
  parts_.reset();
#endif
}

void TvdSkinPicture::SaveToStream(TStream& dest) const { dest.WriteBuffer(bytes_.data(), int64_t(bytes_.size())); }

void TvdSkinPicture::Clear() {
  bytes_.clear();
  width_ = height_ = 0;
#ifdef _WIN32
  image_.reset();
  parts_.reset();
#endif
}
