#pragma once
// Every Transact-SQL statement and data window query of the module, as the
// windows and data window definitions hold them: embedded statements with
// host variables, queries with retrieval arguments, and the where-conditions
// of the rework entry's selection lists and existence checks written as
// queries with bound values. Tests of the dialects and of the backends run
// each of them.
#include <array>
#include <string_view>

#include "platform/db/dialect/dialect.h"

namespace kq::db::testing {

struct ModuleStatement {
  std::string_view name;  // data window, or "window.purpose" of an embedded statement
  StatementKind kind;
  std::string_view sql;   // Transact-SQL text
};

// clang-format off
inline constexpr std::array kModuleStatements = {
    ModuleStatement{"f_svc_getid.chassis", StatementKind::Select,
     R"(select top 1 id into :ll_id from crmc04 where cdph = :dph and ltybs = 0 and cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"f_svc_getid.plate", StatementKind::Select,
     R"(select top 1 id into :ll_id from crmc04 where cpzh = :pzh and ltybs = 0 and cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"f_svc_gsgsf.rate", StatementKind::Select,
     R"(select lsygsdj, ngsdj into :li_sygsdj, :ld_gsdj from svcc03 where cgsde = :gsde and cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc301_01", StatementKind::Select,
     R"(SELECT v_svc300_01.id, v_svc300_01.cwtsbh, v_svc300_01.ckhmc, v_svc300_01.cpzh, v_svc300_01.ccxmc, v_svc300_01.dsxrq, v_svc300_01.lshbs, v_svc300_01.cwxzt, v_svc300_01.cgsde, dydjc
FROM v_svc300_01
WHERE v_svc300_01.lqqbs = 0 and cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc304_01", StatementKind::Select,
     R"(SELECT svcb50.cwtsbh, svcb50.ckhdm, svcb50.ckhmc, svcb50.cpzh, svcb50.cwxxmdm, svcb50.cxmmc, svcb50.ngs, svcb50.ngsf, svcb50.cbzdm, svcb50.nkk, svcb50.dfxrq, svcb50.cczydm, svcb50.ccxdm, svcb50.czxrdm, sysc03.cgrmc, sysc02.cbmmc, svcc04.ccxmc, svcb50.cgsh
FROM svcb50
LEFT OUTER JOIN sysc02 ON svcb50.cbzdm = sysc02.cbmdm and svcb50.cgsh = sysc02.cgsh
LEFT OUTER JOIN sysc03 ON svcb50.czxrdm = sysc03.cgrdm and svcb50.cgsh = sysc03.cgsh
LEFT OUTER JOIN svcc04 ON svcb50.ccxdm = svcc04.ccxdm and svcb50.cgsh = svcc04.cgsh
where svcb50.cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc304_02", StatementKind::Select,
     R"(SELECT v_svcb50_svcb50_h.cwtsbh, v_svcb50_svcb50_h.ckhdm, v_svcb50_svcb50_h.ckhmc, v_svcb50_svcb50_h.cpzh, v_svcb50_svcb50_h.cwxxmdm, v_svcb50_svcb50_h.cxmmc, v_svcb50_svcb50_h.ngs, v_svcb50_svcb50_h.ngsf, v_svcb50_svcb50_h.cbzdm, v_svcb50_svcb50_h.nkk, v_svcb50_svcb50_h.dfxrq, v_svcb50_svcb50_h.cczydm, v_svcb50_svcb50_h.ccxdm, v_svcb50_svcb50_h.czxrdm, sysc03.cgrmc, sysc02.cbmmc, svcc04.ccxmc, v_svcb50_svcb50_h.cgsh
FROM v_svcb50_svcb50_h
LEFT OUTER JOIN sysc02 ON v_svcb50_svcb50_h.cbzdm = sysc02.cbmdm and v_svcb50_svcb50_h.cgsh = sysc02.cgsh
LEFT OUTER JOIN sysc03 ON v_svcb50_svcb50_h.czxrdm = sysc03.cgrdm and v_svcb50_svcb50_h.cgsh = sysc03.cgsh
LEFT OUTER JOIN svcc04 ON v_svcb50_svcb50_h.ccxdm = svcc04.ccxdm and v_svcb50_svcb50_h.cgsh = svcc04.cgsh
where v_svcb50_svcb50_h.cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc304_01_gsgl", StatementKind::Select,
     R"(SELECT distinct svcb50.cwtsbh, svcb50.ckhdm, svcb50.ckhmc, svcb50.cpzh, svcb50.cwxxmdm, svcb50.cxmmc, svcb50.ngs, svcb50.ngsf, svcb50.cbzdm, svcb50.nkk, svcb50.dfxrq, svcb50.cczydm, svcb50.ccxdm, svcb50.czxrdm, sysc03.cgrmc, sysc02.cbmmc, svcc04.ccxmc, svcb50.cwxgwdm, a.cwxgwmc, svcb50.lksbs, svcb50.lwcbs, svcb50.lzt, svcb50.cgwdm, b.cgskzqmc, svcb50.cgsh
FROM svcb50
LEFT OUTER JOIN sysc02 ON svcb50.cbzdm = sysc02.cbmdm and svcb50.cgsh = sysc02.cgsh
LEFT OUTER JOIN sysc03 ON svcb50.czxrdm = sysc03.cgrdm and svcb50.cgsh = sysc03.cgsh
LEFT OUTER JOIN svcc04 ON svcb50.ccxdm = svcc04.ccxdm and svcb50.cgsh = svcc04.cgsh
LEFT OUTER JOIN wtcc01 a ON svcb50.cgwdm = a.cwxgwdm and svcb50.cgsh = a.cgsh
LEFT OUTER JOIN wtcc05 b ON svcb50.cwxgwdm = b.cgskzqdm and svcb50.cgsh = b.cgsh
where svcb50.cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc304_02_gsgl", StatementKind::Select,
     R"(SELECT distinct v_svcb50_svcb50_h.cwtsbh, v_svcb50_svcb50_h.ckhdm, v_svcb50_svcb50_h.ckhmc, v_svcb50_svcb50_h.cpzh, v_svcb50_svcb50_h.cwxxmdm, v_svcb50_svcb50_h.cxmmc, v_svcb50_svcb50_h.ngs, v_svcb50_svcb50_h.ngsf, v_svcb50_svcb50_h.cbzdm, v_svcb50_svcb50_h.cwxgwdm, a.cwxgwmc, v_svcb50_svcb50_h.nkk, v_svcb50_svcb50_h.dfxrq, v_svcb50_svcb50_h.cczydm, v_svcb50_svcb50_h.ccxdm, v_svcb50_svcb50_h.czxrdm, sysc03.cgrmc, sysc02.cbmmc, svcc04.ccxmc, v_svcb50_svcb50_h.lksbs, v_svcb50_svcb50_h.lwcbs, v_svcb50_svcb50_h.lzt, v_svcb50_svcb50_h.cgwdm, b.cgskzqmc, v_svcb50_svcb50_h.cgsh
FROM v_svcb50_svcb50_h
LEFT OUTER JOIN sysc02 ON v_svcb50_svcb50_h.cbzdm = sysc02.cbmdm and v_svcb50_svcb50_h.cgsh = sysc02.cgsh
LEFT OUTER JOIN sysc03 ON v_svcb50_svcb50_h.czxrdm = sysc03.cgrdm and v_svcb50_svcb50_h.cgsh = sysc03.cgsh
LEFT OUTER JOIN svcc04 ON v_svcb50_svcb50_h.ccxdm = svcc04.ccxdm and v_svcb50_svcb50_h.cgsh = svcc04.cgsh
LEFT OUTER JOIN wtcc01 a ON v_svcb50_svcb50_h.cgwdm = a.cwxgwdm and v_svcb50_svcb50_h.cgsh = a.cgsh
LEFT OUTER JOIN wtcc05 b ON v_svcb50_svcb50_h.cwxgwdm = b.cgskzqdm and v_svcb50_svcb50_h.cgsh = b.cgsh
where v_svcb50_svcb50_h.cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc304_01_01", StatementKind::Select,
     R"(SELECT svcb50.cwtsbh, svcb50.ckhdm, svcb50.ckhmc, svcb50.cpzh, svcb50.cwxxmdm, svcb50.cxmmc, svcb50.ngs, svcb50.ngsf, svcb50.cbzdm, svcb50.nkk, svcb50.dfxrq, svcb50.cczydm, svcb50.ccxdm, svcb50.czxrdm, sysc03.cgrmc, sysc02.cbmmc, svcc04.ccxmc, svcb50.cgsh
FROM svcb50
LEFT OUTER JOIN sysc02 ON svcb50.cbzdm = sysc02.cbmdm and svcb50.cgsh = sysc02.cgsh
LEFT OUTER JOIN sysc03 ON svcb50.czxrdm = sysc03.cgrdm and svcb50.cgsh = sysc03.cgsh
LEFT OUTER JOIN svcc04 ON svcb50.ccxdm = svcc04.ccxdm and svcb50.cgsh = svcc04.cgsh
WHERE ( svcb50.cwtsbh = :bh ) AND ( svcb50.cwxxmdm = :dm ) AND ( svcb50.cxmmc = :mc ) and svcb50.cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc304_01_01_gsgl", StatementKind::Select,
     R"(SELECT svcb50.cwtsbh, svcb50.ckhdm, svcb50.ckhmc, svcb50.cpzh, svcb50.cwxxmdm, svcb50.cxmmc, svcb50.ngs, svcb50.ngsf, svcb50.cbzdm, svcb50.nkk, svcb50.dfxrq, svcb50.cczydm, svcb50.ccxdm, svcb50.czxrdm, sysc03.cgrmc, sysc02.cbmmc, svcc04.ccxmc, svcb50.cwxgwdm, a.cwxgwmc, svcb50.lksbs, svcb50.lwcbs, svcb50.lzt, svcb50.cgwdm, b.cgskzqmc, svcb50.cgsh
FROM svcb50
LEFT OUTER JOIN sysc02 ON svcb50.cbzdm = sysc02.cbmdm and svcb50.cgsh = sysc02.cgsh
LEFT OUTER JOIN sysc03 ON svcb50.czxrdm = sysc03.cgrdm and svcb50.cgsh = sysc03.cgsh
LEFT OUTER JOIN svcc04 ON svcb50.ccxdm = svcc04.ccxdm and svcb50.cgsh = svcc04.cgsh
LEFT OUTER JOIN wtcc01 a ON svcb50.cgwdm = a.cwxgwdm and svcb50.cgsh = a.cgsh
LEFT OUTER JOIN wtcc05 b ON svcb50.cwxgwdm = b.cgskzqdm and svcb50.cgsh = b.cgsh
WHERE ( svcb50.cwtsbh = :bh ) AND ( svcb50.cwxxmdm = :dm ) AND ( svcb50.cxmmc = :mc ) and svcb50.cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc304_01_02", StatementKind::Select,
     R"(SELECT v_svcb50_svcb50_h.cwtsbh, v_svcb50_svcb50_h.ckhdm, v_svcb50_svcb50_h.ckhmc, v_svcb50_svcb50_h.cpzh, v_svcb50_svcb50_h.cwxxmdm, v_svcb50_svcb50_h.cxmmc, v_svcb50_svcb50_h.ngs, v_svcb50_svcb50_h.ngsf, v_svcb50_svcb50_h.cbzdm, v_svcb50_svcb50_h.nkk, v_svcb50_svcb50_h.dfxrq, v_svcb50_svcb50_h.cczydm, v_svcb50_svcb50_h.ccxdm, v_svcb50_svcb50_h.czxrdm, sysc03.cgrmc, sysc02.cbmmc, svcc04.ccxmc, v_svcb50_svcb50_h.cgsh
FROM v_svcb50_svcb50_h
LEFT OUTER JOIN sysc02 ON v_svcb50_svcb50_h.cbzdm = sysc02.cbmdm and v_svcb50_svcb50_h.cgsh = sysc02.cgsh
LEFT OUTER JOIN sysc03 ON v_svcb50_svcb50_h.czxrdm = sysc03.cgrdm and v_svcb50_svcb50_h.cgsh = sysc03.cgsh
LEFT OUTER JOIN svcc04 ON v_svcb50_svcb50_h.ccxdm = svcc04.ccxdm and v_svcb50_svcb50_h.cgsh = svcc04.cgsh
WHERE ( v_svcb50_svcb50_h.cwtsbh = :bh ) AND ( v_svcb50_svcb50_h.cwxxmdm = :dm ) AND ( v_svcb50_svcb50_h.cxmmc = :mc ) and v_svcb50_svcb50_h.cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc304_01_02_gsgl", StatementKind::Select,
     R"(SELECT v_svcb50_svcb50_h.cwtsbh, v_svcb50_svcb50_h.ckhdm, v_svcb50_svcb50_h.ckhmc, v_svcb50_svcb50_h.cpzh, v_svcb50_svcb50_h.cwxxmdm, v_svcb50_svcb50_h.cxmmc, v_svcb50_svcb50_h.ngs, v_svcb50_svcb50_h.ngsf, v_svcb50_svcb50_h.cbzdm, v_svcb50_svcb50_h.cwxgwdm, a.cwxgwmc, v_svcb50_svcb50_h.nkk, v_svcb50_svcb50_h.dfxrq, v_svcb50_svcb50_h.cczydm, v_svcb50_svcb50_h.ccxdm, v_svcb50_svcb50_h.czxrdm, sysc03.cgrmc, sysc02.cbmmc, svcc04.ccxmc, v_svcb50_svcb50_h.lksbs, v_svcb50_svcb50_h.lwcbs, v_svcb50_svcb50_h.lzt, v_svcb50_svcb50_h.cgwdm, b.cgskzqmc, v_svcb50_svcb50_h.cgsh
FROM v_svcb50_svcb50_h
LEFT OUTER JOIN sysc02 ON v_svcb50_svcb50_h.cbzdm = sysc02.cbmdm and v_svcb50_svcb50_h.cgsh = sysc02.cgsh
LEFT OUTER JOIN sysc03 ON v_svcb50_svcb50_h.czxrdm = sysc03.cgrdm and v_svcb50_svcb50_h.cgsh = sysc03.cgsh
LEFT OUTER JOIN svcc04 ON v_svcb50_svcb50_h.ccxdm = svcc04.ccxdm and v_svcb50_svcb50_h.cgsh = svcc04.cgsh
LEFT OUTER JOIN wtcc01 a ON v_svcb50_svcb50_h.cgwdm = a.cwxgwdm and v_svcb50_svcb50_h.cgsh = a.cgsh
LEFT OUTER JOIN wtcc05 b ON v_svcb50_svcb50_h.cwxgwdm = b.cgskzqdm and v_svcb50_svcb50_h.cgsh = b.cgsh
WHERE ( v_svcb50_svcb50_h.cwtsbh = :bh ) AND ( v_svcb50_svcb50_h.cwxxmdm = :dm ) AND ( v_svcb50_svcb50_h.cxmmc = :mc ) and v_svcb50_svcb50_h.cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc305_01", StatementKind::Select,
     R"(SELECT v_svc300_01.cwtsbh, v_svc300_01.ckhmc, v_svc300_01.ccxmc, v_svc300_01.cpzh, v_svc300_01.clxr, v_svc300_01.nwxcslj, v_svc300_01.nljje, v_svc300_01.cwxzt, v_svc300_01.id, v_svc300_01.dsxrq, v_svc300_01.djsrq, v_svc300_01.cfplxdm, v_svc300_01.cfph, v_svc300_01.dfprq, v_svc300_01.ckhdm, v_svc300_01.nljsk, v_svc300_01.cyszkkm, v_svc300_01.lsbbs, v_svc300_01.cdph, v_svc300_01.nhjje, v_svc300_01.czhzt, v_svc300_01.czhbh, v_svc300_01.chykh, v_svc300_01.nhykbcjf, v_svc300_01.nhykbcxfje, (v_svc300_01.nhjje - v_svc300_01.nhykbcxfje) as nxjsk, v_svc300_01.cskxf, v_svc300_01.cskxgbs
FROM v_svc300_01
WHERE ( convert(char(10),djsrq,111) <= :jsrq ) AND ( v_svc300_01.cwxzt = '1' or v_svc300_01.cwxzt = '2') AND ( v_svc300_01.npljsxh = 0 ) AND ( v_svc300_01.npzid = 0 ) AND ( v_svc300_01.LCWSKWB = 0 ) and ( v_svc300_01.nljsk = 0) and ( v_svc300_01.cgsh = dbo.f_retu_gsh() ) and ( convert(char(10),djsrq,111) >= :qsrq ))"},
    ModuleStatement{"d_svc305_01_01", StatementKind::Select,
     R"(SELECT v_svc300_01.cwtsbh, v_svc300_01.ckhmc, v_svc300_01.ccxmc, v_svc300_01.cpzh, v_svc300_01.clxr, v_svc300_01.nwxcslj, v_svc300_01.nljje, v_svc300_01.cwxzt, v_svc300_01.id, v_svc300_01.dsxrq, v_svc300_01.djsrq, v_svc300_01.cfplxdm, v_svc300_01.cfph, v_svc300_01.dfprq, v_svc300_01.ckhdm, v_svc300_01.nljsk, v_svc300_01.cyszkkm, v_svc300_01.lsbbs, v_svc300_01.cdph, v_svc300_01.nhjje, v_svc300_01.czhzt, v_svc300_01.czhbh, v_svc300_01.chykh, v_svc300_01.nhykbcjf, v_svc300_01.nhykbcxfje, (v_svc300_01.nhjje - v_svc300_01.nhykbcxfje) as nxjsk, v_svc300_01.cskxf, v_svc300_01.cskxgbs
FROM v_svc300_01
WHERE ( convert(char(10),djsrq,111) = :jsrq ) AND ( v_svc300_01.cwxzt = '1' ) AND ( v_svc300_01.npljsxh = 0 ) AND ( v_svc300_01.cgsh = dbo.f_retu_gsh() ) and ( v_svc300_01.npzid = 0 ))"},
    ModuleStatement{"d_svc309_01", StatementKind::Select,
     R"(SELECT isnull((select '*' from svcb22c where cwtsbh = v_svc300_01.cwtsbh and clb = '0' and cgsh = dbo.f_retu_gsh()),'') as bs, v_svc300_01.cwtsbh, v_svc300_01.ckhmc, v_svc300_01.cpzh, v_svc300_01.cfph, isnull((select cjsfsmc from acpi03 where cjsfsdm = v_svc300_01.cjsfs and csfbs = '1' and cgsh = dbo.f_retu_gsh()),'') as cjsfsmc, v_svc300_01.nhjje, v_svc300_01.cjsrxm, v_svc300_01.djsrq, v_svc300_01.cwxzt, v_svc300_01.lqqbs, v_svc300_01.nysgsf, v_svc300_01.nssgsf, v_svc300_01.nysclf, v_svc300_01.nssclf, v_svc300_01.nhjyh, v_svc300_01.cbgfs
FROM v_svc300_01
where (v_svc300_01.cwxzt in ('1','2')) and (convert(char(10),djsrq,111) <> '1900/01/01') and cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc309_02", StatementKind::Select,
     R"(SELECT isnull((select '*' from v_svcb22c_all where cwtsbh = v_svc300_01_all.cwtsbh and clb = '0' and cgsh = dbo.f_retu_gsh()),'') as bs, v_svc300_01_all.cwtsbh, v_svc300_01_all.ckhmc, v_svc300_01_all.cpzh, v_svc300_01_all.cfph, isnull((select cjsfsmc from acpi03 where cjsfsdm = v_svc300_01_all.cjsfs and csfbs = '1' and cgsh = dbo.f_retu_gsh()),'') as cjsfsmc, v_svc300_01_all.nhjje, v_svc300_01_all.cjsrxm, v_svc300_01_all.djsrq, v_svc300_01_all.cwxzt, v_svc300_01_all.lqqbs, v_svc300_01_all.nysgsf, v_svc300_01_all.nssgsf, v_svc300_01_all.nysclf, v_svc300_01_all.nssclf, v_svc300_01_all.nhjyh, v_svc300_01_all.cbgfs
FROM v_svc300_01_all
where (v_svc300_01_all.cwxzt in ('1','2')) and (convert(char(10),djsrq,111) <> '1900/01/01') and (convert(char(10),djsrq,111) >= :ls_qsrq ) and (convert(char(10),djsrq,111) <= :ls_jzrq ) and cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc310_01", StatementKind::Select,
     R"(SELECT v_svc300_01.cwtsbh, v_svc300_01.ckhmc, v_svc300_01.id, v_svc300_01.cpzh, v_svc300_01.dsxrq, v_svc300_01.cwxzt, v_svc300_01.chth, v_svc300_01.cjydh, v_svc300_01.lqqbs
FROM v_svc300_01
where cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc310_02", StatementKind::Select,
     R"(SELECT v_svc300_01_all.cwtsbh, v_svc300_01_all.ckhmc, v_svc300_01_all.id, v_svc300_01_all.cpzh, v_svc300_01_all.dsxrq, v_svc300_01_all.cwxzt, v_svc300_01_all.chth, v_svc300_01_all.cjydh, v_svc300_01_all.lqqbs
FROM v_svc300_01_all
WHERE ( convert(char(10),v_svc300_01_all.dsxrq,111) >= :qsrq ) AND ( convert(char(10),v_svc300_01_all.dsxrq,111) <= :jzrq ) and cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc310_03", StatementKind::Select,
     R"(SELECT v_svc300_01_all.ckhmc, v_svc300_01_all.chth, v_svc300_01_all.cpzh, v_svc300_01_all.ccxmc, v_svc300_01_all.cdph, v_svc300_01_all.cfdjh, v_svc300_01_all.dsxrq, v_svc300_01_all.cbgfs, v_svc300_01_all.dydjc, v_svc300_01_all.ckhdz, v_svc300_01_all.cdh, v_svc300_01_all.cyb, v_svc300_01_all.ckhh, v_svc300_01_all.cwtsbh
FROM v_svc300_01_all
where v_svc300_01_all.cwtsbh = :bh and v_svc300_01_all.cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc310_03_now", StatementKind::Select,
     R"(SELECT v_svc300_01.ckhmc, v_svc300_01.chth, v_svc300_01.cpzh, v_svc300_01.ccxmc, v_svc300_01.cdph, v_svc300_01.cfdjh, v_svc300_01.dsxrq, v_svc300_01.cbgfs, v_svc300_01.dydjc, v_svc300_01.ckhdz, v_svc300_01.cdh, v_svc300_01.cyb, v_svc300_01.ckhh, v_svc300_01.cwtsbh
FROM v_svc300_01
where v_svc300_01.cwtsbh = :bh and v_svc300_01.cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc310_03_01", StatementKind::Select,
     R"(SELECT cwxxmdm, cxmmc
FROM v_svcb20d_svcb20d_h
WHERE cwtsbh = :bh)"},
    ModuleStatement{"d_svc310_03_01_now", StatementKind::Select,
     R"(SELECT cwxxmdm, cxmmc
FROM svcb20d
WHERE cwtsbh = :bh)"},
    ModuleStatement{"d_svc310_04", StatementKind::Select,
     R"(SELECT v_svc300_01.cwtsbh, v_svc300_01.clxrdh, v_svc300_01.ckhmc, v_svc300_01.cpzh, v_svc300_01.dsxrq, v_svc300_01.dydjc, v_svc300_01.cjydh, v_svc300_01.ccxmc
FROM v_svc300_01
where v_svc300_01.cwtsbh = :bh and v_svc300_01.cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc310_05", StatementKind::Select,
     R"(SELECT v_svc300_01_all.cwtsbh, v_svc300_01_all.clxrdh, v_svc300_01_all.ckhmc, v_svc300_01_all.cpzh, v_svc300_01_all.dsxrq, v_svc300_01_all.dydjc, v_svc300_01_all.cjydh, v_svc300_01_all.ccxmc
FROM v_svc300_01_all
where v_svc300_01_all.cwtsbh = :bh and v_svc300_01_all.cgsh = dbo.f_retu_gsh())"},
    ModuleStatement{"d_svc310_04_01", StatementKind::Select,
     R"(SELECT svcb20d.cwxxmdm, svcb20d.CXMMC, svcb20d.NGS, isnull((select cbmmc from sysc02 where cbmdm = svcb20d.cbzdm and cgsh = dbo.f_retu_gsh()),'') as cbzmc
FROM svcb20d
WHERE svcb20d.cwtsbh = :cwtsbh)"},
    ModuleStatement{"d_svc310_05_01", StatementKind::Select,
     R"(SELECT v_svcb20d_svcb20d_h.cwxxmdm, v_svcb20d_svcb20d_h.CXMMC, v_svcb20d_svcb20d_h.NGS, isnull((select cbmmc from sysc02 where cbmdm = v_svcb20d_svcb20d_h.cbzdm and cgsh = dbo.f_retu_gsh()),'') as cbzmc
FROM v_svcb20d_svcb20d_h
WHERE v_svcb20d_svcb20d_h.cwtsbh = :cwtsbh)"},
    ModuleStatement{"d_svc305_jsd1", StatementKind::Select,
     R"(SELECT v_svc300_01.cwtsbh, v_svc300_01.ckhmc, v_svc300_01.ccxmc, v_svc300_01.cpzh, v_svc300_01.dsxrq, v_svc300_01.cczydm, v_svc300_01.cczymc, v_svc300_01.cfwgwxm, v_svc300_01.nxslc, v_svc300_01.nbgf, v_svc300_01.nsjf, v_svc300_01.nhjje, v_svc300_01.nzsje, v_svc300_01.nljje, v_svc300_01.djsrq, v_svc300_01.nssgsf, v_svc300_01.ngfse, v_svc300_01.nssclf, v_svc300_01.nclse, v_svc300_01.nqtfy1, v_svc300_01.nqtfy2, v_svc300_01.nqtfy3, v_svc300_01.nfcf, v_svc300_01.nqtfyse1, v_svc300_01.nqtfyse2, v_svc300_01.nqtfyse3, v_svc300_01.nfcfse, v_svc300_01.nsjfse, v_svc300_01.dccrq, v_svc300_01.nbgfse, v_svc300_01.nglf, v_svc300_01.nglfse, v_svc300_01.nhjse, v_svc300_01.nhjyh, v_svc300_01.nclcb, v_svc300_01.cjsydm, v_svc300_01.nysgsf, v_svc300_01.nysclf, v_svc300_01.cjsrxm, v_svc300_01.cdh, v_svc300_01.cfdjh, v_svc300_01.ccp, v_svc300_01.nspgf, v_svc300_01.nsplf, v_svc300_01.nsplfcb, v_svc300_01.cdph, v_svc300_01.cfph, 0 as xsse, v_svc300_01.cwxzt, v_svc300_01.ngfsl, v_svc300_01.nbjxjsl,
isnull((select ccsz from sysi90 where cssxt = 'SYS' and ccsdm = 'CDZ' and cgsh = :ls_gsh),'') as cdz,
isnull((select ccsz from sysi90 where cssxt = 'SYS' and ccsdm = 'CYB' and cgsh = :ls_gsh),'') as cyb,
isnull((select ccsz from sysi90 where cssxt = 'SYS' and ccsdm = 'CYWDH' and cgsh = :ls_gsh),'') as cywdh,
isnull((select ccsz from sysi90 where cssxt = 'SYS' and ccsdm = 'CKHH' and cgsh = :ls_gsh),'') as ckhh,
isnull((select ccsz from sysi90 where cssxt = 'SYS' and ccsdm = 'CYHZH' and cgsh = :ls_gsh),'') as cyhzh,
isnull((select ccsz from sysi90 where cssxt = 'SYS' and ccsdm = 'CSH' and cgsh = :ls_gsh),'') as csh,
isnull((select ccsz from sysi90 where cssxt = 'SYS' and ccsdm = 'CFWZJ' and cgsh = :ls_gsh),'') as cfwzj,
cdbr,
isnull((select ccsz from sysi90 where cssxt = 'SYS' and ccsdm = 'CDH' and cgsh = :ls_gsh),'') as cyhdh,
isnull((select ccsz from sysi90 where cssxt = 'SYS' and ccsdm = 'CZHMC' and cgsh = :ls_gsh),'') as cHH,
isnull((select ccsz from sysi90 where cssxt = 'SVC' and ccsdm = 'CJSDBZ1' and cgsh = :ls_gsh),'') as CJSDBZ1,
isnull((select ccsz from sysi90 where cssxt = 'SVC' and ccsdm = 'CJSDBZ2' and cgsh = :ls_gsh),'') as CJSDBZ2,
isnull((select ccsz from sysi90 where cssxt = 'SVC' and ccsdm = 'CJSDBZ3' and cgsh = :ls_gsh),'') as CJSDBZ3,
isnull(( select nbcjsje from sysb13 where cbs = '3' and cdydjh = v_svc300_01.cwtsbh and id = (select max (id) from sysb13 where cbs = '3' and cdydjh = v_svc300_01.cwtsbh) ),0) as nbcjsje,
v_svc300_01.nzsje, (v_svc300_01.nhjje - v_svc300_01.nzsje) as nqsje
FROM v_svc300_01
WHERE v_svc300_01.cwtsbh = :bh and v_svc300_01.cgsh like :ls_gsh)"},
    ModuleStatement{"d_svc305_jsd1_01", StatementKind::Select,
     R"(SELECT svcb20d.cwtsbh, svcb20d.cwxxmdm, svcb20d.cxmmc, svcb20d.cxz, svcb20d.ngsf, svcb20d.ngs, svcb20d.lzjxm, svcb20d.ngsyhl, svcb20c.cbgfs, svcb20c.nysgsf, svcb20c.ngsyhl as ngsjsyhl, svcb20c.nyhhgsf
FROM svcb20d,svcb20c
WHERE svcb20c.cwtsbh = svcb20d.cwtsbh and svcb20d.cwtsbh = :bh)"},
    ModuleStatement{"d_svc305_jsd1_02", StatementKind::Select,
     R"(SELECT v_spab02c_spab02d.cdydbh, v_spab02c_spab02d.cbjdm, v_spab02c_spab02d.nrcdj, sum(v_spab02c_spab02d.nrcsl) as nrcsl, sum(v_spab02c_spab02d.nrcje) as nrcje, case v_spab02c_spab02d.cbjbm when '' then spac01.cbjmc else v_spab02c_spab02d.cbjbm end as cbjbm, v_spab02c_spab02d.ccklb, spac01.cjldw, v_spab02c_spab02d.nclyhl, spac01.cbjmc, v_spab02c_spab02d.cph, svcb20c.nysclf, svcb20c.nclyhl as ncljsyhl, svcb20c.nyhhclf
FROM v_spab02c_spab02d inner join svcb20c on v_spab02c_spab02d.cdydbh = svcb20c.cwtsbh and v_spab02c_spab02d.cgsh = svcb20c.cgsh LEFT OUTER JOIN spac01 ON v_spab02c_spab02d.cbjdm = spac01.cbjdm and v_spab02c_spab02d.cgsh = spac01.cgsh
WHERE v_spab02c_spab02d.cdydbh = :bh
group by v_spab02c_spab02d.cdydbh, v_spab02c_spab02d.cbjdm, v_spab02c_spab02d.nrcdj, v_spab02c_spab02d.cbjbm, v_spab02c_spab02d.ccklb, spac01.cjldw, v_spab02c_spab02d.nclyhl, spac01.cbjmc, v_spab02c_spab02d.cph, svcb20c.nclyhl, svcb20c.nysclf, svcb20c.nyhhclf
having sum(v_spab02c_spab02d.nrcsl) <> 0
union all
SELECT svcb25.cwtsbh, svcb25.cbjdm, svcb25.nckdj, svcb25.ncksl, (svcb25.nckdj * svcb25.ncksl) as nrcje, svcb25.cbjbm, '*' as ccklb, isnull((select top 1 cjldw from spac01 where cbjdm = svcb25.cbjdm and cgsh = svcb20c.cgsh),'') as cjldw, 0 as nclyhl, isnull((select top 1 cbjmc from spac01 where cbjdm = svcb25.cbjdm and cgsh = svcb20c.cgsh),'') as cbjmc, '' as cph, svcb20c.nysclf, svcb20c.nclyhl as ncljsyhl, svcb20c.nyhhclf
from svcb25,svcb20c
where svcb25.cwtsbh = svcb20c.cwtsbh and svcb25.cwtsbh = :bh)"},
    ModuleStatement{"w_svc301.count_items", StatementKind::Select,
     R"(select count ( cwtsbh ) into :li_count from svcb20d where cwtsbh = :ls_wtsbh)"},
    ModuleStatement{"w_svc304.clear_rework_flag", StatementKind::Update,
     R"(update svcb20d set lfgbs = 0 where cwtsbh = :is_wtsbh and cwxxmdm = :is_xmdm and cxmmc = :is_xmmc)"},
    ModuleStatement{"w_svc304.clear_rework_flag_history", StatementKind::Update,
     R"(update svcb20d_h set lfgbs = 0 where cwtsbh = :is_wtsbh and cwxxmdm = :is_xmdm and cxmmc = :is_xmmc)"},
    ModuleStatement{"w_svc304.delete_terminal_job", StatementKind::Delete,
     R"(delete wtcb01c where cwtsbh = :is_wtsbh and cwxxmdm = :is_xmdm and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc304_01.team_name_gsgl", StatementKind::Select,
     R"(select cbmmc into :ls_bzmc from sysc02 where cbmdm = :ls_bzdm)"},
    ModuleStatement{"w_svc304_01.mechanic_name_gsgl", StatementKind::Select,
     R"(select cgrmc into :ls_zxrmc from sysc03 where cgrdm = :ls_zxrdm)"},
    ModuleStatement{"w_svc304_01.team_name", StatementKind::Select,
     R"(select cbmmc into :ls_bzmc from sysc02 where cbmdm = :ls_bzdm and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc304_01.mechanic_name", StatementKind::Select,
     R"(select cgrmc into :ls_zxrmc from sysc03 where cgrdm = :ls_zxrdm and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc304_01.count_mechanics", StatementKind::Select,
     R"(select count ( *) into :li_count from v_bm_gr_grlb where ltybs = 0 and cgrlbdm = '6' and cssbmdm = :ls_bzdm)"},
    ModuleStatement{"w_svc304_01.item_name", StatementKind::Select,
     R"(select cxmmc into :ls_wxxm from svcb20d where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_wxxmdm)"},
    ModuleStatement{"w_svc304_01.pick_work_order_gsgl", StatementKind::Select,
     R"(select cwtsbh,ckhdm,ckhmc,cpzh,ccxdm,ccxmc from v_wtc304_01 where cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc304_01.pick_work_order", StatementKind::Select,
     R"(select cwtsbh,ckhdm,ckhmc,cpzh,ccxdm,ccxmc from v_svc300_01 where cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc304_01.pick_item_gsgl", StatementKind::Select,
     R"(select cwxxmdm,cxmmc,ngs,ngsf,cbzdm,czxrdm from svcb20d where cwtsbh = :ls_wtsbh and lwcbs = 1 and cwxxmdm not in (select cwxxmdm from svcb50 where cgsh =:gs_gsh))"},
    ModuleStatement{"w_svc304_01.pick_item", StatementKind::Select,
     R"(select cwxxmdm,cxmmc,ngs,ngsf,cbzdm,czxrdm from svcb20d where cwtsbh = :ls_wtsbh)"},
    ModuleStatement{"w_svc304_01.pick_team_gsgl", StatementKind::Select,
     R"(select cbmdm,cbmmc from sysc02 where cgsh = :gs_gsh and lmjbmbs = 1 and ltybs = 0 and cbmsx = '1')"},
    ModuleStatement{"w_svc304_01.pick_team", StatementKind::Select,
     R"(select cbmdm,cbmmc,czt,dwgrq from v_svc300_bzxz where cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc304_01.pick_mechanic_gsgl", StatementKind::Select,
     R"(select cgrdm,cgrmc,cssbmdm,cbmmc from v_bm_gr_grlb where cgsh = :gs_gsh and ltybs=0 and cgrlbdm = '6'  and cssbmdm in (select cbmdm from sysc02 where cbmsx = '1'and cgsh =:gs_gsh))"},
    ModuleStatement{"w_svc304_01.pick_mechanic", StatementKind::Select,
     R"(select cgrdm,cgrmc,cssbmdm,cbmmc,czt,dwgrq from v_svc300_zxrxz where cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc304_01.pick_team_mechanic_gsgl", StatementKind::Select,
     R"(select cgrdm,cgrmc from v_bm_gr_grlb where  ltybs=0 and cgrlbdm = '6' and cssbmdm = :ls_bzdm)"},
    ModuleStatement{"w_svc304_01.pick_team_mechanic", StatementKind::Select,
     R"(select cgrdm,cgrmc,czt,dwgrq from v_svc300_zxrxz where  cssbmdm = :ls_bzdm)"},
    ModuleStatement{"w_svc304_01.pick_station", StatementKind::Select,
     R"(select cwxgwdm,cwxgwmc,cgskzqdm,cgskzqmc from v_wtcc01 where   ltybs = 0)"},
    ModuleStatement{"w_svc304_01.check_work_order", StatementKind::Select,
     R"(select count(*) from v_svc300_01 where cgsh = :gs_gsh and cwtsbh = :ls_wtsbh)"},
    ModuleStatement{"w_svc304_01.check_item", StatementKind::Select,
     R"(select count(*) from svcb20d where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_wxxmdm)"},
    ModuleStatement{"w_svc304_01.check_team", StatementKind::Select,
     R"(select count(*) from sysc02 where cgsh = :gs_gsh and cbmdm = :ls_bz and ltybs = 0 and cbmsx = '1')"},
    ModuleStatement{"w_svc304_01.check_mechanic", StatementKind::Select,
     R"(select count(*) from v_bm_gr_grlb where cgsh = :gs_gsh and cgrdm = :ls_zxr and ltybs=0 and cgrlbdm = '6' and cssbmdm = :ls_bz)"},
    ModuleStatement{"w_svc304_01.time_unit", StatementKind::Select,
     R"(select top 1 nsjdw into :ldc_sjdw from wtci90 where cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc304_01.count_terminal_job", StatementKind::Select,
     R"(select count ( *) into :li_count from wtcb01c where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_xmh and lfxbs = 1 and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc304_01.insert_terminal_job", StatementKind::Insert,
     R"(insert into wtcb01c ( dxcrq , cwtslsh , cwtsbh , cpzh , ckh , cwxxmdm , cwxgwdm , dpgsj , lzjbs , lfxbs , lzt , nscsj , cgwdm , cgsh ) select :ldt_now , :ls_wtslsh , :ls_wtsbh , :ls_pzh , '11111111' , :ls_xmh , :ls_gskzqdm , :ldt_now , 0 , 1 , 1 , :ldc_gs , :ls_gwdm , :gs_gsh)"},
    ModuleStatement{"w_svc304_01.resend_terminal_job", StatementKind::Update,
     R"(update wtcb01c set cwxgwdm = :ls_gskzqdm , dpgsj = :ldt_now , nscsj = :ldc_gs , cgwdm = :ls_gwdm , lzt = 1 where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_xmh and lfxbs = 1 and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc304_01.set_rework_flag", StatementKind::Update,
     R"(update svcb20d set lfgbs = 1 where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_wxxmdm and cxmmc = :ls_wxxmmc)"},
    ModuleStatement{"w_svc305_01.free_flag", StatementKind::Select,
     R"(select lmfbs into :ii_mfbs from svcc90 where cwtslb = :is_wtslb and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc305_01.valid_vip_cards", StatementKind::Select,
     R"(select count ( 1 ) into :ll_ret from svcb20c a , vipb01 b where a.id = b.nclid and a.cwtsbh = :is_wtsbh and b.lsdbs = 0 and ltybs = 0 and convert ( char ( 10 ) , dyxrq , 111 ) >= convert ( char ( 10 ) , :ls_xtrq , 111 ))"},
    ModuleStatement{"w_svc305_01.valid_club_cards", StatementKind::Select,
     R"(select count ( 1 ) into :ll_ret from svcb20c a , club03 b , club01c c where a.id = b.ncldaid and a.cwtsbh = :is_wtsbh and b.nkid = c.id and c.lsdbs = 0 and c.ltybs = 0 and c.lblbs = 1 and convert ( char ( 10 ) , c.dyxrq , 111 ) >= :ls_xtrq and convert ( char ( 10 ) , c.dhfdqr , 111 ) >= :ls_xtrq)"},
    ModuleStatement{"w_svc305_01.card_settlement_exists", StatementKind::Select,
     R"(select count(*) from club01d where ckh = :ls_kh and cwtsbh = :is_wtsbh)"},
    ModuleStatement{"w_svc305_01.archive_slip", StatementKind::Insert,
     R"(insert into svcb61 ( ctype , nver , cwtsbh , dsxrq , djsrq , ckhmc , ccxmc , cpzh , cdph , cjszt , nhjje , nysje , ddate , cfwgwmc , cczydm , cczymc , cbz , cgsh ) values ( '1' , 1 , :is_wtsbh , :ldt_sxrq , :ldt_jsrq , :ls_khmc , :ls_cxmc , :ls_pzh , :ls_dph , :is_ywxzt , :ldc_hjje , :ldc_zsje , :ldt_now , :ls_fwgwxm , :gs_yhdm , :ls_czyxm , :ls_yysm , :gs_gsh ))"},
    ModuleStatement{"w_svc305_01.archive_slip_blob", StatementKind::UpdateBlob,
     R"(updateblob svcb61 set cblob = :lb_jsd where id = :ll_id and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc305_01.archive_row_id", StatementKind::Select,
     R"(select scope_identity ( ) into :ll_id)"},
    ModuleStatement{"w_svc305_01.total_amount", StatementKind::Select,
     R"(select top 1 nhjje into :ldc_hjje from v_svc300_01 where cwtsbh = :is_wtsbh and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc305_01.reset_settlement", StatementKind::Update,
     R"(update svcb20c set cwxzt = :is_wxzt , djsrq = '1900/01/01' , cjsfs = '' , cdbr = '' , cscbs = '0' , cscbs1 = '0' , nhykbcjf = 0 , nhykbcxfje = 0 , ngsyhl = 0 , nclyhl = 0 , nhjyh = 0 , nyhhgsf = nysgsf , nssgsf = case :ls_xchs when '1' then nysgsf else nysgsf *( 1 + :ldc_gssl / 100 ) end , nyhhclf = nysclf , nssclf = case :ls_xjhs when '1' then nysclf else nysclf *( 1 + :ldc_clsl / 100 ) end , cskxf = :ls_skxf , nhykczje = 0 , nhykscjf = 0 , nhykscye = 0 where cwtsbh = :is_wtsbh and cgsh = :gs_gsh and cwxzt = :is_ywxzt)"},
    ModuleStatement{"uo_clu100.of_retu_bcjf", StatementKind::Select,
     R"(select nhykbcjf into :ldc_bcjf from svcb20c where cwtsbh = :as_wtsbh and cgsh = :gs_gsh)"},
    ModuleStatement{"uo_clu100.of_retu_infor", StatementKind::Select,
     R"(select nhjje , nhykbcxfje , nhykbcjf into :ldc_hjje , :ldc_kxfje , :ldc_bcjf from svcb20c where cwtsbh = :as_wtsbh and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc305_01.delete_receipts", StatementKind::Delete,
     R"(delete from sysb13 where cdydjh = :is_wtsbh and cbs = '3')"},
    ModuleStatement{"w_svc305_01.card_id", StatementKind::Select,
     R"(select id into :ll_kid from club01c where ckh = :ls_hykh and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc305_01.card_points", StatementKind::Select,
     R"(select nbcdhjf , nbcdjjf , nbcljjf into :ldc_dh, :ldc_dj, :ldc_lj from club08 where nkid = :ll_kid and cdyywdh = :is_wtsbh and cywfl = 'SVC')"},
    ModuleStatement{"w_svc305_01.card_points_back", StatementKind::Update,
     R"(update club01c set ndhjf = ndhjf - :ldc_dh , ndjjf = ndjjf - :ldc_dj , nljjf = nljjf - :ldc_lj where id = :ll_kid and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc305_01.club_card_points_back", StatementKind::Update,
     R"(update kq_club..club01c set ndhjf = ndhjf - :ldc_dh , ndjjf = ndjjf - :ldc_dj , nljjf = nljjf - :ldc_lj where id = :ll_kid and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc305_01.second_card", StatementKind::Select,
     R"(select nkid into :ll_zkid from club08 where nkid <> :ll_kid and cdyywdh = :is_wtsbh and cywfl = 'SVC')"},
    ModuleStatement{"w_svc305_01.second_card_points", StatementKind::Select,
     R"(select nbcdhjf , nbcdjjf , nbcljjf into :ldc_dh, :ldc_dj, :ldc_lj from club08 where nkid = :ll_zkid and cdyywdh = :is_wtsbh and cywfl = 'SVC')"},
    ModuleStatement{"w_svc305_01.second_card_points_back", StatementKind::Update,
     R"(update club01c set ndhjf = ndhjf - :ldc_dh , ndjjf = ndjjf - :ldc_dj , nljjf = nljjf - :ldc_lj where id = :ll_zkid and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc305_01.club_second_card_points_back", StatementKind::Update,
     R"(update kq_club..club01c set ndhjf = ndhjf - :ldc_dh , ndjjf = ndjjf - :ldc_dj , nljjf = nljjf - :ldc_lj where id = :ll_zkid and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc305_01.delete_points_log", StatementKind::Delete,
     R"(delete club08 where cdyywdh = :is_wtsbh and cywfl = 'SVC')"},
    ModuleStatement{"w_svc305_01.club_delete_points_log", StatementKind::Delete,
     R"(delete kq_club..club08 where cdyywdh = :is_wtsbh and cywfl = 'SVC')"},
    ModuleStatement{"w_svc305_01.card_balance_back", StatementKind::Update,
     R"(update club01c set nknye = nknye + :ldc_hjkxfje where id = :ll_kid and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc305_01.club_card_balance_back", StatementKind::Update,
     R"(update kq_club..club01c set nknye = nknye + :ldc_hjkxfje where id = :ll_kid and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc305_01.delete_value_log", StatementKind::Delete,
     R"(delete club07 where cdyywdh = :is_wtsbh and cywfl = 'SVC')"},
    ModuleStatement{"w_svc305_01.club_delete_value_log", StatementKind::Delete,
     R"(delete kq_club..club07 where cdyywdh = :is_wtsbh and cywfl = 'SVC')"},
    ModuleStatement{"w_svc305_01.clear_card_flag", StatementKind::Update,
     R"(update svcb20c set cskxf = '0' where cwtsbh = :is_wtsbh and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc305_01.statistics_free_service", StatementKind::Update,
     R"(update crmc04 set crmc04.ngs = crmc04.ngs - svcb20c.ngs , crmc04.nmfwxcs = crmc04.nmfwxcs - 1 , crmc04.nbycs = crmc04.nbycs - 1 from svcb20c , crmc04 where svcb20c.cwtsbh = :is_wtsbh and svcb20c.id = crmc04.id and svcb20c.cgsh = crmc04.cgsh and svcb20c.cgsh = :gs_gsh and ltybs = 0)"},
    ModuleStatement{"w_svc305_01.statistics_free", StatementKind::Update,
     R"(update crmc04 set crmc04.ngs = crmc04.ngs - svcb20c.ngs , crmc04.nmfwxcs = crmc04.nmfwxcs - 1 from svcb20c , crmc04 where svcb20c.cwtsbh = :is_wtsbh and svcb20c.id = crmc04.id and svcb20c.cgsh = crmc04.cgsh and svcb20c.cgsh = :gs_gsh and ltybs = 0)"},
    ModuleStatement{"w_svc305_01.statistics_service", StatementKind::Update,
     R"(update crmc04 set crmc04.nwxcslj = crmc04.nwxcslj - 1 , crmc04.nbycs = crmc04.nbycs - 1 , crmc04.ngs = crmc04.ngs - svcb20c.ngs , crmc04.nljje = crmc04.nljje - svcb20c.nhjje from svcb20c , crmc04 where svcb20c.cwtsbh = :is_wtsbh and svcb20c.id = crmc04.id and svcb20c.cgsh = crmc04.cgsh and svcb20c.cgsh = :gs_gsh and ltybs = 0)"},
    ModuleStatement{"w_svc305_01.statistics", StatementKind::Update,
     R"(update crmc04 set crmc04.nwxcslj = crmc04.nwxcslj - 1 , crmc04.ngs = crmc04.ngs - svcb20c.ngs , crmc04.nljje = crmc04.nljje - svcb20c.nhjje from svcb20c , crmc04 where svcb20c.cwtsbh = :is_wtsbh and svcb20c.id = crmc04.id and svcb20c.cgsh = crmc04.cgsh and svcb20c.cgsh = :gs_gsh and ltybs = 0)"},
    ModuleStatement{"w_svc305_01.reset_invoice", StatementKind::Update,
     R"(update svcb20c set cfph = '' , dfprq = '' , cfplxdm = '' , nzsje = 0 , nhjje = 0 , nhjse = 0 , lcwskwb = 0 , nljsk = 0 , nclcb = 0 , nsplfcb = 0 where cwtsbh = :is_wtsbh and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc305_01.release_account", StatementKind::Update,
     R"(update svcb11d2 set czt = '8' where czhdm = :ls_zhdm and cdph = :ls_dph)"},
    ModuleStatement{"w_svc305_01.commit", StatementKind::Commit,
     R"(commit)"},
    ModuleStatement{"w_svc305_01.rollback", StatementKind::Rollback,
     R"(rollback)"},
    ModuleStatement{"w_svc309.default_copies", StatementKind::Select,
     R"(select top 1 ndyfs from sysb12 where cdydjlb ='14' and cgsh =:gs_gsh)"},
    ModuleStatement{"w_svc309.default_copies_into", StatementKind::Select,
     R"(select top 1 ndyfs into :li_dyfs from sysb12 where cdydjlb ='14' and cgsh =:gs_gsh)"},
    ModuleStatement{"w_svc310.set_contract_number", StatementKind::Update,
     R"(update svcb20c set chth = :ls_hth where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh and isnull(rtrim(chth), '') = '')"},
    ModuleStatement{"w_svc310.set_inspection_number", StatementKind::Update,
     R"(update svcb20c set cjydh = :ls_hth where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh and isnull(rtrim(cjydh), '') = '')"},
    ModuleStatement{"w_svc310.stored_contract_number", StatementKind::Select,
     R"(select chth into :ls_won from svcb20c where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc310.stored_inspection_number", StatementKind::Select,
     R"(select cjydh into :ls_won from svcb20c where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh)"},
    ModuleStatement{"w_svc310.commit_sqlls", StatementKind::Commit,
     R"(commit using sqlls)"},
};
// clang-format on

}  // namespace kq::db::testing
