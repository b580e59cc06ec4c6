// The table data set: reads and writes one table of a database. It keeps
// its own record list, the order in which it presents records, copied from
// the shared lists of the table's storage object, and keeps that list in
// step through appends, modifies, deletes, index changes, filters, key
// ranges and master/detail links.
//
// The data set places a record it wrote by key (or, in natural order, by
// record number) in its own list: its list may be filtered, ranged or older
// than the storage object's, so a position in the storage object's list
// says nothing about its own.
#pragma once

#include <memory>

#include "platform/DataLinks.h"
#include "tabledb/TomeDBData.h"

class TTomeTable : public TTMEDataSet {
 public:
  explicit TTomeTable(TComponent* owner);
  ~TTomeTable() override;
  const char* ClassName() const override { return "TTomeTable"; }

  const String& TableName() const { return tableName_; }
  // The table must be closed.
  void SetTableName(const String& value);
  // Also clears TableName and IndexName.
  void SetDatabaseName(const String& value) override;
  const String& IndexName() const { return indexName_; }
  // An unknown or empty name selects the primary index, or natural order.
  void SetIndexName(const String& value);
  // The index the record list follows; -1 for natural order.
  int CurrentIndex() const { return currentIndex_; }
  TIndexDefs& IndexDefs() { return *indexDefs_; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }

  TDataSource* MasterSource() const { return masterLink_->DataSource(); }
  // "Circular datalinks are not allowed" when this data set already
  // follows the source.
  void SetMasterSource(TDataSource* source);
  const String& MasterFields() const { return masterLink_->FieldNames(); }
  void SetMasterFields(const String& value);
  bool RangeActive() const { return rangeActive_; }

  TOnProgressEvent OnFilterProgress;

  void Post() override;
  bool Locate(const String& keyFields, const Variant& keyValues, TLocateOptions options) override;
  Variant Lookup(const String& keyFields, const Variant& keyValues, const String& resultFields) override;

 protected:
  int GetRecordCount() override;
  bool GetCanModify() override;
  TDataSource* GetDataSource() override { return masterLink_->DataSource(); }
  void InternalOpen() override;
  void InternalClose() override;
  void InternalInitFieldDefs() override;
  bool IsCursorOpen() const override { return recordList_ != nullptr; }
  String StoredTableName() const override { return tableName_; }
  TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) override;
  void InternalGotoBookmark(const void* bookmark) override;
  void InternalAddRecord(TRecordBuffer buffer, bool append) override;
  void InternalPost() override;
  void InternalDelete() override;
  void InternalRefresh() override;
  void DoAfterOpen() override;
  void ActivateFilters() override;
  void DeactivateFilters() override;
  void ReadRecordData(TRecordBuffer buffer, int recordIndex) override;

 private:
  // The field buffers of a record buffer, one item per table field.
  void BuildFieldBuffers(TRecordBuffer buffer, TFieldBuffers& fields) const;
  // IndexName's index, else the primary one, else natural order; the record
  // list becomes that index's list.
  void SelectIndex();
  void ReloadRecordList();
  // Appends the record whose field buffers are fields (built on a record
  // buffer); returns its record number.
  int32_t AppendFields(TFieldBuffers& fields);
  void ModifyCurrent();
  // Puts the record where its key (the values in fields) belongs in the
  // record list and makes it the current record. storagePosition: where
  // the storage object put it in the current index's list, -1 unknown.
  void PlaceRecord(const TRecordPosition& record, TFieldBuffers& fields, int storagePosition);
  // The records beside the new one in the shared list are its neighbours
  // at the same position in ours.
  bool SameNeighbours(const TRecordPosition& record, int storagePosition) const;
  // The master range: the records whose leading index fields equal the
  // master's fields.
  void ApplyMasterRange();
  // Restricts list to the range between the range key buffers.
  void RestrictToRange(const TPositionList& list);
  void CancelRange();
  // The shared search of Locate and Lookup; the found record is in buffer.
  bool LocateRecord(const String& keyFields, const Variant& keyValues, TLocateOptions options, bool moveCursor,
                    TRecordBuffer buffer);
  int FindMatchingIndex(const std::vector<TField*>& fields, TLocateOptions options) const;
  int PositionOfRecord(int32_t recNo) const;

  String tableName_;
  std::unique_ptr<TIndexDefs> indexDefs_;
  String indexName_;
  int currentIndex_ = -1;
  std::unique_ptr<TPositionList> recordList_;
  bool rangeActive_ = false;
  int rangeFieldCount_ = 0;
  bool readOnly_ = false;
  std::unique_ptr<TMasterDataLink> masterLink_;
  TTomeTableIO* tableIO_ = nullptr;
  bool tableOpened_ = false;
  // The record a post just appended, for the read of it that follows at
  // once (see InternalPost); -1 when there is none.
  int32_t postedRecNo_ = -1;
  std::vector<uint8_t> postedData_;
};
