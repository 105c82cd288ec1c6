// The demo shop: the cases later tests rely on, the consistency of its
// figures, and that it is the same for the same options.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iomanip>
#include <set>
#include <thread>

#include "data/demo/demo_shop.h"
#include "data/schema/database_files.h"
#include "platform/db/sqlite_backend.h"
#include "platform/db/sqlite_storage.h"
#include "db_test_util.h"

namespace kq::demo {
namespace {

using testing::number;
using testing::rows;
using testing::text;

const DateTime kToday = *DateTime::from_parts(2024, 6, 12);

DemoOptions fast_options(DateTime today = kToday, int64_t scale = 0) {
  DemoOptions o;
  o.today = today;
  o.scale = scale;
  o.hash_password = [](std::string_view p) { return "test-hash:" + std::string(p); };
  return o;
}

// A new pair of files with the schema, and the backend connection the demo
// is written through, as the command line writes it.
struct DemoPair {
  std::unique_ptr<testing::TempDir> dir = std::make_unique<testing::TempDir>();
  std::unique_ptr<db::Connection> connection;
  testing::Db raw;  // the same files, for the checks' queries
  sqlite3* get() const { return raw.get(); }
};

DemoPair schema_files() {
  DemoPair p;
  schema::OpenOptions create;
  create.create = true;
  auto files = schema::open_database_files(*p.dir / "shop.db", create);
  EXPECT_TRUE(files) << files.error();
  if (!files) return p;
  auto c = db::adopt_sqlite_connection(files->release(), db::ConnectOptions{});
  EXPECT_TRUE(c) << c.error();
  if (c) p.connection = std::move(*c);
  p.raw = testing::open_raw(*p.dir / "shop.db");
  return p;
}

DemoPair demo_pair(const DemoOptions& options) {
  DemoPair p = schema_files();
  if (!p.connection) return p;
  auto ok = fill_demo(*p.connection, options);
  EXPECT_TRUE(ok) << ok.error();
  return p;
}

// Every row of every table, in key order, password hashes left out.
std::string dump(sqlite3* db) {
  std::string out;
  for (const char* schema : {"main"}) {
    for (auto& t : rows(db, std::string("SELECT name FROM ") + schema +
                                ".sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY name")) {
      std::string table = std::string(schema) + "." + t[0];
      std::string cols = t[0] == "kq_operator" ? "cczydm, cczymc, cqx, ltybs, cgsh" : "*";
      const long long n = number(db, "SELECT count(*) FROM pragma_table_info('" + t[0] + "', '" + schema + "')");
      std::string order = "1";
      for (long long i = 2; i <= n && t[0] != "kq_operator"; ++i) order += ", " + std::to_string(i);
      out += "== " + table + "\n";
      for (auto& r : rows(db, "SELECT " + cols + " FROM " + table + " ORDER BY " + order)) {
        for (auto& v : r) out += v + "|";
        out += "\n";
      }
    }
  }
  return out;
}

class Demo : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { db_ = new DemoPair(demo_pair(fast_options())); }
  static void TearDownTestSuite() {
    delete db_;
    db_ = nullptr;
  }
  sqlite3* db() { return db_->get(); }
  long long count(const std::string& sql) { return number(db(), sql); }
  static DemoPair* db_;
};
DemoPair* Demo::db_ = nullptr;

// The cancellation list's conditions, for today's settlements of company 01.
const char* kCancellable =
    "cgsh = '01' AND cwxzt IN ('1', '2') AND npljsxh = 0 AND npzid = 0 AND lcwskwb = 0 AND nljsk = 0 "
    "AND substr(djsrq, 1, 10) = '2024-06-12'";

TEST_F(Demo, HasACancellableCardSettlementOfTodayBookedLocallyAndInTheClub) {
  auto found = rows(db(), std::string("SELECT cwtsbh, chykh, nhykbcxfje, nhykbcjf FROM v_svc300_01 WHERE ") +
                              kCancellable + " AND cwxzt = '1' AND cskxf = '1' AND nhykbcxfje > 0 ORDER BY cwtsbh");
  ASSERT_FALSE(found.empty());
  const std::string wo = found[0][0], card = found[0][1];
  // Points on two cards, identical in the shop and the club database.
  auto local = rows(db(), "SELECT nkid, nbcdhjf, nbcdjjf, nbcljjf FROM main.club08 WHERE cdyywdh = '" + wo +
                              "' AND cywfl = 'SVC' ORDER BY nkid");
  auto club = rows(db(), "SELECT nkid, nbcdhjf, nbcdjjf, nbcljjf FROM kq_club_club08 WHERE cdyywdh = '" + wo +
                             "' AND cywfl = 'SVC' ORDER BY nkid");
  EXPECT_GE(local.size(), 2u);
  EXPECT_EQ(local, club);
  // The settled card has the same id in both databases and can give back its points.
  const std::string kid = text(db(), "SELECT id FROM main.club01c WHERE ckh = '" + card + "' AND cgsh = '01'");
  EXPECT_EQ(text(db(), "SELECT id FROM kq_club_club01c WHERE ckh = '" + card + "' AND cgsh = '01'"), kid);
  EXPECT_EQ(count("SELECT count(*) FROM club08 WHERE nkid = " + kid + " AND cdyywdh = '" + wo + "'"), 1);
  for (const char* s : {"", "kq_club_"}) {
    EXPECT_EQ(count(std::string("SELECT count(*) FROM ") + s + "club07 WHERE cdyywdh = '" + wo + "' AND cywfl = 'SVC'"), 1);
    EXPECT_EQ(count(std::string("SELECT count(*) FROM ") + s + "club01d WHERE cwtsbh = '" + wo + "' AND ckh = '" + card + "'"), 1);
  }
  // The card is valid today and linked to the work order's vehicle.
  EXPECT_EQ(count("SELECT count(*) FROM svcb20c a JOIN club03 b ON a.id = b.ncldaid JOIN club01c c ON b.nkid = c.id "
                  "WHERE a.cwtsbh = '" + wo + "' AND c.ckh = '" + card + "' AND c.lsdbs = 0 AND c.ltybs = 0 AND "
                  "c.lblbs = 1 AND substr(c.dyxrq, 1, 10) >= '2024-06-12' AND substr(c.dhfdqr, 1, 10) >= '2024-06-12'"),
            1);
}

TEST_F(Demo, CardBalancesCoverEveryReversal) {
  // After giving back the points of every settlement, no balance may go below zero.
  for (const char* s : {"", "kq_club_"}) {
    EXPECT_EQ(count(std::string("SELECT count(*) FROM ") + s + "club01c c WHERE c.ndhjf < (SELECT ifnull(sum(nbcdhjf), 0) "
                    "FROM " + s + "club08 p WHERE p.nkid = c.id) OR c.nljjf < (SELECT ifnull(sum(nbcljjf), 0) FROM " + s +
                    "club08 p WHERE p.nkid = c.id)"),
              0);
  }
  EXPECT_EQ(text(db(), "SELECT group_concat(id || ckh || nknye || ndhjf) FROM (SELECT * FROM main.club01c ORDER BY id)"),
            text(db(), "SELECT group_concat(id || ckh || nknye || ndhjf) FROM (SELECT * FROM kq_club_club01c ORDER BY id)"));
}

TEST_F(Demo, AFullyReturnedPartNetsToZeroAndAPartialReturnDoesNot) {
  auto netted = rows(db(), "SELECT cdydbh, cbjdm, sum(nrcsl), sum(nrcje), count(*) FROM v_spab02c_spab02d "
                           "GROUP BY cdydbh, cbjdm, nrcdj, cbjbm, ccklb, nclyhl, cph HAVING count(*) > 1");
  bool zero = false, partial = false;
  for (auto& r : netted) {
    if (std::stod(r[2]) == 0 && std::fabs(std::stod(r[3])) < 0.005) zero = true;
    if (std::stod(r[2]) > 0) partial = true;
  }
  EXPECT_TRUE(zero);
  EXPECT_TRUE(partial);
  EXPECT_GT(count("SELECT count(*) FROM v_spab02c_spab02d WHERE nrcsl < 0 AND nrcje < 0"), 0);
  EXPECT_EQ(count("SELECT count(*) FROM v_spab02c_spab02d WHERE cbjbm = '' AND cbjdm NOT IN (SELECT cbjdm FROM spac01)"), 0);
  EXPECT_GT(count("SELECT count(*) FROM svcb25"), 0);
}

TEST_F(Demo, ReceiptsExistOnceSeveralTimesAndNotAtAll) {
  const std::string settled = "SELECT cwtsbh FROM v_svc300_01 WHERE cwxzt <> '0' AND cgsh = '01'";
  auto receipts = [&](const char* having) {
    return count("SELECT count(*) FROM (" + settled + ") s WHERE (SELECT count(*) FROM sysb13 r WHERE r.cbs = '3' AND "
                 "r.cdydjh = s.cwtsbh) " + having);
  };
  EXPECT_GT(receipts("= 0"), 0);
  EXPECT_GT(receipts("= 1"), 0);
  EXPECT_GT(receipts(">= 2"), 0);
}

TEST_F(Demo, WorkOrdersOfEveryStatusAreCurrentAndInHistory) {
  for (const char* table : {"svcb20c", "svcb20c_h"})
    for (const char* status : {"0", "1", "2"})
      EXPECT_GT(count(std::string("SELECT count(*) FROM ") + table + " WHERE cwxzt = '" + status + "'"), 0)
          << table << " " << status;
  // The settlement date is absent exactly when the work order is not settled.
  EXPECT_EQ(count("SELECT count(*) FROM v_svc300_01_all WHERE (cwxzt = '0') <> (djsrq = '1900-01-01 00:00:00')"), 0);
  EXPECT_GT(count(std::string("SELECT count(*) FROM v_svc300_01 WHERE ") + kCancellable), 3);
  EXPECT_GT(count("SELECT count(*) FROM v_svc300_01 WHERE cwxzt <> '0' AND djsrq < '2024-06-12'"), 0);
  EXPECT_GT(count("SELECT count(*) FROM svcb20c_h WHERE djsrq < '2024-05-01' AND cwxzt <> '0'"), 0);
  for (const char* company : {"01", "02"})
    EXPECT_GT(count(std::string("SELECT count(*) FROM v_svc300_01 WHERE cgsh = '") + company + "' AND cwxzt = '1' AND "
                    "substr(djsrq, 1, 10) = '2024-06-12'"), 0);
}

TEST_F(Demo, SomeSettlementsOfTodayCannotBeCancelledForEachReason) {
  for (const char* reason : {"npljsxh <> 0", "npzid <> 0", "lcwskwb <> 0", "nljsk <> 0"})
    EXPECT_EQ(count(std::string("SELECT count(*) FROM v_svc300_01 WHERE cgsh = '01' AND cwxzt <> '0' AND "
                                "substr(djsrq, 1, 10) = '2024-06-12' AND ") + reason), 1) << reason;
}

TEST_F(Demo, CoversTheCodesOfTheModule) {
  EXPECT_EQ(text(db(), "SELECT group_concat(DISTINCT cbgfs) FROM (SELECT cbgfs FROM v_svc300_01_all ORDER BY cbgfs)"), "0,1,2");
  EXPECT_EQ(text(db(), "SELECT group_concat(DISTINCT cxz) FROM (SELECT cxz FROM v_svcb20d_svcb20d_h ORDER BY cxz)"),
            "0,1,2,3");
  EXPECT_EQ(text(db(), "SELECT group_concat(DISTINCT ccklb) FROM (SELECT ccklb FROM v_spab02c_spab02d ORDER BY ccklb)"),
            "0,1,2,3");
  EXPECT_GT(count("SELECT count(*) FROM svcb20d WHERE lzjxm = 1"), 0);
  EXPECT_GT(count("SELECT count(*) FROM svcb20d WHERE lwcbs = 1"), 0);
  EXPECT_GT(count("SELECT count(*) FROM svcb20d WHERE lwcbs = 0"), 0);
  // Insurance work orders settled and on credit, credit settlements with a guarantor.
  EXPECT_EQ(count("SELECT count(DISTINCT cwxzt) FROM v_svc300_01 WHERE cwtsbh LIKE 'A-%' AND cwxzt <> '0'"), 2);
  EXPECT_EQ(count("SELECT count(*) FROM v_svc300_01_all WHERE cwxzt = '2' AND cdbr = ''"), 0);
  // Work-order categories: the first character; one free; one unknown to svcc90.
  std::set<std::string> categories;
  for (auto& r : rows(db(), "SELECT DISTINCT substr(cwtsbh, 1, 1) FROM v_svc300_01_all")) categories.insert(r[0]);
  for (const char* c : {"0", "1", "2", "A", "F", "S", "V", "Z", "X"}) EXPECT_TRUE(categories.count(c)) << c;
  EXPECT_GT(count("SELECT count(*) FROM svcb20c w JOIN svcc90 k ON k.cwtslb = substr(w.cwtsbh, 1, 1) AND k.cgsh = w.cgsh "
                  "WHERE k.lmfbs = 1 AND w.cwxzt = '1'"), 0);
  EXPECT_GT(count("SELECT count(*) FROM svcb20c w WHERE NOT EXISTS (SELECT 1 FROM svcc90 k WHERE k.cwtslb = "
                  "substr(w.cwtsbh, 1, 1) AND k.cgsh = w.cgsh)"), 0);
  EXPECT_GT(count("SELECT count(*) FROM svcc03 WHERE lsygsdj = 0"), 0);
  EXPECT_GT(count("SELECT count(*) FROM crmc04 WHERE ltybs = 1"), 0);
  EXPECT_GT(count("SELECT count(*) FROM svcb22c WHERE clb = '0'"), 0);
  EXPECT_GT(count("SELECT count(*) FROM acpi03 WHERE csfbs <> '1'"), 0);
  EXPECT_EQ(count("SELECT count(*) FROM sysb12 WHERE cdydjlb = '14'"), 2);
  EXPECT_GT(count("SELECT count(*) FROM v_svc300_01 WHERE chykh IS NULL"), 0);
  EXPECT_GT(count("SELECT count(*) FROM v_svc300_01 WHERE cskxf = '0' AND chykh <> ''"), 0);
}

TEST_F(Demo, EveryParameterIsSetForEveryCompanyInItsSpelling) {
  const char* params[] = {"SYS|CGSMC", "SYS|CDZ", "SYS|CYB", "SYS|CYWDH", "SYS|CDH", "SYS|CKHH", "SYS|CYHZH",
                          "SYS|CZHMC", "SYS|CSH", "SYS|CFWZJ", "SVC|CJSDBZ1", "SVC|CJSDBZ2", "SVC|CJSDBZ3",
                          "SVC|LBXXSJE", "SVC|LXCHS", "SPA|LXJHS", "SVC|LJSYH", "SVC|LJSDXSGS", "SVC|LQTLL",
                          "SVC|LJSDXSSE", "svc|lsygsgl", "svc|lxmzdgw", "sys|LCLUAZ", "sys|LVIPAZ", "sys|ickcom",
                          "sys|czjcdm", "svc|NGFSL", "spa|NBJXJSL", "CLU|LSYZJK", "sys|lcwaz"};
  for (const char* company : {"01", "02"}) {
    for (const char* p : params) {
      std::string key(p);
      auto bar = key.find('|');
      // Exact spelling: compared with the BINARY collation.
      EXPECT_EQ(count("SELECT count(*) FROM sysi90 WHERE cssxt = '" + key.substr(0, bar) + "' COLLATE BINARY AND ccsdm = '" +
                      key.substr(bar + 1) + "' COLLATE BINARY AND cgsh = '" + company + "' AND ccsz <> ''"),
                1)
          << company << " " << p;
    }
  }
  EXPECT_EQ(text(db(), "SELECT ccsz FROM sysi90 WHERE cssxt = 'SYS' AND ccsdm = 'CGSMC' AND cgsh = '01'"),
            text(db(), "SELECT cgsmc FROM kq_company WHERE cgsh = '01'"));
  // The two companies differ where the module branches.
  EXPECT_EQ(count("SELECT count(DISTINCT ccsz) FROM sysi90 WHERE ccsdm = 'lsygsgl'"), 2);
  EXPECT_EQ(count("SELECT count(DISTINCT ccsz) FROM sysi90 WHERE ccsdm = 'LBXXSJE'"), 2);
  EXPECT_EQ(text(db(), "SELECT group_concat(substr(dywrq, 1, 10)) FROM kq_company"), "2024-06-12,2024-06-12");
}

TEST_F(Demo, OperatorsWithAndWithoutEachAuthority) {
  for (const char* auth : {"CJ", "CP", "CQ"}) {
    std::string has = "(',' || cqx || ',') LIKE '%," + std::string(auth) + ",%'";
    EXPECT_GT(count("SELECT count(*) FROM kq_operator WHERE ltybs = 0 AND cgsh = '01' AND " + has), 0) << auth;
    EXPECT_GT(count("SELECT count(*) FROM kq_operator WHERE ltybs = 0 AND cgsh = '01' AND NOT " + has), 0) << auth;
  }
  EXPECT_GT(count("SELECT count(*) FROM kq_operator WHERE ltybs = 1"), 0);
  EXPECT_EQ(count("SELECT count(*) FROM kq_operator o WHERE NOT EXISTS (SELECT 1 FROM sysc03 s WHERE s.cgrdm = o.cczydm "
                  "AND s.cgsh = o.cgsh AND s.cgrmc = o.cczymc)"), 0);
  EXPECT_EQ(text(db(), "SELECT cmmhash FROM kq_operator WHERE cgsh = '01' AND cczydm = '001'"), "test-hash:kq01001");
}

TEST_F(Demo, DatesAreNeverNullOrEmpty) {
  for (const char* s : {"main"}) {
    for (auto& t : rows(db(), std::string("SELECT name FROM ") + s + ".sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite_%'")) {
      for (auto& c : rows(db(), "SELECT name FROM pragma_table_info('" + t[0] + "', '" + s + "') WHERE type = 'DATETIME'")) {
        EXPECT_EQ(count(std::string("SELECT count(*) FROM ") + s + "." + t[0] + " WHERE " + c[0] + " IS NULL OR " + c[0] +
                        " NOT GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]'"),
                  0)
            << s << "." << t[0] << "." << c[0];
      }
    }
  }
}

TEST_F(Demo, SettlementFiguresAddUp) {
  const char* fees = "nssgsf + nssclf + nbgf + nsjf + nglf + nfcf + nqtfy1 + nqtfy2 + nqtfy3";
  EXPECT_EQ(count(std::string("SELECT count(*) FROM v_svc300_01_all WHERE cwxzt <> '0' AND abs(nhjje - (") + fees +
                  ")) > 0.005"), 0);
  EXPECT_EQ(count("SELECT count(*) FROM v_svc300_01_all WHERE cwxzt = '1' AND abs(nzsje - nhjje) > 0.005"), 0);
  // Receipts at the settlement plus the card payment are what was received.
  EXPECT_EQ(count("SELECT count(*) FROM v_svc300_01_all v WHERE cwxzt <> '0' AND abs(nzsje - nhykbcxfje - "
                  "(SELECT ifnull(sum(nbcjsje), 0) FROM sysb13 r WHERE r.cbs = '3' AND r.cdydjh = v.cwtsbh) + nljsk) > 0.005"),
            0);
  // Discounts on the items agree with the settlement.
  EXPECT_EQ(count("SELECT count(*) FROM svcb20c h JOIN svcb20d d ON d.cwtsbh = h.cwtsbh WHERE d.cxz = '0' AND "
                  "d.ngsyhl <> h.ngsyhl"), 0);
  EXPECT_GT(count("SELECT count(*) FROM svcb20c WHERE nhjyh > 0"), 0);
  // A work order that is not settled carries no settlement amounts.
  EXPECT_EQ(count("SELECT count(*) FROM v_svc300_01_all WHERE cwxzt = '0' AND (nhjje <> 0 OR nzsje <> 0 OR cjsfs <> '')"), 0);
}

TEST_F(Demo, VehicleStatisticsCoverTheSettlementsTheyWouldLose) {
  // What cancelling every settlement of a vehicle would take back, free and charged apart.
  const std::string settled = "FROM v_svc300_01_all v WHERE v.id = c.id AND v.cgsh = c.cgsh AND v.cwxzt <> '0' AND ";
  const std::string free = "EXISTS (SELECT 1 FROM svcc90 k WHERE k.cwtslb = substr(v.cwtsbh, 1, 1) AND k.cgsh = v.cgsh "
                           "AND k.lmfbs = 1)";
  EXPECT_EQ(count("SELECT count(*) FROM crmc04 c WHERE c.nwxcslj < (SELECT count(*) " + settled + "NOT " + free +
                  ") OR c.nmfwxcs < (SELECT count(*) " + settled + free + ") OR c.nljje + 0.005 < (SELECT "
                  "ifnull(sum(nhjje), 0) " + settled + "NOT " + free + ") OR c.ngs + 0.005 < (SELECT ifnull(sum(ngs), 0) " +
                  settled + "1)"),
            0);
  EXPECT_GT(count("SELECT count(*) FROM crmc04 c WHERE c.nmfwxcs > 1"), 0);
  EXPECT_EQ(count("SELECT count(*) FROM v_svc300_01_all WHERE ckhmc IS NULL OR cpzh IS NULL OR ccxmc IS NULL"), 0);
}

TEST_F(Demo, ReworkRecordsAndTerminalJobs) {
  EXPECT_EQ(count("SELECT count(*) FROM v_svcb50_svcb50_h r WHERE NOT EXISTS (SELECT 1 FROM v_svcb20d_svcb20d_h d WHERE "
                  "d.cwtsbh = r.cwtsbh AND d.cwxxmdm = r.cwxxmdm AND d.cxmmc = r.cxmmc AND d.lfgbs = 1)"), 0);
  // A current rework record of a work order that lives in history.
  EXPECT_GT(count("SELECT count(*) FROM svcb50 r JOIN svcb20c_h h ON h.cwtsbh = r.cwtsbh"), 0);
  EXPECT_GT(count("SELECT count(*) FROM svcb50 r WHERE NOT EXISTS (SELECT 1 FROM sysc02 b WHERE b.cbmdm = r.cbzdm AND "
                  "b.cgsh = r.cgsh)"), 0);
  EXPECT_GT(count("SELECT count(*) FROM svcb50 WHERE czxrdm = ''"), 0);
  // Started by the workshop, with its rework job; and one not started.
  EXPECT_EQ(count("SELECT count(*) FROM svcb50 r JOIN wtcb01c j ON j.cwtsbh = r.cwtsbh AND j.cwxxmdm = r.cwxxmdm AND "
                  "j.cgsh = r.cgsh AND j.lfxbs = 1 WHERE r.lksbs = 1"), 1);
  EXPECT_GT(count("SELECT count(*) FROM svcb50 r JOIN wtcb01c j ON j.cwtsbh = r.cwtsbh AND j.cwxxmdm = r.cwxxmdm AND "
                  "j.lfxbs = 1 WHERE r.lksbs = 0"), 0);
  // An item with a rework job and a normal job of its own.
  EXPECT_GT(count("SELECT count(*) FROM (SELECT cwtsbh, cwxxmdm FROM wtcb01c GROUP BY 1, 2 HAVING count(DISTINCT lfxbs) = 2)"), 0);
  EXPECT_GT(count("SELECT count(*) FROM v_wtc304_01 WHERE cgsh = '02'"), 0);
  EXPECT_GT(count("SELECT count(*) FROM svcb20c w WHERE cgsh = '02' AND cwxzt = '0' AND NOT EXISTS "
                  "(SELECT 1 FROM v_wtc304_01 v WHERE v.cwtsbh = w.cwtsbh)"), 0);
  EXPECT_GT(count("SELECT count(*) FROM v_bm_gr_grlb WHERE cgrlbdm = '6' AND ltybs = 0"), 0);
  EXPECT_GT(count("SELECT count(*) FROM sysc02 b WHERE b.cbmsx = '1' AND b.ltybs = 0 AND NOT EXISTS (SELECT 1 FROM sysc03 g "
                  "WHERE g.cssbmdm = b.cbmdm AND g.cgsh = b.cgsh AND g.cgrlbdm = '6')"), 0);
}

TEST_F(Demo, EveryViewHasRows) {
  for (auto& v : rows(db(), "SELECT name FROM sqlite_schema WHERE type = 'view'"))
    EXPECT_GT(count("SELECT count(*) FROM " + v[0]), 0) << v[0];
}

TEST(DemoBuild, IsTheSameForTheSameDateAndMovesWithTheDate) {
  auto a = demo_pair(fast_options());
  auto b = demo_pair(fast_options());
  EXPECT_EQ(dump(a.get()), dump(b.get()));
  auto c = demo_pair(fast_options(kToday.add_days(1)));
  EXPECT_NE(dump(a.get()), dump(c.get()));
  EXPECT_EQ(number(a.get(), "SELECT count(*) FROM v_svc300_01_all"), number(c.get(), "SELECT count(*) FROM v_svc300_01_all"));
  EXPECT_EQ(number(c.get(), "SELECT count(*) FROM v_svc300_01 WHERE substr(djsrq, 1, 10) = '2024-06-13'"),
            number(a.get(), "SELECT count(*) FROM v_svc300_01 WHERE substr(djsrq, 1, 10) = '2024-06-12'"));
}

TEST(DemoBuild, ScaleAddsCompleteWorkOrdersAndKeepsTheSchema) {
  auto plain = demo_pair(fast_options());
  const long long base = number(plain.get(), "SELECT count(*) FROM v_svc300_01_all");
  std::vector<int> progress;
  DemoOptions o = fast_options(kToday, 300);
  o.progress = [&](int64_t done, int64_t total) {
    EXPECT_EQ(total, 300);
    progress.push_back(static_cast<int>(done));
  };
  auto big = demo_pair(o);
  sqlite3* db = big.get();
  EXPECT_EQ(number(db, "SELECT count(*) FROM v_svc300_01_all"), base + 300);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), 300);
  const char* generated = "(SELECT cwtsbh, cwxzt FROM v_svc300_01_all WHERE substr(cwtsbh, 4, 1) = '9' OR "
                          "substr(cwtsbh, 5, 1) = '9' AND cwtsbh LIKE 'A-%')";
  EXPECT_EQ(number(db, std::string("SELECT count(*) FROM ") + generated), 300);
  EXPECT_EQ(number(db, std::string("SELECT count(*) FROM ") + generated + " g WHERE NOT EXISTS (SELECT 1 FROM "
                   "v_svcb20d_svcb20d_h d WHERE d.cwtsbh = g.cwtsbh) OR NOT EXISTS (SELECT 1 FROM v_spab02c_spab02d s "
                   "WHERE s.cdydbh = g.cwtsbh)"), 0);
  EXPECT_EQ(number(db, std::string("SELECT count(*) FROM ") + generated + " g WHERE g.cwxzt = '1' AND NOT EXISTS "
                   "(SELECT 1 FROM sysb13 r WHERE r.cdydjh = g.cwtsbh AND r.cbs = '3')"), 0);
  // The indexes set aside during the generation are back, exactly.
  EXPECT_EQ(rows(db, "SELECT name, sql FROM sqlite_schema ORDER BY name"),
            rows(plain.get(), "SELECT name, sql FROM sqlite_schema ORDER BY name"));
  auto again = demo_pair(o);
  EXPECT_EQ(dump(db), dump(again.get()));
}

TEST(DemoBuild, RefusesADatabaseThatAlreadyHoldsData) {
  auto db = demo_pair(fast_options());
  auto ok = fill_demo(*db.connection, fast_options());
  ASSERT_FALSE(ok);
  EXPECT_NE(ok.error().find("already holds data"), std::string::npos) << ok.error();
}

TEST(DemoBuild, AFailedHashLeavesNothingBehind) {
  auto db = schema_files();
  DemoOptions o = fast_options();
  o.hash_password = [](std::string_view) { return std::string(); };
  auto ok = fill_demo(*db.connection, o);
  ASSERT_FALSE(ok);
  EXPECT_NE(ok.error().find("could not be hashed"), std::string::npos) << ok.error();
  EXPECT_EQ(number(db.get(), "SELECT count(*) FROM kq_company"), 0);
  EXPECT_EQ(number(db.get(), "SELECT count(*) FROM sysi90"), 0);
}

// The demo file is written in the write-ahead-log mode every connection uses:
// a file left in another mode had to be switched on every start, which any
// other program holding it open (a backup, a second server) made fail.
TEST(DemoBuild, FreshFilesOpenWhileAnotherProgramHoldsThem) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("kq_demo_journal_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  const std::filesystem::path shop = dir / "shop.db";
  auto built = build_demo_files(shop, fast_options(), false);
  ASSERT_TRUE(built) << built.error();

  // Bytes 18 and 19 of the header: 1 = rollback journal, 2 = WAL.
  {
    std::ifstream in(shop, std::ios::binary);
    char header[20] = {};
    in.read(header, sizeof header);
    EXPECT_EQ(header[18], 2) << shop << " is written for journal version " << int(header[18]);
    EXPECT_EQ(header[19], 2) << shop << " is read as journal version " << int(header[19]);
  }
  EXPECT_FALSE(std::filesystem::exists(schema::club_path_for(shop))) << "the club tables are in the shop file";

  // Another program reads the file while two servers start at once.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2(shop.c_str(), &other, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN; SELECT count(*) FROM kq_company", nullptr, nullptr, nullptr), SQLITE_OK)
      << sqlite3_errmsg(other);
  std::string outcome[2];
  {
    std::jthread first([&] {
      auto files = schema::open_database_files(shop, schema::OpenOptions{});
      outcome[0] = files ? "opened" : files.error();
    });
    std::jthread second([&] {
      auto files = schema::open_database_files(shop, schema::OpenOptions{});
      outcome[1] = files ? "opened" : files.error();
    });
  }
  EXPECT_EQ(outcome[0], "opened");
  EXPECT_EQ(outcome[1], "opened");
  sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close_v2(other);
  std::filesystem::remove_all(dir);
}

// The demo goes through the backend's binding like every statement of the
// windows: each stored value is what the application itself would store in
// that column (a decimal at its column's scale, not a double's neighbour; a
// date as the stored date text; flags as integers), generated rows included.
TEST(DemoBuild, EveryValueIsStoredAsTheApplicationStoresIt) {
  auto demo = demo_pair(fast_options(kToday, 60));
  sqlite3* db = demo.get();
  int checked = 0;
  for (const char* schema : {"main"}) {
    for (auto& t : rows(db, std::string("SELECT name FROM ") + schema +
                                ".sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY name")) {
      for (auto& c : rows(db, "SELECT name, type FROM pragma_table_info('" + t[0] + "', '" + schema + "')")) {
        auto info = db::sqlite::column_info_from_decl(c[1]);
        ASSERT_TRUE(info) << schema << "." << t[0] << "." << c[0] << " declared " << c[1];
        sqlite3_stmt* st = nullptr;
        const std::string sql = "SELECT \"" + c[0] + "\" FROM " + schema + ".\"" + t[0] + "\"";
        ASSERT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql;
        while (sqlite3_step(st) == SQLITE_ROW) {
          const int type = sqlite3_column_type(st, 0);
          const std::string where = std::string(schema) + "." + t[0] + "." + c[0];
          if (type == SQLITE_NULL) continue;
          ++checked;
          switch (info->kind) {
            case db::ColumnKind::Decimal: {
              ASSERT_TRUE(type == SQLITE_FLOAT || type == SQLITE_INTEGER) << where << " holds type " << type;
              const double v = sqlite3_column_double(st, 0);
              auto d = db::sqlite::real_to_decimal(v, info->scale);
              ASSERT_TRUE(d) << where << " holds " << v;
              ASSERT_EQ(v, db::sqlite::decimal_to_real(*d))
                  << where << " holds " << std::setprecision(17) << v << " instead of the stored form of " << *d;
              break;
            }
            case db::ColumnKind::DateTime: {
              const std::string text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
              ASSERT_EQ(type, SQLITE_TEXT) << where << " = " << text;
              auto parsed = db::sqlite::parse_stored_datetime(text);
              ASSERT_TRUE(parsed) << where << " = " << text;
              ASSERT_EQ(parsed->to_iso(), text) << where;
              break;
            }
            case db::ColumnKind::Integer: ASSERT_EQ(type, SQLITE_INTEGER) << where; break;
            case db::ColumnKind::Text: ASSERT_EQ(type, SQLITE_TEXT) << where; break;
            case db::ColumnKind::Blob: break;
          }
        }
        sqlite3_finalize(st);
      }
    }
  }
  EXPECT_GT(checked, 10000);
}

TEST(DemoBuild, ParsesOnlyRealDatesOfTheCommandLineForm) {
  EXPECT_EQ(parse_business_date("2024/02/29"), DateTime::from_parts(2024, 2, 29));
  for (const char* bad : {"2023/02/29", "2024-02-01", "2024/2/1", "24/02/01", "2024/13/01", "", "2024/02/01 10:00"})
    EXPECT_FALSE(parse_business_date(bad)) << bad;
}

}  // namespace
}  // namespace kq::demo
