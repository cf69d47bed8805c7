#pragma once

#include "platform/text.h"

#include <string>
#include <string_view>

namespace engine {

// Returns the folder part of path, trimmed and lower-cased: everything up to the last separator, or up to
// a drive colon. A text without any dot counts as a folder, so "c:\tmp\" comes back as "c:\tmp\\"; Run
// removes the doubled separator, this function must not. Empty text gives a lone separator.
std::string GetPathFolder(std::string_view path, char separator = platform::kSeparator);

// Returns the file-name part of path, trimmed and lower-cased: what follows the last separator (or the
// drive colon), or empty text when path ends in a separator.
std::string GetPathFileName(std::string_view path, char separator = platform::kSeparator);

} // namespace engine
