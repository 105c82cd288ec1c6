#include "functions/f_svc_getid.h"

#include "framework/f_msg.h"
#include "framework/session.h"
#include "platform/value/text.h"

namespace kq {

int64_t f_svc_getid(const Str& dph, const Str& pzh) {
  auto& s = fw::session();
  Long ll_id = 0;
  if (dph && !text::trim(*dph).empty()) {
    s.sqlca.exec("select top 1 id into :ll_id from crmc04 where cdph = :dph and ltybs = 0 and cgsh = dbo.f_retu_gsh()",
                 {{"dph", *dph}, {"ll_id", db::out(ll_id)}});
    if (s.sqlca.sqlcode == -1) {
      fw::f_msg(s.g.gs_tsxx, "读取当前数据的车辆信息出错!");
      return 0;
    }
  }
  if (!ll_id) ll_id = 0;
  if (*ll_id > 0) return *ll_id;
  if (pzh && !text::trim(*pzh).empty()) {
    s.sqlca.exec("select top 1 id into :ll_id from crmc04 where cpzh = :pzh and ltybs = 0 and cgsh = dbo.f_retu_gsh()",
                 {{"pzh", *pzh}, {"ll_id", db::out(ll_id)}});
    if (s.sqlca.sqlcode == -1) {
      fw::f_msg(s.g.gs_tsxx, "读取当前数据的车辆信息出错!");
      return 0;
    }
  } else {
    ll_id = 0;
  }
  return ll_id.value_or(0);
}

}  // namespace kq
