#include "about/program_images.h"
#include "about/vel_about.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString kCaption = u"Mac ファイルヘッダカット"_s;

// Opens the About window as the main window does, runs look at it while it is open, and returns when it
// has been closed (by look, or else by the test).
bool openAbout(const std::function<void(VelAbout &)> &look)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *about = dynamic_cast<VelAbout *>(QApplication::activeModalWidget());
        if (!about)
            return;
        seen = true;
        look(*about);
        if (about->isVisible())
            about->Command1_Click();
    });
    ShowAboutWindow(nullptr, kCaption);
    return seen;
}

TEST(VelAbout, ShowsTheCaptionTitleAndVersion)
{
    ASSERT_TRUE(openAbout([](VelAbout &about) {
        EXPECT_EQ(about.windowTitle(), u"Mac ファイルヘッダカット について"_s);
        EXPECT_EQ(about.Title->text(), kCaption);
        EXPECT_EQ(about.PgmVer->text(), u"tovrik.exe version 1.00"_s);
        EXPECT_FALSE(about.Copyright->text().isEmpty());
        EXPECT_TRUE(about.isModal());
        EXPECT_EQ(about.size(), QSize(312, 240));
        EXPECT_EQ(about.minimumSize(), about.maximumSize());
        EXPECT_FALSE(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(about.focusWidget(), about.Command1);
    }));
}

TEST(VelAbout, EveryOpeningIsANewWindowWithTheSameTexts)
{
    QPointer<VelAbout> first;
    QString firstVersion;
    ASSERT_TRUE(openAbout([&](VelAbout &about) {
        first = &about;
        firstVersion = about.PgmVer->text();
    }));
    EXPECT_TRUE(first.isNull()); // destroyed on closing
    ASSERT_TRUE(openAbout([&](VelAbout &about) { EXPECT_EQ(about.PgmVer->text(), firstVersion); }));
}

TEST(VelAbout, EnterAndTheCloseBoxCloseButEscDoesNot)
{
    ASSERT_TRUE(openAbout([](VelAbout &about) {
        QTest::keyClick(&about, Qt::Key_Escape);
        EXPECT_TRUE(about.isVisible());
        QTest::keyClick(about.Command1, Qt::Key_Return);
        EXPECT_FALSE(about.isVisible());
    }));
    ASSERT_TRUE(openAbout([](VelAbout &about) {
        about.close();
        EXPECT_FALSE(about.isVisible());
    }));
}

TEST(VelAbout, LayoutAndStacking)
{
    ASSERT_TRUE(openAbout([](VelAbout &about) {
        EXPECT_EQ(about.Image1->geometry(), QRect(8, 16, 36, 36));
        EXPECT_EQ(about.Title->geometry(), QRect(8, 16, 297, 17));
        EXPECT_EQ(about.PgmVer->geometry(), QRect(8, 40, 297, 17));
        EXPECT_EQ(about.Copyright->geometry(), QRect(8, 64, 297, 17));
        EXPECT_EQ(about.Image2->geometry(), QRect(8, 184, 76, 44));
        EXPECT_EQ(about.Label4->geometry(), QRect(224, 192, 81, 9));
        EXPECT_EQ(about.Command1->geometry(), QRect(224, 200, 81, 25));
        EXPECT_TRUE(about.Title->alignment() & Qt::AlignHCenter);
        EXPECT_DOUBLE_EQ(about.Title->font().pointSizeF(), 11.25);
        EXPECT_DOUBLE_EQ(about.Copyright->font().pointSizeF(), 9.75);
        EXPECT_EQ(about.Title->font().families().first(), u"ＭＳ Ｐゴシック"_s);
        EXPECT_EQ(about.Label4->palette().color(QPalette::Window), QColor(0, 255, 0));
        // The icon lies in front of the bands, the OK button in front of the green strip.
        const QObjectList order = about.children();
        EXPECT_GT(order.indexOf(about.Image1), order.indexOf(about.Title));
        EXPECT_GT(order.indexOf(about.Image1), order.indexOf(about.PgmVer));
        EXPECT_GT(order.indexOf(about.Command1), order.indexOf(about.Label4));
        EXPECT_EQ(about.Line1[4]->geometry(), QRect(0, 168, 320, 1));
        EXPECT_EQ(about.Image1->pixmap().size(), QSize(32, 32));
        EXPECT_EQ(about.Image2->pixmap().size(), QSize(72, 40));
    }));
}

TEST(ProgramImages, IconAndPictureLoadWithTheirSizes)
{
    for (int size : { 16, 32, 48, 64 })
        EXPECT_EQ(programIconImage(size).size(), QSize(size, size));
    const QList<QSize> sizes = programIcon().availableSizes();
    EXPECT_EQ(sizes, (QList<QSize> { { 16, 16 }, { 32, 32 }, { 48, 48 }, { 64, 64 } }));
    EXPECT_EQ(aboutPicture().size(), QSize(72, 40));
}

} // namespace
