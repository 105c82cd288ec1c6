#pragma once
// The settlement slip archived with a cancelled settlement: the state blob in
// `cblob` of one `svcb61` row, restored into a data window that shows what the
// slip showed when it was archived, without the database.
#include <cstdint>
#include <string>

#include "platform/db/transaction.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/result.h"

namespace kq::app {

// Reads `cblob` of the `svcb61` row with `id` of `company` through `sqlca`
// (values bound, nothing written) and restores it into `dw`. The error names
// the archive and says which of these it is: no such row, a database error, a
// row without a slip, a blob that is not a data window state of this program
// (foreign or damaged), one written by a newer version, or one that does not
// restore.
Result<void> restore_archived_slip(db::Transaction& sqlca, const std::string& company, int64_t id,
                                   dw::DataWindow& dw);

}  // namespace kq::app
