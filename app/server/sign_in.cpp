#include "server/sign_in.h"

#include <algorithm>
#include <filesystem>

#include "framework/f_retu_para.h"
#include "framework/password.h"
#include "server/descriptor_headroom.h"
#include "platform/value/datetime.h"
#include "platform/value/text.h"

namespace kq::server {

using nlohmann::json;

Expected<Credentials> credentials_from_json(const json& body) {
  if (!body.is_object()) return bad_request("登录请求须为 JSON 对象");
  Credentials c;
  struct Field {
    const char* name;
    std::string* target;
    bool required;
  };
  for (const Field& f : {Field{"company", &c.company, true}, Field{"operator", &c.operator_code, true},
                         Field{"password", &c.password, true}, Field{"date", &c.business_date, false}}) {
    auto it = body.find(f.name);
    if (it == body.end() || it->is_null()) {
      if (f.required) return bad_request(std::string("登录请求缺少 \"") + f.name + "\"");
      continue;
    }
    if (!it->is_string()) return bad_request(std::string("登录请求的 \"") + f.name + "\" 须为字符串");
    *f.target = it->get<std::string>();
  }
  return c;
}

namespace {

std::vector<std::string> split_authorities(const std::string& list) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    std::string a = text::trim(std::string_view(list).substr(start, comma - start));
    if (!a.empty()) out.push_back(a);
    start = comma + 1;
  }
  return out;
}

// The business date asked for: nullopt for an empty text (today), absent()
// for a text that is not a date "yyyy/mm/dd" after 1900/01/01.
std::optional<DateTime> requested_date(const std::string& text) {
  std::string t = text::trim(text);
  if (t.empty()) return std::nullopt;
  if (t.size() != 10 || t[4] != '/' || t[7] != '/') return DateTime::absent();
  auto d = DateTime::parse(t);
  if (!d || d->date() <= DateTime::absent()) return DateTime::absent();
  return d->date();
}

// The refusal for a database that failed to open or answer: out of file
// descriptors is told as such, anything else as the database's failure;
// `detail` goes to the log.
ApiError database_failure(std::string message, std::string detail) {
  if (!descriptors_available(4)) return unavailable(kOutOfDescriptors, "sign-in: " + detail);
  return unavailable(std::move(message), "sign-in: " + detail);
}

// The business date of the session: today, or for an operator holding "CJ"
// (may work on other days' settlements) a day from the company's first date
// of queries (when it has one) up to today.
Expected<DateTime> business_date(const std::optional<DateTime>& requested, const std::vector<std::string>& authorities,
                                 const DateTime& first_date) {
  const DateTime today = DateTime::now().date();
  if (!requested || *requested == today) return today;
  if (std::find(authorities.begin(), authorities.end(), "CJ") == authorities.end())
    return forbidden("您没有选择营业日期的权限，营业日期只能是今天（" + today.to_date_string() + "）");
  if (*requested > today) return bad_request("营业日期不能晚于今天（" + today.to_date_string() + "）");
  if (!first_date.is_absent() && *requested < first_date)
    return bad_request("营业日期不能早于本公司的起始查询日期（" + first_date.to_date_string() + "）");
  return *requested;
}

}  // namespace

Expected<SignedIn> sign_in(const db::ConnectOptions& database, const std::string& files_folder, const Credentials& c) {
  const std::string company = text::trim(c.company);
  const std::string code = text::trim(c.operator_code);
  if (company.empty()) return bad_request("请输入公司代码");
  if (code.empty()) return bad_request("请输入操作员代码");
  if (c.password.empty()) return bad_request("请输入密码");
  const std::optional<DateTime> requested = requested_date(c.business_date);
  if (requested && requested->is_absent()) return bad_request("营业日期输入错误，须为 yyyy/mm/dd");
  if (!descriptors_available(16)) return unavailable(kOutOfDescriptors, "sign-in: out of file descriptors");

  auto s = std::make_unique<fw::Session>();
  s->g.gs_gsh = company;
  if (auto r = s->connect(database); !r) return database_failure("数据库无法打开，请联系系统管理员", r.error());
  fw::SessionScope scope(*s);
  auto& sql = s->sqlca;

  Str company_name;
  Dt first_date;
  Long company_stopped;
  sql.exec("select cgsmc, dqsrq, ltybs into :name, :qsrq, :stopped from kq_company where cgsh = :gsh",
           {{"gsh", company}, {"name", db::out(company_name)}, {"qsrq", db::out(first_date)},
            {"stopped", db::out(company_stopped)}});
  if (sql.sqlcode == -1) return database_failure("数据库暂时无法读取，请稍后再试", sql.sqlerrtext);
  if (sql.sqlcode == 100 || company_stopped.value_or(0) != 0) return unauthorized("公司代码不存在");

  Str name, hash, authorities;
  Long stopped;
  sql.exec(
      "select cczymc, cmmhash, cqx, ltybs into :name, :hash, :auth, :stopped from kq_operator "
      "where cczydm = :code and cgsh = :gsh",
      {{"code", code}, {"gsh", company}, {"name", db::out(name)}, {"hash", db::out(hash)},
       {"auth", db::out(authorities)}, {"stopped", db::out(stopped)}});
  if (sql.sqlcode == -1) return database_failure("数据库暂时无法读取，请稍后再试", sql.sqlerrtext);
  if (sql.sqlcode == 100 || !fw::verify_password(hash.value_or(""), c.password))
    return unauthorized("操作员代码或密码错误");
  if (stopped.value_or(0) != 0) return forbidden("该操作员已停用");

  fw::Globals& g = s->g;
  g.gs_yhdm = code;
  g.gs_yhxm = text::trim(name.value_or(""));
  g.authorities = split_authorities(authorities.value_or(""));
  const DateTime qsrq = first_date.value_or(DateTime::absent()).date();
  auto date = business_date(requested, g.authorities, qsrq);
  if (!date) return date.error();
  g.gd_xtrq = *date;
  g.gd_qsrq = (qsrq.is_absent() || qsrq > *date) ? *date : qsrq;
  g.gi_dqn = date->year();
  g.gi_dqy = date->month();
  g.gi_cwaz = text::trim(fw::f_retu_para("sys", "lcwaz").value_or("0")) == "1" ? 1 : 0;
  g.gs_startfile = files_folder;
  sql.rollback();
  return SignedIn{std::move(s), text::trim(company_name.value_or(""))};
}

json company_list(const db::ConnectOptions& database) {
  json out = json::array();
  db::Transaction t;
  if (!t.connect(database)) return out;
  auto cursor = t.open_cursor("select cgsh, cgsmc from kq_company where ltybs = 0 order by cgsh");
  if (!cursor) return out;
  while (cursor->next()) {
    out.push_back(json{{"code", text::trim(cursor->value(0).as_string().value_or(""))},
                       {"name", text::trim(cursor->value(1).as_string().value_or(""))}});
  }
  t.rollback();
  return out;
}

}  // namespace kq::server
