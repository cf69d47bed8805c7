#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// What a file chooser is opened with.
struct FileChooserRequest {
    std::string title;
    std::string initialFolder;
    std::string fileName;
    // Descriptions and their patterns, all separated by vertical bars: "Images|*.gif;*.jpg|All|*.*".
    std::string filter;
    bool save = false;
};

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
    // A modal file chooser; returns the chosen file's full path, or nothing when the user cancelled it or
    // it could not be shown.
    virtual std::optional<std::string> chooseFile(const FileChooserRequest &request) = 0;
};

} // namespace platform
