#pragma once
// The parts of the demo shop, written by demo_shop.cpp inside one transaction.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "data/demo/row_writer.h"
#include "platform/value/datetime.h"

namespace kq::demo::detail {

using Hasher = std::function<std::string(std::string_view)>;
using Progress = std::function<void(int64_t done, int64_t total)>;

// The fixed content: companies, parameters, master data, operators, cards and
// the notable work orders of docs/demo.md, dated relative to `today`.
void write_fixed_content(RowWriter& w, const DateTime& today, const Hasher& hash);

// `count` generated work orders of company 01 with vehicles, items, stock
// issues and receipts; numbers "…9nnnnnnnnn" never collide with the fixed ones.
// Settlement dates fall on the last `days` days (1 to 365).
void write_generated(RowWriter& w, const DateTime& today, int64_t count, int days, const Progress& progress);

}  // namespace kq::demo::detail
