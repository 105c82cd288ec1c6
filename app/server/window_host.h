#pragma once
// What the workstation needs of a session's windows: the window manager of
// the module seen through the calls the protocol makes. One WindowHost
// belongs to one session and is used on that session's UI thread only.
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "server/api_error.h"

namespace kq::server {

// One entry of the main menu: a window class the session may open.
struct MenuEntry {
  std::string window_class;  // "w_svc305"
  std::string title;         // "取消结算"
};

class WindowHost {
 public:
  virtual ~WindowHost() = default;

  // The windows of the module's menu, in menu order.
  virtual std::vector<MenuEntry> menu() = 0;

  // Opens a window of `window_class` (one of menu()); 404 for an unknown
  // class. The window's own events run (they may ask the person things).
  virtual std::optional<ApiError> open(const std::string& window_class) = 0;

  // The state of every open window (docs/protocol.md, "Window state"):
  // {"active": id of the active window or null, "windows": [...]}.
  virtual nlohmann::json windows() = 0;

  // Fires one event (docs/protocol.md, "Events"); `event` was checked against
  // the windows' state already (window open, control there, enabled and
  // visible). An error when the window refuses it.
  virtual std::optional<ApiError> dispatch(const nlohmann::json& event) = 0;

  // A window of rows of a grid data window: {"first_row", "rowcount", "html"}
  // with rows [first, first + count). 404 for an unknown window or control.
  virtual Expected<nlohmann::json> rows(long long window, const std::string& control, long first, long count) = 0;

  // The texts rows [first, first + count) of a data window control show, as
  // data (see data_items.h). 404 as for rows(); any style of data window.
  virtual Expected<nlohmann::json> items(long long window, const std::string& control, long first, long count) {
    (void)first;
    (void)count;
    return not_found("窗口 " + std::to_string(window) + " 中没有数据窗口 " + control);
  }

  // A data window control as a printed PDF document. 404 as for rows().
  virtual Expected<std::string> pdf(long long window, const std::string& control) = 0;

  // Closes every window (sign-out); nothing may ask the person any more.
  virtual void close_all() = 0;
};

}  // namespace kq::server
