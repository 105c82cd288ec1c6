// The bulk filter and sort over the row store against the row-by-row
// evaluator and a comparison sort of the items: the same truths, rows and
// order on data with nulls, ties, long and short texts, decimals kept aside
// and extreme values, read from packed chunks.
#include "platform/dw/datawindow/bulk_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <numeric>
#include <random>

#include "platform/dw/datawindow/bound_definition.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/datawindow/evaluator.h"
#include "platform/dw/definition/global_functions.h"
#include "platform/dw/definition/loader.h"
#include "platform/dw/expression/sort_order.h"
#include "platform/value/collation.h"
#include "test_database.h"

namespace kq::dw {
namespace {

const char* const kMixed = R"yaml(name: d_mixed
style: grid
query: "select s, code, n, amt, d from t"
columns:
  - {name: s, type: char(20)}
  - {name: code, type: char(1)}
  - {name: n, type: number}
  - {name: amt, type: decimal(2)}
  - {name: d, type: datetime}
grid:
  - {column: s, heading: s}
)yaml";

Value dec(const char* t) { return Value(*Decimal::parse(t)); }

class BulkRows : public ::testing::Test {
 protected:
  void SetUp() override {
    auto def = load_definition(kMixed, "data/d_mixed.yaml");
    ASSERT_TRUE(def) << def.error();
    auto b = BoundDefinition::bind(*def, std::make_shared<FunctionMemo>(&global_functions()));
    ASSERT_TRUE(b) << b.error();
    bound = *b;
    std::vector<RowStore::ColumnType> kinds;
    for (const ColumnDef& c : bound->definition().columns) kinds.push_back({c.type, c.scale});
    rows.store.reset(kinds);
    eval.bind(bound.get());
    const char* texts[] = {"", "a", "abc", "abcdefg", "abcdefgh", "abcdefgh1", "abcdefgh2", "b", "longer text x", "Z", "张三", "阿明"};
    const char* codes[] = {"0", "1", "2", "", "12"};
    const char* amounts[] = {"0", "2.5", "-1.25", "3.125", "100", "2.49", "-0.001"};  // 3.125 and -0.001: kept aside
    std::mt19937 rng(7);
    // Rows over several chunks, packed as a retrieval leaves them (their
    // few distinct values coded), so that the bulk loops read packed cells.
    for (int i = 0; i < 2600; ++i) {
      RowIndex r = rows.add_row(ItemStatus::NotModified);
      rows.buffer(Buffer::Primary).push_back(r);
      auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
      auto maybe = [&](Value v, Type t) { return pick(6) == 0 ? Value::null(t) : std::move(v); };
      rows.store.set(r, 0, maybe(Value(texts[pick(10)]), Type::String));
      rows.store.set(r, 1, maybe(Value(codes[pick(5)]), Type::String));
      const long long longs[] = {0, 1, -3, 2, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()};
      rows.store.set(r, 2, maybe(Value(longs[pick(6)]), Type::Long));
      rows.store.set(r, 3, maybe(dec(amounts[pick(7)]), Type::Decimal));
      rows.store.set(r, 4, maybe(Value(DateTime::from_seconds(1'700'000'000 + 3600 * pick(5))), Type::DateTime));
    }
    rows.store.pack();
  }

  std::shared_ptr<const BoundDefinition> bound;
  RowBuffers rows;
  std::vector<Value> args;
  std::optional<RowIndex> current;
  Evaluator eval{rows, args, current};
};

TEST_F(BulkRows, ConditionsOfColumnsAndConstantsGiveTheEvaluatorsTruthForEveryRow) {
  const char* conditions[] = {
      "code = '1'", "code <> '1'", "'1' = code", "code = ''", "code > '1'", "code <= '12'",
      "s = 'abcdefgh1'", "s <> 'longer text x'", "s < 'abcdefgh'", "s >= 'abcdefg'", "s > ''", "s = 'abcdefg'",
      "n = 0", "n <> 0", "n > -3", "n <= 1.5", "n < 2", "0 < n", "n >= 9223372036854775807",
      "amt = 2.5", "amt > 2.49", "amt <= 3.125", "amt < 0", "amt <> 3.125", "amt = 2.505", "amt >= -0.001",
      "not (code = '1')", "code = '1' or (code = '2' and n = 0)",
      " (code = '1' or (code = '2' and n = 0) ) and (1 = 1) ",
      "(code = '1' and n = 0) or not (s > 'a')", "not (amt > 0 or s = 'b') and code <> '0'",
      "1 = 1", "1 = 0", "code = '1' and 1 = 0",
  };
  // All rows, then a subset in another order (as after a sort).
  std::vector<RowIndex> all = rows.buffer(Buffer::Primary);
  std::vector<RowIndex> some;
  for (RowIndex r : all)
    if (r % 3 != 1) some.push_back(r);
  std::reverse(some.begin(), some.end());
  // Enough rows to span several blocks.
  std::vector<RowIndex> many;
  for (int k = 0; k < 8; ++k) many.insert(many.end(), all.begin(), all.end());
  int nulls = 0;
  for (const char* text : conditions) {
    SCOPED_TRACE(text);
    auto c = bound->compile(text);
    ASSERT_TRUE(c) << c.error();
    auto bulk = BulkCondition::plan(c->expression.root(), rows.store);
    ASSERT_TRUE(bulk);
    for (const auto* list : {&all, &some, &many}) {
      std::vector<expr::Tri> got;
      bulk->test(rows.store, *list, got);
      ASSERT_EQ(got.size(), list->size());
      for (std::size_t i = 0; i < list->size(); ++i) {
        expr::Tri want = eval.test(*c, (*list)[i]);
        nulls += want == expr::Tri::Null;
        ASSERT_EQ(static_cast<int>(got[i]), static_cast<int>(want)) << "row " << (*list)[i];
      }
    }
  }
  EXPECT_GT(nulls, 0) << "the data should reach null items";
}

TEST_F(BulkRows, OtherConditionsAreLeftToTheEvaluator) {
  for (const char* text : {"len(s) > 2", "code = s", "code = '1' and len(s) > 2", "n + 1 = 2", "if(n = 0, 1, 0) = 1"}) {
    SCOPED_TRACE(text);
    auto c = bound->compile(text);
    ASSERT_TRUE(c) << c.error();
    EXPECT_FALSE(BulkCondition::plan(c->expression.root(), rows.store));
  }
}

// Text in collation order, nulls first; false when either is no text.
bool collated(const Value& a, const Value& b, int& c) {
  if (!(a.is_null() || a.is_string()) || !(b.is_null() || b.is_string())) return false;
  if (a.is_null() || b.is_null()) c = a.is_null() == b.is_null() ? 0 : (a.is_null() ? -1 : 1);
  else c = text::collate(a.str(), b.str());
  return true;
}

// The order a comparison sort of the items gives: each key as the store
// compares a column, or as expr::sort_order compares values; text (a text
// column, or values that are all text) in collation order.
std::vector<uint32_t> reference_order(const RowStore& store, const std::vector<RowIndex>& rows,
                                      const std::vector<BulkSortKey>& keys) {
  std::vector<uint32_t> order(rows.size());
  std::iota(order.begin(), order.end(), 0u);
  std::vector<bool> all_text;
  for (const BulkSortKey& k : keys) {
    bool text = k.column >= 0 ? store.type(static_cast<std::size_t>(k.column)) == Type::String : true;
    if (k.column < 0)
      for (const Value& v : *k.values) text = text && (v.is_null() || v.is_string());
    all_text.push_back(text);
  }
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const BulkSortKey& k = keys[i];
      int c = 0;
      if (all_text[i] && k.column >= 0) collated(store.get(rows[a], static_cast<std::size_t>(k.column)),
                                                 store.get(rows[b], static_cast<std::size_t>(k.column)), c);
      else if (all_text[i]) collated((*k.values)[a], (*k.values)[b], c);
      else c = k.column >= 0 ? store.compare(static_cast<std::size_t>(k.column), rows[a], rows[b])
                             : expr::sort_order((*k.values)[a], (*k.values)[b]);
      if (c != 0) return k.descending ? c > 0 : c < 0;
    }
    return false;
  });
  return order;
}

TEST_F(BulkRows, SortsGiveTheOrderOfAComparisonSortKeepingTiesInPlace) {
  std::vector<RowIndex> list = rows.buffer(Buffer::Primary);
  std::reverse(list.begin(), list.end());
  // Values of every kind with nulls, as an expression key gives them.
  std::vector<Value> values;
  for (std::size_t i = 0; i < list.size(); ++i) {
    switch (i % 6) {
      case 0: values.push_back(Value()); break;
      case 1: values.push_back(Value(static_cast<long long>(i % 4))); break;
      case 2: values.push_back(dec(i % 2 ? "1.5" : "2")); break;
      case 3: values.push_back(Value(i % 4 ? "x" : "abc")); break;
      case 4: values.push_back(Value(DateTime::from_seconds(static_cast<int64_t>(i % 3)))); break;
      default: values.push_back(Value(i % 4 == 1)); break;
    }
  }
  auto col = [](int c, bool d) { return BulkSortKey{c, nullptr, d}; };
  const BulkSortKey by_values{-1, &values, false}, by_values_d{-1, &values, true};
  const std::vector<std::vector<BulkSortKey>> sorts = {
      {col(4, true), col(0, false)}, {col(0, false)}, {col(0, true)}, {col(1, false), col(2, true)},
      {col(2, false)}, {col(2, true)}, {col(3, false)}, {col(3, true), col(0, true)}, {col(4, false)},
      {by_values}, {by_values_d, col(0, false)}, {col(1, true), by_values},
  };
  for (std::size_t i = 0; i < sorts.size(); ++i) {
    SCOPED_TRACE("sort " + std::to_string(i));
    std::vector<uint32_t> want = reference_order(rows.store, list, sorts[i]);
    std::vector<uint32_t> unchanged(list.size());
    std::iota(unchanged.begin(), unchanged.end(), 0u);
    ASSERT_NE(want, unchanged) << "the test data should not be in order already";
    EXPECT_EQ(sort_positions(rows.store, list, sorts[i]), want);
  }
}

TEST(DataWindowBulk, FilterAndSortKeepNullsTiesAndRetrievedOrder) {
  testing::InlineDefinitions defs;
  defs.add("d_orders", testing::kOrdersGrid);
  DataWindow dw{nullptr, defs.lookup()};
  ASSERT_EQ(dw.dataobject("d_orders"), 1) << dw.last_error();
  auto dt = [](const char* t) { return Value(*DateTime::parse(t)); };
  const Value no_date = Value::null(Type::DateTime), no_text = Value::null(Type::String);
  const Value no_number = Value::null(Type::Long), no_amount = Value::null(Type::Decimal);
  testing::add_rows(dw, {
                            {"W05", "1", 0, dec("1"), dt("2026/12/03 09:00"), ""},
                            {"W02", "2", 0, dec("1"), no_date, ""},
                            {"W01", "1", 1, dec("1"), dt("2026/12/03 09:00"), ""},
                            {"W07", "2", 1, dec("1"), dt("2026/12/04 09:00"), ""},
                            {"W04", no_text, 0, dec("1"), dt("2026/12/01 09:00"), ""},
                            {"W03", "2", no_number, no_amount, dt("2026/12/04 09:00"), ""},
                            {no_text, "1", 0, dec("1"), dt("2026/12/03 09:00"), ""},
                            {"W06", "0", 0, dec("1"), no_date, ""},
                        });
  auto order = [&] {
    std::string s;
    for (long r = 1; r <= dw.rowcount(); ++r) s += (s.empty() ? "" : " ") + dw.getitemstring(r, "cwtsbh").value_or("-");
    return s;
  };
  ASSERT_EQ(dw.setfilter(" (cwxzt = '1' or (cwxzt = '2' and lqqbs = 0) ) and (1 = 1) "), 1);
  ASSERT_EQ(dw.filter(), 1);
  EXPECT_EQ(order(), "W05 W02 W01 -");
  EXPECT_EQ(dw.filteredcount(), 4);
  ASSERT_EQ(dw.setsort("djsrq D ,cwtsbh A"), 1);
  ASSERT_EQ(dw.sort(), 1);
  // Dates latest first, nulls last; the same date by number, null first.
  EXPECT_EQ(order(), "- W01 W05 W02");
  ASSERT_EQ(dw.setfilter("not (cwxzt = '1')"), 1);
  ASSERT_EQ(dw.filter(), 1);
  EXPECT_EQ(order(), "W03 W07 W02 W06");
  ASSERT_EQ(dw.setfilter(""), 1);
  ASSERT_EQ(dw.filter(), 1);
  EXPECT_EQ(order(), "W03 W07 - W01 W05 W04 W02 W06");
}

}  // namespace
}  // namespace kq::dw
