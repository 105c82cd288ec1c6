#include "framework/w_pop_rqts.h"

#include <string>

#include "framework/session.h"
#include "platform/ui/window_manager.h"
#include "platform/value/text.h"

namespace kq::fw {
namespace {

Dt date_of(const std::string& s) {
  std::string t = text::trim(s);
  if (t.empty() || t.find(' ') != std::string::npos) return std::nullopt;
  return DateTime::parse(t);
}

Str checked(const std::optional<std::string>& answer) {
  if (!answer) return std::nullopt;
  const size_t at = answer->find('@');
  if (at == std::string::npos) return std::nullopt;
  Dt first = date_of(answer->substr(0, at)), last = date_of(answer->substr(at + 1));
  if (!first || !last || *first > *last) return std::nullopt;
  return first->to_date_string() + "@" + last->to_date_string();
}

}  // namespace

Str w_pop_rqts(ui::Window* parent) {
  Session& s = session();
  Str answer;
  if (s.ui) answer = checked(s.ui->daterange(ui::DateRange{"选择日期范围", s.g.gd_qsrq.to_date_string(),
                                                            s.g.gd_xtrq.to_date_string()}));
  if (parent && parent->manager()) parent->manager()->message = ui::Message::of_text(answer);
  return answer;
}

}  // namespace kq::fw
