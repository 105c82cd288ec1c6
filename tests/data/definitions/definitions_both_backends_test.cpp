// Every definition retrieves the same rows from the demo shop on the
// embedded default and on PostgreSQL: the rows of each, written as JSON
// (every column and computed field), are the same text. Rows are compared in
// a canonical order: where a query leaves the order of rows open (ties of its
// ORDER BY, or none), each engine may choose its own, e.g. the order of the
// index a day range searches.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "definitions_support.h"
#include "framework/session.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/datawindow/value_json.h"
#include "platform/ui/scripted_ui.h"
#include "support/server_demo_shop.h"

namespace kq::dw {
namespace {

constexpr const char* kToday = "2026/12/08";

// A signed-in session of company 01 on one backend of the demo.
struct Desk {
  explicit Desk(const db::ConnectOptions& options) {
    session.g.gs_gsh = "01";
    session.g.gs_yhdm = "001";
    session.g.gd_xtrq = *DateTime::parse(kToday);
    session.ui = &ui;
    auto connected = session.connect(options);
    EXPECT_TRUE(connected) << connected.error();
  }
  std::string pick(const std::string& sql) {
    Str v;
    session.sqlca.exec(sql, {{"v", db::out(v)}});
    EXPECT_EQ(session.sqlca.sqlcode, 0) << sql << ": " << session.sqlca.sqlerrtext;
    return v.value_or("");
  }
  // The rows of `name` retrieved with `args`, as JSON, in the order of their text.
  std::string rows(const std::string& name, const std::vector<Value>& args) {
    fw::SessionScope scope(session);
    DataWindow dw;
    if (dw.dataobject(name) != 1) return "dataobject: " + dw.last_error();
    dw.settransobject(session.sqlca);
    if (dw.retrieve(args) < 0) return "retrieve: " + dw.last_error() + " / " + session.sqlca.sqlerrtext;
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (long row = 1; row <= dw.rowcount(); ++row) {
      nlohmann::ordered_json obj = nlohmann::ordered_json::object();
      for (const auto& c : dw.definition().columns) obj[c.name] = item_to_json(dw.getitem(row, c.name));
      for (const auto* c : dw.definition().computes()) obj[c->name] = item_to_json(dw.evaluate(c->expression, row));
      out.push_back(std::move(obj));
    }
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.dump() < b.dump(); });
    return out.dump(1);
  }
  ui::ScriptedUi ui;
  fw::Session session;
};

TEST(DefinitionsOnBothBackends, EveryDefinitionRetrievesTheSameRowsFromTheServer) {
  KQ_NEED_SERVER();
  kq::testing::register_host_functions();
  kq::testing::DemoOnBothBackends demo(kToday);
  ASSERT_TRUE(demo.has_server());
  Desk lite(demo.sqlite_options()), server(demo.server_options());
  const auto args = kq::testing::demo_arguments([&](const std::string& sql) { return lite.pick(sql); }, kToday);
  size_t with_rows = 0;
  for (const std::string& name : kq::testing::module_definitions()) {
    SCOPED_TRACE(name);
    auto it = args.find(name);
    ASSERT_NE(it, args.end()) << name << " has no arguments in this test";
    const std::string expected = lite.rows(name, it->second);
    EXPECT_EQ(server.rows(name, it->second), expected);
    if (expected.size() > 4) ++with_rows;
  }
  EXPECT_EQ(with_rows, kq::testing::module_definitions().size()) << "every definition finds demo rows";
}

}  // namespace
}  // namespace kq::dw
