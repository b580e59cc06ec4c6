// The data set base: database attachment, record buffers, field values,
// bookmarks, record numbers and filtering.
#include "tabledb/TomeDBData.h"

#include <cstring>

#include "tabledb/TomeDBBlob.h"
#include "tabledb/TomeDBSession.h"

// --- TTMBDataSet ---------------------------------------------------------------------------------

TTMBDataSet::TTMBDataSet(TComponent* owner) : TDataSet(owner) {
  if (auto* database = dynamic_cast<TTomeDatabase*>(owner)) {
    databaseName_ = database->DatabaseName();
    sessionName_ = database->SessionName();
  }
}

void TTMBDataSet::SetDatabaseName(const String& value) {
  if (IsLoading()) {
    databaseName_ = value;
    return;
  }
  if (value == databaseName_) return;
  CheckInactive();
  if (database_) DatabaseError("Cannot perform this operation on an open database", this);
  databaseName_ = value;
  DataEvent(dePropertyChange, 0);
}

void TTMBDataSet::SetSessionName(const String& value) {
  CheckInactive();
  sessionName_ = value;
  DataEvent(dePropertyChange, 0);
}

TTomeSession* TTMBDataSet::DBSession() const {
  if (database_ && database_->Session()) return database_->Session();
  if (TTomeSession* session = Sessions().FindSession(sessionName_)) return session;
  return Session();
}

TTomeDatabase* TTMBDataSet::OpenDatabase(bool addReference) {
  TTomeSession* session = Sessions().SessionByName(sessionName_);
  return session->OpenDatabase(databaseName_, Owner(), addReference, dynamic_cast<TTMEDataSet*>(this));
}

void TTMBDataSet::OpenCursor(bool infoQuery) {
  // A database component that was read into the default session before its
  // own session existed moves there now.
  if (!sessionName_.empty() && !databaseName_.empty()) {
    TTomeSession* named = Sessions().FindSession(sessionName_);
    if (named && !named->FindDatabase(databaseName_))
      if (TTomeDatabase* database = Session()->FindDatabase(databaseName_)) database->ValidateSession(true);
  }
  database_ = OpenDatabase(true);
  database_->AddDataSet(this);
  database_->CheckSessionAccess();
  TDataSet::OpenCursor(infoQuery);
}

void TTMBDataSet::CloseCursor() {
  try {
    TDataSet::CloseCursor();
  } catch (...) {
    ReleaseDatabase();
    throw;
  }
  ReleaseDatabase();
}

void TTMBDataSet::ReleaseDatabase() {
  TTomeDatabase* database = std::exchange(database_, nullptr);
  if (!database) return;
  database->RemoveDataSet(this);
  if (database->Session())
    database->Session()->CloseDatabase(database);
  else
    database->ReleaseReference();
}

// --- TTMEDataSet: set-up ------------------------------------------------------------------------------

TTMEDataSet::TTMEDataSet(TComponent* owner)
    : TTMBDataSet(owner), filterParser_(std::make_unique<TFilterParser>(filterSource_)) {}

TTMEDataSet::~TTMEDataSet() = default;

void TTMEDataSet::SetMediumType(TTomeDBMediumType value) {
  if (value == mediumType_) return;
  CheckInactive();
  mediumType_ = value;
  if (TTomeDatabase* database = DBSession()->FindDatabase(DatabaseName())) database->SetMediumType(value);
}

void TTMEDataSet::SetDatabasePassword(const String& password) { OpenDatabase(false)->SetPassword(password); }

void TTMEDataSet::LoadBlob(TMemoryStream& target, int64_t position, bool compressed, bool encrypted, bool isBlob,
                           int32_t width, const TField* field) {
  if (!Database() || !Database()->FileIO())
    DatabaseError("Cannot perform this operation on a closed database", this);
  Database()->FileIO()->ReadFieldValue(target, position, compressed, encrypted, isBlob, width,
                                       field ? field->FieldName() : String(), StoredTableName());
}

void TTMEDataSet::InitBufferLayout() {
  filterSource_.ForgetLayout();
  int largestNo = 0;
  for (TField* field : Fields()) largestNo = std::max(largestNo, field->FieldNo());
  fieldOffsets_.assign(size_t(largestNo), -1);
  dataSize_ = 0;
  for (TField* field : Fields()) {
    if (field->FieldNo() <= 0) continue;
    fieldOffsets_[size_t(field->FieldNo() - 1)] = dataSize_;
    dataSize_ += field->IsBlob() ? int(sizeof(TOptimBlobStream*)) : field->DataSize();
  }
  recordBufferSize_ = dataSize_ + CalcFieldsSize() + 5;
  try {
    for (TRecordBuffer& buffer : keyBuffers_) {
      buffer = AllocRecordBuffer();
      InternalInitRecord(buffer);
    }
    ownFilterBuffer_ = AllocRecordBuffer();
  } catch (...) {
    FreeKeyBuffers();
    throw;
  }
  filterBuffer_ = ownFilterBuffer_;
  activeKeyBuffer_ = keyBuffers_[0];
}

void TTMEDataSet::FreeKeyBuffers() {
  filterSource_.ForgetLayout();
  for (TRecordBuffer& buffer : keyBuffers_) FreeRecordBuffer(buffer);
  FreeRecordBuffer(ownFilterBuffer_);
  activeKeyBuffer_ = nullptr;
  filterBuffer_ = nullptr;
}

// --- record buffers ------------------------------------------------------------------------------------

TRecordBuffer TTMEDataSet::AllocRecordBuffer() {
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[size_t(recordBufferSize_)]());
  for (TField* field : Fields()) {
    if (field->FieldNo() <= 0 || !field->IsBlob()) continue;
    auto* stream = new TOptimBlobStream(this, field);
    std::memcpy(buffer.get() + FieldOffset(field), &stream, sizeof stream);
  }
  return buffer.release();
}

void TTMEDataSet::FreeRecordBuffer(TRecordBuffer& buffer) {
  if (!buffer) return;
  std::unique_ptr<uint8_t[]> owned(std::exchange(buffer, nullptr));
  for (TField* field : Fields())
    if (field->FieldNo() > 0 && field->IsBlob()) std::unique_ptr<TOptimBlobStream>(BlobAt(owned.get(), field));
}

TOptimBlobStream* TTMEDataSet::BlobAt(TRecordBuffer buffer, const TField* field) const {
  TOptimBlobStream* stream = nullptr;
  const int offset = FieldOffset(field);
  if (offset >= 0) std::memcpy(&stream, buffer + offset, sizeof stream);
  return stream;
}

int TTMEDataSet::FieldOffset(const TField* field) const {
  const int no = field->FieldNo();
  return no > 0 && no <= int(fieldOffsets_.size()) ? fieldOffsets_[size_t(no - 1)] : -1;
}

void TTMEDataSet::WriteEmptyValue(const TField* field, uint8_t* target) const {
  std::memset(target, 0, size_t(field->DataSize()));
  if (field->DataType() == ftDate) {
    const int32_t day = DateDelta;
    std::memcpy(target, &day, sizeof day);
  } else if (field->DataType() == ftDateTime) {
    const double msecs = TimeStampToMSecs(TTimeStamp{0, DateDelta});
    std::memcpy(target, &msecs, sizeof msecs);
  }
}

void TTMEDataSet::InternalInitRecord(TRecordBuffer buffer) {
  ClearCalcFields(buffer);
  const TTimeStamp now = DateTimeToTimeStamp(Now());
  for (TField* field : Fields()) {
    const int offset = FieldOffset(field);
    if (offset < 0) continue;
    if (field->IsBlob()) {
      BlobAt(buffer, field)->Empty();
    } else if (field->DataType() == ftDate) {
      std::memcpy(buffer + offset, &now.Date, sizeof now.Date);
    } else if (field->DataType() == ftTime) {
      std::memcpy(buffer + offset, &now.Time, sizeof now.Time);
    } else {
      WriteEmptyValue(field, buffer + offset);
    }
  }
}

void TTMEDataSet::ClearCalcFields(TRecordBuffer buffer) {
  std::memset(buffer + dataSize_, 0, size_t(CalcFieldsSize()));
}

// --- field values --------------------------------------------------------------------------------------

bool TTMEDataSet::GetActiveRecordBuffer(TRecordBuffer& buffer) {
  switch (State()) {
    case dsBrowse: buffer = IsEmpty() ? nullptr : ActiveBuffer(); break;
    case dsEdit:
    case dsInsert:
    case dsNewValue: buffer = ActiveBuffer(); break;
    case dsSetKey: buffer = activeKeyBuffer_; break;
    case dsCalcFields: buffer = CalcBuffer(); break;
    case dsFilter: buffer = filterBuffer_; break;
    default: buffer = nullptr; break;
  }
  return buffer != nullptr;
}

bool TTMEDataSet::GetFieldData(const TField* field, void* buffer) {
  TRecordBuffer record;
  if (!GetActiveRecordBuffer(record)) return false;
  if (field->FieldNo() <= 0) {
    const uint8_t* value = record + dataSize_ + field->Offset();
    if (value[0] && buffer) std::memcpy(buffer, value + 1, size_t(field->DataSize()));
    return value[0] != 0;
  }
  // Data fields are never null.
  if (!buffer) return true;
  if (field->IsBlob()) DatabaseError("General error", this);
  std::memcpy(buffer, record + FieldOffset(field), size_t(field->DataSize()));
  return true;
}

void TTMEDataSet::SetFieldData(TField* field, const void* buffer) {
  TRecordBuffer record;
  if (!GetActiveRecordBuffer(record)) return;
  if (field->FieldNo() <= 0) {
    uint8_t* value = record + dataSize_ + field->Offset();
    value[0] = buffer ? 1 : 0;
    if (buffer)
      std::memcpy(value + 1, buffer, size_t(field->DataSize()));
    else
      std::memset(value + 1, 0, size_t(field->DataSize()));
  } else {
    if (field->IsBlob()) DatabaseError("General error", this);
    // A data field cannot be null: clearing it stores its type's empty value.
    if (buffer)
      std::memcpy(record + FieldOffset(field), buffer, size_t(field->DataSize()));
    else
      WriteEmptyValue(field, record + FieldOffset(field));
  }
  if (State() != dsCalcFields && State() != dsFilter) DataEvent(deFieldChange, intptr_t(field));
}

void TTMEDataSet::DataConvert(const TField* field, const void* source, void* dest, bool toNative) {
  if (toNative) {
    TDataSet::DataConvert(field, source, dest, toNative);
    return;
  }
  try {
    TDataSet::DataConvert(field, source, dest, toNative);
  } catch (const EConvertError&) {
    // A stored value that is no valid time stamp reads as 1899-12-30.
    const TDateTime zero = 0;
    std::memcpy(dest, &zero, sizeof zero);
  }
}

std::unique_ptr<TStream> TTMEDataSet::CreateBlobStream(TField* field, TBlobStreamMode mode) {
  auto* blobField = dynamic_cast<TBlobField*>(field);
  if (!blobField) DatabaseError("General error", this);
  return std::make_unique<TTomeBlobStream>(blobField, mode);
}

// --- bookmarks and record numbers ----------------------------------------------------------------------

void TTMEDataSet::GetBookmarkData(TRecordBuffer buffer, void* data) {
  std::memcpy(data, buffer + dataSize_ + CalcFieldsSize(), 4);
}

void TTMEDataSet::SetBookmarkData(TRecordBuffer buffer, const void* data) {
  std::memcpy(buffer + dataSize_ + CalcFieldsSize(), data, 4);
}

TBookmarkFlag TTMEDataSet::GetBookmarkFlag(TRecordBuffer buffer) {
  return TBookmarkFlag(buffer[dataSize_ + CalcFieldsSize() + 4]);
}

void TTMEDataSet::SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) {
  buffer[dataSize_ + CalcFieldsSize() + 4] = uint8_t(flag);
}

void TTMEDataSet::InternalSetToRecord(TRecordBuffer buffer) {
  InternalGotoBookmark(buffer + dataSize_ + CalcFieldsSize());
}

int TTMEDataSet::GetRecNo() {
  UpdateCursorPos();
  if (curRec_ == -1 && GetRecordCount() > 0) return 1;
  return curRec_ + 1;
}

void TTMEDataSet::SetRecNo(int value) {
  CheckBrowseMode();
  // Record numbers start at 1: 0 would put the cursor before the first
  // record, where there is nothing to show.
  if (value < 1 || value > GetRecordCount() || value == GetRecNo()) return;
  Fire(BeforeScroll);
  curRec_ = value - 1;
  Resync(rmCenter);
  Fire(AfterScroll);
}

// --- filtering -------------------------------------------------------------------------------------------

TFilterField TTMEDataSet::TFilterSource::FieldByName(const String& name) {
  TField* field = dataSet_.TDataSet::FieldByName(name);
  return TFilterField{dataSet_.Fields().IndexOf(field), field->DataType(), field->IsBlob()};
}

std::span<const uint8_t> TTMEDataSet::TFilterSource::FieldData(int fieldIndex) {
  TRecordBuffer record;
  if (!dataSet_.GetActiveRecordBuffer(record)) return {};
  return ValueIn(record, fieldIndex);
}

void TTMEDataSet::TFilterSource::FieldsData(std::span<const int> fieldIndexes,
                                            std::span<std::span<const uint8_t>> data) {
  TRecordBuffer record;
  const bool active = dataSet_.GetActiveRecordBuffer(record);
  for (size_t k = 0; k < fieldIndexes.size(); ++k)
    data[k] = active ? ValueIn(record, fieldIndexes[k]) : std::span<const uint8_t>();
}

std::span<const uint8_t> TTMEDataSet::TFilterSource::ValueIn(TRecordBuffer record, int fieldIndex) {
  if (size_t(fieldIndex) >= places_.size()) places_.resize(size_t(fieldIndex) + 1);
  TPlace& place = places_[size_t(fieldIndex)];
  if (!place.Known) {
    const TField* field = dataSet_.Fields()[fieldIndex];
    place.Offset = field->FieldNo() > 0 ? dataSet_.FieldOffset(field) : dataSet_.dataSize_ + field->Offset() + 1;
    place.Size = field->DataSize();
    place.Known = true;
  }
  if (place.Offset < 0) return {};
  return {record + place.Offset, size_t(place.Size)};
}

String TTMEDataSet::TFilterSource::FieldText(int fieldIndex) { return dataSet_.Fields()[fieldIndex]->AsString(); }

void TTMEDataSet::ParseFilter() {
  if (!Filter().empty()) filterParser_->Parse(Filter());
}

void TTMEDataSet::BeginFilterScan() {
  if (!Filter().empty()) filterParser_->BeginScan();
}

void TTMEDataSet::EndFilterScan() { filterParser_->EndScan(); }

std::vector<bool> TTMEDataSet::FieldsFilterReads(int tableFieldCount) {
  std::vector<bool> reads(size_t(tableFieldCount), OnFilterRecord != nullptr);
  if (OnFilterRecord || Filter().empty()) return reads;
  for (const auto& node : filterParser_->Nodes().Nodes()) {
    if (node->Kind != nkField) continue;
    const int no = Fields()[node->FieldIndex]->FieldNo();
    if (no > 0 && no <= tableFieldCount) reads[size_t(no - 1)] = true;
  }
  return reads;
}

bool TTMEDataSet::RecordFilter() {
  bool accept = RecordAccepted();
  if (accept && !Filter().empty()) accept = filterParser_->Evaluate(FilterOptions());
  return accept;
}

void TTMEDataSet::ChangeFilter(const String& text, TFilterOptions options) {
  const String oldText = Filter();
  bool changed = false;
  if (Active()) {
    CheckBrowseMode();
    // A syntax error raises before anything changes.
    if (!text.empty()) filterParser_->Parse(text);
    changed = text != Filter() || options != FilterOptions();
  }
  TDataSet::SetFilterText(text);
  TDataSet::SetFilterOptions(options);
  if (!changed || !Filtered()) return;
  try {
    DeactivateFilters();
    ActivateFilters();
  } catch (...) {
    TDataSet::SetFilterText(oldText);
    throw;
  }
}

void TTMEDataSet::SetFilterText(const String& text) { ChangeFilter(text, FilterOptions()); }

void TTMEDataSet::SetFilterOptions(TFilterOptions options) { ChangeFilter(Filter(), options); }

void TTMEDataSet::SetFiltered(bool value) {
  if (!Active()) {
    TDataSet::SetFiltered(value);
    return;
  }
  CheckBrowseMode();
  if (value != Filtered()) {
    if (value)
      ActivateFilters();
    else
      DeactivateFilters();
    TDataSet::SetFiltered(value);
  }
  First();
}

void TTMEDataSet::DoAfterOpen() {
  if (Filtered()) ActivateFilters();
  TDataSet::DoAfterOpen();
}

bool TTMEDataSet::FindRecord(bool restart, bool goForward) {
  CheckBrowseMode();
  Fire(BeforeScroll);
  UpdateCursorPos();
  const int count = GetRecordCount();
  if (count == 0) return false;
  ParseFilter();
  const int saved = curRec_;
  const int step = goForward ? 1 : -1;
  int position = goForward ? (restart ? 0 : curRec_ + 1) : (restart ? count - 1 : curRec_ - 1);
  bool found = false;
  const TDataSetState state = SetTempState(dsFilter);
  try {
    for (; position >= 0 && position < count && !found; position += step) {
      curRec_ = position;
      ReadRecordData(filterBuffer_, position);
      found = RecordFilter();
    }
  } catch (...) {
    RestoreState(state);
    curRec_ = saved;
    throw;
  }
  RestoreState(state);
  if (!found) curRec_ = saved;
  Resync(rmExact | rmCenter);
  if (found) Fire(AfterScroll);
  return found;
}
