#pragma once

namespace kq {

// The point at which other modules may add repair items; this module adds
// none. Always true.
bool f_svc_add_xlxm();

}  // namespace kq
