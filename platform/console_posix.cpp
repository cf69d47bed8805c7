#include "platform/console.h"

#include <csignal>
#include <sys/ioctl.h>
#include <unistd.h>

namespace platform {

namespace {
std::atomic<bool> *interruptFlag = nullptr;

extern "C" void handleInterrupt(int)
{
    if (interruptFlag)
        interruptFlag->store(true);
}
} // namespace

bool standardOutputIsTerminal()
{
    return ::isatty(STDOUT_FILENO) == 1;
}

std::optional<int> terminalColumns()
{
    winsize size {};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0)
        return std::nullopt;
    return static_cast<int>(size.ws_col);
}

void consoleBeep()
{
    if (::isatty(STDERR_FILENO) == 1) {
        const char bell = '\a';
        [[maybe_unused]] auto written = ::write(STDERR_FILENO, &bell, 1);
    }
}

void onInterrupt(std::atomic<bool> &flag)
{
    interruptFlag = &flag;
    struct sigaction action {};
    action.sa_handler = handleInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

} // namespace platform
