// TDataSet: states, the window of record buffers, navigation, editing and
// bookmarks. Searching lives in DataSetSearch.cpp.
#include "DataSets.h"

#include <algorithm>
#include <cstring>

#include "DataLinks.h"

namespace {

// A window larger than any display needs costs memory for nothing.
constexpr int MaxWindowSize = 1024;

}  // namespace

TDataSet::TDataSet(TComponent* owner)
    : TComponent(owner), fieldDefs_(std::make_unique<TFieldDefs>(this)), fields_(std::make_unique<TFields>(this)) {}

TDataSet::~TDataSet() {
  Destroying();
  while (!dataSources_.empty()) dataSources_.back()->SetDataSet(nullptr);
  // Fields owned elsewhere outlive us; the ones we own die below and must
  // not call back.
  for (TField* field : *fields_) field->dataSet_ = nullptr;
  fields_->list_.clear();
  DestroyComponents();
}

// --- opening and closing -----------------------------------------------------------------

void TDataSet::SetActive(bool active) {
  if (IsLoading()) {
    streamedActive_ = active;
    return;
  }
  if (active == Active()) return;
  if (!active) {
    if (!IsDestroying()) Fire(BeforeClose);
    SetState(dsInactive);
    CloseCursor();
    if (!IsDestroying()) Fire(AfterClose);
    return;
  }
  Fire(BeforeOpen);
  try {
    OpenCursor(false);
  } catch (...) {
    // Nothing of a failed open stays open. The first error is the one to
    // report, whatever closing the half-opened cursor says.
    try {
      CloseCursor();
    } catch (...) {
    }
    throw;
  }
  SetState(dsBrowse);
  DoAfterOpen();
  if (!IsEmpty()) Fire(AfterScroll);
}

void TDataSet::OpenCursor(bool infoQuery) {
  if (infoQuery)
    InternalInitFieldDefs();
  else
    DoInternalOpen();
}

void TDataSet::InitFieldDefs() {
  if (IsCursorOpen()) {
    InternalInitFieldDefs();
    return;
  }
  try {
    OpenCursor(true);
  } catch (...) {
    CloseCursor();
    throw;
  }
  CloseCursor();
}

void TDataSet::DoInternalOpen() {
  defaultFields_ = fields_->Count() == 0;
  InternalOpen();
  // The buffers take the record layout that InternalOpen settled.
  while (int(buffers_.size()) < windowSize_ + 1) buffers_.push_back(AllocRecordBuffer());
  ClearBuffers();
  GetNextRecords();
  bof_ = true;
}

void TDataSet::CloseCursor() {
  ClearBuffers();
  FreeBuffers();
  InternalClose();
  BindFields(false);
  if (defaultFields_) DestroyFields();
  defaultFields_ = false;
}

void TDataSet::FreeBuffers() {
  for (TRecordBuffer& buffer : buffers_) FreeRecordBuffer(buffer);
  buffers_.clear();
  calcBuffer_ = nullptr;
}

void TDataSet::DoAfterOpen() { Fire(AfterOpen); }

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (!streamedActive_) return;
  try {
    SetActive(true);
  } catch (...) {
    if (!IsDesigning()) throw;
    InternalHandleException();
  }
}

void TDataSet::InternalHandleException() { throw; }

// --- states --------------------------------------------------------------------------------

void TDataSet::SetState(TDataSetState state) {
  if (state == state_) return;
  state_ = state;
  modified_ = false;
  DataEvent(deUpdateState, 0);
}

TDataSetState TDataSet::SetTempState(TDataSetState state) {
  TDataSetState old = state_;
  state_ = state;
  ++disableCount_;
  return old;
}

void TDataSet::RestoreState(TDataSetState state) {
  state_ = state;
  if (disableCount_ > 0) --disableCount_;
}

void TDataSet::CheckActive() const {
  if (state_ == dsInactive) DatabaseError("Cannot perform this operation on a closed dataset", this);
}

void TDataSet::CheckInactive() const {
  if (state_ != dsInactive) DatabaseError("Cannot perform this operation on an open dataset", this);
}

void TDataSet::CheckCanModify() {
  if (!GetCanModify()) DatabaseError("Cannot modify a read-only dataset", this);
}

void TDataSet::SetWindowSize(int size) {
  CheckInactive();
  windowSize_ = std::clamp(size, 1, MaxWindowSize);
}

// --- fields --------------------------------------------------------------------------------

void TDataSet::AddField(TField* field) { fields_->Add(field); }

void TDataSet::RemoveField(TField* field) { fields_->Remove(field); }

void TDataSet::CreateFields() {
  for (int i = 0; i < fieldDefs_->Count(); ++i) {
    TFieldDef* def = fieldDefs_->Items(i);
    if (!FindField(def->Name())) def->CreateField(this);
  }
}

// The fields are components: freeing one takes it out of its owner and of
// this list.
void TDataSet::DestroyFields() {
  while (fields_->Count() > 0) delete fields_->list_.back();
}

void TDataSet::BindFields(bool binding) {
  calcFieldsSize_ = 0;
  for (TField* field : *fields_) {
    field->fieldNo_ = 0;
    field->offset_ = 0;
    if (!binding) continue;
    if (field->FieldKind() != fkData) {
      if (field->Lookup() && (!field->LookupDataSet() || field->KeyFields().empty() ||
                              field->LookupKeyFields().empty() || field->LookupResultField().empty()))
        DatabaseErrorFmt("Lookup information for field '%s' is incomplete", {field->FieldName()}, this);
      field->fieldNo_ = -1;
      field->offset_ = calcFieldsSize_;
      calcFieldsSize_ += field->DataSize() + 1;
      continue;
    }
    TFieldDef* def = fieldDefs_->Find(field->FieldName());
    if (def->DataType() != field->DataType())
      DatabaseErrorFmt("Type mismatch for field '%s', expecting: %s actual: %s",
                       {field->FieldName(), FieldTypeName(field->DataType()), FieldTypeName(def->DataType())}, this);
    // A record buffer laid out for one size must never be read with another.
    if (field->Size() != def->Size() && (field->DataType() == ftString || field->DataType() == ftFixedChar))
      DatabaseErrorFmt("Size mismatch for field '%s', expecting: %d actual: %d",
                       {field->FieldName(), field->Size(), def->Size()}, this);
    field->fieldNo_ = def->FieldNo();
  }
}

void TDataSet::InitRecord(TRecordBuffer buffer) {
  InternalInitRecord(buffer);
  ClearCalcFields(buffer);
  SetBookmarkFlag(buffer, bfInserted);
}

void TDataSet::GetCalcFields(TRecordBuffer buffer) {
  // CalcBuffer stays on this buffer afterwards: a caller may read the
  // record, calculated values included, in the dsCalcFields state.
  calcBuffer_ = buffer;
  if (calcFieldsSize_ == 0) return;
  TDataSetState saved = SetTempState(dsCalcFields);
  try {
    ClearCalcFields(buffer);
    for (TField* field : *fields_)
      if (field->Lookup()) CalcLookupValue(field);
    Fire(OnCalcFields);
  } catch (...) {
    RestoreState(saved);
    throw;
  }
  RestoreState(saved);
}

void TDataSet::CalcLookupValue(TField* field) {
  TDataSet* lookup = field->LookupDataSet();
  if (!lookup || !lookup->Active()) return;
  field->SetValue(lookup->Lookup(field->LookupKeyFields(), FieldValues(field->KeyFields()), field->LookupResultField()));
}

void TDataSet::DataConvert(const TField* field, const void* source, void* dest, bool toNative) {
  TFieldType type = field->DataType();
  if (type != ftDate && type != ftTime && type != ftDateTime) {
    memcpy(dest, source, size_t(field->DataSize()));
    return;
  }
  if (toNative) {
    TDateTime value;
    memcpy(&value, source, sizeof value);
    TTimeStamp stamp = DateTimeToTimeStamp(value);
    if (type == ftDate) {
      memcpy(dest, &stamp.Date, sizeof stamp.Date);
    } else if (type == ftTime) {
      memcpy(dest, &stamp.Time, sizeof stamp.Time);
    } else {
      double msecs = TimeStampToMSecs(stamp);
      memcpy(dest, &msecs, sizeof msecs);
    }
    return;
  }
  TTimeStamp stamp;
  if (type == ftDate) {
    memcpy(&stamp.Date, source, sizeof stamp.Date);
  } else if (type == ftTime) {
    stamp.Date = DateDelta;
    memcpy(&stamp.Time, source, sizeof stamp.Time);
  } else {
    double msecs;
    memcpy(&msecs, source, sizeof msecs);
    stamp = MSecsToTimeStamp(msecs);
  }
  TDateTime value = TimeStampToDateTime(stamp);
  memcpy(dest, &value, sizeof value);
}

std::unique_ptr<TStream> TDataSet::CreateBlobStream(TField* field, TBlobStreamMode) {
  DatabaseErrorFmt("Field '%s' has no blob storage in this dataset", {field->FieldName()}, this);
}

// --- the window -------------------------------------------------------------------------------

TRecordBuffer TDataSet::ActiveBuffer() const { return buffers_.empty() ? nullptr : buffers_[size_t(activeRecord_)]; }

void TDataSet::ClearBuffers() {
  windowCount_ = 0;
  activeRecord_ = 0;
  currentRecord_ = -1;
  bof_ = true;
  eof_ = true;
}

void TDataSet::ActivateBuffers() {
  windowCount_ = 1;
  activeRecord_ = 0;
  currentRecord_ = 0;
  bof_ = false;
  eof_ = false;
}

// The buffer at from ends at to; the ones between shift by one.
void TDataSet::MoveBuffer(int from, int to) {
  auto first = buffers_.begin();
  if (from < to)
    std::rotate(first + from, first + from + 1, first + to + 1);
  else if (from > to)
    std::rotate(first + to, first + from, first + from + 1);
}

void TDataSet::SetCurrentRecord(int index) {
  if (currentRecord_ == index) return;
  TRecordBuffer buffer = buffers_[size_t(index)];
  switch (GetBookmarkFlag(buffer)) {
    case bfCurrent:
    case bfInserted: InternalSetToRecord(buffer); break;
    case bfBOF: InternalFirst(); break;
    case bfEOF: InternalLast(); break;
  }
  currentRecord_ = index;
}

void TDataSet::UpdateCursorPos() {
  if (windowCount_ > 0) SetCurrentRecord(activeRecord_);
}

// Fetches the record after the window's last into the spare buffer and adds
// it at the end; a full window lets its first record go.
bool TDataSet::GetNextRecord() {
  if (windowCount_ > 0) SetCurrentRecord(windowCount_ - 1);
  if (GetRecord(buffers_[size_t(windowCount_)], gmNext, true) != grOK) {
    CursorPosChanged();
    return false;
  }
  if (windowCount_ == 0)
    ActivateBuffers();
  else if (windowCount_ < windowSize_)
    ++windowCount_;
  else
    MoveBuffer(0, windowCount_);
  currentRecord_ = windowCount_ - 1;
  return true;
}

// Fetches the record before the window's first and adds it in front; a
// full window lets its last record go.
bool TDataSet::GetPriorRecord() {
  if (windowCount_ > 0) SetCurrentRecord(0);
  if (GetRecord(buffers_[size_t(windowCount_)], gmPrior, true) != grOK) {
    CursorPosChanged();
    return false;
  }
  if (windowCount_ == 0) {
    ActivateBuffers();
  } else {
    MoveBuffer(windowCount_, 0);
    if (windowCount_ < windowSize_) {
      ++windowCount_;
      ++activeRecord_;
    }
  }
  currentRecord_ = 0;
  return true;
}

int TDataSet::GetNextRecords() {
  int count = 0;
  while (windowCount_ < windowSize_ && GetNextRecord()) ++count;
  return count;
}

int TDataSet::GetPriorRecords() {
  int count = 0;
  while (windowCount_ < windowSize_ && GetPriorRecord()) ++count;
  return count;
}

void TDataSet::Resync(TResyncMode mode) {
  CheckActive();
  TRecordBuffer spare = buffers_[size_t(windowCount_)];
  if (mode & rmExact) {
    CursorPosChanged();
    if (GetRecord(spare, gmCurrent, true) != grOK) DatabaseError("Record not found", this);
  } else if (GetRecord(spare, gmCurrent, false) != grOK && GetRecord(spare, gmNext, false) != grOK &&
             GetRecord(spare, gmPrior, false) != grOK) {
    ClearBuffers();
    DataEvent(deDataSetChange, 0);
    return;
  }
  // The record keeps its place in the window, or goes to the middle.
  int before = (mode & rmCenter) ? (windowSize_ - 1) / 2 : activeRecord_;
  MoveBuffer(windowCount_, 0);
  ActivateBuffers();
  try {
    while (before > 0 && GetPriorRecord()) --before;
    GetNextRecords();
    GetPriorRecords();
  } catch (...) {
    DataEvent(deDataSetChange, 0);
    throw;
  }
  DataEvent(deDataSetChange, 0);
}

// --- navigation ---------------------------------------------------------------------------------

void TDataSet::First() {
  CheckBrowseMode();
  Fire(BeforeScroll);
  ClearBuffers();
  try {
    InternalFirst();
    if (GetNextRecord()) GetNextRecords();
  } catch (...) {
    bof_ = true;
    DataEvent(deDataSetChange, 0);
    throw;
  }
  bof_ = true;
  DataEvent(deDataSetChange, 0);
  Fire(AfterScroll);
}

void TDataSet::Last() {
  CheckBrowseMode();
  Fire(BeforeScroll);
  ClearBuffers();
  try {
    InternalLast();
    if (GetPriorRecord()) GetPriorRecords();
  } catch (...) {
    eof_ = true;
    DataEvent(deDataSetChange, 0);
    throw;
  }
  eof_ = true;
  DataEvent(deDataSetChange, 0);
  Fire(AfterScroll);
}

int TDataSet::MoveBy(int distance) {
  CheckBrowseMode();
  if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_)) return 0;
  Fire(BeforeScroll);
  bof_ = false;
  eof_ = false;
  int moved = 0;
  // Records by which the window scrolled, positive towards the end.
  int scrolled = 0;
  try {
    for (; distance > 0; --distance, ++moved) {
      if (activeRecord_ < windowCount_ - 1) {
        ++activeRecord_;
        continue;
      }
      bool full = windowCount_ == windowSize_;
      if (!GetNextRecord()) {
        eof_ = true;
        break;
      }
      if (full) ++scrolled;
      if (activeRecord_ < windowCount_ - 1) ++activeRecord_;
    }
    for (; distance < 0; ++distance, --moved) {
      if (activeRecord_ > 0) {
        --activeRecord_;
        continue;
      }
      bool full = windowCount_ == windowSize_;
      if (!GetPriorRecord()) {
        bof_ = true;
        break;
      }
      if (full) --scrolled;
      if (activeRecord_ > 0) --activeRecord_;
    }
  } catch (...) {
    DataEvent(deDataSetScroll, scrolled);
    throw;
  }
  DataEvent(deDataSetScroll, scrolled);
  Fire(AfterScroll);
  return moved;
}

// --- editing -----------------------------------------------------------------------------------

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(deCheckBrowseMode, 0);
  switch (state_) {
    case dsEdit:
    case dsInsert:
      UpdateRecord();
      if (modified_)
        Post();
      else
        Cancel();
      break;
    case dsSetKey: Post(); break;
    default: break;
  }
}

void TDataSet::UpdateRecord() {
  if (state_ != dsEdit && state_ != dsInsert && state_ != dsSetKey)
    DatabaseError("Dataset not in edit or insert mode", this);
  DataEvent(deUpdateRecord, 0);
}

void TDataSet::CheckOperation(const std::function<void()>& operation, const TDataSetErrorEvent& onError) {
  for (;;) {
    try {
      operation();
      return;
    } catch (EDatabaseError& error) {
      TDataAction action = daFail;
      if (onError) onError(this, error, action);
      if (action == daFail) throw;
      if (action == daAbort) Abort();
    }
  }
}

void TDataSet::Edit() {
  if (state_ == dsEdit || state_ == dsInsert) return;
  if (windowCount_ == 0) {
    Insert();
    return;
  }
  CheckBrowseMode();
  CheckCanModify();
  Fire(BeforeEdit);
  UpdateCursorPos();
  CheckOperation([this] { InternalEdit(); }, OnEditError);
  GetCalcFields(ActiveBuffer());
  SetState(dsEdit);
  DataEvent(deRecordChange, 0);
  Fire(AfterEdit);
}

void TDataSet::BeginInsertAppend() {
  CheckBrowseMode();
  CheckCanModify();
  Fire(BeforeInsert);
  Fire(BeforeScroll);
}

void TDataSet::EndInsertAppend() {
  SetState(dsInsert);
  try {
    Fire(OnNewRecord);
  } catch (...) {
    UpdateCursorPos();
    SetState(dsBrowse);
    Resync(0);
    throw;
  }
  // Values that OnNewRecord gave are defaults, not an edit.
  modified_ = false;
  DataEvent(deDataSetChange, 0);
  Fire(AfterInsert);
  Fire(AfterScroll);
}

void TDataSet::Insert() {
  BeginInsertAppend();
  TBookmark before = GetBookmark();
  // The spare buffer takes the active record's place; a full window lets
  // its last record go.
  MoveBuffer(windowCount_, activeRecord_);
  CursorPosChanged();
  TRecordBuffer buffer = ActiveBuffer();
  try {
    InitRecord(buffer);
    if (windowCount_ == 0)
      SetBookmarkFlag(buffer, bfBOF);
    else
      SetBookmarkData(buffer, before.data());
    if (windowCount_ < windowSize_) ++windowCount_;
    InternalInsert();
  } catch (...) {
    Resync(0);
    throw;
  }
  EndInsertAppend();
}

void TDataSet::Append() {
  BeginInsertAppend();
  ClearBuffers();
  TRecordBuffer buffer = buffers_[0];
  try {
    InitRecord(buffer);
    SetBookmarkFlag(buffer, bfEOF);
    windowCount_ = 1;
    bof_ = false;
    GetPriorRecords();
    InternalInsert();
  } catch (...) {
    Resync(0);
    throw;
  }
  EndInsertAppend();
}

void TDataSet::CheckRequiredFields() {
  for (TField* field : *fields_)
    if (field->Required() && !field->ReadOnly() && field->FieldKind() == fkData && field->IsNull())
      DatabaseErrorFmt("Field '%s' must have a value", {field->FieldName()}, this);
}

void TDataSet::Post() {
  UpdateRecord();
  if (state_ != dsEdit && state_ != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforePost);
  CheckOperation(
      [this] {
        CheckRequiredFields();
        UpdateCursorPos();
        InternalPost();
      },
      OnPostError);
  SetState(dsBrowse);
  Resync(0);
  Fire(AfterPost);
}

void TDataSet::Cancel() {
  if (state_ != dsEdit && state_ != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforeCancel);
  UpdateCursorPos();
  if (state_ == dsEdit) InternalCancel();
  SetState(dsBrowse);
  Resync(0);
  Fire(AfterCancel);
}

void TDataSet::Delete() {
  CheckActive();
  if (state_ == dsInsert) {
    Cancel();
    return;
  }
  if (windowCount_ == 0) DatabaseError("Cannot perform this operation on an empty dataset", this);
  DataEvent(deCheckBrowseMode, 0);
  Fire(BeforeDelete);
  Fire(BeforeScroll);
  CheckOperation(
      [this] {
        UpdateCursorPos();
        InternalDelete();
      },
      OnDeleteError);
  SetState(dsBrowse);
  Resync(0);
  Fire(AfterDelete);
  Fire(AfterScroll);
}

void TDataSet::Refresh() {
  CheckBrowseMode();
  Fire(BeforeRefresh);
  UpdateCursorPos();
  try {
    InternalRefresh();
  } catch (...) {
    Resync(0);
    throw;
  }
  Resync(0);
  Fire(AfterRefresh);
}

// --- bookmarks ------------------------------------------------------------------------------------

bool TDataSet::BookmarkAvailable() {
  return (state_ == dsBrowse || state_ == dsEdit || state_ == dsInsert) && !IsEmpty() &&
         GetBookmarkFlag(ActiveBuffer()) == bfCurrent;
}

TBookmark TDataSet::GetBookmark() {
  TBookmark bookmark;
  if (BookmarkAvailable()) {
    bookmark.resize(size_t(bookmarkSize_));
    GetBookmarkData(ActiveBuffer(), bookmark.data());
  }
  return bookmark;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  if (bookmark.empty()) return;
  // The cursor reads BookmarkSize bytes; a bookmark of another size is not one of ours.
  if (int(bookmark.size()) != bookmarkSize_) DatabaseError("Invalid bookmark", this);
  CheckBrowseMode();
  Fire(BeforeScroll);
  InternalGotoBookmark(bookmark.data());
  Resync(rmExact | rmCenter);
  Fire(AfterScroll);
}

int TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) {
  if (a.empty() || b.empty()) return int(!a.empty()) - int(!b.empty());
  if (a == b) return 0;
  return a < b ? -1 : 1;
}

// --- data sources ----------------------------------------------------------------------------------

void TDataSet::AddDataSource(TDataSource* source) { dataSources_.push_back(source); }

void TDataSet::RemoveDataSource(TDataSource* source) {
  dataSources_.erase(std::remove(dataSources_.begin(), dataSources_.end(), source), dataSources_.end());
}

void TDataSet::DisableControls() {
  if (disableCount_ == 0) {
    disableState_ = state_;
    enableEvent_ = deDataSetChange;
  }
  ++disableCount_;
}

void TDataSet::EnableControls() {
  if (disableCount_ == 0 || --disableCount_ > 0) return;
  if (disableState_ != state_) DataEvent(deUpdateState, 0);
  if (disableState_ != dsInactive && state_ != dsInactive) DataEvent(enableEvent_, 0);
}

void TDataSet::DataEvent(TDataEvent event, intptr_t info) {
  if (event == deFieldChange && (state_ == dsEdit || state_ == dsInsert)) {
    auto* field = reinterpret_cast<TField*>(info);
    if (field && field->FieldKind() == fkData) {
      modified_ = true;
      // Calculated fields follow the values being edited.
      if (autoCalcFields_) GetCalcFields(ActiveBuffer());
    }
  }
  if (disableCount_ == 0) {
    // A data source may leave while it hears of the event.
    std::vector<TDataSource*> sources = dataSources_;
    for (TDataSource* source : sources)
      if (std::find(dataSources_.begin(), dataSources_.end(), source) != dataSources_.end())
        source->DataEvent(event, info);
  } else if ((event == deUpdateState && state_ == dsInactive) || event == deLayoutChange) {
    // The data sources must see the whole layout again once enabled.
    enableEvent_ = deLayoutChange;
  }
}

bool TDataSet::IsLinkedTo(TDataSource* source) {
  while (source) {
    TDataSet* dataSet = source->DataSet();
    if (!dataSet) return false;
    if (dataSet == this) return true;
    source = dataSet->GetDataSource();
  }
  return false;
}
