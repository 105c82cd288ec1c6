#include "contracts/document_number.h"

#include <cstdio>
#include <iostream>

#include "framework/f_retu_djxh.h"
#include "platform/value/text.h"

namespace kq::svc {

std::string document_number_prefix(const fw::Globals& g) {
  char year[16], month[16];
  std::snprintf(year, sizeof year, "%04d", g.gi_dqn);
  std::snprintf(month, sizeof month, "%02d", g.gi_dqy);
  const std::string y = year;
  return (g.gb_net ? g.gs_gsh + y.substr(y.size() - 2) : y) + month;
}

Str new_document_number(const DocumentNumber& kind) {
  Str counter = fw::f_retu_djxh("SVC", kind.counter);
  if (!counter) return std::nullopt;
  return document_number_prefix(fw::g()) + *counter;
}

StoredNumber store_document_number(const DocumentNumber& kind, const std::string& wtsbh, const std::string& number) {
  fw::Session& s = fw::session();
  db::Transaction& t = s.sqlls;
  const std::string column = kind.column;
  auto fail = [&](const char* message) {
    if (t.sqlcode == -1) std::cerr << "kq_svc_309: w_svc310: " << column << ": " << t.sqlerrtext << '\n';
    t.rollback();
    return StoredNumber{std::nullopt, message};
  };

  // Only an empty number is filled: a number once given never changes.
  t.exec("update svcb20c set " + column + " = :ls_hth where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh and isnull(rtrim(" +
             column + "), '') = ''",
         {{"ls_hth", number}, {"ls_wtsbh", wtsbh}, {"gs_gsh", s.g.gs_gsh}});
  if (t.sqlcode == -1) return fail(kind.store_failed);
  if (t.sqlcode == 0) {
    if (t.commit() != 0) return fail(kind.store_failed);
    return StoredNumber{number, nullptr};
  }

  // No row filled: another workstation numbered it first, or the work order left svcb20c.
  Str won;
  t.exec("select " + column + " into :ls_won from svcb20c where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh",
         {{"ls_wtsbh", wtsbh}, {"gs_gsh", s.g.gs_gsh}, {"ls_won", db::out(won)}});
  if (t.sqlcode == -1) return fail(kind.store_failed);
  if (t.sqlcode == 100) return fail(kind.order_gone);
  t.rollback();
  const std::string kept = won ? text::trim(*won) : std::string();
  if (kept.empty()) return StoredNumber{std::nullopt, kind.store_failed};
  return StoredNumber{kept, nullptr};
}

}  // namespace kq::svc
