#pragma once
// The composition root of the module: the one place that registers the
// module with the framework. The application calls install() once at
// start-up, before it opens a window or loads a data window definition.
//
// Adding a window: build it in its folder (settlement/w_svc305.cpp …) and add
// one line to kWindows in module.cpp; a window of the main menu names its
// title there too.
#include "platform/ui/window_registry.h"

namespace kq::module {

// Registers, once per process (later calls do nothing), thread-safe:
// - the data window definitions compiled into the binary (data/*.yaml) into
//   dw::application_definitions();
// - the global functions that data window expressions call (the host's and
//   the module's) into dw::global_functions();
// - the module's window classes, and the host windows they open, into
//   ui::window_classes();
// - the main-menu entries of its windows, in menu order.
void install();

// Registers the module's window classes and the host windows they open into
// `registry` (a test's own registry); install() does this for
// ui::window_classes(). Also installs the definitions and functions.
void install_windows(ui::WindowRegistry& registry);

}  // namespace kq::module
