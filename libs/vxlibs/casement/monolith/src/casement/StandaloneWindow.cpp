#include "casement/StandaloneWindow.h"

#include "casement/MessageLoop.h"
#include "casement/Picture.h"
#include "casement/ShellEvents.h"
#include "casement/StandaloneWindowOSImpl.h"

namespace Casement {

StandaloneWindow::StandaloneWindow()
    : impl_(std::make_unique<OSImpl>(*this))
{
}

StandaloneWindow::~StandaloneWindow()
{
    MessageLoop::revokeCommands(this);
}

bool StandaloneWindow::create(std::int32_t width, std::int32_t height, const std::string& title)
{
    return impl_->create(width, height, title);
}

std::string StandaloneWindow::platformError()
{
    return OSImpl::lastError();
}

bool StandaloneWindow::isCreated() const
{
    return impl_->window() != nullptr;
}

bool StandaloneWindow::setIcon(const Picture& icon)
{
    return setIcon(icon.pixels(), icon.width(), icon.height());
}

bool StandaloneWindow::setIcon(const std::uint32_t* pixels, std::int32_t width, std::int32_t height)
{
    return impl_->setIcon(pixels, width, height);
}

void StandaloneWindow::show()
{
    impl_->show();
}

void StandaloneWindow::bringToFront()
{
    impl_->bringToFront();
}

bool StandaloneWindow::close()
{
    return impl_->close();
}

void StandaloneWindow::destroy()
{
    impl_->destroy();
}

std::string StandaloneWindow::title() const
{
    return impl_->title();
}

Point StandaloneWindow::screenPosition() const
{
    return impl_->screenPosition();
}

bool StandaloneWindow::isShown() const
{
    return impl_->window() != nullptr && !impl_->hidden();
}

std::int32_t StandaloneWindow::clientWidth() const
{
    return impl_->deviceWidth();
}

std::int32_t StandaloneWindow::clientHeight() const
{
    return impl_->deviceHeight();
}

std::int32_t StandaloneWindow::logicalWidth() const
{
    return impl_->logicalWidth();
}

std::int32_t StandaloneWindow::logicalHeight() const
{
    return impl_->logicalHeight();
}

double StandaloneWindow::exactScale() const
{
    return impl_->scale().exact;
}

std::int32_t StandaloneWindow::backingScale() const
{
    return impl_->scale().backing;
}

bool StandaloneWindow::present(const std::uint32_t* buffer, std::int32_t width, std::int32_t height,
                               const Rect& dirty)
{
    return impl_->present(buffer, width, height, dirty);
}

void StandaloneWindow::requestRepaint(const Rect& logical)
{
    impl_->repaintLogical(logical);
}

std::uint32_t StandaloneWindow::windowId() const
{
    return impl_->windowId();
}

// The shell's requests are answered here, so that a subclass handler that
// passes unknown codes on to this one needs to do nothing for them.
bool StandaloneWindow::handleEvent(std::uint32_t code, void*, bool)
{
    switch (code) {
    case CloseWindowRequest:
        destroy();
        return true;
    case RaiseWindowRequest:
        bringToFront();
        return true;
    default:
        return false;
    }
}

} // namespace Casement
