#pragma once
// Options of the HTML renderer.
#include <string>

namespace kq::dw {

struct HtmlOptions {
  // Auto renders by the definition's style: a grid as a table of rows, a form
  // as one record of labelled fields, a report as a print preview. Preview
  // renders any style as a print preview on a page (a grid as a ruled list of
  // all its rows).
  enum class Mode { Auto, Preview };
  Mode mode = Mode::Auto;

  // A whole HTML document (doctype, charset, title, the stylesheet) instead
  // of a fragment to be placed into a page that links the stylesheet itself.
  bool document = false;

  // The control's name in its window ("dw_1"): the data-dw attribute of the
  // outer element and the prefix of radio group names. "" = the definition's name.
  std::string id;

  // Fields of columns (not protected) are marked editable (class kq-edit) and
  // check boxes and radio choices are not disabled. Print previews never are.
  bool editable = true;

  // Grids: only rows [first_row, first_row + row_window) are written, with one
  // spacer row above and one below standing in for the others so that the
  // table keeps its full height (virtual scrolling). row_window 0 = every row
  // from first_row on. Rows out of range are clamped to the grid's rows.
  long first_row = 1;
  long row_window = 0;

  // Grids: the height of every heading, data and footer row in CSS pixels.
  int row_height_px = 24;

  // Print previews: the page margin on every side, in mm.
  double margin_mm = 10;

  // The folder that picture objects' files are found in (pictures.h); a
  // picture found there is written into the page as a data: URL. "" or no
  // such file: the picture keeps its place and shows nothing.
  std::string picture_folder;
};

// The vertical extent of a grid rendered with some options, for the browser's
// virtual scrolling: every line of the table is row_height_px high.
struct GridMetrics {
  long row_count = 0;           // data rows of the grid
  int row_height_px = 0;        // height of each heading, data and footer row
  int heading_height_px = 0;    // the heading row
  int footer_height_px = 0;     // all footer lines together
  long long total_height_px = 0;  // heading + every data row + footer
};

// The rows a grid window covers: [first, last], empty when last < first.
struct RowWindow {
  long first = 1;
  long last = 0;
  long size() const { return last >= first ? last - first + 1 : 0; }
};

}  // namespace kq::dw
