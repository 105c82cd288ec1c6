#pragma once
// A Ui for tests and command-line use: answers from a queue (the default
// button when the queue is empty) and records every message shown.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/ui.h"

namespace kq::ui {

class ScriptedUi : public Ui {
 public:
  int messagebox(const MessageBox& box) override {
    shown.push_back(box);
    if (on_message) on_message(box);
    if (!answers.empty()) {
      int a = answers.front();
      answers.pop_front();
      return a;
    }
    return box.default_button;
  }

  // The texts of the messages shown, in order.
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& m : shown) out.push_back(m.text);
    return out;
  }

  std::deque<int> answers;
  std::vector<MessageBox> shown;
  std::function<void(const MessageBox&)> on_message;  // e.g. print to standard error
};

}  // namespace kq::ui
