#include "framework/session.h"

#include <cassert>

namespace kq::fw {
namespace {
thread_local Session* t_current = nullptr;
}

Result<void> Session::connect(const db::ConnectOptions& options) {
  options_ = options;
  options_.company = g.gs_gsh;
  if (auto r = sqlca.connect(options_); !r) return r;
  if (auto r = sqlls.connect(options_); !r) {
    sqlca.disconnect();
    return r;
  }
  return {};
}

Session& session() {
  assert(t_current != nullptr && "no session on this thread");
  return *t_current;
}

Session* current_session() { return t_current; }

SessionScope::SessionScope(Session& s) : previous_(t_current) { t_current = &s; }
SessionScope::~SessionScope() { t_current = previous_; }

}  // namespace kq::fw
