#include "framework/f_qmbs_retu.h"

#include <string>

#include "framework/f_retu_para.h"
#include "platform/value/text.h"

namespace kq::fw {

Str f_qmbs_retu(long clause) {
  Str own = f_retu_para("SVC", "CQMBS" + std::to_string(clause));
  if (own && !text::trim(*own).empty()) return own;
  if (clause == 4) return std::string("3、小修、专项修理为2日或行驶500Km；");
  return std::nullopt;
}

}  // namespace kq::fw
