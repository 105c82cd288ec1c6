#include "server/web_assets.h"

#include <map>
#include <string>

// The front end's files are embedded by kq_embed into their own library,
// whose generated table is compiled in namespace kq::web_embedded (so that it
// does not meet the module's own table kq::embedded::all()).
namespace kq::web_embedded {
const std::map<std::string, std::string_view, std::less<>>& all();
}

namespace kq::server {

std::optional<std::string_view> web_asset(std::string_view path) {
  const auto& files = web_embedded::all();
  auto it = files.find(path);
  if (it == files.end()) return std::nullopt;
  return it->second;
}

std::string_view content_type_for(std::string_view path) {
  auto ends = [&](std::string_view ext) {
    return path.size() >= ext.size() && path.substr(path.size() - ext.size()) == ext;
  };
  if (ends(".html")) return "text/html; charset=utf-8";
  if (ends(".js")) return "text/javascript; charset=utf-8";
  if (ends(".css")) return "text/css; charset=utf-8";
  if (ends(".svg")) return "image/svg+xml";
  if (ends(".png")) return "image/png";
  if (ends(".ico")) return "image/x-icon";
  if (ends(".json")) return "application/json; charset=utf-8";
  return "application/octet-stream";
}

}  // namespace kq::server
