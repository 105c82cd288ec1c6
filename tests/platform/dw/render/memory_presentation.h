#pragma once
// An in-memory Presentation for renderer tests: hand-made definition, rows of
// stored values (as text), and per object/row visibility, texts and nested
// data windows set by the test. It records which rows it was asked about.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/dw/render/presentation.h"

namespace kq::dw::testing {

class MemoryPresentation : public Presentation {
 public:
  static constexpr long kEveryRow = -1;

  explicit MemoryPresentation(Definition def) : def_(std::move(def)) {}

  // Appends a row: column name -> stored value. Returns its number.
  long add_row(std::map<std::string, std::string> values) {
    rows_.push_back(std::move(values));
    return static_cast<long>(rows_.size());
  }
  void set_current(long row) { current_ = row; }
  void select(long row) { selected_.insert(row); }
  // Hides an object for one row (or every row).
  void hide(const std::string& object, long row = kEveryRow) { hidden_.insert({object, row}); }
  // Protects a column for one row (or every row), as a protect expression would.
  void protect(const std::string& object, long row = kEveryRow) { protected_.insert({object, row}); }
  // The text of a Text or Compute object for a row (or every row).
  void set_text(const std::string& object, std::string text, long row = kEveryRow) {
    texts_[{object, row}] = std::move(text);
  }
  // The nested data window of a Report object for a row (or every row).
  void set_nested(const std::string& object, std::shared_ptr<const Presentation> nested,
                  long row = kEveryRow) {
    nested_[{object, row}] = std::move(nested);
  }
  Definition& mutable_definition() { return def_; }
  // Data rows the renderer asked anything about.
  const std::set<long>& rows_asked() const { return asked_; }

  const Definition& definition() const override { return def_; }
  long row_count() const override { return static_cast<long>(rows_.size()); }
  long current_row() const override { return current_; }
  bool is_selected(long row) const override { return selected_.count(row) > 0; }

  bool visible(const ObjectDef& object, long row) const override {
    note(row);
    if (object.visible == "0") return false;
    return !hidden_.count({object.name, row}) && !hidden_.count({object.name, kEveryRow});
  }

  std::string display_text(const ObjectDef& object, long row) const override {
    note(row);
    switch (object.kind) {
      case ObjectDef::Kind::Column: {
        std::string value = stored(object.column, row);
        for (const CodeEntry& e : object.codetable) {
          if (e.data == value) return e.display;
        }
        return value;
      }
      case ObjectDef::Kind::Text:
        if (const std::string* t = text_for(object.name, row)) return *t;
        return object.text;
      case ObjectDef::Kind::Compute:
        if (const std::string* t = text_for(object.name, row)) return *t;
        return "";
      default:
        return "";
    }
  }

  bool checked(const ObjectDef& object, long row) const override {
    note(row);
    return stored(object.column, row) == object.checkbox_on;
  }

  bool is_protected(const ObjectDef& object, long row) const override {
    note(row);
    return object.protect || protected_.count({object.name, row}) || protected_.count({object.name, kEveryRow});
  }

  const Presentation* nested(const ObjectDef& object, long row) const override {
    note(row);
    auto it = nested_.find({object.name, row});
    if (it == nested_.end()) it = nested_.find({object.name, kEveryRow});
    return it == nested_.end() ? nullptr : it->second.get();
  }

 private:
  void note(long row) const {
    if (row > 0) asked_.insert(row);
  }
  std::string stored(const std::string& column, long row) const {
    if (row < 1 || row > row_count()) return "";
    const auto& values = rows_[static_cast<size_t>(row - 1)];
    auto it = values.find(column);
    return it == values.end() ? "" : it->second;
  }
  const std::string* text_for(const std::string& name, long row) const {
    auto it = texts_.find({name, row});
    if (it == texts_.end()) it = texts_.find({name, kEveryRow});
    return it == texts_.end() ? nullptr : &it->second;
  }

  Definition def_;
  std::vector<std::map<std::string, std::string>> rows_;
  long current_ = 0;
  std::set<long> selected_;
  std::set<std::pair<std::string, long>> hidden_;
  std::set<std::pair<std::string, long>> protected_;
  std::map<std::pair<std::string, long>, std::string> texts_;
  std::map<std::pair<std::string, long>, std::shared_ptr<const Presentation>> nested_;
  mutable std::set<long> asked_;
};

}  // namespace kq::dw::testing
