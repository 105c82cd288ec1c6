#include "platform/dw/render/pdf_render.h"

#include <gtest/gtest.h>

#include <cairo.h>
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "platform/dw/render/html_render.h"
#include "platform/dw/render/layout_units.h"
#include "platform/dw/render/pictures.h"
#include "definition_builders.h"
#include "memory_presentation.h"
#include "pdf_probe.h"

namespace kq::dw {
namespace {

using testing::MemoryPresentation;

#define REQUIRE_PDFTOTEXT() \
  if (!testing::have_pdftotext()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed"

std::string render_ok(const Presentation& p, const PdfOptions& o = {}) {
  Result<std::string> pdf = render_pdf(p, o);
  EXPECT_TRUE(pdf.ok()) << (pdf.ok() ? "" : pdf.error());
  return pdf.ok() ? *pdf : std::string();
}

std::string text_of(const std::string& pdf, const std::string& flags = "") {
  std::optional<std::string> text = testing::pdftotext(pdf, flags);
  EXPECT_TRUE(text.has_value()) << "pdftotext could not read the document";
  return text.value_or("");
}

int count_of(const std::string& s, const std::string& needle) {
  int n = 0;
  for (size_t at = s.find(needle); at != std::string::npos; at = s.find(needle, at + 1)) ++n;
  return n;
}

Definition work_order_list(long width_each = 0) {
  ObjectDef amount = testing::column_obj("nhjje", width_each, "合计金额");
  amount.align = Align::Right;
  return testing::grid_def("d_svc309_01",
                           {testing::column_obj("cwtsbh", width_each, "委托书编号"),
                            testing::column_obj("ckhmc", width_each, "客户名称"), amount},
                           {testing::under("cwtsbh", testing::compute_obj("compute_1")),
                            testing::under("ckhmc", testing::text_obj("t_sum", "合计")),
                            testing::under("nhjje", testing::compute_obj("compute_2"))});
}

MemoryPresentation list_of(long rows) {
  MemoryPresentation p(work_order_list());
  char id[32];
  for (long i = 1; i <= rows; ++i) {
    std::snprintf(id, sizeof id, "W%04ld", i);
    p.add_row({{"cwtsbh", id}, {"ckhmc", "客户" + std::to_string(i)}, {"nhjje", "10.00"}});
  }
  p.set_text("compute_1", "记录数:1/" + std::to_string(rows));
  p.set_text("compute_2", "总计" + std::to_string(rows * 10) + ".00");
  return p;
}

Definition slip() {
  ObjectDef title = testing::compute_obj("compute_title");
  title.align = Align::Center;
  title.font_pt = 16;
  title.bold = true;
  return testing::bands_def(
      "d_svc305_jsd1", Definition::Style::Report,
      {testing::row_of({testing::text_obj("t_1", "客  户", 20), testing::column_obj("ckhmc", 60),
                        testing::text_obj("t_2", "车  型", 20), testing::column_obj("ccxmc")}),
       testing::row_of({testing::report_obj("dw_1", "d_svc305_jsd1_01")}),
       testing::row_of({testing::text_obj("t_3", "实收工时费：", 30), testing::compute_obj("compute_5", 30)})},
      {testing::row_of({title})}, {}, {testing::row_of({testing::text_obj("t_4", "地址：中山路1号")})});
}

std::shared_ptr<MemoryPresentation> items(long rows) {
  auto p = std::make_shared<MemoryPresentation>(testing::grid_def(
      "d_svc305_jsd1_01", {testing::column_obj("cwxxmdm", 30, "修理项目代码"), testing::column_obj("cxmmc", 0, "项目名称")}));
  for (long i = 1; i <= rows; ++i) p->add_row({{"cwxxmdm", "X" + std::to_string(1000 + i)}, {"cxmmc", "项目" + std::to_string(i)}});
  return p;
}

MemoryPresentation filled_slip(long item_rows) {
  MemoryPresentation p(slip());
  p.add_row({{"ckhmc", "张三"}, {"ccxmc", "桑塔纳"}});
  p.set_text("compute_title", "结算单");
  p.set_text("compute_5", "120.00");
  p.set_nested("dw_1", items(item_rows));
  return p;
}

TEST(PdfRender, WritesAValidDocumentWithPages) {
  MemoryPresentation p = filled_slip(3);
  std::string pdf = render_ok(p);
  ASSERT_GT(pdf.size(), 100u);
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_NE(pdf.find("%%EOF", pdf.size() - 16), std::string::npos);
  EXPECT_EQ(testing::pdf_page_objects(pdf), 1);
  EXPECT_NE(pdf.find("MediaBox [ 0 0 595.27"), std::string::npos);  // A4 portrait in points
}

TEST(PdfRender, ChineseTextOfBandsAndNestedListsIsInTheDocument) {
  REQUIRE_PDFTOTEXT();
  MemoryPresentation p = filled_slip(2);
  std::string text = text_of(render_ok(p));
  for (const char* expected : {"结算单", "客 户", "张三", "桑塔纳", "修理项目代码", "项目名称", "X1001", "项目2",
                               "实收工时费：", "120.00", "地址：中山路1号"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }
  // Top to bottom: heading, vehicle line, nested items, fees, footer.
  EXPECT_LT(text.find("结算单"), text.find("张三"));
  EXPECT_LT(text.find("张三"), text.find("X1001"));
  EXPECT_LT(text.find("项目2"), text.find("实收工时费"));
  EXPECT_LT(text.find("实收工时费"), text.find("地址"));
}

TEST(PdfRender, LongGridBreaksIntoPagesWithHeadingsRepeated) {
  MemoryPresentation p = list_of(150);
  std::string pdf = render_ok(p);
  const int pages = testing::pdf_page_objects(pdf);
  EXPECT_GE(pages, 3);
  REQUIRE_PDFTOTEXT();
  std::vector<std::string> texts = testing::pages_of(text_of(pdf));
  ASSERT_EQ(static_cast<int>(texts.size()), pages);
  std::string all;
  for (const std::string& page : texts) {
    EXPECT_NE(page.find("委托书编号"), std::string::npos);
    EXPECT_NE(page.find("合计金额"), std::string::npos);
    all += page;
  }
  char id[32];
  size_t last = 0;
  for (long i = 1; i <= 150; ++i) {
    std::snprintf(id, sizeof id, "W%04ld", i);
    EXPECT_EQ(count_of(all, id), 1) << id;
    const size_t at = all.find(id);
    EXPECT_GT(at, last) << id;  // in order
    last = at;
  }
  // The footer comes once, after the last row.
  EXPECT_EQ(count_of(all, "合计 "), 0);
  EXPECT_EQ(count_of(all, "总计1500.00"), 1);
  EXPECT_NE(texts.back().find("记录数:1/150"), std::string::npos);
  EXPECT_GT(all.find("总计1500.00"), all.find("W0150"));
}

// A field far longer than its cell (100,000 characters) is cut to what the
// cell can show before it is laid out: the document is made (it used to take
// minutes), shows the field's beginning, and the cell is at most a page high.
TEST(PdfRender, AFieldLongerThanItsCellShowsItsBeginningOnly) {
  std::string long_name = "开头";
  for (int i = 0; i < 100000; ++i) long_name += "长";
  long_name += "结尾";
  MemoryPresentation slip_with_long_name(slip());
  slip_with_long_name.add_row({{"ckhmc", long_name}, {"ccxmc", "桑塔纳"}});
  slip_with_long_name.set_text("compute_title", "结算单");
  slip_with_long_name.set_nested("dw_1", items(2));
  MemoryPresentation list = list_of(3);
  list.add_row({{"cwtsbh", "W9999"}, {"ckhmc", long_name}, {"nhjje", "1.00"}});
  for (MemoryPresentation* p : {&slip_with_long_name, &list}) {
    std::string pdf = render_ok(*p);
    ASSERT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_LE(testing::pdf_page_objects(pdf), 3) << "pages for one long field";
    if (!testing::have_pdftotext()) continue;
    std::string text = text_of(pdf);
    EXPECT_NE(text.find("开头"), std::string::npos) << text.substr(0, 300);
    EXPECT_EQ(text.find("结尾"), std::string::npos);
    EXPECT_NE(text.find(p == &list ? "W9999" : "X1002"), std::string::npos) << "the rows around it still print";
  }
}

TEST(PdfRender, GridWithoutRowsPrintsItsHeadings) {
  REQUIRE_PDFTOTEXT();
  MemoryPresentation p = list_of(0);
  std::string pdf = render_ok(p);
  EXPECT_EQ(testing::pdf_page_objects(pdf), 1);
  EXPECT_NE(text_of(pdf).find("委托书编号"), std::string::npos);
}

TEST(PdfRender, LongTextWrapsWithinItsCell) {
  REQUIRE_PDFTOTEXT();
  std::string note;
  for (int i = 0; i < 80; ++i) note += "修理";
  Definition def = testing::bands_def(
      "d_note", Definition::Style::Report,
      {testing::row_of({testing::text_obj("t_1", "Label", 20), testing::column_obj("note", 60),
                        testing::text_obj("t_2", "Tail")}),
       testing::row_of({testing::text_obj("t_3", "Below")})});
  MemoryPresentation p(def);
  p.add_row({{"note", note}});
  std::vector<testing::PdfWord> words = testing::words_of(text_of(render_ok(p), "-bbox"));
  const double cell_left = mm_to_pt(10 + 20), cell_right = mm_to_pt(10 + 20 + 60);
  int note_lines = 0;
  double note_bottom = 0;
  for (const testing::PdfWord& w : words) {
    if (w.text.find("修理") == std::string::npos) continue;
    ++note_lines;
    EXPECT_GE(w.x_min, cell_left - 0.5);
    EXPECT_LE(w.x_max, cell_right + 0.5);
    note_bottom = std::max(note_bottom, w.y_max);
  }
  EXPECT_GE(note_lines, 3);
  std::optional<testing::PdfWord> tail = testing::find_word(words, "Tail");
  std::optional<testing::PdfWord> below = testing::find_word(words, "Below");
  ASSERT_TRUE(tail && below);
  EXPECT_GE(tail->x_min, cell_right - 0.5);
  // The next line starts below the wrapped text.
  EXPECT_GT(below->y_min, note_bottom);
}

TEST(PdfRender, HiddenObjectKeepsItsPlaceAndAWhollyHiddenLineTakesNone) {
  REQUIRE_PDFTOTEXT();
  Definition def = testing::bands_def(
      "d_lines", Definition::Style::Report,
      {testing::row_of({testing::text_obj("t_a", "Alpha")}), testing::row_of({testing::text_obj("t_b", "Bravo")}),
       testing::row_of({testing::text_obj("t_x", "Xray", 30), testing::text_obj("t_c", "Charlie")})});
  MemoryPresentation shown(def);
  shown.add_row({});
  MemoryPresentation hidden(def);
  hidden.add_row({});
  hidden.hide("t_b");
  hidden.hide("t_x");

  std::vector<testing::PdfWord> a = testing::words_of(text_of(render_ok(shown), "-bbox"));
  std::vector<testing::PdfWord> b = testing::words_of(text_of(render_ok(hidden), "-bbox"));
  ASSERT_TRUE(testing::find_word(a, "Alpha") && testing::find_word(a, "Bravo") && testing::find_word(a, "Charlie"));
  ASSERT_TRUE(testing::find_word(b, "Alpha") && testing::find_word(b, "Charlie"));
  EXPECT_FALSE(testing::find_word(b, "Bravo"));
  EXPECT_FALSE(testing::find_word(b, "Xray"));
  const double step = testing::find_word(a, "Bravo")->y_min - testing::find_word(a, "Alpha")->y_min;
  ASSERT_GT(step, 1.0);
  // Bravo's line took no space: Charlie moved up by one line.
  EXPECT_NEAR(testing::find_word(b, "Charlie")->y_min,
              testing::find_word(a, "Charlie")->y_min - step, 0.5);
  // Xray's place stays: Charlie starts after its 30 mm.
  EXPECT_NEAR(testing::find_word(b, "Charlie")->x_min, testing::find_word(a, "Charlie")->x_min, 0.5);
  EXPECT_GE(testing::find_word(b, "Charlie")->x_min, mm_to_pt(10 + 30));
}

TEST(PdfRender, NestedListFlowsAcrossPagesUnderPageHeaderAndFooter) {
  MemoryPresentation p = filled_slip(120);
  std::string pdf = render_ok(p);
  const int pages = testing::pdf_page_objects(pdf);
  EXPECT_GE(pages, 2);
  REQUIRE_PDFTOTEXT();
  std::vector<std::string> texts = testing::pages_of(text_of(pdf));
  ASSERT_EQ(static_cast<int>(texts.size()), pages);
  std::string all;
  for (const std::string& page : texts) {
    EXPECT_NE(page.find("结算单"), std::string::npos);          // header band on every page
    EXPECT_NE(page.find("地址：中山路1号"), std::string::npos);  // footer band on every page
    EXPECT_NE(page.find("修理项目代码"), std::string::npos);     // the list's headings repeated
    all += page;
  }
  EXPECT_EQ(count_of(all, "X1120"), 1);
  EXPECT_EQ(count_of(all, "张三"), 1);
  EXPECT_NE(texts.back().find("实收工时费"), std::string::npos);
}

TEST(PdfRender, FormPrintsItsCurrentRecord) {
  REQUIRE_PDFTOTEXT();
  ObjectDef card = testing::column_obj("cskxf", 40);
  card.edit = EditStyle::CheckBox;
  card.checkbox_text = "刷卡消费";
  ObjectDef status = testing::column_obj("cwxzt");
  status.edit = EditStyle::Radio;
  status.codetable = {{"结清", "1"}, {"欠账", "2"}, {"未结", "0"}};
  MemoryPresentation p(testing::bands_def(
      "d_form", Definition::Style::Form,
      {testing::row_of({testing::text_obj("t_1", "客户名称", 25), testing::column_obj("ckhmc")}),
       testing::row_of({card, status})}));
  p.add_row({{"ckhmc", "张三"}, {"cwxzt", "1"}});
  p.add_row({{"ckhmc", "李四"}, {"cwxzt", "2"}});
  p.set_current(2);
  std::string text = text_of(render_ok(p));
  EXPECT_EQ(text.find("张三"), std::string::npos);
  for (const char* expected : {"客户名称", "李四", "刷卡消费", "结清", "欠账", "未结"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
  }
}

TEST(PdfRender, PageSizeFromTheDefinitionAndOptions) {
  auto media = [](const std::string& pdf) {
    std::smatch m;
    EXPECT_TRUE(std::regex_search(pdf, m, std::regex("/MediaBox \\[ ?0 0 ([0-9.]+) ([0-9.]+)")));
    return m.size() == 3 ? std::make_pair(std::stod(m[1]), std::stod(m[2])) : std::make_pair(0.0, 0.0);
  };
  MemoryPresentation p = list_of(3);
  p.mutable_definition().landscape = true;
  auto [w, h] = media(render_ok(p));
  EXPECT_NEAR(w, mm_to_pt(297), 0.5);
  EXPECT_NEAR(h, mm_to_pt(210), 0.5);

  PdfOptions o;
  o.page_width_mm = 241;
  o.page_height_mm = 140;
  p.mutable_definition().landscape = false;
  std::tie(w, h) = media(render_ok(p, o));
  EXPECT_NEAR(w, mm_to_pt(241), 0.5);
  EXPECT_NEAR(h, mm_to_pt(140), 0.5);
}

TEST(PdfRender, PageTooSmallForItsMarginsIsAnError) {
  MemoryPresentation p = list_of(3);
  PdfOptions o;
  o.margin_mm = 100;
  Result<std::string> pdf = render_pdf(p, o);
  ASSERT_FALSE(pdf.ok());
  EXPECT_NE(pdf.error().find("d_svc309_01"), std::string::npos);
  o.margin_mm = -1;
  EXPECT_FALSE(render_pdf(p, o).ok());
}

// Ruled rectangles and rules of a document's first page: the stroked paths
// pdftocairo writes into SVG (-1 when it cannot read the document).
int stroked_paths(const std::string& pdf) {
  const std::string base = "/tmp/kq_render_strokes_" + std::to_string(getpid());
  {
    std::ofstream out(base + ".pdf", std::ios::binary);
    out << pdf;
  }
  const int rc = std::system(("pdftocairo -svg -f 1 -l 1 " + base + ".pdf " + base + ".svg 2>/dev/null").c_str());
  std::ifstream in(base + ".svg");
  std::stringstream svg;
  svg << in.rdbuf();
  std::remove((base + ".pdf").c_str());
  std::remove((base + ".svg").c_str());
  if (rc != 0) return -1;
  return count_of(svg.str(), "fill:none;stroke-width");
}

// A ruled cell whose value is hidden (its visibility false) still draws its
// border: a ruled table keeps its lines. A line whose objects are all hidden
// still takes no space.
TEST(PdfRender, RuledCellKeepsItsBorderWhenItsValueIsHidden) {
  REQUIRE_PDFTOTEXT();
  ObjectDef label = testing::text_obj("t_fee", "工时费", 30);
  label.border = true;
  ObjectDef fee = testing::compute_obj("compute_4", 30);
  fee.border = true;
  Definition def = testing::bands_def("d_ruled", Definition::Style::Report,
                                      {testing::row_of({label, fee}), testing::row_of({testing::text_obj("t_end", "End")})});
  MemoryPresentation shown(def), hidden(def);
  for (MemoryPresentation* p : {&shown, &hidden}) {
    p->add_row({});
    p->set_text("compute_4", "120.00");
  }
  hidden.hide("compute_4");
  const int with_value = stroked_paths(render_ok(shown));
  const int without_value = stroked_paths(render_ok(hidden));
  EXPECT_EQ(with_value, 2);
  EXPECT_EQ(without_value, with_value) << "the hidden value's cell lost its border";
  EXPECT_EQ(text_of(render_ok(hidden)).find("120.00"), std::string::npos);
}

// The slip's picture names the old workstation's file ('..\\picture\\jsd\\1.bmp');
// it is read inside the picture folder as a PNG of the same name and drawn
// (PDF) or written into the page (HTML); without it nothing shows, no box,
// no height. A name climbing out of the folder names nothing.
TEST(PdfRender, PictureDrawsTheShopsLogoFromThePictureFolder) {
  REQUIRE_PDFTOTEXT();
  EXPECT_FALSE(picture_path("jsd/../../../etc/passwd").has_value());
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("kq_pictures_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder / "jsd");
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 80, 40);
  ASSERT_EQ(cairo_surface_write_to_png(image, (folder / "jsd" / "1.png").c_str()), CAIRO_STATUS_SUCCESS);
  cairo_surface_destroy(image);

  ObjectDef logo;
  logo.kind = ObjectDef::Kind::Picture;
  logo.name = "p_1";
  logo.file = "..\\picture\\jsd\\1.bmp";
  logo.width_mm = 30;
  MemoryPresentation p(testing::bands_def("d_logo", Definition::Style::Report,
                                          {testing::row_of({logo}), testing::row_of({testing::text_obj("t_1", "Below")})}));
  p.add_row({});
  PdfOptions with, without;
  with.picture_folder = folder.string();
  const std::string drawn = render_ok(p, with), missing = render_ok(p, without);
  EXPECT_NE(drawn.find("/Subtype /Image"), std::string::npos);
  EXPECT_EQ(missing.find("/Subtype /Image"), std::string::npos);
  EXPECT_EQ(stroked_paths(missing), 0) << "no box stands in for a missing picture";
  // 30 mm wide at 2:1 takes 15 mm; a missing picture takes none.
  auto below_y = [&](const std::string& pdf) { return testing::find_word(testing::words_of(text_of(pdf, "-bbox")), "Below")->y_min; };
  EXPECT_NEAR(below_y(drawn) - below_y(missing), mm_to_pt(15), 1.0);

  HtmlOptions html;
  html.picture_folder = folder.string();
  EXPECT_NE(render_html(p, html).find("<img class=\"kq-image\" alt=\"\" src=\"data:image/png;base64,iVBOR"),
            std::string::npos);
  html.picture_folder.clear();
  EXPECT_EQ(render_html(p, html).find("<img"), std::string::npos);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kq::dw
