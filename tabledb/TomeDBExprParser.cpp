// Scanner, parser and type rules of the filter expression language.
#include "tabledb/TomeDBExprParser.h"

#include <algorithm>
#include <cstring>

#include "platform/DateTime.h"
#include "platform/FormatSettings.h"
#include "platform/Numbers.h"

namespace {

const char* const kTypeMismatch = "Type mismatch in expression";

// Bounds on parenthesis nesting and on tree depth: evaluation recurses once
// per level, and no sensible filter comes near either.
constexpr int kMaxNesting = 100;
constexpr int kMaxDepth = 500;

bool IsBlank(char c) { return static_cast<unsigned char>(c) < 33; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool StartsSymbol(char c) {
  const auto u = static_cast<unsigned char>(c);
  return IsLetter(c) || c == '_' || (u >= 129 && u <= 254);
}
bool ContinuesSymbol(char c) {
  return IsLetter(c) || IsDigit(c) || c == '_' || c == '.' || c == '[' || c == ']';
}

[[noreturn]] void TypeMismatch() { DatabaseError(kTypeMismatch); }

struct FunctionInfo {
  const char* name;
  TExprFunction code;
  uint8_t resultType;
};

const FunctionInfo kFunctions[] = {
    {"UPPER", efUpper, ftString},       {"LOWER", efLower, ftString},
    {"SUBSTRING", efSubstring, ftString}, {"TRIM", efTrim, ftString},
    {"TRIMLEFT", efTrimLeft, ftString}, {"TRIMRIGHT", efTrimRight, ftString},
    {"YEAR", efYear, ftInteger},        {"MONTH", efMonth, ftInteger},
    {"DAY", efDay, ftInteger},          {"HOUR", efHour, ftInteger},
    {"MINUTE", efMinute, ftInteger},    {"SECOND", efSecond, ftInteger},
    {"GETDATE", efGetDate, ftDateTime},
};

const FunctionInfo* FindFunction(std::string_view name) {
  for (const auto& f : kFunctions)
    if (SameText(name, f.name)) return &f;
  return nullptr;
}

bool IsSymbol(TExprToken token, const String& text, const char* word) {
  return token == etSymbol && SameText(text, word);
}

// Rank of a numeric type for the result of arithmetic.
int NumericRank(uint8_t type) {
  switch (type) {
    case ftSmallint:
      return 1;
    case ftWord:
      return 2;
    case ftInteger:
    case ftAutoInc:
      return 3;
    case ftLargeint:
      return 4;
    case ftFloat:
      return 5;
    default:  // currency
      return 6;
  }
}

// A string literal that one of the date and time readers accepts.
bool IsConvertible(const TExprNode* node) {
  if (node->Kind != nkConstant || node->DataType != ftString) return false;
  TDateTime value;
  return TextToDateTime(node->Text, value) || TryStrToDateTime(node->Text, value);
}

// Replaces a string literal by its value in a date-time type. A text that no
// reader accepts raises the platform's conversion error.
void ConvertConstant(TExprNode* node, uint8_t type) {
  TDateTime value;
  const TTimeStamp stamp = [&] {
    switch (type) {
      case ftDate:
        if (!TextToDate(node->Text, value)) value = StrToDate(node->Text);
        break;
      case ftTime:
        if (!TextToTime(node->Text, value)) value = StrToTime(node->Text);
        break;
      default:
        if (!TextToDateTime(node->Text, value)) value = StrToDateTime(node->Text);
        break;
    }
    return DateTimeToTimeStamp(value);
  }();
  node->DataType = type;
  node->PartialLength = -1;
  if (type == ftDate)
    node->Store<int32_t>(stamp.Date);
  else if (type == ftTime)
    node->Store<int32_t>(stamp.Time);
  else
    node->Store<double>(TimeStampToMSecs(stamp));
}

// Date with date or date-time, and time with time only: comparing a time of
// day with a day has no meaning.
bool ComparableDateTimes(uint8_t a, uint8_t b) { return a == b || (a != ftTime && b != ftTime); }

// Keeps the parser's recursion within kMaxNesting.
class NestingGuard {
 public:
  explicit NestingGuard(int& nesting) : nesting_(nesting) {
    if (++nesting_ > kMaxNesting) DatabaseError("Filter expression too complex");
  }
  ~NestingGuard() { --nesting_; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;

 private:
  int& nesting_;
};

}  // namespace

// --- Scanner -------------------------------------------------------------------------

void TSyntaxParserBase::StartScan(std::string_view text) {
  text_ = String(text);
  tokenText_.clear();
  token_ = etEnd;
  previousToken_ = etEnd;
  position_ = 0;
  tokenStart_ = 0;
}

void TSyntaxParserBase::NextToken() {
  previousToken_ = token_;
  tokenStart_ = SkipBlanks(position_);
  position_ = ScanToken(tokenStart_);
}

String TSyntaxParserBase::TokenDescription() const {
  if (token_ == etEnd) return "nothing";
  return "'" + text_.substr(tokenStart_, position_ - tokenStart_) + "'";
}

bool TSyntaxParserBase::NextCharIsOpenParen() const {
  size_t pos = position_;
  while (pos < text_.size() && IsBlank(text_[pos])) ++pos;
  return pos < text_.size() && text_[pos] == '(';
}

// Blanks, then at most one comment "/* ... */" (which may not contain a "*"
// of its own), then blanks again.
size_t TSyntaxParserBase::SkipBlanks(size_t pos) const {
  const size_t n = text_.size();
  while (pos < n && IsBlank(text_[pos])) ++pos;
  if (pos + 1 < n && text_[pos] == '/' && text_[pos + 1] == '*') {
    const size_t star = text_.find('*', pos + 2);
    if (star == String::npos) DatabaseErrorFmt("Unterminated comment at position %d", {int32_t(pos + 1)});
    if (star + 1 == n || text_[star + 1] != '/') DatabaseError("Invalid filter expression character: '*'");
    pos = star + 2;
    while (pos < n && IsBlank(text_[pos])) ++pos;
  }
  return pos;
}

size_t TSyntaxParserBase::ScanToken(size_t pos) {
  if (pos >= text_.size()) {
    token_ = etEnd;
    tokenText_.clear();
    return pos;
  }
  const char c = text_[pos];
  const char next = pos + 1 < text_.size() ? text_[pos + 1] : '\0';
  size_t length = 1;
  switch (c) {
    case '\'':
      return ScanString(pos);
    case '[':
      return ScanName(pos);
    case '(':
      token_ = etLParen;
      break;
    case ')':
      token_ = etRParen;
      break;
    case ',':
      token_ = etComma;
      break;
    case '*':
      token_ = etMultiply;
      break;
    case '+':
      token_ = etPlus;
      break;
    case '/':
      token_ = etDivide;
      break;
    case '=':
      token_ = etEqual;
      break;
    case '<':
      token_ = next == '=' ? etLessEqual : next == '>' ? etNotEqual : etLess;
      length = token_ == etLess ? 1 : 2;
      break;
    case '>':
      token_ = next == '=' ? etGreaterEqual : etGreater;
      length = token_ == etGreater ? 1 : 2;
      break;
    case '-':
      // After an operand a minus subtracts; anywhere else it signs a number.
      // The keywords OR, AND and NOT are symbols, so a minus after them
      // subtracts too.
      switch (previousToken_) {
        case etSymbol:
        case etName:
        case etNumber:
        case etString:
        case etRParen:
          token_ = etMinus;
          break;
        default:
          return ScanNumber(pos);
      }
      break;
    default:
      if (IsDigit(c)) return ScanNumber(pos);
      if (StartsSymbol(c)) return ScanSymbol(pos);
      DatabaseErrorFmt("Invalid filter expression character: '%s'", {String(1, c)});
  }
  tokenText_ = text_.substr(pos, length);
  return pos + length;
}

// 'text' with '' standing for one quote.
size_t TSyntaxParserBase::ScanString(size_t pos) {
  String value;
  size_t i = pos + 1;
  for (;;) {
    if (i >= text_.size()) DatabaseError("Unterminated string constant");
    char c = text_[i++];
    if (c == '\'') {
      if (i < text_.size() && text_[i] == '\'')
        ++i;
      else
        break;
    }
    value.push_back(c);
  }
  token_ = etString;
  tokenText_ = std::move(value);
  return i;
}

// Digits, exponent letters, the decimal separator, and a sign right after an
// exponent letter. With a comma as decimal separator, a comma followed by a
// blank ends the number before it, so that lists such as "1, 2" work.
size_t TSyntaxParserBase::ScanNumber(size_t pos) {
  const char decimal = FormatSettings().DecimalSeparator;
  size_t i = pos + (text_[pos] == '-' ? 1 : 0);
  while (i < text_.size()) {
    const char c = text_[i];
    const bool exponentSign =
        (c == '+' || c == '-') && i > pos && (text_[i - 1] == 'E' || text_[i - 1] == 'e');
    if (!IsDigit(c) && c != 'E' && c != 'e' && c != decimal && !exponentSign) break;
    ++i;
  }
  if (decimal == ',' && i > pos && text_[i - 1] == ',' && i < text_.size() && IsBlank(text_[i])) --i;
  token_ = etNumber;
  tokenText_ = text_.substr(pos, i - pos);
  return i;
}

// Narrow strings are always Windows-1252, a single-byte code page: no
// character takes a trail byte with it.
size_t TSyntaxParserBase::ScanSymbol(size_t pos) {
  size_t i = pos + 1;
  while (i < text_.size() && ContinuesSymbol(text_[i])) ++i;
  tokenText_ = text_.substr(pos, i - pos);
  token_ = SameText(tokenText_, "LIKE") ? etLike : SameText(tokenText_, "IN") ? etIn : etSymbol;
  return i;
}

// [any characters but "]"]
size_t TSyntaxParserBase::ScanName(size_t pos) {
  const size_t close = text_.find(']', pos + 1);
  if (close == String::npos) DatabaseError("Unterminated field name");
  token_ = etName;
  tokenText_ = text_.substr(pos + 1, close - pos - 1);
  return close + 1;
}

// --- Parser ----------------------------------------------------------------------------

void TFilterParser::Parse(std::string_view text) {
  direct_.Clear();
  nodes_.Clear();
  nesting_ = 0;
  try {
    StartScan(text);
    NextToken();
    TExprNode* root = ParseExpression();
    CheckEnd();
    // A filter decides whether a record passes: anything but a condition
    // has no defined answer.
    if (root->DataType != ftBoolean) TypeMismatch();
    direct_.Build(root);
    nodes_.Root = root;
  } catch (...) {
    direct_.Clear();
    nodes_.Clear();
    throw;
  }
}

bool TFilterParser::Evaluate(TFilterOptions options) {
  if (!nodes_.Root) throw EInvalidOperation("No filter expression to evaluate");
  options_ = options;
  return direct_.Passes(nodes_, options);
}

void TFilterParser::CheckEnd() {
  if (Token() != etEnd) DatabaseError("Filter expression incorrectly terminated");
}

void TFilterParser::ExpectCloseParen() {
  if (Token() != etRParen) DatabaseErrorFmt("')' expected but %s found", {TokenDescription()});
}

TExprNode* TFilterParser::ParseExpression() {
  NestingGuard guard(nesting_);
  TExprNode* left = ParseAndTerm();
  while (IsSymbol(Token(), TokenText(), "OR")) {
    NextToken();
    left = NewOperatorNode(eoOr, left, ParseAndTerm());
  }
  return left;
}

TExprNode* TFilterParser::ParseAndTerm() {
  TExprNode* left = ParseNotTerm();
  while (IsSymbol(Token(), TokenText(), "AND")) {
    NextToken();
    left = NewOperatorNode(eoAnd, left, ParseNotTerm());
  }
  return left;
}

// One NOT only: a second one reads as a field name.
TExprNode* TFilterParser::ParseNotTerm() {
  if (!IsSymbol(Token(), TokenText(), "NOT")) return ParseComparison();
  NextToken();
  return NewOperatorNode(eoNot, ParseComparison(), nullptr);
}

// At most one comparison: "a < b < c" leaves "< c" unparsed.
TExprNode* TFilterParser::ParseComparison() {
  TExprNode* left = ParseSum();
  TExprOperator op;
  switch (Token()) {
    case etEqual:
      op = eoEqual;
      break;
    case etNotEqual:
      op = eoNotEqual;
      break;
    case etGreater:
      op = eoGreater;
      break;
    case etLess:
      op = eoLess;
      break;
    case etGreaterEqual:
      op = eoGreaterEqual;
      break;
    case etLessEqual:
      op = eoLessEqual;
      break;
    case etLike:
      op = eoLike;
      break;
    case etIn:
      NextToken();
      return ParseInList(left);
    default:
      return left;
  }
  NextToken();
  return NewOperatorNode(op, left, ParseSum());
}

TExprNode* TFilterParser::ParseInList(TExprNode* left) {
  if (Token() != etLParen) DatabaseErrorFmt("'(' expected but %s found", {TokenDescription()});
  NextToken();
  if (Token() == etRParen) DatabaseError("IN predicate list may not be empty");
  TExprNode* node = nodes_.NewNode(nkOperator, ftBoolean, left, nullptr, eoIn, ExprValueSize(ftBoolean));
  for (;;) {
    node->Args.push_back(ParseExpression());
    if (Token() == etRParen) break;
    if (Token() != etComma) DatabaseErrorFmt("')' or ',' expected but %s found", {TokenDescription()});
    NextToken();
    if (Token() == etEnd) ExpectCloseParen();
  }
  NextToken();
  CheckOperatorTypes(node);
  return node;
}

TExprNode* TFilterParser::ParseSum() {
  TExprNode* left = ParseProduct();
  while (Token() == etPlus || Token() == etMinus) {
    const TExprOperator op = Token() == etPlus ? eoAdd : eoSubtract;
    NextToken();
    left = NewOperatorNode(op, left, ParseProduct());
  }
  return left;
}

TExprNode* TFilterParser::ParseProduct() {
  TExprNode* left = ParsePrimary();
  while (Token() == etMultiply || Token() == etDivide) {
    const TExprOperator op = Token() == etMultiply ? eoMultiply : eoDivide;
    NextToken();
    left = NewOperatorNode(op, left, ParsePrimary());
  }
  return left;
}

TExprNode* TFilterParser::ParsePrimary() {
  TExprNode* node;
  switch (Token()) {
    case etSymbol:
      if (FindFunction(TokenText()) && NextCharIsOpenParen()) return ParseFunctionCall();
      if (SameText(TokenText(), "True") || SameText(TokenText(), "False")) {
        node = NewConstantNode(ftBoolean, 0);
        node->Store<uint16_t>(SameText(TokenText(), "True") ? 1 : 0);
      } else {
        node = NewFieldNode(TokenText());
      }
      break;
    case etName:
      node = NewFieldNode(TokenText());
      break;
    case etNumber:
      node = ParseNumber();
      break;
    case etString: {
      const String& text = TokenText();
      node = NewConstantNode(ftString, text.size() + 1);
      node->Text = text;
      std::memcpy(node->Value(), text.data(), text.size());
      const size_t star = text.find('*');
      node->PartialLength = star == String::npos ? -1 : int(star);
      break;
    }
    case etLParen:
      NextToken();
      node = ParseExpression();
      ExpectCloseParen();
      break;
    default:
      DatabaseErrorFmt("Expression expected but %s found", {TokenDescription()});
  }
  NextToken();
  return node;
}

// An integer when the whole text is a 32-bit integer, else a float.
TExprNode* TFilterParser::ParseNumber() {
  int32_t integer;
  if (TryStrToInt(TokenText(), integer)) {
    TExprNode* node = NewConstantNode(ftInteger, 0);
    node->Store<int32_t>(integer);
    return node;
  }
  const double value = StrToFloat(TokenText());
  TExprNode* node = NewConstantNode(ftFloat, 0);
  node->Store<double>(value);
  return node;
}

// name ( [ expression { , expression } ] ); the current token is the name.
TExprNode* TFilterParser::ParseFunctionCall() {
  const FunctionInfo* function = FindFunction(TokenText());
  TExprNode* node = nodes_.NewNode(nkFunction, function->resultType, nullptr, nullptr, eoNone, 0);
  node->Function = function->code;
  node->Text = TokenText();
  NextToken();  // "("
  NextToken();
  if (Token() != etRParen) {
    for (;;) {
      node->Args.push_back(ParseExpression());
      if (Token() == etRParen) break;
      if (Token() != etComma) DatabaseErrorFmt("')' or ',' expected but %s found", {TokenDescription()});
      NextToken();
      if (Token() == etEnd) ExpectCloseParen();
    }
  }
  NextToken();
  CheckFunctionTypes(node);
  return node;
}

TExprNode* TFilterParser::NewOperatorNode(TExprOperator op, TExprNode* left, TExprNode* right) {
  TExprNode* node = nodes_.NewNode(nkOperator, ftBoolean, left, right, op, ExprValueSize(ftBoolean));
  CheckOperatorTypes(node);
  return node;
}

TExprNode* TFilterParser::NewFieldNode(const String& name) {
  const TFilterField field = source_.FieldByName(name);
  TExprNode* node = nodes_.NewNode(nkField, field.DataType, nullptr, nullptr, eoNone, 0);
  node->Text = name;
  node->FieldIndex = field.Index;
  node->IsBlob = field.IsBlob;
  return node;
}

TExprNode* TFilterParser::NewConstantNode(uint8_t dataType, size_t dataSize) {
  return nodes_.NewNode(nkConstant, dataType, nullptr, nullptr, eoNone, dataSize);
}

// --- Type rules ---------------------------------------------------------------------------

void TFilterParser::CheckOperatorTypes(TExprNode* node) {
  int depth = 0;
  for (const TExprNode* child : {node->Left, node->Right}) depth = std::max(depth, child ? child->Depth : 0);
  for (const TExprNode* arg : node->Args) depth = std::max(depth, arg->Depth);
  node->Depth = depth + 1;
  if (node->Depth > kMaxDepth) DatabaseError("Filter expression too complex");

  switch (node->Operator) {
    case eoNot:
    case eoAnd:
    case eoOr:
      for (const TExprNode* operand : {node->Left, node->Right})
        if (operand && operand->DataType != ftBoolean) TypeMismatch();
      break;
    case eoEqual:
    case eoNotEqual:
    case eoGreater:
    case eoLess:
    case eoGreaterEqual:
    case eoLessEqual:
      CheckComparisonTypes(node, node->Left, node->Right);
      break;
    case eoLike:
      if (!IsStringType(node->Left->DataType) || !IsStringType(node->Right->DataType)) TypeMismatch();
      break;
    case eoIn:
      for (TExprNode* element : node->Args) CheckComparisonTypes(node, node->Left, element);
      break;
    default:
      CheckArithmeticTypes(node);
      break;
  }
}

// The operands of a comparison (or the left of IN and one element). A string
// literal facing a date-time operand is converted to that operand's type.
void TFilterParser::CheckComparisonTypes(const TExprNode* node, TExprNode* left, TExprNode* right) {
  const uint8_t leftType = left->DataType;
  if (IsNumericType(leftType)) {
    if (!IsNumericType(right->DataType)) TypeMismatch();
  } else if (IsDateTimeType(leftType)) {
    if (IsConvertible(right)) ConvertConstant(right, leftType);
    if (!IsDateTimeType(right->DataType) || !ComparableDateTimes(leftType, right->DataType)) TypeMismatch();
  } else if (IsStringType(leftType)) {
    if (IsDateTimeType(right->DataType) && IsConvertible(left))
      ConvertConstant(left, right->DataType);
    else if (!IsStringType(right->DataType))
      TypeMismatch();
  } else if (leftType == ftBoolean) {
    const bool equality = node->Operator == eoEqual || node->Operator == eoNotEqual || node->Operator == eoIn;
    if (right->DataType != ftBoolean || !equality) TypeMismatch();
  } else {
    TypeMismatch();
  }
}

void TFilterParser::CheckArithmeticTypes(TExprNode* node) {
  TExprNode* left = node->Left;
  TExprNode* right = node->Right;
  const TExprOperator op = node->Operator;
  uint8_t result;
  if (IsNumericType(left->DataType)) {
    if (!IsNumericType(right->DataType)) TypeMismatch();
    result = NumericRank(right->DataType) > NumericRank(left->DataType) ? right->DataType : left->DataType;
    if (result == ftSmallint || result == ftWord) result = ftInteger;
    if (op == eoDivide) result = ftFloat;
  } else if (IsStringType(left->DataType) && IsStringType(right->DataType) && op == eoAdd) {
    result = ftString;
  } else if (op == eoSubtract && IsConvertible(left) && IsDateTimeType(right->DataType)) {
    ConvertConstant(left, ftDateTime);
    result = ftFloat;
  } else if (op == eoSubtract && IsDateTimeType(left->DataType)) {
    if (IsConvertible(right)) ConvertConstant(right, left->DataType);
    const uint8_t l = left->DataType;
    const uint8_t r = right->DataType;
    // A day minus a time of day (or the reverse) has no meaning.
    if ((l == ftDate || l == ftTime) && (r == l || IsNumericType(r)))
      result = ftInteger;
    else if (l == ftDateTime && (IsDateTimeType(r) || IsNumericType(r)))
      result = ftFloat;
    else
      TypeMismatch();
  } else if (op == eoAdd && IsDateTimeType(left->DataType) && IsNumericType(right->DataType)) {
    result = left->DataType;
  } else {
    TypeMismatch();
  }
  node->DataType = result;
  node->SetDataSize(ExprValueSize(result));
}

void TFilterParser::CheckFunctionTypes(TExprNode* node) {
  int depth = 0;
  for (const TExprNode* arg : node->Args) depth = std::max(depth, arg->Depth);
  node->Depth = depth + 1;
  if (node->Depth > kMaxDepth) DatabaseError("Filter expression too complex");

  const auto& args = node->Args;
  const auto argIs = [&](size_t count, auto accepts) {
    if (args.size() != count) TypeMismatch();
    for (const TExprNode* arg : args)
      if (!accepts(arg)) TypeMismatch();
  };
  switch (node->Function) {
    case efUpper:
    case efLower:
    case efTrim:
    case efTrimLeft:
    case efTrimRight:
      argIs(1, [](const TExprNode* a) { return IsStringType(a->DataType); });
      break;
    case efSubstring:
      if (args.size() != 3 || !IsStringType(args[0]->DataType)) TypeMismatch();
      for (const TExprNode* bound : {args[1], args[2]})
        if (bound->Kind != nkConstant || bound->DataType != ftInteger) TypeMismatch();
      break;
    case efYear:
    case efMonth:
    case efDay:
      argIs(1, [](const TExprNode* a) { return a->DataType == ftDate || a->DataType == ftDateTime; });
      break;
    case efHour:
    case efMinute:
    case efSecond:
      argIs(1, [](const TExprNode* a) { return a->DataType == ftTime || a->DataType == ftDateTime; });
      break;
    case efGetDate:
      // The moment of parsing: the node becomes a constant.
      argIs(0, [](const TExprNode*) { return true; });
      node->Kind = nkConstant;
      node->Store<double>(TimeStampToMSecs(DateTimeToTimeStamp(Now())));
      return;
    default:
      TypeMismatch();
  }
  node->SetDataSize(ExprValueSize(node->DataType));
}
