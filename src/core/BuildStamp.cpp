#include "core/BuildStamp.h"

#include "core/L.h"

#include <QStringList>

#ifndef QUILLMERE_VERSION
#define QUILLMERE_VERSION "0.0.0"
#endif
#ifndef QUILLMERE_BUILD_NUMBER
#define QUILLMERE_BUILD_NUMBER "1"
#endif

namespace {

// The compiler's build date ("Oct  4 2025") and time ("10:06:31") as the
// Japanese stamp "10月4日 10:06".
QString buildTime()
{
    static const QStringList months{QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"),
                                    QStringLiteral("Apr"), QStringLiteral("May"), QStringLiteral("Jun"),
                                    QStringLiteral("Jul"), QStringLiteral("Aug"), QStringLiteral("Sep"),
                                    QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec")};
    const QString date = QStringLiteral(__DATE__);
    const QString time = QStringLiteral(__TIME__);
    const int month = int(months.indexOf(date.left(3))) + 1;
    const int day = date.mid(4, 2).trimmed().toInt();
    return QStringLiteral("%1月%2日 %3").arg(month).arg(day).arg(time.left(5));
}

} // namespace

namespace BuildStamp {

QString line()
{
    return L(QStringLiteral("版 {0}・通し {1}（{2} 組み立て）"), QStringLiteral(QUILLMERE_VERSION),
             QStringLiteral(QUILLMERE_BUILD_NUMBER), stampShown(buildTime()));
}

} // namespace BuildStamp
