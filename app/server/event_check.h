#pragma once
// The server's own check of an event before any window sees it: the browser
// is not trusted to respect what it shows. An event must name an open
// window; a control it names must exist in that window and be visible and
// enabled (a disabled date field cannot be typed into through the protocol
// either); an item change needs a data window that is not read-only; a menu
// command or toolbar event that the window shows disabled is refused.
#include <nlohmann/json.hpp>
#include <optional>

#include "server/api_error.h"

namespace kq::server {

// Checks the shape of an event (400 when malformed): an object with an
// integer "window", a non-empty string "event", and where present a string
// "control", integers "row", "key", "number", a string "column" and "text",
// and a "data" that is a string, a number or null.
std::optional<ApiError> check_event_shape(const nlohmann::json& event);

// Checks `event` (of a valid shape) against `windows`, the state of every
// open window: 404 for a window or control that is not there, 403 for one
// that may not be used now.
std::optional<ApiError> check_event_allowed(const nlohmann::json& windows, const nlohmann::json& event);

}  // namespace kq::server
