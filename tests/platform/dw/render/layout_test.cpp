#include <gtest/gtest.h>

#include "platform/dw/render/grid_model.h"
#include "platform/dw/render/layout_line.h"
#include "platform/dw/render/layout_page.h"
#include "platform/dw/render/layout_widths.h"
#include "definition_builders.h"
#include "memory_presentation.h"

namespace kq::dw {
namespace {

using testing::MemoryPresentation;

void expect_widths(const std::vector<double>& got, const std::vector<double>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], 1e-9) << i;
}

TEST(RenderLayout, ZeroWidthsShareWhatDeclaredWidthsLeave) {
  expect_widths(split_widths({20, 0, 30, 0}, 190, 8), {20, 70, 30, 70});
  expect_widths(split_widths({20, 30}, 190, 8), {20, 30});        // no sharer: as declared
  expect_widths(split_widths({0, 0}, 100, 8), {50, 50});
  expect_widths(split_widths({-5, 0}, 100, 8), {50, 50});         // negative counts as 0
  expect_widths(split_widths({}, 100, 8), {});
}

TEST(RenderLayout, TooWideLinesShrinkInProportion) {
  expect_widths(split_widths({100, 100}, 150, 8), {75, 75});
  // Sharers get their least width, then everything shrinks to fit.
  std::vector<double> w = split_widths({95, 95, 0}, 190, 10);
  EXPECT_NEAR(w[0] + w[1] + w[2], 190, 1e-9);
  EXPECT_NEAR(w[0] / w[2], 9.5, 1e-9);
}

TEST(RenderLayout, CollapsedAndLoneReportLines) {
  Definition def = testing::bands_def(
      "d_r", Definition::Style::Report,
      {testing::row_of({testing::text_obj("t_a", "A"), testing::text_obj("t_b", "B")}),
       testing::row_of({testing::text_obj("t_pad", "", 5), testing::report_obj("dw_1", "d_n")}),
       testing::row_of({testing::text_obj("t_lbl", "说明"), testing::report_obj("dw_2", "d_n")}),
       testing::row_of({})});
  MemoryPresentation p(def);
  p.add_row({});
  p.hide("t_a");
  EXPECT_FALSE(resolve_line(p, def.detail.rows[0], 1).collapsed());
  p.hide("t_b");
  EXPECT_TRUE(resolve_line(p, def.detail.rows[0], 1).collapsed());
  EXPECT_FALSE(resolve_line(p, def.detail.rows[3], 1).collapsed());  // an empty line keeps its height

  PlacedLine padded = resolve_line(p, def.detail.rows[1], 1);
  ASSERT_NE(padded.lone_report(), nullptr);
  EXPECT_EQ(padded.lone_report()->object->name, "dw_1");
  EXPECT_EQ(resolve_line(p, def.detail.rows[2], 1).lone_report(), nullptr);
  p.hide("t_lbl");
  EXPECT_NE(resolve_line(p, def.detail.rows[2], 1).lone_report(), nullptr);
}

TEST(RenderLayout, BandRowIsCurrentElseFirstElseNone) {
  MemoryPresentation p(testing::grid_def("d_g", {testing::column_obj("a", 10, "A")}));
  EXPECT_EQ(band_row(p), 0);
  p.add_row({});
  p.add_row({});
  EXPECT_EQ(band_row(p), 1);
  p.set_current(2);
  EXPECT_EQ(band_row(p), 2);
  p.set_current(7);  // stale current row
  EXPECT_EQ(band_row(p), 1);
}

TEST(RenderLayout, PageSizeAndLandscape) {
  Definition def;
  EXPECT_EQ(page_size(def).width_mm, 210);
  EXPECT_EQ(page_size(def).height_mm, 297);
  def.landscape = true;
  EXPECT_EQ(page_size(def).width_mm, 297);
  EXPECT_EQ(page_size(def, 241, 140).width_mm, 241);  // already wide
  def.landscape = false;
  def.page_width_mm = 0;
  EXPECT_EQ(page_size(def).width_mm, 210);
  EXPECT_EQ(page_size(def, 0, 140).height_mm, 140);
}

}  // namespace
}  // namespace kq::dw
