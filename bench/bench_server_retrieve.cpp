// Retrieval of the settlement print list d_svc309_02 into a data window on
// PostgreSQL, against a bare libpq loop that runs the same translated query
// with the same arguments on the same database and reads every value.
//
// Counters:
//   bare_rows/s, dw_rows/s   rows per second of each side, wall clock (the
//                            server's work is part of both)
//   ratio                    data window / bare (target: at least 0.70)
//
// Needs a server (server_bench_support.h); without one it reports an error.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>

#include "data/schema/postgresql_schema.h"
#include "module.h"
#include "platform/db/pg_backend.h"
#include "platform/db/transaction.h"
#include "platform/dw/datawindow/datawindow.h"
#include "platform/dw/definition/definition_set.h"
#include "server_bench_support.h"

namespace {

constexpr const char* kFrom = "2026/01/01";
constexpr const char* kTo = "2026/12/31";

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Settled work orders with customers, vehicles, settlement methods and marks.
std::string fill_sql(int orders) {
  const std::string n = std::to_string(orders), c = std::to_string(orders / 4 + 1);
  return "INSERT INTO acpi03 (cjsfsdm, cjsfsmc, csfbs, cgsh) VALUES ('01','现金','1','01'),('02','转账','1','01');"
         "INSERT INTO crmc01 (ckhdm, ckhmc, cgsh) SELECT 'K' || (100000 + i), (ARRAY['张先生','运输公司','汽车服务中心'])[1 + i % 3], '01' "
         "  FROM generate_series(0, " + c + " - 1) i;"
         "INSERT INTO crmc04 (cgsh, ckhdm, cpzh, ccxdm) SELECT '01', 'K' || (100000 + i), '京A' || lpad(i::text, 5, '0'), 'M1' "
         "  FROM generate_series(0, " + c + " - 1) i;"
         "INSERT INTO svcb20c (cwtsbh, cgsh, id, ckhdm, cwxzt, djsrq, lqqbs, cbgfs, cjsfs, cjsrxm, cfph, nhjje, nysgsf, "
         "  nssgsf, nysclf, nssclf, nhjyh) "
         "SELECT (ARRAY['0','1','2','A'])[1 + i % 4] || '2026' || lpad(i::text, 7, '0'), '01', 1 + i % " + c +
         ", 'K' || (100000 + i % " + c + "), CASE WHEN i % 10 = 0 THEN '0' WHEN i % 4 = 0 THEN '2' ELSE '1' END, "
         "  timestamp '2026-01-01 08:00' + (i % 360) * interval '1 day' + (i % 600) * interval '1 minute', "
         "  CASE WHEN i % 20 = 0 THEN 1 ELSE 0 END, (i % 3)::text, CASE WHEN i % 3 = 0 THEN '02' ELSE '01' END, "
         "  (ARRAY['张三','李四','王晓明','赵敏'])[1 + i % 4], lpad((i * 7919 % 100000000)::text, 8, '0'), "
         "  (i * 37 % 500000) / 100.0, (i * 41 % 500000) / 100.0, (i * 43 % 500000) / 100.0, (i * 47 % 500000) / 100.0, "
         "  (i * 53 % 500000) / 100.0, (i * 59 % 500000) / 100.0 FROM generate_series(0, " + n + " - 1) i;"
         "INSERT INTO svcb22c (cwtsbh, clb, cgsh) SELECT cwtsbh, '0', '01' FROM svcb20c WHERE id % 3 = 0;"
         "ANALYZE;";
}

class Fixture {
 public:
  explicit Fixture(int orders) : name_("kq_bench_list_" + std::to_string(::getpid())) {
    kq::bench::run_sql(kq::bench::server_uri(), "DROP DATABASE IF EXISTS " + name_);
    kq::bench::run_sql(kq::bench::server_uri(), "CREATE DATABASE " + name_ + " TEMPLATE template0 ENCODING 'UTF8'");
    kq::db::ConnectOptions o;
    o.backend = "postgresql";
    o.server = kq::bench::database_uri(name_);
    o.company = "01";
    if (auto r = sqlca.connect(o); !r) abort_with(r.error());
    if (auto r = kq::schema::migrate_postgresql(*sqlca.connection()); !r) abort_with(r.error());
    sqlca.clear_cache();
    if (auto r = kq::db::postgresql_execute_script(*sqlca.connection(), fill_sql(orders)); !r) abort_with(r.error());
    auto d = kq::dw::definition("d_svc309_02");
    if (!d) abort_with(d.error());
    definition = *d;
    auto tr = sqlca.connection()->dialect().translate(definition->query, sqlca.connection()->catalog());
    if (!tr) abort_with(tr.error());
    translation_ = *tr;
    bare_ = PQconnectdb(o.server.c_str());
    PQexec(bare_, "SELECT set_config('kq.company', '01', false)");
    PGresult* p = PQprepare(bare_, "list", translation_.sql.c_str(), 0, nullptr);
    if (PQresultStatus(p) != PGRES_COMMAND_OK) abort_with(PQerrorMessage(bare_));
    PQclear(p);
  }
  ~Fixture() {
    PQfinish(bare_);
    sqlca.disconnect();
    kq::bench::run_sql(kq::bench::server_uri(), "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
  }

  // The bare loop: run the prepared query, read every value as text.
  long bare_rows() {
    std::vector<const char*> values;
    for (const auto& p : translation_.params) values.push_back(p.name == "ls_qsrq" ? kFrom : kTo);
    PGresult* r = PQexecPrepared(bare_, "list", static_cast<int>(values.size()), values.data(), nullptr, nullptr, 0);
    const int rows = PQntuples(r), cols = PQnfields(r);
    size_t bytes = 0;
    for (int i = 0; i < rows; ++i)
      for (int c = 0; c < cols; ++c) {
        benchmark::DoNotOptimize(PQgetvalue(r, i, c));
        bytes += static_cast<size_t>(PQgetlength(r, i, c));
      }
    benchmark::DoNotOptimize(bytes);
    PQclear(r);
    return rows;
  }

  kq::db::Transaction sqlca;
  kq::dw::DefinitionPtr definition;

 private:
  [[noreturn]] static void abort_with(const std::string& why) {
    std::fprintf(stderr, "%s\n", why.c_str());
    std::exit(1);
  }
  std::string name_;
  kq::db::Translation translation_;
  PGconn* bare_ = nullptr;
};

void BM_ServerRetrieveAgainstBareLibpq(benchmark::State& state) {
  if (kq::bench::server_uri().empty()) {
    state.SkipWithError("no server: set KQ_BENCH_POSTGRESQL (scripts/pg_cluster.sh start; scripts/pg_cluster.sh env)");
    return;
  }
  static Fixture f(static_cast<int>(state.range(0)));
  kq::dw::DataWindow dw;
  dw.dataobject(f.definition);
  dw.settransobject(f.sqlca);
  double bare_s = 0, dw_s = 0;
  long bare_rows = 0, dw_rows = 0;
  for (auto _ : state) {
    const double t0 = now();
    bare_rows += f.bare_rows();
    const double t1 = now();
    const long n = dw.retrieve(kFrom, kTo);
    const double t2 = now();
    if (n < 0) state.SkipWithError(dw.last_error().c_str());
    dw_rows += n;
    bare_s += t1 - t0;
    dw_s += t2 - t1;
  }
  const double bare_rate = static_cast<double>(bare_rows) / bare_s;
  const double dw_rate = static_cast<double>(dw_rows) / dw_s;
  state.counters["bare_rows/s"] = bare_rate;
  state.counters["dw_rows/s"] = dw_rate;
  state.counters["ratio"] = dw_rate / bare_rate;
  state.counters["rows"] = static_cast<double>(dw_rows) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ServerRetrieveAgainstBareLibpq)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  kq::module::install();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
