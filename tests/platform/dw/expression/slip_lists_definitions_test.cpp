// The slip's nested lists: repair items (labour) and materials, with their
// per-line amounts, summary sums and the visibility rules that depend on the
// discount variant (LJSYH), the contract mode (f_bgfs) and insurance
// suppression; the expressions read from the lists' definitions.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "definition_table.h"
#include "host_functions.h"

namespace kq::dw::expr {
namespace {

using testing::dec;
using testing::HostFunctions;
using testing::show;
using testing::DefinitionTable;

// The slip's list of repair items (d_svc305_jsd1_01) for work order `bh`:
// two labour lines and a warranty line, each 1.5 hours.
class ExpressionSlipItems : public ::testing::Test {
 protected:
  void build(const std::string& bh, const std::string& cbgfs) {
    t_ = std::make_unique<DefinitionTable>("d_svc305_jsd1_01", &host_.registry, std::vector<Value>{Value(bh)});
    auto item = [&](const char* cxz, const char* ngsf, const char* ngsyhl) {
      return t_->row({{"cwtsbh", Value(bh)}, {"cxz", Value(cxz)}, {"ngsf", dec(ngsf)}, {"ngs", dec("1.5")},
                      {"lzjxm", Value(0)}, {"ngsyhl", dec(ngsyhl)}, {"cbgfs", Value(cbgfs)},
                      {"nysgsf", dec("130.5")}, {"ngsjsyhl", dec("10")}, {"nyhhgsf", dec("120.5")}});
    };
    first_ = item("0", "100", "10");
    warranty_ = item("1", "50", "0");
    item("0", "30.5", "0");
    host_.params["SVC.LBXXSJE"] = Value("1");
    host_.params["SVC.LJSYH"] = Value("0");
    host_.params["SVC.LJSDXSGS"] = Value("1");
    fee_visible = t_->visible("compute_4");
    hours_visible = t_->visible("ngs");
    nature_visible = t_->visible("cxz");
    nys_visible = t_->visible("nys");
    discount_visible = t_->visible("compute_2");
    nysgsf_visible = t_->visible("nysgsf");
    settled_discount_visible = t_->visible("compute_5");
    factor_visible = t_->visible("compute_1");
    label_visible = t_->visible("yh_t");
  }

  std::string eval(const std::string& text, RowId row) { return show(t_->table().eval(text, row)); }

  HostFunctions host_;
  std::unique_ptr<DefinitionTable> t_;
  RowId first_ = 0, warranty_ = 0;
  // The list's visibility expressions: a line's fee, hours and nature; the
  // summary's receivable, discount, settled figures, discount factor and the
  // discount label.
  std::string fee_visible, hours_visible, nature_visible, nys_visible, discount_visible, nysgsf_visible,
      settled_discount_visible, factor_visible, label_visible;
};

TEST_F(ExpressionSlipItems, SummaryFigures) {
  build("B1", "0");
  EXPECT_EQ(eval("nys", first_), "decimal:130.5");
  EXPECT_EQ(eval("nss", first_), "decimal:120.5");
  EXPECT_EQ(eval("compute_2", first_), "decimal:10");
  EXPECT_EQ(eval("compute_1", first_), "decimal:0.9");
  EXPECT_EQ(eval("compute_5", first_), "decimal:10");
}

TEST_F(ExpressionSlipItems, LineFeesFollowTheContractMode) {
  build("B1", "0");
  EXPECT_EQ(eval("compute_4", first_), "decimal:100");
  EXPECT_EQ(eval(fee_visible, first_), "long:1");
  EXPECT_EQ(eval(nature_visible, first_), "long:0");
  EXPECT_EQ(eval(nature_visible, warranty_), "long:1");
  EXPECT_EQ(eval(hours_visible, first_), "long:1");
  host_.params["SVC.LJSDXSGS"] = Value("0");
  EXPECT_EQ(eval(hours_visible, first_), "long:0");
  host_.contract_mode["B1"] = "2";  // labour package: fees 0 and hidden
  EXPECT_EQ(eval("compute_4", first_), "long:0");
  EXPECT_EQ(eval(fee_visible, first_), "long:0");
}

TEST_F(ExpressionSlipItems, SummaryVisibilityByDiscountVariant) {
  build("B1", "0");
  EXPECT_EQ(eval(nys_visible, first_), "long:1");
  EXPECT_EQ(eval(discount_visible, first_), "long:1");
  EXPECT_EQ(eval(nysgsf_visible, first_), "long:0");
  EXPECT_EQ(eval(settled_discount_visible, first_), "long:0");
  EXPECT_EQ(eval(factor_visible, first_), "long:0");
  EXPECT_EQ(eval(label_visible, first_), "long:1");

  host_.params["SVC.LJSYH"] = Value("1");
  EXPECT_EQ(eval(nys_visible, first_), "long:0");
  EXPECT_EQ(eval(discount_visible, first_), "long:0");
  EXPECT_EQ(eval(nysgsf_visible, first_), "long:1");
  EXPECT_EQ(eval(settled_discount_visible, first_), "long:1");
  EXPECT_EQ(eval(factor_visible, first_), "long:1");
  EXPECT_EQ(eval(label_visible, first_), "long:1");
}

TEST_F(ExpressionSlipItems, PackageHidesFiguresButKeepsTheSettledDiscount) {
  build("B1", "1");
  host_.params["SVC.LJSYH"] = Value("1");
  EXPECT_EQ(eval(nysgsf_visible, first_), "long:0");
  EXPECT_EQ(eval(settled_discount_visible, first_), "long:1");
}

TEST_F(ExpressionSlipItems, InsuranceSuppressionHidesEveryAmount) {
  build("A-1", "0");
  host_.params["SVC.LBXXSJE"] = Value("0");
  for (const char* jsyh : {"0", "1"}) {
    host_.params["SVC.LJSYH"] = Value(jsyh);
    for (const std::string& e : {fee_visible, nys_visible, discount_visible, nysgsf_visible,
                                 settled_discount_visible, label_visible})
      EXPECT_EQ(eval(e, first_), "long:0") << jsyh << ": " << e;
  }
}

// The slip's list of materials (d_svc305_jsd1_02) for work order B7: a stock
// line, a claim and an extra line.
class ExpressionSlipMaterials : public ::testing::Test {
 protected:
  void SetUp() override {
    auto line = [&](const char* ccklb, const char* price, const char* qty, const char* amount, const char* discount) {
      return t_.row({{"cdydbh", Value("B7")}, {"cbjdm", Value("P-" + std::string(ccklb))}, {"nrcdj", dec(price)},
                     {"nrcsl", dec(qty)}, {"nrcje", dec(amount)}, {"ccklb", Value(ccklb)}, {"nclyhl", dec(discount)},
                     {"nysclf", dec("136")}, {"ncljsyhl", dec("0")}, {"nyhhclf", dec("136")}});
    };
    stock_ = line("0", "10.5", "2", "21", "10");
    claim_ = line("2", "100", "1", "100", "0");
    extra_ = line("*", "5", "3", "15", "0");
    host_.params["SVC.LBXXSJE"] = Value("1");
    host_.params["SVC.LJSYH"] = Value("0");
  }

  std::string eval(const std::string& text, RowId row) { return show(t_.table().eval(text, row)); }

  HostFunctions host_;
  DefinitionTable t_{"d_svc305_jsd1_02", &host_.registry, {Value("B7")}};
  RowId stock_ = 0, claim_ = 0, extra_ = 0;
};

TEST_F(ExpressionSlipMaterials, SummaryFigures) {
  EXPECT_EQ(eval("nys", stock_), "decimal:36");
  EXPECT_EQ(eval("nss", stock_), "decimal:33.9");
  EXPECT_EQ(eval("compute_1", stock_), "decimal:2.1");
  EXPECT_EQ(eval("compute_4", stock_), "decimal:0");
  EXPECT_EQ(eval("compute_2", stock_), "decimal:1");
}

TEST_F(ExpressionSlipMaterials, LineAmountAndNatureVisibility) {
  const std::string amount = t_.visible("compute_3");
  const std::string nature = t_.visible("ccklb");
  EXPECT_EQ(eval(amount, stock_), "long:1");
  EXPECT_EQ(eval(amount, claim_), "long:0");  // claims print no amount
  EXPECT_EQ(eval(amount, extra_), "long:1");
  EXPECT_EQ(eval(nature, stock_), "long:0");
  EXPECT_EQ(eval(nature, claim_), "long:1");
  EXPECT_EQ(eval(nature, extra_), "long:0");  // LQTLL missing
  host_.params["SVC.LQTLL"] = Value("1");
  EXPECT_EQ(eval(nature, extra_), "long:1");
  host_.contract_mode["B7"] = "1";  // labour and materials package: every amount 0 and hidden
  for (RowId r : {stock_, claim_, extra_}) {
    EXPECT_EQ(eval("compute_3", r), "long:0");
    EXPECT_EQ(eval(amount, r), "long:0");
  }
}

TEST_F(ExpressionSlipMaterials, SummaryVisibility) {
  const std::string nys = t_.visible("nys"), discount = t_.visible("compute_1"), nysclf = t_.visible("nysclf"),
                    settled = t_.visible("compute_4"), factor = t_.visible("compute_2"), label = t_.visible("yh_t");
  EXPECT_EQ(eval(nys, stock_), "long:1");
  EXPECT_EQ(eval(discount, stock_), "long:1");
  EXPECT_EQ(eval(nysclf, stock_), "long:0");
  EXPECT_EQ(eval(settled, stock_), "long:0");
  EXPECT_EQ(eval(factor, stock_), "long:0");
  EXPECT_EQ(eval(label, stock_), "long:1");
  host_.params["SVC.LJSYH"] = Value("1");
  EXPECT_EQ(eval(nys, stock_), "long:0");
  EXPECT_EQ(eval(nysclf, stock_), "long:1");
  EXPECT_EQ(eval(settled, stock_), "long:0");  // no discount on the settlement
  EXPECT_EQ(eval(factor, stock_), "long:0");
  EXPECT_EQ(eval(label, stock_), "long:0");
  host_.contract_mode["B7"] = "1";
  host_.params["SVC.LJSYH"] = Value("0");
  EXPECT_EQ(eval(nys, stock_), "long:0");
  EXPECT_EQ(eval(discount, stock_), "long:0");
}

}  // namespace
}  // namespace kq::dw::expr
