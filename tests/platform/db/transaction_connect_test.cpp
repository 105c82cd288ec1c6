// Connecting: the shop file (holding the club tables) in write-ahead-log
// mode, nothing created, clear errors for missing and foreign files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/db/sqlite_backend.h"
#include "txn_test_support.h"

namespace kq::db {
namespace {

using testing::DbFiles;

TEST(TransactionConnect, OpensTheShopFileInWalModeWithTheCompany) {
  DbFiles files;
  Transaction sqlca;
  ASSERT_TRUE(sqlca.connect(files.options("07")).ok()) << sqlca.sqlerrtext;
  Str gsh;
  Long n;
  EXPECT_EQ(sqlca.exec("select dbo.f_retu_gsh() into :gsh", {{"gsh", out(gsh)}}), 0) << sqlca.sqlerrtext;
  EXPECT_EQ(gsh, "07");
  sqlca.set_company("08");
  EXPECT_EQ(sqlca.exec("select dbo.f_retu_gsh() into :gsh", {{"gsh", out(gsh)}}), 0);
  EXPECT_EQ(gsh, "08");
  EXPECT_EQ(sqlca.exec("select count(*) into :n from kq_club..club08", {{"n", out(n)}}), 0) << sqlca.sqlerrtext;
  EXPECT_EQ(n, 0);
  EXPECT_EQ(testing::query_file(files.shop(), "PRAGMA journal_mode"), "wal");
  EXPECT_FALSE(std::filesystem::exists(files.dir() / "kq_club.db")) << "no club file is made";
}

TEST(TransactionConnect, MissingFilesAreErrorsAndAreNotCreated) {
  DbFiles files;
  auto opts = files.options();
  opts.database = (files.dir() / "nope.db").string();
  Transaction sqlca;
  auto r = sqlca.connect(opts);
  ASSERT_FALSE(r.ok());
  EXPECT_NE(r.error().find("nope.db' does not exist"), std::string::npos) << r.error();
  EXPECT_EQ(sqlca.sqlcode, -1);
  EXPECT_EQ(sqlca.sqlerrtext, r.error());
  EXPECT_FALSE(std::filesystem::exists(opts.database));
  EXPECT_EQ(sqlca.exec("delete from svcb20c"), -1) << "no connection: an error, not a crash";
}

TEST(TransactionConnect, ForeignFilesAreRejected) {
  DbFiles files;
  const std::string text = (files.dir() / "notes.db").string(), empty = (files.dir() / "empty.db").string();
  std::ofstream(text) << "a text file, long enough to hold the header of a database\n";
  std::ofstream{empty};
  for (const auto& path : {text, empty, files.dir().string()}) {
    auto opts = files.options();
    opts.database = path;
    Transaction sqlca;
    EXPECT_FALSE(sqlca.connect(opts).ok()) << path;
  }
  auto opts = files.options();
  opts.database = text;
  Transaction sqlca;
  auto r = sqlca.connect(opts);
  ASSERT_FALSE(r.ok());
  EXPECT_NE(r.error().find("notes.db' is not an SQLite database"), std::string::npos) << r.error();
}

TEST(TransactionConnect, AdoptsAConnectionOpenedElsewhere) {
  DbFiles files;
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(files.shop().c_str(), &db), SQLITE_OK);
  auto conn = adopt_sqlite_connection(db, files.options("05"));
  ASSERT_TRUE(conn.ok()) << conn.error();
  Transaction sqlca;
  ASSERT_TRUE(sqlca.connect(std::move(conn.value())).ok());
  EXPECT_EQ(sqlca.exec("insert into kq_club..club08 (nkid, cdyywdh, cywfl) values (1, :w, 'SVC')", {{"w", "W1"}}), 0);
  EXPECT_EQ(sqlca.commit(), 0);
  Str gsh;
  EXPECT_EQ(sqlca.exec("select dbo.f_retu_gsh() into :g", {{"g", out(gsh)}}), 0);
  EXPECT_EQ(gsh, "05");
  EXPECT_EQ(testing::query_file(files.shop(), "select cdyywdh from kq_club_club08"), "W1");
}

// Opening one more connection must not drop the locks the process's other
// connections hold: another program (the sqlite3 shell, a backup, a second
// server) that then opened and closed the file would take it for unused and
// remove the log's index, and from then on saw none of this process's commits.
TEST(TransactionConnect, ANewConnectionKeepsTheOthersLocksForOtherPrograms) {
  DbFiles files;
  Transaction writer, another;
  ASSERT_TRUE(writer.connect(files.options()).ok()) << writer.sqlerrtext;
  Long n;
  ASSERT_EQ(writer.exec("select count(*) into :n from svcb20c", {{"n", out(n)}}), 0) << writer.sqlerrtext;
  ASSERT_TRUE(another.connect(files.options()).ok()) << another.sqlerrtext;
  auto shell = [&](const std::string& sql) {
    std::string out;
    FILE* p = ::popen(("sqlite3 '" + files.shop() + "' \"" + sql + "\" 2>&1").c_str(), "r");
    if (!p) return std::string("<no sqlite3 shell>");
    char buf[256];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    ::pclose(p);
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
  };
  EXPECT_EQ(shell("select count(*) from kq_club_club08"), "0");
  EXPECT_TRUE(std::filesystem::exists(files.shop() + "-shm")) << "another program removed the log's index";
  EXPECT_EQ(writer.exec("insert into kq_club..club08 (nkid, cdyywdh, cywfl) values (1, 'W2', 'SVC')"), 0);
  EXPECT_EQ(writer.commit(), 0) << writer.sqlerrtext;
  EXPECT_EQ(shell("select cdyywdh from kq_club_club08"), "W2") << "another program sees the commit";
}

}  // namespace
}  // namespace kq::db
