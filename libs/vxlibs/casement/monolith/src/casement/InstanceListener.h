#pragma once

#include "casement/FileDescriptor.h"

#include <sys/types.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Casement::DETAIL {

// The running copy's end of the single-instance socket. A thread accepts
// connections and reads one message from each; well-formed messages from the
// owner's processes are queued and announced to the message loop with an
// InstanceMessage event, everything else is dropped. The user-interface thread
// takes the queued paths.
class InstanceListener {
public:
    // How long one sender may take to deliver its whole message.
    static constexpr std::chrono::milliseconds MessageTimeout{1000};

    // `socketPath` (empty for an abstract socket) is removed when the listener
    // ends. Only processes of the user `owner` may talk to it.
    InstanceListener(FileDescriptor listening, std::string socketPath, uid_t owner,
                     std::chrono::milliseconds messageTimeout = MessageTimeout);
    ~InstanceListener();
    InstanceListener(const InstanceListener&) = delete;
    InstanceListener& operator=(const InstanceListener&) = delete;

    // The paths received since the last call, in order; an empty one asks
    // only to bring the window to the front.
    std::vector<std::u16string> takePending();

private:
    void serve();
    void receiveFrom(const FileDescriptor& connection);

    FileDescriptor listening_;
    FileDescriptor wakeRead_;
    FileDescriptor wakeWrite_;
    std::string socketPath_;
    uid_t owner_;
    std::chrono::milliseconds messageTimeout_;
    std::mutex lock_;
    std::deque<std::u16string> pending_;
    std::thread thread_;
};

} // namespace Casement::DETAIL
