#include "Processes.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace UsbEmulation {

namespace {

constexpr const char* PreloadLibrary = "libumockdev-preload.so.0";

// Without these in its bounding set, a program that root starts keeps them
// neither; for other users there is nothing to drop and the calls fail harmlessly.
void dropFileOverrideCapabilities()
{
    ::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0);
    ::prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0);
}

} // namespace

bool ensurePreload(char** argv)
{
    const char* current = std::getenv("LD_PRELOAD");
    if (current && std::strstr(current, "libumockdev-preload")) {
        return true;
    }
    const std::string preload = current && *current ? std::string(PreloadLibrary) + ":" + current : PreloadLibrary;
    ::setenv("LD_PRELOAD", preload.c_str(), 1);
    ::execv("/proc/self/exe", argv);
    std::fprintf(stderr, "usb-emulation: cannot start again under %s: %s\n", PreloadLibrary, std::strerror(errno));
    return false;
}

int runCommand(const std::vector<std::string>& command, bool honourFilePermissions)
{
    std::vector<char*> argv;
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        if (honourFilePermissions) {
            dropFileOverrideCapabilities();
        }
        ::execvp(argv[0], argv.data());
        std::fprintf(stderr, "usb-emulation: cannot run %s: %s\n", argv[0], std::strerror(errno));
        ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) {
        return 127;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace UsbEmulation
