#pragma once
// The browser front end (app/web/), compiled into the binary.
#include <optional>
#include <string_view>

namespace kq::server {

// The file at `path` relative to app/web/ ("index.html", "js/app.js"), or
// nullopt when there is none.
std::optional<std::string_view> web_asset(std::string_view path);

// The Content-Type of a file by its extension (UTF-8 for text).
std::string_view content_type_for(std::string_view path);

}  // namespace kq::server
