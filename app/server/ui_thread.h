#pragma once
// The UI thread of one signed-in workstation. Everything of the session runs
// on it, one event at a time, as on a desktop's user-interface thread:
//
//   - start() hands an event to the thread and waits for its next stop;
//   - a modal call inside the event (ask()) publishes a dialog and parks the
//     thread; answer() resumes it exactly there with the person's answer;
//   - show_progress() publishes a busy stop without parking;
//   - when the event returns, a finished stop is published.
//
// A stop is what the pending HTTP request answers with. A request that waits
// longer than its limit gets a busy stop; the browser then asks again with
// wait(), which never loses a stop published in between.
//
// Reads (window states, grid rows, a PDF) run on the thread too, between
// events or while an event is parked on a dialog, never in the middle of an
// event's own code.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>

#include "server/api_error.h"

namespace kq::server {

struct Stop {
  enum class Kind { Finished, Dialog, Busy };
  Kind kind = Kind::Finished;
  // The answer for the browser: {"dialog": …} or {"busy": true, "progress": …}
  // or {}; the windows changed so far are merged in by the thread's describe
  // hook. Unset error = success.
  nlohmann::json body = nlohmann::json::object();
  std::optional<ApiError> error;
};

class UiThread {
 public:
  using Clock = std::chrono::steady_clock;
  // The work of one event; an error refuses the event (nothing was done).
  using Event = std::function<std::optional<ApiError>()>;
  // Checks an answer to a dialog; an error text when it does not fit.
  using AnswerCheck = std::function<std::optional<std::string>(const nlohmann::json&)>;

  struct Hooks {
    std::function<void()> enter;  // first thing on the new thread (make the session current …)
    std::function<void()> leave;  // last thing on the thread (close windows …)
    // Runs on the thread at every stop; returns members merged into the stop's
    // body ({"windows": […], "closed": […]}).
    std::function<nlohmann::json()> describe;
  };

  explicit UiThread(Hooks hooks);
  // stop()s and joins.
  ~UiThread();
  UiThread(const UiThread&) = delete;
  UiThread& operator=(const UiThread&) = delete;

  // --- from request threads ---

  // Starts `event` and waits up to `wait` for its first stop. 409 while
  // another event runs (or waits on a dialog), 503 once the thread stopped.
  Stop start(Event event, std::chrono::milliseconds wait);
  // Answers the waiting dialog `id` and waits up to `wait` for the next stop.
  // 409 when no dialog `id` waits, 400 when the answer does not fit it.
  Stop answer(int id, const nlohmann::json& answer, std::chrono::milliseconds wait);
  // The stop the browser has not seen yet, else the next one within `wait`;
  // when no event runs and every stop was seen: a finished stop with no changes.
  Stop wait(std::chrono::milliseconds wait);
  // The dialog the thread is parked on, or null.
  nlohmann::json pending_dialog() const;
  // Runs `read` on the thread (see above) and waits up to `wait` for it.
  // False when it could not run in time (the read is then dropped) or the
  // thread has stopped.
  bool read(std::function<void()> read, std::chrono::milliseconds wait);

  // Ends the thread: a parked dialog is answered with nothing, the running
  // event finishes, `leave` runs, the thread is joined. Idempotent. Must not
  // be called on the thread itself.
  void stop();

  // --- on the UI thread ---

  // Publishes `dialog` (given a fresh "id") and parks until it is answered;
  // nullopt when the session ends instead. Reads are served while parked.
  std::optional<nlohmann::json> ask(nlohmann::json dialog, AnswerCheck check);
  // Publishes a busy stop carrying `progress` (null: the indicator is closed).
  void show_progress(nlohmann::json progress);
  // True when called on this UI thread.
  bool on_thread() const { return std::this_thread::get_id() == thread_.get_id(); }

 private:
  struct Read {
    std::function<void()> fn;
    std::shared_ptr<bool> cancelled;
    std::shared_ptr<bool> done;
  };

  void loop();
  // Runs the queued reads; called with the lock held, returns with it held.
  void run_reads(std::unique_lock<std::mutex>& lock);
  // `stop` with the describe hook's members; on the thread, without the lock.
  Stop described(Stop stop);
  // Makes `stop` the latest; with the lock held.
  void commit_stop(Stop stop);
  // Publishes a stop; called on the thread without the lock.
  void publish(Stop stop);
  // Waits for a stop newer than `seen`; with the lock held.
  Stop wait_for_stop(std::unique_lock<std::mutex>& lock, uint64_t seen, std::chrono::milliseconds wait);
  Stop busy_stop() const;

  Hooks hooks_;
  mutable std::mutex m_;
  std::condition_variable cv_;
  std::deque<Read> reads_;
  Event event_;                 // handed over, not yet taken by the thread
  bool event_running_ = false;  // from start() until the finished stop
  bool stopping_ = false;
  bool stopped_ = false;
  // The latest stop and its number; `delivered_` = a request has carried it.
  uint64_t stop_seq_ = 0;
  Stop last_stop_;
  bool delivered_ = true;
  // The dialog the thread is parked on.
  int next_dialog_ = 1;
  std::optional<int> dialog_id_;
  nlohmann::json dialog_;
  AnswerCheck check_;
  std::optional<nlohmann::json> answer_;
  nlohmann::json progress_;  // null when no progress indicator shows
  std::once_flag joined_;
  std::thread thread_;
};

}  // namespace kq::server
