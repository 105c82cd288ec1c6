#include "framework/w_svc300_03.h"

#include "framework/us_svc_xlxm.h"

namespace kq::fw {

w_svc300_03::w_svc300_03()
    : ui::Window("w_svc300_03", "维修项目"), st_1(add_control("st_1", ui::ControlKind::StaticText)) {}

long w_svc300_03::open() {
  const us_svc_xlxm* p = parameter().object_as<us_svc_xlxm>();
  if (!p) return 1;
  st_1.text = "委托书编号：" + p->cwtsbh;
  is_type = p->ctype;
  ib_is_pg = p->ctype == "PG";
  ib_sh = p->ctype == "SH";
  return 1;
}

}  // namespace kq::fw
