// The slip's nested lists: repair items (labour) and materials, with their
// per-line amounts, summary sums and the visibility rules that depend on the
// discount variant (LJSYH), the contract mode (f_bgfs) and insurance
// suppression.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host_functions.h"
#include "test_table.h"

namespace kq::dw::expr {
namespace {

using testing::dec;
using testing::HostFunctions;
using testing::show;
using testing::TestTable;

// Insurance suppression as the item list writes it, and the item list's visibility expressions.
#define KQ_SUPPRESSED "(CBXXSJE = '0' and left( cwtsbh ,2) = 'A-')"
constexpr const char* kItemFeeVisible = "if ( compute_4 =0 OR " KQ_SUPPRESSED ",0,1)";
constexpr const char* kItemNysVisible = "if (jsyh = '0' , (if(cbgfs = '1' or cbgfs = '2'  OR " KQ_SUPPRESSED " ,0,1)),0)";
constexpr const char* kItemDiscountVisible =
    "if (jsyh = '0' , (if (sum(ngsyhl) = 0 or (cbgfs = '1' or cbgfs = '2')  OR " KQ_SUPPRESSED " ,0,1)),0)";
constexpr const char* kItemNysgsfVisible = "if (jsyh = '1',(if(cbgfs = '1' or cbgfs = '2'  OR " KQ_SUPPRESSED " ,0,1)),0)";
constexpr const char* kItemSettledDiscountVisible =
    "if (jsyh = '1',(if (( (CBXXSJE = '0' and left( cwtsbh ,2) = 'A-'   ) ) or (  compute_5  = 0),0,1)),0)";
constexpr const char* kItemFactorVisible = "if ( jsyh = '1' ,  (if ( compute_1 = 1,0,1))   , 0 )";
constexpr const char* kItemLabelVisible =
    "if ((sum(ngsyhl) = 0  and jsyh = '0') or (compute_5 = 0 and jsyh = '1') or  (cbxxsje = '0' and left( cwtsbh ,2) "
    "= 'A-'),0,1)";
#undef KQ_SUPPRESSED

class ExpressionSlipItems : public ::testing::Test {
 protected:
  void build(const std::string& bh, const std::string& cbgfs) {
    for (auto [name, type] : {std::pair{"cwtsbh", Type::String}, {"cxz", Type::String}, {"ngsf", Type::Decimal},
                              {"ngs", Type::Decimal}, {"lzjxm", Type::Long}, {"ngsyhl", Type::Decimal},
                              {"cbgfs", Type::String}, {"nysgsf", Type::Decimal}, {"ngsjsyhl", Type::Decimal},
                              {"nyhhgsf", Type::Decimal}})
      t_.column(name, type);
    t_.argument("bh", Value(bh));
    t_.computed("compute_3", "f_retu_para('svc','ljsdxsgs')", Type::String);
    t_.computed("cbxxsje", "f_retu_para('Svc','LBXXSJE')", Type::String);
    t_.computed("jsyh", "f_retu_para('svc','ljsyh')", Type::String);
    t_.computed("compute_4", "if (f_bgfs(bh)='0',ngsf,0)");
    t_.computed("nys", "sum( if(cxz = '0',ngsf,0) for all)");
    t_.computed("nss", "sum((if(cxz = '0',ngsf,0) * ( 100 - ngsyhl) / 100.00) for all)");
    t_.computed("compute_2", "nys - nss");
    t_.computed("compute_1", "(1 - ngsjsyhl /100)");
    t_.computed("compute_5", "nysgsf - nyhhgsf");
    t_.finish();
    auto item = [&](const char* cxz, const char* ngsf, const char* ngsyhl) {
      return t_.row({Value(bh), Value(cxz), dec(ngsf), dec("1.5"), Value(0), dec(ngsyhl), Value(cbgfs),
                     dec("130.5"), dec("10"), dec("120.5")});
    };
    first_ = item("0", "100", "10");
    warranty_ = item("1", "50", "0");
    item("0", "30.5", "0");
    host_.params["SVC.LBXXSJE"] = Value("1");
    host_.params["SVC.LJSYH"] = Value("0");
    host_.params["SVC.LJSDXSGS"] = Value("1");
  }

  std::string eval(const std::string& text, RowId row) { return show(t_.eval(text, row)); }

  HostFunctions host_;
  TestTable t_{&host_.registry};
  RowId first_ = 0, warranty_ = 0;
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
  const char* fee_visible = kItemFeeVisible;
  EXPECT_EQ(eval("compute_4", first_), "decimal:100");
  EXPECT_EQ(eval(fee_visible, first_), "long:1");
  EXPECT_EQ(eval("if( cxz = '0',0,1)", first_), "long:0");
  EXPECT_EQ(eval("if( cxz = '0',0,1)", warranty_), "long:1");
  EXPECT_EQ(eval("if ( compute_3 = '1',1,0)", first_), "long:1");
  host_.params["SVC.LJSDXSGS"] = Value("0");
  EXPECT_EQ(eval("if ( compute_3 = '1',1,0)", first_), "long:0");
  host_.contract_mode["B1"] = "2";  // labour package: fees 0 and hidden
  EXPECT_EQ(eval("compute_4", first_), "long:0");
  EXPECT_EQ(eval(fee_visible, first_), "long:0");
}

TEST_F(ExpressionSlipItems, SummaryVisibilityByDiscountVariant) {
  build("B1", "0");
  EXPECT_EQ(eval(kItemNysVisible, first_), "long:1");
  EXPECT_EQ(eval(kItemDiscountVisible, first_), "long:1");
  EXPECT_EQ(eval(kItemNysgsfVisible, first_), "long:0");
  EXPECT_EQ(eval(kItemSettledDiscountVisible, first_), "long:0");
  EXPECT_EQ(eval(kItemFactorVisible, first_), "long:0");
  EXPECT_EQ(eval(kItemLabelVisible, first_), "long:1");

  host_.params["SVC.LJSYH"] = Value("1");
  EXPECT_EQ(eval(kItemNysVisible, first_), "long:0");
  EXPECT_EQ(eval(kItemDiscountVisible, first_), "long:0");
  EXPECT_EQ(eval(kItemNysgsfVisible, first_), "long:1");
  EXPECT_EQ(eval(kItemSettledDiscountVisible, first_), "long:1");
  EXPECT_EQ(eval(kItemFactorVisible, first_), "long:1");
  EXPECT_EQ(eval(kItemLabelVisible, first_), "long:1");
}

TEST_F(ExpressionSlipItems, PackageHidesFiguresButKeepsTheSettledDiscount) {
  build("B1", "1");
  host_.params["SVC.LJSYH"] = Value("1");
  EXPECT_EQ(eval(kItemNysgsfVisible, first_), "long:0");
  EXPECT_EQ(eval(kItemSettledDiscountVisible, first_), "long:1");
}

TEST_F(ExpressionSlipItems, InsuranceSuppressionHidesEveryAmount) {
  build("A-1", "0");
  host_.params["SVC.LBXXSJE"] = Value("0");
  for (const char* jsyh : {"0", "1"}) {
    host_.params["SVC.LJSYH"] = Value(jsyh);
    for (const char* e : {kItemFeeVisible, kItemNysVisible, kItemDiscountVisible, kItemNysgsfVisible,
                          kItemSettledDiscountVisible, kItemLabelVisible})
      EXPECT_EQ(eval(e, first_), "long:0") << jsyh << ": " << e;
  }
}

class ExpressionSlipMaterials : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto [name, type] : {std::pair{"cdydbh", Type::String}, {"cbjdm", Type::String}, {"nrcdj", Type::Decimal},
                              {"nrcsl", Type::Decimal}, {"nrcje", Type::Decimal}, {"ccklb", Type::String},
                              {"nclyhl", Type::Decimal}, {"nysclf", Type::Decimal}, {"ncljsyhl", Type::Decimal},
                              {"nyhhclf", Type::Decimal}})
      t_.column(name, type);
    t_.argument("bh", Value("B7"));
    t_.computed("cbxxsje", "F_RETU_PARA('SVC','LBXXSJE')", Type::String);
    t_.computed("jsyh", "f_retu_para('svc','ljsyh')", Type::String);
    t_.computed("compute_3", "if (f_bgfs(bh)='1',0,nrcje)");
    t_.computed("nys", "sum(if(ccklb = '0' or ccklb = '*',nrcje,0) for all)");
    t_.computed("nss", "sum((if(ccklb = '0' or ccklb = '*',nrcdj,0) * nrcsl * (100 - nclyhl) / 100) for all)");
    t_.computed("compute_1", "nys - nss");
    t_.computed("compute_4", "nysclf - nyhhclf");
    t_.computed("compute_2", "1 - ncljsyhl / 100");
    t_.finish();
    auto line = [&](const char* ccklb, const char* price, const char* qty, const char* amount, const char* discount) {
      return t_.row({Value("B7"), Value("P-" + std::string(ccklb)), dec(price), dec(qty), dec(amount), Value(ccklb),
                     dec(discount), dec("136"), dec("0"), dec("136")});
    };
    stock_ = line("0", "10.5", "2", "21", "10");
    claim_ = line("2", "100", "1", "100", "0");
    extra_ = line("*", "5", "3", "15", "0");
    host_.params["SVC.LBXXSJE"] = Value("1");
    host_.params["SVC.LJSYH"] = Value("0");
  }

  std::string eval(const std::string& text, RowId row) { return show(t_.eval(text, row)); }

  HostFunctions host_;
  TestTable t_{&host_.registry};
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
  const char* amount =
      "if ( compute_3 = 0  OR (CBXXSJE = '0' and left(  cdydbh ,2) = 'A-') or ccklb in ('1','2')  ,0,1 )";
  const char* nature = "if(ccklb = '*',if(f_retu_para('SVC','LQTLL') = '1',1,0),if (ccklb ='0',0,1))";
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
  const std::string sup = "(CBXXSJE = '0' and left(  cdydbh  ,2) = 'A-')";
  const std::string nys = "if (jsyh = '0',(if (f_bgfs(bh)='1' OR " + sup + ",0,1)),0)";
  const std::string discount =
      "if (jsyh = '0',(if (sum(nclyhl) = 0  OR " + sup + ",0,if (f_bgfs(bh)='1',0,1))),0)";
  const std::string nysclf = "if (jsyh = '1',(if (f_bgfs(bh)='1' OR " + sup + ",0,1)),0)";
  const std::string settled = "if (jsyh = '0' , 0,(if ( (compute_4 = 0 and jsyh = '1')  or " + sup + ",0,1)   ))";
  const std::string factor = "if ( jsyh = '1' ,  (if ( compute_2 = 1,0,1))   , 0 )";
  const std::string label =
      "if ((sum(nclyhl) = 0 and jsyh = '0')  or (compute_4 = 0 and jsyh = '1')  or " + sup + ",0,1)";
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
