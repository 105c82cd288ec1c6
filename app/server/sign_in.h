#pragma once
// Signing in at the workstation: company, operator code and password are
// checked against kq_operator (the password against its argon2id hash), and a
// connected session is made with the host application's globals filled in.
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "framework/session.h"
#include "server/api_error.h"

namespace kq::server {

struct Credentials {
  std::string company;
  std::string operator_code;
  std::string password;
  std::string business_date;  // "yyyy/mm/dd"; empty = today (see sign_in)
};

// Reads {"company", "operator", "password", "date"} (date optional); 400 when
// a member is missing or not a string.
Expected<Credentials> credentials_from_json(const nlohmann::json& body);

// A connected session for `c` on the shop database `db_path`: gs_gsh,
// gs_yhdm, gs_yhxm, the authorities (cqx), gd_xtrq = the business date,
// gd_qsrq = the company's first date of queries (kq_company.dqsrq, the
// business date when that is absent or later), gi_dqn, gi_dqy, gi_cwaz
// (system parameter sys/lcwaz = "1"), gs_startfile = the database's folder.
//
// The business date is the server's today. Only an operator holding "CJ"
// (may work on other days' settlements) may ask for another day, from the
// company's first date of queries (when it has one) up to today; a date
// asked for by anyone else is refused (403), not silently replaced.
//
// Refusals: 400 for an empty field, a business date that is not a date
// "yyyy/mm/dd" or one out of that range; 401 "公司代码不存在" for an unknown
// or stopped company, 401 "操作员代码或密码错误" for an unknown operator or a
// wrong password (the two are not told apart); 403 "该操作员已停用" for a
// stopped operator with the right password; 503 when the database cannot be
// opened or read, or the server has run out of file descriptors (told as
// such). A refusal's technical cause is in its `detail`.
struct SignedIn {
  std::unique_ptr<fw::Session> session;
  std::string company_name;  // kq_company.cgsmc
};
Expected<SignedIn> sign_in(const db::ConnectOptions& database, const std::string& files_folder, const Credentials& c);

// The companies offered at sign-in (not stopped), as [{"code", "name"}], in
// code order; an empty array when the database cannot be read.
nlohmann::json company_list(const db::ConnectOptions& database);

}  // namespace kq::server
