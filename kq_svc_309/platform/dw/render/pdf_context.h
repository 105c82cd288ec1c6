#pragma once
// What the PDF layout functions share while one document is written.
#include "platform/dw/render/pdf_flow.h"
#include "platform/dw/render/pictures.h"

namespace kq::dw {

struct PdfContext {
  PdfFlow* flow = nullptr;
  // The pictures of the document (null: pictures draw nothing).
  PictureCache* pictures = nullptr;
  // Nesting depth of the data window being laid out; nested reports deeper
  // than kMaxNesting are left out (a definition nesting itself ends there).
  int depth = 0;
  static constexpr int kMaxNesting = 8;
};

// Padding inside every cell, in mm.
constexpr double kCellPadX = 0.8;
constexpr double kCellPadY = 0.5;
// The least width of an object or column that shares the rest of a line, in mm.
constexpr double kMinShareMm = 8;
// The highest a picture is drawn, in mm (its width is its object's).
constexpr double kMaxPictureMm = 25;

}  // namespace kq::dw
