// A read cache of a database file: copies of the file's bytes in aligned
// blocks, so that key searches and scans read memory instead of making a
// system call per value.
//
// The cache does not know when the file changes under it. Its owner fills
// and reads it only while it holds the file's byte lock and knows that
// nobody else wrote the bytes it reads since they were cached (a table
// checks its header, whose change counter every writer raises), and hands
// it every write of its own, which it copies into the cached blocks.
//
// A block holds the bytes that were in the file when it was read: the last
// block of the file may be shorter than a block, and bytes written past it
// later by someone else are simply not cached.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

class TTomeDBReadCache {
 public:
  // Small blocks: a key search in a large table probes far-apart records,
  // and each miss reads one block.
  static constexpr int64_t kBlockSize = 4096;
  // At most this many blocks (16 MiB) stay; a new one then takes the place
  // of an arbitrary one, so that the often probed blocks of a search are
  // mostly kept and a scan of a large table does not keep all of it.
  static constexpr size_t kMaxBlocks = 4096;

  // Reads up to count bytes at position into buffer and returns how many
  // it read (fewer at the end of the file).
  using TReadAt = std::function<int64_t(void* buffer, int64_t position, int64_t count)>;

  // Copies count bytes at position into buffer, reading missing blocks
  // through readAt; false (with buffer undefined) when the file ends first.
  bool Read(void* buffer, int64_t position, int64_t count, const TReadAt& readAt);
  // Our own write of count bytes at position: cached bytes take the new
  // values; a block that would get a gap drops out.
  void Write(const void* buffer, int64_t position, int64_t count);
  void Clear() { blocks_.clear(); }
  size_t BlockCount() const { return blocks_.size(); }

 private:
  // The block with bytes up to end (exclusive, inside the block), read or
  // read again as needed; nullptr when the file ends first.
  const std::vector<uint8_t>* Block(int64_t number, int64_t end, const TReadAt& readAt);

  std::unordered_map<int64_t, std::vector<uint8_t>> blocks_;
};
