// Field buffers: one record's values on their way between a data set and
// the storage layer, one item per table field in field-number order. An item
// never owns its value: the bytes or the blob stream belong to the data
// set's record buffer.
#pragma once

#include <memory>
#include <vector>

#include "platform/Streams.h"

// A blob value that a record read does not load: it is told where its
// stored value is and loads it when it is first read (the data set's blob
// stream). Read and Seek load a value that is not loaded yet. A modify
// leaves the stored value of one that was never loaded alone, since the
// stream does not hold it. Plain memory streams in field buffers are filled
// by the read at once.
class TTomeDeferredBlob : public TMemoryStream {
 public:
  // position: the file position of the value's blob descriptor.
  virtual void SetLoadInfo(int32_t position, bool encrypted, bool compressed) = 0;
  // True once the value was loaded or replaced.
  virtual bool IsLoaded() const = 0;
  // Loads the value unless it is loaded; the position stays.
  void Load() { Seek(0, soCurrent); }
};

class TFieldBufferItem {
 public:
  // value: the value's bytes, or for a blob kind the memory stream that
  // holds the plain value.
  TFieldBufferItem(void* value, uint8_t fieldType, int32_t fieldSize)
      : buffer_(value), fieldType_(fieldType), fieldSize_(fieldSize) {}

  // Field types 15 to 21, 30 and 31 keep their values apart from the record.
  static bool IsBlobType(uint8_t fieldType);
  bool IsBlob() const { return IsBlobType(fieldType_); }
  uint8_t FieldType() const { return fieldType_; }
  int32_t FieldSize() const { return fieldSize_; }
  // False for a table field that the data set does not have.
  bool Active() const { return active_; }
  void SetActive(bool active) { active_ = active; }

  TMemoryStream* Stream() const { return static_cast<TMemoryStream*>(buffer_); }
  // What key comparisons read: a blob's value (loaded first when it is a
  // deferred one), else the value bytes.
  const void* ValueRef() const;
  // The number of bytes at ValueRef.
  int64_t ValueSize() const;
  // The value as text (for messages); empty when it cannot be converted.
  String AsText() const;

 private:
  void* buffer_;
  uint8_t fieldType_;
  int32_t fieldSize_;
  bool active_ = true;
};

class TFieldBuffers {
 public:
  // For a blob kind, valueRef is where the record buffer holds the pointer
  // to the value's memory stream, and the item takes that stream.
  TFieldBufferItem& Add(void* valueRef, uint8_t fieldType, int32_t fieldSize);
  int Count() const { return int(items_.size()); }
  TFieldBufferItem& Items(int index) { return *items_.at(size_t(index)); }
  void Clear() { items_.clear(); }

 private:
  std::vector<std::unique_ptr<TFieldBufferItem>> items_;
};
