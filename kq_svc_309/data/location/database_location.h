#pragma once
// Where a shop's databases are: the embedded default (a shop file that holds
// the club's tables too) or a database server, named as libpq names one: a URI
// "postgresql://user@host:port/dbname?sslmode=…", a "key=value …"
// connection string, "service=name", or an empty text for the PG* environment
// variables alone. A password is never accepted in that text: it would show
// in the process list, the shell history and the logs; it belongs in the
// password file (~/.pgpass or PGPASSFILE) or the service file.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/db/backend.h"
#include "platform/result.h"

namespace kq::data {

struct DatabaseLocation {
  enum class Kind { File, Server };
  Kind kind = Kind::File;
  std::filesystem::path shop_file;  // File: the shop database (club tables inside)
  std::string server;               // Server: the connection text as given (no password in it)

  bool is_server() const { return kind == Kind::Server; }
  // For messages and logs: the file's path, or the server text (which holds no password).
  std::string describe() const;
};

// The backend name a server location connects with.
inline constexpr std::string_view kServerBackend = "postgresql";

// A server location from the text of --server; an error when it carries a
// password (URI user:password@, password=… in the URI's query or the
// key=value text) or is not a connection text at all.
Result<DatabaseLocation> server_location(std::string_view text);
// A file location, or a server location when the text is a postgresql:// or
// postgres:// URI or a key=value connection string (for db copy's --from/--to).
Result<DatabaseLocation> parse_location(std::string_view text);

// The connection options of a server location, for the company `company`.
db::ConnectOptions server_connect_options(const DatabaseLocation& location, std::string company = {});

struct OpenLocation {
  // Files: create a missing shop file as a new, empty shop.
  bool create = false;
  // The company f_retu_gsh() returns on this connection.
  std::string company;
};

// A backend connection to the shop and club databases of `location`, their
// schema validated and brought to the current version (files: see
// schema::open_database_files).
Result<std::unique_ptr<db::Connection>> open_location(const DatabaseLocation& location, const OpenLocation& how);

}  // namespace kq::data
