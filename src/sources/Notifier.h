#pragma once

#include "sources/PlanNotice.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class AppSettings;
class NotificationCenter;

// The program's one user-notification service: the phase-end notice, the
// plan notices, the morning and evening prompts and notices shown at once.
// Works over a NotificationCenter (not owned); without one, or when the
// center has no notification service, every operation does nothing.
class Notifier : public QObject
{
    Q_OBJECT
public:
    static inline const QString kPhaseEnd = QStringLiteral("kiv.phase.end");
    static inline const QString kPlanPrefix = QStringLiteral("kiv.plan.");
    static inline const QString kArrivalPrefix = QStringLiteral("kiv.plan.arrive.");
    static inline const QString kMorning = QStringLiteral("kiv.day.morning");
    static inline const QString kEvening = QStringLiteral("kiv.day.evening");

    explicit Notifier(NotificationCenter *center = nullptr, QObject *parent = nullptr);

    // The process-wide instance; the application sets its center at start-up.
    static Notifier &shared();
    void setCenter(NotificationCenter *center);
    NotificationCenter *center() const { return m_center; }

    // Granted in answer to this run's request; only post() reads it.
    bool authorized() const { return m_authorized; }
    // Permission was asked in this run (never reset).
    bool asked() const { return m_asked; }

    // Asks once per run for permission to show notices with sound.
    void requestAuthorizationIfNeeded();
    // Replaces the phase-end notice: due after `after` seconds; more than half
    // a second is needed, otherwise the notice is only withdrawn.
    void schedule(double after, const QString &title, const QString &body);
    // Replaces all plan notices with the given advance and arrival items.
    // `day` names the day in the notices' user info.
    void schedulePlanNotices(const QList<PlanNotice::Item> &advance, const QList<PlanNotice::Item> &arrivals,
                             const QDateTime &day, const QDateTime &now);
    // Withdraws the plan notices pending now. Requests added afterwards, even
    // under the same identifiers, stay.
    void cancelPlanNotices();
    // Replaces the daily prompts at the given whole hours (clamped to 0...23).
    void scheduleDayPrompts(int morningHour, int eveningHour, bool enabled);
    // The same with the "morningHour", "eveningHour" and "dayPrompts" settings.
    void scheduleDayPrompts(const AppSettings &settings);
    // Shows a notice at once, without sound, when permission was granted.
    void post(const QString &title, const QString &body);
    // Shows, at once and without sound when permission was granted, the
    // notice of an ending (a phase, a run) under the phase-end identifier:
    // the phase-end notice due for that same moment is withdrawn, or replaced
    // when it is already on screen, so one ending shows one notice.
    void postEnding(const QString &title, const QString &body);

    // The day key "yyyy-MM-dd" of the date in the device's time zone.
    static QString dayKey(const QDateTime &date);
    // A plan's start time as its notices show it: "9:05", "14:30".
    static QString clockText(const QDateTime &time);

private:
    bool active() const;
    void withdrawPendingPlanNotices();

    QPointer<NotificationCenter> m_center;
    bool m_authorized = false;
    bool m_asked = false;
};
