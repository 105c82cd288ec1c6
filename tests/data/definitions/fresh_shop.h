#pragma once
// A fresh, empty shop (company "01") with one customer, vehicle, model and a
// few parts, into which a test writes exactly the work orders, items, issues,
// receipts and parameters of its case, and data windows retrieved from it.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "definitions_support.h"
#include "platform/dw/datawindow/datawindow.h"
#include "support/test_shop.h"

namespace kq::testing {

class FreshShop : public ::testing::Test {
 protected:
  using Fields = std::map<std::string, std::string>;  // column -> SQL literal

  FreshShop() {
    register_host_functions();
    shop_.sql("insert into crmc01 (ckhdm, ckhmc, ckhdz, cdh, cgsh) values ('K001', '王先生', '朝阳路1号', '13900000000', '01')");
    shop_.sql("insert into svcc04 (ccxdm, ccxmc, cgsh) values ('M1', '帕萨特', '01')");
    shop_.sql("insert into crmc04 (id, cgsh, ckhdm, cdph, cpzh, cfdjh, ccxdm) "
              "values (1, '01', 'K001', 'LSV0000000000001', '京A12345', 'E123456', 'M1')");
    shop_.sql("insert into spac01 (cbjdm, cbjmc, cjldw, cgsh) values ('P1', '机油滤清器', '个', '01')");
    shop_.sql("insert into spac01 (cbjdm, cbjmc, cjldw, cgsh) values ('P2', '前刹车片', '套', '01')");
    shop_.sql("insert into spac01 (cbjdm, cbjmc, cjldw, cgsh) values ('P3', '雨刮片', '对', '01')");
  }

  // Sets a system parameter of company "01" (group and code as given).
  void param(const std::string& group, const std::string& code, const std::string& value) {
    auto& t = shop_.session->sqlca;
    t.exec("delete from sysi90 where cssxt = '" + group + "' and ccsdm = '" + code + "' and cgsh = '01'");
    EXPECT_NE(t.sqlcode, -1) << t.sqlerrtext;  // 100: nothing to replace
    shop_.sql("insert into sysi90 (cssxt, ccsdm, ccsz, cgsh) values ('" + group + "', '" + code + "', '" + value +
              "', '01')");
  }

  // A row of `table` with `fields` (SQL literals) and the company "01".
  void insert(const std::string& table, Fields fields) {
    fields.emplace("cgsh", "'01'");
    std::string cols, vals;
    for (const auto& [c, v] : fields) {
      cols += (cols.empty() ? "" : ", ") + c;
      vals += (vals.empty() ? "" : ", ") + v;
    }
    shop_.sql("insert into " + table + " (" + cols + ") values (" + vals + ")");
  }

  // A work order of vehicle 1, settled on 2026/12/08 unless `fields` say otherwise.
  void order(const std::string& bh, Fields fields = {}, const std::string& table = "svcb20c") {
    fields.emplace("cwtsbh", "'" + bh + "'");
    fields.emplace("id", "1");
    fields.emplace("ckhdm", "'K001'");
    fields.emplace("cwxzt", "'1'");
    fields.emplace("dsxrq", "'2026-12-07 09:00:00'");
    fields.emplace("djsrq", "'2026-12-08 10:00:00'");
    insert(table, std::move(fields));
  }

  // A repair item of work order `bh`.
  void item(const std::string& bh, const std::string& code, const std::string& nature, const std::string& fee,
            const std::string& discount = "0", Fields more = {}) {
    more.emplace("cwtsbh", "'" + bh + "'");
    more.emplace("cwxxmdm", "'" + code + "'");
    more.emplace("cxmmc", "'项目" + code + "'");
    more.emplace("cxz", "'" + nature + "'");
    more.emplace("ngsf", fee);
    more.emplace("ngsyhl", discount);
    more.emplace("ngs", "1.5");
    insert("svcb20d", std::move(more));
  }

  // A line of stock document `doc` issued against work order `bh` (a
  // negative quantity returns), amount = quantity × price.
  void issue(const std::string& bh, const std::string& doc, const std::string& part, double qty, double price,
             const std::string& nature = "0", double discount = 0) {
    if (docs_.insert(doc).second)
      insert("spab02c", {{"cdjbh", "'" + doc + "'"}, {"cdydbh", "'" + bh + "'"}, {"clb", qty < 0 ? "'2'" : "'1'"}});
    insert("spab02d", {{"cdjbh", "'" + doc + "'"},
                       {"cbjdm", "'" + part + "'"},
                       {"nrcdj", std::to_string(price)},
                       {"nrcsl", std::to_string(qty)},
                       {"nrcje", std::to_string(qty * price)},
                       {"ccklb", "'" + nature + "'"},
                       {"nclyhl", std::to_string(discount)}});
  }

  void extra(const std::string& bh, const std::string& part, const std::string& name, double price, double qty) {
    insert("svcb25", {{"cwtsbh", "'" + bh + "'"},
                      {"cbjdm", "'" + part + "'"},
                      {"cbjbm", "'" + name + "'"},
                      {"nckdj", std::to_string(price)},
                      {"ncksl", std::to_string(qty)}});
  }

  void receipt(const std::string& document, const std::string& amount, const std::string& cls = "3") {
    insert("sysb13", {{"cbs", "'" + cls + "'"}, {"cdydjh", "'" + document + "'"}, {"nbcjsje", amount}});
  }

  // A data window of `name` retrieved with `args`; the test fails when the
  // retrieval fails.
  std::unique_ptr<dw::DataWindow> retrieve(const std::string& name, const std::vector<Value>& args = {}) {
    auto w = std::make_unique<dw::DataWindow>();
    EXPECT_EQ(w->dataobject(name), 1) << w->last_error();
    w->settransobject(shop_.session->sqlca);
    EXPECT_GE(w->retrieve(args), 0) << name << ": " << w->last_error();
    return w;
  }

  // The object `name` of a presentation's definition; fails the test when absent.
  static const dw::ObjectDef& object(const dw::Presentation& p, const std::string& name) {
    const dw::ObjectDef* o = p.definition().find_object(name);
    if (!o) {
      ADD_FAILURE() << p.definition().name << " has no object " << name;
      static const dw::ObjectDef none;
      return none;
    }
    return *o;
  }
  static bool shown(const dw::Presentation& p, const std::string& name, long row = 1) {
    return p.visible(object(p, name), row);
  }
  static std::string text(const dw::Presentation& p, const std::string& name, long row = 1) {
    return p.display_text(object(p, name), row);
  }
  // The nested report `report` of row 1 (null when it could not be retrieved).
  static const dw::Presentation* nested(const dw::Presentation& p, const std::string& report) {
    return p.nested(object(p, report), 1);
  }
  // The displayed values of `column` over every row, in order.
  static std::vector<std::string> column_texts(const dw::Presentation& p, const std::string& column) {
    std::vector<std::string> out;
    for (long r = 1; r <= p.row_count(); ++r) out.push_back(text(p, column, r));
    return out;
  }

  TestShop shop_;
  std::set<std::string> docs_;
};

}  // namespace kq::testing
