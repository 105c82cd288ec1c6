// Lists on paper, read back from the PDF the product prints: a long
// cancellation list of a generated shop, retrieved as its window retrieves it
// and printed with the session's print options.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "../../platform/dw/render/pdf_probe.h"
#include "data/demo/demo_shop.h"
#include "definitions_support.h"
#include "framework/print_options.h"
#include "framework/session.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/render/pdf_render.h"
#include "platform/ui/scripted_ui.h"

namespace kq::dw {
namespace {

constexpr const char* kToday = "2026/12/08";

class ListsOnPaper : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    kq::testing::register_host_functions();
    dir_ = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                     ("kq_lists_on_paper_" + std::to_string(getpid())));
    std::filesystem::create_directories(*dir_);
    demo::DemoOptions options;
    options.today = demo::parse_business_date(kToday);
    options.scale = 1500;
    options.days = 30;
    options.hash_password = [](std::string_view p) { return "plain:" + std::string(p); };
    auto built = demo::build_demo_files(*dir_ / "shop.db", options, true);
    ASSERT_TRUE(built) << built.error();
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    std::filesystem::remove_all(*dir_, ec);
    delete dir_;
    dir_ = nullptr;
  }

  void SetUp() override {
    session_.g.gs_gsh = "01";
    session_.g.gs_yhdm = "001";
    session_.g.gs_yhxm = "王建国";
    session_.g.gd_xtrq = *DateTime::parse(kToday);
    session_.ui = &ui_;
    db::ConnectOptions options;
    options.database = (*dir_ / "shop.db").string();
    auto connected = session_.connect(options);
    ASSERT_TRUE(connected) << connected.error();
    scope_ = std::make_unique<fw::SessionScope>(session_);
    DateTime::set_clock([] { return *DateTime::parse("2026/12/08 14:05:00"); });
  }
  void TearDown() override {
    DateTime::set_clock(nullptr);
    scope_.reset();
  }

  static std::filesystem::path* dir_;
  ui::ScriptedUi ui_;
  fw::Session session_;
  std::unique_ptr<fw::SessionScope> scope_;
};

std::filesystem::path* ListsOnPaper::dir_ = nullptr;

// `s` without spaces: how many pdftotext keeps between words varies.
std::string squeezed(std::string s) {
  std::erase(s, ' ');
  return s;
}

// The line of `page` that holds `needle`, or "".
std::string line_with(const std::string& page, const std::string& needle) {
  std::istringstream in(page);
  for (std::string line; std::getline(in, line);) {
    if (line.find(needle) != std::string::npos) return line;
  }
  return "";
}

TEST_F(ListsOnPaper, LongListPrintsLandscapeWithTitleRangeOperatorTimeAndPageNumbersOnEveryPage) {
  if (!testing::have_pdftotext()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  DataWindow dw;
  ASSERT_EQ(dw.dataobject("d_svc305_01"), 1) << dw.last_error();
  dw.settransobject(session_.sqlca);
  const long rows = dw.retrieve(std::string(kToday), std::string("2026/11/10"));
  ASSERT_GT(rows, 150) << session_.sqlca.sqlerrtext;

  const PdfOptions options = fw::print_options(dw);
  EXPECT_EQ(options.heading.range, "结算日期：2026/11/10 至 2026/12/08");
  auto pdf = render_pdf(dw, options);
  ASSERT_TRUE(pdf) << pdf.error();

  // The list's columns want more than a portrait page: the page is turned.
  std::smatch box;
  ASSERT_TRUE(std::regex_search(*pdf, box, std::regex("/MediaBox \\[ ?0 0 ([0-9.]+) ([0-9.]+)")));
  EXPECT_GT(std::stod(box[1]), std::stod(box[2])) << "MediaBox " << box[1] << " x " << box[2];

  const int pages = testing::pdf_page_objects(*pdf);
  ASSERT_GE(pages, 3);
  const auto text = testing::pdftotext(*pdf, "-layout");
  ASSERT_TRUE(text);
  const std::vector<std::string> texts = testing::pages_of(*text);
  ASSERT_EQ(static_cast<int>(texts.size()), pages);
  for (int i = 0; i < pages; ++i) {
    SCOPED_TRACE("page " + std::to_string(i + 1));
    const std::string page = squeezed(texts[i]);
    for (const std::string& expected :
         {std::string("取消结算"), std::string("结算日期：2026/11/10 至 2026/12/08"), std::string("操作员：001 王建国"),
          std::string("打印时间：2026/12/08 14:05"), std::string("委托书编号"),
          "第 " + std::to_string(i + 1) + " 页 / 共 " + std::to_string(pages) + " 页"}) {
      EXPECT_NE(page.find(squeezed(expected)), std::string::npos) << expected << "\n" << texts[i].substr(0, 400);
    }
    // The record counter closes the last page only.
    EXPECT_EQ(page.find("记录数:") != std::string::npos, i + 1 == pages);
  }

  // No value wraps: each row's work-order number, plate, chassis number and
  // amount stand whole on one line of the page.
  std::string all;
  for (const std::string& page : texts) all += page;
  for (long row = 1; row <= rows; ++row) {
    const std::string number = *dw.getitem(row, "cwtsbh").as_string();
    const std::string line = line_with(all, number);
    ASSERT_FALSE(line.empty()) << "row " << row << " " << number << " is not printed whole";
    for (const char* column : {"cpzh", "cdph", "nhjje"}) {
      const std::string shown = dw.display_text(*dw.definition().find_object(column), row);
      EXPECT_NE(line.find(shown), std::string::npos) << "row " << row << " " << column << " \"" << shown
                                                     << "\" not whole on the line: " << line;
    }
  }
}

}  // namespace
}  // namespace kq::dw
