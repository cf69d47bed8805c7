#include "about/program_images.h"

#include <QString>

QPixmap programIconImage(int size)
{
    return QPixmap(QStringLiteral(":/tovrik/tovrik-%1.png").arg(size));
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : { 16, 32, 48, 64 })
        icon.addPixmap(programIconImage(size));
    return icon;
}

QPixmap aboutPicture()
{
    return QPixmap(QStringLiteral(":/tovrik/picture.jpg"));
}
