// The SQLite storage conventions: declared types, the decimal read of a REAL,
// datetime texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "platform/db/sqlite_storage.h"

namespace kq::db::sqlite {
namespace {

Decimal dec(const char* s) { return *Decimal::parse(s); }

TEST(TransactionStorage, DeclaredTypesBeyondTheFixtureSchema) {
  EXPECT_EQ(column_info_from_decl("DECIMAL(18, 4)"), (ColumnInfo{ColumnKind::Decimal, 4}));
  EXPECT_EQ(column_info_from_decl("REAL"), (ColumnInfo{ColumnKind::Decimal, kUnknownScale}));
  EXPECT_EQ(column_info_from_decl(""), std::nullopt);
  EXPECT_EQ(column_info_from_decl("GEOMETRY"), std::nullopt);
}

TEST(TransactionStorage, ReadIsFifteenDigitsThenScaleForAnyDouble) {
  EXPECT_EQ(real_to_decimal(2.0 / 3.0), dec("0.666666666666667"));
  EXPECT_EQ(real_to_decimal(5e-324), Decimal(0));
  EXPECT_EQ(real_to_decimal(1e30), std::nullopt) << "beyond the range of a Decimal";
  EXPECT_EQ(real_to_decimal(NAN), std::nullopt);
  // Decimals at some scale, their binary neighbours and products of two: the
  // read, whatever shortcut it takes, is the 15-digit decimal rounded to scale.
  uint64_t x = 88172645463325252ull;
  auto next = [&x] { return x ^= x << 13, x ^= x >> 7, x ^= x << 17; };
  for (int i = 0; i < 4000; ++i) {
    auto n = static_cast<int64_t>(next() % static_cast<uint64_t>(std::pow(10.0, next() % 16 + 1)));
    if (n == 0) continue;
    double v = static_cast<double>(n) / std::pow(10.0, static_cast<double>(next() % 11));
    switch (next() % 4) {
      case 1: v = std::nextafter(v, INFINITY); break;
      case 2: v = -std::nextafter(v, -INFINITY); break;
      case 3: v = v * (1 + static_cast<double>(next() % 20) / 100); break;
      default: break;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    for (int scale : {0, 2, 6, 10}) ASSERT_EQ(real_to_decimal(v, scale), dec(buf).round(scale)) << buf << " " << scale;
  }
}

TEST(TransactionStorage, StoredDatetimeTexts) {
  EXPECT_EQ(parse_stored_datetime("2024-02-29 23:59:59"), DateTime::from_parts(2024, 2, 29, 23, 59, 59));
  EXPECT_EQ(parse_stored_datetime("2023-02-29 00:00:00"), std::nullopt);
  EXPECT_EQ(parse_stored_datetime("2024-0a-01 00:00:00"), std::nullopt);
  EXPECT_EQ(parse_stored_datetime("2024-03-05"), DateTime::from_parts(2024, 3, 5));
  EXPECT_EQ(datetime_text_for_storage("20240305"), "2024-03-05 00:00:00");
  EXPECT_EQ(datetime_text_for_storage("2024/13/01"), std::nullopt);
}

}  // namespace
}  // namespace kq::db::sqlite
