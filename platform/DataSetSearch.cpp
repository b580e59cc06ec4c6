// TDataSet: field lists and values by name, and the searches (Locate,
// Lookup, FindRecord) that walk the records through the cursor.
//
// A search reads record after record into the active buffer, where fields
// read them in the browse state, and tests each. When it finds one the
// window is read again around it; otherwise the active record is read back
// from its bookmark, the rest of the window never having been touched.
#include <algorithm>

#include "DataSets.h"

namespace {

bool IsTextType(TFieldType type) {
  return type == ftString || type == ftFixedChar || type == ftMemo || type == ftFmtMemo;
}

bool KeyMatches(const TField* field, const Variant& key, TLocateOptions options) {
  if (VarIsNull(key) || VarIsEmpty(key)) return field->IsNull();
  if (field->IsNull()) return false;
  if (!IsTextType(field->DataType())) return VarCompareValue(field->Value(), key) == vrEqual;
  String value = field->AsString();
  String wanted = VarToStr(key);
  if (options & loPartialKey) value.resize(std::min(value.size(), wanted.size()));
  return (options & loCaseInsensitive) ? AnsiSameText(value, wanted) : value == wanted;
}

}  // namespace

// --- fields by name ------------------------------------------------------------------------

std::vector<TField*> TDataSet::GetFieldList(std::string_view names) const {
  std::vector<TField*> list;
  size_t start = 0;
  while (start <= names.size()) {
    size_t end = std::min(names.find(';', start), names.size());
    String name = Trim(names.substr(start, end - start));
    if (!name.empty()) list.push_back(FieldByName(name));
    start = end + 1;
  }
  return list;
}

std::vector<Variant> TDataSet::ValueList(const Variant& values, size_t count) const {
  std::vector<Variant> list;
  if (count == 1) {
    list.push_back(VarIsArray(values) ? VarArrayGet(values, VarArrayLowBound(values, 1)) : values);
    return list;
  }
  int32_t low = VarIsArray(values) ? VarArrayLowBound(values, 1) : 0;
  if (!VarIsArray(values) || size_t(VarArrayHighBound(values, 1) - low + 1) < count)
    DatabaseErrorFmt("%d values are needed, one for each field", {int(count)}, this);
  for (size_t i = 0; i < count; ++i) list.push_back(VarArrayGet(values, low + int32_t(i)));
  return list;
}

Variant TDataSet::FieldValues(std::string_view names) const {
  std::vector<TField*> fields = GetFieldList(names);
  if (fields.size() == 1) return fields[0]->Value();
  std::vector<Variant> values;
  for (TField* field : fields) values.push_back(field->Value());
  return VarArrayOf(values);
}

void TDataSet::SetFieldValues(std::string_view names, const Variant& values) {
  std::vector<TField*> fields = GetFieldList(names);
  std::vector<Variant> list = ValueList(values, fields.size());
  for (size_t i = 0; i < fields.size(); ++i) fields[i]->SetValue(list[i]);
}

// --- searching -------------------------------------------------------------------------------

bool TDataSet::RecordAccepted() {
  bool accept = true;
  if (OnFilterRecord) OnFilterRecord(this, accept);
  return accept;
}

bool TDataSet::ScanRecords(bool restart, bool forward, const std::function<bool()>& match) {
  if (!restart)
    UpdateCursorPos();
  else if (forward)
    InternalFirst();
  else
    InternalLast();
  // From here the active buffer holds whatever record is being tested.
  CursorPosChanged();
  TRecordBuffer buffer = ActiveBuffer();
  TGetMode mode = forward ? gmNext : gmPrior;
  while (GetRecord(buffer, mode, true) == grOK)
    if (match()) return true;
  return false;
}

void TDataSet::RestoreActiveRecord(const TBookmark& bookmark) {
  InternalGotoBookmark(bookmark.data());
  if (GetRecord(ActiveBuffer(), gmCurrent, false) == grOK)
    currentRecord_ = activeRecord_;
  else
    Resync(0);
}

bool TDataSet::MoveToMatch(bool restart, bool forward, const std::function<bool()>& match) {
  Fire(BeforeScroll);
  if (IsEmpty()) return false;
  TBookmark saved = GetBookmark();
  bool found;
  try {
    found = ScanRecords(restart, forward, match);
  } catch (...) {
    RestoreActiveRecord(saved);
    throw;
  }
  if (!found) {
    RestoreActiveRecord(saved);
    return false;
  }
  Resync(rmExact | rmCenter);
  Fire(AfterScroll);
  return true;
}

std::vector<TField*> TDataSet::KeyFieldList(std::string_view names) const {
  std::vector<TField*> fields = GetFieldList(names);
  if (fields.empty()) DatabaseErrorFmt("Field '%s' not found", {names}, this);
  return fields;
}

bool TDataSet::Locate(const String& keyFields, const Variant& keyValues, TLocateOptions options) {
  CheckBrowseMode();
  std::vector<TField*> fields = KeyFieldList(keyFields);
  std::vector<Variant> keys = ValueList(keyValues, fields.size());
  return MoveToMatch(true, true, [&] {
    for (size_t i = 0; i < fields.size(); ++i)
      if (!KeyMatches(fields[i], keys[i], options)) return false;
    return true;
  });
}

Variant TDataSet::Lookup(const String& keyFields, const Variant& keyValues, const String& resultFields) {
  CheckBrowseMode();
  std::vector<TField*> fields = KeyFieldList(keyFields);
  std::vector<Variant> keys = ValueList(keyValues, fields.size());
  KeyFieldList(resultFields);
  Variant result = Null();
  if (IsEmpty()) return result;
  TBookmark saved = GetBookmark();
  try {
    bool found = ScanRecords(true, true, [&] {
      for (size_t i = 0; i < fields.size(); ++i)
        if (!KeyMatches(fields[i], keys[i], 0)) return false;
      return true;
    });
    if (found) result = FieldValues(resultFields);
  } catch (...) {
    RestoreActiveRecord(saved);
    throw;
  }
  RestoreActiveRecord(saved);
  return result;
}

bool TDataSet::FindRecord(bool restart, bool goForward) {
  CheckBrowseMode();
  return MoveToMatch(restart, goForward, [this] { return RecordAccepted(); });
}
