#include "framework/uo_svc_print.h"

#include <algorithm>

#include "framework/f_msg.h"
#include "framework/session.h"
#include "framework/workstation_printer.h"
#include "platform/dw/render/html_render.h"
#include "platform/value/text.h"

namespace kq::fw {
namespace {

// A value written inside a quoted modify text: quotes and the tilde dropped.
std::string modify_safe(std::string s) {
  s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == '\'' || c == '"' || c == '~'; }), s.end());
  return s;
}

// The membership card number of the work order (current or history); "" without one.
std::string card_of(Session& s, const std::string& wtsbh) {
  Str ls_hykh;
  s.sqlca.exec("select top 1 chykh into :ls_hykh from v_svc300_01_all where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh",
               {{"ls_wtsbh", wtsbh}, {"gs_gsh", s.g.gs_gsh}, {"ls_hykh", db::out(ls_hykh)}});
  if (s.sqlca.sqlcode != 0 || !ls_hykh) return "";
  return text::trim(*ls_hykh);
}

}  // namespace

int uo_svc_print::uf_print_jsd(bool, bool ab_print, ui::DataWindowControl& adw_jsd, std::string& as_xstp, int,
                               int ai_hyxx, int ai_xsse, ui::DataWindowControl&, const std::string& as_wtsbh,
                               ui::DataWindowControl&, int, const std::string&, int ai_qz) {
  Session& s = session();
  as_xstp.clear();
  adw_jsd->dataobject("d_svc305_jsd1");
  adw_jsd->settransobject(s.sqlca);
  if (adw_jsd->retrieve(as_wtsbh, s.g.gs_gsh) < 1) return -1;

  // Tax: the fees print net of tax and the tax line shows.
  adw_jsd->setitem(1, "xsse", Value(static_cast<long long>(ai_xsse == 1 ? 1 : 0)));
  adw_jsd->setitemstatus(1, "xsse", dw::Buffer::Primary, dw::ItemStatus::NotModified);

  // The guarantor prints on an owing slip only.
  const std::string guarantor = ai_qz == 1 ? "1" : "0";
  as_xstp = "cdbr_t.visible=" + guarantor + " cdbr.visible=" + guarantor;

  if (ai_hyxx == 1) {
    const std::string card = modify_safe(card_of(s, as_wtsbh));
    if (!card.empty()) as_xstp += " hyxx_t.text='会员卡号：" + card + "'";
  }

  if (ab_print) {
    dw::DataWindow copy;
    if (copy.from_state_blob(adw_jsd->state_blob()) != 1) return -1;
    copy.modify(as_xstp);
    const int copies = std::clamp(ii_copies, 1, 9);
    // A named printer prints at once, without a dialog; otherwise the browser does.
    if (const std::string printer = configured_printer(); !printer.empty()) {
      auto job = print_on_printer(printer, copy.state_blob(), "结算单 " + as_wtsbh, copies);
      if (!job) {
        f_msg(s.g.gs_tsxx, job.error());
        return -1;
      }
      return 1;
    }
    ui::Preview p;
    p.title = "结算单";
    p.window = "uo_svc_print";
    p.dataobject = copy.dataobject();
    dw::HtmlOptions html;
    html.mode = dw::HtmlOptions::Mode::Preview;
    html.editable = false;
    html.id = "print";
    p.html = dw::render_html(copy, html);
    p.state = copy.state_blob();
    p.copies = copies;
    if (s.ui) s.ui->preview(p);
  }
  return 1;
}

}  // namespace kq::fw
