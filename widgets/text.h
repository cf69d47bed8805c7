#pragma once

#include <QString>

#include <string>
#include <string_view>

// Text is UTF-8 below the windows and QString in them; these convert at that edge.
inline QString fromText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toText(const QString &text)
{
    return text.toStdString();
}
