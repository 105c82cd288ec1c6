// The compact row store: every value comes back exactly as stored.
#include "platform/dw/datawindow/row_store.h"

#include <gtest/gtest.h>

namespace kq::dw {
namespace {

TEST(DataWindowRowStore, TextsOfEveryLengthComeBackExactly) {
  RowStore s;
  s.reset({{Type::String, 0}});
  const std::vector<std::string> texts = {"", "1", "1234567", "12345678", "A-0001234567", "换机油", std::string("a\0b", 3),
                                          "\xff\xfe not utf-8", std::string(9000, 'x'), std::string(40000, 'y')};
  for (std::size_t i = 0; i < texts.size(); ++i) s.set(s.append(), 0, Value(texts[i]));
  RowIndex null_row = s.append();
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(s.get(static_cast<RowIndex>(i), 0), Value(texts[i])) << i;
  EXPECT_TRUE(s.is_null(null_row, 0));
  EXPECT_FALSE(s.is_null(0, 0));  // the empty text is not null
  EXPECT_EQ(s.get(null_row, 0), Value::null(Type::String));
  // A changed text replaces the old one.
  s.set(3, 0, Value("short"));
  EXPECT_EQ(s.get(3, 0), Value("short"));
  EXPECT_EQ(s.get(4, 0), Value("A-0001234567"));
}

TEST(DataWindowRowStore, DecimalsThatDoNotFitTheCellStayExact) {
  RowStore s;
  s.reset({{Type::Decimal, 2}, {Type::Decimal, 10}});
  const std::vector<std::string> values = {"0", "-0.01", "9999999999999.99", "1.005", "-123456789012345678.5", "0.0000000001"};
  for (std::size_t i = 0; i < values.size(); ++i) {
    RowIndex r = s.append();
    s.set(r, 0, Value(*Decimal::parse(values[i])));
    s.set(r, 1, Value(*Decimal::parse(values[i])));
  }
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(s.get(static_cast<RowIndex>(i), 0), Value(*Decimal::parse(values[i]))) << values[i];
    EXPECT_EQ(s.get(static_cast<RowIndex>(i), 1), Value(*Decimal::parse(values[i]))) << values[i];
  }
  s.set(3, 0, Value(Decimal(2)));  // a wide value replaced by a narrow one
  EXPECT_EQ(s.get(3, 0), Value(Decimal(2)));
  EXPECT_LT(s.compare(0, 4, 1), 0);
  EXPECT_GT(s.compare(0, 3, 0), 0);
  EXPECT_GT(s.compare(0, 2, 4), 0);
}

TEST(DataWindowRowStore, ComparesForSortingWithNullsFirst) {
  RowStore s;
  s.reset({{Type::String, 0}, {Type::Long, 0}, {Type::DateTime, 0}});
  for (int i = 0; i < 3; ++i) s.append();
  s.set(0, 0, Value("b"));
  s.set(1, 0, Value("ab"));
  s.set(0, 1, Value(-5));
  s.set(1, 1, Value(3));
  s.set(0, 2, Value(*DateTime::parse("2026/01/02")));
  s.set(1, 2, Value(*DateTime::parse("2025/12/31 23:59:59")));
  EXPECT_GT(s.compare(0, 0, 1), 0);
  EXPECT_LT(s.compare(1, 0, 1), 0);
  EXPECT_GT(s.compare(2, 0, 1), 0);
  for (std::size_t c = 0; c < 3; ++c) {
    EXPECT_LT(s.compare(c, 2, 0), 0) << c;
    EXPECT_EQ(s.compare(c, 2, 2), 0) << c;
  }
}

TEST(DataWindowRowStore, RowsKeepTheirValuesAcrossChunks) {
  RowStore s;
  s.reset({{Type::Long, 0}, {Type::String, 0}});
  const int n = 3 * static_cast<int>(RowStore::kChunkRows) + 7;
  for (int i = 0; i < n; ++i) {
    RowIndex r = s.append();
    if (i % 5) s.set(r, 0, Value(i));
    s.set(r, 1, Value("row " + std::to_string(i)));
  }
  ASSERT_EQ(s.row_count(), static_cast<RowIndex>(n));
  for (int i = 0; i < n; i += 97) {
    EXPECT_EQ(s.is_null(static_cast<RowIndex>(i), 0), i % 5 == 0);
    EXPECT_EQ(s.get(static_cast<RowIndex>(i), 1), Value("row " + std::to_string(i)));
  }
  s.clear();
  EXPECT_EQ(s.row_count(), 0u);
  EXPECT_EQ(s.column_count(), 2u);
}

// Rows written in all the shapes a chunk is packed into (one value, a few
// values, every value different), read back, then changed after packing.
TEST(DataWindowRowStore, PackedRowsReadBackAndTakeChanges) {
  RowStore s;
  s.reset({{Type::String, 0}, {Type::Long, 0}, {Type::Decimal, 2}, {Type::String, 0}});
  const int n = 5 * static_cast<int>(RowStore::kChunkRows) + 11;
  const auto name = [](int i) { return "客户" + std::to_string(i % 7); };  // in the arena, repeated
  const auto status = [](int i) { return std::string(1, static_cast<char>('0' + i % 3)); };
  for (int i = 0; i < n; ++i) {
    const RowIndex r = s.append();
    s.set(r, 0, Value(name(i)));
    if (i % 3) s.set(r, 1, Value(i));  // every value different, nulls between
    s.set(r, 2, Value(Decimal(0)));     // one value
    s.set(r, 3, Value(status(i)));      // texts in place, three values
  }
  s.pack();
  const auto expect_row = [&](int i, const std::string& when) {
    const auto r = static_cast<RowIndex>(i);
    EXPECT_EQ(s.get(r, 0), Value(name(i))) << when << " row " << i;
    EXPECT_EQ(s.is_null(r, 1), i % 3 == 0) << when << " row " << i;
    if (i % 3) {
      EXPECT_EQ(s.get(r, 1), Value(i)) << when << " row " << i;
    }
    EXPECT_EQ(s.get(r, 2), Value(Decimal(0))) << when << " row " << i;
    EXPECT_EQ(s.texts(3).view(s.text_cell(3, r)), status(i)) << when << " row " << i;
  };
  for (int i = 0; i < n; ++i) expect_row(i, "packed");

  // Few distinct values cost about a byte a row, numbers close together
  // four; repeated texts are kept once.
  RowStore few;
  few.reset({{Type::String, 0}});
  RowStore close;
  close.reset({{Type::DateTime, 0}});
  for (int i = 0; i < n; ++i) {
    few.set(few.append(), 0, Value(status(i)));
    close.set(close.append(), 0, Value(DateTime::from_seconds(1'800'000'000 + 37 * i)));
  }
  few.pack();
  close.pack();
  EXPECT_LT(few.memory_bytes(), static_cast<std::size_t>(n) * 2) << "three distinct texts in " << n << " rows";
  EXPECT_LT(close.memory_bytes(), static_cast<std::size_t>(n) * 5) << n << " distinct date-times";
  EXPECT_EQ(close.get(static_cast<RowIndex>(n - 1), 0), Value(DateTime::from_seconds(1'800'000'000 + 37 * (n - 1))));
  EXPECT_LT(s.texts(0).memory_bytes(), std::size_t{1024}) << "seven names of " << n << " rows";

  // Changes after packing land on their row alone.
  s.set(5, 2, Value(*Decimal::parse("12.34")));
  s.set(RowStore::kChunkRows + 1, 3, Value("changed text"));
  s.set(2 * RowStore::kChunkRows, 1, Value::null(Type::Long));
  EXPECT_EQ(s.get(5, 2), Value(*Decimal::parse("12.34")));
  EXPECT_EQ(s.get(RowStore::kChunkRows + 1, 3), Value("changed text"));
  EXPECT_TRUE(s.is_null(2 * RowStore::kChunkRows, 1));
  for (int i = 0; i < n; ++i) {
    const auto r = static_cast<RowIndex>(i);
    if (r == 5 || r == RowStore::kChunkRows + 1 || r == 2 * RowStore::kChunkRows) continue;
    expect_row(i, "after the changes");
  }
  EXPECT_EQ(s.compare(2, 4, 5), -1);
}

}  // namespace
}  // namespace kq::dw
