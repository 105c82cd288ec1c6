// The tables and views the module uses, with the columns it reads and writes
// and the types it fixes; the type conventions over the whole schema; and the
// statements whose unqualified names depend on how the tables are laid out.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>

#include "db_test_util.h"

namespace kq::schema {
namespace {

using testing::exec;
using testing::number;
using testing::rows;
using testing::schema_pair;

// "name:TYPE name name:TYPE …": a column without a type only has to exist
// (and follow the conventions tested below).
using Expected = std::map<std::string, std::string>;

const std::string kHeader =
    "cwtsbh:CHAR(13) id:INTEGER cwxzt:CHAR(1) djsrq:DATETIME cjsfs cdbr:CHAR(8) cscbs:CHAR(1) cscbs1:CHAR(1) "
    "ngs nysgsf:REAL(18,2) nyhhgsf:REAL(18,2) nssgsf:REAL(18,2) nysclf:REAL(18,2) nyhhclf:REAL(18,2) "
    "nssclf:REAL(18,2) ngsyhl:REAL(18,2) nclyhl:REAL(18,2) nhjyh:REAL(18,2) nhjje:REAL(18,2) nzsje:REAL(18,2) "
    "nhjse:REAL(18,2) nclcb:REAL(18,2) nsplfcb:REAL(18,2) nljsk:REAL(18,2) lcwskwb npljsxh npzid cfph:CHAR(18) "
    "dfprq:DATETIME cfplxdm:CHAR(1) cskxf:CHAR(1) cskxgbs:CHAR(1) nhykbcjf:REAL(18,2) nhykbcxfje:REAL(18,2) "
    "nhykczje:REAL(18,2) nhykscjf:REAL(18,2) nhykscye:REAL(18,2) chth:CHAR(13) cjydh:CHAR(13) cgsh:CHAR(2)";
const std::string kView =
    kHeader +
    " ckhdm:CHAR(18) ckhmc:CHAR(50) ckhdz:CHAR(50) cdh:CHAR(20) ckhh:CHAR(30) clxr:CHAR(8) clxrdh:CHAR(20) "
    "cpzh:CHAR(12) cdph:CHAR(17) cfdjh:CHAR(30) ccxmc:CHAR(30) nxslc:REAL(18,4) dsxrq:DATETIME dydjc:DATETIME "
    "dccrq:DATETIME cgsde:CHAR(2) lshbs:INTEGER lqqbs:INTEGER cbgfs:CHAR(1) nwxcslj:INTEGER nljje:REAL(18,2) "
    "cczydm:CHAR(3) cczymc:CHAR(8) cfwgwxm:CHAR(8) cjsydm:CHAR(3) cjsrxm:CHAR(8) nbgf:REAL(18,2) nsjf:REAL(18,2) "
    "nglf:REAL(18,2) nfcf:REAL(18,2) nqtfy1:REAL(18,2) nqtfy2:REAL(18,2) nqtfy3:REAL(18,2) nbgfse:REAL(18,2) "
    "nsjfse:REAL(18,2) nglfse:REAL(18,2) nfcfse:REAL(18,2) nqtfyse1:REAL(18,2) nqtfyse2:REAL(18,2) "
    "nqtfyse3:REAL(18,2) ngfse:REAL(18,2) nclse:REAL(18,2) ngfsl:REAL(18,2) nbjxjsl:REAL(18,2) nspgf:REAL(18,2) "
    "nsplf:REAL(18,2) ccp:CHAR(4) chykh:CHAR(18) czhzt:CHAR(1) czhbh:CHAR(10) cyszkkm:CHAR(15) lsbbs:INTEGER ccxdm";
const std::string kItems =
    "cwtsbh:CHAR(13) cwxxmdm:CHAR(8) cxmmc:CHAR(30) cxz:CHAR(1) ngs:REAL(18,2) ngsf:REAL(18,2) ngsyhl:REAL(18,2) "
    "lzjxm:INTEGER cbzdm:CHAR(4) czxrdm:CHAR(3) lwcbs:INTEGER lfgbs:INTEGER cgsh:CHAR(2)";
const std::string kRework =
    "cwtsbh:CHAR(13) ckhdm:CHAR(18) ckhmc:CHAR(50) cpzh:CHAR(12) ccxdm:CHAR(50) cwxxmdm:CHAR(8) cxmmc:CHAR(30) "
    "ngs:REAL(18,2) ngsf:REAL(18,2) nkk:REAL(18,2) cbzdm:CHAR(4) czxrdm:CHAR(3) dfxrq:DATETIME cczydm:CHAR(3) "
    "cwxgwdm:CHAR(2) cgwdm:CHAR(2) lksbs:INTEGER lwcbs:INTEGER lzt:INTEGER cgsh:CHAR(2)";
const std::string kCards =
    "id:INTEGER ckh cgsh:CHAR(2) ndhjf ndjjf nljjf nknye lsdbs ltybs lblbs dyxrq:DATETIME dhfdqr:DATETIME";

const Expected& expected() {
  static const Expected e = {
      {"svcb20c", kHeader},
      {"svcb20c_h", kHeader},
      {"v_svc300_01", kView + " cyb:CHAR(6)"},
      {"v_svc300_01_all", kView + " cyb:CHAR(15)"},
      {"svcb20d", kItems},
      {"svcb20d_h", kItems},
      {"v_svcb20d_svcb20d_h", kItems},
      {"svcb50", kRework},
      {"svcb50_h", kRework},
      {"v_svcb50_svcb50_h", kRework},
      {"wtcb01c", "dxcrq:DATETIME cwtslsh cwtsbh:CHAR(13) cpzh:CHAR(12) ckh cwxxmdm:CHAR(8) cwxgwdm:CHAR(2) "
                  "dpgsj:DATETIME lzjbs:INTEGER lfxbs:INTEGER lzt:INTEGER nscsj cgwdm:CHAR(2) cgsh:CHAR(2)"},
      {"wtcc01", "cwxgwdm:CHAR(2) cwxgwmc:CHAR(20) cgsh"},
      {"wtcc05", "cgskzqdm cgskzqmc:CHAR(20) cgsh"},
      {"v_wtcc01", "cwxgwdm:CHAR(2) cwxgwmc:CHAR(20) cgskzqdm cgskzqmc:CHAR(20) ltybs:INTEGER cgsh"},
      {"wtci90", "nsjdw cgsh"},
      {"sysc02", "cbmdm:CHAR(4) cbmmc:CHAR(20) cbmsx lmjbmbs:INTEGER ltybs:INTEGER cgsh"},
      {"sysc03", "cgrdm:CHAR(3) cgrmc:CHAR(8) cgsh"},
      {"v_bm_gr_grlb", "cgrdm:CHAR(3) cgrmc:CHAR(8) cssbmdm:CHAR(4) cbmmc:CHAR(20) cgrlbdm ltybs:INTEGER cgsh"},
      {"v_svc300_bzxz", "cbmdm:CHAR(4) cbmmc:CHAR(20) czt dwgrq:DATETIME cgsh"},
      {"v_svc300_zxrxz", "cgrdm:CHAR(3) cgrmc:CHAR(8) cssbmdm:CHAR(4) cbmmc:CHAR(20) czt dwgrq:DATETIME cgsh"},
      {"v_wtc304_01", "cwtsbh:CHAR(13) ckhdm:CHAR(18) ckhmc:CHAR(50) cpzh:CHAR(12) ccxdm:CHAR(50) ccxmc:CHAR(30) "
                      "cgsh:CHAR(2)"},
      {"svcc04", "ccxdm ccxmc:CHAR(30) cgsh"},
      {"svcc03", "cgsde:CHAR(2) lsygsdj:INTEGER ngsdj cgsh"},
      {"svcc90", "cwtslb:CHAR(1) lmfbs:INTEGER cgsh"},
      {"crmc04", "id:INTEGER cdph:CHAR(17) cpzh:CHAR(12) ltybs:INTEGER ngs nmfwxcs nbycs nwxcslj:INTEGER "
                 "nljje:REAL(18,2) cgsh"},
      {"spac01", "cbjdm cbjmc:CHAR(40) cjldw:CHAR(4) cgsh"},
      {"acpi03", "cjsfsdm cjsfsmc:CHAR(30) csfbs cgsh"},
      {"v_spab02c_spab02d", "cdydbh:CHAR(13) cbjdm:CHAR(50) cbjbm:CHAR(40) nrcdj:REAL(18,6) nrcsl nrcje ccklb:CHAR(1) "
                            "nclyhl cph:CHAR(10) cgsh:CHAR(2)"},
      {"svcb25", "cwtsbh:CHAR(13) cbjdm cbjbm nckdj ncksl cgsh"},
      {"sysb13", "id:INTEGER cbs:CHAR(1) cdydjh nbcjsje:REAL(18,2) cgsh"},
      {"sysi90", "cssxt ccsdm ccsz cgsh"},
      {"sysb12", "cdydjlb ndyfs cgsh"},
      {"svcb61", "id:INTEGER ctype nver cwtsbh:CHAR(13) dsxrq:DATETIME djsrq:DATETIME ckhmc:CHAR(50) ccxmc:CHAR(30) "
                 "cpzh:CHAR(12) cdph:CHAR(17) cjszt:CHAR(1) nhjje:REAL(18,2) nysje:REAL(18,2) ddate:DATETIME "
                 "cfwgwmc:CHAR(8) cczydm:CHAR(3) cczymc:CHAR(8) cbz cgsh:CHAR(2) cblob:BLOB"},
      {"svcb22c", "cwtsbh clb cgsh"},
      {"v_svcb22c_all", "cwtsbh clb cgsh"},
      {"svcb11d2", "czhdm cdph czt cgsh"},
      {"club01c", kCards},
      {"kq_club_club01c", kCards},
      {"club03", "ncldaid nkid cgsh"},
      {"kq_club_club03", "ncldaid nkid cgsh"},
      {"club08", "nkid cdyywdh cywfl nbcdhjf nbcdjjf nbcljjf cgsh"},
      {"kq_club_club08", "nkid cdyywdh cywfl nbcdhjf nbcdjjf nbcljjf cgsh"},
      {"club07", "cdyywdh cywfl cgsh"},
      {"kq_club_club07", "cdyywdh cywfl cgsh"},
      {"club01d", "ckh cwtsbh cgsh"},
      {"kq_club_club01d", "ckh cwtsbh cgsh"},
      {"vipb01", "nclid lsdbs ltybs dyxrq:DATETIME cgsh"},
      {"kq_company", "cgsh:CHAR(2) cgsmc dywrq:DATETIME"},
      {"kq_operator", "cgsh:CHAR(2) cczydm:CHAR(3) cczymc cmmhash cqx ltybs"},
      {"kq_operation_log", "id:INTEGER drq:DATETIME cczydm:CHAR(3) cczymc cnr cgsh"},
      {"kq_counter", "cmk cjm nzhh:INTEGER cgsh"},
      {"kq_finance_call", "cwtsbh:CHAR(13) drq:DATETIME cczydm:CHAR(3) cgsh"},
  };
  return e;
}

std::pair<std::string, std::string> split_name(const std::string& qualified) {
  auto dot = qualified.find('.');
  if (dot == std::string::npos) return {"main", qualified};
  return {qualified.substr(0, dot), qualified.substr(dot + 1)};
}

// name → declared type, as PRAGMA table_info reports it.
std::map<std::string, std::string> table_info(sqlite3* db, const std::string& qualified) {
  auto [schema, name] = split_name(qualified);
  std::map<std::string, std::string> cols;
  for (auto& r : rows(db, "SELECT name, type FROM pragma_table_info('" + name + "', '" + schema + "')")) cols[r[0]] = r[1];
  return cols;
}

// name → declared type, as a statement reading the table reports it.
std::map<std::string, std::string> decltypes(sqlite3* db, const std::string& qualified) {
  std::map<std::string, std::string> cols;
  sqlite3_stmt* st = nullptr;
  std::string sql = "SELECT * FROM " + qualified + " WHERE cgsh = ?";
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql << sqlite3_errmsg(db);
  for (int i = 0; st && i < sqlite3_column_count(st); ++i) {
    const char* t = sqlite3_column_decltype(st, i);
    cols[sqlite3_column_name(st, i)] = t ? t : "";
  }
  sqlite3_finalize(st);
  return cols;
}

// Every table and view of the shop database (the club's tables are kq_club_<table> in it).
std::vector<std::pair<std::string, std::string>> all_objects(sqlite3* db) {
  std::vector<std::pair<std::string, std::string>> out;
  for (auto& r : rows(db, "SELECT name, type FROM main.sqlite_schema WHERE type IN ('table', 'view') AND name NOT "
                          "LIKE 'sqlite_%' ORDER BY name"))
    out.emplace_back(r[0], r[1]);
  return out;
}

class Schema : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { db_ = new testing::Db(schema_pair()); }
  static void TearDownTestSuite() {
    delete db_;
    db_ = nullptr;
  }
  sqlite3* db() { return db_->get(); }
  static testing::Db* db_;
};
testing::Db* Schema::db_ = nullptr;

TEST_F(Schema, EveryTableAndViewHasTheColumnsAndTypesTheModuleUses) {
  for (const auto& [object, columns] : expected()) {
    SCOPED_TRACE(object);
    auto info = table_info(db(), object);
    auto decl = decltypes(db(), object);
    ASSERT_FALSE(info.empty()) << object << " does not exist";
    std::istringstream in(columns);
    std::string item;
    while (in >> item) {
      auto colon = item.find(':');
      std::string col = item.substr(0, colon);
      ASSERT_TRUE(info.count(col)) << object << "." << col << " is missing";
      if (colon != std::string::npos) {
        EXPECT_EQ(info[col], item.substr(colon + 1)) << object << "." << col << " (table_info)";
        EXPECT_EQ(decl[col], item.substr(colon + 1)) << object << "." << col << " (column_decltype)";
      }
    }
  }
}

TEST_F(Schema, ViewsReportTheSameDeclaredTypesThroughBothInterfaces) {
  for (const auto& [object, type] : all_objects(db())) {
    if (type != "view") continue;
    SCOPED_TRACE(object);
    auto info = table_info(db(), object);
    auto decl = decltypes(db(), object);
    EXPECT_EQ(info, decl);
    for (const auto& [col, t] : info) EXPECT_FALSE(t.empty()) << object << "." << col << " has no declared type";
  }
}

TEST_F(Schema, EveryColumnFollowsTheTypeConventions) {
  const std::regex text_type(R"((VAR)?CHAR\(\d+\))");
  const std::regex money_type(R"(REAL\(18,[246]\))");
  for (const auto& [object, type] : all_objects(db())) {
    auto info = table_info(db(), object);
    EXPECT_EQ(info["cgsh"], "CHAR(2)") << object << " must carry the company code";
    for (const auto& [col, t] : info) {
      SCOPED_TRACE(object + "." + col);
      if (col == "id" || col[0] == 'l') {
        EXPECT_EQ(t, "INTEGER");
      } else if (col == "cblob") {
        EXPECT_EQ(t, "BLOB");
      } else if (col[0] == 'c') {
        EXPECT_TRUE(std::regex_match(t, text_type)) << t;
      } else if (col[0] == 'd') {
        EXPECT_EQ(t, "DATETIME");
      } else if (col[0] == 'n') {
        EXPECT_TRUE(t == "INTEGER" || std::regex_match(t, money_type)) << t;
      } else {
        ADD_FAILURE() << "column name of no known kind: " << t;
      }
    }
  }
}

TEST_F(Schema, DatesDefaultToTheAbsentDateAndMoneyToZero) {
  for (const auto& [object, type] : all_objects(db())) {
    if (type != "table") continue;
    auto [schema, name] = split_name(object);
    for (auto& r : rows(db(), "SELECT name, type, dflt_value FROM pragma_table_info('" + name + "', '" + schema + "')")) {
      if (r[1] == "DATETIME") {
        EXPECT_EQ(r[2], "'1900-01-01 00:00:00'") << object << "." << r[0];
      } else if (r[1].rfind("REAL", 0) == 0) {
        EXPECT_EQ(r[2], "0") << object << "." << r[0];
      }
    }
  }
}

TEST_F(Schema, MoneyIsStoredAsRealSoThatDivisionNeverTruncates) {
  exec(db(), "SAVEPOINT s; INSERT INTO svcb20c (cwtsbh, cgsh, nhjje) VALUES ('T1', '01', 10);");
  EXPECT_EQ(testing::text(db(), "SELECT typeof(nhjje) || ' ' || (nhjje / 4) FROM v_svc300_01 WHERE cwtsbh = 'T1'"),
            "real 2.5");
  exec(db(), "ROLLBACK TO s; RELEASE s;");
}

// Statements of the module that name columns without their table: they must
// stay unambiguous over the tables they join.
TEST_F(Schema, UnqualifiedColumnsOfTheModulesStatementsResolve) {
  const char* statements[] = {
      // Reversal of the vehicle statistics.
      "UPDATE crmc04 SET nwxcslj = crmc04.nwxcslj - 1, nbycs = crmc04.nbycs - 1, ngs = crmc04.ngs - svcb20c.ngs, "
      "nljje = crmc04.nljje - svcb20c.nhjje FROM svcb20c WHERE svcb20c.cwtsbh = ?1 AND svcb20c.id = crmc04.id AND "
      "svcb20c.cgsh = crmc04.cgsh AND svcb20c.cgsh = ?2 AND ltybs = 0",
      // Valid VIP records and club cards of a work order.
      "SELECT count(1) FROM svcb20c a, vipb01 b WHERE a.id = b.nclid AND a.cwtsbh = ?1 AND b.lsdbs = 0 AND ltybs = 0 "
      "AND substr(dyxrq, 1, 10) >= ?2",
      "SELECT count(1) FROM svcb20c a, club03 b, club01c c WHERE a.id = b.ncldaid AND a.cwtsbh = ?1 AND b.nkid = c.id "
      "AND c.lsdbs = 0 AND c.ltybs = 0 AND c.lblbs = 1",
      // Repair items of the slip.
      "SELECT svcb20d.cwtsbh, svcb20d.cwxxmdm, svcb20d.cxmmc, svcb20d.cxz, svcb20d.ngsf, svcb20d.ngs, svcb20d.lzjxm, "
      "svcb20d.ngsyhl, svcb20c.cbgfs, svcb20c.nysgsf, svcb20c.ngsyhl AS ngsjsyhl, svcb20c.nyhhgsf FROM svcb20d, svcb20c "
      "WHERE svcb20c.cwtsbh = svcb20d.cwtsbh AND svcb20d.cwtsbh = ?1",
      // Selection lists and validations of the rework entry.
      "SELECT cwxxmdm, cxmmc, ngs, ngsf, cbzdm, czxrdm FROM svcb20d WHERE cwtsbh = ?1 AND lwcbs = 1 AND cwxxmdm NOT IN "
      "(SELECT cwxxmdm FROM svcb50 WHERE cgsh = ?2)",
      "SELECT 1 FROM v_bm_gr_grlb WHERE cgsh = ?1 AND cgrdm = ?2 AND ltybs = 0 AND cgrlbdm = '6' AND cssbmdm = ?3",
      "SELECT cgrdm, cgrmc, cssbmdm, cbmmc FROM v_bm_gr_grlb WHERE cgsh = ?1 AND ltybs = 0 AND cgrlbdm = '6' AND "
      "cssbmdm IN (SELECT cbmdm FROM sysc02 WHERE cbmsx = '1' AND cgsh = ?1)",
      "SELECT cwxgwdm, cwxgwmc, cgskzqdm, cgskzqmc FROM v_wtcc01 WHERE ltybs = 0",
      "SELECT cbmdm, cbmmc, czt, dwgrq FROM v_svc300_bzxz WHERE cgsh = ?1",
      "SELECT cgrdm, cgrmc, cssbmdm, cbmmc, czt, dwgrq FROM v_svc300_zxrxz WHERE cssbmdm = ?1",
      "SELECT cwtsbh, ckhdm, ckhmc, cpzh, ccxdm, ccxmc FROM v_wtc304_01 WHERE cgsh = ?1",
      "SELECT cwtsbh, ckhdm, ckhmc, cpzh, ccxdm, ccxmc FROM v_svc300_01 WHERE cgsh = ?1",
      // The print list marks.
      "SELECT ifnull((SELECT '*' FROM v_svcb22c_all WHERE cwtsbh = v.cwtsbh AND clb = '0' AND cgsh = ?1), '') AS bs, "
      "v.cwtsbh FROM v_svc300_01_all v WHERE v.cwxzt IN ('1', '2') AND cgsh = ?1",
  };
  for (const char* sql : statements) {
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db(), sql, -1, &st, nullptr), SQLITE_OK) << sql << "\n" << sqlite3_errmsg(db());
    sqlite3_finalize(st);
  }
}

TEST_F(Schema, TheAllRecordsReworkViewDeletesAndUpdatesWhereTheRecordLives) {
  exec(db(), "SAVEPOINT s;"
             "INSERT INTO svcb50 (cwtsbh, cwxxmdm, cgsh, nkk) VALUES ('W1', 'I1', '01', 1);"
             "INSERT INTO svcb50_h (cwtsbh, cwxxmdm, cgsh, nkk) VALUES ('W2', 'I1', '01', 2);"
             "INSERT INTO svcb50_h (cwtsbh, cwxxmdm, cgsh, nkk) VALUES ('W2', 'I2', '01', 3);");
  const int before = sqlite3_total_changes(db());
  exec(db(), "DELETE FROM v_svcb50_svcb50_h WHERE cwtsbh = 'W2' AND cwxxmdm = 'I1' AND cgsh = '01'");
  EXPECT_EQ(sqlite3_total_changes(db()) - before, 1);  // changes() stays 0 through the trigger
  exec(db(), "UPDATE v_svcb50_svcb50_h SET nkk = 9 WHERE cwtsbh = 'W1' AND cwxxmdm = 'I1' AND cgsh = '01'");
  EXPECT_EQ(number(db(), "SELECT nkk FROM svcb50 WHERE cwtsbh = 'W1'"), 9);
  EXPECT_EQ(number(db(), "SELECT count(*) FROM svcb50_h"), 1);
  EXPECT_EQ(number(db(), "SELECT count(*) FROM v_svcb50_svcb50_h"), 2);
  exec(db(), "ROLLBACK TO s; RELEASE s;");
}

TEST_F(Schema, ParameterGroupsAndCodesCompareWithoutCase) {
  exec(db(), "SAVEPOINT s; INSERT INTO sysi90 (cssxt, ccsdm, ccsz, cgsh) VALUES ('svc', 'lsygsgl', '1', '01');");
  EXPECT_EQ(testing::text(db(), "SELECT ccsz FROM sysi90 WHERE cssxt = 'SVC' AND ccsdm = 'LSYGSGL' AND cgsh = '01'"), "1");
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db(), "INSERT INTO sysi90 (cssxt, ccsdm, ccsz, cgsh) VALUES ('SVC', 'LSYGSGL', '0', '01')", -1, &st,
                     nullptr);
  EXPECT_EQ(sqlite3_step(st), SQLITE_CONSTRAINT);  // one parameter, whatever its spelling
  sqlite3_finalize(st);
  exec(db(), "ROLLBACK TO s; RELEASE s;");
}

}  // namespace
}  // namespace kq::schema
