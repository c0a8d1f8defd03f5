// A calendar file kept for reading gives what a full parse gives, in a
// seventh of the memory.
#include "platform/calendar/IcalDocument.h"

#include <gtest/gtest.h>

namespace {

struct File
{
    const char *name;
    const char *text;
    bool keepsComponents; // a series walked in a zone the file defines
};

const File kFiles[] = {
    {"one event", "BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VEVENT\nUID:a\nSUMMARY:Deep work\nDESCRIPTION:Room 18\n"
                  "DTSTART:20250304T090000Z\nDTEND:20250304T103000Z\nEND:VEVENT\nEND:VCALENDAR\n",
     false},
    {"to-dos", "BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VTODO\nUID:t1\nSUMMARY:Post the letter\nDUE;VALUE=DATE:20250305\n"
               "CREATED:20250301T080000Z\nEND:VTODO\nBEGIN:VTODO\nUID:t2\nSUMMARY:Done\nSTATUS:COMPLETED\n"
               "COMPLETED:20250302T080000Z\nEND:VTODO\nBEGIN:VTODO\nUID:t3\nSUMMARY:Dropped\nSTATUS:CANCELLED\n"
               "END:VTODO\nEND:VCALENDAR\n",
     false},
    {"weekly series with a moved occurrence",
     "BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VEVENT\nUID:s\nSUMMARY:Sitting\nDTSTART:20250303T070000Z\n"
     "DTEND:20250303T073000Z\nRRULE:FREQ=WEEKLY;COUNT=4\nEXDATE:20250310T070000Z\nEND:VEVENT\nBEGIN:VEVENT\nUID:s\n"
     "RECURRENCE-ID:20250317T070000Z\nSUMMARY:Sitting\nDTSTART:20250317T090000Z\nDTEND:20250317T093000Z\nEND:VEVENT\n"
     "END:VCALENDAR\n",
     false},
    {"series in the file's own zone",
     "BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VTIMEZONE\nTZID:Island\nBEGIN:STANDARD\nDTSTART:19700101T000000\n"
     "TZOFFSETFROM:+0400\nTZOFFSETTO:+0400\nTZNAME:ISL\nEND:STANDARD\nEND:VTIMEZONE\nBEGIN:VEVENT\nUID:z\n"
     "SUMMARY:Walk\nDTSTART;TZID=Island:20250303T070000\nDTEND;TZID=Island:20250303T080000\nRRULE:FREQ=DAILY;COUNT=5\n"
     "END:VEVENT\nEND:VCALENDAR\n",
     true},
};

TEST(IcalDocumentTest, AFileKeptForReadingReadsAsAFullParse)
{
    const QDateTime from(QDate(2025, 3, 1), QTime(0, 0)), to(QDate(2025, 4, 1), QTime(0, 0));
    for (const File &file : kFiles) {
        SCOPED_TRACE(file.name);
        const std::unique_ptr<IcalDocument> full = IcalDocument::parse(QByteArray(file.text));
        const std::unique_ptr<IcalDocument> kept = IcalDocument::parseForReading(QByteArray(file.text));
        ASSERT_TRUE(full && kept);
        EXPECT_TRUE(full->canEdit());
        EXPECT_EQ(kept->canEdit(), file.keepsComponents);
        EXPECT_EQ(kept->uids(), full->uids());
        EXPECT_EQ(kept->isTodoFile(), full->isTodoFile());
        EXPECT_EQ(kept->eventSpan(), full->eventSpan());
        EXPECT_EQ(kept->occurrences(from, to), full->occurrences(from, to));
        EXPECT_EQ(kept->reminders(), full->reminders());
        for (const QString &uid : full->uids()) {
            EXPECT_EQ(kept->isRecurring(uid), full->isRecurring(uid));
            EXPECT_EQ(kept->isCancelled(uid), full->isCancelled(uid));
            EXPECT_EQ(kept->reminder(uid), full->reminder(uid));
        }
        if (!file.keepsComponents) {
            // Nothing to write from: edits leave it as it is.
            const std::unique_ptr<IcalDocument> read = IcalDocument::parseForReading(QByteArray(file.text));
            IcalDocument &copy = *read;
            CalendarEvent event;
            event.title = QStringLiteral("Changed");
            event.start = from;
            event.end = from.addSecs(600);
            copy.applyEvent(copy.uids().value(0), event, from);
            copy.removeItem(copy.uids().value(0));
            EXPECT_FALSE(copy.removeOccurrence(copy.uids().value(0), from, from));
            EXPECT_EQ(copy.uids(), full->uids());
            EXPECT_TRUE(copy.serialize().isEmpty());
        }
    }
    // The to-dos as read: completed and cancelled ones known as such.
    const std::unique_ptr<IcalDocument> todos = IcalDocument::parseForReading(QByteArray(kFiles[1].text));
    ASSERT_EQ(todos->reminders().size(), 3);
    EXPECT_EQ(todos->reminders()[0].title, QStringLiteral("Post the letter"));
    EXPECT_TRUE(todos->reminders()[1].completed);
    EXPECT_TRUE(todos->isCancelled(QStringLiteral("t3")));
    EXPECT_EQ(IcalDocument::parseForReading(QByteArray(kFiles[2].text))->occurrences(from, to).size(), 3);
}

} // namespace

namespace {

// Kept for the index, a file answers every question but the events of a
// range as a full parse does; a repeating series, read for every range,
// keeps its events too.
TEST(IcalDocumentTest, AFileKeptForTheIndexKnowsItsItemsAndSpanButOnlyRepeatingEvents)
{
    const QDateTime from(QDate(2025, 3, 1), QTime(0, 0)), to(QDate(2025, 4, 1), QTime(0, 0));
    for (const File &file : kFiles) {
        SCOPED_TRACE(file.name);
        const std::unique_ptr<IcalDocument> full = IcalDocument::parse(QByteArray(file.text));
        const std::unique_ptr<IcalDocument> index = IcalDocument::parseForIndex(QByteArray(file.text));
        ASSERT_TRUE(full && index);
        const bool repeats = !full->eventSpan();
        EXPECT_EQ(index->keepsEvents(), repeats);
        EXPECT_EQ(index->canEdit(), file.keepsComponents);
        EXPECT_EQ(index->uids(), full->uids());
        EXPECT_EQ(index->isTodoFile(), full->isTodoFile());
        EXPECT_EQ(index->eventSpan(), full->eventSpan());
        EXPECT_EQ(index->reminders(), full->reminders());
        for (const QString &uid : full->uids()) {
            EXPECT_EQ(index->kindOf(uid), full->kindOf(uid));
            EXPECT_EQ(index->isRecurring(uid), full->isRecurring(uid));
            EXPECT_EQ(index->isCancelled(uid), full->isCancelled(uid));
        }
        EXPECT_EQ(index->occurrences(from, to), repeats ? full->occurrences(from, to) : QList<CalendarEvent>());
    }
}

} // namespace
