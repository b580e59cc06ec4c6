// The Fenwick tree of block sizes.
#include "tabledb/TomeDBFileBlockSizes.h"

#include <bit>

namespace {

size_t LowBit(size_t node) { return node & (~node + 1); }

}  // namespace

void TBlockSizes::clear() {
  sizes_.clear();
  tree_.clear();
}

size_t TBlockSizes::Start(size_t block) const {
  size_t start = 0;
  for (size_t node = block; node > 0; node -= LowBit(node)) start += tree_[node - 1];
  return start;
}

size_t TBlockSizes::Find(size_t position, size_t& start) const {
  // Down the tree: the most blocks whose sizes sum to at most position; the
  // block after them holds it.
  size_t blocks = 0;
  start = 0;
  for (size_t step = std::bit_floor(tree_.size()); step > 0; step /= 2)
    if (blocks + step <= tree_.size() && start + tree_[blocks + step - 1] <= position) {
      blocks += step;
      start += tree_[blocks - 1];
    }
  return blocks;
}

void TBlockSizes::Add(size_t block, std::ptrdiff_t delta) {
  sizes_[block] = uint32_t(sizes_[block] + delta);
  for (size_t node = block + 1; node <= tree_.size(); node += LowBit(node))
    tree_[node - 1] = uint32_t(tree_[node - 1] + delta);
}

void TBlockSizes::Insert(size_t at, size_t size) {
  if (at < sizes_.size()) {
    sizes_.insert(sizes_.begin() + std::ptrdiff_t(at), uint32_t(size));
    Rebuild();
    return;
  }
  // A new last node sums its own size and the blocks before it that its
  // range covers; no node before it covers it.
  sizes_.push_back(uint32_t(size));
  const size_t node = sizes_.size();
  tree_.push_back(uint32_t(size + Start(node - 1) - Start(node - LowBit(node))));
}

void TBlockSizes::Erase(size_t block) {
  sizes_.erase(sizes_.begin() + std::ptrdiff_t(block));
  if (block == sizes_.size())
    tree_.pop_back();
  else
    Rebuild();
}

void TBlockSizes::Rebuild() {
  tree_.assign(sizes_.begin(), sizes_.end());
  for (size_t node = 1; node <= tree_.size(); ++node) {
    const size_t parent = node + LowBit(node);
    if (parent <= tree_.size()) tree_[parent - 1] += tree_[node - 1];
  }
}
