#include "platform/dw/render/pdf_render.h"

#include <utility>

#include "platform/dw/render/layout_line.h"
#include "platform/dw/render/layout_page.h"
#include "platform/dw/render/pdf_band.h"
#include "platform/dw/render/pdf_canvas.h"
#include "platform/dw/render/pdf_flow.h"
#include "platform/dw/render/pdf_grid.h"

namespace kq::dw {

namespace {

constexpr double kMinBodyMm = 20;     // the least printable width and height
constexpr double kTitlePt = 14;
constexpr double kHeadingPt = 9;      // the line under a list's title, its page numbers
constexpr double kGapMm = 1.5;

std::string heading_text(const PrintHeading& h) {
  std::string out;
  auto add = [&out](const std::string& label, const std::string& value) {
    if (value.empty()) return;
    if (!out.empty()) out += "    ";
    out += label + value;
  };
  add("", h.range);
  add("操作员：", h.printed_by);
  add("打印时间：", h.printed_at);
  return out;
}

std::string page_number_text(int page, int pages) {
  std::string out = "第 " + std::to_string(page) + " 页";
  if (pages > 0) out += " / 共 " + std::to_string(pages) + " 页";
  return out;
}

// A list: on every page its title, the heading line and the page number at
// the foot ("第 x 页 / 共 y 页"; `pages` 0 = not known yet).
void print_list(PdfContext& ctx, const Presentation& p, const PdfOptions& options, int pages) {
  PdfFlow& flow = *ctx.flow;
  const Definition& def = p.definition();
  const std::string heading = heading_text(options.heading);
  const PdfTextStyle small{kHeadingPt, false, Align::Left, true};

  PdfTextStyle centred = small;
  centred.align = Align::Center;
  const double number_h = flow.canvas().line_height(centred) + kGapMm;
  flow.set_page_footer(
      [centred, pages](PdfFlow& f) {
        f.canvas().draw_text(page_number_text(f.canvas().page_count(), pages), centred, f.left(), f.y() + kGapMm,
                             f.width());
      },
      number_h);

  auto top = [&def, heading, small](PdfFlow& f) {
    if (!def.title.empty()) {
      const PdfTextStyle style{kTitlePt, true, Align::Center};
      const double h = f.canvas().text_height(def.title, style, f.width()) + 2;
      f.canvas().draw_text(def.title, style, f.left(), f.y(), f.width());
      f.advance(h);
    }
    if (!heading.empty()) {
      f.canvas().draw_fitted(heading, small, f.left(), f.y(), f.width(), kMinFittedPt);
      f.advance(f.canvas().line_height(small) + kGapMm);
    }
  };
  flow.push_repeat(top);
  flow.begin();
  emit_pdf_grid(ctx, p, flow.left(), flow.width());
  flow.pop_repeat();
}

void print_bands(PdfContext& ctx, const Presentation& p) {
  PdfFlow& flow = *ctx.flow;
  const Definition& def = p.definition();
  const long at = band_row(p);

  auto footer = [&ctx, &p, &def, at](PdfFlow& f) { emit_pdf_band(ctx, p, def.footer, at, f.left(), f.width()); };
  const double footer_h = flow.measure(footer);
  const double body = flow.bottom() - flow.top();
  const bool footer_on_pages = footer_h > 0 && footer_h <= body / 3;
  if (footer_on_pages) flow.set_page_footer(footer, footer_h);

  auto header = [&ctx, &p, &def, at](PdfFlow& f) {
    f.keep_together([&](PdfFlow& g) { emit_pdf_band(ctx, p, def.header, at, g.left(), g.width()); });
  };
  flow.push_repeat(header);
  flow.begin();

  if (def.style == Definition::Style::Form) {
    if (at > 0) emit_pdf_band(ctx, p, def.detail, at, flow.left(), flow.width());
  } else {
    for (long row = 1; row <= p.row_count(); ++row) emit_pdf_band(ctx, p, def.detail, row, flow.left(), flow.width());
  }
  emit_pdf_band(ctx, p, def.summary, at, flow.left(), flow.width());
  if (!footer_on_pages) emit_pdf_band(ctx, p, def.footer, at, flow.left(), flow.width());
  flow.pop_repeat();
}

// Lays the document out on `canvas`; `pages` is the page count of lists (0 =
// not known yet).
void lay_out(PdfCanvas& canvas, const Presentation& p, const PdfOptions& options, int pages) {
  PdfFlow flow(canvas, options.margin_mm);
  PictureCache pictures(options.picture_folder);
  PdfContext ctx;
  ctx.flow = &flow;
  ctx.pictures = &pictures;
  if (p.definition().style == Definition::Style::Grid) print_list(ctx, p, options, pages);
  else print_bands(ctx, p);
  flow.end();
}

}  // namespace

Result<std::string> render_pdf(const Presentation& p, const PdfOptions& options) {
  const Definition& def = p.definition();
  const PageSize page = printed_page(p, options.margin_mm, options.page_width_mm, options.page_height_mm);
  const double width = page.width_mm, height = page.height_mm;
  const double margin = options.margin_mm;
  if (!(margin >= 0) || width - 2 * margin < kMinBodyMm || height - 2 * margin < kMinBodyMm) {
    return make_error("page of " + def.name + " too small for its margins");
  }
  std::string title = options.title;
  if (title.empty()) title = def.title.empty() ? def.name : def.title;

  // A list's pages are counted first by laying it out without drawing: its
  // page numbers say "of y".
  int pages = 0;
  if (def.style == Definition::Style::Grid) {
    Result<std::unique_ptr<PdfCanvas>> counting = PdfCanvas::open(width, height, options.font_family, title);
    if (!counting) return make_error(counting.error());
    (*counting)->set_max_text_height(height - 2 * margin);
    (*counting)->set_drawing(false);
    lay_out(**counting, p, options, 0);
    pages = (*counting)->page_count();
  }

  Result<std::unique_ptr<PdfCanvas>> canvas = PdfCanvas::open(width, height, options.font_family, title);
  if (!canvas) return make_error(canvas.error());
  (*canvas)->set_max_text_height(height - 2 * margin);
  lay_out(**canvas, p, options, pages);
  return (*canvas)->finish();
}

}  // namespace kq::dw
