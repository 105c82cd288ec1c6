#include "framework/uo_clu100.h"

#include <cctype>
#include <filesystem>

#include "framework/f_retu_para.h"
#include "framework/session.h"
#include "platform/card/link.h"
#include "platform/card/protocol.h"
#include "platform/profile/profile.h"
#include "platform/serial/port_name.h"
#include "platform/value/text.h"

namespace kq::fw {

std::string session_profile_file() {
  Session* s = current_session();
  if (!s) return {};
  return (std::filesystem::path(s->g.gs_startfile) / "pb.ini").string();
}

std::string configured_card_reader() {
  if (!current_session()) return {};
  std::string file = session_profile_file();
  std::string port = text::trim(profile::profile_string(file, "database", "ickcom", ""));
  if (port.empty()) port = text::trim(f_retu_para("sys", "ickcom").value_or(""));
  return serial::resolve_port(port, file);
}

struct uo_clu100::Impl {
  std::chrono::milliseconds timeout{2000};
  card::Link reading;  // of_gsgl_opencom ... of_gsgl_colsecom
  card::Link writing;  // open_comm ... close_comm

  // Opens `device` into `link` and checks that the reader answers.
  bool connect(card::Link& link, const std::string& device) {
    link.close();
    if (device.empty()) return false;
    auto opened = card::Link::open(device, card::Link::Options{timeout});
    if (!opened) return false;
    link = std::move(*opened);
    if (!link.call(card::proto::kPing).ok()) {
      link.close();
      return false;
    }
    return true;
  }

  int read(const std::vector<std::string>& fields, std::vector<std::string>& values) {
    card::Reply r = writing.call(card::proto::kRead, fields);
    if (!r.ok() || r.values.size() != fields.size()) return -1;
    values = std::move(r.values);
    return 1;
  }
};

uo_clu100::uo_clu100() : impl_(std::make_unique<Impl>()) {}
uo_clu100::~uo_clu100() = default;

void uo_clu100::set_answer_timeout(std::chrono::milliseconds timeout) {
  impl_->timeout = timeout;
  impl_->reading.set_answer_timeout(timeout);
  impl_->writing.set_answer_timeout(timeout);
}

int uo_clu100::of_gsgl_opencom(int port) {
  std::string device =
      port > 0 ? serial::resolve_port("COM" + std::to_string(port), session_profile_file()) : configured_card_reader();
  return impl_->connect(impl_->reading, device) ? 1 : 0;
}

int uo_clu100::of_hyk_readcard(int& status, std::string& card) {
  card::Reply r = impl_->reading.call(card::proto::kNumber);
  if (!r.answered()) return 0;
  if (r.ok() && r.values.size() == 1) {
    status = 0;
    card = r.values[0];
  } else {
    status = -1;
  }
  return 1;
}

int uo_clu100::of_gsgl_colsecom() {
  impl_->reading.close();
  return 1;
}

int uo_clu100::open_comm(const std::string& port) {
  return impl_->connect(impl_->writing, serial::resolve_port(port, session_profile_file())) ? 1 : -1;
}

int uo_clu100::cardready() {
  card::Reply r = impl_->writing.call(card::proto::kStatus);
  if (!r.ok() || r.values.size() != 1) return -1;
  return r.values[0] == "1" ? 1 : 0;
}

int uo_clu100::close_comm() {
  impl_->writing.close();
  return 1;
}

int uo_clu100::of_getpass(std::string& password) {
  return of_read(std::string(card::proto::kFieldPassword), password);
}

int uo_clu100::of_read(const std::string& field, std::string& value) {
  std::vector<std::string> values;
  if (impl_->read({field}, values) != 1) return -1;
  value = values[0];
  return 1;
}

int uo_clu100::of_read(const std::vector<std::string>& fields, std::vector<std::string>& values) {
  if (fields.empty()) return -1;
  return impl_->read(fields, values);
}

int uo_clu100::of_part_int(const std::string& field, long& value) {
  std::string text;
  if (of_read(field, text) != 1) return -1;
  std::string t = text::trim(text);
  size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
  if (i == t.size() || t.size() - i > 15) return -1;
  for (size_t k = i; k < t.size(); ++k)
    if (!std::isdigit(static_cast<unsigned char>(t[k]))) return -1;
  value = std::stol(t);
  return 1;
}

int uo_clu100::of_retu_dm(std::string& code) {
  std::string text;
  if (of_read(std::string(card::proto::kFieldScoringCode), text) != 1) return -1;
  code = text::trim(text);
  return 1;
}

int uo_clu100::of_retu_jfbz(const std::string& code, std::string& standard) {
  std::string c = text::trim(code);
  if (c.empty() || c.size() > 10) return 0;
  for (char ch : c)
    if (!std::isalnum(static_cast<unsigned char>(ch))) return 0;
  standard = c;
  return 1;
}

int uo_clu100::of_retu_bcjf(const std::string& code, const std::string& work_order, long& points) {
  (void)code;  // every standard books the settlement's points in svcb20c
  Session* s = current_session();
  if (!s) return -1;
  SqlcaStatusGuard keep(s->sqlca);
  Dec ldc_bcjf;
  s->sqlca.exec("select nhykbcjf into :ldc_bcjf from svcb20c where cwtsbh = :as_wtsbh and cgsh = :gs_gsh",
                {{"as_wtsbh", work_order}, {"gs_gsh", s->g.gs_gsh}, {"ldc_bcjf", db::out(ldc_bcjf)}});
  if (s->sqlca.sqlcode == -1) return -1;
  if (s->sqlca.sqlcode == 100) {
    points = 0;
    return 0;
  }
  points = static_cast<long>(ldc_bcjf.value_or(Decimal(0)).round(0).to_int64());
  return 1;
}

int uo_clu100::of_write(const std::string& password, const std::string& field, const std::string& value) {
  return of_write(password, std::vector<std::pair<std::string, std::string>>{{field, value}});
}

int uo_clu100::of_write(const std::string& password, const std::vector<std::pair<std::string, std::string>>& fields) {
  if (fields.empty()) return -1;
  std::vector<std::string> args{password};
  for (const auto& [f, v] : fields) {
    args.push_back(f);
    args.push_back(v);
  }
  return impl_->writing.call(card::proto::kWrite, args).ok() ? 1 : -1;
}

int uo_clu100::of_retu_infor(const std::string& work_order, std::vector<std::string>& infor) {
  Session* s = current_session();
  if (!s) return -1;
  SqlcaStatusGuard keep(s->sqlca);
  Dec ldc_hjje, ldc_kxfje, ldc_bcjf;
  s->sqlca.exec(
      "select nhjje , nhykbcxfje , nhykbcjf into :ldc_hjje , :ldc_kxfje , :ldc_bcjf from svcb20c "
      "where cwtsbh = :as_wtsbh and cgsh = :gs_gsh",
      {{"as_wtsbh", work_order},
       {"gs_gsh", s->g.gs_gsh},
       {"ldc_hjje", db::out(ldc_hjje)},
       {"ldc_kxfje", db::out(ldc_kxfje)},
       {"ldc_bcjf", db::out(ldc_bcjf)}});
  if (s->sqlca.sqlcode == -1) return -1;
  if (s->sqlca.sqlcode == 100) return 0;
  infor = {ldc_hjje.value_or(Decimal(0)).to_fixed(2), ldc_kxfje.value_or(Decimal(0)).to_fixed(2),
           ldc_bcjf.value_or(Decimal(0)).to_fixed(2)};
  return 1;
}

int uo_clu100::of_wgjs(const std::string& password, const std::string& card, const std::string& work_order,
                       const std::string& date, long points_before, long points_taken, const std::string& operator_code) {
  card::Reply r = impl_->writing.call(card::proto::kLog, {password, card, work_order, date, std::to_string(points_before),
                                                          std::to_string(points_taken), operator_code});
  return r.ok() ? 1 : -1;
}

}  // namespace kq::fw
