// The blocked position list.
#include "tabledb/TomeDBFilePositions.h"

#include <algorithm>
#include <stdexcept>

void TPositionList::const_iterator::Seek(size_t index) {
  index_ = index;
  const auto& blocks = list_->blocks_;
  if (blocks.empty()) {
    block_ = offset_ = 0;
  } else if (index >= list_->size_) {
    block_ = blocks.size() - 1;
    offset_ = blocks.back()->size() + (index - list_->size_);
  } else {
    size_t start;
    block_ = list_->BlockOf(index, start);
    offset_ = index - start;
  }
}

TPositionList::const_iterator& TPositionList::const_iterator::operator++() {
  ++index_;
  if (++offset_ == list_->blocks_[block_]->size() && block_ + 1 < list_->blocks_.size()) {
    ++block_;
    offset_ = 0;
  }
  return *this;
}

const TRecordPosition& TPositionList::operator[](size_t index) const {
  size_t start;
  const size_t block = BlockOf(index, start);
  return (*blocks_[block])[index - start];
}

const TRecordPosition& TPositionList::at(size_t index) const {
  if (index >= size_) throw std::out_of_range("TPositionList::at");
  return (*this)[index];
}

TPositionList::TBlock& TPositionList::OwnBlock(size_t block) {
  std::shared_ptr<TBlock>& items = blocks_[block];
  if (items.use_count() > 1) items = std::make_shared<TBlock>(*items);
  return *items;
}

void TPositionList::clear() {
  blocks_.clear();
  sizes_.clear();
  size_ = 0;
}

void TPositionList::PushBackNewBlock(const TRecordPosition& position) {
  // Lists built in order fill their blocks completely.
  if (blocks_.empty() || blocks_.back()->size() >= kMaxBlock) {
    blocks_.push_back(std::make_shared<TBlock>());
    blocks_.back()->reserve(kMaxBlock);
    sizes_.Insert(sizes_.size(), 0);
  }
  OwnBlock(blocks_.size() - 1).push_back(position);
  sizes_.Add(blocks_.size() - 1, 1);
  ++size_;
}

void TPositionList::append(const TRecordPosition* positions, size_t n) {
  while (n > 0) {
    if (blocks_.empty() || blocks_.back()->size() >= kMaxBlock) {
      blocks_.push_back(std::make_shared<TBlock>());
      blocks_.back()->reserve(kMaxBlock);
      sizes_.Insert(sizes_.size(), 0);
    }
    TBlock& block = OwnBlock(blocks_.size() - 1);
    const size_t take = std::min(n, kMaxBlock - block.size());
    block.insert(block.end(), positions, positions + take);
    sizes_.Add(blocks_.size() - 1, std::ptrdiff_t(take));
    size_ += take;
    positions += take;
    n -= take;
  }
}

void TPositionList::insert(const_iterator where, const TRecordPosition& position) {
  const size_t index = where.Index();
  if (index >= size_) {
    push_back(position);
    return;
  }
  size_t start;
  const size_t block = BlockOf(index, start);
  TBlock& items = OwnBlock(block);
  items.insert(items.begin() + std::ptrdiff_t(index - start), position);
  ++size_;
  sizes_.Add(block, 1);
  if (items.size() <= kMaxBlock) return;
  // A full block splits in two halves.
  const size_t half = items.size() / 2;
  auto upper = std::make_shared<TBlock>(items.begin() + std::ptrdiff_t(half), items.end());
  items.resize(half);
  sizes_.Add(block, -std::ptrdiff_t(upper->size()));
  sizes_.Insert(block + 1, upper->size());
  blocks_.insert(blocks_.begin() + std::ptrdiff_t(block) + 1, std::move(upper));
}

void TPositionList::erase(const_iterator where) {
  const size_t index = where.Index();
  size_t start;
  const size_t block = BlockOf(index, start);
  TBlock& items = OwnBlock(block);
  items.erase(items.begin() + std::ptrdiff_t(index - start));
  --size_;
  sizes_.Add(block, -1);
  if (!items.empty()) return;
  blocks_.erase(blocks_.begin() + std::ptrdiff_t(block));
  sizes_.Erase(block);
}

void TPositionList::assign(const_iterator first, const_iterator last) {
  TPositionList result;
  for (; first != last; ++first) result.push_back(*first);
  *this = std::move(result);
}
