#include "platform/db/backend.h"

#include "platform/db/pg_backend.h"
#include "platform/db/sqlite_backend.h"
#include "platform/value/text.h"

namespace kq::db {

Result<std::unique_ptr<Connection>> open_connection(const ConnectOptions& options) {
  if (options.backend.empty() || text::iequals(options.backend, "sqlite")) return open_sqlite_connection(options);
  if (text::iequals(options.backend, "postgresql") || text::iequals(options.backend, "postgres"))
    return open_postgresql_connection(options);
  return make_error("unknown database backend '" + options.backend + "'");
}

}  // namespace kq::db
