// Binding: names and functions resolved at compile time, arity and type
// checks, constant folding, and cycles among computed fields.
#include <gtest/gtest.h>

#include "platform/dw/expression/computed_fields.h"
#include "platform/dw/expression/expression.h"
#include "platform/dw/expression/function_registry.h"
#include "platform/dw/expression/name_table.h"
#include "test_table.h"

namespace kq::dw::expr {
namespace {

using testing::show;

class ExpressionCompile : public ::testing::Test {
 protected:
  ExpressionCompile() : names_(&registry_) {
    registry_.add("f_retu_para", 2, Type::String, [](std::span<const Value>) { return Value("1"); });
    registry_.add("f_opt", 1, 2, Type::Long, [](std::span<const Value> a) { return Value(static_cast<long>(a.size())); });
    names_.add_column("cwtsbh", Type::String);
    names_.add_column("nhjje", Type::Decimal);
    names_.add_column("djsrq", Type::DateTime);
    names_.add_column("lqqbs", Type::Long);
    names_.add_column("loose");  // type unknown
    names_.add_computed("compute_1", Type::String);
    names_.add_argument("bh", Type::String);
  }

  std::string error_of(const char* text) {
    auto e = compile(text, names_);
    return e ? "compiled" : e.error();
  }

  FunctionRegistry registry_;
  NameTable names_;
};

TEST_F(ExpressionCompile, UnknownNamesAndFunctionsAreNamed) {
  EXPECT_EQ(error_of("cwtsbh = nosuch"), "unknown name 'nosuch' at position 10");
  EXPECT_EQ(error_of("f_nosuch(1)"), "unknown function 'f_nosuch' at position 1");
  EXPECT_EQ(error_of("if(a, 1, 2)"), "unknown name 'a' at position 4");
}

TEST_F(ExpressionCompile, NamesAndFunctionsIgnoreCase) {
  EXPECT_EQ(error_of("CWTSBH = BH and F_RETU_PARA('SVC','X') = Compute_1 and CurrentRow() > 0"), "compiled");
  EXPECT_EQ(error_of("LEFT(cwtsbh, 2) = 'A-' and IsNull(nhjje)"), "compiled");
}

TEST_F(ExpressionCompile, ArityIsChecked) {
  EXPECT_EQ(error_of("left(cwtsbh)"), "function 'left' takes 2 arguments, given 1 at position 1");
  EXPECT_EQ(error_of("mid(cwtsbh)"), "function 'mid' takes 2 to 3 arguments, given 1 at position 1");
  EXPECT_EQ(error_of("f_retu_para('SYS')"), "function 'f_retu_para' takes 2 arguments, given 1 at position 1");
  EXPECT_EQ(error_of("f_opt()"), "function 'f_opt' takes 1 to 2 arguments, given 0 at position 1");
  EXPECT_EQ(error_of("if(lqqbs = 0, 1)"), "function 'if' takes 3 arguments, given 2 at position 1");
  EXPECT_EQ(error_of("rowcount(1)"), "function 'rowcount' takes 0 arguments, given 1 at position 1");
  EXPECT_EQ(error_of("today(1)"), "function 'today' takes 0 arguments, given 1 at position 1");
}

TEST_F(ExpressionCompile, OperandsOfIncompatibleTypesAreRejected) {
  EXPECT_EQ(error_of("cwtsbh = 1"), "cannot compare string with long at position 8");
  EXPECT_EQ(error_of("djsrq > nhjje"), "cannot compare datetime with decimal at position 7");
  EXPECT_EQ(error_of("lqqbs in (0, '1')"), "cannot compare long with string at position 14");
  EXPECT_EQ(error_of("case(lqqbs when 'x' then 1)"), "cannot compare long with string at position 17");
  EXPECT_EQ(error_of("nhjje - cwtsbh"), "operator '-' cannot take string at position 7");
  EXPECT_EQ(error_of("djsrq + 1"), "operator '+' cannot take datetime at position 7");
  EXPECT_EQ(error_of("-cwtsbh"), "operator '-' cannot take string at position 1");
  EXPECT_EQ(error_of("if(cwtsbh, 1, 2)"), "a condition cannot be string at position 4");
  EXPECT_EQ(error_of("not djsrq"), "a condition cannot be datetime at position 1");
  EXPECT_EQ(error_of("sum(cwtsbh for all)"), "operator 'sum' cannot take string at position 1");
  EXPECT_EQ(error_of("sum(sum(nhjje))"), "aggregate 'sum' inside an aggregate at position 5");
}

TEST_F(ExpressionCompile, UnknownTypesAndNumbersMixFreely) {
  EXPECT_EQ(error_of("loose = 1 and loose = 'a' and nhjje = lqqbs and nhjje > 0.5"), "compiled");
  EXPECT_EQ(error_of("'n=' + nhjje + djsrq"), "compiled");  // '+' joins text with anything
}

TEST_F(ExpressionCompile, ConstantPartsFoldAtCompileTime) {
  auto one = compile("1 = 1", names_);
  ASSERT_TRUE(one.ok());
  ASSERT_NE(one->constant(), nullptr);
  EXPECT_EQ(show(*one->constant()), "boolean:true");

  auto sum = compile("(2 + 3) * 1.5 - len('记录')", names_);
  ASSERT_TRUE(sum.ok());
  ASSERT_NE(sum->constant(), nullptr);
  EXPECT_EQ(show(*sum->constant()), "decimal:5.5");

  // "x and (1 = 1)" is x: what remains is the column comparison alone.
  auto filter = compile("(lqqbs = 0) and (1 = 1)", names_);
  ASSERT_TRUE(filter.ok());
  EXPECT_EQ(filter->constant(), nullptr);
  auto never = compile("lqqbs = 0 and 1 = 2", names_);
  ASSERT_TRUE(never.ok());
  ASSERT_NE(never->constant(), nullptr);
  EXPECT_EQ(show(*never->constant()), "boolean:false");

  auto chosen = compile("if(1 > 2, nhjje, cwtsbh)", names_);
  ASSERT_TRUE(chosen.ok());
  ASSERT_NE(chosen->column_slot(), nullptr);
  EXPECT_EQ(*chosen->column_slot(), 0u);
}

TEST_F(ExpressionCompile, ContextDependentCallsAreNotFolded) {
  for (const char* text : {"today()", "currentrow()", "rowcount()", "getrow()", "f_retu_para('SYS','CGSMC')"}) {
    auto e = compile(text, names_);
    ASSERT_TRUE(e.ok()) << text;
    EXPECT_EQ(e->constant(), nullptr) << text;
  }
}

TEST_F(ExpressionCompile, ReportsTypeComputedFieldsAndAggregates) {
  auto e = compile("compute_1 + cwtsbh", names_);
  ASSERT_TRUE(e.ok());
  EXPECT_EQ(e->type(), Type::String);
  EXPECT_EQ(e->computed_fields(), std::vector<size_t>{0});
  EXPECT_FALSE(e->has_aggregate());
  auto s = compile("sum(nhjje for all) / 2", names_);
  ASSERT_TRUE(s.ok());
  EXPECT_TRUE(s->has_aggregate());
  EXPECT_EQ(s->type(), Type::Decimal);
  EXPECT_EQ(compile("lqqbs + 1", names_)->type(), Type::Long);
  EXPECT_EQ(compile("lqqbs / 1", names_)->type(), Type::Decimal);
}

TEST(ExpressionComputedFields, CyclesAreRejectedWithTheirPath) {
  NameTable names;
  names.add_column("n", Type::Long);
  names.add_computed("a");
  names.add_computed("b");
  names.add_computed("c");
  std::vector<ComputedFieldText> fields = {{"a", "b + 1"}, {"b", "c * 2"}, {"c", "if(n > 0, a, 0)"}};
  auto r = compile_computed_fields(fields, names);
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error(), "computed fields depend on themselves: a -> b -> c -> a");

  std::vector<ComputedFieldText> self = {{"a", "a + 1"}, {"b", "1"}, {"c", "2"}};
  auto s = compile_computed_fields(self, names);
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.error(), "computed fields depend on themselves: a -> a");
}

TEST(ExpressionComputedFields, ChainsWithoutCyclesCompile) {
  NameTable names;
  names.add_column("n", Type::Long);
  names.add_computed("a");
  names.add_computed("b");
  names.add_computed("c");
  std::vector<ComputedFieldText> fields = {{"a", "b + c"}, {"b", "c * 2"}, {"c", "n"}};
  auto r = compile_computed_fields(fields, names);
  ASSERT_TRUE(r.ok()) << r.error();
  EXPECT_EQ(r->size(), 3u);
  EXPECT_EQ((*r)[0].computed_fields(), (std::vector<size_t>{1, 2}));

  std::vector<ComputedFieldText> broken = {{"a", "1"}, {"b", "nosuch"}, {"c", "2"}};
  auto e = compile_computed_fields(broken, names);
  ASSERT_FALSE(e.ok());
  EXPECT_EQ(e.error(), "b: unknown name 'nosuch' at position 1");
}

}  // namespace
}  // namespace kq::dw::expr
