#pragma once
// Statements of windows still to build: the printing (w_svc309) and contract
// (w_svc310) windows; and those of the rework windows (w_svc304, w_svc304_01)
// that the recorded runs do not reach yet. Until a window runs a statement it
// is written here, named "window.purpose"; once it is recorded
// (window_statements.h) its line here goes.
#include <array>
#include <string_view>

#include "platform/db/dialect/dialect.h"

namespace kq::testing {

struct StillToBuild {
  std::string_view name;
  db::StatementKind kind;
  std::string_view sql;  // Transact-SQL text with host variables
};

// clang-format off
inline constexpr std::array kStatementsStillToBuild = {
    StillToBuild{"w_svc305_01.statistics_service", db::StatementKind::Update,
     R"(update crmc04 set crmc04.nwxcslj = crmc04.nwxcslj - 1 , crmc04.nbycs = crmc04.nbycs - 1 , crmc04.ngs = crmc04.ngs - svcb20c.ngs , crmc04.nljje = crmc04.nljje - svcb20c.nhjje from svcb20c , crmc04 where svcb20c.cwtsbh = :is_wtsbh and svcb20c.id = crmc04.id and svcb20c.cgsh = crmc04.cgsh and svcb20c.cgsh = :gs_gsh and ltybs = 0)"},
    StillToBuild{"w_svc304.delete_terminal_job", db::StatementKind::Delete,
     R"(delete wtcb01c where cwtsbh = :is_wtsbh and cwxxmdm = :is_xmdm and cgsh = :gs_gsh)"},
    StillToBuild{"w_svc304_01.team_name_gsgl", db::StatementKind::Select,
     R"(select cbmmc into :ls_bzmc from sysc02 where cbmdm = :ls_bzdm)"},
    StillToBuild{"w_svc304_01.mechanic_name_gsgl", db::StatementKind::Select,
     R"(select cgrmc into :ls_zxrmc from sysc03 where cgrdm = :ls_zxrdm)"},
    StillToBuild{"w_svc304_01.count_mechanics", db::StatementKind::Select,
     R"(select count ( *) into :li_count from v_bm_gr_grlb where ltybs = 0 and cgrlbdm = '6' and cssbmdm = :ls_bzdm)"},
    StillToBuild{"w_svc304_01.item_name", db::StatementKind::Select,
     R"(select cxmmc into :ls_wxxm from svcb20d where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_wxxmdm)"},
    StillToBuild{"w_svc304_01.pick_work_order_gsgl", db::StatementKind::Select,
     R"(select cwtsbh,ckhdm,ckhmc,cpzh,ccxdm,ccxmc from v_wtc304_01 where cgsh = :gs_gsh)"},
    StillToBuild{"w_svc304_01.pick_work_order", db::StatementKind::Select,
     R"(select cwtsbh,ckhdm,ckhmc,cpzh,ccxdm,ccxmc from v_svc300_01 where cgsh = :gs_gsh)"},
    StillToBuild{"w_svc304_01.pick_item_gsgl", db::StatementKind::Select,
     R"(select cwxxmdm,cxmmc,ngs,ngsf,cbzdm,czxrdm from svcb20d where cwtsbh = :ls_wtsbh and lwcbs = 1 and cwxxmdm not in (select cwxxmdm from svcb50 where cgsh =:gs_gsh))"},
    StillToBuild{"w_svc304_01.pick_item", db::StatementKind::Select,
     R"(select cwxxmdm,cxmmc,ngs,ngsf,cbzdm,czxrdm from svcb20d where cwtsbh = :ls_wtsbh)"},
    StillToBuild{"w_svc304_01.pick_team_gsgl", db::StatementKind::Select,
     R"(select cbmdm,cbmmc from sysc02 where cgsh = :gs_gsh and lmjbmbs = 1 and ltybs = 0 and cbmsx = '1')"},
    StillToBuild{"w_svc304_01.pick_team", db::StatementKind::Select,
     R"(select cbmdm,cbmmc,czt,dwgrq from v_svc300_bzxz where cgsh = :gs_gsh)"},
    StillToBuild{"w_svc304_01.pick_mechanic_gsgl", db::StatementKind::Select,
     R"(select cgrdm,cgrmc,cssbmdm,cbmmc from v_bm_gr_grlb where cgsh = :gs_gsh and ltybs=0 and cgrlbdm = '6'  and cssbmdm in (select cbmdm from sysc02 where cbmsx = '1'and cgsh =:gs_gsh))"},
    StillToBuild{"w_svc304_01.pick_mechanic", db::StatementKind::Select,
     R"(select cgrdm,cgrmc,cssbmdm,cbmmc,czt,dwgrq from v_svc300_zxrxz where cgsh = :gs_gsh)"},
    StillToBuild{"w_svc304_01.pick_team_mechanic_gsgl", db::StatementKind::Select,
     R"(select cgrdm,cgrmc from v_bm_gr_grlb where  ltybs=0 and cgrlbdm = '6' and cssbmdm = :ls_bzdm)"},
    StillToBuild{"w_svc304_01.pick_team_mechanic", db::StatementKind::Select,
     R"(select cgrdm,cgrmc,czt,dwgrq from v_svc300_zxrxz where  cssbmdm = :ls_bzdm)"},
    StillToBuild{"w_svc304_01.pick_station", db::StatementKind::Select,
     R"(select cwxgwdm,cwxgwmc,cgskzqdm,cgskzqmc from v_wtcc01 where   ltybs = 0)"},
    StillToBuild{"w_svc304_01.check_work_order", db::StatementKind::Select,
     R"(select count(*) from v_svc300_01 where cgsh = :gs_gsh and cwtsbh = :ls_wtsbh)"},
    StillToBuild{"w_svc304_01.check_item", db::StatementKind::Select,
     R"(select count(*) from svcb20d where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_wxxmdm)"},
    StillToBuild{"w_svc304_01.check_team", db::StatementKind::Select,
     R"(select count(*) from sysc02 where cgsh = :gs_gsh and cbmdm = :ls_bz and ltybs = 0 and cbmsx = '1')"},
    StillToBuild{"w_svc304_01.check_mechanic", db::StatementKind::Select,
     R"(select count(*) from v_bm_gr_grlb where cgsh = :gs_gsh and cgrdm = :ls_zxr and ltybs=0 and cgrlbdm = '6' and cssbmdm = :ls_bz)"},
    StillToBuild{"w_svc304_01.count_terminal_job", db::StatementKind::Select,
     R"(select count ( *) into :li_count from wtcb01c where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_xmh and lfxbs = 1 and cgsh = :gs_gsh)"},
    StillToBuild{"w_svc304_01.insert_terminal_job", db::StatementKind::Insert,
     R"(insert into wtcb01c ( dxcrq , cwtslsh , cwtsbh , cpzh , ckh , cwxxmdm , cwxgwdm , dpgsj , lzjbs , lfxbs , lzt , nscsj , cgwdm , cgsh ) select :ldt_now , :ls_wtslsh , :ls_wtsbh , :ls_pzh , '11111111' , :ls_xmh , :ls_gskzqdm , :ldt_now , 0 , 1 , 1 , :ldc_gs , :ls_gwdm , :gs_gsh)"},
    StillToBuild{"w_svc304_01.resend_terminal_job", db::StatementKind::Update,
     R"(update wtcb01c set cwxgwdm = :ls_gskzqdm , dpgsj = :ldt_now , nscsj = :ldc_gs , cgwdm = :ls_gwdm , lzt = 1 where cwtsbh = :ls_wtsbh and cwxxmdm = :ls_xmh and lfxbs = 1 and cgsh = :gs_gsh)"},
    StillToBuild{"w_svc309.default_copies", db::StatementKind::Select,
     R"(select top 1 ndyfs from sysb12 where cdydjlb ='14' and cgsh =:gs_gsh)"},
    StillToBuild{"w_svc309.default_copies_into", db::StatementKind::Select,
     R"(select top 1 ndyfs into :li_dyfs from sysb12 where cdydjlb ='14' and cgsh =:gs_gsh)"},
    StillToBuild{"w_svc310.set_contract_number", db::StatementKind::Update,
     R"(update svcb20c set chth = :ls_hth where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh and isnull(rtrim(chth), '') = '')"},
    StillToBuild{"w_svc310.set_inspection_number", db::StatementKind::Update,
     R"(update svcb20c set cjydh = :ls_hth where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh and isnull(rtrim(cjydh), '') = '')"},
    StillToBuild{"w_svc310.stored_contract_number", db::StatementKind::Select,
     R"(select chth into :ls_won from svcb20c where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh)"},
    StillToBuild{"w_svc310.stored_inspection_number", db::StatementKind::Select,
     R"(select cjydh into :ls_won from svcb20c where cwtsbh = :ls_wtsbh and cgsh = :gs_gsh)"},
    StillToBuild{"w_svc310.commit_sqlls", db::StatementKind::Commit,
     R"(commit using sqlls)"},
};
// clang-format on

}  // namespace kq::testing
