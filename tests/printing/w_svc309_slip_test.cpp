// The settlement slip of 打印结算单: printed at once from the menu in the
// copies asked for, prepared and previewed on a double-click or Enter, and
// the options a cashier sees on it (tax, membership card, guarantor).
#include <gtest/gtest.h>

#include "print_desk.h"

namespace kq::svc {
namespace {

using testing::PrintDesk;

bool shows(const ui::Preview& p, const std::string& text) { return p.html.find(text) != std::string::npos; }

// The preview of the slip of `bh` chosen from the menu (after clicking its row).
const ui::Preview& slip_of(PrintDesk& desk, const std::string& bh) {
  const long row = desk.row_of(bh);
  EXPECT_GT(row, 0) << bh << " is not listed";
  desk.send({.control = "dw_1", .event = "clicked", .row = row, .column = "cwtsbh"});
  desk.command(2);
  return desk.shop.ui.previews.back();
}

TEST(PrintSlip, MenuPrintsTheCopiesAskedForAndDoubleClickOrEnterPreviews) {
  PrintDesk desk;
  w_svc309& w = desk.window();
  const std::string bh = desk.column("cwtsbh").at(1);

  w.em_1.text = "3";
  const ui::Preview& printed = slip_of(desk, bh);
  ASSERT_EQ(desk.shop.ui.previews.size(), 1u);
  EXPECT_EQ(printed.dataobject, "d_svc305_jsd1");
  EXPECT_EQ(printed.copies, 3);
  EXPECT_TRUE(shows(printed, bh)) << "the printed slip does not show " << bh;
  EXPECT_EQ(w.dw_jsd->dataobject(), "d_svc305_jsd1");
  EXPECT_EQ(w.dw_jsd->getitemstring(1, "cwtsbh"), bh);
  w.em_1.text = "12";  // beyond the spin's range: the most, 9
  EXPECT_EQ(slip_of(desk, bh).copies, 9);

  // Double-click: the slip is prepared and previewed, nothing printed.
  const long row = desk.row_of(bh);
  desk.send({.control = "dw_1", .event = "doubleclicked", .row = row, .column = "cwtsbh"});
  ASSERT_EQ(desk.shop.ui.previews.size(), 3u);
  const ui::Preview& previewed = desk.shop.ui.previews.back();
  EXPECT_EQ(previewed.dataobject, "d_svc305_jsd1");
  EXPECT_EQ(previewed.copies, 0);
  EXPECT_EQ(previewed.window, "w_svc309");
  EXPECT_TRUE(shows(previewed, bh));
  EXPECT_FALSE(w.ib_doub);
  EXPECT_EQ(w.idw_preview, &w.dw_1);

  // Enter does the same; the list's own preview carries the slip's modify text.
  desk.send({.control = "dw_1", .event = "ue_keydown", .key = 13});
  ASSERT_EQ(desk.shop.ui.previews.size(), 4u);
  EXPECT_EQ(desk.shop.ui.previews.back().copies, 0);
  EXPECT_FALSE(w.is_xstp.empty());
  desk.send({.event = "ue_preview"});
  EXPECT_EQ(desk.shop.ui.previews.back().dataobject, "d_svc309_01");
  EXPECT_TRUE(desk.shop.ui.shown.empty()) << desk.shop.ui.shown.front().text;
}

TEST(PrintSlip, TaxMembershipCardAndGuarantorFollowTheOptionsAndTheOrder) {
  PrintDesk desk;
  w_svc309& w = desk.window();
  const std::string owing = desk.shop.committed(
      "select top 1 cwtsbh into :v from svcb20c where cgsh = '01' and cwxzt = '2' and lqqbs = 0 and cdbr <> '' "
      "and convert(char(10), djsrq, 111) <> '1900/01/01'");
  const std::string guarantor = desk.shop.committed("select cdbr into :v from svcb20c where cwtsbh = '" + owing + "'");
  const std::string carded = desk.shop.committed(
      "select top 1 cwtsbh into :v from svcb20c where cgsh = '01' and cwxzt = '1' and chykh <> '' "
      "and convert(char(10), djsrq, 111) <> '1900/01/01'");
  const std::string card = desk.shop.committed("select chykh into :v from svcb20c where cwtsbh = '" + carded + "'");
  ASSERT_NE(owing, "<none>");
  ASSERT_NE(carded, "<none>");

  // Tax: the 税金 line shows only with 显示税额.
  w.cbx_2.checked = false;
  EXPECT_FALSE(shows(slip_of(desk, carded), "税     金")) << "tax line without 显示税额";
  EXPECT_EQ(w.dw_jsd->getitemnumber(1, "xsse"), Decimal(0));
  desk.click("cbx_2", true);
  EXPECT_TRUE(shows(slip_of(desk, carded), "税     金")) << "no tax line with 显示税额";
  EXPECT_EQ(w.dw_jsd->getitemnumber(1, "xsse"), Decimal(1));

  // Membership card, with 打印会员信息 only.
  ASSERT_TRUE(w.cbx_4.checked);
  EXPECT_TRUE(shows(slip_of(desk, carded), "会员卡号：" + card));
  desk.click("cbx_4", false);
  EXPECT_FALSE(shows(slip_of(desk, carded), card));

  // The guarantor prints on the owing slip, not on a paid one.
  EXPECT_TRUE(shows(slip_of(desk, owing), guarantor)) << "owing slip of " << owing << " without " << guarantor;
  EXPECT_TRUE(shows(desk.shop.ui.previews.back(), "担 保 人"));
  EXPECT_FALSE(shows(slip_of(desk, carded), "担 保 人"));
}

}  // namespace
}  // namespace kq::svc
