#include "framework/f_sqlca.h"

#include <iostream>

#include "framework/f_msg.h"
#include "framework/session.h"

namespace kq::fw {

int f_sqlca(std::string_view text) {
  Session& s = session();
  if (s.sqlca.sqlcode != -1) return 1;
  std::cerr << "kq_svc_309: " << text << " (" << s.sqlca.sqlerrtext << ")\n";
  f_msg(s.g.gs_tsxx, text, ui::Icon::StopSign);
  return 0;
}

}  // namespace kq::fw
