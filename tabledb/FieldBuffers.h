// Field buffers: one record's values on their way between a data set and
// the storage layer, one item per table field in field-number order. An item
// never owns its value: the bytes or the blob stream belong to the data
// set's record buffer.
#pragma once

#include <memory>
#include <vector>

#include "platform/Streams.h"

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
  // What key comparisons read: a blob's stream memory, else the value bytes.
  const void* ValueRef() const;
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
