#pragma once
// The signed-in workstations by session token. A session that has not been
// used for longer than the idle limit is ended: its token no longer works
// and its windows close.
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "server/workstation.h"

namespace kq::server {

class SessionRegistry {
 public:
  using Clock = std::chrono::steady_clock;

  explicit SessionRegistry(std::chrono::seconds idle_limit, std::function<Clock::time_point()> now = Clock::now);
  ~SessionRegistry();
  SessionRegistry(const SessionRegistry&) = delete;
  SessionRegistry& operator=(const SessionRegistry&) = delete;

  // Registers `w` under a new random token and returns the token.
  std::string add(std::shared_ptr<Workstation> w);
  // The workstation of `token`, marked as used now; null for an unknown token
  // and for one whose session outlived the idle limit (it is ended here).
  std::shared_ptr<Workstation> find(const std::string& token);
  // Ends the session of `token`; false when there is none.
  bool remove(const std::string& token);
  // Ends every session idle for longer than the limit; returns how many.
  size_t sweep();
  // Ends every session.
  void clear();
  size_t size() const;
  std::chrono::seconds idle_limit() const { return idle_limit_; }

 private:
  bool expired(const Workstation& w, Clock::time_point now) const;

  std::chrono::seconds idle_limit_;
  std::function<Clock::time_point()> now_;
  mutable std::mutex m_;
  std::map<std::string, std::shared_ptr<Workstation>> sessions_;
};

}  // namespace kq::server
