#pragma once
// Options of the PDF renderer.
#include <string>

namespace kq::dw {

struct PdfOptions {
  // The typeface of every text (Pango family name). Debian's fonts-wqy-microhei
  // covers GB2312/GBK; Pango falls back to another face for a missing glyph.
  std::string font_family = "WenQuanYi Micro Hei";
  // The page margin on every side, in mm.
  double margin_mm = 10;
  // Page size in mm overriding the definition's; 0 = the definition's (A4
  // portrait unless it says otherwise). The definition's landscape flag
  // still turns a page that is higher than wide.
  double page_width_mm = 0;
  double page_height_mm = 0;
  // The document's title (PDF metadata); "" = the definition's title, else its name.
  std::string title;
};

}  // namespace kq::dw
