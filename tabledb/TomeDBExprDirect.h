// Direct evaluation of a parsed filter, for scans that test it on every
// record of a table.
//
// Most filters are conditions joined by AND and OR, each a comparison or a
// LIKE between a field and a constant. Walking the tree for them costs a
// call per node and a stored intermediate value at each; here each such
// condition is one check that takes the field's bytes where the record
// buffer holds them and orders them against the constant with the tree's
// own ordering code. A run of ANDs (or of ORs) is one check over its
// operands, taken left to right until one decides, as the tree does. A LIKE
// pattern that is a literal followed by one "%" is a prefix compare.
// Everything else (arithmetic, functions, IN, blob fields, a boolean field
// standing alone) stays a subtree that the tree's evaluation computes.
//
// The fields the checks read are looked up together before a test, or once
// for a whole scan whose records all pass through the same buffer. A field
// that is looked up but not reached raises nothing: as in the tree, "No
// current record" comes only from a field that a check reads.
#pragma once

#include <span>
#include <vector>

#include "tabledb/TomeDBExpr.h"

class TDirectFilter {
 public:
  // Takes the checks of a parsed condition; its nodes must live as long as
  // the checks are used.
  void Build(TExprNode* root);
  void Clear();
  // Whether the current record of the nodes' source passes; the same answer
  // and the same errors as evaluating the tree.
  bool Passes(TExprNodes& nodes, TFilterOptions options);
  // For a run of tests on records that are each read into the same buffer
  // (a scan): the fields are looked up there once, not for every record.
  void BeginScan(TExprNodes& nodes);
  void EndScan() { scanning_ = false; }

 private:
  enum TCheckKind : uint8_t { ckAll, ckAny, ckNot, ckCompare, ckLikePrefix, ckLike, ckTree };

  // An operand read in place: a non-blob field (its bytes at
  // fields_[Slot]), or a constant whose value is taken once.
  struct TOperand {
    const TExprNode* Field = nullptr;
    int Slot = -1;
    TExprValue Constant;
  };

  // A field's bytes in the record being tested; when they do not fit its
  // type, reading the field raises.
  struct TFieldValue {
    TExprValue Value;
    bool Fits = false;
  };

  struct TCheck {
    TCheckKind Kind = ckTree;
    TExprOperator Operator = eoNone;
    TExprOrderKind Order = okText;
    TOperand Left, Right;
    int PartialLength = -1;
    String Prefix;               // ckLikePrefix: the pattern before its "%"
    TExprNode* Tree = nullptr;   // ckTree
    std::vector<int> Operands;   // ckAll, ckAny, ckNot: indexes of checks
  };

  // Adds the checks of a condition; returns the index of its own.
  int Add(TExprNode* node);
  // Adds the operands of a run of one operator (AND or OR) to check.
  void AddRun(TExprNode* node, TExprOperator op, TCheck& check);
  TOperand OperandOf(const TExprNode* node);
  // Looks up the bytes of every field in the source's current record.
  void LookUpFields(TExprNodes& nodes);
  const TExprValue& ValueOf(const TOperand& operand) const;
  bool Holds(const TCheck& check, TExprNodes& nodes, TFilterOptions options) const;

  std::vector<TCheck> checks_;
  int root_ = -1;
  // The fields of the in-place operands, each once: their places in the
  // data set, and their bytes in the record being tested.
  std::vector<int> fieldIndexes_;
  std::vector<std::span<const uint8_t>> fieldBytes_;
  std::vector<TFieldValue> fields_;
  bool scanning_ = false;
};

// The literal part of a LIKE pattern that matches exactly the values that
// start with it (a literal followed by a single "%"); false for any other
// pattern.
bool LikePatternPrefix(std::string_view pattern, std::string_view& prefix);
