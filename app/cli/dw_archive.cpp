#include "cli/dw_archive.h"

#include <nlohmann/json.hpp>
#include <string_view>

#include "platform/dw/datawindow/state_format.h"
#include "platform/value/text.h"

namespace kq::app {
namespace {

// Why a blob is not a state this program can restore; "" when it may be.
std::string unreadable(const Blob& blob) {
  const auto j = nlohmann::json::parse(blob.bytes, nullptr, false);
  const std::string marker = "\"" + std::string(dw::kStateFormat) + "\"";
  if (j.is_discarded()) {
    if (blob.bytes.find(marker) != std::string::npos) return "is damaged (its data window state is cut off or garbled)";
    return "is not a data window state of kq_svc_309";
  }
  if (!j.is_object()) return "is not a data window state of kq_svc_309";
  const auto format = j.find("format");
  if (format == j.end() || !format->is_string() || format->get<std::string>() != dw::kStateFormat)
    return "is not a data window state of kq_svc_309";
  const auto version = j.find("version");
  if (version == j.end() || !version->is_number_integer() || version->get<int64_t>() < 1)
    return "is damaged (its data window state has no valid version)";
  if (version->get<int64_t>() > dw::kStateVersion)
    return "was written by a newer version of kq_svc_309 (data window state version " +
           std::to_string(version->get<int64_t>()) + "; this program reads up to " +
           std::to_string(dw::kStateVersion) + ")";
  return "";
}

}  // namespace

Result<void> restore_archived_slip(db::Transaction& sqlca, const std::string& company, int64_t id,
                                   dw::DataWindow& dw) {
  const std::string which = "archive " + std::to_string(id) + " of company " + company;
  Str wtsbh;
  sqlca.exec("select cwtsbh into :ls_wtsbh from svcb61 where id = :ll_id and cgsh = :gs_gsh",
             {{"ll_id", id}, {"gs_gsh", company}, {"ls_wtsbh", db::out(wtsbh)}});
  if (sqlca.sqlcode == 100) return make_error("there is no " + which + " (svcb61)");
  if (sqlca.sqlcode != 0) return make_error("reading " + which + " failed: " + sqlca.sqlerrtext);
  const std::string named = which + " (work order " + text::trim(wtsbh.value_or("")) + ")";

  std::optional<Blob> blob;
  sqlca.exec("selectblob cblob into :lb_jsd from svcb61 where id = :ll_id and cgsh = :gs_gsh",
             {{"ll_id", id}, {"gs_gsh", company}, {"lb_jsd", db::out(blob)}});
  if (sqlca.sqlcode == 100) return make_error("there is no " + which + " (svcb61)");
  if (sqlca.sqlcode != 0) return make_error("reading the slip of " + named + " failed: " + sqlca.sqlerrtext);
  if (!blob || blob->bytes.empty()) return make_error(named + " holds no archived settlement slip");

  if (std::string why = unreadable(*blob); !why.empty()) return make_error("the slip of " + named + " " + why);
  if (dw.from_state_blob(*blob) != 1)
    return make_error("the slip of " + named + " cannot be restored: " + dw.last_error());
  return {};
}

}  // namespace kq::app
