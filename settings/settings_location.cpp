#include "settings/settings_location.h"

#include "platform/text.h"
#include "settings/system_call_wrappers.h"

#include <string_view>

namespace settings {

namespace {

constexpr std::uint32_t kModulePathCapacity = 145;
// The program files of the development environments the program can be run from before it is built.
constexpr std::string_view kDevelopmentEnvironments[] = { "qtcreator.exe", "devenv.exe" };
constexpr std::string_view kSentinelName = "vel3.ini";
constexpr std::string_view kWarningText = "プログラム名の取得(GetModuleFileName) に失敗しました。";
constexpr std::string_view kWarningTitle = "GetIniName()";

// The last count characters (code points) of text, or all of it.
std::string lastCharacters(const std::string &text, std::size_t count)
{
    std::size_t start = text.size();
    while (start > 0 && count > 0) {
        --start;
        if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80)
            --count;
    }
    return text.substr(start);
}

std::string modulePathOf(platform::SystemCalls &calls, std::intptr_t instance)
{
    std::string buffer(kModulePathCapacity, ' ');
    std::uint32_t length = callGetModuleFileName(calls, instance, buffer, kModulePathCapacity);
    if (length >= kModulePathCapacity) {
        // Cut off by the buffer: a longer path is asked for once more, whole.
        buffer.assign(32768, ' ');
        length = callGetModuleFileName(calls, instance, buffer, 32768);
    }
    if (length == 0)
        return "dummy.exe";
    return platform::toLower(buffer.substr(0, buffer.find('\0')));
}

} // namespace

std::string GetIniName(std::int32_t window, const std::string &settingsPath, const std::string &overridePath,
                       const LocationServices &services)
{
    const std::intptr_t instance = callGetWindowLong(services.calls, window, platform::kGwlHInstance);
    const std::string modulePath = modulePathOf(services.calls, instance);

    bool insideDevelopmentEnvironment = false;
    for (std::string_view name : kDevelopmentEnvironments)
        insideDevelopmentEnvironment = insideDevelopmentEnvironment || modulePath.find(name) != std::string::npos;
    if (!overridePath.empty() && insideDevelopmentEnvironment)
        return overridePath;

    if (platform::toLower(lastCharacters(settingsPath, kSentinelName.size() + 1)) != kSentinelName)
        return settingsPath;

    const auto separator = modulePath.rfind(platform::kSeparator);
    if (separator == std::string::npos) {
        services.toolkit.beep();
        services.toolkit.messageBox(kWarningText, kWarningTitle);
        return {};
    }
    const std::string path
        = platform::toLower(services.files.currentFolder().value_or(std::string()) + modulePath.substr(separator));
    return path.substr(0, path.size() >= 3 ? path.size() - 3 : 0) + "ini";
}

} // namespace settings
