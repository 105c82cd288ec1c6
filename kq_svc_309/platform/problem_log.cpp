#include "platform/problem_log.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/value/text.h"

namespace kq {

void log_problem(std::string_view text) {
  static std::mutex m;
  std::string line = "kq_svc_309: " + text::valid_utf8(text);
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  line += '\n';
  std::lock_guard lock(m);
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace kq
