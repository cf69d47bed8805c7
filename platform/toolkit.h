#pragma once

#include <string_view>

namespace platform {

// The window toolkit's services that the windows rely on. Their Widgets implementation lives with the
// windows, so that nothing below them links a toolkit.
class Toolkit {
public:
    virtual ~Toolkit() = default;
    // Handles all pending window events, then returns.
    virtual void yield() = 0;
    // The default beep.
    virtual void beep() = 0;
    // A modal box with the exclamation icon and an OK button; returns when it has been closed.
    virtual void messageBox(std::string_view text, std::string_view title) = 0;
};

} // namespace platform
