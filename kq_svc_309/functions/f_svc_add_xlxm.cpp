#include "functions/f_svc_add_xlxm.h"

namespace kq {

bool f_svc_add_xlxm() { return true; }

}  // namespace kq
