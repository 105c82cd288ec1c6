#pragma once
// What a data window shows, as data rather than markup, so that a script
// reads what a person reads (docs/protocol.md, "Grid rows and items"):
//
//   {"style": "grid", "rowcount": 25, "currentrow": 1, "first_row": 1,
//    "columns": [{"name": "cwtsbh", "heading": "委托书编号"}, …],
//    "rows": [{"row": 1, "current": true, "selected": true,
//              "items": {"cwtsbh": "1010000000005", …}}, …]}
//
// Columns: a grid's shown columns left to right, with their headings; a form's
// or report's column and computed fields of the detail band, in band order
// (heading: the text object "<name>_t" when there is one). Items are the
// texts shown (code tables and display formats applied; "" where the object
// is hidden for the row). Rows [first, first + count) of those there are.
#include <nlohmann/json.hpp>

namespace kq::dw {
class DataWindow;
}

namespace kq::server {

nlohmann::json data_items(const dw::DataWindow& dw, long first, long count);

}  // namespace kq::server
