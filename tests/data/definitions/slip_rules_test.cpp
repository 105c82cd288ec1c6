// The settlement slip's rules, case by case against work orders written for
// each case: title, insurance suppression, zero fees, tax variants of the
// receivable fees, item and material lines with their summaries under the
// two discount modes and the three contract modes, returned parts,
// additional material lines, the latest receipt and its capitals, received
// and owed amounts, and the guarantor. Everything is read through the
// Presentation, as the renderers read it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fresh_shop.h"

namespace kq::dw {
namespace {

const std::string kPlain = "B010000000001";
const std::string kInsured = "A-01000000001";

class SlipRules : public kq::testing::FreshShop {
 protected:
  void SetUp() override {
    param("SYS", "CGSMC", "凯琪修理厂");
    param("SYS", "CDZ", "朝阳路8号");
    param("SVC", "LBXXSJE", "1");
    param("SVC", "LJSYH", "0");
    param("SVC", "LXCHS", "1");
    param("SPA", "LXJHS", "1");
    param("SVC", "LQTLL", "1");
    param("SVC", "LJSDXSGS", "1");
  }

  std::unique_ptr<DataWindow> slip(const std::string& bh) {
    auto w = retrieve("d_svc305_jsd1", {bh, "01"});
    EXPECT_EQ(w->rowcount(), 1) << bh;
    return w;
  }

  // A work order whose every fee, total and item/material line holds money.
  void order_with_money(const std::string& bh, const std::string& mode = "0") {
    order(bh, {{"cbgfs", "'" + mode + "'"},
               {"nysgsf", "100"}, {"nyhhgsf", "90"}, {"nssgsf", "90"}, {"ngsyhl", "10"},
               {"nysclf", "200"}, {"nyhhclf", "180"}, {"nssclf", "180"}, {"nclyhl", "10"},
               {"nglf", "5"}, {"nfcf", "6"}, {"nbgf", "7"}, {"nsjf", "8"},
               {"nqtfy1", "1"}, {"nqtfy2", "2"}, {"nqtfy3", "3"},
               {"nhjje", "500"}, {"nzsje", "300"}, {"ngfsl", "13"}, {"nbjxjsl", "17"}});
    item(bh, "I1", "0", "100", "10");
    issue(bh, "D" + bh, "P1", 2, 100, "0", 10);
    receipt(bh, "300");
  }
};

// The fee values and totals of the slip, each of which holds money in order_with_money().
const std::vector<std::string> kAmounts = {"ysgsf",      "compute_5",  "ysclf",      "compute_6", "compute_7",
                                           "compute_8",  "compute_9",  "compute_10", "compute_11", "compute_12",
                                           "compute_13", "nhjje",      "nbcjsje",    "nzsje",      "nqsje",
                                           "compute_3"};

TEST_F(SlipRules, TitleByStatusAndInsurance) {
  struct Case {
    std::string bh, status, title;
  };
  const std::vector<Case> cases = {{"B010000000001", "1", "结算单"},
                                   {"B010000000002", "2", "欠账结算单"},
                                   {"A-01000000001", "1", "保险结算单"},
                                   {"A-01000000002", "2", "保险欠账结算单"}};
  for (const Case& c : cases) order(c.bh, {{"cwxzt", "'" + c.status + "'"}});
  for (const Case& c : cases) {
    auto w = slip(c.bh);
    EXPECT_EQ(text(*w, "jsdbt"), c.title) << c.bh;
    EXPECT_EQ(text(*w, "gsmc"), "凯琪修理厂");
    EXPECT_EQ(text(*w, "jsrq"), "2026年12月08日");
    EXPECT_EQ(text(*w, "cwtsbh"), c.bh);
  }
}

TEST_F(SlipRules, InsuranceSuppressionHidesEveryAmountOnlyWithLbxxsjeZero) {
  order_with_money(kPlain);
  order_with_money(kInsured);
  struct Case {
    std::string bh, lbxxsje;
    bool amounts_shown;
  };
  for (const Case& c : std::vector<Case>{{kInsured, "0", false},
                                          {kInsured, "1", true},
                                          {kPlain, "0", true},
                                          {kPlain, "1", true}}) {
    SCOPED_TRACE(c.bh + " LBXXSJE=" + c.lbxxsje);
    param("SVC", "LBXXSJE", c.lbxxsje);
    auto w = slip(c.bh);
    for (const std::string& amount : kAmounts) EXPECT_EQ(shown(*w, amount), c.amounts_shown) << amount;
    for (const char* label : {"nhjje_t", "nbcjsje_t", "compute_3_t"}) EXPECT_EQ(shown(*w, label), c.amounts_shown);
    // Descriptive fields always print.
    for (const char* field : {"ckhmc", "ccxmc", "cpzh", "cdph", "cfdjh", "dsxrq", "jsdbt", "gsmc", "ckhmc_t"})
      EXPECT_TRUE(shown(*w, field)) << field;

    const Presentation* items = nested(*w, "dw_1");
    const Presentation* parts = nested(*w, "dw_2");
    ASSERT_NE(items, nullptr);
    ASSERT_NE(parts, nullptr);
    ASSERT_EQ(items->row_count(), 1);
    ASSERT_EQ(parts->row_count(), 1);
    EXPECT_EQ(shown(*items, "compute_4"), c.amounts_shown);
    EXPECT_EQ(shown(*items, "nys"), c.amounts_shown);
    EXPECT_EQ(shown(*items, "nss"), c.amounts_shown);
    EXPECT_EQ(shown(*items, "compute_2"), c.amounts_shown);
    EXPECT_EQ(shown(*items, "yh_t"), c.amounts_shown);
    EXPECT_EQ(shown(*parts, "compute_3"), c.amounts_shown);
    EXPECT_EQ(shown(*parts, "nys"), c.amounts_shown);
    EXPECT_EQ(shown(*parts, "nss"), c.amounts_shown);
    EXPECT_EQ(shown(*parts, "compute_1"), c.amounts_shown);
    EXPECT_EQ(shown(*parts, "yh_t"), c.amounts_shown);
    EXPECT_TRUE(shown(*items, "cwxxmdm"));
    EXPECT_TRUE(shown(*parts, "cbjdm"));
  }
}

TEST_F(SlipRules, InsuranceSummariesOfTheSettlementVariantAreSuppressedToo) {
  order_with_money(kInsured);
  param("SVC", "LJSYH", "1");
  param("SVC", "LBXXSJE", "0");
  auto w = slip(kInsured);
  const Presentation* items = nested(*w, "dw_1");
  const Presentation* parts = nested(*w, "dw_2");
  ASSERT_NE(items, nullptr);
  ASSERT_NE(parts, nullptr);
  for (const char* o : {"nysgsf", "nyhhgsf", "compute_5", "yh_t"}) EXPECT_FALSE(shown(*items, o)) << o;
  for (const char* o : {"nysclf", "nyhhclf", "compute_4", "yh_t"}) EXPECT_FALSE(shown(*parts, o)) << o;
  param("SVC", "LBXXSJE", "1");
  w = slip(kInsured);
  items = nested(*w, "dw_1");
  parts = nested(*w, "dw_2");
  ASSERT_NE(items, nullptr);
  ASSERT_NE(parts, nullptr);
  for (const char* o : {"nysgsf", "nyhhgsf", "compute_5", "yh_t"}) EXPECT_TRUE(shown(*items, o)) << o;
  for (const char* o : {"nysclf", "nyhhclf", "compute_4", "yh_t"}) EXPECT_TRUE(shown(*parts, o)) << o;
}

TEST_F(SlipRules, ZeroFeesAreNotPrinted) {
  order(kPlain, {{"nglf", "12.5"}, {"nhjje", "12.5"}});
  auto w = slip(kPlain);
  EXPECT_TRUE(shown(*w, "compute_7"));
  EXPECT_EQ(text(*w, "compute_7"), "12.50");
  for (const char* fee : {"ysgsf", "compute_5", "ysclf", "compute_6", "compute_8", "compute_9", "compute_10",
                          "compute_11", "compute_12", "compute_13"})
    EXPECT_FALSE(shown(*w, fee)) << fee;
  // Labels stay; the tax line is off as long as the slip shows no tax.
  EXPECT_TRUE(shown(*w, "compute_8_t"));
  EXPECT_FALSE(shown(*w, "nhjse_t"));
  EXPECT_FALSE(shown(*w, "nhjse"));
}

TEST_F(SlipRules, ReceivableFeesFollowTheTaxParameters) {
  order(kPlain, {{"nysgsf", "100"}, {"nssgsf", "95"}, {"ngfse", "11"}, {"ngfsl", "13"},
                 {"nysclf", "200"}, {"nssclf", "190"}, {"nclse", "27"}, {"nbjxjsl", "17"}, {"nhjse", "38"}});
  struct Case {
    std::string lxchs, lxjhs, labour, material;
  };
  for (const Case& c : std::vector<Case>{{"1", "1", "100.00", "200.00"},
                                          {"0", "1", "113.00", "200.00"},
                                          {"1", "0", "100.00", "234.00"},
                                          {"0", "0", "113.00", "234.00"}}) {
    SCOPED_TRACE("LXCHS=" + c.lxchs + " LXJHS=" + c.lxjhs);
    param("SVC", "LXCHS", c.lxchs);
    param("SPA", "LXJHS", c.lxjhs);
    auto w = slip(kPlain);
    EXPECT_EQ(text(*w, "ysgsf"), c.labour);
    EXPECT_EQ(text(*w, "ysclf"), c.material);
    // Charged fees print as stored, tax included.
    EXPECT_EQ(text(*w, "compute_5"), "95.00");
    EXPECT_EQ(text(*w, "compute_6"), "190.00");
  }
}

TEST_F(SlipRules, ItemLinesMarkAddedItemsAndSpecialNatures) {
  order(kPlain);
  item(kPlain, "I1", "0", "100", "0", {{"lzjxm", "1"}});
  item(kPlain, "I2", "2", "30");
  item(kPlain, "I3", "3", "0");
  auto w = slip(kPlain);
  const Presentation* items = nested(*w, "dw_1");
  ASSERT_NE(items, nullptr);
  ASSERT_EQ(items->row_count(), 3);
  EXPECT_EQ(column_texts(*items, "cwxxmdm"), (std::vector<std::string>{"I1", "I2", "I3"}));
  EXPECT_EQ(column_texts(*items, "lzjxm"), (std::vector<std::string>{"*", "", ""}));
  EXPECT_EQ(column_texts(*items, "compute_4"), (std::vector<std::string>{"100.00", "30.00", "0.00"}));
  EXPECT_TRUE(shown(*items, "compute_4", 1));
  EXPECT_TRUE(shown(*items, "compute_4", 2));
  EXPECT_FALSE(shown(*items, "compute_4", 3));
  EXPECT_FALSE(shown(*items, "cxz", 1));
  EXPECT_TRUE(shown(*items, "cxz", 2));
  EXPECT_EQ(text(*items, "cxz", 2), "索赔");
  EXPECT_EQ(text(*items, "cxz", 3), "免费");
  EXPECT_TRUE(shown(*items, "ngs", 1));
  EXPECT_EQ(text(*items, "ngs", 1), "1.50");

  param("SVC", "LJSDXSGS", "0");
  w = slip(kPlain);
  items = nested(*w, "dw_1");
  ASSERT_NE(items, nullptr);
  EXPECT_FALSE(shown(*items, "ngs", 1));
}

TEST_F(SlipRules, LabourSummaryFromTheItemLinesWithLjsyhZero) {
  order(kPlain, {{"nysgsf", "150"}, {"nyhhgsf", "135"}, {"ngsyhl", "10"}});
  item(kPlain, "I1", "0", "100", "10");
  item(kPlain, "I2", "0", "50", "0");
  item(kPlain, "I3", "2", "30", "0");  // a claim: not in the receivable figure
  auto w = slip(kPlain);
  const Presentation* items = nested(*w, "dw_1");
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(text(*items, "nys"), "150.00");
  EXPECT_EQ(text(*items, "nss"), "140.00");
  EXPECT_EQ(text(*items, "compute_2"), "10.00");
  for (const char* o : {"nys", "nss", "compute_2", "yh_t"}) EXPECT_TRUE(shown(*items, o)) << o;
  for (const char* o : {"nysgsf", "nyhhgsf", "compute_5", "compute_1"}) EXPECT_FALSE(shown(*items, o)) << o;
}

TEST_F(SlipRules, LabourDiscountHiddenWhenNoItemHasOne) {
  order(kPlain);
  item(kPlain, "I1", "0", "100");
  auto w = slip(kPlain);
  const Presentation* items = nested(*w, "dw_1");
  ASSERT_NE(items, nullptr);
  EXPECT_TRUE(shown(*items, "nys"));
  EXPECT_TRUE(shown(*items, "nss"));
  EXPECT_FALSE(shown(*items, "compute_2"));
  EXPECT_FALSE(shown(*items, "yh_t"));
}

TEST_F(SlipRules, LabourSummaryFromTheSettlementWithLjsyhOne) {
  param("SVC", "LJSYH", "1");
  order(kPlain, {{"nysgsf", "150"}, {"nyhhgsf", "135"}, {"ngsyhl", "10"}});
  order("B010000000002", {{"nysgsf", "150"}, {"nyhhgsf", "150"}, {"ngsyhl", "0"}});
  for (const std::string& bh : {kPlain, std::string("B010000000002")}) item(bh, "I1", "0", "150", "10");

  auto w = slip(kPlain);
  const Presentation* items = nested(*w, "dw_1");
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(text(*items, "nysgsf"), "150.00");
  EXPECT_EQ(text(*items, "nyhhgsf"), "135.00");
  EXPECT_EQ(text(*items, "compute_5"), "15.00");
  EXPECT_EQ(text(*items, "compute_1"), "0.90");
  for (const char* o : {"nysgsf", "nyhhgsf", "compute_5", "compute_1", "yh_t"}) EXPECT_TRUE(shown(*items, o)) << o;
  for (const char* o : {"nys", "nss", "compute_2"}) EXPECT_FALSE(shown(*items, o)) << o;

  w = slip("B010000000002");
  items = nested(*w, "dw_1");
  ASSERT_NE(items, nullptr);
  EXPECT_TRUE(shown(*items, "nysgsf"));
  for (const char* o : {"compute_5", "compute_1", "yh_t"}) EXPECT_FALSE(shown(*items, o)) << o;
}

TEST_F(SlipRules, MaterialSummaryFromTheLinesWithLjsyhZero) {
  order(kPlain, {{"nysclf", "200"}, {"nyhhclf", "190"}, {"nclyhl", "5"}});
  issue(kPlain, "D1", "P1", 2, 50, "0", 10);
  issue(kPlain, "D1", "P2", 1, 80, "0", 0);
  issue(kPlain, "D1", "P3", 1, 40, "2", 0);  // a claim: not charged
  extra(kPlain, "X1", "玻璃水", 20, 1);
  auto w = slip(kPlain);
  const Presentation* parts = nested(*w, "dw_2");
  ASSERT_NE(parts, nullptr);
  ASSERT_EQ(parts->row_count(), 4);
  EXPECT_EQ(text(*parts, "nys"), "200.00");
  EXPECT_EQ(text(*parts, "nss"), "190.00");
  EXPECT_EQ(text(*parts, "compute_1"), "10.00");
  for (const char* o : {"nys", "nss", "compute_1", "yh_t"}) EXPECT_TRUE(shown(*parts, o)) << o;
  for (const char* o : {"nysclf", "nyhhclf", "compute_4", "compute_2"}) EXPECT_FALSE(shown(*parts, o)) << o;
  // Lines: a claim prints its nature but no amount; a normal line its amount but no nature.
  for (long r = 1; r <= parts->row_count(); ++r) {
    const bool claim = text(*parts, "cbjdm", r) == "P3";
    SCOPED_TRACE(text(*parts, "cbjdm", r));
    if (text(*parts, "ccklb", r) == "*") continue;
    EXPECT_EQ(shown(*parts, "ccklb", r), claim);
    EXPECT_EQ(shown(*parts, "compute_3", r), !claim);
    EXPECT_EQ(text(*parts, "ccklb", r), claim ? "索赔" : "正常");
  }
}

TEST_F(SlipRules, MaterialSummaryFromTheSettlementWithLjsyhOne) {
  param("SVC", "LJSYH", "1");
  order(kPlain, {{"nysclf", "200"}, {"nyhhclf", "180"}, {"nclyhl", "10"}});
  issue(kPlain, "D1", "P1", 2, 100, "0", 0);
  auto w = slip(kPlain);
  const Presentation* parts = nested(*w, "dw_2");
  ASSERT_NE(parts, nullptr);
  EXPECT_EQ(text(*parts, "nysclf"), "200.00");
  EXPECT_EQ(text(*parts, "nyhhclf"), "180.00");
  EXPECT_EQ(text(*parts, "compute_4"), "20.00");
  EXPECT_EQ(text(*parts, "compute_2"), "0.90");
  for (const char* o : {"nysclf", "nyhhclf", "compute_4", "compute_2", "yh_t"}) EXPECT_TRUE(shown(*parts, o)) << o;
  for (const char* o : {"nys", "nss", "compute_1"}) EXPECT_FALSE(shown(*parts, o)) << o;
}

// Package contracts: "1" (labour and materials) zeroes and hides every item
// fee and material amount and the receivable and charged figures of both
// summaries; "2" (labour) only those of the labour side. The discount of the
// settlement variant still prints when it is not 0.
TEST_F(SlipRules, ContractModes) {
  struct Case {
    std::string mode;
    bool labour_charged, material_charged;
  };
  const std::vector<Case> cases = {{"0", true, true}, {"1", false, false}, {"2", false, true}};
  int n = 0;
  for (const Case& c : cases) {
    const std::string bh = "B01000000000" + std::to_string(++n);
    order_with_money(bh, c.mode);
  }
  for (const std::string jsyh : {"0", "1"}) {
    param("SVC", "LJSYH", jsyh);
    n = 0;
    for (const Case& c : cases) {
      const std::string bh = "B01000000000" + std::to_string(++n);
      SCOPED_TRACE("cbgfs=" + c.mode + " LJSYH=" + jsyh);
      auto w = slip(bh);
      const Presentation* items = nested(*w, "dw_1");
      const Presentation* parts = nested(*w, "dw_2");
      ASSERT_NE(items, nullptr);
      ASSERT_NE(parts, nullptr);
      EXPECT_EQ(text(*items, "compute_4"), c.labour_charged ? "100.00" : "0.00");
      EXPECT_EQ(shown(*items, "compute_4"), c.labour_charged);
      EXPECT_EQ(text(*parts, "compute_3"), c.material_charged ? "200.00" : "0.00");
      EXPECT_EQ(shown(*parts, "compute_3"), c.material_charged);
      if (jsyh == "0") {
        EXPECT_EQ(shown(*items, "nys"), c.labour_charged);
        EXPECT_EQ(shown(*items, "nss"), c.labour_charged);
        EXPECT_EQ(shown(*items, "compute_2"), c.labour_charged);
        EXPECT_EQ(shown(*parts, "nys"), c.material_charged);
        EXPECT_EQ(shown(*parts, "nss"), c.material_charged);
        EXPECT_EQ(shown(*parts, "compute_1"), c.material_charged);
      } else {
        EXPECT_EQ(shown(*items, "nysgsf"), c.labour_charged);
        EXPECT_EQ(shown(*items, "nyhhgsf"), c.labour_charged);
        EXPECT_EQ(shown(*parts, "nysclf"), c.material_charged);
        EXPECT_EQ(shown(*parts, "nyhhclf"), c.material_charged);
        EXPECT_TRUE(shown(*items, "compute_5"));
        EXPECT_EQ(text(*items, "compute_5"), "10.00");
        EXPECT_TRUE(shown(*parts, "compute_4"));
        EXPECT_EQ(text(*parts, "compute_4"), "20.00");
      }
    }
  }
}

TEST_F(SlipRules, PartsNetWithTheirReturns) {
  order(kPlain);
  issue(kPlain, "D1", "P1", 2, 45, "0");
  issue(kPlain, "D2", "P1", -2, 45, "0");  // issued by mistake, fully returned
  issue(kPlain, "D1", "P2", 3, 80, "0");
  issue(kPlain, "D2", "P2", -1, 80, "0");
  auto w = slip(kPlain);
  const Presentation* parts = nested(*w, "dw_2");
  ASSERT_NE(parts, nullptr);
  EXPECT_EQ(column_texts(*parts, "cbjdm"), std::vector<std::string>{"P2"});
  EXPECT_EQ(text(*parts, "nrcsl"), "2.00");
  EXPECT_EQ(text(*parts, "compute_3"), "160.00");
  EXPECT_EQ(text(*parts, "cbjbm"), "前刹车片");  // the master name when the issue names none
  EXPECT_EQ(text(*parts, "cjldw"), "套");
}

TEST_F(SlipRules, AdditionalMaterialLinesFollowLqtll) {
  order(kPlain);
  issue(kPlain, "D1", "P1", 1, 45, "0");
  extra(kPlain, "P3", "雨刮片（前）", 48, 2);
  for (const std::string lqtll : {"1", "0"}) {
    SCOPED_TRACE("LQTLL=" + lqtll);
    param("SVC", "LQTLL", lqtll);
    auto w = slip(kPlain);
    const Presentation* parts = nested(*w, "dw_2");
    ASSERT_NE(parts, nullptr);
    ASSERT_EQ(parts->row_count(), 2);
    // The additional line comes after the issues.
    EXPECT_EQ(column_texts(*parts, "cbjdm"), (std::vector<std::string>{"P1", "P3"}));
    EXPECT_EQ(text(*parts, "cbjbm", 2), "雨刮片（前）");
    EXPECT_EQ(text(*parts, "cjldw", 2), "对");
    EXPECT_EQ(text(*parts, "compute_3", 2), "96.00");
    EXPECT_EQ(text(*parts, "ccklb", 2), "*");
    EXPECT_EQ(shown(*parts, "ccklb", 2), lqtll == "1");
    EXPECT_FALSE(shown(*parts, "ccklb", 1));  // a normal issue prints no nature
    EXPECT_EQ(text(*parts, "nys"), "141.00");
  }
}

TEST_F(SlipRules, ThisReceiptIsTheLatestOneInCapitals) {
  order(kPlain, {{"nhjje", "600"}, {"nzsje", "600"}});
  order("B010000000002", {{"nhjje", "600"}, {"nzsje", "0"}});
  receipt(kPlain, "300");
  receipt(kPlain, "250.5");          // the latest receipt of the work order
  receipt(kPlain, "999", "1");       // another class of document
  receipt("B010000000003", "77");    // another work order

  auto w = slip(kPlain);
  EXPECT_EQ(text(*w, "nbcjsje"), "250.50");
  EXPECT_EQ(text(*w, "compute_3"), " 贰佰伍拾元伍角");
  EXPECT_TRUE(shown(*w, "nbcjsje"));
  EXPECT_TRUE(shown(*w, "compute_3"));

  // No receipt: 本次收款 prints 0.00 (its units digit kept), and zero in
  // capitals; a total of 0 prints 0.00 too. The print window's copy of the
  // slip prints them alike.
  order("B010000000004", {{"nhjje", "0"}, {"nzsje", "0"}});
  for (const char* definition : {"d_svc305_jsd1", "d_svc303_01_05"}) {
    SCOPED_TRACE(definition);
    w = retrieve(definition, {"B010000000002", "01"});
    ASSERT_EQ(w->rowcount(), 1);
    EXPECT_EQ(text(*w, "nbcjsje"), "0.00");
    EXPECT_EQ(text(*w, "compute_3"), "零元整");
    EXPECT_TRUE(shown(*w, "nbcjsje"));
    EXPECT_TRUE(shown(*w, "compute_3"));
    w = retrieve(definition, {"B010000000004", "01"});
    ASSERT_EQ(w->rowcount(), 1);
    EXPECT_EQ(text(*w, "nhjje"), "0.00");
    EXPECT_TRUE(shown(*w, "nhjje"));
  }
}

TEST_F(SlipRules, ReceivedAndOwedAmountsDisappearAtZero) {
  struct Case {
    std::string bh, total, received;
    bool received_shown, owed_shown;
    std::string owed;
  };
  const std::vector<Case> cases = {{"B010000000001", "500", "0", false, true, "500.00"},
                                   {"B010000000002", "500", "500", true, false, "0.00"},
                                   {"B010000000003", "500", "120", true, true, "380.00"}};
  for (const Case& c : cases) order(c.bh, {{"nhjje", c.total}, {"nzsje", c.received}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bh);
    auto w = slip(c.bh);
    EXPECT_EQ(shown(*w, "nzsje"), c.received_shown);
    EXPECT_EQ(shown(*w, "nzsje_t"), c.received_shown);
    EXPECT_EQ(shown(*w, "nqsje"), c.owed_shown);
    EXPECT_EQ(shown(*w, "nqsje_t"), c.owed_shown);
    EXPECT_EQ(text(*w, "nqsje"), c.owed);
    EXPECT_EQ(text(*w, "nhjje"), "500.00");
  }
}

TEST_F(SlipRules, GuarantorOnlyOnCreditSettlements) {
  order(kPlain, {{"cwxzt", "'1'"}, {"cdbr", "'李四'"}});
  order("B010000000002", {{"cwxzt", "'2'"}, {"cdbr", "'李四'"}});
  auto cash = slip(kPlain);
  EXPECT_FALSE(shown(*cash, "cdbr_t"));
  EXPECT_FALSE(shown(*cash, "cdbr"));
  auto credit = slip("B010000000002");
  EXPECT_TRUE(shown(*credit, "cdbr_t"));
  EXPECT_TRUE(shown(*credit, "cdbr"));
  EXPECT_EQ(text(*credit, "cdbr"), "李四");
  EXPECT_EQ(text(*credit, "cdbr_t"), "担 保 人：");
}

TEST_F(SlipRules, FooterPrintsTheCompanyParametersAndEmptyForMissingOnes) {
  param("SVC", "CJSDBZ2", "质量保证期三个月");
  order(kPlain, {{"cjsrxm", "'张会计'"}});
  auto w = slip(kPlain);
  EXPECT_EQ(text(*w, "cdz"), "朝阳路8号");
  EXPECT_EQ(text(*w, "cyb"), "");
  EXPECT_EQ(text(*w, "cjsdbz1"), "");
  EXPECT_EQ(text(*w, "cjsdbz2"), "质量保证期三个月");
  EXPECT_EQ(text(*w, "cjsrxm"), "张会计");
}

TEST_F(SlipRules, SlipOfAnotherCompanyOrUnknownOrderIsEmpty) {
  order(kPlain);
  EXPECT_EQ(retrieve("d_svc305_jsd1", {kPlain, "02"})->rowcount(), 0);
  EXPECT_EQ(retrieve("d_svc305_jsd1", {"B019999999999", "01"})->rowcount(), 0);
}

// The print service's slip is the same form.
TEST_F(SlipRules, PrintServiceSlipAppliesTheSameRules) {
  order_with_money(kInsured);
  param("SVC", "LBXXSJE", "0");
  auto w = retrieve("d_svc303_01_05", {kInsured, "01"});
  ASSERT_EQ(w->rowcount(), 1);
  EXPECT_EQ(text(*w, "jsdbt"), "保险结算单");
  for (const std::string& amount : kAmounts) EXPECT_FALSE(shown(*w, amount)) << amount;
}

}  // namespace
}  // namespace kq::dw
