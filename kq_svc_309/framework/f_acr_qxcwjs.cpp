#include "framework/f_acr_qxcwjs.h"

#include "framework/f_msg.h"
#include "framework/f_sqlca.h"
#include "framework/session.h"

namespace kq::fw {

int f_acr_qxcwjs_valid(dw::DataWindow& dw, long row) {
  const Str ls_wtsbh = dw.getitemstring(row, "cwtsbh");
  db::Transaction& sqlca = session().sqlca;
  Long ll_pzid, ll_cwskwb;
  sqlca.exec("select npzid , lcwskwb into :ll_pzid , :ll_cwskwb from svcb20c where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh",
             {{"ls_wtsbh", ls_wtsbh}, {"gs_gsh", g().gs_gsh}, {"ll_pzid", db::out(ll_pzid)},
              {"ll_cwskwb", db::out(ll_cwskwb)}});
  if (f_sqlca("读取委托书财务信息失败！") == 0) return 0;
  if (sqlca.sqlcode == 100) {
    messagebox(g().gs_tsxx, "委托书不存在，不能取消财务结算！", ui::Icon::Exclamation);
    return 0;
  }
  if (ll_pzid.value_or(0) != 0 || ll_cwskwb.value_or(0) != 0) {
    messagebox(g().gs_tsxx, "该委托书财务已处理，不能取消结算！", ui::Icon::Exclamation);
    return 0;
  }
  return 1;
}

int f_acr_qxcwjs(dw::DataWindow& dw, long row) {
  const Str ls_wtsbh = dw.getitemstring(row, "cwtsbh");
  db::Transaction& sqlca = session().sqlca;
  sqlca.exec("insert into kq_finance_call ( cwtsbh , drq , cczydm , chs , cgsh ) values ( :ls_wtsbh , :ldt_now , :gs_yhdm , 'f_acr_qxcwjs' , :gs_gsh )",
             {{"ls_wtsbh", ls_wtsbh}, {"ldt_now", DateTime::now()}, {"gs_yhdm", g().gs_yhdm}, {"gs_gsh", g().gs_gsh}});
  return f_sqlca("财务取消结算失败！");
}

}  // namespace kq::fw
