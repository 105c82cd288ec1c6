#include "server/sign_in_limiter.h"

#include <algorithm>
#include <utility>

#include "platform/value/text.h"

namespace kq::server {

namespace {

constexpr size_t kPruneAbove = 4096;  // counts kept before the empty ones are dropped

long long minutes_for(long long seconds) { return seconds <= 60 ? 1 : (seconds + 59) / 60; }

}  // namespace

SignInLimiter::SignInLimiter(Policy policy, std::function<Clock::time_point()> now)
    : policy_(policy), now_(std::move(now)) {}

SignInLimiter::Attempt::Attempt(Attempt&& other) noexcept
    : limiter_(std::exchange(other.limiter_, nullptr)),
      operator_key_(std::move(other.operator_key_)),
      address_(std::move(other.address_)) {}

SignInLimiter::Attempt::~Attempt() { end(kFailed); }

void SignInLimiter::Attempt::failed() { end(kFailed); }
void SignInLimiter::Attempt::succeeded() { end(kSucceeded); }
void SignInLimiter::Attempt::not_counted() { end(kNotCounted); }

void SignInLimiter::Attempt::end(int outcome) {
  if (!limiter_) return;
  std::exchange(limiter_, nullptr)->end(operator_key_, address_, static_cast<Outcome>(outcome));
}

void SignInLimiter::expire(Count& c, Clock::time_point now) const {
  if (c.failures > 0 && now - c.last_failure >= policy_.cooling_off) c.failures = 0;
}

long long SignInLimiter::locked_for(const Count& c, int limit, Clock::time_point now) const {
  if (c.failures + c.pending < limit) return 0;
  // Locked by failures: until the cooling-off after the last one; locked by
  // attempts still being checked: as if they failed now.
  auto until = c.failures >= limit ? c.last_failure + policy_.cooling_off : now + policy_.cooling_off;
  auto left = std::chrono::duration_cast<std::chrono::seconds>(until - now).count();
  return left > 0 ? left : 1;
}

Expected<SignInLimiter::Attempt> SignInLimiter::begin(const std::string& company, const std::string& code,
                                                      const std::string& address) {
  std::string key = text::trim(company) + '\n' + text::trim(code);
  std::lock_guard lock(m_);
  const auto now = now_();
  if (operators_.size() + addresses_.size() > kPruneAbove) prune(now);
  Count& by_operator = operators_[key];
  Count& by_address = addresses_[address];
  expire(by_operator, now);
  expire(by_address, now);
  if (long long s = locked_for(by_operator, policy_.per_operator, now))
    return ApiError{429, "该操作员登录失败次数过多，请 " + std::to_string(minutes_for(s)) + " 分钟后再试"};
  if (long long s = locked_for(by_address, policy_.per_address, now))
    return ApiError{429, "本机登录失败次数过多，请 " + std::to_string(minutes_for(s)) + " 分钟后再试"};
  ++by_operator.pending;
  ++by_address.pending;
  return Attempt(this, std::move(key), address);
}

long long SignInLimiter::wait_seconds(const std::string& company, const std::string& code,
                                      const std::string& address) {
  std::string key = text::trim(company) + '\n' + text::trim(code);
  std::lock_guard lock(m_);
  const auto now = now_();
  long long wait = 0;
  if (auto it = operators_.find(key); it != operators_.end()) {
    expire(it->second, now);
    wait = locked_for(it->second, policy_.per_operator, now);
  }
  if (auto it = addresses_.find(address); it != addresses_.end()) {
    expire(it->second, now);
    wait = std::max(wait, locked_for(it->second, policy_.per_address, now));
  }
  return wait;
}

void SignInLimiter::end(const std::string& operator_key, const std::string& address, Outcome outcome) {
  std::lock_guard lock(m_);
  const auto now = now_();
  for (auto* counts : {&operators_, &addresses_}) {
    const std::string& key = counts == &operators_ ? operator_key : address;
    Count& c = (*counts)[key];
    if (c.pending > 0) --c.pending;
    expire(c, now);
    if (outcome == kFailed) {
      ++c.failures;
      c.last_failure = now;
    }
    if (outcome == kSucceeded && counts == &operators_) c.failures = 0;
    if (c.failures == 0 && c.pending == 0) counts->erase(key);
  }
}

void SignInLimiter::prune(Clock::time_point now) {
  for (auto* counts : {&operators_, &addresses_}) {
    for (auto it = counts->begin(); it != counts->end();) {
      expire(it->second, now);
      it = it->second.failures == 0 && it->second.pending == 0 ? counts->erase(it) : std::next(it);
    }
  }
}

}  // namespace kq::server
