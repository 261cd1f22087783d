#include "basalt/Assertion.h"

#include "basalt/init_basalt.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include <fmt/format.h>
#include <fmt/printf.h>

namespace Basalt {
namespace {

std::atomic<bool> throwing{false};
std::mutex messageBoxMutex;

void writeToStandardError(const std::string& caption, const std::string& text)
{
    std::fprintf(stderr, "%s\n%s\n", caption.c_str(), text.c_str());
}

Assertion::MessageBox& messageBox()
{
    static Assertion::MessageBox box = writeToStandardError;
    return box;
}

} // namespace

void Assertion::fail(const char* file, int line, const char* message)
{
    if (throwing) {
        throw exception(fmt::sprintf("Assertion in %s:%d %s", file, line, message ? message : ""));
    }
    const std::string text = message ? fmt::sprintf("Error %s:%d\n\n%s", file, line, message)
                                     : fmt::sprintf("Error %s:%d", file, line);
    {
        std::lock_guard lock(messageBoxMutex);
        messageBox()(applicationName(), text);
    }
    std::fflush(nullptr);
    std::_Exit(1);
}

void Assertion::setThrowing(bool enabled)
{
    throwing = enabled;
}

bool Assertion::isThrowing()
{
    return throwing;
}

void Assertion::setMessageBox(MessageBox box)
{
    std::lock_guard lock(messageBoxMutex);
    messageBox() = box ? std::move(box) : MessageBox(writeToStandardError);
}

} // namespace Basalt
