#pragma once
#include <string_view>

namespace kq::fw {

// Shows the progress indicator (animation `file`, `text`) through the
// session's Ui until delbox() or the end of the current event.
void openbox(std::string_view file, std::string_view text);
// Removes the progress indicator (nothing when none is shown).
void delbox();

}  // namespace kq::fw
