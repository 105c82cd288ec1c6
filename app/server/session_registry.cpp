#include "server/session_registry.h"

#include <vector>

#include "server/token.h"

namespace kq::server {

SessionRegistry::SessionRegistry(std::chrono::seconds idle_limit, std::function<Clock::time_point()> now)
    : SessionRegistry(idle_limit, SessionLimits{}, std::move(now)) {}

SessionRegistry::SessionRegistry(std::chrono::seconds idle_limit, SessionLimits limits,
                                 std::function<Clock::time_point()> now)
    : idle_limit_(idle_limit), limits_(limits), now_(std::move(now)) {}

SessionRegistry::~SessionRegistry() { clear(); }

bool SessionRegistry::expired(const Workstation& w, Clock::time_point now) const {
  return now - w.last_seen() > idle_limit_;
}

std::optional<ApiError> SessionRegistry::full_locked() const {
  if (sessions_.size() < limits_.total) return std::nullopt;
  return unavailable("已登录的工作站已达上限（" + std::to_string(limits_.total) +
                     " 个），请在不用的工作站上退出后再登录，或稍后再试");
}

std::optional<ApiError> SessionRegistry::full() {
  std::vector<std::shared_ptr<Workstation>> ended;  // destroyed after the lock is released
  std::lock_guard lock(m_);
  take_expired_locked(now_(), ended);
  return full_locked();
}

void SessionRegistry::take_expired_locked(Clock::time_point now, std::vector<std::shared_ptr<Workstation>>& ended) {
  for (auto it = sessions_.begin(); it != sessions_.end();) {
    if (expired(*it->second, now)) {
      ended.push_back(std::move(it->second));
      it = sessions_.erase(it);
    } else {
      ++it;
    }
  }
}

Expected<std::string> SessionRegistry::add(std::shared_ptr<Workstation> w) {
  const auto now = now_();
  w->touch(now);
  std::vector<std::shared_ptr<Workstation>> ended;  // destroyed after the lock is released
  std::lock_guard lock(m_);
  take_expired_locked(now, ended);
  size_t of_operator = 0;
  for (const auto& [token, other] : sessions_)
    if (other->company_code() == w->company_code() && other->operator_code() == w->operator_code()) ++of_operator;
  if (auto refused = full_locked()) return *refused;
  if (of_operator >= limits_.per_operator) {
    return conflict("该操作员已在 " + std::to_string(of_operator) +
                    " 个工作站登录，已达上限，请先在不用的工作站上退出");
  }
  std::string token;
  do {
    token = new_session_token();
  } while (sessions_.count(token));
  sessions_.emplace(token, std::move(w));
  return token;
}

std::shared_ptr<Workstation> SessionRegistry::find(const std::string& token) {
  if (!looks_like_token(token)) return nullptr;
  std::shared_ptr<Workstation> ended;  // destroyed after the lock is released
  std::lock_guard lock(m_);
  auto it = sessions_.find(token);
  if (it == sessions_.end()) return nullptr;
  const auto now = now_();
  if (expired(*it->second, now)) {
    ended = std::move(it->second);
    sessions_.erase(it);
    return nullptr;
  }
  it->second->touch(now);
  return it->second;
}

bool SessionRegistry::remove(const std::string& token) {
  std::shared_ptr<Workstation> ended;
  {
    std::lock_guard lock(m_);
    auto it = sessions_.find(token);
    if (it == sessions_.end()) return false;
    ended = std::move(it->second);
    sessions_.erase(it);
  }
  return true;
}

size_t SessionRegistry::sweep() {
  std::vector<std::shared_ptr<Workstation>> ended;
  {
    std::lock_guard lock(m_);
    take_expired_locked(now_(), ended);
  }
  return ended.size();
}

void SessionRegistry::clear() {
  std::map<std::string, std::shared_ptr<Workstation>> ended;
  std::lock_guard lock(m_);
  ended.swap(sessions_);
}

size_t SessionRegistry::size() const {
  std::lock_guard lock(m_);
  return sessions_.size();
}

}  // namespace kq::server
