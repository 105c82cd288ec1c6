#pragma once
// A grid as the renderers lay it out: the shown columns left to right with
// their headings, and the footer lines with each object under its column.
//
// Grid definitions carry their columns as the objects of the detail band and
// each heading as the header band's text object "<name>_t". A footer (or
// summary) object stands under the grid column its `under` names (a column
// object's name or column). An object under a column that is not shown, or
// naming none, moves to the nearest shown column on its left (else the first
// shown one).
#include <string>
#include <vector>

#include "platform/dw/definition/definition.h"
#include "platform/dw/render/presentation.h"

namespace kq::dw {

struct GridColumn {
  const ObjectDef* field = nullptr;    // the detail object shown in the column
  const ObjectDef* heading = nullptr;  // its heading text object, or null
  double width_mm = 0;                 // declared width; 0 = share the rest
};

struct GridFooterLine {
  // For each shown column, the footer objects standing under it, in order.
  std::vector<std::vector<const ObjectDef*>> cells;
};

struct GridModel {
  std::vector<GridColumn> columns;      // shown columns, left to right
  std::vector<GridFooterLine> footer;   // the summary band's lines, then the footer band's
  long band_row = 0;                    // the row headings and footer objects are resolved for
};

// A column is left out when its detail object or its heading object is
// hidden for the band row (the current row, else 1): a column hidden by
// modify, or whose visibility is "0". A column that is shown may still hide
// single cells of other rows (the renderers leave those cells empty).
GridModel build_grid_model(const Presentation& p);

// The width a column of width 0 wants when a list is laid out on paper, in mm.
constexpr double kNaturalShareMm = 20;

// The width the shown columns want, in mm: their declared widths, a column of
// width 0 counting kNaturalShareMm.
double grid_natural_width(const GridModel& model);

// The heading shown above a column: its heading object's text (which modify
// may have changed), else the column's declared heading.
std::string grid_heading_text(const Presentation& p, const GridColumn& column, long band_row);

}  // namespace kq::dw
