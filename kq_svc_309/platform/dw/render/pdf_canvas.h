#pragma once
// The drawing surface of the PDF renderer: a Cairo PDF document written into
// memory, text laid out by Pango. Coordinates and sizes are millimetres from
// the top left corner of the page; type sizes are points.
//
// Text is measured and drawn by one and the same Pango layout, configured in
// one place (wrapped at word boundaries, else between characters, at the
// given width; hinting off so that measures do not depend on a resolution),
// so that what was measured is what is drawn. No text box is higher than a
// page's body: text is cut to what such a box of its width can show before
// it is laid out (text_fit.h), and wrapped text ends in "…" at that height.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "platform/dw/definition/definition.h"
#include "platform/result.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
typedef struct _PangoLayout PangoLayout;
typedef struct _PangoFontDescription PangoFontDescription;

namespace kq::dw {

struct PdfTextStyle {
  double font_pt = 10;
  bool bold = false;
  Align align = Align::Left;
  // One line, never wrapped: line breaks show as marks and what does not fit
  // the width ends in "…".
  bool one_line = false;
};

class PdfCanvas {
 public:
  // Opens a document of pages `width_mm` × `height_mm`, text in `family`.
  static Result<std::unique_ptr<PdfCanvas>> open(double width_mm, double height_mm,
                                                 const std::string& family, const std::string& title);
  ~PdfCanvas();
  PdfCanvas(const PdfCanvas&) = delete;
  PdfCanvas& operator=(const PdfCanvas&) = delete;

  double page_width() const { return width_mm_; }
  double page_height() const { return height_mm_; }
  // The highest a text box can be (the page's body); the page height until set.
  void set_max_text_height(double mm) { max_text_height_mm_ = mm; }

  // Height of `text` wrapped at `width_mm` (<= 0: no wrapping). An empty text
  // is one line high.
  double text_height(std::string_view text, const PdfTextStyle& style, double width_mm);
  // Width of `text` unwrapped (its widest paragraph).
  double text_width(std::string_view text, const PdfTextStyle& style);
  // The height of one line of text in `style`.
  double line_height(const PdfTextStyle& style);
  // Draws `text` with its top left corner at (x, y), wrapped and aligned
  // within `width_mm`.
  void draw_text(std::string_view text, const PdfTextStyle& style, double x, double y, double width_mm);
  // Draws `text` on one line of `style` with its top left corner at (x, y):
  // a text wider than `width_mm` is drawn in smaller type, down to `min_pt`,
  // centred in the line's height; what still does not fit ends in "…".
  void draw_fitted(std::string_view text, const PdfTextStyle& style, double x, double y, double width_mm,
                   double min_pt);
  // Draws an image (PNG bytes) scaled to fit the box (x, y, w, h), keeping its
  // proportions, centred. False (and nothing drawn) when the bytes are not a
  // PNG Cairo can read.
  bool draw_png(std::string_view png, double x, double y, double w, double h);

  void stroke_rect(double x, double y, double w, double h);
  void stroke_line(double x1, double y1, double x2, double y2, double line_width_mm);
  // A check box `size` square at (x, y), ticked when checked.
  void draw_checkbox(double x, double y, double size, bool checked);
  // A radio mark `size` across at (x, y), a dot inside when chosen.
  void draw_radio(double x, double y, double size, bool chosen);

  // While drawing is off every draw call does nothing (blocks being measured).
  void set_drawing(bool on) { drawing_ = on; }
  bool drawing() const { return drawing_; }

  // Ends the current page and begins the next.
  void next_page();
  // Pages begun so far (1 for a new document).
  int page_count() const { return pages_; }

  // Ends the document and returns its bytes; the canvas is spent.
  Result<std::string> finish();

 private:
  PdfCanvas() = default;
  void prepare(std::string_view text, const PdfTextStyle& style, double width_mm);
  PangoFontDescription* font(const PdfTextStyle& style);

  double width_mm_ = 0, height_mm_ = 0;
  double max_text_height_mm_ = 0;  // 0: the page height
  std::string family_;
  std::string bytes_;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  PangoLayout* layout_ = nullptr;
  std::map<std::pair<int, bool>, PangoFontDescription*> fonts_;
  bool drawing_ = true;
  bool finished_ = false;
  int pages_ = 1;
};

}  // namespace kq::dw
