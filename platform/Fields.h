// Fields of a data set: one object per column, through which callers read
// and write the values of the data set's current record, with the
// platform's conversions between texts, numbers, dates and Variants.
//
// A field keeps no value of its own. It asks its data set for the value's
// bytes in the native form below (TDataSet::GetFieldData) and hands new bytes
// back (TDataSet::SetFieldData); DataSize is the number of bytes:
//   string, fixed char   Size characters and a terminating zero (Size + 1)
//   small integer Int16, word UInt16, integer and auto-increment Int32,
//   large integer Int64
//   boolean              UInt16, any non-zero value true (True is written 1)
//   float, currency      IEEE double
//   BCD                  Currency (Int64 ten-thousandths)
//   date                 Int32 day number of the time stamp (0001-01-01 is 1)
//   time                 Int32 milliseconds since midnight
//   date-time            double, the time stamp's milliseconds
//   blob kinds           none: their values travel through blob streams
// Date and time values reach callers as TDateTime through the data set's
// DataConvert.
//
// A value that a field cannot take raises a clear error naming the field:
// EConvertError "'12a' is not a valid floating point value for field
// 'Capital'" for a text of the wrong form, EDatabaseError "Items: 70000 is
// not a valid value for field 'Qty'. The allowed range is -32768 to 32767"
// for a number outside the field's type. A string field cuts a longer text
// to its Size.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "Components.h"
#include "Numbers.h"
#include "Streams.h"
#include "Variant.h"

class TDataSet;

// The platform's field type codes. Stored formats keep these numbers.
enum TFieldType : uint8_t {
  ftUnknown = 0,
  ftString = 1,
  ftSmallint = 2,
  ftInteger = 3,
  ftWord = 4,
  ftBoolean = 5,
  ftFloat = 6,
  ftCurrency = 7,
  ftBCD = 8,
  ftDate = 9,
  ftTime = 10,
  ftDateTime = 11,
  ftBytes = 12,
  ftVarBytes = 13,
  ftAutoInc = 14,
  ftBlob = 15,
  ftMemo = 16,
  ftGraphic = 17,
  ftFmtMemo = 18,
  ftParadoxOle = 19,
  ftDBaseOle = 20,
  ftTypedBinary = 21,
  ftCursor = 22,
  ftFixedChar = 23,
  ftWideString = 24,
  ftLargeint = 25,
  ftADT = 26,
  ftArray = 27,
  ftReference = 28,
  ftDataSet = 29,
  ftOraBlob = 30,
  ftOraClob = 31,
  ftVariant = 32,
  ftInterface = 33,
  ftIDispatch = 34,
  ftGuid = 35,
};

// The type's name in messages ("String", "SmallInt", "DateTime"...;
// "Unknown" beyond the list).
const char* FieldTypeName(TFieldType type);
// Types whose values live apart from the record: 15 to 21, 30 and 31.
bool IsBlobType(TFieldType type);
// Native bytes of a value of the type (see above); 0 for blob kinds and for
// types without a field class.
int FieldDataSize(TFieldType type, int size);

// Longest string field: a size read from a file never decides a larger
// record buffer.
constexpr int MaxStringFieldSize = 8192;

enum TFieldKind : uint8_t { fkData, fkCalculated, fkLookup };

// Modes of a blob stream; stored formats keep these numbers.
enum TBlobStreamMode : uint8_t { bmRead = 0, bmWrite = 1, bmReadWrite = 2 };

class TField : public TComponent {
 public:
  ~TField() override;
  const char* ClassName() const override { return "TField"; }

  TDataSet* DataSet() const { return dataSet_; }
  // Leaves the previous data set's field list and joins the new one's; both
  // must be closed, and the new one must have no other field of this name.
  void SetDataSet(TDataSet* dataSet);
  const String& FieldName() const { return fieldName_; }
  void SetFieldName(const String& name);
  TFieldType DataType() const { return dataType_; }
  TFieldKind FieldKind() const { return fieldKind_; }
  void SetFieldKind(TFieldKind kind);
  bool Calculated() const { return fieldKind_ == fkCalculated; }
  bool Lookup() const { return fieldKind_ == fkLookup; }
  // The number of the field's definition (1-based) while its data set is
  // open; -1 for calculated and lookup fields; 0 while closed.
  int FieldNo() const { return fieldNo_; }
  // Calculated and lookup fields: where the value lies in the record's
  // calculated-fields area (a has-value byte, then DataSize bytes).
  int Offset() const { return offset_; }
  int Size() const { return size_; }
  // Only string fields have a size; the data set must be closed.
  virtual void SetSize(int size);
  int DataSize() const { return FieldDataSize(dataType_, size_); }
  bool IsBlob() const { return IsBlobType(dataType_); }
  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  // A data field that is not read-only, of a data set that can modify.
  bool CanModify() const;

  // Lookup fields take the LookupResultField of the LookupDataSet's record
  // whose LookupKeyFields equal this data set's KeyFields (lists separated
  // by ";").
  TDataSet* LookupDataSet() const { return lookupDataSet_; }
  void SetLookupDataSet(TDataSet* dataSet);
  const String& KeyFields() const { return keyFields_; }
  void SetKeyFields(const String& names) { keyFields_ = names; }
  const String& LookupKeyFields() const { return lookupKeyFields_; }
  void SetLookupKeyFields(const String& names) { lookupKeyFields_ = names; }
  const String& LookupResultField() const { return lookupResultField_; }
  void SetLookupResultField(const String& name) { lookupResultField_ = name; }

  // --- the value in the data set's current record
  virtual bool IsNull() const;
  virtual void Clear();
  // A null value reads as "", 0, 0.0, False or 0 (1899-12-30).
  virtual String AsString() const;
  // An empty text clears fields of every type but strings.
  virtual void SetAsString(const String& text);
  virtual int32_t AsInteger() const;
  virtual void SetAsInteger(int32_t value);
  virtual int64_t AsLargeInt() const;
  virtual void SetAsLargeInt(int64_t value);
  virtual double AsFloat() const;
  virtual void SetAsFloat(double value);
  virtual Currency AsCurrency() const;
  virtual void SetAsCurrency(Currency value);
  virtual TDateTime AsDateTime() const;
  virtual void SetAsDateTime(TDateTime value);
  virtual bool AsBoolean() const;
  virtual void SetAsBoolean(bool value);
  // Null for a null value.
  virtual Variant Value() const;
  // Null and Empty clear the field; a text goes through SetAsString, so its
  // errors name the field; any other Variant is converted to the field's
  // type by the Variant rules.
  void SetValue(const Variant& value);

  // The raw value: the native form, or for date and time fields with
  // nativeFormat false a TDateTime. GetData returns false for a null value;
  // a null buffer only asks whether there is a value. SetData with a null
  // buffer clears the value.
  bool GetData(void* buffer, bool nativeFormat = true) const;
  void SetData(const void* buffer, bool nativeFormat = true);

 protected:
  TField(TComponent* owner, TFieldType dataType);
  void Notification(TComponent* component, TOperation operation) override;
  // A non-null, non-text Variant for SetValue.
  virtual void SetVarValue(const Variant& value);

  // Reads the native value; false when null.
  template <typename T>
  bool ReadNative(T& value) const {
    return GetData(&value);
  }
  [[noreturn]] void AccessError(const char* typeName) const;
  // EConvertError "'%s' is not a valid <what> for field '%s'".
  [[noreturn]] void ConvertError(const char* what, std::string_view text) const;
  // EDatabaseError "%s is not a valid value for field '%s'. The allowed
  // range is %s to %s".
  [[noreturn]] void RangeError(const String& value, int64_t min, int64_t max) const;

  // EDatabaseError "Field '%s' has no dataset" without one.
  TDataSet& CheckedDataSet() const;
  // The data set must be closed.
  void CheckInactive() const;
  // The data set's state must let this field take a value.
  void CheckWritable() const;

  int size_ = 0;

 private:
  friend class TDataSet;

  TDataSet* dataSet_ = nullptr;
  String fieldName_;
  TFieldType dataType_;
  TFieldKind fieldKind_ = fkData;
  int fieldNo_ = 0;
  int offset_ = 0;
  bool required_ = false;
  bool readOnly_ = false;
  TDataSet* lookupDataSet_ = nullptr;
  String keyFields_;
  String lookupKeyFields_;
  String lookupResultField_;
};

// String and fixed-char fields; Size is 20 unless set.
class TStringField : public TField {
 public:
  explicit TStringField(TComponent* owner, TFieldType dataType = ftString);
  const char* ClassName() const override { return "TStringField"; }

  // 1 to MaxStringFieldSize, else EDatabaseError "Invalid field size".
  void SetSize(int size) override;
  bool FixedChar() const { return DataType() == ftFixedChar; }

  String AsString() const override;
  // A longer text is cut to Size characters.
  void SetAsString(const String& text) override;
  int32_t AsInteger() const override;
  void SetAsInteger(int32_t value) override;
  int64_t AsLargeInt() const override;
  void SetAsLargeInt(int64_t value) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  TDateTime AsDateTime() const override;
  void SetAsDateTime(TDateTime value) override;
  // "T", "True", "Y", "Yes", "1" (any case) are true; "F", "False", "N",
  // "No", "0" and the empty text false.
  bool AsBoolean() const override;
  void SetAsBoolean(bool value) override;
  Variant Value() const override;

 protected:
  void SetVarValue(const Variant& value) override;

 private:
  // The text read through tryParse: a blank text is T's zero, any other
  // text that does not parse is a conversion error naming `what`.
  template <typename T, typename TryParse>
  T ParsedText(TryParse tryParse, const char* what) const;
};

// Integer, small integer, word and auto-increment fields: a 32-bit value
// kept inside the range of the field's type.
class TIntegerField : public TField {
 public:
  explicit TIntegerField(TComponent* owner) : TIntegerField(owner, ftInteger) {}
  const char* ClassName() const override { return "TIntegerField"; }

  int64_t MinValue() const;
  int64_t MaxValue() const;

  String AsString() const override;
  void SetAsString(const String& text) override;
  int32_t AsInteger() const override;
  void SetAsInteger(int32_t value) override;
  int64_t AsLargeInt() const override;
  void SetAsLargeInt(int64_t value) override;
  double AsFloat() const override;
  // Rounded to the nearest integer, halves to even.
  void SetAsFloat(double value) override;
  Variant Value() const override;

 protected:
  TIntegerField(TComponent* owner, TFieldType dataType);
  void SetVarValue(const Variant& value) override;

 private:
  bool Read(int32_t& value) const;
};

class TSmallintField : public TIntegerField {
 public:
  explicit TSmallintField(TComponent* owner) : TIntegerField(owner, ftSmallint) {}
  const char* ClassName() const override { return "TSmallintField"; }
};

class TWordField : public TIntegerField {
 public:
  explicit TWordField(TComponent* owner) : TIntegerField(owner, ftWord) {}
  const char* ClassName() const override { return "TWordField"; }
};

class TAutoIncField : public TIntegerField {
 public:
  explicit TAutoIncField(TComponent* owner) : TIntegerField(owner, ftAutoInc) {}
  const char* ClassName() const override { return "TAutoIncField"; }
};

class TLargeintField : public TField {
 public:
  explicit TLargeintField(TComponent* owner) : TField(owner, ftLargeint) {}
  const char* ClassName() const override { return "TLargeintField"; }

  String AsString() const override;
  void SetAsString(const String& text) override;
  int32_t AsInteger() const override;
  void SetAsInteger(int32_t value) override;
  int64_t AsLargeInt() const override;
  void SetAsLargeInt(int64_t value) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  Variant Value() const override;

 protected:
  void SetVarValue(const Variant& value) override;
};

// Float and currency fields: an IEEE double. NaN and infinities are refused.
class TFloatField : public TField {
 public:
  explicit TFloatField(TComponent* owner) : TFloatField(owner, ftFloat) {}
  const char* ClassName() const override { return "TFloatField"; }

  String AsString() const override;
  void SetAsString(const String& text) override;
  // Rounded to the nearest integer, halves to even.
  int32_t AsInteger() const override;
  void SetAsInteger(int32_t value) override;
  int64_t AsLargeInt() const override;
  void SetAsLargeInt(int64_t value) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  Variant Value() const override;

 protected:
  TFloatField(TComponent* owner, TFieldType dataType);
  void SetVarValue(const Variant& value) override;
};

class TCurrencyField : public TFloatField {
 public:
  explicit TCurrencyField(TComponent* owner) : TFloatField(owner, ftCurrency) {}
  const char* ClassName() const override { return "TCurrencyField"; }
};

// A fixed-point decimal held exactly as a Currency.
class TBCDField : public TField {
 public:
  explicit TBCDField(TComponent* owner) : TField(owner, ftBCD) {}
  const char* ClassName() const override { return "TBCDField"; }

  String AsString() const override;
  void SetAsString(const String& text) override;
  int32_t AsInteger() const override;
  void SetAsInteger(int32_t value) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  Currency AsCurrency() const override;
  void SetAsCurrency(Currency value) override;
  Variant Value() const override;

 protected:
  void SetVarValue(const Variant& value) override;
};

class TBooleanField : public TField {
 public:
  explicit TBooleanField(TComponent* owner) : TField(owner, ftBoolean) {}
  const char* ClassName() const override { return "TBooleanField"; }

  // "True" or "False".
  String AsString() const override;
  // The text or a beginning of it: "T", "tr", "False" (any case).
  void SetAsString(const String& text) override;
  bool AsBoolean() const override;
  void SetAsBoolean(bool value) override;
  Variant Value() const override;

 protected:
  void SetVarValue(const Variant& value) override;
};

// Date-time fields, and the date and time fields that keep one half of the
// value. Texts follow the format settings (StrToDateTime, DateTimeToStr).
class TDateTimeField : public TField {
 public:
  explicit TDateTimeField(TComponent* owner) : TDateTimeField(owner, ftDateTime) {}
  const char* ClassName() const override { return "TDateTimeField"; }

  String AsString() const override;
  void SetAsString(const String& text) override;
  double AsFloat() const override;
  void SetAsFloat(double value) override;
  TDateTime AsDateTime() const override;
  void SetAsDateTime(TDateTime value) override;
  Variant Value() const override;

 protected:
  TDateTimeField(TComponent* owner, TFieldType dataType);
  void SetVarValue(const Variant& value) override;
};

class TDateField : public TDateTimeField {
 public:
  explicit TDateField(TComponent* owner) : TDateTimeField(owner, ftDate) {}
  const char* ClassName() const override { return "TDateField"; }
};

class TTimeField : public TDateTimeField {
 public:
  explicit TTimeField(TComponent* owner) : TDateTimeField(owner, ftTime) {}
  const char* ClassName() const override { return "TTimeField"; }
};

// Blob, memo and graphic fields. The value lives apart from the record and
// is read and written whole through the data set's blob streams; an empty
// value is null.
class TBlobField : public TField {
 public:
  explicit TBlobField(TComponent* owner) : TBlobField(owner, ftBlob) {}
  const char* ClassName() const override { return "TBlobField"; }

  bool IsNull() const override;
  void Clear() override;
  // The value's bytes.
  String AsString() const override;
  void SetAsString(const String& text) override;
  Variant Value() const override;
  int64_t BlobSize() const;
  // Set by the data set's blob streams when they change the value.
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

 protected:
  TBlobField(TComponent* owner, TFieldType dataType);
  void SetVarValue(const Variant& value) override;

 private:
  std::unique_ptr<TStream> OpenStream(TBlobStreamMode mode) const;

  bool modified_ = false;
};

// Memo and formatted memo fields.
class TMemoField : public TBlobField {
 public:
  explicit TMemoField(TComponent* owner, TFieldType dataType = ftMemo) : TBlobField(owner, dataType) {}
  const char* ClassName() const override { return "TMemoField"; }
};

class TGraphicField : public TBlobField {
 public:
  explicit TGraphicField(TComponent* owner) : TBlobField(owner, ftGraphic) {}
  const char* ClassName() const override { return "TGraphicField"; }
};

// A new field of the class that serves the type, owned by owner; nullptr
// for a type without a field class.
TField* CreateFieldOfType(TFieldType type, TComponent* owner);

// The fields of a data set, in order. Names are matched without regard to
// case.
class TFields {
 public:
  explicit TFields(TDataSet* dataSet) : dataSet_(dataSet) {}
  TFields(const TFields&) = delete;
  TFields& operator=(const TFields&) = delete;

  int Count() const { return int(list_.size()); }
  // EListError "List index out of bounds (%d)" outside the list.
  TField* Fields(int index) const;
  TField* operator[](int index) const { return Fields(index); }
  int IndexOf(const TField* field) const;
  // nullptr when absent.
  TField* FindField(std::string_view name) const;
  // EDatabaseError "Field '%s' not found" (prefixed by the data set's name).
  TField* FieldByName(std::string_view name) const;

  auto begin() const { return list_.begin(); }
  auto end() const { return list_.end(); }

 private:
  friend class TField;
  friend class TDataSet;
  void Add(TField* field) { list_.push_back(field); }
  void Remove(TField* field);

  TDataSet* dataSet_;
  std::vector<TField*> list_;
};
