#include "settings/settings_location.h"
#include "settings/settings_store.h"
#include "settings/system_call_wrappers.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// System calls with a module path and version answer set by the test; it counts what was called.
class FakeSystemCalls final : public platform::SystemCalls {
public:
    std::optional<bool> versionAnswer = true; // nothing: the narrow query cannot be made
    bool wideVersionAnswer = true;
    std::uint32_t platformId = platform::kPlatformWin32Nt;
    std::optional<std::string> modulePath = "/opt/tools/tovrik.exe";
    std::map<std::string, int> calls;

    std::optional<bool> getVersionExA(platform::VersionRecord &record) override
    {
        ++calls["getVersionExA"];
        if (versionAnswer && *versionAnswer)
            record.dwPlatformId = platformId;
        return versionAnswer;
    }
    bool getVersionExW(platform::VersionRecord &record) override
    {
        ++calls["getVersionExW"];
        if (wideVersionAnswer)
            record.dwPlatformId = platformId;
        return wideVersionAnswer;
    }
    std::intptr_t getWindowLongA(std::int32_t, std::int32_t index) override
    {
        ++calls["getWindowLongA"];
        return index == platform::kGwlHInstance ? 7 : 0;
    }
    std::intptr_t getWindowLongW(std::int32_t, std::int32_t index) override
    {
        ++calls["getWindowLongW"];
        return index == platform::kGwlHInstance ? 7 : 0;
    }
    std::uint32_t getModuleFileNameA(std::intptr_t module, std::string &buffer, std::uint32_t capacity) override
    {
        ++calls["getModuleFileNameA"];
        if (module != 7 || !modulePath)
            return 0;
        const std::string copied = modulePath->substr(0, capacity - 1);
        buffer.replace(0, copied.size() + 1, copied + '\0');
        return copied.size() < modulePath->size() ? capacity : static_cast<std::uint32_t>(copied.size());
    }
    std::uint32_t getModuleFileNameW(std::intptr_t module, std::u16string &buffer, std::uint32_t capacity) override
    {
        ++calls["getModuleFileNameW"];
        if (module != 7 || !modulePath)
            return 0;
        const std::u16string whole = platform::toUtf16(*modulePath);
        const std::u16string copied = whole.substr(0, capacity - 1);
        buffer.replace(0, copied.size() + 1, copied + u'\0');
        return copied.size() < whole.size() ? capacity : static_cast<std::uint32_t>(copied.size());
    }
    std::uint32_t getPrivateProfileStringA(const std::string &, const std::string &, const std::string &,
                                           std::string &buffer, std::uint32_t, const std::string &) override
    {
        ++calls["getPrivateProfileStringA"];
        buffer.replace(0, 6, std::string("narrow", 6) + '\0');
        return 6;
    }
    std::uint32_t getPrivateProfileStringW(const std::u16string &, const std::u16string &, const std::u16string &,
                                           std::u16string &buffer, std::uint32_t, const std::u16string &) override
    {
        ++calls["getPrivateProfileStringW"];
        buffer.replace(0, 5, std::u16string(u"WIDE ") + u'\0');
        return 5;
    }
    int writePrivateProfileStringA(const std::string &, const std::string &, const std::string &,
                                   const std::string &) override
    {
        ++calls["writePrivateProfileStringA"];
        return 1;
    }
    int writePrivateProfileStringW(const std::u16string &, const std::u16string &, const std::u16string &,
                                   const std::u16string &) override
    {
        ++calls["writePrivateProfileStringW"];
        return 0;
    }
};

class FakeFiles final : public platform::FileSystem {
public:
    std::string current = "/Data/Here";
    std::optional<std::string> currentFolder() override { return current; }
    bool changeDrive(std::string_view) override { return true; }
    bool changeFolder(const std::string &) override { return true; }
    std::string absolutePath(const std::string &path) override { return path; }
    bool makeFolder(const std::string &) override { return false; }
    bool removeFolder(const std::string &) override { return false; }
    bool deleteFile(const std::string &) override { return false; }
    std::optional<std::vector<std::string>> listFiles(const std::string &) override { return std::nullopt; }
    std::optional<std::vector<std::string>> listSubfolders(const std::string &) override { return std::nullopt; }
    std::optional<platform::FileId> folderId(const std::string &) override { return std::nullopt; }
    std::string resolvePath(const std::string &path) override { return path; }
    std::optional<platform::FileContent> readFile(const std::string &, std::size_t) override { return std::nullopt; }
    bool writeFileAtomically(const std::string &, std::string_view) override { return false; }
    std::unique_ptr<platform::SourceFile> openForReading(const std::string &) override { return nullptr; }
    std::unique_ptr<platform::OutputFile> createReplacement(const std::string &) override { return nullptr; }
};

class FakeToolkit final : public platform::Toolkit {
public:
    void yield() override { }
    void beep() override { events.push_back("beep"); }
    void messageBox(std::string_view text, std::string_view title) override
    {
        events.push_back(std::string(title) + ": " + std::string(text));
    }
    std::optional<std::string> chooseFile(const platform::FileChooserRequest &) override { return std::nullopt; }
    std::vector<std::string> events;
};

class SettingsLocationTest : public testing::Test {
protected:
    void SetUp() override { settings::forgetPlatformId(); }
    void TearDown() override { settings::forgetPlatformId(); }

    std::string iniName(const std::string &settingsPath, const std::string &overridePath = {})
    {
        return settings::GetIniName(42, settingsPath, overridePath, { calls, files, toolkit });
    }

    FakeSystemCalls calls;
    FakeFiles files;
    FakeToolkit toolkit;
};

TEST_F(SettingsLocationTest, AnyPathButTheSentinelComesBackUnchanged)
{
    EXPECT_EQ(iniName("/Data/vel3.ini"), "/Data/vel3.ini");
    EXPECT_EQ(iniName("/data/tovrik.ini", "/data/tovrik.ini"), "/data/tovrik.ini");
    EXPECT_EQ(iniName("xvel3.ini"), "xvel3.ini");
    EXPECT_TRUE(toolkit.events.empty());
}

TEST_F(SettingsLocationTest, TheSentinelNameGivesTheProgramsNameInTheCurrentFolder)
{
    EXPECT_EQ(iniName("vel3.ini"), "/data/here/tovrik.ini");
    EXPECT_EQ(iniName("VEL3.INI"), "/data/here/tovrik.ini");
    files.current = "/";
    EXPECT_EQ(iniName("vel3.ini"), "//tovrik.ini");
    calls.modulePath = "/x/tool"; // no three-letter extension: its last three characters go all the same
    files.current = "/w";
    EXPECT_EQ(iniName("vel3.ini"), "/w/tini");
}

TEST_F(SettingsLocationTest, InsideTheDevelopmentEnvironmentTheOverrideWins)
{
    calls.modulePath = "/opt/QtCreator.exe.d/bin/tool"; // a name counts wherever it stands
    EXPECT_EQ(iniName("vel3.ini", "/override.ini"), "/override.ini");
    EXPECT_EQ(iniName("/a/b.ini", "/override.ini"), "/override.ini");
    EXPECT_EQ(iniName("vel3.ini"), "/data/here/tini"); // no override: as outside it
    calls.modulePath = "/opt/tools/tovrik";
    EXPECT_EQ(iniName("/a/b.ini", "/override.ini"), "/a/b.ini");
}

TEST_F(SettingsLocationTest, AMissingProgramNameWarnsOnlyForTheSentinel)
{
    calls.modulePath.reset();
    EXPECT_EQ(iniName("/a/tovrik.ini"), "/a/tovrik.ini");
    EXPECT_TRUE(toolkit.events.empty());
    EXPECT_EQ(iniName("vel3.ini"), "");
    EXPECT_EQ(toolkit.events, (std::vector<std::string> {
                                  "beep", "GetIniName(): プログラム名の取得(GetModuleFileName) に失敗しました。" }));
}

TEST_F(SettingsLocationTest, AModulePathLongerThanTheBufferArrivesWhole)
{
    calls.modulePath = "/" + std::string(200, 'd') + "/tovrik.exe";
    EXPECT_EQ(iniName("vel3.ini"), "/data/here/tovrik.ini");
}

TEST_F(SettingsLocationTest, ThePlatformIdIsQueriedOnce)
{
    EXPECT_EQ(settings::GetPlatformId(calls), 2);
    EXPECT_EQ(settings::GetPlatformId(calls), 2);
    EXPECT_EQ(calls.calls["getVersionExA"], 1);
    EXPECT_EQ(calls.calls["getVersionExW"], 0);
}

TEST_F(SettingsLocationTest, AFailedQueryMeansPlatformOneForGood)
{
    calls.versionAnswer = false;
    EXPECT_EQ(settings::GetPlatformId(calls), 1);
    calls.versionAnswer = true;
    EXPECT_EQ(settings::GetPlatformId(calls), 1);
    EXPECT_EQ(calls.calls["getVersionExA"], 1);
}

TEST_F(SettingsLocationTest, TheWideQueryStandsInWhenTheNarrowOneCannotBeMade)
{
    calls.versionAnswer.reset();
    EXPECT_EQ(settings::GetPlatformId(calls), 2);
    EXPECT_EQ(calls.calls["getVersionExW"], 1);
    settings::forgetPlatformId();
    calls.wideVersionAnswer = false;
    EXPECT_EQ(settings::GetPlatformId(calls), 1);
}

TEST_F(SettingsLocationTest, WrappersCallTheWideVariantsOnPlatformTwoOnly)
{
    EXPECT_EQ(settings::ReadIniString("/x.ini", "file", "org", true, calls), "wide");
    EXPECT_FALSE(settings::WriteIniString("/x.ini", "file", "org", "v", calls));
    iniName("/a.ini");
    EXPECT_EQ(calls.calls["getWindowLongW"], 1);
    EXPECT_EQ(calls.calls["getModuleFileNameW"], 1);
    EXPECT_EQ(calls.calls["getWindowLongA"] + calls.calls["getModuleFileNameA"], 0);

    settings::forgetPlatformId();
    calls.platformId = platform::kPlatformWin32Windows;
    EXPECT_EQ(settings::ReadIniString("/x.ini", "file", "org", false, calls), "narrow");
    EXPECT_TRUE(settings::WriteIniString("/x.ini", "file", "org", "v", calls));
    iniName("/a.ini");
    EXPECT_EQ(calls.calls["getWindowLongA"], 1);
    EXPECT_EQ(calls.calls["getModuleFileNameA"], 1);
}

} // namespace
