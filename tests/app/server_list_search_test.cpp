// The list as a cashier works it at the workstation: the one highlighted
// row is the current row whatever moved it, Enter opens that row (its tab
// names the work order), and the search box narrows the list on the server.
#include <mutex>

#include "framework/module_menu.h"
#include "server_list_fixture.h"

namespace kq::testing {
namespace {

using nlohmann::json;

class ServerListSearch : public ServerListTest {
 protected:
  // "row 3 current, selected [3]": what the grid highlights against its current row.
  std::string highlight() {
    const json all = items();
    std::string current = "none", selected;
    for (const json& row : all["rows"]) {
      if (row["current"] == true) current = std::to_string(row["row"].get<long>());
      if (row["selected"] == true) selected += (selected.empty() ? "" : ",") + std::to_string(row["row"].get<long>());
    }
    return "row " + current + " current, selected [" + selected + "]";
  }
  std::string number_at(long row) {
    const json all = items();
    for (const json& r : all["rows"])
      if (r["row"] == row) return r["items"]["cwtsbh"];
    return "";
  }
  json window_state(int id) {
    Reply all = call("GET", "/api/windows", "", token_);
    for (const json& w : all.body["windows"])
      if (w["id"] == id) return w;
    return nullptr;
  }

};

TEST_F(ServerListSearch, OneHighlightEnterOpensItAndASearchNarrowsTheList) {
  const json all = items();
  const long total = all["rowcount"];
  ASSERT_GE(total, 3) << "the demo lists settlements of the day";
  EXPECT_EQ(highlight(), "row 1 current, selected [1]");
  event({{"control", "dw_display"}, {"event", "clicked"}, {"row", 3}, {"column", "cwtsbh"}});
  EXPECT_EQ(highlight(), "row 3 current, selected [3]") << "a click";
  event({{"control", "dw_display"}, {"event", "rowfocuschanged"}, {"row", 2}});
  EXPECT_EQ(highlight(), "row 2 current, selected [2]") << "an arrow key";

  // A search: the rows whose shown texts hold it, counted against the total;
  // the highlight on a row still shown. The empty search shows them all.
  const std::string wanted = all["rows"][2]["items"]["cwtsbh"];
  ASSERT_EQ(event({{"control", "dw_display"}, {"event", "search"}, {"text", wanted}}).status, 200);
  json grid = control(window_state(list_), "dw_display");
  EXPECT_EQ(grid["rowcount"], 1);
  EXPECT_EQ(grid["searchtotal"], total);
  EXPECT_EQ(grid["search"], wanted);
  EXPECT_EQ(number_at(1), wanted);
  EXPECT_EQ(highlight(), "row 1 current, selected [1]");
  // Enter opens the highlighted work order; its tab names it.
  Reply opened = event({{"control", "dw_display"}, {"event", "doubleclicked"}, {"row", 1}});
  ASSERT_EQ(opened.status, 200) << opened.raw;
  const json edit = window_state(opened.body["active"]);
  EXPECT_EQ(edit["title"], "取消结算");
  EXPECT_EQ(edit["caption"], "取消结算 " + wanted);
  EXPECT_EQ(window_state(list_)["caption"], "取消结算");
  event({{"control", "dw_display"}, {"event", "search"}, {"text", ""}});
  EXPECT_EQ(control(window_state(list_), "dw_display")["rowcount"], total);

  // Refused: no text, a text too long, a control that is not a list, a window not open.
  EXPECT_EQ(event({{"control", "dw_display"}, {"event", "search"}}).status, 400);
  EXPECT_EQ(event({{"control", "dw_display"}, {"event", "search"}, {"text", std::string(300, 'x')}}).status, 400);
  EXPECT_EQ(event({{"control", "em_1"}, {"event", "search"}, {"text", "1"}}).status, 404);
  EXPECT_EQ(event({{"control", "dw_display"}, {"event", "search"}, {"text", "1"}}, 999).status, 404);
}

}  // namespace
}  // namespace kq::testing
