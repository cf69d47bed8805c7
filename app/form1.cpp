#include "app/form1.h"

#include "about/program_images.h"
#include "about/vel_about.h"
#include "app/common_dialog.h"
#include "app/controls.h"
#include "app/drop_field.h"
#include "app/widgets_toolkit.h"
#include "engine/cut_mac_headers.h"
#include "engine/path_rules.h"
#include "engine/run_fields.h"
#include "engine/status_texts.h"
#include "settings/settings_location.h"
#include "settings/settings_store.h"
#include "widgets/fonts.h"
#include "widgets/line_element.h"
#include "widgets/text.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// Layouts are given in twips; at 96 dots per inch 15 twips are one pixel.
constexpr int kTwipsPerPixel = 15;

constexpr const char *kSettingsFileName = "tovrik.ini";
constexpr const char *kSection = "file";
constexpr const char *kSourceKey = "org";
constexpr const char *kDestinationKey = "new";
const QString kAboutItemSuffix = u" について(&A)..."_s;
const QString kAllFiles = u"*.*"_s;
const QString kSourceChooserTitle = u"ORG ファイル"_s;
const QString kDestinationChooserTitle = u"NEW ファイル"_s;
// The chooser's filter: the image entry, then all files.
const QString kImageFilter = u"画像ファイル(*.gif;*.jpg;*.jpeg)|*.gif;*.jpg;*.jpeg"_s;
const QString kAllFilesFilter = u"|すべてのファイル(*.*)|*.*"_s;

QRect twips(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

template<typename Widget>
Widget *control(QWidget *client, const QString &name, const QRect &geometry)
{
    auto *widget = new Widget(client);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QLabel *label(QWidget *client, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *widget = control<QLabel>(client, name, geometry);
    widget->setText(caption);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    widget->setWordWrap(true);
    return widget;
}

QPushButton *button(QWidget *client, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *widget = control<QPushButton>(client, name, geometry);
    widget->setText(caption);
    // Enter on a focused button presses that button, as on Windows.
    widget->setAutoDefault(true);
    return widget;
}

// A menu of the menu bar; the item that opens it carries the menu's name too.
QMenu *menu(QMenuBar *bar, const QString &name, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

QAction *menuItem(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

QAction *separator(QMenu *menu, const QString &name)
{
    QAction *action = menu->addSeparator();
    action->setObjectName(name);
    return action;
}

} // namespace

Form1::Form1(const Form1Services &services, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                              | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
    , m_toolkit(services.toolkit)
    , m_files(services.files)
    , m_calls(services.calls)
    , m_createFolderService(services.createFolderService)
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Mac ファイルヘッダカット"_s);
    setWindowIcon(programIcon());
    setFont(pGothicFont(9));

    auto *client = new QWidget(this);
    client->setObjectName(u"client"_s);
    client->setFixedSize(7320 / kTwipsPerPixel, 2760 / kTwipsPerPixel);
    setCentralWidget(client);
    buildControls(client);
    buildMenu();

    // Fixed single border: the window keeps the size of its client area and menu bar.
    setFixedSize(sizeHint());
    Form_Load();
}

Form1::~Form1() = default;

void Form1::buildControls(QWidget *client)
{
    Label1 = label(client, u"Label1"_s, u"ORG ファイルフォルダ:"_s, twips(120, 120, 1815, 255));
    Text1 = control<DropField>(client, u"Text1"_s, twips(1920, 120, 4575, 330));
    Command1 = button(client, u"Command1"_s, u"参照"_s, twips(6600, 120, 615, 330));
    Label3 = label(client, u"Label3"_s, u"NEW ファイルフォルダ:"_s, twips(120, 600, 1815, 255));
    Text2 = control<DropField>(client, u"Text2"_s, twips(1920, 600, 4575, 330));
    Command5 = button(client, u"Command5"_s, u"参照"_s, twips(6600, 600, 615, 330));
    Check1 = control<QCheckBox>(client, u"Check1"_s, twips(1920, 1080, 4695, 255));
    Check1->setText(u"サブフォルダ内も Mac ファイルヘッダカット"_s);
    Check1->setChecked(true);
    Label2 = label(client, u"Label2"_s, u"上のフォルダ指定は、ドロップできます。"_s, twips(120, 1560, 7095, 495));
    Command2 = button(client, u"Command2"_s, u"実行"_s, twips(1200, 2160, 1695, 375));
    Command4 = button(client, u"Command4"_s, u"終了"_s, twips(4440, 2160, 1695, 375));

    // The etched line under the menu bar runs past the right edge; the window clips it.
    Line1[1] = new LineElement(client, QPalette::Dark, 1);
    Line1[1]->setGeometry(0, 0, 7440 / kTwipsPerPixel, 1);
    Line1[0] = new LineElement(client, QPalette::Base, 0);
    Line1[0]->setGeometry(0, 15 / kTwipsPerPixel, 7440 / kTwipsPerPixel, 1);

    CommonDialog1 = new CommonDialog(m_toolkit, m_files, client);
    CommonDialog1->setObjectName(u"CommonDialog1"_s);

    for (DropField *field : { Text1, Text2 })
        field->setFont(pGothicFont(9.75));
    for (QLabel *caption : { Label1, Label2, Label3 })
        caption->setFocusPolicy(Qt::NoFocus);

    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Text2);
    setTabOrder(Text2, Command5);
    setTabOrder(Command5, Check1);
    setTabOrder(Check1, Command2);
    setTabOrder(Command2, Command4);

    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Text1, &DropField::filesDropped, this, &Form1::Text1_OLEDragDrop);
    connect(Text2, &DropField::filesDropped, this, &Form1::Text2_OLEDragDrop);
}

void Form1::buildMenu()
{
    QMenuBar *bar = menuBar();
    IDM_FILE = menu(bar, u"IDM_FILE"_s, u"&File"_s);
    IDM_ORGFLD = menuItem(IDM_FILE, u"IDM_ORGFLD"_s, u"ORG ファイルフォルダ(&O)..."_s);
    IDM_NEWFLD = menuItem(IDM_FILE, u"IDM_NEWFLD"_s, u"NEW ファイルフォルダ(&N)..."_s);
    IDM_FSP1 = separator(IDM_FILE, u"IDM_FSP1"_s);
    IDM_RUN = menuItem(IDM_FILE, u"IDM_RUN"_s, u"実行(&R)"_s);
    IDM_FSP2 = separator(IDM_FILE, u"IDM_FSP2"_s);
    IDM_EXIT = menuItem(IDM_FILE, u"IDM_EXIT"_s, u"終了(&X)"_s);
    IDM_HELP = menu(bar, u"IDM_HELP"_s, u"&Help"_s);
    IDM_ABOUT = menuItem(IDM_HELP, u"IDM_ABOUT"_s, u"&About..."_s);

    connect(IDM_ORGFLD, &QAction::triggered, this, &Form1::IDM_ORGFLD_Click);
    connect(IDM_NEWFLD, &QAction::triggered, this, &Form1::IDM_NEWFLD_Click);
    connect(IDM_RUN, &QAction::triggered, this, &Form1::IDM_RUN_Click);
    connect(IDM_EXIT, &QAction::triggered, this, &Form1::IDM_EXIT_Click);
    connect(IDM_ABOUT, &QAction::triggered, this, &Form1::IDM_ABOUT_Click);
}

void Form1::Command2_Click()
{
    Text1->setText(fromText(engine::normaliseSourceField(toText(Text1->text()))));
    Text2->setText(fromText(engine::normaliseDestinationField(toText(Text2->text()))));
    if (Text1->text().isEmpty() || Text2->text().isEmpty())
        return;

    SetControlsEnabled(*this, Text1, false);
    m_running = true;
    Label2->setEnabled(true);
    Label2->setText(fromText(engine::kStartText));
    m_toolkit.yield();
    const std::string sourcePattern = toText(Text1->text());
    const std::string destinationRoot = toText(Text2->text());

    auto folders = m_createFolderService ? m_createFolderService(m_files) : nullptr;
    if (!folders) {
        Label2->setText(fromText(engine::kFolderServiceErrorText));
        m_toolkit.beep();
        finishRun();
        return;
    }

    m_sinceRepaint.start();
    const engine::WindowServices window {
        [this](std::string_view text) { setStatusText(text); },
        [this] { yieldDuringRun(); },
        [this] { return Check1->checkState() == Qt::Checked; },
        [this] { return m_closeRequested; },
    };
    const std::size_t failures = engine::CutMacHeaders(sourcePattern, destinationRoot, *folders, window, m_files);
    folders.reset();

    Label2->setText(fromText(engine::completionText(failures)));
    if (failures != 0)
        m_toolkit.beep();
    finishRun();
}

void Form1::finishRun()
{
    m_running = false;
    SetControlsEnabled(*this, Text1, true);
    // A close asked for during the run happens now, as it always does.
    if (m_closeRequested) {
        m_closeRequested = false;
        close();
    }
}

void Form1::IDM_RUN_Click()
{
    Command2_Click();
}

void Form1::Command4_Click()
{
    close();
}

void Form1::IDM_EXIT_Click()
{
    Command4_Click();
}

void Form1::Form_Load()
{
    IDM_ABOUT->setText(windowTitle() + kAboutItemSuffix);
    const std::string candidate = engine::GetPathFolder(m_files.currentFolder().value_or(std::string())) + kSettingsFileName;
    IniName = settings::GetIniName(WindowHandle(*this), candidate, candidate, { m_calls, m_files, m_toolkit });
    Text1->setText(fromText(settings::ReadIniString(IniName, kSection, kSourceKey, true, m_calls)));
    Text2->setText(fromText(settings::ReadIniString(IniName, kSection, kDestinationKey, true, m_calls)));
}

void Form1::Form_Unload()
{
    // A write that fails changes nothing, and the window closes all the same.
    settings::WriteIniString(IniName, kSection, kSourceKey, toText(Text1->text()), m_calls);
    settings::WriteIniString(IniName, kSection, kDestinationKey, toText(Text2->text()), m_calls);
}

void Form1::Command1_Click()
{
    QString path = Text1->text();
    if (ShowFileDialog(*CommonDialog1, kSourceChooserTitle, false, kImageFilter + kAllFilesFilter, path, m_files))
        Text1->setText(path);
    Text1->setFocus();
}

void Form1::Command5_Click()
{
    QString path = Text2->text();
    if (ShowFileDialog(*CommonDialog1, kDestinationChooserTitle, false, kImageFilter + kAllFilesFilter, path, m_files))
        Text2->setText(fromText(engine::GetPathFolder(toText(path))));
    Text2->setFocus();
}

void Form1::IDM_ORGFLD_Click()
{
    Command1_Click();
}

void Form1::IDM_NEWFLD_Click()
{
    Command5_Click();
}

void Form1::IDM_ABOUT_Click()
{
    ShowAboutWindow(this, windowTitle());
}

namespace {

// The first dropped path, without a trailing separator that some desktops add to folders (a root stays).
std::string firstDropped(const QStringList &paths)
{
    std::string path = toText(paths.constFirst());
    while (path.size() > 1 && path.back() == platform::kSeparator)
        path.pop_back();
    return path;
}

} // namespace

void Form1::Text1_OLEDragDrop(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    const std::string dropped = firstDropped(paths);
    if (!engine::GetPathFileName(dropped).empty())
        Text1->setText(fromText(engine::GetPathFolder(dropped)) + kAllFiles);
    else
        Text1->setText(fromText(dropped));
}

void Form1::Text2_OLEDragDrop(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    Text2->setText(fromText(engine::GetPathFolder(firstDropped(paths))));
}

void Form1::setStatusText(std::string_view text)
{
    Label2->setText(fromText(text));
}

// Drawing every file's name would cost more than copying the file: during a run the window handles its
// events (and redraws the status line) only every few hundredths of a second. The status line still ends
// on the last text, since Run's completion text follows.
void Form1::yieldDuringRun()
{
    if (m_sinceRepaint.elapsed() < m_statusRefreshInterval)
        return;
    m_sinceRepaint.restart();
    m_toolkit.yield();
}

void Form1::keyPressEvent(QKeyEvent *event)
{
    // Enter anywhere but on another button presses Run, the default button; Esc presses Exit, the cancel
    // button. A disabled button is not pressed.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (Command2->isEnabled())
            Command2->click();
        return;
    case Qt::Key_Escape:
        if (Command4->isEnabled())
            Command4->click();
        return;
    default:
        QMainWindow::keyPressEvent(event);
    }
}

void Form1::closeEvent(QCloseEvent *event)
{
    // During a run the walk is still on the stack: it is asked to stop after the file it is writing, and
    // the window closes when Run has finished.
    if (m_running) {
        m_closeRequested = true;
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void Form1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        Text1->setFocus();
    }
}

bool ShowFileDialog(CommonDialog &dialog, const QString &title, bool saveMode, const QString &filter, QString &path,
                    platform::FileSystem &files)
{
    const std::optional<std::string> savedFolder = files.currentFolder();
    dialog.DialogTitle = title;
    dialog.InitDir = fromText(engine::GetPathFolder(toText(path)));
    dialog.FileName = fromText(engine::GetPathFileName(toText(path)));
    dialog.Filter = filter;
    dialog.CancelError = true;
    const bool chosen = saveMode ? dialog.ShowSave() : dialog.ShowOpen();
    if (chosen)
        path = fromText(platform::toLower(platform::trimSpaces(toText(dialog.FileName))));
    if (savedFolder) {
        files.changeDrive(savedFolder->substr(0, 2));
        files.changeFolder(*savedFolder);
    }
    return chosen;
}

void SetControlsEnabled(QMainWindow &window, QWidget *focusControl, bool enabled)
{
    Controls controls(window);
    const int count = controls.Count();
    for (int i = 0; i < count; ++i)
        controls.setEnabled(i, enabled);
    if (enabled && focusControl && focusControl->isVisible())
        focusControl->setFocus();
}
