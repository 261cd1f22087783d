#include "casement/SingleInstance.h"

#include "casement/Application.h"
#include "casement/InstanceListener.h"
#include "casement/InstanceMessage.h"
#include "casement/InstanceSocket.h"
#include "casement/ShellEvents.h"

#include <boost/locale/encoding_utf.hpp>

#include <sys/socket.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace Casement {
namespace {

using DETAIL::InstanceMessage;
using DETAIL::InstanceSocket;

struct State {
    std::string name;
    std::unique_ptr<DETAIL::InstanceListener> listener;
};

State& state()
{
    static State instance;
    return instance;
}

std::vector<std::string> processArguments()
{
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<std::string> arguments;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\0', start);
        arguments.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return arguments;
}

// The message for the other copy: the first argument as an absolute path when
// it names an existing item, otherwise only the request to come to the front.
std::vector<std::uint8_t> handOverMessage(const std::vector<std::string>& arguments)
{
    std::u16string path;
    std::error_code error;
    if (arguments.size() >= 2) {
        const std::filesystem::path item = std::filesystem::absolute(arguments[1], error);
        if (!error && std::filesystem::exists(item, error)) {
            path = boost::locale::conv::utf_to_utf<char16_t>(item.string());
        }
    }
    std::vector<std::uint8_t> message = InstanceMessage::encode(path);
    return message.empty() ? InstanceMessage::encode(u"") : message;
}

void sendAll(const DETAIL::FileDescriptor& socket, const std::vector<std::uint8_t>& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t count =
            ::send(socket.get(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(count);
    }
}

// Becomes the marker; false when another copy took the name meanwhile.
bool becomeMarker(const InstanceSocket::tAddress& address)
{
    DETAIL::FileDescriptor listening = InstanceSocket::listenAt(address);
    if (!listening.valid()) {
        return false;
    }
    state().listener =
        std::make_unique<DETAIL::InstanceListener>(std::move(listening), address.path, address.owner);
    return true;
}

} // namespace

bool SingleInstance::check(std::string_view name, int flag)
{
    if (state().name.empty()) {
        state().name = name;
    }
    if (Application::current() == nullptr || state().listener != nullptr) {
        return false;
    }
    const std::optional<InstanceSocket::tAddress> address = InstanceSocket::addressFor(name);
    if (!address) {
        return false;
    }
    // A listener of another user is no other copy. When it holds the abstract
    // name, this copy cannot listen there either: it runs on its own, without
    // the single-instance socket, rather than hand its argument to a stranger
    // or refuse to start.
    DETAIL::FileDescriptor other = InstanceSocket::connectTo(*address);
    if (!other.valid() && (becomeMarker(*address) || !(other = InstanceSocket::connectTo(*address)).valid())) {
        return false;
    }
    const std::vector<std::string> arguments = processArguments();
    if (arguments.size() < 2 && flag == 1) {
        return false;
    }
    sendAll(other, handOverMessage(arguments));
    return true;
}

void SingleInstance::deliverPending()
{
    if (state().listener == nullptr) {
        return;
    }
    for (const std::u16string& text : state().listener->takePending()) {
        Application* application = Application::current();
        if (application == nullptr) {
            return;
        }
        std::error_code error;
        std::filesystem::path path(boost::locale::conv::utf_to_utf<char>(text));
        if (!text.empty() && std::filesystem::exists(path, error)) {
            application->dispatchEvent(InstanceArgumentMessage, &path);
        }
        if (application->mainWindow() != nullptr) {
            application->mainWindow()->handleEvent(RaiseWindowRequest, nullptr, false);
        }
    }
}

void SingleInstance::close()
{
    state().listener.reset();
    state().name.clear();
}

bool SingleInstance::isMarking()
{
    return state().listener != nullptr;
}

} // namespace Casement
