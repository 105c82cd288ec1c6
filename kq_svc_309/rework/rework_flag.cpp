#include "rework/rework_flag.h"

#include "framework/f_msg.h"
#include "framework/f_sqlca.h"
#include "framework/session.h"

namespace kq::svc {

bool clear_rework(const std::string& wtsbh, const std::string& xmdm, const std::string& xmmc, bool terminals) {
  fw::Session& s = fw::session();
  db::Transaction& sqlca = s.sqlca;
  const std::initializer_list<db::HostVar> item = {{"is_wtsbh", wtsbh}, {"is_xmdm", xmdm}, {"is_xmmc", xmmc}};
  sqlca.exec("update svcb20d set lfgbs = 0 where cwtsbh = :is_wtsbh and cwxxmdm = :is_xmdm and cxmmc = :is_xmmc",
             item);
  if (sqlca.sqlcode == 100)
    sqlca.exec("update svcb20d_h set lfgbs = 0 where cwtsbh = :is_wtsbh and cwxxmdm = :is_xmdm and cxmmc = :is_xmmc",
               item);
  if (sqlca.sqlcode == -1) {
    fw::f_msg(s.g.gs_tsxx, "更新委托书维修项目返工标识失败！", ui::Icon::Exclamation);
    return false;
  }
  if (!terminals) return true;
  sqlca.exec("delete wtcb01c where cwtsbh = :is_wtsbh and cwxxmdm = :is_xmdm and lfxbs = 1 and cgsh = :gs_gsh",
             {{"is_wtsbh", wtsbh}, {"is_xmdm", xmdm}, {"gs_gsh", s.g.gs_gsh}});
  return fw::f_sqlca("删除工时管理项目记录表失败！") != 0;
}

}  // namespace kq::svc
