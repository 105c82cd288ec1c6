// The settlement slip's expressions (title, fee lines with their tax rules,
// visibility of amounts under insurance suppression, totals, capitals), read
// from its definition d_svc305_jsd1, compiled against its columns and
// evaluated as the runtime would.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "definition_table.h"
#include "host_functions.h"

namespace kq::dw::expr {
namespace {

using testing::dec;
using testing::dt;
using testing::HostFunctions;
using testing::show;
using testing::DefinitionTable;

// The fee lines' values, each shown only when not 0 and not suppressed.
const char* const kFees[] = {"ysgsf",     "compute_5", "ysclf",      "compute_6",  "compute_7",  "compute_8",
                             "compute_9", "compute_10", "compute_11", "compute_12", "compute_13"};

class ExpressionSlip : public ::testing::Test {
 protected:
  ExpressionSlip() {
    host_.params["SVC.LBXXSJE"] = Value("1");
    host_.params["SVC.LXCHS"] = Value("1");
    host_.params["SPA.LXJHS"] = Value("1");
  }

  // A slip row: every amount 0 unless given.
  RowId slip(const std::string& cwtsbh, const std::string& cwxzt, std::map<std::string, Value> values = {}) {
    values.emplace("cwtsbh", Value(cwtsbh));
    values.emplace("cwxzt", Value(cwxzt));
    return t_.row(values);
  }
  std::string expression_of(const std::string& name) const { return t_.expression(name); }
  std::string visible_of(const std::string& name) const { return t_.visible(name); }

  std::string eval(const std::string& text, RowId row) { return show(t_.table().eval(text, row)); }

  HostFunctions host_;
  DefinitionTable t_{"d_svc305_jsd1", &host_.registry, {Value("A-2024000001"), Value("01")}};
};

TEST_F(ExpressionSlip, TitleForTheFourVariants) {
  const std::string title = expression_of("jsdbt");
  EXPECT_EQ(eval(title, slip("A-2024000001", "1")), "string:保险结算单");
  EXPECT_EQ(eval(title, slip("A-2024000001", "2")), "string:保险欠账结算单");
  EXPECT_EQ(eval(title, slip("B2024000001", "1")), "string:结算单");
  EXPECT_EQ(eval(title, slip("B2024000001", "2")), "string:欠账结算单");
  EXPECT_EQ(eval(title, slip("A2024000001", "1")), "string:保险结算单");  // "A" alone is enough for the title
}

TEST_F(ExpressionSlip, HeadingDateAndCompany) {
  host_.params["SYS.CGSMC"] = Value("示范汽修厂");
  RowId r = slip("B2024000001", "1", {{"djsrq", dt("2024/12/31 23:59:59")}});
  EXPECT_EQ(eval("gsmc", r), "string:示范汽修厂");
  EXPECT_EQ(eval("jsrq", r), "string:2024年12月31日");
  // The guarantor is shown on slips on account only.
  EXPECT_EQ(eval(visible_of("cdbr"), r), "long:0");
  EXPECT_EQ(eval(visible_of("cdbr"), slip("B2024000002", "2")), "long:1");
}

TEST_F(ExpressionSlip, ReceivableLabourFeeFollowsTheTaxParameter) {
  RowId r = slip("B2024000001", "1", {{"nysgsf", dec("100.00")}, {"ngfsl", dec("13")}});
  // Labour fees include tax (LXCHS "1"): printed as stored.
  EXPECT_EQ(eval("ysgsf", r), "decimal:100");
  // Fees exclude tax: tax added.
  host_.params["SVC.LXCHS"] = Value("0");
  EXPECT_EQ(eval("ysgsf", r), "decimal:113");
  // Missing parameter counts as not "1".
  host_.params.erase("SVC.LXCHS");
  EXPECT_EQ(eval("ysgsf", r), "decimal:113");
}

TEST_F(ExpressionSlip, FeeLinesWithTaxShownSeparately) {
  RowId r = slip("B2024000001", "1",
                 {{"xsse", Value(1)}, {"nysgsf", dec("113.00")}, {"ngfsl", dec("13")}, {"nssgsf", dec("113")},
                  {"ngfse", dec("13")}, {"nysclf", dec("50")}, {"nbjxjsl", dec("0")}, {"nglf", dec("10.50")},
                  {"nglfse", dec("0.50")}});
  EXPECT_EQ(eval("ysgsf", r), "decimal:100");  // tax taken out of a tax-inclusive fee
  EXPECT_EQ(eval("compute_5", r), "decimal:100");
  EXPECT_EQ(eval("ysclf", r), "decimal:50");
  EXPECT_EQ(eval("compute_7", r), "decimal:10");
  host_.params["SVC.LXCHS"] = Value("0");
  EXPECT_EQ(eval("ysgsf", r), "decimal:113");  // exclusive and shown separately: as stored
}

TEST_F(ExpressionSlip, ReceivableMaterialFeeFollowsItsOwnParameter) {
  RowId r = slip("B2024000001", "1", {{"nysclf", dec("200")}, {"nbjxjsl", dec("17")}});
  EXPECT_EQ(eval("ysclf", r), "decimal:200");
  host_.params["SPA.LXJHS"] = Value("0");
  EXPECT_EQ(eval("ysclf", r), "decimal:234");
  EXPECT_EQ(eval("ysgsf", r), "decimal:0");  // the labour parameter is untouched
}

TEST_F(ExpressionSlip, FeeVisibilityHidesZeroAndSuppressedAmounts) {
  RowId plain = slip("B2024000001", "1", {{"nysgsf", dec("80")}, {"nssgsf", dec("80")}});
  RowId insured = slip("A-2024000001", "1", {{"nysgsf", dec("80")}, {"nssgsf", dec("80")}});
  for (const std::string name : kFees) {
    const bool has_amount = name == "ysgsf" || name == "compute_5";
    EXPECT_EQ(eval(visible_of(name), plain), has_amount ? "long:1" : "long:0") << name;
    EXPECT_EQ(eval(visible_of(name), insured), has_amount ? "long:1" : "long:0") << name;
  }
  host_.params["SVC.LBXXSJE"] = Value("0");  // insurance suppression
  for (const std::string name : kFees) {
    const bool has_amount = name == "ysgsf" || name == "compute_5";
    EXPECT_EQ(eval(visible_of(name), plain), has_amount ? "long:1" : "long:0") << name;
    EXPECT_EQ(eval(visible_of(name), insured), "long:0") << name;
  }
}

TEST_F(ExpressionSlip, FeeVisibilityWithNullValues) {
  // A null amount is neither 0 nor suppressed: the object stays shown.
  RowId r = slip("B2024000001", "1", {{"nssgsf", Value::null(Type::Decimal)}});
  EXPECT_EQ(eval("compute_5", r), "null");
  EXPECT_EQ(eval(visible_of("compute_5"), r), "long:1");
  // Missing LBXXSJE: the suppression test is null, so a non-zero amount shows and a zero one hides.
  host_.params.erase("SVC.LBXXSJE");
  RowId insured = slip("A-2024000001", "1", {{"nssgsf", dec("5")}});
  EXPECT_EQ(eval(visible_of("compute_5"), insured), "long:1");
  EXPECT_EQ(eval(visible_of("compute_6"), insured), "long:0");
}

TEST_F(ExpressionSlip, TaxLineVisibility) {
  const std::string label = visible_of("nhjse_t");
  const std::string value = visible_of("nhjse");
  RowId plain0 = slip("B2024000001", "1");
  RowId plain1 = slip("B2024000001", "1", {{"xsse", Value(1)}});
  RowId insured1 = slip("A-2024000001", "1", {{"xsse", Value(1)}});
  EXPECT_EQ(eval(label, plain0), "long:0");
  EXPECT_EQ(eval(label, plain1), "long:1");
  EXPECT_EQ(eval(value, plain0), "long:0");
  EXPECT_EQ(eval(value, plain1), "long:1");
  EXPECT_EQ(eval(value, insured1), "long:1");
  host_.params["SVC.LBXXSJE"] = Value("0");
  EXPECT_EQ(eval(value, insured1), "long:0");
  EXPECT_EQ(eval(value, plain1), "long:1");
  RowId null_flag = slip("B2024000001", "1", {{"xsse", Value::null(Type::Long)}});
  EXPECT_EQ(eval(label, null_flag), "long:0");
  EXPECT_EQ(eval(value, null_flag), "long:0");
}

TEST_F(ExpressionSlip, TotalsVisibilityAndCapitals) {
  // Each line's label follows the visibility of its amount.
  for (const char* amount : {"nhjje", "nbcjsje", "nzsje", "nqsje", "compute_3"})
    EXPECT_EQ(visible_of(amount), visible_of(std::string(amount) + "_t")) << amount;
  const std::string total = visible_of("nhjje"), receipt = visible_of("nbcjsje"), paid = visible_of("nzsje"),
                    owed = visible_of("nqsje"), capitals = visible_of("compute_3");
  RowId none = slip("B2024000001", "1", {{"nhjje", dec("300")}, {"nqsje", dec("300")}});
  EXPECT_EQ(eval(total, none), "long:1");
  EXPECT_EQ(eval(receipt, none), "long:1");
  EXPECT_EQ(eval(paid, none), "long:0");  // nothing paid yet: hidden
  EXPECT_EQ(eval(owed, none), "long:1");
  EXPECT_EQ(eval(capitals, none), "long:1");
  EXPECT_EQ(eval("compute_3", none), "string:零元整");  // no receipt: capitals of 0

  RowId paid_row = slip("B2024000002", "1", {{"nbcjsje", dec("1234.5")}, {"nzsje", dec("1234.5")}});
  EXPECT_EQ(eval(paid, paid_row), "long:1");
  EXPECT_EQ(eval(owed, paid_row), "long:0");
  EXPECT_EQ(eval("compute_3", paid_row), "string: 壹仟贰佰叁拾肆元伍角");

  host_.params["SVC.LBXXSJE"] = Value("0");
  RowId insured = slip("A-2024000003", "1", {{"nzsje", dec("1")}, {"nqsje", dec("1")}});
  for (const std::string& e : {total, receipt, paid, owed, capitals}) EXPECT_EQ(eval(e, insured), "long:0") << e;
}

}  // namespace
}  // namespace kq::dw::expr
