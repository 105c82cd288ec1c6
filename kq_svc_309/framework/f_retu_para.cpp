#include "framework/f_retu_para.h"

#include "framework/session.h"

namespace kq::fw {

Str f_retu_para(std::string_view group, std::string_view code) {
  Session& s = session();
  SqlcaStatusGuard keep(s.sqlca);
  Str value;
  s.sqlca.exec(
      "select ccsz into :ls_value from sysi90 where upper(cssxt) = upper(:ls_group) and upper(ccsdm) = upper(:ls_code) "
      "and cgsh = :gs_gsh",
      {{"ls_group", std::string(group)}, {"ls_code", std::string(code)}, {"gs_gsh", s.g.gs_gsh},
       {"ls_value", db::out(value)}});
  if (s.sqlca.sqlcode != 0) return std::nullopt;
  return value;
}

}  // namespace kq::fw
