#include "platform/dw/render/pdf_grid.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/dw/render/grid_model.h"
#include "platform/dw/render/layout_line.h"
#include "platform/dw/render/layout_widths.h"
#include "platform/dw/render/pdf_object.h"

namespace kq::dw {

namespace {

struct TableGeometry {
  std::vector<double> xs, widths;
};

struct TextCell {
  std::string text;
  PdfTextStyle style;
};

// One line of plain text cells, ruled; measured and drawn by the same code.
double text_line(PdfCanvas& canvas, const TableGeometry& g, const std::vector<TextCell>& cells,
                 double y, double height, PdfCellMode mode) {
  double h = height;
  for (size_t i = 0; i < cells.size(); ++i) {
    const double inner = std::max(g.widths[i] - 2 * kCellPadX, 0.1);
    const double th = canvas.text_height(cells[i].text, cells[i].style, inner) + 2 * kCellPadY;
    if (mode == PdfCellMode::Measure) {
      h = std::max(h, th);
    } else {
      const double offset = std::max((height - th) / 2, 0.0);
      canvas.draw_text(cells[i].text, cells[i].style, g.xs[i] + kCellPadX, y + kCellPadY + offset, inner);
      canvas.stroke_rect(g.xs[i], y, g.widths[i], height);
    }
  }
  return h;
}

void emit_text_line(PdfFlow& flow, const TableGeometry& g, const std::vector<TextCell>& cells,
                    double min_height) {
  const double h = text_line(flow.canvas(), g, cells, 0, min_height, PdfCellMode::Measure);
  flow.need(h);
  text_line(flow.canvas(), g, cells, flow.y(), h, PdfCellMode::Draw);
  flow.advance(h);
}

}  // namespace

void emit_pdf_grid(PdfContext& ctx, const Presentation& p, double x, double width) {
  const Definition& def = p.definition();
  const GridModel model = build_grid_model(p);
  if (model.columns.empty()) return;
  PdfFlow& flow = *ctx.flow;
  PdfCanvas& canvas = flow.canvas();

  TableGeometry g;
  std::vector<double> declared;
  for (const GridColumn& c : model.columns) declared.push_back(c.width_mm);
  g.widths = split_widths(declared, width, kMinShareMm);
  double at = x;
  for (double w : g.widths) {
    g.xs.push_back(at);
    at += w;
  }

  std::vector<TextCell> headings;
  for (const GridColumn& c : model.columns) {
    PdfTextStyle style;
    style.font_pt = default_font_pt(def);
    style.bold = true;
    style.align = Align::Center;
    headings.push_back({grid_heading_text(p, c, model.band_row), style});
  }
  const double heading_h = text_line(canvas, g, headings, 0, 0, PdfCellMode::Measure);
  auto draw_headings = [g, headings](PdfFlow& f) { emit_text_line(f, g, headings, 0); };

  // Resolves a row's cells and returns the line's height.
  std::vector<PlacedObject> cells(model.columns.size());
  auto resolve_row = [&](long row) {
    double h = 0;
    for (size_t i = 0; i < model.columns.size(); ++i) {
      cells[i] = resolve_object(p, *model.columns[i].field, row);
      PdfBox box{g.xs[i], 0, g.widths[i], 0};
      h = std::max(h, pdf_object(ctx, p, cells[i], box, PdfCellMode::Measure));
    }
    return std::max(h, canvas.line_height(PdfTextStyle{default_font_pt(def), false, Align::Left}) +
                           2 * kCellPadY);
  };

  const long rows = p.row_count();
  // Headings are not left alone at the foot of a page.
  flow.need(heading_h + (rows > 0 ? resolve_row(1) : 0));
  draw_headings(flow);
  flow.push_repeat(draw_headings);
  for (long row = 1; row <= rows; ++row) {
    const double h = resolve_row(row);
    flow.need(h);
    const double y = flow.y();
    for (size_t i = 0; i < cells.size(); ++i) {
      PdfBox box{g.xs[i], y, g.widths[i], h};
      pdf_object(ctx, p, cells[i], box, PdfCellMode::Draw, true);
      canvas.stroke_rect(box.x, box.y, box.width, box.height);
    }
    flow.set_y(y);
    flow.advance(h);
  }
  flow.pop_repeat();

  for (const GridFooterLine& line : model.footer) {
    std::vector<TextCell> cells_text;
    bool any = false;
    for (const std::vector<const ObjectDef*>& objects : line.cells) {
      TextCell cell;
      cell.style.font_pt = default_font_pt(def);
      bool first = true;
      for (const ObjectDef* object : objects) {
        PlacedObject placed = resolve_object(p, *object, model.band_row);
        if (placed.hidden || placed.text.empty()) continue;
        if (first) cell.style = pdf_text_style(def, *object);
        else cell.text += ' ';
        cell.text += placed.text;
        first = false;
        any = true;
      }
      cells_text.push_back(std::move(cell));
    }
    if (any) emit_text_line(flow, g, cells_text, 0);
  }
}

}  // namespace kq::dw
