#pragma once

#include "platform/toolkit.h"

#include <QStringList>

#include <cstdint>

class QWidget;

// A filter in the "description|patterns|description|patterns" form as the chooser's name filters, in the
// same order: "Images (*.gif;*.jpg)|*.gif;*.jpg" gives "Images (*.gif;*.jpg) (*.gif *.jpg *.GIF *.JPG)".
QStringList nameFiltersOf(const QString &filter);

// A window's handle as a 32-bit integer (the native window id; 0 before the window has one).
std::int32_t WindowHandle(QWidget &window);

// The toolkit services on Qt Widgets.
class WidgetsToolkit final : public platform::Toolkit {
public:
    void yield() override;
    void beep() override;
    void messageBox(std::string_view text, std::string_view title) override;
    std::optional<std::string> chooseFile(const platform::FileChooserRequest &request) override;
};
