#include "engine/cut_mac_headers.h"

#include "engine/status_texts.h"

#include <set>

namespace engine {

namespace {

class Walk {
public:
    Walk(platform::FolderService &folders, const WindowServices &window, platform::FileSystem &files,
         char separator)
        : m_folders(folders), m_window(window), m_files(files), m_separator(separator)
    {
    }

    std::size_t failures() const { return m_failures; }

    void run(const std::string &sourcePattern, const std::string &destinationRoot)
    {
        const auto last = sourcePattern.rfind(m_separator);
        if (last == std::string::npos || last == 0)
            return;
        const auto previous = sourcePattern.rfind(m_separator, last - 1);
        if (previous == std::string::npos)
            return;

        const std::string folderName = sourcePattern.substr(previous + 1, last - previous - 1);
        const std::string patternPart = sourcePattern.substr(last);
        const std::string sourceFolder = sourcePattern.substr(0, last + 1);
        const std::string destinationFolder = destinationRoot + folderName + m_separator;

        // The source folder is entered before anything is made, so that a destination folder can never
        // be one of this run's source folders, nor a source folder a destination.
        if (const auto sourceId = m_files.folderId(sourceFolder))
            m_entered.insert(*sourceId);
        m_files.makeFolder(destinationFolder);
        const auto destinationId = m_files.folderId(destinationFolder);
        const bool writable = !destinationId || !m_entered.contains(*destinationId);
        if (destinationId && writable)
            m_destinations.insert(*destinationId);

        const bool sourceOpened = cutFiles(sourcePattern, sourceFolder, destinationFolder, writable);
        if (stopRequested()) {
            removeIfEmpty(destinationFolder, writable);
            return;
        }

        if (m_window.includeSubfolders && m_window.includeSubfolders()) {
            const auto folder = m_folders.GetFolder(sourceFolder);
            if (!folder) {
                if (sourceOpened)
                    ++m_failures;
                return;
            }
            for (const auto &subFolder : folder->subFolders()) {
                if (stopRequested())
                    break;
                const std::string path = sourceFolder + subFolder.Name();
                if (const auto id = m_files.folderId(path); id && (m_entered.contains(*id) || m_destinations.contains(*id)))
                    continue;
                announce(subFolder.Name());
                run(path + patternPart, destinationFolder);
            }
        }
        removeIfEmpty(destinationFolder, writable);
    }

private:
    // The file pass of one folder. Returns false when the source folder could not be read.
    bool cutFiles(const std::string &sourcePattern, const std::string &sourceFolder,
                  const std::string &destinationFolder, bool writable)
    {
        const auto names = m_files.listFiles(sourcePattern);
        if (!names) {
            ++m_failures;
            return false;
        }
        std::set<std::string> written;
        for (const auto &name : *names) {
            if (stopRequested())
                break;
            announce(name);
            const auto source = m_files.openForReading(sourceFolder + name);
            if (!source) {
                ++m_failures;
                continue;
            }
            if (source->length() <= kMacHeaderSize)
                continue;
            if (!writable) {
                ++m_failures; // the output would land on a source file
                continue;
            }
            // Names are matched without regard to case, so a second name that differs from an earlier one
            // only in case would replace that one's output: it is not written, and counts as a failure.
            if (!written.insert(platform::toLower(name)).second) {
                ++m_failures;
                continue;
            }
            auto output = m_files.createReplacement(destinationFolder + name);
            if (!output || !output->copyFrom(*source, kMacHeaderSize) || !output->commit())
                ++m_failures;
        }
        return true;
    }

    void announce(std::string_view name)
    {
        std::string text(kCuttingText);
        text += name;
        if (m_window.setStatusText)
            m_window.setStatusText(text);
        if (m_window.yield)
            m_window.yield();
    }

    // A destination folder that received nothing goes again; a source folder never does.
    void removeIfEmpty(const std::string &destinationFolder, bool writable)
    {
        if (writable)
            m_files.removeFolder(destinationFolder);
    }

    bool stopRequested() const { return m_window.stopRequested && m_window.stopRequested(); }

    platform::FolderService &m_folders;
    const WindowServices &m_window;
    platform::FileSystem &m_files;
    char m_separator;
    std::size_t m_failures = 0;
    std::set<platform::FileId> m_entered;
    std::set<platform::FileId> m_destinations;
};

} // namespace

std::size_t CutMacHeaders(const std::string &sourcePattern, const std::string &destinationRoot,
                          platform::FolderService &folders, const WindowServices &window,
                          platform::FileSystem &files, char separator)
{
    Walk walk(folders, window, files, separator);
    walk.run(sourcePattern, destinationRoot);
    return walk.failures();
}

} // namespace engine
