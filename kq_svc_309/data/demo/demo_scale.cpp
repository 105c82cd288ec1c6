// Generated work orders for benchmarks: prepared statements of the writer's
// connection inside the caller's transaction, values from a counter-based generator so
// that the same count gives the same rows.
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "data/demo/demo_content.h"

namespace kq::demo::detail {
namespace {

uint64_t mix(uint64_t x) {  // splitmix64
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

// One generated statement: its values are set by position (1-based, as the
// "?" of its text) and the row is written by run().
class Stmt {
 public:
  Stmt(RowWriter& w, const std::string& sql) {
    std::string tsql;
    int n = 0;
    for (char c : sql) {
      if (c == '?') tsql += ":p" + std::to_string(++n);
      else tsql += c;
    }
    values_.assign(static_cast<size_t>(n), Cell(nullptr));
    rows_ = w.prepare(tsql);
  }

  Stmt& text(int i, std::string s) { return set(i, Cell(std::move(s))); }
  Stmt& text(int i, const char* s) { return set(i, Cell(s)); }
  Stmt& integer(int i, int64_t v) { return set(i, Cell(v)); }
  // A generated number has at most four places; a double's noise beyond them
  // is dropped here, cheaper than the general conversion of a double.
  Stmt& real(int i, double v) {
    return set(i, Cell(Decimal::from_raw(static_cast<Decimal::Raw>(std::llround(v * 1e4)) * (Decimal(1).raw() / 10000))));
  }
  Stmt& money(int i, int64_t cents) { return set(i, Cell(Cents{cents})); }
  Stmt& date(int i, const DateTime& t) { return set(i, Cell(t)); }
  void run() {
    if (rows_ != nullptr) rows_->run(values_);
  }

 private:
  Stmt& set(int i, Cell c) {
    values_[static_cast<size_t>(i - 1)] = std::move(c);
    return *this;
  }
  PreparedRows* rows_ = nullptr;
  std::vector<Cell> values_;
};

struct ItemDef {
  const char* code;
  const char* name;
  double hours;
  int64_t fee;
};
constexpr std::array<ItemDef, 8> kItems = {{{"BY001", "更换机油机滤", 0.5, 6000},
                                            {"BY002", "更换空气滤清器", 0.3, 3000},
                                            {"ZD001", "更换前刹车片", 1.0, 12000},
                                            {"ZD002", "更换后刹车片", 1.2, 15000},
                                            {"DQ001", "电路检查", 0.5, 4000},
                                            {"LT001", "四轮定位", 1.0, 10000},
                                            {"KT001", "空调检修", 2.0, 16000},
                                            {"XC001", "洗车", 0.3, 2000}}};
struct PartDef {
  const char* code;
  double price;
};
constexpr std::array<PartDef, 6> kParts = {{{"0W20-4L", 368.0},
                                            {"JL-001", 45.0},
                                            {"KL-002", 68.0},
                                            {"SCP-F01", 380.0},
                                            {"YS-001", 96.0},
                                            {"ZDY-DOT4", 42.0}}};
constexpr std::array<const char*, 7> kModels = {"SVW-PST18T", "FAW-JETTA",   "SVW-STN2000", "GAC-ACD24",
                                                "GTMC-CMR20", "FAW-AUDIA6L", "BJ-JEEP2020"};
constexpr std::array<const char*, 8> kSurnames = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵"};
constexpr std::array<const char*, 8> kGiven = {"伟", "芳", "娜", "敏", "静", "强", "磊", "军"};

std::string digits(int64_t n, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*lld", width, static_cast<long long>(n));
  return buf;
}

// Secondary indexes of the tables the generation fills; on SQLite they are
// dropped before and rebuilt after, which sorts once instead of inserting at
// random. Other backends keep their indexes.
std::vector<std::pair<std::string, std::string>> take_indexes(RowWriter& w) {
  std::vector<std::pair<std::string, std::string>> out;
  if (w.connection().dialect().name() != "sqlite") return out;
  auto st = w.connection().prepare(
      "SELECT name, sql FROM main.sqlite_schema WHERE type = 'index' AND sql IS NOT NULL AND tbl_name IN "
      "('svcb20c', 'svcb20c_h', 'svcb20d', 'svcb20d_h', 'spab02c', 'spab02d', 'sysb13', 'crmc04') ORDER BY name");
  if (!st) {
    w.fail(st.error());
    return out;
  }
  Value name, create;
  for (;;) {
    auto row = (*st)->step();
    if (!row) {
      w.fail(row.error());
      return out;
    }
    if (!*row) break;
    (*st)->read(0, name);
    (*st)->read(1, create);
    out.emplace_back(name.as_string().value_or(""), create.as_string().value_or(""));
  }
  (*st)->reset();
  for (const auto& [index, sql] : out) w.exec_native("DROP INDEX main.\"" + index + "\"");
  return out;
}

// The generated rows themselves.
void write_rows(RowWriter& w, const DateTime& today, int64_t count, int days, const Progress& progress) {
  const std::string g = "01";
  const DateTime day0 = today.date();
  const int64_t vehicles = std::min<int64_t>(count, 1000 + count / 20);
  const int64_t first_vehicle = 100001;

  Stmt customer(w, "INSERT INTO crmc01 (ckhdm, ckhmc, ckhdz, cdh, cyb, clxr, clxrdh, cgsh) VALUES (?,?,?,?,?,?,?,?)");
  Stmt vehicle(w,
               "INSERT INTO crmc04 (id, cgsh, ckhdm, cdph, cpzh, cfdjh, ccxdm, ccp, ngs, nmfwxcs, nbycs, nwxcslj, nljje) "
               "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)");
  for (int64_t v = 0; v < vehicles && w.ok(); ++v) {
    const uint64_t r = mix(static_cast<uint64_t>(v) * 7919 + 17);
    const std::string code = "G" + digits(v, 9);
    const std::string name = std::string(kSurnames[r % 8]) + kGiven[(r >> 8) % 8] + digits(v % 1000, 3);
    const std::string phone = "139" + digits(static_cast<int64_t>(r % 100000000), 8);
    customer.text(1, code).text(2, name).text(3, "北京市朝阳区建国路" + std::to_string(v % 200 + 1) + "号")
        .text(4, phone).text(5, "100022").text(6, name.substr(0, 6)).text(7, phone).text(8, g).run();
    // Generous statistics: cancelling any generated settlement keeps them positive.
    vehicle.integer(1, first_vehicle + v).text(2, g).text(3, code)
        .text(4, "LGEN" + digits(v, 13)).text(5, "京Z" + digits(v % 100000, 5))
        .text(6, "E" + digits(v, 9)).text(7, kModels[r % kModels.size()]).text(8, "大众")
        .real(9, 100000.0).integer(10, 1000).integer(11, 1000).integer(12, 100000).money(13, 1000000000000)
        .run();
  }

  const char* header_columns =
      "cwtsbh, cgsh, id, ckhdm, cwxzt, dsxrq, dydjc, dccrq, djsrq, nxslc, cgsde, lshbs, cbgfs, cjsfs, cdbr, cscbs, "
      "cscbs1, ngs, nysgsf, nyhhgsf, nssgsf, nysclf, nyhhclf, nssclf, ngsyhl, nclyhl, nhjyh, nhjje, nzsje, nhjse, "
      "ngfse, nclse, ngfsl, nbjxjsl, cczydm, cczymc, cfwgwxm, cjsydm, cjsrxm, nspgf, nsplf, cyszkkm";
  const char* marks = "?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?";
  Stmt current(w, std::string("INSERT INTO svcb20c (") + header_columns + ") VALUES (" + marks + ")");
  Stmt history(w, (std::string("INSERT INTO svcb20c_h (") + header_columns +
                   ", ckhmc, ckhdz, cdh, cyb, ckhh, clxr, clxrdh) VALUES (" + marks + ",?,?,?,?,?,?,?)"));
  Stmt item_now(w,
                "INSERT INTO svcb20d (cwtsbh, cwxxmdm, cxmmc, cxz, ngs, ngsf, cbzdm, czxrdm, lksbs, lwcbs, cgsh) "
                "VALUES (?,?,?,'0',?,?,?,?,?,?,?)");
  Stmt item_old(w,
                "INSERT INTO svcb20d_h (cwtsbh, cwxxmdm, cxmmc, cxz, ngs, ngsf, cbzdm, czxrdm, lksbs, lwcbs, cgsh) "
                "VALUES (?,?,?,'0',?,?,?,?,?,?,?)");
  Stmt issue(w, "INSERT INTO spab02c (cdjbh, cdydbh, clb, ddjrq, cczydm, cgsh) VALUES (?,?,'1',?,'003',?)");
  Stmt line(w,
            "INSERT INTO spab02d (cdjbh, cbjdm, cbjbm, nrcdj, nrcsl, nrcje, ccklb, nclyhl, cph, cgsh) "
            "VALUES (?,?,'',?,?,?,'0',0,'',?)");
  Stmt receipt(w, "INSERT INTO sysb13 (cbs, cdydjh, nbcjsje, drq, cjsfs, cczydm, cgsh) VALUES ('3',?,?,?,'01','002',?)");

  const int64_t step = std::max<int64_t>(1, count / 200);
  for (int64_t i = 0; i < count && w.ok(); ++i) {
    const uint64_t r = mix(static_cast<uint64_t>(i));
    const int kind = static_cast<int>(r % 10);
    const char category = kind < 6 ? '1' : kind < 8 ? '2' : kind == 8 ? 'A' : 'V';
    const std::string number =
        category == 'A' ? "A-" + g + "9" + digits(i, 8) : std::string(1, category) + g + "9" + digits(i, 9);
    const int state = static_cast<int>((r >> 8) % 100);
    const char status = state < 75 ? '1' : state < 85 ? '2' : '0';
    const bool settled = status != '0';
    const int settle_day = settled ? -static_cast<int>((r >> 16) % static_cast<uint64_t>(days)) : 0;
    const int arrive_day = settled ? settle_day - static_cast<int>((r >> 24) % 3) : -static_cast<int>((r >> 24) % 10);
    const bool old = settled && settle_day < -60;
    const DateTime arrived = day0.add_seconds(static_cast<int64_t>(arrive_day) * 86400 + 8 * 3600 + ((r >> 32) % 240) * 60);
    const DateTime settled_at =
        settled ? day0.add_seconds(static_cast<int64_t>(settle_day) * 86400 + 13 * 3600 + ((r >> 40) % 300) * 60)
                : DateTime::absent();
    const int64_t v = static_cast<int64_t>((r >> 20) % static_cast<uint64_t>(vehicles));
    const std::string customer_code = "G" + digits(v, 9);

    // Items and materials.
    const int item_count = 2 + static_cast<int>((r >> 44) % 2);
    double hours = 0;
    int64_t labour = 0;
    Stmt& items = old ? item_old : item_now;
    for (int k = 0; k < item_count; ++k) {
      const ItemDef& d = kItems[(static_cast<size_t>(i) + static_cast<size_t>(k) * 3) % kItems.size()];
      hours += d.hours;
      labour += d.fee;
      items.text(1, number).text(2, d.code).text(3, d.name).real(4, d.hours).money(5, d.fee)
          .text(6, k == 0 ? "B01" : "B02").text(7, k == 0 ? "101" : "201")
          .integer(8, settled ? 1 : 0).integer(9, settled ? 1 : 0).text(10, g).run();
    }
    const std::string doc = "L" + g + "9" + digits(i, 9);
    issue.text(1, doc).text(2, number).date(3, arrived.add_seconds(3600)).text(4, g).run();
    int64_t material = 0;
    for (int k = 0; k < 2; ++k) {
      const PartDef& p = kParts[(static_cast<size_t>(i) * 2 + k) % kParts.size()];
      const int qty = 1 + static_cast<int>((r >> (48 + 4 * k)) % 3);
      const int64_t amount = std::llround(p.price * qty * 100.0);
      material += amount;
      line.text(1, doc).text(2, p.code).real(3, p.price).real(4, qty).money(5, amount).text(6, g).run();
    }

    // Figures of company 01: tax-inclusive prices, no discounts.
    const int64_t total = settled ? labour + material : 0;
    const int64_t labour_tax = settled ? std::llround(static_cast<double>(labour) * 13.0 / 113.0) : 0;
    const int64_t material_tax = settled ? std::llround(static_cast<double>(material) * 13.0 / 113.0) : 0;
    const int64_t received = status == '1' ? total : 0;
    Stmt& h = old ? history : current;
    h.text(1, number).text(2, g).integer(3, first_vehicle + v).text(4, customer_code).text(5, std::string(1, status))
        .date(6, arrived).date(7, arrived.add_days(1))
        .date(8, settled ? settled_at.add_seconds(1800) : DateTime::absent())
        .date(9, settled_at).real(10, 1.0 + static_cast<double>(r % 200000) / 10000.0).text(11, "01")
        .integer(12, settled ? 1 : 0).text(13, "0").text(14, settled ? (status == '2' ? "05" : "01") : "")
        .text(15, status == '2' ? "担保人" : "").text(16, settled ? "1" : "0").text(17, settled ? "1" : "0")
        .real(18, hours).money(19, labour).money(20, labour).money(21, labour).money(22, material)
        .money(23, material).money(24, material).real(25, 0).real(26, 0).money(27, 0).money(28, total)
        .money(29, received).money(30, labour_tax + material_tax).money(31, labour_tax).money(32, material_tax)
        .real(33, 13).real(34, 13).text(35, "003").text(36, "赵强").text(37, "孙莉")
        .text(38, settled ? "002" : "").text(39, settled ? "李秀兰" : "").money(40, settled ? labour : 0)
        .money(41, settled ? material : 0).text(42, status == '2' ? "1122" : "");
    if (old) {
      h.text(43, "客户" + customer_code).text(44, "北京市朝阳区建国路").text(45, "13900000000").text(46, "100022")
          .text(47, "").text(48, "联系人").text(49, "13900000000");
    }
    h.run();
    if (status == '1' && total > 0) receipt.text(1, number).money(2, total).date(3, settled_at).text(4, g).run();

    if (progress && ((i + 1) % step == 0 || i + 1 == count)) progress(i + 1, count);
  }
}

}  // namespace

void write_generated(RowWriter& w, const DateTime& today, int64_t count, int days, const Progress& progress) {
  if (count <= 0) return;
  std::vector<std::pair<std::string, std::string>> indexes;
  indexes = take_indexes(w);
  write_rows(w, today, count, days, progress);
  for (const auto& [name, create] : indexes) w.exec_native(create);
}

}  // namespace kq::demo::detail
