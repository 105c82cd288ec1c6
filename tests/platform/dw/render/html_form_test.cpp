#include <gtest/gtest.h>

#include <algorithm>

#include "platform/dw/render/html_render.h"
#include "definition_builders.h"
#include "html_probe.h"
#include "memory_presentation.h"

namespace kq::dw {
namespace {

using testing::MemoryPresentation;
using testing::count_of;
using testing::section;

// The cancellation form's shape: labelled fields, a status radio among the
// code table, two check boxes, a protected field.
Definition settlement_form() {
  ObjectDef status = testing::column_obj("cwxzt", 80);
  status.edit = EditStyle::Radio;
  status.codetable = {{"结清", "1"}, {"欠账", "2"}, {"未结", "0"}};
  ObjectDef card = testing::column_obj("cskxf", 40);
  card.edit = EditStyle::CheckBox;
  card.checkbox_text = "刷卡消费";
  ObjectDef changed = testing::column_obj("cskxgbs", 40);
  changed.edit = EditStyle::CheckBox;
  changed.checkbox_text = "修改标识";
  ObjectDef total = testing::column_obj("nhjje", 40);
  total.protect = true;
  total.align = Align::Right;
  return testing::bands_def(
      "d_svc305_01_01", Definition::Style::Form,
      {testing::row_of({testing::text_obj("cwtsbh_t", "委托书编号", 25), testing::column_obj("cwtsbh", 40),
                        testing::text_obj("ckhmc_t", "客户名称", 25), testing::column_obj("ckhmc")}),
       testing::row_of({testing::text_obj("nhjje_t", "合计金额", 25), total}),
       testing::row_of({testing::text_obj("cwxzt_t", "结算状态", 25), status}),
       testing::row_of({card, changed})});
}

MemoryPresentation two_settlements() {
  MemoryPresentation p(settlement_form());
  p.add_row({{"cwtsbh", "W0001"}, {"ckhmc", "张三"}, {"nhjje", "100.00"}, {"cwxzt", "1"},
             {"cskxf", "1"}, {"cskxgbs", "0"}});
  p.add_row({{"cwtsbh", "W0002"}, {"ckhmc", "李四"}, {"nhjje", "250.00"}, {"cwxzt", "2"},
             {"cskxf", "0"}, {"cskxgbs", "1"}});
  return p;
}

TEST(HtmlForm, ShowsTheCurrentRecordWithLabelledEditFields) {
  MemoryPresentation p = two_settlements();
  p.set_current(2);
  HtmlOptions o;
  o.id = "dw_edit";
  std::string html = render_html(p, o);
  EXPECT_NE(html.find("class=\"kq-dw kq-form\" data-dw=\"dw_edit\" data-name=\"d_svc305_01_01\""), std::string::npos);
  EXPECT_EQ(html.find("张三"), std::string::npos);
  EXPECT_NE(html.find(">委托书编号</div>"), std::string::npos);
  EXPECT_NE(html.find("kq-field kq-left kq-edit\" style=\"flex:1 1 0\" data-object=\"ckhmc\" "
                      "data-column=\"ckhmc\" data-row=\"2\">李四</div>"),
            std::string::npos);
  // A protected column is shown read-only.
  EXPECT_NE(html.find("kq-field kq-right kq-readonly\" style=\"flex:0 1 40mm\" data-object=\"nhjje\" "
                      "data-column=\"nhjje\" data-row=\"2\">250.00</div>"),
            std::string::npos);
}

// An editable text field tells the browser its column's char(n); a
// read-only one does not.
TEST(HtmlForm, AnEditableTextFieldCarriesItsColumnsLength) {
  MemoryPresentation p = two_settlements();
  Definition& d = p.mutable_definition();
  auto it = std::find_if(d.columns.begin(), d.columns.end(), [](const ColumnDef& c) { return c.name == "ckhmc"; });
  if (it == d.columns.end()) it = d.columns.insert(d.columns.end(), ColumnDef{.name = "ckhmc"});
  it->type = Type::String;
  it->length = 50;
  p.set_current(1);
  EXPECT_NE(section(render_html(p), "data-object=\"ckhmc\"", ">").find("data-limit=\"50\""), std::string::npos);
  p.protect("ckhmc", 1);
  EXPECT_EQ(section(render_html(p), "data-object=\"ckhmc\"", ">").find("data-limit"), std::string::npos);
}

TEST(HtmlForm, ProtectedForTheRowIsReadOnly) {
  MemoryPresentation p = two_settlements();
  p.protect("ckhmc", 2);
  p.protect("cskxf", 2);
  p.set_current(1);
  std::string html = render_html(p);
  EXPECT_NE(html.find("kq-field kq-left kq-edit\" style=\"flex:1 1 0\" data-object=\"ckhmc\""), std::string::npos);
  EXPECT_EQ(section(html, "data-column=\"cskxf\"", "</label>").find("disabled"), std::string::npos);
  p.set_current(2);
  html = render_html(p);
  EXPECT_NE(html.find("kq-field kq-left kq-readonly\" style=\"flex:1 1 0\" data-object=\"ckhmc\""), std::string::npos);
  EXPECT_NE(section(html, "data-column=\"cskxf\"", "</label>").find(" disabled>"), std::string::npos);
  EXPECT_EQ(section(html, "data-column=\"cskxgbs\"", "</label>").find("disabled"), std::string::npos);
}

TEST(HtmlForm, CheckBoxesCarryTheirStateAndValues) {
  MemoryPresentation p = two_settlements();
  p.set_current(1);
  std::string html = render_html(p);
  std::string card = section(html, "data-column=\"cskxf\"", "</label>");
  std::string changed = section(html, "data-column=\"cskxgbs\"", "</label>");
  EXPECT_NE(card.find("<input type=\"checkbox\" data-on=\"1\" data-off=\"0\" checked>"), std::string::npos);
  EXPECT_NE(card.find("<span>刷卡消费</span>"), std::string::npos);
  EXPECT_EQ(changed.find("checked"), std::string::npos);
  EXPECT_NE(changed.find("<span>修改标识</span>"), std::string::npos);

  p.set_current(2);
  html = render_html(p);
  EXPECT_EQ(section(html, "data-column=\"cskxf\"", "</label>").find("checked"), std::string::npos);
  EXPECT_NE(section(html, "data-column=\"cskxgbs\"", "</label>").find("checked"), std::string::npos);
}

TEST(HtmlForm, RadioOffersTheCodeTableInOrderWithTheStoredChoiceMarked) {
  MemoryPresentation p = two_settlements();
  p.set_current(2);
  HtmlOptions o;
  o.id = "dw_edit";
  std::string radio = section(render_html(p, o), "data-column=\"cwxzt\"", "</div>");
  EXPECT_EQ(testing::element_texts(radio, "label"), (std::vector<std::string>{"结清", "欠账", "未结"}));
  EXPECT_EQ(testing::attribute_values(radio, "value"), (std::vector<std::string>{"1", "2", "0"}));
  EXPECT_EQ(count_of(radio, " checked"), 1);
  EXPECT_NE(radio.find("value=\"2\" checked>欠账"), std::string::npos);
  EXPECT_EQ(count_of(radio, "name=\"dw_edit-cwxzt-2\""), 3);
  EXPECT_EQ(radio.find("disabled"), std::string::npos);
}

TEST(HtmlForm, AStoredCodeOutsideTheTableMarksNoChoiceButStillShows) {
  MemoryPresentation p(settlement_form());
  p.add_row({{"cwxzt", "9"}});
  std::string radio = section(render_html(p), "data-column=\"cwxzt\"", "</div>");
  EXPECT_EQ(count_of(radio, " checked"), 0);
  EXPECT_NE(radio.find("<span class=\"kq-other\">9</span>"), std::string::npos);
}

TEST(HtmlForm, NotEditableDisablesInputsAndUnmarksFields) {
  MemoryPresentation p = two_settlements();
  HtmlOptions o;
  o.editable = false;
  std::string html = render_html(p, o);
  EXPECT_EQ(html.find("kq-edit"), std::string::npos);
  EXPECT_EQ(count_of(html, "<input"), 5);  // three choices, two check boxes
  EXPECT_EQ(count_of(html, " disabled"), 5);
}

TEST(HtmlForm, HiddenFieldKeepsItsPlaceAndAWhollyHiddenLineGoes) {
  MemoryPresentation p = two_settlements();
  p.hide("ckhmc");
  p.hide("nhjje_t");
  p.hide("nhjje");
  std::string html = render_html(p);
  EXPECT_EQ(html.find("张三"), std::string::npos);
  EXPECT_NE(html.find("<div class=\"kq-obj kq-hidden\" style=\"flex:1 1 0\" data-object=\"ckhmc\"></div>"),
            std::string::npos);
  EXPECT_EQ(html.find("合计金额"), std::string::npos);
  EXPECT_EQ(html.find("nhjje"), std::string::npos);
  EXPECT_EQ(count_of(html, "class=\"kq-line\""), 3);
}

TEST(HtmlForm, WithoutRowsOnlyTheBandsAroundTheDetailShow) {
  Definition def = settlement_form();
  def.header.rows.push_back(testing::row_of({testing::text_obj("t_title", "取消结算")}));
  MemoryPresentation p(def);
  std::string html = render_html(p);
  EXPECT_NE(html.find("取消结算"), std::string::npos);
  EXPECT_EQ(html.find("委托书编号"), std::string::npos);
  EXPECT_TRUE(p.rows_asked().empty());
}

}  // namespace
}  // namespace kq::dw
