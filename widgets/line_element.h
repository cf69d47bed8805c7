#pragma once

#include <QPalette>
#include <QWidget>

// One element of an etched separator line: a line one pixel high in a fixed palette colour. Like the line
// controls it stands for, it has no enabled state.
class LineElement final : public QWidget {
public:
    LineElement(QWidget *parent, QPalette::ColorRole colour, int index);
};
