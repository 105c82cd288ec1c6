// SQLite translations run on the fixture schema give what a Transact-SQL
// server gives for the original statements.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "fixture_db.h"
#include "support/module_statements.h"
#include "platform/db/dialect/dialect.h"

namespace kq::db {
namespace {

using testing::FixtureDb;
using testing::HostValue;
using testing::Row;
using Rows = std::vector<Row>;
using Values = std::map<std::string, HostValue>;

class DialectExecution : public ::testing::Test {
 protected:
  // The module statement that kq::testing::module_sql() finds for `key`.
  Translation translate(std::string_view key) {
    auto t = make_sqlite_dialect()->translate(kq::testing::module_sql(key), db_.catalog());
    EXPECT_TRUE(t.ok()) << key << ": " << (t.ok() ? "" : t.error());
    return t.ok() ? *t : Translation{};
  }
  Rows run(std::string_view name, const Values& values, int* changes = nullptr) {
    return db_.run(translate(name), values, changes);
  }
  static std::vector<std::string> first_column(const Rows& rows) {
    std::vector<std::string> out;
    for (const Row& r : rows) out.push_back(r.at(0));
    std::sort(out.begin(), out.end());  // the work-order view gives no order
    return out;
  }

  // Settled work orders of company 01 (the header and the customer data that
  // the work-order view joins).
  void settled_work_orders() {
    db_.exec(
        "insert into svcb20c (cwtsbh, cgsh, id, cwxzt, djsrq, npljsxh, npzid, lcwskwb, nljsk, nhjje,"
        " nhykbcxfje, nysgsf, nyhhgsf, nssgsf, nysclf, nyhhclf, nssclf, ngsyhl, dfprq, cfph) values"
        " ('W1', '01', 8, '1', '2026-12-07 23:59:59', 0, 0, 0, 0, 100.1, 0, 100.05, 100.05, 113.06, 200, 180, 180, 5,"
        "  '2026-12-07 00:00:00', 'FP1'),"
        " ('W2', '01', 9, '2', '2026-12-08 08:00:00', 0, 0, 0, 0, 50, 0, 0, 0, 0, 0, 0, 0, 0, '2026-12-08 00:00:00', "
        "'FP2'),"
        " ('W3', '01', 9, '1', '2026-12-09 00:00:00', 0, 0, 0, 0, 70, 0, 0, 0, 0, 0, 0, 0, 0, NULL, ''),"
        " ('W4', '01', 9, '1', '1900-01-01 00:00:00', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, NULL, ''),"
        " ('W5', '01', 9, '1', '2026-12-08 09:00:00', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, NULL, '')");
    db_.exec(
        "insert into fx_customer (cwtsbh, cgsh, ckhmc, dsxrq, lqqbs) values"
        " ('W1', '01', '张三', '2026-12-01 08:00:00', 0), ('W2', '01', '李四', '2026-12-02 08:00:00', 0),"
        " ('W3', '01', '王五', '2026-12-03 08:00:00', 0), ('W4', '01', '赵六', '2026-12-04 08:00:00', 0),"
        " ('W5', '01', '钱七', '2026-12-05 08:00:00', 0)");
  }

  FixtureDb db_;
};

TEST_F(DialectExecution, SelectTopIntoReturnsTheFirstMatchingRow) {
  db_.exec(
      "insert into crmc04 (id, cdph, cpzh, ltybs, cgsh) values (7, 'LDC1', '京A1', 1, '01'), (8, 'LDC1', '京A2', 0, "
      "'01'),"
      " (9, 'LDC1', '京A3', 0, '01'), (10, 'LDC1', '京A4', 0, '02')");
  EXPECT_EQ(run("from crmc04 where cdph = :dph", {{"dph", std::string("LDC1")}}), (Rows{{"8"}}));
  EXPECT_EQ(run("from crmc04 where cpzh = :pzh", {{"pzh", std::string("京A3")}}), (Rows{{"9"}}));
  EXPECT_EQ(run("from crmc04 where cpzh = :pzh", {{"pzh", std::string("京A1")}}), Rows{});  // stopped vehicle
  db_.set_company("02");
  EXPECT_EQ(run("from crmc04 where cdph = :dph", {{"dph", std::string("LDC1")}}), (Rows{{"10"}}));
}

TEST_F(DialectExecution, UpdateFromReversesOnlyTheSettledVehicle) {
  db_.exec(
      "insert into svcb20c (cwtsbh, cgsh, id, ngs, nhjje) values ('A-1', '01', 8, 2.5, 100.1), ('A-2', '01', 9, 1, "
      "50)");
  db_.exec(
      "insert into crmc04 (id, ltybs, nwxcslj, nbycs, ngs, nljje, cgsh) values (8, 0, 5, 3, 10.25, 1000.2, '01'),"
      " (9, 1, 2, 1, 4, 300, '01')");
  int changes = -1;
  run("w_svc305_01.statistics_service", {{"is_wtsbh", std::string("A-1")}, {"gs_gsh", std::string("01")}}, &changes);
  EXPECT_EQ(changes, 1);
  const std::string read = "select id, nwxcslj, nbycs, ngs, nljje from crmc04 order by id";
  EXPECT_EQ(db_.query(read), (Rows{{"8", "4", "2", "7.75", "900.1"}, {"9", "2", "1", "4.0", "300.0"}}));
  // Vehicle 9 is stopped (ltybs 1): nothing changes.
  run("w_svc305_01.statistics_service", {{"is_wtsbh", std::string("A-2")}, {"gs_gsh", std::string("01")}}, &changes);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(db_.query(read)[1], (Row{"9", "2", "1", "4.0", "300.0"}));
}

TEST_F(DialectExecution, ConvertComparesStoredDatesWithTypedDates) {
  settled_work_orders();
  Values day{{"jsrq", std::string("2026/12/08")}, {"qsrq", std::string("2026/12/08")}};
  EXPECT_EQ(first_column(run("d_svc305_01", day)), (std::vector<std::string>{"W2"}));
  Values two_days{{"jsrq", std::string("2026/12/08")}, {"qsrq", std::string("2026/12/07")}};
  EXPECT_EQ(first_column(run("d_svc305_01", two_days)), (std::vector<std::string>{"W1", "W2"}));
  // The form of one settlement takes the day and status 1 only.
  EXPECT_EQ(first_column(run("d_svc305_01_01", {{"jsrq", std::string("2026/12/07")}})),
            (std::vector<std::string>{"W1"}));
  // The print list leaves out the settlement date 1900/01/01 (column 1 is cwtsbh).
  Rows printed = run("d_svc309_01", {});
  std::vector<std::string> numbers;
  for (const Row& r : printed) numbers.push_back(r.at(1));
  std::sort(numbers.begin(), numbers.end());
  EXPECT_EQ(numbers, (std::vector<std::string>{"W1", "W2", "W3", "W5"}));

  // A date passed as text "yyyy/mm/dd" goes through convert() unchanged.
  db_.exec("insert into vipb01 (nclid, lsdbs, ltybs, dyxrq, cgsh) values (8, 0, 0, '2026-12-08 00:00:00', '01')");
  EXPECT_EQ(
      run("from svcb20c a , vipb01 b", {{"is_wtsbh", std::string("W1")}, {"ls_xtrq", std::string("2026/12/08")}}),
      (Rows{{"1"}}));
  EXPECT_EQ(
      run("from svcb20c a , vipb01 b", {{"is_wtsbh", std::string("W1")}, {"ls_xtrq", std::string("2026/12/09")}}),
      (Rows{{"0"}}));
}

TEST_F(DialectExecution, CancellationResetStoresAbsentDatesAndRoundedAmounts) {
  settled_work_orders();
  int changes = -1;
  run("update svcb20c set cwxzt = :is_wxzt",
      {{"is_wxzt", std::string("0")},
       {"ls_xchs", std::string("0")},
       {"ldc_gssl", 13.0},
       {"ls_xjhs", std::string("1")},
       {"ldc_clsl", 17.0},
       {"ls_skxf", std::string("0")},
       {"is_wtsbh", std::string("W1")},
       {"gs_gsh", std::string("01")},
       {"is_ywxzt", std::string("1")}},
      &changes);
  EXPECT_EQ(changes, 1);
  run("update svcb20c set cfph = ''", {{"is_wtsbh", std::string("W1")}, {"gs_gsh", std::string("01")}}, &changes);
  EXPECT_EQ(changes, 1);
  // The charges come from the undiscounted amounts: nssgsf = 100.05 * 1.13 =
  // 113.0565 kept at two places; materials are tax-inclusive: nysclf as it is.
  EXPECT_EQ(db_.query("select cwxzt, djsrq, dfprq, cfph, nyhhgsf, nssgsf, nyhhclf, nssclf, ngsyhl, nhjje from svcb20c "
                      "where cwtsbh = 'W1'"),
            (Rows{{"0", "1900-01-01 00:00:00", "1900-01-01 00:00:00", "", "100.05", "113.06", "200.0", "200.0", "0.0",
                   "0.0"}}));
  // The reset work order leaves the print list, as on the server.
  Rows printed = run("d_svc309_01", {});
  for (const Row& r : printed) EXPECT_NE(r.at(1), "W1");
  EXPECT_EQ(printed.size(), 3u);
}

TEST_F(DialectExecution, ArchiveRowIsFoundAgainByItsTime) {
  int changes = -1;
  Values archive{{"is_wtsbh", std::string("W1")},
                 {"ldt_sxrq", std::string("2026/12/01")},
                 {"ldt_jsrq", std::string("1900/01/01")},
                 {"ls_khmc", std::string("张三")},
                 {"ls_cxmc", std::string("轿车")},
                 {"ls_pzh", std::string("京A12345")},
                 {"ls_dph", std::string("LDC1")},
                 {"is_ywxzt", std::string("1")},
                 {"ldc_hjje", 1234.567},
                 {"ldc_zsje", 0.0},
                 {"ldt_now", std::string("2026/12/08 10:11:12")},
                 {"ls_fwgwxm", std::string("")},
                 {"gs_yhdm", std::string("001")},
                 {"ls_czyxm", std::string("管理员")},
                 {"ls_yysm", std::string("录入错误")},
                 {"gs_gsh", std::string("01")}};
  run("insert into svcb61", archive, &changes);
  EXPECT_EQ(changes, 1);
  // The blob goes to the row just inserted, found by the id the insert gave.
  const Rows id = run("select scope_identity", {});
  ASSERT_EQ(id.size(), 1u);
  EXPECT_EQ(id, db_.query("select max(id) from svcb61"));
  run("updateblob svcb61",
      {{"lb_jsd", std::string("slip")}, {"ll_id", std::stoll(id[0][0])}, {"gs_gsh", std::string("01")}}, &changes);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(db_.query("select ddate, dsxrq, djsrq, nhjje, cjszt, cbz, cblob from svcb61"),
            (Rows{{"2026-12-08 10:11:12", "2026-12-01 00:00:00", "1900-01-01 00:00:00", "1234.57", "1", "录入错误",
                   "slip"}}));
}

TEST_F(DialectExecution, ClubStatementsChangeTheAttachedDatabase) {
  db_.exec("insert into club01c (id, ckh, cgsh, ndhjf, ndjjf, nljjf, nknye) values (1, 'K1', '01', 100, 50, 100, 0)");
  db_.exec(
      "insert into kq_club_club01c (id, ckh, cgsh, ndhjf, ndjjf, nljjf, nknye) values (1, 'K1', '01', 100, 50, 100, "
      "0)");
  db_.exec(
      "insert into kq_club_club08 (nkid, cdyywdh, cywfl, cgsh) values (1, 'W1', 'SVC', '01'), (1, 'W2', 'SVC', '01')");
  int changes = -1;
  run("update kq_club..club01c set ndhjf = ndhjf - :ldc_dh , ndjjf = ndjjf - :ldc_dj , nljjf = nljjf - :ldc_lj where id = :ll_kid",
      {{"ldc_dh", 10.5}, {"ldc_dj", 0.004}, {"ldc_lj", 10.25}, {"ll_kid", 1LL}, {"gs_gsh", std::string("01")}},
      &changes);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(db_.query("select ndhjf, ndjjf, nljjf from kq_club_club01c"), (Rows{{"89.5", "50.0", "89.75"}}));
  EXPECT_EQ(db_.query("select ndhjf from main.club01c"), (Rows{{"100.0"}}));
  run("delete kq_club..club08", {{"is_wtsbh", std::string("W1")}}, &changes);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(db_.query("select cdyywdh from kq_club_club08"), (Rows{{"W2"}}));
}

TEST_F(DialectExecution, TerminalJobIsWrittenOnceAndDeletedAlone) {
  Values job{{"ldt_now", std::string("2026/12/08 09:30:00")},
             {"ls_wtslsh", std::string("A0000001")},
             {"ls_wtsbh", std::string("A-0000000001")},
             {"ls_pzh", std::string("京A12345")},
             {"ls_xmh", std::string("0101")},
             {"ls_gskzqdm", std::string("")},
             {"ldc_gs", 15.333333},
             {"ls_gwdm", std::string("")},
             {"gs_gsh", std::string("01")}};
  int changes = -1;
  run("w_svc304_01.insert_terminal_job", job, &changes);
  EXPECT_EQ(changes, 1);
  job["ldc_gs"] = 3.0;
  run("w_svc304_01.resend_terminal_job", job, &changes);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(run("w_svc304_01.count_terminal_job", job), (Rows{{"1"}}));
  EXPECT_EQ(db_.query("select dxcrq, dpgsj, ckh, nscsj, lfxbs, lzt from wtcb01c"),
            (Rows{{"2026-12-08 09:30:00", "2026-12-08 09:30:00", "11111111", "3.0", "1", "1"}}));

  db_.exec(
      "insert into wtcb01c (cwtsbh, cwxxmdm, cgsh) values ('A-0000000001', '0102', '01'),"
      " ('A-0000000001', '0101', '02')");
  run("w_svc304.delete_terminal_job",
      {{"is_wtsbh", std::string("A-0000000001")}, {"is_xmdm", std::string("0101")}, {"gs_gsh", std::string("01")}},
      &changes);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(db_.query("select cwxxmdm, cgsh from wtcb01c order by cwxxmdm, cgsh"),
            (Rows{{"0101", "02"}, {"0102", "01"}}));
}

TEST_F(DialectExecution, MaterialsOfTheSlipNetIssuesAndAppendExtraLines) {
  db_.exec("insert into svcb20c (cwtsbh, cgsh, nysclf, nclyhl, nyhhclf) values ('W1', '01', 300, 0, 300)");
  db_.exec(
      "insert into v_spab02c_spab02d (cdydbh, cbjdm, cbjbm, nrcdj, nrcsl, nrcje, ccklb, nclyhl, cph, cgsh) values"
      " ('W1', 'P1', '', 10, 2, 20, '0', 0, 'B1', '01'), ('W1', 'P1', '', 10, -2, -20, '0', 0, 'B1', '01'),"
      " ('W1', 'P2', '', 5, 3, 15, '0', 0, '', '01')");
  db_.exec(
      "insert into spac01 (cbjdm, cbjmc, cjldw, cgsh) values ('P2', '机油', 'L', '01'), ('P3', '滤芯', '个', '01'),"
      " ('P3', '滤芯旧', '只', '01')");
  db_.exec("insert into svcb25 (cwtsbh, cbjdm, cbjbm, nckdj, ncksl, cgsh) values ('W1', 'P3', '', 8, 1, '01')");
  Rows rows = run("d_svc305_jsd1_02", {{"bh", std::string("W1")}});
  ASSERT_EQ(rows.size(), 2u);
  // The issued and returned part P1 nets to 0 and is dropped; P2 takes the master name.
  EXPECT_EQ((Row{rows[0][1], rows[0][3], rows[0][4], rows[0][5], rows[0][6], rows[0][7]}),
            (Row{"P2", "3.0", "15.0", "机油", "0", "L"}));
  // The extra line comes last, with nature "*" and the first master row's unit and name.
  EXPECT_EQ((Row{rows[1][1], rows[1][4], rows[1][6], rows[1][7], rows[1][9]}), (Row{"P3", "8.0", "*", "个", "滤芯"}));
}

}  // namespace
}  // namespace kq::db
