#pragma once
// A fresh, empty shop database (with the club tables) in a temporary folder,
// with a connected session of company "01" current on this thread.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "data/schema/database_files.h"
#include "framework/session.h"
#include "platform/ui/scripted_ui.h"

namespace kq::testing {

class TestShop {
 public:
  explicit TestShop(std::string company = "01") {
    static int counter = 0;
    dir_ = std::filesystem::temp_directory_path() /
           ("kq_shop_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "shop.db").string();
    schema::OpenOptions create;
    create.create = true;
    auto files = schema::open_database_files(path_, create);
    if (!files) ADD_FAILURE() << files.error();
    session = open_session(company);
    scope_ = std::make_unique<fw::SessionScope>(*session);
  }
  ~TestShop() {
    scope_.reset();
    session.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  // Another session on the same files (a second workstation).
  std::unique_ptr<fw::Session> open_session(const std::string& company) {
    auto s = std::make_unique<fw::Session>();
    s->g.gs_gsh = company;
    s->g.gs_yhdm = "001";
    s->g.gs_yhxm = "测试员";
    s->g.gd_xtrq = *DateTime::parse("2026/12/08");
    s->g.gd_qsrq = *DateTime::parse("2026/12/01");
    s->ui = &ui;
    db::ConnectOptions options;
    options.database = path_;
    auto r = s->connect(options);
    if (!r) ADD_FAILURE() << r.error();
    return s;
  }

  // Runs a statement on sqlca and commits; fails the test on an error.
  void sql(const std::string& text) {
    auto& t = session->sqlca;
    t.exec(text);
    EXPECT_EQ(t.sqlcode, 0) << text << ": " << t.sqlerrtext;
    t.commit();
  }

  const std::string& path() const { return path_; }

  ui::ScriptedUi ui;
  std::unique_ptr<fw::Session> session;

 private:
  std::filesystem::path dir_;
  std::string path_;
  std::unique_ptr<fw::SessionScope> scope_;
};

}  // namespace kq::testing
