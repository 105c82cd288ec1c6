#include "framework/w_svc302_03.h"

#include "framework/us_svc_xmmx.h"

namespace kq::fw {

w_svc302_03::w_svc302_03()
    : ui::Window("w_svc302_03", "维修项目明细"), st_1(add_control("st_1", ui::ControlKind::StaticText)) {}

long w_svc302_03::open() {
  if (const us_svc_xmmx* p = parameter().object_as<us_svc_xmmx>()) {
    is_wtsbh = p->s_wtsbh;
    il_lb = p->l_lb;
    st_1.text = "委托书编号：" + is_wtsbh;
  }
  return 1;
}

}  // namespace kq::fw
