#pragma once
// The host application's repair-item window, as far as the module meets it:
// opened with a us_svc_xlxm for a work order and a mode, it tells the mode
// it runs in while it is open.
#include <optional>
#include <string>

#include "platform/ui/window.h"
#include "platform/value/value.h"

namespace kq::fw {

class w_svc300_03 : public ui::Window {
 public:
  w_svc300_03();

  ui::Control& st_1;  // the work order shown

  Str is_type;                    // the mode opened with (ctype): "PG", "ZH", "SH" ...
  std::optional<bool> ib_is_pg;   // running in dispatch mode ("PG")
  std::optional<bool> ib_sh;      // opened from completion audit ("SH")

  // Takes the work order and mode from the parameter; without one the
  // window stays empty and its mode null.
  long open() override;
};

}  // namespace kq::fw
