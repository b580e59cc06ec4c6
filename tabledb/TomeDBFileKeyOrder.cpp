// The key order of one index.
#include "tabledb/TomeDBFileKeyOrder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

size_t TKeyOrder::EntryBytes(size_t keyWidth) {
  const size_t bytes = kKeyOffset + keyWidth;
  return bytes <= kCacheLine ? std::bit_ceil(bytes) : (bytes + kCacheLine - 1) / kCacheLine * kCacheLine;
}

size_t TKeyOrder::MaxBlockEntries() const { return std::max(kMinBlockEntries, kBlockBytes / EntryWidth()); }

uint8_t* TKeyOrder::TBlock::Base() const {
  const uintptr_t start = reinterpret_cast<uintptr_t>(bytes.data());
  return const_cast<uint8_t*>(bytes.data()) + ((kCacheLine - start % kCacheLine) % kCacheLine);
}

void TKeyOrder::clear() {
  keyWidth_ = 0;
  entryWidth_ = 0;
  size_ = 0;
  blocks_.clear();
  starts_.clear();
  lastBlock_ = 0;
}

void TKeyOrder::AddBlock(size_t at, size_t start) {
  TBlock block;
  block.bytes.resize((MaxBlockEntries() + 1) * EntryWidth() + kCacheLine);
  blocks_.insert(blocks_.begin() + std::ptrdiff_t(at), std::move(block));
  starts_.insert(starts_.begin() + std::ptrdiff_t(at), start);
}

void TKeyOrder::Assign(const TPositionList& list, size_t keyWidth) {
  clear();
  keyWidth_ = keyWidth;
  entryWidth_ = EntryBytes(keyWidth);
  const size_t width = EntryWidth(), perBlock = MaxBlockEntries();
  for (const TRecordPosition& position : list) {
    if (blocks_.empty() || blocks_.back().count == perBlock) AddBlock(blocks_.size(), size_);
    TBlock& block = blocks_.back();
    std::memcpy(block.Base() + block.count * width + 1, &position.RecNo, sizeof position.RecNo);
    ++block.count;
    ++size_;
  }
}

size_t TKeyOrder::BlockOf(size_t position) const {
  if (position >= size_) throw std::out_of_range("TKeyOrder");
  const size_t last = lastBlock_;
  if (last < starts_.size() && position >= starts_[last] && position - starts_[last] < blocks_[last].count)
    return last;
  lastBlock_ = size_t(std::upper_bound(starts_.begin(), starts_.end(), position) - starts_.begin()) - 1;
  return lastBlock_;
}

uint8_t* TKeyOrder::Entry(size_t position) const {
  const size_t block = BlockOf(position);
  return blocks_[block].Base() + (position - starts_[block]) * EntryWidth();
}

int32_t TKeyOrder::RecNo(size_t position) const {
  int32_t recNo;
  std::memcpy(&recNo, Entry(position) + 1, sizeof recNo);
  return recNo;
}

const uint8_t* TKeyOrder::Key(size_t position) const {
  const uint8_t* entry = Entry(position);
  return entry[0] ? entry + kKeyOffset : nullptr;
}

void TKeyOrder::SetKey(size_t position, const uint8_t* key) {
  uint8_t* entry = Entry(position);
  entry[0] = 1;
  std::memcpy(entry + kKeyOffset, key, keyWidth_);
}

void TKeyOrder::Insert(size_t position, int32_t recNo, const uint8_t* key) {
  if (position > size_) throw std::out_of_range("TKeyOrder");
  const size_t width = EntryWidth();
  if (blocks_.empty()) AddBlock(0, 0);
  const size_t block = position == size_ ? blocks_.size() - 1 : BlockOf(position);
  TBlock& items = blocks_[block];
  uint8_t* entry = items.Base() + (position - starts_[block]) * width;
  std::memmove(entry + width, entry, (items.count - (position - starts_[block])) * width);
  std::memset(entry, 0, width);
  entry[0] = 1;
  std::memcpy(entry + 1, &recNo, sizeof recNo);
  std::memcpy(entry + kKeyOffset, key, keyWidth_);
  ++items.count;
  ++size_;
  for (size_t b = block + 1; b < starts_.size(); ++b) ++starts_[b];
  if (items.count <= MaxBlockEntries()) return;
  // A full block splits in two halves.
  const size_t half = items.count / 2;
  AddBlock(block + 1, starts_[block] + half);
  TBlock& lower = blocks_[block];
  TBlock& upper = blocks_[block + 1];
  upper.count = lower.count - half;
  std::memcpy(upper.Base(), lower.Base() + half * width, upper.count * width);
  lower.count = half;
}

void TKeyOrder::Erase(size_t position) {
  const size_t block = BlockOf(position);
  const size_t width = EntryWidth();
  TBlock& items = blocks_[block];
  uint8_t* entry = items.Base() + (position - starts_[block]) * width;
  std::memmove(entry, entry + width, (items.count - 1 - (position - starts_[block])) * width);
  --items.count;
  --size_;
  for (size_t b = block + 1; b < starts_.size(); ++b) --starts_[b];
  if (items.count > 0) return;
  blocks_.erase(blocks_.begin() + std::ptrdiff_t(block));
  starts_.erase(starts_.begin() + std::ptrdiff_t(block));
}
