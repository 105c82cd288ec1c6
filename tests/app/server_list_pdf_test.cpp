// The list's PDF as the workstation gives it: every page names the list, its
// range, the operator signed in on the server and the page of how many.
#include <string>
#include <vector>

#include "../platform/dw/render/pdf_probe.h"
#include "server_list_fixture.h"

namespace kq::testing {
namespace {

class ServerListPdf : public ServerListTest {};

TEST_F(ServerListPdf, TheListsPdfNamesItsRangeTheSignedInOperatorAndItsPages) {
  if (!dw::testing::have_pdftotext()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  Reply pdf = call("GET", "/api/windows/" + std::to_string(list_) + "/controls/dw_display/pdf", "", token_);
  ASSERT_EQ(pdf.status, 200) << pdf.raw.substr(0, 300);
  ASSERT_EQ(pdf.content_type, "application/pdf");
  const auto text = dw::testing::pdftotext(pdf.raw, "-layout");
  ASSERT_TRUE(text);
  // Compared without spaces: how many pdftotext keeps between words varies.
  auto squeezed = [](std::string s) {
    std::erase(s, ' ');
    return s;
  };
  const std::string page = squeezed(*text);
  const int pages = dw::testing::pdf_page_objects(pdf.raw);
  ASSERT_GE(pages, 1);
  for (const std::string& expected : {std::string("取消结算"), std::string("至 2026/12/08"), std::string("操作员：001 王建国"),
                                      std::string("打印时间："), "第 1 页 / 共 " + std::to_string(pages) + " 页"}) {
    EXPECT_NE(page.find(squeezed(expected)), std::string::npos) << expected << "\n" << *text;
  }
}

}  // namespace
}  // namespace kq::testing
