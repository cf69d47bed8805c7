#include "settings/system_call_wrappers.h"

namespace settings {

namespace {

// The version record and whether it was queried: one per process.
platform::VersionRecord versionRecord;
bool versionQueried = false;

// The wide form of the version record takes 276 bytes; the narrow query is given that size too.
constexpr std::uint32_t kWideVersionRecordSize = 276;

bool wide(platform::SystemCalls &calls)
{
    return GetPlatformId(calls) == static_cast<std::int32_t>(platform::kPlatformWin32Nt);
}

// A wide buffer of the same length as the narrow one, filled likewise.
std::u16string wideBuffer(const std::string &buffer)
{
    return std::u16string(buffer.size(), u' ');
}

std::string textBeforeNul(const std::u16string &buffer)
{
    return platform::fromUtf16(buffer.substr(0, buffer.find(u'\0')));
}

std::string textBeforeNul(const std::string &buffer)
{
    return platform::fromCodePage(buffer.substr(0, buffer.find('\0')));
}

} // namespace

std::int32_t GetPlatformId(platform::SystemCalls &calls)
{
    if (versionQueried)
        return static_cast<std::int32_t>(versionRecord.dwPlatformId);
    versionRecord.dwOSVersionInfoSize = kWideVersionRecordSize;
    if (const auto answered = calls.getVersionExA(versionRecord)) {
        if (!*answered)
            versionRecord.dwPlatformId = platform::kPlatformWin32Windows;
    } else if (!calls.getVersionExW(versionRecord)) {
        versionRecord.dwPlatformId = platform::kPlatformWin32Windows;
    }
    versionQueried = true;
    return static_cast<std::int32_t>(versionRecord.dwPlatformId);
}

void forgetPlatformId()
{
    versionRecord = {};
    versionQueried = false;
}

std::intptr_t callGetWindowLong(platform::SystemCalls &calls, std::int32_t window, std::int32_t index)
{
    return wide(calls) ? calls.getWindowLongW(window, index) : calls.getWindowLongA(window, index);
}

std::uint32_t callGetModuleFileName(platform::SystemCalls &calls, std::intptr_t module, std::string &buffer,
                                    std::uint32_t capacity)
{
    if (wide(calls)) {
        std::u16string wideText = wideBuffer(buffer);
        const std::uint32_t result = calls.getModuleFileNameW(module, wideText, capacity);
        buffer = textBeforeNul(wideText) + '\0';
        return result;
    }
    std::string narrow = buffer;
    const std::uint32_t result = calls.getModuleFileNameA(module, narrow, capacity);
    buffer = textBeforeNul(narrow) + '\0';
    return result;
}

std::uint32_t callGetPrivateProfileString(platform::SystemCalls &calls, const std::string &section,
                                          const std::string &key, const std::string &defaultText, std::string &buffer,
                                          std::uint32_t capacity, const std::string &file)
{
    if (wide(calls)) {
        std::u16string wideText = wideBuffer(buffer);
        const std::uint32_t result
            = calls.getPrivateProfileStringW(platform::toUtf16(section), platform::toUtf16(key),
                                             platform::toUtf16(defaultText), wideText, capacity, platform::toUtf16(file));
        buffer = textBeforeNul(wideText) + '\0';
        return result;
    }
    std::string narrow = buffer;
    const std::uint32_t result
        = calls.getPrivateProfileStringA(platform::toCodePage(section), platform::toCodePage(key),
                                         platform::toCodePage(defaultText), narrow, capacity, platform::toCodePage(file));
    buffer = textBeforeNul(narrow) + '\0';
    return result;
}

int callWritePrivateProfileString(platform::SystemCalls &calls, const std::string &section, const std::string &key,
                                  const std::string &value, const std::string &file)
{
    if (wide(calls))
        return calls.writePrivateProfileStringW(platform::toUtf16(section), platform::toUtf16(key),
                                                platform::toUtf16(value), platform::toUtf16(file));
    return calls.writePrivateProfileStringA(platform::toCodePage(section), platform::toCodePage(key),
                                            platform::toCodePage(value), platform::toCodePage(file));
}

} // namespace settings
