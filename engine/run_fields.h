#pragma once

#include "platform/text.h"

#include <string>
#include <string_view>

namespace engine {

// The source field as Run uses it and writes it back: trimmed and lower-cased.
std::string normaliseSourceField(std::string_view text);

// The destination field as Run uses it and writes it back: the folder part of the trimmed, lower-cased
// text, with a doubled trailing separator reduced to one. An empty field gives a lone separator.
std::string normaliseDestinationField(std::string_view text, char separator = platform::kSeparator);

} // namespace engine
