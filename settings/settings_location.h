#pragma once

#include "platform/file_system.h"
#include "platform/system_calls.h"
#include "platform/toolkit.h"

#include <cstdint>
#include <string>

namespace settings {

// What GetIniName asks of the platform.
struct LocationServices {
    platform::SystemCalls &calls;
    platform::FileSystem &files; // the current folder
    platform::Toolkit &toolkit;  // the beep and the warning box
};

// The settings file to use for settingsPath, proposed by the program's window (a 32-bit handle). While the
// program runs inside its development environment a non-empty overridePath wins. The sentinel name
// "vel3.ini" alone asks for the program file's name with "ini" in place of its last three characters, in
// the current folder; when the program file's name cannot be had, a warning is shown and the result is
// empty. Any other settingsPath comes back unchanged.
std::string GetIniName(std::int32_t window, const std::string &settingsPath, const std::string &overridePath,
                       const LocationServices &services);

} // namespace settings
