#include "settlement/w_svc305_01.h"

namespace kq::svc {

w_svc305_01::w_svc305_01() : fw::w_stmm_edit("w_svc305_01", "取消结算") {
  changemenu("m_sys_09");
  dw_edit->dataobject("d_svc305_01_01");
  set_toolbar({{"ue_cus", 1, "保存", true}, {"close", 0, "关闭", true}});
}

long w_svc305_01::ue_save() { return 1; }

}  // namespace kq::svc
