// Direct evaluation of a parsed filter: building the checks from the tree
// and taking them on the current record.
#include "tabledb/TomeDBExprDirect.h"

#include <algorithm>

namespace {

bool IsComparison(TExprOperator op) {
  switch (op) {
    case eoEqual:
    case eoNotEqual:
    case eoGreater:
    case eoLess:
    case eoGreaterEqual:
    case eoLessEqual:
      return true;
    default:
      return false;
  }
}

bool IsInPlace(const TExprNode* node) {
  return node->Kind == nkConstant || (node->Kind == nkField && !node->IsBlob);
}

}  // namespace

bool LikePatternPrefix(std::string_view pattern, std::string_view& prefix) {
  if (pattern.empty() || pattern.back() != '%') return false;
  const std::string_view literal = pattern.substr(0, pattern.size() - 1);
  if (literal.find_first_of("%_") != std::string_view::npos) return false;
  prefix = literal;
  return true;
}

void TDirectFilter::Build(TExprNode* root) {
  Clear();
  root_ = Add(root);
  fieldBytes_.resize(fieldIndexes_.size());
}

void TDirectFilter::Clear() {
  checks_.clear();
  root_ = -1;
  fieldIndexes_.clear();
  fieldBytes_.clear();
  fields_.clear();
  scanning_ = false;
}

int TDirectFilter::Add(TExprNode* node) {
  TCheck check;
  check.Tree = node;
  if (node->Kind == nkOperator) {
    TExprNode* l = node->Left;
    TExprNode* r = node->Right;
    const TExprOperator op = node->Operator;
    if (op == eoAnd || op == eoOr) {
      check.Kind = op == eoAnd ? ckAll : ckAny;
      AddRun(node, op, check);
    } else if (op == eoNot) {
      check.Kind = ckNot;
      check.Operands.push_back(Add(l));
    } else if ((IsComparison(op) || op == eoLike) && IsInPlace(l) && IsInPlace(r)) {
      check.Operator = op;
      check.Left = OperandOf(l);
      check.Right = OperandOf(r);
      if (op != eoLike) {
        check.Kind = ckCompare;
        check.Order = ExprOrderKind(l->DataType, r->DataType);
        check.PartialLength = r->PartialLength;
      } else {
        std::string_view prefix;
        const bool literal = r->Kind == nkConstant && LikePatternPrefix(r->AsText(), prefix);
        check.Kind = literal ? ckLikePrefix : ckLike;
        check.Prefix = String(prefix);
      }
    }
  }
  checks_.push_back(std::move(check));
  return int(checks_.size()) - 1;
}

void TDirectFilter::AddRun(TExprNode* node, TExprOperator op, TCheck& check) {
  for (TExprNode* operand : {node->Left, node->Right}) {
    if (operand->Kind == nkOperator && operand->Operator == op)
      AddRun(operand, op, check);
    else
      check.Operands.push_back(Add(operand));
  }
}

TDirectFilter::TOperand TDirectFilter::OperandOf(const TExprNode* node) {
  TOperand operand;
  if (node->Kind != nkField) {
    operand.Constant = node->AsValue();
    return operand;
  }
  operand.Field = node;
  const auto known = std::find(fieldIndexes_.begin(), fieldIndexes_.end(), node->FieldIndex);
  operand.Slot = int(known - fieldIndexes_.begin());
  if (known == fieldIndexes_.end()) {
    fieldIndexes_.push_back(node->FieldIndex);
    fields_.push_back(TFieldValue{TExprValue{node->DataType}, false});
  }
  return operand;
}

void TDirectFilter::LookUpFields(TExprNodes& nodes) {
  if (fieldIndexes_.empty()) return;
  nodes.Source()->FieldsData(fieldIndexes_, fieldBytes_);
  for (size_t k = 0; k < fields_.size(); ++k) {
    TFieldValue& field = fields_[k];
    const std::span<const uint8_t> bytes = fieldBytes_[k];
    field.Value.Data = bytes.data();
    field.Value.Size = bytes.size();
    field.Fits = TExprNodes::FieldValueFits(field.Value.DataType, bytes);
  }
}

const TExprValue& TDirectFilter::ValueOf(const TOperand& operand) const {
  if (!operand.Field) return operand.Constant;
  const TFieldValue& field = fields_[size_t(operand.Slot)];
  if (!field.Fits) TExprNodes::CheckFieldValue(operand.Field, {field.Value.Data, field.Value.Size});
  return field.Value;
}

bool TDirectFilter::Passes(TExprNodes& nodes, TFilterOptions options) {
  // A check that is not reached reads nothing of its field.
  if (!scanning_) LookUpFields(nodes);
  return Holds(checks_[size_t(root_)], nodes, options);
}

void TDirectFilter::BeginScan(TExprNodes& nodes) {
  LookUpFields(nodes);
  scanning_ = true;
}

bool TDirectFilter::Holds(const TCheck& check, TExprNodes& nodes, TFilterOptions options) const {
  switch (check.Kind) {
    case ckAll:
      for (int operand : check.Operands)
        if (!Holds(checks_[size_t(operand)], nodes, options)) return false;
      return true;
    case ckAny:
      for (int operand : check.Operands)
        if (Holds(checks_[size_t(operand)], nodes, options)) return true;
      return false;
    case ckNot:
      return !Holds(checks_[size_t(check.Operands.front())], nodes, options);
    case ckCompare: {
      const TExprValue& l = ValueOf(check.Left);
      const TExprValue& r = ValueOf(check.Right);
      return ComparisonHolds(check.Operator, OrderExprValues(check.Order, l, r, options, check.PartialLength));
    }
    case ckLikePrefix: {
      // The literal has no NUL, so bytes that equal it lie before the
      // value's end.
      const TExprValue& value = ValueOf(check.Left);
      if (value.Size < check.Prefix.size()) return false;
      const std::string_view start(reinterpret_cast<const char*>(value.Data), check.Prefix.size());
      return (options & foCaseInsensitive) ? SameText(start, check.Prefix) : start == check.Prefix;
    }
    case ckLike: {
      const TExprValue& l = ValueOf(check.Left);
      const TExprValue& r = ValueOf(check.Right);
      return MatchLikePattern(l.AsText(), r.AsText(), (options & foCaseInsensitive) == 0);
    }
    default:
      nodes.Calculate(check.Tree, options);
      return check.Tree->AsBoolean();
  }
}
