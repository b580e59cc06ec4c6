// Evaluation of filter expression trees: every operator and function over
// the operand types that the parser's type rules admit, and the index-key
// ordering built on the same comparisons.
#include <cassert>
#include <cmath>
#include <compare>
#include <cstring>

#include "platform/DateTime.h"
#include "tabledb/TomeDBExpr.h"

namespace {

template <class T>
T Load(const TExprValue& v) {
  assert(v.Size >= sizeof(T));
  T value;
  std::memcpy(&value, v.Data, sizeof value);
  return value;
}

template <class T>
T Load(const TExprNode* node) {
  return Load<T>(node->AsValue());
}

void StoreBool(TExprNode* node, bool value) { node->Store<uint16_t>(value ? 1 : 0); }

void StoreText(TExprNode* node, std::string_view text) {
  node->SetDataSize(text.size() + 1);
  std::memcpy(node->Value(), text.data(), text.size());
  node->Value()[text.size()] = 0;
}

bool IsWholeNumber(uint8_t type) { return IsIntegerType(type) || type == ftLargeint; }

int64_t WholeValue(const TExprValue& v) {
  switch (v.DataType) {
    case ftSmallint:
      return Load<int16_t>(v);
    case ftWord:
      return Load<uint16_t>(v);
    case ftLargeint:
      return Load<int64_t>(v);
    default:
      return Load<int32_t>(v);
  }
}
int64_t WholeValue(const TExprNode* node) { return WholeValue(node->AsValue()); }

double FloatValue(const TExprValue& v) {
  if (v.DataType == ftFloat || v.DataType == ftCurrency) return Load<double>(v);
  return double(WholeValue(v));
}
double FloatValue(const TExprNode* node) { return FloatValue(node->AsValue()); }

// Milliseconds of a date (its midnight) or a date-time, so that the two can
// be compared and subtracted.
double MomentMSecs(const TExprValue& v) {
  if (v.DataType == ftDate) return double(Load<int32_t>(v)) * MSecsPerDay;
  return Load<double>(v);
}
double MomentMSecs(const TExprNode* node) { return MomentMSecs(node->AsValue()); }

[[noreturn]] void InvalidFloatOperation() { throw EInvalidOp("Invalid floating point operation"); }

int64_t RoundedMSecs(double msecs) {
  if (!(std::fabs(msecs) < 9.2e18)) InvalidFloatOperation();
  return std::llround(msecs);
}

// A number as a count of days or milliseconds: a float truncated toward
// zero, a large integer by its low 32 bits.
int32_t CountValue(const TExprNode* node) {
  if (node->DataType == ftFloat || node->DataType == ftCurrency) {
    const double value = Load<double>(node);
    if (!(value > -2147483649.0 && value < 2147483648.0)) InvalidFloatOperation();
    return int32_t(value);
  }
  return int32_t(uint32_t(uint64_t(WholeValue(node))));
}

double FloatResult(TExprOperator op, double a, double b) {
  double result;
  switch (op) {
    case eoAdd:
      result = a + b;
      break;
    case eoSubtract:
      result = a - b;
      break;
    case eoMultiply:
      result = a * b;
      break;
    default:
      if (b == 0) {
        if (a == 0 || std::isnan(a)) InvalidFloatOperation();
        throw EZeroDivide("Floating point division by zero");
      }
      result = a / b;
      break;
  }
  if (std::isnan(result)) InvalidFloatOperation();
  if (std::isinf(result)) throw EOverflow("Floating point overflow");
  return result;
}

// Integer arithmetic wraps, in unsigned arithmetic of the result's width.
template <class Signed>
Signed WrappingResult(TExprOperator op, int64_t a, int64_t b) {
  using Unsigned = std::make_unsigned_t<Signed>;
  const auto x = Unsigned(uint64_t(a));
  const auto y = Unsigned(uint64_t(b));
  switch (op) {
    case eoAdd:
      return Signed(Unsigned(x + y));
    case eoSubtract:
      return Signed(Unsigned(x - y));
    default:
      return Signed(Unsigned(x * y));
  }
}

void NumericArithmetic(TExprNode* node) {
  const TExprNode* l = node->Left;
  const TExprNode* r = node->Right;
  switch (node->DataType) {
    case ftInteger:
    case ftAutoInc:
      node->Store<int32_t>(WrappingResult<int32_t>(node->Operator, WholeValue(l), WholeValue(r)));
      break;
    case ftLargeint:
      node->Store<int64_t>(WrappingResult<int64_t>(node->Operator, WholeValue(l), WholeValue(r)));
      break;
    default:
      node->Store<double>(FloatResult(node->Operator, FloatValue(l), FloatValue(r)));
      break;
  }
}

// Dates and times move by whole days or milliseconds; differences of dates
// count days, of times milliseconds, of date-times milliseconds.
void DateTimeArithmetic(TExprNode* node) {
  const TExprNode* l = node->Left;
  const TExprNode* r = node->Right;
  const bool add = node->Operator == eoAdd;
  if (l->DataType == ftDate || l->DataType == ftTime) {
    const int32_t b = IsNumericType(r->DataType) ? CountValue(r) : Load<int32_t>(r);
    node->Store<int32_t>(WrappingResult<int32_t>(node->Operator, Load<int32_t>(l), b));
    return;
  }
  const double msecs = Load<double>(l);
  double result;
  if (IsNumericType(r->DataType)) {
    // The number moves the day; the time of day stays.
    const int64_t total = RoundedMSecs(msecs);
    const int32_t day =
        WrappingResult<int32_t>(add ? eoAdd : eoSubtract, int32_t(uint32_t(uint64_t(total / MSecsPerDay))),
                                CountValue(r));
    result = double(day) * MSecsPerDay + double(total % MSecsPerDay);
  } else if (r->DataType == ftDate) {
    result = msecs - MomentMSecs(r);
  } else if (r->DataType == ftTime) {
    result = double(RoundedMSecs(msecs)) - Load<int32_t>(r);
  } else {
    result = msecs - Load<double>(r);
  }
  node->Store<double>(result);
}

// The day number of a date or date-time value.
int32_t DayNumber(const TExprNode* node) {
  if (node->DataType == ftDate) return Load<int32_t>(node);
  return int32_t(uint32_t(uint64_t(RoundedMSecs(Load<double>(node)) / MSecsPerDay)));
}

// Milliseconds since midnight of a time or date-time value. A time moved
// past midnight by arithmetic wraps around the day.
int32_t TimeOfDay(const TExprNode* node) {
  const int64_t msecs = node->DataType == ftTime ? Load<int32_t>(node) : RoundedMSecs(Load<double>(node));
  return int32_t((msecs % MSecsPerDay + MSecsPerDay) % MSecsPerDay);
}

std::partial_ordering OrderOf(const TExprNode* l, const TExprNode* r, TFilterOptions options, int partialLength) {
  return OrderExprValues(ExprOrderKind(l->DataType, r->DataType), l->AsValue(), r->AsValue(), options,
                         partialLength);
}

}  // namespace

size_t ExprValueSize(uint8_t dataType) {
  switch (dataType) {
    case ftSmallint:
    case ftWord:
    case ftBoolean:
      return 2;
    case ftInteger:
    case ftAutoInc:
    case ftDate:
    case ftTime:
      return 4;
    case ftFloat:
    case ftCurrency:
    case ftDateTime:
    case ftLargeint:
      return 8;
    default:
      return 0;
  }
}

std::string_view TExprValue::AsText() const {
  if (Size == 0) return {};
  const char* text = reinterpret_cast<const char*>(Data);
  return std::string_view(text, strnlen(text, Size));
}

TExprOrderKind ExprOrderKind(uint8_t leftType, uint8_t rightType) {
  if (IsStringType(leftType)) return okText;
  if (IsNumericType(leftType)) return IsWholeNumber(leftType) && IsWholeNumber(rightType) ? okWhole : okFloat;
  if (leftType == ftBoolean) return okBoolean;
  if (leftType == rightType && leftType != ftDateTime) return okDayOrTime;
  return okMoment;
}

std::partial_ordering OrderExprValues(TExprOrderKind kind, const TExprValue& l, const TExprValue& r,
                                      TFilterOptions options, int partialLength) {
  switch (kind) {
    case okText: {
      const bool partial = (options & foNoPartialCompare) == 0;
      const bool ignoreCase = (options & foCaseInsensitive) != 0;
      return CompareFieldStrings(l.AsText(), r.AsText(), partial, ignoreCase, partialLength) <=> 0;
    }
    case okWhole:
      return WholeValue(l) <=> WholeValue(r);
    case okFloat:
      return FloatValue(l) <=> FloatValue(r);
    case okBoolean:
      return l.AsBoolean() <=> r.AsBoolean();
    case okDayOrTime:
      return Load<int32_t>(l) <=> Load<int32_t>(r);
    default:
      return MomentMSecs(l) <=> MomentMSecs(r);
  }
}

bool ComparisonHolds(TExprOperator op, std::partial_ordering order) {
  switch (op) {
    case eoEqual:
      return order == 0;
    case eoNotEqual:
      return !(order == 0);
    case eoGreater:
      return order > 0;
    case eoLess:
      return order < 0;
    case eoGreaterEqual:
      return !(order < 0);
    default:
      return !(order > 0);
  }
}

TExprNode* TExprNodes::NewNode(TExprNodeKind kind, uint8_t dataType, TExprNode* left, TExprNode* right,
                               TExprOperator op, size_t dataSize) {
  auto node = std::make_unique<TExprNode>(kind, dataType);
  node->Left = left;
  node->Right = right;
  node->Operator = op;
  node->SetDataSize(dataSize);
  nodes_.push_back(std::move(node));
  return nodes_.back().get();
}

void TExprNodes::Clear() {
  Root = nullptr;
  nodes_.clear();
}

void TExprNodes::Calculate(TExprNode* node, TFilterOptions options) {
  switch (node->Kind) {
    case nkConstant:
      break;
    case nkField:
      CalculateField(node);
      break;
    case nkFunction:
      for (TExprNode* arg : node->Args) Calculate(arg, options);
      CalculateFunction(node);
      break;
    case nkOperator:
      CalculateOperator(node, options);
      break;
  }
}

// The value is looked up in the record buffer of the data set's current
// state on every evaluation: the buffer may be another one each time.
void TExprNodes::CalculateField(TExprNode* node) {
  assert(source_);
  if (node->IsBlob) {
    node->SetExternalData(nullptr, 0);
    StoreText(node, source_->FieldText(node->FieldIndex));
    return;
  }
  const std::span<const uint8_t> data = source_->FieldData(node->FieldIndex);
  CheckFieldValue(node, data);
  node->SetExternalData(data.data(), data.size());
}

void TExprNodes::CheckFieldValue(const TExprNode* field, std::span<const uint8_t> data) {
  if (data.empty()) DatabaseError("No current record");
  if (!FieldValueFits(field->DataType, data)) DatabaseError("General error");
}

void TExprNodes::CalculateOperator(TExprNode* node, TFilterOptions options) {
  TExprNode* l = node->Left;
  TExprNode* r = node->Right;
  switch (node->Operator) {
    case eoNot:
      Calculate(l, options);
      StoreBool(node, !l->AsBoolean());
      return;
    case eoAnd:
      Calculate(l, options);
      if (l->AsBoolean()) Calculate(r, options);
      StoreBool(node, l->AsBoolean() && r->AsBoolean());
      return;
    case eoOr:
      Calculate(l, options);
      if (!l->AsBoolean()) Calculate(r, options);
      StoreBool(node, l->AsBoolean() || r->AsBoolean());
      return;
    case eoIn: {
      Calculate(l, options);
      for (TExprNode* element : node->Args) Calculate(element, options);
      bool found = false;
      for (const TExprNode* element : node->Args)
        if (OrderOf(l, element, options, element->PartialLength) == 0) {
          found = true;
          break;
        }
      StoreBool(node, found);
      return;
    }
    default:
      break;
  }
  Calculate(l, options);
  Calculate(r, options);
  switch (node->Operator) {
    case eoLike:
      StoreBool(node, MatchLikePattern(l->AsText(), r->AsText(), (options & foCaseInsensitive) == 0));
      break;
    case eoAdd:
    case eoSubtract:
    case eoMultiply:
    case eoDivide:
      if (IsStringType(l->DataType)) {
        String joined(l->AsText());
        joined += r->AsText();
        StoreText(node, joined);
      } else if (IsDateTimeType(l->DataType)) {
        DateTimeArithmetic(node);
      } else {
        NumericArithmetic(node);
      }
      break;
    default:
      StoreBool(node, ComparisonHolds(node->Operator, OrderOf(l, r, options, r->PartialLength)));
      break;
  }
}

void TExprNodes::CalculateFunction(TExprNode* node) {
  const auto& args = node->Args;
  switch (node->Function) {
    case efUpper:
      StoreText(node, UpperCase(args[0]->AsText()));
      break;
    case efLower:
      StoreText(node, LowerCase(args[0]->AsText()));
      break;
    case efTrim:
      StoreText(node, Trim(args[0]->AsText()));
      break;
    case efTrimLeft:
      StoreText(node, TrimLeft(args[0]->AsText()));
      break;
    case efTrimRight:
      StoreText(node, TrimRight(args[0]->AsText()));
      break;
    case efSubstring:
      // Copy clamps a start before the text and a negative length.
      StoreText(node, Copy(args[0]->AsText(), Load<int32_t>(args[1]), Load<int32_t>(args[2])));
      break;
    case efYear:
    case efMonth:
    case efDay: {
      uint16_t year, month, day;
      DecodeDate(TimeStampToDateTime(TTimeStamp{0, DayNumber(args[0])}), year, month, day);
      node->Store<int32_t>(node->Function == efYear ? year : node->Function == efMonth ? month : day);
      break;
    }
    case efHour:
    case efMinute:
    case efSecond: {
      uint16_t hour, minute, second, msec;
      DecodeTime(double(TimeOfDay(args[0])) / MSecsPerDay, hour, minute, second, msec);
      node->Store<int32_t>(node->Function == efHour ? hour : node->Function == efMinute ? minute : second);
      break;
    }
    default:
      break;
  }
}

int CompareKeyValues(std::span<const uint8_t> key, std::span<const uint8_t> stored, uint8_t fieldType,
                     bool partial, bool caseInsensitive) {
  const bool comparable = IsStringType(fieldType) || IsNumericType(fieldType) || IsDateTimeType(fieldType) ||
                          fieldType == ftBoolean;
  const size_t width = ExprValueSize(fieldType);
  if (!comparable || key.size() < width || stored.size() < width) DatabaseError("General error");
  const TExprValue keyValue{fieldType, key.data(), key.size()};
  const TExprValue storedValue{fieldType, stored.data(), stored.size()};
  // A partial key of text matches every stored value that starts with it.
  const bool byKeyLength = partial && (fieldType == ftString || fieldType == ftFixedChar ||
                                       fieldType == ftWideString || fieldType == ftGuid);
  const int partialLength = byKeyLength ? int(keyValue.AsText().size()) : -1;
  const TFilterOptions options =
      TFilterOptions((caseInsensitive ? foCaseInsensitive : 0) | (partial ? 0 : foNoPartialCompare));
  const std::partial_ordering order =
      OrderExprValues(ExprOrderKind(fieldType, fieldType), keyValue, storedValue, options, partialLength);
  if (order == 0) return 0;
  return order < 0 ? -1 : 1;
}
