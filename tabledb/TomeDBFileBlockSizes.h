// The sizes of a row of blocks that together hold one sequence (the
// position lists and the key orders cut their items into such blocks): where
// each block starts in the sequence, and which block holds a position.
//
// A Fenwick tree over the sizes answers both in log2(blocks) steps and
// takes a block's change of size in as many, where a list of the blocks'
// starts would renumber every later block at each insert or removal, a cost
// that grows with the sequence. A block that comes or goes before the last
// one builds the tree again (blocks come and go once per many items); one
// that comes or goes at the end costs log2(blocks) steps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TBlockSizes {
 public:
  size_t size() const { return sizes_.size(); }
  void clear();
  size_t SizeOf(size_t block) const { return sizes_[block]; }

  // Where block starts: the sizes of the blocks before it summed.
  size_t Start(size_t block) const;
  // The block holding position (which lies before the end), and its start.
  size_t Find(size_t position, size_t& start) const;

  void Add(size_t block, std::ptrdiff_t delta);
  // A block of size items before block at (at the end for size()).
  void Insert(size_t at, size_t size);
  void Erase(size_t block);

 private:
  void Rebuild();

  std::vector<uint32_t> sizes_;
  std::vector<uint32_t> tree_;  // node i (from 1) sums the sizes of blocks (i - lowbit(i), i]
};
