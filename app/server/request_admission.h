#pragma once
// Who may call the workstation's protocol. A browser page of another site
// must not reach it: every /api/ request must name the server by one of the
// names it was configured with (Host), a request that says where it comes
// from must come from that same server (Origin), and a POST must carry JSON
// (a page of another site cannot send that without the server's consent).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/api_error.h"

namespace kq::server {

// The names (host names or addresses, without port) the server answers to:
// "localhost", "127.0.0.1" and "::1" always, plus `configured` (the listen
// address, the shop's LAN names). Compared without regard to case.
class HostNames {
 public:
  explicit HostNames(const std::vector<std::string>& configured = {});
  bool allows(std::string_view name) const;
  const std::vector<std::string>& names() const { return names_; }

 private:
  std::vector<std::string> names_;
};

// The parts of a request that tell where it comes from ("" when absent).
struct RequestOrigin {
  std::string method;
  std::string host;          // the Host header, "name[:port]" or "[v6]:port"
  std::string origin;        // the Origin header
  std::string content_type;  // the Content-Type header
};

// nullopt when the /api/ request may go on; otherwise the refusal: 403 for a
// Host that is not one of `names` or an Origin that is not this server, 415
// for a POST that does not carry application/json. A request without Host
// (not a browser) or without Origin (a script, a same-site page load) passes
// those checks.
std::optional<ApiError> admit_api_request(const RequestOrigin& request, const HostNames& names);

}  // namespace kq::server
