// The record positions of one order of a table (natural order or one
// index's key order), as the storage object and the data sets hold them.
//
// The list is cut into blocks of at most kMaxBlock positions, whose sizes a
// TBlockSizes keeps. An insert or a removal moves at most one block's
// positions, so that appending keys in random order to a large index costs
// log2(blocks) steps and a small block's move per record instead of shifting
// half the list. Reading a position finds its block in the sizes; the
// iterators walk the blocks directly.
//
// Copies of a list share its blocks until one of them changes a block,
// which it then copies first: a data set takes its own copy of a table's
// order at open, and mostly reads it or replaces it by a filtered one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

#include "tabledb/TomeDBFileBlockSizes.h"

// Where a record is: its fixed part and its record number.
struct TRecordPosition {
  int32_t DataPos = 0;
  int32_t RecNo = 0;
};

class TPositionList {
 public:
  // A random-access iterator over the positions; it stays on its block
  // while it steps, and finds the block again after a jump.
  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = TRecordPosition;
    using difference_type = std::ptrdiff_t;
    using pointer = const TRecordPosition*;
    using reference = const TRecordPosition&;

    const_iterator() = default;
    reference operator*() const { return (*list_->blocks_[block_])[offset_]; }
    pointer operator->() const { return &**this; }
    reference operator[](difference_type n) const { return *(*this + n); }
    const_iterator& operator++();
    const_iterator& operator--() { return *this -= 1; }
    const_iterator operator++(int) {
      const_iterator old = *this;
      ++*this;
      return old;
    }
    const_iterator operator--(int) {
      const_iterator old = *this;
      --*this;
      return old;
    }
    const_iterator& operator+=(difference_type n) {
      Seek(index_ + size_t(n));
      return *this;
    }
    const_iterator& operator-=(difference_type n) { return *this += -n; }
    friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
    friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
    friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
      return difference_type(a.index_) - difference_type(b.index_);
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.index_ == b.index_; }
    friend auto operator<=>(const const_iterator& a, const const_iterator& b) { return a.index_ <=> b.index_; }
    // The position of the iterator in the list.
    size_t Index() const { return index_; }

   private:
    friend class TPositionList;
    const_iterator(const TPositionList* list, size_t index) : list_(list) { Seek(index); }
    void Seek(size_t index);

    const TPositionList* list_ = nullptr;
    size_t index_ = 0;
    size_t block_ = 0;
    size_t offset_ = 0;
  };
  using value_type = TRecordPosition;
  using iterator = const_iterator;

  TPositionList() = default;
  TPositionList(const_iterator first, const_iterator last) { assign(first, last); }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const TRecordPosition& operator[](size_t index) const;
  // std::out_of_range for an index past the end.
  const TRecordPosition& at(size_t index) const;
  const TRecordPosition& back() const { return blocks_.back()->back(); }
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, size_); }

  void clear();
  // Inline: opening a table pushes every record of an index in turn.
  void push_back(const TRecordPosition& position) {
    if (!blocks_.empty() && blocks_.back()->size() < kMaxBlock && blocks_.back().use_count() == 1) {
      blocks_.back()->push_back(position);
      sizes_.Add(blocks_.size() - 1, 1);  // one node: no later block to cover
      ++size_;
    } else {
      PushBackNewBlock(position);
    }
  }
  // Appends n positions at once: building a table's order from a run of
  // positions costs a copy per block rather than a check per position.
  void append(const TRecordPosition* positions, size_t n);
  // Inserts before the iterator's position (at the end for end()).
  void insert(const_iterator where, const TRecordPosition& position);
  void erase(const_iterator where);
  void assign(const_iterator first, const_iterator last);

 private:
  // Blocks split in two when they would grow past this many positions.
  static constexpr size_t kMaxBlock = 512;
  using TBlock = std::vector<TRecordPosition>;

  // push_back when the last block is full or shared.
  void PushBackNewBlock(const TRecordPosition& position);
  // The block holding index (index < size_), and its start.
  size_t BlockOf(size_t index, size_t& start) const { return sizes_.Find(index, start); }
  // The block, about to change: copied first when another list shares it.
  TBlock& OwnBlock(size_t block);

  std::vector<std::shared_ptr<TBlock>> blocks_;
  TBlockSizes sizes_;
  size_t size_ = 0;
};
