#pragma once
// The global functions as one data window calls them. Each distinct call (a
// function with its argument values) runs once and its result is kept until
// forget(): a parameter lookup shown on every row costs one call, and the
// kept results travel in the state blob. A data window restored from a blob
// replays them instead: the same calls give the same results without the
// database, a call that was never made gives null.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dw/definition/names.h"
#include "platform/dw/expression/function_registry.h"

namespace kq::dw {

// A text that identifies a call: equal for equal names and argument values
// (type included), different otherwise.
std::string call_key(std::string_view name, std::span<const Value> args);

class FunctionMemo {
 public:
  struct Call {
    std::string function;  // lower case
    std::vector<Value> args;
    Value result;
  };

  // Calls through `source` (null: no global functions).
  explicit FunctionMemo(const expr::FunctionRegistry* source) : source_(source) {}
  // Answers from `record` only.
  static std::shared_ptr<FunctionMemo> replaying(std::vector<Call> record);

  FunctionMemo(const FunctionMemo&) = delete;
  FunctionMemo& operator=(const FunctionMemo&) = delete;

  // Makes the named functions callable through registry(): those the source
  // knows (with its arity and type), or, when replaying, every one of them.
  void declare(const std::vector<GlobalCall>& calls);
  const expr::FunctionRegistry& registry() const { return registry_; }

  bool is_replaying() const { return replaying_; }
  // True when some function was declared (the definition calls global functions).
  bool declares_any() const { return declared_; }
  // Drops the kept results (not when replaying).
  void forget();
  // The kept calls, in the order first made.
  const std::vector<Call>& record() const { return record_; }

 private:
  Value call(const std::string& name, const expr::FunctionRegistry::Function* target, std::span<const Value> args);

  const expr::FunctionRegistry* source_ = nullptr;
  bool replaying_ = false;
  bool declared_ = false;
  expr::FunctionRegistry registry_;
  std::vector<Call> record_;
  std::map<std::string, std::size_t, std::less<>> index_;  // key -> record_ position
};

}  // namespace kq::dw
