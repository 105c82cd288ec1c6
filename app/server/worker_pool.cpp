#include "server/worker_pool.h"

#include <cstdio>
#include <exception>

namespace kq::server {

WorkerPool::WorkerPool(Limits limits) : limits_(limits) {
  std::lock_guard lock(m_);
  for (std::size_t i = 0; i < limits_.min_workers; ++i) {
    std::thread t([this] { work(); });
    threads_.emplace(t.get_id(), std::move(t));
  }
}

WorkerPool::~WorkerPool() { shutdown(); }

void WorkerPool::enqueue(std::function<void()> fn) {
  join_retired();
  std::unique_lock lock(m_);
  if (shutdown_) {
    // Too late for a worker; the job still runs (it closes its connection).
    lock.unlock();
    fn();
    return;
  }
  jobs_.push_back(std::move(fn));
  if (idle_ < jobs_.size() && threads_.size() < limits_.max_workers) {
    std::thread t([this] { work(); });
    threads_.emplace(t.get_id(), std::move(t));
  }
  cv_.notify_one();
}

void WorkerPool::work() {
  std::unique_lock lock(m_);
  while (true) {
    ++idle_;
    const bool woke = cv_.wait_for(lock, limits_.retire_after, [&] { return shutdown_ || !jobs_.empty(); });
    --idle_;
    if (jobs_.empty()) {
      if (shutdown_) return;
      if (!woke && threads_.size() > limits_.min_workers) {
        // Retire: the thread object moves to retired_ to be joined later.
        auto self = threads_.find(std::this_thread::get_id());
        if (self == threads_.end()) return;
        retired_.push_back(std::move(self->second));
        threads_.erase(self);
        return;
      }
      continue;
    }
    std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    lock.unlock();
    try {
      job();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kq_svc_309 serve: a connection failed: %s\n", e.what());
    } catch (...) {
      std::fprintf(stderr, "kq_svc_309 serve: a connection failed\n");
    }
    lock.lock();
  }
}

void WorkerPool::join_retired() {
  std::vector<std::thread> done;
  {
    std::lock_guard lock(m_);
    done.swap(retired_);
  }
  for (auto& t : done) t.join();
}

void WorkerPool::on_idle() { join_retired(); }

void WorkerPool::shutdown() {
  std::map<std::thread::id, std::thread> running;
  {
    std::lock_guard lock(m_);
    shutdown_ = true;
    cv_.notify_all();
  }
  // Workers finish the queued jobs first; none starts after shutdown_.
  while (true) {
    {
      std::lock_guard lock(m_);
      if (threads_.empty()) break;
      running.swap(threads_);
    }
    for (auto& [id, t] : running) t.join();
    running.clear();
  }
  join_retired();
}

std::size_t WorkerPool::workers() const {
  std::lock_guard lock(m_);
  return threads_.size();
}

}  // namespace kq::server
