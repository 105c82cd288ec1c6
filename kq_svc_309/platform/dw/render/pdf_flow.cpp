#include "platform/dw/render/pdf_flow.h"

namespace kq::dw {

PdfFlow::PdfFlow(PdfCanvas& canvas, double margin_mm)
    : canvas_(canvas), margin_(margin_mm), y_(margin_mm) {}

void PdfFlow::advance(double height) {
  y_ += height;
  if (!repeating_ && height > 0) page_fresh_ = false;
}

void PdfFlow::need(double height) {
  if (!breaks_ || repeating_) return;
  if (y_ + height <= bottom() + 1e-6) return;
  if (page_fresh_) return;
  new_page();
}

void PdfFlow::push_repeat(Draw draw) { repeats_.push_back(std::move(draw)); }

void PdfFlow::pop_repeat() {
  if (!repeats_.empty()) repeats_.pop_back();
}

void PdfFlow::set_page_footer(Draw draw, double height) {
  footer_ = std::move(draw);
  footer_height_ = footer_ ? height : 0;
}

double PdfFlow::measure(const Draw& draw) {
  const double saved_y = y_;
  const bool saved_breaks = breaks_, saved_drawing = canvas_.drawing(), saved_fresh = page_fresh_;
  y_ = 0;
  breaks_ = false;
  canvas_.set_drawing(false);
  draw(*this);
  const double height = y_;
  y_ = saved_y;
  breaks_ = saved_breaks;
  page_fresh_ = saved_fresh;
  canvas_.set_drawing(saved_drawing);
  return height;
}

void PdfFlow::keep_together(const Draw& draw) {
  const bool saved = breaks_;
  breaks_ = false;
  draw(*this);
  breaks_ = saved;
}

void PdfFlow::draw_footer() {
  if (!footer_) return;
  const double saved_y = y_;
  const bool saved_repeating = repeating_;
  repeating_ = true;
  y_ = canvas_.page_height() - margin_ - footer_height_;
  footer_(*this);
  y_ = saved_y;
  repeating_ = saved_repeating;
}

void PdfFlow::new_page() {
  draw_footer();
  canvas_.next_page();
  begin();
}

void PdfFlow::begin() {
  y_ = top();
  repeating_ = true;
  // A copy: a repeater may not change the list while it runs.
  std::vector<Draw> repeats = repeats_;
  for (const Draw& draw : repeats) draw(*this);
  repeating_ = false;
  page_fresh_ = true;
}

void PdfFlow::end() { draw_footer(); }

}  // namespace kq::dw
