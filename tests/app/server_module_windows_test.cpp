// The module's own windows through the workstation's requests: sorting a
// list by its headings, the commands a window offers, and reading what a data
// window shows as items.
#include <algorithm>
#include <mutex>

#include "framework/module_menu.h"
#include "server_list_fixture.h"

namespace kq::testing {
namespace {

using nlohmann::json;

class ServerModuleWindows : public ServerListTest {
 protected:
  Reply click_heading(const std::string& column) {
    return event({{"control", "dw_display"}, {"event", "clicked"}, {"row", 0}, {"column", column}});
  }
  json items(int first = 1, int count = 1000) {
    Reply r = call("GET", "/api/windows/" + std::to_string(list_) + "/controls/dw_display/items", "", token_,
                   {{"first", std::to_string(first)}, {"count", std::to_string(count)}});
    EXPECT_EQ(r.status, 200) << r.raw;
    return r.body;
  }
  std::vector<std::string> column_texts(const std::string& column) {
    std::vector<std::string> out;
    const json all = items();
    for (const json& row : all["rows"]) out.push_back(row["items"][column]);
    return out;
  }
  std::vector<double> amounts() {
    std::vector<double> out;
    for (std::string t : column_texts("nhjje")) {
      t.erase(std::remove(t.begin(), t.end(), ','), t.end());
      out.push_back(std::stod(t));
    }
    return out;
  }
  json grid_sort() {
    Reply all = call("GET", "/api/windows", "", token_);
    for (const json& w : all.body["windows"])
      if (w["id"] == list_) return control(w, "dw_display")["sort"];
    return nullptr;
  }
  std::string current_number() {
    const json all = items();
    for (const json& row : all["rows"])
      if (row["current"] == true) return row["items"]["cwtsbh"];
    return "";
  }

};

TEST_F(ServerModuleWindows, AHeadingClickSortsAscendingThenDescending) {
  const std::vector<double> before = amounts();
  ASSERT_GT(before.size(), 5u);
  EXPECT_EQ(grid_sort(), json::array());

  Reply first = click_heading("nhjje");
  ASSERT_EQ(first.status, 200) << first.raw;
  ASSERT_FALSE(window_in(first, list_).is_null()) << "the sorted list travels with the answer";
  EXPECT_EQ(control(window_in(first, list_), "dw_display")["sort"], json::parse(R"([{"column":"nhjje","descending":false}])"));
  std::vector<double> up = before;
  std::sort(up.begin(), up.end());
  EXPECT_EQ(amounts(), up);

  ASSERT_EQ(click_heading("nhjje").status, 200);
  EXPECT_EQ(grid_sort(), json::parse(R"([{"column":"nhjje","descending":true}])"));
  std::vector<double> down = before;
  std::sort(down.rbegin(), down.rend());
  EXPECT_EQ(amounts(), down);

  ASSERT_EQ(click_heading("nhjje").status, 200);
  EXPECT_EQ(grid_sort(), json::parse(R"([{"column":"nhjje","descending":false}])")) << "a third click: ascending again";
}

TEST_F(ServerModuleWindows, AnotherHeadingSortsByItsColumnAloneAndTheCurrentRecordStays) {
  ASSERT_EQ(event({{"control", "dw_display"}, {"event", "clicked"}, {"row", 3}, {"column", "cwtsbh"}}).status, 200);
  const std::string current = current_number();
  ASSERT_FALSE(current.empty());
  click_heading("nhjje");
  click_heading("cwtsbh");
  EXPECT_EQ(grid_sort(), json::parse(R"([{"column":"cwtsbh","descending":false}])"));
  const std::vector<std::string> numbers = column_texts("cwtsbh");
  EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
  EXPECT_EQ(current_number(), current) << "the current row is the same work order";
}

TEST_F(ServerModuleWindows, TheOrderStaysWhenAnotherDayIsListed) {
  click_heading("cwtsbh");
  click_heading("cwtsbh");
  Reply listed = event({{"control", "em_1"}, {"event", "ue_key"}, {"key", 13}, {"text", "2026/12/07"}});
  ASSERT_EQ(listed.status, 200) << listed.raw;
  const std::vector<std::string> numbers = column_texts("cwtsbh");
  ASSERT_FALSE(numbers.empty());
  EXPECT_TRUE(std::is_sorted(numbers.rbegin(), numbers.rend()));
  EXPECT_EQ(grid_sort(), json::parse(R"([{"column":"cwtsbh","descending":true}])"));
}

TEST_F(ServerModuleWindows, AHeadingOfNoColumnChangesNothing) {
  const std::vector<std::string> before = column_texts("cwtsbh");
  for (const char* column : {"compute_1", "no_such_column", ""}) {
    Reply r = click_heading(column);
    EXPECT_EQ(r.status, 200) << column << r.raw;
  }
  EXPECT_EQ(grid_sort(), json::array());
  EXPECT_EQ(column_texts("cwtsbh"), before);
}

TEST_F(ServerModuleWindows, TheCancellationListOffersAndAcceptsNoInsertOrDelete) {
  Reply all = call("GET", "/api/windows", "", token_);
  ASSERT_EQ(all.status, 200) << all.raw;
  std::vector<std::string> offered;
  for (const json& w : all.body["windows"])
    if (w["id"] == list_)
      for (const json& b : w["menu"]["toolbar"]) offered.push_back(b["text"]);
  EXPECT_EQ(offered, (std::vector<std::string>{"修改", "刷新", "关闭"}));

  const std::vector<std::string> before = column_texts("cwtsbh");
  for (const char* command : {"ue_do_delete", "ue_do_insert"}) {
    Reply r = event({{"control", ""}, {"event", command}});
    EXPECT_EQ(r.status, 403) << command << ": " << r.raw;
    EXPECT_FALSE(r.body.contains("dialog")) << command << " asked the person something: " << r.raw;
  }
  EXPECT_EQ(column_texts("cwtsbh"), before);
}

TEST_F(ServerModuleWindows, ItemsAreTheShownTextsOfTheGridWithItsHeadings) {
  json all = items(1, 2);
  EXPECT_EQ(all["style"], "grid");
  EXPECT_EQ(all["dataobject"], "d_svc305_01");
  EXPECT_GT(all["rowcount"].get<long>(), 5);
  ASSERT_FALSE(all["columns"].empty());
  EXPECT_EQ(all["columns"][0], json::parse(R"({"name":"cwtsbh","heading":"委托书编号"})"));
  ASSERT_EQ(all["rows"].size(), 2u);
  EXPECT_EQ(all["rows"][0]["row"], 1);
  const json& first = all["rows"][0]["items"];
  EXPECT_TRUE(first["cwxzt"] == "结清" || first["cwxzt"] == "欠账") << "code tables are applied: " << first;
  EXPECT_EQ(first["djsrq"].get<std::string>().size(), 10u) << "display formats are applied: " << first;

  const long rows = all["rowcount"];
  json tail = items(static_cast<int>(rows), 10);
  EXPECT_EQ(tail["rows"].size(), 1u) << "rows past the end are left out";
}

TEST_F(ServerModuleWindows, ItemsOfWhatIsNotThereAreRefused) {
  auto get = [&](const std::string& path, std::map<std::string, std::string> query = {}) {
    return call("GET", path, "", token_, std::move(query)).status;
  };
  const std::string base = "/api/windows/" + std::to_string(list_) + "/controls/";
  EXPECT_EQ(get(base + "dw_nothing/items"), 404);
  EXPECT_EQ(get(base + "em_1/items"), 404);
  EXPECT_EQ(get("/api/windows/999/controls/dw_display/items"), 404);
  EXPECT_EQ(get(base + "dw_display/items", {{"first", "0"}}), 400);
  EXPECT_EQ(get(base + "dw_display/items", {{"count", "1001"}}), 400);
  EXPECT_EQ(call("GET", base + "dw_display/items").status, 401);
}

}  // namespace
}  // namespace kq::testing
