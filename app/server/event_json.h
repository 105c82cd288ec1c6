#pragma once
// The protocol's events (docs/protocol.md, "Events") as the platform's typed
// event requests:
//
//   {"window": 3, "control": "em_1", "event": "ue_key", "key": 13, "text": "2026/12/01"}
//
// Members: window (whole number, 0 or absent = the session), event (text),
// control, column, text, class (texts), row, number, key, keyflags, xpos,
// ypos, row_window (whole numbers), checked (true or false), data (text, a
// number taken as its text, or null for none). Null counts as absent.
#include <nlohmann/json.hpp>

#include "platform/result.h"
#include "platform/ui/event_request.h"

namespace kq::server {

// The request `event` stands for; an error saying which member is wrong.
Result<ui::EventRequest> event_from_json(const nlohmann::json& event);

}  // namespace kq::server
