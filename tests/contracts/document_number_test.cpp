// Storing contract and inspection-sheet numbers when something goes wrong:
// two workstations at once, a work order that left the current ones, and
// each statement of the numbering failing in turn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contract_desk.h"

namespace kq::svc {
namespace {

using testing::ContractDesk;
using testing::OtherWorkstation;

std::string unnumbered(ContractDesk& d) {
  return d.shop.committed(
      "select top 1 cwtsbh into :v from svcb20c where cgsh = '01' and isnull(chth, '') = '' and isnull(cjydh, '') = '' "
      "order by cwtsbh");
}

struct Sheet {
  int command;
  const char* column;
  const char* counter;
  const char* store_failed;
  const char* order_gone;
};
const Sheet kSheets[] = {
    {2, "chth", "NHTH", "修改合同号失败!", "该委托书已转入历史或已删除，合同号未保存!"},
    {3, "cjydh", "NJYDH", "修改检验单号失败!", "该委托书已转入历史或已删除，检验单号未保存!"},
};

TEST(DocumentNumberRace, TheSecondWorkstationShowsTheNumberThatWon) {
  for (const Sheet& k : kSheets) {
    SCOPED_TRACE(k.column);
    ContractDesk d;
    const std::string bh = unnumbered(d);
    w_svc310& mine = d.list();
    ASSERT_TRUE(d.pick(bh));

    // Both lists show the work order without number; the other workstation calls it up first.
    OtherWorkstation other(d.shop);
    std::string won;
    {
      OtherWorkstation::Turn turn(other);
      auto* theirs = dynamic_cast<w_svc310*>(other.windows->open("w_svc310"));
      ASSERT_NE(theirs, nullptr);
      ASSERT_TRUE(ContractDesk::pick_in(*theirs, bh));
      EXPECT_EQ(theirs->ue_cus(k.command), 1);
      won = theirs->dw_1->getitemstring(theirs->dw_1->getrow(), k.column).value_or("<null>");
      EXPECT_EQ(other.ui.previews.size(), 1u);
    }
    EXPECT_EQ(d.stored(k.column, bh), won);
    EXPECT_EQ(d.shown(k.column), "") << "my list was read before";

    EXPECT_EQ(d.command(k.command), 1);
    EXPECT_EQ(d.stored(k.column, bh), won) << "a set number never changes";
    EXPECT_EQ(d.shown(k.column), won);
    ASSERT_EQ(d.shop.ui.previews.size(), 1u);
    EXPECT_NE(d.shop.ui.previews[0].html.find(won), std::string::npos) << "previewed with the number that won";
    EXPECT_FALSE(d.shop.session->sqlls.in_transaction());
    EXPECT_TRUE(d.shop.ui.shown.empty()) << d.shop.ui.texts().at(0);
    EXPECT_EQ(mine.idw_preview, &mine.dw_1);
  }
}

TEST(DocumentNumberRace, AWorkOrderGoneFromTheCurrentOnesGetsNoNumber) {
  for (const Sheet& k : kSheets) {
    SCOPED_TRACE(k.column);
    ContractDesk d;
    const std::string bh = unnumbered(d);
    d.list();
    ASSERT_TRUE(d.pick(bh));
    // Another workstation deletes it meanwhile (or moves it to history).
    auto other = d.shop.open_session();
    other->sqlca.exec("delete from svcb20c where cwtsbh = :bh and cgsh = '01'", {{"bh", bh}});
    ASSERT_EQ(other->sqlca.sqlcode, 0) << other->sqlca.sqlerrtext;
    ASSERT_EQ(other->sqlca.commit(), 0);

    EXPECT_EQ(d.command(k.command), 0);
    EXPECT_EQ(d.shop.ui.texts(), std::vector<std::string>{k.order_gone});
    EXPECT_EQ(d.shown(k.column), "");
    EXPECT_TRUE(d.shop.ui.previews.empty());
    EXPECT_EQ(d.stored(k.column, bh), "<none>");
    EXPECT_FALSE(d.shop.session->sqlls.in_transaction());
  }
}

TEST(DocumentNumberFailure, EachFailingStepLeavesTheDatabaseUnchangedAndSaysWhich) {
  for (const Sheet& k : kSheets) {
    // The statements on sqlls in their order; the select only runs when the update filled nothing.
    for (const char* step : {"update svcb20c", "commit", "select"}) {
      SCOPED_TRACE(std::string(k.column) + " / " + step);
      ContractDesk d;
      const std::string bh = unnumbered(d);
      d.list();
      ASSERT_TRUE(d.pick(bh));
      std::string before = "";
      if (std::string(step) == "select") {
        // Another workstation's number makes the update fill nothing.
        auto other = d.shop.open_session();
        other->sqlca.exec(std::string("update svcb20c set ") + k.column + " = 'X1' where cwtsbh = :bh and cgsh = '01'",
                          {{"bh", bh}});
        ASSERT_EQ(other->sqlca.commit(), 0);
        before = "X1";
      }
      const std::string counter = d.counter(k.counter);
      d.shop.session->sqlls.faults().fail_matching(step, "injected failure");

      EXPECT_EQ(d.command(k.command), 0);
      EXPECT_FALSE(d.shop.session->sqlls.faults().pending()) << "the step ran";
      EXPECT_EQ(d.shop.ui.texts(), std::vector<std::string>{k.store_failed});
      EXPECT_EQ(d.stored(k.column, bh), before);
      EXPECT_EQ(d.shown(k.column), "");
      EXPECT_TRUE(d.shop.ui.previews.empty());
      EXPECT_FALSE(d.shop.session->sqlls.in_transaction()) << "sqlls rolled back";
      EXPECT_EQ(std::stol(d.counter(k.counter)), std::stol(counter) + 1) << "the number made is skipped";
    }

    // No counter: no number is made and nothing is written.
    SCOPED_TRACE(std::string(k.column) + " / counter");
    ContractDesk d;
    const std::string bh = unnumbered(d);
    d.list();
    ASSERT_TRUE(d.pick(bh));
    d.shop.session->sqlca.exec("drop table kq_counter");
    ASSERT_EQ(d.shop.session->sqlca.sqlcode, 0) << d.shop.session->sqlca.sqlerrtext;
    ASSERT_EQ(d.shop.session->sqlca.commit(), 0);
    EXPECT_EQ(d.command(k.command), 0);
    EXPECT_EQ(d.shop.ui.texts(), std::vector<std::string>{k.command == 2 ? "生成合同号失败!" : "生成检验号失败!"});
    EXPECT_EQ(d.stored(k.column, bh), "");
    EXPECT_TRUE(d.shop.ui.previews.empty());
  }
}

}  // namespace
}  // namespace kq::svc
