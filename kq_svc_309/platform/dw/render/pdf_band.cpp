#include "platform/dw/render/pdf_band.h"

#include <algorithm>

#include "platform/dw/render/layout_widths.h"
#include "platform/dw/render/pdf_grid.h"
#include "platform/dw/render/pdf_object.h"

namespace kq::dw {

void emit_pdf_line(PdfContext& ctx, const Presentation& p, const PlacedLine& line, double x,
                   double width) {
  if (line.collapsed()) return;
  PdfFlow& flow = *ctx.flow;
  std::vector<double> declared;
  declared.reserve(line.objects.size());
  for (const PlacedObject& o : line.objects) declared.push_back(o.object->width_mm);
  const std::vector<double> widths = split_widths(declared, width, kMinShareMm);
  std::vector<double> xs(widths.size());
  double at = x;
  for (size_t i = 0; i < widths.size(); ++i) {
    xs[i] = at;
    at += widths[i];
  }

  if (const PlacedObject* report = line.lone_report()) {
    const size_t i = static_cast<size_t>(report - line.objects.data());
    const double start = flow.y();
    if (report->nested && ctx.depth < PdfContext::kMaxNesting) {
      PdfContext inner = ctx;
      inner.depth = ctx.depth + 1;
      emit_pdf_nested(inner, *report->nested, xs[i], widths[i]);
    }
    const double declared_h = line.def ? line.def->height_mm : 0;
    if (flow.y() - start < declared_h) flow.advance(declared_h - (flow.y() - start));
    return;
  }

  double height = line.def ? line.def->height_mm : 0;
  if (line.objects.empty() && height <= 0) {
    PdfTextStyle style;
    style.font_pt = default_font_pt(p.definition());
    height = flow.canvas().line_height(style);
  }
  for (size_t i = 0; i < line.objects.size(); ++i) {
    PdfBox box{xs[i], 0, widths[i], 0};
    height = std::max(height, pdf_object(ctx, p, line.objects[i], box, PdfCellMode::Measure));
  }
  flow.need(height);
  const double y = flow.y();
  for (size_t i = 0; i < line.objects.size(); ++i) {
    const PlacedObject& o = line.objects[i];
    PdfBox box{xs[i], y, widths[i], height};
    pdf_object(ctx, p, o, box, PdfCellMode::Draw);
    if (o.object->border) flow.canvas().stroke_rect(box.x, box.y, box.width, box.height);
  }
  flow.set_y(y);
  flow.advance(height);
}

void emit_pdf_band(PdfContext& ctx, const Presentation& p, const BandDef& band, long row, double x,
                   double width) {
  for (const RowDef& def : band.rows) emit_pdf_line(ctx, p, resolve_line(p, def, row), x, width);
}

void emit_pdf_nested(PdfContext& ctx, const Presentation& nested, double x, double width) {
  const Definition& def = nested.definition();
  if (def.style == Definition::Style::Grid) {
    emit_pdf_grid(ctx, nested, x, width);
    return;
  }
  const long at = band_row(nested);
  emit_pdf_band(ctx, nested, def.header, at, x, width);
  if (def.style == Definition::Style::Form) {
    if (at > 0) emit_pdf_band(ctx, nested, def.detail, at, x, width);
  } else {
    for (long row = 1; row <= nested.row_count(); ++row) emit_pdf_band(ctx, nested, def.detail, row, x, width);
  }
  emit_pdf_band(ctx, nested, def.summary, at, x, width);
  emit_pdf_band(ctx, nested, def.footer, at, x, width);
}

}  // namespace kq::dw
