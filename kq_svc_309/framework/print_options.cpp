#include "framework/print_options.h"

#include <filesystem>

#include "framework/session.h"
#include "platform/value/format.h"
#include "platform/value/text.h"

namespace kq::fw {

std::string picture_folder() {
  const Session* s = current_session();
  if (!s || s->g.gs_startfile.empty()) return "";
  return (std::filesystem::path(s->g.gs_startfile) / "picture").string();
}

dw::PdfOptions print_options(const dw::DataWindow& dw) {
  dw::PdfOptions options;
  if (dw.has_definition() && !dw.definition().range.empty()) {
    const Value range = dw.evaluate(dw.definition().range, dw.rowcount() > 0 ? 1 : 0);
    options.heading.range = range.as_string().value_or("");
  }
  const Session* s = current_session();
  if (!s) return options;
  options.heading.printed_by = text::trim(s->g.gs_yhdm + " " + s->g.gs_yhxm);
  options.heading.printed_at = format::datetime(DateTime::now(), "yyyy/mm/dd hh:mm");
  options.picture_folder = picture_folder();
  return options;
}

}  // namespace kq::fw
