#include "platform/dw/render/html_grid.h"

#include <gtest/gtest.h>

#include "platform/dw/render/html_render.h"
#include "definition_builders.h"
#include "html_probe.h"
#include "memory_presentation.h"

namespace kq::dw {
namespace {

using testing::MemoryPresentation;
using testing::count_of;
using testing::element_texts;
using testing::section;

// The rework list's shape: code, name, amount with a total, a check box.
Definition rework_list() {
  ObjectDef nkk = testing::column_obj("nkk", 25, "扣款");
  nkk.align = Align::Right;
  ObjectDef lksbs = testing::column_obj("lksbs", 12, "开始标识");
  lksbs.edit = EditStyle::CheckBox;
  lksbs.checkbox_on = "1";
  ObjectDef total = testing::compute_obj("compute_2");
  total.align = Align::Right;
  return testing::grid_def(
      "d_svc304_01",
      {testing::column_obj("cwtsbh", 30, "委托书编号"), testing::column_obj("ckhmc", 40, "客户名称"),
       testing::column_obj("cbzdm", 15, "班组代码"), nkk, lksbs},
      {testing::under("cwtsbh", testing::compute_obj("compute_1")),
       testing::under("ckhmc", testing::text_obj("t_sum", "合计")), testing::under("nkk", total)});
}

MemoryPresentation rework_rows(long n) {
  MemoryPresentation p(rework_list());
  for (long i = 1; i <= n; ++i) {
    p.add_row({{"cwtsbh", "W" + std::to_string(i)}, {"ckhmc", "客户" + std::to_string(i)},
               {"cbzdm", "B1"}, {"nkk", "1.00"}, {"lksbs", i % 2 ? "1" : "0"}});
  }
  p.set_text("compute_1", "记录数:1/" + std::to_string(n));
  p.set_text("compute_2", std::to_string(n) + ".00");
  return p;
}

TEST(HtmlGrid, HeadingsRowsAndRowMarks) {
  MemoryPresentation p = rework_rows(3);
  p.set_current(2);
  p.select(3);
  std::string html = render_html(p);
  EXPECT_EQ(element_texts(section(html, "<thead>", "</thead>"), "th"),
            (std::vector<std::string>{"委托书编号", "客户名称", "班组代码", "扣款", "开始标识"}));
  EXPECT_EQ(testing::attribute_values(section(html, "<tbody>", "</tbody>"), "data-row"),
            (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_NE(html.find("<tr class=\"kq-row kq-current\" data-row=\"2\">"), std::string::npos);
  EXPECT_NE(html.find("<tr class=\"kq-row kq-selected\" data-row=\"3\">"), std::string::npos);
  EXPECT_NE(html.find("<tr class=\"kq-row\" data-row=\"1\">"), std::string::npos);
  EXPECT_EQ(element_texts(section(html, "data-row=\"2\">", "</tr>"), "td"),
            (std::vector<std::string>{"W2", "客户2", "B1", "1.00", ""}));
  // Cells name their column for the browser's events; widths reach the columns.
  EXPECT_NE(html.find("data-column=\"ckhmc\">客户1</td>"), std::string::npos);
  EXPECT_NE(html.find("<col style=\"width:40mm\">"), std::string::npos);
}

TEST(HtmlGrid, CheckBoxCellsShowTheirState) {
  MemoryPresentation p = rework_rows(2);
  std::string html = render_html(p);
  std::string row1 = section(html, "data-row=\"1\">", "</tr>");
  std::string row2 = section(html, "data-row=\"2\">", "</tr>");
  EXPECT_NE(row1.find("type=\"checkbox\" data-on=\"1\" data-off=\"0\" checked"), std::string::npos);
  EXPECT_NE(row2.find("type=\"checkbox\""), std::string::npos);
  EXPECT_EQ(row2.find("checked"), std::string::npos);
  EXPECT_EQ(html.find("disabled"), std::string::npos);

  p.protect("lksbs", 2);  // a protect expression true on row 2 only
  html = render_html(p);
  EXPECT_EQ(section(html, "data-row=\"1\">", "</tr>").find("disabled"), std::string::npos);
  EXPECT_NE(section(html, "data-row=\"2\">", "</tr>").find(" disabled>"), std::string::npos);
}

TEST(HtmlGrid, HiddenColumnsAreLeftOutAndHiddenCellsLeftEmpty) {
  Definition def = rework_list();
  def.detail.rows[0].objects[2].visible = "0";  // cbzdm never shown
  MemoryPresentation p(def);
  p.add_row({{"cwtsbh", "W1"}, {"ckhmc", "张三"}, {"cbzdm", "SECRET"}, {"nkk", "1.00"}});
  p.add_row({{"cwtsbh", "W2"}, {"ckhmc", "李四"}, {"cbzdm", "SECRET"}, {"nkk", "2.00"}});
  p.hide("ckhmc_t");       // heading hidden: the whole column goes
  p.hide("lksbs");         // hidden on every row (as modify does): the column goes
  p.hide("nkk", 2);        // one cell hidden
  std::string html = render_html(p);
  EXPECT_EQ(html.find("SECRET"), std::string::npos);
  EXPECT_EQ(html.find("张三"), std::string::npos);
  EXPECT_EQ(html.find("班组代码"), std::string::npos);
  EXPECT_EQ(html.find("lksbs"), std::string::npos);
  EXPECT_EQ(element_texts(section(html, "<thead>", "</thead>"), "th"),
            (std::vector<std::string>{"委托书编号", "扣款"}));
  EXPECT_EQ(element_texts(section(html, "data-row=\"1\">", "</tr>"), "td"),
            (std::vector<std::string>{"W1", "1.00"}));
  EXPECT_EQ(element_texts(section(html, "data-row=\"2\">", "</tr>"), "td"),
            (std::vector<std::string>{"W2", ""}));
  EXPECT_EQ(html.find("2.00"), std::string::npos);
}

TEST(HtmlGrid, FooterObjectsStandUnderTheirColumns) {
  MemoryPresentation p = rework_rows(4);
  std::string html = render_html(p);
  EXPECT_EQ(element_texts(section(html, "<tfoot>", "</tfoot>"), "td"),
            (std::vector<std::string>{"记录数:1/4", "合计", "", "4.00", ""}));
}

TEST(HtmlGrid, FooterUnderAHiddenColumnMovesLeftAndHiddenFooterObjectsGo) {
  MemoryPresentation p = rework_rows(4);
  p.hide("ckhmc_t");   // 合计 stood under ckhmc
  p.hide("compute_2");  // the total is hidden
  std::string html = render_html(p);
  EXPECT_EQ(element_texts(section(html, "<tfoot>", "</tfoot>"), "td"),
            (std::vector<std::string>{"记录数:1/4 合计", "", "", ""}));
}

TEST(HtmlGrid, RowWindowWritesOnlyItsRowsAndKeepsTheHeight) {
  MemoryPresentation p = rework_rows(100);
  HtmlOptions o;
  o.first_row = 11;
  o.row_window = 5;
  o.row_height_px = 20;
  std::string html = render_html(p, o);
  EXPECT_EQ(testing::attribute_values(section(html, "<tbody>", "</tbody>"), "data-row"),
            (std::vector<std::string>{"11", "12", "13", "14", "15"}));
  EXPECT_NE(html.find("style=\"height:200px\""), std::string::npos);   // rows 1..10
  EXPECT_NE(html.find("style=\"height:1700px\""), std::string::npos);  // rows 16..100
  EXPECT_NE(html.find("--kq-row-height:20px"), std::string::npos);
  // Rows outside the window were never evaluated.
  for (long row : p.rows_asked()) EXPECT_TRUE((row >= 11 && row <= 15) || row == 1) << row;
  // The footer still covers the whole list.
  EXPECT_NE(html.find("记录数:1/100"), std::string::npos);
}

TEST(HtmlGrid, RowWindowIsClampedToTheRows) {
  EXPECT_EQ(grid_row_window(10, 8, 5).first, 8);
  EXPECT_EQ(grid_row_window(10, 8, 5).last, 10);
  EXPECT_EQ(grid_row_window(10, 0, 3).first, 1);
  EXPECT_EQ(grid_row_window(10, 0, 3).last, 3);
  EXPECT_EQ(grid_row_window(10, 50, 5).size(), 0);
  EXPECT_EQ(grid_row_window(0, 1, 0).size(), 0);
  EXPECT_EQ(grid_row_window(10, 4, 0).size(), 7);

  MemoryPresentation p = rework_rows(10);
  HtmlOptions o;
  o.first_row = 50;
  o.row_window = 5;
  std::string html = render_html(p, o);
  EXPECT_TRUE(testing::attribute_values(section(html, "<tbody>", "</tbody>"), "data-row").empty());
  EXPECT_NE(html.find("height:240px"), std::string::npos);  // all ten rows above
}

TEST(HtmlGrid, MetricsGiveTheFullHeight) {
  MemoryPresentation p = rework_rows(1000);
  HtmlOptions o;
  o.row_height_px = 22;
  GridMetrics m = html_grid_metrics(p, o);
  EXPECT_EQ(m.row_count, 1000);
  EXPECT_EQ(m.row_height_px, 22);
  EXPECT_EQ(m.heading_height_px, 22);
  EXPECT_EQ(m.footer_height_px, 22);  // one footer line
  EXPECT_EQ(m.total_height_px, 22LL * 1002);

  MemoryPresentation bare(testing::grid_def("d_y", {testing::column_obj("a", 10, "A")}));
  EXPECT_EQ(html_grid_metrics(bare, o).footer_height_px, 0);
  EXPECT_EQ(html_grid_metrics(bare, o).total_height_px, 22);
}

TEST(HtmlGrid, ModifiedHeadingTextIsShown) {
  MemoryPresentation p = rework_rows(1);
  p.set_text("cwtsbh_t", "工单号");
  std::string html = render_html(p);
  EXPECT_EQ(element_texts(section(html, "<thead>", "</thead>"), "th").front(), "工单号");
}

TEST(HtmlGrid, PreviewOfAGridIsARuledListOfAllRows) {
  MemoryPresentation p = rework_rows(30);
  p.mutable_definition().title = "返修记录";
  HtmlOptions o;
  o.mode = HtmlOptions::Mode::Preview;
  o.first_row = 5;
  o.row_window = 2;  // ignored by a preview
  std::string html = render_html(p, o);
  EXPECT_NE(html.find("class=\"kq-page\""), std::string::npos);
  EXPECT_NE(html.find("<div class=\"kq-title\">返修记录</div>"), std::string::npos);
  EXPECT_NE(html.find("kq-grid kq-ruled"), std::string::npos);
  EXPECT_EQ(testing::attribute_values(section(html, "<tbody>", "</tbody>"), "data-row").size(), 30u);
  EXPECT_EQ(html.find("kq-spacer"), std::string::npos);
  EXPECT_EQ(count_of(html, " disabled"), 30);  // check boxes of a preview are read-only
}

}  // namespace
}  // namespace kq::dw
