#include "widgets/line_element.h"

#include <QVariant>

using namespace Qt::StringLiterals;

LineElement::LineElement(QWidget *parent, QPalette::ColorRole colour, int index) : QWidget(parent)
{
    setObjectName(u"Line1"_s);
    setProperty("Index", QVariant(index));
    setProperty("noEnabledState", QVariant(true));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette palette = this->palette();
    const QColor fixed = palette.color(QPalette::Active, colour);
    for (auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
        palette.setColor(group, QPalette::Window, fixed);
    setPalette(palette);
    setAutoFillBackground(true);
}
