#pragma once
// One signed-in workstation: the session (globals, sqlca, sqlls), its UI
// thread, the BrowserUi through which its modal calls reach the browser, and
// its windows. Every call that touches the windows runs on the UI thread.
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "framework/session.h"
#include "server/browser_ui.h"
#include "server/ui_thread.h"
#include "server/window_changes.h"
#include "server/window_host.h"

namespace kq::server {

// Makes the window host of a new session; called on the session's UI thread
// with the session current.
using HostFactory = std::function<std::unique_ptr<WindowHost>(fw::Session&, BrowserUi&)>;

struct WaitLimits {
  // How long a request that fired an event waits for it before answering
  // {"busy": true}; the browser then asks again.
  std::chrono::milliseconds event{20000};
  // How long a read (states, rows, PDF) waits for the UI thread.
  std::chrono::milliseconds read{20000};
};

class Workstation {
 public:
  Workstation(std::unique_ptr<fw::Session> session, HostFactory make_host, WaitLimits limits = {});
  // Ends the session: a waiting dialog is answered with nothing, the running
  // event finishes, every window closes, the UI thread ends.
  ~Workstation();
  Workstation(const Workstation&) = delete;
  Workstation& operator=(const Workstation&) = delete;

  // {"company": {"code", "name"}, "operator": {"code", "name", "authorities"},
  //  "business_date": "yyyy/mm/dd", "dialog": the waiting dialog or null}
  nlohmann::json describe_session() const;
  // Before the workstation is shared: the company's name for describe_session().
  void set_company_name(std::string name) { identity_["company"]["name"] = std::move(name); }

  // Who signed in: the company code and the operator code.
  const std::string& company_code() const { return company_code_; }
  const std::string& operator_code() const { return operator_code_; }

  // {"menu": [{"class", "title"}]}.
  Expected<nlohmann::json> menu();
  // Opens a window of the menu; answers as fire().
  Stop open(const std::string& window_class);
  // Checks `event` against the windows (see event_check.h) and fires it.
  Stop fire(nlohmann::json event);
  // Answers dialog `id`.
  Stop answer(int id, const nlohmann::json& answer);
  // The next stop of the running event (see UiThread::wait).
  Stop wait();
  // {"active": id or null, "windows": [every open window]}; from now on
  // changes are counted from it.
  Expected<nlohmann::json> windows();
  // Rows of a grid control, or its printout.
  Expected<nlohmann::json> rows(long long window, const std::string& control, long first, long count);
  Expected<nlohmann::json> items(long long window, const std::string& control, long first, long count);
  Expected<std::string> pdf(long long window, const std::string& control);
  // The printout shown by the waiting preview dialog `dialog_id`.
  Expected<std::string> preview_pdf(int dialog_id);
  // Prints the printout of the waiting preview dialog `dialog_id` in `copies`
  // copies (1 to 9) on the printer the server named for it (never one the
  // browser names): {"printer": name, "job": CUPS job id}. Refused when the
  // preview has no printer (the browser prints it) or the printer fails.
  Expected<nlohmann::json> preview_print(int dialog_id, int copies);

  // Seconds of the steady clock when the browser last asked something.
  std::chrono::steady_clock::time_point last_seen() const { return last_seen_.load(); }
  void touch(std::chrono::steady_clock::time_point now) { last_seen_.store(now); }

 private:
  WindowHost& host();
  // Runs `fn` on the UI thread; 503 when it could not run in time.
  template <typename T>
  Expected<T> on_thread(std::function<Expected<T>()> fn);

  std::unique_ptr<fw::Session> session_;
  HostFactory make_host_;
  WaitLimits limits_;
  nlohmann::json identity_;  // describe_session() but the dialog; fixed at sign-in
  std::string company_code_;
  std::string operator_code_;
  std::unique_ptr<fw::SessionScope> scope_;  // on the UI thread
  std::unique_ptr<WindowHost> host_;         // made on the UI thread at first use
  WindowChanges changes_;                    // used on the UI thread
  std::atomic<std::chrono::steady_clock::time_point> last_seen_;
  std::unique_ptr<UiThread> thread_;
  std::unique_ptr<BrowserUi> ui_;
};

}  // namespace kq::server
