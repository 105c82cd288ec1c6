#pragma once
#include <string_view>

#include "platform/value/value.h"

namespace kq::fw {

// Whether a repair station (工位, wtcc01.cwxgwdm) and a labour-hour controller
// (工时控制器, wtcc05.cgskzqdm) may be saved together on a terminal job of the
// current company. The pair is checked against v_wtcc01, which names each
// station's controller; values are bound, never pasted into SQL text.
//
// Blank means null or only spaces. In order, each refusal shows its message
// (title gs_tsxx) and returns 0:
//   - station and controller both blank: allowed (1) unless the parameter
//     svc/lxmzdgw is "1" (items need a station): "请选择返修工位！";
//   - station blank, controller given: "请先选择返修工位！";
//   - the station is not an active station of the company (ltybs 0):
//     "返修工位不存在或已停用！";
//   - the station has no controller: "该返修工位没有工时控制器，不能下传！";
//   - the controller is not the station's: "工时控制器与返修工位不对应！".
// A failed read shows "读取返修工位信息失败！" and returns 0. Otherwise 1.
// sqlca's sqlcode is kept.
int f_wtc_gwgwq(const Str& station, const Str& controller);

}  // namespace kq::fw
