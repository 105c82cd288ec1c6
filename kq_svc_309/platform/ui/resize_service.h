#pragma once
// The resize service of a window (inv_resize): records how each registered
// control follows the window's size, in percent of the change of the
// window's width and height. The workstation applies it; the server only
// records it.
#include <string>
#include <vector>

namespace kq::ui {

class Control;

struct ResizeRule {
  std::string control;
  int x = 0, y = 0, width = 0, height = 0;  // percent of the change followed
  friend bool operator==(const ResizeRule&, const ResizeRule&) = default;
};

class ResizeService {
 public:
  // Registers (or registers again) `control`: it moves by x% and y% of the
  // window's change and grows by width% and height%. 1.
  int of_register(const Control& control, int x, int y, int width, int height);
  // The rule of a control; null when it is not registered.
  const ResizeRule* rule(const std::string& control) const;
  const std::vector<ResizeRule>& rules() const { return rules_; }

 private:
  std::vector<ResizeRule> rules_;
};

}  // namespace kq::ui
