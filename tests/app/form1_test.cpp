#include "app/common_dialog.h"
#include "app/controls.h"
#include "app/drop_field.h"
#include "app/form1.h"
#include "app/widgets_toolkit.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

using testsupport::bytes;
using testsupport::listTree;
using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::writeFile;
namespace fs = std::filesystem;

class FakeToolkit final : public platform::Toolkit {
public:
    void yield() override
    {
        ++yields;
        if (onYield)
            onYield();
        QCoreApplication::processEvents();
    }
    void beep() override { ++beeps; }
    void messageBox(std::string_view text, std::string_view) override { messages.emplace_back(text); }
    std::optional<std::string> chooseFile(const platform::FileChooserRequest &request) override
    {
        chooserRequests.push_back(request);
        if (whileChoosing)
            whileChoosing();
        return chosenFile;
    }

    int yields = 0;
    int beeps = 0;
    std::vector<std::string> messages;
    std::function<void()> onYield;
    std::vector<platform::FileChooserRequest> chooserRequests;
    std::optional<std::string> chosenFile;
    std::function<void()> whileChoosing;
};

// Makes a folder the current one for as long as it lives.
class CurrentFolder {
public:
    explicit CurrentFolder(const fs::path &folder) : m_saved(fs::current_path()) { fs::current_path(folder); }
    ~CurrentFolder() { fs::current_path(m_saved); }

private:
    fs::path m_saved;
};

class Form1Test : public testing::Test {
protected:
    Form1Test() : form(services())
    {
        form.setStatusRefreshInterval(0);
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    Form1Services services()
    {
        return { toolkit, *files, platform::nativeSystemCalls(), [this](platform::FileSystem &fileSystem) {
                    return folderServiceAvailable ? platform::createFolderService(fileSystem) : nullptr;
                } };
    }

    template<typename T>
    T *find(const QString &name) const
    {
        return form.findChild<T *>(name);
    }

    QString focusName() const
    {
        QWidget *focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }

    // Names of the controls and menu items that are disabled.
    std::vector<std::string> disabledControls()
    {
        std::vector<std::string> names;
        Controls controls(form);
        for (int i = 0; i < controls.Count(); ++i) {
            if (controls.hasEnabled(i) && !controls.Enabled(i))
                names.push_back(controls.entry(i)->objectName().toStdString());
        }
        return names;
    }

    static void sendDrop(QWidget *target, QMimeData *data, bool *accepted)
    {
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        *accepted = enter.isAccepted();
        if (!*accepted)
            return;
        QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    }

    TempFolder root;
    CurrentFolder current { root.path() };
    std::unique_ptr<platform::FileSystem> files = platform::createNativeFileSystem();
    FakeToolkit toolkit;
    bool folderServiceAvailable = true;
    Form1 form;
};

// ---------------------------------------------------------------- layout

struct ControlCase {
    const char *name;
    const char *kind;
    QString caption;
    QRect twips;
};

void PrintTo(const ControlCase &row, std::ostream *out)
{
    *out << row.name;
}

class Form1LayoutTest : public Form1Test, public testing::WithParamInterface<ControlCase> {};

TEST_P(Form1LayoutTest, ControlSitsWhereTheLayoutPutsIt)
{
    const ControlCase &row = GetParam();
    auto *widget = find<QWidget>(QString::fromLatin1(row.name));
    ASSERT_TRUE(widget);
    EXPECT_TRUE(widget->inherits(row.kind)) << widget->metaObject()->className();
    const QRect pixels(row.twips.x() / 15, row.twips.y() / 15, row.twips.width() / 15, row.twips.height() / 15);
    EXPECT_EQ(widget->geometry(), pixels);
    EXPECT_TRUE(widget->isVisible());
    EXPECT_TRUE(widget->isEnabled());
    QString caption;
    if (auto *label = qobject_cast<QLabel *>(widget))
        caption = label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        caption = button->text();
    else if (auto *field = qobject_cast<QLineEdit *>(widget))
        caption = field->text();
    EXPECT_EQ(caption, row.caption);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, Form1LayoutTest,
    testing::Values(ControlCase { "Label1", "QLabel", u"ORG ファイルフォルダ:"_s, { 120, 120, 1815, 255 } },
                    ControlCase { "Text1", "QLineEdit", QString(), { 1920, 120, 4575, 330 } },
                    ControlCase { "Command1", "QPushButton", u"参照"_s, { 6600, 120, 615, 330 } },
                    ControlCase { "Label3", "QLabel", u"NEW ファイルフォルダ:"_s, { 120, 600, 1815, 255 } },
                    ControlCase { "Text2", "QLineEdit", QString(), { 1920, 600, 4575, 330 } },
                    ControlCase { "Command5", "QPushButton", u"参照"_s, { 6600, 600, 615, 330 } },
                    ControlCase { "Check1", "QCheckBox", u"サブフォルダ内も Mac ファイルヘッダカット"_s, { 1920, 1080, 4695, 255 } },
                    ControlCase { "Label2", "QLabel", u"上のフォルダ指定は、ドロップできます。"_s, { 120, 1560, 7095, 495 } },
                    ControlCase { "Command2", "QPushButton", u"実行"_s, { 1200, 2160, 1695, 375 } },
                    ControlCase { "Command4", "QPushButton", u"終了"_s, { 4440, 2160, 1695, 375 } }));

TEST_F(Form1Test, WindowHasTheCaptionAndAFixedClientArea)
{
    EXPECT_EQ(form.windowTitle(), u"Mac ファイルヘッダカット"_s);
    EXPECT_EQ(form.centralWidget()->size(), QSize(488, 184));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.windowType(), Qt::Window); // shown in the task bar
}

TEST_F(Form1Test, EtchedLineRunsUnderTheMenuBar)
{
    ASSERT_EQ(form.findChildren<QWidget *>(u"Line1"_s).size(), 2);
    EXPECT_EQ(form.Line1[1]->geometry(), QRect(0, 0, 496, 1));
    EXPECT_EQ(form.Line1[0]->geometry(), QRect(0, 1, 496, 1));
    EXPECT_EQ(form.Line1[1]->palette().color(QPalette::Window), form.palette().color(QPalette::Dark));
    EXPECT_EQ(form.Line1[0]->palette().color(QPalette::Window), form.palette().color(QPalette::Base));
}

TEST_F(Form1Test, FieldsAskForPGothicAndJapaneseRenders)
{
    for (QLineEdit *field : { static_cast<QLineEdit *>(form.Text1), static_cast<QLineEdit *>(form.Text2) }) {
        const QFont font = field->font();
        ASSERT_FALSE(font.families().isEmpty());
        EXPECT_EQ(font.families().first(), u"ＭＳ Ｐゴシック"_s);
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.75);
        EXPECT_EQ(font.weight(), QFont::Normal);
        EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
    }
    // A font that has the glyphs is installed and is the one the labels and fields are drawn with.
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    ASSERT_FALSE(japanese.isEmpty()) << "no Japanese font: every kana and kanji would be an empty box";
    for (QWidget *widget : { static_cast<QWidget *>(form.Label1), static_cast<QWidget *>(form.Text1),
                             static_cast<QWidget *>(form.Check1) }) {
        EXPECT_TRUE(japanese.contains(QFontInfo(widget->font()).family())) << QFontInfo(widget->font()).family().toStdString();
        const QFontMetrics metrics(widget->font());
        for (QChar c : u"ファイルフォルダ参照実行終了"_s)
            EXPECT_TRUE(metrics.inFont(c)) << widget->objectName().toStdString();
    }
}

TEST_F(Form1Test, CaptionsFitTheirControls)
{
    for (QLabel *label : { form.Label1, form.Label3 })
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width()) << label->objectName().toStdString();
}

TEST_F(Form1Test, MenuTreeInOrderWithAccessKeysAndNoShortcuts)
{
    QList<QAction *> bar = form.menuBar()->actions();
    ASSERT_EQ(bar.size(), 2);
    EXPECT_EQ(bar[0]->objectName(), u"IDM_FILE"_s);
    EXPECT_EQ(bar[0]->text(), u"&File"_s);
    EXPECT_EQ(bar[1]->objectName(), u"IDM_HELP"_s);
    EXPECT_EQ(bar[1]->text(), u"&Help"_s);

    std::vector<std::pair<QString, QString>> items;
    for (QAction *action : bar[0]->menu()->actions())
        items.emplace_back(action->objectName(), action->isSeparator() ? u"-"_s : action->text());
    EXPECT_EQ(items, (std::vector<std::pair<QString, QString>> { { u"IDM_ORGFLD"_s, u"ORG ファイルフォルダ(&O)..."_s },
                                                                 { u"IDM_NEWFLD"_s, u"NEW ファイルフォルダ(&N)..."_s },
                                                                 { u"IDM_FSP1"_s, u"-"_s },
                                                                 { u"IDM_RUN"_s, u"実行(&R)"_s },
                                                                 { u"IDM_FSP2"_s, u"-"_s },
                                                                 { u"IDM_EXIT"_s, u"終了(&X)"_s } }));
    ASSERT_EQ(bar[1]->menu()->actions().size(), 1);
    EXPECT_EQ(bar[1]->menu()->actions()[0]->objectName(), u"IDM_ABOUT"_s);
    EXPECT_EQ(bar[1]->menu()->actions()[0]->text(), u"Mac ファイルヘッダカット について(&A)..."_s);

    for (QAction *action : form.findChildren<QAction *>()) {
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->objectName().toStdString();
        EXPECT_TRUE(action->isEnabled() && action->isVisible() && !action->isChecked());
    }
}

TEST_F(Form1Test, ControlsCollectionHoldsEveryControlAndMenuItem)
{
    Controls controls(form);
    QStringList names;
    for (int i = 0; i < controls.Count(); ++i)
        names.append(controls.entry(i)->objectName());
    EXPECT_EQ(names, (QStringList { u"Label1"_s, u"Text1"_s, u"Command1"_s, u"Label3"_s, u"Text2"_s, u"Command5"_s,
                                    u"Check1"_s, u"Label2"_s, u"Command2"_s, u"Command4"_s, u"Line1"_s, u"Line1"_s,
                                    u"CommonDialog1"_s, u"IDM_FILE"_s, u"IDM_ORGFLD"_s, u"IDM_NEWFLD"_s, u"IDM_FSP1"_s,
                                    u"IDM_RUN"_s, u"IDM_FSP2"_s, u"IDM_EXIT"_s, u"IDM_HELP"_s, u"IDM_ABOUT"_s }));
    const int line = static_cast<int>(names.indexOf(u"Line1"_s));
    EXPECT_FALSE(controls.setEnabled(line, false));
    EXPECT_FALSE(controls.setEnabled(static_cast<int>(names.indexOf(u"CommonDialog1"_s)), false));
    EXPECT_TRUE(controls.setEnabled(static_cast<int>(names.indexOf(u"IDM_RUN"_s)), false));
    EXPECT_FALSE(form.IDM_RUN->isEnabled());
}

// ---------------------------------------------------------------- keyboard

TEST_F(Form1Test, FocusStartsInTheSourceFieldAndTabsInTheLayoutOrder)
{
    EXPECT_TRUE(form.Check1->isChecked());
    std::vector<QString> order { focusName() };
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.push_back(focusName());
    }
    EXPECT_EQ(order, (std::vector<QString> { u"Text1"_s, u"Command1"_s, u"Text2"_s, u"Command5"_s, u"Check1"_s,
                                             u"Command2"_s, u"Command4"_s, u"Text1"_s }));
}

TEST_F(Form1Test, EnterInTheFieldsOrOnTheCheckBoxPressesRun)
{
    for (QWidget *place : { static_cast<QWidget *>(form.Text1), static_cast<QWidget *>(form.Text2),
                            static_cast<QWidget *>(form.Check1) }) {
        QSignalSpy run(form.Command2, &QPushButton::clicked);
        place->setFocus();
        QTest::keyClick(place, Qt::Key_Return);
        EXPECT_EQ(run.count(), 1) << place->objectName().toStdString();
    }
}

TEST_F(Form1Test, EnterOnAFocusedButtonPressesThatButton)
{
    QSignalSpy run(form.Command2, &QPushButton::clicked);
    QSignalSpy browse(form.Command1, &QPushButton::clicked);
    form.Command1->setFocus();
    QTest::keyClick(form.Command1, Qt::Key_Return);
    EXPECT_EQ(browse.count(), 1);
    EXPECT_EQ(run.count(), 0);
}

TEST_F(Form1Test, EscapeAnywherePressesExitAndClosesTheWindow)
{
    for (QWidget *place : { static_cast<QWidget *>(form.Text2), static_cast<QWidget *>(form.Command1) }) {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        QSignalSpy exit(form.Command4, &QPushButton::clicked);
        place->setFocus();
        QTest::keyClick(place, Qt::Key_Escape);
        EXPECT_EQ(exit.count(), 1) << place->objectName().toStdString();
        EXPECT_FALSE(form.isVisible());
    }
}

// ---------------------------------------------------------------- drops

struct DropCase {
    QStringList dropped;
    QString source;      // Text1 after the drop onto it
    QString destination; // Text2 after the drop onto it
};

void PrintTo(const DropCase &row, std::ostream *out)
{
    *out << row.dropped.join(u", "_s).toStdString();
}

class Form1DropTest : public Form1Test, public testing::WithParamInterface<DropCase> {};

TEST_P(Form1DropTest, ADropFillsTheField)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &path : GetParam().dropped)
        urls.append(QUrl::fromLocalFile(path));
    data.setUrls(urls);
    bool accepted = false;
    sendDrop(form.Text1, &data, &accepted);
    EXPECT_TRUE(accepted);
    sendDrop(form.Text2, &data, &accepted);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(form.Text1->text(), GetParam().source);
    EXPECT_EQ(form.Text2->text(), GetParam().destination);
}

INSTANTIATE_TEST_SUITE_P(
    Drops, Form1DropTest,
    testing::Values(DropCase { { u"/Data/a.gif"_s }, u"/data/*.*"_s, u"/data/"_s },           // a file: its folder
                    DropCase { { u"/Data/Mac"_s }, u"/data/mac/*.*"_s, u"/data/mac/"_s },     // a folder: in it
                    DropCase { { u"/Data/Mac/"_s }, u"/data/mac/*.*"_s, u"/data/mac/"_s },
                    DropCase { { u"/Data/Mac.Files"_s }, u"/data/*.*"_s, u"/data/"_s },       // a dot: a file
                    DropCase { { u"/"_s }, u"/"_s, u"//"_s },                                  // the root, as dropped
                    DropCase { { u"/Out/x.gif"_s, u"/Other/y"_s }, u"/out/*.*"_s, u"/out/"_s }, // the first only
                    DropCase { { u"/写真/Ｐ.JPG"_s }, u"/写真/*.*"_s, u"/写真/"_s }));

TEST_F(Form1Test, TextDropsAndDropsElsewhereAreRefused)
{
    form.Text1->setText(u"kept"_s);
    bool accepted = true;
    QMimeData text;
    text.setText(u"/somewhere"_s);
    sendDrop(form.Text1, &text, &accepted);
    EXPECT_FALSE(accepted);
    QMimeData web;
    web.setUrls({ QUrl(u"https://example.org/a.gif"_s) });
    sendDrop(form.Text1, &web, &accepted);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(form.Text1->text(), u"kept"_s);

    for (QWidget *other : { static_cast<QWidget *>(form.Label1), static_cast<QWidget *>(form.Command2),
                            static_cast<QWidget *>(form.Check1), static_cast<QWidget *>(form.Label2) })
        EXPECT_FALSE(other->acceptDrops()) << other->objectName().toStdString();
    EXPECT_FALSE(form.acceptDrops());
}

// ---------------------------------------------------------------- Run

TEST_F(Form1Test, RunCutsTheTreeAndWritesTheNormalisedFieldsBack)
{
    writeFile(root.path() / "Mac" / "Data" / "A.GIF", bytes(300, 1));
    writeFile(root.path() / "Mac" / "Data" / "Sub" / "b", bytes(200, 2));
    writeFile(root.path() / "Mac" / "Data" / "tiny", bytes(20, 3));
    fs::create_directories(root.path() / "Out");
    form.Text1->setText(u"  "_s + QString::fromStdString(root / "MAC/DATA/*.*") + u"  "_s);
    form.Text2->setText(QString::fromStdString(root / "Out"));

    std::vector<std::vector<std::string>> disabledDuringRun;
    QStringList statusTexts;
    toolkit.onYield = [&] {
        disabledDuringRun.push_back(disabledControls());
        statusTexts.append(form.Label2->text());
    };
    form.Command2->click();

    const QString lowered = QString::fromStdString(root.path().string()).toLower();
    EXPECT_EQ(form.Text1->text(), lowered + u"/mac/data/*.*"_s);
    EXPECT_EQ(form.Text2->text(), lowered + u"/out/"_s);
    EXPECT_EQ(listTree(root.path() / "Out"), (std::vector<std::string> { "data/", "data/A.GIF", "data/Sub/", "data/Sub/b" }));
    EXPECT_EQ(readFile(root.path() / "Out" / "data" / "A.GIF"), bytes(300, 1).substr(128));

    EXPECT_EQ(statusTexts, (QStringList { u"Mac ファイルヘッダカット開始..."_s, u"Mac ファイルヘッダカット中...  A.GIF"_s,
                                          u"Mac ファイルヘッダカット中...  tiny"_s, u"Mac ファイルヘッダカット中...  Sub"_s,
                                          u"Mac ファイルヘッダカット中...  b"_s }));
    const std::vector<std::string> allButTheStatusLine { "Label1", "Text1", "Command1", "Label3", "Text2", "Command5",
                                                         "Check1", "Command2", "Command4", "IDM_FILE", "IDM_ORGFLD",
                                                         "IDM_NEWFLD", "IDM_FSP1", "IDM_RUN", "IDM_FSP2", "IDM_EXIT",
                                                         "IDM_HELP", "IDM_ABOUT" };
    for (const auto &disabled : disabledDuringRun)
        EXPECT_EQ(disabled, allButTheStatusLine);

    EXPECT_EQ(form.Label2->text(), u"Mac ファイルヘッダカット完了。"_s);
    EXPECT_TRUE(disabledControls().empty());
    EXPECT_EQ(focusName(), u"Text1"_s);
    EXPECT_EQ(toolkit.beeps, 0);
}

TEST_F(Form1Test, TheMenuItemRunsToo)
{
    writeFile(root.path() / "mac" / "src" / "f", bytes(300));
    form.Text1->setText(QString::fromStdString(root / "mac/src/*.*"));
    form.Text2->setText(QString::fromStdString(root / ""));
    form.IDM_RUN->trigger();
    EXPECT_EQ(readFile(root.path() / "src" / "f"), bytes(300).substr(128));
}

TEST_F(Form1Test, AnEmptyFieldStopsRunSilently)
{
    form.Text1->setText(u"   "_s);
    form.Text2->setText(u"  /Some/Out  "_s);
    form.Command2->click();
    EXPECT_EQ(form.Text1->text(), QString());
    EXPECT_EQ(form.Text2->text(), u"/some/out/"_s);
    EXPECT_EQ(form.Label2->text(), u"上のフォルダ指定は、ドロップできます。"_s);
    EXPECT_EQ(toolkit.yields, 0);
    EXPECT_TRUE(disabledControls().empty());
}

TEST_F(Form1Test, AnEmptyDestinationMeansTheRootFolder)
{
    form.Text1->setText(u"x"_s); // fewer than two separators: the walk does nothing
    form.Text2->setText(QString());
    form.Command2->click();
    EXPECT_EQ(form.Text2->text(), u"/"_s);
    EXPECT_EQ(form.Label2->text(), u"Mac ファイルヘッダカット完了。"_s);
}

TEST_F(Form1Test, AMissingFolderServiceIsReportedWithABeep)
{
    writeFile(root.path() / "src" / "f", bytes(300));
    fs::create_directories(root.path() / "out");
    form.Text1->setText(QString::fromStdString(root / "src/*.*"));
    form.Text2->setText(QString::fromStdString(root / "out/"));
    folderServiceAvailable = false;

    form.Command2->click();

    EXPECT_EQ(form.Label2->text(), u"【エラー】 FileSystemObject が使用できません。"_s);
    EXPECT_EQ(toolkit.beeps, 1);
    EXPECT_TRUE(disabledControls().empty());
    EXPECT_EQ(focusName(), u"Text1"_s);
    EXPECT_EQ(listTree(root.path() / "out"), std::vector<std::string> {});
}

TEST_F(Form1Test, AFailingRunEndsWithTheErrorNoticeAndABeep)
{
    fs::create_directories(root.path() / "out");
    form.Text1->setText(QString::fromStdString(root / "missing/*.*"));
    form.Text2->setText(QString::fromStdString(root / "out/"));

    form.Command2->click();

    EXPECT_EQ(form.Label2->text(),
              u"Mac ファイルヘッダカット完了。 【エラー】 1 個のファイルまたはフォルダを処理できませんでした。"_s);
    EXPECT_EQ(toolkit.beeps, 1);
}

TEST_F(Form1Test, ClosingDuringARunStopsAfterTheCurrentFileThenCloses)
{
    for (const char *name : { "a", "b", "c", "d" })
        writeFile(root.path() / "src" / name, bytes(5000));
    fs::create_directories(root.path() / "out");
    form.Text1->setText(QString::fromStdString(root / "src/*.*"));
    form.Text2->setText(QString::fromStdString(root / "out/"));
    toolkit.onYield = [&] {
        if (form.Label2->text().endsWith(u"  b"_s))
            form.close(); // the close box, while the walk is at "b"
    };

    form.Command2->click();

    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.isRunning());
    EXPECT_EQ(listTree(root.path() / "out"), (std::vector<std::string> { "src/", "src/a", "src/b" }));
}

TEST_F(Form1Test, ClosingWhileTheRunStartsClosesOnceItHasEnded)
{
    form.Text1->setText(QString::fromStdString(root / "src/*.*"));
    form.Text2->setText(QString::fromStdString(root / "out/"));
    folderServiceAvailable = false;
    toolkit.onYield = [&] { form.close(); };

    form.Command2->click();

    EXPECT_FALSE(form.isVisible());
    const std::string folder = QString::fromStdString(root / "").toLower().toStdString();
    EXPECT_EQ(readFile(root.path() / "tovrik.ini"), "[file]\norg=" + folder + "src/*.*\nnew=" + folder + "out/\n");
}

TEST_F(Form1Test, ClicksDuringARunDoNothing)
{
    writeFile(root.path() / "src" / "a", bytes(300));
    writeFile(root.path() / "src" / "b", bytes(300));
    fs::create_directories(root.path() / "out");
    form.Text1->setText(QString::fromStdString(root / "src/*.*"));
    form.Text2->setText(QString::fromStdString(root / "out/"));
    int nested = 0;
    toolkit.onYield = [&] {
        for (QWidget *target : { static_cast<QWidget *>(form.Command2), static_cast<QWidget *>(form.Command4),
                                 static_cast<QWidget *>(form.Check1), static_cast<QWidget *>(form.Text1) })
            QTest::mouseClick(target, Qt::LeftButton);
        QTest::keyClick(&form, Qt::Key_Return);
        QTest::keyClick(&form, Qt::Key_Escape);
        form.IDM_RUN->trigger();
        nested += form.isRunning() ? 0 : 1;
    };

    form.Command2->click();

    EXPECT_EQ(nested, 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.Check1->isChecked());
    EXPECT_EQ(listTree(root.path() / "out"), (std::vector<std::string> { "src/", "src/a", "src/b" }));
}

} // namespace

namespace {

// ---------------------------------------------------------------- load, unload, browse

TEST_F(Form1Test, FieldsSurviveACloseAndAStartAndLoadLowerCased)
{
    const std::string ini = (root.path() / "tovrik.ini").string();
    form.Text1->setText(u"/Mac/写真/*.*"_s);
    form.Text2->setText(u"  /Out/"_s);
    form.close();
    EXPECT_EQ(readFile(ini), "[file]\norg=/Mac/写真/*.*\nnew=  /Out/\n"); // as typed

    Form1 again(services());
    EXPECT_EQ(again.IniName, fs::path(QString::fromStdString(root / "").toLower().toStdString()) / "tovrik.ini");
    EXPECT_EQ(again.Text1->text(), u"/mac/写真/*.*"_s);
    EXPECT_EQ(again.Text2->text(), u"/out/"_s);
    again.Text1->setText(QString());
    again.IDM_EXIT->trigger();
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(readFile(ini), "[file]\norg=\nnew=/out/\n");
}

TEST_F(Form1Test, SettingsAreKeptInTheStartUpFolderWhateverItsCase)
{
    fs::create_directories(root.path() / "Work");
    CurrentFolder work(root.path() / "Work");
    Form1 inWork(services());
    inWork.Text1->setText(u"/a/*.*"_s);
    inWork.close();
    EXPECT_TRUE(fs::exists(root.path() / "Work" / "tovrik.ini"));
    EXPECT_EQ(testsupport::listTree(root.path() / "Work"), std::vector<std::string> { "tovrik.ini" });
}

TEST_F(Form1Test, BrowsingForTheSourceTakesTheChosenFile)
{
    fs::create_directories(root.path() / "Elsewhere");
    form.Text1->setText(u"/tmp/Mac/*.*"_s);
    toolkit.chosenFile = "  /Tmp/Mac/A.GIF ";
    toolkit.whileChoosing = [&] { fs::current_path(root.path() / "Elsewhere"); }; // the user browsed about
    const fs::path before = fs::current_path();

    form.Command1->click();

    ASSERT_EQ(toolkit.chooserRequests.size(), 1u);
    const platform::FileChooserRequest &asked = toolkit.chooserRequests[0];
    EXPECT_EQ(asked.title, "ORG ファイル");
    EXPECT_EQ(asked.initialFolder, "/tmp/mac/");
    EXPECT_EQ(asked.fileName, "*.*");
    EXPECT_EQ(asked.filter, "画像ファイル(*.gif;*.jpg;*.jpeg)|*.gif;*.jpg;*.jpeg|すべてのファイル(*.*)|*.*");
    EXPECT_FALSE(asked.save);
    EXPECT_EQ(form.Text1->text(), u"/tmp/mac/a.gif"_s);
    EXPECT_EQ(focusName(), u"Text1"_s);
    EXPECT_EQ(fs::current_path(), before);
}

TEST_F(Form1Test, TheChooserOpensTheStartFolderAsItIsStored)
{
    fs::create_directories(root.path() / "Mac" / "Pictures");
    form.Text1->setText(QString::fromStdString(root / "mac/pictures/*.*"));
    form.Command1->click();
    ASSERT_EQ(toolkit.chooserRequests.size(), 1u);
    EXPECT_EQ(toolkit.chooserRequests[0].initialFolder, fs::canonical(root.path()).string() + "/Mac/Pictures/");
}

TEST_F(Form1Test, BrowsingForTheDestinationTakesTheChosenFilesFolder)
{
    toolkit.chosenFile = "/Out/Some/x.gif";
    form.IDM_NEWFLD->trigger();
    ASSERT_EQ(toolkit.chooserRequests.size(), 1u);
    EXPECT_EQ(toolkit.chooserRequests[0].title, "NEW ファイル");
    EXPECT_EQ(toolkit.chooserRequests[0].initialFolder, "/"); // from an empty field: the root folder
    EXPECT_EQ(toolkit.chooserRequests[0].fileName, "");
    EXPECT_EQ(form.Text2->text(), u"/out/some/"_s);
    EXPECT_EQ(focusName(), u"Text2"_s);
}

TEST_F(Form1Test, CancellingAChooserLeavesTheFieldAndRestoresTheFolder)
{
    fs::create_directories(root.path() / "Elsewhere");
    form.Text2->setText(u"/Keep/"_s);
    form.Command1->setFocus();
    toolkit.whileChoosing = [&] { fs::current_path(root.path() / "Elsewhere"); };
    const fs::path before = fs::current_path();

    form.IDM_ORGFLD->trigger();
    form.Command5->click();

    EXPECT_EQ(form.Text1->text(), QString());
    EXPECT_EQ(form.Text2->text(), u"/Keep/"_s);
    EXPECT_EQ(focusName(), u"Text2"_s);
    EXPECT_EQ(fs::current_path(), before);
}

TEST(NameFilters, DescriptionsKeepTheirOrderAndOfferBothCases)
{
    EXPECT_EQ(nameFiltersOf(u"画像ファイル(*.gif;*.jpg;*.jpeg)|*.gif;*.jpg;*.jpeg|すべてのファイル(*.*)|*.*"_s),
              (QStringList { u"画像ファイル(*.gif;*.jpg;*.jpeg) (*.gif *.GIF *.jpg *.JPG *.jpeg *.JPEG)"_s,
                             u"すべてのファイル(*.*) (*.*)"_s }));
}

} // namespace

namespace {

TEST_F(Form1Test, TheHelpMenuOpensTheAboutWindowWithTheWindowsCaption)
{
    QString caption;
    QTimer::singleShot(0, [&] {
        if (QWidget *about = QApplication::activeModalWidget()) {
            caption = about->windowTitle();
            QTest::keyClick(about, Qt::Key_Return);
        }
    });
    form.IDM_ABOUT->trigger();
    EXPECT_EQ(caption, u"Mac ファイルヘッダカット について"_s);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(form.windowIcon().isNull());
}

} // namespace
