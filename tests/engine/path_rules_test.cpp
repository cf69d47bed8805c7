#include "engine/path_rules.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct PathCase {
    std::string input;
    std::string folder;
    std::string fileName;
};

void PrintTo(const PathCase &row, std::ostream *out)
{
    *out << '"' << row.input << '"';
}


// The worked results, written with Windows separators; the POSIX flavour replaces every "\" by "/".
const PathCase kWorkedResults[] = {
    { R"(C:\Tmp\Folder)", R"(c:\tmp\folder\)", "folder" }, // no dot: a folder
    { R"(c:\tmp\a.gif)", R"(c:\tmp\)", "a.gif" },
    { R"(  C:\Tmp\A.GIF  )", R"(c:\tmp\)", "a.gif" },
    { R"(c:\tmp\*.*)", R"(c:\tmp\)", "*.*" },
    { R"(c:\my.dir\sub)", R"(c:\my.dir\)", "sub" }, // a dot anywhere: a file
    { R"(c:\tmp\readme)", R"(c:\tmp\readme\)", "readme" },
    { R"(c:\tmp\)", R"(c:\tmp\\)", "" },            // the trailing separator doubles
    { R"(c:\a.b\c.d\)", R"(c:\a.b\c.d\)", "" },
    { R"(c:\)", R"(c:\\)", "" },
    { R"(c:)", R"(c:\)", "" },
    { R"(c:abc)", R"(c:abc\)", "abc" },
    { R"(c:a.gif)", R"(c:)", "a.gif" },
    { R"(abc)", R"(abc\)", "" },
    { R"(a.gif)", "", "" },
    { R"(\\server\share\x.txt)", R"(\\server\share\)", "x.txt" },
    { "", R"(\)", "" },
    { "   ", R"(\)", "" },
    // Spaces inside the text stay, also where they begin a component.
    { R"(c:\tmp\ a.gif)", R"(c:\tmp\)", " a.gif" },
    // Letters outside ASCII are lower-cased too; Japanese text passes unchanged.
    { "C:\\ＡＢＣ\\Ä.GIF", "c:\\ａｂｃ\\", "ä.gif" },
    { "C:\\画像\\写真", "c:\\画像\\写真\\", "写真" },
};

std::string withSeparator(std::string text, char separator)
{
    std::replace(text.begin(), text.end(), '\\', separator);
    return text;
}

class PathRulesTest : public testing::TestWithParam<std::tuple<PathCase, char>> {};

TEST_P(PathRulesTest, FolderPartFollowsTheDotTest)
{
    const auto &[row, separator] = GetParam();
    EXPECT_EQ(engine::GetPathFolder(withSeparator(row.input, separator), separator), withSeparator(row.folder, separator));
}

TEST_P(PathRulesTest, FileNamePartIsTheLastComponent)
{
    const auto &[row, separator] = GetParam();
    EXPECT_EQ(engine::GetPathFileName(withSeparator(row.input, separator), separator),
              withSeparator(row.fileName, separator));
}

INSTANTIATE_TEST_SUITE_P(BothSeparators, PathRulesTest,
                         testing::Combine(testing::ValuesIn(kWorkedResults), testing::Values('\\', '/')));

TEST(PathRules, NativeSeparatorIsTheDefault)
{
    const std::string path = std::string("c:") + platform::kSeparator + "tmp" + platform::kSeparator + "a.gif";
    EXPECT_EQ(engine::GetPathFolder(path), std::string("c:") + platform::kSeparator + "tmp" + platform::kSeparator);
    EXPECT_EQ(engine::GetPathFileName(path), "a.gif");
}

TEST(PathRules, TextsLongerThanTheClassicLimitAreNeitherCutNorRefused)
{
    const std::string longName(40000, 'X');
    const std::string path = "c:\\" + longName + "\\" + longName + ".TXT";
    EXPECT_EQ(engine::GetPathFolder(path, '\\'), "c:\\" + std::string(40000, 'x') + "\\");
    EXPECT_EQ(engine::GetPathFileName(path, '\\'), std::string(40000, 'x') + ".txt");
}

TEST(PathRules, BytesThatAreNotUtf8PassThrough)
{
    // A name in another encoding (here Latin-1 and stray bytes) keeps its bytes.
    const std::string path = "/tmp/\x95\xfc\xff/A.GIF";
    EXPECT_EQ(engine::GetPathFolder(path, '/'), "/tmp/\x95\xfc\xff/");
    EXPECT_EQ(engine::GetPathFileName(path, '/'), "a.gif");
}

} // namespace
