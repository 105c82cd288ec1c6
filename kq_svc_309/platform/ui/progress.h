#pragma once
// The progress indicator: an animation and a text shown while a long piece of
// work runs; it has no answer.
#include <string>

namespace kq::ui {

struct Progress {
  std::string file;  // the animation ("setup.avi")
  std::string text;  // "正在取消结算，请稍候..."
  friend bool operator==(const Progress&, const Progress&) = default;
};

}  // namespace kq::ui
