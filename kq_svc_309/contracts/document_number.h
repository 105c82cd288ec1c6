#pragma once
// Numbers of a work order's repair contract (chth) and inspection sheet
// (cjydh): made once, stored in svcb20c on the second transaction sqlls and
// never changed afterwards.
#include <string>
#include <string_view>

#include "framework/session.h"
#include "platform/value/value.h"

namespace kq::svc {

// One numbered document of a work order, with the texts of its failures.
struct DocumentNumber {
  const char* column;        // column of svcb20c holding the number
  const char* counter;       // f_retu_djxh series of module "SVC"
  const char* make_failed;   // no new number could be made
  const char* store_failed;  // the number could not be stored
  const char* order_gone;    // the work order is no longer a current one
};

inline constexpr DocumentNumber kContractNumber{"chth", "NHTH", "生成合同号失败!", "修改合同号失败!",
                                                "该委托书已转入历史或已删除，合同号未保存!"};
inline constexpr DocumentNumber kInspectionNumber{"cjydh", "NJYDH", "生成检验号失败!", "修改检验单号失败!",
                                                  "该委托书已转入历史或已删除，检验单号未保存!"};

// The prefix of new numbers: with gb_net the company code and the last two
// digits of the business year ("0110" for company 01 in 2010), else the year
// ("2010"); then the business month ("04").
std::string document_number_prefix(const fw::Globals& g);

// A new number: the prefix followed by the next counter of the document's
// series. Null when the counter cannot be advanced.
Str new_document_number(const DocumentNumber& kind);

// Outcome of storing a number.
struct StoredNumber {
  Str number;           // the number the work order carries now; null on failure
  const char* failure;  // the message to show when number is null
};

// Stores `number` as the document's number of current work order `wtsbh` on
// sqlls and commits at once; a number already set is kept. The work order
// then carries either `number` or the number another workstation set first,
// which is returned. Fails, with sqlls rolled back and nothing written, when
// a statement fails (store_failed) or the work order is no longer in svcb20c
// (order_gone).
StoredNumber store_document_number(const DocumentNumber& kind, const std::string& wtsbh, const std::string& number);

}  // namespace kq::svc
