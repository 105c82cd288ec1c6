#include "platform/db/fault_hook.h"

#include <algorithm>

#include "platform/value/text.h"

namespace kq::db {

void FaultHook::fail_nth(int64_t n, std::string errtext) {
  if (n < 1) return;
  faults_.push_back(Fault{count_ + n, {}, std::move(errtext)});
}

void FaultHook::fail_matching(std::string pattern, std::string errtext) {
  faults_.push_back(Fault{0, text::lower(pattern), std::move(errtext)});
}

std::optional<std::string> FaultHook::on_statement(std::string_view stmt) {
  ++count_;
  if (faults_.empty()) return std::nullopt;
  std::optional<std::string> fired;
  std::string lowered;
  for (auto it = faults_.begin(); it != faults_.end(); ++it) {
    bool fires = false;
    if (it->at != 0) {
      fires = it->at == count_;
    } else {
      if (lowered.empty()) lowered = text::lower(stmt);
      fires = lowered.find(it->pattern) != std::string::npos;
    }
    if (fires) {
      fired = std::move(it->errtext);
      faults_.erase(it);
      break;
    }
  }
  // An n-th fault due at this statement that did not fire (another one did) is dropped.
  std::erase_if(faults_, [&](const Fault& f) { return f.at != 0 && f.at <= count_; });
  return fired;
}

}  // namespace kq::db
