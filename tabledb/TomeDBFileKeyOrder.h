// The stored keys of one index, in the index's order, beside the table's
// position list of that index.
//
// A key search probes about log2(n) positions of the order. Read through
// the position list, each probe goes to the list's block for the record
// number and then to the record's value, which for a large table lie all
// over memory: a cache miss or more per probe. Here each entry holds its
// record number and its key bytes together, and neighbouring positions lie
// side by side, so that the last probes of a search, which are close to
// each other, share cache lines, and the first ones, the same for every
// search, stay in the cache.
//
// An entry's key is the stored bytes of the index's key fields one after
// another, as the record holds them. Built from a position list, every key
// is unknown until it is first set; the storage object fills a key when a
// probe first reads it and keeps the order in step with the list through
// every insert and erase.
//
// Entries lie in small blocks, whose sizes a Fenwick tree sums: an insert
// or an erase moves part of one block and updates log2(blocks) sums, where
// renumbering the starts of all later blocks would cost more with every
// block the order grows by. Blocks start on a cache line and entries take a
// power of two of bytes up to a line, so that a probe reads one line.
//
// A copy of each block's first entry lies in one array: a search's probes
// over the blocks read that array, a few pages, where reading the blocks
// themselves would miss the cache and the address translations on every
// probe once the blocks are many.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tabledb/TomeDBFilePositions.h"

class TKeyOrder {
 public:
  size_t size() const { return size_; }
  // 0 for an order not built.
  size_t KeyWidth() const { return keyWidth_; }
  // The bytes one entry takes.
  static size_t EntryBytes(size_t keyWidth);

  // The records of list in its order, every key unknown.
  void Assign(const TPositionList& list, size_t keyWidth);
  void clear();

  // std::out_of_range for a position past the end.
  int32_t RecNo(size_t position) const;
  // nullptr while the key is unknown.
  const uint8_t* Key(size_t position) const;
  void SetKey(size_t position, const uint8_t* key);
  // Inserts before position (at the end for size()).
  void Insert(size_t position, int32_t recNo, const uint8_t* key);
  void Erase(size_t position);

  // Where a key that no entry equals goes: a binary search over the
  // blocks' first keys, which few cache lines hold, then one within a
  // block. compareAt(p) is -1, 0 or 1 as the key sorts before, with or
  // after position p; -1 when a probe meets an equal key.
  template <class CompareAt>
  std::ptrdiff_t InsertPosition(CompareAt compareAt) const;

 private:
  // An entry: a known flag, the record number, the key bytes.
  static constexpr size_t kKeyOffset = 1 + sizeof(int32_t);
  // An insert moves half a block at most; the blocks' first keys, which
  // every search reads, stay few enough to stay in the cache.
  static constexpr size_t kBlockBytes = 4096;
  static constexpr size_t kMinBlockEntries = 16;
  static constexpr size_t kCacheLine = 64;

  struct TBlock {
    std::vector<uint8_t> bytes;  // room for one entry more than a block holds, and the alignment
    size_t count = 0;
    uint8_t* Base() const;
  };

  size_t EntryWidth() const { return entryWidth_; }
  size_t MaxBlockEntries() const;
  // The entry at position. The block found is remembered until the next
  // change: the last probes of a search stay in one block.
  uint8_t* Entry(size_t position) const;
  // The entry at position for reading: a block's first one from the copies.
  const uint8_t* Peek(size_t position) const;
  // The copy of the block's first entry made again from the block.
  void NoteFirst(size_t block);
  // Finds the block holding position into lastBlock_ and lastStart_.
  void FindBlock(size_t position) const;
  // Position of the block's first entry.
  size_t Start(size_t block) const;
  void AddToSums(size_t block, std::ptrdiff_t delta);
  // The sums made again from the blocks, after a block came or went.
  void RebuildSums();
  void AddBlock(size_t at);
  void Forget() const { lastBlock_ = SIZE_MAX; }

  size_t keyWidth_ = 0;
  size_t entryWidth_ = 0;
  size_t size_ = 0;
  std::vector<TBlock> blocks_;
  std::vector<uint8_t> firsts_;  // each block's first entry, EntryWidth() bytes apiece
  std::vector<uint32_t> sums_;  // Fenwick tree of the block sizes
  mutable size_t lastBlock_ = SIZE_MAX, lastStart_ = 0;
};

template <class CompareAt>
std::ptrdiff_t TKeyOrder::InsertPosition(CompareAt compareAt) const {
  // The last block whose first key sorts before the key.
  size_t low = 0, high = blocks_.size();
  while (low < high) {
    const size_t block = (low + high) / 2;
    lastBlock_ = block;
    lastStart_ = Start(block);
    const int c = compareAt(lastStart_);
    if (c == 0) return -1;
    if (c > 0)
      low = block + 1;
    else
      high = block;
  }
  if (low == 0) return 0;
  const size_t block = low - 1;
  lastBlock_ = block;
  lastStart_ = Start(block);
  const uint8_t* base = blocks_[block].Base() - lastStart_ * EntryWidth();
  size_t first = lastStart_ + 1, last = lastStart_ + blocks_[block].count;
  while (first < last) {
    const size_t probe = (first + last) / 2;
    // Both entries that the next probe may read load while this one
    // compares.
    __builtin_prefetch(base + (first + probe) / 2 * EntryWidth());
    __builtin_prefetch(base + (probe + 1 + last) / 2 * EntryWidth());
    const int c = compareAt(probe);
    if (c == 0) return -1;
    if (c > 0)
      first = probe + 1;
    else
      last = probe;
  }
  return std::ptrdiff_t(first);
}
