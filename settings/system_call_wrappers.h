#pragma once

#include "platform/system_calls.h"

#include <cstdint>
#include <string>

namespace settings {

// The platform id: the version record's dwPlatformId, queried once per process (2 for the NT family; 1
// for the other family and after a failed query).
std::int32_t GetPlatformId(platform::SystemCalls &calls = platform::nativeSystemCalls());

// Makes the next GetPlatformId query again (the id is otherwise kept for the life of the process).
void forgetPlatformId();

// The wrappers through which the settings reach the system: each calls the wide variant when the platform
// id is 2 and the narrow one otherwise, with the same arguments, converting text to and from UTF-8.
std::intptr_t callGetWindowLong(platform::SystemCalls &calls, std::int32_t window, std::int32_t index);
// buffer comes back as UTF-8 text holding what the call wrote (up to and with its NUL).
std::uint32_t callGetModuleFileName(platform::SystemCalls &calls, std::intptr_t module, std::string &buffer,
                                    std::uint32_t capacity);
std::uint32_t callGetPrivateProfileString(platform::SystemCalls &calls, const std::string &section,
                                          const std::string &key, const std::string &defaultText, std::string &buffer,
                                          std::uint32_t capacity, const std::string &file);
int callWritePrivateProfileString(platform::SystemCalls &calls, const std::string &section, const std::string &key,
                                  const std::string &value, const std::string &file);

} // namespace settings
