#include <gtest/gtest.h>

#include "platform/dw/render/html_render.h"
#include "platform/dw/render/html_stylesheet.h"
#include "definition_builders.h"
#include "html_probe.h"
#include "memory_presentation.h"

namespace kq::dw {
namespace {

using testing::MemoryPresentation;
using testing::count_of;
using testing::section;

// A slip: a heading, the vehicle line, the nested repair items, fee lines.
Definition slip() {
  ObjectDef title = testing::compute_obj("compute_title");
  title.align = Align::Center;
  title.font_pt = 16;
  title.bold = true;
  ObjectDef customer = testing::column_obj("ckhmc", 60);
  customer.border = true;
  ObjectDef fee = testing::compute_obj("compute_5", 30);
  fee.align = Align::Right;
  return testing::bands_def(
      "d_svc305_jsd1", Definition::Style::Report,
      {testing::row_of({testing::text_obj("t_1", "客  户", 20), customer,
                        testing::text_obj("t_2", "车  型", 20), testing::column_obj("ccxmc")}),
       testing::row_of({testing::report_obj("dw_1", "d_svc305_jsd1_01")}),
       testing::row_of({testing::text_obj("t_3", "实收工时费：", 30), fee}),
       testing::row_of({}, 12)},
      {testing::row_of({title})}, {}, {testing::row_of({testing::text_obj("t_4", "地址：", 15)})});
}

std::shared_ptr<MemoryPresentation> items() {
  auto p = std::make_shared<MemoryPresentation>(testing::grid_def(
      "d_svc305_jsd1_01", {testing::column_obj("cwxxmdm", 25, "修理项目代码"), testing::column_obj("cxmmc", 0, "项目名称")}));
  p->add_row({{"cwxxmdm", "X001"}, {"cxmmc", "更换机油"}});
  p->add_row({{"cwxxmdm", "X002"}, {"cxmmc", "四轮定位"}});
  return p;
}

TEST(HtmlReport, PageSizedContainerWithTheBandsInOrder) {
  MemoryPresentation p(slip());
  p.add_row({{"ckhmc", "张三"}, {"ccxmc", "桑塔纳"}});
  p.set_text("compute_title", "结算单");
  p.set_text("compute_5", "120.00");
  std::string html = render_html(p);
  EXPECT_NE(html.find("<div class=\"kq-page\" style=\"width:210mm;min-height:297mm;padding:10mm\">"),
            std::string::npos);
  const size_t header = html.find("kq-band kq-header"), detail = html.find("kq-band kq-detail"),
               footer = html.find("kq-band kq-footer");
  ASSERT_NE(header, std::string::npos);
  EXPECT_LT(header, detail);
  EXPECT_LT(detail, footer);
  EXPECT_LT(html.find("结算单"), html.find("客  户"));
  EXPECT_LT(html.find("120.00"), html.find("地址："));
  // Widths in CSS mm; 0 shares the rest; the title's type; a ruled field.
  EXPECT_NE(html.find("style=\"flex:0 1 20mm\" data-object=\"t_1\">客  户</div>"), std::string::npos);
  EXPECT_NE(html.find("kq-field kq-left kq-border kq-readonly\" style=\"flex:0 1 60mm\" "
                      "data-object=\"ckhmc\" data-column=\"ckhmc\">张三"),
            std::string::npos);
  EXPECT_NE(html.find("style=\"flex:1 1 0\" data-object=\"ccxmc\""), std::string::npos);
  EXPECT_NE(html.find("kq-center kq-bold kq-readonly\" style=\"flex:1 1 0;font-size:16pt\""), std::string::npos);
  EXPECT_NE(html.find("<div class=\"kq-line\" style=\"min-height:12mm\"></div>"), std::string::npos);
  // A preview offers nothing to edit.
  EXPECT_EQ(html.find("kq-edit"), std::string::npos);
  EXPECT_EQ(html.find("data-row=\"1\" "), std::string::npos);
}

TEST(HtmlReport, HiddenObjectsAreLeftOutAndWhollyHiddenLinesTakeNoSpace) {
  MemoryPresentation p(slip());
  p.add_row({{"ckhmc", "张三"}, {"ccxmc", "桑塔纳"}});
  p.set_text("compute_5", "120.00");
  p.hide("ckhmc");
  p.hide("t_3");
  p.hide("compute_5");
  std::string html = render_html(p);
  EXPECT_EQ(html.find("张三"), std::string::npos);
  EXPECT_NE(html.find("客  户"), std::string::npos);
  // The hidden value's cell is ruled: it keeps its border.
  EXPECT_NE(html.find("<div class=\"kq-obj kq-hidden kq-border\" style=\"flex:0 1 60mm\" data-object=\"ckhmc\"></div>"),
            std::string::npos);
  EXPECT_EQ(html.find("实收工时费"), std::string::npos);
  EXPECT_EQ(html.find("120.00"), std::string::npos);
  EXPECT_EQ(html.find("compute_5"), std::string::npos);
}

TEST(HtmlReport, NestedListIsInlineAsARuledTable) {
  MemoryPresentation p(slip());
  p.add_row({{"ckhmc", "张三"}});
  p.set_nested("dw_1", items());
  std::string html = render_html(p);
  std::string nested = section(html, "data-object=\"dw_1\">", "</table>");
  EXPECT_NE(nested.find("<table class=\"kq-grid kq-ruled\""), std::string::npos);
  EXPECT_EQ(testing::element_texts(section(nested, "<thead>", "</thead>"), "th"),
            (std::vector<std::string>{"修理项目代码", "项目名称"}));
  EXPECT_EQ(testing::element_texts(section(nested, "<tbody>", "</tbody>"), "td"),
            (std::vector<std::string>{"X001", "更换机油", "X002", "四轮定位"}));
  // Between the vehicle line and the fee line.
  EXPECT_LT(html.find("张三"), html.find("更换机油"));
  EXPECT_LT(html.find("四轮定位"), html.find("实收工时费"));
}

TEST(HtmlReport, NestedReportOfBandsRepeatsItsDetailPerRow) {
  auto notes = std::make_shared<MemoryPresentation>(testing::bands_def(
      "d_notes", Definition::Style::Report, {testing::row_of({testing::column_obj("note")})},
      {testing::row_of({testing::text_obj("t_h", "说明：")})}));
  notes->add_row({{"note", "第一条"}});
  notes->add_row({{"note", "第二条"}});
  notes->add_row({{"note", "第三条"}});
  MemoryPresentation p(slip());
  p.add_row({});
  p.set_nested("dw_1", notes);
  std::string html = render_html(p);
  EXPECT_EQ(count_of(html, "kq-band kq-detail"), 4);  // the slip's one, the notes' three
  EXPECT_LT(html.find("说明："), html.find("第一条"));
  EXPECT_LT(html.find("第一条"), html.find("第二条"));
  EXPECT_LT(html.find("第二条"), html.find("第三条"));
}

TEST(HtmlReport, DetailBandOncePerRowAndMissingNestedShowsNothing) {
  MemoryPresentation p(slip());
  p.add_row({{"ckhmc", "甲"}});
  p.add_row({{"ckhmc", "乙"}});
  std::string html = render_html(p);
  EXPECT_EQ(testing::attribute_values(html, "data-row"), (std::vector<std::string>{"1", "2"}));
  EXPECT_LT(html.find("甲"), html.find("乙"));
  EXPECT_NE(html.find("<div class=\"kq-obj kq-nested kq-left\" style=\"flex:1 1 0\" data-object=\"dw_1\"></div>"),
            std::string::npos);
}

// A data window that nests itself (a broken definition) ends after a few levels.
TEST(HtmlReport, SelfNestingStopsAtTheNestingLimit) {
  auto p = std::make_shared<MemoryPresentation>(testing::bands_def(
      "d_loop", Definition::Style::Report,
      {testing::row_of({testing::text_obj("t", "层"), testing::report_obj("dw_self", "d_loop")})}));
  p->add_row({});
  p->set_nested("dw_self", p);
  std::string html = render_html(*p);
  EXPECT_EQ(count_of(html, ">层<"), 9);  // the report and eight levels of nesting
  p->set_nested("dw_self", nullptr);      // break the cycle for the shared pointer
}

// Printed from the browser, a preview's sheet is the definition's page: the
// slip A4 portrait, the exit pass half a sheet, a list too wide for portrait
// landscape; the page element carries the margins.
TEST(HtmlReport, PreviewCarriesItsPageSize) {
  MemoryPresentation slip_page(slip());
  EXPECT_NE(render_html(slip_page).find("<style>@page{size:210mm 297mm;margin:0}</style>"), std::string::npos);

  Definition half = slip();
  half.page_width_mm = 210;
  half.page_height_mm = 148;
  MemoryPresentation pass(half);
  EXPECT_NE(render_html(pass).find("@page{size:210mm 148mm;margin:0}"), std::string::npos);

  std::vector<ObjectDef> columns;
  for (int i = 0; i < 8; ++i) columns.push_back(testing::column_obj("c" + std::to_string(i), 30, "列" + std::to_string(i)));
  MemoryPresentation wide(testing::grid_def("d_wide", columns));
  HtmlOptions preview;
  preview.mode = HtmlOptions::Mode::Preview;
  const std::string html = render_html(wide, preview);
  EXPECT_NE(html.find("@page{size:297mm 210mm;margin:0}"), std::string::npos) << html.substr(0, 300);
  EXPECT_NE(html.find("style=\"width:297mm;min-height:210mm;padding:10mm\""), std::string::npos);
}

TEST(HtmlReport, DocumentCarriesTheStylesheetAndTitle) {
  Definition def = slip();
  def.title = "结算单";
  MemoryPresentation p(def);
  HtmlOptions o;
  o.document = true;
  std::string html = render_html(p, o);
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(html.find("<meta charset=\"utf-8\"><title>结算单</title>"), std::string::npos);
  EXPECT_NE(html.find(std::string(html_stylesheet())), std::string::npos);
  EXPECT_NE(html_stylesheet().find("\"WenQuanYi Micro Hei\",sans-serif"), std::string::npos);
  EXPECT_EQ(html.substr(html.size() - 14), "</body></html>");
  EXPECT_NE(html.find("@page{size:210mm 297mm"), std::string::npos);
}

}  // namespace
}  // namespace kq::dw
