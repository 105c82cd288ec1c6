#include "data/location/database_location.h"

#include <cctype>

#include "data/schema/database_files.h"
#include "data/schema/postgresql_schema.h"
#include "platform/db/sqlite_backend.h"
#include "platform/value/text.h"

namespace kq::data {
namespace {

constexpr std::string_view kPasswordAdvice =
    "; give the password in the password file (~/.pgpass, or the file PGPASSFILE names) or in the service file, "
    "never on the command line";

bool istarts_with(std::string_view t, std::string_view prefix) {
  return t.size() >= prefix.size() && text::iequals(t.substr(0, prefix.size()), prefix);
}

bool starts_with_uri(std::string_view t) {
  return istarts_with(t, "postgresql://") || istarts_with(t, "postgres://");
}

// A key=value connection string: "host=… dbname=…", "service=shop".
bool is_key_value(std::string_view t) {
  const auto eq = t.find('=');
  if (eq == std::string_view::npos || eq == 0) return false;
  for (size_t i = 0; i < eq; ++i) {
    const auto c = static_cast<unsigned char>(t[i]);
    if (!std::isalnum(c) && c != '_' && !std::isspace(c)) return false;
  }
  return true;
}

// True when a key=value text names a password key (keys are case-sensitive
// in libpq; any spacing around "=").
bool key_value_has_password(std::string_view t) {
  size_t i = 0;
  while (i < t.size()) {
    while (i < t.size() && std::isspace(static_cast<unsigned char>(t[i]))) ++i;
    size_t key_start = i;
    while (i < t.size() && t[i] != '=' && !std::isspace(static_cast<unsigned char>(t[i]))) ++i;
    std::string_view key = t.substr(key_start, i - key_start);
    while (i < t.size() && std::isspace(static_cast<unsigned char>(t[i]))) ++i;
    if (i >= t.size() || t[i] != '=') return false;  // malformed; libpq reports it
    ++i;
    while (i < t.size() && std::isspace(static_cast<unsigned char>(t[i]))) ++i;
    if (key == "password") return true;
    if (i < t.size() && t[i] == '\'') {  // quoted value with \' escapes
      ++i;
      while (i < t.size() && t[i] != '\'') i += t[i] == '\\' ? 2 : 1;
      ++i;
    } else {
      while (i < t.size() && !std::isspace(static_cast<unsigned char>(t[i]))) ++i;
    }
  }
  return false;
}

// True when a URI carries a password: "user:secret@" before the host, or a
// "password=" parameter in its query.
bool uri_has_password(std::string_view t) {
  std::string_view rest = t.substr(t.find("://") + 3);
  const auto path = rest.find_first_of("/?");
  std::string_view authority = rest.substr(0, path);
  if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
    if (authority.substr(0, at).find(':') != std::string_view::npos) return true;
  }
  if (const auto q = rest.find('?'); q != std::string_view::npos) {
    std::string_view query = rest.substr(q + 1);
    size_t start = 0;
    while (start <= query.size()) {
      size_t amp = query.find('&', start);
      if (amp == std::string_view::npos) amp = query.size();
      std::string_view pair = query.substr(start, amp - start);
      if (istarts_with(pair, "password=")) return true;
      start = amp + 1;
    }
  }
  return false;
}

}  // namespace

std::string DatabaseLocation::describe() const {
  if (!is_server()) return shop_file.string();
  return server.empty() ? std::string("the server of the PG* environment") : server;
}

Result<DatabaseLocation> server_location(std::string_view given) {
  const std::string trimmed = text::trim(given);
  DatabaseLocation location;
  location.kind = DatabaseLocation::Kind::Server;
  location.server = trimmed;
  if (trimmed.empty()) return location;
  if (starts_with_uri(trimmed)) {
    if (uri_has_password(trimmed))
      return make_error("the server address carries a password" + std::string(kPasswordAdvice));
    return location;
  }
  if (is_key_value(trimmed)) {
    if (key_value_has_password(trimmed))
      return make_error("the server connection string carries a password" + std::string(kPasswordAdvice));
    return location;
  }
  return make_error("'" + trimmed +
                    "' is no server address: give a URI postgresql://user@host:port/dbname, a connection string "
                    "such as \"host=db1 dbname=shop\" or \"service=shop\"");
}

Result<DatabaseLocation> parse_location(std::string_view given) {
  const std::string trimmed = text::trim(given);
  if (trimmed.empty()) return make_error("no database given");
  if (starts_with_uri(trimmed) || is_key_value(trimmed)) return server_location(trimmed);
  DatabaseLocation location;
  location.shop_file = trimmed;
  return location;
}

db::ConnectOptions server_connect_options(const DatabaseLocation& location, std::string company) {
  db::ConnectOptions options;
  options.backend = std::string(kServerBackend);
  options.server = location.server;
  options.company = std::move(company);
  return options;
}

Result<std::unique_ptr<db::Connection>> open_location(const DatabaseLocation& location, const OpenLocation& how) {
  if (location.is_server()) {
    auto connection = db::open_connection(server_connect_options(location, how.company));
    if (!connection) return make_error(location.describe() + ": " + connection.error());
    schema::MigrateOptions migrate;
    migrate.allow_create = how.create;
    if (auto ok = schema::migrate_postgresql(**connection, migrate); !ok)
      return make_error(location.describe() + ": " + ok.error());
    return connection;
  }
  schema::OpenOptions open;
  open.create = how.create;
  open.migrate = true;
  auto files = schema::open_database_files(location.shop_file, open);
  if (!files) return make_error(files.error());
  db::ConnectOptions options;
  options.database = files->shop_path().string();
  options.company = how.company;
  return db::adopt_sqlite_connection(files->release(), options);
}

}  // namespace kq::data
