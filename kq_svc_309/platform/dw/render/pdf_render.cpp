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

void print_list(PdfContext& ctx, const Presentation& p) {
  PdfFlow& flow = *ctx.flow;
  const Definition& def = p.definition();
  if (!def.title.empty()) {
    PdfTextStyle style{kTitlePt, true, Align::Center};
    const double h = flow.canvas().text_height(def.title, style, flow.width()) + 2;
    flow.canvas().draw_text(def.title, style, flow.left(), flow.y(), flow.width());
    flow.advance(h);
  }
  emit_pdf_grid(ctx, p, flow.left(), flow.width());
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

}  // namespace

Result<std::string> render_pdf(const Presentation& p, const PdfOptions& options) {
  const Definition& def = p.definition();
  const PageSize page = page_size(def, options.page_width_mm, options.page_height_mm);
  const double width = page.width_mm, height = page.height_mm;
  const double margin = options.margin_mm;
  if (!(margin >= 0) || width - 2 * margin < kMinBodyMm || height - 2 * margin < kMinBodyMm) {
    return make_error("page of " + def.name + " too small for its margins");
  }
  std::string title = options.title;
  if (title.empty()) title = def.title.empty() ? def.name : def.title;

  Result<std::unique_ptr<PdfCanvas>> canvas = PdfCanvas::open(width, height, options.font_family, title);
  if (!canvas) return make_error(canvas.error());
  (*canvas)->set_max_text_height(height - 2 * margin);
  PdfFlow flow(**canvas, margin);
  PdfContext ctx;
  ctx.flow = &flow;
  if (def.style == Definition::Style::Grid) print_list(ctx, p);
  else print_bands(ctx, p);
  flow.end();
  return (*canvas)->finish();
}

}  // namespace kq::dw
