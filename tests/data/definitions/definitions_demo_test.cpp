// Every definition retrieves from the demo shop with the arguments its window
// would pass, and renders as HTML (and the printed forms as PDF) without
// error. The demo is built once for the suite with a fixed business date.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "data/demo/demo_shop.h"
#include "definitions_support.h"
#include "framework/session.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/render/html_render.h"
#include "platform/dw/render/pdf_render.h"
#include "platform/ui/scripted_ui.h"

namespace kq::dw {
namespace {

constexpr const char* kToday = "2026/12/08";

class DefinitionsDemo : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    kq::testing::register_host_functions();
    dir_ = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                     ("kq_defs_demo_" + std::to_string(getpid())));
    std::filesystem::create_directories(*dir_);
    demo::DemoOptions options;
    options.today = demo::parse_business_date(kToday);
    options.hash_password = [](std::string_view p) { return "plain:" + std::string(p); };
    auto built = demo::build_demo_files(*dir_ / "shop.db", options, true);
    ASSERT_TRUE(built) << built.error();
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    std::filesystem::remove_all(*dir_, ec);
    delete dir_;
    dir_ = nullptr;
  }

  void SetUp() override {
    session_.g.gs_gsh = "01";
    session_.g.gs_yhdm = "001";
    session_.g.gd_xtrq = *DateTime::parse(kToday);
    session_.ui = &ui_;
    db::ConnectOptions options;
    options.database = (*dir_ / "shop.db").string();
    auto connected = session_.connect(options);
    ASSERT_TRUE(connected) << connected.error();
    scope_ = std::make_unique<fw::SessionScope>(session_);
  }
  void TearDown() override { scope_.reset(); }

  // The first value a query gives, or "" (the query selects one text into :v).
  std::string pick(const std::string& sql) {
    Str v;
    session_.sqlca.exec(sql, {{"v", db::out(v)}});
    EXPECT_EQ(session_.sqlca.sqlcode, 0) << sql << ": " << session_.sqlca.sqlerrtext;
    return v.value_or("");
  }

  // Retrieves `name` with `args`; expects at least one row and clean renders.
  void retrieve_and_render(const std::string& name, const std::vector<Value>& args) {
    SCOPED_TRACE(name);
    DataWindow dw;
    ASSERT_EQ(dw.dataobject(name), 1) << dw.last_error();
    dw.settransobject(session_.sqlca);
    long rows = dw.retrieve(args);
    ASSERT_GE(rows, 1) << dw.last_error() << " / " << session_.sqlca.sqlerrtext;

    HtmlOptions html;
    html.document = true;
    std::string page = render_html(dw, html);
    EXPECT_NE(page.find("data-name=\"" + name + "\""), std::string::npos);
    if (dw.definition().style != Definition::Style::Grid) {
      HtmlOptions preview;
      preview.mode = HtmlOptions::Mode::Preview;
      EXPECT_FALSE(render_html(dw, preview).empty());
      auto pdf = render_pdf(dw);
      ASSERT_TRUE(pdf) << pdf.error();
      EXPECT_EQ(pdf->substr(0, 5), "%PDF-");
    }
    rendered_.insert(name);
  }

  static std::filesystem::path* dir_;
  ui::ScriptedUi ui_;
  fw::Session session_;
  std::unique_ptr<fw::SessionScope> scope_;
  std::set<std::string> rendered_;
};

std::filesystem::path* DefinitionsDemo::dir_ = nullptr;

TEST_F(DefinitionsDemo, EveryDefinitionRetrievesAndRenders) {
  const auto args = kq::testing::demo_arguments([&](const std::string& sql) { return pick(sql); }, kToday);
  for (const std::string& name : kq::testing::module_definitions()) {
    auto it = args.find(name);
    ASSERT_NE(it, args.end()) << name << " has no arguments in this test";
    retrieve_and_render(name, it->second);
  }
  EXPECT_EQ(rendered_.size(), kq::testing::module_definitions().size());
}

// The history lists and forms see what the current ones do not.
TEST_F(DefinitionsDemo, HistoryDefinitionsReachHistoryWorkOrders) {
  const std::string history = pick("select top 1 cwtsbh into :v from svcb20c_h where cgsh = '01' order by cwtsbh");
  ASSERT_FALSE(history.empty());
  for (auto [current, all] : {std::pair{"d_svc310_03_now", "d_svc310_03"}, {"d_svc310_04", "d_svc310_05"},
                              {"d_svc303_01_04", "d_svc303_01_04_h"}}) {
    DataWindow now, both;
    ASSERT_EQ(now.dataobject(current), 1);
    ASSERT_EQ(both.dataobject(all), 1);
    now.settransobject(session_.sqlca);
    both.settransobject(session_.sqlca);
    EXPECT_EQ(now.retrieve(history), 0) << current;
    EXPECT_EQ(both.retrieve(history), 1) << all;
    EXPECT_EQ(both.getitemstring(1, "cwtsbh"), history) << all;
  }
}

}  // namespace
}  // namespace kq::dw
