#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About window: the program's title, file name and version, copyright, homepage and e-mail, icon and
// picture. It is made afresh for every opening, shown modally, and closed with OK, Enter or its close box.
class VelAbout final : public QDialog {
public:
    explicit VelAbout(QWidget *owner);

    // OK: closes the window.
    void Command1_Click();

    QWidget *Line1[6];
    QLabel *Image1;
    QLabel *Title;
    QLabel *PgmVer;
    QLabel *Copyright;
    QLabel *Label5;
    QLabel *Label6;
    QLabel *Image2;
    QLabel *Label4;
    QPushButton *Command1;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// The program's copyright notice, shown in the About window.
extern const char *const kCopyrightNotice;

// Opens the About window for the main window whose caption is caption, and returns when it has been closed.
void ShowAboutWindow(QWidget *owner, const QString &caption);
