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
// Entries lie in small blocks (see TomeDBFileBlockSizes.h): an insert or an
// erase moves part of one block. Blocks start on a cache line and entries
// take a power of two of bytes up to a line, so that a probe reads one line.
//
// A copy of each block's first entry lies in one array: a search's probes
// over the blocks read that array, a few pages, where reading the blocks
// themselves would miss the cache and the address translations on every
// probe once the blocks are many.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tabledb/TomeDBFileBlockSizes.h"
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
  // block; a key past the last one costs one probe. compare(stored) is -1,
  // 0 or 1 as the key sorts before, with or after the stored key; fill(recNo)
  // gives the key of a record whose key is unknown, which the order keeps.
  // -1 when a probe meets an equal key.
  template <class Compare, class Fill>
  std::ptrdiff_t InsertPosition(Compare compare, Fill fill);

 private:
  // An entry: a known flag, the record number, the key bytes.
  static constexpr size_t kKeyOffset = 1 + sizeof(int32_t);
  // An insert moves half a block at most; the blocks' first keys, which
  // every search reads, stay few enough to stay in the cache.
  static constexpr size_t kBlockBytes = 8192;
  static constexpr size_t kMinBlockEntries = 16;
  static constexpr size_t kCacheLine = 64;

  struct TBlock {
    std::vector<uint8_t> bytes;  // room for one entry more than a block holds, and the alignment
    uint8_t* Base() const;
  };

  size_t EntryWidth() const { return entryWidth_; }
  // The entries a block holds, which the sizes keep.
  size_t Count(size_t block) const { return sizes_.SizeOf(block); }
  size_t MaxBlockEntries() const;
  // The entry at position. The block found is remembered until a block
  // comes or goes: the probes of a search by position stay in one block
  // at the end, and reads and inserts near where a search ended go to the
  // block it ended in.
  uint8_t* Entry(size_t position) const;
  // The entry at position for reading: a block's first one from the copies.
  const uint8_t* Peek(size_t position) const;
  // The copy of the block's first entry made again from the block.
  void NoteFirst(size_t block);
  // Finds the block holding position into lastBlock_ and lastStart_.
  void FindBlock(size_t position) const;
  // The key of the entry at offset of block, read through fill when unknown.
  template <class Fill>
  const uint8_t* KnownKey(size_t block, size_t offset, Fill& fill);
  void SetEntryKey(size_t block, size_t offset, const uint8_t* key);
  // An empty block.
  void AddBlock(size_t at);
  void RemoveBlock(size_t block);
  void Forget() const { lastBlock_ = SIZE_MAX; }

  size_t keyWidth_ = 0;
  size_t entryWidth_ = 0;
  size_t size_ = 0;
  std::vector<TBlock> blocks_;
  std::vector<uint8_t> firsts_;  // each block's first entry, EntryWidth() bytes apiece
  TBlockSizes sizes_;
  mutable size_t lastBlock_ = SIZE_MAX, lastStart_ = 0;
};

template <class Fill>
const uint8_t* TKeyOrder::KnownKey(size_t block, size_t offset, Fill& fill) {
  const uint8_t* entry =
      offset == 0 ? firsts_.data() + block * EntryWidth() : blocks_[block].Base() + offset * EntryWidth();
  if (!entry[0]) {
    int32_t recNo;
    std::memcpy(&recNo, entry + 1, sizeof recNo);
    SetEntryKey(block, offset, fill(recNo));
  }
  return entry + kKeyOffset;
}

template <class Compare, class Fill>
std::ptrdiff_t TKeyOrder::InsertPosition(Compare compare, Fill fill) {
  if (size_ == 0) return 0;
  const size_t lastBlock = blocks_.size() - 1;
  int c = compare(KnownKey(lastBlock, Count(lastBlock) - 1, fill));
  if (c == 0) return -1;
  if (c > 0) return std::ptrdiff_t(size_);
  // The last block whose first key sorts before the key.
  size_t low = 0, high = blocks_.size();
  const uint8_t* firsts = firsts_.data();
  while (low < high) {
    const size_t block = (low + high) / 2;
    // Both first keys that the next probe may read load while this one
    // compares: the probes' last steps reach copies that other work has
    // pushed out of the nearest caches.
    __builtin_prefetch(firsts + (low + block) / 2 * EntryWidth());
    __builtin_prefetch(firsts + (block + 1 + high) / 2 * EntryWidth());
    c = compare(KnownKey(block, 0, fill));
    if (c == 0) return -1;
    if (c > 0)
      low = block + 1;
    else
      high = block;
  }
  if (low == 0) return 0;
  const size_t block = low - 1;
  const uint8_t* base = blocks_[block].Base();
  size_t first = 1, last = Count(block);
  // The whole block loads while the search goes: its probes and the insert
  // that usually follows, which moves the entries after the key, then find
  // it in the cache.
  for (size_t offset = 0; offset < last * EntryWidth(); offset += kCacheLine) __builtin_prefetch(base + offset);
  while (first < last) {
    const size_t probe = (first + last) / 2;
    c = compare(KnownKey(block, probe, fill));
    if (c == 0) return -1;
    if (c > 0)
      first = probe + 1;
    else
      last = probe;
  }
  // The block stays found for the insert that follows.
  lastBlock_ = block;
  lastStart_ = sizes_.Start(block);
  return std::ptrdiff_t(lastStart_ + first);
}
