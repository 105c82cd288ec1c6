#pragma once
// Collected problems of one definition file, each "data/d_x.yaml:LINE: message".
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace kq::dw {

class LoadErrors {
 public:
  explicit LoadErrors(std::string file) : file_(std::move(file)) {}

  // `line` counts from 1; 0 when the place is not known.
  void add(int line, std::string_view message) {
    list_.push_back(file_ + ":" + std::to_string(line) + ": " + std::string(message));
  }
  bool empty() const { return list_.empty(); }
  const std::string& file() const { return file_; }
  // All problems, one per line, in the order found.
  Error error() const {
    std::string text;
    for (const auto& e : list_) {
      if (!text.empty()) text += '\n';
      text += e;
    }
    return Error{text};
  }

 private:
  std::string file_;
  std::vector<std::string> list_;
};

}  // namespace kq::dw
