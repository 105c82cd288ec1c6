#pragma once
// Names of the settlement status codes (cwxzt) as the cancellation writes
// them in its log and its questions.
#include <string>

namespace kq::svc {

// "1" 结清, "2" 欠账, "0" 未结; another code: empty.
inline std::string status_name(const std::string& code) {
  if (code == "1") return "结清";
  if (code == "2") return "欠账";
  if (code == "0") return "未结";
  return "";
}

}  // namespace kq::svc
