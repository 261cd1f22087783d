// The watch on signals from outside: which signals count, and that a thread
// waiting on its wake descriptor hears of them.
#include "basalt/InterruptWatch.h"

#include <gtest/gtest.h>

#include <csignal>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(InterruptWatch, CountsSignalsFromOutsideButNotAWriteIntoAClosedPipe)
{
    struct sigaction before {};
    sigaction(SIGTERM, nullptr, &before);
    {
        Basalt::InterruptWatch watch;
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            ::raise(signal);
        }
        EXPECT_EQ(watch.takeInterrupts(), 3);
        EXPECT_EQ(watch.lastSignal(), SIGHUP);
        pollfd wake{watch.wakeDescriptor(), POLLIN, 0};
        EXPECT_EQ(::poll(&wake, 1, 0), 1) << "a waiting thread wakes";

        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        ::close(pipeEnds[0]);
        EXPECT_EQ(::write(pipeEnds[1], "x", 1), -1);
        ::close(pipeEnds[1]);
        EXPECT_EQ(watch.takeInterrupts(), 0) << "the program's own write into a closed pipe";

        const pid_t child = ::fork();
        if (child == 0) {
            ::kill(::getppid(), SIGPIPE);
            ::_exit(0);
        }
        ::waitpid(child, nullptr, 0);
        EXPECT_EQ(watch.takeInterrupts(), 1) << "SIGPIPE sent by another process";
    }
    struct sigaction after {};
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

} // namespace
