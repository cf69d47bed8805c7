#include "platform/file_system.h"
#include "platform/text.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <set>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::size_t kCopyBufferSize = 1 << 20;
constexpr std::size_t kKernelCopyChunk = std::size_t { 1 } << 30;

bool exists(const std::string &path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool sameTimes(const timespec &a, const timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

std::string join(const std::string &folder, std::string_view name)
{
    if (folder.empty())
        return std::string(name);
    std::string path = folder;
    if (path.back() != '/')
        path += '/';
    path += name;
    return path;
}

// Splits "a/b/c" into "a/b" and "c"; "/c" into "/" and "c"; "c" into "" and "c".
std::pair<std::string, std::string> splitLast(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return { std::string(), path };
    return { slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1) };
}

// Removes trailing separators ("/a/b//" gives "/a/b" and "//"), keeping a lone "/".
std::pair<std::string, std::string> stripTrailingSeparators(const std::string &path)
{
    std::size_t end = path.size();
    while (end > 1 && path[end - 1] == '/')
        --end;
    return { path.substr(0, end), path.substr(end) };
}

// Visits a folder's entries but "." and "..". Returns false when the folder cannot be read to its end.
template<typename Visit>
bool forEachEntry(const std::string &folder, Visit visit)
{
    DIR *dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    bool complete = true;
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry) {
            complete = errno == 0;
            break;
        }
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        visit(::dirfd(dir), name, entry->d_type);
    }
    ::closedir(dir);
    return complete;
}

// The kind of an entry, following a symbolic link to what it names.
mode_t entryKind(int dirFd, std::string_view name, unsigned char type)
{
    if (type == DT_REG)
        return S_IFREG;
    if (type == DT_DIR)
        return S_IFDIR;
    if (type != DT_LNK && type != DT_UNKNOWN)
        return 0;
    struct stat st;
    if (::fstatat(dirFd, std::string(name).c_str(), &st, 0) != 0)
        return 0;
    return st.st_mode & S_IFMT;
}

bool writeAll(int fd, const std::byte *data, std::size_t size, std::uint64_t offset)
{
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size, static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
        offset += static_cast<std::uint64_t>(written);
    }
    return true;
}

std::byte *copyBuffer()
{
    thread_local std::unique_ptr<std::byte[]> buffer;
    if (!buffer)
        buffer = std::make_unique<std::byte[]>(kCopyBufferSize);
    return buffer.get();
}

// Copies count bytes through a buffer: source at sourceOffset to out at outOffset.
bool copyThroughBuffer(SourceFile &source, std::uint64_t sourceOffset, int out, std::uint64_t outOffset,
                       std::uint64_t count)
{
    std::byte *buffer = copyBuffer();
    while (count > 0) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(count, kCopyBufferSize));
        const auto got = source.read(sourceOffset, std::span(buffer, want));
        if (!got || *got == 0)
            return false; // a read error, or the file is shorter than it was
        if (!writeAll(out, buffer, *got, outOffset))
            return false;
        sourceOffset += *got;
        outOffset += *got;
        count -= *got;
    }
    return true;
}

class PosixSourceFile final : public SourceFile {
public:
    PosixSourceFile(int fd, const struct stat &st) : m_fd(fd), m_stat(st) { }
    ~PosixSourceFile() override { ::close(m_fd); }

    std::uint64_t length() const override { return static_cast<std::uint64_t>(m_stat.st_size); }
    std::optional<std::size_t> read(std::uint64_t offset, std::span<std::byte> buffer) override
    {
        for (;;) {
            const ssize_t got = ::pread(m_fd, buffer.data(), buffer.size(), static_cast<off_t>(offset));
            if (got >= 0)
                return static_cast<std::size_t>(got);
            if (errno != EINTR)
                return std::nullopt;
        }
    }
    int fd() const { return m_fd; }
    // A file with fewer blocks than its length has holes worth skipping.
    bool isSparse() const
    {
        return static_cast<std::uint64_t>(m_stat.st_blocks) * 512 < static_cast<std::uint64_t>(m_stat.st_size);
    }

private:
    int m_fd;
    struct stat m_stat;
};

// Copies count bytes with the kernel's copy_file_range, falling back to a buffer where the kernel cannot
// copy between these two files.
bool copySegment(PosixSourceFile &source, std::uint64_t sourceOffset, int out, std::uint64_t outOffset,
                 std::uint64_t count)
{
    auto in = static_cast<off_t>(sourceOffset);
    auto at = static_cast<off_t>(outOffset);
    while (count > 0) {
        const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(count, kKernelCopyChunk));
        const ssize_t copied = ::copy_file_range(source.fd(), &in, out, &at, chunk, 0);
        if (copied > 0) {
            count -= static_cast<std::uint64_t>(copied);
            continue;
        }
        if (copied == 0)
            return false; // the file is shorter than it was when opened
        if (errno == EINTR)
            continue;
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == EBADF
            || errno == ETXTBSY)
            return copyThroughBuffer(source, static_cast<std::uint64_t>(in), out, static_cast<std::uint64_t>(at),
                                     count);
        return false;
    }
    return true;
}

// Copies [offset, end) of a file with holes, skipping the holes so that the copy has them too.
bool copySparse(PosixSourceFile &source, std::uint64_t offset, std::uint64_t end, int out)
{
    std::uint64_t position = offset;
    while (position < end) {
        const off_t data = ::lseek(source.fd(), static_cast<off_t>(position), SEEK_DATA);
        if (data < 0) {
            if (errno == ENXIO)
                break; // only a hole is left
            return copySegment(source, position, out, position - offset, end - position);
        }
        if (static_cast<std::uint64_t>(data) >= end)
            break;
        off_t hole = ::lseek(source.fd(), data, SEEK_HOLE);
        const std::uint64_t segmentEnd
            = hole < 0 ? end : std::min<std::uint64_t>(static_cast<std::uint64_t>(hole), end);
        const auto from = static_cast<std::uint64_t>(data);
        if (!copySegment(source, from, out, from - offset, segmentEnd - from))
            return false;
        position = segmentEnd;
    }
    return ::ftruncate(out, static_cast<off_t>(end - offset)) == 0;
}

class PosixFileSystem;

class PosixOutputFile final : public OutputFile {
public:
    PosixOutputFile(PosixFileSystem &files, int fd, std::string folder, std::string temporary, std::string name,
                    std::string existing)
        : m_files(files)
        , m_fd(fd)
        , m_folder(std::move(folder))
        , m_temporary(std::move(temporary))
        , m_name(std::move(name))
        , m_existing(std::move(existing))
    {
    }
    ~PosixOutputFile() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_committed)
            ::unlink(m_temporary.c_str());
    }

    bool copyFrom(SourceFile &source, std::uint64_t offset) override
    {
        const std::uint64_t length = source.length();
        if (length <= offset)
            return true;
        if (auto *native = dynamic_cast<PosixSourceFile *>(&source)) {
            return native->isSparse() ? copySparse(*native, offset, length, m_fd)
                                      : copySegment(*native, offset, m_fd, 0, length - offset);
        }
        return copyThroughBuffer(source, offset, m_fd, 0, length - offset);
    }

    bool commit() override;

private:
    PosixFileSystem &m_files;
    int m_fd;
    std::string m_folder;    // resolved folder of the output
    std::string m_temporary; // full path of the file being written
    std::string m_name;      // the output's name, as given
    std::string m_existing;  // an existing name that differs from m_name only in case, or empty
    bool m_committed = false;
};

class PosixFileSystem final : public FileSystem {
public:
    std::optional<std::string> currentFolder() override
    {
        std::error_code error;
        auto path = std::filesystem::current_path(error);
        if (error)
            return std::nullopt;
        return path.string();
    }

    bool changeDrive(std::string_view) override { return true; }

    bool changeFolder(const std::string &path) override { return ::chdir(resolve(path).c_str()) == 0; }

    std::string absolutePath(const std::string &path) override
    {
        if (!path.empty() && path.front() == '/')
            return path;
        auto current = currentFolder();
        if (!current)
            return path;
        return (std::filesystem::path(*current) / path).lexically_normal().string();
    }

    bool makeFolder(const std::string &path) override
    {
        const auto [folder, trailing] = stripTrailingSeparators(path);
        const std::string resolved = resolve(folder);
        if (exists(resolved) || ::mkdir(resolved.c_str(), 0777) != 0)
            return false;
        const auto [parent, name] = splitLast(resolved);
        noteChange(parent, name, {});
        return true;
    }

    bool removeFolder(const std::string &path) override
    {
        const std::string resolved = resolve(stripTrailingSeparators(path).first);
        if (::rmdir(resolved.c_str()) != 0)
            return false;
        const auto [parent, name] = splitLast(resolved);
        noteChange(parent, {}, name);
        return true;
    }

    bool deleteFile(const std::string &path) override
    {
        const std::string resolved = resolve(path);
        if (::unlink(resolved.c_str()) != 0)
            return false;
        const auto [parent, name] = splitLast(resolved);
        noteChange(parent, {}, name);
        return true;
    }

    std::optional<std::vector<std::string>> listFiles(const std::string &pattern) override
    {
        auto [folder, wildcard] = splitLast(pattern);
        std::vector<std::string> names;
        const bool complete = forEachEntry(resolve(folder), [&](int dirFd, std::string_view name, unsigned char type) {
            if (name.front() == '.' || !matchesWildcard(name, wildcard))
                return;
            if (entryKind(dirFd, name, type) == S_IFREG)
                names.emplace_back(name);
        });
        if (!complete)
            return std::nullopt;
        std::sort(names.begin(), names.end());
        return names;
    }

    std::optional<std::vector<std::string>> listSubfolders(const std::string &path) override
    {
        std::vector<std::string> names;
        const bool complete = forEachEntry(resolve(stripTrailingSeparators(path).first),
                                           [&](int dirFd, std::string_view name, unsigned char type) {
                                               if (entryKind(dirFd, name, type) == S_IFDIR)
                                                   names.emplace_back(name);
                                           });
        if (!complete)
            return std::nullopt;
        std::sort(names.begin(), names.end());
        return names;
    }

    std::optional<FileId> folderId(const std::string &path) override
    {
        struct stat st;
        if (::stat(resolve(stripTrailingSeparators(path).first).c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return std::nullopt;
        return FileId { static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino) };
    }

    std::unique_ptr<SourceFile> openForReading(const std::string &path) override
    {
        // The name as given is tried first; only a name that does not exist that way is looked up.
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 && (errno == ENOENT || errno == ENOTDIR))
            fd = ::open(resolve(path).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PosixSourceFile>(fd, st);
    }

    std::unique_ptr<OutputFile> createReplacement(const std::string &path) override
    {
        const auto [givenFolder, name] = splitLast(path);
        if (name.empty())
            return nullptr;
        // The folder's listing says at once whether the name exists, as given or in another case.
        std::string folder = givenFolder;
        const Listing *listing = listingOf(folder);
        if (!listing) {
            folder = resolve(givenFolder);
            listing = listingOf(folder);
        }
        std::string existing;
        if (listing) {
            auto names = listing->byLowerName.find(toLower(name));
            if (names != listing->byLowerName.end() && !names->second.empty() && !names->second.contains(name))
                existing = *names->second.begin();
        }
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string temporary
                = join(folder, ".tovrik-" + m_processId + "-" + std::to_string(m_nextTemporary++) + ".part");
            const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0)
                return std::make_unique<PosixOutputFile>(*this, fd, folder, std::move(temporary), name, existing);
            if (errno != EEXIST)
                return nullptr;
        }
        return nullptr;
    }

    // Records that this process added and/or removed an entry of folder, so that its cached listing stays
    // valid without reading the folder again.
    void noteChange(const std::string &folder, std::string_view added, std::string_view removed)
    {
        const std::string key = folder.empty() ? std::string(".") : folder;
        auto cached = m_listings.find(key);
        if (cached == m_listings.end())
            return;
        struct stat st;
        if (::stat(key.c_str(), &st) != 0) {
            m_listings.erase(cached);
            return;
        }
        Listing &listing = cached->second;
        if (!removed.empty()) {
            auto names = listing.byLowerName.find(toLower(removed));
            if (names != listing.byLowerName.end())
                names->second.erase(std::string(removed));
        }
        if (!added.empty())
            listing.byLowerName[toLower(added)].insert(std::string(added));
        listing.modified = st.st_mtim;
    }

private:
    struct Listing {
        FileId id;
        timespec modified {};
        std::map<std::string, std::set<std::string>> byLowerName;
    };

    // The path with every component that does not exist as given replaced by an existing entry that differs
    // only in case (the first in byte order). Components that exist nowhere are kept as given.
    std::string resolve(const std::string &path)
    {
        if (path.empty() || exists(path))
            return path;
        const auto [stripped, trailing] = stripTrailingSeparators(path);
        if (!trailing.empty())
            return resolve(stripped) + trailing;
        const auto [parent, name] = splitLast(path);
        if (name == "." || name == "..")
            return join(resolve(parent), name);

        std::string folder = parent;
        const Listing *listing = listingOf(folder);
        if (!listing && !folder.empty() && folder != "/") {
            folder = resolve(parent);
            if (folder != parent)
                listing = listingOf(folder);
        }
        if (listing) {
            auto names = listing->byLowerName.find(toLower(name));
            if (names != listing->byLowerName.end() && !names->second.empty())
                return join(folder, *names->second.begin());
        }
        return join(folder, name);
    }

    // The cached listing of a folder, read again when the folder changed since. Nothing when the folder
    // cannot be read.
    const Listing *listingOf(const std::string &folder)
    {
        const std::string key = folder.empty() ? std::string(".") : folder;
        struct stat st;
        if (::stat(key.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return nullptr;
        const FileId id { static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino) };
        auto cached = m_listings.find(key);
        if (cached != m_listings.end() && cached->second.id == id && sameTimes(cached->second.modified, st.st_mtim))
            return &cached->second;

        if (m_listings.size() >= kMaxListings)
            m_listings.clear();
        Listing listing { id, st.st_mtim, {} };
        const bool complete = forEachEntry(key, [&](int, std::string_view name, unsigned char) {
            listing.byLowerName[toLower(name)].insert(std::string(name));
        });
        if (!complete) {
            m_listings.erase(key);
            return nullptr;
        }
        return &(m_listings[key] = std::move(listing));
    }

    static constexpr std::size_t kMaxListings = 64;
    std::map<std::string, Listing> m_listings;
    const std::string m_processId = std::to_string(::getpid());
    std::uint64_t m_nextTemporary = 0;
};

bool PosixOutputFile::commit()
{
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return false;
    const std::string target = join(m_folder, m_name);
    if (::rename(m_temporary.c_str(), target.c_str()) != 0)
        return false;
    m_committed = true;
    // A file whose name differs only in case is the old output: it goes, unless the file system itself
    // ignores case and the two names are one file.
    if (!m_existing.empty()) {
        const std::string existing = join(m_folder, m_existing);
        struct stat newStat, oldStat;
        if (::lstat(target.c_str(), &newStat) == 0 && ::lstat(existing.c_str(), &oldStat) == 0
            && (newStat.st_dev != oldStat.st_dev || newStat.st_ino != oldStat.st_ino)
            && !S_ISDIR(oldStat.st_mode)) {
            ::unlink(existing.c_str());
            m_files.noteChange(m_folder, m_name, m_existing);
            return true;
        }
    }
    m_files.noteChange(m_folder, m_name, {});
    return true;
}

} // namespace

std::unique_ptr<FileSystem> createNativeFileSystem()
{
    return std::make_unique<PosixFileSystem>();
}

} // namespace platform
