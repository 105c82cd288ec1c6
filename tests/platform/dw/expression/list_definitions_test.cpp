// Expressions of the lists and forms: the footer record counter, footer
// totals, the controller field's display expression, the contract's
// material-mode text and the inspection sheet's delivery-date visibility.
#include <gtest/gtest.h>

#include "host_functions.h"
#include "test_table.h"

namespace kq::dw::expr {
namespace {

using testing::dec;
using testing::dt;
using testing::HostFunctions;
using testing::show;
using testing::TestTable;

constexpr const char* kCounter = "'记录数:'+currentRow()+'/'+rowcount()";

class ExpressionLists : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto [name, type] : {std::pair{"bs", Type::String}, {"cwtsbh", Type::String}, {"nhjje", Type::Decimal},
                              {"nhjyh", Type::Decimal}, {"nysgsf", Type::Decimal}, {"nssgsf", Type::Decimal},
                              {"nysclf", Type::Decimal}, {"nssclf", Type::Decimal}, {"djsrq", Type::DateTime},
                              {"cwxzt", Type::String}, {"lqqbs", Type::Long}})
      t_.column(name, type);
    t_.finish();
    for (int i = 1; i <= 10; ++i) {
      rows_.push_back(t_.row({Value(i % 3 == 0 ? "*" : ""), Value("B00000000000" + std::to_string(i % 10)),
                              dec("100.25"), dec("1.5"), dec("40"), dec("38"), dec("60.25"), dec("60.25"),
                              dt("2024/03/05"), Value(i % 2 ? "1" : "2"), Value(0)}));
    }
  }

  std::string eval(const char* text, RowId row) { return show(t_.eval(text, row)); }

  TestTable t_;
  std::vector<RowId> rows_;
};

TEST_F(ExpressionLists, RecordCounter) {
  t_.set_current(3);
  EXPECT_EQ(eval(kCounter, rows_[0]), "string:记录数:3/10");
  EXPECT_EQ(eval(kCounter, kNoRow), "string:记录数:3/10");
  t_.set_current(0);
  t_.set_primary({});
  EXPECT_EQ(eval(kCounter, kNoRow), "string:记录数:0/0");
}

TEST_F(ExpressionLists, FooterTotalsCoverExactlyTheRowsListed) {
  EXPECT_EQ(eval("sum(nhjje for all)", kNoRow), "decimal:1002.5");
  EXPECT_EQ(eval("sum(nhjyh for all)", kNoRow), "decimal:15");
  EXPECT_EQ(eval("sum(nysgsf for all)", kNoRow), "decimal:400");
  EXPECT_EQ(eval("sum(nssgsf for all)", kNoRow), "decimal:380");
  EXPECT_EQ(eval("sum(nysclf for all)", kNoRow), "decimal:602.5");
  EXPECT_EQ(eval("sum(nssclf for all)", kNoRow), "decimal:602.5");
  t_.set_primary({rows_[0], rows_[1]});  // a filter leaves two rows
  EXPECT_EQ(eval("sum(nhjje for all)", kNoRow), "decimal:200.5");
}

TEST(ExpressionForms, ControllerDisplayFollowsTheStartedFlag) {
  TestTable t;
  t.column("lksbs", Type::Long);
  t.column("nkk", Type::Decimal);
  t.finish();
  RowId started = t.row({Value(1), dec("5")});
  RowId waiting = t.row({Value(0), dec("2.5")});
  RowId unknown = t.row({Value::null(Type::Long), Value::null(Type::Decimal)});
  EXPECT_EQ(show(t.eval("if (lksbs =1,1,0)", started)), "long:1");
  EXPECT_EQ(show(t.eval("if (lksbs =1,1,0)", waiting)), "long:0");
  EXPECT_EQ(show(t.eval("if (lksbs =1,1,0)", unknown)), "long:0");
  EXPECT_EQ(show(t.eval("sum(nkk for all)")), "decimal:7.5");
}

TEST(ExpressionForms, ContractTexts) {
  HostFunctions host;
  host.params["SYS.CGSMC"] = Value("示范汽修厂");
  host.params["SYS.CDZ"] = Value("北京路1号");
  TestTable t(&host.registry);
  t.column("cbgfs", Type::String);
  t.finish();
  const char* mode = "case(cbgfs when '0' then '不包' when '1' then '包工料' when '2' then '包工')";
  EXPECT_EQ(show(t.eval(mode, t.row({Value("0")}))), "string:不包");
  EXPECT_EQ(show(t.eval(mode, t.row({Value("1")}))), "string:包工料");
  EXPECT_EQ(show(t.eval(mode, t.row({Value("2")}))), "string:包工");
  EXPECT_EQ(show(t.eval(mode, t.row({Value("3")}))), "null");  // prints nothing
  EXPECT_EQ(show(t.eval(mode, t.row({Value::null(Type::String)}))), "null");
  EXPECT_EQ(show(t.eval("f_qmbs_retu(4)", 0)), "string:3、质量保证4");
  EXPECT_EQ(show(t.eval("f_retu_para('SYS','CGSMC')", 0)), "string:示范汽修厂");
  EXPECT_EQ(show(t.eval("f_retu_para('SYS','CDZ')", 0)), "string:北京路1号");
  EXPECT_EQ(show(t.eval("f_retu_para('SYS','CYB')", 0)), "null");
}

TEST(ExpressionForms, AgreedDeliveryShownOnlyAfterArrival) {
  TestTable t;
  t.column("dsxrq", Type::DateTime);
  t.column("dydjc", Type::DateTime);
  t.finish();
  const char* shown = "if(dsxrq>=dydjc,0,1)";
  EXPECT_EQ(show(t.eval(shown, t.row({dt("2024/03/05 09:00:00"), dt("2024/03/06 17:00:00")}))), "long:1");
  EXPECT_EQ(show(t.eval(shown, t.row({dt("2024/03/05 09:00:00"), dt("2024/03/05 09:00:00")}))), "long:0");
  EXPECT_EQ(show(t.eval(shown, t.row({dt("2024/03/05 09:00:00"), dt("2024/03/04 09:00:00")}))), "long:0");
  EXPECT_EQ(show(t.eval(shown, t.row({dt("2024/03/05 09:00:00"), Value::null(Type::DateTime)}))), "long:1");
}

}  // namespace
}  // namespace kq::dw::expr
