// dw --from-archive: the settlement slip archived in svcb61 shown again, as it
// was when archived, whatever happened to the work order since.
#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "module.h"
#include "framework/session.h"
#include "platform/dw/datawindow/datawindow.h"
#include "support/cli_demo_shop.h"

namespace kq {
namespace {

using kq::testing::read_file;
using kq::testing::run_kq;

constexpr const char* kWorkOrder = "1010000000005";  // the demo's main cash cancellation, company 01
constexpr const char* kOtherOrder = "1010000000007";  // a card settlement of company 01, left as it is

class CliDwArchive : public kq::testing::CliDemoShop {
 protected:
  // A session of `company` on the demo shop, current on this thread while `body` runs;
  // what body writes is committed.
  template <typename F>
  void with_session(const std::string& company, F&& body) {
    module::install();
    fw::Session s;
    s.g.gs_gsh = company;
    db::ConnectOptions options;
    options.database = db_;
    auto connected = s.connect(options);
    ASSERT_TRUE(connected) << connected.error();
    fw::SessionScope scope(s);
    body(s);
    EXPECT_EQ(s.sqlca.commit(), 0) << s.sqlca.sqlerrtext;
  }

  static void run(fw::Session& s, const std::string& sql, std::initializer_list<db::HostVar> vars = {}) {
    EXPECT_EQ(s.sqlca.exec(sql, vars), 0) << sql << ": " << s.sqlca.sqlerrtext;
  }

  // Inserts an archive row of `company` for `wtsbh` with `blob` in cblob (none: NULL)
  // and returns its id.
  int64_t insert_archive(const std::string& company, const std::string& wtsbh, const std::optional<Blob>& blob) {
    Long id;
    with_session(company, [&](fw::Session& s) {
      run(s, "insert into svcb61 ( ctype , nver , cwtsbh , ddate , cczydm , cbz , cgsh ) values ( '1' , 1 , "
             ":is_wtsbh , :ldt_now , '001' , '测试' , :gs_gsh )",
          {{"is_wtsbh", wtsbh}, {"ldt_now", *DateTime::parse("2026/12/08 10:30:00")}, {"gs_gsh", company}});
      run(s, "select max(id) into :ll_id from svcb61 where cgsh = :gs_gsh", {{"gs_gsh", company}, {"ll_id", db::out(id)}});
      if (blob) run(s, "updateblob svcb61 set cblob = :lb_jsd where id = :ll_id", {{"lb_jsd", *blob}, {"ll_id", id}});
    });
    return id.value_or(0);
  }

  // The slip of `wtsbh` retrieved now, as the cancellation archives it.
  Blob slip_state(const std::string& company, const std::string& wtsbh) {
    Blob blob;
    with_session(company, [&](fw::Session& s) {
      dw::DataWindow slip;
      ASSERT_EQ(slip.dataobject("d_svc305_jsd1"), 1) << slip.last_error();
      slip.settransobject(s.sqlca);
      ASSERT_EQ(slip.retrieve(wtsbh, company), 1) << s.sqlca.sqlerrtext;
      blob = slip.state_blob();
    });
    return blob;
  }

  static std::string archived(int64_t id, const std::string& format, const std::string& company = "01") {
    auto r = run_kq("dw --from-archive " + std::to_string(id) + " --db " + db_ + " --company " + company +
                    " --format " + format);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  }
  static std::string live(const std::string& format) {
    auto r = run_kq(std::string("dw d_svc305_jsd1 ") + kWorkOrder + " 01" + at() + " --format " + format);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  }
  // The error of an archive that cannot be shown (exit status 1).
  static std::string refused(int64_t id, const std::string& company = "01") {
    auto r = run_kq("dw --from-archive " + std::to_string(id) + " --db " + db_ + " --company " + company +
                    " --format html");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_TRUE(r.out.empty());
    return r.err;
  }
};

TEST_F(CliDwArchive, ShowsTheSlipAsItWasWhenArchivedWhateverHappenedToTheWorkOrder) {
  const std::string html = live("html");
  const std::string json = live("json");
  ASSERT_NE(html.find(kWorkOrder), std::string::npos);
  const int64_t id = insert_archive("01", kWorkOrder, slip_state("01", kWorkOrder));

  EXPECT_EQ(archived(id, "html"), html);
  EXPECT_EQ(archived(id, "json"), json);
  EXPECT_EQ(archived(id, "csv"), live("csv"));
  std::string pdf_file = (dir_ / "archived.pdf").string();
  auto pdf = run_kq("dw --from-archive " + std::to_string(id) + at() + " --format pdf --out " + pdf_file);
  ASSERT_EQ(pdf.status, 0) << pdf.err;
  EXPECT_EQ(read_file(pdf_file).rfind("%PDF", 0), 0u);

  // The work order is changed: customer, company name, repair items.
  with_session("01", [&](fw::Session& s) {
    run(s, "update crmc01 set ckhmc = '后来改名的客户' where cgsh = '01' and ckhdm = (select ckhdm from svcb20c "
           "where cwtsbh = :w and cgsh = '01')",
        {{"w", kWorkOrder}});
    run(s, "update sysi90 set ccsz = '后来改名的公司' where cssxt = 'SYS' and ccsdm = 'CGSMC' and cgsh = '01'");
    run(s, "delete from svcb20d where cwtsbh = :w", {{"w", kWorkOrder}});
  });
  const std::string changed = live("html");
  EXPECT_NE(changed.find("后来改名的客户"), std::string::npos);
  EXPECT_NE(changed, html);
  EXPECT_EQ(archived(id, "html"), html);

  // ... and then deleted.
  with_session("01", [&](fw::Session& s) {
    run(s, "delete from svcb20c where cwtsbh = :w", {{"w", kWorkOrder}});
    run(s, "delete from svcb25 where cwtsbh = :w", {{"w", kWorkOrder}});
  });
  EXPECT_EQ(nlohmann::json::parse(live("json")).size(), 0u);
  EXPECT_EQ(archived(id, "html"), html);
  EXPECT_EQ(archived(id, "json"), json);
}

TEST_F(CliDwArchive, ArchivesThatCannotBeShownAreRefusedClearly) {
  // Another company's archive is not this company's.
  const int64_t other = insert_archive("02", kOtherOrder, slip_state("01", kOtherOrder));
  EXPECT_NE(refused(other).find("there is no archive " + std::to_string(other) + " of company 01"),
            std::string::npos);
  EXPECT_NE(refused(987654).find("there is no archive 987654 of company 01"), std::string::npos);

  const std::string no_blob = refused(insert_archive("01", kOtherOrder, std::nullopt));
  EXPECT_NE(no_blob.find("(work order 1010000000007) holds no archived settlement slip"), std::string::npos) << no_blob;
  EXPECT_NE(refused(insert_archive("01", kOtherOrder, Blob{})).find("holds no archived settlement slip"),
            std::string::npos);

  const Blob state = slip_state("01", kOtherOrder);
  const std::string cut = refused(insert_archive("01", kOtherOrder, Blob{state.bytes.substr(0, state.bytes.size() / 2)}));
  EXPECT_NE(cut.find("is damaged"), std::string::npos) << cut;
  for (const std::string& foreign : {std::string("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n"), std::string("[1, 2, 3]"),
                                     std::string(R"({"format": "other.program", "version": 1})")}) {
    const std::string err = refused(insert_archive("01", kOtherOrder, Blob{foreign}));
    EXPECT_NE(err.find("is not a data window state of kq_svc_309"), std::string::npos) << err;
  }

  auto j = nlohmann::json::parse(state.bytes);
  j["version"] = 7;
  const std::string newer = refused(insert_archive("01", kOtherOrder, Blob{j.dump()}));
  EXPECT_NE(newer.find("newer version of kq_svc_309 (data window state version 7"), std::string::npos) << newer;

  j["version"] = 1;
  j["dataobject"] = "d_svc999_gone";
  const std::string unknown = refused(insert_archive("01", kOtherOrder, Blob{j.dump()}));
  EXPECT_NE(unknown.find("cannot be restored"), std::string::npos) << unknown;
  EXPECT_NE(unknown.find("d_svc999_gone"), std::string::npos) << unknown;
}

TEST_F(CliDwArchive, UsageMistakesAreReportedWithoutTouchingTheDatabase) {
  for (const std::string& args : {std::string("dw --from-archive abc"), std::string("dw --from-archive 0"),
                                  std::string("dw d_svc305_jsd1 --from-archive 1"),
                                  std::string("dw")}) {
    auto r = run_kq(args + at());
    EXPECT_EQ(r.status, 2) << args << ": " << r.err;
    EXPECT_NE(r.err.find("--from-archive"), std::string::npos) << args << ": " << r.err;
  }
}

}  // namespace
}  // namespace kq
