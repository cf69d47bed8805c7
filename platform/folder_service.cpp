#include "platform/folder_service.h"

namespace platform {

std::optional<Folder> FolderService::GetFolder(const std::string &path)
{
    auto names = m_files.listSubfolders(path);
    if (!names)
        return std::nullopt;
    std::vector<SubFolder> subFolders;
    subFolders.reserve(names->size());
    for (auto &name : *names)
        subFolders.emplace_back(std::move(name));
    return Folder(std::move(subFolders));
}

std::unique_ptr<FolderService> createFolderService(FileSystem &files)
{
    return std::make_unique<FolderService>(files);
}

} // namespace platform
