#include "server/request_admission.h"

#include <algorithm>
#include <cctype>

#include "platform/value/text.h"

namespace kq::server {

namespace {

std::string lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

// "name", "name:port", "[v6]", "[v6]:port" → name (brackets removed) and port
// ("" when not given); nullopt when malformed.
struct Authority {
  std::string name;
  std::string port;
};
std::optional<Authority> parse_authority(std::string_view text) {
  Authority a;
  if (text.empty()) return std::nullopt;
  if (text.front() == '[') {
    size_t close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    a.name = lower(text.substr(1, close - 1));
    std::string_view rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') return std::nullopt;
      a.port = std::string(rest.substr(1));
    }
  } else {
    size_t colon = text.find(':');
    if (colon != text.rfind(':')) return std::nullopt;  // a bare IPv6 address needs brackets
    a.name = lower(text.substr(0, colon));
    if (colon != std::string_view::npos) a.port = std::string(text.substr(colon + 1));
  }
  if (a.name.empty()) return std::nullopt;
  if (!std::all_of(a.port.begin(), a.port.end(), [](unsigned char c) { return std::isdigit(c); })) return std::nullopt;
  return a;
}

bool is_json_type(std::string_view content_type) {
  std::string_view media = content_type.substr(0, content_type.find(';'));
  return lower(text::trim(media)) == "application/json";
}

}  // namespace

HostNames::HostNames(const std::vector<std::string>& configured) : names_{"localhost", "127.0.0.1", "::1"} {
  for (const std::string& n : configured) {
    std::string name = lower(text::trim(n));
    if (name.size() > 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
    if (!name.empty() && !allows(name)) names_.push_back(name);
  }
}

bool HostNames::allows(std::string_view name) const {
  std::string n = lower(name);
  return std::find(names_.begin(), names_.end(), n) != names_.end();
}

std::optional<ApiError> admit_api_request(const RequestOrigin& r, const HostNames& names) {
  std::optional<Authority> host;
  if (!r.host.empty()) {
    host = parse_authority(r.host);
    if (!host || !names.allows(host->name)) {
      return ApiError{403, "服务器不接受以此名称访问，请使用管理员给出的地址", "refused Host: " + r.host};
    }
  }
  if (!r.origin.empty()) {
    const std::string origin = lower(r.origin);
    std::string scheme;
    std::string_view rest;
    for (std::string_view s : {"http", "https"}) {
      if (origin.size() > s.size() + 3 && origin.compare(0, s.size(), s) == 0 &&
          origin.compare(s.size(), 3, "://") == 0) {
        scheme = std::string(s);
        rest = std::string_view(origin).substr(s.size() + 3);
      }
    }
    std::optional<Authority> from = scheme.empty() ? std::nullopt : parse_authority(rest);
    bool same = from && names.allows(from->name);
    if (same && host) {
      const std::string from_port = !from->port.empty() ? from->port : (scheme == "https" ? "443" : "80");
      same = from->name == host->name &&
             (host->port.empty() ? (from_port == "80" || from_port == "443") : host->port == from_port);
    }
    if (!same) return ApiError{403, "拒绝来自其他网页的请求", "refused Origin: " + r.origin + " (Host: " + r.host + ")"};
  }
  if (r.method == "POST" && !is_json_type(r.content_type)) {
    return ApiError{415, "请求须为 JSON（Content-Type: application/json）",
                    "refused Content-Type: " + r.content_type};
  }
  return std::nullopt;
}

}  // namespace kq::server
