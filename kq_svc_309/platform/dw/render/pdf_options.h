#pragma once
// Options of the PDF renderer.
#include <string>

namespace kq::dw {

// What every page of a printed list says under its title, besides the page
// number: the range the list covers (its retrieval arguments in words), who
// printed it and when. An empty text is left out.
struct PrintHeading {
  std::string range;       // "结算日期：2026/12/01 至 2026/12/09"
  std::string printed_by;  // "001 王建国"
  std::string printed_at;  // "2026/12/09 10:31"
};

struct PdfOptions {
  // The typeface of every text (Pango family name). Debian's fonts-wqy-microhei
  // covers GB2312/GBK; Pango falls back to another face for a missing glyph.
  std::string font_family = "WenQuanYi Micro Hei";
  // The page margin on every side, in mm.
  double margin_mm = 10;
  // Page size in mm overriding the definition's; 0 = the definition's (A4
  // portrait unless it says otherwise). The definition's landscape flag
  // still turns a page that is higher than wide, and so does a list wider
  // than a portrait page.
  double page_width_mm = 0;
  double page_height_mm = 0;
  // The document's title (PDF metadata); "" = the definition's title, else its name.
  std::string title;
  // Lists only: the line under the title of every page.
  PrintHeading heading;
  // The folder that picture objects' files are found in (pictures.h);
  // "" = pictures keep their place and draw nothing.
  std::string picture_folder;
};

}  // namespace kq::dw
