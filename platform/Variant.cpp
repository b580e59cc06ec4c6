// Variant: storage, conversions, arrays, comparison and arithmetic.
//
// A scalar keeps integers, Booleans (0/1) and the Currency's scaled value
// in int_, Single, Double and Date in float_, and its text in str_ or
// wide_. An array keeps fixed-size elements packed in their native
// little-endian layout (a byte array is its bytes), and strings and
// Variants as Variants.
#include "Variant.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "Errors.h"

struct Variant::ArrayData {
  TVarType ElementType = varVariant;
  int32_t Low = 0;
  int32_t Count = 0;
  std::vector<uint8_t> Raw;     // fixed-size elements
  std::vector<Variant> Items;   // varOleStr and varVariant elements
};

// The .cpp's access to Variant's representation.
struct VariantAccess {
  static Variant Make(TVarType type) {
    Variant v;
    v.type_ = type;
    return v;
  }
  static Variant MakeInt(TVarType type, int64_t i) {
    Variant v = Make(type);
    v.int_ = i;
    return v;
  }
  static Variant MakeFloat(TVarType type, double d) {
    Variant v = Make(type);
    v.float_ = d;
    return v;
  }
  static int64_t Int(const Variant& v) { return v.int_; }
  static double Float(const Variant& v) { return v.float_; }
  static const String& Str(const Variant& v) { return v.str_; }
  static const WideString& Wide(const Variant& v) { return v.wide_; }
  using ArrayData = Variant::ArrayData;
  static ArrayData* Array(const Variant& v) { return v.array_.get(); }
  static void SetArray(Variant& v, std::unique_ptr<ArrayData> data) {
    v.Clear();
    v.type_ = TVarType(varArray | data->ElementType);
    v.array_ = std::move(data);
  }
};

namespace {

using VA = VariantAccess;

[[noreturn]] void CastError(TVarType from, TVarType to) {
  throw EVariantError("Could not convert variant of type (%s) into type (%s)",
                      {VarTypeAsText(from), VarTypeAsText(to)});
}

[[noreturn]] void OverflowError(TVarType from, TVarType to) {
  throw EVariantError("Overflow while converting variant of type (%s) into type (%s)",
                      {VarTypeAsText(from), VarTypeAsText(to)});
}

[[noreturn]] void InvalidOperation() { throw EVariantError("Invalid variant operation"); }

bool IsIntegerType(TVarType t) {
  switch (t) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
      return true;
  }
  return false;
}

bool IsStringType(TVarType t) { return t == varString || t == varOleStr; }

bool IsFloatType(TVarType t) { return t == varSingle || t == varDouble || t == varDate; }

// The text of a string Variant, in ANSI.
String TextOf(const Variant& v) { return v.Type() == varOleStr ? WideToAnsi(VA::Wide(v)) : VA::Str(v); }

// Null, arrays and Empty are handled by every conversion the same way.
// Returns true when v is Empty (the caller answers its zero).
bool CheckConvertible(const Variant& v, TVarType to) {
  if (v.Type() == varNull || (v.Type() & varArray)) CastError(v.Type(), to);
  return v.Type() == varEmpty;
}

// Halves round to even, as the platform rounds floats to integers.
bool DoubleToInt64(double d, int64_t& result) {
  double r = std::nearbyint(d);
  if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) return false;
  result = int64_t(r);
  return true;
}

int64_t CurrencyToInt64(int64_t scaled) {
  int64_t q = scaled / Currency::Scale, r = scaled % Currency::Scale;
  int64_t twice = 2 * (r < 0 ? -r : r);
  if (twice > Currency::Scale || (twice == Currency::Scale && q % 2 != 0)) q += r < 0 ? -1 : 1;
  return q;
}

int64_t ToInteger(const Variant& v, TVarType to, int64_t lo, int64_t hi) {
  if (CheckConvertible(v, to)) return 0;
  TVarType t = v.Type();
  int64_t result = 0;
  if (IsIntegerType(t)) {
    result = VA::Int(v);
  } else if (t == varBoolean) {
    result = VA::Int(v) ? -1 : 0;
  } else if (t == varCurrency) {
    result = CurrencyToInt64(VA::Int(v));
  } else if (IsFloatType(t)) {
    if (!DoubleToInt64(VA::Float(v), result)) OverflowError(t, to);
  } else if (IsStringType(t)) {
    String text = TextOf(v);
    double d;
    if (!TryStrToInt64(text, result)) {
      if (!TryStrToFloat(text, d)) CastError(t, to);
      if (!DoubleToInt64(d, result)) OverflowError(t, to);
    }
  } else {
    CastError(t, to);
  }
  if (result < lo || result > hi) OverflowError(t, to);
  return result;
}

double ToDouble(const Variant& v, TVarType to) {
  if (CheckConvertible(v, to)) return 0;
  TVarType t = v.Type();
  if (IsIntegerType(t)) return double(VA::Int(v));
  if (t == varBoolean) return VA::Int(v) ? -1 : 0;
  if (t == varCurrency) return Currency::FromScaled(VA::Int(v)).ToDouble();
  if (IsFloatType(t)) return VA::Float(v);
  double d;
  if (IsStringType(t) && TryStrToFloat(TextOf(v), d)) return d;
  CastError(t, to);
}

Currency ToCurrency(const Variant& v) {
  if (CheckConvertible(v, varCurrency)) return Currency{};
  TVarType t = v.Type();
  if (t == varCurrency) return Currency::FromScaled(VA::Int(v));
  Currency c;
  if (IsStringType(t)) {
    if (!TryStrToCurr(TextOf(v), c)) CastError(t, varCurrency);
    return c;
  }
  if (IsIntegerType(t) || t == varBoolean) {
    int64_t i = t == varBoolean ? (VA::Int(v) ? -1 : 0) : VA::Int(v);
    const int64_t limit = std::numeric_limits<int64_t>::max() / Currency::Scale;
    if (i < -limit || i > limit) OverflowError(t, varCurrency);
    return Currency::FromScaled(i * Currency::Scale);
  }
  if (IsFloatType(t)) {
    if (!TryFloatToCurr(VA::Float(v), c)) OverflowError(t, varCurrency);
    return c;
  }
  CastError(t, varCurrency);
}

bool ToBoolean(const Variant& v) {
  if (CheckConvertible(v, varBoolean)) return false;
  TVarType t = v.Type();
  if (IsIntegerType(t) || t == varBoolean || t == varCurrency) return VA::Int(v) != 0;
  if (IsFloatType(t)) return VA::Float(v) != 0;
  if (IsStringType(t)) {
    String text = TextOf(v);
    if (SameText(text, "True")) return true;
    if (SameText(text, "False")) return false;
    double d;
    if (TryStrToFloat(text, d)) return d != 0;
  }
  CastError(t, varBoolean);
}

TDateTime ToDateTime(const Variant& v) {
  if (IsStringType(v.Type())) {
    TDateTime d;
    if (!TryStrToDateTime(TextOf(v), d)) CastError(v.Type(), varDate);
    return d;
  }
  return ToDouble(v, varDate);
}

String ToString(const Variant& v) {
  if (CheckConvertible(v, varString)) return "";
  TVarType t = v.Type();
  if (IsIntegerType(t)) return IntToStr(VA::Int(v));
  switch (t) {
    case varBoolean: return VA::Int(v) ? "True" : "False";
    // A Single holds about seven significant digits.
    case varSingle: return FloatToStrF(VA::Float(v), ffGeneral, 7, 0);
    case varDouble: return FloatToStr(VA::Float(v));
    case varCurrency: return CurrToStr(Currency::FromScaled(VA::Int(v)));
    case varDate: return DateTimeToStr(VA::Float(v));
    case varString:
    case varOleStr: return TextOf(v);
  }
  CastError(t, varString);
}

// --- Array elements ---------------------------------------------------------------

size_t ElementSize(TVarType t) {
  switch (t) {
    case varShortInt:
    case varByte: return 1;
    case varSmallint:
    case varWord:
    case varBoolean: return 2;
    case varInteger:
    case varLongWord:
    case varSingle: return 4;
    case varInt64:
    case varDouble:
    case varCurrency:
    case varDate: return 8;
  }
  return 0;
}

template <class T>
T Load(const uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <class T>
void Store(uint8_t* p, T v) {
  std::memcpy(p, &v, sizeof v);
}

Variant LoadElement(TVarType t, const uint8_t* p) {
  switch (t) {
    case varShortInt: return Variant(Load<int8_t>(p));
    case varByte: return Variant(Load<uint8_t>(p));
    case varSmallint: return Variant(Load<int16_t>(p));
    case varWord: return Variant(Load<uint16_t>(p));
    case varBoolean: return Variant(Load<int16_t>(p) != 0);
    case varInteger: return Variant(Load<int32_t>(p));
    case varLongWord: return Variant(Load<uint32_t>(p));
    case varSingle: return Variant(Load<float>(p));
    case varInt64: return VA::MakeInt(varInt64, Load<int64_t>(p));
    case varDouble: return Variant(Load<double>(p));
    case varCurrency: return Variant(Currency::FromScaled(Load<int64_t>(p)));
    default: return VarFromDateTime(Load<double>(p));
  }
}

void StoreElement(TVarType t, uint8_t* p, const Variant& v) {
  switch (t) {
    case varShortInt: Store(p, v.AsShortInt()); break;
    case varByte: Store(p, v.AsByte()); break;
    case varSmallint: Store(p, v.AsSmallint()); break;
    case varWord: Store(p, v.AsWord()); break;
    case varBoolean: Store(p, int16_t(v.AsBoolean() ? -1 : 0)); break;
    case varInteger: Store(p, v.AsInteger()); break;
    case varLongWord: Store(p, v.AsLongWord()); break;
    case varSingle: Store(p, v.AsSingle()); break;
    case varInt64: Store(p, v.AsInt64()); break;
    case varDouble: Store(p, v.AsDouble()); break;
    case varCurrency: Store(p, v.AsCurrency().Scaled); break;
    default: Store(p, v.AsDateTime()); break;
  }
}

VA::ArrayData& ArrayOf(const Variant& v) {
  if (!(v.Type() & varArray)) throw EVariantError("Variant is not an array");
  return *VA::Array(v);
}

// The position of index in the array's storage.
size_t Slot(const VA::ArrayData& a, int32_t index) {
  int64_t offset = int64_t(index) - a.Low;
  if (offset < 0 || offset >= a.Count) throw EVariantError("Variant or safe array index out of bounds");
  return size_t(offset);
}

// --- Comparison and arithmetic ----------------------------------------------------

template <class T>
TVariantRelationship Relate(T a, T b) {
  if (a < b) return vrLessThan;
  if (b < a) return vrGreaterThan;
  return vrEqual;
}

// The other operand's kind decides what a string is read as.
TVariantRelationship CompareWithString(const Variant& s, const Variant& other) {
  TVarType t = other.Type();
  if (t == varBoolean) return Relate<int64_t>(ToBoolean(s) ? -1 : 0, VA::Int(other) ? -1 : 0);
  if (t == varDate) return Relate(ToDateTime(s), VA::Float(other));
  return Relate(ToDouble(s, varDouble), ToDouble(other, varDouble));
}

TVariantRelationship Reverse(TVariantRelationship r) {
  return r == vrLessThan ? vrGreaterThan : r == vrGreaterThan ? vrLessThan : vrEqual;
}

bool IsOrdinalType(TVarType t) { return IsIntegerType(t) || t == varBoolean; }

int64_t OrdinalValue(const Variant& v) {
  return v.Type() == varBoolean ? (VA::Int(v) ? -1 : 0) : VA::Int(v);
}

Variant IntegerResult(int64_t value, bool wide) {
  if (!wide && value >= INT32_MIN && value <= INT32_MAX) return Variant(int32_t(value));
  return VA::MakeInt(varInt64, value);
}

Variant CurrencyResult(double value) {
  Currency c;
  if (!TryFloatToCurr(value, c)) throw EVariantError("Variant overflow");
  return Variant(c);
}

Variant Arithmetic(char op, const Variant& a, const Variant& b) {
  if ((a.Type() | b.Type()) & varArray) InvalidOperation();
  if (VarIsNull(a) || VarIsNull(b)) return Null();
  if (VarIsEmpty(a) && VarIsEmpty(b)) return Variant();
  const Variant x = VarIsEmpty(a) ? Variant(0) : a;
  const Variant y = VarIsEmpty(b) ? Variant(0) : b;
  TVarType tx = x.Type(), ty = y.Type();

  if (op == '+' && IsStringType(tx) && IsStringType(ty)) {
    if (tx == varOleStr || ty == varOleStr) return Variant(x.AsWideString() + y.AsWideString());
    return Variant(VA::Str(x) + VA::Str(y));
  }
  if (op == '/') {
    double divisor = ToDouble(y, varDouble);
    if (divisor == 0) throw EVariantError("Division by zero");
    return Variant(ToDouble(x, varDouble) / divisor);
  }
  if (IsOrdinalType(tx) && IsOrdinalType(ty)) {
    int64_t p = OrdinalValue(x), q = OrdinalValue(y), r;
    bool overflow = op == '+'   ? __builtin_add_overflow(p, q, &r)
                    : op == '-' ? __builtin_sub_overflow(p, q, &r)
                                : __builtin_mul_overflow(p, q, &r);
    if (overflow) throw EVariantError("Variant overflow");
    return IntegerResult(r, tx == varInt64 || ty == varInt64);
  }
  bool currency = (tx == varCurrency || ty == varCurrency) && (tx == varCurrency || IsOrdinalType(tx)) &&
                  (ty == varCurrency || IsOrdinalType(ty));
  if (currency && op != '*') {
    int64_t p = ToCurrency(x).Scaled, q = ToCurrency(y).Scaled, r;
    bool overflow = op == '+' ? __builtin_add_overflow(p, q, &r) : __builtin_sub_overflow(p, q, &r);
    if (overflow) throw EVariantError("Variant overflow");
    return Variant(Currency::FromScaled(r));
  }
  double p = ToDouble(x, varDouble), q = ToDouble(y, varDouble);
  double r = op == '+' ? p + q : op == '-' ? p - q : p * q;
  if (currency) return CurrencyResult(r);
  bool date = (tx == varDate || ty == varDate) && op != '*' && !(op == '-' && tx == varDate && ty == varDate);
  return date ? VarFromDateTime(r) : Variant(r);
}

}  // namespace

// --- Construction ------------------------------------------------------------------

Variant::Variant() = default;
Variant::Variant(bool v) : type_(varBoolean), int_(v ? 1 : 0) {}
Variant::Variant(signed char v) : type_(varShortInt), int_(v) {}
Variant::Variant(unsigned char v) : type_(varByte), int_(v) {}
Variant::Variant(short v) : type_(varSmallint), int_(v) {}
Variant::Variant(unsigned short v) : type_(varWord), int_(v) {}
Variant::Variant(int v) : type_(varInteger), int_(v) {}
Variant::Variant(unsigned v) : type_(varLongWord), int_(v) {}
Variant::Variant(long v) : type_(sizeof(long) == 8 ? varInt64 : varInteger), int_(v) {}
Variant::Variant(long long v) : type_(varInt64), int_(v) {}
Variant::Variant(float v) : type_(varSingle), float_(v) {}
Variant::Variant(double v) : type_(varDouble), float_(v) {}
Variant::Variant(Currency v) : type_(varCurrency), int_(v.Scaled) {}
Variant::Variant(char v) : type_(varString), str_(1, v) {}
Variant::Variant(const char* v) : type_(varString), str_(v ? v : "") {}
Variant::Variant(std::string_view v) : type_(varString), str_(v) {}
Variant::Variant(const String& v) : type_(varString), str_(v) {}
Variant::Variant(const char16_t* v) : type_(varOleStr), wide_(v ? v : u"") {}
Variant::Variant(const WideString& v) : type_(varOleStr), wide_(v) {}

Variant::Variant(const Variant& other)
    : type_(other.type_),
      int_(other.int_),
      float_(other.float_),
      str_(other.str_),
      wide_(other.wide_),
      array_(other.array_ ? std::make_unique<ArrayData>(*other.array_) : nullptr) {}

Variant::Variant(Variant&& other) noexcept
    : type_(other.type_),
      int_(other.int_),
      float_(other.float_),
      str_(std::move(other.str_)),
      wide_(std::move(other.wide_)),
      array_(std::move(other.array_)) {
  other.type_ = varEmpty;
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) *this = Variant(other);
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    type_ = other.type_;
    int_ = other.int_;
    float_ = other.float_;
    str_ = std::move(other.str_);
    wide_ = std::move(other.wide_);
    array_ = std::move(other.array_);
    other.type_ = varEmpty;
  }
  return *this;
}

Variant::~Variant() = default;

void Variant::Clear() { *this = Variant(); }

// --- Typed reads ---------------------------------------------------------------------

bool Variant::AsBoolean() const { return ToBoolean(*this); }
int8_t Variant::AsShortInt() const { return int8_t(ToInteger(*this, varShortInt, INT8_MIN, INT8_MAX)); }
uint8_t Variant::AsByte() const { return uint8_t(ToInteger(*this, varByte, 0, UINT8_MAX)); }
int16_t Variant::AsSmallint() const { return int16_t(ToInteger(*this, varSmallint, INT16_MIN, INT16_MAX)); }
uint16_t Variant::AsWord() const { return uint16_t(ToInteger(*this, varWord, 0, UINT16_MAX)); }
int32_t Variant::AsInteger() const { return int32_t(ToInteger(*this, varInteger, INT32_MIN, INT32_MAX)); }
uint32_t Variant::AsLongWord() const { return uint32_t(ToInteger(*this, varLongWord, 0, UINT32_MAX)); }
int64_t Variant::AsInt64() const { return ToInteger(*this, varInt64, INT64_MIN, INT64_MAX); }

float Variant::AsSingle() const {
  double d = ToDouble(*this, varSingle);
  if (std::isfinite(d) && std::fabs(d) > FLT_MAX) OverflowError(type_, varSingle);
  return float(d);
}

double Variant::AsDouble() const { return ToDouble(*this, varDouble); }
Currency Variant::AsCurrency() const { return ToCurrency(*this); }
TDateTime Variant::AsDateTime() const { return ToDateTime(*this); }
String Variant::AsString() const { return ToString(*this); }

WideString Variant::AsWideString() const {
  if (type_ == varOleStr) return wide_;
  return AnsiToWide(ToString(*this));
}

// --- Free functions -------------------------------------------------------------------

String VarTypeAsText(TVarType type) {
  if (type & varArray) return "Array " + VarTypeAsText(type & varTypeMask);
  switch (type) {
    case varEmpty: return "Empty";
    case varNull: return "Null";
    case varSmallint: return "Smallint";
    case varInteger: return "Integer";
    case varSingle: return "Single";
    case varDouble: return "Double";
    case varCurrency: return "Currency";
    case varDate: return "Date";
    case varOleStr: return "OleStr";
    case varBoolean: return "Boolean";
    case varVariant: return "Variant";
    case varShortInt: return "ShortInt";
    case varByte: return "Byte";
    case varWord: return "Word";
    case varLongWord: return "LongWord";
    case varInt64: return "Int64";
    case varString: return "String";
  }
  return "$" + IntToHex(type, 4);
}

Variant Null() { return VA::Make(varNull); }
Variant Unassigned() { return Variant(); }
Variant VarFromDateTime(TDateTime value) { return VA::MakeFloat(varDate, value); }

TVarType VarType(const Variant& v) { return v.Type(); }
bool VarIsEmpty(const Variant& v) { return v.Type() == varEmpty; }
bool VarIsNull(const Variant& v) { return v.Type() == varNull; }
bool VarIsClear(const Variant& v) { return v.Type() == varEmpty; }
bool VarIsArray(const Variant& v) { return (v.Type() & varArray) != 0; }
bool VarIsStr(const Variant& v) { return IsStringType(v.Type()); }
bool VarIsOrdinal(const Variant& v) { return IsOrdinalType(v.Type()); }
bool VarIsFloat(const Variant& v) {
  return v.Type() == varSingle || v.Type() == varDouble || v.Type() == varCurrency;
}
bool VarIsNumeric(const Variant& v) { return VarIsOrdinal(v) || VarIsFloat(v); }
void VarClear(Variant& v) { v.Clear(); }

String VarToStr(const Variant& v) { return VarIsNull(v) ? String() : v.AsString(); }
WideString VarToWideStr(const Variant& v) { return VarIsNull(v) ? WideString() : v.AsWideString(); }
TDateTime VarToDateTime(const Variant& v) { return v.AsDateTime(); }

Variant VarAsType(const Variant& v, TVarType type) {
  if (type == varVariant) return v;
  if (type == varNull && VarIsNull(v)) return v;
  if (type == varEmpty) return Variant();
  if (VarIsNull(v)) CastError(varNull, type);
  switch (type) {
    case varBoolean: return Variant(v.AsBoolean());
    case varShortInt: return Variant(v.AsShortInt());
    case varByte: return Variant(v.AsByte());
    case varSmallint: return Variant(v.AsSmallint());
    case varWord: return Variant(v.AsWord());
    case varInteger: return Variant(v.AsInteger());
    case varLongWord: return Variant(v.AsLongWord());
    case varInt64: return VA::MakeInt(varInt64, v.AsInt64());
    case varSingle: return Variant(v.AsSingle());
    case varDouble: return Variant(v.AsDouble());
    case varCurrency: return Variant(v.AsCurrency());
    case varDate: return VarFromDateTime(v.AsDateTime());
    case varString: return Variant(v.AsString());
    case varOleStr: return Variant(v.AsWideString());
  }
  CastError(v.Type(), type);
}

// --- Arrays ---------------------------------------------------------------------------

Variant VarArrayCreate(int32_t low, int32_t high, TVarType elementType) {
  int64_t count = int64_t(high) - low + 1;
  bool holdable = ElementSize(elementType) > 0 || elementType == varOleStr || elementType == varVariant;
  if (count < 0 || count > INT32_MAX || !holdable) throw EVariantError("Error creating variant or safe array");
  auto data = std::make_unique<VA::ArrayData>();
  data->ElementType = elementType;
  data->Low = low;
  data->Count = int32_t(count);
  if (size_t size = ElementSize(elementType)) data->Raw.assign(size_t(count) * size, 0);
  else data->Items.assign(size_t(count), elementType == varOleStr ? Variant(WideString()) : Variant());
  Variant v;
  VA::SetArray(v, std::move(data));
  return v;
}

Variant VarArrayOf(const std::vector<Variant>& values) {
  auto data = std::make_unique<VA::ArrayData>();
  data->Count = int32_t(values.size());
  data->Items = values;
  Variant v;
  VA::SetArray(v, std::move(data));
  return v;
}

Variant VarArrayOf(std::initializer_list<Variant> values) { return VarArrayOf(std::vector<Variant>(values)); }

int VarArrayDimCount(const Variant& v) { return VarIsArray(v) ? 1 : 0; }

int32_t VarArrayLowBound(const Variant& v, int dim) {
  const VA::ArrayData& a = ArrayOf(v);
  if (dim != 1) throw EVariantError("Variant or safe array index out of bounds");
  return a.Low;
}

int32_t VarArrayHighBound(const Variant& v, int dim) {
  const VA::ArrayData& a = ArrayOf(v);
  if (dim != 1) throw EVariantError("Variant or safe array index out of bounds");
  return int32_t(int64_t(a.Low) + a.Count - 1);
}

Variant VarArrayGet(const Variant& array, int32_t index) {
  const VA::ArrayData& a = ArrayOf(array);
  size_t slot = Slot(a, index);
  if (size_t size = ElementSize(a.ElementType)) return LoadElement(a.ElementType, a.Raw.data() + slot * size);
  return a.Items[slot];
}

void VarArrayPut(Variant& array, const Variant& value, int32_t index) {
  VA::ArrayData& a = ArrayOf(array);
  size_t slot = Slot(a, index);
  if (size_t size = ElementSize(a.ElementType)) StoreElement(a.ElementType, a.Raw.data() + slot * size, value);
  else a.Items[slot] = a.ElementType == varOleStr ? Variant(value.AsWideString()) : value;
}

String VarArrayToBytes(const Variant& array) {
  const VA::ArrayData& a = ArrayOf(array);
  if (ElementSize(a.ElementType) == 0) throw EVariantError("Invalid variant type conversion");
  return String(a.Raw.begin(), a.Raw.end());
}

Variant VarArrayFromBytes(std::string_view bytes) {
  auto data = std::make_unique<VA::ArrayData>();
  data->ElementType = varByte;
  data->Count = int32_t(bytes.size());
  data->Raw.assign(bytes.begin(), bytes.end());
  Variant v;
  VA::SetArray(v, std::move(data));
  return v;
}

// --- Comparison and arithmetic -------------------------------------------------------

TVariantRelationship VarCompareValue(const Variant& a, const Variant& b) {
  TVarType ta = a.Type(), tb = b.Type();
  if ((ta | tb) & varArray) InvalidOperation();
  // Empty, then Null, before every value.
  for (TVarType special : {varEmpty, varNull}) {
    if (ta == special || tb == special) {
      if (ta == tb) return vrEqual;
      return ta == special ? vrLessThan : vrGreaterThan;
    }
  }
  if (IsStringType(ta) && IsStringType(tb)) {
    if (ta == varOleStr && tb == varOleStr) return Relate(VA::Wide(a), VA::Wide(b));
    return Relate(AnsiCompareStr(TextOf(a), TextOf(b)), 0);
  }
  if (IsStringType(ta)) return CompareWithString(a, b);
  if (IsStringType(tb)) return Reverse(CompareWithString(b, a));
  if (IsOrdinalType(ta) && IsOrdinalType(tb)) return Relate(OrdinalValue(a), OrdinalValue(b));
  if (ta == varCurrency && tb == varCurrency) return Relate(VA::Int(a), VA::Int(b));
  return Relate(ToDouble(a, varDouble), ToDouble(b, varDouble));
}

bool operator==(const Variant& a, const Variant& b) { return VarCompareValue(a, b) == vrEqual; }
bool operator!=(const Variant& a, const Variant& b) { return VarCompareValue(a, b) != vrEqual; }
bool operator<(const Variant& a, const Variant& b) { return VarCompareValue(a, b) == vrLessThan; }
bool operator<=(const Variant& a, const Variant& b) { return VarCompareValue(a, b) != vrGreaterThan; }
bool operator>(const Variant& a, const Variant& b) { return VarCompareValue(a, b) == vrGreaterThan; }
bool operator>=(const Variant& a, const Variant& b) { return VarCompareValue(a, b) != vrLessThan; }

Variant operator+(const Variant& a, const Variant& b) { return Arithmetic('+', a, b); }
Variant operator-(const Variant& a, const Variant& b) { return Arithmetic('-', a, b); }
Variant operator*(const Variant& a, const Variant& b) { return Arithmetic('*', a, b); }
Variant operator/(const Variant& a, const Variant& b) { return Arithmetic('/', a, b); }

Variant operator-(const Variant& a) {
  TVarType t = a.Type();
  if (t & varArray) InvalidOperation();
  if (t == varEmpty || t == varNull) return a;
  if (IsOrdinalType(t)) return Arithmetic('-', Variant(0), a);
  if (t == varCurrency) {
    if (VA::Int(a) == INT64_MIN) throw EVariantError("Variant overflow");
    return Variant(Currency::FromScaled(-VA::Int(a)));
  }
  if (t == varSingle) return Variant(-float(VA::Float(a)));
  if (t == varDate) return VarFromDateTime(-VA::Float(a));
  return Variant(-ToDouble(a, varDouble));
}
