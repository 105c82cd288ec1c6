#include "cli/dw_archive.h"

#include "platform/value/text.h"

namespace kq::app {
namespace {

// How the slip of `named` is refused, by the kind of failure of its restoring.
std::string refusal(const std::string& named, const Error& e) {
  const std::string slip = "the slip of " + named + " ";
  switch (e.kind) {
    case ErrorKind::Foreign: return slip + "is not a data window state of kq_svc_309";
    case ErrorKind::Corrupt: return slip + "is damaged (its " + e.message + ")";
    case ErrorKind::UnsupportedVersion: return slip + "was written by a newer version of kq_svc_309 (" + e.message + ")";
    default: return slip + "cannot be restored: " + e.message;
  }
}

}  // namespace

Result<void> restore_archived_slip(db::Transaction& sqlca, const std::string& company, int64_t id,
                                   dw::DataWindow& dw) {
  const std::string which = "archive " + std::to_string(id) + " of company " + company;
  Str wtsbh;
  sqlca.exec("select cwtsbh into :ls_wtsbh from svcb61 where id = :ll_id and cgsh = :gs_gsh",
             {{"ll_id", id}, {"gs_gsh", company}, {"ls_wtsbh", db::out(wtsbh)}});
  if (sqlca.sqlcode == 100) return make_error("there is no " + which + " (svcb61)", ErrorKind::NotFound);
  if (sqlca.sqlcode != 0) return make_error("reading " + which + " failed: " + sqlca.sqlerrtext);
  const std::string named = which + " (work order " + text::trim(wtsbh.value_or("")) + ")";

  std::optional<Blob> blob;
  sqlca.exec("selectblob cblob into :lb_jsd from svcb61 where id = :ll_id and cgsh = :gs_gsh",
             {{"ll_id", id}, {"gs_gsh", company}, {"lb_jsd", db::out(blob)}});
  if (sqlca.sqlcode == 100) return make_error("there is no " + which + " (svcb61)", ErrorKind::NotFound);
  if (sqlca.sqlcode != 0) return make_error("reading the slip of " + named + " failed: " + sqlca.sqlerrtext);
  if (!blob || blob->bytes.empty()) return make_error(named + " holds no archived settlement slip", ErrorKind::NotFound);

  if (auto restored = dw.restore_state(*blob); !restored)
    return make_error(refusal(named, restored.failure()), restored.failure().kind);
  return {};
}

}  // namespace kq::app
