#pragma once
// The demo shop: two companies with master data, operators, and work orders
// that show every case the module handles (docs/demo.md describes them).
// The content depends only on the options: the same business date and scale
// give the same rows, apart from the salts of the password hashes.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/db/backend.h"
#include "platform/result.h"
#include "platform/value/datetime.h"


namespace kq::demo {

struct DemoOptions {
  // The business date of the demo; the settlements "of today" fall on it.
  // Default: the local date of today.
  std::optional<DateTime> today;
  // Generated work orders added for benchmarks (with items, issues, receipts).
  int64_t scale = 0;
  // The generated settlements fall on the last `days` days (the business date
  // and the days before it), 1 to 365; those older than 60 days go to the
  // history tables. 30 puts every one of them in a month's list.
  int days = 365;
  // Called now and then while generating, with the work orders done and the total.
  std::function<void(int64_t done, int64_t total)> progress;
  // Deletes every row of every table of the shop and the club database first,
  // in the same transaction as the demo (db demo --replace on a server).
  bool clear_first = false;
  // Hashes a demo password for kq_operator. Default: fw::hash_password. A
  // test that does not sign in may pass something cheaper.
  std::function<std::string(std::string_view)> hash_password;
};

// Parses the command line's "yyyy/mm/dd"; nullopt for any other text or an
// impossible date.
std::optional<DateTime> parse_business_date(std::string_view text);

// Fills a connection of any backend whose shop and club schema are freshly
// created and hold no rows with the demo, in one transaction, through
// prepared statements with bound values; on failure nothing is left behind.
Result<void> fill_demo(db::Connection& connection, const DemoOptions& options);

// Builds the demo shop at `shop_path` (the club tables inside it). An existing
// shop (or an old club file kq_club.db beside it) is refused unless `replace`;
// even then a file that is not a kq_svc_309 database, or one that another
// program has locked, is left alone. The shop is built in a scratch folder
// beside it and moved into place when complete, so a failure leaves any old
// shop untouched.
Result<void> build_demo_files(const std::filesystem::path& shop_path, const DemoOptions& options, bool replace);

}  // namespace kq::demo
