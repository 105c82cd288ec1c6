// Document numbers (f_retu_djxh) asked for by several workstation processes
// at the same moment, on the embedded default and on a database server: no
// number is handed out twice and none is refused, also for the first number
// of a series that does not exist yet.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "data/location/database_location.h"
#include "db_test_util.h"
#include "framework/f_retu_djxh.h"
#include "framework/session.h"
#include "support/server_database.h"

namespace kq::data {
namespace {

constexpr int kProcesses = 8;
constexpr int kNumbersEach = 20;

// Runs kProcesses processes that each ask `each` numbers of one new series
// as fast as they can, all starting together; every number handed out, in
// the order of arrival, "null" for a refusal.
std::vector<std::string> numbers_from_processes(const db::ConnectOptions& options, int each) {
  int ready[2], out[2];
  if (pipe(ready) != 0 || pipe(out) != 0) return {"pipe failed"};
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    pid_t pid = fork();
    if (pid == 0) {
      close(ready[1]);
      close(out[0]);
      fw::Session s;
      s.g.gs_gsh = "01";
      std::string lines;
      if (!s.connect(options)) {
        lines = "cannot connect\n";
      } else {
        fw::SessionScope scope(s);
        char go = 0;
        (void)read(ready[0], &go, 1);  // every process starts at the same moment
        for (int i = 0; i < each; ++i) lines += fw::f_retu_djxh("SVC", "NPARALLEL").value_or("null") + "\n";
      }
      (void)write(out[1], lines.data(), lines.size());
      _exit(0);
    }
    children.push_back(pid);
  }
  close(ready[0]);
  close(out[1]);
  usleep(300000);  // let every process connect
  close(ready[1]);  // the end of file starts them all
  std::string all;
  char buf[4096];
  for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) all.append(buf, static_cast<size_t>(n));
  close(out[0]);
  for (pid_t pid : children) waitpid(pid, nullptr, 0);
  std::vector<std::string> numbers;
  for (size_t start = 0, nl; (nl = all.find('\n', start)) != std::string::npos; start = nl + 1)
    numbers.push_back(all.substr(start, nl - start));
  return numbers;
}

void expect_each_number_once(const std::vector<std::string>& numbers) {
  std::map<std::string, int> seen;
  for (const std::string& n : numbers) ++seen[n];
  std::string twice;
  for (const auto& [n, count] : seen)
    if (count > 1) twice += " " + n + " x" + std::to_string(count);
  EXPECT_EQ(twice, "") << "handed out more than once (\"null\" = refused)";
  EXPECT_EQ(numbers.size(), static_cast<size_t>(kProcesses * kNumbersEach));
  std::set<std::string> expected;
  for (int i = 1; i <= kProcesses * kNumbersEach; ++i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d", i);
    expected.insert(buf);
  }
  EXPECT_EQ(std::set<std::string>(numbers.begin(), numbers.end()), expected);
}

TEST(DocumentCounters, EightProcessesNeverShareANumberOnTheEmbeddedDefault) {
  testing::TempDir dir;
  DatabaseLocation where;
  where.shop_file = dir / "shop.db";
  ASSERT_TRUE(open_location(where, {.create = true, .company = "01"}));
  db::ConnectOptions options;
  options.database = where.shop_file.string();
  expect_each_number_once(numbers_from_processes(options, kNumbersEach));
}

TEST(DocumentCounters, EightProcessesNeverShareANumberOnAServer) {
  KQ_NEED_SERVER();
  testing::ServerDatabase server;
  auto where = server_location(server.conninfo());
  ASSERT_TRUE(where) << where.error();
  {
    auto made = open_location(*where, {.create = true, .company = "01"});
    ASSERT_TRUE(made) << made.error();
  }
  expect_each_number_once(numbers_from_processes(server.options(), kNumbersEach));
}

}  // namespace
}  // namespace kq::data
