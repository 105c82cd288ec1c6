#include "server/session_registry.h"

#include <vector>

#include "server/token.h"

namespace kq::server {

SessionRegistry::SessionRegistry(std::chrono::seconds idle_limit, std::function<Clock::time_point()> now)
    : idle_limit_(idle_limit), now_(std::move(now)) {}

SessionRegistry::~SessionRegistry() { clear(); }

bool SessionRegistry::expired(const Workstation& w, Clock::time_point now) const {
  return now - w.last_seen() > idle_limit_;
}

std::string SessionRegistry::add(std::shared_ptr<Workstation> w) {
  w->touch(now_());
  std::lock_guard lock(m_);
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
    const auto now = now_();
    for (auto it = sessions_.begin(); it != sessions_.end();) {
      if (expired(*it->second, now)) {
        ended.push_back(std::move(it->second));
        it = sessions_.erase(it);
      } else {
        ++it;
      }
    }
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
