#pragma once
#include "platform/value/value.h"

namespace kq::fw {

// The name of staff member `code` (sysc03) of the current company; null when
// there is none. sqlca's sqlcode is kept.
Str f_grmc(const Str& code);

}  // namespace kq::fw
