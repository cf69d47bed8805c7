#include "engine/path_rules.h"

namespace engine {

namespace {

std::string normalise(std::string_view path)
{
    return platform::toLower(platform::trimSpaces(path));
}

} // namespace

std::string GetPathFolder(std::string_view path, char separator)
{
    std::string s = normalise(path);
    if (s.find('.') == std::string::npos)
        s += separator;
    if (const auto last = s.rfind(separator); last != std::string::npos)
        return s.substr(0, last + 1);
    if (const auto colon = s.find(':'); colon != std::string::npos)
        return s.substr(0, colon + 1);
    return {};
}

std::string GetPathFileName(std::string_view path, char separator)
{
    const std::string s = normalise(path);
    if (!s.empty() && s.back() == separator)
        return {};
    if (const auto last = s.rfind(separator); last != std::string::npos)
        return s.substr(last + 1);
    if (const auto colon = s.find(':'); colon != std::string::npos && colon + 1 < s.size())
        return s.substr(colon + 1);
    return {};
}

} // namespace engine
