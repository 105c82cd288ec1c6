#pragma once
// The identity of DataWindow::state_blob(): a JSON object whose "format" is
// kStateFormat and whose "version" is the version of its layout. This program
// writes kStateVersion and reads versions 1 to kStateVersion; a reader that
// wants to tell a newer blob from a damaged one compares with these.
#include <string_view>

namespace kq::dw {

inline constexpr std::string_view kStateFormat = "kq_svc_309.datawindow-state";
inline constexpr int kStateVersion = 1;

}  // namespace kq::dw
