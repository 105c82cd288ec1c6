#pragma once
#include <cstdint>

#include "platform/value/value.h"

namespace kq {

// The id of the vehicle record (crmc04, in use, current company) with chassis
// number `dph`, or else with plate number `pzh`; 0 when neither is given or
// found. A failing query shows "读取当前数据的车辆信息出错!" and gives 0.
int64_t f_svc_getid(const Str& dph, const Str& pzh);

}  // namespace kq
