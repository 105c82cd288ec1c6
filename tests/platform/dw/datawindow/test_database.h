#pragma once
// Test support: the module's schema in a fresh pair of database files (shop
// and club) in a temporary folder, with a transaction connected to them, and
// a set of definitions written inline by the test.
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/db/transaction.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/definition/definition_set.h"
#include "platform/dw/expression/function_registry.h"

namespace kq::dw::testing {

class TestDatabase {
 public:
  TestDatabase();
  ~TestDatabase();
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  // Connected to the files, company "01".
  db::Transaction sqlca;

  // Runs one statement and commits it; the test fails when either fails.
  void run(std::string_view sql, std::initializer_list<db::HostVar> vars = {});
  // A second, independent connection to the same files (another workstation).
  void connect_other(db::Transaction& other) const;
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
};

// Definitions written inline, validated against `functions`.
class InlineDefinitions {
 public:
  explicit InlineDefinitions(const expr::FunctionRegistry* functions = nullptr) : set_(nullptr, functions) {}
  // Adds the text of data/<name>.yaml.
  void add(std::string_view name, std::string text) { set_.add("data/" + std::string(name) + ".yaml", std::move(text)); }
  DefinitionLookup lookup() const { return set_.lookup(); }
  const DefinitionSet& set() const { return set_; }

 private:
  DefinitionSet set_;
};

// Inserts a rework record (svcb50) of company "01".
void add_rework(TestDatabase& db, const std::string& wtsbh, const std::string& xmdm, const std::string& xmmc,
                const std::string& ngs, const std::string& ngsf, const std::string& nkk,
                const std::string& dfxrq = "2026/12/01 08:30:00");

}  // namespace kq::dw::testing

namespace kq::dw::testing {

// A grid over svcb50 (rework records) of the work orders matching `bh`
// (a LIKE pattern), updatable, keyed by cwtsbh, cwxxmdm and cgsh; name "d_rework".
extern const char* const kReworkGrid;

}  // namespace kq::dw::testing

namespace kq::dw::testing {

// Appends rows (values in column order) as if retrieved: status NotModified.
void add_rows(DataWindow& dw, const std::vector<std::vector<Value>>& rows);

// A list of work orders that is never retrieved (rows come from add_rows):
// cwtsbh char(13), cwxzt char(1), lqqbs number, nhjje decimal(2),
// djsrq datetime, bs char(1); name "d_orders".
extern const char* const kOrdersGrid;

// The texts shown by every object of `p` for every row (row 0 when there is
// none), one line each: "object@row: [hidden] text", nested reports inline.
std::string rendering(const Presentation& p);

}  // namespace kq::dw::testing

namespace kq::dw::testing {

// A registry with f_para(group, key): "0" for key "2", else key; counts its calls.
struct CountingFunctions {
  CountingFunctions();
  expr::FunctionRegistry registry;
  int calls = 0;
};

// A slip over svcb50: one row per work order matching `bh` (a LIKE pattern)
// with its items nested ("d_slip", nesting "d_items"); both use f_para.
void add_slip_definitions(InlineDefinitions& defs);

}  // namespace kq::dw::testing
