#include "server/data_items.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/render/grid_model.h"

namespace kq::server {

using nlohmann::json;

namespace {

struct Shown {
  const dw::ObjectDef* object;
  std::string name;
  std::string heading;
};

std::string item_name(const dw::ObjectDef& o) {
  return o.kind == dw::ObjectDef::Kind::Column ? o.column : o.name;
}

std::vector<Shown> shown_objects(const dw::DataWindow& d) {
  std::vector<Shown> out;
  const dw::Definition& def = d.definition();
  if (def.style == dw::Definition::Style::Grid) {
    const dw::GridModel grid = dw::build_grid_model(d);
    for (const dw::GridColumn& c : grid.columns)
      out.push_back({c.field, item_name(*c.field), dw::grid_heading_text(d, c, grid.band_row)});
    return out;
  }
  const long band_row = d.getrow() > 0 ? d.getrow() : (d.rowcount() > 0 ? 1 : 0);
  for (const dw::RowDef& row : def.detail.rows) {
    for (const dw::ObjectDef& o : row.objects) {
      if (o.kind != dw::ObjectDef::Kind::Column && o.kind != dw::ObjectDef::Kind::Compute) continue;
      std::string heading;
      if (const dw::ObjectDef* t = def.find_object(o.name + "_t"); t && t->kind == dw::ObjectDef::Kind::Text)
        heading = d.display_text(*t, band_row);
      out.push_back({&o, item_name(o), heading});
    }
  }
  return out;
}

}  // namespace

json data_items(const dw::DataWindow& d, long first, long count) {
  json out{{"rowcount", d.rowcount()}, {"currentrow", d.getrow()}, {"first_row", first},
           {"columns", json::array()}, {"rows", json::array()}};
  if (!d.has_definition()) return out;
  out["style"] = dw::style_name(d.definition().style);
  const std::vector<Shown> shown = shown_objects(d);
  for (const Shown& s : shown) out["columns"].push_back(json{{"name", s.name}, {"heading", s.heading}});
  const long last = std::min(d.rowcount(), first + count - 1);
  for (long row = std::max(1L, first); row <= last; ++row) {
    json items = json::object();
    for (const Shown& s : shown) items[s.name] = d.visible(*s.object, row) ? d.display_text(*s.object, row) : "";
    out["rows"].push_back(json{{"row", row},
                               {"current", row == d.getrow()},
                               {"selected", d.is_selected(row)},
                               {"items", std::move(items)}});
  }
  return out;
}

}  // namespace kq::server
