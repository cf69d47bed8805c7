#include "about/program_images.h"
#include "app/form1.h"
#include "app/widgets_toolkit.h"
#include "platform/version.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(platform::kProductName));
    QApplication::setApplicationVersion(QString::fromUtf8(platform::kVersionNumber));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("tovrik"));

    WidgetsToolkit toolkit;
    auto files = platform::createNativeFileSystem();
    Form1 form({ toolkit, *files });
    form.show();
    return QApplication::exec();
}
