#include "render/numberformats.h"

QString FormatGroupNumber(int64_t n)
{
    return (n < 10 ? QStringLiteral(" ") : QString()) + QString::number(n) + QStringLiteral(". ");
}

QString FormatSeconds(int64_t n)
{
    QString text = QStringLiteral(" ");
    if (n < 100)
        text += QStringLiteral("  ");
    if (n < 10)
        text += QStringLiteral("  ");
    return text + QString::number(n);
}

QString FormatTime3(int64_t n)
{
    return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}
