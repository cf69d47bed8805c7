#include "platform/system_calls.h"

#include "platform/file_system.h"
#include "platform/profile_file.h"
#include "platform/text.h"

#include <climits>
#include <unistd.h>

namespace platform {

namespace {

// The one module of the program: every window belongs to it.
constexpr std::intptr_t kOwnModule = 1;

// text cut to at most units bytes without splitting a character.
std::string cutUtf8(std::string text, std::size_t units)
{
    if (text.size() <= units)
        return text;
    std::size_t end = units;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    return text;
}

// text cut to at most units UTF-16 units without splitting a surrogate pair.
std::u16string cutUtf16(std::u16string text, std::size_t units)
{
    if (text.size() <= units)
        return text;
    std::size_t end = units;
    if (end > 0 && text[end] >= 0xDC00 && text[end] < 0xE000)
        --end;
    text.resize(end);
    return text;
}

template<typename Text, typename Cut>
std::uint32_t copyOut(const Text &value, Text &buffer, std::uint32_t capacity, Cut cut)
{
    if (capacity == 0)
        return 0;
    const Text copied = cut(value, capacity - 1);
    if (buffer.size() < copied.size() + 1)
        buffer.resize(copied.size() + 1);
    std::copy(copied.begin(), copied.end(), buffer.begin());
    buffer[copied.size()] = 0;
    return static_cast<std::uint32_t>(copied.size());
}

std::optional<std::string> executablePath()
{
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0)
        return std::nullopt;
    path.resize(static_cast<std::size_t>(length));
    return path;
}

class PosixSystemCalls final : public SystemCalls {
public:
    std::optional<bool> getVersionExA(VersionRecord &record) override { return fill(record); }
    bool getVersionExW(VersionRecord &record) override { return fill(record); }

    std::intptr_t getWindowLongA(std::int32_t, std::int32_t index) override
    {
        return index == kGwlHInstance ? kOwnModule : 0;
    }
    std::intptr_t getWindowLongW(std::int32_t window, std::int32_t index) override
    {
        return getWindowLongA(window, index);
    }

    std::uint32_t getModuleFileNameA(std::intptr_t module, std::string &buffer, std::uint32_t capacity) override
    {
        const auto path = module == kOwnModule || module == 0 ? executablePath() : std::nullopt;
        if (!path)
            return 0;
        const std::uint32_t copied = copyOut(toCodePage(*path), buffer, capacity, cutUtf8);
        return copied + 1 == capacity && path->size() >= capacity ? capacity : copied;
    }
    std::uint32_t getModuleFileNameW(std::intptr_t module, std::u16string &buffer, std::uint32_t capacity) override
    {
        const auto path = module == kOwnModule || module == 0 ? executablePath() : std::nullopt;
        if (!path)
            return 0;
        const std::u16string wide = utf8ToUtf16(*path);
        const std::uint32_t copied = copyOut(wide, buffer, capacity, cutUtf16);
        return copied + 1 == capacity && wide.size() >= capacity ? capacity : copied;
    }

    std::uint32_t getPrivateProfileStringA(const std::string &section, const std::string &key,
                                           const std::string &defaultText, std::string &buffer,
                                           std::uint32_t capacity, const std::string &file) override
    {
        const auto value = m_profile.read(fromCodePage(file), fromCodePage(section), fromCodePage(key));
        return copyOut(value ? toCodePage(*value) : defaultText, buffer, capacity, cutUtf8);
    }
    std::uint32_t getPrivateProfileStringW(const std::u16string &section, const std::u16string &key,
                                           const std::u16string &defaultText, std::u16string &buffer,
                                           std::uint32_t capacity, const std::u16string &file) override
    {
        const auto value = m_profile.read(utf16ToUtf8(file), utf16ToUtf8(section), utf16ToUtf8(key));
        return copyOut(value ? utf8ToUtf16(*value) : defaultText, buffer, capacity, cutUtf16);
    }
    int writePrivateProfileStringA(const std::string &section, const std::string &key, const std::string &value,
                                   const std::string &file) override
    {
        return m_profile.write(fromCodePage(file), fromCodePage(section), fromCodePage(key), fromCodePage(value)) ? 1 : 0;
    }
    int writePrivateProfileStringW(const std::u16string &section, const std::u16string &key,
                                   const std::u16string &value, const std::u16string &file) override
    {
        return m_profile.write(utf16ToUtf8(file), utf16ToUtf8(section), utf16ToUtf8(key), utf16ToUtf8(value)) ? 1 : 0;
    }

private:
    static bool fill(VersionRecord &record)
    {
        record.dwMajorVersion = 10;
        record.dwMinorVersion = 0;
        record.dwBuildNumber = 0;
        record.dwPlatformId = kPlatformWin32Nt;
        return true;
    }

    std::unique_ptr<FileSystem> m_files = createNativeFileSystem();
    ProfileFile m_profile { *m_files };
};

} // namespace

SystemCalls &nativeSystemCalls()
{
    static PosixSystemCalls calls;
    return calls;
}

// The system code page here is UTF-8.
std::string toCodePage(const std::string &utf8)
{
    return utf8;
}

std::string fromCodePage(const std::string &text)
{
    return text;
}

std::u16string toUtf16(const std::string &utf8)
{
    return utf8ToUtf16(utf8);
}

std::string fromUtf16(const std::u16string &text)
{
    return utf16ToUtf8(text);
}

} // namespace platform
