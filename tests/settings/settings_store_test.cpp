#include "settings/settings_store.h"
#include "settings/system_call_wrappers.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::writeFile;
namespace fs = std::filesystem;

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override { settings::forgetPlatformId(); }

    std::string read(const std::string &key, bool lowerCase = true)
    {
        return settings::ReadIniString(ini, "file", key, lowerCase);
    }
    bool write(const std::string &key, const std::string &value)
    {
        return settings::WriteIniString(ini, "file", key, value);
    }

    TempFolder root;
    std::string ini = root / "tovrik.ini";
};

TEST_F(SettingsStoreTest, ANewFileHoldsExactlyTheSectionAndBothKeys)
{
    ASSERT_TRUE(write("org", R"(C:\Src\*.*)"));
    ASSERT_TRUE(write("new", "D:\\Out\\"));
    EXPECT_EQ(readFile(ini), "[file]\norg=C:\\Src\\*.*\nnew=D:\\Out\\\n");
}

TEST_F(SettingsStoreTest, ValuesAreStoredAsTypedAndReadTrimmedAndLowerCased)
{
    ASSERT_TRUE(write("org", "  /Home/Me/Mac/*.*  "));
    ASSERT_TRUE(write("new", "/Home/Out/"));
    EXPECT_EQ(read("org"), "/home/me/mac/*.*");
    EXPECT_EQ(read("new"), "/home/out/");
    EXPECT_EQ(read("new", false), "/Home/Out/");
    ASSERT_TRUE(write("org", "ＡＢＣ/Ä"));
    EXPECT_EQ(read("org"), "ａｂｃ/ä");
}

TEST_F(SettingsStoreTest, AnEmptyFieldAndAMissingKeyOrFileReadBackEmpty)
{
    EXPECT_EQ(read("org"), ""); // no file
    ASSERT_TRUE(write("org", ""));
    EXPECT_EQ(read("org"), "");
    EXPECT_EQ(read("new"), ""); // no key
    EXPECT_EQ(settings::ReadIniString(ini, "other", "org", true), "");
}

TEST_F(SettingsStoreTest, ALongValueComesBackAsItsFirst199Characters)
{
    const std::string value = std::string(150, 'A') + std::string(100, 'B');
    ASSERT_TRUE(write("org", value));
    EXPECT_EQ(read("org"), std::string(150, 'a') + std::string(49, 'b'));
    // Counted in characters, not bytes, and never cut inside one.
    const std::string japanese = std::string(198, 'x') + "写真";
    ASSERT_TRUE(write("new", japanese));
    EXPECT_EQ(read("new"), std::string(198, 'x') + "写");
}

TEST_F(SettingsStoreTest, WritingKeepsEveryOtherLine)
{
    writeFile(ini, "; tovrik settings\n[Other]\norg=keep me\n\n[FILE]\nNew = old\nextra=1\n[last]\nx=y\n");
    ASSERT_TRUE(write("org", "/src/*.*"));
    ASSERT_TRUE(write("new", "/out/"));
    EXPECT_EQ(readFile(ini), "; tovrik settings\n[Other]\norg=keep me\n\n[FILE]\nnew=/out/\nextra=1\norg=/src/*.*\n[last]\nx=y\n");
    EXPECT_EQ(settings::ReadIniString(ini, "other", "ORG", false), "keep me");
}

TEST_F(SettingsStoreTest, AShiftJisFileFromWindowsIsReadAndRewrittenInUtf8)
{
    // "[file]", "org=C:\写真\*.*" and a comment, in code page 932 with CRLF line ends.
    const std::string shiftJis = "; \x90\xdd\x92\xe8\r\n[file]\r\norg=C:\\\x8e\xca\x90\x5e\\*.*\r\nnew=d:\\out\\\r\n";
    writeFile(ini, shiftJis);
    EXPECT_EQ(read("org"), "c:\\写真\\*.*");
    EXPECT_EQ(read("new"), "d:\\out\\");

    ASSERT_TRUE(write("new", "/ここ/"));
    EXPECT_EQ(readFile(ini), "; 設定\r\n[file]\r\norg=C:\\写真\\*.*\r\nnew=/ここ/\r\n");
}

TEST_F(SettingsStoreTest, AFailedWriteReturnsFalseAndChangesNothing)
{
    EXPECT_FALSE(settings::WriteIniString(root / "missing/tovrik.ini", "file", "org", "x"));
    EXPECT_FALSE(fs::exists(root.path() / "missing"));

    const std::string binary("\x00\x01\x02[file]\norg=x\n\xff", 16);
    writeFile(ini, binary);
    EXPECT_FALSE(write("org", "y"));
    EXPECT_EQ(readFile(ini), binary);
    EXPECT_EQ(read("org"), "");
    EXPECT_EQ(testsupport::listTree(root.path()), std::vector<std::string> { "tovrik.ini" });
}

TEST_F(SettingsStoreTest, AFolderInThePlaceOfTheFileIsLeftAlone)
{
    fs::create_directories(root.path() / "tovrik.ini" / "inside");
    EXPECT_EQ(read("org"), "");
    EXPECT_FALSE(write("org", "x"));
    EXPECT_TRUE(fs::is_directory(root.path() / "tovrik.ini" / "inside"));
}

TEST_F(SettingsStoreTest, AHugeFileNeitherHangsNorIsRewritten)
{
    std::string huge(8 << 20, 'x');
    huge.insert(0, "[file]\norg=/first/\n");
    writeFile(ini, huge);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(read("org"), "/first/");
    EXPECT_FALSE(write("org", "/changed/"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(fs::file_size(ini), huge.size());
}

TEST_F(SettingsStoreTest, TheFileIsFoundWhateverTheCaseOfItsFolder)
{
    fs::create_directories(root.path() / "Work");
    const std::string lowered = root / "work/tovrik.ini";
    ASSERT_TRUE(settings::WriteIniString(lowered, "file", "org", "/a/*.*"));
    EXPECT_TRUE(fs::exists(root.path() / "Work" / "tovrik.ini"));
    EXPECT_EQ(settings::ReadIniString(lowered, "file", "org", true), "/a/*.*");
}

TEST_F(SettingsStoreTest, AWriteKeepsTheFilesPermissions)
{
    writeFile(ini, "[file]\norg=a\n");
    fs::permissions(ini, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(write("org", "b"));
    EXPECT_EQ(fs::status(ini).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

} // namespace
