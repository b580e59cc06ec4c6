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
  firsts_.clear();
  sizes_.clear();
  Forget();
}

// --- Blocks ----------------------------------------------------------------------------------

void TKeyOrder::FindBlock(size_t position) const {
  if (position >= size_) throw std::out_of_range("TKeyOrder");
  if (lastBlock_ < blocks_.size() && position >= lastStart_ && position - lastStart_ < Count(lastBlock_)) return;
  lastBlock_ = sizes_.Find(position, lastStart_);
}

void TKeyOrder::AddBlock(size_t at) {
  TBlock block;
  block.bytes.resize((MaxBlockEntries() + 1) * EntryWidth() + kCacheLine);
  blocks_.insert(blocks_.begin() + std::ptrdiff_t(at), std::move(block));
  firsts_.insert(firsts_.begin() + std::ptrdiff_t(at * EntryWidth()), EntryWidth(), 0);
  sizes_.Insert(at, 0);
  Forget();
}

void TKeyOrder::RemoveBlock(size_t block) {
  blocks_.erase(blocks_.begin() + std::ptrdiff_t(block));
  const auto first = firsts_.begin() + std::ptrdiff_t(block * EntryWidth());
  firsts_.erase(first, first + std::ptrdiff_t(EntryWidth()));
  sizes_.Erase(block);
  Forget();
}

void TKeyOrder::NoteFirst(size_t block) {
  std::memcpy(firsts_.data() + block * EntryWidth(), blocks_[block].Base(), EntryWidth());
}

// --- Entries ----------------------------------------------------------------------------------

void TKeyOrder::Assign(const TPositionList& list, size_t keyWidth) {
  clear();
  keyWidth_ = keyWidth;
  entryWidth_ = EntryBytes(keyWidth);
  const size_t width = EntryWidth(), perBlock = MaxBlockEntries();
  for (const TRecordPosition& position : list) {
    if (blocks_.empty() || Count(blocks_.size() - 1) == perBlock) AddBlock(blocks_.size());
    const size_t block = blocks_.size() - 1;
    std::memcpy(blocks_[block].Base() + Count(block) * width + 1, &position.RecNo, sizeof position.RecNo);
    sizes_.Add(block, 1);
    ++size_;
  }
  for (size_t block = 0; block < blocks_.size(); ++block) NoteFirst(block);
}

uint8_t* TKeyOrder::Entry(size_t position) const {
  FindBlock(position);
  return blocks_[lastBlock_].Base() + (position - lastStart_) * EntryWidth();
}

const uint8_t* TKeyOrder::Peek(size_t position) const {
  FindBlock(position);
  if (position == lastStart_) return firsts_.data() + lastBlock_ * EntryWidth();
  return blocks_[lastBlock_].Base() + (position - lastStart_) * EntryWidth();
}

int32_t TKeyOrder::RecNo(size_t position) const {
  int32_t recNo;
  std::memcpy(&recNo, Peek(position) + 1, sizeof recNo);
  return recNo;
}

const uint8_t* TKeyOrder::Key(size_t position) const {
  const uint8_t* entry = Peek(position);
  return entry[0] ? entry + kKeyOffset : nullptr;
}

void TKeyOrder::SetEntryKey(size_t block, size_t offset, const uint8_t* key) {
  uint8_t* entry = blocks_[block].Base() + offset * EntryWidth();
  entry[0] = 1;
  std::memcpy(entry + kKeyOffset, key, keyWidth_);
  if (offset == 0) NoteFirst(block);
}

void TKeyOrder::SetKey(size_t position, const uint8_t* key) {
  FindBlock(position);
  SetEntryKey(lastBlock_, position - lastStart_, key);
}

void TKeyOrder::Insert(size_t position, int32_t recNo, const uint8_t* key) {
  if (position > size_) throw std::out_of_range("TKeyOrder");
  const size_t width = EntryWidth();
  // At the end, an entry that the last block has no room for starts a new
  // one: keys appended in ascending order fill their blocks.
  if (position == size_ && (blocks_.empty() || Count(blocks_.size() - 1) == MaxBlockEntries()))
    AddBlock(blocks_.size());
  size_t block = blocks_.size() - 1, offset = Count(block);
  if (position < size_) {
    FindBlock(position);
    block = lastBlock_;
    offset = position - lastStart_;
  }
  uint8_t* entry = blocks_[block].Base() + offset * width;
  std::memmove(entry + width, entry, (Count(block) - offset) * width);
  std::memset(entry, 0, width);
  std::memcpy(entry + 1, &recNo, sizeof recNo);
  ++size_;
  sizes_.Add(block, 1);
  SetEntryKey(block, offset, key);
  if (Count(block) <= MaxBlockEntries()) return;
  // A full block splits in two halves.
  AddBlock(block + 1);
  const size_t half = Count(block) / 2, moved = Count(block) - half;
  std::memcpy(blocks_[block + 1].Base(), blocks_[block].Base() + half * width, moved * width);
  sizes_.Add(block, -std::ptrdiff_t(moved));
  sizes_.Add(block + 1, std::ptrdiff_t(moved));
  NoteFirst(block + 1);
}

void TKeyOrder::Erase(size_t position) {
  FindBlock(position);
  const size_t block = lastBlock_, offset = position - lastStart_;
  const size_t width = EntryWidth();
  uint8_t* entry = blocks_[block].Base() + offset * width;
  std::memmove(entry, entry + width, (Count(block) - 1 - offset) * width);
  --size_;
  sizes_.Add(block, -1);
  if (Count(block) == 0) {
    RemoveBlock(block);
    return;
  }
  if (offset == 0) NoteFirst(block);
}
