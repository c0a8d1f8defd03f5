#include "core/DayQuestion.h"

#include "core/L.h"

namespace DayQuestion {
const QString &morning()
{
    static const QString text = L(QStringLiteral("今日、大切にすること。"));
    return text;
}

const QString &evening()
{
    static const QString text = L(QStringLiteral("今日、心に残ったこと。"));
    return text;
}
} // namespace DayQuestion
