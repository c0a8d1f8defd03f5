#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Minutes of the day page: whole minutes from local midnight of the shown
// day, 0 to 1440. They turn into instants and back through the wall clock of
// that day, so on a day with a daylight-saving change 14:00 stays 14:00 (a
// day is then 23 or 25 hours long, never 1440 minutes after midnight).
namespace DayClock {

// Hour × 60 + minute of the instant on the local wall clock.
int minutesOf(const QDateTime &moment);
// The instant at the wall-clock minute of the date; 1440 is the next
// midnight. A minute that the clock skips (spring forward) gives the first
// instant after the gap.
QDateTime at(const QDate &day, int minutes);
// "%d:%02d", the hour unpadded and not wrapped: 1440 reads 24:00.
QString text(int minutes);

} // namespace DayClock
