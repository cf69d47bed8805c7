#include "app/widgets_toolkit.h"

#include "widgets/text.h"

#include <QApplication>
#include <QFileDialog>
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

QStringList nameFiltersOf(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // Names on disk may be in upper case: each pattern is offered in both cases.
        QStringList patterns;
        for (const QString &pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            patterns.append(pattern.trimmed().toLower());
            if (pattern.toUpper() != pattern.toLower())
                patterns.append(pattern.trimmed().toUpper());
        }
        patterns.removeDuplicates();
        filters.append(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return filters;
}

std::optional<std::string> WidgetsToolkit::chooseFile(const platform::FileChooserRequest &request)
{
    QFileDialog dialog(QApplication::activeWindow(), fromText(request.title), fromText(request.initialFolder));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The descriptions carry their patterns already; the chooser shows them as they are.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(nameFiltersOf(fromText(request.filter)));
    if (!request.fileName.empty())
        dialog.selectFile(fromText(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return toText(dialog.selectedFiles().constFirst());
}
