#pragma once
// The HTTP server's workers: a pool that grows with the connections it is
// handed, up to a ceiling, and shrinks again when they are gone.
//
// The HTTP library gives each accepted connection a worker for as long as
// the connection lives, also while it sends nothing (until the read or
// keep-alive timeout). A fixed pool lets a handful of idle connections make
// every other request queue behind them; this one starts a worker for a
// connection whenever no worker is free, so idle connections cost a parked
// thread each, not the other clients' time. Past `max_workers` connections
// queue until a worker frees up.
#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace kq::server {

class WorkerPool : public httplib::TaskQueue {
 public:
  struct Limits {
    std::size_t min_workers = 8;      // kept even when nothing happens
    std::size_t max_workers = 512;    // the ceiling of concurrent connections served
    std::chrono::seconds retire_after{30};  // a worker above min_workers idle this long ends
  };

  explicit WorkerPool(Limits limits);
  ~WorkerPool() override;
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // Runs `fn` on a free worker, a new one when none is free and the ceiling
  // allows, else as soon as a worker frees up. Joins retired workers first.
  void enqueue(std::function<void()> fn) override;
  // Lets the queued work run, then joins every worker. Idempotent.
  void shutdown() override;
  // Joins the workers that retired.
  void on_idle() override;

  // Workers alive now (for tests and benchmarks).
  std::size_t workers() const;

 private:
  void work();
  void join_retired();

  const Limits limits_;
  mutable std::mutex m_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> jobs_;
  std::map<std::thread::id, std::thread> threads_;
  std::vector<std::thread> retired_;
  std::size_t idle_ = 0;  // workers waiting for a job
  bool shutdown_ = false;
};

}  // namespace kq::server
