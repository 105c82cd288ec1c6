#pragma once
// The module's windows as the workstation serves them: the window manager of
// one session behind the WindowHost interface, with the module's menu.
#include <memory>

#include "framework/session.h"
#include "server/browser_ui.h"
#include "server/window_host.h"

namespace kq::server {

// The window host of a new session (a HostFactory); called on the session's
// UI thread.
std::unique_ptr<WindowHost> make_module_host(fw::Session& session, BrowserUi& ui);

}  // namespace kq::server
