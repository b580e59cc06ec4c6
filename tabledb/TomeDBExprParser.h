// The filter expression language: a scanner (TSyntaxParserBase) and the
// parser (TFilterParser) that turns a filter text into a tree of TExprNode
// objects, checking operand types as it goes.
//
//   expression := and-term { OR and-term }
//   and-term   := not-term { AND not-term }
//   not-term   := [ NOT ] comparison
//   comparison := sum [ compare-op sum | LIKE sum | IN ( expression { , expression } ) ]
//   sum        := product { (+ | -) product }
//   product    := primary { (* | /) primary }
//   primary    := function ( [ expression { , expression } ] ) | TRUE | FALSE
//               | symbol | [name] | number | 'string' | ( expression )
//
// Keywords and function names are recognised in any case. Every failure is
// an EDatabaseError; a field name the data set does not have fails with the
// data set's own message.
#pragma once

#include <cstdint>
#include <string_view>

#include "tabledb/TomeDBExpr.h"
#include "tabledb/TomeDBExprDirect.h"

enum TExprToken : uint8_t {
  etEnd,
  etSymbol,
  etName,
  etNumber,
  etString,
  etLParen,
  etRParen,
  etComma,
  etEqual,
  etNotEqual,
  etGreaterEqual,
  etLessEqual,
  etGreater,
  etLess,
  etPlus,
  etMinus,
  etMultiply,
  etDivide,
  etLike,
  etIn,
};

// Splits a filter text into tokens, one at a time.
class TSyntaxParserBase {
 public:
  TExprToken Token() const { return token_; }
  const String& TokenText() const { return tokenText_; }

 protected:
  // Starts scanning a new text; the token before the first one counts as
  // the end token.
  void StartScan(std::string_view text);
  // Reads the next token into Token() and TokenText().
  void NextToken();
  // The current token as messages name it: its source text in single
  // quotes, or "nothing" at the end of the text.
  String TokenDescription() const;
  // True when the next character after blanks is "(" (function calls).
  bool NextCharIsOpenParen() const;

 private:
  size_t SkipBlanks(size_t pos) const;
  size_t ScanToken(size_t pos);
  size_t ScanString(size_t pos);
  size_t ScanNumber(size_t pos);
  size_t ScanSymbol(size_t pos);
  size_t ScanName(size_t pos);

  String text_;
  String tokenText_;
  TExprToken token_ = etEnd;
  TExprToken previousToken_ = etEnd;
  size_t position_ = 0;
  size_t tokenStart_ = 0;
};

class TFilterParser : public TSyntaxParserBase {
 public:
  // The source is the filtered data set; it must outlive the parser.
  explicit TFilterParser(IFilterRecordSource& source) : source_(source), nodes_(&source) {}

  // Builds the tree of the text, or raises. The previous tree is freed
  // first, so after a failure there is nothing to evaluate.
  void Parse(std::string_view text);
  // Evaluates the tree on the current record: True when the record passes.
  // Runs the tree's direct checks; the answer is the tree's.
  bool Evaluate(TFilterOptions options);
  // Between these, Evaluate tests records that the source reads one after
  // another into the same buffer: the fields are looked up there once.
  void BeginScan() { direct_.BeginScan(nodes_); }
  void EndScan() { direct_.EndScan(); }

  // The tree; the data set walks it to find the fields a filter uses.
  TExprNodes& Nodes() { return nodes_; }
  TFilterOptions Options() const { return options_; }

 private:
  TExprNode* ParseExpression();
  TExprNode* ParseAndTerm();
  TExprNode* ParseNotTerm();
  TExprNode* ParseComparison();
  TExprNode* ParseSum();
  TExprNode* ParseProduct();
  TExprNode* ParsePrimary();
  TExprNode* ParseFunctionCall();
  TExprNode* ParseInList(TExprNode* left);
  TExprNode* ParseNumber();
  TExprNode* NewOperatorNode(TExprOperator op, TExprNode* left, TExprNode* right);
  TExprNode* NewFieldNode(const String& name);
  TExprNode* NewConstantNode(uint8_t dataType, size_t dataSize);
  void ExpectCloseParen();
  void CheckEnd();

  void CheckOperatorTypes(TExprNode* node);
  void CheckComparisonTypes(const TExprNode* node, TExprNode* left, TExprNode* right);
  void CheckArithmeticTypes(TExprNode* node);
  void CheckFunctionTypes(TExprNode* node);

  IFilterRecordSource& source_;
  TExprNodes nodes_;
  TDirectFilter direct_;
  TFilterOptions options_ = 0;
  int nesting_ = 0;
};
