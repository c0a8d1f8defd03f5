// Reading one day of a single calendar item, for items a careless or
// hostile file may hold and for an ordinary series, and reading such items
// from their bytes. The day is 2025-03-04 in Europe/Berlin.
#include "platform/calendar/IcalDocument.h"

#include <QByteArray>
#include <benchmark/benchmark.h>
#include <ctime>

namespace {

QByteArray calendar(const QByteArray &event)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\nBEGIN:VEVENT\r\nUID:bench\r\nSUMMARY:Bench\r\n" + event
           + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

QByteArray lines(const QByteArray &line, int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += line + "\r\n";
    return out;
}

// Ten years of a meeting on Tuesdays and Thursdays with 200 skipped and 50
// moved days.
QByteArray ordinarySeries()
{
    QByteArray event = "DTSTART;TZID=Europe/Berlin:20150106T093000\r\nDTEND;TZID=Europe/Berlin:20150106T103000\r\n"
                       "RRULE:FREQ=WEEKLY;BYDAY=TU,TH\r\n";
    QDate day(2015, 1, 8);
    for (int i = 0; i < 200; ++i, day = day.addDays(14))
        event += "EXDATE;TZID=Europe/Berlin:" + day.toString(QStringLiteral("yyyyMMdd")).toLatin1() + "T093000\r\n";
    QByteArray moved;
    day = QDate(2015, 1, 13);
    for (int i = 0; i < 50; ++i, day = day.addDays(35))
        moved += "BEGIN:VEVENT\r\nUID:bench\r\nRECURRENCE-ID;TZID=Europe/Berlin:"
                 + day.toString(QStringLiteral("yyyyMMdd")).toLatin1() + "T093000\r\nDTSTART;TZID=Europe/Berlin:"
                 + day.toString(QStringLiteral("yyyyMMdd")).toLatin1() + "T140000\r\nDURATION:PT1H\r\nEND:VEVENT\r\n";
    QByteArray out = calendar(event);
    out.insert(out.lastIndexOf("END:VCALENDAR"), moved);
    return out;
}

QByteArray fileOf(int which)
{
    switch (which) {
    case 0:
        return calendar("DTSTART:00010101T000000\r\nRRULE:FREQ=MINUTELY\r\n");
    case 1:
        return calendar("DTSTART:00010101T000000\r\n" + lines("RRULE:FREQ=MINUTELY", 10));
    case 2:
        return calendar("DTSTART:00010101T000000\r\nRRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30\r\n");
    case 3:
        return calendar("DTSTART:20250101T000000\r\nRRULE:FREQ=SECONDLY\r\n");
    case 4:
        return calendar("DTSTART:00010101T000000\r\nRRULE:FREQ=MINUTELY;COUNT=2000000000\r\n");
    case 5: {
        QByteArray rdates;
        QDate day(2000, 1, 1);
        for (int i = 0; i < 10000; ++i, day = day.addDays(1))
            rdates += "RDATE:" + day.toString(QStringLiteral("yyyyMMdd")).toLatin1() + "T120000\r\n";
        return calendar("DTSTART:19991231T120000\r\nDURATION:PT1H\r\n" + rdates);
    }
    default:
        return ordinarySeries();
    }
}

const char *const kNames[] = {"minutely-from-year-1", "minutely-from-year-1-ten-rules", "never-met-from-year-1",
                              "secondly",             "minutely-count-2e9",             "10000-rdates",
                              "twice-weekly-ten-years"};

void useBerlin()
{
    static const bool done = [] {
        qputenv("TZ", "Europe/Berlin");
        tzset();
        return true;
    }();
    Q_UNUSED(done);
}

void BM_ReadOneDay(benchmark::State &state)
{
    useBerlin();
    const std::unique_ptr<IcalDocument> doc = IcalDocument::parse(fileOf(int(state.range(0))));
    const QDateTime from(QDate(2025, 3, 4), QTime(0, 0));
    const QDateTime to = from.addDays(1);
    qsizetype found = 0;
    for (auto _ : state)
        found = doc->occurrences(from, to).size();
    state.SetLabel(std::string(kNames[state.range(0)]) + ", " + std::to_string(found) + " occurrences");
}

void BM_Parse(benchmark::State &state)
{
    useBerlin();
    const QByteArray bytes = fileOf(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(IcalDocument::parse(bytes));
    state.SetLabel(kNames[state.range(0)]);
}

} // namespace

BENCHMARK(BM_ReadOneDay)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Parse)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);

#include "QtBenchmarkMain.h"
