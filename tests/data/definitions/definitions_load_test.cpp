// Every definition file of the module loads through the loader (keys, types,
// expressions against its own names and the host functions, nested reports),
// and declares the update targets and list footers the windows rely on.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "definitions_support.h"

namespace kq::dw {
namespace {

using kq::testing::module_definitions;

class DefinitionsLoad : public ::testing::Test {
 protected:
  void SetUp() override { kq::testing::register_host_functions(); }

  const Definition& def(const std::string& name) {
    auto d = definition(name);
    if (!d) {
      ADD_FAILURE() << d.error();
      static Definition empty;
      return empty;
    }
    loaded_.push_back(*d);
    return **d;
  }

  std::vector<DefinitionPtr> loaded_;
};

TEST_F(DefinitionsLoad, EveryModuleDefinitionLoads) {
  for (const std::string& name : module_definitions()) {
    SCOPED_TRACE(name);
    auto d = definition(name);
    ASSERT_TRUE(d) << d.error();
    EXPECT_EQ((*d)->name, name);
  }
}

TEST_F(DefinitionsLoad, OnlyTheReworkDefinitionsUpdate) {
  const std::map<std::string, std::string> updating = {
      {"d_svc304_01", "svcb50"},
      {"d_svc304_01_gsgl", "svcb50"},
      {"d_svc304_01_01", "svcb50"},
      {"d_svc304_01_01_gsgl", "svcb50"},
      {"d_svc304_02", "v_svcb50_svcb50_h"},
      {"d_svc304_02_gsgl", "v_svcb50_svcb50_h"},
  };
  for (const std::string& name : module_definitions()) {
    auto it = updating.find(name);
    EXPECT_EQ(def(name).update_table, it == updating.end() ? "" : it->second) << name;
  }
}

TEST_F(DefinitionsLoad, ReworkUpdatesWriteOwnColumnsKeyedByWorkOrderItemAndCompany) {
  for (const char* name : {"d_svc304_01", "d_svc304_01_gsgl", "d_svc304_02_gsgl", "d_svc304_01_01_gsgl"}) {
    SCOPED_TRACE(name);
    const Definition& d = def(name);
    std::set<std::string> keys;
    for (const ColumnDef& c : d.columns) {
      if (c.key) keys.insert(c.db_name);
      // The names joined from master tables are display only.
      if (c.name == "cgrmc" || c.name == "cbmmc" || c.name == "ccxmc" || c.name == "cwxgwmc" || c.name == "cgskzqmc")
        EXPECT_TRUE(c.db_name.empty()) << c.name;
      else
        EXPECT_EQ(c.db_name, c.name);
    }
    EXPECT_EQ(keys, (std::set<std::string>{"cwtsbh", "cwxxmdm", "cgsh"}));
  }
}

// The counter stands under the first column, except in the print lists
// where the first column is the narrow mark "bs".
TEST_F(DefinitionsLoad, ListsCarryTheRecordCounter) {
  int grids = 0;
  for (const std::string& name : module_definitions()) {
    const Definition& d = def(name);
    if (d.style != Definition::Style::Grid) continue;
    ++grids;
    SCOPED_TRACE(name);
    const ObjectDef* counter = d.find_object("compute_1");
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->expression, "'记录数:'+currentRow()+'/'+rowcount()");
    ASSERT_FALSE(d.detail.rows.empty());
    const bool print_list = name.rfind("d_svc309_", 0) == 0;
    EXPECT_EQ(counter->under, print_list ? "cwtsbh" : d.detail.rows.front().objects.front().column);
  }
  EXPECT_EQ(grids, 11);
}

}  // namespace
}  // namespace kq::dw
