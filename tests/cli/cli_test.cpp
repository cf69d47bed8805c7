// Runs tovrik-cut as a process, the way scripts use it.

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testsupport::bytes;
using testsupport::listTree;
using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::writeFile;
namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CliTest : public testing::Test {
protected:
    // Runs tovrik-cut with arguments in folder (the temporary root by default).
    Outcome run(const std::vector<std::string> &arguments, const fs::path &folder = {})
    {
        const fs::path outFile = root.path() / ".stdout";
        const fs::path errFile = root.path() / ".stderr";
        const pid_t child = ::fork();
        if (child == 0) {
            const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(out, STDOUT_FILENO);
            ::dup2(err, STDERR_FILENO);
            if (::chdir((folder.empty() ? root.path() : folder).c_str()) != 0)
                ::_exit(127);
            std::vector<char *> argv { const_cast<char *>(TOVRIK_CUT) };
            for (const auto &argument : arguments)
                argv.push_back(const_cast<char *>(argument.c_str()));
            argv.push_back(nullptr);
            ::execv(TOVRIK_CUT, argv.data());
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        Outcome outcome { WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(outFile), readFile(errFile) };
        fs::remove(outFile);
        fs::remove(errFile);
        return outcome;
    }

    static std::string lastLine(const std::string &text)
    {
        const auto end = text.find_last_not_of('\n');
        const auto start = text.rfind('\n', end);
        return text.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1) + 1);
    }

    TempFolder root;
};

TEST_F(CliTest, CutsATreeGivenAsFolders)
{
    writeFile(root.path() / "Mac Files" / "One.BIN", bytes(1000, 1));
    writeFile(root.path() / "Mac Files" / "small", bytes(100, 2));
    writeFile(root.path() / "Mac Files" / "Sub" / "two", bytes(129, 3));
    fs::create_directories(root.path() / "out.v2"); // a dot, yet an existing folder

    const Outcome outcome = run({ root / "Mac Files", root / "out.v2" });

    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "Mac ファイルヘッダカット開始...\n"
                           "Mac ファイルヘッダカット中...  One.BIN\n"
                           "Mac ファイルヘッダカット中...  small\n"
                           "Mac ファイルヘッダカット中...  Sub\n"
                           "Mac ファイルヘッダカット中...  two\n"
                           "Mac ファイルヘッダカット完了。\n");
    EXPECT_EQ(listTree(root.path() / "out.v2"),
              (std::vector<std::string> { "mac files/", "mac files/One.BIN", "mac files/Sub/", "mac files/Sub/two" }));
    EXPECT_EQ(readFile(root.path() / "out.v2" / "mac files" / "One.BIN"), bytes(1000, 1).substr(128));
}

TEST_F(CliTest, TakesPatternsAndRelativePaths)
{
    writeFile(root.path() / "src" / "a.gif", bytes(300, 1));
    writeFile(root.path() / "src" / "b.txt", bytes(300, 2));
    writeFile(root.path() / "src" / "sub" / "c.gif", bytes(300, 3));
    fs::create_directories(root.path() / "out");

    const Outcome outcome = run({ "--no-subfolders", "--quiet", "./SRC/*.GIF", "out" });

    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "Mac ファイルヘッダカット完了。\n");
    EXPECT_EQ(listTree(root.path() / "out"), (std::vector<std::string> { "src/", "src/a.gif" }));
}

TEST_F(CliTest, FailuresGiveTheErrorNoticeAndExitStatusOne)
{
    fs::create_directories(root.path() / "out");

    const Outcome outcome = run({ root / "missing/*.*", root / "out" });

    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(lastLine(outcome.out),
              "Mac ファイルヘッダカット完了。 【エラー】 1 個のファイルまたはフォルダを処理できませんでした。");
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndWriteNothing)
{
    for (const auto &arguments : std::vector<std::vector<std::string>> {
             {}, { "only-one" }, { "   ", "out" }, { "src", "  " }, { "--bogus", "a", "b" }, { "a", "b", "c" } }) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << testing::PrintToString(arguments);
        EXPECT_FALSE(outcome.err.empty());
    }
    EXPECT_EQ(listTree(root.path()), std::vector<std::string> {});
}

TEST_F(CliTest, VersionAndHelp)
{
    const Outcome version = run({ "--version" });
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "tovrik 2.00\n");
    const Outcome help = run({ "--help" });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--no-subfolders"), std::string::npos);
}

} // namespace
