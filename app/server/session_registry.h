#pragma once
// The signed-in workstations by session token. A session that has not been
// used for longer than the idle limit is ended: its token no longer works
// and its windows close. Each session holds a database connection and a
// thread, so their number is capped, in all and per operator.
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "server/api_error.h"
#include "server/workstation.h"

namespace kq::server {

struct SessionLimits {
  size_t total = 100;       // sessions of the whole server
  size_t per_operator = 10;  // sessions of one operator of one company
};

class SessionRegistry {
 public:
  using Clock = std::chrono::steady_clock;

  explicit SessionRegistry(std::chrono::seconds idle_limit, std::function<Clock::time_point()> now = Clock::now);
  SessionRegistry(std::chrono::seconds idle_limit, SessionLimits limits,
                  std::function<Clock::time_point()> now = Clock::now);
  ~SessionRegistry();
  SessionRegistry(const SessionRegistry&) = delete;
  SessionRegistry& operator=(const SessionRegistry&) = delete;

  // Registers `w` under a new random token and returns the token. Sessions
  // past the idle limit are ended first; then 503 when the server holds as
  // many sessions as it may, 409 when w's operator holds as many as one may.
  Expected<std::string> add(std::shared_ptr<Workstation> w);
  // The refusal add() would give for the server being full, checked before a
  // sign-in spends work on a session; nullopt when there is room.
  std::optional<ApiError> full();
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
  const SessionLimits& limits() const { return limits_; }

 private:
  bool expired(const Workstation& w, Clock::time_point now) const;
  std::optional<ApiError> full_locked() const;
  // Moves the sessions idle past the limit out of the map into `ended`.
  void take_expired_locked(Clock::time_point now, std::vector<std::shared_ptr<Workstation>>& ended);

  std::chrono::seconds idle_limit_;
  SessionLimits limits_;
  std::function<Clock::time_point()> now_;
  mutable std::mutex m_;
  std::map<std::string, std::shared_ptr<Workstation>> sessions_;
};

}  // namespace kq::server
