#include "platform/ui/resize_service.h"

#include "platform/ui/control.h"

namespace kq::ui {

int ResizeService::of_register(const Control& control, int x, int y, int width, int height) {
  ResizeRule r{control.name(), x, y, width, height};
  for (auto& existing : rules_) {
    if (existing.control == r.control) {
      existing = r;
      return 1;
    }
  }
  rules_.push_back(r);
  return 1;
}

const ResizeRule* ResizeService::rule(const std::string& control) const {
  for (const auto& r : rules_)
    if (r.control == control) return &r;
  return nullptr;
}

}  // namespace kq::ui
