#pragma once

#include "platform/file_system.h"

#include <optional>
#include <string>

namespace platform {

// Profile (INI) files as the system's profile calls treat them: section and key names match without
// regard to case, values lose the spaces around them, and "key=value" lines of other keys and sections,
// comments and blank lines are kept as they are. Files are UTF-8; one that is not is read as Shift-JIS
// (code page 932), as a settings file from a Japanese Windows system is, and rewritten in UTF-8.
class ProfileFile {
public:
    explicit ProfileFile(FileSystem &files) : m_files(files) { }

    // The value of key in section, or nothing when the file, the section or the key is missing. Reads at
    // most kMaxSize bytes of the file.
    std::optional<std::string> read(const std::string &path, const std::string &section, const std::string &key);

    // Sets key in section to value, making the file, the section and the key as needed. The whole new file
    // is written beside the old one and renamed into its place; false when that failed, or when the file
    // is not text, and then nothing changed.
    bool write(const std::string &path, const std::string &section, const std::string &key, const std::string &value);

    static constexpr std::size_t kMaxSize = 1 << 20;

private:
    FileSystem &m_files;
};

} // namespace platform
