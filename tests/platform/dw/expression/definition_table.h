#pragma once
// A TestTable bound to one of the module's data window definitions as the data
// window binds it: the definition's columns, computed fields (in order) and
// retrieval arguments. Rows are given by column name; a column not given is
// 0, "" or 2024/03/05 10:00:00 by its type. The expressions under test are
// read from the definition's objects.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/dw/definition/definition_set.h"
#include "test_table.h"

namespace kq::dw::expr::testing {

class DefinitionTable {
 public:
  // `arguments`: the retrieval arguments' values, in declared order.
  DefinitionTable(const std::string& name, const FunctionRegistry* functions, std::vector<Value> arguments)
      : table_(functions) {
    auto d = dw::definition(name);
    EXPECT_TRUE(d.ok()) << name << ": " << (d.ok() ? "" : d.error());
    def_ = d.ok() ? *d : std::make_shared<const Definition>();
    for (const ColumnDef& c : def_->columns) table_.column(c.name, c.type);
    EXPECT_EQ(arguments.size(), def_->arguments.size()) << name;
    for (size_t i = 0; i < arguments.size() && i < def_->arguments.size(); ++i)
      table_.argument(def_->arguments[i].name, arguments[i]);
    for (const ObjectDef* o : def_->computes()) table_.computed(o->name, o->expression);
    table_.finish();
  }

  RowId row(const std::map<std::string, Value>& values) {
    std::vector<Value> row;
    for (const ColumnDef& c : def_->columns) {
      auto given = values.find(c.name);
      if (given != values.end()) row.push_back(given->second);
      else if (c.type == Type::DateTime) row.push_back(Value(*DateTime::parse("2024/03/05 10:00:00")));
      else if (c.type == Type::String) row.push_back(Value(""));
      else if (c.type == Type::Long) row.push_back(Value(0));
      else row.push_back(Value(Decimal(0)));
    }
    for (const auto& [column, value] : values)
      EXPECT_GE(def_->column_index(column), 0) << def_->name << " has no column " << column;
    return table_.row(std::move(row));
  }

  // The expression / the visibility expression of the object `name`.
  std::string expression(const std::string& name) const { return object(name).expression; }
  std::string visible(const std::string& name) const { return object(name).visible; }

  const TestTable& table() const { return table_; }

 private:
  const ObjectDef& object(const std::string& name) const {
    static const ObjectDef none;
    const ObjectDef* o = def_->find_object(name);
    EXPECT_NE(o, nullptr) << def_->name << " has no object " << name;
    return o ? *o : none;
  }

  DefinitionPtr def_;
  TestTable table_;
};

}  // namespace kq::dw::expr::testing
