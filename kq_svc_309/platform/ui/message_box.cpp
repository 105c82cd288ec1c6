#include "platform/ui/message_box.h"

namespace kq::ui {

const char* const* button_captions(Buttons buttons, int* count) {
  static const char* const ok[] = {"确定"};
  static const char* const ok_cancel[] = {"确定", "取消"};
  static const char* const yes_no[] = {"是", "否"};
  static const char* const yes_no_cancel[] = {"是", "否", "取消"};
  static const char* const retry_cancel[] = {"重试", "取消"};
  static const char* const abort_retry_ignore[] = {"终止", "重试", "忽略"};
  switch (buttons) {
    case Buttons::Ok: *count = 1; return ok;
    case Buttons::OkCancel: *count = 2; return ok_cancel;
    case Buttons::YesNo: *count = 2; return yes_no;
    case Buttons::YesNoCancel: *count = 3; return yes_no_cancel;
    case Buttons::RetryCancel: *count = 2; return retry_cancel;
    case Buttons::AbortRetryIgnore: *count = 3; return abort_retry_ignore;
  }
  *count = 1;
  return ok;
}

}  // namespace kq::ui
