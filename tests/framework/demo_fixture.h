#pragma once
// The demo shop for window tests: built once per test program with the
// business date 2026/12/08 and copied for each test. A DemoShop has a
// signed-in session of company 01 current on the thread (operator 001 with
// the authorities given), a ScriptedUi, and a window manager whose registry
// holds the module's windows. On the backend "postgresql" the session works
// on a copy of the demo on the test cluster (the files are there too, for
// the card reader's state).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/demo/demo_shop.h"
#include "module.h"
#include "framework/module_menu.h"
#include "framework/session.h"
#include "platform/ui/scripted_ui.h"
#include "platform/ui/window_manager.h"
#include "support/database_dump.h"
#include "support/server_demo_shop.h"

namespace kq::testing {

inline constexpr const char* kDemoToday = "2026/12/08";

class DemoShop {
 public:
  explicit DemoShop(std::vector<std::string> authorities = {"CJ", "CP", "CQ"}, std::string backend = "sqlite")
      : DemoShop(fresh_copy(), std::move(authorities), std::move(backend)) {
    owns_folder_ = true;
  }
  // A desk on the shop in `folder` (a copy of demo_folder() made by the
  // caller), which stays when the desk goes.
  DemoShop(std::filesystem::path folder, std::vector<std::string> authorities, std::string backend = "sqlite")
      : backend_(std::move(backend)), dir_(std::move(folder)) {
    module::install();
    if (backend_ == "postgresql") server_ = std::make_unique<ServerDatabase>(server_master());
    session = open_session();
    session->ui = &ui;
    session->g.authorities = std::move(authorities);
    scope_ = std::make_unique<fw::SessionScope>(*session);
    module::install_windows(registry);
    windows = std::make_unique<ui::WindowManager>(registry);
  }
  ~DemoShop() {
    windows.reset();
    scope_.reset();
    observer_.reset();
    session.reset();
    std::error_code ec;
    if (owns_folder_) std::filesystem::remove_all(dir_, ec);
  }

  // The folder of the demo shop that every desk starts from (built once).
  static const std::filesystem::path& demo_folder() { return master(); }

  // Another session on the same files (a second workstation), not current.
  std::unique_ptr<fw::Session> open_session() {
    auto s = std::make_unique<fw::Session>();
    s->g.gs_gsh = "01";
    s->g.gs_yhdm = "001";
    s->g.gs_yhxm = "王建国";
    s->g.gd_xtrq = *DateTime::parse(kDemoToday);
    s->g.gd_qsrq = s->g.gd_xtrq.add_days(-30);
    db::ConnectOptions options;
    options.database = (dir_ / "shop.db").string();
    if (server_) options = server_->options();
    auto r = s->connect(options);
    if (!r) ADD_FAILURE() << r.error();
    return s;
  }

  // The text a query ("select ... into :v ...") gives on a connection of its
  // own, which sees committed data only; "<none>" when no row, "<null>" for null.
  std::string committed(const std::string& sql) {
    if (!observer_) observer_ = open_session();
    Str v;
    observer_->sqlca.exec(sql, {{"v", db::out(v)}});
    EXPECT_NE(observer_->sqlca.sqlcode, -1) << sql << ": " << observer_->sqlca.sqlerrtext;
    if (observer_->sqlca.sqlcode == 100) return "<none>";
    return v.value_or("<null>");
  }

  // The folder of the shop's file (shop.db; the application folder gs_startfile).
  const std::filesystem::path& dir() const { return dir_; }
  std::filesystem::path db_path() const { return dir_ / "shop.db"; }
  // Every row of the shop and club database of this shop's backend, as text.
  std::string dump() const { return server_ ? dump_server_database(server_->conninfo()) : dump_database(db_path()); }

  ui::ScriptedUi ui;
  std::unique_ptr<fw::Session> session;
  ui::WindowRegistry registry;
  std::unique_ptr<ui::WindowManager> windows;

 private:
  // The demo shop, built once for the program and removed at its end.
  static const std::filesystem::path& master() {
    struct Master {
      std::filesystem::path dir;
      Master() {
        dir = std::filesystem::temp_directory_path() / ("kq_win_demo_" + std::to_string(getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        demo::DemoOptions options;
        options.today = demo::parse_business_date(kDemoToday);
        options.hash_password = [](std::string_view p) { return "plain:" + std::string(p); };
        auto built = demo::build_demo_files(dir / "shop.db", options, true);
        if (!built) ADD_FAILURE() << built.error();
      }
      ~Master() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
      }
    };
    static Master m;
    return m.dir;
  }

  static std::filesystem::path fresh_copy() {
    static int counter = 0;
    auto dir = std::filesystem::temp_directory_path() /
               ("kq_win_shop_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(dir);
    std::filesystem::copy(master(), dir, std::filesystem::copy_options::recursive);
    return dir;
  }

  // The demo on the test cluster, copied for each shop on the server.
  static std::string server_master() {
    static DemoOnBothBackends demo(kDemoToday);
    EXPECT_TRUE(demo.has_server()) << "no test cluster";
    return demo.has_server() ? demo.server_name() : "template0";
  }

  std::string backend_;
  std::filesystem::path dir_;
  bool owns_folder_ = false;
  std::unique_ptr<ServerDatabase> server_;
  std::unique_ptr<fw::SessionScope> scope_;
  std::unique_ptr<fw::Session> observer_;
};

}  // namespace kq::testing
