#pragma once

#include <QList>
#include <QPointer>

class QMainWindow;
class QObject;

// A window's Controls collection: every control of the window and every item of its menu bar, in the
// order they were made. Entries without an enabled state (lines, the file-dialog component) are listed
// too; setting their Enabled fails.
class Controls {
public:
    explicit Controls(QMainWindow &window);

    int Count() const { return static_cast<int>(m_entries.size()); }
    QObject *entry(int index) const { return m_entries.value(index); }
    // Whether entry index has an enabled state, and what it is.
    bool hasEnabled(int index) const;
    bool Enabled(int index) const;
    // Sets entry index's enabled state. False when the entry has none (or is gone).
    bool setEnabled(int index, bool enabled);

private:
    QList<QPointer<QObject>> m_entries;
};
