#include "framework/f_retu_djxh.h"

#include <cstdio>

#include "framework/session.h"

namespace kq::fw {

Str f_retu_djxh(std::string_view module, std::string_view key) {
  Session& s = session();
  db::Transaction t;
  if (!t.connect(s.connect_options())) return std::nullopt;
  const std::string mk(module), jm(key);
  // The update locks the counter first, so two callers cannot read the same
  // value. A series that does not exist yet is made by the first caller; when
  // another workstation made it at the same moment (its key refuses this
  // insert; a server locks no row that is not there yet), the update is tried
  // again and waits for that one's number.
  bool advanced = false;
  for (int attempt = 0; attempt < 2 && !advanced; ++attempt) {
    t.exec("update kq_counter set nzhh = nzhh + 1 where cmk = :ls_mk and cjm = :ls_jm and cgsh = :gs_gsh",
           {{"ls_mk", mk}, {"ls_jm", jm}, {"gs_gsh", s.g.gs_gsh}});
    if (t.sqlcode == -1) break;
    if (t.sqlcode == 0) {
      advanced = true;
      break;
    }
    t.exec("insert into kq_counter ( cmk , cjm , nzhh , cgsh ) values ( :ls_mk , :ls_jm , 1 , :gs_gsh )",
           {{"ls_mk", mk}, {"ls_jm", jm}, {"gs_gsh", s.g.gs_gsh}});
    if (t.sqlcode == 0) advanced = true;
    else t.rollback();
  }
  if (!advanced) {
    t.rollback();
    return std::nullopt;
  }
  Long next;
  t.exec("select nzhh into :ll_next from kq_counter where cmk = :ls_mk and cjm = :ls_jm and cgsh = :gs_gsh",
         {{"ls_mk", mk}, {"ls_jm", jm}, {"gs_gsh", s.g.gs_gsh}, {"ll_next", db::out(next)}});
  if (t.sqlcode != 0 || !next || t.commit() != 0) {
    t.rollback();
    return std::nullopt;
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04lld", static_cast<long long>(*next));
  return std::string(buf);
}

}  // namespace kq::fw
