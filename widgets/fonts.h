#pragma once

#include <QFont>

// The windows' one font family, "ＭＳ Ｐゴシック", at the given size, normal weight. Where that family is
// missing (any system but Windows) the Japanese proportional Gothic fonts stand in for it.
QFont pGothicFont(qreal pointSize);
