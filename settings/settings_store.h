#pragma once

#include "platform/system_calls.h"

#include <string>

namespace settings {

// The value of key in section of the settings file path: at most 199 characters, without the spaces around
// it, lower-cased when lowerCase is set. Empty text for a missing file, section or key, or an empty value.
std::string ReadIniString(const std::string &path, const std::string &section, const std::string &key, bool lowerCase,
                          platform::SystemCalls &calls = platform::nativeSystemCalls());

// Stores value, exactly as given, under key in section of the settings file path, making the file and the
// section as needed. True when it was written; on false the file is as it was.
bool WriteIniString(const std::string &path, const std::string &section, const std::string &key,
                    const std::string &value, platform::SystemCalls &calls = platform::nativeSystemCalls());

} // namespace settings
