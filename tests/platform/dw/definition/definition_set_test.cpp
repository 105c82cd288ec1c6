#include "platform/dw/definition/definition_set.h"

#include <gtest/gtest.h>

#include <thread>

namespace kq::dw {
namespace {

std::string report(const std::string& name, const std::string& nested, int nested_args) {
  std::string args;
  for (int i = 0; i < nested_args; ++i) args += std::string(i ? ", " : "") + "bh";
  std::string text = "name: " + name +
                     "\nstyle: report\narguments: [{name: bh, type: string}]\nquery: \"select cwtsbh from svcb20c where cwtsbh = :bh\"\n"
                     "columns: [{name: cwtsbh, type: char(13)}]\ndetail:\n  - [{column: cwtsbh}]\n";
  if (!nested.empty()) text += "  - [{report: dw_1, dataobject: " + nested + ", arguments: [" + args + "]}]\n";
  return text;
}

TEST(DefinitionSet, LoadsOnceAndFindsNestedReportsInTheSameSet) {
  DefinitionSet set;
  set.add("data/d_slip.yaml", report("d_slip", "d_items", 1));
  set.add("data/d_items.yaml", report("d_items", "", 0));
  auto a = set.get("D_SLIP");
  ASSERT_TRUE(a) << a.error();
  auto b = set.get("d_slip");
  ASSERT_TRUE(b);
  EXPECT_EQ(a->get(), b->get());
  EXPECT_EQ(set.names(), (std::vector<std::string>{"d_items", "d_slip"}));
  auto missing = set.get("d_none");
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error(), "dataobject 'd_none' not found");
}

TEST(DefinitionSet, AnotherSetAnswersWhatThisOneLacks) {
  DefinitionSet base;
  base.add("data/d_items.yaml", report("d_items", "", 0));
  DefinitionSet tests(&base);
  tests.add("data/d_slip.yaml", report("d_slip", "d_items", 1));
  EXPECT_TRUE(tests.get("d_slip"));
  EXPECT_TRUE(tests.get("d_items"));
  EXPECT_EQ(tests.names(), std::vector<std::string>{"d_slip"});
}

TEST(DefinitionSet, NestedReportsThatLeadBackAreRefused) {
  DefinitionSet set;
  set.add("data/d_a.yaml", report("d_a", "d_b", 1));
  set.add("data/d_b.yaml", report("d_b", "d_a", 1));
  auto a = set.get("d_a");
  ASSERT_FALSE(a);
  EXPECT_NE(a.error().find("nested reports lead back to 'd_a'"), std::string::npos) << a.error();
}

TEST(DefinitionSet, AFileThatFailedIsTriedAgain) {
  expr::FunctionRegistry functions;
  DefinitionSet set(nullptr, &functions);
  set.add("data/d_f.yaml",
          "name: d_f\nstyle: form\nquery: select 1\ncolumns: [{name: a, type: long}]\n"
          "detail:\n  - [{compute: c, expression: \"f_late(a)\"}]\n");
  auto first = set.get("d_f");
  ASSERT_FALSE(first);
  EXPECT_NE(first.error().find("data/d_f.yaml:6: computed field 'c': unknown function 'f_late'"), std::string::npos)
      << first.error();
  functions.add("f_late", 1, Type::Long, [](std::span<const Value> a) { return a[0]; });
  EXPECT_TRUE(set.get("d_f"));
}

TEST(DefinitionSet, SessionsShareOneLoadedDefinition) {
  DefinitionSet set;
  set.add("data/d_items.yaml", report("d_items", "", 0));
  std::vector<const Definition*> seen(8, nullptr);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < seen.size(); ++i)
    threads.emplace_back([&, i] {
      auto d = set.get("d_items");
      seen[i] = d ? d->get() : nullptr;
    });
  for (auto& t : threads) t.join();
  ASSERT_NE(seen[0], nullptr);
  for (const Definition* d : seen) EXPECT_EQ(d, seen[0]);
}

}  // namespace
}  // namespace kq::dw
