// Variant: a value that carries its type. It holds nothing (Empty), an SQL
// Null, an integer of one of the fixed widths, a float, a Currency, a date,
// a Boolean, an ANSI or a wide string, or a one-dimensional array.
//
// Conversions follow the platform's rules: numbers convert among each
// other (floats round to integers, halves to even), Booleans are -1 and 0
// as numbers and "True"/"False" as text, strings parse with the format
// settings, Empty is 0, "" or False, and Null converts to nothing but
// raises EVariantError "Could not convert variant of type (Null) into type
// (Integer)" (VarToStr, which gives "", excepted). Every refused conversion
// raises EVariantError; a value that does not fit its target raises
// EVariantError "Overflow while converting variant of type (Double) into
// type (Byte)".
//
// Copies are deep: an array is copied with its elements.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "DateTime.h"
#include "Numbers.h"
#include "Text.h"

// The platform's type codes; stored formats keep these numbers.
using TVarType = uint16_t;
enum : TVarType {
  varEmpty = 0x0000,
  varNull = 0x0001,
  varSmallint = 0x0002,  // 16-bit signed
  varInteger = 0x0003,   // 32-bit signed
  varSingle = 0x0004,
  varDouble = 0x0005,
  varCurrency = 0x0006,
  varDate = 0x0007,
  varOleStr = 0x0008,  // wide string
  varBoolean = 0x000B,
  varVariant = 0x000C,  // element type of arrays of Variants
  varShortInt = 0x0010,  // 8-bit signed
  varByte = 0x0011,
  varWord = 0x0012,
  varLongWord = 0x0013,
  varInt64 = 0x0014,
  varString = 0x0100,  // ANSI string
  varTypeMask = 0x0FFF,
  varArray = 0x2000,
};

// The name used in messages: "Empty", "Null", "Smallint", "Integer",
// "Single", "Double", "Currency", "Date", "OleStr", "Boolean", "Variant",
// "ShortInt", "Byte", "Word", "LongWord", "Int64", "String"; arrays
// "Array " and their element's name.
String VarTypeAsText(TVarType type);

class Variant {
 public:
  Variant();  // Empty
  Variant(bool v);
  Variant(signed char v);    // varShortInt
  Variant(unsigned char v);  // varByte
  Variant(short v);          // varSmallint
  Variant(unsigned short v); // varWord
  Variant(int v);            // varInteger
  Variant(unsigned v);       // varLongWord
  Variant(long v);           // varInteger or varInt64 by its width
  Variant(long long v);      // varInt64
  Variant(float v);
  Variant(double v);
  Variant(Currency v);
  Variant(char v);  // a one-character string
  Variant(const char* v);
  Variant(std::string_view v);
  Variant(const String& v);
  Variant(const char16_t* v);
  Variant(const WideString& v);
  // Keeps a stray pointer from turning into a Boolean.
  Variant(const void*) = delete;

  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant();

  TVarType Type() const { return type_; }
  void Clear();  // back to Empty

  // Typed reads with the conversion rules above.
  bool AsBoolean() const;
  int8_t AsShortInt() const;
  uint8_t AsByte() const;
  int16_t AsSmallint() const;
  uint16_t AsWord() const;
  int32_t AsInteger() const;
  uint32_t AsLongWord() const;
  int64_t AsInt64() const;
  float AsSingle() const;
  double AsDouble() const;
  Currency AsCurrency() const;
  TDateTime AsDateTime() const;
  String AsString() const;
  WideString AsWideString() const;

 private:
  friend struct VariantAccess;
  struct ArrayData;

  TVarType type_ = varEmpty;
  // Integers, Booleans (0 or 1) and the Currency's scaled value.
  int64_t int_ = 0;
  // Single, Double and Date.
  double float_ = 0;
  String str_;
  WideString wide_;
  std::unique_ptr<ArrayData> array_;
};

Variant Null();
Variant Unassigned();  // Empty
Variant VarFromDateTime(TDateTime value);

TVarType VarType(const Variant& v);
bool VarIsEmpty(const Variant& v);
bool VarIsNull(const Variant& v);
bool VarIsClear(const Variant& v);  // Empty
bool VarIsArray(const Variant& v);
bool VarIsStr(const Variant& v);  // ANSI or wide string
// Integers and Booleans.
bool VarIsOrdinal(const Variant& v);
// Single, Double and Currency.
bool VarIsFloat(const Variant& v);
bool VarIsNumeric(const Variant& v);  // ordinal or float
void VarClear(Variant& v);

// Null gives "", everything else its text: numbers through FloatToStr and
// CurrToStr, dates through DateTimeToStr, Booleans "True"/"False".
String VarToStr(const Variant& v);
WideString VarToWideStr(const Variant& v);
// A date from a date, a number or a text (StrToDateTime).
TDateTime VarToDateTime(const Variant& v);
// The value converted to type (an array type is refused). Null stays Null
// only for varNull; Empty converts like 0.
Variant VarAsType(const Variant& v, TVarType type);

// --- Arrays ---------------------------------------------------------------------------
// A one-dimensional array of high - low + 1 elements of type elementType
// (any scalar type, varOleStr or varVariant), each Empty converted to that
// type. Raises EVariantError "Error creating variant or safe array" for
// high < low - 1 or an element type that arrays cannot hold.
Variant VarArrayCreate(int32_t low, int32_t high, TVarType elementType);
// An array of Variants with bounds 0 .. count - 1.
Variant VarArrayOf(std::initializer_list<Variant> values);
Variant VarArrayOf(const std::vector<Variant>& values);
// Arrays here have one dimension; 0 for a Variant that is not an array.
int VarArrayDimCount(const Variant& v);
// dim is 1. Raise EVariantError "Variant is not an array" for a non-array
// and "Variant or safe array index out of bounds" for another dim.
int32_t VarArrayLowBound(const Variant& v, int dim);
int32_t VarArrayHighBound(const Variant& v, int dim);
// Element access; the index is checked against the bounds (EVariantError
// "Variant or safe array index out of bounds"). Put converts the value to
// the element type.
Variant VarArrayGet(const Variant& array, int32_t index);
void VarArrayPut(Variant& array, const Variant& value, int32_t index);
// The packed little-endian element data of an array of a fixed-size element
// type (integers, floats, Currency, Date, Boolean as 16-bit -1/0): a byte
// array gives its bytes. EVariantError "Variant is not an array" for a
// non-array and "Invalid variant type conversion" for arrays of Variants or
// of strings.
String VarArrayToBytes(const Variant& array);
// A byte array (varByte elements, bounds 0 .. size - 1) holding bytes.
Variant VarArrayFromBytes(std::string_view bytes);

// --- Comparison and arithmetic -------------------------------------------------------
// Empty equals only Empty and is less than anything else; Null equals only
// Null and is less than any other value. Numbers, dates and Booleans (-1,
// 0) compare by value; two strings compare with AnsiCompareStr (two wide
// strings by code unit); a string against a number, date or Boolean is
// first converted to that type (EVariantError when it cannot be). Arrays
// cannot be compared (EVariantError "Invalid variant operation").
enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan };
TVariantRelationship VarCompareValue(const Variant& a, const Variant& b);
bool operator==(const Variant& a, const Variant& b);
bool operator!=(const Variant& a, const Variant& b);
bool operator<(const Variant& a, const Variant& b);
bool operator<=(const Variant& a, const Variant& b);
bool operator>(const Variant& a, const Variant& b);
bool operator>=(const Variant& a, const Variant& b);

// Null with anything gives Null; Empty acts as 0 (Empty with Empty gives
// Empty). Integers and Booleans give integers (Integer, or Int64 when an
// operand is Int64 or the result needs it; EVariantError "Variant
// overflow" beyond Int64); Currency with integers or Currency stays
// Currency; with a date, + and - give a date, except a date minus a date;
// everything else, and every '/', gives a Double. Two strings added are
// joined; otherwise a string is read as a Double. Dividing by zero raises
// EVariantError "Division by zero". Arrays raise EVariantError "Invalid
// variant operation".
Variant operator+(const Variant& a, const Variant& b);
Variant operator-(const Variant& a, const Variant& b);
Variant operator*(const Variant& a, const Variant& b);
Variant operator/(const Variant& a, const Variant& b);
Variant operator-(const Variant& a);
