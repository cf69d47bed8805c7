#pragma once

#include "platform/file_system.h"
#include "platform/folder_service.h"
#include "platform/text.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace engine {

// Every file longer than this loses its first kMacHeaderSize bytes; shorter ones get no copy.
inline constexpr std::uint64_t kMacHeaderSize = 128;

// What the walk needs of the window that runs it (the main window: Label2, the event loop, Check1; the
// command-line tool: its own).
struct WindowServices {
    std::function<void(std::string_view)> setStatusText;
    std::function<void()> yield;
    std::function<bool()> includeSubfolders;
    // Optional: true when the run should end; the walk then stops before the next file or subfolder.
    std::function<bool()> stopRequested;
};

// Writes a header-less copy of every file that matches sourcePattern (a folder, a separator and a file
// pattern) into a new folder under destinationRoot named after the source folder, and with include
// subfolders through the whole subfolder tree; destination folders that receive nothing are removed again.
// Each output is written beside its final name and put in place only when complete.
//
// Returns how many files or folders could not be processed (a matching file that could not be read, an
// output that could not be written, a source folder that could not be opened); zero means every output
// was written. The walk never writes into a folder that is one of its source folders, and never descends
// into a destination folder of its own or into a folder it has already entered.
std::size_t CutMacHeaders(const std::string &sourcePattern, const std::string &destinationRoot,
                          platform::FolderService &folders, const WindowServices &window,
                          platform::FileSystem &files, char separator = platform::kSeparator);

} // namespace engine
