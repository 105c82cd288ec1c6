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
  double type_scale = 1;  // the table's type against the definition's
};

struct TextCell {
  std::string text;
  PdfTextStyle style;
};

// One line of plain text cells, ruled; measured and drawn by the same code.
// Cells of one-line style keep one line; the others wrap.
double text_line(PdfCanvas& canvas, const TableGeometry& g, const std::vector<TextCell>& cells,
                 double y, double height, PdfCellMode mode) {
  double h = height;
  for (size_t i = 0; i < cells.size(); ++i) {
    const double inner = std::max(g.widths[i] - 2 * kCellPadX, 0.1);
    const PdfTextStyle& style = cells[i].style;
    const double th = (style.one_line ? canvas.line_height(style) : canvas.text_height(cells[i].text, style, inner)) +
                      2 * kCellPadY;
    if (mode == PdfCellMode::Measure) {
      h = std::max(h, th);
    } else {
      const double top = y + kCellPadY + std::max((height - th) / 2, 0.0);
      if (style.one_line) canvas.draw_fitted(cells[i].text, style, g.xs[i] + kCellPadX, top, inner, kMinFittedPt);
      else canvas.draw_text(cells[i].text, style, g.xs[i] + kCellPadX, top, inner);
      canvas.stroke_rect(g.xs[i], y, g.widths[i], height);
    }
  }
  return h;
}

double measure_text_line(PdfCanvas& canvas, const TableGeometry& g, const std::vector<TextCell>& cells) {
  return text_line(canvas, g, cells, 0, 0, PdfCellMode::Measure);
}

void emit_text_line(PdfFlow& flow, const TableGeometry& g, const std::vector<TextCell>& cells) {
  const double h = measure_text_line(flow.canvas(), g, cells);
  flow.need(h);
  text_line(flow.canvas(), g, cells, flow.y(), h, PdfCellMode::Draw);
  flow.advance(h);
}

// Check boxes, radio choices and pictures are laid out as objects; every
// other column shows one line of text.
bool text_column(const ObjectDef& field) {
  if (field.kind == ObjectDef::Kind::Picture || field.kind == ObjectDef::Kind::Report) return false;
  return !(field.kind == ObjectDef::Kind::Column && (field.edit == EditStyle::CheckBox || field.edit == EditStyle::Radio));
}

PdfTextStyle table_style(const Definition& def, const ObjectDef& object, const TableGeometry& g) {
  PdfTextStyle style = pdf_text_style(def, object);
  style.font_pt = std::max(std::min(kMinTablePt, style.font_pt), style.font_pt * g.type_scale);
  return style;
}

// The footer lines (summary and footer band objects under their columns),
// leaving out lines that show nothing.
std::vector<std::vector<TextCell>> footer_lines(const Presentation& p, const GridModel& model, const TableGeometry& g) {
  const Definition& def = p.definition();
  std::vector<std::vector<TextCell>> lines;
  for (const GridFooterLine& line : model.footer) {
    std::vector<TextCell> cells;
    bool any = false;
    for (const std::vector<const ObjectDef*>& objects : line.cells) {
      TextCell cell;
      cell.style.font_pt = std::max(kMinTablePt, default_font_pt(def) * g.type_scale);
      cell.style.one_line = true;
      bool first = true;
      for (const ObjectDef* object : objects) {
        PlacedObject placed = resolve_object(p, *object, model.band_row);
        if (placed.hidden || placed.text.empty()) continue;
        if (first) {
          cell.style = table_style(def, *object, g);
          cell.style.one_line = true;
        } else {
          cell.text += ' ';
        }
        cell.text += placed.text;
        first = false;
        any = true;
      }
      cells.push_back(std::move(cell));
    }
    if (any) lines.push_back(std::move(cells));
  }
  return lines;
}

}  // namespace

void emit_pdf_grid(PdfContext& ctx, const Presentation& p, double x, double width) {
  const Definition& def = p.definition();
  const GridModel model = build_grid_model(p);
  if (model.columns.empty()) return;
  PdfFlow& flow = *ctx.flow;
  PdfCanvas& canvas = flow.canvas();
  const size_t n = model.columns.size();

  TableGeometry g;
  std::vector<double> declared;
  for (const GridColumn& c : model.columns) declared.push_back(c.width_mm);
  const double natural = grid_natural_width(model);
  if (natural > width && natural > 0) g.type_scale = width / natural;
  g.widths = split_widths(declared, width, kMinShareMm * g.type_scale);
  double at = x;
  for (double w : g.widths) {
    g.xs.push_back(at);
    at += w;
  }

  std::vector<TextCell> headings;
  for (const GridColumn& c : model.columns) {
    PdfTextStyle style;
    style.font_pt = std::max(kMinTablePt, default_font_pt(def) * g.type_scale);
    style.bold = true;
    style.align = Align::Center;
    headings.push_back({grid_heading_text(p, c, model.band_row), style});
  }
  const double heading_h = measure_text_line(canvas, g, headings);
  auto draw_headings = [g, headings](PdfFlow& f) { emit_text_line(f, g, headings); };

  const std::vector<std::vector<TextCell>> footer = footer_lines(p, model, g);
  double footer_h = 0;
  for (const std::vector<TextCell>& line : footer) footer_h += measure_text_line(canvas, g, line);

  // Text columns: their style and the height of their one line.
  std::vector<bool> is_text(n);
  std::vector<PdfTextStyle> styles(n);
  std::vector<double> line_h(n, 0);
  double text_row_h = canvas.line_height(PdfTextStyle{std::max(kMinTablePt, default_font_pt(def) * g.type_scale)}) +
                      2 * kCellPadY;
  bool all_text = true;
  for (size_t i = 0; i < n; ++i) {
    const ObjectDef& field = *model.columns[i].field;
    is_text[i] = text_column(field);
    all_text = all_text && is_text[i];
    styles[i] = table_style(def, field, g);
    styles[i].one_line = true;
    if (!is_text[i]) continue;
    line_h[i] = canvas.line_height(styles[i]);
    text_row_h = std::max(text_row_h, line_h[i] + 2 * kCellPadY);
  }

  // Resolves a row's cells and returns the line's height.
  std::vector<PlacedObject> cells(n);
  auto resolve_row = [&](long row) {
    double h = text_row_h;
    for (size_t i = 0; i < n; ++i) {
      cells[i] = resolve_object(p, *model.columns[i].field, row);
      if (is_text[i]) continue;
      PdfBox box{g.xs[i], 0, g.widths[i], 0};
      h = std::max(h, pdf_object(ctx, p, cells[i], box, PdfCellMode::Measure));
    }
    return h;
  };

  const long rows = p.row_count();
  // Headings are not left alone at the foot of a page, nor the footer lines.
  flow.need(heading_h + (rows > 0 ? resolve_row(1) : footer_h));
  draw_headings(flow);
  flow.push_repeat(draw_headings);
  for (long row = 1; row <= rows; ++row) {
    // Counting pages (nothing is drawn): a table of text columns has rows of
    // one height, and its values need not be looked at.
    const bool counting = all_text && !canvas.drawing();
    const double h = counting ? text_row_h : resolve_row(row);
    flow.need(row == rows ? h + footer_h : h);
    const double y = flow.y();
    if (!counting) {
      for (size_t i = 0; i < n; ++i) {
        const PdfBox box{g.xs[i], y, g.widths[i], h};
        if (is_text[i]) {
          if (!cells[i].hidden) {
            const double top = y + (h - line_h[i]) / 2;  // centred in the row
            canvas.draw_fitted(cells[i].text, styles[i], box.x + kCellPadX, top, box.width - 2 * kCellPadX, kMinFittedPt);
          }
        } else {
          pdf_object(ctx, p, cells[i], box, PdfCellMode::Draw, true);
        }
        canvas.stroke_rect(box.x, box.y, box.width, box.height);
      }
    }
    flow.set_y(y);
    flow.advance(h);
  }
  flow.pop_repeat();

  for (const std::vector<TextCell>& line : footer) emit_text_line(flow, g, line);
}

}  // namespace kq::dw
