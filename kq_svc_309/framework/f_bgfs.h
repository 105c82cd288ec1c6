#pragma once
#include "platform/value/value.h"

namespace kq::fw {

// The contract mode cbgfs ("0", "1" or "2") of work order `bh` of the current
// company, current or history; null when there is no such work order.
// sqlca's sqlcode is kept.
Str f_bgfs(const Str& bh);

}  // namespace kq::fw
