#pragma once
// A workshop controller's desk for rework tests: the demo shop (business date
// 2026/12/08) signed in to company 01 (no labour-hour management) or 02
// (labour-hour terminals), with the rework list w_svc304 and the entry
// window w_svc304_01 driven as the person drives them: clicks into columns
// that answer with selection lists, and the save and delete commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/demo_fixture.h"
#include "framework/us_edit_row.h"
#include "rework/w_svc304.h"
#include "rework/w_svc304_01.h"

namespace kq::svc::testing {

using kq::testing::DemoShop;

class ReworkDesk {
 public:
  explicit ReworkDesk(const std::string& company = "01") {
    if (company != "01") {
      shop.session->g.gs_gsh = company;
      shop.session->sqlca.set_company(company);
      shop.session->sqlls.set_company(company);
    }
  }

  w_svc304* list() {
    if (auto* w = dynamic_cast<w_svc304*>(shop.windows->find("w_svc304"))) return w;
    return dynamic_cast<w_svc304*>(shop.windows->open("w_svc304"));
  }
  w_svc304_01* entry() { return dynamic_cast<w_svc304_01*>(shop.windows->find("w_svc304_01")); }

  // A new record: through the list's insert command, or (labour-hour mode,
  // where the list refuses to run) opened on its own.
  w_svc304_01* add() {
    if (auto* l = list(); l && l->is_open()) {
      l->ue_do_insert();
      return entry();
    }
    fw::us_edit_row r;
    r.mode = "add";
    r.key_columns = {"cwtsbh", "cwxxmdm"};
    return dynamic_cast<w_svc304_01*>(shop.windows->open("w_svc304_01", ui::Message::of_object(std::move(r))));
  }

  // The entry opened for an existing record, as the list hands it over.
  w_svc304_01* open_record(const std::string& bh, const std::string& item) {
    fw::us_edit_row r;
    r.mode = "edit";
    r.key_columns = {"cwtsbh", "cwxxmdm"};
    r.key_values = {Value(bh), Value(item)};
    r.retrieval_values = {Value(bh), Value(item),
                          Value(text("select cxmmc into :v from svcb50 where cwtsbh = '" + bh + "' and cwxxmdm = '" +
                                     item + "'"))};
    return dynamic_cast<w_svc304_01*>(shop.windows->open("w_svc304_01", ui::Message::of_object(std::move(r))));
  }

  // Clicks into `column` of the entry's current row and, when a selection
  // list comes, chooses the row whose first cell is `first` (nothing when
  // empty or not offered). The entry's result.
  long pick(w_svc304_01& w, const std::string& column, const std::string& first = "") {
    // The list is read once without a choice to find the row, then chosen.
    const size_t lists = shop.ui.selection_lists.size();
    const size_t messages = shop.ui.shown.size();
    long r = w.dw_edit_clicked(0, 0, w.dw_edit->getrow(), column);
    if (shop.ui.selection_lists.size() == lists || first.empty()) return r;
    const auto& offered = shop.ui.selection_lists.back().rows;
    long index = 0;
    for (size_t i = 0; i < offered.size(); ++i)
      if (!offered[i].empty() && offered[i][0] == first) index = static_cast<long>(i) + 1;
    if (index == 0) return r;
    shop.ui.shown.resize(messages);
    shop.ui.selections.push_back(index);
    return w.dw_edit_clicked(0, 0, w.dw_edit->getrow(), column);
  }

  // The first cells of the last selection list shown.
  std::vector<std::string> offered() const {
    std::vector<std::string> out;
    if (shop.ui.selection_lists.empty()) return out;
    for (const auto& row : shop.ui.selection_lists.back().rows) out.push_back(row.empty() ? "" : row[0]);
    return out;
  }

  void set(w_svc304_01& w, const std::string& column, const Value& v) { w.dw_edit->setitem(w.dw_edit->getrow(), column, v); }

  // Committed data, as another workstation sees it ("<none>" when no row).
  std::string text(const std::string& sql) { return shop.committed(sql); }
  std::string flag(const std::string& table, const std::string& bh, const std::string& item) {
    return text("select lfgbs into :v from " + table + " where cwtsbh = '" + bh + "' and cwxxmdm = '" + item + "'");
  }
  std::string rework_jobs(const std::string& bh, const std::string& item) {
    return text("select count(*) into :v from wtcb01c where lfxbs = 1 and cwtsbh = '" + bh + "' and cwxxmdm = '" +
                item + "'");
  }

  DemoShop shop;
};

}  // namespace kq::svc::testing
