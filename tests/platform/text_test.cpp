#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

TEST(TrimSpaces, RemovesOnlyOrdinarySpacesAtBothEnds)
{
    EXPECT_EQ(platform::trimSpaces("  a b  "), "a b");
    EXPECT_EQ(platform::trimSpaces("\ta\t"), "\ta\t");
    EXPECT_EQ(platform::trimSpaces("    "), "");
}

TEST(ToLower, CoversLettersBeyondAscii)
{
    EXPECT_EQ(platform::toLower("ABC xyz 123"), "abc xyz 123");
    EXPECT_EQ(platform::toLower("ÄÖÜ ÉÈ"), "äöü éè");
    EXPECT_EQ(platform::toLower("ＡＢＣ"), "ａｂｃ"); // full-width
    EXPECT_EQ(platform::toLower("ΣΑΒ Привет"), "σαβ привет");
    EXPECT_EQ(platform::toLower("画像ファイル"), "画像ファイル");
}

TEST(ToLower, KeepsBytesThatAreNotUtf8)
{
    const std::string latin1 = "CAF\xC9.TXT"; // "CAFÉ.TXT" in Latin-1
    EXPECT_EQ(platform::toLower(latin1), "caf\xC9.txt");
    const std::string truncated = "A\xE3\x81"; // a cut-off three-byte sequence
    EXPECT_EQ(platform::toLower(truncated), "a\xE3\x81");
}

TEST(EqualsIgnoringCase, ComparesLetterCaseOnly)
{
    EXPECT_TRUE(platform::equalsIgnoringCase("Mac Data", "mac data"));
    EXPECT_TRUE(platform::equalsIgnoringCase("ＦＩＬＥ", "ｆｉｌｅ"));
    EXPECT_FALSE(platform::equalsIgnoringCase("file1", "file2"));
    EXPECT_FALSE(platform::equalsIgnoringCase("a\xC9", "a\xE9")); // invalid bytes are not letters
}

TEST(FitToColumns, CountsWideCharactersTwiceAndNeverCutsOne)
{
    EXPECT_EQ(platform::fitToColumns("abcdef", 4), "abcd");
    EXPECT_EQ(platform::fitToColumns("ab写真", 5), "ab写");
    EXPECT_EQ(platform::fitToColumns("ab写真", 6), "ab写真");
    EXPECT_EQ(platform::fitToColumns("写", 1), "");
    EXPECT_EQ(platform::fitToColumns("short", 80), "short");
}

struct WildcardCase {
    std::string name;
    std::string pattern;
    bool matches;
};

void PrintTo(const WildcardCase &row, std::ostream *out)
{
    *out << '"' << row.name << "\" ~ \"" << row.pattern << '"';
}


class WildcardTest : public testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardTest, MatchesLikeTheFileListing)
{
    EXPECT_EQ(platform::matchesWildcard(GetParam().name, GetParam().pattern), GetParam().matches)
        << GetParam().name << " ~ " << GetParam().pattern;
}

INSTANTIATE_TEST_SUITE_P(Wildcards, WildcardTest,
                         testing::Values(WildcardCase { "readme", "*.*", true }, // no dot, still every name
                                         WildcardCase { "a.gif", "*.*", true },
                                         WildcardCase { "A.GIF", "*.gif", true }, // case is ignored
                                         WildcardCase { "a.gif", "*.GIF", true },
                                         WildcardCase { "a.gif", "*.jpg", false },
                                         WildcardCase { "a.gif", "?.gif", true },
                                         WildcardCase { "ab.gif", "?.gif", false },
                                         WildcardCase { "写真.JPG", "??.jpg", true }, // ? is one character
                                         WildcardCase { "ＡＢ.txt", "ａｂ.*", true },
                                         WildcardCase { "data1.bin", "data*", true },
                                         WildcardCase { "xdata", "data*", false },
                                         WildcardCase { "a.b.c", "*.c", true },
                                         WildcardCase { "abcabd", "*abd", true }, // needs back-tracking
                                         WildcardCase { "a.gif", "a.gif", true },
                                         WildcardCase { "a.gif", "b.gif", false },
                                         WildcardCase { "a\xC9", "A?", true },
                                         WildcardCase { "", "*", true }));

} // namespace
