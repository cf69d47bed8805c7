#include "platform/file_system.h"
#include "platform/text.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <set>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::size_t kCopyBufferSize = 1 << 20;
constexpr std::size_t kKernelCopyChunk = std::size_t { 1 } << 30;
constexpr std::uint64_t kMapWindow = 1 << 20;

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

// Visits the entries of the folder open as fd (which it takes over and closes) but "." and "..".
// Returns false when the folder cannot be read to its end.
template<typename Visit>
bool forEachOpenEntry(int fd, Visit visit)
{
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
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

// Visits the entries of a folder held open as a path handle.
template<typename Visit>
bool forEachEntry(int folderFd, Visit visit)
{
    const int fd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd >= 0 && forEachOpenEntry(fd, visit);
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

// Copies count bytes by writing from a mapping of the source, a window at a time. Dropping the header shifts
// every byte against the page boundaries, and a kernel copy then writes each page of the output in two
// parts; a write from a mapping fills whole pages. Returns how many bytes were copied before a failure.
std::uint64_t copyMapped(PosixSourceFile &source, std::uint64_t sourceOffset, int out, std::uint64_t outOffset,
                         std::uint64_t count)
{
    static const auto pageSize = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    std::uint64_t done = 0;
    while (done < count) {
        const std::uint64_t position = sourceOffset + done;
        const std::uint64_t base = position - position % pageSize;
        const std::uint64_t length = std::min<std::uint64_t>(kMapWindow, sourceOffset + count - base);
        void *mapped = ::mmap(nullptr, static_cast<std::size_t>(length), PROT_READ, MAP_SHARED | MAP_POPULATE,
                              source.fd(), static_cast<off_t>(base));
        if (mapped == MAP_FAILED)
            break;
        const std::uint64_t part = length - (position - base);
        const bool written = writeAll(out, static_cast<const std::byte *>(mapped) + (position - base),
                                      static_cast<std::size_t>(part), outOffset + done);
        ::munmap(mapped, static_cast<std::size_t>(length));
        if (!written)
            break;
        done += part;
    }
    return done;
}

// Copies count bytes: large runs through a mapping, the rest with the kernel's copy_file_range, falling back
// to a buffer where the kernel cannot copy between these two files.
bool copySegment(PosixSourceFile &source, std::uint64_t sourceOffset, int out, std::uint64_t outOffset,
                 std::uint64_t count)
{
    if (count >= kMapWindow) {
        const std::uint64_t mapped = copyMapped(source, sourceOffset, out, outOffset, count);
        sourceOffset += mapped;
        outOffset += mapped;
        count -= mapped;
    }
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

// An open folder, so that the operations on its files need not walk the whole path again.
struct FolderHandle {
    FolderHandle(int fd, std::string resolved) : fd(fd), resolved(std::move(resolved)) { }
    ~FolderHandle() { ::close(fd); }
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;

    int fd;
    std::string resolved; // the folder's path with every component as stored
};

class PosixFileSystem;

class PosixOutputFile final : public OutputFile {
public:
    PosixOutputFile(PosixFileSystem &files, std::shared_ptr<const FolderHandle> folder, int fd, std::string temporary,
                    std::string name, std::string existing)
        : m_files(files)
        , m_folder(std::move(folder))
        , m_fd(fd)
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
            ::unlinkat(m_folder->fd, m_temporary.c_str(), 0);
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
    std::shared_ptr<const FolderHandle> m_folder;
    int m_fd;
    std::string m_temporary; // the name of the file being written, in m_folder
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

    bool changeFolder(const std::string &path) override
    {
        m_handles.clear(); // relative paths now mean other folders
        return ::chdir(resolve(path).c_str()) == 0;
    }

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
        const std::string resolved = resolve(stripTrailingSeparators(path).first);
        if (exists(resolved) || ::mkdir(resolved.c_str(), 0777) != 0)
            return false;
        const auto [parent, name] = splitLast(resolved);
        notePathChange(parent, name, {});
        return true;
    }

    bool removeFolder(const std::string &path) override
    {
        const std::string resolved = resolve(stripTrailingSeparators(path).first);
        if (::rmdir(resolved.c_str()) != 0)
            return false;
        std::erase_if(m_handles, [&](const auto &entry) { return entry.second->resolved == resolved; });
        const auto [parent, name] = splitLast(resolved);
        notePathChange(parent, {}, name);
        return true;
    }

    bool deleteFile(const std::string &path) override
    {
        const std::string resolved = resolve(path);
        if (::unlink(resolved.c_str()) != 0)
            return false;
        const auto [parent, name] = splitLast(resolved);
        notePathChange(parent, {}, name);
        return true;
    }

    std::optional<std::vector<std::string>> listFiles(const std::string &pattern) override
    {
        const auto [folder, wildcard] = splitLast(pattern);
        const auto handle = handleOf(folder);
        if (!handle)
            return std::nullopt;
        std::vector<std::string> names;
        const bool complete = forEachEntry(handle->fd, [&](int dirFd, std::string_view name, unsigned char type) {
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
        const auto handle = handleOf(path);
        if (!handle)
            return std::nullopt;
        std::vector<std::string> names;
        const bool complete = forEachEntry(handle->fd, [&](int dirFd, std::string_view name, unsigned char type) {
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

    std::string resolvePath(const std::string &path) override { return resolve(path); }

    std::optional<FileContent> readFile(const std::string &path, std::size_t maxBytes) override
    {
        auto file = openForReading(path);
        if (!file) {
            if (!exists(resolve(path)))
                return FileContent {};
            return std::nullopt;
        }
        const std::uint64_t length = file->length();
        std::string content(static_cast<std::size_t>(std::min<std::uint64_t>(length, maxBytes)), '\0');
        std::size_t done = 0;
        while (done < content.size()) {
            const auto got = file->read(done, std::as_writable_bytes(std::span(content.data() + done, content.size() - done)));
            if (!got)
                return std::nullopt;
            if (*got == 0)
                break;
            done += *got;
        }
        content.resize(done);
        return FileContent { true, std::move(content), length <= maxBytes };
    }

    bool writeFileAtomically(const std::string &path, std::string_view content) override
    {
        const auto [folder, name] = splitLast(path);
        const auto handle = name.empty() ? nullptr : handleOf(folder);
        if (!handle)
            return false;
        const std::string stored = storedName(*handle, name).value_or(name);
        struct stat old;
        const bool existed = ::fstatat(handle->fd, stored.c_str(), &old, 0) == 0;
        const std::string temporary = ".tovrik-" + m_processId + "-" + std::to_string(m_nextTemporary++) + ".part";
        const int fd = ::openat(handle->fd, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0)
            return false;
        bool ok = writeAll(fd, reinterpret_cast<const std::byte *>(content.data()), content.size(), 0);
        if (ok && existed)
            ok = ::fchmod(fd, old.st_mode & 07777) == 0;
        ok = ok && ::fsync(fd) == 0;
        ok = ::close(fd) == 0 && ok;
        ok = ok && ::renameat(handle->fd, temporary.c_str(), handle->fd, stored.c_str()) == 0;
        if (!ok) {
            ::unlinkat(handle->fd, temporary.c_str(), 0);
            return false;
        }
        noteChange(*handle, stored, {});
        return true;
    }

    std::unique_ptr<SourceFile> openForReading(const std::string &path) override
    {
        return inFolderOf(path, [&](const std::shared_ptr<const FolderHandle> &folder, const std::string &name) {
            return openForReading(*folder, name);
        });
    }

    std::unique_ptr<OutputFile> createReplacement(const std::string &path) override
    {
        return inFolderOf(path, [&](const std::shared_ptr<const FolderHandle> &folder, const std::string &name) {
            return createReplacement(folder, name);
        });
    }

    // Records that this process added and/or removed an entry of an open folder, so that its cached listing
    // stays valid without reading the folder again.
    void noteChange(const FolderHandle &folder, std::string_view added, std::string_view removed)
    {
        struct stat st;
        noteChange(folder.resolved, ::fstat(folder.fd, &st) == 0 ? &st : nullptr, added, removed);
    }

private:
    struct Listing {
        FileId id;
        timespec modified {};
        std::map<std::string, std::set<std::string>> byLowerName;
    };

    static std::string keyOf(const std::string &folder)
    {
        const std::string stripped = stripTrailingSeparators(folder).first;
        return stripped.empty() ? std::string(".") : stripped;
    }

    // Calls act with the open folder of path and the last name of path. A folder that was removed since it
    // was opened (and may have been made again) is opened afresh once.
    template<typename Act>
    auto inFolderOf(const std::string &path, Act act) -> decltype(act(nullptr, path))
    {
        const auto [folder, name] = splitLast(path);
        if (name.empty())
            return nullptr;
        for (int attempt = 0; attempt < 2; ++attempt) {
            const auto handle = handleOf(folder);
            if (!handle)
                return nullptr;
            if (auto result = act(handle, name))
                return result;
            struct stat st;
            if (::fstat(handle->fd, &st) != 0 || st.st_nlink > 0)
                return nullptr;
            m_handles.erase(keyOf(folder));
        }
        return nullptr;
    }

    std::unique_ptr<SourceFile> openForReading(const FolderHandle &folder, const std::string &name)
    {
        // The name as given is tried first; only a name that does not exist that way is looked up.
        int fd = ::openat(folder.fd, name.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) {
            if (const auto stored = storedName(folder, name))
                fd = ::openat(folder.fd, stored->c_str(), O_RDONLY | O_CLOEXEC);
        }
        if (fd < 0)
            return nullptr;
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PosixSourceFile>(fd, st);
    }

    std::unique_ptr<OutputFile> createReplacement(const std::shared_ptr<const FolderHandle> &folder,
                                                  const std::string &name)
    {
        std::string existing;
        if (const auto stored = storedName(*folder, name); stored && *stored != name)
            existing = *stored;
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string temporary = ".tovrik-" + m_processId + "-" + std::to_string(m_nextTemporary++) + ".part";
            const int fd = ::openat(folder->fd, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0)
                return std::make_unique<PosixOutputFile>(*this, folder, fd, std::move(temporary), name, existing);
            if (errno != EEXIST)
                return nullptr;
        }
        return nullptr;
    }

    void notePathChange(const std::string &folder, std::string_view added, std::string_view removed)
    {
        struct stat st;
        noteChange(keyOf(folder), ::stat(keyOf(folder).c_str(), &st) == 0 ? &st : nullptr, added, removed);
    }

    void noteChange(const std::string &key, const struct stat *st, std::string_view added, std::string_view removed)
    {
        auto cached = m_listings.find(key);
        if (cached == m_listings.end())
            return;
        if (!st) {
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
        listing.modified = st->st_mtim;
    }

    // The open folder for a folder path (trailing separators allowed), kept for the next files of the same
    // folder. Nothing when it cannot be opened.
    std::shared_ptr<const FolderHandle> handleOf(const std::string &folder)
    {
        const std::string key = keyOf(folder);
        if (auto cached = m_handles.find(key); cached != m_handles.end())
            return cached->second;
        std::string resolved = key == "." ? key : resolve(key);
        const int fd = ::open(resolved.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        if (m_handles.size() >= kMaxHandles)
            m_handles.clear();
        auto handle = std::make_shared<const FolderHandle>(fd, std::move(resolved));
        m_handles.emplace(key, handle);
        return handle;
    }

    // The name under which name is stored in an open folder: name itself when it exists as given,
    // otherwise the first in byte order that differs only in case. Nothing when there is none.
    std::optional<std::string> storedName(const FolderHandle &folder, const std::string &name)
    {
        struct stat st;
        if (::fstat(folder.fd, &st) != 0)
            return std::nullopt;
        const Listing *listing = listingOf(folder.resolved, st, [&] { return ::openat(folder.fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
        if (!listing)
            return std::nullopt;
        auto names = listing->byLowerName.find(toLower(name));
        if (names == listing->byLowerName.end() || names->second.empty())
            return std::nullopt;
        return names->second.contains(name) ? name : *names->second.begin();
    }

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
        const Listing *listing = listingOfPath(folder);
        if (!listing && !folder.empty() && folder != "/") {
            folder = resolve(parent);
            if (folder != parent)
                listing = listingOfPath(folder);
        }
        if (listing) {
            auto names = listing->byLowerName.find(toLower(name));
            if (names != listing->byLowerName.end() && !names->second.empty())
                return join(folder, *names->second.begin());
        }
        return join(folder, name);
    }

    const Listing *listingOfPath(const std::string &folder)
    {
        const std::string key = keyOf(folder);
        struct stat st;
        if (::stat(key.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return nullptr;
        return listingOf(key, st, [&] { return ::open(key.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    }

    // The cached listing of the folder whose status is st, read again (from the folder openFolder opens) when
    // the folder changed since. Nothing when the folder cannot be read.
    template<typename OpenFolder>
    const Listing *listingOf(const std::string &key, const struct stat &st, OpenFolder openFolder)
    {
        const FileId id { static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino) };
        auto cached = m_listings.find(key);
        if (cached != m_listings.end() && cached->second.id == id && sameTimes(cached->second.modified, st.st_mtim))
            return &cached->second;

        if (m_listings.size() >= kMaxListings)
            m_listings.clear();
        Listing listing { id, st.st_mtim, {} };
        const int fd = openFolder();
        const bool complete = fd >= 0 && forEachOpenEntry(fd, [&](int, std::string_view name, unsigned char) {
            listing.byLowerName[toLower(name)].insert(std::string(name));
        });
        if (!complete) {
            m_listings.erase(key);
            return nullptr;
        }
        return &(m_listings[key] = std::move(listing));
    }

    static constexpr std::size_t kMaxListings = 64;
    static constexpr std::size_t kMaxHandles = 32;
    std::map<std::string, Listing> m_listings;
    std::map<std::string, std::shared_ptr<const FolderHandle>> m_handles;
    const std::string m_processId = std::to_string(::getpid());
    std::uint64_t m_nextTemporary = 0;
};

bool PosixOutputFile::commit()
{
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return false;
    const int folder = m_folder->fd;
    if (::renameat(folder, m_temporary.c_str(), folder, m_name.c_str()) != 0)
        return false;
    m_committed = true;
    // A file whose name differs only in case is the old output: it goes, unless the file system itself
    // ignores case and the two names are one file.
    if (!m_existing.empty()) {
        struct stat newStat, oldStat;
        if (::fstatat(folder, m_name.c_str(), &newStat, AT_SYMLINK_NOFOLLOW) == 0
            && ::fstatat(folder, m_existing.c_str(), &oldStat, AT_SYMLINK_NOFOLLOW) == 0
            && (newStat.st_dev != oldStat.st_dev || newStat.st_ino != oldStat.st_ino) && !S_ISDIR(oldStat.st_mode)
            && ::unlinkat(folder, m_existing.c_str(), 0) == 0) {
            m_files.noteChange(*m_folder, m_name, m_existing);
            return true;
        }
    }
    m_files.noteChange(*m_folder, m_name, {});
    return true;
}

} // namespace

std::unique_ptr<FileSystem> createNativeFileSystem()
{
    return std::make_unique<PosixFileSystem>();
}

} // namespace platform
