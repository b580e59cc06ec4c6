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
    block_ = list_->BlockOf(index);
    offset_ = index - list_->starts_[block_];
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

size_t TPositionList::BlockOf(size_t index) const {
  return size_t(std::upper_bound(starts_.begin(), starts_.end(), index) - starts_.begin()) - 1;
}

const TRecordPosition& TPositionList::operator[](size_t index) const {
  const size_t block = BlockOf(index);
  return (*blocks_[block])[index - starts_[block]];
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
  starts_.clear();
  size_ = 0;
}

void TPositionList::ShiftStarts(size_t block, std::ptrdiff_t delta) {
  for (size_t b = block + 1; b < starts_.size(); ++b) starts_[b] += size_t(delta);
}

void TPositionList::PushBackNewBlock(const TRecordPosition& position) {
  // Lists built in order fill their blocks completely.
  if (blocks_.empty() || blocks_.back()->size() >= kMaxBlock) {
    blocks_.push_back(std::make_shared<TBlock>());
    blocks_.back()->reserve(kMaxBlock);
    starts_.push_back(size_);
  }
  OwnBlock(blocks_.size() - 1).push_back(position);
  ++size_;
}

void TPositionList::append(const TRecordPosition* positions, size_t n) {
  while (n > 0) {
    if (blocks_.empty() || blocks_.back()->size() >= kMaxBlock) {
      blocks_.push_back(std::make_shared<TBlock>());
      blocks_.back()->reserve(kMaxBlock);
      starts_.push_back(size_);
    }
    TBlock& block = OwnBlock(blocks_.size() - 1);
    const size_t take = std::min(n, kMaxBlock - block.size());
    block.insert(block.end(), positions, positions + take);
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
  const size_t block = BlockOf(index);
  TBlock& items = OwnBlock(block);
  items.insert(items.begin() + std::ptrdiff_t(index - starts_[block]), position);
  ++size_;
  ShiftStarts(block, 1);
  if (items.size() <= kMaxBlock) return;
  // A full block splits in two halves.
  const size_t half = items.size() / 2;
  auto upper = std::make_shared<TBlock>(items.begin() + std::ptrdiff_t(half), items.end());
  items.resize(half);
  const size_t upperStart = starts_[block] + half;
  blocks_.insert(blocks_.begin() + std::ptrdiff_t(block) + 1, std::move(upper));
  starts_.insert(starts_.begin() + std::ptrdiff_t(block) + 1, upperStart);
}

void TPositionList::erase(const_iterator where) {
  const size_t index = where.Index();
  const size_t block = BlockOf(index);
  TBlock& items = OwnBlock(block);
  items.erase(items.begin() + std::ptrdiff_t(index - starts_[block]));
  --size_;
  ShiftStarts(block, -1);
  if (!items.empty()) return;
  blocks_.erase(blocks_.begin() + std::ptrdiff_t(block));
  starts_.erase(starts_.begin() + std::ptrdiff_t(block));
}

void TPositionList::assign(const_iterator first, const_iterator last) {
  TPositionList result;
  for (; first != last; ++first) result.push_back(*first);
  *this = std::move(result);
}
