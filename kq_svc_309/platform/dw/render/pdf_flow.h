#pragma once
// The cursor of a printed document: where the next block goes, when a page is
// full, and what every new page begins with.
//
// Blocks are placed top to bottom inside the page's body (the page less its
// margins and the page footer). need(h) starts a new page when a block h high
// does not fit below the cursor — unless nothing has been placed on the page
// yet but its repeated headings, in which case the block is drawn where it is
// (a block taller than a page cannot be moved to a better place).
#include <functional>
#include <vector>

#include "platform/dw/render/pdf_canvas.h"

namespace kq::dw {

class PdfFlow {
 public:
  using Draw = std::function<void(PdfFlow&)>;

  PdfFlow(PdfCanvas& canvas, double margin_mm);

  PdfCanvas& canvas() { return canvas_; }
  // The content box of the pages, in mm.
  double left() const { return margin_; }
  double width() const { return canvas_.page_width() - 2 * margin_; }
  double top() const { return margin_; }
  double bottom() const { return canvas_.page_height() - margin_ - footer_height_; }

  double y() const { return y_; }
  void set_y(double y) { y_ = y; }
  // Moves the cursor down past a block just drawn.
  void advance(double height);

  // Makes room for a block `height` high (see above).
  void need(double height);

  // While pushed, `draw` runs at the top of every new page (the page header
  // of a report, the headings of a table being printed), in push order.
  void push_repeat(Draw draw);
  void pop_repeat();

  // The page footer: drawn at the foot of every page when the page ends, its
  // `height` kept free below the body.
  void set_page_footer(Draw draw, double height);

  // Runs `draw` from y = 0 without drawing and without page breaks, and
  // returns the height it took. The cursor is left as it was.
  double measure(const Draw& draw);
  // Runs `draw` at the cursor without page breaks (a block kept in one piece).
  void keep_together(const Draw& draw);

  // Runs the repeaters at the top of the first page (call once, after the
  // first push_repeat); the page still counts as empty afterwards.
  void begin();

  // Ends the last page (draws its footer). The canvas may then be finished.
  void end();

 private:
  void new_page();
  void draw_footer();

  PdfCanvas& canvas_;
  double margin_;
  double y_;
  bool breaks_ = true;
  bool page_fresh_ = true;   // nothing but repeated headings on the page yet
  bool repeating_ = false;   // running the repeaters or the footer
  std::vector<Draw> repeats_;
  Draw footer_;
  double footer_height_ = 0;
};

}  // namespace kq::dw
