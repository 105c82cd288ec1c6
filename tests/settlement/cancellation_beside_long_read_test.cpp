// A long list retrieval on another workstation (a report over every work
// order, its cursor open half-way) does not hold up a cancellation's commit:
// the cancellation commits at once, and the reader still finishes its list.
#include <gtest/gtest.h>

#include "settlement/cancellation_desk.h"
#include "support/server_database.h"

namespace kq::svc {
namespace {

using testing::CancellationDesk;

// Readers never hold a writer back: on a database server by its row
// versions, on the embedded default by its write-ahead log.
class CancellationBesideLongRead : public ::testing::TestWithParam<std::string> {};

TEST_P(CancellationBesideLongRead, CommitsWhileAnotherWorkstationReadsTheWholeHistory) {
  if (GetParam() == "postgresql") KQ_NEED_SERVER();
  CancellationDesk desk({"CJ", "CP", "CQ"}, true, GetParam());
  db::ConnectOptions other = desk.shop.session->connect_options();
  other.busy_timeout_ms = 10000;
  db::Transaction reader;
  ASSERT_TRUE(reader.connect(other));
  auto cursor = reader.open_cursor("select cwtsbh, nhjje, djsrq from v_svc300_01_all order by cwtsbh", {});
  ASSERT_TRUE(cursor) << reader.sqlerrtext;
  int64_t read = 0;
  while (read < 5 && cursor->next()) ++read;
  ASSERT_EQ(read, 5);

  EXPECT_EQ(desk.cancel("1010000000006", "0", "客户要求重新结算", "8801000001"), 1);
  EXPECT_EQ(desk.told(), std::vector<std::string>{"取消结算成功！"});
  EXPECT_EQ(desk.text("select cwxzt into :v from svcb20c where cwtsbh = '1010000000006'"), "0");

  while (cursor->next()) ++read;
  EXPECT_TRUE(cursor->ok()) << cursor->error();
  Long again;
  reader.exec("select count(*) into :n from v_svc300_01_all", {{"n", db::out(again)}});
  EXPECT_EQ(read, again.value_or(-1)) << "the reader finished its whole list";
}

INSTANTIATE_TEST_SUITE_P(Backends, CancellationBesideLongRead, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace kq::svc
