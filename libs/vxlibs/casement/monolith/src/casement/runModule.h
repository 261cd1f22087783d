#pragma once

namespace Casement {

// The body of the program's entry routine: starts the module's application,
// runs its message loop when it started, destroys the application in every
// case and returns the exit code 0.
int runModule();

} // namespace Casement
