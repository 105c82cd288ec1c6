#include "functions/f_svc_gsgsf.h"

#include "framework/f_msg.h"
#include "framework/session.h"

namespace kq {

Dec f_svc_gsgsf(const Str& gsde, const Dec& gs) {
  auto& s = fw::session();
  Long li_sygsdj;
  Dec ld_gsdj;
  s.sqlca.exec("select lsygsdj, ngsdj into :li_sygsdj, :ld_gsdj from svcc03 where cgsde = :gsde and cgsh = dbo.f_retu_gsh()",
               {{"gsde", gsde}, {"li_sygsdj", db::out(li_sygsdj)}, {"ld_gsdj", db::out(ld_gsdj)}});
  if (s.sqlca.sqlcode != 0) {
    fw::f_msg(s.g.gs_tsxx, "提取工时单价失败!");
    return Decimal(0);
  }
  if (li_sygsdj && *li_sygsdj == 0) return Decimal(0);
  if (!ld_gsdj || !gs) return std::nullopt;
  auto fee = Decimal::multiply(*ld_gsdj, *gs);
  if (!fee) return std::nullopt;
  return *fee;
}

}  // namespace kq
