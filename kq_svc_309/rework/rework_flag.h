#pragma once
// The writes that follow a rework record in the work order and at the
// workshop terminals, shared by the rework list (w_svc304) and the rework
// entry (w_svc304_01). Every statement runs on sqlca inside the caller's unit
// of work; the caller rolls back after a false result.
#include <string>

namespace kq::svc {

// A deleted rework record: clears the rework flag lfgbs of its repair item
// in svcb20d or, when no current item matches (the work order is in
// history), in svcb20d_h; a work order in neither is passed over. With
// `terminals` (labour-hour management) then deletes the item's rework job in
// wtcb01c: lfxbs = 1 only, the item's ordinary job stays. False after the
// message "更新委托书维修项目返工标识失败！" or "删除工时管理项目记录表失败！".
bool clear_rework(const std::string& wtsbh, const std::string& xmdm, const std::string& xmmc, bool terminals);

}  // namespace kq::svc
