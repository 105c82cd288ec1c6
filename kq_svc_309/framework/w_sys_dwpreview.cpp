#include "framework/w_sys_dwpreview.h"

#include <iostream>

#include "framework/print_options.h"
#include "framework/session.h"
#include "framework/workstation_printer.h"
#include "platform/dw/render/html_render.h"

namespace kq::fw {

int w_sys_dwpreview(const us_preview_parameter& p) {
  if (!p.dw_datawindow_name || !p.dw_datawindow_name->has_definition()) return -1;
  dw::DataWindow copy;
  if (copy.from_state_blob(p.dw_datawindow_name->state_blob()) != 1) {
    std::cerr << "kq_svc_309: preview: " << copy.last_error() << '\n';
    return -1;
  }
  if (!p.s_modify.empty()) {
    std::string error = copy.modify(p.s_modify);
    if (!error.empty()) std::cerr << "kq_svc_309: preview modify: " << error << '\n';
  }
  dw::HtmlOptions html;
  html.mode = dw::HtmlOptions::Mode::Preview;
  html.editable = false;
  html.id = "preview";
  html.picture_folder = picture_folder();
  ui::Preview preview;
  preview.title = p.s_title.empty() ? copy.definition().title : p.s_title;
  preview.window = p.s_winname;
  preview.dataobject = copy.dataobject();
  preview.html = dw::render_html(copy, html);
  preview.state = copy.state_blob();
  preview.printer = configured_printer();
  Session* s = current_session();
  if (s && s->ui) s->ui->preview(preview);
  return 1;
}

}  // namespace kq::fw
