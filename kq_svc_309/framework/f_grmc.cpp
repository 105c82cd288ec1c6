#include "framework/f_grmc.h"

#include "framework/session.h"

namespace kq::fw {

Str f_grmc(const Str& code) {
  if (!code) return std::nullopt;
  Session& s = session();
  SqlcaStatusGuard keep(s.sqlca);
  Str name;
  s.sqlca.exec("select cgrmc into :ls_name from sysc03 where cgrdm = :ls_code and cgsh = :gs_gsh",
               {{"ls_code", *code}, {"gs_gsh", s.g.gs_gsh}, {"ls_name", db::out(name)}});
  if (s.sqlca.sqlcode != 0) return std::nullopt;
  return name;
}

}  // namespace kq::fw
