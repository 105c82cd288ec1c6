#include "server/browser_ui.h"

#include "platform/value/datetime.h"

namespace kq::server {

using nlohmann::json;

namespace {

const char* icon_name(ui::Icon icon) {
  switch (icon) {
    case ui::Icon::Information: return "information";
    case ui::Icon::StopSign: return "stopsign";
    case ui::Icon::Exclamation: return "exclamation";
    case ui::Icon::Question: return "question";
    case ui::Icon::None: return "none";
  }
  return "none";
}

// An integer answer in [low, high], else the text saying what fits.
UiThread::AnswerCheck integer_between(long low, long high) {
  return [low, high](const json& a) -> std::optional<std::string> {
    if (a.is_number_integer()) {
      long v = a.get<long>();
      if (v >= low && v <= high) return std::nullopt;
    }
    return "回答须为 " + std::to_string(low) + " 到 " + std::to_string(high) + " 之间的整数";
  };
}

bool is_date_text(const std::string& text) {
  if (text.size() != 10 || text[4] != '/' || text[7] != '/') return false;
  return DateTime::parse(text).has_value();
}

}  // namespace

int BrowserUi::messagebox(const ui::MessageBox& box) {
  int count = 0;
  const char* const* captions = ui::button_captions(box.buttons, &count);
  json buttons = json::array();
  for (int i = 0; i < count; ++i) buttons.push_back(captions[i]);
  const int default_button = (box.default_button >= 1 && box.default_button <= count) ? box.default_button : 1;
  json dialog{{"kind", "messagebox"},       {"title", box.title},   {"text", box.text},
              {"icon", icon_name(box.icon)}, {"buttons", buttons}, {"default", default_button}};
  auto answer = thread_.ask(std::move(dialog), integer_between(1, count));
  if (!answer) return count;
  return answer->get<int>();
}

long BrowserUi::select(const ui::SelectionList& list) {
  json dialog{{"kind", "selection"}, {"title", list.title},     {"columns", list.columns},
              {"headings", list.headings}, {"rows", list.rows}, {"message", list.message}};
  auto answer = thread_.ask(std::move(dialog), integer_between(0, static_cast<long>(list.rows.size())));
  if (!answer) return 0;
  return answer->get<long>();
}

std::optional<std::string> BrowserUi::daterange(const ui::DateRange& range) {
  json dialog{{"kind", "daterange"}, {"title", range.title}, {"first", range.first}, {"last", range.last}};
  auto check = [](const json& a) -> std::optional<std::string> {
    if (a.is_null()) return std::nullopt;
    if (a.is_string()) {
      const std::string s = a.get<std::string>();
      const auto at = s.find('@');
      if (at != std::string::npos && is_date_text(s.substr(0, at)) && is_date_text(s.substr(at + 1))) {
        if (s.substr(0, at) > s.substr(at + 1)) return "起始日期不能晚于终止日期";
        return std::nullopt;
      }
    }
    return "回答须为 \"yyyy/mm/dd@yyyy/mm/dd\" 或 null";
  };
  auto answer = thread_.ask(std::move(dialog), check);
  if (!answer || answer->is_null()) return std::nullopt;
  return answer->get<std::string>();
}

void BrowserUi::preview(const ui::Preview& preview) {
  json dialog{{"kind", "preview"},
              {"title", preview.title},
              {"window", preview.window},
              {"dataobject", preview.dataobject},
              {"html", preview.html}};
  if (preview.copies > 0) dialog["copies"] = preview.copies;
  if (!preview.printer.empty()) dialog["printer"] = preview.printer;
  preview_ = &preview;
  struct Clear {
    const ui::Preview*& p;
    ~Clear() { p = nullptr; }
  } clear{preview_};
  (void)thread_.ask(std::move(dialog), integer_between(1, 1));
}

const ui::Preview* BrowserUi::previewed(int dialog_id) const {
  if (!preview_) return nullptr;
  json pending = thread_.pending_dialog();
  if (!pending.is_object() || pending.value("kind", "") != "preview" || pending.value("id", 0) != dialog_id)
    return nullptr;
  return preview_;
}

void BrowserUi::progress(const ui::Progress& progress) {
  thread_.show_progress(json{{"text", progress.text}, {"file", progress.file}});
}

void BrowserUi::progress_done() { thread_.show_progress(nullptr); }

}  // namespace kq::server
