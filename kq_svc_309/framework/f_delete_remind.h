#pragma once
#include <string_view>

#include "platform/dw/datawindow/datawindow.h"

namespace kq::fw {

// Asks the person whether to delete the current row of `dw` (a yes/no
// message box titled gs_tsxx naming the row by its key columns `keys`, a
// comma-separated list such as "cwtsbh,cwxxmdm", with their headings where
// the data window has them). 1 when confirmed, 2 when declined. `kind`
// ("singletable") names what is deleted; one table is the only kind.
int f_delete_remind(std::string_view kind, std::string_view keys, const dw::DataWindow& dw);

}  // namespace kq::fw
