#pragma once
// Windows for the framework's tests: an ancestor and a descendant that write
// the events they run into a shared log, with an edit mask, a button, a
// check box, two radio buttons and a grid data window.
#include <memory>
#include <string>
#include <vector>

#include "platform/dw/definition/definition.h"
#include "platform/ui/window.h"
#include "platform/ui/window_manager.h"
#include "platform/ui/window_registry.h"

namespace kq::ui::testing {

using Log = std::vector<std::string>;

class LoggingWindow : public Window {
 public:
  LoggingWindow(std::string classname, Log& log)
      : Window(std::move(classname), "测试窗口"),
        em_1(add_control("em_1", ControlKind::EditMask)),
        cb_1(add_control("cb_1", ControlKind::CommandButton, "确定")),
        cbx_1(add_control("cbx_1", ControlKind::CheckBox, "在修")),
        rb_1(add_control("rb_1", ControlKind::RadioButton, "I")),
        rb_2(add_control("rb_2", ControlKind::RadioButton, "O")),
        dw_1(add<DataWindowControl>("dw_1")),
        log_(log) {
    em_1.mask = "yyyy/mm/dd";
    rb_2.checked = true;
    on("", "ue_cus", [this](const Event& e) { return ue_cus(e.number); });
    on("em_1", "ue_key", [this](const Event& e) {
      log_.push_back("em_1.ue_key " + std::to_string(e.key) + " " + em_1.text);
      return 1L;
    });
    on("cb_1", "clicked", [this](const Event&) {
      log_.push_back("cb_1.clicked");
      return 1L;
    });
    on("dw_1", "doubleclicked", [this](const Event& e) {
      log_.push_back("dw_1.doubleclicked " + std::to_string(e.row) + " current " + std::to_string(dw_1->getrow()));
      return 1L;
    });
    on("dw_1", "rowfocuschanged", [this](const Event& e) {
      log_.push_back("dw_1.rowfocuschanged " + std::to_string(e.row));
      return 1L;
    });
  }

  long ue_before_open() override {
    log_.push_back(classname() + ".ue_before_open");
    return before_open_result;
  }
  long open() override {
    log_.push_back(classname() + ".open");
    return 1;
  }
  long close() override {
    log_.push_back(classname() + ".close");
    return 1;
  }
  virtual long ue_cus(long ai_select) {
    log_.push_back("base.ue_cus " + std::to_string(ai_select));
    return 1;
  }

  Control& em_1;
  Control& cb_1;
  Control& cbx_1;
  Control& rb_1;
  Control& rb_2;
  DataWindowControl& dw_1;
  long before_open_result = 1;

 protected:
  Log& log_;
};

// Overrides ue_cus, running the ancestor's first.
class DerivedWindow : public LoggingWindow {
 public:
  DerivedWindow(std::string classname, Log& log) : LoggingWindow(std::move(classname), log) {}
  long ue_cus(long ai_select) override {
    if (LoggingWindow::ue_cus(ai_select) == 0) return 0;
    log_.push_back("derived.ue_cus " + std::to_string(ai_select));
    return ai_select == 2 ? 0 : 1;
  }
};

// A grid "d_test_list" of cwtsbh (protected) and cbz (editable), both text.
inline dw::DefinitionPtr list_definition() {
  auto d = std::make_shared<dw::Definition>();
  d->name = "d_test_list";
  d->style = dw::Definition::Style::Grid;
  dw::RowDef header, detail;
  for (const char* name : {"cwtsbh", "cbz"}) {
    dw::ColumnDef c;
    c.name = name;
    c.type = Type::String;
    c.length = 20;
    d->columns.push_back(c);
    dw::ObjectDef heading;
    heading.kind = dw::ObjectDef::Kind::Text;
    heading.name = std::string(name) + "_t";
    heading.text = name;
    header.objects.push_back(heading);
    dw::ObjectDef column;
    column.kind = dw::ObjectDef::Kind::Column;
    column.name = name;
    column.column = name;
    column.protect = std::string(name) == "cwtsbh";
    detail.objects.push_back(column);
  }
  d->header.rows.push_back(header);
  d->detail.rows.push_back(detail);
  return d;
}

// Fills a data window control with `rows` rows of list_definition(): cwtsbh
// "WO<n>", cbz empty.
inline void fill_list(DataWindowControl& c, long rows) {
  c->dataobject(list_definition());
  for (long r = 1; r <= rows; ++r) {
    long row = c->insertrow(0);
    c->setitem(row, "cwtsbh", "WO" + std::to_string(r));
  }
  c->resetupdate();
  c->setrow(1);
}

}  // namespace kq::ui::testing
