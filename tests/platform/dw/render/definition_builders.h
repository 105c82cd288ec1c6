#pragma once
// Hand-made definitions for renderer tests, shaped as the definition loader
// shapes them: grid columns as detail objects with "<name>_t" headings in the
// header band, footer objects naming the column they stand under.
#include <string>
#include <utility>
#include <vector>

#include "platform/dw/definition/definition.h"

namespace kq::dw::testing {

inline ObjectDef text_obj(std::string name, std::string text, double width = 0) {
  ObjectDef o;
  o.kind = ObjectDef::Kind::Text;
  o.name = std::move(name);
  o.text = std::move(text);
  o.width_mm = width;
  return o;
}

inline ObjectDef column_obj(std::string column, double width = 0, std::string heading = "") {
  ObjectDef o;
  o.kind = ObjectDef::Kind::Column;
  o.name = column;
  o.column = std::move(column);
  o.width_mm = width;
  o.heading = std::move(heading);
  return o;
}

inline ObjectDef compute_obj(std::string name, double width = 0) {
  ObjectDef o;
  o.kind = ObjectDef::Kind::Compute;
  o.name = std::move(name);
  o.width_mm = width;
  return o;
}

inline ObjectDef report_obj(std::string name, std::string dataobject, double width = 0) {
  ObjectDef o;
  o.kind = ObjectDef::Kind::Report;
  o.name = std::move(name);
  o.dataobject = std::move(dataobject);
  o.width_mm = width;
  return o;
}

// A footer object standing under a grid column.
inline ObjectDef under(std::string column, ObjectDef o) {
  o.under = std::move(column);
  return o;
}

inline RowDef row_of(std::vector<ObjectDef> objects, double height = 0) {
  RowDef r;
  r.objects = std::move(objects);
  r.height_mm = height;
  return r;
}

// A grid of `columns` (each a column object carrying its heading), with the
// footer objects given.
inline Definition grid_def(std::string name, std::vector<ObjectDef> columns,
                           std::vector<ObjectDef> footer = {}) {
  Definition d;
  d.name = std::move(name);
  d.style = Definition::Style::Grid;
  RowDef header, detail;
  for (ObjectDef& c : columns) {
    header.objects.push_back(text_obj(c.name + "_t", c.heading, c.width_mm));
    detail.objects.push_back(c);
  }
  d.header.rows.push_back(std::move(header));
  d.detail.rows.push_back(std::move(detail));
  if (!footer.empty()) d.footer.rows.push_back(row_of(std::move(footer)));
  return d;
}

inline Definition bands_def(std::string name, Definition::Style style, std::vector<RowDef> detail,
                            std::vector<RowDef> header = {}, std::vector<RowDef> summary = {},
                            std::vector<RowDef> footer = {}) {
  Definition d;
  d.name = std::move(name);
  d.style = style;
  d.detail.rows = std::move(detail);
  d.header.rows = std::move(header);
  d.summary.rows = std::move(summary);
  d.footer.rows = std::move(footer);
  return d;
}

}  // namespace kq::dw::testing
