#include "XvfbServer.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

std::string readLineFrom(int fd)
{
    std::string line;
    char c = 0;
    pollfd waiting{fd, POLLIN, 0};
    while (poll(&waiting, 1, 10000) == 1 && read(fd, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    return c == '\n' ? line : std::string();
}

bool XvfbServer::useOrStart()
{
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && *display != '\0') {
        return true;
    }
    if (!start()) {
        return false;
    }
    setenv("DISPLAY", display_.c_str(), 1);
    return true;
}

XvfbServer::~XvfbServer()
{
    stop();
}

bool XvfbServer::installed()
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (access((folder + "/Xvfb").c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

bool XvfbServer::start(int width, int height)
{
    int fds[2];
    if (pid_ > 0 || pipe(fds) != 0) {
        return false;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string fd = std::to_string(fds[1]);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        // A test that crashes takes its server with it.
        if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != parent) {
            _exit(127);
        }
        close(fds[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-dpi", "96", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    const std::string number = pid_ > 0 ? readLineFrom(fds[0]) : std::string();
    close(fds[0]);
    if (number.empty()) {
        stop();
        return false;
    }
    display_ = ":" + number;
    return true;
}

void XvfbServer::stop()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
    display_.clear();
}
