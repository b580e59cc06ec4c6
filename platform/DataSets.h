// The data-set framework: TDataSet, the abstract cursor over records that
// the table database and the installer use through its navigation, editing,
// bookmark, filter and search operations.
//
// A descendant supplies the cursor (the pure virtual operations below): it
// opens and closes its source, allocates record buffers of its own layout,
// fetches the current, next or prior record into a buffer, keeps a bookmark
// and a bookmark flag in each buffer, goes to a bookmark, and posts and
// deletes records. TDataSet keeps a window of record buffers around the
// active record, turns the public operations into cursor calls, keeps the
// state (dsBrowse, dsEdit, dsInsert...) and tells its data sources of every
// change.
//
// The window: buffers 0 .. WindowCount()-1 hold consecutive records, the
// active one at ActiveRecord(); one more buffer is kept spare to fetch into.
// The cursor of the descendant stands on one of the window's records (or
// nowhere known, after CursorPosChanged); UpdateCursorPos puts it back on the
// active record before any operation that uses it.
//
// Contract with a descendant:
// - GetRecord fills the buffer with the record, sets its bookmark and the
//   flag bfCurrent, and computes its calculated fields (GetCalcFields). It
//   returns grBOF/grEOF when the cursor runs off an end and grError when
//   there is no current record (raising instead when doCheck is set).
// - GetFieldData and SetFieldData work on the buffer of the current state:
//   ActiveBuffer() while browsing and editing, CalcBuffer() in dsCalcFields,
//   and buffers of its own in the states it enters itself (dsFilter,
//   dsSetKey). SetFieldData sends DataEvent(deFieldChange, field) unless the
//   state is dsCalcFields or dsFilter.
// - A descendant closes itself in its destructor (Destroying(); Close();):
//   once ~TDataSet runs, the overrides of the cursor are gone.
//
// The data set's failures are EDatabaseError with its name in front
// ("Config_tbl: Dataset not in edit or insert mode"); a text that does not
// convert to a field's type is EConvertError (Fields.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "Components.h"
#include "FieldDefs.h"
#include "Fields.h"
#include "Streams.h"
#include "Variant.h"

class TDataSource;

enum TDataSetState : uint8_t {
  dsInactive,
  dsBrowse,
  dsEdit,
  dsInsert,
  dsSetKey,
  dsCalcFields,
  dsFilter,
  dsNewValue,
  dsOldValue,
};

// What a data set tells its data sources. Info: the field for
// deFieldChange, the number of records the window moved for
// deDataSetScroll, the new connection state (1 or 0) for deConnectChange.
enum TDataEvent : uint8_t {
  deFieldChange,
  deRecordChange,
  deDataSetChange,
  deDataSetScroll,
  deLayoutChange,
  deUpdateRecord,
  deUpdateState,
  deCheckBrowseMode,
  dePropertyChange,
  deFieldListChange,
  deConnectChange,
};

enum TGetMode : uint8_t { gmCurrent, gmNext, gmPrior };
enum TGetResult : uint8_t { grOK, grBOF, grEOF, grError };
// Where a record buffer stands: on a record, before the first, after the
// last, or on a record being inserted (whose bookmark, if any, is the
// record it was inserted before).
enum TBookmarkFlag : uint8_t { bfCurrent, bfBOF, bfEOF, bfInserted };

enum TResyncModeFlag : uint8_t { rmExact = 1, rmCenter = 2 };
using TResyncMode = uint8_t;
enum TLocateOption : uint8_t { loCaseInsensitive = 1, loPartialKey = 2 };
using TLocateOptions = uint8_t;
enum TFilterOption : uint8_t { foCaseInsensitive = 1, foNoPartialCompare = 2 };
using TFilterOptions = uint8_t;
// The answer of an error event: raise the error, abort silently, or retry.
enum TDataAction : uint8_t { daFail, daAbort, daRetry };

using TRecordBuffer = uint8_t*;
// A bookmark's bytes (BookmarkSize of them); empty for "no bookmark".
using TBookmark = std::vector<uint8_t>;

using TDataSetNotifyEvent = std::function<void(TDataSet* dataSet)>;
using TDataSetErrorEvent = std::function<void(TDataSet* dataSet, EDatabaseError& error, TDataAction& action)>;
using TFilterRecordEvent = std::function<void(TDataSet* dataSet, bool& accept)>;

class TDataSet : public TComponent {
 public:
  explicit TDataSet(TComponent* owner);
  ~TDataSet() override;
  const char* ClassName() const override { return "TDataSet"; }

  // --- opening and closing -------------------------------------------------
  bool Active() const { return state_ != dsInactive; }
  // Opening: BeforeOpen, OpenCursor, then the browse state, AfterOpen and
  // AfterScroll. When opening fails the cursor is closed again and the
  // data set stays inactive. Closing drops an unposted edit.
  void SetActive(bool active);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return state_; }
  bool Modified() const { return modified_; }
  bool CanModify() { return GetCanModify(); }
  // True while the open data set's fields were made from its definitions.
  bool DefaultFields() const { return defaultFields_; }

  // --- fields ----------------------------------------------------------------
  TFieldDefs& FieldDefs() { return *fieldDefs_; }
  // Fills FieldDefs from the cursor; a closed data set opens its cursor
  // for the definitions only and closes it again.
  void InitFieldDefs();
  const TFields& Fields() const { return *fields_; }
  int FieldCount() const { return fields_->Count(); }
  TField* FindField(std::string_view name) const { return fields_->FindField(name); }
  TField* FieldByName(std::string_view name) const { return fields_->FieldByName(name); }
  // The fields of a list of names separated by ";".
  std::vector<TField*> GetFieldList(std::string_view names) const;
  // One field's Value, or a Variant array of the Values of several.
  Variant FieldValues(std::string_view names) const;
  // One value, or for several fields a Variant array with one per field.
  void SetFieldValues(std::string_view names, const Variant& values);
  bool AutoCalcFields() const { return autoCalcFields_; }
  void SetAutoCalcFields(bool value) { autoCalcFields_ = value; }

  // --- navigation --------------------------------------------------------------
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Moves the active record; returns how far it went (less at an end).
  int MoveBy(int distance);
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  bool IsEmpty() const { return activeRecord_ >= windowCount_; }
  // 1-based; -1 when the data set cannot tell.
  int RecNo() { return GetRecNo(); }
  virtual void SetRecNo(int value) {}
  // -1 when the data set cannot tell.
  int RecordCount() { return GetRecordCount(); }
  int RecordSize() { return GetRecordSize(); }

  // --- editing -------------------------------------------------------------------
  // Edits the active record; on an empty data set it starts an insert.
  void Edit();
  // A new record before the active one.
  void Insert();
  // A new record after the last one.
  void Append();
  virtual void Post();
  void Cancel();
  void Delete();
  // Posts a modified edit, cancels an unmodified one.
  void CheckBrowseMode();
  // Asks the data sources to hand their pending values to the fields.
  void UpdateRecord();
  void Refresh();
  // Reads the window again around the cursor's record. rmExact: that record
  // must exist (the cursor's own error, or "Record not found"); otherwise
  // a neighbour will do, or the data set shows empty. rmCenter: the record
  // goes to the middle of the window.
  void Resync(TResyncMode mode);

  // --- bookmarks -------------------------------------------------------------------
  // The active record's bookmark; empty when there is none.
  TBookmark GetBookmark();
  void GotoBookmark(const TBookmark& bookmark);
  virtual bool BookmarkValid(const TBookmark& bookmark) { return false; }
  // <0, 0 or >0; an empty bookmark sorts first. Bookmarks compare by their
  // bytes unless a descendant knows their order.
  virtual int CompareBookmarks(const TBookmark& a, const TBookmark& b);
  void FreeBookmark(TBookmark& bookmark) { bookmark.clear(); }

  // --- filtering and searching -------------------------------------------------------
  // The filter is applied by the descendant; TDataSet only keeps it.
  const String& Filter() const { return filterText_; }
  void SetFilter(const String& text) { SetFilterText(text); }
  bool Filtered() const { return filtered_; }
  virtual void SetFiltered(bool value) { filtered_ = value; }
  TFilterOptions FilterOptions() const { return filterOptions_; }
  virtual void SetFilterOptions(TFilterOptions options) { filterOptions_ = options; }
  // Moves to the first record, from the first, whose key fields (";"
  // separated) equal the key values: one value, or a Variant array with
  // one per field. loPartialKey matches a text field's beginning,
  // loCaseInsensitive ignores the case of texts. BeforeScroll, and
  // AfterScroll when found.
  virtual bool Locate(const String& keyFields, const Variant& keyValues, TLocateOptions options);
  // The result fields' values (FieldValues) of the first record whose key
  // fields equal the key values, or Null; the active record stays.
  virtual Variant Lookup(const String& keyFields, const Variant& keyValues, const String& resultFields);
  // Move to the first, last, next or prior record that the filter accepts
  // (FindRecord); false, staying put, when there is none.
  bool FindFirst() { return FindRecord(true, true); }
  bool FindLast() { return FindRecord(true, false); }
  bool FindNext() { return FindRecord(false, true); }
  bool FindPrior() { return FindRecord(false, false); }

  // --- data sources --------------------------------------------------------------------
  // While disabled, data sources hear nothing; EnableControls then tells
  // them once of the state change and of a changed data set.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ != 0; }
  virtual void DataEvent(TDataEvent event, intptr_t info);
  TDataSource* DataSource() { return GetDataSource(); }
  // True when the source's data set, or one it is linked to in turn through
  // its own DataSource, is this data set.
  bool IsLinkedTo(TDataSource* source);

  // --- field values, for the fields ------------------------------------------------------
  // The field's native value from the buffer of the current state; false
  // when null. A null buffer only asks whether there is a value.
  virtual bool GetFieldData(const TField* field, void* buffer) = 0;
  // Stores the native value (null: clears it).
  virtual void SetFieldData(TField* field, const void* buffer) = 0;
  // Date, time and date-time fields between TDateTime and their native form.
  virtual void DataConvert(const TField* field, const void* source, void* dest, bool toNative);
  // A stream over a blob field's value in the buffer of the current state.
  virtual std::unique_ptr<TStream> CreateBlobStream(TField* field, TBlobStreamMode mode);

  // --- events ----------------------------------------------------------------------------
  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
  TDataSetNotifyEvent BeforeRefresh, AfterRefresh;
  TDataSetNotifyEvent OnNewRecord, OnCalcFields;
  TFilterRecordEvent OnFilterRecord;
  // A database error of Post, Edit or Delete; the action decides.
  TDataSetErrorEvent OnPostError, OnEditError, OnDeleteError;

 protected:
  // --- the cursor, supplied by the descendant ------------------------------------------------
  // Opens the source; fills FieldDefs (InternalInitFieldDefs), creates the
  // fields when DefaultFields, binds them (BindFields) and sets
  // BookmarkSize.
  virtual void InternalOpen() = 0;
  // Must cope with a cursor that opened only in part. The fields are
  // unbound afterwards, and destroyed when DefaultFields.
  virtual void InternalClose() = 0;
  virtual void InternalInitFieldDefs() = 0;
  virtual bool IsCursorOpen() const = 0;
  // Before the first record, after the last.
  virtual void InternalFirst() = 0;
  virtual void InternalLast() = 0;
  virtual TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) = 0;
  virtual TRecordBuffer AllocRecordBuffer() = 0;
  // Frees the buffer and sets it to nullptr; leaves nullptr alone.
  virtual void FreeRecordBuffer(TRecordBuffer& buffer) = 0;
  // The empty values of a new record.
  virtual void InternalInitRecord(TRecordBuffer buffer) = 0;
  virtual void GetBookmarkData(TRecordBuffer buffer, void* data) = 0;
  virtual void SetBookmarkData(TRecordBuffer buffer, const void* data) = 0;
  virtual TBookmarkFlag GetBookmarkFlag(TRecordBuffer buffer) = 0;
  virtual void SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) = 0;
  virtual void InternalGotoBookmark(const void* bookmark) = 0;
  // Puts the cursor on the buffer's record.
  virtual void InternalSetToRecord(TRecordBuffer buffer) = 0;
  // Adds the buffer's record: at the end when append, else at the cursor.
  virtual void InternalAddRecord(TRecordBuffer buffer, bool append) = 0;
  // Writes the active buffer: the edited record in dsEdit, a new one in
  // dsInsert (the cursor stands where the record was inserted).
  virtual void InternalPost() = 0;
  // Deletes the cursor's record.
  virtual void InternalDelete() = 0;
  virtual void InternalEdit() {}
  virtual void InternalInsert() {}
  virtual void InternalCancel() {}
  virtual void InternalRefresh() {}
  // Runs inside a catch block when a streamed Active fails at design time;
  // here it raises the error again.
  virtual void InternalHandleException();
  virtual int GetRecNo() { return -1; }
  virtual int GetRecordCount() { return -1; }
  virtual int GetRecordSize() { return 0; }
  virtual bool GetCanModify() { return true; }
  virtual TDataSource* GetDataSource() { return nullptr; }
  virtual void SetFilterText(const String& text) { filterText_ = text; }
  // Walks from the first or last record (restart) or from the active
  // record's neighbour to the first that RecordAccepted accepts.
  virtual bool FindRecord(bool restart, bool goForward);
  virtual void ClearCalcFields(TRecordBuffer buffer) {}
  // infoQuery: only the field definitions are wanted (InternalInitFieldDefs);
  // otherwise InternalOpen, then the window's buffers.
  virtual void OpenCursor(bool infoQuery);
  virtual void CloseCursor();
  virtual void DoAfterOpen();
  void Loaded() override;

  // --- services for descendants -----------------------------------------------------------
  // Calls an event of this data set when it is assigned (Fire(BeforeScroll)).
  void Fire(const TDataSetNotifyEvent& event) {
    if (event) event(this);
  }
  // Changes the state and tells the data sources.
  void SetState(TDataSetState state);
  // Enters a state quietly (the data sources hear nothing until
  // RestoreState) and returns the state to restore.
  TDataSetState SetTempState(TDataSetState state);
  void RestoreState(TDataSetState state);
  // "Cannot perform this operation on a closed dataset" / "... on an open
  // dataset".
  void CheckActive() const;
  void CheckInactive() const;
  // Fields for every definition that has none; DestroyFields frees every
  // field of the list.
  void CreateFields();
  void DestroyFields();
  // Binding gives data fields the number of their definition (missing
  // definition: "Field '%s' not found"; other type or size: "Type mismatch
  // for field '%s', expecting: %s actual: %s", "Size mismatch for field
  // '%s', expecting: %d actual: %d") and calculated and lookup fields their
  // Offset in the calculated-fields area, whose size becomes
  // CalcFieldsSize.
  void BindFields(bool binding);
  // InternalInitRecord, cleared calculated fields, the flag bfInserted.
  void InitRecord(TRecordBuffer buffer);
  // Computes the calculated and lookup fields of the buffer in the
  // dsCalcFields state: lookup values, then OnCalcFields. CalcBuffer() is
  // the buffer from then on, also when there is nothing to calculate.
  void GetCalcFields(TRecordBuffer buffer);
  void SetModified(bool modified) { modified_ = modified; }
  // True when OnFilterRecord accepts the record of the current state's
  // buffer (every record when it is not assigned).
  bool RecordAccepted();
  // The cursor may no longer stand on the window's record it stood on.
  void CursorPosChanged() { currentRecord_ = -1; }
  // Puts the cursor on the active record.
  void UpdateCursorPos();
  void CheckCanModify();

  TRecordBuffer ActiveBuffer() const;
  TRecordBuffer CalcBuffer() const { return calcBuffer_; }
  int CalcFieldsSize() const { return calcFieldsSize_; }
  int BookmarkSize() const { return bookmarkSize_; }
  void SetBookmarkSize(int size) { bookmarkSize_ = size; }
  int ActiveRecord() const { return activeRecord_; }
  int WindowCount() const { return windowCount_; }
  int WindowSize() const { return windowSize_; }
  // How many records the window holds from the next open on (1 to 1024).
  void SetWindowSize(int size);

 private:
  friend class TField;
  friend class TDataSource;

  void DoInternalOpen();
  void FreeBuffers();
  void ClearBuffers();
  void ActivateBuffers();
  void MoveBuffer(int from, int to);
  void SetCurrentRecord(int index);
  bool GetNextRecord();
  bool GetPriorRecord();
  int GetNextRecords();
  int GetPriorRecords();
  bool BookmarkAvailable();
  void BeginInsertAppend();
  void EndInsertAppend();
  void CheckRequiredFields();
  void CheckOperation(const std::function<void()>& operation, const TDataSetErrorEvent& onError);
  void CalcLookupValue(TField* field);
  // Reads the records one by one into the active buffer until match()
  // accepts one; the cursor stays on it.
  bool ScanRecords(bool restart, bool forward, const std::function<bool()>& match);
  // Puts the window back as it was before ScanRecords.
  void RestoreActiveRecord(const TBookmark& bookmark);
  // ScanRecords, then the window around the record found (BeforeScroll,
  // AfterScroll), or the window as it was.
  bool MoveToMatch(bool restart, bool forward, const std::function<bool()>& match);
  // GetFieldList, refusing an empty list ("Field '' not found").
  std::vector<TField*> KeyFieldList(std::string_view names) const;
  // The values for count fields: the value itself or an array's first
  // element for one field, an array's elements for several.
  std::vector<Variant> ValueList(const Variant& values, size_t count) const;
  void AddDataSource(TDataSource* source);
  void RemoveDataSource(TDataSource* source);
  void AddField(TField* field);
  void RemoveField(TField* field);

  TDataSetState state_ = dsInactive;
  std::unique_ptr<TFieldDefs> fieldDefs_;
  std::unique_ptr<TFields> fields_;
  std::vector<TDataSource*> dataSources_;

  // The window: windowSize_ + 1 buffers while open, the last one spare.
  std::vector<TRecordBuffer> buffers_;
  int windowSize_ = 1;
  int windowCount_ = 0;
  int activeRecord_ = 0;
  int currentRecord_ = -1;
  bool bof_ = true;
  bool eof_ = true;
  TRecordBuffer calcBuffer_ = nullptr;
  int calcFieldsSize_ = 0;
  int bookmarkSize_ = 0;

  bool modified_ = false;
  bool defaultFields_ = false;
  bool streamedActive_ = false;
  bool autoCalcFields_ = true;
  bool filtered_ = false;
  String filterText_;
  TFilterOptions filterOptions_ = 0;

  int disableCount_ = 0;
  TDataSetState disableState_ = dsInactive;
  TDataEvent enableEvent_ = deDataSetChange;
};
