#pragma once

#include <QLineEdit>
#include <QStringList>

// A one-line field that files and folders can be dropped on from the desktop. The drop changes nothing
// by itself: it hands the dropped paths (local files only) to whoever listens. Text drags are refused.
class DropField final : public QLineEdit {
    Q_OBJECT
public:
    explicit DropField(QWidget *parent);

signals:
    void filesDropped(const QStringList &paths);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
