#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The platform's version record, in the layout of its wide form.
struct VersionRecord {
    std::uint32_t dwOSVersionInfoSize = 0;
    std::uint32_t dwMajorVersion = 0;
    std::uint32_t dwMinorVersion = 0;
    std::uint32_t dwBuildNumber = 0;
    std::uint32_t dwPlatformId = 0;
    char16_t szCSDVersion[128] = {};
};

inline constexpr std::int32_t kGwlHInstance = -6;
inline constexpr std::uint32_t kPlatformWin32Windows = 1;
inline constexpr std::uint32_t kPlatformWin32Nt = 2;

// The system calls the settings reach only through their wide-or-narrow wrappers: the version query, the
// module of a window and its file name, and the profile (INI) file calls. On Windows they are the
// system's own; elsewhere a layer with the same contract. The narrow ("A") calls take and give text in
// the system code page and count in its bytes; the wide ("W") ones take UTF-16 and count in its units.
class SystemCalls {
public:
    virtual ~SystemCalls() = default;

    // Fill record; false (0) on failure. The narrow query may be missing altogether: then nothing.
    virtual std::optional<bool> getVersionExA(VersionRecord &record) = 0;
    virtual bool getVersionExW(VersionRecord &record) = 0;

    virtual std::intptr_t getWindowLongA(std::int32_t window, std::int32_t index) = 0;
    virtual std::intptr_t getWindowLongW(std::int32_t window, std::int32_t index) = 0;

    // Copies the module's path, cut to capacity - 1 units, into buffer followed by a NUL; returns the
    // number of units copied without the NUL, capacity when the path was cut, 0 on failure.
    virtual std::uint32_t getModuleFileNameA(std::intptr_t module, std::string &buffer, std::uint32_t capacity) = 0;
    virtual std::uint32_t getModuleFileNameW(std::intptr_t module, std::u16string &buffer, std::uint32_t capacity) = 0;

    // Copies the key's value (or the default) into buffer, cut to capacity - 1 units, followed by a NUL;
    // returns the number of units copied without the NUL.
    virtual std::uint32_t getPrivateProfileStringA(const std::string &section, const std::string &key,
                                                   const std::string &defaultText, std::string &buffer,
                                                   std::uint32_t capacity, const std::string &file) = 0;
    virtual std::uint32_t getPrivateProfileStringW(const std::u16string &section, const std::u16string &key,
                                                   const std::u16string &defaultText, std::u16string &buffer,
                                                   std::uint32_t capacity, const std::u16string &file) = 0;
    // Sets the key to value, making the file and the section as needed; non-zero on success.
    virtual int writePrivateProfileStringA(const std::string &section, const std::string &key,
                                           const std::string &value, const std::string &file) = 0;
    virtual int writePrivateProfileStringW(const std::u16string &section, const std::u16string &key,
                                           const std::u16string &value, const std::u16string &file) = 0;
};

// The process's system calls.
SystemCalls &nativeSystemCalls();

// Text in the system code page (for the narrow calls) and UTF-16 (for the wide ones), from and to UTF-8.
std::string toCodePage(const std::string &utf8);
std::string fromCodePage(const std::string &text);
std::u16string toUtf16(const std::string &utf8);
std::string fromUtf16(const std::u16string &text);

} // namespace platform
