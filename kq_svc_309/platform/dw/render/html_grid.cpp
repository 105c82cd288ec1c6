#include "platform/dw/render/html_grid.h"

#include <algorithm>

#include "platform/dw/render/grid_model.h"
#include "platform/dw/render/html_css.h"
#include "platform/dw/render/html_escape.h"
#include "platform/dw/render/layout_line.h"

namespace kq::dw {

RowWindow grid_row_window(long row_count, long first_row, long row_window) {
  RowWindow w;
  w.first = std::clamp(first_row, 1L, std::max(row_count, 0L) + 1);
  w.last = row_count;
  if (row_window > 0) w.last = std::min(row_count, w.first + row_window - 1);
  return w;
}

GridMetrics html_grid_metrics(const Presentation& p, const HtmlOptions& options) {
  GridModel model = build_grid_model(p);
  GridMetrics m;
  m.row_count = p.row_count();
  m.row_height_px = options.row_height_px;
  m.heading_height_px = options.row_height_px;
  m.footer_height_px = static_cast<int>(model.footer.size()) * options.row_height_px;
  m.total_height_px = static_cast<long long>(m.heading_height_px) + m.footer_height_px +
                      static_cast<long long>(std::max(m.row_count, 0L)) * options.row_height_px;
  return m;
}

namespace {

void append_cell_class(std::string& out, const ObjectDef& object) {
  out += " class=\"";
  out += align_class(object.align);
  if (object.bold) out += " kq-bold";
  out += '"';
}

void append_cell_font(std::string& out, const Definition& def, const ObjectDef& object) {
  if (object.font_pt > 0 && object.font_pt != default_font_pt(def)) {
    out += " style=\"font-size:" + css_pt(object.font_pt) + '"';
  }
}

void append_cell(std::string& out, const Presentation& p, const HtmlOptions& options,
                 const ObjectDef& field, long row) {
  PlacedObject cell = resolve_object(p, field, row);
  out += "<td";
  append_cell_class(out, field);
  append_cell_font(out, p.definition(), field);
  if (field.kind == ObjectDef::Kind::Column) append_attribute(out, "data-column", field.column);
  else append_attribute(out, "data-object", field.name);
  out += '>';
  if (!cell.hidden) {
    switch (cell.kind) {
      case PlacedKind::CheckBox:
        out += "<input type=\"checkbox\"";
        append_attribute(out, "data-on", field.checkbox_on);
        append_attribute(out, "data-off", field.checkbox_off);
        if (cell.checked) out += " checked";
        if (!options.editable || p.is_protected(field, row)) out += " disabled";
        out += '>';
        if (!cell.text.empty()) {
          out += ' ';
          append_escaped(out, cell.text);
        }
        break;
      case PlacedKind::Text:
      case PlacedKind::Field:
      case PlacedKind::Radio:
        append_escaped(out, cell.text);
        break;
      case PlacedKind::Line:
      case PlacedKind::Picture:
      case PlacedKind::Report:
        break;
    }
  }
  out += "</td>";
}

void append_spacer(std::string& out, size_t columns, long long height_px) {
  if (height_px <= 0) return;
  out += "<tr class=\"kq-spacer\" aria-hidden=\"true\"><td";
  append_attribute(out, "colspan", std::to_string(std::max<size_t>(columns, 1)));
  out += " style=\"height:" + std::to_string(height_px) + "px\"></td></tr>";
}

void append_footer(std::string& out, const Presentation& p, const GridModel& model) {
  if (model.footer.empty()) return;
  out += "<tfoot>";
  for (const GridFooterLine& line : model.footer) {
    out += "<tr class=\"kq-footer\">";
    for (const std::vector<const ObjectDef*>& objects : line.cells) {
      std::string text;
      const ObjectDef* first = nullptr;
      for (const ObjectDef* object : objects) {
        PlacedObject placed = resolve_object(p, *object, model.band_row);
        if (placed.hidden || placed.text.empty()) continue;
        if (!first) first = object;
        else text += ' ';
        text += placed.text;
      }
      out += "<td";
      if (first) {
        append_cell_class(out, *first);
        append_cell_font(out, p.definition(), *first);
        append_attribute(out, "data-object", first->name);
      }
      out += '>';
      append_escaped(out, text);
      out += "</td>";
    }
    out += "</tr>";
  }
  out += "</tfoot>";
}

}  // namespace

void append_html_grid(std::string& out, const Presentation& p, const HtmlOptions& options,
                      const HtmlGridStyle& style) {
  const Definition& def = p.definition();
  GridModel model = build_grid_model(p);
  const long rows = p.row_count();
  RowWindow window = style.ruled ? grid_row_window(rows, 1, 0)
                                 : grid_row_window(rows, options.first_row, options.row_window);

  double declared = 0;
  bool all_declared = !model.columns.empty();
  for (const GridColumn& c : model.columns) {
    declared += c.width_mm;
    if (c.width_mm <= 0) all_declared = false;
  }

  out += "<table class=\"kq-grid";
  if (style.ruled) out += " kq-ruled";
  out += "\" style=\"";
  if (!style.ruled) out += "--kq-row-height:" + std::to_string(options.row_height_px) + "px;";
  out += "font-size:" + css_pt(default_font_pt(def)) + ";";
  out += all_declared ? "width:" + css_mm(declared) : std::string("width:100%");
  out += '"';
  append_attribute(out, "data-rows", std::to_string(rows));
  append_attribute(out, "data-first-row", std::to_string(window.first));
  append_attribute(out, "data-last-row", std::to_string(window.last));
  out += "><colgroup>";
  for (const GridColumn& c : model.columns) {
    out += "<col";
    if (c.width_mm > 0) out += " style=\"width:" + css_mm(c.width_mm) + '"';
    out += '>';
  }
  out += "</colgroup><thead><tr class=\"kq-heading\">";
  for (const GridColumn& c : model.columns) {
    out += "<th";
    if (c.field->kind == ObjectDef::Kind::Column) append_attribute(out, "data-column", c.field->column);
    else append_attribute(out, "data-object", c.field->name);
    out += '>';
    append_escaped(out, grid_heading_text(p, c, model.band_row));
    out += "</th>";
  }
  out += "</tr></thead><tbody>";

  const long long row_h = options.row_height_px;
  if (!style.ruled) append_spacer(out, model.columns.size(), (window.first - 1) * row_h);
  const long current = p.current_row();
  for (long row = window.first; row <= window.last; ++row) {
    out += "<tr class=\"kq-row";
    if (row == current) out += " kq-current";
    if (p.is_selected(row)) out += " kq-selected";
    out += '"';
    append_attribute(out, "data-row", std::to_string(row));
    out += '>';
    for (const GridColumn& c : model.columns) append_cell(out, p, options, *c.field, row);
    out += "</tr>";
  }
  if (!style.ruled) {
    long after = std::max(rows, 0L) - std::max(window.last, window.first - 1);
    append_spacer(out, model.columns.size(), after * row_h);
  }
  out += "</tbody>";
  append_footer(out, p, model);
  out += "</table>";
}

}  // namespace kq::dw
