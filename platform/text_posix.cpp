#include "platform/text.h"

#include <cstdint>
#include <vector>

#include <cerrno>

#include <iconv.h>
#include <utf8proc.h>

namespace platform {

namespace {

// One unit of a name for matching: a code point, or a byte that is not part of valid UTF-8, kept apart
// from every code point so that it only ever matches itself.
using Unit = std::int32_t;
constexpr Unit kInvalidByteBase = 0x110000;

// Calls visit(code point, the bytes it came from) for each code point of text in order; a byte that is not
// part of valid UTF-8 comes as the code point -1.
template<typename Visit>
void forEachCodePoint(std::string_view text, Visit visit)
{
    const auto *bytes = reinterpret_cast<const utf8proc_uint8_t *>(text.data());
    auto remaining = static_cast<utf8proc_ssize_t>(text.size());
    while (remaining > 0) {
        utf8proc_int32_t codePoint = 0;
        utf8proc_ssize_t length = utf8proc_iterate(bytes, remaining, &codePoint);
        if (length <= 0) {
            codePoint = -1;
            length = 1;
        }
        visit(codePoint, std::string_view(reinterpret_cast<const char *>(bytes), static_cast<std::size_t>(length)));
        bytes += length;
        remaining -= length;
    }
}

// Calls visit(lower-cased code point or invalid byte, the bytes it came from) for each unit of text.
template<typename Visit>
void forEachUnit(std::string_view text, Visit visit)
{
    forEachCodePoint(text, [&](utf8proc_int32_t codePoint, std::string_view original) {
        if (codePoint < 0)
            visit(kInvalidByteBase + static_cast<unsigned char>(original.front()), original);
        else
            visit(utf8proc_tolower(codePoint), original);
    });
}

bool isAscii(std::string_view text)
{
    for (unsigned char c : text) {
        if (c >= 0x80)
            return false;
    }
    return true;
}

std::vector<Unit> lowerUnits(std::string_view text)
{
    std::vector<Unit> units;
    units.reserve(text.size());
    forEachUnit(text, [&](Unit unit, std::string_view) { units.push_back(unit); });
    return units;
}

} // namespace

std::string_view trimSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string toLower(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    if (isAscii(text)) {
        for (char c : text)
            result += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        return result;
    }
    forEachUnit(text, [&](Unit unit, std::string_view original) {
        if (unit >= kInvalidByteBase) {
            result += original;
            return;
        }
        utf8proc_uint8_t encoded[4];
        utf8proc_ssize_t length = utf8proc_encode_char(unit, encoded);
        result.append(reinterpret_cast<const char *>(encoded), static_cast<std::size_t>(length));
    });
    return result;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return toLower(a) == toLower(b);
}

bool matchesWildcard(std::string_view name, std::string_view pattern)
{
    if (pattern == "*" || pattern == "*.*")
        return true;

    const std::vector<Unit> n = lowerUnits(name);
    const std::vector<Unit> p = lowerUnits(pattern);
    // Greedy match with one back-tracking point: the last "*" seen and where its run ends so far.
    std::size_t i = 0, j = 0;
    std::size_t starAt = p.size(), resumeAt = 0;
    while (i < n.size()) {
        if (j < p.size() && (p[j] == '?' || p[j] == n[i])) {
            ++i;
            ++j;
        } else if (j < p.size() && p[j] == '*') {
            starAt = j++;
            resumeAt = i;
        } else if (starAt != p.size()) {
            j = starAt + 1;
            i = ++resumeAt;
        } else {
            return false;
        }
    }
    while (j < p.size() && p[j] == '*')
        ++j;
    return j == p.size();
}

std::string_view fitToColumns(std::string_view text, int columns)
{
    std::size_t end = 0;
    bool full = false;
    forEachCodePoint(text, [&](utf8proc_int32_t codePoint, std::string_view original) {
        const int width = codePoint < 0 ? 1 : utf8proc_charwidth(codePoint);
        if (full || width > columns) {
            full = true;
            return;
        }
        columns -= width;
        end += original.size();
    });
    return text.substr(0, end);
}

bool isUtf8(std::string_view text)
{
    bool valid = true;
    forEachCodePoint(text, [&](utf8proc_int32_t codePoint, std::string_view) { valid = valid && codePoint >= 0; });
    return valid;
}

std::optional<std::string> fromShiftJis(std::string_view text)
{
    iconv_t converter = ::iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string result(text.size() * 3 + 4, '\0');
    char *in = const_cast<char *>(text.data());
    std::size_t inLeft = text.size();
    char *out = result.data();
    std::size_t outLeft = result.size();
    const std::size_t converted = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    ::iconv_close(converter);
    if (converted == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    result.resize(result.size() - outLeft);
    return result;
}

std::u16string utf8ToUtf16(std::string_view text)
{
    std::u16string result;
    result.reserve(text.size());
    forEachCodePoint(text, [&](utf8proc_int32_t codePoint, std::string_view) {
        if (codePoint < 0)
            codePoint = 0xFFFD;
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            result += static_cast<char16_t>(0xD800 + (codePoint >> 10));
            result += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
        } else {
            result += static_cast<char16_t>(codePoint);
        }
    });
    return result;
}

std::string utf16ToUtf8(std::u16string_view text)
{
    std::string result;
    result.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        utf8proc_int32_t codePoint = text[i];
        if (codePoint >= 0xD800 && codePoint < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00
            && text[i + 1] < 0xE000) {
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (codePoint >= 0xD800 && codePoint < 0xE000) {
            codePoint = 0xFFFD;
        }
        utf8proc_uint8_t encoded[4];
        const utf8proc_ssize_t length = utf8proc_encode_char(codePoint, encoded);
        result.append(reinterpret_cast<const char *>(encoded), static_cast<std::size_t>(length));
    }
    return result;
}

} // namespace platform
