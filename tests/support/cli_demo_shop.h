#pragma once
// A demo shop built once per test suite through the command line, as a user
// would build it, in a temporary folder removed afterwards.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/run_process.h"

namespace kq::testing {

class CliDemoShop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::filesystem::temp_directory_path() /
           ("kq_cli_" + std::string(::testing::UnitTest::GetInstance()->current_test_suite()->name()) + "_" +
            std::to_string(getpid()));
    std::filesystem::remove_all(dir_);
    db_ = (dir_ / "shop.db").string();
    auto r = run_kq("db demo --today 2026/12/08 --db " + db_);
    ASSERT_EQ(r.status, 0) << r.err;
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(dir_); }
  // " --db <demo> --company 01"
  static std::string at() { return " --db " + db_ + " --company 01"; }

  static inline std::filesystem::path dir_;
  static inline std::string db_;
};

}  // namespace kq::testing
