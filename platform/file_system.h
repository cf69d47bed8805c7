#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The start of a file's content.
struct FileContent {
    bool exists = false;   // false: there is no such file (and bytes is empty)
    std::string bytes;     // at most the bytes asked for
    bool complete = true;  // bytes is the whole file
};

// A folder's identity on disk, so that two texts naming one folder compare equal.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    auto operator<=>(const FileId &) const = default;
};

// A plain file opened for reading in binary mode.
class SourceFile {
public:
    virtual ~SourceFile() = default;
    // The length in bytes when the file was opened.
    virtual std::uint64_t length() const = 0;
    // Reads up to buffer.size() bytes from the 0-based offset. Returns how many were read (0 at the end),
    // or nothing when the read failed.
    virtual std::optional<std::size_t> read(std::uint64_t offset, std::span<std::byte> buffer) = 0;
};

// A new file being written under a temporary name beside the name it is meant to have. Until commit()
// succeeds, nothing at the final name changes; destroying an uncommitted file removes what was written.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    // Writes the bytes of source from offset to its end. False when any read or write failed.
    virtual bool copyFrom(SourceFile &source, std::uint64_t offset) = 0;
    // Puts the finished file in place under its final name, replacing a file of that name (matched
    // without regard to case). False when that failed; the temporary file is then removed.
    virtual bool commit() = 0;
};

// The file operations the walk and the windows rely on. Every path is resolved without regard to case:
// where a component does not exist as given, an existing entry that differs only in case stands for it.
// No operation throws; each reports failure to its caller.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The full path of the current folder, or nothing when it cannot be read.
    virtual std::optional<std::string> currentFolder() = 0;
    // Makes a drive (such as "C:") the current drive; where there are no drives there is nothing to do.
    virtual bool changeDrive(std::string_view drive) = 0;
    virtual bool changeFolder(const std::string &path) = 0;
    // The path as an absolute one: a relative path is taken from the current folder.
    virtual std::string absolutePath(const std::string &path) = 0;

    // Makes one folder; fails when it (or a name differing only in case) exists or its parent is missing.
    virtual bool makeFolder(const std::string &path) = 0;
    // Removes a folder; fails unless it is empty.
    virtual bool removeFolder(const std::string &path) = 0;
    virtual bool deleteFile(const std::string &path) = 0;

    // The bare names of the plain files that match pattern (a folder path, a separator and a wildcard file
    // pattern), hidden files left out, in byte order. Nothing when the folder cannot be read.
    virtual std::optional<std::vector<std::string>> listFiles(const std::string &pattern) = 0;
    // The bare names of a folder's immediate subfolders, as stored, in byte order. Nothing when the folder
    // cannot be read.
    virtual std::optional<std::vector<std::string>> listSubfolders(const std::string &path) = 0;
    // The identity of the folder at path, or nothing when it is not a folder.
    virtual std::optional<FileId> folderId(const std::string &path) = 0;

    // The path with every component as it is stored (see above); components that do not exist stay as given.
    virtual std::string resolvePath(const std::string &path) = 0;
    // At most maxBytes bytes from the start of a plain file. Nothing when the file exists but cannot be
    // read (or is not a plain file).
    virtual std::optional<FileContent> readFile(const std::string &path, std::size_t maxBytes) = 0;
    // Replaces the file's content (or makes the file) by writing the whole new content beside it and
    // renaming it into place, keeping the old file's permissions. False when that failed; the file is then
    // as it was.
    virtual bool writeFileAtomically(const std::string &path, std::string_view content) = 0;

    // Opens a plain file for reading; nullptr when it cannot be opened.
    virtual std::unique_ptr<SourceFile> openForReading(const std::string &path) = 0;
    // Starts a file that will replace path when committed; nullptr when it cannot be created.
    virtual std::unique_ptr<OutputFile> createReplacement(const std::string &path) = 0;
};

// A file system on the operating system's own files. Each instance keeps a small cache of folder listings
// for case-insensitive look-ups, so an instance belongs to one thread at a time.
std::unique_ptr<FileSystem> createNativeFileSystem();

} // namespace platform
