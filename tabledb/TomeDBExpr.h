// Filter expressions: the parsed tree of TExprNode objects, its evaluation
// against the current record of a data set, and the index-key comparison
// that the table storage builds from the same nodes.
//
// Values are held in their record-buffer forms: strings NUL-terminated 8-bit
// text; small integer Int16, word UInt16, integer and auto-increment Int32,
// large integer Int64; float and currency IEEE double; boolean a 16-bit
// value (any non-zero is true); date an Int32 day number (1 = 0001-01-01);
// time Int32 milliseconds since midnight; date-time a double counting
// milliseconds (day number x 86400000 + time of day).
#pragma once

#include <compare>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/DataSets.h"
#include "platform/Errors.h"
#include "tabledb/TomeDBBasics.h"


enum TExprNodeKind : uint8_t { nkField = 0, nkConstant = 1, nkFunction = 2, nkOperator = 3 };

// Operator codes (NOT has only a left operand).
enum TExprOperator : uint8_t {
  eoNone = 0,
  eoEqual = 3,
  eoNotEqual = 4,
  eoGreater = 5,
  eoLess = 6,
  eoGreaterEqual = 7,
  eoLessEqual = 8,
  eoNot = 9,
  eoAnd = 10,
  eoOr = 11,
  eoAdd = 12,
  eoSubtract = 13,
  eoMultiply = 14,
  eoDivide = 15,
  eoLike = 17,
  eoIn = 18,
};

enum TExprFunction : uint8_t {
  efNone = 0,
  efUpper = 1,
  efLower = 2,
  efSubstring = 3,
  efTrim = 4,
  efTrimLeft = 5,
  efTrimRight = 6,
  efYear = 7,
  efMonth = 8,
  efDay = 9,
  efHour = 10,
  efMinute = 11,
  efSecond = 12,
  efGetDate = 13,
};

// A field of the filtered data set, as the filter engine sees it.
struct TFilterField {
  int Index = -1;  // position in the data set's field list
  uint8_t DataType = ftUnknown;
  bool IsBlob = false;
};

// What the filter engine needs of the data set whose records it filters.
class IFilterRecordSource {
 public:
  virtual ~IFilterRecordSource() = default;
  // Raises the data set's own error for a name it does not have.
  virtual TFilterField FieldByName(const String& name) = 0;
  // The bytes of a non-blob field's value in the record buffer of the data
  // set's current state; empty when there is no such buffer.
  virtual std::span<const uint8_t> FieldData(int fieldIndex) = 0;
  // FieldData of several fields at once, into data (as many items as
  // fieldIndexes): a scan asks for the same few fields of every record.
  virtual void FieldsData(std::span<const int> fieldIndexes, std::span<std::span<const uint8_t>> data) {
    for (size_t k = 0; k < fieldIndexes.size(); ++k) data[k] = FieldData(fieldIndexes[k]);
  }
  // A blob field's current value as text.
  virtual String FieldText(int fieldIndex) = 0;
};

class TExprNodes;

// Bytes of a value of the type in a node; 0 for the string kinds, whose
// values vary in length.
size_t ExprValueSize(uint8_t dataType);

// A typed value where it lies: in a node's memory or in a record buffer.
struct TExprValue {
  uint8_t DataType = ftUnknown;
  const uint8_t* Data = nullptr;
  size_t Size = 0;

  // Any non-zero 16-bit value (a one-byte value: any non-zero byte).
  bool AsBoolean() const {
    if (Size >= 2) {
      uint16_t value;
      std::memcpy(&value, Data, sizeof value);
      return value != 0;
    }
    return Size == 1 && Data[0] != 0;
  }
  // The text of a string-kind value, up to its NUL or its memory's end.
  std::string_view AsText() const;
};

class TExprNode {
 public:
  TExprNode(TExprNodeKind kind, uint8_t dataType) : Kind(kind), DataType(dataType) {}
  TExprNode(const TExprNode&) = delete;
  TExprNode& operator=(const TExprNode&) = delete;

  TExprNodeKind Kind;
  TExprOperator Operator = eoNone;
  TExprFunction Function = efNone;
  uint8_t DataType;
  String Text;  // field name, function name or string literal
  TExprNode* Left = nullptr;
  TExprNode* Right = nullptr;
  // A function's arguments or the elements of an IN list.
  std::vector<TExprNode*> Args;
  // Field nodes: the field's place in the data set.
  int FieldIndex = -1;
  bool IsBlob = false;
  // A string constant's 0-based position of its first "*", else -1: with
  // partial comparison only the characters before it are compared.
  int PartialLength = -1;
  // Longest path from this node down to a leaf, counting this node.
  int Depth = 1;

  // The value: DataSize() bytes at Data().
  const uint8_t* Data() const { return external_ ? external_ : value_.data(); }
  size_t DataSize() const { return external_ ? externalSize_ : value_.size(); }
  // The node's own value memory, zero-filled when it grows.
  uint8_t* Value() { return value_.data(); }
  void SetDataSize(size_t size) { value_.resize(size); }
  // Makes a plain value the node's own value, byte for byte.
  template <class T>
  void Store(T value) {
    SetDataSize(sizeof value);
    std::memcpy(Value(), &value, sizeof value);
  }
  // Makes the node read a value that lives elsewhere (a record buffer or a
  // caller's key buffer); nullptr goes back to the node's own memory.
  void SetExternalData(const uint8_t* data, size_t size) {
    external_ = data;
    externalSize_ = size;
  }

  TExprValue AsValue() const { return TExprValue{DataType, Data(), DataSize()}; }
  bool AsBoolean() const { return AsValue().AsBoolean(); }
  std::string_view AsText() const { return AsValue().AsText(); }

 private:
  std::vector<uint8_t> value_;
  const uint8_t* external_ = nullptr;
  size_t externalSize_ = 0;
};

// Owns every node of one expression.
class TExprNodes {
 public:
  // The source supplies field values; nullptr for constant-only use.
  explicit TExprNodes(IFilterRecordSource* source) : source_(source) {}
  TExprNodes(const TExprNodes&) = delete;
  TExprNodes& operator=(const TExprNodes&) = delete;

  TExprNode* NewNode(TExprNodeKind kind, uint8_t dataType, TExprNode* left, TExprNode* right,
                     TExprOperator op, size_t dataSize);
  void Clear();

  TExprNode* Root = nullptr;
  const std::vector<std::unique_ptr<TExprNode>>& Nodes() const { return nodes_; }

  // Evaluates the node and everything below it; the value is then at the
  // node's Data(). Raises EMathError for floating-point faults.
  void Calculate(TExprNode* node, TFilterOptions options);
  IFilterRecordSource* Source() const { return source_; }
  // Whether the bytes a source gave for a non-blob field of the type can be
  // read as its value.
  static bool FieldValueFits(uint8_t dataType, std::span<const uint8_t> data) {
    return !data.empty() && data.size() >= ExprValueSize(dataType);
  }
  // Raises unless they fit: there was no record buffer, or they are too
  // short for the field's type.
  static void CheckFieldValue(const TExprNode* field, std::span<const uint8_t> data);

 private:
  void CalculateField(TExprNode* node);
  void CalculateOperator(TExprNode* node, TFilterOptions options);
  void CalculateFunction(TExprNode* node);

  IFilterRecordSource* source_;
  std::vector<std::unique_ptr<TExprNode>> nodes_;
};

// How a comparison orders its two operands, decided by their types alone.
enum TExprOrderKind : uint8_t { okText, okWhole, okFloat, okBoolean, okDayOrTime, okMoment };
TExprOrderKind ExprOrderKind(uint8_t leftType, uint8_t rightType);
// The order of two operands of one comparison, of the given kind. Strings
// compare by the locale, with partial comparison over partialLength
// characters (negative: whole).
std::partial_ordering OrderExprValues(TExprOrderKind kind, const TExprValue& l, const TExprValue& r,
                                      TFilterOptions options, int partialLength);
// The result of a comparison operator for an order (unordered floats
// included).
bool ComparisonHolds(TExprOperator op, std::partial_ordering order);

// Orders two raw values of one field type as the indexes do: -1 when key
// sorts before stored, 0 when equal, 1 after. With partial, string keys are
// compared over the key's length only.
int CompareKeyValues(std::span<const uint8_t> key, std::span<const uint8_t> stored, uint8_t fieldType,
                     bool partial, bool caseInsensitive);
