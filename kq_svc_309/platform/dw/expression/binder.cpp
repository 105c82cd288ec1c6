#include "platform/dw/expression/binder.h"

#include <algorithm>

#include "platform/dw/expression/aggregate_nodes.h"
#include "platform/dw/expression/arithmetic_nodes.h"
#include "platform/dw/expression/builtins.h"
#include "platform/dw/expression/call_nodes.h"
#include "platform/dw/expression/comparison_nodes.h"
#include "platform/dw/expression/function_registry.h"
#include "platform/dw/expression/logic_nodes.h"
#include "platform/dw/expression/operand_nodes.h"
#include "platform/value/text.h"

namespace kq::dw::expr {
namespace {

// What a static type can meet in comparisons and arithmetic.
enum class Category { Unknown, Text, Number, Date, Boolean, Blob };

Category category(Type t) {
  switch (t) {
    case Type::String: return Category::Text;
    case Type::Long:
    case Type::Decimal: return Category::Number;
    case Type::DateTime: return Category::Date;
    case Type::Boolean: return Category::Boolean;
    case Type::Blob: return Category::Blob;
    case Type::Any: return Category::Unknown;
  }
  return Category::Unknown;
}

std::string at(size_t position) { return " at position " + std::to_string(position); }

bool comparable(Type a, Type b) {
  Category ca = category(a), cb = category(b);
  return ca == Category::Unknown || cb == Category::Unknown || ca == cb;
}

Result<void> check_comparable(const Node& a, const Node& b, size_t position) {
  if (comparable(a.type(), b.type())) return {};
  return make_error(std::string("cannot compare ") + type_name(a.type()) + " with " + type_name(b.type()) +
                    at(position));
}

Result<void> check_condition(const Node& n, size_t position) {
  Category c = category(n.type());
  if (c == Category::Unknown || c == Category::Boolean || c == Category::Number) return {};
  return make_error(std::string("a condition cannot be ") + type_name(n.type()) + at(position));
}

Result<void> check_number(const Node& n, const char* op, size_t position) {
  Category c = category(n.type());
  if (c == Category::Unknown || c == Category::Number) return {};
  return make_error(std::string("operator '") + op + "' cannot take " + type_name(n.type()) + at(position));
}

// Replaces a node whose inputs are all constant by its value.
NodePtr fold(NodePtr n) {
  if (n->constant()) return n;
  Frame none;
  Value scratch;
  Value v = n->eval(none, scratch);
  if (v.is_null()) v = Value::null(n->type());
  return std::make_unique<ConstantNode>(std::move(v));
}

bool all_constant(const std::vector<NodePtr>& nodes) {
  return std::all_of(nodes.begin(), nodes.end(), [](const NodePtr& n) { return n->constant() != nullptr; });
}

std::string arity_text(size_t min, size_t max) {
  if (min == max) return std::to_string(min) + (min == 1 ? " argument" : " arguments");
  return std::to_string(min) + " to " + std::to_string(max) + " arguments";
}

Result<void> check_arity(const std::string& name, size_t min, size_t max, size_t given, size_t position) {
  if (given >= min && given <= max) return {};
  return make_error("function '" + name + "' takes " + arity_text(min, max) + ", given " + std::to_string(given) +
                    at(position));
}

}  // namespace

Result<std::vector<NodePtr>> Binder::bind_all(const std::vector<SyntaxPtr>& nodes) {
  std::vector<NodePtr> out;
  out.reserve(nodes.size());
  for (const auto& s : nodes) {
    auto b = bind(*s);
    if (!b) return Error{b.error()};
    out.push_back(std::move(*b));
  }
  return out;
}

Result<NodePtr> Binder::bind(const SyntaxNode& n) {
  switch (n.kind) {
    case SyntaxKind::Literal: return NodePtr(std::make_unique<ConstantNode>(n.value));
    case SyntaxKind::Name: return bind_name(n);
    case SyntaxKind::Negate: {
      auto operand = bind(*n.children[0]);
      if (!operand) return operand;
      if (auto r = check_number(**operand, "-", n.position); !r) return Error{r.error()};
      bool folds = (*operand)->constant() != nullptr;
      NodePtr node = make_negate(std::move(*operand));
      return folds ? fold(std::move(node)) : std::move(node);
    }
    case SyntaxKind::Not: {
      auto operand = bind(*n.children[0]);
      if (!operand) return operand;
      if (auto r = check_condition(**operand, n.position); !r) return Error{r.error()};
      bool folds = (*operand)->constant() != nullptr;
      NodePtr node = make_not(std::move(*operand));
      return folds ? fold(std::move(node)) : std::move(node);
    }
    case SyntaxKind::Binary: return bind_binary(n);
    case SyntaxKind::In: return bind_in(n);
    case SyntaxKind::Call: return bind_call(n);
    case SyntaxKind::Aggregate: return bind_aggregate(n);
    case SyntaxKind::Case: return bind_case(n);
  }
  return make_error("unsupported expression" + at(n.position));
}

Result<NodePtr> Binder::bind_name(const SyntaxNode& n) {
  auto b = resolver_.resolve(n.name);
  if (!b) return make_error("unknown name '" + n.name + "'" + at(n.position));
  switch (b->kind) {
    case Binding::Kind::Column: return NodePtr(std::make_unique<ColumnNode>(b->index, b->type));
    case Binding::Kind::Computed:
      if (std::find(computed_.begin(), computed_.end(), b->index) == computed_.end()) computed_.push_back(b->index);
      return NodePtr(std::make_unique<ComputedNode>(b->index, b->type));
    case Binding::Kind::Argument: return NodePtr(std::make_unique<ArgumentNode>(b->index, b->type));
  }
  return make_error("unknown name '" + n.name + "'" + at(n.position));
}

Result<NodePtr> Binder::bind_binary(const SyntaxNode& n) {
  auto a = bind(*n.children[0]);
  if (!a) return a;
  auto b = bind(*n.children[1]);
  if (!b) return b;
  NodePtr& l = *a;
  NodePtr& r = *b;
  const bool folds = l->constant() && r->constant();
  switch (n.op) {
    case BinaryOp::And:
    case BinaryOp::Or: {
      if (auto c = check_condition(*l, n.position); !c) return Error{c.error()};
      if (auto c = check_condition(*r, n.position); !c) return Error{c.error()};
      if (folds) {
        return fold(n.op == BinaryOp::And ? make_and(std::move(l), std::move(r))
                                          : make_or(std::move(l), std::move(r)));
      }
      // One constant side: "x and true" is x, "x and false" false; "x or false" x, "x or true" true.
      for (int side = 0; side < 2; ++side) {
        NodePtr& k = side == 0 ? l : r;
        NodePtr& other = side == 0 ? r : l;
        if (!k->constant()) continue;
        Tri t = truth(*k->constant());
        Tri absorbing = n.op == BinaryOp::And ? Tri::False : Tri::True;
        if (t == absorbing) return NodePtr(std::make_unique<ConstantNode>(Value(t == Tri::True)));
        if (t != Tri::Null && other->type() == Type::Boolean) return std::move(other);
      }
      return n.op == BinaryOp::And ? make_and(std::move(l), std::move(r)) : make_or(std::move(l), std::move(r));
    }
    case BinaryOp::Add:
    case BinaryOp::Subtract:
    case BinaryOp::Multiply:
    case BinaryOp::Divide: {
      bool joins = n.op == BinaryOp::Add && (l->type() == Type::String || r->type() == Type::String);
      if (!joins) {
        const char* op = binary_op_text(n.op);
        if (auto c = check_number(*l, op, n.position); !c) return Error{c.error()};
        if (auto c = check_number(*r, op, n.position); !c) return Error{c.error()};
      }
      NodePtr node = make_arithmetic(n.op, std::move(l), std::move(r));
      return folds ? fold(std::move(node)) : std::move(node);
    }
    default: {
      if (auto c = check_comparable(*l, *r, n.position); !c) return Error{c.error()};
      NodePtr node = make_compare(n.op, std::move(l), std::move(r));
      return folds ? fold(std::move(node)) : std::move(node);
    }
  }
}

Result<NodePtr> Binder::bind_in(const SyntaxNode& n) {
  auto all = bind_all(n.children);
  if (!all) return Error{all.error()};
  std::vector<NodePtr>& nodes = *all;
  for (size_t i = 1; i < nodes.size(); ++i)
    if (auto c = check_comparable(*nodes[0], *nodes[i], n.children[i]->position); !c) return Error{c.error()};
  const bool folds = all_constant(nodes);
  NodePtr subject = std::move(nodes[0]);
  nodes.erase(nodes.begin());
  NodePtr node = make_in(std::move(subject), std::move(nodes), n.negated);
  return folds ? fold(std::move(node)) : std::move(node);
}

Result<NodePtr> Binder::bind_call(const SyntaxNode& n) {
  const size_t given = n.children.size();
  if (text::iequals(n.name, "if")) {
    if (auto r = check_arity("if", 3, 3, given, n.position); !r) return Error{r.error()};
    auto args = bind_all(n.children);
    if (!args) return Error{args.error()};
    auto& v = *args;
    if (auto r = check_condition(*v[0], n.children[0]->position); !r) return Error{r.error()};
    if (const Value* c = v[0]->constant()) return truth(*c) == Tri::True ? std::move(v[1]) : std::move(v[2]);
    return make_if(std::move(v[0]), std::move(v[1]), std::move(v[2]));
  }
  for (auto [name, which] : {std::pair{"currentrow", RowFunction::CurrentRow},
                             std::pair{"rowcount", RowFunction::RowCount}, std::pair{"getrow", RowFunction::GetRow}}) {
    if (!text::iequals(n.name, name)) continue;
    if (auto r = check_arity(name, 0, 0, given, n.position); !r) return Error{r.error()};
    return make_row_function(which);
  }
  if (const Builtin* fn = find_builtin(n.name)) {
    if (auto r = check_arity(fn->name, fn->min_args, fn->max_args, given, n.position); !r) return Error{r.error()};
    auto args = bind_all(n.children);
    if (!args) return Error{args.error()};
    const bool folds = fn->pure && all_constant(*args);
    NodePtr node = make_builtin_call(*fn, std::move(*args));
    return folds ? fold(std::move(node)) : std::move(node);
  }
  const FunctionRegistry* registry = resolver_.functions();
  const FunctionRegistry::Function* fn = registry ? registry->find(n.name) : nullptr;
  if (!fn) return make_error("unknown function '" + n.name + "'" + at(n.position));
  if (auto r = check_arity(fn->name, fn->min_args, fn->max_args, given, n.position); !r) return Error{r.error()};
  auto args = bind_all(n.children);
  if (!args) return Error{args.error()};
  return make_global_call(*fn, std::move(*args));
}

Result<NodePtr> Binder::bind_aggregate(const SyntaxNode& n) {
  if (aggregate_depth_ > 0) return make_error("aggregate '" + n.name + "' inside an aggregate" + at(n.position));
  ++aggregate_depth_;
  auto arg = bind(*n.children[0]);
  --aggregate_depth_;
  if (!arg) return arg;
  AggregateKind kind = AggregateKind::Sum;
  if (text::iequals(n.name, "count")) kind = AggregateKind::Count;
  else if (text::iequals(n.name, "max")) kind = AggregateKind::Max;
  else if (text::iequals(n.name, "min")) kind = AggregateKind::Min;
  else if (text::iequals(n.name, "avg")) kind = AggregateKind::Avg;
  if (kind == AggregateKind::Sum || kind == AggregateKind::Avg)
    if (auto r = check_number(**arg, text::lower(n.name).c_str(), n.position); !r) return Error{r.error()};
  has_aggregate_ = true;
  return make_aggregate(kind, std::move(*arg));
}

Result<NodePtr> Binder::bind_case(const SyntaxNode& n) {
  auto subject = bind(*n.children[0]);
  if (!subject) return subject;
  bool folds = (*subject)->constant() != nullptr;
  std::vector<BoundCaseArm> arms;
  for (const auto& arm : n.arms) {
    BoundCaseArm bound;
    for (const auto& v : arm.values) {
      auto b = bind(*v);
      if (!b) return b;
      if (auto c = check_comparable(**subject, **b, v->position); !c) return Error{c.error()};
      folds = folds && (*b)->constant();
      bound.values.push_back(std::move(*b));
    }
    auto r = bind(*arm.result);
    if (!r) return r;
    folds = folds && (*r)->constant();
    bound.result = std::move(*r);
    arms.push_back(std::move(bound));
  }
  NodePtr otherwise;
  if (n.otherwise) {
    auto e = bind(*n.otherwise);
    if (!e) return e;
    folds = folds && (*e)->constant();
    otherwise = std::move(*e);
  }
  NodePtr node = make_case(std::move(*subject), std::move(arms), std::move(otherwise));
  return folds ? fold(std::move(node)) : std::move(node);
}

}  // namespace kq::dw::expr
