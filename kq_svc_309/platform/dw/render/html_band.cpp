#include "platform/dw/render/html_band.h"

#include <glib.h>

#include <optional>

#include "platform/dw/render/html_css.h"
#include "platform/dw/render/html_escape.h"
#include "platform/dw/render/html_grid.h"
#include "platform/dw/render/pictures.h"

namespace kq::dw {

namespace {

const char* kind_class(PlacedKind kind) {
  switch (kind) {
    case PlacedKind::Text: return "kq-text";
    case PlacedKind::Field: return "kq-field";
    case PlacedKind::CheckBox: return "kq-checkbox";
    case PlacedKind::Radio: return "kq-radio";
    case PlacedKind::Line: return "kq-rule";
    case PlacedKind::Picture: return "kq-picture";
    case PlacedKind::Report: return "kq-nested";
  }
  return "kq-text";
}

bool column_editable(const Presentation& p, const PlacedObject& o, const HtmlBandContext& ctx) {
  const ObjectDef& d = *o.object;
  return ctx.interactive && ctx.options->editable && d.kind == ObjectDef::Kind::Column &&
         d.edit != EditStyle::Display && o.row > 0 && !p.is_protected(d, o.row);
}

// The radio group of a column on one row; unique within a page as long as the
// control names are.
std::string radio_group(const Presentation& p, const PlacedObject& o, const HtmlBandContext& ctx) {
  std::string id = ctx.options->id.empty() ? p.definition().name : ctx.options->id;
  return id + "-" + o.object->column + "-" + std::to_string(o.row);
}

void append_open(std::string& out, const Presentation& p, const PlacedObject& o,
                 const HtmlBandContext& ctx, const char* tag) {
  const ObjectDef& d = *o.object;
  out += '<';
  out += tag;
  out += " class=\"kq-obj ";
  if (o.hidden) {
    out += "kq-hidden";
    if (d.border) out += " kq-border";  // a ruled cell keeps its lines
    out += '"';
  } else {
    out += kind_class(o.kind);
    out += ' ';
    out += align_class(d.align);
    if (d.bold) out += " kq-bold";
    if (d.border) out += " kq-border";
    if (o.kind == PlacedKind::Field || o.kind == PlacedKind::CheckBox || o.kind == PlacedKind::Radio) {
      out += column_editable(p, o, ctx) ? " kq-edit" : " kq-readonly";
    }
    out += '"';
  }
  out += " style=\"" + flex_for_width(d.width_mm);
  if (!o.hidden && d.font_pt > 0 && d.font_pt != default_font_pt(p.definition())) {
    out += ";font-size:" + css_pt(d.font_pt);
  }
  out += '"';
  append_attribute(out, "data-object", d.name);
  if (o.hidden) return;
  if (d.kind == ObjectDef::Kind::Column) {
    append_attribute(out, "data-column", d.column);
    if (ctx.interactive && o.row > 0) append_attribute(out, "data-row", std::to_string(o.row));
    // The most characters an editable text column takes (its char(n)).
    if (o.kind == PlacedKind::Field && column_editable(p, o, ctx)) {
      const ColumnDef* c = p.definition().find_column(d.column);
      if (c && c->type == Type::String && c->length > 0) append_attribute(out, "data-limit", std::to_string(c->length));
    }
  }
}

void append_checkbox(std::string& out, const Presentation& p, const PlacedObject& o,
                     const HtmlBandContext& ctx) {
  out += "<input type=\"checkbox\"";
  append_attribute(out, "data-on", o.object->checkbox_on);
  append_attribute(out, "data-off", o.object->checkbox_off);
  if (o.checked) out += " checked";
  if (!column_editable(p, o, ctx)) out += " disabled";
  out += '>';
  if (!o.text.empty()) {
    out += "<span>";
    append_escaped(out, o.text);
    out += "</span>";
  }
}

void append_radio(std::string& out, const Presentation& p, const PlacedObject& o,
                  const HtmlBandContext& ctx) {
  const std::string group = radio_group(p, o, ctx);
  const bool editable = column_editable(p, o, ctx);
  const auto& table = o.object->codetable;
  for (size_t i = 0; i < table.size(); ++i) {
    const bool chosen = static_cast<int>(i) == o.chosen;
    out += chosen ? "<label class=\"kq-chosen\"><input type=\"radio\"" : "<label><input type=\"radio\"";
    append_attribute(out, "name", group);
    append_attribute(out, "value", table[i].data);
    if (chosen) out += " checked";
    if (!editable) out += " disabled";
    out += '>';
    append_escaped(out, table[i].display);
    out += "</label>";
  }
  // A stored code outside the table still shows.
  if (o.chosen < 0 && !o.text.empty()) {
    out += "<span class=\"kq-other\">";
    append_escaped(out, o.text);
    out += "</span>";
  }
}

// A picture found in the picture folder, as an image inside its object.
void append_picture(std::string& out, const ObjectDef& object, const HtmlBandContext& ctx) {
  const std::optional<std::string> png = load_picture(ctx.options->picture_folder, object.file);
  if (!png) return;
  gchar* base64 = g_base64_encode(reinterpret_cast<const guchar*>(png->data()), png->size());
  out += "<img class=\"kq-image\" alt=\"\" src=\"data:image/png;base64,";
  out += base64;
  out += "\">";
  g_free(base64);
}

void append_object(std::string& out, const Presentation& p, const PlacedObject& o,
                   const HtmlBandContext& ctx) {
  const char* tag = (!o.hidden && o.kind == PlacedKind::CheckBox) ? "label" : "div";
  append_open(out, p, o, ctx, tag);
  if (!o.hidden && o.kind == PlacedKind::Picture) append_attribute(out, "data-file", o.object->file);
  out += '>';
  if (!o.hidden) {
    switch (o.kind) {
      case PlacedKind::Text:
      case PlacedKind::Field:
        append_escaped(out, o.text);
        break;
      case PlacedKind::CheckBox:
        append_checkbox(out, p, o, ctx);
        break;
      case PlacedKind::Radio:
        append_radio(out, p, o, ctx);
        break;
      case PlacedKind::Report:
        if (o.nested && ctx.depth < HtmlBandContext::kMaxNesting) {
          HtmlBandContext inner = ctx;
          inner.interactive = false;
          inner.depth = ctx.depth + 1;
          append_html_nested(out, *o.nested, inner);
        }
        break;
      case PlacedKind::Picture:
        append_picture(out, *o.object, ctx);
        break;
      case PlacedKind::Line:
        break;
    }
  }
  out += "</";
  out += tag;
  out += '>';
}

}  // namespace

void append_html_line(std::string& out, const Presentation& p, const PlacedLine& line,
                      const HtmlBandContext& ctx) {
  if (line.collapsed()) return;
  out += "<div class=\"kq-line\"";
  if (line.def && line.def->height_mm > 0) out += " style=\"min-height:" + css_mm(line.def->height_mm) + '"';
  out += '>';
  for (const PlacedObject& o : line.objects) append_object(out, p, o, ctx);
  out += "</div>";
}

void append_html_band(std::string& out, const Presentation& p, const BandDef& band, long row,
                      const char* css_class, const HtmlBandContext& ctx) {
  if (band.rows.empty()) return;
  out += "<div class=\"kq-band ";
  out += css_class;
  out += '"';
  if (row > 0 && std::string_view(css_class) == "kq-detail") {
    append_attribute(out, "data-row", std::to_string(row));
  }
  out += '>';
  for (const RowDef& def : band.rows) append_html_line(out, p, resolve_line(p, def, row), ctx);
  out += "</div>";
}

void append_html_bands(std::string& out, const Presentation& p, long at, const HtmlBandContext& ctx) {
  const Definition& def = p.definition();
  append_html_band(out, p, def.header, at, "kq-header", ctx);
  if (def.style == Definition::Style::Form) {
    if (at > 0) append_html_band(out, p, def.detail, at, "kq-detail", ctx);
  } else {
    for (long row = 1; row <= p.row_count(); ++row) append_html_band(out, p, def.detail, row, "kq-detail", ctx);
  }
  append_html_band(out, p, def.summary, at, "kq-summary", ctx);
  append_html_band(out, p, def.footer, at, "kq-footer", ctx);
}

void append_html_nested(std::string& out, const Presentation& nested, const HtmlBandContext& ctx) {
  const Definition& def = nested.definition();
  if (def.style == Definition::Style::Grid) {
    HtmlOptions options = *ctx.options;
    options.editable = false;
    HtmlGridStyle style;
    style.ruled = true;
    append_html_grid(out, nested, options, style);
    return;
  }
  out += "<div class=\"kq-nested-bands\"";
  append_attribute(out, "data-name", def.name);
  out += '>';
  append_html_bands(out, nested, band_row(nested), ctx);
  out += "</div>";
}

}  // namespace kq::dw
