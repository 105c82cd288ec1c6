#include "framework/f_retu_czyauth.h"

#include "framework/session.h"
#include "platform/value/text.h"

namespace kq::fw {

bool f_retu_czyauth(std::string_view code) {
  for (const auto& a : session().g.authorities)
    if (text::iequals(text::trim(a), text::trim(code))) return true;
  return false;
}

}  // namespace kq::fw
