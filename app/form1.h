#pragma once

#include "platform/file_system.h"
#include "platform/folder_service.h"
#include "platform/system_calls.h"
#include "platform/toolkit.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QStringList>

class CommonDialog;
class DropField;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;

// What the main window needs of the platform.
struct Form1Services {
    platform::Toolkit &toolkit;
    platform::FileSystem &files;
    platform::SystemCalls &calls = platform::nativeSystemCalls();
    platform::FolderServiceFactory createFolderService = platform::createFolderService;
};

// The main window: the source and destination fields with their browse buttons, the subfolder check box,
// the status line, Run and Exit, and the menu. It loads (reading the two fields from the settings file in
// the current folder) when it is made, and unloads (writing them back) when it closes.
class Form1 : public QMainWindow {
public:
    explicit Form1(const Form1Services &services, QWidget *parent = nullptr);
    ~Form1() override;

    void Form_Load();
    void Form_Unload();

    // Run: normalises the two fields, and unless one is empty cuts the headers of the source's files into
    // the destination, with the progress on the status line.
    void Command2_Click();
    void IDM_RUN_Click();
    // Exit: unloads the window.
    void Command4_Click();
    void IDM_EXIT_Click();
    void Command1_Click();
    void Command5_Click();
    void IDM_ORGFLD_Click();
    void IDM_NEWFLD_Click();
    // Opens the About window and returns when it has been closed.
    void IDM_ABOUT_Click();

    // A drop of files or folders onto the source or destination field; paths holds the dropped list.
    void Text1_OLEDragDrop(const QStringList &paths);
    void Text2_OLEDragDrop(const QStringList &paths);

    // The full path of the settings file, from load to unload.
    std::string IniName;

    // True from the moment Run disables the controls until it enables them again.
    bool isRunning() const { return m_running; }
    // How often, at most, the status line is redrawn during a run (in milliseconds; 0 after every text).
    void setStatusRefreshInterval(int milliseconds) { m_statusRefreshInterval = milliseconds; }

    DropField *Text1;
    DropField *Text2;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QPushButton *Command1;
    QPushButton *Command2;
    QPushButton *Command4;
    QPushButton *Command5;
    QCheckBox *Check1;
    QWidget *Line1[2];
    CommonDialog *CommonDialog1;

    QMenu *IDM_FILE;
    QAction *IDM_ORGFLD;
    QAction *IDM_NEWFLD;
    QAction *IDM_FSP1;
    QAction *IDM_RUN;
    QAction *IDM_FSP2;
    QAction *IDM_EXIT;
    QMenu *IDM_HELP;
    QAction *IDM_ABOUT;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls(QWidget *client);
    void buildMenu();
    void finishRun();
    void setStatusText(std::string_view text);
    void yieldDuringRun();

    platform::Toolkit &m_toolkit;
    platform::FileSystem &m_files;
    platform::SystemCalls &m_calls;
    platform::FolderServiceFactory m_createFolderService;
    bool m_running = false;
    bool m_closeRequested = false;
    bool m_shownOnce = false;
    int m_statusRefreshInterval = 40;
    QElapsedTimer m_sinceRepaint;
};

// Shows the file chooser of dialog with title and filter, starting from the folder and file name of path.
// When the user chooses a file, path becomes its full path (trimmed and lower-cased) and the result is true;
// on Cancel, or when the chooser fails, path stays as it was. The current folder is the same afterwards.
bool ShowFileDialog(CommonDialog &dialog, const QString &title, bool saveMode, const QString &filter, QString &path,
                    platform::FileSystem &files);

// Sets the enabled state of every control and menu item of window; when enabling, gives focusControl the
// input focus. Entries without an enabled state, and a focus that cannot be given, are passed over.
void SetControlsEnabled(QMainWindow &window, QWidget *focusControl, bool enabled);
