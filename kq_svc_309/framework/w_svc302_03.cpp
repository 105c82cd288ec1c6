#include "framework/w_svc302_03.h"

#include <iostream>

#include "framework/f_msg.h"
#include "framework/f_select_current_row.h"
#include "framework/session.h"
#include "framework/us_svc_xmmx.h"
#include "platform/value/text.h"

namespace kq::fw {

w_svc302_03::w_svc302_03()
    : ui::Window("w_svc302_03", "维修项目明细"),
      st_1(add_control("st_1", ui::ControlKind::StaticText)),
      dw_1(add<ui::DataWindowControl>("dw_1")),
      cb_1(add_control("cb_1", ui::ControlKind::CommandButton, "关闭(&C)")) {
  dw_1->dataobject("d_svc302_03_01");
  dw_1->set_readonly(true);
  st_1.geometry = ui::Geometry{8, 8, 420, 24};
  cb_1.geometry = ui::Geometry{718, 4, 80, 30};
  dw_1.geometry = ui::Geometry{0, 40, 800, 400};
  on("cb_1", "clicked", [this](const ui::Event&) { return cb_1_clicked(); });
}

long w_svc302_03::open() {
  const us_svc_xmmx* p = parameter().object_as<us_svc_xmmx>();
  if (!p) return 1;
  is_wtsbh = text::trim(p->s_wtsbh);
  il_lb = p->l_lb;
  st_1.text = "委托书编号：" + is_wtsbh;
  Session& s = session();
  dw_1->settransobject(s.sqlca);
  if (dw_1->retrieve(is_wtsbh) < 0) {
    std::cerr << "kq_svc_309: w_svc302_03: " << s.sqlca.sqlerrtext << '\n';
    f_msg(s.g.gs_tsxx, "读取委托书维修项目失败！", ui::Icon::StopSign);
    return 1;
  }
  f_select_current_row(dw_1);
  return 1;
}

long w_svc302_03::cb_1_clicked() {
  ui::close(*this);
  return 1;
}

}  // namespace kq::fw
