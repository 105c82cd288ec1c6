#include "framework/workstation_printer.h"

#include "framework/f_retu_para.h"
#include "framework/print_options.h"
#include "framework/session.h"
#include "framework/uo_clu100.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/render/pdf_render.h"
#include "platform/print/cups_print.h"
#include "platform/profile/profile.h"
#include "platform/value/text.h"

namespace kq::fw {

std::string configured_printer() {
  if (!current_session()) return {};
  std::string name = text::trim(profile::profile_string(session_profile_file(), "print", "printer", ""));
  if (name.empty()) name = text::trim(f_retu_para("sys", "DYJMC").value_or(""));
  return name;
}

Result<int> print_on_printer(const std::string& printer, const Blob& state, const std::string& title, int copies) {
  dw::DataWindow dw;
  if (dw.from_state_blob(state) != 1) return make_error("打印内容无法生成（" + dw.last_error() + "），没有打印！");
  // Drawn as the preview's PDF is: the session's print options, its title.
  dw::PdfOptions options = print_options(dw);
  const auto& def = dw.definition();
  options.title = !title.empty() ? title : (def.title.empty() ? def.name : def.title);
  auto pdf = dw::render_pdf(dw, options);
  if (!pdf) return make_error("打印文件生成失败（" + pdf.error() + "），没有打印！");
  print::PrintJob job;
  job.printer = printer;
  job.title = options.title;
  job.copies = copies;
  return print::print_pdf(job, *pdf);
}

}  // namespace kq::fw
