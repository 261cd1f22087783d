#pragma once

namespace Trellis {

class ManagerContainer;

// The rule database of one style set (matching and precedence).
class StyleManager {
public:
    explicit StyleManager(ManagerContainer& container) : container_(container) {}

    // The resource manager through which stylesheets and their imports are found.
    ManagerContainer& container() const { return container_; }

private:
    ManagerContainer& container_;
};

} // namespace Trellis
