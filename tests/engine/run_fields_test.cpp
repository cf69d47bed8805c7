#include "engine/run_fields.h"
#include "engine/status_texts.h"

#include <gtest/gtest.h>

namespace {

struct FieldCase {
    std::string typed;
    std::string normalised;
};

void PrintTo(const FieldCase &row, std::ostream *out)
{
    *out << '"' << row.typed << '"';
}


class DestinationFieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(DestinationFieldTest, EndsInExactlyOneSeparator)
{
    EXPECT_EQ(engine::normaliseDestinationField(GetParam().typed, '\\'), GetParam().normalised);
}

INSTANTIATE_TEST_SUITE_P(RunFields, DestinationFieldTest,
                         testing::Values(FieldCase { R"(c:\out)", R"(c:\out\)" }, //
                                         FieldCase { R"(c:\out\)", R"(c:\out\)" }, // doubled, then one dropped
                                         FieldCase { R"(D:\)", R"(d:\)" },
                                         FieldCase { R"(  C:\Out  )", R"(c:\out\)" },
                                         FieldCase { R"(c:\my.out)", R"(c:\)" }, // a dot: taken for a file
                                         FieldCase { "", R"(\)" },              // empty: the root folder
                                         FieldCase { "   ", R"(\)" }));

TEST(RunFields, SourceFieldIsTrimmedAndLowerCased)
{
    EXPECT_EQ(engine::normaliseSourceField(R"(  C:\Mac\Data\*.*  )"), R"(c:\mac\data\*.*)");
    EXPECT_EQ(engine::normaliseSourceField("   "), "");
}

TEST(RunFields, PosixDestinationUsesSlashes)
{
    EXPECT_EQ(engine::normaliseDestinationField("/Home/Out", '/'), "/home/out/");
    EXPECT_EQ(engine::normaliseDestinationField("/home/out/", '/'), "/home/out/");
}

TEST(StatusTexts, CompletionCarriesTheErrorNoticeOnlyAfterFailures)
{
    EXPECT_EQ(engine::completionText(0), "Mac ファイルヘッダカット完了。");
    EXPECT_EQ(engine::completionText(3),
              "Mac ファイルヘッダカット完了。 【エラー】 3 個のファイルまたはフォルダを処理できませんでした。");
}

} // namespace
