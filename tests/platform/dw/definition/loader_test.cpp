#include "platform/dw/definition/loader.h"

#include <gtest/gtest.h>

#include "platform/dw/definition/definition_reader.h"
#include "platform/dw/definition/validation.h"

namespace kq::dw {
namespace {

using Kind = ObjectDef::Kind;

expr::FunctionRegistry& functions() {
  static expr::FunctionRegistry r = [] {
    expr::FunctionRegistry f;
    f.add("f_retu_para", 2, Type::String, [](std::span<const Value>) { return Value("1"); });
    return f;
  }();
  return r;
}

// Nested reports: d_items takes one argument, d_two two.
Result<DefinitionPtr> nested(std::string_view name) {
  auto d = std::make_shared<Definition>();
  d->name = std::string(name);
  if (name == "d_items") d->arguments.resize(1);
  else if (name == "d_two") d->arguments.resize(2);
  else return make_error("dataobject '" + std::string(name) + "' not found");
  return DefinitionPtr(d);
}

Result<DefinitionPtr> load(const std::string& text, std::string_view file = "data/d_x.yaml") {
  LoadOptions o;
  o.functions = &functions();
  o.nested = nested;
  return load_definition(text, file, o);
}

const char* const kGrid = R"yaml(name: d_list
style: grid
title: 返修处理
font: 9
page: {width: 297, height: 210, landscape: true}
arguments:
  - {name: jsrq, type: string}
  - {name: n, type: long}
query: |
  SELECT cwtsbh, cwxzt, nkk, dsxrq, lshbs, ckhmc FROM v_svc300_01 WHERE convert(char(10),djsrq,111) <= :jsrq
columns:
  - {name: CWTSBH, type: char(13), update: cwtsbh, key: true}
  - {name: cwxzt, type: char(1), update: true, initial: "0"}
  - {name: nkk, type: decimal(2)}
  - {name: dsxrq, type: datetime}
  - {name: lshbs, type: number}
  - {name: ckhmc, type: varchar(50)}
update: {table: svcb20c}
computes:
  - {name: cbxxsje, expression: "f_retu_para('Svc','LBXXSJE')"}
grid:
  - {column: cwtsbh, heading: 委托书编号, width: 30}
  - {column: cwxzt, heading: 维修状态, codetable: [[在修, "0"], [结清, "1"], [欠账, "2"]]}
  - {column: nkk, heading: 扣款, format: "###,##0.00",
     total: {name: compute_2, expression: "sum(nkk for all)", format: "###,###,##0.00"}}
  - {column: dsxrq, heading: 送修日期, format: yyyy/mm/dd hh:mm}
  - {column: lshbs, heading: 审核标识, checkbox: {on: 1, off: 0}}
footer:
  - {under: cwtsbh, compute: compute_1, expression: "'记录数:'+currentRow()+'/'+rowcount()"}
  - {under: cwxzt, text: 合计}
)yaml";

TEST(DefinitionLoader, GridTurnsIntoHeadingsCellsAndFooterUnderItsColumns) {
  auto r = load(kGrid, "data/d_list.yaml");
  ASSERT_TRUE(r) << r.error();
  const Definition& d = **r;
  EXPECT_EQ(d.name, "d_list");
  EXPECT_EQ(d.file, "data/d_list.yaml");
  EXPECT_EQ(d.style, Definition::Style::Grid);
  EXPECT_TRUE(d.landscape);
  EXPECT_EQ(d.page_width_mm, 297);
  EXPECT_EQ(d.font_pt, 9);
  ASSERT_EQ(d.arguments.size(), 2u);
  EXPECT_EQ(d.arguments[1].type, Type::Long);

  ASSERT_EQ(d.columns.size(), 6u);
  EXPECT_EQ(d.columns[0].name, "cwtsbh");
  EXPECT_EQ(d.columns[0].length, 13);
  EXPECT_TRUE(d.columns[0].key);
  EXPECT_EQ(d.columns[1].db_name, "cwxzt");
  EXPECT_EQ(*d.columns[1].initial, Value("0"));
  EXPECT_EQ(d.columns[2].type, Type::Decimal);
  EXPECT_EQ(d.columns[2].scale, 2);
  EXPECT_TRUE(d.columns[2].db_name.empty());
  EXPECT_EQ(d.columns[3].type, Type::DateTime);
  EXPECT_EQ(d.columns[4].type, Type::Long);
  EXPECT_EQ(d.column_index("CKHMC"), 5);
  EXPECT_EQ(d.update_table, "svcb20c");

  ASSERT_EQ(d.header.rows.size(), 1u);
  ASSERT_EQ(d.header.rows[0].objects.size(), 5u);
  EXPECT_EQ(d.header.rows[0].objects[0].name, "cwtsbh_t");
  EXPECT_EQ(d.header.rows[0].objects[0].text, "委托书编号");
  const auto& cells = d.detail.rows.at(0).objects;
  ASSERT_EQ(cells.size(), 5u);
  EXPECT_EQ(cells[0].kind, Kind::Column);
  EXPECT_EQ(cells[0].heading, "委托书编号");
  EXPECT_EQ(cells[0].width_mm, 30);
  EXPECT_EQ(cells[1].edit, EditStyle::DropDown);
  ASSERT_EQ(cells[1].codetable.size(), 3u);
  EXPECT_EQ(cells[1].codetable[2].display, "欠账");
  EXPECT_EQ(cells[1].codetable[2].data, "2");
  EXPECT_EQ(cells[3].format, "yyyy/mm/dd hh:mm");
  EXPECT_EQ(cells[4].edit, EditStyle::CheckBox);
  EXPECT_EQ(cells[4].checkbox_on, "1");

  // The total of a column and the footer objects stand under their columns.
  std::vector<std::pair<std::string, std::string>> footer;
  for (const auto& row : d.footer.rows)
    for (const auto& o : row.objects) footer.emplace_back(o.name, o.under);
  EXPECT_EQ(footer, (std::vector<std::pair<std::string, std::string>>{
                        {"compute_2", "nkk"}, {"compute_1", "cwtsbh"}, {"t_1", "cwxzt"}}));

  // Hidden computed fields come after those of the bands and are in no band.
  auto computes = d.computes();
  ASSERT_EQ(computes.size(), 3u);
  EXPECT_EQ(computes[2]->name, "cbxxsje");
  EXPECT_EQ(d.band_of(*computes[2]), nullptr);
  EXPECT_EQ(d.band_of(*d.find_object("compute_1")), &d.footer);
  EXPECT_EQ(d.find_object("NKK"), &cells[2]);
}

TEST(DefinitionLoader, FormRowsNameTheirObjects) {
  const char* text = R"yaml(name: d_x
style: report
arguments: [{name: bh, type: string}]
query: "SELECT cwtsbh, cjsrxm, lksbs FROM svcb20c WHERE cwtsbh = :bh"
columns:
  - {name: cwtsbh, type: char(13)}
  - {name: cjsrxm, type: char(8)}
  - {name: lksbs, type: long}
header:
  - [{text: 结算单, align: center, font: 16, bold: true}, {picture: p_1, file: "..\\picture\\jsd\\1.bmp"}]
detail:
  - [{text: "结算："}, {column: cjsrxm}, {column: cjsrxm, name: cjsrxm_1, border: true}]
  - {report: dw_1, dataobject: d_items, arguments: [cwtsbh]}
  - [{text: "担 保 人：", name: cdbr_t, visible: "if (cjsrxm = '2',1,0)"}, {line: l_1}]
  - [{column: cwtsbh, protect: "if (lksbs =1,1,0)"}, {column: lksbs, radio: true, codetable: [[是, 1], [否, 0]]}]
summary:
  - [{compute: c_total, expression: "count(cwtsbh for all)", format: "#0"}]
)yaml";
  auto r = load(text);
  ASSERT_TRUE(r) << r.error();
  const Definition& d = **r;
  EXPECT_EQ(d.header.rows[0].objects[0].name, "t_1");
  EXPECT_EQ(d.header.rows[0].objects[0].align, Align::Center);
  EXPECT_TRUE(d.header.rows[0].objects[0].bold);
  EXPECT_EQ(d.header.rows[0].objects[1].file, "..\\picture\\jsd\\1.bmp");
  EXPECT_EQ(d.detail.rows[0].objects[0].name, "t_2");
  EXPECT_EQ(d.detail.rows[0].objects[2].name, "cjsrxm_1");
  EXPECT_EQ(d.detail.rows[0].objects[2].column, "cjsrxm");
  const ObjectDef& report = d.detail.rows[1].objects.at(0);
  EXPECT_EQ(report.kind, Kind::Report);
  EXPECT_EQ(report.arguments, std::vector<std::string>{"cwtsbh"});
  EXPECT_EQ(d.find_object("cdbr_t")->visible, "if (cjsrxm = '2',1,0)");
  EXPECT_EQ(d.find_object("l_1")->kind, Kind::Line);
  EXPECT_EQ(d.detail.rows[3].objects[0].protect_expression, "if (lksbs =1,1,0)");
  EXPECT_EQ(d.detail.rows[3].objects[1].edit, EditStyle::Radio);
  EXPECT_EQ(d.summary.rows[0].objects[0].name, "c_total");
}

// A small valid form; the error tests change one line of it.
std::string base_form(int line, const std::string& replacement) {
  std::vector<std::string> lines = {
      "name: d_x",
      "style: form",
      "arguments:",
      "  - {name: bh, type: string}",
      "query: |",
      "  SELECT cwtsbh, ngsf FROM svcb20c WHERE cwtsbh = :bh AND cjsrq <> '12:30'",
      "columns:",
      "  - {name: cwtsbh, type: char(13)}",
      "  - {name: ngsf, type: decimal(2)}",
      "detail:",
      "  - [{text: 委托书}, {column: cwtsbh}]",
      "  - [{compute: c1, expression: \"ngsf * 2\"}]",
  };
  if (line > static_cast<int>(lines.size())) lines.push_back(replacement);
  else lines[static_cast<std::size_t>(line - 1)] = replacement;
  std::string out;
  for (const auto& l : lines) out += l + "\n";
  return out;
}

TEST(DefinitionLoader, TheBaseFormIsValid) {
  auto r = load(base_form(99, "  - [{text: end}]"));
  EXPECT_TRUE(r) << r.error();
}

struct BadCase {
  int line;
  std::string replacement;
  std::string expected;  // a part of the error
};

TEST(DefinitionLoader, ReportsEachProblemWithFileAndLine) {
  const std::vector<BadCase> cases = {
      {8, "  - {name: cwtsbh, type: char(13), heading: x}", "data/d_x.yaml:8: unknown key 'heading' in column"},
      {9, "  - {name: ngsf, type: dec(2)}", "data/d_x.yaml:9: column 'ngsf' has the unknown type 'dec(2)'"},
      {11, "  - [{text: 委托书, width: wide}, {column: cwtsbh}]", "data/d_x.yaml:11: 'width' of object must be a number"},
      {11, "  - [{text: 委托书, bold: maybe}, {column: cwtsbh}]", "data/d_x.yaml:11: 'bold' of object must be true or false"},
      {2, "style: table", "data/d_x.yaml:2: 'style' of definition must be one of grid, form, report"},
      {13, "page: wide", "data/d_x.yaml:13: a page must be a mapping of keys to values"},
      {13, "range: \"'委托书：' + bhx\"", "data/d_x.yaml:13: range: unknown name 'bhx'"},
      {13, "range: \"'委托书：' + bh\"", ""},  // a printed list's range reads the retrieval arguments
      {12, "  - [{compute: c1, expression: \"ngsf * \"}]", "data/d_x.yaml:12: computed field 'c1': syntax error"},
      {12, "  - [{compute: c1, expression: \"ngsff * 2\"}]", "data/d_x.yaml:12: computed field 'c1': unknown name 'ngsff'"},
      {12, "  - [{compute: c1, expression: \"c2 + 1\"}]", "data/d_x.yaml:12: computed field 'c1': unknown name 'c2'"},
      {12, "  - [{compute: c1, expression: \"f_nope(bh)\"}]", "data/d_x.yaml:12: computed field 'c1': unknown function 'f_nope'"},
      {12, "  - [{text: a, visible: \"if(bhx = '1',1,0)\"}]", "data/d_x.yaml:12: object 't_2' visible: unknown name 'bhx'"},
      {12, "  - [{report: dw_1, dataobject: d_missing, arguments: [cwtsbh]}]",
       "data/d_x.yaml:12: report 'dw_1': dataobject 'd_missing' not found"},
      {12, "  - [{report: dw_1, dataobject: d_two, arguments: [cwtsbh]}]",
       "data/d_x.yaml:12: report 'dw_1' passes 1 argument(s), but 'd_two' takes 2"},
      {12, "  - [{report: dw_1, dataobject: d_items, arguments: [cwtsbx]}]",
       "data/d_x.yaml:12: object 'dw_1' argument 1: unknown name 'cwtsbx'"},
      {12, "  - [{column: cwtsbh}]", "data/d_x.yaml:12: object name 'cwtsbh' is used twice (first on line 11)"},
      {12, "  - [{column: cwtsbx}]", "data/d_x.yaml:12: object 'cwtsbx' shows the unknown column 'cwtsbx'"},
      {12, "  - [{compute: ngsf, expression: \"1\"}]", "computed field 'ngsf' has the name of a column"},
      {6, "  SELECT cwtsbh, ngsf FROM svcb20c WHERE cwtsbh = :wtsbh",
       "data/d_x.yaml:5: the query uses ':wtsbh', which is no retrieval argument"},
      {8, "  - {name: cwtsbh, type: char(13), key: true}", "data/d_x.yaml:8: key column 'cwtsbh' needs 'update'"},
      {11, "  - [{text: 委托书, column: cwtsbh}]", "data/d_x.yaml:11: an object may have only one of"},
      {11, "  - [{text: 委托书}, {column: cwtsbh}", "data/d_x.yaml:12: not valid YAML"},  // where the parser notices
      {13, "  - [{compute: c2, expression: \"c1 + 1\"}, {compute: c3, expression: \"c2\"}]\n"
           "  - [{compute: c4, expression: \"c3 + ngsf\"}]",
       ""},  // valid: fields may read others in any order as long as there is no cycle
  };
  for (const BadCase& c : cases) {
    auto r = load(base_form(c.line, c.replacement));
    if (c.expected.empty()) {
      EXPECT_TRUE(r) << c.replacement << ": " << r.error();
      continue;
    }
    ASSERT_FALSE(r) << c.replacement;
    EXPECT_NE(r.error().find(c.expected), std::string::npos) << c.replacement << "\ngave: " << r.error();
  }
}

TEST(DefinitionLoader, ANameThatDiffersFromTheFileIsRefused) {
  auto r = load(base_form(99, ""), "data/d_y.yaml");
  ASSERT_FALSE(r);
  EXPECT_NE(r.error().find("data/d_y.yaml:1: the definition is named 'd_x' but its file is 'd_y.yaml'"), std::string::npos)
      << r.error();
}

TEST(DefinitionLoader, ComputedFieldsThatDependOnThemselvesAreRefused) {
  auto r = load(base_form(12, "  - [{compute: c1, expression: \"c2 + 1\"}, {compute: c2, expression: \"c1 * ngsf\"}]"));
  ASSERT_FALSE(r);
  EXPECT_NE(r.error().find("data/d_x.yaml:12: computed fields depend on themselves: c1 -> c2 -> c1"), std::string::npos)
      << r.error();
}

TEST(DefinitionLoader, ListsEveryProblemOnItsOwnLine) {
  std::string text = base_form(8, "  - {name: cwtsbh, type: char(13), colour: red}");
  text += "  - [{text: x, align: middle}]\n";
  auto r = load(text);
  ASSERT_FALSE(r);
  EXPECT_NE(r.error().find("data/d_x.yaml:8: unknown key 'colour'"), std::string::npos) << r.error();
  EXPECT_NE(r.error().find("\ndata/d_x.yaml:13: 'align' of object must be one of left, center, right"), std::string::npos)
      << r.error();
}

TEST(DefinitionLoader, GridFootersMustStandUnderShownColumns) {
  std::string text = kGrid;
  const std::string from = "{under: cwxzt, text: 合计}";
  text.replace(text.find(from), from.size(), "{under: ckhmc, text: 合计}");
  auto r = load(text, "data/d_list.yaml");
  ASSERT_FALSE(r);
  EXPECT_NE(r.error().find("stands under 'ckhmc', which is no shown grid column"), std::string::npos) << r.error();
}

TEST(DefinitionLoader, QueryPlaceholdersSkipLiteralsAndComments) {
  EXPECT_EQ(query_placeholders("select a from t where a = :Bh and b = ':x' and c = \"::y\" -- :z\n"
                               " and d >= :qsrq /* :w */ and e = :bh and f = '12:30' and g = 'it''s:q'"),
            (std::vector<std::string>{"bh", "qsrq"}));
}

TEST(DefinitionLoader, ColumnTypes) {
  EXPECT_EQ(parse_column_type("char(13)")->length, 13);
  EXPECT_EQ(parse_column_type(" VarChar( 40 ) ")->length, 40);
  EXPECT_EQ(parse_column_type("decimal(6)")->scale, 6);
  EXPECT_EQ(parse_column_type("number")->type, Type::Long);
  EXPECT_EQ(parse_column_type("datetime")->type, Type::DateTime);
  for (const char* bad : {"", "char", "char()", "char(x)", "decimal(11)", "date", "string", "char(13"})
    EXPECT_FALSE(parse_column_type(bad)) << bad;
}

}  // namespace
}  // namespace kq::dw
