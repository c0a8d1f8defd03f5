#pragma once

// A heavy user's ten years as one device's sync bundle: 40,000 session
// records, 2,000 tasks and 3,650 day notes. Several devices' bundles share
// half of their elements (some of them edited on one device); the other half
// is each device's own.
#include "sync/SyncBundle.h"

#include <QDate>
#include <QTimeZone>
#include <QUuid>

namespace HeavyBundle {

constexpr int kRecords = 40000, kTasks = 2000, kDays = 3650;

inline SyncBundle make(int device)
{
    const QDateTime origin(QDate(2016, 1, 1), QTime(8, 0), Qt::UTC);
    SyncBundle b;
    b.device = QStringLiteral("device-%1").arg(device);
    b.savedAt = origin.addYears(10);
    b.records.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        const bool shared = i % 2 == 0;
        SessionRecord r;
        r.id = QUuid(uint(shared ? i : i + device * 1000000), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        r.title = QStringLiteral("写経 %1").arg(i % 300);
        r.start = origin.addSecs(qint64(i) * 2400);
        r.end = r.start.addSecs(1500);
        r.completed = true;
        if (shared && i % 10 == device)
            r.editedAt = r.end.addSecs(60);
        b.records.append(r);
    }
    for (int i = 0; i < kTasks; ++i) {
        LocalTask t;
        t.id = QUuid(uint(i % 2 == 0 ? i : i + device * 1000000), 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        t.title = QStringLiteral("作務 %1").arg(i);
        t.createdAt = origin.addSecs(qint64(i) * 86400);
        t.updatedAt = t.createdAt.addSecs(device * 60);
        t.doneDays = {QStringLiteral("2024-01-0%1").arg(device + 1)};
        b.tasks.append(t);
    }
    for (int i = 0; i < kDays; ++i) {
        DayNote n;
        n.day = origin.date().addDays(i).toString(Qt::ISODate);
        n.intention = device == 0 ? QStringLiteral("静かに") : QString();
        n.updatedAt = origin.addDays(i).addSecs(device * 60);
        b.days.append(n);
    }
    return b;
}

} // namespace HeavyBundle
