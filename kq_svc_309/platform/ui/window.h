#pragma once
// A window: a class name, a title, a parent, its controls by name, its menu,
// and its events as named handlers per (control, event) — the window's own
// events under the control "".
//
// A window class derives from an ancestor; its events are virtual methods
// named as the event (`ue_before_open`, `open`, `ue_cus`,
// `dw_display_doubleclicked` for `doubleclicked` of `dw_display`), bound to
// their names once by the class that declares them:
//
//   on("dw_display", "doubleclicked", [this](const Event& e) {
//     return dw_display_doubleclicked(e.xpos, e.ypos, e.row, e.column); });
//
// An overriding event calls the ancestor's first, explicitly
// (`if (w_stmm_display::ue_before_open() == 0) return 0;`).
//
// A window lives in a WindowManager, which opens it (ue_before_open, then
// open), closes it (close) and runs posted events. Names of controls and
// events are matched without regard to case. Not thread-safe: a window
// belongs to its session's thread.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/datawindow_control.h"
#include "platform/ui/event.h"
#include "platform/ui/menu.h"
#include "platform/ui/message.h"
#include "platform/ui/resize_service.h"

namespace kq::ui {

class WindowManager;

class Window {
 public:
  using Handler = std::function<long(const Event&)>;

  Window(std::string classname, std::string title);
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // --- Identity ------------------------------------------------------------
  const std::string& classname() const { return classname_; }
  std::string title;
  // Set when opened: the manager's number for the window, its parent (null
  // for none) and its manager.
  int id() const { return id_; }
  Window* parent() const { return parent_; }
  WindowManager* manager() const { return manager_; }
  // Opened and not yet closed.
  bool is_open() const { return open_; }
  // The message the window was opened with.
  const Message& parameter() const { return parameter_; }

  // --- Controls ------------------------------------------------------------
  // Creates a control of class C (Control, DataWindowControl or a class
  // derived from them) from `args` and registers it under its name; the
  // window owns it. Names are unique within a window.
  template <typename C = Control, typename... A>
  C& add(A&&... args) {
    auto control = std::make_unique<C>(std::forward<A>(args)...);
    C& ref = *control;
    adopt(std::move(control));
    return ref;
  }
  Control& add_control(std::string name, ControlKind kind, std::string text = "") {
    return add<Control>(std::move(name), kind, std::move(text));
  }
  // The control named `name`; null when there is none.
  Control* control(std::string_view name) const;
  // The data window control named `name`; null when there is none (or it is
  // not a data window).
  DataWindowControl* datawindow(std::string_view name) const;
  // In the order they were added.
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

  // The control that has the focus ("" = none).
  const std::string& focus() const { return focus_; }
  void set_focus(std::string control);

  // --- Events --------------------------------------------------------------
  // Binds (or binds anew) the handler of `event` of `control` ("" = the window).
  void on(std::string_view control, std::string_view event, Handler handler);
  bool has_event(std::string_view control, std::string_view event) const;
  // Runs an event now and returns its result; -1 when it has no handler.
  long triggerevent(std::string_view event, const Event& e = {});
  long triggerevent(std::string_view control, std::string_view event, const Event& e);
  // Runs an event after the event that is running now (and every event
  // posted before it) has finished. Without a running event it runs when the
  // current call into the manager returns. Dropped when the window closes
  // first, or when the window is not in a manager.
  void postevent(std::string_view event, const Event& e = {});
  void postevent(std::string_view control, std::string_view event, const Event& e);

  // The window's own events, bound by this class. 1 goes on, 0 stops: a
  // ue_before_open of 0 cancels the opening.
  virtual long ue_before_open() { return 1; }
  virtual long open() { return 1; }
  virtual long close() { return 1; }
  // The person clicked the heading of `column` ("cwtsbh", as the heading
  // names it) of `control`; runs before the control's clicked event. The
  // runtime's window does nothing; an ancestor that sorts its lists by their
  // headings overrides it.
  virtual void heading_clicked(DataWindowControl& control, const std::string& column) {
    (void)control;
    (void)column;
  }

  // --- Menu ----------------------------------------------------------------
  Menu& menu() { return menu_; }
  const Menu& menu() const { return menu_; }
  // Takes the menu object `name`; the commands and tool bar stay. 1.
  int changemenu(std::string name);

  // The resize service: how controls follow the window's size.
  ResizeService inv_resize;

 private:
  friend class WindowManager;
  void adopt(std::unique_ptr<Control> control);
  // Runs the handler without the manager's bookkeeping; -1 when there is none.
  long run_handler(std::string_view control, std::string_view event, const Event& e);
  void wire_itemchanged(DataWindowControl& control);

  std::string classname_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<std::string, Control*, std::less<>> by_name_;
  std::map<std::pair<std::string, std::string>, Handler> handlers_;
  std::string focus_;
  Menu menu_;

  int id_ = 0;
  Window* parent_ = nullptr;
  WindowManager* manager_ = nullptr;
  bool open_ = false;
  Message parameter_;
};

// The runtime's close(window): closes `w` through its manager (its close
// event runs; windows opened with it as parent close first). 1, or -1 when
// it is not open.
int close(Window& w);
// Closes `w` leaving `answer` in its manager's message for the opener.
int closewithreturn(Window& w, Message answer);

}  // namespace kq::ui
