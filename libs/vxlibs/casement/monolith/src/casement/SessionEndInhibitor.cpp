#include "casement/SessionEndInhibitor.h"

#include "casement/SessionEndInhibitorOSImpl.h"

namespace Casement {

SessionEndInhibitor::SessionEndInhibitor(tInhibition inhibition)
    : impl_(std::make_unique<OSImpl>(std::move(inhibition)))
{
}

SessionEndInhibitor::~SessionEndInhibitor() = default;

bool SessionEndInhibitor::acquire()
{
    return impl_->acquire();
}

void SessionEndInhibitor::release()
{
    impl_->release();
}

bool SessionEndInhibitor::isHeld() const
{
    return impl_->isHeld();
}

const std::string& SessionEndInhibitor::failure() const
{
    return impl_->failure();
}

} // namespace Casement
