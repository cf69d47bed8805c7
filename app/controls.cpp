#include "app/controls.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace {

// Menu items in menu order, each menu's own item before the items in it.
void addMenuItems(QList<QPointer<QObject>> &entries, const QList<QAction *> &actions)
{
    for (QAction *action : actions) {
        entries.append(action);
        if (QMenu *menu = action->menu())
            addMenuItems(entries, menu->actions());
    }
}

bool canBeEnabled(const QObject *object)
{
    if (qobject_cast<const QAction *>(object))
        return true;
    return qobject_cast<const QWidget *>(object) && !object->property("noEnabledState").toBool();
}

} // namespace

Controls::Controls(QMainWindow &window)
{
    if (QWidget *client = window.centralWidget()) {
        for (QObject *child : client->children()) {
            if (child->isWidgetType() || child->property("isControl").toBool())
                m_entries.append(child);
        }
    }
    if (QMenuBar *menuBar = window.menuBar())
        addMenuItems(m_entries, menuBar->actions());
}

bool Controls::hasEnabled(int index) const
{
    const QObject *object = entry(index);
    return object && canBeEnabled(object);
}

bool Controls::Enabled(int index) const
{
    const QObject *object = entry(index);
    if (!object || !canBeEnabled(object))
        return false;
    if (const auto *action = qobject_cast<const QAction *>(object))
        return action->isEnabled();
    return static_cast<const QWidget *>(object)->isEnabled();
}

bool Controls::setEnabled(int index, bool enabled)
{
    QObject *object = entry(index);
    if (!object || !canBeEnabled(object))
        return false;
    if (auto *action = qobject_cast<QAction *>(object))
        action->setEnabled(enabled);
    else
        static_cast<QWidget *>(object)->setEnabled(enabled);
    return true;
}
