#pragma once

#include <QIcon>
#include <QPixmap>

// The program icon, in its four sizes (16, 32, 48 and 64 pixels).
QIcon programIcon();
// The icon's image of the given size (16, 32, 48 or 64).
QPixmap programIconImage(int size);
// The About window's picture, 72 x 40 pixels.
QPixmap aboutPicture();
