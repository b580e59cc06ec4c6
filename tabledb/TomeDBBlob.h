// The two blob streams through which the table data sets hand blob field
// values around.
//
// A TOptimBlobStream is the value that a record buffer holds for each blob
// field: a record read only tells it where the stored value lies, and it
// loads the value through its data set the first time it is read. A value
// that is written before it was ever read is never loaded, so a replaced
// value never comes back from the file.
//
// A TTomeBlobStream is what a blob field reads and writes: a working copy
// of the record buffer's value, copied back into it on every write.
#pragma once

#include "platform/Fields.h"
#include "tabledb/TomeDBFileTables.h"

class TTMEDataSet;

class TOptimBlobStream : public TTomeDeferredBlob {
 public:
  // field: the blob field whose values the stream holds, named by errors.
  explicit TOptimBlobStream(TTMEDataSet* dataSet, const TField* field = nullptr)
      : dataSet_(dataSet), field_(field) {}
  const char* ClassName() const override { return "TOptimBlobStream"; }

  // position 0: no stored value.
  void SetLoadInfo(int32_t position, bool encrypted, bool compressed) override;
  bool IsLoaded() const override { return loaded_; }

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Write(const void* buffer, int64_t count) override;
  void SetSize(int64_t newSize) override;
  // An empty value with nothing stored behind it (a new record's).
  void Empty();

 private:
  void LoadOnce();

  TTMEDataSet* dataSet_;
  const TField* field_;
  int32_t valuePosition_ = 0;
  bool encrypted_ = false;
  bool compressed_ = false;
  bool loaded_ = false;
};

class TTomeBlobStream : public TMemoryStream {
 public:
  // The field's data set must be a TTMEDataSet. Read modes copy the
  // record's value; write mode empties it at once.
  TTomeBlobStream(TBlobField* field, TBlobStreamMode mode);
  const char* ClassName() const override { return "TTomeBlobStream"; }

  int64_t Write(const void* buffer, int64_t count) override;
  bool Modified() const { return modified_; }

 private:
  // The record buffer's stream for the field; nullptr without a buffer.
  TOptimBlobStream* RecordValue() const;
  // Copies this stream's content into the record's value and tells the
  // field and its data set.
  void StoreValue();

  TBlobField* field_;
  TTMEDataSet* dataSet_;
  TBlobStreamMode mode_;
  bool modified_ = false;
};
