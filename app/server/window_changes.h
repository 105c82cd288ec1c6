#pragma once
// Which windows a browser has to redraw. The window states travel as JSON
// ({"id": N, …} per window, see docs/protocol.md); a state is sent again only
// when it differs from the one last sent.
#include <map>
#include <nlohmann/json.hpp>
#include <string>

namespace kq::server {

class WindowChanges {
 public:
  // From the states of every open window (a JSON array), the change since the
  // last call: {"windows": [states that are new or differ], "closed": [ids of
  // windows no longer open]}. Remembers `all` as sent.
  nlohmann::json take(const nlohmann::json& all);
  // Forgets what was sent: the next take() sends every window.
  void reset() { sent_.clear(); }

 private:
  std::map<long long, std::string> sent_;  // window id → its state as last sent
};

// Folds a later change into an earlier one that was never delivered, so that
// one answer carries both: states by window id (the later wins), closed ids
// joined (a window closed later drops its state; one reopened later is no
// longer closed). Both are objects as WindowChanges::take gives them; members
// other than "windows" and "closed" are taken from `later`.
nlohmann::json merge_changes(const nlohmann::json& earlier, const nlohmann::json& later);

}  // namespace kq::server
