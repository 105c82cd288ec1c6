#include "platform/dw/expression/aggregate_nodes.h"

#include <atomic>

namespace kq::dw::expr {
namespace {

Type aggregate_type(AggregateKind kind, Type arg) {
  switch (kind) {
    case AggregateKind::Sum: return arg == Type::Long ? Type::Long : (arg == Type::Any ? Type::Any : Type::Decimal);
    case AggregateKind::Count: return Type::Long;
    case AggregateKind::Avg: return Type::Decimal;
    default: return arg;
  }
}

// Keys of remembered values: one per node ever made (a node made after
// another was destroyed may sit at its address; it never gets its key).
uint64_t next_key() {
  static std::atomic<uint64_t> last{0};
  return ++last;
}

class AggregateNode final : public Node {
 public:
  AggregateNode(AggregateKind kind, NodePtr arg)
      : Node(aggregate_type(kind, arg->type())), kind_(kind), arg_(std::move(arg)) {}

  const Value& eval(const Frame& f, Value& scratch) const override {
    const RowContext& ctx = *f.ctx;
    if (const Value* known = ctx.remembered(key_)) return scratch = *known;
    ctx.remember(key_, over_rows(ctx, scratch));
    return scratch;
  }

 private:
  const Value& over_rows(const RowContext& ctx, Value& scratch) const {
    const int64_t n = ctx.row_count();
    Value acc;
    int64_t count = 0;
    for (int64_t i = 1; i <= n; ++i) {
      Frame row = make_frame(ctx, ctx.row_at(i));
      Value s;
      const Value& v = arg_->eval(row, s);
      if (v.is_null()) continue;
      ++count;
      switch (kind_) {
        case AggregateKind::Sum:
        case AggregateKind::Avg: acc = count == 1 ? v : add(acc, v); break;
        case AggregateKind::Max: {
          auto c = compare(v, acc);
          if (count == 1 || (c && *c > 0)) acc = v;
          break;
        }
        case AggregateKind::Min: {
          auto c = compare(v, acc);
          if (count == 1 || (c && *c < 0)) acc = v;
          break;
        }
        case AggregateKind::Count: break;
      }
    }
    switch (kind_) {
      case AggregateKind::Count: return scratch = Value(static_cast<long long>(count));
      case AggregateKind::Sum:
        if (count == 0) return scratch = arg_->type() == Type::Long ? Value(0) : Value(Decimal(0));
        return scratch = std::move(acc);
      case AggregateKind::Avg:
        if (count == 0) return scratch = Value::null(Type::Decimal);
        return scratch = divide(acc, Value(static_cast<long long>(count)));
      default:
        if (count == 0) return scratch = Value::null(type());
        return scratch = std::move(acc);
    }
  }

  AggregateKind kind_;
  NodePtr arg_;
  const uint64_t key_ = next_key();
};

}  // namespace

NodePtr make_aggregate(AggregateKind kind, NodePtr arg) {
  return std::make_unique<AggregateNode>(kind, std::move(arg));
}

}  // namespace kq::dw::expr
