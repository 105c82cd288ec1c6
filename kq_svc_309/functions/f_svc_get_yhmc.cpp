#include "functions/f_svc_get_yhmc.h"

#include "framework/session.h"

namespace kq {

std::string f_svc_get_yhmc() {
  std::string ls_yhmc = fw::g().gs_yhxm;
  return ls_yhmc;
}

}  // namespace kq
