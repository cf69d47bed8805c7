#include "app/widgets_toolkit.h"

#include "app/text.h"

#include <QApplication>
#include <QMessageBox>

void WidgetsToolkit::yield()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void WidgetsToolkit::beep()
{
    QApplication::beep();
}

void WidgetsToolkit::messageBox(std::string_view text, std::string_view title)
{
    QMessageBox box(QMessageBox::Warning, fromText(title), fromText(text), QMessageBox::Ok);
    box.exec();
}

std::int32_t WindowHandle(QWidget &window)
{
    return static_cast<std::int32_t>(window.winId());
}
