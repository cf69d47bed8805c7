#include "engine/cut_mac_headers.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testsupport::bytes;
using testsupport::listTree;
using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::writeFile;
namespace fs = std::filesystem;

const std::string kCutting = "Mac ファイルヘッダカット中...  ";

// Delegates to the real file system, but fails the operations a test names, for the files it names.
class FaultyFileSystem final : public platform::FileSystem {
public:
    explicit FaultyFileSystem(platform::FileSystem &real) : m_real(real) { }

    std::set<std::string> failOpening, failCreating, failCopying;

    std::optional<std::string> currentFolder() override { return m_real.currentFolder(); }
    bool changeDrive(std::string_view drive) override { return m_real.changeDrive(drive); }
    bool changeFolder(const std::string &path) override { return m_real.changeFolder(path); }
    std::string absolutePath(const std::string &path) override { return m_real.absolutePath(path); }
    bool makeFolder(const std::string &path) override { return m_real.makeFolder(path); }
    bool removeFolder(const std::string &path) override { return m_real.removeFolder(path); }
    bool deleteFile(const std::string &path) override { return m_real.deleteFile(path); }
    std::optional<std::vector<std::string>> listFiles(const std::string &pattern) override
    {
        return m_real.listFiles(pattern);
    }
    std::optional<std::vector<std::string>> listSubfolders(const std::string &path) override
    {
        return m_real.listSubfolders(path);
    }
    std::optional<platform::FileId> folderId(const std::string &path) override { return m_real.folderId(path); }
    std::string resolvePath(const std::string &path) override { return m_real.resolvePath(path); }
    std::optional<platform::FileContent> readFile(const std::string &path, std::size_t maxBytes) override
    {
        return m_real.readFile(path, maxBytes);
    }
    bool writeFileAtomically(const std::string &path, std::string_view content) override
    {
        return m_real.writeFileAtomically(path, content);
    }
    std::unique_ptr<platform::SourceFile> openForReading(const std::string &path) override
    {
        return failOpening.contains(fs::path(path).filename()) ? nullptr : m_real.openForReading(path);
    }
    std::unique_ptr<platform::OutputFile> createReplacement(const std::string &path) override
    {
        const std::string name = fs::path(path).filename();
        if (failCreating.contains(name))
            return nullptr;
        auto output = m_real.createReplacement(path);
        if (output && failCopying.contains(name))
            return std::make_unique<FailingCopy>(std::move(output));
        return output;
    }

private:
    // Reports a full disk instead of copying.
    class FailingCopy final : public platform::OutputFile {
    public:
        explicit FailingCopy(std::unique_ptr<platform::OutputFile> real) : m_real(std::move(real)) { }
        bool copyFrom(platform::SourceFile &, std::uint64_t) override { return false; }
        bool commit() override { return m_real->commit(); }

    private:
        std::unique_ptr<platform::OutputFile> m_real;
    };

    platform::FileSystem &m_real;
};

class CutMacHeadersTest : public testing::Test {
protected:
    // Runs the walk as Run does, with the source pattern and destination root given relative to root.
    std::size_t cut(const std::string &sourcePattern, const std::string &destinationRoot)
    {
        return cutWith(*files, sourcePattern, destinationRoot);
    }

    std::size_t cutWith(platform::FileSystem &fileSystem, const std::string &sourcePattern,
                        const std::string &destinationRoot)
    {
        platform::FolderService folders(fileSystem);
        engine::WindowServices window {
            [this](std::string_view text) { statusTexts.emplace_back(text); },
            [this] { ++yields; },
            [this] { return includeSubfolders; },
            [this] { return stopAfter != 0 && statusTexts.size() >= stopAfter; },
        };
        return engine::CutMacHeaders(root / sourcePattern, root / destinationRoot, folders, window, fileSystem);
    }

    static std::vector<std::string> announced(std::initializer_list<std::string> names)
    {
        std::vector<std::string> texts;
        for (const auto &name : names)
            texts.push_back(kCutting + name);
        return texts;
    }

    TempFolder root;
    std::unique_ptr<platform::FileSystem> files = platform::createNativeFileSystem();
    bool includeSubfolders = true;
    std::size_t stopAfter = 0;
    std::vector<std::string> statusTexts;
    std::size_t yields = 0;
};

TEST_F(CutMacHeadersTest, OnlyFilesLongerThanTheHeaderGetACopyWithoutIt)
{
    writeFile(root.path() / "src" / "data" / "empty", "");
    writeFile(root.path() / "src" / "data" / "h128", bytes(128, 1));
    writeFile(root.path() / "src" / "data" / "h129", bytes(129, 2));
    writeFile(root.path() / "src" / "data" / "h300", bytes(300, 3));
    fs::create_directories(root.path() / "out");

    EXPECT_EQ(cut("src/data/*.*", "out/"), 0u);

    EXPECT_EQ(listTree(root.path() / "out"), (std::vector<std::string> { "data/", "data/h129", "data/h300" }));
    EXPECT_EQ(readFile(root.path() / "out" / "data" / "h129"), bytes(129, 2).substr(128));
    EXPECT_EQ(readFile(root.path() / "out" / "data" / "h300"), bytes(300, 3).substr(128));
    EXPECT_EQ(statusTexts, announced({ "empty", "h128", "h129", "h300" }));
    EXPECT_EQ(yields, statusTexts.size());
}

TEST_F(CutMacHeadersTest, FilesOfSeveralMebibytesAreCutExactly)
{
    const std::string content = bytes(3 * 1024 * 1024 + 777, 5);
    writeFile(root.path() / "src" / "data" / "big", content);
    fs::create_directories(root.path() / "out");

    EXPECT_EQ(cut("src/data/*.*", "out/"), 0u);

    EXPECT_TRUE(readFile(root.path() / "out" / "data" / "big") == content.substr(128));
}

TEST_F(CutMacHeadersTest, LowerCasedPatternReachesStoredCaseAndMirrorsTheTree)
{
    writeFile(root.path() / "Src" / "MAC" / "Top.BIN", bytes(200));
    writeFile(root.path() / "Src" / "MAC" / "Sub Folder" / "画像.JPG", bytes(1000, 7));
    writeFile(root.path() / "Src" / "MAC" / "Sub Folder" / "Deeper" / "x", bytes(129));
    fs::create_directories(root.path() / "Out");

    EXPECT_EQ(cut("src/mac/*.*", "out/"), 0u);

    // The top folder takes the pattern's name; nested ones and files keep the case they are stored in.
    EXPECT_EQ(listTree(root.path() / "Out"),
              (std::vector<std::string> { "mac/", "mac/Sub Folder/", "mac/Sub Folder/Deeper/", "mac/Sub Folder/Deeper/x",
                                          "mac/Sub Folder/画像.JPG", "mac/Top.BIN" }));
    EXPECT_EQ(readFile(root.path() / "Out" / "mac" / "Sub Folder" / "画像.JPG"), bytes(1000, 7).substr(128));
    EXPECT_EQ(statusTexts, announced({ "Top.BIN", "Sub Folder", "画像.JPG", "Deeper", "x" }));
}

TEST_F(CutMacHeadersTest, ReplacesALongerOldOutputAndLeavesOtherFilesAlone)
{
    writeFile(root.path() / "src" / "data" / "a", bytes(200, 1));
    writeFile(root.path() / "out" / "data" / "a", bytes(5000, 9));
    writeFile(root.path() / "out" / "data" / "other", "keep");

    EXPECT_EQ(cut("src/data/*.*", "out/"), 0u);

    EXPECT_EQ(readFile(root.path() / "out" / "data" / "a"), bytes(200, 1).substr(128));
    EXPECT_EQ(readFile(root.path() / "out" / "data" / "other"), "keep");
    EXPECT_EQ(listTree(root.path() / "out"), (std::vector<std::string> { "data/", "data/a", "data/other" }));
}

TEST_F(CutMacHeadersTest, DestinationFoldersThatReceiveNothingAreRemoved)
{
    writeFile(root.path() / "src" / "data" / "small", bytes(10));
    writeFile(root.path() / "src" / "data" / "sub" / "small", bytes(128));
    fs::create_directories(root.path() / "src" / "data" / "sub" / "empty");
    fs::create_directories(root.path() / "out" / "data"); // existed and empty before the run

    EXPECT_EQ(cut("src/data/*.*", "out/"), 0u);

    EXPECT_EQ(listTree(root.path() / "out"), std::vector<std::string> {});
    EXPECT_EQ(statusTexts, announced({ "small", "sub", "small", "empty" }));
}

TEST_F(CutMacHeadersTest, WithoutSubfoldersOnlyTheTopFolderIsProcessed)
{
    writeFile(root.path() / "src" / "data" / "sub" / "f", bytes(500));
    fs::create_directories(root.path() / "out");
    includeSubfolders = false;

    EXPECT_EQ(cut("src/data/*.*", "out/"), 0u);

    EXPECT_EQ(listTree(root.path() / "out"), std::vector<std::string> {});
    EXPECT_TRUE(statusTexts.empty());
}

TEST_F(CutMacHeadersTest, APatternWithFewerThanTwoSeparatorsDoesNothing)
{
    platform::FolderService folders(*files);
    engine::WindowServices window { [this](std::string_view text) { statusTexts.emplace_back(text); }, [] { },
                                    [] { return true; }, {} };
    EXPECT_EQ(engine::CutMacHeaders("/*.*", root / "", folders, window, *files), 0u);
    EXPECT_EQ(engine::CutMacHeaders("*.*", root / "", folders, window, *files), 0u);
    EXPECT_TRUE(statusTexts.empty());
    EXPECT_EQ(listTree(root.path()), std::vector<std::string> {});
}

TEST_F(CutMacHeadersTest, AdjacentSeparatorsGiveAnEmptyFolderName)
{
    writeFile(root.path() / "src" / "f", bytes(300));
    fs::create_directories(root.path() / "out");

    EXPECT_EQ(cut("src//*.*", "out/"), 0u);

    EXPECT_EQ(listTree(root.path() / "out"), std::vector<std::string> { "f" });
}

TEST_F(CutMacHeadersTest, AMissingSourceFolderCountsAsAFailure)
{
    fs::create_directories(root.path() / "out");
    EXPECT_EQ(cut("missing/*.*", "out/"), 1u);
    // With subfolders the walk returns before removing its destination folder, as it always has.
    EXPECT_EQ(listTree(root.path() / "out"), std::vector<std::string> { "missing/" });

    fs::remove(root.path() / "out" / "missing");
    includeSubfolders = false;
    EXPECT_EQ(cut("missing/*.*", "out/"), 1u);
    EXPECT_EQ(listTree(root.path() / "out"), std::vector<std::string> {});
}

TEST_F(CutMacHeadersTest, AMissingDestinationRootFailsEveryOutputButAnnouncesEveryFile)
{
    writeFile(root.path() / "src" / "data" / "a", bytes(300));
    writeFile(root.path() / "src" / "data" / "b", bytes(300));
    writeFile(root.path() / "src" / "data" / "c", bytes(100));

    EXPECT_EQ(cut("src/data/*.*", "nowhere/"), 2u);

    EXPECT_EQ(statusTexts, announced({ "a", "b", "c" }));
    EXPECT_FALSE(fs::exists(root.path() / "nowhere"));
}

TEST_F(CutMacHeadersTest, APatternNamingOneFileTakesThatNameInEverySubfolder)
{
    writeFile(root.path() / "src" / "data" / "a.gif", bytes(300, 1));
    writeFile(root.path() / "src" / "data" / "b.gif", bytes(300, 2));
    writeFile(root.path() / "src" / "data" / "sub" / "A.GIF", bytes(300, 3));
    writeFile(root.path() / "src" / "data" / "sub" / "c.gif", bytes(300, 4));
    fs::create_directories(root.path() / "out");

    EXPECT_EQ(cut("src/data/a.gif", "out/"), 0u);

    EXPECT_EQ(listTree(root.path() / "out"), (std::vector<std::string> { "data/", "data/a.gif", "data/sub/", "data/sub/A.GIF" }));
}

TEST_F(CutMacHeadersTest, HiddenFilesAreNotProcessed)
{
    writeFile(root.path() / "src" / "data" / ".DS_Store", bytes(300));
    writeFile(root.path() / "src" / "data" / "shown", bytes(300));
    fs::create_directories(root.path() / "out");

    EXPECT_EQ(cut("src/data/*.*", "out/"), 0u);

    EXPECT_EQ(listTree(root.path() / "out"), (std::vector<std::string> { "data/", "data/shown" }));
}

TEST_F(CutMacHeadersTest, ANameThatIsNotUtf8GetsAnOutputOfTheSameName)
{
    const std::string name = "\x83\x74\x83\x40\x83\x43\x83\x8B.bin"; // "ファイル" in Shift-JIS
    writeFile(root.path() / "src" / "data" / name, bytes(300));
    fs::create_directories(root.path() / "out");

    EXPECT_EQ(cut("src/data/*.*", "out/"), 0u);

    EXPECT_EQ(readFile(root.path() / "out" / "data" / name), bytes(300).substr(128));
}

TEST_F(CutMacHeadersTest, ADestinationThatIsTheSourceFolderWritesAndDeletesNothing)
{
    writeFile(root.path() / "a" / "b" / "big", bytes(300));
    writeFile(root.path() / "a" / "b" / "small", bytes(50));
    writeFile(root.path() / "a" / "b" / "sub" / "big2", bytes(400));
    fs::create_directories(root.path() / "a" / "b" / "emptysub");
    const auto before = listTree(root.path());

    // The destination root is the source folder's parent, so the destination folder is the source folder.
    EXPECT_EQ(cut("a/b/*.*", "a/"), 2u);

    EXPECT_EQ(listTree(root.path()), before);
    EXPECT_EQ(readFile(root.path() / "a" / "b" / "big"), bytes(300));
    EXPECT_EQ(readFile(root.path() / "a" / "b" / "sub" / "big2"), bytes(400));
}

TEST_F(CutMacHeadersTest, ADestinationInsideTheSourceIsNotWalkedAgain)
{
    writeFile(root.path() / "src" / "top", bytes(300, 1));
    writeFile(root.path() / "src" / "sub" / "inner", bytes(300, 2));

    EXPECT_EQ(cut("src/*.*", "src/"), 0u);

    EXPECT_EQ(listTree(root.path() / "src"),
              (std::vector<std::string> { "src/", "src/sub/", "src/sub/inner", "src/top", "sub/", "sub/inner", "top" }));
    EXPECT_EQ(readFile(root.path() / "src" / "src" / "sub" / "inner"), bytes(300, 2).substr(128));
}

TEST_F(CutMacHeadersTest, ASymbolicLinkCycleIsEnteredOnce)
{
    writeFile(root.path() / "src" / "data" / "a" / "f", bytes(300));
    fs::create_directory_symlink("..", root.path() / "src" / "data" / "a" / "up");
    fs::create_directories(root.path() / "out");

    EXPECT_EQ(cut("src/data/*.*", "out/"), 0u);

    EXPECT_EQ(listTree(root.path() / "out"), (std::vector<std::string> { "data/", "data/a/", "data/a/f" }));
}

TEST_F(CutMacHeadersTest, ATreeThreeHundredFoldersDeepIsWalkedToTheBottom)
{
    fs::path deepest = root.path() / "src" / "d";
    std::string expected = "d/";
    for (int depth = 1; depth < 300; ++depth) {
        deepest /= "d";
        expected += "d/";
    }
    writeFile(deepest / "f", bytes(200));
    fs::create_directories(root.path() / "out");

    EXPECT_EQ(cut("src/d/*.*", "out/"), 0u);

    EXPECT_EQ(readFile(root.path() / "out" / fs::path(expected) / "f"), bytes(200).substr(128));
}

TEST_F(CutMacHeadersTest, AFileThatCannotBeOpenedKeepsItsOldOutputAndTheWalkGoesOn)
{
    writeFile(root.path() / "src" / "data" / "a", bytes(300, 1));
    writeFile(root.path() / "src" / "data" / "b", bytes(300, 2));
    writeFile(root.path() / "src" / "data" / "c", bytes(300, 3));
    writeFile(root.path() / "out" / "data" / "b", "old output");
    FaultyFileSystem faulty(*files);
    faulty.failOpening = { "b" };

    EXPECT_EQ(cutWith(faulty, "src/data/*.*", "out/"), 1u);

    EXPECT_EQ(readFile(root.path() / "out" / "data" / "a"), bytes(300, 1).substr(128));
    EXPECT_EQ(readFile(root.path() / "out" / "data" / "b"), "old output");
    EXPECT_EQ(readFile(root.path() / "out" / "data" / "c"), bytes(300, 3).substr(128));
}

TEST_F(CutMacHeadersTest, OutputsThatCannotBeWrittenAreCountedAndLeaveNothingHalfWritten)
{
    writeFile(root.path() / "src" / "data" / "a", bytes(300, 1));
    writeFile(root.path() / "src" / "data" / "b", bytes(300, 2));
    writeFile(root.path() / "src" / "data" / "c", bytes(300, 3));
    writeFile(root.path() / "out" / "data" / "b", "old output");
    FaultyFileSystem faulty(*files);
    faulty.failCopying = { "b" };
    faulty.failCreating = { "c" };

    EXPECT_EQ(cutWith(faulty, "src/data/*.*", "out/"), 2u);

    EXPECT_EQ(listTree(root.path() / "out"), (std::vector<std::string> { "data/", "data/a", "data/b" }));
    EXPECT_EQ(readFile(root.path() / "out" / "data" / "b"), "old output");
}

TEST_F(CutMacHeadersTest, AStopEndsTheWalkAfterTheCurrentFile)
{
    for (const char *name : { "a", "b", "c" })
        writeFile(root.path() / "src" / "data" / name, bytes(300));
    writeFile(root.path() / "src" / "data" / "sub" / "d", bytes(300));
    fs::create_directories(root.path() / "out");
    stopAfter = 2;

    EXPECT_EQ(cut("src/data/*.*", "out/"), 0u);

    EXPECT_EQ(statusTexts, announced({ "a", "b" }));
    EXPECT_EQ(listTree(root.path() / "out"), (std::vector<std::string> { "data/", "data/a", "data/b" }));
}

TEST_F(CutMacHeadersTest, FilesOverFourGibibytesAreCutExactly)
{
    // A sparse file: holes cost no disk, and the copy keeps them.
    const std::uint64_t length = (std::uint64_t { 4 } << 30) + 4096 + 300;
    const fs::path source = root.path() / "src" / "data" / "huge.bin";
    fs::create_directories(source.parent_path());
    fs::create_directories(root.path() / "out");
    const struct Marker {
        std::uint64_t offset;
        std::string text;
    } markers[] = {
        { 0, std::string(128, 'H') },
        { 128, "first bytes" },
        { (std::uint64_t { 2 } << 30) - 5, "across 2 GiB" },
        { (std::uint64_t { 4 } << 30) - 5, "across 4 GiB" },
        { length - 8, "the end!" },
    };
    {
        const int fd = ::open(source.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(length)), 0);
        for (const auto &marker : markers)
            ASSERT_EQ(::pwrite(fd, marker.text.data(), marker.text.size(), static_cast<off_t>(marker.offset)),
                      static_cast<ssize_t>(marker.text.size()));
        ::close(fd);
    }

    EXPECT_EQ(cut("src/data/*.*", "out/"), 0u);

    const fs::path output = root.path() / "out" / "data" / "huge.bin";
    ASSERT_EQ(fs::file_size(output), length - 128);
    const int fd = ::open(output.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    for (const auto &marker : markers) {
        if (marker.offset < 128)
            continue;
        std::string got(marker.text.size(), '\0');
        ASSERT_EQ(::pread(fd, got.data(), got.size(), static_cast<off_t>(marker.offset - 128)),
                  static_cast<ssize_t>(got.size()));
        EXPECT_EQ(got, marker.text) << "at " << marker.offset;
    }
    char gap[16];
    ASSERT_EQ(::pread(fd, gap, sizeof gap, std::int64_t { 3 } << 30), static_cast<ssize_t>(sizeof gap));
    EXPECT_EQ(std::string(gap, sizeof gap), std::string(sizeof gap, '\0'));
    ::close(fd);
}

} // namespace

namespace {

TEST_F(CutMacHeadersTest, NamesThatDifferOnlyInCaseDoNotReplaceEachOthersOutput)
{
    writeFile(root.path() / "src" / "data" / "Foo.txt", bytes(300, 1));
    writeFile(root.path() / "src" / "data" / "foo.TXT", bytes(300, 2));
    fs::create_directories(root.path() / "out");

    EXPECT_EQ(cut("src/data/*.*", "out/"), 1u);

    EXPECT_EQ(listTree(root.path() / "out"), (std::vector<std::string> { "data/", "data/Foo.txt" }));
    EXPECT_EQ(readFile(root.path() / "out" / "data" / "Foo.txt"), bytes(300, 1).substr(128));
}

TEST_F(CutMacHeadersTest, AnOldOutputStoredInAnotherCaseIsReplaced)
{
    writeFile(root.path() / "src" / "data" / "photo.jpg", bytes(300, 1));
    writeFile(root.path() / "out" / "data" / "PHOTO.JPG", bytes(900, 2));

    EXPECT_EQ(cut("src/data/*.*", "out/"), 0u);

    EXPECT_EQ(listTree(root.path() / "out"), (std::vector<std::string> { "data/", "data/photo.jpg" }));
    EXPECT_EQ(readFile(root.path() / "out" / "data" / "photo.jpg"), bytes(300, 1).substr(128));
}

} // namespace
