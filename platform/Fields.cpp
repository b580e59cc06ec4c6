#include "Fields.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "DataSets.h"

// --- Field types ------------------------------------------------------------------

const char* FieldTypeName(TFieldType type) {
  static const char* const names[] = {
      "Unknown",   "String",     "SmallInt",    "Integer",  "Word",       "Boolean",   "Float",
      "Currency",  "BCD",        "Date",        "Time",     "DateTime",   "Bytes",     "VarBytes",
      "AutoInc",   "Blob",       "Memo",        "Graphic",  "FmtMemo",    "ParadoxOle", "DBaseOle",
      "TypedBinary", "Cursor",   "FixedChar",   "WideString", "Largeint", "ADT",       "Array",
      "Reference", "DataSet",    "OraBlob",     "OraClob",  "Variant",    "Interface", "IDispatch",
      "Guid"};
  return type < std::size(names) ? names[type] : "Unknown";
}

bool IsBlobType(TFieldType type) {
  return (type >= ftBlob && type <= ftTypedBinary) || type == ftOraBlob || type == ftOraClob;
}

int FieldDataSize(TFieldType type, int size) {
  switch (type) {
    case ftString:
    case ftFixedChar: return size + 1;
    case ftSmallint:
    case ftWord:
    case ftBoolean: return 2;
    case ftInteger:
    case ftAutoInc:
    case ftDate:
    case ftTime: return 4;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftDateTime:
    case ftLargeint: return 8;
    default: return 0;
  }
}

TField* CreateFieldOfType(TFieldType type, TComponent* owner) {
  switch (type) {
    case ftString:
    case ftFixedChar: return new TStringField(owner, type);
    case ftSmallint: return new TSmallintField(owner);
    case ftInteger: return new TIntegerField(owner);
    case ftWord: return new TWordField(owner);
    case ftAutoInc: return new TAutoIncField(owner);
    case ftLargeint: return new TLargeintField(owner);
    case ftBoolean: return new TBooleanField(owner);
    case ftFloat: return new TFloatField(owner);
    case ftCurrency: return new TCurrencyField(owner);
    case ftBCD: return new TBCDField(owner);
    case ftDate: return new TDateField(owner);
    case ftTime: return new TTimeField(owner);
    case ftDateTime: return new TDateTimeField(owner);
    case ftBlob: return new TBlobField(owner);
    case ftMemo:
    case ftFmtMemo: return new TMemoField(owner, type);
    case ftGraphic: return new TGraphicField(owner);
    default: return nullptr;
  }
}

namespace {

// Date and time fields keep a native form of their own; callers see TDateTime.
bool NeedsConversion(TFieldType type) { return type == ftDate || type == ftTime || type == ftDateTime; }

// The nearest integer, halves to even, as every numeric conversion rounds.
bool RoundToInt64(double value, int64_t& result) {
  if (!std::isfinite(value)) return false;
  double rounded = std::nearbyint(value);
  // 2^63 itself is out of range; every double below it converts exactly.
  if (rounded < -9223372036854775808.0 || rounded >= 9223372036854775808.0) return false;
  result = int64_t(rounded);
  return true;
}

}  // namespace

// --- TField ---------------------------------------------------------------------------

TField::TField(TComponent* owner, TFieldType dataType) : TComponent(owner), dataType_(dataType) {}

TField::~TField() {
  if (dataSet_) dataSet_->RemoveField(this);
}

void TField::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  CheckInactive();
  if (dataSet) {
    dataSet->CheckInactive();
    if (!fieldName_.empty() && dataSet->FindField(fieldName_))
      DatabaseErrorFmt("Duplicate field name '%s'", {fieldName_}, dataSet);
  }
  if (dataSet_) dataSet_->RemoveField(this);
  dataSet_ = dataSet;
  if (dataSet_) dataSet_->AddField(this);
}

void TField::SetFieldName(const String& name) {
  CheckInactive();
  if (dataSet_) {
    TField* other = dataSet_->FindField(name);
    if (other && other != this) DatabaseErrorFmt("Duplicate field name '%s'", {name}, dataSet_);
  }
  fieldName_ = name;
}

void TField::SetFieldKind(TFieldKind kind) {
  CheckInactive();
  fieldKind_ = kind;
}

void TField::SetSize(int size) {
  CheckInactive();
  if (size != 0) DatabaseError("Invalid field size", dataSet_);
  size_ = size;
}

bool TField::CanModify() const {
  return !readOnly_ && fieldKind_ == fkData && dataSet_ && dataSet_->CanModify();
}

void TField::SetLookupDataSet(TDataSet* dataSet) {
  CheckInactive();
  if (lookupDataSet_) RemoveFreeNotification(lookupDataSet_);
  lookupDataSet_ = dataSet;
  if (lookupDataSet_) FreeNotification(lookupDataSet_);
}

void TField::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == lookupDataSet_) lookupDataSet_ = nullptr;
}

void TField::CheckInactive() const {
  if (dataSet_) dataSet_->CheckInactive();
}

TDataSet& TField::CheckedDataSet() const {
  if (!dataSet_) DatabaseErrorFmt("Field '%s' has no dataset", {fieldName_});
  return *dataSet_;
}

// Data fields take values while a record is edited or inserted, and in the
// states in which a data set fills a key or filter buffer; calculated and
// lookup fields only while their values are being calculated.
void TField::CheckWritable() const {
  TDataSetState state = dataSet_->State();
  if (fieldKind_ != fkData) {
    if (state != dsCalcFields) DatabaseError("Dataset not in edit or insert mode", dataSet_);
    return;
  }
  if (state != dsEdit && state != dsInsert && state != dsSetKey && state != dsFilter && state != dsNewValue)
    DatabaseError("Dataset not in edit or insert mode", dataSet_);
  if (readOnly_ && state != dsSetKey && state != dsFilter)
    DatabaseErrorFmt("Field '%s' cannot be modified", {fieldName_}, dataSet_);
}

bool TField::GetData(void* buffer, bool nativeFormat) const {
  TDataSet& dataSet = CheckedDataSet();
  if (!buffer || nativeFormat || !NeedsConversion(dataType_)) return dataSet.GetFieldData(this, buffer);
  alignas(8) uint8_t native[8];
  if (!dataSet.GetFieldData(this, native)) return false;
  dataSet.DataConvert(this, native, buffer, false);
  return true;
}

void TField::SetData(const void* buffer, bool nativeFormat) {
  TDataSet& dataSet = CheckedDataSet();
  CheckWritable();
  if (buffer && !nativeFormat && NeedsConversion(dataType_)) {
    alignas(8) uint8_t native[8];
    dataSet.DataConvert(this, buffer, native, true);
    dataSet.SetFieldData(this, native);
    return;
  }
  dataSet.SetFieldData(this, buffer);
}

bool TField::IsNull() const { return !GetData(nullptr); }

void TField::Clear() { SetData(nullptr); }

String TField::AsString() const { AccessError("String"); }
void TField::SetAsString(const String&) { AccessError("String"); }
int32_t TField::AsInteger() const { AccessError("Integer"); }
void TField::SetAsInteger(int32_t) { AccessError("Integer"); }
int64_t TField::AsLargeInt() const { return AsInteger(); }

void TField::SetAsLargeInt(int64_t value) {
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    RangeError(IntToStr(value), std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
  SetAsInteger(int32_t(value));
}

double TField::AsFloat() const { AccessError("Float"); }
void TField::SetAsFloat(double) { AccessError("Float"); }

Currency TField::AsCurrency() const {
  double value = AsFloat();
  Currency result;
  if (!TryFloatToCurr(value, result)) ConvertError("currency value", FloatToStr(value));
  return result;
}

void TField::SetAsCurrency(Currency value) { SetAsFloat(value.ToDouble()); }
TDateTime TField::AsDateTime() const { AccessError("DateTime"); }
void TField::SetAsDateTime(TDateTime) { AccessError("DateTime"); }
bool TField::AsBoolean() const { AccessError("Boolean"); }
void TField::SetAsBoolean(bool) { AccessError("Boolean"); }
Variant TField::Value() const { AccessError("Variant"); }

void TField::SetValue(const Variant& value) {
  if (VarIsNull(value) || VarIsEmpty(value))
    Clear();
  else if (VarIsStr(value))
    SetAsString(value.AsString());
  else
    SetVarValue(value);
}

void TField::SetVarValue(const Variant&) { AccessError("Variant"); }

void TField::AccessError(const char* typeName) const {
  DatabaseErrorFmt("Cannot access field '%s' as type %s", {fieldName_, typeName}, dataSet_);
}

void TField::ConvertError(const char* what, std::string_view text) const {
  throw EConvertError("'%s' is not a valid %s for field '%s'", {text, what, fieldName_});
}

void TField::RangeError(const String& value, int64_t min, int64_t max) const {
  DatabaseErrorFmt("%s is not a valid value for field '%s'. The allowed range is %d to %d",
                   {value, fieldName_, (long long)min, (long long)max}, dataSet_);
}

// --- TStringField -----------------------------------------------------------------------

namespace {

bool TextToBoolean(std::string_view text, bool& value) {
  static const char* const trueTexts[] = {"T", "True", "Y", "Yes", "1"};
  static const char* const falseTexts[] = {"", "F", "False", "N", "No", "0"};
  String trimmed = Trim(text);
  for (const char* t : trueTexts)
    if (SameText(trimmed, t)) {
      value = true;
      return true;
    }
  for (const char* t : falseTexts)
    if (SameText(trimmed, t)) {
      value = false;
      return true;
    }
  return false;
}

}  // namespace

TStringField::TStringField(TComponent* owner, TFieldType dataType) : TField(owner, dataType) { size_ = 20; }

void TStringField::SetSize(int size) {
  CheckInactive();
  if (size < 1 || size > MaxStringFieldSize) DatabaseError("Invalid field size", DataSet());
  size_ = size;
}

String TStringField::AsString() const {
  String buffer(size_t(DataSize()), '\0');
  if (!GetData(buffer.data())) return String();
  // The data set's bytes need not end where a terminating zero is due.
  return String(buffer.data(), strnlen(buffer.data(), size_t(Size())));
}

void TStringField::SetAsString(const String& text) {
  String buffer(size_t(DataSize()), '\0');
  memcpy(buffer.data(), text.data(), std::min(text.size(), size_t(Size())));
  SetData(buffer.data());
}

template <typename T, typename TryParse>
T TStringField::ParsedText(TryParse tryParse, const char* what) const {
  String text = AsString();
  T value{};
  if (!Trim(text).empty() && !tryParse(text, value)) ConvertError(what, text);
  return value;
}

int32_t TStringField::AsInteger() const {
  return ParsedText<int32_t>([](const String& t, int32_t& v) { return TryStrToInt(t, v); }, "integer value");
}

void TStringField::SetAsInteger(int32_t value) { SetAsString(IntToStr(value)); }

int64_t TStringField::AsLargeInt() const {
  return ParsedText<int64_t>([](const String& t, int64_t& v) { return TryStrToInt64(t, v); }, "integer value");
}

void TStringField::SetAsLargeInt(int64_t value) { SetAsString(IntToStr(value)); }

double TStringField::AsFloat() const {
  return ParsedText<double>([](const String& t, double& v) { return TryStrToFloat(t, v); },
                            "floating point value");
}

void TStringField::SetAsFloat(double value) { SetAsString(FloatToStr(value)); }

TDateTime TStringField::AsDateTime() const {
  return ParsedText<TDateTime>([](const String& t, TDateTime& v) { return TryStrToDateTime(t, v); },
                               "date and time");
}

void TStringField::SetAsDateTime(TDateTime value) { SetAsString(DateTimeToStr(value)); }

bool TStringField::AsBoolean() const {
  String text = AsString();
  bool value;
  if (!TextToBoolean(text, value)) ConvertError("boolean value", text);
  return value;
}

void TStringField::SetAsBoolean(bool value) { SetAsString(value ? "True" : "False"); }

Variant TStringField::Value() const { return IsNull() ? Null() : Variant(AsString()); }

void TStringField::SetVarValue(const Variant& value) { SetAsString(value.AsString()); }

// --- TIntegerField ------------------------------------------------------------------------

TIntegerField::TIntegerField(TComponent* owner, TFieldType dataType) : TField(owner, dataType) {}

int64_t TIntegerField::MinValue() const {
  switch (DataType()) {
    case ftSmallint: return std::numeric_limits<int16_t>::min();
    case ftWord: return 0;
    default: return std::numeric_limits<int32_t>::min();
  }
}

int64_t TIntegerField::MaxValue() const {
  switch (DataType()) {
    case ftSmallint: return std::numeric_limits<int16_t>::max();
    case ftWord: return std::numeric_limits<uint16_t>::max();
    default: return std::numeric_limits<int32_t>::max();
  }
}

bool TIntegerField::Read(int32_t& value) const {
  value = 0;
  switch (DataType()) {
    case ftSmallint: {
      int16_t v;
      if (!ReadNative(v)) return false;
      value = v;
      return true;
    }
    case ftWord: {
      uint16_t v;
      if (!ReadNative(v)) return false;
      value = v;
      return true;
    }
    default: return ReadNative(value);
  }
}

void TIntegerField::SetAsLargeInt(int64_t value) {
  if (value < MinValue() || value > MaxValue()) RangeError(IntToStr(value), MinValue(), MaxValue());
  switch (DataType()) {
    case ftSmallint: {
      int16_t v = int16_t(value);
      SetData(&v);
      break;
    }
    case ftWord: {
      uint16_t v = uint16_t(value);
      SetData(&v);
      break;
    }
    default: {
      int32_t v = int32_t(value);
      SetData(&v);
      break;
    }
  }
}

String TIntegerField::AsString() const {
  int32_t value;
  return Read(value) ? IntToStr(value) : String();
}

void TIntegerField::SetAsString(const String& text) {
  int64_t value;
  if (Trim(text).empty())
    Clear();
  else if (TryStrToInt64(text, value))
    SetAsLargeInt(value);
  else
    ConvertError("integer value", text);
}

int32_t TIntegerField::AsInteger() const {
  int32_t value;
  Read(value);
  return value;
}

void TIntegerField::SetAsInteger(int32_t value) { SetAsLargeInt(value); }
int64_t TIntegerField::AsLargeInt() const { return AsInteger(); }
double TIntegerField::AsFloat() const { return AsInteger(); }

void TIntegerField::SetAsFloat(double value) {
  int64_t rounded;
  if (!RoundToInt64(value, rounded)) RangeError(FloatToStr(value), MinValue(), MaxValue());
  SetAsLargeInt(rounded);
}

Variant TIntegerField::Value() const {
  int32_t value;
  if (!Read(value)) return Null();
  switch (DataType()) {
    case ftSmallint: return Variant(int16_t(value));
    case ftWord: return Variant(uint16_t(value));
    default: return Variant(value);
  }
}

void TIntegerField::SetVarValue(const Variant& value) {
  if (VarIsOrdinal(value))
    SetAsLargeInt(value.AsInt64());
  else
    SetAsFloat(value.AsDouble());
}

// --- TLargeintField -------------------------------------------------------------------------

String TLargeintField::AsString() const {
  int64_t value;
  return ReadNative(value) ? IntToStr(value) : String();
}

void TLargeintField::SetAsString(const String& text) {
  int64_t value;
  if (Trim(text).empty())
    Clear();
  else if (TryStrToInt64(text, value))
    SetAsLargeInt(value);
  else
    ConvertError("integer value", text);
}

int32_t TLargeintField::AsInteger() const {
  int64_t value = AsLargeInt();
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    ConvertError("integer value", IntToStr(value));
  return int32_t(value);
}

void TLargeintField::SetAsInteger(int32_t value) { SetAsLargeInt(value); }

int64_t TLargeintField::AsLargeInt() const {
  int64_t value = 0;
  ReadNative(value);
  return value;
}

void TLargeintField::SetAsLargeInt(int64_t value) { SetData(&value); }
double TLargeintField::AsFloat() const { return double(AsLargeInt()); }

void TLargeintField::SetAsFloat(double value) {
  int64_t rounded;
  if (!RoundToInt64(value, rounded))
    RangeError(FloatToStr(value), std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max());
  SetAsLargeInt(rounded);
}

Variant TLargeintField::Value() const {
  int64_t value;
  return ReadNative(value) ? Variant((long long)value) : Null();
}

void TLargeintField::SetVarValue(const Variant& value) {
  if (VarIsOrdinal(value))
    SetAsLargeInt(value.AsInt64());
  else
    SetAsFloat(value.AsDouble());
}

// --- TFloatField ------------------------------------------------------------------------------

TFloatField::TFloatField(TComponent* owner, TFieldType dataType) : TField(owner, dataType) {}

String TFloatField::AsString() const {
  double value;
  return ReadNative(value) ? FloatToStr(value) : String();
}

void TFloatField::SetAsString(const String& text) {
  double value;
  if (Trim(text).empty())
    Clear();
  else if (TryStrToFloat(text, value))
    SetAsFloat(value);
  else
    ConvertError("floating point value", text);
}

int32_t TFloatField::AsInteger() const {
  double value = AsFloat();
  int64_t rounded;
  if (!RoundToInt64(value, rounded) || rounded < std::numeric_limits<int32_t>::min() ||
      rounded > std::numeric_limits<int32_t>::max())
    ConvertError("integer value", FloatToStr(value));
  return int32_t(rounded);
}

void TFloatField::SetAsInteger(int32_t value) { SetAsFloat(value); }

int64_t TFloatField::AsLargeInt() const {
  double value = AsFloat();
  int64_t rounded;
  if (!RoundToInt64(value, rounded)) ConvertError("integer value", FloatToStr(value));
  return rounded;
}

void TFloatField::SetAsLargeInt(int64_t value) { SetAsFloat(double(value)); }

double TFloatField::AsFloat() const {
  double value = 0;
  ReadNative(value);
  return value;
}

void TFloatField::SetAsFloat(double value) {
  if (!std::isfinite(value)) ConvertError("floating point value", FloatToStr(value));
  SetData(&value);
}

Variant TFloatField::Value() const {
  double value;
  return ReadNative(value) ? Variant(value) : Null();
}

void TFloatField::SetVarValue(const Variant& value) { SetAsFloat(value.AsDouble()); }

// --- TBCDField ---------------------------------------------------------------------------------

String TBCDField::AsString() const {
  Currency value;
  return ReadNative(value) ? CurrToStr(value) : String();
}

void TBCDField::SetAsString(const String& text) {
  Currency value;
  if (Trim(text).empty())
    Clear();
  else if (TryStrToCurr(text, value))
    SetAsCurrency(value);
  else
    ConvertError("BCD value", text);
}

int32_t TBCDField::AsInteger() const {
  double value = AsFloat();
  int64_t rounded;
  if (!RoundToInt64(value, rounded) || rounded < std::numeric_limits<int32_t>::min() ||
      rounded > std::numeric_limits<int32_t>::max())
    ConvertError("integer value", CurrToStr(AsCurrency()));
  return int32_t(rounded);
}

void TBCDField::SetAsInteger(int32_t value) { SetAsCurrency(Currency::FromScaled(int64_t(value) * Currency::Scale)); }
double TBCDField::AsFloat() const { return AsCurrency().ToDouble(); }

void TBCDField::SetAsFloat(double value) {
  Currency result;
  if (!TryFloatToCurr(value, result)) ConvertError("BCD value", FloatToStr(value));
  SetAsCurrency(result);
}

Currency TBCDField::AsCurrency() const {
  Currency value;
  ReadNative(value);
  return value;
}

void TBCDField::SetAsCurrency(Currency value) { SetData(&value); }

Variant TBCDField::Value() const {
  Currency value;
  return ReadNative(value) ? Variant(value) : Null();
}

void TBCDField::SetVarValue(const Variant& value) { SetAsCurrency(value.AsCurrency()); }

// --- TBooleanField ------------------------------------------------------------------------------

String TBooleanField::AsString() const {
  uint16_t value;
  if (!ReadNative(value)) return String();
  return value ? "True" : "False";
}

void TBooleanField::SetAsString(const String& text) {
  String trimmed = Trim(text);
  auto beginsWord = [&](std::string_view word) {
    return trimmed.size() <= word.size() && SameText(trimmed, word.substr(0, trimmed.size()));
  };
  if (trimmed.empty())
    Clear();
  else if (beginsWord("True"))
    SetAsBoolean(true);
  else if (beginsWord("False"))
    SetAsBoolean(false);
  else
    ConvertError("boolean value", text);
}

bool TBooleanField::AsBoolean() const {
  uint16_t value = 0;
  ReadNative(value);
  return value != 0;
}

void TBooleanField::SetAsBoolean(bool value) {
  uint16_t native = value ? 1 : 0;
  SetData(&native);
}

Variant TBooleanField::Value() const { return IsNull() ? Null() : Variant(AsBoolean()); }

void TBooleanField::SetVarValue(const Variant& value) { SetAsBoolean(value.AsBoolean()); }

// --- TDateTimeField -------------------------------------------------------------------------------

TDateTimeField::TDateTimeField(TComponent* owner, TFieldType dataType) : TField(owner, dataType) {}

String TDateTimeField::AsString() const {
  TDateTime value;
  if (!GetData(&value, false)) return String();
  switch (DataType()) {
    case ftDate: return DateToStr(value);
    case ftTime: return TimeToStr(value);
    default: return DateTimeToStr(value);
  }
}

void TDateTimeField::SetAsString(const String& text) {
  if (Trim(text).empty()) {
    Clear();
    return;
  }
  TDateTime value;
  switch (DataType()) {
    case ftDate:
      if (!TryStrToDate(text, value)) ConvertError("date", text);
      break;
    case ftTime:
      if (!TryStrToTime(text, value)) ConvertError("time", text);
      break;
    default:
      if (!TryStrToDateTime(text, value)) ConvertError("date and time", text);
      break;
  }
  SetAsDateTime(value);
}

double TDateTimeField::AsFloat() const { return AsDateTime(); }
void TDateTimeField::SetAsFloat(double value) { SetAsDateTime(value); }

TDateTime TDateTimeField::AsDateTime() const {
  TDateTime value = 0;
  GetData(&value, false);
  return value;
}

void TDateTimeField::SetAsDateTime(TDateTime value) { SetData(&value, false); }

Variant TDateTimeField::Value() const {
  TDateTime value;
  return GetData(&value, false) ? VarFromDateTime(value) : Null();
}

void TDateTimeField::SetVarValue(const Variant& value) { SetAsDateTime(value.AsDateTime()); }

// --- TBlobField ------------------------------------------------------------------------------------

TBlobField::TBlobField(TComponent* owner, TFieldType dataType) : TField(owner, dataType) {}

std::unique_ptr<TStream> TBlobField::OpenStream(TBlobStreamMode mode) const {
  TDataSet& dataSet = CheckedDataSet();
  if (mode != bmRead) CheckWritable();
  return dataSet.CreateBlobStream(const_cast<TBlobField*>(this), mode);
}

bool TBlobField::IsNull() const { return BlobSize() == 0; }

// A stream opened for writing empties the value at once.
void TBlobField::Clear() { OpenStream(bmWrite); }

int64_t TBlobField::BlobSize() const { return OpenStream(bmRead)->Size(); }

String TBlobField::AsString() const {
  std::unique_ptr<TStream> stream = OpenStream(bmRead);
  String value(size_t(stream->Size()), '\0');
  stream->SetPosition(0);
  stream->ReadBuffer(value.data(), int64_t(value.size()));
  return value;
}

void TBlobField::SetAsString(const String& text) {
  std::unique_ptr<TStream> stream = OpenStream(bmWrite);
  stream->WriteBuffer(text.data(), int64_t(text.size()));
}

Variant TBlobField::Value() const {
  String value = AsString();
  return value.empty() ? Null() : Variant(value);
}

void TBlobField::SetVarValue(const Variant& value) {
  SetAsString(VarIsArray(value) ? VarArrayToBytes(value) : value.AsString());
}

// --- TFields ----------------------------------------------------------------------------------------

TField* TFields::Fields(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (%d)", {index});
  return list_[size_t(index)];
}

int TFields::IndexOf(const TField* field) const {
  for (size_t i = 0; i < list_.size(); ++i)
    if (list_[i] == field) return int(i);
  return -1;
}

TField* TFields::FindField(std::string_view name) const {
  for (TField* field : list_)
    if (AnsiSameText(field->FieldName(), name)) return field;
  return nullptr;
}

TField* TFields::FieldByName(std::string_view name) const {
  TField* field = FindField(name);
  if (!field) DatabaseErrorFmt("Field '%s' not found", {name}, dataSet_);
  return field;
}

void TFields::Remove(TField* field) {
  int index = IndexOf(field);
  if (index >= 0) list_.erase(list_.begin() + index);
}
