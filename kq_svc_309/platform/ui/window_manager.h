#pragma once
// The open windows of one session. Opens windows by class name through a
// WindowRegistry, keeps them in the order opened, finds them, closes them,
// and runs posted events once the event that posted them has finished.
//
//   WindowManager windows;
//   Window* w = windows.open("w_svc305");                 // ue_before_open, open
//   windows.open("w_svc305_01", Message::of_object(parm), w);
//
// Opening: the window gets its id, parent and parameter (also left in
// `message`); the handlers "ue_before_construct" and "constructor" of each
// control run in the order of the controls, then ue_before_open (0 cancels
// the opening: the window is dropped without its close event), then open. A
// class that is already open is not opened again: open() activates and
// returns that window, and the parameter is not delivered.
//
// Closing runs the close event of the windows opened with the closing one as
// parent first, then its own; the window leaves the list at once and is
// destroyed when the outermost running event has finished, so window code
// may close its own window.
//
// Not thread-safe: the manager and its windows belong to the session's thread.
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/event.h"
#include "platform/ui/message.h"
#include "platform/ui/window_registry.h"

namespace kq::ui {

class Window;

class WindowManager {
 public:
  explicit WindowManager(const WindowRegistry& registry = window_classes());
  // Destroys the windows without running their close events (close_all()
  // runs them, and needs the session that opened them).
  ~WindowManager();
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  // Opens a window of a registered class; null when the class is unknown,
  // the window refused to open or closed itself while opening (last_error()
  // says which).
  Window* open(std::string_view classname, Message parameter = {}, Window* parent = nullptr);
  // Opens a window made by the caller.
  Window* open(std::unique_ptr<Window> window, Message parameter = {}, Window* parent = nullptr);
  const std::string& last_error() const { return error_; }

  // Closes a window (see above); false when it is not open here.
  bool close(Window& w);
  // Closes every window, the last opened first.
  void close_all();

  // The open windows in the order opened.
  std::vector<Window*> windows() const;
  // The open window of a class (the last opened), or with an id; null when none.
  Window* find(std::string_view classname) const;
  Window* find(int id) const;
  // The window opened or activated last; null when none is open.
  Window* active() const;
  void activate(Window& w);
  // Open windows whose parent is `w`.
  std::vector<Window*> children(const Window& w) const;

  // The parameter of the window opened last, or the answer of a window
  // closed with closewithreturn.
  Message message;

  // Used by Window: runs an event of `w` within the manager's bookkeeping
  // (posted events and closed windows are settled when the outermost event
  // ends), and queues a posted one.
  long run(Window& w, std::string_view control, std::string_view event, const Event& e);
  void post(Window& w, std::string_view control, std::string_view event, const Event& e);

  // Counts nested calls; the outermost settles posted events and closed windows.
  class Scope {
   public:
    explicit Scope(WindowManager& m);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    WindowManager& m_;
  };

 private:
  struct Posted {
    int window;
    std::string control;
    std::string event;
    Event e;
  };
  void settle();
  // Moves an open window to the closed ones.
  void retire(Window& w);

  const WindowRegistry& registry_;
  std::vector<std::unique_ptr<Window>> open_;
  std::vector<std::unique_ptr<Window>> closed_;  // destroyed when settled
  std::deque<Posted> posted_;
  int depth_ = 0;
  int next_id_ = 1;
  int active_ = 0;
  std::string error_;
};

}  // namespace kq::ui
