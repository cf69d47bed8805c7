#pragma once

#include <atomic>

namespace platform {

// True when standard output is a terminal (where a self-updating line makes sense).
bool standardOutputIsTerminal();
// Sounds the terminal's bell when standard error is a terminal.
void consoleBeep();
// Sets flag when the user interrupts the program (Ctrl+C) or it is asked to terminate, instead of ending
// it at once; the caller stops at a safe point.
void onInterrupt(std::atomic<bool> &flag);

} // namespace platform
