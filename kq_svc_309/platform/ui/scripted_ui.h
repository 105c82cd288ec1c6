#pragma once
// A Ui for tests and command-line use: answers every kind of dialog from its
// own queue and records everything shown, in order.
//
//   message boxes   `answers` (the default button when empty)
//   selection lists `selections` (0, nothing chosen, when empty)
//   date ranges     `dateranges` (nullopt, cancelled, when empty)
//   previews        closed at once
//   progress        recorded; `progress_open` tells whether one is showing
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/ui.h"

namespace kq::ui {

class ScriptedUi : public Ui {
 public:
  int messagebox(const MessageBox& box) override {
    shown.push_back(box);
    log.push_back("messagebox: " + box.text);
    if (on_message) on_message(box);
    if (!answers.empty()) {
      int a = answers.front();
      answers.pop_front();
      return a;
    }
    return box.default_button;
  }

  long select(const SelectionList& list) override {
    selection_lists.push_back(list);
    log.push_back("select: " + list.title);
    if (selections.empty()) return 0;
    long a = selections.front();
    selections.pop_front();
    return a;
  }

  std::optional<std::string> daterange(const DateRange& range) override {
    dateranges_shown.push_back(range);
    log.push_back("daterange: " + range.title);
    if (dateranges.empty()) return std::nullopt;
    auto a = dateranges.front();
    dateranges.pop_front();
    return a;
  }

  void preview(const Preview& p) override {
    previews.push_back(p);
    log.push_back("preview: " + p.dataobject);
  }

  void progress(const Progress& p) override {
    progress_shown.push_back(p);
    progress_open = true;
    log.push_back("progress: " + p.text);
  }

  void progress_done() override {
    if (progress_open) log.push_back("progress done");
    progress_open = false;
  }

  // The texts of the messages shown, in order.
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& m : shown) out.push_back(m.text);
    return out;
  }

  // Answers, taken first in first out.
  std::deque<int> answers;
  std::deque<long> selections;
  std::deque<std::optional<std::string>> dateranges;

  // What was shown.
  std::vector<MessageBox> shown;
  std::vector<SelectionList> selection_lists;
  std::vector<DateRange> dateranges_shown;
  std::vector<Preview> previews;
  std::vector<Progress> progress_shown;
  bool progress_open = false;
  // Every dialog as one line ("messagebox: <text>", "select: <title>",
  // "daterange: <title>", "preview: <dataobject>", "progress: <text>",
  // "progress done"), in the order shown.
  std::vector<std::string> log;

  std::function<void(const MessageBox&)> on_message;  // e.g. print to standard error
};

}  // namespace kq::ui
