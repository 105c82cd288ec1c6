#include "server/workstation.h"

#include "framework/print_options.h"
#include "platform/dw/datawindow/datawindow.h"
#include "framework/workstation_printer.h"
#include "platform/dw/render/pdf_render.h"
#include "server/event_check.h"

namespace kq::server {

using nlohmann::json;

Workstation::Workstation(std::unique_ptr<fw::Session> session, HostFactory make_host, WaitLimits limits)
    : session_(std::move(session)),
      make_host_(std::move(make_host)),
      limits_(limits),
      company_code_(session_->g.gs_gsh),
      operator_code_(session_->g.gs_yhdm),
      last_seen_(std::chrono::steady_clock::now()) {
  const fw::Globals& g = session_->g;
  identity_ = json{{"company", {{"code", g.gs_gsh}, {"name", ""}}},
                   {"operator", {{"code", g.gs_yhdm}, {"name", g.gs_yhxm}, {"authorities", g.authorities}}},
                   {"business_date", g.gd_xtrq.to_date_string()}};
  UiThread::Hooks hooks;
  hooks.enter = [this] { scope_ = std::make_unique<fw::SessionScope>(*session_); };
  hooks.leave = [this] {
    if (host_) host_->close_all();
    host_.reset();
    session_->sqlca.rollback();
    session_->sqlls.rollback();
    scope_.reset();
  };
  hooks.describe = [this] {
    json all = host().windows();
    json changes = changes_.take(all["windows"]);
    changes["active"] = all["active"];
    return changes;
  };
  thread_ = std::make_unique<UiThread>(std::move(hooks));
  ui_ = std::make_unique<BrowserUi>(*thread_);
  session_->ui = ui_.get();
}

Workstation::~Workstation() { thread_->stop(); }

WindowHost& Workstation::host() {
  if (!host_) host_ = make_host_(*session_, *ui_);
  return *host_;
}

template <typename T>
Expected<T> Workstation::on_thread(std::function<Expected<T>()> fn) {
  auto result = std::make_shared<std::optional<Expected<T>>>();
  bool ran = thread_->read([result, fn = std::move(fn)] { result->emplace(fn()); }, limits_.read);
  if (!ran || !result->has_value()) return unavailable("会话正忙，请稍后再试");
  return std::move(**result);
}

json Workstation::describe_session() const {
  json out = identity_;
  out["dialog"] = thread_->pending_dialog();
  return out;
}

Expected<json> Workstation::menu() {
  return on_thread<json>([this]() -> Expected<json> {
    json entries = json::array();
    for (const MenuEntry& e : host().menu()) entries.push_back(json{{"class", e.window_class}, {"title", e.title}});
    return json{{"menu", std::move(entries)}};
  });
}

Stop Workstation::open(const std::string& window_class) {
  return thread_->start(
      [this, window_class]() -> std::optional<ApiError> {
        WindowHost& h = host();
        bool offered = false;
        for (const MenuEntry& e : h.menu()) offered = offered || e.window_class == window_class;
        if (!offered) return not_found("菜单中没有窗口 " + window_class);
        return h.open(window_class);
      },
      limits_.event);
}

Stop Workstation::fire(json event) {
  if (auto wrong = check_event_shape(event)) {
    Stop s;
    s.error = *wrong;
    return s;
  }
  return thread_->start(
      [this, event = std::move(event)]() -> std::optional<ApiError> {
        WindowHost& h = host();
        if (auto refused = check_event_allowed(h.windows()["windows"], event)) return refused;
        return h.dispatch(event);
      },
      limits_.event);
}

Stop Workstation::answer(int id, const json& answer) { return thread_->answer(id, answer, limits_.event); }

Stop Workstation::wait() { return thread_->wait(limits_.event); }

Expected<json> Workstation::windows() {
  return on_thread<json>([this]() -> Expected<json> {
    json all = host().windows();
    changes_.take(all["windows"]);
    return all;
  });
}

Expected<json> Workstation::rows(long long window, const std::string& control, long first, long count) {
  return on_thread<json>([=, this]() { return host().rows(window, control, first, count); });
}

Expected<json> Workstation::items(long long window, const std::string& control, long first, long count) {
  return on_thread<json>([=, this]() { return host().items(window, control, first, count); });
}

Expected<std::string> Workstation::pdf(long long window, const std::string& control) {
  return on_thread<std::string>([=, this]() { return host().pdf(window, control); });
}

Expected<std::string> Workstation::preview_pdf(int dialog_id) {
  return on_thread<std::string>([=, this]() -> Expected<std::string> {
    const ui::Preview* preview = ui_->previewed(dialog_id);
    if (!preview) return not_found("预览 " + std::to_string(dialog_id) + " 没有打开");
    dw::DataWindow dw;
    if (dw.from_state_blob(preview->state) != 1) return internal_error("预览的内容无法显示，请重新预览", dw.last_error());
    dw::PdfOptions options = fw::print_options(dw);
    const auto& def = dw.definition();
    options.title = !preview->title.empty() ? preview->title : (def.title.empty() ? def.name : def.title);
    auto pdf = dw::render_pdf(dw, options);
    if (!pdf) return internal_error("打印文件生成失败，请稍后再试", pdf.error());
    return std::move(*pdf);
  });
}

Expected<json> Workstation::preview_print(int dialog_id, int copies) {
  return on_thread<json>([=, this]() -> Expected<json> {
    const ui::Preview* preview = ui_->previewed(dialog_id);
    if (!preview) return not_found("预览 " + std::to_string(dialog_id) + " 没有打开");
    if (preview->printer.empty()) return conflict("没有设置打印机，请用浏览器的打印");
    auto job = fw::print_on_printer(preview->printer, preview->state, preview->title, copies);
    if (!job) {
      if (job.failure().is_busy()) return unavailable(job.error());
      if (job.failure().is_not_found()) return conflict(job.error());
      return internal_error(job.error());
    }
    return json{{"printer", preview->printer}, {"job", *job}};
  });
}

}  // namespace kq::server
