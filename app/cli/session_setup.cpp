#include "cli/session_setup.h"

#include <filesystem>

#include "data/location/database_location.h"
#include "data/schema/database_files.h"
#include "module.h"
#include "platform/value/text.h"

namespace kq::app {

Result<std::unique_ptr<fw::Session>> open_session(const SessionSetup& setup) {
  module::install();
  if (setup.server.has_value() == !setup.db_path.empty())
    return make_error("give either --db PATH or --server ADDRESS");
  if (text::trim(setup.company).empty()) return make_error("no company given (--company CODE)");
  db::ConnectOptions options;
  std::string where = setup.db_path;
  std::string files_folder;
  if (setup.server) {
    auto location = data::server_location(*setup.server);
    if (!location) return make_error("--server: " + location.error());
    auto checked = data::open_location(*location, {.create = false, .company = {}});
    if (!checked) return make_error(checked.error());
    options = data::server_connect_options(*location);
    where = location->describe();
    std::error_code ec;
    files_folder = std::filesystem::current_path(ec).string();
  } else {
    schema::OpenOptions check;
    check.create = false;
    check.migrate = true;
    auto files = schema::open_database_files(setup.db_path, check);
    if (!files) return make_error(files.error());
    options.database = setup.db_path;
    files_folder = std::filesystem::path(setup.db_path).parent_path().string();
  }
  auto s = std::make_unique<fw::Session>();
  s->g.gs_gsh = text::trim(setup.company);
  DateTime today = DateTime::now().date();
  s->g.gd_xtrq = today;
  s->g.gd_qsrq = today;
  s->g.gi_dqn = today.year();
  s->g.gi_dqy = today.month();
  s->g.gs_startfile = files_folder;
  if (auto r = s->connect(options); !r) return make_error(r.error());

  fw::SessionScope scope(*s);
  Long companies;
  s->sqlca.exec("select count(1) into :n from sysi90 where cgsh = :gs_gsh",
                {{"gs_gsh", s->g.gs_gsh}, {"n", db::out(companies)}});
  if (s->sqlca.sqlcode != 0 || companies.value_or(0) == 0)
    return make_error("company " + s->g.gs_gsh + " has no system parameters in " + where);
  if (!setup.operator_code.empty()) {
    Str name, auth;
    s->sqlca.exec(
        "select cczymc, cqx into :ls_name, :ls_auth from kq_operator where cczydm = :ls_code and cgsh = :gs_gsh and "
        "ltybs = 0",
        {{"ls_code", setup.operator_code}, {"gs_gsh", s->g.gs_gsh}, {"ls_name", db::out(name)},
         {"ls_auth", db::out(auth)}});
    if (s->sqlca.sqlcode != 0) return make_error("no operator " + setup.operator_code + " in company " + s->g.gs_gsh);
    s->g.gs_yhdm = setup.operator_code;
    s->g.gs_yhxm = text::trim(name.value_or(""));
    std::string list = auth.value_or("");
    size_t start = 0;
    while (start <= list.size()) {
      size_t comma = list.find(',', start);
      if (comma == std::string::npos) comma = list.size();
      std::string a = text::trim(std::string_view(list).substr(start, comma - start));
      if (!a.empty()) s->g.authorities.push_back(a);
      start = comma + 1;
    }
  }
  s->sqlca.rollback();
  return s;
}

}  // namespace kq::app
