#pragma once
// Limits password guessing at sign-in. After `per_operator` failed attempts
// for one company and operator code, or `per_address` failed attempts from
// one client address, further attempts are refused for the cooling-off
// period that follows the last failure, before any password is checked (so
// that the slow hash cannot be used to load the server). A success clears the
// operator's count; an address's count only runs out with its cooling-off
// period, so that a known password does not open unlimited guessing at the
// others.
//
// Attempts that are still being checked count as failures until they end:
// many requests sent at once cannot slip past the limit.
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "server/api_error.h"

namespace kq::server {

class SignInLimiter {
 public:
  using Clock = std::chrono::steady_clock;

  struct Policy {
    int per_operator = 5;
    int per_address = 20;
    std::chrono::seconds cooling_off{std::chrono::minutes(10)};
  };

  explicit SignInLimiter(Policy policy, std::function<Clock::time_point()> now = Clock::now);
  SignInLimiter() : SignInLimiter(Policy{}) {}
  SignInLimiter(const SignInLimiter&) = delete;
  SignInLimiter& operator=(const SignInLimiter&) = delete;

  // One sign-in attempt, counted from begin() until its outcome is told.
  class Attempt {
   public:
    Attempt(Attempt&& other) noexcept;
    Attempt& operator=(Attempt&&) = delete;
    // An attempt whose outcome was never told ends as a failure.
    ~Attempt();
    // The password was wrong, the operator or the company unknown.
    void failed();
    // Signed in: the operator's failures are forgotten.
    void succeeded();
    // Refused for another reason (a missing field, a stopped operator, a
    // database that cannot be read): counts neither way.
    void not_counted();

   private:
    friend class SignInLimiter;
    Attempt(SignInLimiter* limiter, std::string operator_key, std::string address)
        : limiter_(limiter), operator_key_(std::move(operator_key)), address_(std::move(address)) {}
    void end(int outcome);

    SignInLimiter* limiter_;
    std::string operator_key_;
    std::string address_;
  };

  // Starts an attempt for operator `code` of `company` from `address`, or
  // refuses it with 429 and a message saying how many minutes to wait.
  // Company and code are compared as trimmed.
  Expected<Attempt> begin(const std::string& company, const std::string& code, const std::string& address);

  // Seconds until `company`/`code` from `address` may try again; 0 = now.
  long long wait_seconds(const std::string& company, const std::string& code, const std::string& address);

 private:
  struct Count {
    int failures = 0;
    int pending = 0;
    Clock::time_point last_failure{};
  };
  enum Outcome { kFailed, kSucceeded, kNotCounted };

  // Forgets failures older than the cooling-off period; with the lock held.
  void expire(Count& c, Clock::time_point now) const;
  // Seconds `c` still locks at `now` (0 = open) given `limit`; with the lock held.
  long long locked_for(const Count& c, int limit, Clock::time_point now) const;
  void end(const std::string& operator_key, const std::string& address, Outcome outcome);
  // Drops counts that hold nothing any more; with the lock held.
  void prune(Clock::time_point now);

  Policy policy_;
  std::function<Clock::time_point()> now_;
  std::mutex m_;
  std::map<std::string, Count> operators_;
  std::map<std::string, Count> addresses_;
};

}  // namespace kq::server
