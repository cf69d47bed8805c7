#pragma once

#include <string>
#include <string_view>

namespace platform {

#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

// Lower-cases UTF-8 text letter by letter (Unicode simple case mapping: full-width and accented letters
// too). Bytes that are not valid UTF-8 pass through unchanged, so names in other encodings survive.
std::string toLower(std::string_view text);

// True when the two texts are equal once both are lower-cased as toLower does.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Matches a bare file name against a wildcard pattern without regard to case: "*" stands for any run of
// characters, "?" for any one character, and "*.*" matches every name, with or without a dot.
bool matchesWildcard(std::string_view name, std::string_view pattern);

} // namespace platform
