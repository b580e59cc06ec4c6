// A small data set over rows kept in memory: the cursor that the framework's
// tests drive. Rows survive Close, so a test can post, close, reopen and
// read back.
//
// Record buffer: for each column, in column order, a has-value byte and the
// field's native bytes (a blob column: the index of its value in the
// buffer's blob list); then the calculated-fields area; then the bookmark
// (Int32 row id) and the bookmark flag.
#pragma once

#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/DataSets.h"

struct TColumn {
  String name;
  TFieldType type;
  int size = 0;
  bool required = false;
};

class TMemoryDataSet : public TDataSet {
 public:
  explicit TMemoryDataSet(TComponent* owner = nullptr, std::vector<TColumn> columns = {})
      : TDataSet(owner), columns_(std::move(columns)) {}
  ~TMemoryDataSet() override {
    Destroying();
    Close();
  }

  // InternalOpen takes its cursor and then fails.
  bool FailOpen = false;
  bool ReadOnly = false;
  // Cursors taken and not yet given back.
  int CursorsHeld = 0;
  int RowCount() const { return int(rows_.size()); }
  // Takes a row out behind the data set's back, as another user might.
  void EraseRowBehindTheBack(int index) { rows_.erase(rows_.begin() + index); }

  // The source this data set follows, as a detail table would.
  TDataSource* MasterSource = nullptr;

  using TDataSet::ActiveRecord;
  using TDataSet::SetWindowSize;
  using TDataSet::WindowCount;

  // The records the filter lets through start again from the first.
  void SetFiltered(bool value) override {
    TDataSet::SetFiltered(value);
    if (Active()) First();
  }

  bool BookmarkValid(const TBookmark& bookmark) override {
    if (bookmark.size() != sizeof(int32_t)) return false;
    int32_t id;
    memcpy(&id, bookmark.data(), sizeof id);
    return IndexOfId(id) >= 0;
  }

  int CompareBookmarks(const TBookmark& a, const TBookmark& b) override {
    if (a.empty() || b.empty()) return TDataSet::CompareBookmarks(a, b);
    int32_t x, y;
    memcpy(&x, a.data(), sizeof x);
    memcpy(&y, b.data(), sizeof y);
    return (x > y) - (x < y);
  }

  bool GetFieldData(const TField* field, void* data) override {
    uint8_t* slot = Slot(field);
    if (!slot || !slot[0]) return false;
    if (data) memcpy(data, slot + 1, size_t(field->DataSize()));
    return true;
  }

  void SetFieldData(TField* field, const void* data) override {
    uint8_t* slot = Slot(field);
    if (!slot) return;
    slot[0] = data != nullptr;
    if (data)
      memcpy(slot + 1, data, size_t(field->DataSize()));
    else
      memset(slot + 1, 0, size_t(field->DataSize()));
    if (State() != dsCalcFields && State() != dsFilter) DataEvent(deFieldChange, reinterpret_cast<intptr_t>(field));
  }

  std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode) override {
    TRecordBuffer buffer = StateBuffer();
    String* value = buffer ? &buffers_.at(buffer)->blobs[size_t(blobIndex_[size_t(field->FieldNo() - 1)])] : nullptr;
    return std::make_unique<TBlobStream>(this, static_cast<TBlobField*>(field), value, mode);
  }

 protected:
  struct Buffer {
    std::vector<uint8_t> bytes;
    std::vector<String> blobs;
  };
  struct Row {
    int32_t id;
    std::vector<uint8_t> data;
    std::vector<String> blobs;
  };

  void InternalOpen() override {
    ++CursorsHeld;
    cursorHeld_ = true;
    if (FailOpen) DatabaseError("Cannot open the rows", this);
    InternalInitFieldDefs();
    if (DefaultFields()) CreateFields();
    BindFields(true);
    int offset = 0;
    int blobs = 0;
    offsets_.clear();
    blobIndex_.clear();
    for (const TColumn& column : columns_) {
      offsets_.push_back(offset);
      blobIndex_.push_back(IsBlobType(column.type) ? blobs++ : -1);
      offset += 1 + (IsBlobType(column.type) ? 0 : FieldDataSize(column.type, column.size));
    }
    dataSize_ = offset;
    blobCount_ = blobs;
    bookmarkOffset_ = dataSize_ + CalcFieldsSize();
    SetBookmarkSize(sizeof(int32_t));
    filterBuffer_ = AllocRecordBuffer();
    current_ = -1;
  }

  void InternalClose() override {
    FreeRecordBuffer(filterBuffer_);
    if (cursorHeld_) --CursorsHeld;
    cursorHeld_ = false;
    current_ = -1;
  }

  void InternalInitFieldDefs() override {
    FieldDefs().Clear();
    for (const TColumn& column : columns_) FieldDefs().Add(column.name, column.type, column.size, column.required);
  }

  bool IsCursorOpen() const override { return cursorHeld_ && !FailOpen; }
  void InternalFirst() override { current_ = -1; }
  void InternalLast() override { current_ = RowCount(); }

  TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) override {
    int i = std::clamp(current_, -1, RowCount());
    switch (mode) {
      case gmCurrent:
        if (i < 0 || i >= RowCount() || !Accepted(i)) {
          if (doCheck) DatabaseError("No current record", this);
          return grError;
        }
        break;
      case gmNext:
        do ++i;
        while (i < RowCount() && !Accepted(i));
        if (i >= RowCount()) {
          current_ = RowCount();
          return grEOF;
        }
        break;
      case gmPrior:
        do --i;
        while (i >= 0 && !Accepted(i));
        if (i < 0) {
          current_ = -1;
          return grBOF;
        }
        break;
    }
    current_ = i;
    ReadRow(i, buffer);
    SetBookmarkFlag(buffer, bfCurrent);
    SetBookmarkData(buffer, &rows_[size_t(i)].id);
    GetCalcFields(buffer);
    return grOK;
  }

  TRecordBuffer AllocRecordBuffer() override {
    auto buffer = std::make_unique<Buffer>();
    buffer->bytes.assign(size_t(bookmarkOffset_ + 5), 0);
    buffer->blobs.resize(size_t(blobCount_));
    TRecordBuffer data = buffer->bytes.data();
    buffers_[data] = std::move(buffer);
    return data;
  }

  void FreeRecordBuffer(TRecordBuffer& buffer) override {
    buffers_.erase(buffer);
    buffer = nullptr;
  }

  void InternalInitRecord(TRecordBuffer buffer) override {
    memset(buffer, 0, size_t(dataSize_));
    for (String& blob : buffers_.at(buffer)->blobs) blob.clear();
  }

  void ClearCalcFields(TRecordBuffer buffer) override { memset(buffer + dataSize_, 0, size_t(CalcFieldsSize())); }

  void GetBookmarkData(TRecordBuffer buffer, void* data) override {
    memcpy(data, buffer + bookmarkOffset_, sizeof(int32_t));
  }
  void SetBookmarkData(TRecordBuffer buffer, const void* data) override {
    memcpy(buffer + bookmarkOffset_, data, sizeof(int32_t));
  }
  TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) override {
    return TBookmarkFlag(buffer[bookmarkOffset_ + 4]);
  }
  void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) override { buffer[bookmarkOffset_ + 4] = flag; }

  void InternalGotoBookmark(const void* bookmark) override {
    int32_t id;
    memcpy(&id, bookmark, sizeof id);
    int index = IndexOfId(id);
    if (index < 0) DatabaseError("Record not found", this);
    current_ = index;
  }

  void InternalSetToRecord(TRecordBuffer buffer) override { InternalGotoBookmark(buffer + bookmarkOffset_); }

  void InternalAddRecord(TRecordBuffer buffer, bool append) override {
    Row row{nextId_++, {}, {}};
    WriteRow(row, buffer);
    int at = append ? RowCount() : std::clamp(current_, 0, RowCount());
    rows_.insert(rows_.begin() + at, std::move(row));
    current_ = at;
  }

  void InternalPost() override {
    if (State() == dsEdit)
      WriteRow(rows_[size_t(current_)], ActiveBuffer());
    else
      InternalAddRecord(ActiveBuffer(), GetBookmarkFlag(ActiveBuffer()) == bfEOF);
  }

  void InternalDelete() override {
    rows_.erase(rows_.begin() + current_);
    if (current_ >= RowCount()) current_ = RowCount() - 1;
  }

  int GetRecNo() override {
    UpdateCursorPos();
    if (IsEmpty() || current_ < 0 || current_ >= RowCount()) return 0;
    int number = 0;
    for (int i = 0; i <= current_; ++i) number += Accepted(i);
    return number;
  }

  int GetRecordCount() override {
    int count = 0;
    for (int i = 0; i < RowCount(); ++i) count += Accepted(i);
    return count;
  }

  bool GetCanModify() override { return !ReadOnly; }
  TDataSource* GetDataSource() override { return MasterSource; }

 private:
  // A blob value as a stream: a copy to read, written back at every write.
  class TBlobStream : public TMemoryStream {
   public:
    TBlobStream(TMemoryDataSet* dataSet, TBlobField* field, String* value, TBlobStreamMode mode)
        : dataSet_(dataSet), field_(field), value_(value), mode_(mode) {
      if (!value_) return;
      if (mode_ == bmWrite) {
        value_->clear();
        Changed();
      } else {
        TMemoryStream::Write(value_->data(), int64_t(value_->size()));
        SetPosition(0);
      }
    }
    int64_t Write(const void* buffer, int64_t count) override {
      int64_t written = TMemoryStream::Write(buffer, count);
      if (value_ && mode_ != bmRead) {
        value_->assign(reinterpret_cast<const char*>(Memory()), size_t(Size()));
        Changed();
      }
      return written;
    }

   private:
    void Changed() {
      field_->SetModified(true);
      dataSet_->DataEvent(deFieldChange, reinterpret_cast<intptr_t>(field_));
    }
    TMemoryDataSet* dataSet_;
    TBlobField* field_;
    String* value_;
    TBlobStreamMode mode_;
  };

  TRecordBuffer StateBuffer() const {
    switch (State()) {
      case dsBrowse: return IsEmpty() ? nullptr : ActiveBuffer();
      case dsEdit:
      case dsInsert: return ActiveBuffer();
      case dsCalcFields: return CalcBuffer();
      case dsFilter: return filterBuffer_;
      default: return nullptr;
    }
  }

  uint8_t* Slot(const TField* field) const {
    TRecordBuffer buffer = StateBuffer();
    if (!buffer) return nullptr;
    if (field->FieldNo() > 0) return buffer + offsets_[size_t(field->FieldNo() - 1)];
    return buffer + dataSize_ + field->Offset();
  }

  bool Accepted(int index) {
    if (!Filtered()) return true;
    ReadRow(index, filterBuffer_);
    TDataSetState saved = SetTempState(dsFilter);
    bool accept;
    try {
      accept = RecordAccepted();
    } catch (...) {
      RestoreState(saved);
      throw;
    }
    RestoreState(saved);
    return accept;
  }

  void ReadRow(int index, TRecordBuffer buffer) {
    const Row& row = rows_[size_t(index)];
    memcpy(buffer, row.data.data(), row.data.size());
    buffers_.at(buffer)->blobs = row.blobs;
  }

  void WriteRow(Row& row, TRecordBuffer buffer) {
    row.data.assign(buffer, buffer + dataSize_);
    row.blobs = buffers_.at(buffer)->blobs;
  }

  int IndexOfId(int32_t id) const {
    for (size_t i = 0; i < rows_.size(); ++i)
      if (rows_[i].id == id) return int(i);
    return -1;
  }

  std::vector<TColumn> columns_;
  std::vector<Row> rows_;
  std::map<TRecordBuffer, std::unique_ptr<Buffer>> buffers_;
  std::vector<int> offsets_;
  std::vector<int> blobIndex_;
  TRecordBuffer filterBuffer_ = nullptr;
  int dataSize_ = 0;
  int blobCount_ = 0;
  int bookmarkOffset_ = 0;
  int current_ = -1;
  int32_t nextId_ = 1;
  bool cursorHeld_ = false;
};
