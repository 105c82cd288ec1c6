#include "server/operator_check.h"

namespace kq::server {

OperatorCheck::OperatorCheck(db::ConnectOptions database) : database_(std::move(database)) {}

std::optional<ApiError> OperatorCheck::check(const std::string& company, const std::string& code) {
  std::lock_guard lock(m_);
  if (!t_.connected()) {
    if (auto r = t_.connect(database_); !r)
      return unavailable("数据库暂时无法使用，请稍后再试", "operator check: cannot connect: " + r.error());
  }
  Long operator_stopped, company_stopped;
  t_.exec(
      "select o.ltybs, c.ltybs into :op, :co from kq_operator o, kq_company c "
      "where o.cczydm = :code and o.cgsh = :gsh and c.cgsh = o.cgsh",
      {{"code", code}, {"gsh", company}, {"op", db::out(operator_stopped)}, {"co", db::out(company_stopped)}});
  const int sqlcode = t_.sqlcode;
  const std::string error = t_.sqlerrtext;
  t_.rollback();
  if (sqlcode == -1) {
    t_.disconnect();  // a fresh connection at the next request
    return unavailable("数据库暂时无法使用，请稍后再试", "operator check: " + error);
  }
  if (sqlcode == 100 || operator_stopped.value_or(1) != 0) return unauthorized("该操作员已停用，会话已结束");
  if (company_stopped.value_or(1) != 0) return unauthorized("公司已停用，会话已结束");
  return std::nullopt;
}

}  // namespace kq::server
