// The settlement slip's expressions (title, fee lines with their tax rules,
// visibility of amounts under insurance suppression, totals, capitals),
// compiled against the slip's columns and evaluated as the runtime would.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "host_functions.h"
#include "test_table.h"

namespace kq::dw::expr {
namespace {

using testing::dec;
using testing::dt;
using testing::HostFunctions;
using testing::show;
using testing::TestTable;

const char* const kColumns[] = {"cwtsbh", "cwxzt", "djsrq", "xsse", "ngfsl", "nbjxjsl", "nysgsf", "nssgsf", "ngfse",
                                "nysclf", "nssclf", "nclse", "nglf", "nglfse", "nfcf", "nfcfse", "nbgf", "nbgfse",
                                "nsjf", "nsjfse", "nqtfy1", "nqtfyse1", "nqtfy2", "nqtfyse2", "nqtfy3", "nqtfyse3",
                                "nhjse", "nhjje", "nbcjsje", "nzsje", "nqsje"};

Type column_type(const std::string& name) {
  if (name == "djsrq") return Type::DateTime;
  if (name == "xsse") return Type::Long;
  if (name[0] == 'c') return Type::String;
  return Type::Decimal;
}

// The fee lines: printed field, value expression (a column when empty).
const std::vector<std::pair<std::string, std::string>> kFees = {
    {"ysgsf",
     "if ( xchs = '1' , if(xsse = 0, nysgsf,  nysgsf / (1 + ngfsl / 100.00 ) ) ,  if (xsse = 0,  nysgsf * (1 + ngfsl "
     "/ 100.00),nysgsf  )  )"},
    {"compute_5", "if(xsse = 0,nssgsf,nssgsf - ngfse)"},
    {"ysclf",
     "if ( xjhs = '1' , if(xsse = 0, nysclf,  nysclf  / (1 + nbjxjsl / 100.00 ) ) ,  if (xsse = 0,  nysclf * (1 + "
     "nbjxjsl / 100.00),nysclf  )  )"},
    {"compute_6", "if(xsse = 0,nssclf,nssclf - nclse)"},
    {"compute_7", "if(xsse = 0,nglf,nglf - nglfse)"},
    {"compute_8", "if(xsse = 0,nfcf,nfcf - nfcfse)"},
    {"compute_9", "if(xsse = 0,nbgf,nbgf - nbgfse)"},
    {"compute_10", "if(xsse = 0,nsjf,nsjf - nsjfse)"},
    {"compute_11", "if(xsse = 0,nqtfy1,nqtfy1 - nqtfyse1)"},
    {"compute_12", "if(xsse = 0,nqtfy2,nqtfy2 - nqtfyse2)"},
    {"compute_13", "if(xsse = 0,nqtfy3,nqtfy3 - nqtfyse3)"},
};

std::string fee_visibility(const std::string& name) {
  return "if(" + name + " = 0 or (cbxxsje = '0' and left( cwtsbh ,2) = 'A-'),0,1)";
}

class ExpressionSlip : public ::testing::Test {
 protected:
  ExpressionSlip() : t_(&host_.registry) {
    for (const char* c : kColumns) t_.column(c, column_type(c));
    t_.argument("bh", Value("A-2024000001"));
    t_.argument("ls_gsh", Value("01"));
    t_.computed("cbxxsje", "f_retu_para('Svc','LBXXSJE')", Type::String);
    t_.computed("xchs", "f_retu_para('SVC','LXCHS')", Type::String);
    t_.computed("xjhs", "f_retu_para('SPA','LXJHS')", Type::String);
    for (const auto& [name, expr] : kFees) t_.computed(name, expr);
    t_.computed("compute_3", "f_svc_upper_je(nbcjsje)", Type::String);
    t_.finish();
    host_.params["SVC.LBXXSJE"] = Value("1");
    host_.params["SVC.LXCHS"] = Value("1");
    host_.params["SPA.LXJHS"] = Value("1");
  }

  // A slip row: every amount 0 unless given.
  RowId slip(const std::string& cwtsbh, const std::string& cwxzt, std::map<std::string, Value> values = {}) {
    std::vector<Value> row;
    for (const char* c : kColumns) {
      std::string name = c;
      if (values.count(name)) row.push_back(values[name]);
      else if (name == "cwtsbh") row.push_back(Value(cwtsbh));
      else if (name == "cwxzt") row.push_back(Value(cwxzt));
      else if (name == "djsrq") row.push_back(dt("2024/03/05 10:00:00"));
      else if (name == "xsse") row.push_back(Value(0));
      else row.push_back(Value(Decimal(0)));
    }
    return t_.row(std::move(row));
  }

  std::string eval(const std::string& text, RowId row) { return show(t_.eval(text, row)); }

  HostFunctions host_;
  TestTable t_;
};

TEST_F(ExpressionSlip, TitleForTheFourVariants) {
  const std::string title =
      "case( cwxzt  when '2' then    if(left(cwtsbh,1) = 'A','保险欠账结算单','欠账结算单' )      else  "
      "if(left(cwtsbh,1) = 'A','保险结算单','结算单' )       )";
  EXPECT_EQ(eval(title, slip("A-2024000001", "1")), "string:保险结算单");
  EXPECT_EQ(eval(title, slip("A-2024000001", "2")), "string:保险欠账结算单");
  EXPECT_EQ(eval(title, slip("B2024000001", "1")), "string:结算单");
  EXPECT_EQ(eval(title, slip("B2024000001", "2")), "string:欠账结算单");
  EXPECT_EQ(eval(title, slip("A2024000001", "1")), "string:保险结算单");  // "A" alone is enough for the title
}

TEST_F(ExpressionSlip, HeadingDateAndCompany) {
  host_.params["SYS.CGSMC"] = Value("示范汽修厂");
  RowId r = slip("B2024000001", "1", {{"djsrq", dt("2024/12/31 23:59:59")}});
  EXPECT_EQ(eval("f_retu_para('SYS','CGSMC')", r), "string:示范汽修厂");
  EXPECT_EQ(eval("string(djsrq,'yyyy年mm月dd日')", r), "string:2024年12月31日");
  EXPECT_EQ(eval("if (cwxzt = '2',1,0)", r), "long:0");
  EXPECT_EQ(eval("if (cwxzt = '2',1,0)", slip("B2024000002", "2")), "long:1");
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
  for (const auto& [name, expr] : kFees) {
    const bool has_amount = name == "ysgsf" || name == "compute_5";
    EXPECT_EQ(eval(fee_visibility(name), plain), has_amount ? "long:1" : "long:0") << name;
    EXPECT_EQ(eval(fee_visibility(name), insured), has_amount ? "long:1" : "long:0") << name;
  }
  host_.params["SVC.LBXXSJE"] = Value("0");  // insurance suppression
  for (const auto& [name, expr] : kFees) {
    const bool has_amount = name == "ysgsf" || name == "compute_5";
    EXPECT_EQ(eval(fee_visibility(name), plain), has_amount ? "long:1" : "long:0") << name;
    EXPECT_EQ(eval(fee_visibility(name), insured), "long:0") << name;
  }
}

TEST_F(ExpressionSlip, FeeVisibilityWithNullValues) {
  // A null amount is neither 0 nor suppressed: the object stays shown.
  RowId r = slip("B2024000001", "1", {{"nssgsf", Value::null(Type::Decimal)}});
  EXPECT_EQ(eval("compute_5", r), "null");
  EXPECT_EQ(eval(fee_visibility("compute_5"), r), "long:1");
  // Missing LBXXSJE: the suppression test is null, so a non-zero amount shows and a zero one hides.
  host_.params.erase("SVC.LBXXSJE");
  RowId insured = slip("A-2024000001", "1", {{"nssgsf", dec("5")}});
  EXPECT_EQ(eval(fee_visibility("compute_5"), insured), "long:1");
  EXPECT_EQ(eval(fee_visibility("compute_6"), insured), "long:0");
}

TEST_F(ExpressionSlip, TaxLineVisibility) {
  const char* label = "if(xsse = 1,1,0)";
  const char* value =
      "if((xsse = 1 and left( cwtsbh ,2) <> 'A-')  or (XSSE = 1 AND cbxxsje = '1' and left( cwtsbh ,2) = 'A-'),1,0)";
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
  const char* total = "if( cbxxsje = '0'  and left( cwtsbh ,2) = 'A-',0,1)";
  const char* receipt = "if( (cbxxsje = '0'  and left( cwtsbh ,2) = 'A-')  ,0,1)";
  const char* paid = "if( (cbxxsje = '0'  and left( cwtsbh ,2) = 'A-')  or (nzsje = 0) ,0,1)";
  const char* owed = "if( (cbxxsje = '0'  and left( cwtsbh ,2) = 'A-')  or (nqsje = 0) ,0,1)";
  const char* capitals = "if( (cbxxsje = '0'  and left( cwtsbh ,2) = 'A-')   ,0,1)";
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
  for (const char* e : {total, receipt, paid, owed, capitals}) EXPECT_EQ(eval(e, insured), "long:0") << e;
}

}  // namespace
}  // namespace kq::dw::expr
