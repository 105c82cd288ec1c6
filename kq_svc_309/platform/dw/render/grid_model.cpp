#include "platform/dw/render/grid_model.h"

#include "platform/dw/render/layout_line.h"

namespace kq::dw {

namespace {

const ObjectDef* find_heading(const Definition& def, const ObjectDef& field) {
  const std::string name = field.name + "_t";
  for (const RowDef& row : def.header.rows) {
    for (const ObjectDef& object : row.objects) {
      if (object.name == name) return &object;
    }
  }
  return nullptr;
}

// Appends the lines of a band to the footer, each object under its column.
void add_footer_lines(const BandDef& band, const std::vector<const ObjectDef*>& all_fields,
                      const std::vector<int>& shown_index, size_t shown_count,
                      std::vector<GridFooterLine>& out) {
  for (const RowDef& row : band.rows) {
    GridFooterLine line;
    line.cells.resize(shown_count);
    for (const ObjectDef& object : row.objects) {
      int target = -1;  // index among all grid fields
      if (!object.under.empty()) {
        for (size_t i = 0; i < all_fields.size(); ++i) {
          if (all_fields[i]->name == object.under || all_fields[i]->column == object.under) {
            target = static_cast<int>(i);
            break;
          }
        }
      }
      int cell = -1;
      for (int i = target; i >= 0 && cell < 0; --i) cell = shown_index[i];
      if (cell < 0) cell = 0;
      line.cells[cell].push_back(&object);
    }
    out.push_back(std::move(line));
  }
}

}  // namespace

GridModel build_grid_model(const Presentation& p) {
  const Definition& def = p.definition();
  GridModel model;
  model.band_row = band_row(p);

  std::vector<const ObjectDef*> all_fields;
  for (const RowDef& row : def.detail.rows) {
    for (const ObjectDef& object : row.objects) all_fields.push_back(&object);
  }
  std::vector<int> shown_index(all_fields.size(), -1);
  for (size_t i = 0; i < all_fields.size(); ++i) {
    const ObjectDef& field = *all_fields[i];
    const ObjectDef* heading = find_heading(def, field);
    if (object_hidden(p, field, model.band_row)) continue;
    if (heading && object_hidden(p, *heading, model.band_row)) continue;
    GridColumn column;
    column.field = &field;
    column.heading = heading;
    column.width_mm = field.width_mm > 0 ? field.width_mm : (heading ? heading->width_mm : 0);
    shown_index[i] = static_cast<int>(model.columns.size());
    model.columns.push_back(column);
  }
  if (!model.columns.empty()) {
    add_footer_lines(def.summary, all_fields, shown_index, model.columns.size(), model.footer);
    add_footer_lines(def.footer, all_fields, shown_index, model.columns.size(), model.footer);
  }
  return model;
}

double grid_natural_width(const GridModel& model) {
  double width = 0;
  for (const GridColumn& c : model.columns) width += c.width_mm > 0 ? c.width_mm : kNaturalShareMm;
  return width;
}

std::string grid_heading_text(const Presentation& p, const GridColumn& column, long band_row) {
  if (column.heading) return p.display_text(*column.heading, band_row);
  return column.field ? column.field->heading : std::string();
}

}  // namespace kq::dw
