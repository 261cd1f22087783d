#pragma once

#include <functional>
#include <stdexcept>
#include <string>

namespace Basalt {

// Internal failures of the program. By default a failed assertion shows
// "Error <file>:<line>\n\n<message>" in a modal message box captioned with the
// application name and ends the process with exit code 1. In throwing mode it
// raises Assertion::exception ("Assertion in <file>:<line> <message>") instead.
class Assertion {
public:
    class exception : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // Shows a modal message box. The window framework installs its own; until
    // then the text goes to standard error.
    using MessageBox = std::function<void(const std::string& caption, const std::string& text)>;

    [[noreturn]] static void fail(const char* file, int line, const char* message = nullptr);

    static void setThrowing(bool throwing);
    static bool isThrowing();
    static void setMessageBox(MessageBox messageBox);
};

} // namespace Basalt

#define BASALT_ASSERT(condition, message) \
    ((condition) ? static_cast<void>(0) : ::Basalt::Assertion::fail(__FILE__, __LINE__, (message)))
