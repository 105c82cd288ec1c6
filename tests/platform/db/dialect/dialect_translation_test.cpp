// Exact translations of representative statements, parameter targets, and
// the errors of text that cannot be translated.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixture_db.h"
#include "support/module_statements.h"
#include "platform/db/dialect/dialect.h"

namespace kq::db {
namespace {

using testing::FixtureDb;
using ::testing::HasSubstr;

using kq::testing::module_sql;

const ColumnInfo kText{ColumnKind::Text, 0};
const ColumnInfo kInteger{ColumnKind::Integer, 0};
const ColumnInfo kDateTime{ColumnKind::DateTime, 0};
const ColumnInfo kMoney{ColumnKind::Decimal, 2};
const ColumnInfo kBlob{ColumnKind::Blob, 0};

class DialectTest : public ::testing::Test {
 protected:
  Translation sqlite(std::string_view tsql) { return translate(*sqlite_, tsql); }
  Translation tsql(std::string_view tsql) { return translate(*tsql_, tsql); }
  std::string sqlite_error(std::string_view text) { return error(*sqlite_, text); }
  std::string tsql_error(std::string_view text) { return error(*tsql_, text); }

  static std::vector<std::string> names(const Translation& t) {
    std::vector<std::string> out;
    for (const Parameter& p : t.params) out.push_back(p.name);
    return out;
  }
  static std::vector<std::optional<ColumnInfo>> targets(const Translation& t) {
    std::vector<std::optional<ColumnInfo>> out;
    for (const Parameter& p : t.params) out.push_back(p.target);
    return out;
  }

  FixtureDb db_;
  std::unique_ptr<Dialect> sqlite_ = make_sqlite_dialect();
  std::unique_ptr<Dialect> tsql_ = make_tsql_dialect();

 private:
  Translation translate(const Dialect& d, std::string_view text) {
    auto t = d.translate(text, db_.catalog());
    EXPECT_TRUE(t.ok()) << text << "\n" << (t.ok() ? "" : t.error());
    return t.ok() ? *t : Translation{};
  }
  std::string error(const Dialect& d, std::string_view text) {
    auto t = d.translate(text, db_.catalog());
    EXPECT_FALSE(t.ok()) << text << " translated to " << (t.ok() ? t->sql : "");
    return t.ok() ? "" : t.error();
  }
};

using SqliteDialect = DialectTest;
using TsqlDialect = DialectTest;

// --- SQLite: TOP -------------------------------------------------------------

TEST_F(SqliteDialect, TopBecomesLimitAfterIntoIsTakenOut) {
  Translation t = sqlite(module_sql("from crmc04 where cdph = :dph"));
  EXPECT_EQ(t.kind, StatementKind::Select);
  EXPECT_EQ(t.sql, "select id from crmc04 where cdph = ? and ltybs = 0 and cgsh = f_retu_gsh() limit 1");
  EXPECT_EQ(t.into, std::vector<std::string>{"ll_id"});
  EXPECT_EQ(names(t), std::vector<std::string>{"dph"});
  EXPECT_EQ(t.params[0].target, kText);
}

TEST_F(SqliteDialect, TopInSubqueriesAndUnionMembersLimitsOnlyThatQuery) {
  EXPECT_EQ(sqlite("select a.x from t a where a.y = (select top 1 z from u where u.k = a.k order by z) "
                   "union all select top 2 x from v order by 1")
                .sql,
            "select a.x from t a where a.y = (select z from u where u.k = a.k order by z limit 1) "
            "union all select * from (select x from v limit 2) order by 1");
  EXPECT_EQ(sqlite("select distinct top (5) x from t").sql, "select distinct x from t limit 5");

  Translation materials = sqlite(module_sql("d_svc305_jsd1_02"));
  EXPECT_THAT(materials.sql, HasSubstr("ifnull((select cjldw from spac01 where cbjdm = svcb25.cbjdm and "
                                       "cgsh = svcb20c.cgsh limit 1),'') as cjldw"));
  EXPECT_THAT(materials.sql, HasSubstr("having sum(v_spab02c_spab02d.nrcsl) <> 0 union all SELECT svcb25.cwtsbh"));
  EXPECT_EQ(names(materials), (std::vector<std::string>{"bh", "bh"}));
  EXPECT_EQ(targets(materials), (std::vector<std::optional<ColumnInfo>>{kText, kText}));
}

// --- SQLite: convert, isnull, names ----------------------------------------------

TEST_F(SqliteDialect, ConvertStyle111ReadsStoredDatesAndDateTexts) {
  Translation t = sqlite(module_sql("from svcb20c a , vipb01 b"));
  EXPECT_THAT(t.sql, HasSubstr("select count ( 1 ) from svcb20c a , vipb01 b where a.id = b.nclid and a.cwtsbh = ? "
                               "and b.lsdbs = 0 and ltybs = 0 and ("));
  EXPECT_THAT(t.sql, HasSubstr(" and replace(substr(dyxrq, 1, 10), '-', '/') >= replace(substr(?, 1, 10), '-', '/'))"));
  EXPECT_EQ(t.into, std::vector<std::string>{"ll_ret"});
  // The date compared after convert() has no column of its own.
  EXPECT_EQ(t.params.front().name, "is_wtsbh");
  EXPECT_EQ(t.params.front().target, kText);
  for (size_t k = 1; k < t.params.size(); ++k) {
    EXPECT_EQ(t.params[k].name, "ls_xtrq");
    EXPECT_EQ(t.params[k].target, std::nullopt);
  }

  Translation list = sqlite(module_sql("d_svc310_02"));
  EXPECT_THAT(list.sql, HasSubstr("and replace(substr(v_svc300_01_all.dsxrq, 1, 10), '-', '/') >= ?) )"));
  EXPECT_THAT(list.sql, HasSubstr("and replace(substr(v_svc300_01_all.dsxrq, 1, 10), '-', '/') <= ?) ) "
                                  "and cgsh = f_retu_gsh()"));
  for (const Parameter& p : list.params) EXPECT_EQ(p.target, std::nullopt) << p.name;
}

TEST_F(SqliteDialect, IsnullOwnerAndClubDatabaseNames) {
  EXPECT_EQ(sqlite(module_sql("d_svc310_04_01")).sql,
            "SELECT svcb20d.cwxxmdm, svcb20d.CXMMC, svcb20d.NGS, ifnull((select cbmmc from sysc02 where cbmdm = "
            "svcb20d.cbzdm and cgsh = f_retu_gsh()),'') as cbzmc FROM svcb20d WHERE svcb20d.cwtsbh = ?");
  Translation club = sqlite(module_sql("update kq_club..club01c set ndhjf = ndhjf - :ldc_dh , ndjjf = ndjjf - :ldc_dj , nljjf = nljjf - :ldc_lj where id = :ll_kid"));
  EXPECT_EQ(club.sql,
            "update kq_club_club01c set ndhjf = round(ndhjf - ?, 2) , ndjjf = round(ndjjf - ?, 2) , "
            "nljjf = round(nljjf - ?, 2) where id = ? and cgsh = ?");
  EXPECT_EQ(targets(club),
            (std::vector<std::optional<ColumnInfo>>{std::nullopt, std::nullopt, std::nullopt, kInteger, kText}));
  EXPECT_EQ(sqlite("select x from kq_club.dbo.club01c where cgsh = N'01'").sql,
            "select x from kq_club_club01c where cgsh = '01'");
}

// --- SQLite: UPDATE ... FROM, DELETE, INSERT ----------------------------------------

TEST_F(SqliteDialect, UpdateFromDropsTheRepeatedTargetAndQualifiers) {
  EXPECT_EQ(sqlite(module_sql("set crmc04.nwxcslj = crmc04.nwxcslj - 1 , crmc04.ngs")).sql,
            "update crmc04 set nwxcslj = crmc04.nwxcslj - 1 , ngs = round(crmc04.ngs - svcb20c.ngs, 2) , "
            "nljje = round(crmc04.nljje - svcb20c.nhjje, 2) from svcb20c where svcb20c.cwtsbh = ? and svcb20c.id = "
            "crmc04.id and svcb20c.cgsh = crmc04.cgsh and svcb20c.cgsh = ? and ltybs = 0");
  // The target named by its alias in the FROM list.
  Translation alias = sqlite(
      "update a set a.nljje = a.nljje - b.nhjje from svcb20c b, crmc04 a "
      "where b.id = a.id and b.cwtsbh = :bh");
  EXPECT_EQ(alias.sql,
            "update crmc04 as a set nljje = round(a.nljje - b.nhjje, 2) from svcb20c b "
            "where b.id = a.id and b.cwtsbh = ?");
  EXPECT_EQ(alias.params[0].target, kText);
  // The target first in the list, and alone in it.
  EXPECT_EQ(sqlite("update crmc04 set crmc04.nbycs = 0 from crmc04, svcb20c where svcb20c.id = crmc04.id").sql,
            "update crmc04 set nbycs = 0 from svcb20c where svcb20c.id = crmc04.id");
  EXPECT_EQ(sqlite("update svcb20c set svcb20c.chth = :h from svcb20c where svcb20c.cwtsbh = :b").sql,
            "update svcb20c set chth = ? where svcb20c.cwtsbh = ?");
}

TEST_F(SqliteDialect, DeleteGetsFrom) {
  Translation t = sqlite(module_sql("w_svc304.delete_terminal_job"));
  EXPECT_EQ(t.kind, StatementKind::Delete);
  EXPECT_EQ(t.sql, "delete from wtcb01c where cwtsbh = ? and cwxxmdm = ? and cgsh = ?");
  EXPECT_EQ(targets(t), (std::vector<std::optional<ColumnInfo>>{kText, kText, kText}));
  EXPECT_EQ(sqlite(module_sql("delete kq_club..club08")).sql,
            "delete from kq_club_club08 where cdyywdh = ? and cywfl = 'SVC'");
  EXPECT_EQ(sqlite(module_sql("delete from sysb13")).sql, "delete from sysb13 where cdydjh = ? and cbs = '3'");
}

TEST_F(SqliteDialect, InsertValuesTakeTheirColumnsTargets) {
  Translation t = sqlite(module_sql("insert into svcb61"));
  EXPECT_EQ(t.sql,
            "insert into svcb61 ( ctype , nver , cwtsbh , dsxrq , djsrq , ckhmc , ccxmc , cpzh , cdph , cjszt , nhjje "
            ", nysje , ddate , cfwgwmc , cczydm , cczymc , cbz , cgsh ) values ( '1' , 1 , ? , ? , ? , ? , ? , ? , ? , "
            "? , round(?, 2) , round(?, 2) , ? , ? , ? , ? , ? , ? )");
  EXPECT_EQ(names(t), (std::vector<std::string>{"is_wtsbh", "ldt_sxrq", "ldt_jsrq", "ls_khmc", "ls_cxmc", "ls_pzh",
                                                "ls_dph", "is_ywxzt", "ldc_hjje", "ldc_zsje", "ldt_now", "ls_fwgwxm",
                                                "gs_yhdm", "ls_czyxm", "ls_yysm", "gs_gsh"}));
  EXPECT_EQ(targets(t),
            (std::vector<std::optional<ColumnInfo>>{kText, kDateTime, kDateTime, kText, kText, kText, kText, kText,
                                                    kMoney, kMoney, kDateTime, kText, kText, kText, kText, kText}));
}

TEST_F(SqliteDialect, InsertSelectWithoutFromStaysAndTargetsByPosition) {
  Translation t = sqlite(module_sql("w_svc304_01.insert_terminal_job"));
  EXPECT_EQ(t.sql,
            "insert into wtcb01c ( dxcrq , cwtslsh , cwtsbh , cpzh , ckh , cwxxmdm , cwxgwdm , dpgsj , lzjbs , lfxbs "
            ", lzt , nscsj , cgwdm , cgsh ) select ? , ? , ? , ? , '11111111' , ? , ? , ? , 0 , 1 , 1 , round(?, 2) , "
            "? , ?");
  EXPECT_EQ(targets(t), (std::vector<std::optional<ColumnInfo>>{kDateTime, kText, kText, kText, kText, kText, kDateTime,
                                                                kMoney, kText, kText}));
  // A literal date into a datetime column and a value "as" an alias.
  EXPECT_EQ(sqlite("insert into wtcb01c (dxcrq, nscsj, cgsh) select '2026/12/08 9:05', 7.125 as n, x from t").sql,
            "insert into wtcb01c (dxcrq, nscsj, cgsh) select '2026-12-08 09:05:00', round(7.125, 2) as n, x from t");
  EXPECT_EQ(sqlite("insert into svcb61 (dsxrq, nhjje, cbz) values ('', 1.5, null)").sql,
            "insert into svcb61 (dsxrq, nhjje, cbz) values ('1900-01-01 00:00:00', 1.5, null)");
}

// --- SQLite: values stored by SET ------------------------------------------------

TEST_F(SqliteDialect, SetStoresIsoDatesAndRoundsDecimals) {
  Translation t = sqlite(module_sql("update svcb20c set cwxzt = :is_wxzt"));
  EXPECT_EQ(t.sql,
            "update svcb20c set cwxzt = ? , djsrq = '1900-01-01 00:00:00' , cjsfs = '' , cdbr = '' , cscbs = '0' , "
            "cscbs1 = '0' , nhykbcjf = 0 , nhykbcxfje = 0 , ngsyhl = 0 , nclyhl = 0 , nhjyh = 0 , nyhhgsf = "
            "round(nysgsf, 2) , nssgsf = round(case ? when '1' then nysgsf else nysgsf *( 1 + ? / 100 ) end, 2) , "
            "nyhhclf = round(nysclf, 2) , nssclf = round(case ? when '1' then nysclf else nysclf *( 1 + ? / 100 ) "
            "end, 2) , cskxf = ? , nhykczje = 0 , nhykscjf = 0 , nhykscye = 0 where cwtsbh = ? and cgsh = ? and "
            "cwxzt = ?");
  EXPECT_EQ(names(t), (std::vector<std::string>{"is_wxzt", "ls_xchs", "ldc_gssl", "ls_xjhs", "ldc_clsl", "ls_skxf",
                                                "is_wtsbh", "gs_gsh", "is_ywxzt"}));
  EXPECT_EQ(targets(t), (std::vector<std::optional<ColumnInfo>>{kText, std::nullopt, std::nullopt, std::nullopt,
                                                                std::nullopt, kText, kText, kText, kText}));
  EXPECT_EQ(sqlite(module_sql("update svcb20c set cfph = ''")).sql,
            "update svcb20c set cfph = '' , dfprq = '1900-01-01 00:00:00' , cfplxdm = '' , nzsje = 0 , nhjje = 0 , "
            "nhjse = 0 , lcwskwb = 0 , nljsk = 0 , nclcb = 0 , nsplfcb = 0 where cwtsbh = ? and cgsh = ?");
  // A host variable stored into a decimal column is rounded as well; a
  // number literal with more places than the column keeps is too.
  EXPECT_EQ(sqlite("update wtcb01c set nscsj = :gs, lzt = 1.5, nscsj = 0.125 where cgsh = :c").sql,
            "update wtcb01c set nscsj = round(?, 2), lzt = 1.5, nscsj = round(0.125, 2) where cgsh = ?");
}

TEST_F(SqliteDialect, DateLiteralsComparedWithDatetimeColumns) {
  EXPECT_EQ(sqlite("select cwtsbh from svcb20c where djsrq = '1900/01/01' or dfprq <> '' or "
                   "'2026/12/08 14:30' <= djsrq or djsrq in ('2026-01-02', '') or cfph = '1900/01/01'")
                .sql,
            "select cwtsbh from svcb20c where djsrq = '1900-01-01 00:00:00' or dfprq <> '1900-01-01 00:00:00' or "
            "'2026-12-08 14:30:00' <= djsrq or djsrq in ('2026-01-02 00:00:00', '1900-01-01 00:00:00') or "
            "cfph = '1900/01/01'");
  // Compared after convert(), the text stays as written.
  EXPECT_THAT(sqlite(module_sql("d_svc309_01")).sql,
              HasSubstr("(replace(substr(djsrq, 1, 10), '-', '/') <> '1900/01/01')"));
}

// --- Both: INTO, blobs, transactions, targets -----------------------------------------

TEST_F(SqliteDialect, IntoBlobsAndTransactionControl) {
  Translation points = sqlite(module_sql("into :ldc_dh, :ldc_dj, :ldc_lj from club08 where nkid = :ll_kid"));
  EXPECT_EQ(points.sql,
            "select nbcdhjf , nbcdjjf , nbcljjf from club08 where nkid = ? and cdyywdh = ? and cywfl = 'SVC'");
  EXPECT_EQ(points.into, (std::vector<std::string>{"ldc_dh", "ldc_dj", "ldc_lj"}));
  EXPECT_EQ(targets(points), (std::vector<std::optional<ColumnInfo>>{kInteger, kText}));

  Translation blob = sqlite("SELECTBLOB cblob INTO :LB_JSD FROM svcb61 WHERE id = :ll_id");
  EXPECT_EQ(blob.kind, StatementKind::SelectBlob);
  EXPECT_EQ(blob.sql, "select cblob FROM svcb61 WHERE id = ?");
  EXPECT_EQ(blob.into, std::vector<std::string>{"lb_jsd"});

  Translation update = sqlite(module_sql("updateblob svcb61"));
  EXPECT_EQ(update.kind, StatementKind::UpdateBlob);
  EXPECT_EQ(update.sql, "update svcb61 set cblob = ? where id = ? and cgsh = ?");
  EXPECT_EQ(targets(update), (std::vector<std::optional<ColumnInfo>>{kBlob, kInteger, kText}));
  EXPECT_EQ(sqlite(module_sql("select scope_identity")).sql, "select last_insert_rowid ()");

  EXPECT_EQ(sqlite("commit using sqlls").kind, StatementKind::Commit);
  EXPECT_EQ(sqlite("commit using sqlls;").sql, "commit");
  EXPECT_EQ(sqlite("ROLLBACK").kind, StatementKind::Rollback);
}

TEST_F(SqliteDialect, TargetsOnlyForDirectComparisons) {
  Translation t = sqlite(
      "select a.cwtsbh from svcb20c a where :d <= a.djsrq and a.cwtsbh like :w and a.cwxzt not like :x "
      "and a.nhjje = :y + 1 and a.nhjje - 1 = :z and a.id in (:i1, :i2) and unknown_col = :u and "
      "a.id in (select id from crmc04 where crmc04.cgsh = a.cgsh and nljje > :amount)");
  EXPECT_EQ(names(t), (std::vector<std::string>{"d", "w", "x", "y", "z", "i1", "i2", "u", "amount"}));
  EXPECT_EQ(targets(t), (std::vector<std::optional<ColumnInfo>>{kDateTime, kText, kText, std::nullopt, std::nullopt,
                                                                kInteger, kInteger, std::nullopt, kMoney}));
}

// --- Errors -----------------------------------------------------------------------

TEST_F(SqliteDialect, UntranslatableTextNamesPositionAndToken) {
  EXPECT_EQ(sqlite_error("select convert(char(19), djsrq, 120) from svcb20c"),
            "cannot translate convert(): only convert(char(10), date, 111) is known near 'convert' at line 1, "
            "column 8");
  EXPECT_EQ(sqlite_error("select top 10 percent cwtsbh from svcb20c"),
            "cannot translate TOP ... PERCENT or WITH TIES near 'percent' at line 1, column 15");
  EXPECT_EQ(sqlite_error("update svcb20c set djsrq = 'tomorrow' where cwtsbh = :x"),
            "text that is no date and time for a datetime column near ''tomorrow'' at line 1, column 28");
  EXPECT_EQ(sqlite_error("update crmc04 set ngs = 0\nfrom svcb20c inner join crmc04 on svcb20c.id = crmc04.id"),
            "cannot translate UPDATE ... FROM with the updated table in a JOIN near 'crmc04' at line 2, column 25");
  EXPECT_EQ(sqlite_error("delete svcb20c from svcb20c join crmc04 on svcb20c.id = crmc04.id"),
            "cannot translate DELETE with a second FROM near 'from' at line 1, column 16");
  EXPECT_EQ(sqlite_error("select top x from t"), "TOP needs a whole number near 'top' at line 1, column 8");
}

TEST_F(TsqlDialect, StructuralErrorsAreSharedWithSqlite) {
  for (const char* text : {"select cwtsbh into newtable from svcb20c", "select (a from t", "select a) from t",
                           "select 1; select 2", "", "  -- nothing\n", "update svcb20c cwxzt = '1'",
                           "update svcb20c set cwxzt where x = 1", "insert into (a) values (1)", "commit rollback"}) {
    std::string a = sqlite_error(text), b = tsql_error(text);
    EXPECT_EQ(a, b) << text;
    EXPECT_FALSE(a.empty()) << text;
  }
  EXPECT_EQ(tsql_error("select cwtsbh into newtable from svcb20c"),
            "INTO must list host variables near 'newtable' at line 1, column 20");
  EXPECT_EQ(tsql_error("select (a from t"), "unbalanced '(' at line 1, column 8");
  EXPECT_EQ(tsql_error("select a) from t"), "unbalanced ')' at line 1, column 9");
  EXPECT_EQ(tsql_error(""), "empty statement");
  EXPECT_THAT(tsql_error("update svcb20c cwxzt = '1'"), HasSubstr("expected UPDATE table SET"));
}

TEST_F(SqliteDialect, NestingDepthIsBounded) {
  std::string deep = "select " + std::string(64, '(') + "1" + std::string(64, ')');
  EXPECT_EQ(sqlite(deep).sql, deep);
  std::string deeper = "select " + std::string(65, '(') + "1" + std::string(65, ')');
  EXPECT_THAT(sqlite_error(deeper), HasSubstr("nested deeper than 64"));
}

TEST_F(SqliteDialect, LongStatementsKeepEveryParameter) {
  std::string text = "select cwtsbh from svcb20c where id in (";
  for (int k = 0; k < 20000; ++k) text += (k ? ", :v" : ":v") + std::to_string(k);
  text += ")";
  Translation t = sqlite(text);
  ASSERT_EQ(t.params.size(), 20000u);
  EXPECT_EQ(t.params[19999].name, "v19999");
  EXPECT_EQ(t.params[19999].target, kInteger);
}

// --- Transact-SQL passthrough ------------------------------------------------------

TEST_F(TsqlDialect, OnlyPlaceholdersIntoAndBlobKeywordsChange) {
  Translation t = tsql(module_sql("from crmc04 where cdph = :dph"));
  EXPECT_EQ(t.sql, "select top 1 id from crmc04 where cdph = ? and ltybs = 0 and cgsh = dbo.f_retu_gsh()");
  EXPECT_EQ(t.into, std::vector<std::string>{"ll_id"});
  EXPECT_EQ(t.params[0].target, kText);

  EXPECT_EQ(tsql(module_sql("w_svc304.delete_terminal_job")).sql,
            "delete wtcb01c where cwtsbh = ? and cwxxmdm = ? and cgsh = ?");
  EXPECT_EQ(tsql(module_sql("set crmc04.nwxcslj = crmc04.nwxcslj - 1 , crmc04.ngs")).sql,
            "update crmc04 set crmc04.nwxcslj = crmc04.nwxcslj - 1 , crmc04.ngs = crmc04.ngs - svcb20c.ngs , "
            "crmc04.nljje = crmc04.nljje - svcb20c.nhjje from svcb20c , crmc04 where svcb20c.cwtsbh = ? and "
            "svcb20c.id = crmc04.id and svcb20c.cgsh = crmc04.cgsh and svcb20c.cgsh = ? and ltybs = 0");
  Translation reset = tsql(module_sql("update svcb20c set cwxzt = :is_wxzt"));
  EXPECT_THAT(reset.sql, HasSubstr("djsrq = '1900/01/01'"));
  EXPECT_THAT(reset.sql, HasSubstr("nssgsf = case ? when '1' then nysgsf else nysgsf *( 1 + ? / 100 ) end ,"));
  EXPECT_THAT(tsql(module_sql("d_svc309_02")).sql,
              HasSubstr("(convert(char(10),djsrq,111) >= ? ) and (convert(char(10),djsrq,111) <= ? )"));
  EXPECT_EQ(tsql(module_sql("w_svc310.set_contract_number")).sql,
            "update svcb20c set chth = ? where cwtsbh = ? and cgsh = ? and isnull(rtrim(chth), '') = ''");

  Translation blob = tsql("selectblob cblob into :lb_jsd from svcb61 where id = :ll_id");
  EXPECT_EQ(blob.kind, StatementKind::SelectBlob);
  EXPECT_EQ(blob.sql, "select cblob from svcb61 where id = ?");
  EXPECT_EQ(tsql(module_sql("updateblob svcb61")).sql,
            "update svcb61 set cblob = ? where id = ? and cgsh = ?");
  EXPECT_EQ(tsql(module_sql("select scope_identity")).sql, "select scope_identity ()");
  EXPECT_EQ(tsql("commit using sqlca").sql, "commit");
}

}  // namespace
}  // namespace kq::db
