#pragma once
// Profile (INI) files: the runtime's ProfileString. Sections and keys are
// matched case-insensitively; ';' and '#' start comment lines; values are
// trimmed. A missing file, section or key gives the default.
#include <string>
#include <string_view>

namespace kq::profile {

std::string profile_string(const std::string& file, std::string_view section, std::string_view key,
                           std::string_view default_value);

// The same, from the content of a file already read.
std::string profile_string_from_text(std::string_view content, std::string_view section, std::string_view key,
                                     std::string_view default_value);

}  // namespace kq::profile
