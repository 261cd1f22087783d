#include "casement/XErrorHandlers.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

namespace Casement::DETAIL {
namespace {

int reportProtocolError(Display*, XErrorEvent* error)
{
    std::fprintf(stderr, "X error %u on request %u.%u for resource 0x%lx, ignored\n",
                 static_cast<unsigned>(error->error_code), static_cast<unsigned>(error->request_code),
                 static_cast<unsigned>(error->minor_code), error->resourceid);
    return 0;
}

int endOnLostConnection(Display*)
{
    std::fputs("the connection to the X server was lost\n", stderr);
    std::fflush(nullptr);
    std::_Exit(1);
}

} // namespace

void installXErrorHandlers()
{
    XSetErrorHandler(reportProtocolError);
    XSetIOErrorHandler(endOnLostConnection);
}

} // namespace Casement::DETAIL
