// A cashier's process killed (SIGKILL) at a random moment of a card
// cancellation: the shop and the club tables are afterwards either entirely
// as before or entirely as after the cancellation, never a mix.
//
// Each round copies the demo shop, forks a process that opens the list and
// the cancellation window of the card settlement as a cashier does and saves,
// and kills it after a random delay within the time a save takes. The state
// is read back by a connection of the test (recovering the log as any next
// program would) and compared with the two whole states a save may leave.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "settlement/cancellation_desk.h"

namespace kq::svc {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;
using testing::CancellationDesk;
using kq::testing::DemoShop;

const std::string kCardSettlement = "1010000000006";
constexpr int kCrashes = 60;

// Every table's rows in rowid order, as text. Left out: the operation log
// (and its counter in sqlite_sequence), written after the commit by design,
// and the columns holding the wall clock
// (archive time, finance call time) and the archived slip.
std::string state_of(const fs::path& shop) {
  sqlite3* db = nullptr;
  std::string out;
  if (sqlite3_open_v2(shop.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return "<cannot open>";
  }
  auto each = [&](const std::string& sql, auto&& row) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      out += "<" + sql + ": " + sqlite3_errmsg(db) + ">";
      return;
    }
    while (sqlite3_step(st) == SQLITE_ROW) row(st);
    sqlite3_finalize(st);
  };
  std::vector<std::string> tables;
  each("select name from sqlite_schema where type = 'table' and name <> 'kq_operation_log' order by name",
       [&](sqlite3_stmt* st) { tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))); });
  for (const std::string& t : tables) {
    std::string columns;
    each("select name from pragma_table_info('" + t + "') where name not in ('ddate', 'drq', 'cblob')",
         [&](sqlite3_stmt* st) {
           columns += (columns.empty() ? "" : ", ") + std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
         });
    out += "== " + t + "\n";
    const std::string rows = t == "sqlite_sequence" ? " where name <> 'kq_operation_log'" : "";
    each("select " + columns + " from \"" + t + "\"" + rows + " order by rowid", [&](sqlite3_stmt* st) {
      for (int c = 0; c < sqlite3_column_count(st); ++c) {
        const unsigned char* v = sqlite3_column_text(st, c);
        out += (c ? "|" : "") + std::string(v ? reinterpret_cast<const char*>(v) : "NULL");
      }
      out += '\n';
    });
  }
  sqlite3_close(db);
  return out;
}

// The tables whose rows are as before, as after, or neither, for the message.
std::string tables_apart(const std::string& state, const std::string& before, const std::string& after) {
  // The rows of table `name` in `all`, header included.
  auto block = [](const std::string& all, const std::string& name) {
    size_t at = all.find("== " + name + "\n");
    if (at == std::string::npos) return std::string("<no table>");
    size_t end = all.find("\n== ", at);
    return all.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at);
  };
  std::string as_before, as_after, neither;
  for (size_t at = state.find("== "); at != std::string::npos; at = state.find("\n== ", at + 1)) {
    if (state[at] == '\n') ++at;
    const std::string name = state.substr(at + 3, state.find('\n', at) - at - 3);
    const std::string mine = block(state, name);
    const bool same_before = mine == block(before, name), same_after = mine == block(after, name);
    if (same_before && same_after) continue;
    (same_before ? as_before : same_after ? as_after : neither) += name + " ";
  }
  return "as before: " + as_before + "; as after: " + as_after + "; neither: " + neither;
}

// Forks a cashier who cancels the card settlement on the shop in `folder`;
// it writes 'R' to the pipe just before saving and 'D' once the save is back.
pid_t start_cashier(const fs::path& folder, int pipe_out) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  int status = 1;
  {
    CancellationDesk desk(CancellationDesk::OnCopy(), folder);
    w_svc305_01* w = desk.open(kCardSettlement);
    if (w != nullptr) {
      CancellationDesk::enter(*w, "0", "客户要求重新结算", "8801000001");
      if (write(pipe_out, "R", 1) == 1) {
        const long saved = desk.save(*w);
        status = saved == 1 && write(pipe_out, "D", 1) == 1 ? 0 : 2;
      }
    }
  }
  _exit(status);  // no test framework teardown in the child
}

// Reads one byte from `fd`; 0 at the end of the pipe.
char read_signal(int fd) {
  char c = 0;
  return read(fd, &c, 1) == 1 ? c : 0;
}

struct Round {
  fs::path folder;
  Round(const fs::path& base, int n) : folder(base / ("round" + std::to_string(n))) {
    fs::remove_all(folder);
    fs::copy(DemoShop::demo_folder(), folder, fs::copy_options::recursive);
  }
};

TEST(CancellationCrash, AKilledCashierLeavesShopAndClubEntirelyBeforeOrAfter) {
  const fs::path base = fs::temp_directory_path() / ("kq_crash_" + std::to_string(getpid()));
  fs::remove_all(base);
  fs::create_directories(base);
  const std::string before = state_of(DemoShop::demo_folder() / "shop.db");

  // One save to the end: the state after, and how long a save takes.
  std::string after;
  microseconds save_time{};
  {
    Round r(base, 0);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t pid = start_cashier(r.folder, fds[1]);
    close(fds[1]);
    ASSERT_EQ(read_signal(fds[0]), 'R');
    const auto start = steady_clock::now();
    ASSERT_EQ(read_signal(fds[0]), 'D') << "the uninterrupted save did not succeed";
    save_time = duration_cast<microseconds>(steady_clock::now() - start);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    after = state_of(r.folder / "shop.db");
  }
  ASSERT_NE(before, after) << "the cancellation changed nothing";

  std::mt19937 random(std::random_device{}());
  // Kills spread over the whole save, a little beyond its usual end.
  std::uniform_int_distribution<int64_t> delay_us(0, save_time.count() * 5 / 4);
  int found_before = 0, found_after = 0;
  std::vector<std::string> torn;
  for (int n = 1; n <= kCrashes; ++n) {
    Round r(base, n);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t pid = start_cashier(r.folder, fds[1]);
    close(fds[1]);
    const char ready = read_signal(fds[0]);
    const int64_t wait = delay_us(random);
    if (ready == 'R') std::this_thread::sleep_for(microseconds(wait));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    close(fds[0]);
    ASSERT_EQ(ready, 'R') << "round " << n << ": the cashier did not reach the save";
    const std::string state = state_of(r.folder / "shop.db");
    if (state == before) ++found_before;
    else if (state == after) ++found_after;
    else torn.push_back("round " + std::to_string(n) + " killed " + std::to_string(wait) + " us into the save:\n" +
                        tables_apart(state, before, after));
    fs::remove_all(r.folder);
  }
  fs::remove_all(base);
  EXPECT_TRUE(torn.empty()) << torn.size() << " torn states, first: " << torn.front();
  // The kills must have met the save at different moments, or the test proved nothing.
  EXPECT_GT(found_before, 0) << "no kill came before the commit (save takes " << save_time.count() << " us)";
  EXPECT_GT(found_after, 0) << "no kill came after the commit (save takes " << save_time.count() << " us)";
  std::printf("crashes %d: entirely before %d, entirely after %d, torn %zu; a save takes %lld us\n", kCrashes,
              found_before, found_after, torn.size(), static_cast<long long>(save_time.count()));
}

}  // namespace
}  // namespace kq::svc
