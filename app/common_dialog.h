#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// The window's file-dialog component: it carries the chooser's settings between uses and shows nothing
// by itself. It is one of the window's controls but has no enabled state.
class CommonDialog final : public QObject {
    Q_OBJECT
public:
    explicit CommonDialog(QObject *parent) : QObject(parent)
    {
        setProperty("isControl", QVariant(true));
        setProperty("noEnabledState", QVariant(true));
    }

    QString DialogTitle;
    QString InitDir;
    QString FileName;
    QString Filter;
    bool CancelError = false;
};
