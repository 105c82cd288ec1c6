#include "server/ui_thread.h"

#include <cstdio>
#include <exception>

#include "server/window_changes.h"

namespace kq::server {

using nlohmann::json;

UiThread::UiThread(Hooks hooks) : hooks_(std::move(hooks)) {
  thread_ = std::thread([this] { loop(); });
}

UiThread::~UiThread() { stop(); }

void UiThread::loop() {
  if (hooks_.enter) hooks_.enter();
  std::unique_lock lock(m_);
  while (true) {
    cv_.wait(lock, [&] { return stopping_ || !reads_.empty() || event_; });
    run_reads(lock);
    if (event_) {
      Event event = std::move(event_);
      event_ = nullptr;
      lock.unlock();
      Stop finished;
      try {
        finished.error = event();
      } catch (const std::exception& e) {
        std::fprintf(stderr, "kq_svc_309 serve: an event failed: %s\n", e.what());
        finished.error = internal_error("服务器内部错误，请稍后再试", e.what());
      } catch (...) {
        std::fprintf(stderr, "kq_svc_309 serve: an event failed\n");
        finished.error = internal_error("服务器内部错误");
      }
      publish(std::move(finished));
      lock.lock();
      continue;
    }
    if (stopping_ && reads_.empty()) break;
  }
  lock.unlock();
  if (hooks_.leave) {
    try {
      hooks_.leave();
    } catch (...) {
      std::fprintf(stderr, "kq_svc_309 serve: closing a session failed\n");
    }
  }
  lock.lock();
  stopped_ = true;
  cv_.notify_all();
}

void UiThread::run_reads(std::unique_lock<std::mutex>& lock) {
  while (!reads_.empty()) {
    Read r = std::move(reads_.front());
    reads_.pop_front();
    if (*r.cancelled) continue;
    lock.unlock();
    try {
      r.fn();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kq_svc_309 serve: a read failed: %s\n", e.what());
    } catch (...) {
      std::fprintf(stderr, "kq_svc_309 serve: a read failed\n");
    }
    lock.lock();
    *r.done = true;
    cv_.notify_all();
  }
}

Stop UiThread::described(Stop stop) {
  if (!stop.error && hooks_.describe) {
    try {
      json d = hooks_.describe();
      if (d.is_object()) {
        for (auto it = d.begin(); it != d.end(); ++it) stop.body[it.key()] = it.value();
      }
    } catch (const std::exception& e) {
      std::fprintf(stderr, "kq_svc_309 serve: describing the windows failed: %s\n", e.what());
      stop.error = internal_error("服务器内部错误，请稍后再试", e.what());
    }
  }
  return stop;
}

void UiThread::commit_stop(Stop stop) {
  if (!delivered_ && !last_stop_.error && !stop.error) {
    // The earlier stop was never carried to the browser: its window changes
    // travel with this one.
    json merged = merge_changes(last_stop_.body, stop.body);
    stop.body = std::move(merged);
  }
  if (stop.kind == Stop::Kind::Finished) {
    event_running_ = false;
    progress_ = nullptr;
  }
  last_stop_ = std::move(stop);
  ++stop_seq_;
  delivered_ = false;
  cv_.notify_all();
}

void UiThread::publish(Stop stop) {
  Stop s = described(std::move(stop));
  std::lock_guard lock(m_);
  commit_stop(std::move(s));
}

namespace {

// The answer to a request that cannot be carried out.
Stop refused(ApiError error) {
  Stop s;
  s.error = std::move(error);
  return s;
}

// The answer to a request after the session ended.
Stop session_over() { return refused(unavailable("会话已结束")); }

// The answer while an event still runs, with its progress (null for none).
Stop busy(json progress) {
  Stop s;
  s.kind = Stop::Kind::Busy;
  s.body = json{{"busy", true}, {"progress", std::move(progress)}};
  return s;
}

}  // namespace

Stop UiThread::busy_stop() const { return busy(progress_); }

Stop UiThread::wait_for_stop(std::unique_lock<std::mutex>& lock, uint64_t seen, std::chrono::milliseconds wait) {
  cv_.wait_for(lock, wait, [&] { return stop_seq_ != seen || stopped_; });
  if (stop_seq_ != seen) {
    delivered_ = true;
    return last_stop_;
  }
  if (stopped_) return session_over();
  return busy_stop();
}

Stop UiThread::start(Event event, std::chrono::milliseconds wait) {
  std::unique_lock lock(m_);
  if (stopping_ || stopped_) return session_over();
  if (event_running_) return refused(conflict(dialog_id_ ? "请先回答正在显示的对话框" : "上一个操作尚未完成，请稍候"));
  event_ = std::move(event);
  event_running_ = true;
  const uint64_t seen = stop_seq_;
  cv_.notify_all();
  return wait_for_stop(lock, seen, wait);
}

Stop UiThread::answer(int id, const json& answer, std::chrono::milliseconds wait) {
  std::unique_lock lock(m_);
  if (!dialog_id_ || *dialog_id_ != id || answer_) return refused(conflict("对话框 " + std::to_string(id) + " 不在等待回答"));
  if (check_) {
    if (auto wrong = check_(answer)) return refused(bad_request(*wrong));
  }
  answer_ = answer;
  delivered_ = true;  // the browser has seen the dialog it answers
  const uint64_t seen = stop_seq_;
  cv_.notify_all();
  return wait_for_stop(lock, seen, wait);
}

Stop UiThread::wait(std::chrono::milliseconds wait) {
  std::unique_lock lock(m_);
  if (!delivered_) {
    delivered_ = true;
    return last_stop_;
  }
  if (stopped_) return session_over();
  if (!event_running_) return Stop{};
  if (dialog_id_ && !answer_) return last_stop_;  // the dialog still waits: show it again
  return wait_for_stop(lock, stop_seq_, wait);
}

json UiThread::pending_dialog() const {
  std::lock_guard lock(m_);
  if (!dialog_id_ || answer_) return nullptr;
  return dialog_;
}

bool UiThread::read(std::function<void()> fn, std::chrono::milliseconds wait) {
  if (on_thread()) {
    fn();
    return true;
  }
  auto cancelled = std::make_shared<bool>(false);
  auto done = std::make_shared<bool>(false);
  std::unique_lock lock(m_);
  if (stopping_ || stopped_) return false;
  reads_.push_back(Read{std::move(fn), cancelled, done});
  cv_.notify_all();
  cv_.wait_for(lock, wait, [&] { return *done || stopped_; });
  if (*done) return true;
  *cancelled = true;
  return false;
}

std::optional<json> UiThread::ask(json dialog, AnswerCheck check) {
  Stop s = described(Stop{Stop::Kind::Dialog, json::object(), std::nullopt});
  if (s.error) s = Stop{Stop::Kind::Dialog, json::object(), std::nullopt};  // the dialog still shows
  std::unique_lock lock(m_);
  if (stopping_) return std::nullopt;
  const int id = next_dialog_++;
  dialog["id"] = id;
  dialog_id_ = id;
  dialog_ = dialog;
  check_ = std::move(check);
  answer_.reset();
  // The dialog becomes visible to requests together with its stop.
  s.body["dialog"] = std::move(dialog);
  commit_stop(std::move(s));
  while (true) {
    cv_.wait(lock, [&] { return answer_ || stopping_ || !reads_.empty(); });
    run_reads(lock);
    if (answer_ || stopping_) break;
  }
  std::optional<json> result = std::move(answer_);
  answer_.reset();
  dialog_id_.reset();
  dialog_ = nullptr;
  check_ = nullptr;
  return result;
}

void UiThread::show_progress(json progress) {
  {
    std::lock_guard lock(m_);
    progress_ = progress;
  }
  if (progress.is_null()) return;
  publish(busy(std::move(progress)));
}

void UiThread::stop() {
  {
    std::lock_guard lock(m_);
    stopping_ = true;
    cv_.notify_all();
  }
  if (on_thread()) return;
  std::call_once(joined_, [this] {
    if (thread_.joinable()) thread_.join();
  });
}

}  // namespace kq::server
