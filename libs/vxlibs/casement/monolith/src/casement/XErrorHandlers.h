#pragma once

namespace Casement::DETAIL {

// Replaces Xlib's default error handlers, which end the program with
// exit(1). A protocol error is reported on standard error and the program
// goes on: SDL may send a wake-up event to a window that another thread has
// just destroyed, and that must not end an update in progress. A lost
// connection to the X server ends the program at once with status 1,
// without running the static destructors while other threads still run.
// Call after SDL's X11 video driver has started.
void installXErrorHandlers();

} // namespace Casement::DETAIL
