#pragma once
// A minimal SQLite schema covering every table, view and column that the
// module's statements use, in the storage conventions of the embedded
// default: DATETIME columns hold "YYYY-MM-DD HH:MM:SS", decimals are
// REAL(18,scale), flags and longs INTEGER, texts CHAR(n)/VARCHAR(n). The club
// database's tables are tables of the same file named kq_club_<table>.
//
// Views that combine current and history rows are real views; the work-order
// view v_svc300_01 joins the header svcb20c with the customer and vehicle
// data of fx_customer.
#include <string>

namespace kq::db::testing {

// Columns of the work-order header.
inline constexpr const char* kSvcb20cColumns = R"(
  cwtsbh CHAR(13), cgsh CHAR(2), id INTEGER, cwxzt CHAR(1), djsrq DATETIME, cjsfs CHAR(2), cdbr CHAR(8),
  cscbs CHAR(1), cscbs1 CHAR(1), ngs REAL(18,2), nysgsf REAL(18,2), nyhhgsf REAL(18,2), nssgsf REAL(18,2),
  nysclf REAL(18,2), nyhhclf REAL(18,2), nssclf REAL(18,2), ngsyhl REAL(18,2), nclyhl REAL(18,2),
  nhjyh REAL(18,2), nhjje REAL(18,2), nzsje REAL(18,2), nhjse REAL(18,2), nclcb REAL(18,2), nsplfcb REAL(18,2),
  nljsk REAL(18,2), lcwskwb INTEGER, npljsxh INTEGER, npzid INTEGER, cfph CHAR(18), dfprq DATETIME,
  cfplxdm CHAR(1), cskxf CHAR(1), cskxgbs CHAR(1), nhykbcjf REAL(18,2), nhykbcxfje REAL(18,2),
  nhykczje REAL(18,2), nhykscjf REAL(18,2), nhykscye REAL(18,2), chth CHAR(13), cjydh CHAR(13), cbgfs CHAR(1))";

// Columns that the work-order view adds to the header (customer, vehicle, fees).
inline constexpr const char* kCustomerColumns = R"(
  ckhdm CHAR(18), ckhmc VARCHAR(50), ckhdz VARCHAR(50), cdh CHAR(20), cyb CHAR(6), ckhh VARCHAR(30),
  clxr CHAR(8), clxrdh CHAR(20), cpzh CHAR(12), ccxdm VARCHAR(50), cdph CHAR(17), cfdjh CHAR(30), ccxmc VARCHAR(30),
  nxslc REAL(18,4), dsxrq DATETIME, dydjc DATETIME, dccrq DATETIME, cgsde CHAR(2), lshbs INTEGER,
  lqqbs INTEGER, nwxcslj INTEGER, nljje REAL(18,2), cczydm CHAR(3), cczymc CHAR(8), cfwgwxm CHAR(8),
  cjsydm CHAR(3), cjsrxm CHAR(8), nbgf REAL(18,2), nsjf REAL(18,2), nglf REAL(18,2), nfcf REAL(18,2),
  nqtfy1 REAL(18,2), nqtfy2 REAL(18,2), nqtfy3 REAL(18,2), nbgfse REAL(18,2), nsjfse REAL(18,2),
  nglfse REAL(18,2), nfcfse REAL(18,2), nqtfyse1 REAL(18,2), nqtfyse2 REAL(18,2), nqtfyse3 REAL(18,2),
  ngfse REAL(18,2), nclse REAL(18,2), ngfsl REAL(18,2), nbjxjsl REAL(18,2), nspgf REAL(18,2),
  nsplf REAL(18,2), ccp CHAR(4), chykh CHAR(18), czhzt CHAR(1), czhbh CHAR(10), cyszkkm CHAR(15),
  lsbbs INTEGER)";

inline constexpr const char* kSvcb20dColumns = R"(
  cwtsbh CHAR(13), cwxxmdm CHAR(8), cxmmc VARCHAR(30), cxz CHAR(1), ngs REAL(18,2), ngsf REAL(18,2),
  ngsyhl REAL(18,2), lzjxm INTEGER, cbzdm CHAR(4), czxrdm CHAR(3), lwcbs INTEGER, lfgbs INTEGER, cgwdm CHAR(2), cgsh CHAR(2))";

inline constexpr const char* kSvcb50Columns = R"(
  cwtsbh CHAR(13), ckhdm CHAR(18), ckhmc VARCHAR(50), cpzh CHAR(12), ccxdm VARCHAR(50), cwxxmdm CHAR(8),
  cxmmc VARCHAR(30), ngs REAL(18,2), ngsf REAL(18,2), nkk REAL(18,2), cbzdm CHAR(4), czxrdm CHAR(3),
  dfxrq DATETIME, cczydm CHAR(3), cwxgwdm CHAR(2), cgwdm CHAR(2), lksbs INTEGER, lwcbs INTEGER, lzt INTEGER,
  cgsh CHAR(2))";

inline constexpr const char* kClub01cColumns = R"(
  id INTEGER PRIMARY KEY, ckh CHAR(18), cgsh CHAR(2), ndhjf REAL(18,2), ndjjf REAL(18,2), nljjf REAL(18,2),
  nknye REAL(18,2), lsdbs INTEGER, ltybs INTEGER, lblbs INTEGER, dyxrq DATETIME, dhfdqr DATETIME)";

inline constexpr const char* kClub08Columns = R"(
  nkid INTEGER, cdyywdh CHAR(13), cywfl CHAR(3), nbcdhjf REAL(18,2), nbcdjjf REAL(18,2), nbcljjf REAL(18,2),
  cgsh CHAR(2))";

inline constexpr const char* kClub07Columns = R"(cdyywdh CHAR(13), cywfl CHAR(3), nje REAL(18,2), cgsh CHAR(2))";

// The shop database (schema main).
inline std::string fixture_schema() {
  std::string s;
  auto table = [&](const std::string& name, const std::string& columns) {
    s += "CREATE TABLE " + name + " (" + columns + ");\n";
  };
  table("svcb20c", kSvcb20cColumns);
  table("fx_customer", std::string("cwtsbh CHAR(13), cgsh CHAR(2), ") + kCustomerColumns);
  s += "CREATE VIEW v_svc300_01 AS SELECT svcb20c.*, " +
       std::string(
           "ckhdm, ckhmc, ckhdz, cdh, cyb, ckhh, clxr, clxrdh, cpzh, ccxdm, cdph, cfdjh, ccxmc, nxslc, dsxrq, dydjc, "
           "dccrq,"
           " cgsde, lshbs, lqqbs, nwxcslj, nljje, cczydm, cczymc, cfwgwxm, cjsydm, cjsrxm, nbgf, nsjf, nglf, nfcf,"
           " nqtfy1, nqtfy2, nqtfy3, nbgfse, nsjfse, nglfse, nfcfse, nqtfyse1, nqtfyse2, nqtfyse3, ngfse, nclse,"
           " ngfsl, nbjxjsl, nspgf, nsplf, ccp, chykh, czhzt, czhbh, cyszkkm, lsbbs") +
       " FROM svcb20c JOIN fx_customer ON fx_customer.cwtsbh = svcb20c.cwtsbh AND fx_customer.cgsh = svcb20c.cgsh;\n";
  s += "CREATE VIEW v_svc300_01_all AS SELECT * FROM v_svc300_01;\n";
  table("svcb20d", kSvcb20dColumns);
  table("svcb20d_h", kSvcb20dColumns);
  s += "CREATE VIEW v_svcb20d_svcb20d_h AS SELECT * FROM svcb20d UNION ALL SELECT * FROM svcb20d_h;\n";
  table("svcb50", kSvcb50Columns);
  table("svcb50_h", kSvcb50Columns);
  s += "CREATE VIEW v_svcb50_svcb50_h AS SELECT * FROM svcb50 UNION ALL SELECT * FROM svcb50_h;\n";
  table("wtcb01c",
        "dxcrq DATETIME, cwtslsh CHAR(13), cwtsbh CHAR(13), cpzh CHAR(12), ckh CHAR(8), cwxxmdm CHAR(8),"
        " cwxgwdm CHAR(2), dpgsj DATETIME, lzjbs INTEGER, lfxbs INTEGER, lzt INTEGER, nscsj REAL(18,2),"
        " cgwdm CHAR(2), cgsh CHAR(2)");
  table("wtcc01", "cwxgwdm CHAR(2), cwxgwmc VARCHAR(20), cgsh CHAR(2)");
  table("wtcc05", "cgskzqdm CHAR(2), cgskzqmc VARCHAR(20), cgsh CHAR(2)");
  table("v_wtcc01",
        "cwxgwdm CHAR(2), cwxgwmc VARCHAR(20), cgskzqdm CHAR(2), cgskzqmc VARCHAR(20), ltybs INTEGER,"
        " cgsh CHAR(2)");
  table("wtci90", "nsjdw REAL(18,2), cgsh CHAR(2)");
  table("sysc02", "cbmdm CHAR(4), cbmmc VARCHAR(20), cbmsx CHAR(1), lmjbmbs INTEGER, ltybs INTEGER, cgsh CHAR(2)");
  table("sysc03", "cgrdm CHAR(3), cgrmc CHAR(8), cgsh CHAR(2)");
  table("v_bm_gr_grlb",
        "cgrdm CHAR(3), cgrmc CHAR(8), cssbmdm CHAR(4), cbmmc VARCHAR(20), cgrlbdm CHAR(1),"
        " ltybs INTEGER, cgsh CHAR(2)");
  table("v_svc300_bzxz", "cbmdm CHAR(4), cbmmc VARCHAR(20), czt CHAR(8), dwgrq DATETIME, cgsh CHAR(2)");
  table("v_svc300_zxrxz",
        "cgrdm CHAR(3), cgrmc CHAR(8), cssbmdm CHAR(4), cbmmc VARCHAR(20), czt CHAR(8),"
        " dwgrq DATETIME, cgsh CHAR(2)");
  table("v_wtc304_01",
        "cwtsbh CHAR(13), ckhdm CHAR(18), ckhmc VARCHAR(50), cpzh CHAR(12), ccxdm VARCHAR(50),"
        " ccxmc VARCHAR(30), cgsh CHAR(2)");
  table("svcc04", "ccxdm VARCHAR(50), ccxmc VARCHAR(30), cgsh CHAR(2)");
  table("svcc03", "cgsde CHAR(2), lsygsdj INTEGER, ngsdj REAL(18,2), cgsh CHAR(2)");
  table("svcc90", "cwtslb CHAR(1), lmfbs INTEGER, cgsh CHAR(2)");
  table("crmc04",
        "id INTEGER PRIMARY KEY, cdph CHAR(17), cpzh CHAR(12), ltybs INTEGER, ngs REAL(18,2),"
        " nmfwxcs INTEGER, nbycs INTEGER, nwxcslj INTEGER, nljje REAL(18,2), cgsh CHAR(2)");
  table("spac01", "cbjdm VARCHAR(50), cbjmc VARCHAR(40), cjldw CHAR(4), cgsh CHAR(2)");
  table("acpi03", "cjsfsdm CHAR(2), cjsfsmc VARCHAR(30), csfbs CHAR(1), cgsh CHAR(2)");
  table("v_spab02c_spab02d",
        "cdydbh CHAR(13), cbjdm VARCHAR(50), cbjbm VARCHAR(40), nrcdj REAL(18,6),"
        " nrcsl REAL(18,2), nrcje REAL(18,2), ccklb CHAR(1), nclyhl REAL(18,2), cph CHAR(10),"
        " cgsh CHAR(2)");
  table("svcb25",
        "cwtsbh CHAR(13), cbjdm VARCHAR(50), cbjbm VARCHAR(40), nckdj REAL(18,6), ncksl REAL(18,2),"
        " cgsh CHAR(2)");
  table("sysb13", "id INTEGER PRIMARY KEY, cbs CHAR(1), cdydjh CHAR(13), nbcjsje REAL(18,2), cgsh CHAR(2)");
  table("sysi90", "cssxt CHAR(3), ccsdm VARCHAR(20), ccsz VARCHAR(60), cgsh CHAR(2)");
  table("sysb12", "cdydjlb CHAR(2), ndyfs INTEGER, cgsh CHAR(2)");
  table("svcb61",
        "id INTEGER PRIMARY KEY, ctype CHAR(1), nver INTEGER, cwtsbh CHAR(13), dsxrq DATETIME,"
        " djsrq DATETIME, ckhmc VARCHAR(50), ccxmc VARCHAR(30), cpzh CHAR(12), cdph CHAR(17),"
        " cjszt CHAR(1), nhjje REAL(18,2), nysje REAL(18,2), ddate DATETIME, cfwgwmc CHAR(8),"
        " cczydm CHAR(3), cczymc CHAR(8), cbz VARCHAR(200), cgsh CHAR(2), cblob BLOB");
  table("svcb22c", "cwtsbh CHAR(13), clb CHAR(1), cgsh CHAR(2)");
  table("svcb22c_h", "cwtsbh CHAR(13), clb CHAR(1), cgsh CHAR(2)");
  s += "CREATE VIEW v_svcb22c_all AS SELECT * FROM svcb22c UNION ALL SELECT * FROM svcb22c_h;\n";
  table("svcb11d2", "czhdm CHAR(10), cdph CHAR(17), czt CHAR(1), cgsh CHAR(2)");
  table("club01c", kClub01cColumns);
  table("club03", "ncldaid INTEGER, nkid INTEGER, cgsh CHAR(2)");
  table("club08", kClub08Columns);
  table("club07", kClub07Columns);
  table("club01d", "ckh CHAR(18), cwtsbh CHAR(13), cgsh CHAR(2)");
  table("vipb01", "nclid INTEGER, lsdbs INTEGER, ltybs INTEGER, dyxrq DATETIME, cgsh CHAR(2)");
  table("kq_finance_call",
        "id INTEGER PRIMARY KEY, cwtsbh CHAR(13), drq DATETIME, cczydm CHAR(3), chs VARCHAR(30), cgsh CHAR(2)");
  return s;
}

// The club database's tables, in the shop file.
inline std::string fixture_club_schema() {
  return std::string("CREATE TABLE kq_club_club01c (") + kClub01cColumns + ");\n" + "CREATE TABLE kq_club_club08 (" +
         kClub08Columns + ");\n" + "CREATE TABLE kq_club_club07 (" + kClub07Columns + ");\n";
}

}  // namespace kq::db::testing
