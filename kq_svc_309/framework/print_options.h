#pragma once
// What a printout made in a session says about itself, and where its pictures
// come from. A printed list names on every page the range it covers (its
// definition's `range` evaluated with the data window's retrieval arguments),
// the operator of the session (code and name) and the time it was printed;
// pictures are read from the session's picture folder.
#include <string>

#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/render/pdf_options.h"

namespace kq::fw {

// The picture folder: "picture" in the application folder (gs_startfile, the
// folder of the shop database); "" without a session.
std::string picture_folder();

// PDF options for printing `dw` in the current session: the heading line of
// a list and the picture folder. Without a session only the range is filled.
dw::PdfOptions print_options(const dw::DataWindow& dw);

}  // namespace kq::fw
