// Times one Run in the real main window: the fields are filled, the window is shown, and Run is pressed,
// as a user would. Prints the seconds the run took.
// usage: window_run SOURCE_PATTERN DESTINATION [STATUS_REFRESH_MS]

#include "app/drop_field.h"
#include "app/form1.h"
#include "app/widgets_toolkit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: window_run SOURCE_PATTERN DESTINATION [STATUS_REFRESH_MS]\n");
        return 2;
    }
    WidgetsToolkit toolkit;
    auto files = platform::createNativeFileSystem();
    Form1 form({ toolkit, *files });
    if (argc == 4)
        form.setStatusRefreshInterval(std::atoi(argv[3]));
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    form.Text1->setText(QString::fromLocal8Bit(argv[1]));
    form.Text2->setText(QString::fromLocal8Bit(argv[2]));

    QElapsedTimer timer;
    timer.start();
    form.Command2->click();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    std::printf("%.6f\n", seconds);
    return form.Label2->text().contains(QStringLiteral("【エラー】")) ? 1 : 0;
}
