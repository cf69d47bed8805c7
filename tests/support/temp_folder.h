#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testsupport {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed again with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "tovrik-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        m_path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const fs::path &path() const { return m_path; }
    // The path of name inside the folder, as text with a trailing separator when name ends in one.
    std::string operator/(const std::string &name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
};

// Deterministic content: byte i is a mix of i and seed, so that shifted copies never match by accident.
inline std::string bytes(std::size_t size, unsigned seed = 1)
{
    std::string data(size, '\0');
    std::uint32_t state = seed * 2654435761u + 12345u;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        data[i] = static_cast<char>(state >> 24);
    }
    return data;
}

inline void writeFile(const fs::path &path, const std::string &data)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << data;
}

inline std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every entry below root, as paths relative to it, folders with a trailing "/", sorted.
inline std::vector<std::string> listTree(const fs::path &root)
{
    std::vector<std::string> entries;
    if (!fs::exists(root))
        return entries;
    for (const auto &entry : fs::recursive_directory_iterator(root)) {
        std::string relative = fs::relative(entry.path(), root).string();
        if (entry.is_directory() && !entry.is_symlink())
            relative += '/';
        entries.push_back(relative);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

} // namespace testsupport
