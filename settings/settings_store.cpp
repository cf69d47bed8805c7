#include "settings/settings_store.h"

#include "platform/text.h"
#include "settings/system_call_wrappers.h"

namespace settings {

namespace {

constexpr std::size_t kReadBufferLength = 400;
constexpr std::uint32_t kReadCapacity = 200;

} // namespace

std::string ReadIniString(const std::string &path, const std::string &section, const std::string &key, bool lowerCase,
                          platform::SystemCalls &calls)
{
    std::string buffer(kReadBufferLength, ' ');
    if (callGetPrivateProfileString(calls, section, key, std::string(), buffer, kReadCapacity, path) == 0)
        return {};
    const std::string value(platform::trimSpaces(std::string_view(buffer).substr(0, buffer.find('\0'))));
    return lowerCase ? platform::toLower(value) : value;
}

bool WriteIniString(const std::string &path, const std::string &section, const std::string &key,
                    const std::string &value, platform::SystemCalls &calls)
{
    return callWritePrivateProfileString(calls, section, key, value, path) != 0;
}

} // namespace settings
