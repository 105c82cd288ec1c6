#pragma once
// Injected statement failures, for tests of failure paths. A Transaction asks
// its FaultHook before it runs each statement (exec, commit(), rollback() and
// the opening of a cursor); a fault that fires makes that statement fail with
// sqlcode -1 and the fault's text, without running it. Each fault fires once.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kq::db {

class FaultHook {
 public:
  // The n-th statement from now fails (n = 1: the next one). n < 1 is ignored.
  void fail_nth(int64_t n, std::string errtext);
  // The next statement whose text contains `pattern` (case-insensitive) fails.
  void fail_matching(std::string pattern, std::string errtext);
  // Forgets every pending fault.
  void clear() { faults_.clear(); }
  bool pending() const { return !faults_.empty(); }

  // Statements seen so far (failed, faulted and successful alike).
  int64_t statement_count() const { return count_; }

  // Called once per statement with its text: counts it and returns the error
  // text when a fault fires for it.
  std::optional<std::string> on_statement(std::string_view text);

 private:
  struct Fault {
    int64_t at = 0;       // statement number that fails, or 0 for a pattern
    std::string pattern;  // lower case
    std::string errtext;
  };
  std::vector<Fault> faults_;
  int64_t count_ = 0;
};

}  // namespace kq::db
