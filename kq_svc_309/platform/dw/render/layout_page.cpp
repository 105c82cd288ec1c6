#include "platform/dw/render/layout_page.h"

#include <utility>

#include "platform/dw/render/grid_model.h"

namespace kq::dw {

PageSize page_size(const Definition& def, double width_mm, double height_mm) {
  PageSize page;
  if (def.page_width_mm > 0) page.width_mm = def.page_width_mm;
  if (def.page_height_mm > 0) page.height_mm = def.page_height_mm;
  if (width_mm > 0) page.width_mm = width_mm;
  if (height_mm > 0) page.height_mm = height_mm;
  if (def.landscape && page.width_mm < page.height_mm) std::swap(page.width_mm, page.height_mm);
  return page;
}

PageSize printed_page(const Presentation& p, double margin_mm, double width_mm, double height_mm) {
  const Definition& def = p.definition();
  PageSize page = page_size(def, width_mm, height_mm);
  if (def.style == Definition::Style::Grid && page.width_mm < page.height_mm &&
      grid_natural_width(build_grid_model(p)) > page.width_mm - 2 * margin_mm) {
    std::swap(page.width_mm, page.height_mm);
  }
  return page;
}

}  // namespace kq::dw
