#pragma once

#include "platform/toolkit.h"

class QWidget;

// The toolkit services on Qt Widgets.
class WidgetsToolkit final : public platform::Toolkit {
public:
    void yield() override;
    void beep() override;
    void messageBox(std::string_view text, std::string_view title) override;
};
