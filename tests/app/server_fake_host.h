#pragma once
// A window host for the server's tests: one window class "w_fake" (测试窗口)
// whose buttons make the modal calls of the Ui, so that the tests see dialogs
// park and resume the session's UI thread without the module's windows.
//
// Window state: em_1 (edit mask, enabled only for operators with "CJ"),
// st_1 (static text: what the last event did), cb_* buttons, cb_hidden (not
// visible), dw_1 (a read-only grid of 1000 rows), menu command 1 enabled,
// command 2 disabled.
#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>

#include "framework/f_retu_czyauth.h"
#include "framework/session.h"
#include "server/browser_ui.h"
#include "server/window_host.h"

namespace kq::testing {

// What a test shares with the hosts it makes: a gate that holds the slow
// event, and what the hosts saw.
struct FakeWorld {
  std::mutex m;
  std::condition_variable cv;
  bool release_slow = false;
  std::set<std::thread::id> event_threads;  // threads that ran events
  std::atomic<int> closed_all{0};           // close_all() calls
  std::atomic<int> slow_started{0};

  void release() {
    std::lock_guard lock(m);
    release_slow = true;
    cv.notify_all();
  }
};

class FakeHost : public server::WindowHost {
 public:
  FakeHost(fw::Session& session, server::BrowserUi& ui, std::shared_ptr<FakeWorld> world)
      : session_(session), ui_(ui), world_(std::move(world)) {}

  std::vector<server::MenuEntry> menu() override { return {{"w_fake", "测试窗口"}}; }

  std::optional<server::ApiError> open(const std::string& window_class) override {
    if (window_class != "w_fake") return server::not_found("no class " + window_class);
    Win w;
    w.id = next_id_++;
    w.em_enabled = fw::f_retu_czyauth("CJ");
    windows_.emplace(w.id, w);
    return std::nullopt;
  }

  nlohmann::json windows() override {
    nlohmann::json all = nlohmann::json::array();
    for (const auto& [id, w] : windows_) {
      nlohmann::json controls = nlohmann::json::array();
      controls.push_back({{"name", "em_1"}, {"kind", "editmask"}, {"text", w.em_text}, {"mask", "yyyy/mm/dd"},
                          {"visible", true}, {"enabled", w.em_enabled}});
      controls.push_back({{"name", "st_1"}, {"kind", "statictext"}, {"text", w.st_text}, {"visible", true},
                          {"enabled", true}});
      for (const char* b : {"cb_ask", "cb_twice", "cb_select", "cb_range", "cb_slow", "cb_preview", "cb_throw",
                            "cb_refuse", "cb_whoami"}) {
        controls.push_back({{"name", b}, {"kind", "commandbutton"}, {"text", b}, {"visible", true}, {"enabled", true}});
      }
      controls.push_back({{"name", "cb_hidden"}, {"kind", "commandbutton"}, {"text", "hidden"}, {"visible", false},
                          {"enabled", true}});
      controls.push_back({{"name", "dw_1"}, {"kind", "datawindow"}, {"style", "grid"}, {"rowcount", 1000},
                          {"readonly", true}, {"visible", true}, {"enabled", true}, {"first_row", 1},
                          {"html", "<div class=\"kq-dw\"></div>"}});
      all.push_back({{"id", id},
                     {"class", "w_fake"},
                     {"title", "测试窗口"},
                     {"parent", nullptr},
                     {"menu",
                      {{"name", "m_fake"},
                       {"commands",
                        {{{"index", 1}, {"text", "全部"}, {"enabled", true}},
                         {{"index", 2}, {"text", "删除"}, {"enabled", false}}}},
                       {"toolbar", {{{"event", "ue_refresh"}, {"text", "刷新"}, {"enabled", false}}}}}},
                     {"controls", controls}});
    }
    return {{"active", windows_.empty() ? nlohmann::json(nullptr) : nlohmann::json(windows_.rbegin()->first)},
            {"windows", all}};
  }

  std::optional<server::ApiError> dispatch(const nlohmann::json& e) override {
    {
      std::lock_guard lock(world_->m);
      world_->event_threads.insert(std::this_thread::get_id());
    }
    Win& w = windows_.at(e["window"].get<int>());
    const std::string control = e.value("control", "");
    const std::string event = e["event"].get<std::string>();
    if (event == "close") {
      windows_.erase(w.id);
      return std::nullopt;
    }
    if (control == "em_1" && event == "ue_key") {
      w.em_text = e.value("text", "");
      return std::nullopt;
    }
    if (control.empty() && event == "ue_cus") {
      w.st_text = "command " + std::to_string(e.value("number", 0));
      return std::nullopt;
    }
    if (event != "clicked") return server::bad_request("unknown event " + event);
    if (control == "cb_ask") {
      int a = ui_.messagebox(ui::MessageBox{"提示信息", "继续吗?", ui::Icon::Question, ui::Buttons::YesNo, 2});
      w.st_text = "answer " + std::to_string(a);
    } else if (control == "cb_twice") {
      int a = ui_.messagebox(ui::MessageBox{"提示信息", "第一问", ui::Icon::Question, ui::Buttons::OkCancel, 1});
      w.st_text = "first " + std::to_string(a);
      int b = ui_.messagebox(ui::MessageBox{"提示信息", "第二问", ui::Icon::Question, ui::Buttons::YesNoCancel, 1});
      w.st_text += " second " + std::to_string(b);
    } else if (control == "cb_select") {
      ui::SelectionList list;
      list.title = "选择班组";
      list.columns = {"cbmdm", "cbmmc"};
      list.headings = {"代码", "名称"};
      list.rows = {{"B01", "机修一班"}, {"B02", "机修二班"}, {"B03", "<b>钣金班</b>"}};
      w.st_text = "row " + std::to_string(ui_.select(list));
    } else if (control == "cb_range") {
      auto r = ui_.daterange(ui::DateRange{"选择日期", "2026/12/01", "2026/12/08"});
      w.st_text = r ? "range " + *r : "range none";
    } else if (control == "cb_slow") {
      ui_.progress(ui::Progress{"setup.avi", "正在处理，请稍候..."});
      world_->slow_started++;
      std::unique_lock lock(world_->m);
      world_->cv.wait(lock, [&] { return world_->release_slow; });
      lock.unlock();
      ui_.progress_done();
      w.st_text = "slow done";
    } else if (control == "cb_preview") {
      ui::Preview p;
      p.title = "打印预览";
      p.window = "w_fake";
      p.dataobject = "d_none";
      p.html = "<div class=\"kq-report\"></div>";
      ui_.preview(p);
      w.st_text = "preview closed";
    } else if (control == "cb_throw") {
      throw std::runtime_error("boom");
    } else if (control == "cb_refuse") {
      return server::forbidden("没有权限");
    } else if (control == "cb_whoami") {
      fw::Session* current = fw::current_session();
      w.st_text = current == &session_ ? "me " + current->g.gs_yhdm : "someone else";
    } else {
      w.st_text = "clicked " + control;
    }
    return std::nullopt;
  }

  server::Expected<nlohmann::json> rows(long long window, const std::string& control, long first,
                                        long count) override {
    if (!windows_.count(static_cast<int>(window))) return server::not_found("no window");
    if (control != "dw_1") return server::not_found("no control");
    return nlohmann::json{{"first_row", first}, {"rowcount", 1000}, {"count", count}, {"html", "<table></table>"}};
  }

  server::Expected<std::string> pdf(long long window, const std::string& control) override {
    if (!windows_.count(static_cast<int>(window)) || control != "dw_1") return server::not_found("no control");
    return std::string("%PDF-1.4 fake");
  }

  void close_all() override {
    windows_.clear();
    world_->closed_all++;
  }

 private:
  struct Win {
    int id = 0;
    bool em_enabled = true;
    std::string em_text = "2026/12/08";
    std::string st_text;
  };
  fw::Session& session_;
  server::BrowserUi& ui_;
  std::shared_ptr<FakeWorld> world_;
  std::map<int, Win> windows_;
  int next_id_ = 1;
};

}  // namespace kq::testing
