// Printing on the workstation's printer (a CUPS queue on a private scheduler):
// the slip printed from the menu and a list printed from its preview arrive at
// the printer as the pages the preview shows, in the copies asked for; a
// printer that is not there, or a print service that is down, reaches the
// cashier as a message and prints nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "framework/print_options.h"
#include "framework/workstation_printer.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/render/pdf_probe.h"
#include "platform/dw/render/pdf_render.h"
#include "printing/print_desk.h"
#include "printing/private_cupsd.h"

namespace kq::svc {
namespace {

using dw::testing::pdf_page_objects;
using dw::testing::pdftotext;
using testing::PrintDesk;
using testing::PrivateCupsd;

// Names the printer in the workstation's profile file.
void name_in_profile(PrintDesk& desk, const std::string& printer) {
  desk.shop.session->g.gs_startfile = desk.shop.dir().string();
  std::ofstream(desk.shop.dir() / "pb.ini") << "[database]\nickcom=COM1\n[print]\nprinter = " << printer << "\n";
}

// The pages a preview shows, drawn as the workstation draws its PDF.
std::string pages_of(const ui::Preview& p) {
  dw::DataWindow dw;
  EXPECT_EQ(dw.from_state_blob(p.state), 1) << dw.last_error();
  dw::PdfOptions options = fw::print_options(dw);
  options.title = p.title;
  auto pdf = dw::render_pdf(dw, options);
  EXPECT_TRUE(pdf.ok()) << (pdf.ok() ? "" : pdf.error());
  return pdf.ok() ? *pdf : "";
}

std::string text_of(const std::string& pdf) { return pdftotext(pdf).value_or("<pdftotext failed>"); }

TEST(WorkstationPrinter, MenuPrintsTheSlipOnTheNamedPrinterAsPreviewedInTheCopiesAskedFor) {
  PrivateCupsd cups;
  ASSERT_TRUE(cups.started());
  PrintDesk desk;
  name_in_profile(desk, PrivateCupsd::kQueue);
  w_svc309& w = desk.window();
  const std::string carded = desk.shop.committed(
      "select top 1 cwtsbh into :v from svcb20c where cgsh = '01' and cwxzt = '1' and chykh <> '' "
      "and convert(char(10), djsrq, 111) <> '1900/01/01'");
  const std::string card = desk.shop.committed("select chykh into :v from svcb20c where cwtsbh = '" + carded + "'");
  const long row = desk.row_of(carded);
  ASSERT_GT(row, 0) << carded << " is not listed";

  // The preview (double-click) names the printer its 打印 prints on, and its
  // pages carry what the modify text changed: the card, no guarantor.
  desk.send({.control = "dw_1", .event = "doubleclicked", .row = row, .column = "cwtsbh"});
  ASSERT_EQ(desk.shop.ui.previews.size(), 1u);
  const ui::Preview previewed = desk.shop.ui.previews.back();
  EXPECT_EQ(previewed.printer, PrivateCupsd::kQueue);
  const std::string expected = pages_of(previewed);
  const std::string expected_text = text_of(expected);
  EXPECT_NE(expected_text.find("会员卡号：" + card), std::string::npos) << expected_text;
  EXPECT_EQ(expected_text.find("担 保 人"), std::string::npos) << expected_text;

  // 打印结算单 from the menu: straight to the printer, no dialog, 3 copies.
  w.em_1.text = "3";
  desk.command(2);
  EXPECT_EQ(desk.shop.ui.previews.size(), 1u) << "the browser was asked to print as well";
  EXPECT_TRUE(desk.shop.ui.shown.empty()) << desk.shop.ui.shown.front().text;
  const int job = cups.first_job();
  ASSERT_GT(job, 0) << "no job reached " << PrivateCupsd::kQueue;
  const std::string printed = cups.document(job);
  EXPECT_EQ(printed.substr(0, 5), "%PDF-");
  EXPECT_EQ(pdf_page_objects(printed), pdf_page_objects(expected));
  EXPECT_EQ(cups.copies(job), 3);
  EXPECT_EQ(text_of(printed), expected_text);
  EXPECT_EQ(cups.jobs(), 1);
}

TEST(WorkstationPrinter, CompanysPrinterPrintsAListAndAMissingPrinterOrStoppedServiceIsTold) {
  PrivateCupsd cups;
  ASSERT_TRUE(cups.started());
  PrintDesk desk;
  desk.shop.session->sqlca.exec("insert into sysi90 (cssxt, ccsdm, ccsz, cgsh) values ('sys', 'DYJMC', :p, '01')",
                                {{"p", std::string(PrivateCupsd::kQueue)}});
  ASSERT_EQ(desk.shop.session->sqlca.commit(), 0);

  // The profile file wins over the company's parameter: a printer that is not there.
  name_in_profile(desk, "no_such_printer");
  desk.window();
  desk.send({.control = "dw_1", .event = "clicked", .row = 1, .column = "cwtsbh"});
  desk.command(2);
  EXPECT_EQ(desk.shop.ui.texts(), std::vector<std::string>{"打印机“no_such_printer”不存在，没有打印！请检查打印机的名称设置。"});
  EXPECT_TRUE(desk.shop.ui.previews.empty());

  // Without the profile's name, the list's preview prints on the company's printer.
  std::filesystem::remove(desk.shop.dir() / "pb.ini");
  desk.send({.event = "ue_preview"});
  ASSERT_EQ(desk.shop.ui.previews.size(), 1u);
  const ui::Preview list = desk.shop.ui.previews.back();
  EXPECT_EQ(list.dataobject, "d_svc309_01");
  ASSERT_EQ(list.printer, PrivateCupsd::kQueue);
  auto job = fw::print_on_printer(list.printer, list.state, list.title, 2);
  ASSERT_TRUE(job.ok()) << job.error();
  const std::string printed = cups.document(*job);
  const std::string expected = pages_of(list);
  EXPECT_EQ(pdf_page_objects(printed), pdf_page_objects(expected));
  EXPECT_EQ(cups.copies(*job), 2);
  // The list's heading line names the operator (the print time may differ by a minute).
  for (const char* shown : {"打印结算单", "王建国"})
    EXPECT_NE(text_of(printed).find(shown), std::string::npos) << shown << " is not on\n" << text_of(printed);
  EXPECT_FALSE(fw::print_on_printer(list.printer, list.state, list.title, 10).ok()) << "10 copies were sent";

  // The print service stops: told, nothing printed.
  cups.stop();
  desk.command(2);
  EXPECT_EQ(desk.shop.ui.texts().back(), "无法连接打印服务（CUPS），没有打印！请检查打印服务是否已启动。");
  EXPECT_EQ(desk.shop.ui.previews.size(), 1u);
  EXPECT_EQ(cups.jobs(), 1);
}

}  // namespace
}  // namespace kq::svc
