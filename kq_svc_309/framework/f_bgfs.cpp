#include "framework/f_bgfs.h"

#include "framework/session.h"

namespace kq::fw {

Str f_bgfs(const Str& bh) {
  if (!bh) return std::nullopt;
  Session& s = session();
  SqlcaStatusGuard keep(s.sqlca);
  Str mode;
  s.sqlca.exec("select top 1 cbgfs into :ls_bgfs from v_svc300_01_all where cwtsbh = :ls_bh and cgsh = :gs_gsh",
               {{"ls_bh", *bh}, {"gs_gsh", s.g.gs_gsh}, {"ls_bgfs", db::out(mode)}});
  if (s.sqlca.sqlcode != 0) return std::nullopt;
  return mode;
}

}  // namespace kq::fw
