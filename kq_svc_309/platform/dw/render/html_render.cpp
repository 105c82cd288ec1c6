#include "platform/dw/render/html_render.h"

#include "platform/dw/render/html_band.h"
#include "platform/dw/render/html_css.h"
#include "platform/dw/render/html_escape.h"
#include "platform/dw/render/html_grid.h"
#include "platform/dw/render/html_stylesheet.h"
#include "platform/dw/render/layout_page.h"

namespace kq::dw {

namespace {

void open_outer(std::string& out, const Presentation& p, const HtmlOptions& options,
                const char* style_class) {
  const Definition& def = p.definition();
  out += "<div class=\"kq-dw ";
  out += style_class;
  out += '"';
  append_attribute(out, "data-dw", options.id.empty() ? def.name : options.id);
  append_attribute(out, "data-name", def.name);
  append_attribute(out, "style", "font-size:" + css_pt(default_font_pt(def)));
}

void append_grid_view(std::string& out, const Presentation& p, const HtmlOptions& options) {
  open_outer(out, p, options, "kq-grid-view");
  append_attribute(out, "data-rows", std::to_string(p.row_count()));
  append_attribute(out, "data-row-height", std::to_string(options.row_height_px));
  out += '>';
  append_html_grid(out, p, options, HtmlGridStyle{});
  out += "</div>";
}

void append_form(std::string& out, const Presentation& p, const HtmlOptions& options) {
  const Definition& def = p.definition();
  const long row = band_row(p);
  open_outer(out, p, options, "kq-form");
  append_attribute(out, "data-row", std::to_string(row));
  out += '>';
  HtmlBandContext ctx;
  ctx.options = &options;
  ctx.interactive = true;
  append_html_band(out, p, def.header, row, "kq-header", ctx);
  if (row > 0) append_html_band(out, p, def.detail, row, "kq-detail", ctx);
  append_html_band(out, p, def.summary, row, "kq-summary", ctx);
  append_html_band(out, p, def.footer, row, "kq-footer", ctx);
  out += "</div>";
}

// A print preview: one page-sized container (the page's width, at least its
// height) with the bands top to bottom; the footer band sits at the foot.
void append_preview(std::string& out, const Presentation& p, const HtmlOptions& options) {
  const Definition& def = p.definition();
  const PageSize page = printed_page(p, options.margin_mm);
  open_outer(out, p, options, "kq-report");
  // Printed from the browser, the sheet is the definition's page; the page
  // element carries the margins.
  out += "><style>@page{size:" + css_mm(page.width_mm) + " " + css_mm(page.height_mm) + ";margin:0}</style>";
  out += "<div class=\"kq-page\"";
  append_attribute(out, "style", "width:" + css_mm(page.width_mm) + ";min-height:" + css_mm(page.height_mm) +
                                      ";padding:" + css_mm(options.margin_mm));
  out += '>';
  HtmlBandContext ctx;
  ctx.options = &options;
  ctx.interactive = false;
  const long at = band_row(p);
  if (def.style == Definition::Style::Grid) {
    if (!def.title.empty()) {
      out += "<div class=\"kq-title\">";
      append_escaped(out, def.title);
      out += "</div>";
    }
    HtmlOptions list = options;
    list.editable = false;
    HtmlGridStyle style;
    style.ruled = true;
    append_html_grid(out, p, list, style);
  } else {
    append_html_bands(out, p, at, ctx);
  }
  out += "</div></div>";
}

}  // namespace

std::string render_html(const Presentation& p, const HtmlOptions& options) {
  const Definition& def = p.definition();
  std::string out;
  if (options.document) {
    out += "<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><title>";
    append_escaped(out, def.title.empty() ? def.name : def.title);
    out += "</title><style>";
    out += html_stylesheet();
    out += "</style></head><body>";
  }
  if (options.mode == HtmlOptions::Mode::Preview || def.style == Definition::Style::Report) {
    append_preview(out, p, options);
  } else if (def.style == Definition::Style::Grid) {
    append_grid_view(out, p, options);
  } else {
    append_form(out, p, options);
  }
  if (options.document) out += "</body></html>";
  return out;
}

}  // namespace kq::dw
