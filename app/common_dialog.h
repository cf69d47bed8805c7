#pragma once

#include "platform/toolkit.h"

#include <QObject>
#include <QString>
#include <QVariant>

namespace platform {
class FileSystem;
}

// The window's file-dialog component: it carries the chooser's settings between uses and shows nothing
// by itself. It is one of the window's controls but has no enabled state.
class CommonDialog final : public QObject {
    Q_OBJECT
public:
    CommonDialog(platform::Toolkit &toolkit, platform::FileSystem &files, QObject *parent)
        : QObject(parent), m_toolkit(toolkit), m_files(files)
    {
        setProperty("isControl", QVariant(true));
        setProperty("noEnabledState", QVariant(true));
    }

    QString DialogTitle;
    QString InitDir;
    QString FileName;
    QString Filter;
    bool CancelError = false;

    // Show the open or save chooser. True when the user chose a file (FileName then holds its full path);
    // false when the chooser was cancelled or failed.
    bool ShowOpen() { return show(false); }
    bool ShowSave() { return show(true); }

private:
    bool show(bool save);

    platform::Toolkit &m_toolkit;
    platform::FileSystem &m_files;
};
