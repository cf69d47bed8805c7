#include "platform/file_system.h"
#include "platform/folder_service.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testsupport::bytes;
using testsupport::listTree;
using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::writeFile;
namespace fs = std::filesystem;

class FileSystemTest : public testing::Test {
protected:
    std::string read(const std::string &path)
    {
        auto file = files->openForReading(path);
        if (!file)
            return "<cannot open>";
        std::string data(file->length(), '\0');
        auto got = file->read(0, std::as_writable_bytes(std::span(data)));
        return got ? data.substr(0, *got) : "<cannot read>";
    }

    bool replace(const std::string &path, const std::string &content)
    {
        const fs::path source = root.path() / ".source";
        writeFile(source, content);
        auto input = files->openForReading(source.string());
        auto output = files->createReplacement(path);
        const bool ok = input && output && output->copyFrom(*input, 0) && output->commit();
        fs::remove(source);
        return ok;
    }

    TempFolder root;
    std::unique_ptr<platform::FileSystem> files = platform::createNativeFileSystem();
};

TEST_F(FileSystemTest, LowerCasedPathsReachUpperCaseFoldersAndFiles)
{
    writeFile(root.path() / "Me" / "Mac" / "Data.BIN", "content");
    EXPECT_EQ(read(root / "me/mac/data.bin"), "content");
    EXPECT_TRUE(files->folderId(root / "ME/MAC/"));
    EXPECT_EQ(files->folderId(root / "me/mac"), files->folderId(root / "Me/Mac"));
}

TEST_F(FileSystemTest, AnExactMatchWinsOverOneThatDiffersInCase)
{
    writeFile(root.path() / "name.txt", "lower");
    writeFile(root.path() / "NAME.TXT", "upper");
    writeFile(root.path() / "Name.txt", "mixed");
    EXPECT_EQ(read(root / "name.txt"), "lower");
    EXPECT_EQ(read(root / "Name.txt"), "mixed");
    EXPECT_EQ(read(root / "nAmE.txt"), "upper"); // no exact match: the first in byte order
}

TEST_F(FileSystemTest, ListingKeepsPlainVisibleMatchingFilesInByteOrder)
{
    writeFile(root.path() / "b.TXT", "1");
    writeFile(root.path() / "a.txt", "1");
    writeFile(root.path() / "readme", "1");
    writeFile(root.path() / ".hidden.txt", "1");
    writeFile(root.path() / "写真.jpg", "1");
    fs::create_directory(root.path() / "folder.txt");
    fs::create_symlink("a.txt", root.path() / "link.txt");
    fs::create_symlink("missing", root.path() / "dangling.txt");
    fs::create_symlink("folder.txt", root.path() / "dirlink.txt");

    EXPECT_EQ(files->listFiles(root / "*.*"),
              (std::vector<std::string> { "a.txt", "b.TXT", "link.txt", "readme", "写真.jpg" }));
    EXPECT_EQ(files->listFiles(root / "*.txt"), (std::vector<std::string> { "a.txt", "b.TXT", "link.txt" }));
    EXPECT_EQ(files->listFiles(root / "B.txt"), (std::vector<std::string> { "b.TXT" }));
}

TEST_F(FileSystemTest, ListingAMissingFolderFails)
{
    EXPECT_FALSE(files->listFiles(root / "missing/*.*"));
    EXPECT_FALSE(files->listSubfolders(root / "missing/"));
    EXPECT_FALSE(files->folderId(root / "missing"));
}

TEST_F(FileSystemTest, SubfoldersIncludeFolderLinksAndKeepTheirCase)
{
    fs::create_directories(root.path() / "Beta");
    fs::create_directories(root.path() / "alpha");
    fs::create_directory_symlink("alpha", root.path() / "Link");
    writeFile(root.path() / "file", "x");
    platform::FolderService service(*files);
    auto folder = service.GetFolder(root / "");
    ASSERT_TRUE(folder);
    std::vector<std::string> names;
    for (const auto &sub : folder->subFolders())
        names.push_back(sub.Name());
    EXPECT_EQ(names, (std::vector<std::string> { "Beta", "Link", "alpha" }));
    EXPECT_FALSE(service.GetFolder(root / "nothing/"));
}

TEST_F(FileSystemTest, NamesThatAreNotUtf8KeepTheirBytes)
{
    const std::string name = "caf\xE9.TXT"; // Latin-1
    writeFile(root.path() / name, "latin");
    EXPECT_EQ(files->listFiles(root / "*.*"), (std::vector<std::string> { name }));
    EXPECT_EQ(read(root / "CAF\xE9.txt"), "latin");
}

TEST_F(FileSystemTest, MakingAFolderResolvesTheParentAndKeepsTheNewName)
{
    fs::create_directories(root.path() / "Out");
    EXPECT_TRUE(files->makeFolder(root / "out/Data/"));
    EXPECT_TRUE(fs::is_directory(root.path() / "Out" / "Data"));
    EXPECT_FALSE(files->makeFolder(root / "out/data")); // exists, in another case
    EXPECT_FALSE(files->makeFolder(root / "missing/data"));
    EXPECT_EQ(listTree(root.path()), (std::vector<std::string> { "Out/", "Out/Data/" }));
}

TEST_F(FileSystemTest, RemovingAFolderNeedsItEmpty)
{
    writeFile(root.path() / "Full" / "f", "x");
    fs::create_directories(root.path() / "Empty");
    EXPECT_FALSE(files->removeFolder(root / "full/"));
    EXPECT_TRUE(files->removeFolder(root / "empty/"));
    EXPECT_FALSE(files->deleteFile(root / "nothing"));
    EXPECT_TRUE(files->deleteFile(root / "FULL/F"));
    EXPECT_EQ(listTree(root.path()), (std::vector<std::string> { "Full/" }));
}

TEST_F(FileSystemTest, ReplacementTakesThePlaceOfALongerFileOnlyOnCommit)
{
    writeFile(root.path() / "out.bin", bytes(5000));
    {
        const fs::path source = root.path() / "in.bin";
        writeFile(source, "short");
        auto input = files->openForReading(source.string());
        auto output = files->createReplacement(root / "out.bin");
        ASSERT_TRUE(input && output);
        ASSERT_TRUE(output->copyFrom(*input, 0));
        EXPECT_EQ(readFile(root.path() / "out.bin"), bytes(5000)); // not yet committed
        ASSERT_TRUE(output->commit());
    }
    EXPECT_EQ(readFile(root.path() / "out.bin"), "short");
    EXPECT_EQ(listTree(root.path()), (std::vector<std::string> { "in.bin", "out.bin" }));
}

TEST_F(FileSystemTest, AnUncommittedReplacementLeavesNothingBehind)
{
    writeFile(root.path() / "out.bin", "old");
    {
        auto output = files->createReplacement(root / "out.bin");
        ASSERT_TRUE(output);
    }
    EXPECT_EQ(readFile(root.path() / "out.bin"), "old");
    EXPECT_EQ(listTree(root.path()), (std::vector<std::string> { "out.bin" }));
}

TEST_F(FileSystemTest, ReplacementRemovesTheOldFileThatDiffersOnlyInCase)
{
    writeFile(root.path() / "Foo.TXT", "old");
    ASSERT_TRUE(replace(root / "foo.txt", "new"));
    EXPECT_EQ(listTree(root.path()), (std::vector<std::string> { "foo.txt" }));
    EXPECT_EQ(readFile(root.path() / "foo.txt"), "new");
    // The folder's cached listing follows the change: the next replacement finds "foo.txt".
    ASSERT_TRUE(replace(root / "FOO.txt", "newer"));
    EXPECT_EQ(listTree(root.path()), (std::vector<std::string> { "FOO.txt" }));
}

TEST_F(FileSystemTest, ChangesMadeByOthersAreSeenAfterALookUp)
{
    fs::create_directories(root.path() / "dir");
    EXPECT_EQ(read(root / "dir/x.txt"), "<cannot open>"); // reads the folder's listing
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    writeFile(root.path() / "dir" / "X.TXT", "theirs");
    EXPECT_EQ(read(root / "dir/x.txt"), "theirs");
}

TEST_F(FileSystemTest, ReplacingAFolderFailsAndKeepsIt)
{
    fs::create_directories(root.path() / "name" / "inside");
    EXPECT_FALSE(replace(root / "name", "data"));
    EXPECT_EQ(listTree(root.path()), (std::vector<std::string> { "name/", "name/inside/" }));
}

// A source that fails to read half-way through.
class FailingSource final : public platform::SourceFile {
public:
    explicit FailingSource(std::uint64_t length) : m_length(length) { }
    std::uint64_t length() const override { return m_length; }
    std::optional<std::size_t> read(std::uint64_t offset, std::span<std::byte> buffer) override
    {
        if (offset >= m_length / 2)
            return std::nullopt;
        const auto count = std::min<std::uint64_t>(buffer.size(), m_length / 2 - offset);
        std::fill_n(buffer.begin(), count, std::byte { 'x' });
        return static_cast<std::size_t>(count);
    }

private:
    std::uint64_t m_length;
};

TEST_F(FileSystemTest, AReadErrorHalfWayKeepsTheOldOutput)
{
    writeFile(root.path() / "out.bin", "old");
    FailingSource source(3 << 20);
    {
        auto output = files->createReplacement(root / "out.bin");
        ASSERT_TRUE(output);
        EXPECT_FALSE(output->copyFrom(source, 128));
    }
    EXPECT_EQ(readFile(root.path() / "out.bin"), "old");
    EXPECT_EQ(listTree(root.path()), (std::vector<std::string> { "out.bin" }));
}

class FullDiskTest : public FileSystemTest, public testing::WithParamInterface<std::size_t> {};

TEST_P(FullDiskTest, KeepsTheOldOutput)
{
    writeFile(root.path() / "in.bin", bytes(GetParam()));
    writeFile(root.path() / "out.bin", "old");
    // The file-size limit makes writes past 64 KiB fail as a full disk would, in a child process only.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit { 64 * 1024, 64 * 1024 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        auto childFiles = platform::createNativeFileSystem();
        auto input = childFiles->openForReading(root / "in.bin");
        auto output = childFiles->createReplacement(root / "out.bin");
        const bool copied = input && output && output->copyFrom(*input, 128);
        output.reset();
        ::_exit(copied ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write past the limit was reported as done";
    EXPECT_EQ(readFile(root.path() / "out.bin"), "old");
    EXPECT_EQ(listTree(root.path()), (std::vector<std::string> { "in.bin", "out.bin" }));
}

// A file copied in one kernel call, and one copied through a mapping.
INSTANTIATE_TEST_SUITE_P(SmallAndLarge, FullDiskTest, testing::Values(256 * 1024, 3 * 1024 * 1024));

TEST_F(FileSystemTest, CurrentFolderAndChangeFolder)
{
    const auto before = files->currentFolder();
    ASSERT_TRUE(before);
    fs::create_directories(root.path() / "Work");
    EXPECT_TRUE(files->changeFolder(root / "work"));
    EXPECT_EQ(files->currentFolder(), fs::canonical(root.path() / "Work").string());
    EXPECT_EQ(files->absolutePath("a/./b"), fs::canonical(root.path() / "Work").string() + "/a/b");
    EXPECT_EQ(files->absolutePath("/x/y"), "/x/y");
    EXPECT_TRUE(files->changeFolder(*before));
    EXPECT_FALSE(files->changeFolder(root / "missing"));
}

} // namespace

namespace {

TEST_F(FileSystemTest, AFolderRemovedAndMadeAgainByOthersIsOpenedAfresh)
{
    writeFile(root.path() / "Dir" / "a", "first");
    EXPECT_EQ(read(root / "dir/a"), "first");
    fs::remove_all(root.path() / "Dir");
    writeFile(root.path() / "Dir" / "a", "second");
    EXPECT_EQ(read(root / "dir/a"), "second");
    EXPECT_TRUE(replace(root / "dir/b", "written"));
    EXPECT_EQ(readFile(root.path() / "Dir" / "b"), "written");
}

} // namespace
