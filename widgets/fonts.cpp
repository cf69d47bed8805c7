#include "widgets/fonts.h"

#include <QStringList>

using namespace Qt::StringLiterals;

QFont pGothicFont(qreal pointSize)
{
    QFont font;
    font.setFamilies({ u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s, u"IPAPGothic"_s, u"Noto Sans CJK JP"_s, u"IPAGothic"_s });
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}
