#pragma once
#include "platform/value/value.h"

namespace kq {

// The labour fee of `gs` labour hours in labour-rate class `gsde` (svcc03,
// current company): hours × unit price, or 0 for a class that does not charge
// by unit price. A class that cannot be read shows "提取工时单价失败!" and
// gives 0. Null hours or a null unit price give null.
Dec f_svc_gsgsf(const Str& gsde, const Dec& gs);

}  // namespace kq
