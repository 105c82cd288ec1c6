// The fixed content of the demo shop. Figures of a work order (labour and
// material fees, discounts, tax, totals, receipts) are derived from its items
// and materials with the company's tax parameters, and the statistics of
// vehicles and the balances of cards are the sums of what the work orders
// booked on top of a base, so that cancelling any settlement keeps them >= 0.
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <vector>

#include "data/demo/demo_content.h"

namespace kq::demo::detail {
namespace {

// ------------------------------------------------------------------ helpers

int64_t percent_of(int64_t cents, double percent) { return std::llround(static_cast<double>(cents) * percent / 100.0); }
int64_t cents_of(double price, double qty) { return std::llround(price * qty * 100.0); }

std::string pad(int64_t n, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*lld", width, static_cast<long long>(n));
  return buf;
}

// Work-order number: category, company, ten digits; insurance "A-", company, nine digits.
std::string wo(char category, const std::string& company, int64_t seq) {
  if (category == 'A') return "A-" + company + pad(seq, 9);
  return std::string(1, category) + company + pad(seq, 10);
}

struct Company {
  std::string code;
  std::string name;
  bool labour_tax_included;  // LXCHS
  bool parts_tax_included;   // LXJHS
  double labour_rate;        // NGFSL
  double parts_rate;         // NBJXJSL
};

struct Catalogue {
  const char* name;
  double hours;
  int64_t fee;  // cents
};
const std::map<std::string, Catalogue>& repair_items() {
  static const std::map<std::string, Catalogue> items = {
      {"BY001", {"更换机油机滤", 0.5, 6000}},   {"BY002", {"更换空气滤清器", 0.3, 3000}},
      {"ZD001", {"更换前刹车片", 1.0, 12000}},  {"ZD002", {"更换后刹车片", 1.2, 15000}},
      {"FDJ01", {"发动机检修", 6.0, 72000}},    {"DQ001", {"电路检查", 0.5, 4000}},
      {"BJ001", {"前保险杠钣金", 3.0, 30000}},  {"PQ001", {"前保险杠喷漆", 2.0, 40000}},
      {"SB001", {"首次保养", 1.0, 8000}},       {"LT001", {"四轮定位", 1.0, 10000}},
      {"KT001", {"空调检修", 2.0, 16000}},      {"BS001", {"变速箱检修", 4.0, 48000}},
      {"XC001", {"洗车", 0.3, 2000}},           {"DP001", {"更换火花塞", 0.8, 6400}},
  };
  return items;
}

struct PartInfo {
  const char* name;
  const char* unit;
  double price;
};
const std::map<std::string, PartInfo>& parts_master() {
  static const std::map<std::string, PartInfo> parts = {
      {"0W20-4L", {"全合成机油0W-20 4L", "桶", 368.0}},   {"JL-001", {"机油滤清器", "个", 45.0}},
      {"KL-002", {"空气滤清器", "个", 68.0}},            {"QL-003", {"汽油滤清器", "个", 85.5}},
      {"SCP-F01", {"前刹车片", "套", 380.0}},             {"SCP-R01", {"后刹车片", "套", 320.0}},
      {"YS-001", {"雨刮片", "对", 96.0}},                 {"DP-001", {"火花塞", "只", 58.333333}},
      {"LT-185", {"轮胎185/65R15", "条", 520.0}},         {"ZDY-DOT4", {"刹车油DOT4", "瓶", 42.0}},
      {"FDJ-PD", {"发动机皮带", "条", 210.0}},            {"DC-12V", {"蓄电池12V60Ah", "块", 460.0}},
      {"QQ-BXG", {"前保险杠", "个", 1200.0}},             {"YQ-0001", {"面漆", "升", 150.0}},
      {"KTL-R134", {"空调制冷剂R134a", "瓶", 75.0}},
  };
  return parts;
}

struct Item {
  std::string code;
  char nature = '0';
  bool added = false;
  bool started = true;
  bool completed = true;
  std::string team = "B01";
  std::string mechanic = "101";
  std::string station = "";
  int64_t fee = -1;  // cents; -1 = catalogue
  double hours = -1;  // -1 = catalogue
};

struct Part {
  std::string code;
  double qty = 1;
  double returned = 0;
  char nature = '0';
  std::string issued_name = "";  // cbjbm; '' = master name
  std::string batch = "";
};

struct Extra {
  std::string code;
  std::string name;
  double price;
  double qty;
};

struct CardPoints {
  std::string card;
  int64_t points;
};

struct WorkOrder {
  std::string number;
  bool history = false;
  int vehicle = 0;
  std::string customer;  // '' = the vehicle's owner
  char status = '0';
  int arrive_day = 0;
  std::string arrive_time = "09:00";
  int deliver_day = 0;  // days after arrival
  std::string deliver_time = "18:00";
  int settle_day = 0;
  std::string settle_time = "16:00";
  char mode = '0';
  std::string labour_class = "01";
  double labour_discount = 0;
  double material_discount = 0;
  std::vector<Item> items;
  std::vector<Part> parts;
  std::vector<Extra> extras;
  int64_t package_fee = 0, rescue_fee = 0, management_fee = 0, auxiliary_fee = 0;
  int64_t other_fee1 = 0, other_fee2 = 0, other_fee3 = 0;
  int receipts = 1;            // receipts paying the cash part of a settled work order
  int64_t paid_on_credit = 0;  // received at a credit settlement
  int64_t later_receipt = 0;   // booked afterwards (nljsk)
  std::string guarantor, invoice_type, invoice_no, settle_method = "01";
  std::string card;            // chykh
  bool card_null = false;      // chykh NULL
  bool card_paid = false;      // cskxf '1'
  int64_t card_amount = 0;     // stored value spent (nhykbcxfje)
  std::vector<CardPoints> points;
  int checked = 0, prior_arrears = 0, finance_done = 0, batch = 0, voucher = 0, lsbbs = 0;
  std::string contract, inspection, account, account_state = "1";
  std::vector<char> marks;     // svcb22c.clb
  std::string adviser = "011", clerk = "003", cashier = "002";
  double odometer = 0;
  std::string archived_postcode;  // history: the archived customer's postcode when it differs
};

struct Customer {
  std::string code, name, address, phone, postcode, bank, contact, contact_phone;
};

struct Vehicle {
  int id;
  std::string customer, plate, vin, engine, model, make;
  int stopped = 0;
};

struct VehicleStats {
  double hours = 0;
  int64_t free_repairs = 0, services = 0, repairs = 0, amount = 0;
};

struct Card {
  int id;
  std::string number, company, customer, holder;
  int vehicle;
  int64_t stored;        // cents, balance after the demo's payments
  int64_t base_points;
  int lost = 0, stopped = 0, active = 1;
  int valid_days, renewal_days;  // relative to today
};

struct OrderInfo {
  std::string company, customer, customer_name, plate, model;
  bool history;
};

class Builder {
 public:
  Builder(RowWriter& w, const DateTime& today, const Hasher& hash) : w_(w), today_(today.date()), hash_(hash) {}
  void build();

 private:
  DateTime at(int day, const std::string& hhmm) const {
    int h = std::stoi(hhmm.substr(0, 2)), m = std::stoi(hhmm.substr(3, 2));
    return today_.add_seconds(static_cast<int64_t>(day) * 86400 + h * 3600 + m * 60);
  }
  const Company& company(const std::string& code) const { return code == "01" ? c01_ : c02_; }

  void companies();
  void parameters(const Company& c, const std::map<std::string, std::string>& values);
  void master_data(const Company& c);
  void staff(const Company& c, const std::vector<std::vector<std::string>>& rows);
  void operators(const Company& c, const std::vector<std::vector<std::string>>& rows);
  void customers(const Company& c, const std::vector<Customer>& rows);
  void add(const std::string& company, const WorkOrder& o);
  void rework(const std::string& company, const std::string& number, const std::string& item, bool history,
              const std::vector<Field>& extra);
  void terminal_job(const std::string& company, const std::string& number, const std::string& item, int rework,
                    int state, double hours, const std::string& controller, const std::string& station,
                    const DateTime& sent, const DateTime& started);
  void vehicles_and_cards();
  void company01_orders();
  void company02_orders();

  std::string staff_name(const std::string& company, const std::string& code) const {
    auto it = staff_names_.find(company + code);
    return it == staff_names_.end() ? std::string() : it->second;
  }
  std::string next_doc(char kind, const std::string& company) { return std::string(1, kind) + company + pad(++doc_seq_[company], 10); }

  RowWriter& w_;
  DateTime today_;
  const Hasher& hash_;
  Company c01_{"01", "北京凯琪汽车维修服务有限公司", true, true, 13, 13};
  Company c02_{"02", "北京凯琪汽车维修服务有限公司亦庄分公司", false, false, 6, 13};
  std::map<std::string, std::string> staff_names_;          // company + code
  std::map<std::string, Customer> customers_;                // company + code
  std::vector<Vehicle> vehicles_;
  std::map<int, VehicleStats> stats_;                        // vehicle id
  std::vector<Card> cards_;
  std::map<std::string, int64_t> card_points_;               // card number → points booked
  std::map<std::string, OrderInfo> orders_;                  // work-order number
  std::map<std::string, int64_t> doc_seq_;                   // company → last stock document
  std::map<std::string, std::set<char>> free_categories_;    // company → categories with lmfbs 1
};

// ------------------------------------------------------------------ companies and parameters

void Builder::companies() {
  for (const Company* c : {&c01_, &c02_}) {
    w_.insert("kq_company", {{"cgsh", c->code}, {"cgsmc", c->name}, {"dywrq", today_}, {"dqsrq", today_.add_days(-30)}});
  }
  const std::map<std::string, std::string> p01 = {
      {"SYS|CGSMC", c01_.name},
      {"SYS|CDZ", "北京市朝阳区东三环北路38号"},
      {"SYS|CYB", "100026"},
      {"SYS|CYWDH", "010-65001234"},
      {"SYS|CDH", "010-65001235"},
      {"SYS|CKHH", "中国工商银行北京东三环支行"},
      {"SYS|CYHZH", "0200001509012345678"},
      {"SYS|CZHMC", c01_.name},
      {"SYS|CSH", "91110105712345678X"},
      {"SYS|CFWZJ", "王建国"},
      {"SVC|CJSDBZ1", "1. 本结算单是车辆出厂的凭证，请妥善保管。"},
      {"SVC|CJSDBZ2", "2. 质量保证期：大修90日或10000公里，小修10日或1500公里。"},
      {"SVC|CJSDBZ3", "3. 服务监督电话：010-65001236。"},
      {"SVC|LBXXSJE", "1"},
      {"SVC|LXCHS", "1"},
      {"SPA|LXJHS", "1"},
      {"SVC|LJSYH", "0"},
      {"SVC|LJSDXSGS", "1"},
      {"SVC|LQTLL", "1"},
      {"SVC|LJSDXSSE", "0"},
      {"svc|lsygsgl", "0"},
      {"svc|lxmzdgw", "0"},
      {"sys|LCLUAZ", "1"},
      {"sys|LVIPAZ", "0"},
      {"sys|ickcom", "COM1"},
      {"sys|czjcdm", "B"},
      {"svc|NGFSL", "13"},
      {"spa|NBJXJSL", "13"},
      {"CLU|LSYZJK", "1"},
      {"sys|lcwaz", "1"},
  };
  std::map<std::string, std::string> p02 = p01;
  p02["SYS|CGSMC"] = c02_.name;
  p02["SYS|CDZ"] = "北京经济技术开发区荣华南路9号";
  p02["SYS|CYB"] = "100176";
  p02["SYS|CYWDH"] = "010-67881234";
  p02["SYS|CDH"] = "010-67881235";
  p02["SYS|CKHH"] = "中国建设银行北京亦庄支行";
  p02["SYS|CYHZH"] = "11001028600059261234";
  p02["SYS|CZHMC"] = c02_.name;
  p02["SYS|CSH"] = "91110302712345679K";
  p02["SYS|CFWZJ"] = "刘洋";
  p02["SVC|CJSDBZ3"] = "3. 服务监督电话：010-67881236。";
  p02["SVC|LBXXSJE"] = "0";
  p02["SVC|LXCHS"] = "0";
  p02["SPA|LXJHS"] = "0";
  p02["SVC|LJSYH"] = "1";
  p02["SVC|LJSDXSGS"] = "0";
  p02["SVC|LQTLL"] = "0";
  p02["SVC|LJSDXSSE"] = "1";
  p02["svc|lsygsgl"] = "1";
  p02["svc|lxmzdgw"] = "1";
  p02["sys|LVIPAZ"] = "1";
  p02["sys|ickcom"] = "COM2";
  p02["sys|czjcdm"] = "A";
  p02["svc|NGFSL"] = "6";
  p02["CLU|LSYZJK"] = "0";
  p02["sys|lcwaz"] = "0";
  parameters(c01_, p01);
  parameters(c02_, p02);
}

void Builder::parameters(const Company& c, const std::map<std::string, std::string>& values) {
  static const std::map<std::string, std::string> meaning = {
      {"CGSMC", "公司名称"},       {"CDZ", "地址"},           {"CYB", "邮编"},
      {"CYWDH", "业务电话"},       {"CDH", "电话"},           {"CKHH", "开户行"},
      {"CYHZH", "账号"},           {"CZHMC", "户名"},         {"CSH", "税号"},
      {"CFWZJ", "站长"},           {"CJSDBZ1", "结算单说明1"}, {"CJSDBZ2", "结算单说明2"},
      {"CJSDBZ3", "结算单说明3"},  {"LBXXSJE", "保险单显示金额"}, {"LXCHS", "工时费含税"},
      {"LXJHS", "配件价格含税"},   {"LJSYH", "结算单按结算优惠"}, {"LJSDXSGS", "结算单显示工时"},
      {"LQTLL", "打印其他领料"},   {"LJSDXSSE", "默认显示税额"}, {"lsygsgl", "使用工时管理"},
      {"lxmzdgw", "项目需指定工位"}, {"LCLUAZ", "会员俱乐部"},   {"LVIPAZ", "IC会员卡"},
      {"ickcom", "IC卡读卡器串口"}, {"czjcdm", "取消结算回写IC卡"}, {"NGFSL", "工费税率"},
      {"NBJXJSL", "备件销项税率"},  {"LSYZJK", "写会员中间库"},  {"lcwaz", "财务模块"},
  };
  for (const auto& [key, value] : values) {
    auto bar = key.find('|');
    std::string code = key.substr(bar + 1);
    auto m = meaning.find(code);
    w_.insert("sysi90", {{"cssxt", key.substr(0, bar)},
                         {"ccsdm", code},
                         {"ccsz", value},
                         {"ccsmc", m == meaning.end() ? std::string() : m->second},
                         {"cgsh", c.code}});
  }
}

// ------------------------------------------------------------------ master data

void Builder::master_data(const Company& c) {
  const std::string& g = c.code;
  // Departments and teams: code, name, cbmsx, lmjbmbs, ltybs, state, busy until (day, time).
  struct Dept {
    const char *code, *name, *kind;
    int chargeable, stopped;
    const char* state;
    int busy_day;
    const char* busy_time;
  };
  const Dept depts[] = {
      {"B01", "机修一班", "1", 1, 0, "忙碌", 0, "17:30"}, {"B02", "机修二班", "1", 1, 0, "空闲", 0, "00:00"},
      {"B03", "钣金班", "1", 1, 0, "忙碌", 1, "12:00"},   {"B04", "喷漆班", "1", 1, 0, "空闲", 0, "00:00"},
      {"B05", "电工班", "1", 0, 0, "空闲", 0, "00:00"},   {"B06", "洗车班", "1", 1, 0, "空闲", 0, "00:00"},
      {"B07", "原机修三班", "1", 1, 1, "", 0, "00:00"},   {"Q01", "前台接待", "0", 0, 0, "", 0, "00:00"},
      {"C01", "财务部", "0", 0, 0, "", 0, "00:00"},
  };
  for (const Dept& d : depts) {
    bool busy = std::string(d.state) == "忙碌";
    w_.insert("sysc02", {{"cbmdm", d.code},
                         {"cbmmc", d.name},
                         {"cbmsx", d.kind},
                         {"lmjbmbs", d.chargeable},
                         {"ltybs", d.stopped},
                         {"czt", d.state},
                         {"dwgrq", busy ? at(d.busy_day, d.busy_time) : DateTime::absent()},
                         {"cgsh", g}});
  }
  const char* categories[][2] = {{"1", "管理人员"}, {"2", "服务顾问"}, {"3", "收银员"}, {"4", "调度员"},
                                 {"5", "维修工"},   {"6", "主修人"},   {"7", "检验员"}};
  for (auto& cat : categories) w_.insert("sysc04", {{"cgrlbdm", cat[0]}, {"cgrlbmc", cat[1]}, {"cgsh", g}});

  const char* models[][2] = {{"SVW-PST18T", "帕萨特1.8T"}, {"FAW-JETTA", "捷达"},      {"SVW-STN2000", "桑塔纳2000"},
                             {"GAC-ACD24", "雅阁2.4"},     {"GTMC-CMR20", "凯美瑞2.0"}, {"FAW-AUDIA6L", "奥迪A6L"},
                             {"BJ-JEEP2020", "北京吉普2020"}};
  for (auto& m : models) w_.insert("svcc04", {{"ccxdm", m[0]}, {"ccxmc", m[1]}, {"cgsh", g}});

  struct Rate {
    const char *code, *name;
    int per_hour;
    double price;
  };
  const Rate rates[] = {{"01", "一类工时", 1, 80.0}, {"02", "二类工时", 1, 60.0}, {"03", "三类工时", 1, 45.5},
                        {"04", "定额工时", 0, 0.0}};
  for (const Rate& r : rates)
    w_.insert("svcc03", {{"cgsde", r.code}, {"cgsdemc", r.name}, {"lsygsdj", r.per_hour}, {"ngsdj", r.price}, {"cgsh", g}});

  struct Category {
    char code;
    const char* name;
    int free;
  };
  const Category cats[] = {{'0', "免费首保", 1}, {'1', "一般维修", 0},   {'2', "定期保养", 0}, {'A', "保险维修", 0},
                           {'F', "免费维修", 1}, {'S', "三包维修", 0},   {'V', "大客户维修", 0}, {'Z', "索赔维修", 0}};
  for (const Category& k : cats) {
    w_.insert("svcc90", {{"cwtslb", k.code}, {"cwtslbmc", k.name}, {"lmfbs", k.free}, {"cgsh", g}});
    if (k.free) free_categories_[g].insert(k.code);
  }

  const char* methods[][3] = {{"01", "现金", "1"},   {"02", "银行卡", "1"}, {"03", "转账支票", "1"},
                              {"04", "会员卡", "1"}, {"05", "挂账", "1"},   {"09", "内部结算", "0"}};
  for (auto& m : methods) w_.insert("acpi03", {{"cjsfsdm", m[0]}, {"cjsfsmc", m[1]}, {"csfbs", m[2]}, {"cgsh", g}});

  for (const auto& [code, p] : parts_master())
    w_.insert("spac01", {{"cbjdm", code}, {"cbjmc", p.name}, {"cjldw", p.unit}, {"cgsh", g}});

  const char* controllers[][3] = {{"K1", "一号控制器", "0"}, {"K2", "二号控制器", "0"}, {"K3", "备用控制器", "1"}};
  for (auto& k : controllers)
    w_.insert("wtcc05", {{"cgskzqdm", k[0]}, {"cgskzqmc", k[1]}, {"ltybs", std::stoi(k[2])}, {"cgsh", g}});
  const char* stations[][4] = {{"01", "一号工位", "K1", "0"}, {"02", "二号工位", "K1", "0"}, {"03", "三号工位", "K2", "0"},
                               {"04", "四号工位", "K2", "1"}, {"05", "快修工位", "", "0"}};
  for (auto& s : stations)
    w_.insert("wtcc01", {{"cwxgwdm", s[0]}, {"cwxgwmc", s[1]}, {"cgskzqdm", s[2]}, {"ltybs", std::stoi(s[3])}, {"cgsh", g}});
  w_.insert("wtci90", {{"cgsh", g}, {"nsjdw", g == "01" ? 0.1 : 0.5}});

  w_.insert("sysb12", {{"cdydjlb", "14"}, {"cdydjmc", "结算单"}, {"ndyfs", g == "01" ? Cell(2) : Cell(nullptr)}, {"cgsh", g}});
  w_.insert("sysb12", {{"cdydjlb", "15"}, {"cdydjmc", "出门证"}, {"ndyfs", 1}, {"cgsh", g}});
}

void Builder::staff(const Company& c, const std::vector<std::vector<std::string>>& rows) {
  // code, name, department, category, stopped, state, busy-until time ("" = none)
  for (const auto& r : rows) {
    staff_names_[c.code + r[0]] = r[1];
    w_.insert("sysc03", {{"cgrdm", r[0]},
                         {"cgrmc", r[1]},
                         {"cssbmdm", r[2]},
                         {"cgrlbdm", r[3]},
                         {"ltybs", std::stoi(r[4])},
                         {"czt", r[5]},
                         {"dwgrq", r[6].empty() ? DateTime::absent() : at(0, r[6])},
                         {"cgsh", c.code}});
  }
}

void Builder::operators(const Company& c, const std::vector<std::vector<std::string>>& rows) {
  // code, authorities, stopped; the password is "kq" + company + code.
  for (const auto& r : rows) {
    std::string hash = hash_("kq" + c.code + r[0]);
    if (hash.empty()) w_.fail("the password of operator " + c.code + "/" + r[0] + " could not be hashed");
    w_.insert("kq_operator", {{"cczydm", r[0]},
                              {"cczymc", staff_name(c.code, r[0])},
                              {"cmmhash", hash},
                              {"cqx", r[1]},
                              {"ltybs", std::stoi(r[2])},
                              {"cgsh", c.code}});
  }
}

void Builder::customers(const Company& c, const std::vector<Customer>& rows) {
  for (const Customer& k : rows) {
    customers_[c.code + k.code] = k;
    w_.insert("crmc01", {{"ckhdm", k.code},
                         {"ckhmc", k.name},
                         {"ckhdz", k.address},
                         {"cdh", k.phone},
                         {"cyb", k.postcode},
                         {"ckhh", k.bank},
                         {"clxr", k.contact},
                         {"clxrdh", k.contact_phone},
                         {"cgsh", c.code}});
  }
}

// ------------------------------------------------------------------ work orders

void Builder::add(const std::string& g, const WorkOrder& o) {
  const Company& c = company(g);
  const Vehicle* v = nullptr;
  for (const Vehicle& x : vehicles_)
    if (x.id == o.vehicle) v = &x;
  if (v == nullptr) {
    w_.fail("demo work order " + o.number + " names no vehicle");
    return;
  }
  const std::string customer_code = o.customer.empty() ? v->customer : o.customer;
  const Customer& k = customers_[g + customer_code];
  const bool settled = o.status != '0';
  const char category = o.number[0];
  const bool free = free_categories_[g].count(category) > 0;

  // Labour.
  double hours = 0;
  int64_t labour = 0;
  for (const Item& i : o.items) {
    const Catalogue& cat = repair_items().at(i.code);
    hours += i.hours >= 0 ? i.hours : cat.hours;
    if (i.nature == '0' && o.mode == '0') labour += i.fee >= 0 ? i.fee : cat.fee;
  }
  const double labour_discount = settled ? o.labour_discount : 0;
  const double material_discount = settled ? o.material_discount : 0;
  const int64_t labour_after = labour - percent_of(labour, labour_discount);
  const int64_t labour_charged =
      c.labour_tax_included ? labour_after : labour_after + percent_of(labour_after, c.labour_rate);
  // Materials: stock issues net of returns, and the additional lines.
  int64_t material = 0;
  int64_t cost = 0;
  for (const Part& p : o.parts) {
    const PartInfo& info = parts_master().at(p.code);
    int64_t net = cents_of(info.price, p.qty) - cents_of(info.price, p.returned);
    if (p.nature == '0' && o.mode != '1') material += net;
    cost += percent_of(net, 70);
  }
  for (const Extra& e : o.extras) {
    if (o.mode != '1') material += cents_of(e.price, e.qty);
    cost += percent_of(cents_of(e.price, e.qty), 70);
  }
  const int64_t material_after = material - percent_of(material, material_discount);
  const int64_t material_charged =
      c.parts_tax_included ? material_after : material_after + percent_of(material_after, c.parts_rate);
  auto tax_in = [](int64_t gross, double rate) { return std::llround(static_cast<double>(gross) * rate / (100.0 + rate)); };
  const int64_t fees[] = {o.package_fee, o.rescue_fee, o.management_fee, o.auxiliary_fee,
                          o.other_fee1,  o.other_fee2, o.other_fee3};
  int64_t fee_sum = 0;
  int64_t fee_tax[7];
  for (int i = 0; i < 7; ++i) {
    fee_sum += fees[i];
    fee_tax[i] = settled ? tax_in(fees[i], c.labour_rate) : 0;
  }
  const int64_t labour_tax = settled ? tax_in(labour_charged, c.labour_rate) : 0;
  const int64_t material_tax = settled ? tax_in(material_charged, c.parts_rate) : 0;
  const int64_t total = settled ? labour_charged + material_charged + fee_sum : 0;
  int64_t total_tax = labour_tax + material_tax;
  for (int64_t t : fee_tax) total_tax += t;
  const int64_t card_amount = settled && o.card_paid ? std::min(o.card_amount, total) : 0;

  // Receipts.
  std::vector<std::pair<int64_t, DateTime>> receipts;
  const DateTime settled_at = settled ? at(o.settle_day, o.settle_time) : DateTime::absent();
  int64_t received = card_amount;
  if (o.status == '1') {
    int64_t cash = total - card_amount;
    if (cash > 0 && o.receipts > 0) {
      for (int i = 0; i < o.receipts; ++i) {
        int64_t part = i + 1 < o.receipts ? cash / o.receipts : cash - (cash / o.receipts) * (o.receipts - 1);
        receipts.emplace_back(part, settled_at.add_seconds(60 * i));
      }
    }
    received = total;
  } else if (o.status == '2' && o.paid_on_credit > 0) {
    receipts.emplace_back(o.paid_on_credit, settled_at);
    received += o.paid_on_credit;
  }
  if (o.later_receipt > 0) receipts.emplace_back(o.later_receipt, settled_at.add_days(1));

  const DateTime arrived = at(o.arrive_day, o.arrive_time);
  const std::string header = o.history ? "svcb20c_h" : "svcb20c";
  const int64_t main_points = o.points.empty() ? 0 : o.points.front().points;
  std::vector<Field> head = {
             {"cwtsbh", o.number},
             {"cgsh", g},
             {"id", o.vehicle},
             {"ckhdm", customer_code},
             {"cwxzt", o.status},
             {"dsxrq", arrived},
             {"dydjc", at(o.arrive_day + o.deliver_day, o.deliver_time)},
             {"dccrq", settled ? settled_at.add_seconds(1800) : DateTime::absent()},
             {"djsrq", settled_at},
             {"nxslc", o.odometer > 0 ? o.odometer : 0.1234 * o.vehicle + 1.5},
             {"cgsde", o.labour_class},
             {"lshbs", o.checked != 0 || settled ? 1 : 0},
             {"lqqbs", o.prior_arrears},
             {"cbgfs", o.mode},
             {"cjsfs", settled ? (o.card_paid ? std::string("04") : o.status == '2' ? std::string("05") : o.settle_method)
                               : std::string()},
             {"cdbr", o.guarantor},
             {"cscbs", settled ? "1" : "0"},
             {"cscbs1", settled ? "1" : "0"},
             {"ngs", hours},
             {"nysgsf", Cents{labour}},
             {"nyhhgsf", Cents{labour_after}},
             {"nssgsf", Cents{labour_charged}},
             {"nysclf", Cents{material}},
             {"nyhhclf", Cents{material_after}},
             {"nssclf", Cents{material_charged}},
             {"ngsyhl", labour_discount},
             {"nclyhl", material_discount},
             {"nhjyh", Cents{settled ? (labour - labour_after) + (material - material_after) : 0}},
             {"nhjje", Cents{total}},
             {"nzsje", Cents{settled ? received : 0}},
             {"nhjse", Cents{total_tax}},
             {"nclcb", Cents{settled ? cost : 0}},
             {"nsplfcb", Cents{settled ? cost : 0}},
             {"nljsk", Cents{o.later_receipt}},
             {"lcwskwb", o.finance_done},
             {"npljsxh", o.batch},
             {"npzid", o.voucher},
             {"cfph", o.invoice_no},
             {"dfprq", o.invoice_no.empty() ? DateTime::absent() : settled_at},
             {"cfplxdm", o.invoice_type},
             {"cskxf", o.card_paid ? "1" : "0"},
             {"cskxgbs", "0"},
             {"nhykbcjf", static_cast<double>(main_points)},
             {"nhykbcxfje", Cents{card_amount}},
             {"nhykczje", Cents{0}},
             {"nhykscjf", static_cast<double>(o.card_paid ? main_points : 0)},
             {"nhykscye", Cents{0}},
             {"chth", o.contract},
             {"cjydh", o.inspection},
             {"cczydm", o.clerk},
             {"cczymc", staff_name(g, o.clerk)},
             {"cfwgwxm", staff_name(g, o.adviser)},
             {"cjsydm", settled ? o.cashier : std::string()},
             {"cjsrxm", settled ? staff_name(g, o.cashier) : std::string()},
             {"nbgf", Cents{fees[0]}},
             {"nsjf", Cents{fees[1]}},
             {"nglf", Cents{fees[2]}},
             {"nfcf", Cents{fees[3]}},
             {"nqtfy1", Cents{fees[4]}},
             {"nqtfy2", Cents{fees[5]}},
             {"nqtfy3", Cents{fees[6]}},
             {"nbgfse", Cents{fee_tax[0]}},
             {"nsjfse", Cents{fee_tax[1]}},
             {"nglfse", Cents{fee_tax[2]}},
             {"nfcfse", Cents{fee_tax[3]}},
             {"nqtfyse1", Cents{fee_tax[4]}},
             {"nqtfyse2", Cents{fee_tax[5]}},
             {"nqtfyse3", Cents{fee_tax[6]}},
             {"ngfse", Cents{labour_tax}},
             {"nclse", Cents{material_tax}},
             {"ngfsl", c.labour_rate},
             {"nbjxjsl", c.parts_rate},
             {"nspgf", Cents{settled ? labour_charged : 0}},
             {"nsplf", Cents{settled ? material_charged : 0}},
             {"chykh", o.card_null ? Cell(nullptr) : Cell(o.card)},
             {"czhzt", o.account.empty() ? std::string() : o.account_state},
             {"czhbh", o.account},
             {"cyszkkm", o.status == '2' ? "1122" : ""},
             {"lsbbs", o.lsbbs}};
  if (o.history) {
    // The customer's data as archived with the work order.
    head.insert(head.end(), {{"ckhmc", k.name},
                             {"ckhdz", k.address},
                             {"cdh", k.phone},
                             {"cyb", o.archived_postcode.empty() ? k.postcode : o.archived_postcode},
                             {"ckhh", k.bank},
                             {"clxr", k.contact},
                             {"clxrdh", k.contact_phone}});
  }
  w_.insert(header, head);

  // Repair items.
  const std::string items = o.history ? "svcb20d_h" : "svcb20d";
  for (const Item& i : o.items) {
    const Catalogue& cat = repair_items().at(i.code);
    w_.insert(items, {{"cwtsbh", o.number},
                      {"cwxxmdm", i.code},
                      {"cxmmc", cat.name},
                      {"cxz", i.nature},
                      {"ngs", i.hours >= 0 ? i.hours : cat.hours},
                      {"ngsf", Cents{i.fee >= 0 ? i.fee : cat.fee}},
                      {"ngsyhl", i.nature == '0' ? labour_discount : 0.0},
                      {"lzjxm", i.added ? 1 : 0},
                      {"cbzdm", i.team},
                      {"czxrdm", i.mechanic},
                      {"cgwdm", i.station},
                      {"lksbs", i.started || i.completed ? 1 : 0},
                      {"lwcbs", i.completed ? 1 : 0},
                      {"lfgbs", 0},
                      {"cgsh", g}});
  }

  // Stock issues, and returns as documents of their own.
  if (!o.parts.empty()) {
    std::string issue = next_doc('L', g);
    w_.insert("spab02c", {{"cdjbh", issue}, {"cdydbh", o.number}, {"clb", "1"}, {"ddjrq", arrived.add_seconds(3600)},
                          {"cczydm", o.clerk}, {"cgsh", g}});
    std::string back;
    for (const Part& p : o.parts) {
      const PartInfo& info = parts_master().at(p.code);
      auto line = [&](const std::string& doc, double qty) {
        w_.insert("spab02d", {{"cdjbh", doc},
                              {"cbjdm", p.code},
                              {"cbjbm", p.issued_name},
                              {"nrcdj", info.price},
                              {"nrcsl", qty},
                              {"nrcje", Cents{qty >= 0 ? cents_of(info.price, qty) : -cents_of(info.price, -qty)}},
                              {"ccklb", p.nature},
                              {"nclyhl", material_discount},
                              {"cph", p.batch},
                              {"cgsh", g}});
      };
      line(issue, p.qty);
      if (p.returned > 0) {
        if (back.empty()) {
          back = next_doc('T', g);
          w_.insert("spab02c", {{"cdjbh", back}, {"cdydbh", o.number}, {"clb", "2"},
                                {"ddjrq", arrived.add_seconds(3 * 3600)}, {"cczydm", o.clerk}, {"cgsh", g}});
        }
        line(back, -p.returned);
      }
    }
  }
  for (const Extra& e : o.extras)
    w_.insert("svcb25", {{"cwtsbh", o.number}, {"cbjdm", e.code}, {"cbjbm", e.name}, {"nckdj", e.price}, {"ncksl", e.qty}, {"cgsh", g}});

  for (const auto& [amount, when] : receipts)
    w_.insert("sysb13", {{"cbs", "3"}, {"cdydjh", o.number}, {"nbcjsje", Cents{amount}}, {"drq", when},
                         {"cjsfs", o.settle_method}, {"cczydm", o.cashier}, {"cgsh", g}});

  // Membership cards: points of every card, stored value and the card payment, in both databases.
  if (settled) {
    for (const CardPoints& p : o.points) {
      int kid = 0;
      for (const Card& cd : cards_)
        if (cd.number == p.card) kid = cd.id;
      card_points_[p.card] += p.points;
      for (const char* t : {"club08", "kq_club..club08"})
        w_.insert(t, {{"nkid", kid}, {"cdyywdh", o.number}, {"cywfl", "SVC"}, {"nbcdhjf", static_cast<double>(p.points)},
                      {"nbcdjjf", static_cast<double>(p.points)}, {"nbcljjf", static_cast<double>(p.points)},
                      {"drq", settled_at}, {"cgsh", g}});
    }
    if (card_amount > 0) {
      int kid = 0;
      for (const Card& cd : cards_)
        if (cd.number == o.card) kid = cd.id;
      for (const char* t : {"club07", "kq_club..club07"})
        w_.insert(t, {{"nkid", kid}, {"cdyywdh", o.number}, {"cywfl", "SVC"}, {"nje", Cents{-card_amount}},
                      {"drq", settled_at}, {"cgsh", g}});
    }
    if (o.card_paid) {
      for (const char* t : {"club01d", "kq_club..club01d"})
        w_.insert(t, {{"ckh", o.card}, {"cwtsbh", o.number}, {"nje", Cents{card_amount}}, {"drq", settled_at}, {"cgsh", g}});
    }
  }

  for (char mark : o.marks)
    w_.insert(o.history ? "svcb22c_h" : "svcb22c",
              {{"cwtsbh", o.number}, {"clb", mark}, {"cnr", mark == '0' ? "客户投诉回访" : "电话回访"},
               {"drq", arrived.add_seconds(7200)}, {"cgsh", g}});
  if (!o.account.empty())
    w_.insert("svcb11d2", {{"czhdm", o.account}, {"cdph", v->vin}, {"czt", "1"}, {"cgsh", g}});

  // What a settlement booked on the vehicle (reversed by a cancellation).
  if (settled) {
    VehicleStats& s = stats_[o.vehicle];
    s.hours += hours;
    if (free) {
      s.free_repairs += 1;
      if (category == '0') s.services += 1;
    } else {
      s.repairs += 1;
      s.amount += total;
      if (category == '2' || o.lsbbs == 1) s.services += 1;
    }
  }
  orders_[o.number] = OrderInfo{g, customer_code, k.name, v->plate, v->model, o.history};
}

// A rework record of a repair item; sets the item's rework flag where the work order lives.
void Builder::rework(const std::string& g, const std::string& number, const std::string& item, bool history,
                     const std::vector<Field>& extra) {
  const OrderInfo& info = orders_.at(number);
  const Catalogue& cat = repair_items().at(item);
  std::vector<Field> fields = {{"cwtsbh", number},
                               {"cwxxmdm", item},
                               {"cgsh", g},
                               {"ckhdm", info.customer},
                               {"ckhmc", info.customer_name},
                               {"cpzh", info.plate},
                               {"ccxdm", info.model},
                               {"cxmmc", cat.name},
                               {"ngs", cat.hours},
                               {"ngsf", Cents{cat.fee}}};
  fields.insert(fields.end(), extra.begin(), extra.end());
  w_.insert(history ? "svcb50_h" : "svcb50", fields);
  w_.execute(info.history ? "UPDATE svcb20d_h SET lfgbs = 1 WHERE cwtsbh = :p1 AND cwxxmdm = :p2 AND cgsh = :p3"
                          : "UPDATE svcb20d SET lfgbs = 1 WHERE cwtsbh = :p1 AND cwxxmdm = :p2 AND cgsh = :p3",
             {number, item, g});
}

void Builder::terminal_job(const std::string& g, const std::string& number, const std::string& item, int rework,
                           int state, double hours, const std::string& controller, const std::string& station,
                           const DateTime& sent, const DateTime& started) {
  const OrderInfo& info = orders_.at(number);
  const double unit = g == "01" ? 0.1 : 0.5;  // wtci90.nsjdw
  w_.insert("wtcb01c", {{"dxcrq", sent},
                        {"cwtslsh", number.substr(0, 1) + (number.size() > 6 ? number.substr(6) : std::string())},
                        {"cwtsbh", number},
                        {"cpzh", info.plate},
                        {"ckh", "11111111"},
                        {"cwxxmdm", item},
                        {"cwxgwdm", controller},
                        {"dpgsj", sent},
                        {"lzjbs", 0},
                        {"lfxbs", rework},
                        {"lzt", state},
                        {"nscsj", hours / unit},
                        {"cgwdm", station},
                        {"dkssj", started},
                        {"cgsh", g}});
}

// Vehicles with their statistics (a base from before the demo plus what the
// demo's settlements booked), cards with their balances, VIP records.
void Builder::vehicles_and_cards() {
  for (const Vehicle& v : vehicles_) {
    const VehicleStats& s = stats_[v.id];
    const int base = 1 + v.id % 4;
    w_.insert("crmc04", {{"id", v.id},
                         {"cgsh", v.id < 200 ? "01" : "02"},
                         {"ckhdm", v.customer},
                         {"cdph", v.vin},
                         {"cpzh", v.plate},
                         {"cfdjh", v.engine},
                         {"ccxdm", v.model},
                         {"ccp", v.make},
                         {"ltybs", v.stopped},
                         {"ngs", 2.5 * base + s.hours},
                         {"nmfwxcs", 1 + s.free_repairs},
                         {"nbycs", base + s.services},
                         {"nwxcslj", base + s.repairs},
                         {"nljje", Cents{base * 56000 + s.amount}}});
  }
  for (const Card& c : cards_) {
    const int64_t points = c.base_points + card_points_[c.number];
    for (const char* t : {"club01c", "kq_club..club01c"})
      w_.insert(t, {{"id", c.id},
                    {"ckh", c.number},
                    {"ckhdm", c.customer},
                    {"ckhmc", c.holder},
                    {"ndhjf", static_cast<double>(points)},
                    {"ndjjf", static_cast<double>(points)},
                    {"nljjf", static_cast<double>(points + 500)},
                    {"nknye", Cents{c.stored}},
                    {"lsdbs", c.lost},
                    {"ltybs", c.stopped},
                    {"lblbs", c.active},
                    {"dyxrq", at(c.valid_days, "23:59")},
                    {"dhfdqr", at(c.renewal_days, "23:59")},
                    {"cgsh", c.company}});
    for (const char* t : {"club03", "kq_club..club03"})
      w_.insert(t, {{"ncldaid", c.vehicle}, {"nkid", c.id}, {"cgsh", c.company}});
  }
  // VIP records: valid, expired, reported lost, stopped.
  const struct {
    int vehicle;
    const char* card;
    int lost, stopped, days;
    const char* company;
  } vips[] = {{1, "8801000001", 0, 0, 365, "01"},   {5, "8801000009", 0, 0, -20, "01"},
              {203, "8802000001", 0, 0, 200, "02"}, {202, "8802000002", 0, 0, -5, "02"},
              {204, "8802000003", 1, 0, 300, "02"}, {205, "8802000004", 0, 1, 300, "02"}};
  for (const auto& v : vips)
    w_.insert("vipb01", {{"nclid", v.vehicle}, {"ckh", v.card}, {"lsdbs", v.lost}, {"ltybs", v.stopped},
                         {"dyxrq", at(v.days, "23:59")}, {"cgsh", v.company}});
}

// ------------------------------------------------------------------ company 01: no labour-hour terminals, club cards

void Builder::company01_orders() {
  const std::string g = "01";
  auto order = [&](char category, int seq, int vehicle) {
    WorkOrder o;
    o.number = wo(category, g, seq);
    o.vehicle = vehicle;
    return o;
  };
  auto settled = [&](char category, int seq, int vehicle, char status = '1', int day = 0) {
    WorkOrder o = order(category, seq, vehicle);
    o.status = status;
    o.settle_day = day;
    o.arrive_day = day - 1;
    o.items = {{.code = "BY001"}, {.code = "BY002", .mechanic = "102"}};
    o.parts = {{.code = "0W20-4L"}, {.code = "JL-001"}, {.code = "KL-002"}};
    return o;
  };

  // Under repair.
  {
    WorkOrder o = order('1', 1, 1);
    o.arrive_time = "08:30";
    o.items = {{.code = "BY001", .station = "01"},
               {.code = "ZD001", .completed = false, .mechanic = "102"},
               {.code = "DQ001", .added = true, .started = false, .completed = false, .team = "B05", .mechanic = "501"},
               {.code = "SB001", .nature = '1', .started = false, .completed = false}};
    o.parts = {{.code = "0W20-4L"},
               {.code = "JL-001"},
               {.code = "SCP-F01", .returned = 1},                 // issued by mistake, returned
               {.code = "DP-001", .qty = 4, .returned = 1, .batch = "B2024-017"}};
    o.extras = {{"QX-01", "发动机清洗剂", 25.0, 1}};
    add(g, o);
  }
  {
    WorkOrder o = order('1', 2, 2);
    o.arrive_day = -1;
    o.arrive_time = "14:00";
    o.deliver_day = 0;
    o.deliver_time = "12:00";  // agreed before arrival: the inspection sheet leaves it out
    o.checked = 1;
    o.items = {{.code = "KT001"}};
    o.parts = {{.code = "KTL-R134", .qty = 2}};
    add(g, o);
  }
  add(g, order('2', 3, 3));  // no repair items at all
  {
    WorkOrder o = order('1', 4, 4);
    o.prior_arrears = 1;
    o.items = {{.code = "FDJ01", .completed = false}};
    add(g, o);
  }
  {
    WorkOrder o = order('1', 31, 9);
    o.arrive_time = "10:00";
    o.deliver_day = 0;
    o.deliver_time = "10:00";  // agreed time equal to arrival
    o.contract = today_.to_date_string().substr(0, 4) + today_.to_date_string().substr(5, 2) + "0012";
    o.inspection = today_.to_date_string().substr(0, 4) + today_.to_date_string().substr(5, 2) + "0007";
    o.items = {{.code = "BS001", .completed = false}, {.code = "LT001", .mechanic = "102"}};
    add(g, o);
  }

  // Settled today and cancellable.
  {
    WorkOrder o = order('1', 5, 5);
    o.status = '1';
    o.arrive_day = -2;
    o.settle_time = "10:05";
    o.labour_discount = 10;
    o.material_discount = 5;
    o.items = {{.code = "BY001"},
               {.code = "ZD002", .mechanic = "102"},
               {.code = "SB001", .nature = '1'},
               {.code = "KT001", .nature = '2', .team = "B02", .mechanic = "201"},
               {.code = "XC001", .nature = '3', .team = "B06", .mechanic = ""},
               {.code = "LT001", .added = true}};
    o.parts = {{.code = "0W20-4L"},
               {.code = "JL-001"},
               {.code = "KL-002", .returned = 1},                      // fully returned
               {.code = "DP-001", .qty = 4, .returned = 1, .batch = "B2024-017"},
               {.code = "YS-001", .nature = '3'},
               {.code = "SCP-R01", .issued_name = "后刹车片(原厂)"}};
    o.extras = {{"QX-01", "发动机清洗剂", 25.0, 1}, {"FL-02", "防冻液补充", 12.5, 2}};
    o.management_fee = 2000;
    o.auxiliary_fee = 1500;
    o.receipts = 2;
    o.marks = {'1'};
    add(g, o);
  }
  {
    WorkOrder o = order('1', 6, 1);
    o.status = '1';
    o.settle_time = "11:20";
    o.arrive_day = -1;
    o.items = {{.code = "ZD001"}, {.code = "DP001", .mechanic = "102"}};
    o.parts = {{.code = "SCP-F01"}, {.code = "DP-001", .qty = 4}};
    o.card = "8801000001";
    o.card_paid = true;
    o.card_amount = 20000;
    o.points = {{"8801000001", 150}, {"8801000002", 50}};
    add(g, o);
  }
  {
    WorkOrder o = settled('1', 7, 3);
    o.card = "8801000003";
    o.card_paid = true;
    o.points = {{"8801000003", 80}};
    add(g, o);
  }
  {
    WorkOrder o = settled('2', 8, 6, '2');
    o.items.push_back({.code = "LT001"});
    o.guarantor = "王保国";
    o.invoice_type = "1";
    o.invoice_no = "No.08812345";
    o.paid_on_credit = 30000;
    add(g, o);
  }
  {
    WorkOrder o = settled('1', 9, 7, '2');
    o.guarantor = "李担保";
    add(g, o);  // on credit, nothing received: no receipt at all
  }
  {
    WorkOrder o = order('0', 10, 8);
    o.status = '1';
    o.items = {{.code = "SB001", .nature = '1'}};
    o.parts = {{.code = "0W20-4L", .nature = '1'}, {.code = "JL-001", .nature = '1'}};
    add(g, o);  // free first service: total 0, no receipt
  }
  {
    WorkOrder o = order('F', 11, 10);
    o.status = '1';
    o.items = {{.code = "DQ001", .nature = '3', .team = "B05", .mechanic = "501"}};
    add(g, o);
  }
  {
    WorkOrder o = order('A', 12, 12);
    o.status = '1';
    o.customer = "K0105";
    o.arrive_day = -3;
    o.items = {{.code = "BJ001", .team = "B03", .mechanic = "301"}, {.code = "PQ001", .team = "B04", .mechanic = "401"}};
    o.parts = {{.code = "QQ-BXG"}, {.code = "YQ-0001", .qty = 2}};
    o.settle_method = "03";
    add(g, o);
  }
  {
    WorkOrder o = order('A', 13, 13);
    o.status = '2';
    o.customer = "K0105";
    o.arrive_day = -2;
    o.items = {{.code = "BJ001", .team = "B03", .mechanic = "301"}};
    o.parts = {{.code = "QQ-BXG"}};
    o.guarantor = "人保理赔";
    add(g, o);
  }
  {
    WorkOrder o = order('Z', 14, 14);
    o.status = '1';
    o.items = {{.code = "BS001", .nature = '2'}, {.code = "XC001", .team = "B06", .mechanic = ""}};
    o.parts = {{.code = "FDJ-PD", .nature = '2'}};
    o.account = "ZH01000014";
    add(g, o);
  }
  {
    WorkOrder o = settled('V', 15, 15);
    o.account = "ZH01000015";
    add(g, o);
  }
  {
    WorkOrder o = settled('S', 16, 6);
    o.items = {{.code = "FDJ01", .nature = '2'}, {.code = "XC001", .team = "B06", .mechanic = ""}};
    o.account = "ZH01000016";
    o.account_state = "2";
    add(g, o);
  }

  // Settled today but not cancellable.
  {
    WorkOrder o = settled('1', 17, 2);
    o.batch = 3;
    add(g, o);
  }
  {
    WorkOrder o = settled('1', 18, 3);
    o.voucher = 1024;
    add(g, o);
  }
  {
    WorkOrder o = settled('1', 19, 4);
    o.finance_done = 1;
    add(g, o);
  }
  {
    WorkOrder o = settled('1', 20, 5, '2');
    o.guarantor = "赵担保";
    o.later_receipt = 10000;
    add(g, o);
  }

  // Settled on earlier days.
  {
    WorkOrder o = settled('1', 21, 6, '1', -1);
    o.items.push_back({.code = "ZD001"});
    add(g, o);
  }
  {
    WorkOrder o = settled('2', 22, 7, '2', -3);
    o.guarantor = "钱担保";
    o.paid_on_credit = 10000;
    add(g, o);
  }
  add(g, settled('X', 23, 11));  // category missing from svcc90; its vehicle is stopped

  // Contract modes.
  {
    WorkOrder o = settled('1', 24, 8);
    o.mode = '1';
    o.package_fee = 80000;
    add(g, o);
  }
  {
    WorkOrder o = settled('1', 25, 9);
    o.mode = '2';
    o.package_fee = 30000;
    add(g, o);
  }
  {
    WorkOrder o = settled('2', 26, 10);
    o.lsbbs = 1;
    add(g, o);
  }
  {
    WorkOrder o = settled('1', 27, 3);
    o.card = "8801000003";  // card on record, not paid by card
    add(g, o);
  }
  {
    WorkOrder o = settled('1', 28, 4);
    o.card = "8801000004";
    o.card_paid = true;
    o.card_amount = 5000;
    o.points = {{"8801000004", 30}};
    add(g, o);  // the card has expired since
  }
  {
    WorkOrder o = settled('1', 29, 5, '2', -2);
    o.prior_arrears = 1;
    o.guarantor = "孙担保";
    add(g, o);
  }
  {
    WorkOrder o = settled('1', 30, 12);
    o.card_null = true;
    add(g, o);
  }
  {
    WorkOrder o = settled('1', 32, 13);
    o.marks = {'0', '1'};
    o.receipts = 3;
    add(g, o);
  }

  // History.
  {
    WorkOrder o = settled('1', 41, 2, '1', -40);
    o.history = true;
    o.items = {{.code = "BY001"}, {.code = "ZD001", .mechanic = "102"}};
    o.marks = {'0'};
    add(g, o);
  }
  {
    WorkOrder o = settled('2', 42, 3, '2', -100);
    o.history = true;
    o.guarantor = "周担保";
    o.items = {{.code = "KT001", .team = "B02", .mechanic = "201"}};
    add(g, o);
  }
  {
    WorkOrder o = order('A', 43, 12);
    o.history = true;
    o.status = '1';
    o.customer = "K0105";
    o.arrive_day = -62;
    o.settle_day = -60;
    o.items = {{.code = "BJ001", .team = "B03", .mechanic = "301"}};
    o.parts = {{.code = "QQ-BXG"}};
    o.archived_postcode = "100031-0088";
    add(g, o);
  }
  {
    WorkOrder o = order('1', 44, 10);
    o.history = true;  // archived without a settlement
    o.arrive_day = -90;
    o.items = {{.code = "DQ001", .completed = false, .team = "B05", .mechanic = "501"}};
    add(g, o);
  }

  // Rework records: current work order, without mechanic, with codes that
  // have no master row, on a history work order, and an old one in history.
  rework(g, wo('1', g, 5), "ZD002", false,
         {{"nkk", Cents{5000}}, {"cbzdm", "B01"}, {"czxrdm", "102"}, {"dfxrq", at(0, "15:00")}, {"cczydm", "003"}});
  rework(g, wo('1', g, 6), "ZD001", false,
         {{"nkk", Cents{0}}, {"cbzdm", "B02"}, {"czxrdm", ""}, {"dfxrq", at(0, "15:30")}, {"cczydm", "003"}});
  rework(g, wo('1', g, 21), "BY001", false,
         {{"nkk", Cents{1000}}, {"cbzdm", "B99"}, {"czxrdm", "999"}, {"dfxrq", at(-1, "16:00")}, {"cczydm", "003"}});
  rework(g, wo('1', g, 41), "ZD001", false,
         {{"nkk", Cents{3000}}, {"cbzdm", "B01"}, {"czxrdm", "101"}, {"dfxrq", at(-5, "09:30")}, {"cczydm", "003"}});
  rework(g, wo('2', g, 42), "KT001", true,
         {{"nkk", Cents{8000}}, {"cbzdm", "B02"}, {"czxrdm", "201"}, {"dfxrq", at(-95, "10:00")}, {"cczydm", "003"}});
}

// ------------------------------------------------------------------ company 02: labour-hour terminals, IC cards

void Builder::company02_orders() {
  const std::string g = "02";
  auto order = [&](char category, int seq, int vehicle) {
    WorkOrder o;
    o.number = wo(category, g, seq);
    o.vehicle = vehicle;
    o.adviser = "011";
    o.clerk = "003";
    o.cashier = "002";
    return o;
  };
  const DateTime morning = at(0, "08:40");
  {
    WorkOrder o = order('1', 1, 201);
    o.items = {{.code = "BY001", .station = "01"},
               {.code = "ZD001", .station = "02"},
               {.code = "FDJ01", .completed = false, .station = "01"},
               {.code = "KT001", .team = "B02", .mechanic = "201", .station = "03"}};
    o.parts = {{.code = "0W20-4L"}, {.code = "JL-001"}};
    add(g, o);
    for (const char* item : {"BY001", "ZD001", "FDJ01", "KT001"}) {
      const Catalogue& c = repair_items().at(item);
      std::string station = std::string(item) == "KT001" ? "03" : std::string(item) == "ZD001" ? "02" : "01";
      terminal_job(g, o.number, item, 0, std::string(item) == "FDJ01" ? 2 : 3, c.hours,
                   station == "03" ? "K2" : "K1", station, morning, morning.add_seconds(600));
    }
    rework(g, o.number, "KT001", false,
           {{"nkk", Cents{4000}}, {"cbzdm", "B02"}, {"czxrdm", "201"}, {"dfxrq", at(0, "14:10")}, {"cczydm", "003"},
            {"cwxgwdm", "K2"}, {"cgwdm", "03"}, {"lksbs", 0}, {"lwcbs", 0}, {"lzt", 1}});
    terminal_job(g, o.number, "KT001", 1, 1, 2.0, "K2", "03", at(0, "14:10"), DateTime::absent());
  }
  {
    WorkOrder o = order('1', 2, 202);
    o.arrive_day = -1;
    o.items = {{.code = "ZD002", .station = "02"}, {.code = "LT001", .station = "05"}};
    add(g, o);
    terminal_job(g, o.number, "ZD002", 0, 3, 1.2, "K1", "02", at(-1, "10:00"), at(-1, "10:05"));
    rework(g, o.number, "ZD002", false,
           {{"nkk", Cents{2000}}, {"cbzdm", "B01"}, {"czxrdm", "101"}, {"dfxrq", at(0, "09:15")}, {"cczydm", "003"},
            {"cwxgwdm", "K1"}, {"cgwdm", "02"}, {"lksbs", 1}, {"lwcbs", 0}, {"lzt", 2}});
    terminal_job(g, o.number, "ZD002", 1, 2, 1.2, "K1", "02", at(0, "09:15"), at(0, "09:40"));
  }
  {
    WorkOrder o = order('2', 3, 204);
    o.items = {{.code = "BY001", .station = "01"}, {.code = "BY002", .station = "01"}, {.code = "DP001", .station = "02"}};
    o.parts = {{.code = "DP-001", .qty = 4}};
    add(g, o);
  }
  {
    WorkOrder o = order('1', 8, 205);
    o.items = {{.code = "FDJ01", .completed = false, .station = "01"}};
    add(g, o);  // nothing completed yet: cannot take a rework record
  }
  {
    WorkOrder o = order('1', 4, 203);
    o.status = '1';
    o.arrive_day = -1;
    o.labour_discount = 5;
    o.items = {{.code = "BY001", .station = "01"}, {.code = "LT001", .station = "05"}};
    o.parts = {{.code = "0W20-4L"}, {.code = "JL-001"}, {.code = "LT-185", .qty = 2, .returned = 2}};
    o.card = "8802000001";
    o.card_paid = true;
    o.card_amount = 10000;
    o.points = {{"8802000001", 60}};
    add(g, o);
  }
  {
    WorkOrder o = order('A', 5, 206);
    o.status = '1';
    o.customer = "K0205";
    o.arrive_day = -4;
    o.items = {{.code = "BJ001", .team = "B03", .mechanic = "301"}, {.code = "PQ001", .team = "B04", .mechanic = "301"}};
    o.parts = {{.code = "QQ-BXG"}};
    add(g, o);
  }
  {
    WorkOrder o = order('1', 6, 202);
    o.status = '2';
    o.arrive_day = -2;
    o.guarantor = "郑担保";
    o.items = {{.code = "BS001"}};
    o.parts = {{.code = "FDJ-PD"}};
    add(g, o);
  }
  {
    WorkOrder o = order('1', 7, 204);
    o.status = '1';
    o.arrive_day = -6;
    o.settle_day = -5;
    o.items = {{.code = "ZD001"}};
    o.parts = {{.code = "SCP-F01"}};
    add(g, o);
  }
  {
    WorkOrder o = order('1', 41, 201);
    o.history = true;
    o.status = '1';
    o.arrive_day = -31;
    o.settle_day = -30;
    o.items = {{.code = "KT001", .team = "B02", .mechanic = "201"}};
    add(g, o);
    rework(g, o.number, "KT001", true,
           {{"nkk", Cents{1500}}, {"cbzdm", "B02"}, {"czxrdm", "201"}, {"dfxrq", at(-25, "11:00")}, {"cczydm", "003"},
            {"cwxgwdm", "K2"}, {"cgwdm", "03"}, {"lksbs", 1}, {"lwcbs", 1}, {"lzt", 3}});
  }
}

// ------------------------------------------------------------------ the whole

void Builder::build() {
  companies();
  for (const Company* c : {&c01_, &c02_}) master_data(*c);

  // code, name, department, category, stopped, state, busy-until
  staff(c01_, {{"001", "王建国", "Q01", "1", "0", "", ""},  {"002", "李秀兰", "C01", "3", "0", "", ""},
               {"003", "赵强", "Q01", "4", "0", "", ""},    {"004", "陈静", "C01", "3", "0", "", ""},
               {"009", "马超", "C01", "3", "1", "", ""},    {"011", "孙莉", "Q01", "2", "0", "", ""},
               {"012", "周杰", "Q01", "2", "0", "", ""},    {"101", "刘德明", "B01", "6", "0", "忙碌", "17:30"},
               {"102", "杨帆", "B01", "6", "0", "空闲", ""}, {"103", "吴刚", "B01", "5", "0", "忙碌", "16:00"},
               {"104", "郑勇", "B01", "6", "1", "", ""},    {"201", "钱进", "B02", "6", "0", "空闲", ""},
               {"301", "冯涛", "B03", "6", "0", "忙碌", "18:00"}, {"401", "褚亮", "B04", "6", "0", "空闲", ""},
               {"501", "卫东", "B05", "6", "0", "空闲", ""}, {"601", "蒋检", "Q01", "7", "0", "", ""}});
  staff(c02_, {{"001", "刘洋", "Q01", "1", "0", "", ""},   {"002", "孙丽", "C01", "3", "0", "", ""},
               {"003", "周涛", "Q01", "4", "0", "", ""},   {"011", "黄蓉", "Q01", "2", "0", "", ""},
               {"101", "何平", "B01", "6", "0", "忙碌", "17:00"}, {"102", "蔡明", "B01", "5", "0", "空闲", ""},
               {"201", "高峰", "B02", "6", "0", "空闲", ""}, {"301", "林森", "B03", "6", "0", "空闲", ""}});
  // code, authorities, stopped
  operators(c01_, {{"001", "CJ,CP,CQ", "0"}, {"002", "CP", "0"}, {"003", "", "0"}, {"004", "CJ,CP", "0"}, {"009", "CJ,CP,CQ", "1"}});
  operators(c02_, {{"001", "CJ,CP,CQ", "0"}, {"002", "CP", "0"}, {"003", "", "0"}});

  customers(c01_, {{"K0101", "北京顺达物流有限公司", "北京市朝阳区酒仙桥路10号", "010-64361234", "100015", "工商银行酒仙桥支行", "李明", "13901012345"},
                   {"K0102", "张伟", "北京市海淀区学院路5号", "13801001111", "100083", "", "张伟", "13801001111"},
                   {"K0103", "北京华夏出租汽车公司", "北京市东城区东直门外大街8号", "010-84561200", "100027", "建设银行东直门支行", "王芳", "13911112222"},
                   {"K0104", "刘芳", "北京市丰台区南三环西路16号", "13651234567", "100068", "", "刘芳", "13651234567"},
                   {"K0105", "中国人民财产保险北京分公司", "北京市西城区西长安街88号", "010-66012345", "100031", "中国银行西单支行", "赵理赔", "13700001234"},
                   {"K0106", "陈志强", "北京市朝阳区望京西路2号", "13520003333", "100102", "", "陈志强", "13520003333"},
                   {"K0107", "北京市第一建筑工程公司", "北京市西城区百万庄大街11号", "010-68321111", "100037", "农业银行百万庄支行", "韩工", "13810102020"},
                   {"K0108", "赵丽", "北京市通州区新华大街3号", "13699990000", "101100", "", "赵丽", "13699990000"},
                   {"K0109", "孙浩", "北京市昌平区回龙观东大街7号", "13366668888", "102208", "", "孙浩", "13366668888"},
                   {"K0110", "周敏", "北京市大兴区黄村西大街12号", "15011112222", "102600", "", "周敏", "15011112222"}});
  customers(c02_, {{"K0201", "北京亦庄精密制造有限公司", "北京经济技术开发区科创十街15号", "010-67851111", "100176", "建设银行亦庄支行", "吴经理", "13911223344"},
                   {"K0202", "郭强", "北京市大兴区亦庄镇文化园西路6号", "13811220000", "100176", "", "郭强", "13811220000"},
                   {"K0203", "马丽", "北京市大兴区旧宫镇德茂路3号", "13522334455", "100076", "", "马丽", "13522334455"},
                   {"K0204", "北京京东方物流有限公司", "北京经济技术开发区西环中路8号", "010-67859999", "100176", "招商银行亦庄支行", "许明", "13699887766"},
                   {"K0205", "中国平安财产保险北京分公司", "北京市朝阳区建国路81号", "010-65001111", "100025", "平安银行建国路支行", "钱理赔", "13700004321"}});

  vehicles_ = {
      {1, "K0101", "京A12345", "LSVAM4187C2123401", "BJ1234561", "SVW-PST18T", "大众"},
      {2, "K0102", "京B23456", "LFV2A21K8A3012302", "CDA304512", "FAW-JETTA", "大众"},
      {3, "K0103", "京C34567", "LSVNV2182B2203403", "AJR882103", "SVW-STN2000", "大众"},
      {4, "K0104", "京E45678", "LHGCP1683A8004504", "K24Z20045", "GAC-ACD24", "本田"},
      {5, "K0106", "京F56789", "LVGBE40K8AG005605", "2AR305560", "GTMC-CMR20", "丰田"},
      {6, "K0107", "京G67890", "LFV3A24F3A3006706", "CAJ667061", "FAW-AUDIA6L", "奥迪"},
      {7, "K0107", "京G67891", "LFV3A24F5A3006707", "CAJ667072", "FAW-AUDIA6L", "奥迪"},
      {8, "K0108", "京H78901", "LSVAM4181C2007808", "BJ7780812", "SVW-PST18T", "大众"},
      {9, "K0109", "京J89012", "LEN2020J9B1008909", "BJ8890913", "BJ-JEEP2020", "北京"},
      {10, "K0110", "京K90123", "LFV2A21K0A3010010", "CDA100114", "FAW-JETTA", "大众"},
      {11, "K0109", "京A88888", "LSVNV2189B2011011", "AJR110115", "SVW-STN2000", "大众", 1},
      {12, "K0110", "京A88888", "LVGBE40K1AG012012", "2AR120126", "GTMC-CMR20", "丰田"},
      {13, "K0102", "京N13579", "LHGCP1685A8013013", "K24Z13017", "GAC-ACD24", "本田"},
      {14, "K0103", "京L24680", "LSVAM4183C2014014", "BJ1401418", "SVW-PST18T", "大众"},
      {15, "K0101", "京A12346", "LSVAM4185C2015015", "BJ1501519", "SVW-PST18T", "大众"},
      {201, "K0201", "京Q11111", "LSVAM4180C2201201", "BJ2012011", "SVW-PST18T", "大众"},
      {202, "K0202", "京Q22222", "LFV2A21K2A3202202", "CDA202022", "FAW-JETTA", "大众"},
      {203, "K0203", "京Q33333", "LHGCP1687A8203203", "K24Z20333", "GAC-ACD24", "本田"},
      {204, "K0204", "京Q44444", "LVGBE40K3AG204204", "2AR204044", "GTMC-CMR20", "丰田"},
      {205, "K0204", "京Q55555", "LFV3A24F7A3205205", "CAJ205055", "FAW-AUDIA6L", "奥迪"},
      {206, "K0202", "京Q66666", "LEN2020J1B1206206", "BJ2062066", "BJ-JEEP2020", "北京"},
  };
  // id, number, company, customer, holder, vehicle, stored value after the demo, base points,
  // lost, stopped, active, valid until (days), renewal due (days)
  cards_ = {
      {1, "8801000001", "01", "K0101", "北京顺达物流有限公司", 1, 480000, 1200, 0, 0, 1, 365, 180},
      {2, "8801000002", "01", "K0101", "李明", 1, 50000, 300, 0, 0, 1, 365, 180},
      {3, "8801000003", "01", "K0103", "北京华夏出租汽车公司", 3, 120000, 800, 0, 0, 1, 200, 90},
      {4, "8801000004", "01", "K0104", "刘芳", 4, 30000, 200, 0, 0, 1, -10, -10},
      {5, "8801000005", "01", "K0106", "陈志强", 5, 0, 100, 0, 1, 1, 300, 300},
      {6, "8801000006", "01", "K0108", "赵丽", 8, 20000, 100, 1, 0, 1, 300, 300},
      {7, "8801000007", "01", "K0109", "孙浩", 9, 0, 0, 0, 0, 0, 300, 300},
      {8, "8801000008", "01", "K0110", "周敏", 10, 10000, 50, 0, 0, 1, 300, -3},
      {9, "8802000001", "02", "K0203", "马丽", 203, 90000, 400, 0, 0, 1, 200, 100},
      {10, "8802000002", "02", "K0202", "郭强", 202, 0, 100, 0, 0, 1, -5, -5},
  };

  company01_orders();
  company02_orders();
  vehicles_and_cards();

  // Counters of the contract and inspection-sheet numbers already handed out.
  w_.insert("kq_counter", {{"cmk", "SVC"}, {"cjm", "NHTH"}, {"nzhh", 12}, {"cgsh", "01"}});
  w_.insert("kq_counter", {{"cmk", "SVC"}, {"cjm", "NJYDH"}, {"nzhh", 7}, {"cgsh", "01"}});
}

}  // namespace

void write_fixed_content(RowWriter& w, const DateTime& today, const Hasher& hash) {
  Builder b(w, today, hash);
  b.build();
}

}  // namespace kq::demo::detail
