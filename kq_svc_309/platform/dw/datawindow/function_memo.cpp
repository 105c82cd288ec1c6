#include "platform/dw/datawindow/function_memo.h"

namespace kq::dw {

std::shared_ptr<FunctionMemo> FunctionMemo::replaying(std::vector<Call> record) {
  auto m = std::make_shared<FunctionMemo>(nullptr);
  m->replaying_ = true;
  for (Call& c : record) {
    std::string k = call_key(c.function, c.args);
    if (m->index_.count(k)) continue;
    m->index_.emplace(std::move(k), m->record_.size());
    m->record_.push_back(std::move(c));
  }
  return m;
}

std::string call_key(std::string_view name, std::span<const Value> args) {
  std::string k(name);
  for (const Value& a : args) {
    k += '\x1f';
    if (a.is_null()) {
      k += 'N';
      continue;
    }
    k += static_cast<char>('a' + static_cast<int>(a.type()));
    k += a.debug_string();
  }
  return k;
}

void FunctionMemo::declare(const std::vector<GlobalCall>& calls) {
  for (const GlobalCall& c : calls) {
    if (registry_.find(c.name)) continue;
    const expr::FunctionRegistry::Function* target = nullptr;
    std::size_t min_args = c.min_args, max_args = c.max_args;
    Type result = Type::Any;
    if (!replaying_) {
      target = source_ ? source_->find(c.name) : nullptr;
      if (!target) continue;
      min_args = target->min_args;
      max_args = target->max_args;
      result = target->result;
    }
    std::string name = c.name;
    declared_ = true;
    registry_.add(name, min_args, max_args, result,
                  [this, name, target](std::span<const Value> args) { return call(name, target, args); });
  }
}

void FunctionMemo::forget() {
  if (replaying_) return;
  record_.clear();
  index_.clear();
}

Value FunctionMemo::call(const std::string& name, const expr::FunctionRegistry::Function* target,
                         std::span<const Value> args) {
  std::string k = call_key(name, args);
  auto it = index_.find(k);
  if (it != index_.end()) return record_[it->second].result;
  if (replaying_ || !target) return Value();
  Value result = target->call(args);
  index_.emplace(std::move(k), record_.size());
  record_.push_back(Call{name, std::vector<Value>(args.begin(), args.end()), result});
  return result;
}

}  // namespace kq::dw
