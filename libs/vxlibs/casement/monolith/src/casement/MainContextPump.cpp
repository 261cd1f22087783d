#include "casement/MainContextPump.h"

#include "casement/MainContextPumpOSImpl.h"

#include <memory>

namespace Casement {
namespace {

// Shared with a serve() under way, so that a source that stops the pump while
// it is dispatched does not destroy the pump under its own feet: the last
// owner releases it.
std::shared_ptr<MainContextPump::OSImpl>& running()
{
    static std::shared_ptr<MainContextPump::OSImpl> instance;
    return instance;
}

} // namespace

bool MainContextPump::start()
{
    if (!running()) {
        running() = OSImpl::start();
    }
    return running() != nullptr;
}

void MainContextPump::stop()
{
    if (running()) {
        running()->retire();
        running().reset();
    }
}

bool MainContextPump::isRunning()
{
    return running() != nullptr;
}

void MainContextPump::serve()
{
    if (running()) {
        const std::shared_ptr<OSImpl> serving = running();
        serving->serve();
    }
}

} // namespace Casement
