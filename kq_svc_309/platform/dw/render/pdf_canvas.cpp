#include "platform/dw/render/pdf_canvas.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "platform/dw/render/layout_units.h"
#include "platform/dw/render/text_fit.h"

namespace kq::dw {

namespace {

constexpr double kRuleMm = 0.2;  // ruled cells and check boxes

cairo_status_t append_bytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

PangoAlignment pango_alignment(Align align) {
  switch (align) {
    case Align::Center: return PANGO_ALIGN_CENTER;
    case Align::Right: return PANGO_ALIGN_RIGHT;
    case Align::Left: break;
  }
  return PANGO_ALIGN_LEFT;
}

}  // namespace

Result<std::unique_ptr<PdfCanvas>> PdfCanvas::open(double width_mm, double height_mm,
                                                   const std::string& family, const std::string& title) {
  if (!(width_mm > 0) || !(height_mm > 0)) return make_error("PDF page size must be positive");
  std::unique_ptr<PdfCanvas> c(new PdfCanvas());
  c->width_mm_ = width_mm;
  c->height_mm_ = height_mm;
  c->family_ = family.empty() ? std::string("sans-serif") : family;
  c->surface_ = cairo_pdf_surface_create_for_stream(append_bytes, &c->bytes_, mm_to_pt(width_mm),
                                                    mm_to_pt(height_mm));
  if (cairo_surface_status(c->surface_) != CAIRO_STATUS_SUCCESS) {
    return make_error(std::string("cannot create PDF surface: ") +
                      cairo_status_to_string(cairo_surface_status(c->surface_)));
  }
  if (!title.empty()) cairo_pdf_surface_set_metadata(c->surface_, CAIRO_PDF_METADATA_TITLE, title.c_str());
  cairo_pdf_surface_set_metadata(c->surface_, CAIRO_PDF_METADATA_CREATOR, "kq_svc_309");
  c->cr_ = cairo_create(c->surface_);
  if (cairo_status(c->cr_) != CAIRO_STATUS_SUCCESS) {
    return make_error(std::string("cannot draw on PDF surface: ") + cairo_status_to_string(cairo_status(c->cr_)));
  }
  cairo_set_source_rgb(c->cr_, 0, 0, 0);

  PangoContext* context = pango_cairo_create_context(c->cr_);
  cairo_font_options_t* fo = cairo_font_options_create();
  cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(context, fo);
  cairo_font_options_destroy(fo);
  pango_cairo_context_set_resolution(context, 72.0);  // 1 pt of type = 1 unit of the page
  pango_context_set_round_glyph_positions(context, FALSE);
  c->layout_ = pango_layout_new(context);
  g_object_unref(context);
  pango_layout_set_wrap(c->layout_, PANGO_WRAP_WORD_CHAR);
  return c;
}

PdfCanvas::~PdfCanvas() {
  if (layout_) g_object_unref(layout_);
  for (auto& [key, desc] : fonts_) pango_font_description_free(desc);
  if (cr_) cairo_destroy(cr_);
  if (surface_) cairo_surface_destroy(surface_);
}

PangoFontDescription* PdfCanvas::font(const PdfTextStyle& style) {
  const double pt = style.font_pt > 0 ? style.font_pt : 10;
  const std::pair<int, bool> key{static_cast<int>(std::lround(pt * 100)), style.bold};
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  PangoFontDescription* desc = pango_font_description_new();
  pango_font_description_set_family(desc, family_.c_str());
  pango_font_description_set_weight(desc, style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_size(desc, static_cast<gint>(std::lround(pt * PANGO_SCALE)));
  fonts_.emplace(key, desc);
  return desc;
}

// The single place where the layout is configured for measuring and drawing.
void PdfCanvas::prepare(std::string_view text, const PdfTextStyle& style, double width_mm) {
  // No box is wider or higher than the page: what cannot show there is cut
  // before the layout sees it.
  const double box_width_mm = width_mm > 0 ? std::min(width_mm, width_mm_) : width_mm_;
  const double box_height_mm = max_text_height_mm_ > 0 ? max_text_height_mm_ : height_mm_;
  const double pt = style.font_pt > 0 ? style.font_pt : 10;
  text = cut_to_box(text, mm_to_pt(box_width_mm), style.one_line ? pt : mm_to_pt(box_height_mm), pt);
  pango_layout_set_font_description(layout_, font(style));
  pango_layout_set_single_paragraph_mode(layout_, style.one_line ? TRUE : FALSE);
  if (style.one_line) {
    pango_layout_set_width(layout_, width_mm > 0 ? static_cast<int>(std::floor(mm_to_pt(width_mm) * PANGO_SCALE)) : -1);
    pango_layout_set_height(layout_, -1);
    pango_layout_set_ellipsize(layout_, width_mm > 0 ? PANGO_ELLIPSIZE_END : PANGO_ELLIPSIZE_NONE);
  } else if (width_mm > 0) {
    pango_layout_set_width(layout_, static_cast<int>(std::floor(mm_to_pt(width_mm) * PANGO_SCALE)));
    // Wrapped text stops at the highest a box can be, its last line ending in "…".
    pango_layout_set_height(layout_, static_cast<int>(std::floor(mm_to_pt(box_height_mm) * PANGO_SCALE)));
    pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_END);
  } else {
    pango_layout_set_width(layout_, -1);
    pango_layout_set_height(layout_, -1);
    pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_NONE);
  }
  pango_layout_set_alignment(layout_, pango_alignment(style.align));
  const char* end = nullptr;
  if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), &end)) {
    pango_layout_set_text(layout_, text.data(), static_cast<int>(text.size()));
  } else {
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    pango_layout_set_text(layout_, valid, -1);
    g_free(valid);
  }
}

double PdfCanvas::text_height(std::string_view text, const PdfTextStyle& style, double width_mm) {
  prepare(text, style, width_mm);
  int w = 0, h = 0;
  pango_layout_get_size(layout_, &w, &h);
  return pt_to_mm(static_cast<double>(h) / PANGO_SCALE);
}

double PdfCanvas::text_width(std::string_view text, const PdfTextStyle& style) {
  prepare(text, style, 0);
  int w = 0, h = 0;
  pango_layout_get_size(layout_, &w, &h);
  return pt_to_mm(static_cast<double>(w) / PANGO_SCALE);
}

double PdfCanvas::line_height(const PdfTextStyle& style) { return text_height("", style, 0); }

void PdfCanvas::draw_text(std::string_view text, const PdfTextStyle& style, double x, double y,
                          double width_mm) {
  if (!drawing_ || text.empty()) return;
  prepare(text, style, width_mm);
  cairo_move_to(cr_, mm_to_pt(x), mm_to_pt(y));
  pango_cairo_show_layout(cr_, layout_);
}

void PdfCanvas::draw_fitted(std::string_view text, const PdfTextStyle& style, double x, double y,
                            double width_mm, double min_pt) {
  if (!drawing_ || text.empty()) return;
  // Laid out unwrapped and placed by hand, so that a text that fits (most do)
  // is laid out once.
  PdfTextStyle fitted = style;
  fitted.one_line = true;
  fitted.align = Align::Left;
  if (fitted.font_pt <= 0) fitted.font_pt = 10;
  prepare(text, fitted, 0);
  int w = 0, h = 0;
  pango_layout_get_size(layout_, &w, &h);
  double drawn = pt_to_mm(static_cast<double>(w) / PANGO_SCALE);
  if (width_mm > 0 && drawn > width_mm) {
    const double full_line = pt_to_mm(static_cast<double>(h) / PANGO_SCALE);
    // Sizes in steps of a quarter point: every size is a font of its own.
    const double wanted = std::floor(fitted.font_pt * width_mm / drawn * 4) / 4;
    fitted.font_pt = std::max(std::min(min_pt, fitted.font_pt), wanted);
    prepare(text, fitted, width_mm);  // cut with "…" if it still does not fit
    pango_layout_get_size(layout_, &w, &h);
    drawn = std::min(pt_to_mm(static_cast<double>(w) / PANGO_SCALE), width_mm);
    y += std::max((full_line - pt_to_mm(static_cast<double>(h) / PANGO_SCALE)) / 2, 0.0);
  }
  if (width_mm > 0 && style.align == Align::Right) x += width_mm - drawn;
  if (width_mm > 0 && style.align == Align::Center) x += (width_mm - drawn) / 2;
  cairo_move_to(cr_, mm_to_pt(x), mm_to_pt(y));
  pango_cairo_show_layout(cr_, layout_);
}

namespace {

struct PngReader {
  std::string_view bytes;
  size_t at = 0;
};

cairo_status_t read_png(void* closure, unsigned char* data, unsigned int length) {
  auto* r = static_cast<PngReader*>(closure);
  if (r->bytes.size() - r->at < length) return CAIRO_STATUS_READ_ERROR;
  std::copy_n(r->bytes.data() + r->at, length, data);
  r->at += length;
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool PdfCanvas::draw_png(std::string_view png, double x, double y, double w, double h) {
  if (!(w > 0) || !(h > 0)) return false;
  PngReader reader{png, 0};
  cairo_surface_t* image = cairo_image_surface_create_from_png_stream(read_png, &reader);
  const bool ok = cairo_surface_status(image) == CAIRO_STATUS_SUCCESS && cairo_image_surface_get_width(image) > 0 &&
                  cairo_image_surface_get_height(image) > 0;
  if (ok && drawing_) {
    const double iw = cairo_image_surface_get_width(image), ih = cairo_image_surface_get_height(image);
    const double scale = std::min(mm_to_pt(w) / iw, mm_to_pt(h) / ih);
    const double dx = mm_to_pt(x) + (mm_to_pt(w) - iw * scale) / 2, dy = mm_to_pt(y) + (mm_to_pt(h) - ih * scale) / 2;
    cairo_save(cr_);
    cairo_translate(cr_, dx, dy);
    cairo_scale(cr_, scale, scale);
    cairo_set_source_surface(cr_, image, 0, 0);
    cairo_paint(cr_);
    cairo_restore(cr_);
  }
  cairo_surface_destroy(image);
  return ok;
}

void PdfCanvas::stroke_rect(double x, double y, double w, double h) {
  if (!drawing_) return;
  cairo_set_line_width(cr_, mm_to_pt(kRuleMm));
  cairo_rectangle(cr_, mm_to_pt(x), mm_to_pt(y), mm_to_pt(w), mm_to_pt(h));
  cairo_stroke(cr_);
}

void PdfCanvas::stroke_line(double x1, double y1, double x2, double y2, double line_width_mm) {
  if (!drawing_) return;
  cairo_set_line_width(cr_, mm_to_pt(line_width_mm));
  cairo_move_to(cr_, mm_to_pt(x1), mm_to_pt(y1));
  cairo_line_to(cr_, mm_to_pt(x2), mm_to_pt(y2));
  cairo_stroke(cr_);
}

void PdfCanvas::draw_checkbox(double x, double y, double size, bool checked) {
  if (!drawing_) return;
  stroke_rect(x, y, size, size);
  if (!checked) return;
  cairo_set_line_width(cr_, mm_to_pt(kRuleMm * 1.5));
  cairo_move_to(cr_, mm_to_pt(x + size * 0.2), mm_to_pt(y + size * 0.5));
  cairo_line_to(cr_, mm_to_pt(x + size * 0.42), mm_to_pt(y + size * 0.75));
  cairo_line_to(cr_, mm_to_pt(x + size * 0.82), mm_to_pt(y + size * 0.22));
  cairo_stroke(cr_);
}

void PdfCanvas::draw_radio(double x, double y, double size, bool chosen) {
  if (!drawing_) return;
  const double r = size / 2;
  cairo_set_line_width(cr_, mm_to_pt(kRuleMm));
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, mm_to_pt(x + r), mm_to_pt(y + r), mm_to_pt(r), 0, 2 * M_PI);
  cairo_stroke(cr_);
  if (!chosen) return;
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, mm_to_pt(x + r), mm_to_pt(y + r), mm_to_pt(r * 0.5), 0, 2 * M_PI);
  cairo_fill(cr_);
}

void PdfCanvas::next_page() {
  cairo_show_page(cr_);
  ++pages_;
}

Result<std::string> PdfCanvas::finish() {
  if (finished_) return make_error("PDF document already finished");
  finished_ = true;
  cairo_show_page(cr_);
  cairo_status_t status = cairo_status(cr_);
  cairo_destroy(cr_);
  cr_ = nullptr;
  cairo_surface_finish(surface_);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface_);
  cairo_surface_destroy(surface_);
  surface_ = nullptr;
  if (status != CAIRO_STATUS_SUCCESS) {
    return make_error(std::string("PDF output failed: ") + cairo_status_to_string(status));
  }
  return std::move(bytes_);
}

}  // namespace kq::dw
