#pragma once

#include "platform/file_system.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class SubFolder {
public:
    explicit SubFolder(std::string name) : m_name(std::move(name)) { }
    // The bare name, as the file system stores it (case kept).
    const std::string &Name() const { return m_name; }

private:
    std::string m_name;
};

class Folder {
public:
    explicit Folder(std::vector<SubFolder> subFolders) : m_subFolders(std::move(subFolders)) { }
    // The folder's immediate subfolders, as they were when the folder was obtained.
    const std::vector<SubFolder> &subFolders() const { return m_subFolders; }

private:
    std::vector<SubFolder> m_subFolders;
};

// The folder service of one run: it hands out folder objects with their subfolders.
class FolderService {
public:
    explicit FolderService(FileSystem &files) : m_files(files) { }
    virtual ~FolderService() = default;
    // The folder object for path (which may end in a separator), or nothing when it cannot be opened.
    virtual std::optional<Folder> GetFolder(const std::string &path);

private:
    FileSystem &m_files;
};

// Creates the folder service of one run; nullptr when it is not available.
using FolderServiceFactory = std::function<std::unique_ptr<FolderService>(FileSystem &)>;
std::unique_ptr<FolderService> createFolderService(FileSystem &files);

} // namespace platform
