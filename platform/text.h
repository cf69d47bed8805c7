#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

// The text without its leading and trailing ordinary spaces; spaces inside it stay.
std::string_view trimSpaces(std::string_view text);

// Lower-cases UTF-8 text letter by letter (Unicode simple case mapping: full-width and accented letters
// too). Bytes that are not valid UTF-8 pass through unchanged, so names in other encodings survive.
std::string toLower(std::string_view text);

// True when the two texts are equal once both are lower-cased as toLower does.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Matches a bare file name against a wildcard pattern without regard to case: "*" stands for any run of
// characters, "?" for any one character, and "*.*" matches every name, with or without a dot.
bool matchesWildcard(std::string_view name, std::string_view pattern);

// The longest start of text that takes at most columns terminal columns (East Asian wide characters take
// two), cut between characters.
std::string_view fitToColumns(std::string_view text, int columns);

// True when text is well-formed UTF-8.
bool isUtf8(std::string_view text);
// Shift-JIS text (code page 932) as UTF-8; nothing when text is not valid in that code page.
std::optional<std::string> fromShiftJis(std::string_view text);
// UTF-8 as UTF-16 and back; ill-formed parts become U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

} // namespace platform
