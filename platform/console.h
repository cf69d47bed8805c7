#pragma once

#include <atomic>
#include <optional>

namespace platform {

// True when standard output is a terminal (where a self-updating line makes sense).
bool standardOutputIsTerminal();
// The width of the terminal on standard output in columns, or nothing when it is not a terminal.
std::optional<int> terminalColumns();
// Sounds the terminal's bell when standard error is a terminal.
void consoleBeep();
// Sets flag when the user interrupts the program (Ctrl+C) or it is asked to terminate, instead of ending
// it at once; the caller stops at a safe point.
void onInterrupt(std::atomic<bool> &flag);

} // namespace platform
