// tovrik-cut: the header cut of the main window's Run command, for scripts and terminals.

#include "engine/cut_mac_headers.h"
#include "engine/run_fields.h"
#include "engine/status_texts.h"
#include "platform/text.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/folder_service.h"
#include "platform/version.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailures = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;

std::atomic<bool> interrupted { false };

// The source argument as a source pattern: an existing folder stands for all of its files.
std::string sourcePatternOf(platform::FileSystem &files, std::string_view argument)
{
    std::string text = files.absolutePath(std::string(platform::trimSpaces(argument)));
    if (files.folderId(text)) {
        if (text.back() != platform::kSeparator)
            text += platform::kSeparator;
        text += "*.*";
    }
    return engine::normaliseSourceField(text);
}

// The destination argument as a destination root. An existing folder keeps its last component even when
// its name holds a dot, which the folder rule would otherwise take for a file name.
std::string destinationRootOf(platform::FileSystem &files, std::string_view argument)
{
    std::string text = files.absolutePath(std::string(platform::trimSpaces(argument)));
    if (files.folderId(text) && text.back() != platform::kSeparator)
        text += platform::kSeparator;
    return engine::normaliseDestinationField(text);
}

// Prints the status texts: one line each, or on a terminal one line that updates itself with a count.
class StatusPrinter {
public:
    StatusPrinter(bool quiet, bool terminal) : m_quiet(quiet), m_terminal(terminal) { }

    void show(std::string_view text)
    {
        ++m_count;
        if (m_quiet)
            return;
        if (!m_terminal) {
            std::cout << text << '\n';
            return;
        }
        // Redrawing a terminal line for every file would cost more than the copying; a few times a
        // second is enough to watch.
        const auto now = std::chrono::steady_clock::now();
        if (m_count > 1 && now - m_lastDrawn < std::chrono::milliseconds(100))
            return;
        m_lastDrawn = now;
        // A line longer than the terminal would wrap, and the next redraw could not clear it.
        const std::string line = "[" + std::to_string(m_count) + "] " + std::string(text);
        std::cout << "\r\033[K" << platform::fitToColumns(line, platform::terminalColumns().value_or(80) - 1)
                  << std::flush;
    }

    void finish(std::string_view text)
    {
        if (m_terminal && !m_quiet)
            std::cout << "\r\033[K";
        std::cout << text << std::endl;
    }

private:
    bool m_quiet;
    bool m_terminal;
    std::size_t m_count = 0;
    std::chrono::steady_clock::time_point m_lastDrawn;
};

} // namespace

int main(int argc, char **argv)
{
    CLI::App app { "Copies every file that matches SOURCE, without its first 128 bytes (the Mac file header), "
                   "into a new folder under DESTINATION named after the source folder." };
    app.name("tovrik-cut");
    std::string source, destination;
    bool noSubfolders = false;
    bool quiet = false;
    app.add_flag("--no-subfolders", noSubfolders, "Only the source folder itself, not its subfolders");
    app.add_flag("--quiet", quiet, "Print only the last line");
    app.set_version_flag("--version", std::string(platform::kProductName) + " " + platform::kVersionText);
    app.add_option("SOURCE", source, "A folder, or a folder followed by a file pattern such as *.*")->required();
    app.add_option("DESTINATION", destination, "The folder in which the new folder is made")->required();
    app.footer("Exit status: 0 when every file was processed, 1 when something could not be, 2 on a usage error.");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp &e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion &e) {
        return app.exit(e);
    } catch (const CLI::ParseError &e) {
        app.exit(e);
        return kExitUsage;
    }

    auto files = platform::createNativeFileSystem();
    const bool sourceGiven = !platform::trimSpaces(source).empty();
    const bool destinationGiven = !platform::trimSpaces(destination).empty();
    const std::string sourcePattern = sourceGiven ? sourcePatternOf(*files, source) : std::string();
    const std::string destinationRoot = destinationGiven ? destinationRootOf(*files, destination) : std::string();
    if (sourcePattern.empty() || destinationRoot.empty()) {
        std::cerr << "tovrik-cut: " << (sourcePattern.empty() ? "SOURCE" : "DESTINATION")
                  << " is empty or names no folder\n"
                  << "Run with --help for more information.\n";
        return kExitUsage;
    }

    StatusPrinter printer(quiet, platform::standardOutputIsTerminal());
    printer.show(engine::kStartText);
    auto folders = platform::createFolderService(*files);
    if (!folders) {
        printer.finish(engine::kFolderServiceErrorText);
        platform::consoleBeep();
        return kExitFailures;
    }

    platform::onInterrupt(interrupted);
    engine::WindowServices window {
        [&](std::string_view text) { printer.show(text); },
        [] { },
        [&] { return !noSubfolders; },
        [] { return interrupted.load(); },
    };
    const std::size_t failures = engine::CutMacHeaders(sourcePattern, destinationRoot, *folders, window, *files);
    if (interrupted) {
        printer.finish("中断しました。");
        return kExitInterrupted;
    }
    printer.finish(engine::completionText(failures));
    if (failures != 0) {
        platform::consoleBeep();
        return kExitFailures;
    }
    return kExitSuccess;
}
