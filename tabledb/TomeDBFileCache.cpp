// The block read cache of a database file.
#include "tabledb/TomeDBFileCache.h"

#include <algorithm>
#include <cstring>

const std::vector<uint8_t>* TTomeDBReadCache::Block(int64_t number, int64_t end, const TReadAt& readAt) {
  auto it = blocks_.find(number);
  if (it != blocks_.end() && int64_t(it->second.size()) >= end) return &it->second;
  // Missing, or short because the file was shorter when it was read.
  if (it == blocks_.end() && blocks_.size() >= kMaxBlocks) blocks_.erase(blocks_.begin());
  std::vector<uint8_t>& block = blocks_[number];
  block.resize(size_t(kBlockSize));
  const int64_t n = std::max<int64_t>(readAt(block.data(), number * kBlockSize, kBlockSize), 0);
  block.resize(size_t(n));
  return n >= end ? &block : nullptr;
}

bool TTomeDBReadCache::Read(void* buffer, int64_t position, int64_t count, const TReadAt& readAt) {
  if (position < 0 || count < 0) return false;
  auto* out = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    const int64_t number = position / kBlockSize, offset = position % kBlockSize;
    const int64_t n = std::min(count, kBlockSize - offset);
    const std::vector<uint8_t>* block = Block(number, offset + n, readAt);
    if (!block) return false;
    std::memcpy(out, block->data() + offset, size_t(n));
    out += n;
    position += n;
    count -= n;
  }
  return true;
}

void TTomeDBReadCache::Write(const void* buffer, int64_t position, int64_t count) {
  const auto* in = static_cast<const uint8_t*>(buffer);
  while (count > 0) {
    const int64_t number = position / kBlockSize, offset = position % kBlockSize;
    const int64_t n = std::min(count, kBlockSize - offset);
    auto it = blocks_.find(number);
    if (it != blocks_.end()) {
      std::vector<uint8_t>& block = it->second;
      if (offset > int64_t(block.size())) {
        blocks_.erase(it);  // the bytes between are not known here
      } else {
        if (offset + n > int64_t(block.size())) block.resize(size_t(offset + n));
        std::memcpy(block.data() + offset, in, size_t(n));
      }
    }
    in += n;
    position += n;
    count -= n;
  }
}
