// The table data set: opening a table, its record list, reads and writes
// through the table's storage object, index selection, filters, master
// ranges, Locate and Lookup.
#include "tabledb/TomeDBTable.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "tabledb/TomeDBBlob.h"

namespace {

bool IsStringKeyType(uint8_t type) { return type == ftString || type == ftFixedChar || type == ftWideString; }

// Index options of the file as the framework's index options.
TIndexOptions FrameworkIndexOptions(TTDIndexOptions options) {
  TIndexOptions result = 0;
  if (options & IndexOptionBit(tiPrimary)) result |= ixPrimary;
  if (options & IndexOptionBit(tiUnique)) result |= ixUnique;
  if (options & IndexOptionBit(tiDescending)) result |= ixDescending;
  if (options & IndexOptionBit(tiCaseInsensitive)) result |= ixCaseInsensitive;
  return result;
}

}  // namespace

TTomeTable::TTomeTable(TComponent* owner)
    : TTMEDataSet(owner),
      indexDefs_(std::make_unique<TIndexDefs>(this)),
      masterLink_(std::make_unique<TMasterDataLink>(this)) {
  masterLink_->OnMasterChange = [this](TObject*) { ApplyMasterRange(); };
  masterLink_->OnMasterDisable = [this](TObject*) { CancelRange(); };
}

TTomeTable::~TTomeTable() {
  Destroying();
  Close();
}

// --- properties ---------------------------------------------------------------------------------------

void TTomeTable::SetTableName(const String& value) {
  if (value == tableName_) return;
  CheckInactive();
  tableName_ = value;
}

void TTomeTable::SetDatabaseName(const String& value) {
  TTMEDataSet::SetDatabaseName(value);
  tableName_.clear();
  indexName_.clear();
}

void TTomeTable::SetIndexName(const String& value) {
  indexName_ = value;
  if (value.empty()) currentIndex_ = -1;
  if (!Active()) return;
  CheckBrowseMode();
  SelectIndex();
  if (masterLink_->Active() && !masterLink_->Fields().empty()) ApplyMasterRange();
  // The new order keeps the filter in force.
  if (Filtered()) ActivateFilters();
  First();
}

void TTomeTable::SetMasterSource(TDataSource* source) {
  if (source && IsLinkedTo(source)) DatabaseError("Circular datalinks are not allowed", this);
  masterLink_->SetDataSource(source);
}

void TTomeTable::SetMasterFields(const String& value) {
  const String old = masterLink_->FieldNames();
  try {
    masterLink_->SetFieldNames(value);
  } catch (...) {
    masterLink_->SetFieldNames(old);
    throw;
  }
}

int TTomeTable::GetRecordCount() { return recordList_ ? int(recordList_->size()) : 0; }

bool TTomeTable::GetCanModify() {
  return canModify_ && !readOnly_ && Database() && !Database()->ReadOnly() && Database()->FileIO() &&
         !Database()->FileIO()->IsReadOnly();
}

// --- opening and closing --------------------------------------------------------------------------------

void TTomeTable::InternalOpen() {
  tableIO_ = Database() ? Database()->FindTableIO(tableName_) : nullptr;
  if (!tableIO_) DatabaseErrorFmt("Table '%s' not found", {tableName_}, this);
  tableIO_->Open();
  tableOpened_ = true;
  recordList_ = std::make_unique<TPositionList>();
  rangeActive_ = false;
  rangeFieldCount_ = 0;
  curRec_ = -1;
  SetBookmarkSize(4);
  canModify_ = true;
  InternalInitFieldDefs();
  if (DefaultFields()) CreateFields();
  BindFields(true);
  indexDefs_->Clear();
  const TTomeIndexDefs& indexes = tableIO_->IndexDefs();
  for (int j = 0; j < indexes.Count(); ++j) {
    const TTomeIndexDef* index = indexes.Items(j);
    String fields;
    for (int32_t f : index->FieldIdxes)
      fields += (fields.empty() ? "" : ",") + tableIO_->FieldDefs().Items(f)->Name();
    indexDefs_->Add(index->Name(), fields, FrameworkIndexOptions(index->Options));
  }
  SelectIndex();
  InitBufferLayout();
}

void TTomeTable::InternalClose() {
  postedRecNo_ = -1;
  if (tableOpened_) {
    tableOpened_ = false;
    tableIO_->Close();
  }
  tableIO_ = nullptr;
  recordList_.reset();
  FreeKeyBuffers();
  fieldOffsets_.clear();
  curRec_ = -1;
  canModify_ = false;
  rangeActive_ = false;
  rangeFieldCount_ = 0;
}

void TTomeTable::InternalInitFieldDefs() {
  TTomeTableIO* table = tableIO_;
  // A closed data set asked for its definitions loads the table for them.
  const bool loadHere = table == nullptr;
  if (loadHere) {
    table = Database() ? Database()->FindTableIO(tableName_) : nullptr;
    if (!table) DatabaseErrorFmt("Table '%s' not found", {tableName_}, this);
    table->Open();
  }
  FieldDefs().Clear();
  for (int f = 0; f < table->FieldDefs().Count(); ++f) {
    const TTomeFieldDef* def = table->FieldDefs().Items(f);
    const int size = IsStringKeyType(def->FieldType) || def->FieldType == ftGuid ? def->DataSize : 0;
    FieldDefs().Add(def->Name(), TFieldType(def->FieldType), size, false);
  }
  if (loadHere) table->Close();
}

void TTomeTable::DoAfterOpen() {
  if (masterLink_->Active() && !masterLink_->Fields().empty()) ApplyMasterRange();
  TTMEDataSet::DoAfterOpen();
}

// --- the record list ---------------------------------------------------------------------------------------

void TTomeTable::SelectIndex() {
  currentIndex_ = FindDefIndex(tableIO_->IndexDefs(), indexName_);
  if (currentIndex_ < 0) currentIndex_ = tableIO_->FindPrimaryIndex();
  ReloadRecordList();
}

void TTomeTable::ReloadRecordList() {
  *recordList_ = tableIO_->IndexList(currentIndex_ + 1);
  canModify_ = true;
}

int TTomeTable::PositionOfRecord(int32_t recNo) const {
  const TPositionList& list = *recordList_;
  if (curRec_ >= 0 && curRec_ < int(list.size()) && list[size_t(curRec_)].RecNo == recNo) return curRec_;
  if (currentIndex_ < 0) {
    // Natural order, filtered or not, stays sorted by record number.
    auto it = std::lower_bound(list.begin(), list.end(), recNo,
                               [](const TRecordPosition& p, int32_t n) { return p.RecNo < n; });
    return it != list.end() && it->RecNo == recNo ? int(it - list.begin()) : -1;
  }
  for (auto it = list.begin(); it != list.end(); ++it)
    if (it->RecNo == recNo) return int(it.Index());
  return -1;
}

void TTomeTable::BuildFieldBuffers(TRecordBuffer buffer, TFieldBuffers& fields) const {
  const TTomeFieldDefs& defs = tableIO_->FieldDefs();
  for (int f = 0; f < defs.Count(); ++f) {
    const TTomeFieldDef* def = defs.Items(f);
    const int32_t width = StoredFieldWidth(def->FieldType, def->DataSize);
    const int offset = f < int(fieldOffsets_.size()) ? fieldOffsets_[size_t(f)] : -1;
    if (offset >= 0) {
      fields.Add(buffer + offset, def->FieldType, width);
    } else {
      void* none = nullptr;
      fields.Add(&none, def->FieldType, width).SetActive(false);
    }
  }
}

TGetResult TTomeTable::GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) {
  const int count = GetRecordCount();
  if (count == 0) return grEOF;
  TGetResult result = grOK;
  switch (mode) {
    case gmCurrent:
      if (curRec_ < 0 || curRec_ >= count) result = grError;
      break;
    case gmNext:
      if (curRec_ < count - 1)
        ++curRec_;
      else
        result = grEOF;
      break;
    case gmPrior:
      if (curRec_ > 0)
        --curRec_;
      else
        result = grBOF;
      break;
  }
  if (result == grError && doCheck) DatabaseError("No records", this);
  if (result != grOK) return result;
  ReadRecordData(buffer, curRec_);
  SetBookmarkFlag(buffer, bfCurrent);
  SetBookmarkData(buffer, &(*recordList_)[size_t(curRec_)].RecNo);
  GetCalcFields(buffer);
  return grOK;
}

void TTomeTable::ReadRecordData(TRecordBuffer buffer, int recordIndex) {
  const int32_t posted = std::exchange(postedRecNo_, -1);
  if (!recordList_ || recordIndex < 0 || recordIndex >= int(recordList_->size())) return;
  if (posted >= 0 && (*recordList_)[size_t(recordIndex)].RecNo == posted) {
    std::memcpy(buffer, postedData_.data(), postedData_.size());
    return;
  }
  TFieldBuffers fields;
  BuildFieldBuffers(buffer, fields);
  tableIO_->ReadRecord(fields, *recordList_, recordIndex);
}

void TTomeTable::InternalGotoBookmark(const void* bookmark) {
  int32_t recNo;
  std::memcpy(&recNo, bookmark, sizeof recNo);
  const int position = PositionOfRecord(recNo);
  if (position < 0) DatabaseError("Bookmark not found", this);
  curRec_ = position;
}

// --- writing ------------------------------------------------------------------------------------------------

void TTomeTable::InternalAddRecord(TRecordBuffer buffer, bool append) {
  if (append) InternalLast();
  TFieldBuffers fields;
  BuildFieldBuffers(buffer, fields);
  AppendFields(fields);
}

// The framework reads the posted record back at once. An appended record
// is all ours: every field of it came from the buffer (which now also holds
// its number and its padded texts), so that read takes it from there
// rather than taking the file's lock again; it reads at a moment when the
// record could not yet have changed. Only that one read: any later one
// must see what others wrote since. Blob fields hold streams, not values,
// and an edited record may hold fields that others changed meanwhile:
// those are read from the file.
void TTomeTable::InternalPost() {
  postedRecNo_ = -1;
  if (State() == dsEdit) {
    ModifyCurrent();
    return;
  }
  TFieldBuffers fields;
  BuildFieldBuffers(ActiveBuffer(), fields);
  const int32_t recNo = AppendFields(fields);
  for (int f = 0; f < fields.Count(); ++f)
    if (fields.Items(f).Active() && fields.Items(f).IsBlob()) return;
  postedData_.assign(ActiveBuffer(), ActiveBuffer() + dataSize_);
  postedRecNo_ = recNo;
}

int32_t TTomeTable::AppendFields(TFieldBuffers& fields) {
  TRecordPosition added;
  int storagePosition = -1;
  tableIO_->AppendRecord(
      fields, false,
      [this, &added, &storagePosition](TObject*, int index, int position, const TRecordPosition& record) {
        if (index == -1) added = record;
        if (index == currentIndex_) storagePosition = position;
      },
      this);
  PlaceRecord(added, fields, storagePosition);
  return added.RecNo;
}

bool TTomeTable::SameNeighbours(const TRecordPosition& record, int storagePosition) const {
  if (currentIndex_ < 0 || storagePosition < 0) return false;
  const TPositionList& shared = tableIO_->IndexList(currentIndex_ + 1);
  const TPositionList& list = *recordList_;
  const size_t p = size_t(storagePosition);
  if (p >= shared.size() || shared[p].RecNo != record.RecNo || p > list.size()) return false;
  const bool before = p == 0 || list[p - 1].RecNo == shared[p - 1].RecNo;
  const bool after = p == list.size() || (p + 1 < shared.size() && list[p].RecNo == shared[p + 1].RecNo);
  return before && after;
}

void TTomeTable::PlaceRecord(const TRecordPosition& record, TFieldBuffers& fields, int storagePosition) {
  TPositionList& list = *recordList_;
  int position;
  if (currentIndex_ < 0) {
    position = int(std::upper_bound(list.begin(), list.end(), record.RecNo,
                                    [](int32_t n, const TRecordPosition& p) { return n < p.RecNo; }) -
                   list.begin());
  } else if (SameNeighbours(record, storagePosition)) {
    // The records around the new one in the shared list stand side by side
    // in ours: its key belongs between them here too.
    position = storagePosition;
  } else {
    int side;
    const int probe = tableIO_->SearchKey(fields, list, false, 0, side, currentIndex_);
    position = side == -2 ? 0 : side == -1 ? probe : probe + 1;
  }
  list.insert(list.begin() + position, record);
  curRec_ = position;
}

void TTomeTable::ModifyCurrent() {
  const int natural = tableIO_->NaturalPosition(*recordList_, curRec_);
  if (natural < 0) DatabaseError("Record not found", this);
  TFieldBuffers fields;
  BuildFieldBuffers(ActiveBuffer(), fields);
  bool moved = false;
  tableIO_->ModifyRecord(
      fields, natural, [this, &moved](TObject*, int index, int, int) { moved = moved || index == currentIndex_; },
      this, false);
  // A record that kept its place among the shared list's records keeps it
  // among ours, which are some of them in the same order.
  if (!moved) return;
  const TRecordPosition record = (*recordList_)[size_t(curRec_)];
  recordList_->erase(recordList_->begin() + curRec_);
  PlaceRecord(record, fields, -1);
}

void TTomeTable::InternalDelete() {
  const int natural = tableIO_->NaturalPosition(*recordList_, curRec_);
  if (natural < 0) DatabaseError("Record not found", this);
  tableIO_->DeleteRecord(natural, false);
  recordList_->erase(recordList_->begin() + curRec_);
  if (curRec_ >= int(recordList_->size())) --curRec_;
}

void TTomeTable::InternalRefresh() {
  ReloadRecordList();
  if (rangeActive_) RestrictToRange(TPositionList(*recordList_));
  if (Filtered()) ActivateFilters();
}

void TTomeTable::Post() {
  TTMEDataSet::Post();
  if (State() != dsSetKey) return;
  DataEvent(deCheckBrowseMode, 0);
  SetState(dsBrowse);
  DataEvent(deDataSetChange, 0);
}

// --- filters --------------------------------------------------------------------------------------------------

void TTomeTable::ActivateFilters() {
  const TDataSetState state = SetTempState(dsFilter);
  try {
    ParseFilter();
    TPositionList accepted;
    // One set of field buffers serves every record read into the filter
    // buffer; only the fields the filter reads are read.
    TFieldBuffers fields;
    BuildFieldBuffers(filterBuffer_, fields);
    const std::vector<bool> reads = FieldsFilterReads(fields.Count());
    for (int f = 0; f < fields.Count(); ++f)
      if (!reads[size_t(f)]) fields.Items(f).SetActive(false);
    const int count = int(recordList_->size());
    BeginFilterScan();
    tableIO_->ScanRecords(fields, *recordList_, [&](int i, const TRecordPosition& record) {
      curRec_ = i;
      if (RecordFilter()) accepted.push_back(record);
      if (OnFilterProgress) OnFilterProgress(this, int(int64_t(i) * 100 / count));
    });
    EndFilterScan();
    if (accepted.size() != recordList_->size()) *recordList_ = std::move(accepted);
  } catch (...) {
    EndFilterScan();
    RestoreState(state);
    curRec_ = -1;
    throw;
  }
  RestoreState(state);
  curRec_ = -1;
  First();
}

void TTomeTable::DeactivateFilters() {
  ReloadRecordList();
  // The master range stays in force without the filter.
  if (rangeActive_) RestrictToRange(TPositionList(*recordList_));
  curRec_ = -1;
  First();
  canModify_ = true;
}

// --- master range ------------------------------------------------------------------------------------------------

void TTomeTable::ApplyMasterRange() {
  if (!IsCursorOpen() || currentIndex_ < 0) return;
  if (Filtered()) SetFiltered(false);
  CheckBrowseMode();
  const std::vector<TField*>& masterFields = masterLink_->Fields();
  const TIntegerAry& keyFields = tableIO_->IndexDefs().Items(currentIndex_)->FieldIdxes;
  const size_t n = std::min(masterFields.size(), keyFields.size());
  for (TRecordBuffer keyBuffer : {keyBuffers_[1], keyBuffers_[2]}) {
    activeKeyBuffer_ = keyBuffer;
    const TDataSetState state = SetTempState(dsSetKey);
    try {
      InternalInitRecord(keyBuffer);
      for (size_t i = 0; i < n; ++i)
        for (TField* field : Fields())
          if (field->FieldNo() == keyFields[i] + 1) field->SetValue(masterFields[i]->Value());
    } catch (...) {
      RestoreState(state);
      activeKeyBuffer_ = keyBuffers_[0];
      throw;
    }
    RestoreState(state);
  }
  activeKeyBuffer_ = keyBuffers_[0];
  rangeFieldCount_ = int(n);
  RestrictToRange(tableIO_->IndexList(currentIndex_ + 1));
  First();
}

void TTomeTable::RestrictToRange(const TPositionList& list) {
  if (currentIndex_ < 0) DatabaseError("No index currently active", this);
  if (list.empty()) return;
  TFieldBuffers start, end;
  BuildFieldBuffers(keyBuffers_[1], start);
  BuildFieldBuffers(keyBuffers_[2], end);
  int side;
  int first = tableIO_->SearchKeyBound(start, list, true, rangeFieldCount_, side, true, currentIndex_);
  if (side == 1) ++first;
  int last = tableIO_->SearchKeyBound(end, list, true, rangeFieldCount_, side, false, currentIndex_);
  if (side == -1) --last;
  TPositionList range;
  if (last >= first) range.assign(list.begin() + first, list.begin() + last + 1);
  *recordList_ = std::move(range);
  rangeActive_ = true;
}

void TTomeTable::CancelRange() {
  if (!IsCursorOpen()) return;
  CheckBrowseMode();
  UpdateCursorPos();
  ReloadRecordList();
  rangeActive_ = false;
  rangeFieldCount_ = 0;
  First();
  if (Filtered()) ActivateFilters();
}

// --- Locate and Lookup ------------------------------------------------------------------------------------------

int TTomeTable::FindMatchingIndex(const std::vector<TField*>& fields, TLocateOptions options) const {
  const TTomeIndexDefs& indexes = tableIO_->IndexDefs();
  for (int j = 0; j < indexes.Count(); ++j) {
    const TTomeIndexDef* index = indexes.Items(j);
    if (index->FieldIdxes.size() != fields.size()) continue;
    bool match = true, hasString = false;
    for (size_t i = 0; i < fields.size() && match; ++i) {
      match = index->FieldIdxes[i] == fields[i]->FieldNo() - 1;
      hasString = hasString || IsStringKeyType(fields[i]->DataType());
    }
    if (!match) continue;
    const bool indexIgnoresCase = (index->Options & IndexOptionBit(tiCaseInsensitive)) != 0;
    if (hasString && indexIgnoresCase != ((options & loCaseInsensitive) != 0)) continue;
    return j;
  }
  return -1;
}

bool TTomeTable::LocateRecord(const String& keyFields, const Variant& keyValues, TLocateOptions options,
                              bool moveCursor, TRecordBuffer buffer) {
  CursorPosChanged();
  const std::vector<TField*> fields = GetFieldList(keyFields);
  if (fields.empty()) DatabaseErrorFmt("Field '%s' not found", {keyFields}, this);
  std::vector<Variant> values;
  if (fields.size() == 1) {
    values.push_back(VarIsArray(keyValues) ? VarArrayGet(keyValues, VarArrayLowBound(keyValues, 1)) : keyValues);
  } else {
    if (!VarIsArray(keyValues) ||
        size_t(VarArrayHighBound(keyValues, 1) - VarArrayLowBound(keyValues, 1) + 1) < fields.size())
      DatabaseErrorFmt("%d values are needed, one for each field", {int(fields.size())}, this);
    for (size_t i = 0; i < fields.size(); ++i)
      values.push_back(VarArrayGet(keyValues, VarArrayLowBound(keyValues, 1) + int32_t(i)));
  }
  const bool partial = (options & loPartialKey) != 0;
  const bool ignoreCase = (options & loCaseInsensitive) != 0;
  const TRecordBuffer savedFilterBuffer = std::exchange(filterBuffer_, buffer);
  const TDataSetState state = SetTempState(dsFilter);
  int found = -1;
  try {
    InternalInitRecord(buffer);
    for (size_t i = 0; i < fields.size(); ++i) fields[i]->SetValue(values[i]);
    TFieldBuffers key;
    BuildFieldBuffers(buffer, key);
    const TPositionList& list = *recordList_;
    if (const int index = FindMatchingIndex(fields, options); index >= 0) {
      int side;
      if (index == currentIndex_) {
        const int p = tableIO_->SearchKeyBound(key, list, partial, 0, side, true, index);
        if (side == 0) found = p;
      } else {
        const TPositionList& indexList = tableIO_->IndexList(index + 1);
        const int p = tableIO_->SearchKeyBound(key, indexList, partial, 0, side, true, index);
        if (side == 0) found = PositionOfRecord(indexList[size_t(p)].RecNo);
      }
    } else {
      TMemoryStream stored;
      for (size_t pos = 0; pos < list.size() && found < 0; ++pos) {
        bool all = true;
        for (size_t i = 0; i < fields.size() && all; ++i) {
          const int f = fields[i]->FieldNo() - 1;
          tableIO_->ReadFieldOfRecord(stored, list[pos].RecNo, f);
          const TFieldBufferItem& item = key.Items(f);
          const auto* keyBytes = static_cast<const uint8_t*>(item.ValueRef());
          all = tableIO_->CompareValues({keyBytes, size_t(item.ValueSize())},
                                        {stored.Memory(), size_t(stored.Size())}, partial, ignoreCase,
                                        fields[i]->DataType()) == 0;
        }
        if (all) found = int(pos);
      }
    }
    if (found >= 0) {
      ReadRecordData(buffer, found);
      if (moveCursor) curRec_ = found;
    }
  } catch (...) {
    RestoreState(state);
    filterBuffer_ = savedFilterBuffer;
    throw;
  }
  RestoreState(state);
  filterBuffer_ = savedFilterBuffer;
  return found >= 0;
}

namespace {

// Only data fields can be searched in the table; a calculated or lookup key
// field leaves the search to the framework.
bool AllDataFields(const std::vector<TField*>& fields) {
  return std::all_of(fields.begin(), fields.end(), [](const TField* f) { return f->FieldNo() > 0; });
}

}  // namespace

bool TTomeTable::Locate(const String& keyFields, const Variant& keyValues, TLocateOptions options) {
  CheckBrowseMode();
  if (!AllDataFields(GetFieldList(keyFields))) return TTMEDataSet::Locate(keyFields, keyValues, options);
  Fire(BeforeScroll);
  TRecordBuffer buffer = AllocRecordBuffer();
  bool found;
  try {
    found = LocateRecord(keyFields, keyValues, options, true, buffer);
  } catch (...) {
    FreeRecordBuffer(buffer);
    throw;
  }
  FreeRecordBuffer(buffer);
  if (found) {
    Resync(rmExact | rmCenter);
    Fire(AfterScroll);
  }
  return found;
}

Variant TTomeTable::Lookup(const String& keyFields, const Variant& keyValues, const String& resultFields) {
  CheckBrowseMode();
  if (!AllDataFields(GetFieldList(keyFields))) return TTMEDataSet::Lookup(keyFields, keyValues, resultFields);
  Variant result = Null();
  TRecordBuffer buffer = AllocRecordBuffer();
  try {
    if (LocateRecord(keyFields, keyValues, 0, false, buffer)) {
      GetCalcFields(buffer);
      const TDataSetState state = SetTempState(dsCalcFields);
      try {
        result = FieldValues(resultFields);
      } catch (...) {
        RestoreState(state);
        throw;
      }
      RestoreState(state);
    }
  } catch (...) {
    FreeRecordBuffer(buffer);
    throw;
  }
  FreeRecordBuffer(buffer);
  return result;
}
