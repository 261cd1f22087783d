#pragma once

#include <array>
#include <string>

namespace Casement {

// The five kinds of top-level and child windows and their class data. SDL has
// nothing to register with the system; the window layer reads the names and
// flags of a kind from here while the framework is initialised.
class WindowClasses {
public:
    enum eKind { Normal, Frameless, Child, VSTChild, Overlay, KindCount };

    struct tWindowClass {
        std::string name;             // "VXNormalWindow<module address>", ...
        bool doubleClicks = true;     // every kind reports double clicks
        bool privateContext = false;  // kind VSTChild keeps its own drawing context
        bool ownProcedure = false;    // Frameless and Overlay handle events their own way
    };

    // Fills the five classes; true at once when they are registered already.
    static bool registerAll();
    static void unregisterAll();
    static bool isRegistered();
    // The class of a kind; null while the classes are not registered.
    static const tWindowClass* find(eKind kind);
};

} // namespace Casement
