#pragma once
// The demo shop on both backends: the embedded default's files built by the
// demo builder, and a database on the test cluster with the server schema and
// the same rows, copied by the product's own copy (db copy: every value
// bound, the identities continuing after the copied ids, checked by digest).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/demo/demo_shop.h"
#include "data/location/database_location.h"
#include "data/transfer/shop_copy.h"
#include "platform/db/transaction.h"
#include "support/server_database.h"

namespace kq::testing {

// The demo shop of business date `today` in a temporary folder and on a
// database of the test cluster (when there is one).
class DemoOnBothBackends {
 public:
  explicit DemoOnBothBackends(const char* today = "2026/12/08") {
    dir_ = std::filesystem::temp_directory_path() / ("kq_both_" + std::to_string(::getpid()) + "_" +
                                                     std::to_string(reinterpret_cast<uintptr_t>(this)));
    std::filesystem::remove_all(dir_);
    demo::DemoOptions options;
    options.today = *DateTime::parse(today);
    options.hash_password = [](std::string_view p) { return "plain:" + std::string(p); };
    auto built = demo::build_demo_files(shop(), options, true);
    EXPECT_TRUE(built) << built.error();
    if (!test_cluster()) return;
    server_ = std::make_unique<ServerDatabase>();
    data::DatabaseLocation file;
    file.shop_file = shop();
    auto server = data::server_location(server_->conninfo());
    EXPECT_TRUE(server) << server.error();
    if (!server) return;
    auto from = data::open_location(file, {.create = false, .company = {}});
    auto to = data::open_location(*server, {.create = true, .company = {}});
    EXPECT_TRUE(from && to) << (from ? "" : from.error()) << (to ? "" : to.error());
    if (!from || !to) return;
    auto copied = data::copy_shop(**from, **to, {});
    EXPECT_TRUE(copied) << copied.error();
  }
  ~DemoOnBothBackends() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  std::filesystem::path shop() const { return dir_ / "shop.db"; }
  db::ConnectOptions sqlite_options(std::string company = "01") const {
    db::ConnectOptions o;
    o.database = shop().string();
    o.company = std::move(company);
    return o;
  }
  bool has_server() const { return server_ != nullptr; }
  const std::string& server_name() const { return server_->name(); }
  db::ConnectOptions server_options(std::string company = "01") const { return server_->options(std::move(company)); }
  db::ConnectOptions options(const std::string& backend, std::string company = "01") const {
    return backend == "postgresql" ? server_options(std::move(company)) : sqlite_options(std::move(company));
  }

 private:
  std::filesystem::path dir_;
  std::unique_ptr<ServerDatabase> server_;
};

}  // namespace kq::testing
