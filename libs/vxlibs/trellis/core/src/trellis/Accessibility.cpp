#include "trellis/Accessibility.h"

#include "trellis/AccessibilityOSImpl.h"

#include <algorithm>
#include <vector>

namespace Trellis {
namespace {

// Every toolkit window, published or not, so that a layer started later
// finds the windows that are already open.
std::vector<IAccessibleWindow*>& windows()
{
    static std::vector<IAccessibleWindow*> registered;
    return registered;
}

} // namespace

bool Accessibility::start(const std::string& programName)
{
    return OSImpl::start(programName, windows());
}

void Accessibility::stop()
{
    OSImpl::stop();
}

bool Accessibility::isActive()
{
    return OSImpl::running() != nullptr;
}

void Accessibility::addWindow(IAccessibleWindow& window)
{
    if (std::find(windows().begin(), windows().end(), &window) != windows().end()) {
        return;
    }
    windows().push_back(&window);
    if (OSImpl* layer = OSImpl::running()) {
        layer->addWindow(window);
    }
}

void Accessibility::removeWindow(IAccessibleWindow& window)
{
    std::erase(windows(), &window);
    if (OSImpl* layer = OSImpl::running()) {
        layer->removeWindow(window);
    }
}

void Accessibility::windowChanged(IAccessibleWindow& window)
{
    if (OSImpl* layer = OSImpl::running()) {
        layer->windowChanged(window);
    }
}

} // namespace Trellis
