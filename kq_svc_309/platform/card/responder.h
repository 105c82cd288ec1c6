#pragma once
// The reader's side of the protocol: the answer to one request, computed on
// the card it holds. Pure; the simulator adds the serial line and injected
// failures around it.
#include "platform/card/card.h"
#include "platform/card/frame.h"

namespace kq::card {

// Answers `request` (a Request frame) from `card`, changing the card for
// WRITE and LOG. The answer carries the request's sequence number. `changed`
// becomes true when the card was changed.
Frame respond(Card& card, const Frame& request, bool& changed);

}  // namespace kq::card
