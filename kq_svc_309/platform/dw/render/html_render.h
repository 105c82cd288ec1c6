#pragma once
// The HTML renderer: a data window as the browser shows it — a grid as a
// table of rows, a form as one record of labelled fields, a report (or any
// data window in preview mode) as a print preview on a page. Every text is
// escaped; formats and code tables are the Presentation's (display_text).
#include <string>

#include "platform/dw/render/html_options.h"
#include "platform/dw/render/presentation.h"

namespace kq::dw {

// Renders `p`. The outer element is <div class="kq-dw ..." data-dw="{id}"
// data-name="{definition}">; with options.document a whole document around it.
std::string render_html(const Presentation& p, const HtmlOptions& options = {});

}  // namespace kq::dw
