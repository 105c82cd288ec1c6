#include "test_database.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>

#include <unistd.h>

#include "data/schema/database_files.h"

namespace kq::dw::testing {
namespace fs = std::filesystem;

TestDatabase::TestDatabase() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  // Shared memory keeps the many small test databases off the disk where it is there.
  std::error_code ec;
  fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
  folder_ = base /
            ("kq_dw_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + "_" + std::to_string(rd()));
  fs::create_directories(folder_);
  schema::OpenOptions options;
  options.create = true;
  {
    auto files = schema::open_database_files(folder_ / "shop.db", options);
    if (!files) ADD_FAILURE() << "cannot create the test database: " << files.error();
  }
  db::ConnectOptions connect;
  connect.database = (folder_ / "shop.db").string();
  connect.company = "01";
  if (auto r = sqlca.connect(connect); !r) ADD_FAILURE() << "cannot connect: " << r.error();
}

TestDatabase::~TestDatabase() {
  sqlca.disconnect();
  std::error_code ec;
  fs::remove_all(folder_, ec);
}

void TestDatabase::run(std::string_view sql, std::initializer_list<db::HostVar> vars) {
  if (sqlca.exec(sql, vars) != 0) ADD_FAILURE() << sql << ": " << sqlca.sqlerrtext;
  if (sqlca.commit() != 0) ADD_FAILURE() << "commit: " << sqlca.sqlerrtext;
}

void TestDatabase::connect_other(db::Transaction& other) const {
  db::ConnectOptions connect;
  connect.database = (folder_ / "shop.db").string();
  connect.company = "01";
  if (auto r = other.connect(connect); !r) ADD_FAILURE() << "cannot connect: " << r.error();
}

void add_rework(TestDatabase& db, const std::string& wtsbh, const std::string& xmdm, const std::string& xmmc,
                const std::string& ngs, const std::string& ngsf, const std::string& nkk, const std::string& dfxrq) {
  db.run("insert into svcb50 (cwtsbh, cwxxmdm, cgsh, cxmmc, ngs, ngsf, nkk, dfxrq) "
         "values (:bh, :dm, '01', :mc, :ngs, :ngsf, :nkk, :rq)",
         {{"bh", wtsbh}, {"dm", xmdm}, {"mc", xmmc}, {"ngs", *Decimal::parse(ngs)}, {"ngsf", *Decimal::parse(ngsf)},
          {"nkk", *Decimal::parse(nkk)}, {"rq", *DateTime::parse(dfxrq)}});
}

}  // namespace kq::dw::testing

namespace kq::dw::testing {

const char* const kReworkGrid = R"yaml(name: d_rework
style: grid
arguments:
  - {name: bh, type: string}
query: |
  SELECT svcb50.cwtsbh, svcb50.cwxxmdm, svcb50.cxmmc, svcb50.ngs, svcb50.ngsf, svcb50.nkk,
         svcb50.dfxrq, svcb50.lksbs, svcb50.cgsh
  FROM svcb50
  WHERE svcb50.cwtsbh like :bh and svcb50.cgsh = dbo.f_retu_gsh()
  ORDER BY svcb50.cwtsbh, svcb50.cwxxmdm
columns:
  - {name: cwtsbh, type: char(13), update: cwtsbh, key: true}
  - {name: cwxxmdm, type: char(8), update: cwxxmdm, key: true}
  - {name: cxmmc, type: char(30), update: cxmmc}
  - {name: ngs, type: decimal(2), update: ngs}
  - {name: ngsf, type: decimal(2), update: ngsf}
  - {name: nkk, type: decimal(2), update: nkk}
  - {name: dfxrq, type: datetime, update: dfxrq}
  - {name: lksbs, type: number, update: lksbs}
  - {name: cgsh, type: char(2), update: cgsh, key: true, initial: "01"}
update: {table: svcb50}
grid:
  - {column: cwtsbh, heading: 委托书编号}
  - {column: cwxxmdm, heading: 维修项目代码}
  - {column: cxmmc, heading: 项目名称}
  - {column: ngs, heading: 工时, format: "###,##0.00"}
  - {column: ngsf, heading: 工时费, format: "###,##0.00"}
  - {column: nkk, heading: 扣款, format: "###,##0.00",
     total: {name: compute_2, expression: "sum(nkk for all)", format: "###,###,##0.00"}}
  - {column: dfxrq, heading: 返修日期, format: "yyyy/mm/dd hh:mm"}
  - {column: lksbs, heading: 开始标识, checkbox: {on: 1, off: 0}}
footer:
  - {under: cwtsbh, compute: compute_1, expression: "'记录数:'+currentRow()+'/'+rowcount()"}
  - {under: cwxxmdm, text: 合计}
)yaml";

}  // namespace kq::dw::testing

namespace kq::dw::testing {

void add_rows(DataWindow& dw, const std::vector<std::vector<Value>>& rows) {
  for (const auto& values : rows) {
    long r = dw.insertrow(0);
    ASSERT_GT(r, 0) << dw.last_error();
    for (std::size_t c = 0; c < values.size(); ++c)
      ASSERT_EQ(dw.setitem(r, static_cast<int>(c + 1), values[c]), 1) << dw.last_error();
  }
  dw.resetupdate();
}

const char* const kOrdersGrid = R"yaml(name: d_orders
style: grid
query: "SELECT cwtsbh, cwxzt, lqqbs, nhjje, djsrq, bs FROM v_orders"
columns:
  - {name: cwtsbh, type: char(13)}
  - {name: cwxzt, type: char(1)}
  - {name: lqqbs, type: number}
  - {name: nhjje, type: decimal(2)}
  - {name: djsrq, type: datetime}
  - {name: bs, type: char(1)}
grid:
  - {column: cwtsbh, heading: 委托书编号}
  - {column: cwxzt, heading: 结算状态, codetable: [[在修, "0"], [结清, "1"], [欠账, "2"]]}
  - {column: lqqbs, heading: 前欠, checkbox: {text: 前欠, on: 1, off: 0}}
  - {column: nhjje, heading: 合计金额, format: "###,##0.00",
     total: {name: t_nhjje, expression: "sum(nhjje for all)", format: "###,###,##0.00"}}
  - {column: djsrq, heading: 结算日期, format: yyyy/mm/dd}
  - {column: bs, heading: 标识, visible: "if(lqqbs = 1, 0, 1)"}
footer:
  - {under: cwtsbh, compute: compute_1, expression: "'记录数:'+currentRow()+'/'+rowcount()"}
  - {under: cwxzt, text: 合计}
)yaml";

std::string rendering(const Presentation& p) {
  std::string out;
  const long n = p.row_count();
  for (const ObjectDef* o : p.definition().objects()) {
    for (long row = n == 0 ? 0 : 1; row <= n; ++row) {  // as renderers ask: row 0 only without rows
      out += o->name + "@" + std::to_string(row) + ": ";
      if (!p.visible(*o, row)) out += "[hidden] ";
      out += p.display_text(*o, row);
      if (o->edit == EditStyle::CheckBox) out += p.checked(*o, row) ? " [x]" : " [ ]";
      if (const Presentation* nested = o->kind == ObjectDef::Kind::Report ? p.nested(*o, row) : nullptr)
        out += "{\n" + rendering(*nested) + "}";
      out += "\n";
    }
  }
  return out;
}

}  // namespace kq::dw::testing

namespace kq::dw::testing {

CountingFunctions::CountingFunctions() {
  registry.add("f_para", 2, Type::String, [this](std::span<const Value> args) {
    ++calls;
    if (args[1].is_null()) return Value::null(Type::String);
    return Value(args[1].str() == "2" ? std::string("0") : args[1].str());
  });
}

void add_slip_definitions(InlineDefinitions& defs) {
  defs.add("d_slip", R"yaml(name: d_slip
style: report
arguments: [{name: bh, type: string}]
query: |
  SELECT cwtsbh, count(*) as n, sum(ngsf) as ngsf FROM svcb50
  WHERE cwtsbh like :bh AND cgsh = dbo.f_retu_gsh() GROUP BY cwtsbh ORDER BY cwtsbh
columns:
  - {name: cwtsbh, type: char(13)}
  - {name: n, type: long}
  - {name: ngsf, type: decimal(2)}
computes:
  - {name: cbxxsje, expression: "f_para('Svc', string(n))"}
header:
  - [{compute: title, expression: "if(left(cwtsbh,1) = 'A','保险结算单','结算单')", align: center}]
detail:
  - [{text: "委托书："}, {column: cwtsbh}, {text: "工时费：", name: ngsf_t}, {column: ngsf, format: "###,##0.00",
     visible: "if(ngsf = 0 or (cbxxsje = '0' and left(cwtsbh,2) = 'A-'),0,1)"}]
  - [{report: dw_items, dataobject: d_items, arguments: [cwtsbh]}]
summary:
  - [{compute: total, expression: "sum(ngsf for all)", format: "#,###.00"}]
)yaml");
  defs.add("d_items", R"yaml(name: d_items
style: grid
arguments: [{name: bh, type: string}]
query: "SELECT cwxxmdm, cxmmc, ngsf FROM svcb50 WHERE cwtsbh = :bh ORDER BY cwxxmdm"
columns:
  - {name: cwxxmdm, type: char(8)}
  - {name: cxmmc, type: char(30)}
  - {name: ngsf, type: decimal(2)}
computes:
  - {name: shown, expression: "f_para('svc', cwxxmdm)"}
grid:
  - {column: cwxxmdm, heading: 修理项目代码}
  - {column: cxmmc, heading: 项目名称}
  - {column: ngsf, heading: 工时费, format: "###,###,##0.00", visible: "if(shown = 'X02', 0, 1)"}
)yaml");
}

}  // namespace kq::dw::testing
