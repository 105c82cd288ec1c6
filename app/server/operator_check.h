#pragma once
// Whether a signed-in operator may still work. Asked on every request of a
// session, so that an operator (or a company) stopped in kq_operator
// (kq_company) meanwhile, or removed, loses the session at the next request.
// One connection of its own, shared by the request threads under a lock:
// a lookup by primary key, read outside any transaction.
#include <mutex>
#include <optional>
#include <string>

#include "platform/db/transaction.h"
#include "server/api_error.h"

namespace kq::server {

class OperatorCheck {
 public:
  explicit OperatorCheck(db::ConnectOptions database);

  // nullopt while operator `code` of `company` exists and neither is
  // stopped. 401 "该操作员已停用，会话已结束" when the operator is stopped or
  // gone, 401 "公司已停用，会话已结束" when the company is; 503 when the
  // database cannot be read (the session is kept: the next request asks again).
  std::optional<ApiError> check(const std::string& company, const std::string& code);

 private:
  db::ConnectOptions database_;
  std::mutex m_;
  db::Transaction t_;
};

}  // namespace kq::server
