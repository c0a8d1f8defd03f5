#include "model/DayClock.h"

#include <QTime>

namespace DayClock {

int minutesOf(const QDateTime &moment)
{
    const QTime t = moment.toLocalTime().time();
    return t.hour() * 60 + t.minute();
}

QDateTime at(const QDate &day, int minutes)
{
    const QDate date = day.addDays(minutes / 1440);
    const int m = minutes % 1440;
    QDateTime moment(date, QTime(m / 60, m % 60));
    if (!moment.isValid()) {
        // Inside the hour the clock skips: the instant as many minutes after
        // the last minute before the gap (2:30 reads 3:30 on a spring-forward day).
        for (int back = 1; back <= 180 && !moment.isValid(); ++back) {
            const int earlier = m - back;
            const QDateTime before(date, QTime(earlier / 60, earlier % 60));
            if (before.isValid())
                moment = before.addSecs(qint64(back) * 60);
        }
    }
    return moment;
}

QString text(int minutes)
{
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

} // namespace DayClock
