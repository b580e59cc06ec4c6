// The data set base of the table database, between the platform's data-set
// framework and the table data set (TomeDBTable.h).
//
// TTMBDataSet ties a data set to a database by name within a session and
// opens and closes that database with the data set. TTMEDataSet owns the
// record buffer layout, field value transfer, bookmarks, record numbers,
// filtering through the filter language and the hand-over of the database
// password.
//
// Record buffer layout:
//   data fields   for each field with a field number > 0, in the order of
//                 the field list: a blob field holds a pointer to its
//                 TOptimBlobStream, any other field its DataSize bytes
//   calc fields   the framework's calculated-fields area (a has-value byte,
//                 then the value, for each calculated or lookup field)
//   bookmark      Int32 record number
//   flag          the framework's bookmark flag
#pragma once

#include <array>
#include <memory>
#include <span>
#include <vector>

#include "platform/DataSets.h"
#include "tabledb/TomeDBDatabase.h"
#include "tabledb/TomeDBExprParser.h"

class TTomeSession;
class TOptimBlobStream;

class TTMBDataSet : public TDataSet {
 public:
  // With a TTomeDatabase as owner, the database's names are copied.
  explicit TTMBDataSet(TComponent* owner);
  const char* ClassName() const override { return "TTMBDataSet"; }

  const String& DatabaseName() const { return databaseName_; }
  // The data set must be closed; "Cannot perform this operation on an open
  // database" while a database is still attached.
  virtual void SetDatabaseName(const String& value);
  const String& SessionName() const { return sessionName_; }
  void SetSessionName(const String& value);
  // Closes the data set; its database calls it when it closes.
  virtual void Disconnect() { Close(); }

  TTomeDatabase* Database() const { return database_; }
  // The attached database's session, else the one named SessionName, else
  // the default session.
  TTomeSession* DBSession() const;

 protected:
  // The session's database named DatabaseName, connected (created as a
  // temporary database when there is none).
  TTomeDatabase* OpenDatabase(bool addReference);
  void OpenCursor(bool infoQuery) override;
  void CloseCursor() override;

 private:
  // Lets go of the attached database: out of its list, reference released.
  void ReleaseDatabase();

  String databaseName_;
  TTomeDatabase* database_ = nullptr;
  String sessionName_;
};

class TTMEDataSet : public TTMBDataSet {
 public:
  explicit TTMEDataSet(TComponent* owner);
  ~TTMEDataSet() override;
  const char* ClassName() const override { return "TTMEDataSet"; }

  String About;

  TTomeDBMediumType MediumType() const { return mediumType_; }
  void SetMediumType(TTomeDBMediumType value);
  // Connects the database (a temporary one when needed) and hands it the
  // password, which it checks at once. Meant for BeforeOpen.
  void SetDatabasePassword(const String& password);
  // Reads one stored value through the attached database's file; field,
  // when given, is named by the error of a value that does not decode.
  void LoadBlob(TMemoryStream& target, int64_t position, bool compressed, bool encrypted, bool isBlob,
                int32_t width, const TField* field = nullptr);

  // The buffer that field access uses in the current state; false when
  // there is none.
  virtual bool GetActiveRecordBuffer(TRecordBuffer& buffer);
  // Where a data field's value lies in a record buffer; -1 for others.
  int FieldOffset(const TField* field) const;

  bool GetFieldData(const TField* field, void* buffer) override;
  void SetFieldData(TField* field, const void* buffer) override;
  void DataConvert(const TField* field, const void* source, void* dest, bool toNative) override;
  std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode) override;
  bool BookmarkValid(const TBookmark& bookmark) override { return IsCursorOpen(); }
  void SetRecNo(int value) override;
  void SetFiltered(bool value) override;
  void SetFilterOptions(TFilterOptions options) override;

  // The blob stream of a blob field in a record buffer.
  TOptimBlobStream* BlobAt(TRecordBuffer buffer, const TField* field) const;

 protected:
  virtual void ActivateFilters() {}
  virtual void DeactivateFilters() {}
  virtual void ReadRecordData(TRecordBuffer buffer, int recordIndex) {}
  // The stored table the data set reads, for messages.
  virtual String StoredTableName() const { return String(); }

  // The layout of the open data set's fields, and the key and filter
  // buffers; called once the fields are bound.
  void InitBufferLayout();
  void FreeKeyBuffers();
  // Accepted by OnFilterRecord and the filter text, on the filter buffer.
  bool RecordFilter();
  // Parses a non-empty filter text.
  void ParseFilter();
  // Around a scan that reads record after record into the filter buffer
  // and asks RecordFilter of each.
  void BeginFilterScan();
  void EndFilterScan();
  // Which table fields (by field number - 1) RecordFilter reads: those the
  // parsed filter names, or every one when OnFilterRecord decides too.
  std::vector<bool> FieldsFilterReads(int tableFieldCount);

  TRecordBuffer AllocRecordBuffer() override;
  void FreeRecordBuffer(TRecordBuffer& buffer) override;
  void InternalInitRecord(TRecordBuffer buffer) override;
  void ClearCalcFields(TRecordBuffer buffer) override;
  int GetRecordSize() override { return dataSize_; }
  void GetBookmarkData(TRecordBuffer buffer, void* data) override;
  void SetBookmarkData(TRecordBuffer buffer, const void* data) override;
  TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) override;
  void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) override;
  void InternalSetToRecord(TRecordBuffer buffer) override;
  void InternalFirst() override { curRec_ = -1; }
  void InternalLast() override { curRec_ = GetRecordCount(); }
  int GetRecNo() override;
  int GetRecordCount() override { return 0; }
  bool GetCanModify() override { return canModify_; }
  bool IsCursorOpen() const override { return false; }
  void SetFilterText(const String& text) override;
  bool FindRecord(bool restart, bool goForward) override;
  void DoAfterOpen() override;
  // The empty value of a field's type, as a new record holds it.
  void WriteEmptyValue(const TField* field, uint8_t* target) const;

  int curRec_ = -1;  // position in the record list; -1: before the first
  int dataSize_ = 0;
  int recordBufferSize_ = 0;
  TIntegerAry fieldOffsets_;  // by field number - 1
  std::array<TRecordBuffer, 4> keyBuffers_{};
  TRecordBuffer activeKeyBuffer_ = nullptr;
  TRecordBuffer filterBuffer_ = nullptr;
  bool canModify_ = false;

 private:
  // The filter engine's view of the fields: a field's place in the field
  // list, its type, and its value in the buffer of the current state.
  class TFilterSource : public IFilterRecordSource {
   public:
    explicit TFilterSource(TTMEDataSet& dataSet) : dataSet_(dataSet) {}
    TFilterField FieldByName(const String& name) override;
    std::span<const uint8_t> FieldData(int fieldIndex) override;
    void FieldsData(std::span<const int> fieldIndexes, std::span<std::span<const uint8_t>> data) override;
    String FieldText(int fieldIndex) override;
    // The field list or the buffer layout changed.
    void ForgetLayout() { places_.clear(); }

   private:
    // Where a field's value lies in a record buffer, worked out on its
    // first use: a filter reads the same few fields of every record.
    struct TPlace {
      bool Known = false;
      int Offset = -1;
      int Size = 0;
    };
    // The field's bytes in a record buffer of the data set.
    std::span<const uint8_t> ValueIn(TRecordBuffer record, int fieldIndex);

    TTMEDataSet& dataSet_;
    std::vector<TPlace> places_;
  };

  // Stores a changed filter text or options and filters again.
  void ChangeFilter(const String& text, TFilterOptions options);

  TTomeDBMediumType mediumType_ = mtDisk;
  TFilterSource filterSource_{*this};
  std::unique_ptr<TFilterParser> filterParser_;
  TRecordBuffer ownFilterBuffer_ = nullptr;
};
