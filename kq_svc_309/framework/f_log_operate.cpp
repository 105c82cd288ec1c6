#include "framework/f_log_operate.h"

#include <iostream>

#include "framework/session.h"

namespace kq::fw {

int f_log_operate(std::string_view text) {
  Session& s = session();
  db::Transaction log;
  if (auto r = log.connect(s.connect_options()); !r) {
    std::cerr << "kq_svc_309: operation log: " << r.error() << '\n';
    return 0;
  }
  log.exec(
      "insert into kq_operation_log ( drq , cczydm , cczymc , cnr , cgsh ) values ( :ldt_now , :gs_yhdm , :gs_yhxm , "
      ":ls_text , :gs_gsh )",
      {{"ldt_now", DateTime::now()}, {"gs_yhdm", s.g.gs_yhdm}, {"gs_yhxm", s.g.gs_yhxm},
       {"ls_text", std::string(text)}, {"gs_gsh", s.g.gs_gsh}});
  if (log.sqlcode != 0 || log.commit() != 0) {
    std::cerr << "kq_svc_309: operation log: " << log.sqlerrtext << '\n';
    log.rollback();
    return 0;
  }
  return 1;
}

}  // namespace kq::fw
